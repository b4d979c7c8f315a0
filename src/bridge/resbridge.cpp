#include "bridge/resbridge.h"

#include "models/bridgemodel.h"
#include "bridge/bridgetext.h"
#include "bridge/eldevice.h"
#include "bridge/elgalvan.h"
#include "bridge/kalvernstart.h"
#include "controls/mekknob.h"
#include "platform/numtext.h"
#include "shell/openwork.h"

#include <QLineEdit>
#include <QPlainTextEdit>

TResBridgeForm::TResBridgeForm(QObject* owner) : TLabBaseForm(owner)
{
    SetCaption("Мост Уитстона");

    panControlsRight->SetWidth(172);
    panControlsRight->SetLeft(619);
    bHelpPointer->SetLeft(144);
    bClose->SetLeft(64);
    bCalculator->SetBounds(0, 0, 60, 25);

    bShowVars = new TButton(panControls);
    bShowVars->SetName("bShowVars");
    bShowVars->SetBounds(248, 0, 57, 25);
    bShowVars->SetCaption("Варианты");
    bShowVars->OnClick = [this](TObject* s) { bShowVarsClick(s); };

    using Handler = void (TResBridgeForm::*)(TObject*);
    auto helpButton = [this](const char* name, TRect r, const char* caption, const char* hint, int ctx,
                             const char* glyph, Handler click) {
        auto* b = new TBitBtn(panControls);
        b->SetName(name);
        b->SetBoundsRect(r);
        b->SetCaption(caption);
        b->SetHint(hint);
        b->SetShowHint(true);
        b->SetHelpContext(ctx);
        b->SetGlyphName(glyph);
        b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
        return b;
    };
    bPurpose = helpButton("bPurpose", Bounds(4, 0, 100, 25), "Цель работы",
                          "Показать раздел \"Цель работы\" справочной системы", 101, "PURPOSE",
                          &TResBridgeForm::bPurposeClick);
    bInstruct = helpButton("bInstruct", Bounds(108, 0, 136, 25), "Порядок выполнения",
                           "Показать раздел \"Порядок выполнения работы\" справочной системы", 102, "INSTRUCT",
                           &TResBridgeForm::bInstructClick);

    panSecret = new TPanel(panControls);
    panSecret->SetName("panSecret");
    panSecret->SetBounds(471, 1, 148, 26);
    panSecret->SetAlign(alRight);
    panSecret->SetBevelOuter(TBevelCut::bvNone);
    panSecret->SetCaption(QString());
    panSecret->SetHelpContext(13011);

    Label1 = new TLabel(panSecret);
    Label1->SetName("Label1");
    Label1->SetAutoSize(false);
    Label1->SetWordWrap(true);
    Label1->SetBounds(0, 0, 25, 26);
    Label1->SetCaption("Rx,\nОм");

    edRx = new TEdit(panSecret);
    edRx->SetName("edRx");
    edRx->SetBounds(24, 2, 73, 21);
    edRx->SetHint("Задание значения сопротивления Rx");
    edRx->SetShowHint(true);
    edRx->OnChange = [this](TObject* s) { edRxChange(s); };
    edRx->OnExit = [this](TObject* s) { edRxExit(s); };
    edRx->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { edRxKeyDown(s, k, sh); };

    bEdRxOK = new TSpeedButton(panSecret);
    bEdRxOK->SetName("bEdRxOK");
    bEdRxOK->SetBounds(96, 2, 23, 22);
    bEdRxOK->SetHint("Подтвердить ввод значения Rx");
    bEdRxOK->SetShowHint(true);
    bEdRxOK->SetGlyphName("RXOK");
    bEdRxOK->SetEnabled(false);
    bEdRxOK->OnClick = [this](TObject* s) { bEdRxOKClick(s); };

    bEdRxCancel = new TSpeedButton(panSecret);
    bEdRxCancel->SetName("bEdRxCancel");
    bEdRxCancel->SetBounds(120, 2, 23, 22);
    bEdRxCancel->SetHint("Отказаться от ввода значения Rx");
    bEdRxCancel->SetShowHint(true);
    bEdRxCancel->SetGlyphName("RXCANCEL");
    bEdRxCancel->SetEnabled(false);
    bEdRxCancel->OnClick = [this](TObject* s) { bEdRxCancelClick(s); };

    OnShow = [this](TObject* s) { FormShow(s); };
    // The bar shows the circuit's values in its one panel; hints do not
    // cover them.
    StatusBar->SetSimplePanel(false);

    // Panels, the bench and the window itself never take the focus from a
    // click: a press on an entry button or on the bench leaves the Rx entry
    // where it is, and only a control that takes the focus ends the entry.
    setFocusPolicy(Qt::NoFocus);
    panControls->setFocusPolicy(Qt::NoFocus);
    panSecret->setFocusPolicy(Qt::NoFocus);

    // FormCreate
    bShowVars->SetVisible(kalvern::ProctorMode);
    BuildBench();
    // The bench opens with the focus on the training Rx field, or on the
    // resistance box's first decade when the field is hidden.
    SetTabOrderList({edRx, m_r0->Knob(0)});
    panControls->Realign();
    DoCreate();
}

