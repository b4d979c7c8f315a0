#include "scope/frameraster.h"

#include "platform/raster.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

void paint::FrameRestorer::CopyTiles(QImage& Target, const QImage& Background, int X0, int X1, int Y0, int Y1) const
{
    const int n = m_ratio;
    const qsizetype dstride = Target.bytesPerLine() / 4;
    auto* dst = reinterpret_cast<QRgb*>(Target.bits());
    const auto* src = reinterpret_cast<const QRgb*>(Background.constBits());
    const qsizetype sstride = Background.bytesPerLine() / 4;
    if (Background.size() == Target.size()) {
        for (int y = Y0 * n; y < Y1 * n; ++y)
            std::memcpy(dst + y * dstride + X0 * n, src + y * sstride + X0 * n, size_t(X1 - X0) * n * 4);
        return;
    }
    // Each background pixel becomes an n x n block: one device row is
    // widened, the others are copies of it.
    for (int y = Y0; y < Y1; ++y) {
        QRgb* first = dst + qsizetype(y) * n * dstride + X0 * n;
        QRgb* out = first;
        const QRgb* in = src + y * sstride;
        for (int x = X0; x < X1; ++x)
            for (int k = 0; k < n; ++k)
                *out++ = in[x];
        for (int k = 1; k < n; ++k)
            std::memcpy(first + k * dstride, first, size_t(X1 - X0) * n * 4);
    }
}

void paint::FrameRestorer::Restore(QImage& Target, const QImage& Background, std::uint64_t Generation)
{
    const qint64 serial = Target.cacheKey() >> 32;
    const int n = std::max(1, int(Target.devicePixelRatio()));
    const QSize logical(Target.width() / n, Target.height() / n);
    const bool fits = Background.format() == Target.format()
                      && (Background.size() == Target.size() || Background.size() * n == Target.size())
                      && n == Target.devicePixelRatio();
    const bool same = fits && serial == m_serial && Target.size() == m_device && Generation == m_generation;
    if (!same) {
        m_ratio = n;
        if (fits) {
            CopyTiles(Target, Background, 0, logical.width(), 0, logical.height());
        } else {
            QPainter p(&Target);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, Background);
        }
        // A frame that cannot be restored by tiles is copied whole each time.
        m_serial = fits ? Target.cacheKey() >> 32 : -1;
        m_device = Target.size();
        m_size = logical;
        m_generation = Generation;
        m_tilesX = (m_size.width() + kTile - 1) / kTile;
        m_tilesY = (m_size.height() + kTile - 1) / kTile;
        m_dirty.assign(size_t(m_tilesX) * size_t(m_tilesY), 0);
        m_tiles = {m_dirty.data(), m_tilesX, m_size.width(), m_size.height(), kDrawn | kChanged};
        m_all = true;
        return;
    }
    // Restored tiles are changed ones, no longer drawn over.
    TakeRuns(kDrawn, kChanged, [&](const QRect& r) {
        CopyTiles(Target, Background, r.left(), r.left() + r.width(), r.top(), r.top() + r.height());
    });
}

template <class F>
void paint::FrameRestorer::TakeRuns(std::uint8_t Bit, std::uint8_t Add, F&& Run)
{
    for (int ty = 0; ty < m_tilesY; ++ty) {
        std::uint8_t* row = &m_dirty[size_t(ty) * m_tilesX];
        int tx = 0;
        while (tx < m_tilesX) {
            if (!(row[tx] & Bit)) {
                ++tx;
                continue;
            }
            const int start = tx;
            for (; tx < m_tilesX && (row[tx] & Bit); ++tx)
                row[tx] = std::uint8_t((row[tx] & ~Bit) | Add);
            const int x0 = start * kTile, y0 = ty * kTile;
            Run(QRect(x0, y0, std::min(tx * kTile, m_size.width()) - x0, std::min(kTile, m_size.height() - y0)));
        }
    }
}

void paint::FrameRestorer::MarkRect(const QRect& R)
{
    if (!R.isEmpty())
        m_tiles.MarkBox(R.left(), R.right(), R.top(), R.bottom());
}

bool paint::FrameRestorer::Touched(const QRect& R) const
{
    if (m_all)
        return true;
    const QRect r = R.intersected(QRect(QPoint(0, 0), m_size));
    for (int ty = r.top() / kTile; !r.isEmpty() && ty <= r.bottom() / kTile; ++ty)
        for (int tx = r.left() / kTile; tx <= r.right() / kTile; ++tx)
            if (m_dirty[size_t(ty) * m_tilesX + tx])
                return true;
    return false;
}

std::optional<QRegion> paint::FrameRestorer::TakeChange()
{
    const bool all = m_all;
    m_all = false;
    std::vector<QRect> rects;
    TakeRuns(kChanged, 0, [&](const QRect& r) {
        if (!all)
            rects.push_back(r);
    });
    if (all)
        return std::nullopt;
    // Runs of one tile row each, in rows from the top: the banded order a
    // region is made of.
    QRegion r;
    r.setRects(rects.data(), int(rects.size()));
    return r;
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
