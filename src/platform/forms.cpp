#include "platform/forms.h"

#include "platform/help.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#ifdef LAB_HAVE_XCB
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#endif

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
QPointer<TControl> g_capture;
bool g_cursorPinned = false;
TPoint g_cursorPos;
int g_beeps = 0;
// A press that moved the focus out of a field whose entry was refused: the
// press itself must not act on the control it was meant for.
bool g_swallowPress = false;
// Depth of event delivery through LabApplication::notify.
int g_notifyDepth = 0;
// The modal forms up, innermost last.
std::vector<TForm*> g_modal;

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

// The platform names a window with an empty title after the program; an
// empty title stays empty on the desktop too.
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

// The frame the window manager puts round a window: this window's once it
// is known, else that of another window of the program (the frames are
// alike), else none.
QMargins FrameMarginsOf(const QWidget* w)
{
    if (QWindow* h = w->windowHandle(); h && !h->frameMargins().isNull())
        return h->frameMargins();
    for (QWidget* o : QApplication::topLevelWidgets())
        if (o != w && o->isVisible() && o->windowHandle() && !o->windowHandle()->frameMargins().isNull())
            return o->windowHandle()->frameMargins();
    return {};
}
} // namespace

void Guarded(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        if (Application)
            Application->HandleException(e);
    }
}

// ---------------------------------------------------------------- TForm

TForm::TForm(QObject* owner) : TWinControl(nullptr)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    SetColor(clBtnFace);
    SetFont(TFont("MS Sans Serif", 11));
    setFocusPolicy(Qt::NoFocus);
    if (owner && owner == Application)
        Application->AddForm(this);
    else if (owner)
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
    applyFlags();
}

TForm::~TForm()
{
    // Nothing of the form runs from here on; in particular the focus
    // leaving its fields while the windows go is no exit.
    m_destroying = true;
    for (TControl* c : findChildren<TControl*>())
        c->m_destroying = true;
    std::erase(g_modal, this);
    if (Application)
        Application->RemoveForm(this);
}

void TForm::DoCreate()
{
    if (m_created)
        return;
    m_created = true;
    if (OnCreate)
        Guarded([&] { OnCreate(this); });
}

void TForm::SetCaption(const QString& c)
{
    TControl::SetCaption(c);
    setWindowTitle(c);
}

void TForm::SetBorderStyle(TFormBorderStyle s)
{
    m_borderStyle = s;
    applyFlags();
}

void TForm::SetBorderIcons(unsigned icons)
{
    m_borderIcons = icons;
    applyFlags();
}

void TForm::applyFlags()
{
    bool vis = isVisible();
    Qt::WindowFlags f = Qt::Window;
    switch (m_borderStyle) {
    case TFormBorderStyle::bsNone: f |= Qt::FramelessWindowHint; break;
    case TFormBorderStyle::bsDialog: f = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint; break;
    default: f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint; break;
    }
    if (m_borderStyle != TFormBorderStyle::bsNone) {
        if (m_borderIcons & biSystemMenu)
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (m_borderStyle != TFormBorderStyle::bsDialog) {
            if (m_borderIcons & biMinimize)
                f |= Qt::WindowMinimizeButtonHint;
            if (m_borderIcons & biMaximize)
                f |= Qt::WindowMaximizeButtonHint;
        }
    }
    setWindowFlags(f);
    if (vis)
        show();
}

TWindowState TForm::WindowState() const
{
    Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return TWindowState::wsMinimized;
    if (s & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState s)
{
    switch (s) {
    case TWindowState::wsMaximized: setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized); break;
    case TWindowState::wsMinimized: setWindowState(windowState() | Qt::WindowMinimized); break;
    default: setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)); break;
    }
}

void TForm::SetClientSize(int w, int h)
{
    bool fixed = m_borderStyle == TFormBorderStyle::bsSingle || m_borderStyle == TFormBorderStyle::bsDialog;
    if (fixed)
        setFixedSize(w, h);
    else
        resize(w, h);
    Realign();
}

