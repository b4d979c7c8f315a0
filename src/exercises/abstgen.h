#pragma once
// The laboratory signal generator: a sine, square or sawtooth voltage of
// a given frequency, amplitude and phase as a function of model time.  The
// entry panel can be hidden so that a student sees only the waveform choice.

#include "exercises/signalvariants.h"
#include "models/generator.h"

#include "platform/forms.h"
#include "platform/groupctrls.h"
#include "platform/stdctrls.h"

class TAbstGenForm : public TForm {
    Q_OBJECT
public:
    explicit TAbstGenForm(QObject* owner);

    TPanel* Panel1;
    TLabel* Label1;
    TRadioGroup* lbType;
    TPanel* panSecret;
    TLabel* Label2;
    TEdit* edF;
    TLabel* Label3;
    TEdit* edA;
    TSpeedButton* bOK;
    TSpeedButton* bCancel;
    TLabel* Label4;
    TTrackBar* sbP;

    double Frequency = 1000.0;
    double Phase = 0.0;
    double Amplitude = 1.0;
    // After a confirmed entry or a move of the phase track bar.
    TNotifyEvent OnChange;

    void SetAmplitude(double A);
    void SetFrequency(double F);
    // Moves the track bar without firing OnChange.
    void SetPhase(double P);
    // A variant's signal: its amplitude and frequency at phase 0.
    void SetTask(const TSignalTask& Task);
    double GetValue(double T) const;
    // The generator keeps its own size whatever area it is offered.
    TPoint FitSize(TPoint Available) const;

    void FormCreate(TObject* Sender);
    void bOkClick(TObject* Sender);
    void bCancelClick(TObject* Sender);
    void EditChange(TObject* Sender);
    void edKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void sbPChange(TObject* Sender);

private:
    bool m_settingPhase = false;
};
