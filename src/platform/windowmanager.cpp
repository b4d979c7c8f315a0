#include "platform/windowmanager.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#ifdef LAB_HAVE_XCB
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#endif

namespace WindowManager {

namespace {
#if defined(LAB_HAVE_XCB) && QT_CONFIG(xcb)
// The connection to the X server, for a window that has its own on it;
// none elsewhere.
xcb_connection_t* DesktopConnection(const QWidget* w)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !w->internalWinId())
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
#endif
} // namespace

void KeepTitleEmpty(QWidget* w)
{
#if defined(LAB_HAVE_XCB) && QT_CONFIG(xcb)
    xcb_connection_t* c = DesktopConnection(w);
    if (!c)
        return;
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
        xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    const auto win = xcb_window_t(w->internalWinId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, 0, "");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(c);
#else
    (void)w;
#endif
}

int TitleWidth(const QString& title)
{
    if (title.isEmpty())
        return 0;
    // Window managers draw titles bold, in the desktop's title font.  The
    // frame holds the window's icon and three buttons (minimise, maximise,
    // close), each about as wide as the title bar is high, and pads the
    // text on both sides.
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    const QFontMetrics fm(font);
    const int button = fm.height() + 4;
    return fm.horizontalAdvance(title) + 4 * button + 2 * fm.height();
}

QMargins FrameMarginsOf(const QWidget* w)
{
    if (QWindow* h = w->windowHandle(); h && !h->frameMargins().isNull())
        return h->frameMargins();
    for (QWidget* o : QApplication::topLevelWidgets())
        if (o != w && o->isVisible() && o->windowHandle() && !o->windowHandle()->frameMargins().isNull())
            return o->windowHandle()->frameMargins();
    return {};
}

#if defined(LAB_HAVE_XCB) && QT_CONFIG(xcb)
void SetTransientFor(QWidget* w, QWidget* owner)
{
    xcb_connection_t* c = DesktopConnection(w);
    if (!c)
        return;
    const auto win = xcb_window_t(w->internalWinId());
    if (owner) {
        const auto o = xcb_window_t(owner->winId());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &o);
    } else {
        xcb_delete_property(c, win, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    xcb_flush(c);
}
#else
void SetTransientFor(QWidget*, QWidget*) {}
#endif

} // namespace WindowManager