TControl* TForm::ActiveControl() const
{
    return ControlOf(focusWidget());
}

void TForm::ShowForm()
{
    DoCreate();
    // Centred when first shown; shown again, it is where it was.
    if (Position == TPosition::poScreenCenter && !isVisible() && !m_shownBefore) {
        centreOnScreen();
        // Until the window manager has framed the window its frame is a
        // guess; the window is put right once the frame is known, which
        // nothing announces.
        m_centreWithFrame = true;
        winId();
        windowHandle()->installEventFilter(this);
        QTimer::singleShot(0, this, [this] { centreOnceFramed(100); });
    }
    show();
    raise();
    activateWindow();
}

bool TForm::eventFilter(QObject* o, QEvent* e)
{
    // Framed by the window manager before it is first exposed.
    if (o == windowHandle() && e->type() == QEvent::Expose)
        centreOnceFramed(0);
    return TWinControl::eventFilter(o, e);
}

void TForm::centreOnceFramed(int tries)
{
    if (!m_centreWithFrame || !isVisible())
        return;
    if (windowHandle() && !windowHandle()->frameMargins().isNull()) {
        m_centreWithFrame = false;
        centreOnScreen();
    } else if (tries > 0) {
        QTimer::singleShot(20, this, [this, tries] { centreOnceFramed(tries - 1); });
    }
}

void TForm::centreOnScreen()
{
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QMargins frame = FrameMarginsOf(this);
    const QSize outer = size().grownBy(frame);
    // Placed by its client area: a position given for the frame is taken
    // for the client's while the frame is still unknown, and then kept.
    setGeometry(QRect(QPoint(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
                             area.y() + (area.height() - outer.height()) / 2 + frame.top()),
                      size()));
}

void TForm::HideForm()
{
    hide();
}

namespace {
// The window a modal form is opened over: the form modal before it, else
// the active window, else the main form; none when it is hidden (a start
// form hidden for its laboratory form).
QWidget* OwnerForModal(const TForm* f)
{
    QWidget* candidates[] = {g_modal.empty() ? nullptr : g_modal.back(), QApplication::activeWindow(),
                             Application ? Application->MainForm() : nullptr};
    for (QWidget* w : candidates)
        if (w && w != f && w->isWindow() && w->isVisible() && !UsableOverModal(w))
            return w;
    return nullptr;
}

#if defined(LAB_HAVE_XCB) && QT_CONFIG(xcb)
// The platform names an owner to the window manager only for dialogs; a
// modal window of any kind must stay in front of the window it blocks.
void SetTransientForOnDesktop(QWidget* w, QWidget* owner)
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
void SetTransientForOnDesktop(QWidget*, QWidget*) {}
#endif
} // namespace

void SetUsableOverModal(QWidget* window)
{
    window->setProperty("usableOverModal", true);
}

bool UsableOverModal(const QWidget* window)
{
    return window->property("usableOverModal").toBool();
}

bool TForm::IsBlockedByModal() const
{
    if (g_modal.empty() || UsableOverModal(this))
        return false;
    // A form on top of the innermost modal form (one it opened) is not
    // blocked by it; every other window is.
    for (auto it = g_modal.rbegin(); it != g_modal.rend(); ++it)
        if (*it == this)
            return it != g_modal.rbegin();
    return !(windowHandle() && g_modal.back()->windowHandle() &&
             g_modal.back()->windowHandle()->isAncestorOf(windowHandle(), QWindow::IncludeTransients));
}

