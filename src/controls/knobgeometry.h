#pragma once
// Geometry and value mapping of the instrument controls, kept free of
// widgets so that every rule can be checked by itself.
//
// Coordinates are client pixels. Integer division truncates toward zero,
// rounding is to the nearest integer with ties to even.

#include "platform/types.h"

#include <array>
#include <optional>
#include <utility>
#include <cstdint>
#include <vector>

namespace knobgeo {

using Pt = TPoint;
using Rc = TRect;

// ---- hit tests (pixel centres, so right and bottom edges are outside) ----
bool PointInPolygon(const std::vector<Pt>& poly, int x, int y);
bool PointInEllipse(const Rc& box, int x, int y);

// A region in which a mouse press counts: empty until it is built.
struct HitRegion {
    enum class Kind { Empty, Rect, Ellipse, Polygon };
    Kind kind = Kind::Empty;
    Rc box;
    std::vector<Pt> poly;
    static HitRegion rect(const Rc& r) { return {Kind::Rect, r, {}}; }
    static HitRegion ellipse(const Rc& r) { return {Kind::Ellipse, r, {}}; }
    static HitRegion polygon(std::vector<Pt> p) { return {Kind::Polygon, {}, std::move(p)}; }
    bool contains(int x, int y) const;
};

// ---- reflex of a round cap ----
// One wedge: a pie of the ellipse of `box` from the ray through `from`
// counter-clockwise to the ray through `to`.
struct Wedge {
    Pt from;
    Pt to;
};
// The two light wedges come first, then the two dark ones.
std::array<Wedge, 4> ReflexWedges(int diameter, const Rc& box, int parity);

// ---- round knob ----
// Per cent (0..100) of `v` along min..max; an empty range gives 0.
int KnobPercent(int v, int min, int max);
// Angle from straight up, clockwise, in radians for a per cent value.
double PercentAngle(int pct);
// End of a ray of length `len` from (cx, cy) at the clockwise-from-top angle.
Pt RayEnd(int cx, int cy, double len, double angle);
// Per cent (0..100) of a mouse point around the centre (c, c).
int PercentFromPoint(int x, int y, int c);
// Value for a per cent: Trunc((pct*(max-min) + 100*min) / 100) in integers.
int ValueFromPercent(int pct, int min, int max);
// Values that carry a tick; a step of 0 or less counts as 1.
std::vector<int> TickValues(int min, int max, int step);
// Side of the square knob for a requested size.
int KnobSide(int width, int height, int currentWidth);
constexpr int KnobMinSide = 45;
constexpr int KnobMaxSide = 120;
// Face rectangle of a knob of the given side.
inline Rc KnobFace(int side) { return {8, 8, side - 8, side - 8}; }
int KnobKeyStep(int min, int max);
// The setting a key asks for on a min..max control: Page Up/Down move by
// `pageStep` (0: not keys of this control), End and Home go to the ends,
// the arrows move by one within the range. None for other keys, and for
// an arrow at the end it points to.
std::optional<int> KeyTarget(std::uint16_t key, int value, int min, int max, int pageStep);

// ---- step switch ----
int StepPercent(int step, int max);
// The step for a per cent of the turn: the nearest one, so that a click on
// a tick or its label, which lie at the step's whole-percent angle, gives
// that step and not the one below.
int StepFromPercent(int pct, int max);

// ---- transparent knob ----
int PositionAngle(int p, int numPositions, int angle1, int angle2);
Pt PointAtAngle(int cx, int cy, double degrees, double r);
// -1 when the point names no position.
int PositionFromPoint(int x, int y, int cx, int cy, int numPositions, int angle1, int angle2);
// Whether text inked within `ink` keeps a clear pixel from every tick
// (each a segment between two points) and from the body: discs of radius
// `r` round (cx, cy), stacked `rim` pixels toward the lower right.
bool InkClearOfKnob(const Rc& ink, const std::vector<std::pair<Pt, Pt>>& ticks, int cx, int cy,
                    int r, int rim);

// ---- switches ----
enum class GlyphAlign : std::uint8_t { Top, Bottom, Left, Right };

struct SwitchLayout {
    Pt box;       // top-left of the switch picture
    Rc caption;   // caption rectangle (left, top, right, bottom)
};
// `pushButton` selects the push button's bottom row, one pixel higher.
SwitchLayout PlaceSwitch(GlyphAlign align, int width, int height, int boxW, int boxH,
                         bool pushButton);

struct RockerGeometry {
    int W, H, s, q, c1, c2, e, e2;
};
RockerGeometry RockerGeometryFor(int size);
inline int RockerMinWidth(int size) { return size * 10 + 18; }
inline int RockerMinHeight(int size) { return size * 10 + 33; }
// Region polygons relative to the box origin, closed by the first point.
std::vector<Pt> RockerOnRegion(const RockerGeometry& g);
std::vector<Pt> RockerOffRegion(const RockerGeometry& g);

struct ButtonGeometry {
    int A, b, m;
};
ButtonGeometry ButtonGeometryFor(int size);
inline int ButtonMinSide(int size) { return size * 6 + 30; }
// The cap's regions within the button's box: raised (a press there switches
// on) and pressed in (a press there switches off).
inline Rc ButtonOnRegion(const ButtonGeometry& g)
{
    return {g.m - 3, g.m - 3, g.m + g.b - 3, g.m + g.b - 3};
}
inline Rc ButtonOffRegion(const ButtonGeometry& g) { return {g.m, g.m, g.m + g.b, g.m + g.b}; }

// ---- lamp ----
struct LampWidths {
    int q; // line unit
    int h; // highlight pen width
};
LampWidths LampWidthsFor(int width);

// ---- steel brush ----
constexpr TColor SteelSilver = 0xC0C0C0;
constexpr TColor SteelWhite = 0xFFFFFF;
inline TColor SteelPixel(int x, int y)
{
    return (x % 2 == 1 && y % 2 == 1) ? SteelWhite : SteelSilver;
}

} // namespace knobgeo
