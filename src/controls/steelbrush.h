#pragma once
// The brush pattern of the steel look: 8 x 8 silver pixels with white ones
// where x and y are both odd. Made once, on first use; the controls borrow
// it as a brush pattern and take it off their brush after use.

#include "platform/graphics.h"

const TBitmap* SteelBrushBitmap();

// Fills `r` with the steel pattern (aligned to the canvas origin) and
// leaves the canvas brush without a pattern.
void FillSteel(TCanvas& canvas, const TRect& r);
