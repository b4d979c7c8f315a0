#pragma once
// Drawing straight into a frame's pixels, and restoring only the parts of a
// frame drawn over since the last restore. The screen and the tube redraw
// their whole picture every 50 ms; copying a full-screen background each
// time would cost more than everything drawn on it.

#include <QImage>
#include <QRegion>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/graphics.h" // DirectTarget
#include "platform/raster.h"
#include "platform/runsink.h"

#include <algorithm>

namespace paint {

// Remembers which tiles of a target frame were drawn over since the frame
// was last restored from its background, and which changed since the
// window was last told. Tiles are in the frame's logical pixels.
class FrameRestorer {
public:
    // Brings Target back to Background: only the tiles drawn over, when
    // Target is the same frame as last time and the background has not
    // changed since (same Generation); otherwise a full copy. At a
    // whole-number pixel ratio N the background is either of the target's
    // device size or of its logical size, each pixel then an N x N block.
    void Restore(QImage& Target, const QImage& Background, std::uint64_t Generation);
    // Where a run sink marks what it draws over.
    raster::DrawnTiles* Tiles() { return &m_tiles; }
    // The pixels of R (logical) were drawn.
    void MarkRect(const QRect& R);
    // Whatever the target holds, the next restore copies everything.
    void Invalidate()
    {
        m_serial = -1;
        m_all = true;
    }
    // Where the frame differs from the one before it, in logical pixels:
    // the tiles restored and those drawn over since the last call; empty
    // when everything may differ (a full copy, a painter's frame).
    std::optional<QRegion> TakeChange();
    // Whether any of R was restored or drawn over since the window was last
    // told (always after a full copy): what was drawn there before is gone.
    bool Touched(const QRect& R) const;

private:
    static constexpr int kTile = raster::DrawnTiles::kSize;
    // Per tile: drawn over since the last restore, changed since the last
    // TakeChange.
    enum : std::uint8_t { kDrawn = 1, kChanged = 2 };
    void CopyTiles(QImage& Target, const QImage& Background, int X0, int X1, int Y0, int Y1) const;
    // Each run of tiles with Bit along a row, as a rectangle, to Run; the
    // tiles lose Bit and gain Add.
    template <class F>
    void TakeRuns(std::uint8_t Bit, std::uint8_t Add, F&& Run);

    qint64 m_serial = -1;
    QSize m_size;   // logical
    QSize m_device; // the target's pixels
    int m_ratio = 1;
    std::uint64_t m_generation = 0;
    int m_tilesX = 0, m_tilesY = 0;
    bool m_all = true;
    std::vector<std::uint8_t> m_dirty;
    raster::DrawnTiles m_tiles;
};

} // namespace paint

// The canvas's lines (platform/raster.h) written straight into the frame:
// one pixel wide with the end pixel left out, or Width pixels with round ends;
// only the part within the frame costs anything.
void RasterThinLine(raster::RunSink& T, int X0, int Y0, int X1, int Y1, QRgb Color);
void RasterWideLine(raster::RunSink& T, int X0, int Y0, int X1, int Y1, int Width, QRgb Color);