int TForm::ShowModal()
{
    DoCreate();
    m_modalResult = mrNone;
    ++m_modalDepth;
    // The window manager keeps a modal window in front of the window it was
    // opened over; blocked windows keep their look and take no input.
    QPointer<QWidget> owner = OwnerForModal(this);
    QPointer<QWidget> ownerFocus = owner ? owner->focusWidget() : nullptr;
    setWindowModality(Qt::WindowModal);
    winId();
    windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
    g_modal.push_back(this);
    m_modalEnded = false;
    m_loopDepth = g_notifyDepth;
    m_shownInRun = false;
    ShowForm();
    SetTransientForOnDesktop(this, owner);
    // The form may be destroyed by a handler while it is up; then the loop
    // ends with cancel and touches nothing of it.
    QPointer<TForm> alive(this);
    QEventLoop loop;
    while (alive && !m_modalEnded && !(Application && Application->Terminated())) {
        loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        if (alive)
            CheckModalResult();
    }
    int result = mrCancel;
    if (alive) {
        result = m_modalResult;
        hide();
        std::erase(g_modal, this);
        setWindowModality(Qt::NonModal);
        if (windowHandle())
            windowHandle()->setTransientParent(nullptr);
        SetTransientForOnDesktop(this, nullptr);
        --m_modalDepth;
    }
    if (owner && owner->isVisible()) {
        owner->activateWindow();
        if (ownerFocus && ownerFocus->window() == owner)
            ownerFocus->setFocus(Qt::ActiveWindowFocusReason);
    }
    return result;
}

void TForm::CheckModalResult()
{
    if (m_modalResult == mrNone || m_modalEnded || m_checkingResult)
        return;
    m_checkingResult = true;
    // The form may refuse to close; then the loop goes on.
    m_modalEnded = AgreesToClose();
    if (!m_modalEnded)
        m_modalResult = mrNone;
    m_checkingResult = false;
}

bool TForm::AgreesToClose()
{
    if (!CloseQuery())
        return false;
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        Guarded([&] { OnClose(this, action); });
    return action != TCloseAction::caNone;
}

bool TForm::CloseQuery()
{
    bool can = true;
    if (OnCloseQuery)
        Guarded([&] { OnCloseQuery(this, can); });
    return can;
}

void TForm::Close()
{
    if (IsModal()) {
        m_modalResult = mrCancel;
        return;
    }
    if (m_closing)
        return;
    m_closing = true;
    if (AgreesToClose()) {
        hide();
        if (Application && Application->MainForm() == this)
            Application->Terminate();
    }
    m_closing = false;
}

void TForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

void TForm::showEvent(QShowEvent* e)
{
    TWinControl::showEvent(e);
    if (e->spontaneous())
        return;
    // The focus goes back to the control that had it when the form was
    // hidden (for a laboratory form after the calculator, say); the first
    // time and at the start of every modal run, to the first control of the
    // Tab order that can take it, or to the form itself when there is none,
    // so that no control the form did not name (a button) takes it.
    const bool runStarts = IsModal() && !m_shownInRun;
    m_shownAgainInRun = IsModal() && m_shownInRun;
    m_shownInRun = IsModal();
    const bool afresh = !m_shownBefore || runStarts;
    m_shownBefore = true;
    bool placed = false;
    for (QWidget* w : afresh ? m_tabOrder : std::vector<QPointer<QWidget>>{m_focusWhenHidden}) {
        QWidget* t = w && w->focusProxy() ? w->focusProxy() : w;
        if (t && t->window() == this && t->isEnabled() && t->isVisibleTo(this)
            && (t->focusPolicy() != Qt::NoFocus || t == this)) {
            t->setFocus(Qt::OtherFocusReason);
            placed = true;
            break;
        }
    }
    if (!placed && afresh && !m_tabOrder.empty() && isWindow())
        setFocus(Qt::OtherFocusReason);
    Guarded([&] { DoShow(); });
}

void TForm::hideEvent(QHideEvent* e)
{
    if (!e->spontaneous())
        m_focusWhenHidden = focusWidget();
    TWinControl::hideEvent(e);
    if (!e->spontaneous())
        Guarded([&] { DoHide(); });
}

