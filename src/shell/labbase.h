#pragma once
// The frame every laboratory window shares: full screen, a tool strip with
// the help pointer, close and calculator buttons, a status bar with the long
// hint of whatever is under the mouse, a 50 ms model tick while the window
// is active, and the help-pointer mode.

#include "components/kitnonvs.h"
#include "platform/forms.h"
#include "platform/stdctrls.h"
#include "platform/timer.h"

class TLabBaseForm : public TForm {
    Q_OBJECT
public:
    explicit TLabBaseForm(QObject* owner);
    ~TLabBaseForm() override;

    TPanel* panControls;
    TPanel* panControlsRight;
    TSpeedButton* bHelpPointer;
    TBitBtn* bClose;
    TBitBtn* bCalculator;
    TStatusBar* StatusBar;
    TTimer* Timer;
    TKitStarter* StartCalc;

    bool HelpMode() const { return m_helpMode; }
    void SetHelpMode(bool v);

    // Hints and help for parts of the picture that are not controls.  P is
    // in screen coordinates; Mode false builds a status-bar hint in Text,
    // true asks for a help context in HelpContext.
    virtual void GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text);

    // The model tick of the 50 ms timer while the window is active, after
    // the hint has been refreshed; the window itself has nothing to do then.
    virtual void TimerTimer(TObject*) {}
    // The status bar's hint for what lies under the mouse, at most every
    // half second and only after the cursor has moved.  The timer runs it on
    // every tick, and the application whenever its hint changes, whatever a
    // descendant makes of its own tick.
    void RefreshHint();

    void bHelpPointerClick(TObject* Sender);
    virtual void bCalculatorClick(TObject* Sender);
    void StartCalcError(TObject* Sender);
    bool FormHelp(unsigned Command, long long Data, bool& CallHelp);

    // Forgets the hint state shared by all laboratory windows (the time of
    // the last refresh and the last cursor point).
    static void ResetHintState();

protected:
    void DoShow() override;
    void DoHide() override;
    void Activate() override;
    void Deactivate() override;
    void WMSize(int sizeType) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void helpPointerClick(int x, int y);
    bool m_helpMode = false;
    // The status bar showed its panel (the circuit's values) before the
    // help-pointer prompt took it over.
    bool m_panelBeforeHelp = false;
    TNotifyEvent m_savedHint;
    bool m_hintInstalled = false;
    double m_remaximized = -1e9;
};

// The long form of a hint: the part after '|', or all of it.
QString GetLongHint(const QString& hint);
QString GetShortHint(const QString& hint);
