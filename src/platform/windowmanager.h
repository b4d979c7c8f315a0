#pragma once
// What the forms ask of the window manager beyond what Qt asks for them:
// the frame it puts round a window, a title that stays empty, and the window
// a modal form stays in front of.  Off X11 the requests do nothing.

#include <QMargins>

class QString;
class QWidget;

namespace WindowManager {

// The platform names a window with an empty title after the program; an
// empty title stays empty on the desktop too.
void KeepTitleEmpty(QWidget* w);

// The frame the window manager puts round a window: this window's once it
// is known, else that of another window of the program (the frames are
// alike), else none.
QMargins FrameMarginsOf(const QWidget* w);

// The width a window needs for the window manager to show its whole title
// beside the buttons of its frame; none for an empty title.
int TitleWidth(const QString& title);

// The platform names an owner to the window manager only for dialogs; a
// modal window of any kind must stay in front of the window it blocks.
// No owner takes the request back.
void SetTransientFor(QWidget* w, QWidget* owner);

} // namespace WindowManager
