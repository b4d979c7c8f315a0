#include "components/kitctrl.h"

#include <QCoreApplication>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>

#include "components/kitprocs.h"

void KitSendMessage(QWidget* target, QEvent::Type message)
{
    if (!target)
        return;
    QEvent e(message);
    QCoreApplication::sendEvent(target, &e);
}

// ---------------------------------------------------------------- image-list link

TKitImageListLink::TKitImageListLink(std::function<void(TObject*)> listChanged) : changed_(std::move(listChanged))
{
    link_.OnChange = [this](TObject* sender) {
        if (changed_)
            changed_(sender);
    };
}

TKitImageListLink::~TKitImageListLink()
{
    attach(nullptr);
    link_.OnChange = nullptr;
}

void TKitImageListLink::attach(TKitCustomImageList* list)
{
    if (list_) {
        QObject::disconnect(destroyed_);
        // A list in the middle of its own destruction has already let go
        // of every link; only a live one is told.
        if (link_.Sender() == list_)
            list_->RemoveChangeLink(&link_);
    }
    list_ = list;
    if (list_) {
        list_->AddChangeLink(&link_);
        destroyed_ = QObject::connect(list_, &QObject::destroyed, [this] {
            list_ = nullptr;
            if (changed_)
                changed_(nullptr);
        });
    }
}

void TKitImageListLink::Set(TKitCustomImageList* list)
{
    attach(list);
    if (changed_)
        changed_(nullptr);
}

// ---------------------------------------------------------------- TKitBaseControl

TKitBaseControl::TKitBaseControl(QWidget* parent)
    : TGraphicControl(parent), imageList_([this](TObject* sender) { ListChanged(sender); })
{
}

TKitBaseControl::~TKitBaseControl() = default;

void TKitBaseControl::SetImageList(TKitCustomImageList* list)
{
    imageList_.Set(list);
}

void TKitBaseControl::SetBounds(int left, int top, int width, int height)
{
    const TRect old = BoundsRect();
    TGraphicControl::SetBounds(left, top, width, height);
    const TRect now = BoundsRect();
    TKitBoundsChanges change;
    if (now.Left != old.Left || now.Top != old.Top)
        change.Include(bcPositionChanged);
    if (now.Width() != old.Width() || now.Height() != old.Height())
        change.Include(bcSizeChanged);
    if (!change.Empty() && !IsLoading())
        BoundsChanged(change);
}

void TKitBaseControl::BoundsChanged(TKitBoundsChanges change)
{
    if (OnBoundsChange)
        OnBoundsChange(this, change);
}

void TKitBaseControl::ObjectChanged(TObject*)
{
    if (!IsLoading())
        Invalidate();
}

void TKitBaseControl::ListChanged(TObject* Sender)
{
    ObjectChanged(Sender);
}

void TKitBaseControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TKitBaseControl::MouseExit()
{
    if (OnMouseExit)
        OnMouseExit(this);
}

void TKitBaseControl::FillBackground()
{
    TCanvas* c = Canvas();
    if (!c)
        return;
    c->Brush.Style = TBrushStyle::bsSolid;
    c->Brush.Bitmap = nullptr;
    c->Brush.Color = Color();
    c->Pen.Style = TPenStyle::psClear;
    c->FillRect(ClientRect());
}

namespace {
void designFrame(TCanvas* c, int w, int h)
{
    if (!c)
        return;
    c->Pen.Color = clBlack;
    c->Pen.Width = 1;
    c->Pen.Style = TPenStyle::psDash;
    c->Pen.Mode = TPenMode::pmCopy;
    c->Brush.Style = TBrushStyle::bsClear;
    c->Rectangle(0, 0, w, h);
}
} // namespace

void TKitBaseControl::DrawDesignFrame()
{
    designFrame(Canvas(), Width(), Height());
}

