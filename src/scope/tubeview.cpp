#include "scope/tubeview.h"

#include "platform/inputquery.h"
#include "platform/numtext.h"
#include "shell/start.h"

#include <QSlider>
#include <algorithm>

std::function<bool(QString& Value)> TTubeViewForm::InputQueryHook;

QString TubePartName(int Region)
{
    static const char* const names[] = {
        "",
        "Электронно-лучевая трубка",
        "Нагреватель (Н)",
        "Катод (К)",
        "Модулятор (М)",
        "Фокусирующий анод (А1)",
        "Ускоряющий анод (А2)",
        "Собирающий анод (А3)",
        "Нижняя пластина вертикального оклонения (ПВО)",
        "Верхняя пластина вертикального оклонения (ПВО)",
        "Левая пластина горизонтального оклонения (ПГО)",
        "Правая пластина горизонтального оклонения (ПГО)",
        "Экран осциллографа (вид изнутри)",
    };
    if (Region < 0 || Region > 12)
        return QString();
    return QString::fromUtf8(names[Region]);
}

namespace {

// The interval typed into the speed dialog. A longer one than the tube can
// show moving is refused as a text that is no number is.
double TypedShotSecs(const QString& Text)
{
    const double seconds = StrToFloat(Text);
    if (seconds > MaxShotSecs)
        throw EConvertError(QStringLiteral("Время между вылетами электронов не может быть больше %1 с")
                                .arg(FloatToStr(MaxShotSecs)));
    return seconds;
}

// A track bar for the voltage on one pair of plates, -20..20.
TTrackBar* MakePlateBar(TPanel* Parent, const char* Name, TTrackBarOrientation Orientation, const TRect& Place,
                        const QString& Hint, int Help)
{
    auto* bar = new TTrackBar(Parent, Orientation);
    bar->SetName(QString::fromLatin1(Name));
    bar->SetBoundsRect(Place);
    bar->SetRange(-20, 20);
    bar->SetPosition(0);
    bar->SetFrequency(5);
    bar->SetThumbLength(20);
    bar->SetHint(Hint);
    bar->SetShowHint(true);
    bar->SetHelpContext(Help);
    return bar;
}

} // namespace

TTubeViewControl::TTubeViewControl(QWidget* parent, TTubeViewForm* form)
    : TMekWinGControl(parent), Form(form)
{
}

void TTubeViewControl::PaintBuffer(TCanvas& Canvas)
{
    TVorlinoTube& tube = *Form->Tube;
    tube.Paint(Canvas);
    Canvas.Brush.Color = clWhite;
    Canvas.Brush.Style = TBrushStyle::bsSolid;
    const int h = Height();
    auto line = [&](int y, const QString& text) {
        Canvas.TextOut(10, y, text);
        // The next frame restores the background under it.
        tube.MarkDrawn(QRect(10, y, Canvas.TextWidth(text), Canvas.TextHeight(text)).adjusted(-2, -2, 2, 2));
    };
    if (ProctorMode)
        line(h - 32, QStringLiteral("Скорость:") + FloatToStrGeneral(tube.GetFrameRate(), 5) + QStringLiteral(" экр/с."));
    line(h - 16, QStringLiteral("Время:") + FloatToStrGeneral(tube.GetElapsed() * Form->TimeScale, 5) + QStringLiteral(" с."));
    if (const auto changed = tube.TakeChange())
        FrameChanged(*changed);
}

