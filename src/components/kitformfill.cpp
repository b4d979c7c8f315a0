#include "components/kitformfill.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

// ---------------------------------------------------------------- TKitCustomFormFill

TKitCustomFormFill::TKitCustomFormFill(QObject* AOwner) : TKitWndProcComponent(AOwner)
{
    FLink.OnChange = [this](TObject* sender) { FillChanged(sender); };
}

TKitCustomFormFill::~TKitCustomFormFill()
{
    FLink.OnChange = nullptr;
    if (FImageList)
        FImageList->RemoveChangeLink(&FLink);
    if (FListDestroyed)
        disconnect(FListDestroyed);
}

QWidget* TKitCustomFormFill::ownerWidget() const
{
    return OwnerHandle();
}

TRect TKitCustomFormFill::ownerClientRect() const
{
    if (auto* control = qobject_cast<TControl*>(ownerWidget()))
        return control->ClientRect();
    if (QWidget* w = ownerWidget())
        return TRect(0, 0, w->width(), w->height());
    return {};
}

void TKitCustomFormFill::invalidateOwner()
{
    if (QWidget* w = ownerWidget())
        w->update();
}

void TKitCustomFormFill::SetImageList(TKitCustomImageList* v)
{
    if (FImageList) {
        FImageList->RemoveChangeLink(&FLink);
        disconnect(FListDestroyed);
    }
    FImageList = v;
    if (v) {
        v->AddChangeLink(&FLink);
        FListDestroyed = connect(v, &QObject::destroyed, this, [this] { listDestroyed(); });
    }
    FillChanged(this);
}

void TKitCustomFormFill::listDestroyed()
{
    // The list is going away: forget it without touching it.
    FImageList = nullptr;
    FListDestroyed = {};
    FillChanged(this);
}

void TKitCustomFormFill::SetImageIndex(int v)
{
    if (v < 0 || v == FImageIndex)
        return;
    FImageIndex = v;
    if (FImageList)
        FillChanged(this);
}

void TKitCustomFormFill::SetListIndex(int v)
{
    if (v < 0 || v == FListIndex)
        return;
    FListIndex = v;
    if (FImageList)
        FillChanged(this);
}

void TKitCustomFormFill::SetPaintMode(TKitPaintMode v)
{
    if (v == FPaintMode)
        return;
    FPaintMode = v;
    ObjectChanged(this);
}

void TKitCustomFormFill::FillChanged(TObject*)
{
    invalidateOwner();
}

void TKitCustomFormFill::ObjectChanged(TObject*)
{
    if (Enabled() && !IsDesigning()) {
        FDirty = true;
        invalidateOwner();
    }
}

void TKitCustomFormFill::Activate()
{
    if (!Enabled())
        return;
    TKitWndProcComponent::Activate();
    if (!IsLoading())
        invalidateOwner();
}

void TKitCustomFormFill::Deactivate()
{
    if (!Destroying())
        invalidateOwner();
}

bool TKitCustomFormFill::WndProc(QEvent* Message)
{
    if (!Enabled())
        return TKitWndProcComponent::WndProc(Message);
    switch (Message->type()) {
    case QEvent::Resize:
        FDirty = true;
        invalidateOwner();
        break;
    case QEvent::Paint: {
        // The owner's paint is its background erase; everything on it is a
        // child widget painted afterwards.
        QWidget* w = ownerWidget();
        if (!w)
            break;
        QPainter painter(w);
        if (PaintBackground(&painter))
            return true;
        break;
    }
    case QEvent::PaletteChange:
        invalidateOwner();
        break;
    default:
        break;
    }
    return TKitWndProcComponent::WndProc(Message);
}

bool TKitCustomFormFill::PaintBackground(QPainter* painter)
{
    if (IsLoading())
        return false;
    if (FPaintMode != pcOwnerDraw || !OnPaint)
        return false;
    TCanvas canvas(painter);
    const TRect client = ownerClientRect();
    if (DefaultFill) {
        auto* control = qobject_cast<TControl*>(ownerWidget());
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = control ? control->Color() : clBtnFace;
        canvas.FillRect(client);
    }
    OnPaint(this, &canvas, TRect(0, 0, client.Width(), client.Height()));
    return true;
}

// ---------------------------------------------------------------- TKitFormFill

TKitFormFill::TKitFormFill(QObject* AOwner)
    : TKitCustomFormFill(AOwner), FFillObject(std::make_unique<TKitFillObject>()),
      FBackground(std::make_unique<TBitmap>())
{
    FFillObject->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitFormFill::~TKitFormFill()
{
    FFillObject->OnChange = nullptr;
}

void TKitFormFill::Loaded()
{
    TKitCustomFormFill::Loaded();
    UpdateEraseFlag();
}

void TKitFormFill::UpdateEraseFlag()
{
    if (PaintMode() == pcOwnerDraw)
        FEraseFlag = true;
    else if (PaintMode() == pcControl)
        FEraseFlag = FFillObject->IsTransparent();
}

void TKitFormFill::FillChanged(TObject* Sender)
{
    TKitCustomImageList* list = ImageList();
    if (list && list->IsValidImage(ListIndex(), ImageIndex())) {
        TBitmap picture;
        list->GetImage(ListIndex(), ImageIndex(), &picture);
        FFillObject->SetListBitmap(&picture);
    } else {
        FFillObject->SetListBitmap(nullptr);
    }
    ObjectChanged(Sender);
}

void TKitFormFill::ObjectChanged(TObject* Sender)
{
    if (PaintMode() == pcControl && FFillObject->Style() != sfGradient && !FBackground->Empty())
        *FBackground = TBitmap();
    UpdateEraseFlag();
    TKitCustomFormFill::ObjectChanged(Sender);
}

bool TKitFormFill::PaintBackground(QPainter* painter)
{
    if (PaintMode() != pcControl || FFillObject->IsEmpty())
        return TKitCustomFormFill::PaintBackground(painter);
    if (IsLoading())
        return false;
    TCanvas canvas(painter);
    const TRect client = ownerClientRect();
    if (FFillObject->Style() == sfGradient) {
        QWidget* w = ownerWidget();
        const qreal dpr = w ? w->devicePixelRatioF() : 1.0;
        if (FDirty || FBackground->Width() != client.Width() || FBackground->Height() != client.Height()
            || FBackground->DevicePixelRatio() != dpr) {
            *FBackground = TBitmap();
            FBackground->SetDevicePixelRatio(dpr);
            FBackground->SetSize(client.Width(), client.Height());
            FFillObject->Fill(&FBackground->Canvas(), TRect(0, 0, client.Width(), client.Height()), clBlack);
            FBackground->Canvas().Release();
            ++FRenders;
            FDirty = false;
        }
        FFillObject->Gradient()->ApplyPalette(&canvas);
        canvas.Draw(0, 0, *FBackground);
        return true;
    }
    auto* control = qobject_cast<TControl*>(ownerWidget());
    return FFillObject->Fill(&canvas, TRect(0, 0, client.Width() + 1, client.Height() + 1),
                             control ? control->Color() : clBtnFace);
}
