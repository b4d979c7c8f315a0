#include "bridge/bridgetext.h"

#include "models/bridgemodel.h"
#include "platform/numtext.h"

#include <QStringList>

namespace bridge {

QString StatusText(double r1, double r2, double r0, bool sourceOn, double u)
{
    QString s = "R1=" + FloatToStr(r1) + " Ом.   " + "R2=" + FloatToStr(r2) + " Ом.   " + "R0=" + FloatToStr(r0) +
                " Ом.   ";
    if (sourceOn)
        s += "U=" + FloatToStr(u) + " В.   ";
    return s;
}

QString VariantTableText()
{
    QStringList lines;
    lines << "Вариант     Rx, Ом";
    for (int n = 1; n <= 100; ++n)
        lines << QString::number(n) + "\t" + Format("%10.1f", VariantRx(n));
    return lines.join("\n");
}

} // namespace bridge
