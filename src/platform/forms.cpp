#include "platform/forms.h"

#include "platform/modalstate.h"
#include "platform/windowmanager.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

using modal::g_modal;
using modal::g_notifyDepth;

namespace {
// A window kept in front of the form the student works in, and the form it
// has been put with as far as the window manager knows.
struct Companion {
    QPointer<QWidget> window;
    QPointer<QWidget> form;
};
std::vector<Companion>& companions()
{
    static std::vector<Companion> c;
    return c;
}
bool g_followPending = false;

QWidget* topLevelOf(const QWindow* handle)
{
    if (handle)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowHandle() == handle)
                return w;
    return nullptr;
}

// The outermost modal form that shows, or the window it was opened over
// while that shows too (the start form under its variant dialog), so that a
// dialog over the form stays a sibling the student can bring in front; with
// no modal form, the main form, else the active form.  None while no form
// of ours shows (the calculator is up).
QWidget* formWorkedIn()
{
    for (TForm* f : g_modal)
        if (f->isVisible()) {
            QWidget* over = f->windowHandle() ? topLevelOf(f->windowHandle()->transientParent()) : nullptr;
            return over && over->isVisible() ? over : f;
        }
    if (QWidget* m = Application ? Application->MainForm() : nullptr; m && m->isVisible())
        return m;
    QWidget* a = QApplication::activeWindow();
    return qobject_cast<TForm*>(a) && !UsableOverModal(a) ? a : nullptr;
}

// A form that fills the screen can be neither moved nor lowered: a window
// under it could not be reached.  One the student can move and lower (the
// start form) is no reason to keep anything in front of it.
bool fillsTheScreen(const QWidget* form)
{
    const QScreen* s = form ? form->screen() : nullptr;
    return s && form->frameGeometry().width() >= s->availableGeometry().width() &&
           form->frameGeometry().height() >= s->availableGeometry().height();
}

// Puts a companion with the form now worked in: in front of it while it
// fills the screen (brought in front of one that has just come, not left
// under it), else an ordinary window.
void putWith(Companion& c, QWidget* form)
{
    const bool inFront = fillsTheScreen(form);
    WindowManager::SetTransientFor(c.window, inFront ? form : nullptr);
    c.form = form;
    if (inFront)
        c.window->raise();
}

// Once forms have been shown or hidden, each companion goes with the form
// now worked in.  Deferred, because a form is mapped only after its show
// event, and a form hidden for another one shown at once makes one change.
void followFormWorkedIn()
{
    g_followPending = false;
    QWidget* form = formWorkedIn();
    std::erase_if(companions(), [](const Companion& c) { return !c.window; });
    for (Companion& c : companions())
        if (c.window->isVisible() && c.form != form)
            putWith(c, form);
}

void scheduleFollow()
{
    if (!g_followPending && qApp) {
        g_followPending = true;
        QTimer::singleShot(0, qApp, followFormWorkedIn);
    }
}

// The window manager lets go of a window's owner when the owner goes from
// the screen: shown again, it is named once more.
void formLeft(const QWidget* form)
{
    for (Companion& c : companions())
        if (c.form == form)
            c.form = nullptr;
    scheduleFollow();
}
} // namespace

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
    formLeft(this);
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
    const QMargins frame = WindowManager::FrameMarginsOf(this);
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
} // namespace

void SetUsableOverModal(QWidget* window)
{
    window->setProperty("usableOverModal", true);
}

void KeepInFrontOfForms(QWidget* window)
{
    SetUsableOverModal(window);
    auto& all = companions();
    auto it = std::find_if(all.begin(), all.end(), [window](const Companion& c) { return c.window == window; });
    if (it == all.end())
        it = all.insert(all.end(), Companion{window, nullptr});
    putWith(*it, formWorkedIn());
}

QWidget* FormToOpenBeside()
{
    QWidget* form = formWorkedIn();
    return fillsTheScreen(form) ? nullptr : form;
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
    WindowManager::SetTransientFor(this, owner);
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
        WindowManager::SetTransientFor(this, nullptr);
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
    scheduleFollow();
    Guarded([&] { DoShow(); });
}

void TForm::hideEvent(QHideEvent* e)
{
    if (!e->spontaneous())
        m_focusWhenHidden = focusWidget();
    if (isWindow())
        formLeft(this);
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
