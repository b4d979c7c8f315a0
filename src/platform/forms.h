#pragma once
// Top-level forms, our own modal loop, the application object and the
// screen.  A modal form blocks input to the other top-level windows (help
// windows excepted) without changing their look, stays in front of the
// window it was opened over, and runs a local loop until ModalResult is set
// or the form is closed; hiding the form in between does not end it, and
// they nest.

#include "platform/controls.h"

#include <QApplication>
#include <QPointer>
#include <vector>

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition { poDesigned, poDefault, poScreenCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// Help commands of the help engine.
enum : unsigned { HELP_CONTEXT = 1, HELP_QUIT = 2, HELP_CONTENTS = 3, HELP_CONTEXTPOPUP = 8, HELP_WM_HELP = 12 };

using THelpEvent = std::function<bool(unsigned command, long long data, bool& callHelp)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& canClose)>;

class TForm : public TWinControl {
    Q_OBJECT
public:
    explicit TForm(QObject* owner = nullptr);
    ~TForm() override;

    void SetCaption(const QString& c);
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle s);
    unsigned BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(unsigned icons);
    TPosition Position = TPosition::poDesigned;
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    void SetClientSize(int w, int h);
    void SetBounds(int left, int top, int width, int height) override;
    // With KeyPreview the form's KeyDown (and OnKeyDown) sees every key
    // pressed in one of its controls before the control does.
    bool KeyPreview = false;
    // Returns true when the form has dealt with the key: it set the key to 0
    // or moved the focus, so the control must not act on it as well.
    bool PreviewKey(QWidget* target, QKeyEvent* e);

    int ShowModal();
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int r) { m_modalResult = r; }
    bool IsModal() const { return m_modalDepth > 0; }
    // The form is being shown again within the modal run it is already in
    // (the calculator or the teacher's table hid it), not opened afresh.
    bool ShownAgainInRun() const { return m_shownAgainInRun; }
    // A modal form is up that this window lies under: it takes no input.
    bool IsBlockedByModal() const;
    void Close();
    void ShowForm();   // show (modeless) and activate
    void HideForm();
    bool Active() const { return isActiveWindow(); }
    TControl* ActiveControl() const;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    THelpEvent OnHelp;

    // The default and cancel buttons pressed by Enter and Escape.
    void SetDefaultButton(TControl* b) { m_default = b; }
    void SetCancelButton(TControl* b) { m_cancel = b; }

    // The controls in Tab order; the first that can take the focus has it
    // when the form is first shown and whenever a modal run of it begins.
    // When none can, the form keeps the focus itself.
    void SetTabOrderList(std::vector<QPointer<QWidget>> order) { m_tabOrder = std::move(order); }
    const std::vector<QPointer<QWidget>>& TabOrderList() const { return m_tabOrder; }

    // Runs OnCreate once; forms built in code call it at the end of their
    // constructor.
    void DoCreate();

    // The help request of the form (F1 or help buttons): OnHelp decides
    // whether the application's help is called.
    bool HelpRequest(unsigned command, long long data);

protected:
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    // Size changes of the window: 0 restored, 1 minimised, 2 maximised.
    virtual void WMSize(int sizeType) { (void)sizeType; }
    virtual bool CloseQuery();

    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    // A window that a modal form blocks takes no close.
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class LabApplication;
    // Ends the modal loop when ModalResult is set and the form agrees to close.
    void CheckModalResult();
    // CloseQuery, then OnClose: whether the form goes.
    bool AgreesToClose();
    void applyFlags();
    // Puts the window, frame included, in the middle of the work area.
    void centreOnScreen();
    void centreOnceFramed(int tries);
    TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSizeable;
    unsigned m_borderIcons = biSystemMenu | biMinimize | biMaximize;
    int m_modalResult = mrNone;
    int m_modalDepth = 0;
    bool m_modalEnded = false;
    bool m_checkingResult = false;
    // Depth of event delivery at which the modal loop hands out its events.
    int m_loopDepth = 0;
    bool m_created = false;
    bool m_closing = false;
    bool m_wasActive = false;
    // A centred window whose frame the window manager has yet to report.
    bool m_centreWithFrame = false;
    TWindowState m_lastState = TWindowState::wsNormal;
    std::vector<QPointer<QWidget>> m_tabOrder;
    bool m_shownBefore = false;
    bool m_shownInRun = false;
    bool m_shownAgainInRun = false;
    QPointer<QWidget> m_focusWhenHidden;
    QPointer<TControl> m_default;
    QPointer<TControl> m_cancel;
};

// Marks a window that stays usable over a modal form (a help window, the
// application's message box): no modal form blocks it or is opened over it.
void SetUsableOverModal(QWidget* window);
bool UsableOverModal(const QWidget* window);

// Message box of the application: returns the button pressed (mrOk...).
enum : unsigned { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNO = 4, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40 };

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& e)>;

class TApplication : public QObject {
    Q_OBJECT
public:
    TApplication();
    ~TApplication() override;

    QString Title() const { return m_title; }
    void SetTitle(const QString& t);
    QString HelpFile;

    // The hint under the mouse ("short|long"); OnHint fires when it changes.
    QString Hint() const { return m_hint; }
    void SetHint(const QString& h);
    TNotifyEvent OnHint;
    // Replaces the default handler that shows the message in a box.
    TExceptionEvent OnException;
    void HandleException(const std::exception& e);
    void ShowException(const std::exception& e);

    // Help by context number in the help file's window "main".
    bool HelpContext(int context);
    bool HelpCommand(unsigned command, long long data);

    int MessageBox(const QString& text, const QString& caption, unsigned flags);
    // Stands in for the message box when set (tests answer it).
    std::function<int(const QString& text, const QString& caption, unsigned flags)> MessageBoxHook;

    TForm* MainForm() const { return m_mainForm; }
    // Forms owned by the application are freed when it ends; the first one
    // becomes the main form, whose closing ends the program.
    void AddForm(TForm* f);
    void RemoveForm(TForm* f);
    template <class F, class... A>
    F* CreateForm(F*& ref, A&&... args)
    {
        ref = new F(this, std::forward<A>(args)...);
        return ref;
    }
    void Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    void FreeForms();
    const std::vector<TForm*>& Forms() const { return m_forms; }

    // Arguments after the program name.
    QStringList Arguments() const;
    void SetArguments(const QStringList& args) { m_args = args; m_argsSet = true; }

private:
    bool eventFilter(QObject* o, QEvent* e) override;
    void focusEntered(TControl* c);
    void focusLeft(TControl* c, Qt::FocusReason reason);
    QString m_title;
    QString m_hint;
    TForm* m_mainForm = nullptr;
    std::vector<TForm*> m_forms;
    bool m_terminated = false;
    QStringList m_args;
    bool m_argsSet = false;
};

extern TApplication* Application;

// The QApplication of our programs: exceptions thrown by handlers end in
// the application's exception handler instead of crossing Qt's loop.
class LabApplication : public QApplication {
public:
    LabApplication(int& argc, char** argv);
    ~LabApplication() override;
    bool notify(QObject* receiver, QEvent* e) override;
};

// The texts Qt itself supplies (an entry field's menu, a dialog's buttons)
// in Russian, as on a Russian desktop; without the translation they stay
// as they were.  Returns whether it was found.
bool LoadQtTranslation();

// Runs f; an exception goes to the application's handler.
void Guarded(const std::function<void()>& f);

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
