#include "shell/labbase.h"

#include "platform/clock.h"
#include "platform/help.h"
#include "shell/resources.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {
double g_hintClock = 0;
TPoint g_lastCursor(0, 0);
} // namespace

QString GetLongHint(const QString& hint)
{
    int bar = hint.indexOf('|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString GetShortHint(const QString& hint)
{
    int bar = hint.indexOf('|');
    return bar < 0 ? hint : hint.left(bar);
}

void TLabBaseForm::ResetHintState()
{
    g_hintClock = 0;
    g_lastCursor = TPoint(0, 0);
}

TLabBaseForm::TLabBaseForm(QObject* owner) : TForm(owner)
{
    InitShellResources();
    SetCaption("LabBaseForm");
    SetHelpContext(10001);
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu);
    SetColor(clBtnFace);
    SetFont(TFont("MS Sans Serif", 11));

    panControls = new TPanel(this);
    panControls->SetName("panControls");
    panControls->SetHeight(28);
    panControls->SetAlign(alTop);
    panControls->SetCaption(" ");
    panControls->SetHelpContext(10002);

    panControlsRight = new TPanel(panControls);
    panControlsRight->SetName("panControlsRight");
    panControlsRight->SetWidth(199);
    panControlsRight->SetAlign(alRight);
    panControlsRight->SetBevelOuter(TBevelCut::bvNone);
    panControlsRight->SetCaption(" ");

    bHelpPointer = new TSpeedButton(panControlsRight);
    bHelpPointer->SetName("bHelpPointer");
    bHelpPointer->SetBounds(168, 0, 23, 24);
    bHelpPointer->SetHint("Справка по элементам окна");
    bHelpPointer->SetShowHint(true);
    bHelpPointer->SetGroupIndex(65534);
    bHelpPointer->AllowAllUp = true;
    bHelpPointer->SetGlyphName("HELPPOINTER");
    bHelpPointer->OnClick = [this](TObject* s) { bHelpPointerClick(s); };

    bClose = new TBitBtn(panControlsRight, TBitBtnKind::bkCancel);
    bClose->SetName("bClose");
    bClose->SetBounds(88, 0, 75, 25);
    bClose->SetCaption("Закрыть");
    bClose->SetHint("Закрыть текущее окно");
    bClose->SetShowHint(true);
    bClose->SetHelpContext(10004);

    bCalculator = new TBitBtn(panControlsRight);
    bCalculator->SetName("bCalculator");
    bCalculator->SetBounds(8, 0, 75, 25);
    bCalculator->SetCaption("Кальк.");
    bCalculator->SetHint("Запустить программу \"Калькулятор\" Windows");
    bCalculator->SetShowHint(true);
    bCalculator->SetHelpContext(10006);
    bCalculator->SetGlyphName("CALCULATOR");
    bCalculator->OnClick = [this](TObject* s) { bCalculatorClick(s); };

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetHelpContext(10003);

    Timer = new TTimer(this);
    Timer->SetInterval(50);
    // The screens draw from the time of day on every tick; ticks that wander
    // by a few milliseconds keep a signal whose period divides the interval
    // from being caught at the same phase on every frame.
    Timer->SetWander(4);
    Timer->SetEnabled(false);
    Timer->OnTimer = [this](TObject* s) {
        RefreshHint();
        TimerTimer(s);
    };

    StartCalc = new TKitStarter(this);
    StartCalc->SetName("StartCalc");
    StartCalc->SetCommand("Calc.exe");
    StartCalc->SetWait(true);
    StartCalc->OnError = [this](TObject* s) { StartCalcError(s); };

    OnHelp = [this](unsigned cmd, long long data, bool& callHelp) { return FormHelp(cmd, data, callHelp); };
    SetWindowState(TWindowState::wsMaximized);
}

TLabBaseForm::~TLabBaseForm()
{
    if (m_hintInstalled && Application)
        Application->OnHint = m_savedHint;
    if (GetCapture() == this)
        ReleaseCapture();
}

void TLabBaseForm::GetHintInfo(const TPoint&, bool, TControl*, int&, QString&) {}

void TLabBaseForm::RefreshHint()
{
    double now = Clock::TimeOfDay();
    if (!(now <= g_hintClock || now - g_hintClock >= 0.5))
        return;
    g_hintClock = now;
    TPoint p = GetCursorPos();
    if (p == g_lastCursor || m_helpMode)
        return;
    g_lastCursor = p;

    TWinControl* w = FindWindowedControl(p);
    if (!w) {
        StatusBar->SetSimpleText("");
        return;
    }
    TControl* c = w->ControlAtPos(w->ScreenToClient(p), true);
    if (!c)
        c = w;
    while (c->Hint().isEmpty() && c->Parent())
        c = c->Parent();
    QString text = c->Hint();
    int unused = 0;
    GetHintInfo(p, false, c, unused, text);
    QString shown = GetLongHint(text);
    if (shown != StatusBar->SimpleText()) {
        StatusBar->SetSimpleText(shown);
        StatusBar->Repaint();
    }
}

void TLabBaseForm::SetHelpMode(bool v)
{
    if (m_helpMode) {
        Screen->SetCursor(crDefault);
        bHelpPointer->SetDown(false);
        StatusBar->SetSimpleText("");
        if (m_panelBeforeHelp)
            StatusBar->SetSimplePanel(false);
        m_panelBeforeHelp = false;
        ReleaseCapture();
    }
    m_helpMode = v;
    if (v) {
        Screen->SetCursor(crHelp);
        bHelpPointer->SetDown(true);
        // A bar that shows its panel shows the prompt instead while the mode lasts.
        m_panelBeforeHelp = !StatusBar->SimplePanel();
        StatusBar->SetSimplePanel(true);
        StatusBar->SetSimpleText("Подведите курсор мыши к нужному объекту и нажмите кнопку.");
        SetCapture(this);
    }
}

void TLabBaseForm::bHelpPointerClick(TObject*)
{
    SetHelpMode(!m_helpMode);
}

void TLabBaseForm::bCalculatorClick(TObject*)
{
    HideForm();
    // The window system sees the form go before the wait blocks us.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    struct ShowAgain {
        TLabBaseForm* form;
        ~ShowAgain() { form->ShowForm(); }
    } showAgain{this};
    StartCalc->Execute();
}

