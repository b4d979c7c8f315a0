#pragma once
// Numbers as text, the way the user's settings show them: the locale's
// decimal separator, 15 significant digits, no exponent for ordinary sizes.

#include <QString>

QString IntToStr(long long v);
// Whole decimal integer, optional sign, surrounding blanks refused;
// anything else raises EConvertError.
int StrToInt(const QString& s);
// 15 significant digits, general format, trailing zeros dropped.
QString FloatToStr(double v);
// General format with the given significant digits (1..18): plain decimals
// from 0.00001 up to the digits given (0.00002, 12.346), an exponent beyond
// (2E-6, 1.2346E+5).
QString FloatToStrGeneral(double v, int digits);
// printf-style with the locale's decimal separator ("%10.4f", "%d", "%s").
QString Format(const char* fmt, ...);
// Accepts the locale's separator and the point; the whole text must be a
// finite number, else EConvertError.
double StrToFloat(const QString& s);
bool TryStrToFloat(const QString& s, double& out);
QChar DecimalSeparator();
