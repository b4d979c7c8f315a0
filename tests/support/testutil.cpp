#include "testutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "platform/forms.h"

namespace testutil {

QWidget* widgetAt(QWidget* top, QPoint pos)
{
    QWidget* w = top->childAt(pos);
    return w ? w : top;
}

void clickAt(QWidget* top, QPoint pos, Qt::MouseButton button)
{
    QWidget* w = widgetAt(top, pos);
    QTest::mouseClick(w, button, {}, w->mapFrom(top, pos));
}

void doubleClickAt(QWidget* top, QPoint pos)
{
    // A real double click is a click followed by the double-click press.
    QWidget* w = widgetAt(top, pos);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(top, pos));
    QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(top, pos));
}

void moveMouseTo(QWidget* top, QPoint pos)
{
    QWidget* w = widgetAt(top, pos);
    TPoint screen = TPoint::from(top->mapToGlobal(pos));
    SetCursorPosForTest(&screen);
    QTest::mouseMove(w, w->mapFrom(top, pos));
}

QImage screenshot(QWidget* w, const QString& name)
{
    QImage img = w->grab().toImage();
    img.save(outputDir() + "/" + name + ".png");
    return img;
}

QString outputDir()
{
    QString dir = qEnvironmentVariable("LAB_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QStringLiteral(LAB_TEST_OUTPUT_DEFAULT);
    QDir().mkpath(dir);
    return dir;
}

QStringList& messages()
{
    static QStringList m;
    return m;
}

void pump()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

std::vector<QPoint> referenceLine(int x0, int y0, int x1, int y1)
{
    auto ceilDiv = [](long long a, long long b) { return int(a >= 0 ? (a + b - 1) / b : -((-a) / b)); };
    std::vector<QPoint> out;
    const int dx = x1 - x0, dy = y1 - y0;
    const int n = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < n; ++i) {
        if (std::abs(dx) > std::abs(dy))
            out.push_back(QPoint(x0 + (dx > 0 ? i : -i), y0 + ceilDiv(2LL * i * dy - n, 2LL * n)));
        else
            out.push_back(QPoint(x0 + ceilDiv(2LL * i * dx - n, 2LL * n), y0 + (dy > 0 ? i : -i)));
    }
    return out;
}

} // namespace testutil

QRect testutil::sliderHandle(const QSlider* s)
{
    QStyleOptionSlider o;
    o.initFrom(s);
    o.orientation = s->orientation();
    if (o.orientation == Qt::Horizontal)
        o.state |= QStyle::State_Horizontal;
    o.minimum = s->minimum();
    o.maximum = s->maximum();
    o.sliderPosition = s->sliderPosition();
    o.sliderValue = s->value();
    o.tickPosition = s->tickPosition();
    o.tickInterval = s->tickInterval();
    o.upsideDown = o.orientation == Qt::Horizontal ? s->invertedAppearance() : !s->invertedAppearance();
    return s->style()->subControlRect(QStyle::CC_Slider, &o, QStyle::SC_SliderHandle, s);
}
