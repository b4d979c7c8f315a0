#include "components/kitformfill.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

// ---------------------------------------------------------------- TKitCustomFormFill

TKitCustomFormFill::TKitCustomFormFill(QObject* AOwner) : TKitWndProcComponent(AOwner)
{
    m_link.OnChange = [this](TObject* sender) { FillChanged(sender); };
}

TKitCustomFormFill::~TKitCustomFormFill()
{
    m_link.OnChange = nullptr;
    if (m_imageList)
        m_imageList->RemoveChangeLink(&m_link);
    if (m_listDestroyed)
        disconnect(m_listDestroyed);
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
    if (m_imageList) {
        m_imageList->RemoveChangeLink(&m_link);
        disconnect(m_listDestroyed);
    }
    m_imageList = v;
    if (v) {
        v->AddChangeLink(&m_link);
        m_listDestroyed = connect(v, &QObject::destroyed, this, [this] { listDestroyed(); });
    }
    FillChanged(this);
}

void TKitCustomFormFill::listDestroyed()
{
    // The list is going away: forget it without touching it.
    m_imageList = nullptr;
    m_listDestroyed = {};
    FillChanged(this);
}

void TKitCustomFormFill::SetImageIndex(int v)
{
    if (v < 0 || v == m_imageIndex)
        return;
    m_imageIndex = v;
    if (m_imageList)
        FillChanged(this);
}

void TKitCustomFormFill::SetListIndex(int v)
{
    if (v < 0 || v == m_listIndex)
        return;
    m_listIndex = v;
    if (m_imageList)
        FillChanged(this);
}

void TKitCustomFormFill::SetPaintMode(TKitPaintMode v)
{
    if (v == m_paintMode)
        return;
    m_paintMode = v;
    ObjectChanged(this);
}

void TKitCustomFormFill::FillChanged(TObject*)
{
    invalidateOwner();
}

void TKitCustomFormFill::ObjectChanged(TObject*)
{
    if (Enabled() && !IsDesigning()) {
        m_dirty = true;
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
        m_dirty = true;
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
    if (m_paintMode != pcOwnerDraw || !OnPaint)
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
    : TKitCustomFormFill(AOwner), m_fillObject(std::make_unique<TKitFillObject>()),
      m_background(std::make_unique<TBitmap>())
{
    m_fillObject->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitFormFill::~TKitFormFill()
{
    m_fillObject->OnChange = nullptr;
}

void TKitFormFill::Loaded()
{
    TKitCustomFormFill::Loaded();
    UpdateEraseFlag();
}

void TKitFormFill::UpdateEraseFlag()
{
    if (PaintMode() == pcOwnerDraw)
        m_eraseFlag = true;
    else if (PaintMode() == pcControl)
        m_eraseFlag = m_fillObject->IsTransparent();
}

void TKitFormFill::FillChanged(TObject* Sender)
{
    TKitCustomImageList* list = ImageList();
    if (list && list->IsValidImage(ListIndex(), ImageIndex())) {
        TBitmap picture;
        list->GetImage(ListIndex(), ImageIndex(), &picture);
        m_fillObject->SetListBitmap(&picture);
    } else {
        m_fillObject->SetListBitmap(nullptr);
    }
    ObjectChanged(Sender);
}

void TKitFormFill::ObjectChanged(TObject* Sender)
{
    if (PaintMode() == pcControl && m_fillObject->Style() != sfGradient && !m_background->Empty())
        *m_background = TBitmap();
    UpdateEraseFlag();
    TKitCustomFormFill::ObjectChanged(Sender);
}

bool TKitFormFill::PaintBackground(QPainter* painter)
{
    if (PaintMode() != pcControl || m_fillObject->IsEmpty())
        return TKitCustomFormFill::PaintBackground(painter);
    if (IsLoading())
        return false;
    TCanvas canvas(painter);
    const TRect client = ownerClientRect();
    if (m_fillObject->Style() == sfGradient) {
        QWidget* w = ownerWidget();
        const qreal dpr = w ? w->devicePixelRatioF() : 1.0;
        if (m_dirty || m_background->Width() != client.Width() || m_background->Height() != client.Height()
            || m_background->DevicePixelRatio() != dpr) {
            *m_background = TBitmap();
            m_background->SetDevicePixelRatio(dpr);
            m_background->SetSize(client.Width(), client.Height());
            m_fillObject->Fill(&m_background->Canvas(), TRect(0, 0, client.Width(), client.Height()), clBlack);
            m_background->Canvas().Release();
            ++m_renders;
            m_dirty = false;
        }
        m_fillObject->Gradient()->ApplyPalette(&canvas);
        canvas.Draw(0, 0, *m_background);
        return true;
    }
    auto* control = qobject_cast<TControl*>(ownerWidget());
    return m_fillObject->Fill(&canvas, TRect(0, 0, client.Width() + 1, client.Height() + 1),
                             control ? control->Color() : clBtnFace);
}
