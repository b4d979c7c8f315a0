#pragma once
// The Wheatstone-bridge exercise: the bench with the bridge circuit, the
// galvanometer current from the bridge formula on every change, the
// variant's Rx, the training entry of Rx and the teacher's table.

#include "shell/labbase.h"

#include <memory>

class TElectricStand;
class TElDCSource1;
class TElGalvanometer;
class TElSampleResistor;
class TElResistor4Pos;
class TElResistorBattery6;
class TElWire;

class TResBridgeForm : public TLabBaseForm {
    Q_OBJECT
public:
    explicit TResBridgeForm(QObject* owner);
    ~TResBridgeForm() override;

    TButton* bShowVars;
    TBitBtn* bPurpose;
    TBitBtn* bInstruct;
    TPanel* panSecret;
    TLabel* Label1;
    TEdit* edRx;
    TSpeedButton* bEdRxOK;
    TSpeedButton* bEdRxCancel;

    TElectricStand* Stand() const { return m_stand; }
    TElDCSource1* Source() const { return m_source; }
    TElGalvanometer* Galvanometer() const { return m_galvanometer; }
    TElSampleResistor* Rx() const { return m_rx; }
    TElResistor4Pos* R1() const { return m_r1; }
    TElResistor4Pos* R2() const { return m_r2; }
    TElResistorBattery6* R0() const { return m_r0; }
    const std::vector<TElWire*>& Wires() const { return m_wires; }

    void SetVariant(int n);
    void Recalculate(TObject* Sender = nullptr);

    void FormShow(TObject* Sender);
    void TimerTimer(TObject* Sender) override;
    void GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text) override;
    void bPurposeClick(TObject* Sender);
    void bInstructClick(TObject* Sender);
    void bShowVarsClick(TObject* Sender);
    void edRxChange(TObject* Sender);
    void bEdRxOKClick(TObject* Sender);
    void bEdRxCancelClick(TObject* Sender);
    void edRxKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void edRxExit(TObject* Sender);

    // The teacher's table as a window of its own (shown modally by
    // bShowVarsClick); the caller owns it.
    static std::unique_ptr<TForm> CreateVariantsForm();

private:
    void BuildBench();
    void BuildWires();

    TElectricStand* m_stand = nullptr;
    TElDCSource1* m_source = nullptr;
    TElGalvanometer* m_galvanometer = nullptr;
    TElSampleResistor* m_rx = nullptr;
    TElResistor4Pos* m_r1 = nullptr;
    TElResistor4Pos* m_r2 = nullptr;
    TElResistorBattery6* m_r0 = nullptr;
    std::vector<TElWire*> m_wires;
};
