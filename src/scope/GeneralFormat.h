#pragma once
// Numbers in general format with a given number of significant digits, as
// the status lines show them: plain decimals from 0.00001 up to the digits
// given (0.00002, 12.346), an exponent beyond (2E-6, 1.2346E+5).

#include <QString>

QString FloatToStrGeneral(double V, int Digits);
