#include "controls/knobcolors.h"

#include "controls/knobgeometry.h"

#include <algorithm>

void KnobColorToColors(KnobColorType kind, TColor& light, TColor& mid, TColor& dark)
{
    struct Triple {
        TColor light, mid, dark;
    };
    static constexpr Triple table[] = {
        {0x0000FF, 0x000080, 0x000040}, // kcRed
        {0xFF0000, 0x800000, 0x400000}, // kcBlue
        {0x00FF00, 0x008000, 0x004000}, // kcGreen
        {0x00FFFF, 0x008080, 0x00C0C0}, // kcYellow: its dark is lighter than its mid
        {0xFF00FF, 0x800080, 0x400040}, // kcMagenta
        {0xFFFFFF, 0xC0C0C0, 0x808080}, // kcSilver
        {0xFFFF00, 0x808000, 0x404000}, // kcCyan
        {0xFFFFFF, 0xE2E2E2, 0xC0C0C0}, // kcWhite
    };
    const Triple& t = table[std::min<int>(kind, kcWhite)];
    light = t.light;
    mid = t.mid;
    dark = t.dark;
}

void DrawKnobReflex(TCanvas& c, int diameter, const TRect& r, TColor light, TColor dark, int parity)
{
    const auto w = knobgeo::ReflexWedges(diameter, r, parity);
    c.Brush.Bitmap = nullptr;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Pen.Style = TPenStyle::psSolid;
    for (int i = 0; i < 4; ++i) {
        const TColor col = i < 2 ? light : dark;
        c.Pen.Color = col;
        c.Brush.Color = col;
        c.Pie(r.Left, r.Top, r.Right, r.Bottom, w[i].from.X, w[i].from.Y, w[i].to.X, w[i].to.Y);
    }
}
