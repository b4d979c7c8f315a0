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
        throw EConvertError(QString("'%1' is not a valid integer value").arg(s));
    return v;
}

QString FloatToStr(double v)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v > 0 ? "INF" : "-INF";
    if (v == 0)
        return "0";
    // Shortest of 15 significant digits; exponent form only for very large
    // or very small magnitudes.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    int exp10 = std::atoi(std::strchr(buf, 'e') + 1);
    QString out;
    if (exp10 < -5 || exp10 >= 15) {
        QString mant = QString::fromLatin1(buf, int(std::strchr(buf, 'e') - buf));
        while (mant.contains('.') && mant.endsWith('0'))
            mant.chop(1);
        if (mant.endsWith('.'))
            mant.chop(1);
        out = mant + "E" + (exp10 < 0 ? "-" : "+") + QString::number(std::abs(exp10));
    } else {
        int decimals = 14 - exp10;
        if (decimals < 0)
            decimals = 0;
        std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
        out = QString::fromLatin1(buf);
        if (out.contains('.')) {
            while (out.endsWith('0'))
                out.chop(1);
            if (out.endsWith('.'))
                out.chop(1);
        }
    }
    out.replace('.', DecimalSeparator());
    return out;
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
    bool ok = false;
    double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

double StrToFloat(const QString& s)
{
    double v = 0;
    if (!TryStrToFloat(s, v))
        throw EConvertError(QString("'%1' is not a valid floating point value").arg(s));
    return v;
}
