#pragma once
// What every oscilloscope exercise window shares: the С1-73 front panel in
// a form display on the work area, the wires drawn on the work area and
// over the panel's input sockets, the two help buttons of the work, the
// model tick that repaints the screen, and hints chained through the front
// panel and the wires.

#include "shell/labbase.h"

#include <QPointer>
#include <memory>

class TKitFormDisplay;
class TS1_73Form;
class TWireSystem;

class TScopeLabForm : public TLabBaseForm {
    Q_OBJECT
public:
    // Work: the work's number, whose purpose and procedure help contexts
    // are Work·100 + 1 and + 2.  WorkHelp: the work area's help context;
    // WiresHelp the wires'.
    TScopeLabForm(QObject* owner, const QString& Title, int Work, int WorkHelp, int WiresHelp);
    ~TScopeLabForm() override;

    TBitBtn* BitBtn2;
    TBitBtn* BitBtn3;
    TPanel* panWork;
    TPaintBox* pbWires;
    TKitFormDisplay* dispOsc;

    std::unique_ptr<TWireSystem> Wires;
    // Owned by the application, which may free it first when it ends.
    QPointer<TS1_73Form> Scope;

    // The signal at the front panel's Y input (volts at model time T).
    virtual double GetYSignal(double T) = 0;
    // Places the instruments and routes the wires for the work area's size.
    virtual void ArrangeInstruments() = 0;

    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    void TimerTimer(TObject* Sender) override;
    void pbWiresPaint(TObject* Sender);
    void DrawWires(QWidget* PaintBox, TCanvas& Canvas);
    void GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text) override;
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);

protected:
    // A form display without a frame on the work area.
    TKitFormDisplay* MakeDisplay(const char* Name);
    // Step one of every layout: the front panel as large as fits the upper
    // half of the work area, 10 pixels from the top, centred.
    void PlaceFrontPanel();
    // The two wires from the Y sockets, down the left margin at x0 and
    // x0 + 4 and across to EndX at y0 (upper socket) and y1 (lower one).
    void RouteYWires(int x0, int y0, int y1, int EndX);

private:
    int m_work;
};
