#include "testutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>

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
    QString dir = qEnvironmentVariable("LAB_TEST_OUTPUT");
    if (dir.isEmpty())
        dir = QDir::currentPath();
    QDir().mkpath(dir);
    img.save(dir + "/" + name + ".png");
    return img;
}

QStringList& messages()
{
    static QStringList m;
    return m;
}

void pump(int ms)
{
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (t.elapsed() < ms);
}

} // namespace testutil
