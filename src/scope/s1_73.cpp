#include "scope/s1_73.h"

#include "models/s1_73scale.h"
#include "scope/tubeview.h"

#include "controls/oscknob.h"
#include "controls/zknob.h"
#include "controls/zled.h"
#include "controls/zonzoff.h"

#include <algorithm>
#include <cmath>

double TS1_73Form::PreviousSweep = 0;

namespace {

constexpr TColor kPanelColor = TColor(0xC0DCC0);

TzKnob* MakeKnob(TWinControl* parent, const char* name, const QString& hint, int help, int mn, int mx, int value,
                 int pointWidth)
{
    auto* k = new TzKnob(parent);
    k->SetName(QString::fromLatin1(name));
    k->SetHint(hint);
    k->SetShowHint(true);
    k->SetHelpContext(help);
    k->SetMin(mn);
    k->SetMax(mx);
    k->SetValue(value);
    if (pointWidth > 1)
        k->SetPointWidth(pointWidth);
    k->SetBounds(0, 0, 45, 45);
    return k;
}

TPanel* MakePanel(TWinControl* parent, const char* name, const QString& hint, int help)
{
    auto* p = new TPanel(parent);
    p->SetName(QString::fromLatin1(name));
    p->SetCaption(QString());
    p->SetHint(hint);
    p->SetShowHint(true);
    p->SetHelpContext(help);
    p->SetParentColor(false);
    p->SetColor(kPanelColor);
    return p;
}

TLabel* MakeLabel(TWinControl* parent, const char* name, const QString& caption)
{
    auto* l = new TLabel(parent);
    l->SetName(QString::fromLatin1(name));
    l->SetCaption(caption);
    return l;
}

// A step switch over its scale picture from the program's resources.
TVorlinKnob* MakeStepSwitch(TWinControl* parent, const char* name, const QString& hint, int help, int max,
                            const QString& scale)
{
    auto* k = new TVorlinKnob(parent);
    k->SetName(QString::fromLatin1(name));
    k->SetHint(hint);
    k->SetShowHint(true);
    k->SetHelpContext(help);
    k->SetMax(max);
    if (!k->BackgroundPicture().LoadFromResourceName(scale))
        throw Exception(QStringLiteral("Не найден ресурс ") + scale);
    return k;
}

} // namespace

TPaintBox* TS1_73Form::MakeInputBox(TPanel* Side, const char* Name, int Tag, const QString& Hint)
{
    auto* box = new TPaintBox(Side);
    box->SetName(QString::fromLatin1(Name));
    box->Tag = Tag;
    box->SetAlign(alClient);
    box->SetHint(Hint);
    box->SetShowHint(true);
    box->OnPaint = [this](TObject* s) { pbInputPaint(s); };
    return box;
}

TS1_73Screen::TS1_73Screen(QWidget* parent, TS1_73Form* panel)
    : TMekWinGControl(parent), Panel(panel)
{
}

void TS1_73Screen::PaintBuffer(TCanvas& Canvas)
{
    TOscScreen& s = *Panel->Screen;
    if (Panel->SweepOn()) {
        s.DrawTrace(Canvas, 2 * s.Width, 10 * Panel->SecPerDiv);
    } else {
        const int n = Panel->GetSampleCount();
        s.DrawTrace(Canvas, n, n * Panel->SampleInterval);
    }
    if (const auto changed = s.TakeChange())
        FrameChanged(*changed);
}

