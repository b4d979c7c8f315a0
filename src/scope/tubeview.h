#pragma once
// The laboratory window with the cut-away cathode-ray tube: in manual mode
// two track bars set the plate voltages; in instrument mode the front
// panel's deflections drive the plates, slowed down by a time scale.

#include "scope/osctube.h"

#include "controls/mekwing.h"
#include "shell/labbase.h"

#include <memory>

class TTubeViewForm;

class TTubeViewControl : public TMekWinGControl {
    Q_OBJECT
public:
    TTubeViewControl(QWidget* parent, TTubeViewForm* form);
    TTubeViewForm* Form;

protected:
    void PaintBuffer(TCanvas& Canvas) override;
};

class TTubeViewForm : public TLabBaseForm {
    Q_OBJECT
public:
    explicit TTubeViewForm(QObject* owner);
    ~TTubeViewForm() override;

    std::unique_ptr<TVorlinoTube> Tube;
    TTubeDeflection DataSource;
    TTubeViewControl* View = nullptr;
    double TimeScale = 1.0;

    TButton* bSpeed;
    TPanel* panManual;
    TLabel* Label1;
    TTrackBar* kHorz;
    TTrackBar* kVert;

    void SetDataSource(TTubeDeflection Source);
    void GetDeflection(double& X, double& Y, double T, bool& Visible);
    void GetHintInfo(const TPoint& P, bool Mode, TControl* Control, int& HelpContext, QString& Text) override;
    void TimerTimer(TObject* Sender) override;
    void bSpeedClick(TObject* Sender);
    void FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
    void FormResize(TObject* Sender);
    void FormShow(TObject* Sender);

    // Asks for the emission interval (the answer in Value); false when
    // cancelled. Tests answer in place of the dialog.
    static std::function<bool(QString& Value)> InputQueryHook;
};

// The names of the tube's parts by region, empty for none.
QString TubePartName(int Region);

// Work 1's first button: the tube view in manual mode at time scale 1,
// created on first use (owner the application) and shown modally.
int ShowTubeViewManual(TTubeViewForm*& Form);