bool TKitBaseControl::event(QEvent* e)
{
    if (e->type() == CM_KITBACKCHANGED) {
        if (!IsLoading() && UsesParentBackground())
            ObjectChanged(nullptr);
        return true;
    }
    if (e->type() == CM_KITBEVELCHANGED)
        return true;
    return TGraphicControl::event(e);
}

// ---------------------------------------------------------------- TKitBaseGraphicControl

TKitBaseGraphicControl::TKitBaseGraphicControl(QWidget* parent) : TKitBaseControl(parent)
{
    // Transparent: whatever the parent paints shows where this paints nothing.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    resize(30, 30);
}

void TKitBaseGraphicControl::SetTransparent(bool v)
{
    if (v == transparent_)
        return;
    setAttribute(Qt::WA_OpaquePaintEvent, !v);
    transparent_ = v;
    KitSendMessage(this, CM_KITTRANSPARENTCHANGED);
}

void TKitBaseGraphicControl::RepaintNow()
{
    if (transparent_ || IsDesigning())
        Invalidate();
    else
        repaint();
}

bool TKitBaseGraphicControl::UsesParentBackground() const
{
    if (!transparent_)
        return false;
    auto p = qobject_cast<TKitCustomControl*>(parentWidget());
    return p && p->IsTransparentCapable();
}

void TKitBaseGraphicControl::ObjectChanged(TObject*)
{
    RepaintNow();
}

void TKitBaseGraphicControl::Paint()
{
    if (IsDesigning())
        DrawDesignFrame();
}

bool TKitBaseGraphicControl::event(QEvent* e)
{
    if (e->type() == CM_KITTRANSPARENTCHANGED) {
        RepaintNow();
        return true;
    }
    return TKitBaseControl::event(e);
}

// ---------------------------------------------------------------- TKitGraphicControl

TKitGraphicControl::TKitGraphicControl(QWidget* parent)
    : TKitBaseGraphicControl(parent), bevel_(std::make_unique<TKitBevel>())
{
    bevel_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitGraphicControl::~TKitGraphicControl()
{
    bevel_->OnChange = nullptr;
}

void TKitGraphicControl::SetBevel(const TKitBevel* value)
{
    bevel_->Assign(value);
    KitSendMessage(this, CM_KITBEVELCHANGED);
}

void TKitGraphicControl::Paint()
{
    if (IsLoading())
        return;
    if (IsEmpty() && bevel_->Extent() == 0) {
        TKitBaseGraphicControl::Paint();
        return;
    }
    bevel_->PaintBevel(Canvas(), ClientRect(), Transparent());
}

// ---------------------------------------------------------------- TKitCustomControl

TKitCustomControl::TKitCustomControl(QWidget* parent)
    : TCustomControl(parent), imageList_([this](TObject* sender) { ListChanged(sender); })
{
    resize(100, 40);
    SetTabStop(false);
    applyWindowParams();
}

TKitCustomControl::~TKitCustomControl() = default;

void TKitCustomControl::CreateParams(TKitCreateParams& params) const
{
    params = TKitCreateParams();
    params.Style = WS_CLIPCHILDREN;
}

void TKitCustomControl::applyWindowParams()
{
    CreateParams(params_);
    windowEdge_ = (params_.ExStyle & WS_EX_CLIENTEDGE) ? 2 : (params_.Style & WS_BORDER) ? 1 : 0;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_);
    Realign();
    Invalidate();
}

void TKitCustomControl::RecreateWnd()
{
    applyWindowParams();
    ++recreateCount_;
}

TRect TKitCustomControl::ClientRect() const
{
    return TRect(windowEdge_, windowEdge_, std::max(windowEdge_, Width() - windowEdge_),
                 std::max(windowEdge_, Height() - windowEdge_));
}

void TKitCustomControl::SetTransparent(bool v)
{
    if (v == transparent_)
        return;
    transparent_ = v;
    RecreateWnd();
}

void TKitCustomControl::SetHotTrack(bool v)
{
    if (v == hotTrack_)
        return;
    hotTrack_ = v;
    Invalidate();
}