TS1_73Form::TS1_73Form(QObject* owner)
    : TForm(owner)
{
    Q_INIT_RESOURCE(scope);
    SetName(QStringLiteral("S1_73Form"));
    SetCaption(QStringLiteral("S1_73Form"));
    SetBorderStyle(TFormBorderStyle::bsNone);
    SetClientSize(632, 319);

    panBorder = MakePanel(this, "panBorder", QStringLiteral("Лицевая панель осциллографа"), 12102);
    {
        TFont f = panBorder->Font();
        f.PixelSize = 13;
        f.Style |= fsBold;
        panBorder->SetFont(f);
    }
    lblMarkLabel = MakeLabel(panBorder, "lblMarkLabel", QStringLiteral("С1-73"));
    lblMarkLabel->SetHint(QStringLiteral("Марка осциллографа"));
    lblMarkLabel->SetShowHint(true);
    lblMarkLabel->SetBounds(8, 8, lblMarkLabel->Width(), lblMarkLabel->Height());

    ledPower = new TzLed(panBorder);
    ledPower->SetName(QStringLiteral("ledPower"));
    ledPower->SetHint(QStringLiteral("Лампочка питания"));
    ledPower->SetShowHint(true);

    lblFocus = MakeLabel(panBorder, "lblFocus", QStringLiteral("Фокус"));
    lblBright = MakeLabel(panBorder, "lblBright", QStringLiteral("Яркость"));
    lblStab = MakeLabel(panBorder, "lblStab", QStringLiteral("Стаб"));
    lblLevel = MakeLabel(panBorder, "lblLevel", QStringLiteral("Уровень"));

    panScreen = new TPanel(panBorder);
    panScreen->SetName(QStringLiteral("panScreen"));
    panScreen->SetCaption(QString());
    panScreen->SetHelpContext(12105);
    panScreen->SetBevelInner(TBevelCut::bvLowered);
    panScreen->SetBevelWidth(3);

    cbPower = new TzcSingleOnOff(panBorder);
    cbPower->SetName(QStringLiteral("cbPower"));
    cbPower->SetHint(QStringLiteral("Выключатель питания осциллографа"));
    cbPower->SetShowHint(true);
    cbPower->SetHelpContext(12106);
    cbPower->SetCaption(QStringLiteral("Питание"));
    cbPower->SetAlignment(TAlignment::taRightJustify);
    cbPower->SetGlyphAlign(zcgp_Right);
    cbPower->OnClick = [this](TObject* s) { cbPowerClick(s); };

    kFocus = MakeKnob(panBorder, "kFocus", QStringLiteral("Ручка фокусировки луча"), 12110, -50, 50, 0, 3);
    kBright = MakeKnob(panBorder, "kBright", QStringLiteral("Ручка яркости луча"), 12111, 0, 100, 50, 3);
    kStab = MakeKnob(panBorder, "kStab", QStringLiteral("Ручка стабилизации сигнала (не используется в работе)"), 12112,
                     0, 100, 50, 1);
    kStab->SetEnabled(false);
    kLevel = MakeKnob(panBorder, "kLevel",
                      QStringLiteral("Ручка уровня стабилизации сигнала (не используется в работе)"), 12113, 0, 100, 50, 1);
    kLevel->SetEnabled(false);
    kVert = MakeKnob(panBorder, "kVert", QStringLiteral("Ручка перемещение изображения по вертикалиали"), 12107, -50,
                     50, 0, 3);
    kHorz = MakeKnob(panBorder, "kHorz", QStringLiteral("Ручка перемещение изображения по горизонтали"), 12108, -50,
                     50, 0, 3);
    // The captions stand 16 px above their knobs, and our lettering is taller
    // than that: laid over the knobs, transparent and letting the mouse
    // through, they keep their feet without taking anything from the knobs.
    for (TLabel* l : {lblFocus, lblBright, lblStab, lblLevel}) {
        l->SetTransparent(true);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->raise();
    }
    auto arrow = [this](const char* name, int l, int t, int w, int h, TKitTechnicalLineTypes type, TKitLineEndings start,
                        TKitLineEndings end) {
        auto* a = new TKitTechnicalLine(panBorder);
        a->SetName(QString::fromLatin1(name));
        a->SetBounds(l, t, w, h);
        a->SetLineType(type);
        a->SetLineStartSign(start);
        a->SetLineEndingsign(end);
        a->SetSignPlaces(spBoth);
        a->SetSignSize(6);
        a->SetFillColor(clBlack);
        a->Bevel()->SetMode(bmCustom);
        a->Bevel()->SetStandardStyle(lsSingleLowered);
        return a;
    };
    lblVert = arrow("lblVert", 168, 16, 17, 25, lsStraightTopToBottom, leClosedArrowUp, leClosedArrowDown);
    lblHorz = arrow("lblHorz", 240, 16, 25, 17, lsStraightLeftToRight, leClosedArrowLeft, leClosedArrowRight);
    kFocus->OnChange = [this](TObject* s) { kFocusChange(s); };
    kBright->OnChange = [this](TObject* s) { kBrightChange(s); };

    panLeftSide = MakePanel(this, "panLeftSide", QStringLiteral("Левая панель осциллографа"), 12103);
    pbYInput = MakeInputBox(panLeftSide, "pbYInput", 2, QStringLiteral("Клеммы для подключения генератора ко входу Y"));

    panRightSide = MakePanel(this, "panRightSide", QStringLiteral("Правая панель осциллографа"), 12104);
    pbXInput = MakeInputBox(panRightSide, "pbXInput", 1, QStringLiteral("Клеммы для подключения генератора ко входу X"));

    cbScan = new TzcLightOnOff(panRightSide);
    cbScan->SetName(QStringLiteral("cbScan"));
    cbScan->SetHint(QStringLiteral("Переключатель внутренней развертки на внешний генератор"));
    cbScan->SetShowHint(true);
    cbScan->SetHelpContext(12118);
    cbScan->SetCaption(QStringLiteral("Раз\nвер\nтка"));
    cbScan->SetMultipleLines(true);
    cbScan->SetOffColor(clMaroon);

    Screen = std::make_unique<TOscScreen>();
    Screen->HorzDivs = 10;
    Screen->OnXValue = [this](double& X, bool& Visible, double T) { GetXValue(X, Visible, T); };
    Screen->OnYValue = [this](double& Y, bool& Visible, double T) { GetYValue(Y, Visible, T); };

    GainSwitch = MakeStepSwitch(panBorder, "GainSwitch", QStringLiteral("Переключатель усиления входного сигнала на входе Y"),
                                12114, 11, QStringLiteral("S1_73_AMPKNOB"));
    GainSwitch->OnChange = [this](TObject* s) { GainChange(s); };
    TimeBaseSwitch = MakeStepSwitch(panBorder, "TimeBaseSwitch", QStringLiteral("Переключатель разверти по оси времени (X)"),
                                    12115, 17, QStringLiteral("S1_73_SCANKNOB"));
    TimeBaseSwitch->OnChange = [this](TObject* s) { TimeBaseChange(s); };

    ScreenControl = new TS1_73Screen(panScreen, this);
    ScreenControl->SetAlign(alClient);

    SetTabOrder({TimeBaseSwitch, GainSwitch, kVert, kHorz, cbPower, panScreen, kFocus, kBright, kStab, kLevel});
    DoCreate();
}