void TForm::closeEvent(QCloseEvent* e)
{
    e->ignore();
    // A window a modal form blocks takes no close: the window manager may
    // still ask it to close from its title bar or a task list.
    if (IsBlockedByModal())
        return;
    Close();
}

void TForm::changeEvent(QEvent* e)
{
    TWinControl::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) {
        TWindowState s = WindowState();
        if (s == m_lastState)
            return;
        m_lastState = s;
        int type = s == TWindowState::wsMinimized ? 1 : s == TWindowState::wsMaximized ? 2 : 0;
        Guarded([&] { WMSize(type); });
    }
}

void TForm::SetBounds(int left, int top, int w, int h)
{
    // A window of fixed size keeps the size it is given.
    if (minimumSize() == maximumSize())
        setFixedSize(std::max(0, w), std::max(0, h));
    TWinControl::SetBounds(left, top, w, h);
}

bool TForm::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::WindowActivate:
        if (!m_wasActive) {
            m_wasActive = true;
            Guarded([&] { Activate(); });
        }
        break;
    case QEvent::WindowDeactivate:
        if (m_wasActive) {
            m_wasActive = false;
            Guarded([&] { Deactivate(); });
        }
        break;
    case QEvent::Hide:
        if (m_wasActive && !isVisible()) {
            m_wasActive = false;
            bool r = TWinControl::event(e);
            Guarded([&] { Deactivate(); });
            return r;
        }
        break;
    default:
        break;
    }
    return TWinControl::event(e);
}

bool TForm::HelpRequest(unsigned command, long long data)
{
    bool callHelp = true;
    if (OnHelp)
        OnHelp(command, data, callHelp);
    if (callHelp && Application)
        return Application->HelpCommand(command, data);
    return false;
}

void TForm::keyPressEvent(QKeyEvent* e)
{
    auto press = [](TControl* b) {
        if (b && b->isVisible() && b->isEnabled()) {
            b->Click();
            return true;
        }
        return false;
    };
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto* btn = qobject_cast<QAbstractButton*>(focusWidget()); btn && btn->isEnabled()) {
            btn->click();
            return;
        }
        if (press(m_default))
            return;
    } else if (e->key() == Qt::Key_Escape) {
        if (press(m_cancel))
            return;
    } else if (e->key() == Qt::Key_F1) {
        TControl* c = ControlOf(focusWidget());
        int ctx = 0;
        for (QWidget* w = c; w && !ctx; w = w->parentWidget())
            if (auto* tc = qobject_cast<TControl*>(w))
                ctx = tc->HelpContext();
        if (ctx)
            HelpRequest(HELP_CONTEXT, ctx);
        return;
    }
    TWinControl::keyPressEvent(e);
}

bool TForm::PreviewKey(QWidget* target, QKeyEvent* e)
{
    std::uint16_t key = VirtualKeyOf(e->key());
    if (!key)
        return false;
    bool handled = false;
    Guarded([&] {
        KeyDown(key, ShiftOf(e->modifiers()));
        // A key that moved the focus has done its work: the control it left
        // must not act on it (a button would take the focus back).
        handled = key == 0 || QApplication::focusWidget() != target;
    });
    return handled;
}

// ---------------------------------------------------------------- TApplication

TApplication::TApplication()
{
    qApp->installEventFilter(this);
}

TApplication::~TApplication()
{
    FreeForms();
    Help::CloseAll();
    if (Application == this)
        Application = nullptr;
}

void TApplication::SetTitle(const QString& t)
{
    // The title names the program in message boxes; window titles are the
    // forms' captions alone.
    m_title = t;
}

void TApplication::SetHint(const QString& h)
{
    if (h == m_hint)
        return;
    m_hint = h;
    if (OnHint)
        Guarded([&] { OnHint(this); });
}

void TApplication::HandleException(const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e))
        return;
    if (OnException) {
        OnException(this, e);
        return;
    }
    ShowException(e);
}

