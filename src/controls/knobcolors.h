#pragma once
// The knob cap colours and the reflex of a round cap, which the round
// knobs, the push buttons and the switches share.

#include "platform/graphics.h"

#include <cstdint>

enum KnobColorType : std::uint8_t { kcRed, kcBlue, kcGreen, kcYellow, kcMagenta, kcSilver, kcCyan, kcWhite };

void KnobColorToColors(KnobColorType kind, TColor& light, TColor& mid, TColor& dark);

// The highlight of a round cap: two light and two dark pie wedges of the
// ellipse in `rect`, moved by one pixel with the parity bit.
void DrawKnobReflex(TCanvas& canvas, int diameter, const TRect& rect, TColor light, TColor dark,
                    int parity);