TS1_73Form::~TS1_73Form() = default;

bool TS1_73Form::SweepOn() const
{
    return cbScan->SwitchOn();
}

void TS1_73Form::ResetControls()
{
    SetPower(false);
    cbPower->SetSwitchOn(false);
    cbScan->SetSwitchOn(true);
    VoltsPerDiv = 50;
    GainSwitch->SetValue(0);
    GainSwitch->SetFineKnobFixed(true);
    SecPerDiv = 1e-4;
    TimeBaseSwitch->SetValue(8);
    TimeBaseSwitch->SetFineKnobFixed(true);
    Screen->Brightness = 1.0;
    kBright->SetValue(50);
    Screen->Focus = 1.0;
    kFocus->SetValue(0);
}

double FitUnit(QPoint Available)
{
    const double u = std::min(Available.y() / 7.5, Available.x() / 23.0);
    return std::max(u, 0.0);
}

QPoint FitExtent(double U)
{
    return QPoint(int(std::trunc(23 * U)), int(std::trunc(7.5 * U)));
}

TPoint TS1_73Form::FitSize(TPoint Available)
{
    ScaleUnit = FitUnit(Available.q());
    return TPoint::from(FitExtent(ScaleUnit));
}

void TS1_73Form::ArrangeControls()
{
    const double u = ScaleUnit;
    auto T = [u](double x) { return int(std::trunc(x * u)); };
    const int ch = ClientHeight(), cw = ClientWidth();

    panLeftSide->SetBounds(0, 0, T(1.5), ch);
    panBorder->SetBounds(T(1.5), 0, T(20), ch);
    panRightSide->SetBounds(T(21.5), 0, cw - T(21.5), ch);

    panScreen->SetBounds(T(6.5), T(0.5), T(7), T(4.5));
    Screen->Width = ScreenControl->ClientWidth();
    Screen->Height = ScreenControl->ClientHeight();
    Screen->DrawGraticule();

    cbPower->SetBounds(panBorder->Width() - T(4) - ledPower->Width() - 10, T(0.25), T(4), T(1.5));
    ledPower->SetBounds(cbPower->Left() + cbPower->Width() + 5,
                        cbPower->Top() + (cbPower->Height() - ledPower->Height()) / 2, ledPower->Width(),
                        ledPower->Height());

    const int r = T(1.5), h = r / 2;
    auto place = [&](TzKnob* k, double col, double row) { k->SetBounds(T(col) - h, T(row) - h, r, r); };
    place(kVert, 5, 0.8);
    place(kHorz, 15, 0.8);
    place(kFocus, 6.25, 6.5);
    place(kBright, 8.75, 6.5);
    place(kStab, 11.25, 6.5);
    place(kLevel, 13.75, 6.5);
    // The arrows stand right beside the shift knobs, level with their tops.
    lblVert->SetBounds(kVert->Left() + kVert->Width(), kVert->Top(), lblVert->Width(), lblVert->Height());
    lblHorz->SetBounds(kHorz->Left() - lblHorz->Width(), kHorz->Top(), lblHorz->Width(), lblHorz->Height());

    // The font first, so that the labels are centred with their own width.
    const int points = int(std::nearbyint(u / 3.3));
    for (TControl* c : std::initializer_list<TControl*>{lblFocus, lblBright, lblStab, lblLevel, cbPower, cbScan}) {
        TFont f = c->Font();
        f.SetSize(points);
        c->SetFont(f);
    }
    // A label taller than the 16 pixels above its knob would print over the
    // knob's top ticks: it then ends a pixel above the knob.
    auto label = [](TLabel* l, TzKnob* k, int offset) {
        l->SetBounds(k->Left() - (l->Width() - k->Width()) / 2 + offset,
                     k->Top() - std::max(16, l->Height() + 1), l->Width(), l->Height());
    };
    label(lblFocus, kFocus, 16);
    label(lblBright, kBright, 0);
    label(lblStab, kStab, 0);
    label(lblLevel, kLevel, -16);

    const int sw = panRightSide->ClientWidth() * 5 / 6;
    cbScan->SetBounds((panRightSide->Width() - sw) / 2, T(0.5), sw, T(4));

    GainSwitch->SetBounds(T(0.5), T(1.75), T(5), T(5));
    GainSwitch->SetKnobRadius(T(1.5));
    TimeBaseSwitch->SetBounds(T(14.5), T(1.75), T(5), T(5));
    TimeBaseSwitch->SetKnobRadius(T(1.5));

    XSockets[0] = TPoint(T(22.25), T(6));
    XSockets[1] = TPoint(T(22.25), T(7));
    YSockets[0] = TPoint(T(0.75), T(6));
    YSockets[1] = TPoint(T(0.75), T(7));
}

