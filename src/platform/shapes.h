#pragma once
// The pixels of the canvas's shapes, as runs of rows within a window: boxes,
// ovals and rounded boxes, the arcs, pies and chords cut from ovals, polygons
// and the pen's lines along them. Nothing here knows where the runs go; the
// canvas hands them to its run sink (platform/runsink.h).
//
// Boxes exclude their right and bottom edge, and without a pen the fill is
// one pixel smaller still. A pen of width W centres on the outline of the
// one-pixel pen (InsideFrame keeps it inside the box); arcs, pies and chords
// run counter-clockwise from the ray through the first point to the ray
// through the second, both from the centre of the box itself whatever the
// pen. A pie's or a chord's arc and fill keep within its straight edges as
// drawn, so that the fill stays inside the outline; with no outline the fill
// keeps within the rays themselves, a chord's within the line through the
// ends of its arc.

#include "platform/raster.h"
#include "platform/types.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace shape {

enum class Kind { Rectangle, Ellipse, RoundRect, Arc, Pie, Chord };

enum class Ink : std::uint8_t { Fill = 1, Pen = 2 };

// Takes the runs of one shape: [X0, X1] of row Y, within the window given.
// The fill of a pixel comes before its pen.
class Runs {
public:
    virtual void Add(int X0, int X1, int Y, Ink K) = 0;

protected:
    ~Runs() = default;
};

// The outline.
struct Pen {
    bool On = true;
    int Width = 1;
    bool Dashed = false;      // one-pixel pens: 6 pixels on, 2 off, along curves too
    bool InsideFrame = false; // a wide pen keeps within the box
};

struct Box {
    int L = 0, T = 0, R = 0, B = 0;
};

// The box (ends included, in 64 bits clamped far beyond any picture) that a
// shape of this box and pen cannot ink outside.
Box Reach(Box B, const Pen& P);

void Rectangle(Box B, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out);
void Ellipse(Box B, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out);
// Corners that are the quarters of the oval of CornerW x CornerH.
void RoundRect(Box B, int CornerW, int CornerH, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out);
// From the ray through (X3, Y3) to the ray through (X4, Y4).
void Arc(Box B, int X3, int Y3, int X4, int Y4, const Pen& P, const raster::Clip& Window, Runs& Out);
void Pie(Box B, int X3, int Y3, int X4, int Y4, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out);
void Chord(Box B, int X3, int Y3, int X4, int Y4, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out);
// Filled alternate; the outline inks every vertex.
void Polygon(const TPoint* Pts, int Count, const Pen& P, bool Fill, const raster::Clip& Window, Runs& Out);

// The pen's pixels along a polyline (Closed: back to the first point), the
// last pixel of a one-pixel line left out; a wide pen's single point is its
// dot. Out is any Runs; a final one is called directly, which a thin line's
// run a pixel needs.
template <class R>
void Stroke(const Pen& P, const TPoint* Pts, int Count, bool Closed, const raster::Clip& Window, R& Out)
{
    if (!P.On || Count < 1)
        return;
    auto span = [&](int x0, int x1, int y) { Out.Add(x0, x1, y, Ink::Pen); };
    if (Count == 1) {
        if (P.Width > 1)
            raster::WideLine(Pts[0].X, Pts[0].Y, Pts[0].X, Pts[0].Y, P.Width, Window, span);
        return;
    }
    std::int64_t index = 0; // the dashes run on from one segment to the next
    const int segs = Count - 1 + (Closed ? 1 : 0);
    for (int i = 0; i < segs; ++i) {
        const TPoint A = Pts[i], B = Pts[(i + 1) % Count];
        if (P.Width > 1) {
            raster::WideLine(A.X, A.Y, B.X, B.Y, P.Width, Window, span);
        } else if (!P.Dashed) {
            raster::ThinLine(A.X, A.Y, B.X, B.Y, Window, span);
        } else {
            raster::ThinLinePixels(A.X, A.Y, B.X, B.Y, Window, [&](int x, int y, std::int64_t k) {
                if ((index + k) % 8 < 6)
                    Out.Add(x, x, y, Ink::Pen);
            });
            index += std::max(std::abs(std::int64_t(B.X) - A.X), std::abs(std::int64_t(B.Y) - A.Y));
        }
    }
}

} // namespace shape