TTubeViewForm::TTubeViewForm(QObject* owner)
    : TLabBaseForm(owner)
{
    // The tube's help topics; the view also opens without a front panel.
    Q_INIT_RESOURCE(scope);
    SetName(QStringLiteral("TubeViewForm"));
    SetCaption(QStringLiteral("Электронно-лучевая трубка осциллографа"));
    SetClientSize(ClientWidth(), 452);
    KeyPreview = true;
    OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnShow = [this](TObject* s) { FormShow(s); };

    bSpeed = new TButton(panControls);
    bSpeed->SetName(QStringLiteral("bSpeed"));
    bSpeed->SetBounds(8, 0, 161, 25);
    bSpeed->SetCaption(QStringLiteral("Установить скорость"));
    bSpeed->OnClick = [this](TObject* s) { bSpeedClick(s); };

    View = new TTubeViewControl(this, this);
    View->SetName(QStringLiteral("View"));
    View->SetAlign(alClient);

    // On the view, so that the picture never paints over it.
    panManual = new TPanel(View);
    panManual->SetName(QStringLiteral("panManual"));
    panManual->SetBounds(8, 6, 185, 131);
    panManual->SetHelpContext(11002);
    panManual->SetBevelWidth(5);
    panManual->SetBorderWidth(1);
    panManual->SetBorderStyle(TBorderStyle::bsSingle);
    panManual->SetCaption(QStringLiteral(" "));

    Label1 = new TLabel(panManual);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetBounds(64, 64, 105, 57);
    Label1->SetCaption(QStringLiteral("Ручное управление напряжением на отклоняющих пластинах"));

    kHorz = MakePlateBar(panManual, "kHorz", TTrackBarOrientation::trHorizontal, Bounds(59, 14, 110, 45),
                         QStringLiteral("Управление напряжением на горизонтальных отклоняющих пластинах"), 11004);
    kVert = MakePlateBar(panManual, "kVert", TTrackBarOrientation::trVertical, Bounds(16, 5, 45, 116),
                         QStringLiteral("Управление напряжением на вертикальных отклоняющих пластинах"), 11003);
    // Positions grow downward, so the thumb up is a positive deflection;
    // the arrow keys move the thumb the way they point.
    kVert->Slider()->setInvertedAppearance(true);
    kVert->Slider()->setInvertedControls(true);
    // The window opens with the focus on the plates' voltage; with a front
    // panel driving them the window keeps it, so no key presses a button.
    SetTabOrder({kHorz, kVert});

    Tube = std::make_unique<TVorlinoTube>();
    TimeScale = 1.0;
    Tube->OnDeflection = [this](double& X, double& Y, double T, bool& Visible) { GetDeflection(X, Y, T, Visible); };
    bSpeed->SetVisible(ProctorMode);
    DoCreate();
}

TTubeViewForm::~TTubeViewForm()
{
    Tube.reset();
}

void TTubeViewForm::SetDataSource(TTubeDeflection Source)
{
    DataSource = std::move(Source);
    panManual->SetVisible(!DataSource);
}

void TTubeViewForm::GetDeflection(double& X, double& Y, double T, bool& Visible)
{
    if (DataSource) {
        DataSource(X, Y, T * TimeScale, Visible);
        return;
    }
    X = kHorz->Position() / 20.0;
    Y = -kVert->Position() / 20.0;
    Visible = true;
}

void TTubeViewForm::FormShow(TObject*)
{
    Tube->Reset();
}

void TTubeViewForm::FormResize(TObject*)
{
    Tube->SetSize(View->Width(), View->Height());
}

void TTubeViewForm::FormKeyDown(TObject*, std::uint16_t& Key, TShiftState)
{
    if (DataSource)
        return;
    if (Key == VK_LEFT || Key == VK_RIGHT)
        kHorz->SetFocus();
    else if (Key == VK_UP || Key == VK_DOWN)
        kVert->SetFocus();
}

void TTubeViewForm::GetHintInfo(const TPoint& P, bool, TControl* Control, int& HelpContext, QString& Text)
{
    if (Control != View && Control != this)
        return;
    const TPoint q = View->ScreenToClient(P);
    const int i = Tube->RegionAt(q.q());
    Text = TubePartName(i);
    HelpContext = i > 0 ? 11100 + i : 11001;
}

void TTubeViewForm::TimerTimer(TObject*)
{
    Tube->Tick();
    View->Repaint();
}

void TTubeViewForm::bSpeedClick(TObject*)
{
    // A cancelled dialog gives the default back, which is written unchanged.
    QString value = FloatToStr(Tube->GetShotSecs());
    if (InputQueryHook) {
        InputQueryHook(value);
    } else {
        // A number it cannot read does not let the dialog go.
        InputQuery(this, QStringLiteral("Настройка быстродействия"),
                   QStringLiteral("Время между вылетами электронов, с"), value,
                   [](const QString& text) { (void)TypedShotSecs(text); });
    }
    const double seconds = TypedShotSecs(value);
    Tube->SetShotSecs(std::max(seconds, MinShotSecs));
}

int ShowTubeViewManual(TTubeViewForm*& Form)
{
    if (!Form)
        Form = new TTubeViewForm(Application);
    Form->SetDataSource(nullptr);
    Form->TimeScale = 1.0;
    return Form->ShowModal();
}
