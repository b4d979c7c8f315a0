#include "scope/frameraster.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

QImage* DirectTarget(QPainter& Painter)
{
    QPaintDevice* dev = Painter.device();
    if (!dev || dev->devType() != QInternal::Image)
        return nullptr;
    auto* img = static_cast<QImage*>(dev);
    if (img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32
        && img->format() != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (!img->isDetached() || img->devicePixelRatio() != 1.0)
        return nullptr;
    if (Painter.hasClipping() || !Painter.worldTransform().isIdentity())
        return nullptr;
    return img;
}

constexpr int kMaxStampWidth = 64;
constexpr int kMaxStampLength = 4;

void TFrameRestorer::Restore(QImage& Target, const QImage& Background, std::uint64_t Generation)
{
    const qint64 serial = Target.cacheKey() >> 32;
    const bool same = serial == serial_ && Target.size() == size_ && Generation == generation_
                      && Background.size() == Target.size() && Background.format() == Target.format();
    const int w = std::min(Target.width(), Background.width());
    const int h = std::min(Target.height(), Background.height());
    if (!same) {
        if (Background.format() == Target.format() && Background.size() == Target.size()
            && Background.bytesPerLine() == Target.bytesPerLine()) {
            std::memcpy(Target.bits(), Background.constBits(), size_t(Background.sizeInBytes()));
        } else {
            QPainter p(&Target);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, Background);
        }
        serial_ = Target.cacheKey() >> 32;
        size_ = Target.size();
        generation_ = Generation;
        tilesX_ = (size_.width() + kTile - 1) / kTile;
        tilesY_ = (size_.height() + kTile - 1) / kTile;
        dirty_.assign(size_t(tilesX_) * size_t(tilesY_), 0);
        return;
    }
    uchar* dst = Target.bits();
    const uchar* src = Background.constBits();
    const qsizetype bpl = Target.bytesPerLine();
    for (int ty = 0; ty < tilesY_; ++ty) {
        std::uint8_t* row = &dirty_[size_t(ty) * tilesX_];
        int tx = 0;
        while (tx < tilesX_) {
            if (!row[tx]) {
                ++tx;
                continue;
            }
            const int start = tx;
            while (tx < tilesX_ && row[tx])
                row[tx++] = 0;
            const int x0 = start * kTile, x1 = std::min(tx * kTile, w);
            const int y0 = ty * kTile, y1 = std::min(y0 + kTile, h);
            for (int y = y0; y < y1; ++y)
                std::memcpy(dst + y * bpl + x0 * 4, src + y * bpl + x0 * 4, size_t(x1 - x0) * 4);
        }
    }
}

void TFrameRestorer::MarkSpan(int X0, int X1, int Y)
{
    if (dirty_.empty() || Y < 0 || Y >= size_.height())
        return;
    X0 = std::max(X0, 0);
    X1 = std::min(X1, size_.width() - 1);
    if (X0 > X1)
        return;
    std::uint8_t* row = &dirty_[size_t(Y / kTile) * tilesX_];
    for (int t = X0 / kTile; t <= X1 / kTile; ++t)
        row[t] = 1;
}

void TFrameRestorer::MarkRect(const QRect& R)
{
    if (dirty_.empty())
        return;
    const QRect r = R.intersected(QRect(QPoint(0, 0), size_));
    if (r.isEmpty())
        return;
    for (int ty = r.top() / kTile; ty <= r.bottom() / kTile; ++ty)
        for (int tx = r.left() / kTile; tx <= r.right() / kTile; ++tx)
            dirty_[size_t(ty) * tilesX_ + tx] = 1;
}

void TRasterTarget::Span(int X0, int X1, int Y, QRgb C)
{
    if (Y < 0 || Y >= Height)
        return;
    X0 = std::max(X0, 0);
    X1 = std::min(X1, Width - 1);
    if (X0 > X1)
        return;
    QRgb* line = Bits + Y * Stride;
    std::fill(line + X0, line + X1 + 1, C);
    if (Dirty)
        Dirty->MarkSpan(X0, X1, Y);
}

