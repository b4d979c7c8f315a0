#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QPointer>
#include <QScreen>

TScreen* Screen = nullptr;

namespace {
QPointer<TControl> g_capture;
bool g_cursorPinned = false;
TPoint g_cursorPos;
int g_beeps = 0;
} // namespace

int TScreen::Width() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

void TScreen::SetCursor(Qt::CursorShape c)
{
    if (c == m_cursor)
        return;
    if (m_cursor != Qt::ArrowCursor)
        QApplication::restoreOverrideCursor();
    m_cursor = c;
    if (c != Qt::ArrowCursor)
        QApplication::setOverrideCursor(QCursor(c));
}

void SetCapture(TControl* c)
{
    g_capture = c;
    if (c && QGuiApplication::platformName() != "offscreen")
        c->grabMouse();
}

void ReleaseCapture()
{
    if (g_capture && QGuiApplication::platformName() != "offscreen")
        g_capture->releaseMouse();
    g_capture = nullptr;
}

TControl* GetCapture()
{
    return g_capture;
}

TPoint GetCursorPos()
{
    if (g_cursorPinned)
        return g_cursorPos;
    return TPoint::from(QCursor::pos());
}

void SetCursorPosForTest(const TPoint* p)
{
    g_cursorPinned = p != nullptr;
    if (p)
        g_cursorPos = *p;
}

int GetSystemMetrics(int index)
{
    if (!Screen)
        return 0;
    return index == SM_CXSCREEN ? Screen->Width() : index == SM_CYSCREEN ? Screen->Height() : 0;
}

void MessageBeep(unsigned)
{
    ++g_beeps;
    QApplication::beep();
}

int BeepCount()
{
    return g_beeps;
}

namespace Clipboard {
void SetText(const QString& s)
{
    QGuiApplication::clipboard()->setText(s);
}
QString Text()
{
    return QGuiApplication::clipboard()->text();
}
} // namespace Clipboard
