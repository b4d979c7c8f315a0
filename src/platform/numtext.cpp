#include "platform/numtext.h"

#include "platform/types.h"

#include <QLocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>

QChar DecimalSeparator()
{
    QString d = QLocale().decimalPoint();
    return d.isEmpty() ? QChar('.') : d.at(0);
}

QString IntToStr(long long v)
{
    return QString::number(v);
}

int StrToInt(const QString& s)
{
    bool ok = false;
    int v = s.toInt(&ok, 10);
    if (!ok || s.isEmpty() || s.trimmed() != s)
        throw EConvertError(QStringLiteral("\"%1\" не является целым числом").arg(s));
    return v;
}

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

QString FloatToStr(double v)
{
    return FloatToStrGeneral(v, 15);
}

QString Format(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    QString s = QString::vasprintf(fmt, ap);
    va_end(ap);
    QChar sep = DecimalSeparator();
    if (sep != '.') {
        // Only separators of formatted numbers: a point between two digits
        // or right after a sign/blank before digits.
        for (int i = 0; i < s.size(); ++i) {
            if (s[i] == '.' && i + 1 < s.size() && s[i + 1].isDigit() && (i == 0 || s[i - 1].isDigit() || s[i - 1] == ' ' || s[i - 1] == '-'))
                s[i] = sep;
        }
    }
    return s;
}

bool TryStrToFloat(const QString& s, double& out)
{
    QString t = s.trimmed();
    if (t.isEmpty())
        return false;
    QChar sep = DecimalSeparator();
    if (sep != '.')
        t.replace(sep, '.');
    // A group separator is no digit: "1,000" under a point locale is not 1000.
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = plain.toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

double StrToFloat(const QString& s)
{
    double v = 0;
    if (!TryStrToFloat(s, v))
        throw EConvertError(QStringLiteral("\"%1\" не является числом").arg(s));
    return v;
}