void TApplication::ShowException(const std::exception& e)
{
    QString msg;
    if (auto* ex = dynamic_cast<const Exception*>(&e))
        msg = ex->Message;
    else
        msg = QString::fromUtf8(e.what());
    if (!msg.isEmpty() && !msg.endsWith('.'))
        msg += '.';
    MessageBox(msg, m_title, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const QString& text, const QString& caption, unsigned flags)
{
    if (MessageBoxHook)
        return MessageBoxHook(text, caption, flags);
    QMessageBox box;
    box.setWindowTitle(caption);
    box.setText(text);
    switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (flags & 0x0F) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    SetUsableOverModal(&box);
    int r = box.exec();
    switch (r) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Cancel: return mrCancel;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return mrCancel;
    }
}

bool TApplication::HelpContext(int context)
{
    return HelpCommand(HELP_CONTEXT, context);
}

bool TApplication::HelpCommand(unsigned command, long long data)
{
    if (HelpFile.isEmpty())
        return false;
    return Help::Show(m_mainForm, HelpFile, command, data);
}

void TApplication::AddForm(TForm* f)
{
    m_forms.push_back(f);
    if (!m_mainForm)
        m_mainForm = f;
}

void TApplication::RemoveForm(TForm* f)
{
    std::erase(m_forms, f);
    if (m_mainForm == f)
        m_mainForm = nullptr;
}

void TApplication::FreeForms()
{
    while (!m_forms.empty()) {
        TForm* f = m_forms.back();
        delete f; // removes itself
    }
    m_mainForm = nullptr;
}

void TApplication::Run()
{
    qApp->setQuitOnLastWindowClosed(false);
    if (m_terminated)
        return;
    if (m_mainForm)
        m_mainForm->ShowForm();
    QApplication::exec();
}

void TApplication::Terminate()
{
    m_terminated = true;
    // Ends the message loop whatever windows are still open (quit() would
    // first ask them all to close, and a modal form refuses).
    QCoreApplication::exit(0);
}

QStringList TApplication::Arguments() const
{
    if (m_argsSet)
        return m_args;
    QStringList a = QCoreApplication::arguments();
    if (!a.isEmpty())
        a.removeFirst();
    return a;
}

bool TApplication::eventFilter(QObject* o, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
        // Qt blocks the windows a modal form was opened over; any other
        // window of ours lies under it just as well.
        if (auto* w = qobject_cast<QWidget*>(o); w && !g_modal.empty()) {
            if (auto* f = qobject_cast<TForm*>(w->window()); f && f->IsBlockedByModal()) {
                if (e->type() == QEvent::MouseButtonPress) {
                    g_modal.back()->raise();
                    g_modal.back()->activateWindow();
                }
                return true;
            }
        }
        break;
    case QEvent::WindowActivate:
        // The keyboard goes to the modal form, not to a window it blocks
        // that the window manager activated on a click.
        if (auto* f = qobject_cast<TForm*>(o); f && f->IsBlockedByModal())
            QTimer::singleShot(0, g_modal.back(), [m = QPointer<TForm>(g_modal.back())] {
                if (m && m->isVisible() && !m->isActiveWindow())
                    m->activateWindow();
            });
        break;
    default:
        break;
    }
    switch (e->type()) {
    case QEvent::KeyPress: {
        // Once per key: when it reaches the focused control of a form that
        // previews keys.
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w != QApplication::focusWidget())
            break;
        TControl* c = ControlOf(w);
        TForm* f = c ? (qobject_cast<TForm*>(c) ? nullptr : c->ParentForm()) : nullptr;
        if (f && f->KeyPreview && f->PreviewKey(w, static_cast<QKeyEvent*>(e)))
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w)
            break;
        if (e->type() == QEvent::MouseButtonPress && g_swallowPress) {
            g_swallowPress = false;
            return true;
        }
        auto* me = static_cast<QMouseEvent*>(e);
        if (!g_cursorPinned)
            g_cursorPos = TPoint::from(me->globalPosition().toPoint());
        if (g_capture) {
            // Everything goes to the control holding the capture.
            TControl* c = g_capture;
            QPoint p = c->mapFromGlobal(me->globalPosition().toPoint());
            if (w == c)
                break;
            QMouseEvent copy(e->type(), QPointF(p), me->globalPosition(), me->button(), me->buttons(), me->modifiers());
            QCoreApplication::sendEvent(c, &copy);
            return true;
        }
        if (e->type() == QEvent::MouseMove) {
            TControl* c = ControlOf(w);
            while (c && c->Hint().isEmpty())
                c = qobject_cast<TControl*>(c->parentWidget());
            QString h = c ? c->Hint() : QString();
            int bar = h.indexOf('|');
            SetHint(bar < 0 ? h : h.mid(bar + 1));
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The control of the widget, within its own window (a dialog's
        // widgets do not belong to the form it was opened over).
        auto* w = qobject_cast<QWidget*>(o);
        TControl* c = w ? ControlOf(w) : nullptr;
        if (c && c->window() == w->window()) {
            if (e->type() == QEvent::FocusIn)
                focusEntered(c);
            else
                focusLeft(c, static_cast<QFocusEvent*>(e)->reason());
        }
        break;
    }
    case QEvent::Show:
    case QEvent::WindowTitleChange: {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w->isWindow() && w->windowTitle().isEmpty())
            KeepTitleEmpty(w);
        break;
    }
    default:
        break;
    }
    return false;
}