void TKitCustomControl::SetCtl3D(bool v)
{
    if (v == ctl3D_)
        return;
    ctl3D_ = v;
    // Only a window edge depends on it.
    CreateParams(params_);
    if (params_.ExStyle & WS_EX_CLIENTEDGE || params_.Style & WS_BORDER)
        RecreateWnd();
    else
        Invalidate();
}

void TKitCustomControl::SetImageList(TKitCustomImageList* list)
{
    imageList_.Set(list);
}

bool TKitCustomControl::UsesParentBackground() const
{
    return transparent_ && IsTransparentCapable();
}

void TKitCustomControl::PaintBackground()
{
    FillBackgroundRect(ClientRect());
}

void TKitCustomControl::FillBackgroundRect(const TRect& r)
{
    TCanvas* c = Canvas();
    if (!c)
        return;
    if (UsesParentBackground() && PaintParentBackground(c, r, TPoint(Left() + r.Left, Top() + r.Top)))
        return;
    c->Brush.Style = TBrushStyle::bsSolid;
    c->Brush.Bitmap = nullptr;
    c->Brush.Color = Color();
    c->FillRect(r);
}

void TKitCustomControl::ObjectChanged(TObject*)
{
    if (RepaintOnChange)
        Invalidate();
}

void TKitCustomControl::ListChanged(TObject* Sender)
{
    ObjectChanged(Sender);
}

void TKitCustomControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
    mouseInside_ = true;
}

void TKitCustomControl::MouseExit()
{
    mouseInside_ = false;
    if (!hasFocus_)
        DrawFlatFrame();
    if (OnMouseExit)
        OnMouseExit(this);
}

bool TKitCustomControl::hotFrameWanted() const
{
    return hotTrack_ && (mouseInside_ || hasFocus_);
}

