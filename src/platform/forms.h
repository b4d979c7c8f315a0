#pragma once
// Top-level forms and our own modal loop; with them the application object
// and the desktop's services, which every form uses.  A modal form blocks
// input to the other top-level windows (help windows excepted) without
// changing their look, stays in front of the window it was opened over, and
// runs a local loop until ModalResult is set or the form is closed; hiding
// the form in between does not end it, and they nest.

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/desktop.h"

#include <QPointer>
#include <vector>

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition { poDesigned, poDefault, poScreenCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

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

// Keeps a window of reference (a help window) in front of the form the
// student works in while that form fills the screen and can be neither
// moved nor lowered (a laboratory form), as a tool window stays in front of
// its main window, and in front of the next such form shown instead.
// Beside a form the student can move and lower (the start form) it is an
// ordinary window, which a click on the form goes in front of.  Other
// programs' windows may cover it either way.  Asked once, the window goes
// with the forms shown and hidden for as long as it lives.  Qt takes back
// the owner named for a window each time it shows the window, so the
// caller asks again after every show of it, which puts it with the form
// worked in at once.
void KeepInFrontOfForms(QWidget* window);

// The form the student works in when a window of reference opens beside it
// rather than over it: one that does not fill the screen.  None while a
// laboratory form is worked in, or while no form of ours shows.
QWidget* FormToOpenBeside();