void RasterThinLine(TRasterTarget& T, int X0, int Y0, int X1, int Y1, QRgb Color)
{
    const int dx = std::abs(X1 - X0), dy = std::abs(Y1 - Y0);
    const int sx = X0 < X1 ? 1 : -1, sy = Y0 < Y1 ? 1 : -1;
    const QRgb c = Color | 0xFF000000u;
    const int steps = std::max(dx, dy); // pixels drawn: the end one is left out
    int x = X0, y = Y0, err = dx - dy;
    // Pixels along one row are written as one span.
    int spanA = x, spanB = x, spanY = y;
    for (int i = 0; i < steps; ++i) {
        if (y == spanY) {
            spanA = std::min(spanA, x);
            spanB = std::max(spanB, x);
        } else {
            T.Span(spanA, spanB, spanY, c);
            spanA = spanB = x;
            spanY = y;
        }
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
    if (steps > 0)
        T.Span(spanA, spanB, spanY, c);
}

namespace {

// Row half-widths of a disc of diameter W around a pixel centre: the pixel
// centres within W / 2, by vertical offset. Built once per width.
const std::vector<int>& DiscHalfWidths(int W)
{
    static std::vector<std::vector<int>> cache(kMaxStampWidth + 1);
    std::vector<int>& h = cache[W];
    if (h.empty()) {
        const double r = W / 2.0;
        for (int dy = 0; dy <= int(r); ++dy)
            h.push_back(int(std::floor(std::sqrt(r * r - double(dy) * dy) + 1e-9)));
    }
    return h;
}

} // namespace

void RasterWideLine(TRasterTarget& T, int X0, int Y0, int X1, int Y1, int Width, QRgb Color)
{
    const QRgb c = Color | 0xFF000000u;
    const int adx = std::abs(X1 - X0), ady = std::abs(Y1 - Y0);
    if (Width <= kMaxStampWidth && std::max(adx, ady) <= kMaxStampLength) {
        // A short segment is the union of discs on its pixels: row spans from
        // a table, no square roots.
        const std::vector<int>& h = DiscHalfWidths(Width);
        const int rr = int(h.size()) - 1;
        int px[kMaxStampLength + 1], py[kMaxStampLength + 1];
        const int n = std::max(adx, ady);
        for (int k = 0; k <= n; ++k) {
            px[k] = n ? X0 + (X1 - X0) * k / n : X0;
            py[k] = n ? Y0 + (Y1 - Y0) * k / n : Y0;
        }
        const int yTop = std::min(Y0, Y1) - rr, yBot = std::max(Y0, Y1) + rr;
        for (int y = std::max(yTop, 0); y <= std::min(yBot, T.Height - 1); ++y) {
            int lo = INT32_MAX, hi = INT32_MIN;
            for (int k = 0; k <= n; ++k) {
                const int dy = std::abs(y - py[k]);
                if (dy <= rr) {
                    lo = std::min(lo, px[k] - h[dy]);
                    hi = std::max(hi, px[k] + h[dy]);
                }
            }
            if (lo <= hi)
                T.Span(lo, hi, y, c);
        }
        return;
    }
    const double r = Width / 2.0;
    const double r2 = r * r;
    const double vx = X1 - X0, vy = Y1 - Y0;
    const double len2 = vx * vx + vy * vy;
    const int yTop = int(std::ceil(std::min(Y0, Y1) - r));
    const int yBot = int(std::floor(std::max(Y0, Y1) + r));
    for (int y = std::max(yTop, 0); y <= std::min(yBot, T.Height - 1); ++y) {
        double lo = 1e18, hi = -1e18;
        auto disc = [&](int cx, int cy) {
            const double dy = y - cy;
            if (dy * dy <= r2) {
                const double half = std::sqrt(r2 - dy * dy);
                lo = std::min(lo, cx - half);
                hi = std::max(hi, cx + half);
            }
        };
        disc(X0, Y0);
        disc(X1, Y1);
        if (len2 > 0) {
            // The band beside the segment: projection within it and
            // perpendicular distance within r.
            const double len = std::sqrt(len2);
            const double ux = vx / len, uy = vy / len;
            const double ry = y - Y0;
            double a = -1e18, b = 1e18;
            if (uy != 0) {
                // |(x - X0)·uy - ry·ux| <= r
                double p = (ry * ux - r) / uy, q = (ry * ux + r) / uy;
                if (p > q)
                    std::swap(p, q);
                a = std::max(a, p);
                b = std::min(b, q);
            } else if (std::abs(ry) > r) {
                a = 1, b = 0;
            }
            if (ux != 0) {
                // 0 <= (x - X0)·ux + ry·uy <= len
                double p = (0 - ry * uy) / ux, q = (len - ry * uy) / ux;
                if (p > q)
                    std::swap(p, q);
                a = std::max(a, p);
                b = std::min(b, q);
            } else if (ry * uy < 0 || ry * uy > len) {
                a = 1, b = 0;
            }
            if (a <= b) {
                lo = std::min(lo, X0 + a);
                hi = std::max(hi, X0 + b);
            }
        }
        if (lo <= hi)
            T.Span(int(std::ceil(lo - 1e-9)), int(std::floor(hi + 1e-9)), y, c);
    }
}
