#include "controls/steelbrush.h"

#include "controls/knobgeometry.h"

const TBitmap* SteelBrushBitmap()
{
    static const TBitmap* bmp = [] {
        auto* b = new TBitmap(8, 8);
        QImage& img = b->MutableImage();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                img.setPixel(x, y, ToQColor(knobgeo::steelPixel(x, y)).rgb());
        return b;
    }();
    return bmp;
}

void FillSteel(TCanvas& canvas, const TRect& r)
{
    canvas.Brush.Bitmap = SteelBrushBitmap();
    canvas.FillRect(r);
    canvas.Brush.Bitmap = nullptr;
}
