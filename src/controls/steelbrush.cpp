#include "controls/steelbrush.h"

#include "controls/knobgeometry.h"

#include <QPainter>

const TBitmap* SteelBrushBitmap()
{
    static const TBitmap* bmp = [] {
        auto* b = new TBitmap(8, 8);
        QImage& img = b->MutableImage();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                img.setPixel(x, y, ToQColor(knobgeo::SteelPixel(x, y)).rgb());
        return b;
    }();
    return bmp;
}

namespace {
// The pattern tiled once over an area that only grows, so that filling a
// rectangle is a plain copy instead of a pattern lookup per pixel.
const QImage& steelTiles(int w, int h)
{
    static QImage tiles;
    if (tiles.width() < w || tiles.height() < h) {
        const int tw = std::max({w, tiles.width(), 128});
        const int th = std::max({h, tiles.height(), 128});
        QImage img(((tw + 7) / 8) * 8, ((th + 7) / 8) * 8, QImage::Format_RGB32);
        QPainter p(&img);
        p.fillRect(img.rect(), QBrush(SteelBrushBitmap()->Image()));
        p.end();
        tiles = img;
    }
    return tiles;
}
} // namespace

void FillSteel(TCanvas& canvas, const TRect& area)
{
    canvas.Brush.Bitmap = nullptr;
    // The pattern starts at the canvas origin; nothing lies left or above.
    const TRect r(std::max(0, area.Left), std::max(0, area.Top), area.Right, area.Bottom);
    if (r.IsEmpty())
        return;
    QPainter* p = canvas.Painter();
    if (!p)
        return;
    const QImage& tiles = steelTiles(r.Right, r.Bottom);
    p->drawImage(r.q(), tiles, r.q());
}
