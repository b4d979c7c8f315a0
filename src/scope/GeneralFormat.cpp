#include "scope/GeneralFormat.h"

#include "platform/numtext.h"

#include <cmath>

namespace {

QString StripZeros(QString s)
{
    if (s.contains('.')) {
        while (s.endsWith('0'))
            s.chop(1);
        if (s.endsWith('.'))
            s.chop(1);
    }
    return s;
}

} // namespace

QString FloatToStrGeneral(double V, int Digits)
{
    if (std::isnan(V))
        return QStringLiteral("NAN");
    if (std::isinf(V))
        return V > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    Digits = Digits < 1 ? 1 : (Digits > 18 ? 18 : Digits);
    if (V == 0)
        return QStringLiteral("0");
    // Rounded to the digits first, so that 99999.6 counts as 1E+5.
    const QString sci = QString::number(V, 'e', Digits - 1);
    const int ePos = sci.indexOf('e');
    const int exponent = sci.mid(ePos + 1).toInt();
    QString out;
    if (exponent < -5 || exponent >= Digits) {
        out = StripZeros(sci.left(ePos)) + 'E' + (exponent < 0 ? '-' : '+') + QString::number(std::abs(exponent));
    } else {
        out = StripZeros(QString::number(V, 'f', Digits - 1 - exponent));
    }
    return out.replace('.', DecimalSeparator());
}