TResBridgeForm::~TResBridgeForm()
{
    // Nothing of the bench may be asked after this point.
    m_stand->OnChange = nullptr;
    delete m_stand;
}

void TResBridgeForm::BuildBench()
{
    m_stand = new TElectricStand(this);
    m_stand->SetName("Stand");
    m_stand->SetAlign(alClient);
    m_stand->SetUnitsWidth(230);
    m_stand->SetUnitsHeight(150);
    m_stand->OnChange = [this](TObject* s) { Recalculate(s); };
    m_stand->SetHelpContext(13001);
    m_stand->setFocusPolicy(Qt::NoFocus);

    auto place = [](TElAbstDevice* d, int x, int y) {
        d->SetUnitsLeft(x);
        d->SetUnitsTop(y);
    };
    m_galvanometer = new TElGalvanometer(m_stand);
    place(m_galvanometer, 50, 10);
    m_galvanometer->SetDeviceHelpContext(13010);

    m_source = new TElDCSource1(m_stand);
    place(m_source, 50, 110);
    m_source->SetDeviceHelpContext(13009);
    m_source->SetVoltage(9.0);

    m_rx = new TElSampleResistor(m_stand);
    place(m_rx, 10, 10);
    m_rx->TElAbstDevice::SetDeviceHelpContext(13005);
    m_stand->AddLabel(15, 5, "Rx");

    m_r0 = new TElResistorBattery6(m_stand);
    place(m_r0, 110, 10);
    m_r0->SetDeviceHelpContext(13006);
    m_stand->AddLabel(140, 5, "R0");

    m_r1 = new TElResistor4Pos(m_stand);
    place(m_r1, 10, 110);
    m_r1->SetDeviceHelpContext(13007);
    m_stand->AddLabel(25, 105, "R1");

    m_r2 = new TElResistor4Pos(m_stand);
    place(m_r2, 140, 110);
    m_r2->SetDeviceHelpContext(13008);
    m_stand->AddLabel(135, 115, "R2");

    BuildWires();
}

void TResBridgeForm::BuildWires()
{
    auto wire = [this](bool endDot) {
        auto* w = new TElWire(m_stand);
        w->SetDeviceHelpContext(13004);
        w->StartDot = true;
        w->EndDot = endDot;
        m_wires.push_back(w);
        return w;
    };
    TElWire* w;

    w = wire(true);  // R1 - junction B - R2
    w->AddPointAt(m_r1->RightTerminal());
    w->VertTo(105);
    w->HorzTo(105);
    w->MarkJoint();
    w->HorzTo(m_r2->LeftTerminal().X);
    w->AddPointAt(m_r2->LeftTerminal());

    w = wire(false);  // G right down to B
    w->AddPointAt(m_galvanometer->RightTerminal());
    w->VertTo(5);
    w->HorzTo(105);
    w->VertTo(105);

    w = wire(true);  // Rx - junction A - R0
    w->AddPointAt(m_rx->RightTerminal());
    w->HorzTo(45);
    w->VertTo(3);
    w->HorzTo(m_galvanometer->LeftTerminal().X);
    w->MarkJoint();
    w->HorzTo(m_r0->Terminal1().X);
    w->AddPointAt(m_r0->Terminal1());

    w = wire(false);  // G left up to A
    w->AddPointAt(m_galvanometer->LeftTerminal());
    w->VertTo(3);

    w = wire(true);  // source left - junction C - Rx
    w->AddPointAt(m_source->LeftTerminal());
    w->VertTo(108);
    w->HorzTo(45);
    w->VertTo(145);
    w->HorzTo(5);
    w->VertTo(95);
    w->MarkJoint();
    w->VertTo(m_rx->LeftTerminal().Y);
    w->AddPointAt(m_rx->LeftTerminal());

    w = wire(false);  // R1 left to C
    w->AddPointAt(m_r1->LeftTerminal());
    w->VertTo(95);
    w->HorzTo(5);

    w = wire(true);  // source right - junction D - R0
    w->AddPointAt(m_source->RightTerminal());
    w->VertTo(108);
    w->HorzTo(105);
    w->VertTo(145);
    w->HorzTo(225);
    w->VertTo(105);
    w->MarkJoint();
    w->VertTo(5);
    w->HorzTo(m_r0->Terminal4().X);
    w->AddPointAt(m_r0->Terminal4());

    w = wire(false);  // R2 right to D
    w->AddPointAt(m_r2->RightTerminal());
    w->VertTo(105);
    w->HorzTo(225);

    // Windowed parts stand over every drawn part, wires included.
    for (QObject* o : m_stand->children())
        if (auto* c = dynamic_cast<TControl*>(o); c && c->IsWindowed())
            c->raise();
}

