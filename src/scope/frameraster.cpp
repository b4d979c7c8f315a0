#include "scope/frameraster.h"

#include "platform/raster.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Device pixels [X0, X1) x [Y0, Y1) of a frame at a whole-number ratio N from
// its background at ratio 1: each background pixel an N x N block, as a
// painter draws it there.
void CopyScaled(QImage& Target, const QImage& Background, int N, int X0, int X1, int Y0, int Y1)
{
    for (int y = Y0; y < Y1; ++y) {
        auto* dst = reinterpret_cast<QRgb*>(Target.scanLine(y));
        const auto* src = reinterpret_cast<const QRgb*>(Background.constScanLine(y / N));
        if (y % N != 0 && y > Y0) {
            std::memcpy(dst + X0, reinterpret_cast<const QRgb*>(Target.constScanLine(y - 1)) + X0, size_t(X1 - X0) * 4);
            continue;
        }
        for (int x = X0; x < X1; ++x)
            dst[x] = src[x / N];
    }
}
} // namespace

void TFrameRestorer::Restore(QImage& Target, const QImage& Background, std::uint64_t Generation)
{
    const qint64 serial = Target.cacheKey() >> 32;
    // At a whole-number ratio the frame holds N x N device pixels for each
    // pixel of the background.
    const qreal dpr = Target.devicePixelRatio();
    const int n = int(dpr) == dpr && dpr >= 1 && Background.size() * int(dpr) == Target.size()
                          && Background.format() == Target.format() && Target.depth() == 32
                      ? int(dpr)
                      : 1;
    const bool same = serial == serial_ && Target.size() == size_ && Generation == generation_ && n == scale_
                      && Background.size() * n == Target.size() && Background.format() == Target.format();
    const int w = std::min(Target.width(), Background.width() * n);
    const int h = std::min(Target.height(), Background.height() * n);
    if (!same) {
        if (n > 1) {
            CopyScaled(Target, Background, n, 0, w, 0, h);
        } else if (Background.format() == Target.format() && Background.size() == Target.size()
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
        scale_ = n;
        tilesX_ = (size_.width() + kTile - 1) / kTile;
        tilesY_ = (size_.height() + kTile - 1) / kTile;
        dirty_.assign(size_t(tilesX_) * size_t(tilesY_), 0);
        tiles_ = {dirty_.data(), tilesX_, size_.width(), size_.height()};
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
            if (n > 1) {
                CopyScaled(Target, Background, n, x0, x1, y0, y1);
                continue;
            }
            for (int y = y0; y < y1; ++y)
                std::memcpy(dst + y * bpl + x0 * 4, src + y * bpl + x0 * 4, size_t(x1 - x0) * 4);
        }
    }
}

void TFrameRestorer::MarkRect(const QRect& R)
{
    if (dirty_.empty() || R.isEmpty())
        return;
    tiles_.Mark(R.left() * scale_, R.right() * scale_ + scale_ - 1, R.top() * scale_, R.bottom() * scale_ + scale_ - 1);
}

void RasterThinLine(raster::RunSink& T, int X0, int Y0, int X1, int Y1, QRgb Color)
{
    const QRgb c = Color | 0xFF000000u;
    raster::ThinLine(X0, Y0, X1, Y1, T.Picture(), [&](int a, int b, int y) { T.Fill(a, b, y, c); });
}

void RasterWideLine(raster::RunSink& T, int X0, int Y0, int X1, int Y1, int Width, QRgb Color)
{
    const QRgb c = Color | 0xFF000000u;
    raster::WideLine(X0, Y0, X1, Y1, Width, T.Picture(), [&](int a, int b, int y) { T.Fill(a, b, y, c); });
}