void TLabBaseForm::StartCalcError(TObject*)
{
    Application->MessageBox("Не удалось запустить калькулятор Windows. Возможно, калькулятор не был установлен.", "",
                            MB_OK);
}

bool TLabBaseForm::FormHelp(unsigned Command, long long Data, bool& CallHelp)
{
    if (Command == HELP_WM_HELP) {
        CallHelp = false;
    } else if (Command == HELP_CONTEXTPOPUP) {
        Application->HelpCommand(HELP_CONTEXT, Data);
        CallHelp = false;
    }
    return true;
}

void TLabBaseForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!m_helpMode) {
        TForm::MouseDown(button, shift, x, y);
        return;
    }
    helpPointerClick(x, y);
}

void TLabBaseForm::helpPointerClick(int x, int y)
{
    SetHelpMode(false);
    TPoint P = ClientToScreen(TPoint(x, y));
    int ctx = HelpContext();
    TWinControl* container = this;
    TControl* found = this;
    for (;;) {
        TControl* hit = nullptr;
        TPoint pc = container->ScreenToClient(P);
        for (int i = container->ControlCount() - 1; i >= 0; --i) {
            TControl* c = container->Controls(i);
            // A hidden control must not answer for what lies behind it.
            if (c->isHidden() || c->isWindow())
                continue;
            if (PtInRect(c->BoundsRect(), pc) && c->HitTest(c->ScreenToClient(P)) != 0) {
                hit = c;
                break;
            }
        }
        if (!hit)
            break;
        found = hit;
        if (!found->IsWindowed())
            break;
        container = static_cast<TWinControl*>(found);
        if (container->HelpContext() != 0)
            ctx = container->HelpContext();
    }
    if (found == bHelpPointer)
        return;
    QString text;
    GetHintInfo(P, true, found, ctx, text);
    if (ctx != 0) {
        QString target = Application->HelpFile + ">" + (ctx > 1000 ? "LabPtr" : "main");
        Help::Show(Application->MainForm(), target, HELP_CONTEXT, ctx);
    }
}

void TLabBaseForm::DoShow()
{
    // The window's own show (the exercise's reset) starts a run; when the
    // same run's window comes back after the calculator or the teacher's
    // table, the student's settings stay as they were.
    if (!ShownAgainInRun())
        TForm::DoShow();
    m_helpMode = false;
    bHelpPointer->SetDown(false);
    if (!m_hintInstalled) {
        m_savedHint = Application->OnHint;
        m_hintInstalled = true;
    }
    Application->OnHint = [this](TObject*) { RefreshHint(); };
    g_hintClock = 0;
    // The window is maximised: the window manager fits it, frame and all,
    // into the work area, which a window of fixed size would run past.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void TLabBaseForm::DoHide()
{
    if (m_hintInstalled) {
        Application->OnHint = m_savedHint;
        m_savedHint = nullptr;
        m_hintInstalled = false;
    }
    if (m_helpMode)
        SetHelpMode(false);
    TForm::DoHide();
}

void TLabBaseForm::Activate()
{
    TForm::Activate();
    // The control with the focus shows it from the start, not only once a
    // key has moved the focus: it takes the next key (Enter, Space) too.
    setAttribute(Qt::WA_KeyboardFocusChange);
    Timer->SetEnabled(true);
}

void TLabBaseForm::Deactivate()
{
    Timer->SetEnabled(false);
    StatusBar->SetSimpleText("");
    TForm::Deactivate();
}

void TLabBaseForm::WMSize(int sizeType)
{
    TForm::WMSize(sizeType);
    if (sizeType == 0 && isVisible()) {
        // The window stays maximised: a restore from outside only beeps.
        // Some window systems pass through "normal" once more while they
        // maximise it again; that echo is not another restore.
        double now = Clock::Monotonic();
        bool echo = now - m_remaximized < 0.25;
        if (!echo)
            MessageBeep(0xFFFFFFFF);
        QTimer::singleShot(0, this, [this, echo] {
            if (isVisible()) {
                if (!echo)
                    m_remaximized = Clock::Monotonic();
                SetWindowState(TWindowState::wsMaximized);
            }
        });
    } else if (sizeType == 1) {
        // Minimising is refused.
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                SetWindowState(TWindowState::wsMaximized);
        });
    }
}
