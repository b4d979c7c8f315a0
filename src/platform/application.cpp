#include "platform/application.h"

#include "platform/forms.h"
#include "platform/help.h"
#include "platform/modalstate.h"
#include "platform/windowmanager.h"

#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

using modal::g_modal;
using modal::g_notifyDepth;

TApplication* Application = nullptr;

namespace {
// A press that moved the focus out of a field whose entry was refused: the
// press itself must not act on the control it was meant for.
bool g_swallowPress = false;
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

namespace {
// Qt blocks the windows a modal form was opened over; any other window of
// ours lies under it just as well. A press there brings the modal form to
// the front. True when the event is taken away.
bool blockedByModal(QObject* o, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || g_modal.empty())
        return false;
    auto* f = qobject_cast<TForm*>(w->window());
    if (!f || !f->IsBlockedByModal())
        return false;
    if (e->type() == QEvent::MouseButtonPress) {
        g_modal.back()->raise();
        g_modal.back()->activateWindow();
    }
    return true;
}

// The keyboard goes to the modal form, not to a window it blocks that the
// window manager activated on a click.
void activateModalInstead(QObject* o)
{
    auto* f = qobject_cast<TForm*>(o);
    if (!f || !f->IsBlockedByModal())
        return;
    QTimer::singleShot(0, g_modal.back(), [m = QPointer<TForm>(g_modal.back())] {
        if (m && m->isVisible() && !m->isActiveWindow())
            m->activateWindow();
    });
}

// Once per key: when it reaches the focused control of a form that previews
// keys. True when the form took the key.
bool previewKey(QObject* o, QKeyEvent* e)
{
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || w != QApplication::focusWidget())
        return false;
    TControl* c = ControlOf(w);
    TForm* f = c ? (qobject_cast<TForm*>(c) ? nullptr : c->ParentForm()) : nullptr;
    return f && f->KeyPreview && f->PreviewKey(w, e);
}

// The press that a refused entry swallows, the mouse capture, and the hint
// under the mouse. True when the event is taken away.
bool routeMouse(TApplication* app, QObject* o, QMouseEvent* me)
{
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return false;
    if (me->type() == QEvent::MouseButtonPress && g_swallowPress) {
        g_swallowPress = false;
        return true;
    }
    if (TControl* c = GetCapture()) {
        // Everything goes to the control holding the capture.
        if (w == c)
            return false;
        QPoint p = c->mapFromGlobal(me->globalPosition().toPoint());
        QMouseEvent copy(me->type(), QPointF(p), me->globalPosition(), me->button(), me->buttons(), me->modifiers());
        QCoreApplication::sendEvent(c, &copy);
        return true;
    }
    if (me->type() == QEvent::MouseMove) {
        TControl* c = ControlOf(w);
        while (c && c->Hint().isEmpty())
            c = qobject_cast<TControl*>(c->parentWidget());
        QString h = c ? c->Hint() : QString();
        int bar = h.indexOf('|');
        app->SetHint(bar < 0 ? h : h.mid(bar + 1));
    }
    return false;
}

// The control of a widget that has the focus come or go, within its own
// window (a dialog's widgets do not belong to the form it was opened over).
TControl* focusedControl(QObject* o)
{
    auto* w = qobject_cast<QWidget*>(o);
    TControl* c = w ? ControlOf(w) : nullptr;
    return c && c->window() == w->window() ? c : nullptr;
}
} // namespace

bool TApplication::eventFilter(QObject* o, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return blockedByModal(o, e) || routeMouse(this, o, static_cast<QMouseEvent*>(e));
    case QEvent::MouseMove:
        return routeMouse(this, o, static_cast<QMouseEvent*>(e));
    case QEvent::KeyPress:
        return blockedByModal(o, e) || previewKey(o, static_cast<QKeyEvent*>(e));
    case QEvent::Wheel:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
        return blockedByModal(o, e);
    case QEvent::WindowActivate:
        activateModalInstead(o);
        break;
    case QEvent::FocusIn:
        if (TControl* c = focusedControl(o))
            focusEntered(c);
        break;
    case QEvent::FocusOut:
        if (TControl* c = focusedControl(o))
            focusLeft(c, static_cast<QFocusEvent*>(e)->reason());
        break;
    case QEvent::Show:
    case QEvent::WindowTitleChange:
        if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow() && w->windowTitle().isEmpty())
            WindowManager::KeepTitleEmpty(w);
        break;
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