void TS1_73Form::RepaintScreen()
{
    ScreenControl->Repaint();
}

void TS1_73Form::SetSampleCount(int N)
{
    SampleCount = N;
}

void TS1_73Form::SetSampleInterval(double Seconds)
{
    SampleInterval = Seconds;
}

int TS1_73Form::GetSampleCount() const
{
    return SampleCount != 0 ? SampleCount : 2 * Screen->Width;
}

void TS1_73Form::SetPower(bool V)
{
    PowerOn = V;
    ledPower->SetEnabled(V);
    Screen->BeamOn = V;
}

void TS1_73Form::cbPowerClick(TObject*)
{
    SetPower(!PowerOn);
}

void TS1_73Form::kFocusChange(TObject*)
{
    Screen->Focus = 1 - std::abs(kFocus->Value() / 50.0);
}

void TS1_73Form::kBrightChange(TObject*)
{
    Screen->Brightness = kBright->Value() / 50.0;
}

void TS1_73Form::GainChange(TObject*)
{
    VoltsPerDiv = VoltsPerDivAt(GainSwitch->Value(), GainSwitch->FineKnobFixed(), GainSwitch->FineKnobValue());
}

void TS1_73Form::TimeBaseChange(TObject*)
{
    SecPerDiv = SecPerDivAt(TimeBaseSwitch->Value(), TimeBaseSwitch->FineKnobFixed(), TimeBaseSwitch->FineKnobValue());
}

void TS1_73Form::GetXValue(double& X, bool& Visible, double T)
{
    if (SweepOn()) {
        X = SweepDivs(T, SecPerDiv);
        if (X < PreviousSweep)
            Visible = false;
        PreviousSweep = X;
    } else {
        X = 5;
        if (OnXSignal)
            X = OnXSignal(T) / VoltsPerDiv + 5;
    }
    X += kHorz->Value() / 10.0;
}