void TResBridgeForm::SetVariant(int n)
{
    if (n == 0) {
        m_rx->SetResistance(bridge::VariantRx(0));
        edRx->SetText(FloatToStr(m_rx->Resistance()));
        edRx->LineEdit()->setModified(false);
        edRxChange(edRx);
        panSecret->Show();
    } else {
        panSecret->Hide();
        m_rx->SetResistance(bridge::VariantRx(n));
    }
    SetCaption(VariantCaption("Мост Уитстона", n));
    panControls->Realign();
}

void TResBridgeForm::Recalculate(TObject*)
{
    const bool on = m_source->IsOn();
    const double r1 = m_r1->GetResistance(), r2 = m_r2->GetResistance(), r0 = m_r0->GetResistance();
    m_galvanometer->SetCurrent(bridge::BridgeCurrent(on, m_source->Voltage(), m_rx->Resistance(), r0, r1, r2,
                                                     m_galvanometer->GetResistance()));
    StatusBar->SetPanelText(bridge::StatusText(r1, r2, r0, on, m_source->Voltage()));
}

void TResBridgeForm::FormShow(TObject*)
{
    Recalculate();
}

void TResBridgeForm::TimerTimer(TObject*)
{
    m_stand->TickDevices();
}

void TResBridgeForm::GetHintInfo(const TPoint&, bool, TControl* Control, int& HelpContext, QString&)
{
    if (HelpContext != 13001)
        return;
    if (auto* d = dynamic_cast<TElAbstDevice*>(Control); d && d->DeviceHelpContext() != 0)
        HelpContext = d->DeviceHelpContext();
}

void TResBridgeForm::bPurposeClick(TObject*)
{
    Application->HelpContext(101);
}

void TResBridgeForm::bInstructClick(TObject*)
{
    Application->HelpContext(102);
}

std::unique_ptr<TForm> TResBridgeForm::CreateVariantsForm()
{
    auto f = std::make_unique<TForm>(nullptr);
    f->SetCaption("Значения Rx для разных вариантов");
    f->Position = TPosition::poDefault;
    auto* memo = new TMemo(f.get());
    memo->SetName("txt");
    memo->SetAlign(alClient);
    memo->SetReadOnly(true);
    memo->SetFont(TFont("Courier New", 13));
    memo->Editor()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->SetText(bridge::VariantTableText());
    f->Realign();
    f->DoCreate();
    return f;
}

void TResBridgeForm::bShowVarsClick(TObject*)
{
    // Built straight from the variant rule: the exercise on screen keeps
    // its own variant.
    std::unique_ptr<TForm> f = CreateVariantsForm();
    f->ShowModal();
}

void TResBridgeForm::edRxChange(TObject*)
{
    const bool modified = edRx->LineEdit()->isModified();
    bEdRxOK->SetEnabled(modified);
    bEdRxCancel->SetEnabled(modified);
}

void TResBridgeForm::bEdRxOKClick(TObject*)
{
    // Both checks come before anything changes: a bad entry leaves Rx and
    // the field as they were.
    const double rx = StrToFloat(edRx->Text());
    m_rx->SetResistance(rx);
    Recalculate();
    edRx->LineEdit()->setModified(false);
    edRxChange(edRx);
}

void TResBridgeForm::bEdRxCancelClick(TObject*)
{
    edRx->SetText(FloatToStr(m_rx->Resistance()));
    edRx->LineEdit()->setModified(false);
    edRxChange(edRx);
}

void TResBridgeForm::edRxKeyDown(TObject*, std::uint16_t& Key, TShiftState)
{
    if (Key == VK_RETURN) {
        Key = 0;
        bEdRxOKClick(edRx);
    } else if (Key == VK_ESCAPE) {
        bEdRxCancelClick(edRx);
        Key = 0;
    }
}

void TResBridgeForm::edRxExit(TObject*)
{
    bEdRxOKClick(edRx);
    bEdRxOK->SetEnabled(false);
    bEdRxCancel->SetEnabled(false);
}
