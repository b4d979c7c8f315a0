#pragma once
// Texts of the bridge exercise: the status line with the circuit's values
// and the teacher's table of Rx for every variant.

#include <QString>

namespace bridge {

// "R1=.. Ом.   R2=.. Ом.   R0=.. Ом.   " and, with the source on,
// "U=.. В.   ", numbers in the user's notation.
QString StatusText(double r1, double r2, double r0, bool sourceOn, double u);

// 101 lines: a heading and, for variants 1..100, the number, a tab and Rx
// in ten characters with one decimal.
QString VariantTableText();

} // namespace bridge
