#pragma once
// Where the bench's devices lie and what a click on a wire hits: the
// bridge bench's layout in pixels, apart from the physics of the circuit.

#include <vector>

namespace bridge {

// One factor for both axes and the centred rectangle the bench units cover.
struct BenchLayout {
    double scale = 0.0;  // pixels per unit
    int left = 0, top = 0, right = 0, bottom = 0;
};
// A client area too small for the 2-pixel margin, or a bench without units,
// gives the factor 0 and an empty work area at the centre instead of a
// negative or infinite factor.
BenchLayout ComputeBenchLayout(int clientWidth, int clientHeight, int unitsWidth, int unitsHeight);

// Does a click at (x, y) hit a wire drawn through `points` with a pen of
// `penWidth` pixels? Each segment's bounding box, grown by the pen width,
// answers (right and bottom edges excluded).
struct PixelPoint {
    int x = 0, y = 0;
};
bool WireHit(const std::vector<PixelPoint>& points, int penWidth, int x, int y);

} // namespace bridge
