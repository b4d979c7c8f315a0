#pragma once
// The desktop's services to the program: the screen and the cursor shown
// on it, mouse capture, the beep and the clipboard.

#include "platform/controls.h"

#include <QString>

class TScreen {
public:
    int Width() const;
    int Height() const;
    // The cursor shown everywhere (Qt::ArrowCursor = default).
    Qt::CursorShape Cursor() const { return m_cursor; }
    void SetCursor(Qt::CursorShape c);

private:
    Qt::CursorShape m_cursor = Qt::ArrowCursor;
};
extern TScreen* Screen;
constexpr Qt::CursorShape crHelp = Qt::WhatsThisCursor;
constexpr Qt::CursorShape crDefault = Qt::ArrowCursor;

// Mouse capture: while set, mouse presses, moves and releases anywhere in
// the program go to this control (in its client coordinates).
void SetCapture(TControl* c);
void ReleaseCapture();
TControl* GetCapture();

// Cursor position in screen coordinates; tests can pin it.
TPoint GetCursorPos();
void SetCursorPosForTest(const TPoint* p);

enum { SM_CXSCREEN = 0, SM_CYSCREEN = 1 };
int GetSystemMetrics(int index);

// The simple beep.  Tests count the beeps.
void MessageBeep(unsigned type);
int BeepCount();

namespace Clipboard {
void SetText(const QString& s);
QString Text();
}