void TKitCustomControl::DrawFlatFrame()
{
    if (Focused() || !hotTrack_ || mouseInside_)
        return;
    // Frames live on the window itself: outside a paint they come with the
    // next one.
    if (!framePainting()) {
        Invalidate();
        return;
    }
    TCanvas* c = Canvas();
    TRect r(0, 0, Width(), Height());
    c->Brush.Style = TBrushStyle::bsSolid;
    c->Brush.Bitmap = nullptr;
    c->Brush.Color = clBtnFace;
    if (ctl3D_) {
        c->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    c->FrameRect(r);
}

void TKitCustomControl::DrawHotFrame()
{
    if (!framePainting()) {
        Invalidate();
        return;
    }
    TCanvas* c = Canvas();
    TRect r(0, 0, Width(), Height());
    c->Brush.Style = TBrushStyle::bsSolid;
    c->Brush.Bitmap = nullptr;
    if (ctl3D_) {
        c->Brush.Color = clWindowFrame;
        c->FrameRect(TRect(r.Left + 1, r.Top + 1, r.Right, r.Bottom));
        c->Brush.Color = clBtnFace;
        c->FrameRect(TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
        KitDrawEdge(c, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else {
        c->Brush.Color = clWindowFrame;
        c->FrameRect(r);
    }
}

bool TKitCustomControl::PaintParentBackground(TCanvas*, const TRect&, TPoint)
{
    return false;
}

void TKitCustomControl::DrawDesignFrame()
{
    designFrame(Canvas(), Width(), Height());
}

void TKitCustomControl::Paint()
{
    if (IsLoading())
        return;
    PaintBackground();
    if (!IsDesigning())
        DrawFlatFrame();
    else if (HasNoFrame())
        DrawDesignFrame();
    if (hotFrameWanted())
        DrawHotFrame();
}

void TKitCustomControl::paintWindowEdge()
{
    if (windowEdge_ == 0)
        return;
    QPainter p(this);
    TCanvas c(&p);
    TRect r(0, 0, Width(), Height());
    if (windowEdge_ == 2) {
        KitDrawEdge(&c, r, EDGE_SUNKEN, BF_RECT);
    } else {
        c.Brush.Style = TBrushStyle::bsSolid;
        c.Brush.Color = clWindowFrame;
        c.FrameRect(r);
    }
}

void TKitCustomControl::paintEvent(QPaintEvent* e)
{
    TCustomControl::paintEvent(e);
    // The window edge is the non-client part, drawn around the client area.
    paintWindowEdge();
}

void TKitCustomControl::DoEnter()
{
    TCustomControl::DoEnter();
    hasFocus_ = true;
    if (hotTrack_)
        DrawHotFrame();
}

void TKitCustomControl::DoExit()
{
    hasFocus_ = false;
    DrawFlatFrame();
    TCustomControl::DoExit();
}

void TKitCustomControl::focusInEvent(QFocusEvent* e)
{
    TCustomControl::focusInEvent(e);
    QCoreApplication::postEvent(this, new QEvent(CM_KITFOCUSGAINED));
}

void TKitCustomControl::focusOutEvent(QFocusEvent* e)
{
    TCustomControl::focusOutEvent(e);
    QCoreApplication::postEvent(this, new QEvent(CM_KITFOCUSLOST));
}

void TKitCustomControl::repaintChildren()
{
    for (QObject* o : children())
        if (auto* c = qobject_cast<TControl*>(o); c && !c->IsWindowed())
            c->Repaint();
}

void TKitCustomControl::moveEvent(QMoveEvent* e)
{
    TCustomControl::moveEvent(e);
    if (UsesParentBackground()) {
        Repaint();
        repaintChildren();
    }
}

void TKitCustomControl::resizeEvent(QResizeEvent* e)
{
    TCustomControl::resizeEvent(e);
    if (UsesParentBackground()) {
        Repaint();
        for (QObject* o : children())
            if (auto* c = qobject_cast<TControl*>(o))
                c->Repaint();
    } else {
        Invalidate();
    }
}

bool TKitCustomControl::event(QEvent* e)
{
    switch (int(e->type())) {
    case CM_KITBACKCHANGED:
        if (!IsLoading()) {
            if (UsesParentBackground()) {
                Repaint();
                for (QObject* o : children())
                    if (auto* w = qobject_cast<QWidget*>(o))
                        KitSendMessage(w, CM_KITBACKCHANGED);
            } else {
                Invalidate();
            }
        }
        return true;
    case CM_KITFOCUSGAINED:
        if (OnFocusGained)
            OnFocusGained(this);
        return true;
    case CM_KITFOCUSLOST:
        if (OnFocusLost)
            OnFocusLost(this);
        return true;
    case CM_KITBEVELCHANGED:
        return true;
    case QEvent::PaletteChange:
        // The system colours changed.
        if (!transparent_)
            Invalidate();
        break;
    default:
        break;
    }
    return TCustomControl::event(e);
}

// ---------------------------------------------------------------- TKitCustomPanel

TKitCustomPanel::TKitCustomPanel(QWidget* parent) : TKitCustomControl(parent)
{
    SetParentColor(false);
    SetColor(clBtnFace);
}

TKitCustomControl* TKitCustomPanel::kitParent() const
{
    return qobject_cast<TKitCustomControl*>(parentWidget());
}

bool TKitCustomPanel::IsTransparentCapable() const
{
    TKitCustomControl* p = kitParent();
    return p && Transparent() && p->IsTransparentCapable();
}

TBitmap* TKitCustomPanel::BackgroundBitmap() const
{
    return IsTransparentCapable() ? kitParent()->BackgroundBitmap() : nullptr;
}

TPoint TKitCustomPanel::BackgroundOffset(TPoint p) const
{
    if (!IsTransparentCapable())
        return p;
    const TPoint base = kitParent()->BackgroundOffset(TPoint(Left(), Top()));
    return TPoint(base.X + p.X, base.Y + p.Y);
}

bool TKitCustomPanel::PaintParentBackground(TCanvas* canvas, const TRect& r, TPoint origin)
{
    TBitmap* bitmap = BackgroundBitmap();
    if (IsLoading() || !bitmap || !canvas)
        return false;
    // The origin counts from the outer corner; the client sits inside the
    // window edge.
    if (ClientWidth() != Width())
        origin.X += (Width() - ClientWidth()) / 2;
    if (ClientHeight() != Height())
        origin.Y += (Height() - ClientHeight()) / 2;
    const TPoint q = kitParent()->BackgroundOffset(origin);
    canvas->CopyMode = TCopyMode::cmSrcCopy;
    canvas->CopyRect(r, bitmap->Canvas(), Bounds(q.X, q.Y, r.Width(), r.Height()));
    return true;
}

// ---------------------------------------------------------------- TKitCustomBevelPanel

TKitCustomBevelPanel::TKitCustomBevelPanel(QWidget* parent)
    : TKitCustomPanel(parent), bevel_(std::make_unique<TKitBevel>())
{
    bevel_->WindowedOwner = true;
    bevel_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
    applyWindowParams();
}

TKitCustomBevelPanel::~TKitCustomBevelPanel()
{
    bevel_->OnChange = nullptr;
}

void TKitCustomBevelPanel::SetBevel(const TKitBevel* value)
{
    bevel_->Assign(value);
    KitSendMessage(this, CM_KITBEVELCHANGED);
}

TRect TKitCustomBevelPanel::GetInnerRect() const
{
    return bevel_->ClientRect(ClientRect());
}

void TKitCustomBevelPanel::CreateParams(TKitCreateParams& params) const
{
    TKitCustomPanel::CreateParams(params);
    if (bevel_ && bevel_->Mode() == bmWindows) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TKitCustomBevelPanel::ObjectChanged(TObject* Sender)
{
    if (IsLoading())
        return;
    if (Sender == bevel_.get()) {
        bevel_->WindowedOwner = true;
        if (bevel_->ModeChanged())
            RecreateWnd();
        Realign();
    }
    TKitCustomPanel::ObjectChanged(Sender);
}

bool TKitCustomBevelPanel::HasNoFrame() const
{
    return bevel_->Extent() == 0 && bevel_->Mode() != bmWindows;
}

void TKitCustomBevelPanel::MouseEnter()
{
    if (!Focused() && HotTrack() && !HasFocus())
        DrawHotFrame();
    TKitCustomPanel::MouseEnter();
}

void TKitCustomBevelPanel::DoEnter()
{
    if (!Focused() && HotTrack())
        DrawHotFrame();
    TKitCustomPanel::DoEnter();
}

void TKitCustomBevelPanel::DrawHotFrame()
{
    if (bevel_->Mode() == bmWindows) {
        TKitCustomPanel::DrawHotFrame();
        return;
    }
    if (!framePainting()) {
        Invalidate();
        return;
    }
    bevel_->PaintBevel(Canvas(), ClientRect(), true);
}

void TKitCustomBevelPanel::DrawFlatFrame()
{
    if (Focused() || !HotTrack() || MouseInside())
        return;
    if (bevel_->Mode() == bmWindows) {
        TKitCustomPanel::DrawFlatFrame();
        return;
    }
    if (!framePainting()) {
        Invalidate();
        return;
    }
    const int E = bevel_->Extent(), F = bevel_->FarExtent();
    const int W = Width(), H = Height();
    FillBackgroundRect(TRect(0, 0, W, E));
    FillBackgroundRect(TRect(0, E, E, H));
    FillBackgroundRect(TRect(E, H - F - 1, W, H));
    FillBackgroundRect(TRect(W - F, E, W, H - F));
}

void TKitCustomBevelPanel::Paint()
{
    PaintBackground();
    if (IsDesigning() && HasNoFrame())
        DrawDesignFrame();
    else if (Focused() || !HotTrack() || IsDesigning())
        bevel_->PaintBevel(Canvas(), ClientRect(), Transparent());
    else if (hotFrameWanted())
        DrawHotFrame();
    else
        DrawFlatFrame();
}