void TApplication::focusEntered(TControl* c)
{
    if (c->m_entered || c->m_destroying)
        return;
    c->m_entered = true;
    Guarded([c] { c->DoEnter(); });
}

void TApplication::focusLeft(TControl* c, Qt::FocusReason reason)
{
    if (!c->m_entered || c->m_destroying)
        return;
    // An exit is a move of the focus to another control of the same form.
    // Another window taking the activation (a message box, a dialog,
    // another program) leaves the control entered.
    QWidget* next = QApplication::focusWidget();
    if (!next || next->window() != c->window() || ControlOf(next) == c)
        return;
    c->m_entered = false;
    try {
        c->DoExit();
    } catch (const std::exception&) {
        // The entry was refused: the focus goes back to the field, and the
        // error is shown once the move of the focus is over.  A click that
        // moved the focus does nothing more.
        c->m_entered = true;
        NoteRefusedExit();
        if (reason == Qt::MouseFocusReason)
            g_swallowPress = true;
        c->SetFocus();
        QTimer::singleShot(0, this, [this, error = std::current_exception()] {
            g_swallowPress = false;
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& ex) {
                HandleException(ex);
            }
        });
    }
}

// ---------------------------------------------------------------- LabApplication

LabApplication::LabApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setQuitOnLastWindowClosed(false);
    if (!Screen)
        Screen = new TScreen;
    if (!Application)
        Application = new TApplication;
}

LabApplication::~LabApplication()
{
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
}

bool LabApplication::notify(QObject* receiver, QEvent* e)
{
    bool r = true;
    ++g_notifyDepth;
    try {
        r = QApplication::notify(receiver, e);
    } catch (const std::exception& ex) {
        if (Application)
            Application->HandleException(ex);
    }
    --g_notifyDepth;
    // The modal loop looks at the result after each event it handles
    // itself, not once per pass: a refused OK must not be overtaken by a
    // cancel that came in behind it.
    if (!g_modal.empty() && g_notifyDepth == g_modal.back()->m_loopDepth)
        g_modal.back()->CheckModalResult();
    return r;
}

bool LoadQtTranslation()
{
    auto* t = new QTranslator(qApp);
    if (!t->load(QLocale(QLocale::Russian, QLocale::Russia), "qtbase", "_",
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    return true;
}

// ---------------------------------------------------------------- screen and system

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