void TS1_73Form::GetYValue(double& Y, bool&, double T)
{
    Y = 0;
    if (OnYSignal)
        Y = OnYSignal(T);
    Y = Y / VoltsPerDiv + kVert->Value() / 10.0;
}

void TS1_73Form::TubeDataSource(double& X, double& Y, double T, bool& Visible)
{
    if (PowerOn) {
        GetXValue(X, Visible, T);
        GetYValue(Y, Visible, T);
    } else {
        Visible = false;
    }
    X = X / 5 - 1;
    Y = Y / 3;
}

void TS1_73Form::DrawSocket(TCanvas& Canvas, TPoint P, TColor Color) const
{
    const TColor brush = Canvas.Brush.Color;
    const TColor pen = Canvas.Pen.Color;
    const int width = Canvas.Pen.Width;
    const int outer = int(std::nearbyint(0.3 * ScaleUnit));
    const int inner = int(std::nearbyint(0.2 * ScaleUnit));
    Canvas.Brush.Color = Color;
    Canvas.Pen.Width = 1;
    Canvas.Ellipse(P.X - outer, P.Y - outer, P.X + outer, P.Y + outer);
    Canvas.Brush.Color = clBlack;
    Canvas.Ellipse(P.X - inner, P.Y - inner, P.X + inner, P.Y + inner);
    Canvas.Brush.Color = brush;
    Canvas.Pen.Color = pen;
    Canvas.Pen.Width = width;
}

void TS1_73Form::pbInputPaint(TObject* Sender)
{
    auto* box = static_cast<TPaintBox*>(Sender);
    TCanvas& c = *box->Canvas();
    const int cx = box->Width() / 2;
    const int half = int(std::nearbyint(ScaleUnit / 2));
    const int row = box->Height() - int(std::nearbyint(ScaleUnit));
    DrawSocket(c, TPoint(cx, row + half), clWhite);
    DrawSocket(c, TPoint(cx, row - half), clRed);
    const QString caption = box->Tag == 1 ? QStringLiteral("Вход X") : QStringLiteral("Вход Y");
    const TBrushStyle style = c.Brush.Style;
    c.Brush.Style = TBrushStyle::bsClear;
    c.TextOut(cx - c.TextWidth(caption) / 2, row - c.TextHeight(caption) / 2, caption);
    c.Brush.Style = style;
    if (OnInputPaint)
        OnInputPaint(box, c);
}

void TS1_73Form::GetHintInfo(const TPoint& P, bool, TControl* Control, int& HelpContext, QString& Text)
{
    const TPoint q = panBorder->ScreenToClient(P);
    if (PtInRect(ledPower->BoundsRect(), q)) {
        Text = ledPower->Hint()
               + (PowerOn ? QStringLiteral(". Питание включено") : QStringLiteral(". Питание не включено. Нажмите выключатель"));
        HelpContext = 12119;
        return;
    }
    for (TzKnob* k : {kStab, kLevel}) {
        if (PtInRect(k->BoundsRect(), q)) {
            Text = k->Hint();
            HelpContext = k->HelpContext();
            return;
        }
    }
    if (Control == cbPower) {
        Text += PowerOn ? QStringLiteral(". Питание включено") : QStringLiteral(". Питание не включено. Нажмите выключатель");
    } else if (Control == cbScan) {
        Text += cbScan->SwitchOn() ? QStringLiteral(". Развертка включена") : QStringLiteral(". Используется вход X");
    } else if (Control == lblMarkLabel) {
        HelpContext = 12109;
    } else if (Control == pbXInput || Control == pbYInput) {
        const bool x = Control == pbXInput;
        if (ScreenToClient(P).Y < 5.5 * ScaleUnit) {
            TPanel* side = x ? panRightSide : panLeftSide;
            Text = side->Hint();
            HelpContext = side->HelpContext();
        } else {
            Text = Control->Hint();
            HelpContext = x ? 12117 : 12116;
        }
    }
}

void TS1_73Form::ShowTubeView()
{
    std::unique_ptr<TTubeViewForm> view(new TTubeViewForm(Application));
    view->SetDataSource([this](double& X, double& Y, double T, bool& Visible) { TubeDataSource(X, Y, T, Visible); });
    view->TimeScale = SecPerDiv / 5;
    view->ShowModal();
}
