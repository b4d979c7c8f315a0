#pragma once
// Drawing straight into a frame's pixels, and restoring only the parts of a
// frame drawn over since the last restore. The screen and the tube redraw
// their whole picture every 50 ms; copying a full-screen background each
// time would cost more than everything drawn on it.

#include <QImage>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <vector>

#include "platform/graphics.h" // DirectTarget
#include "platform/raster.h"
#include "platform/runsink.h"

#include <algorithm>

// Remembers which tiles of a target frame were drawn over since the frame
// was last restored from its background.
class TFrameRestorer {
public:
    // Brings Target back to Background: only the tiles drawn over, when
    // Target is the same frame as last time and the background has not
    // changed since (same Generation); otherwise a full copy.
    void Restore(QImage& Target, const QImage& Background, std::uint64_t Generation);
    // Where a run sink marks what it draws over (device pixels).
    raster::DrawnTiles* Tiles() { return &tiles_; }
    // The pixels of R were drawn, in the background's pixels (the frame's
    // logical ones).
    void MarkRect(const QRect& R);
    // Whatever the target holds, the next restore copies everything.
    void Invalidate() { serial_ = -1; }

private:
    static constexpr int kTile = raster::DrawnTiles::kSize;
    qint64 serial_ = -1;
    QSize size_;
    std::uint64_t generation_ = 0;
    int scale_ = 1;
    int tilesX_ = 0, tilesY_ = 0;
    std::vector<std::uint8_t> dirty_;
    raster::DrawnTiles tiles_;
};

// The canvas's lines (platform/raster.h) written straight into the frame:
// one pixel wide with the end pixel left out, or Width pixels with round ends;
// only the part within the frame costs anything.
void RasterThinLine(raster::RunSink& T, int X0, int Y0, int X1, int Y1, QRgb Color);
void RasterWideLine(raster::RunSink& T, int X0, int Y0, int X1, int Y1, int Width, QRgb Color);
