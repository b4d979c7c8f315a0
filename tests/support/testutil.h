#pragma once
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QSlider;

namespace testutil {

// Sends a press and release to whatever widget a user would hit at `pos`
// (in `top`'s coordinates), the way a real click is delivered.
void clickAt(QWidget* top, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
void doubleClickAt(QWidget* top, QPoint pos);
void moveMouseTo(QWidget* top, QPoint pos);

// The deepest visible widget under `pos` of `top`.
QWidget* widgetAt(QWidget* top, QPoint pos);

// Grabs the widget and writes it to <outputDir>/<name>.png; returns the
// picture for checks.
QImage screenshot(QWidget* w, const QString& name);

// The folder tests write their pictures to: $LAB_TEST_OUTPUT, else the
// build folder's screens, never the current folder (made when missing).
QString outputDir();

// Messages the program showed in message boxes (exceptions included),
// oldest first; empty when a test starts.
QStringList& messages();

// The pixels of a one-pixel canvas line from (x0, y0) to (x1, y1), worked
// out independently of the canvas: every step of the longer axis from the
// start up to, not including, the end; the other coordinate the exact one
// rounded, halves going to the smaller coordinate.
std::vector<QPoint> referenceLine(int x0, int y0, int x1, int y1);

// Delivers the events already pending, zero-time timers included; it waits
// for nothing (QTest::qWaitFor waits for a thing to happen).
void pump();

// Where the slider's style puts its handle, asked as the slider paints it.
QRect sliderHandle(const QSlider* s);

} // namespace testutil
