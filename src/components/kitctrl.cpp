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

TKitImageListLink::TKitImageListLink(std::function<void(TObject*)> listChanged) : m_changed(std::move(listChanged))
{
    m_link.OnChange = [this](TObject* sender) {
        if (m_changed)
            m_changed(sender);
    };
}

TKitImageListLink::~TKitImageListLink()
{
    attach(nullptr);
    m_link.OnChange = nullptr;
}

void TKitImageListLink::attach(TKitCustomImageList* list)
{
    if (m_list) {
        QObject::disconnect(m_destroyed);
        // A list in the middle of its own destruction has already let go
        // of every link; only a live one is told.
        if (m_link.Sender() == m_list)
            m_list->RemoveChangeLink(&m_link);
    }
    m_list = list;
    if (m_list) {
        m_list->AddChangeLink(&m_link);
        m_destroyed = QObject::connect(m_list, &QObject::destroyed, [this] {
            m_list = nullptr;
            if (m_changed)
                m_changed(nullptr);
        });
    }
}

void TKitImageListLink::Set(TKitCustomImageList* list)
{
    attach(list);
    if (m_changed)
        m_changed(nullptr);
}

// ---------------------------------------------------------------- TKitBaseControl

TKitBaseControl::TKitBaseControl(QWidget* parent)
    : TGraphicControl(parent), m_imageList([this](TObject* sender) { ListChanged(sender); })
{
}

TKitBaseControl::~TKitBaseControl() = default;

void TKitBaseControl::SetImageList(TKitCustomImageList* list)
{
    m_imageList.Set(list);
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
    if (v == m_transparent)
        return;
    setAttribute(Qt::WA_OpaquePaintEvent, !v);
    m_transparent = v;
    KitSendMessage(this, CM_KITTRANSPARENTCHANGED);
}

void TKitBaseGraphicControl::RepaintNow()
{
    if (m_transparent || IsDesigning())
        Invalidate();
    else
        repaint();
}

bool TKitBaseGraphicControl::UsesParentBackground() const
{
    if (!m_transparent)
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
    : TKitBaseGraphicControl(parent), m_bevel(std::make_unique<TKitBevel>())
{
    m_bevel->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitGraphicControl::~TKitGraphicControl()
{
    m_bevel->OnChange = nullptr;
}

void TKitGraphicControl::SetBevel(const TKitBevel* value)
{
    m_bevel->Assign(value);
    KitSendMessage(this, CM_KITBEVELCHANGED);
}

void TKitGraphicControl::Paint()
{
    if (IsLoading())
        return;
    if (IsEmpty() && m_bevel->Extent() == 0) {
        TKitBaseGraphicControl::Paint();
        return;
    }
    m_bevel->PaintBevel(Canvas(), ClientRect(), Transparent());
}

// ---------------------------------------------------------------- TKitCustomControl

TKitCustomControl::TKitCustomControl(QWidget* parent)
    : TCustomControl(parent), m_imageList([this](TObject* sender) { ListChanged(sender); })
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
    CreateParams(m_params);
    m_windowEdge = (m_params.ExStyle & WS_EX_CLIENTEDGE) ? 2 : (m_params.Style & WS_BORDER) ? 1 : 0;
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    Realign();
    Invalidate();
}

void TKitCustomControl::RecreateWnd()
{
    applyWindowParams();
    ++m_recreateCount;
}

TRect TKitCustomControl::ClientRect() const
{
    return TRect(m_windowEdge, m_windowEdge, std::max(m_windowEdge, Width() - m_windowEdge),
                 std::max(m_windowEdge, Height() - m_windowEdge));
}

void TKitCustomControl::SetTransparent(bool v)
{
    if (v == m_transparent)
        return;
    m_transparent = v;
    RecreateWnd();
}

void TKitCustomControl::SetHotTrack(bool v)
{
    if (v == m_hotTrack)
        return;
    m_hotTrack = v;
    Invalidate();
}

void TKitCustomControl::SetCtl3D(bool v)
{
    if (v == m_ctl3D)
        return;
    m_ctl3D = v;
    // Only a window edge depends on it.
    CreateParams(m_params);
    if (m_params.ExStyle & WS_EX_CLIENTEDGE || m_params.Style & WS_BORDER)
        RecreateWnd();
    else
        Invalidate();
}

void TKitCustomControl::SetImageList(TKitCustomImageList* list)
{
    m_imageList.Set(list);
}

bool TKitCustomControl::UsesParentBackground() const
{
    return m_transparent && IsTransparentCapable();
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
    m_mouseInside = true;
}

void TKitCustomControl::MouseExit()
{
    m_mouseInside = false;
    if (!m_hasFocus)
        DrawFlatFrame();
    if (OnMouseExit)
        OnMouseExit(this);
}

bool TKitCustomControl::hotFrameWanted() const
{
    return m_hotTrack && (m_mouseInside || m_hasFocus);
}

void TKitCustomControl::DrawFlatFrame()
{
    if (Focused() || !m_hotTrack || m_mouseInside)
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
    if (m_ctl3D) {
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
    if (m_ctl3D) {
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
    if (m_windowEdge == 0)
        return;
    QPainter p(this);
    TCanvas c(&p);
    TRect r(0, 0, Width(), Height());
    if (m_windowEdge == 2) {
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
    m_hasFocus = true;
    if (m_hotTrack)
        DrawHotFrame();
}

void TKitCustomControl::DoExit()
{
    m_hasFocus = false;
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
        if (!m_transparent)
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
    : TKitCustomPanel(parent), m_bevel(std::make_unique<TKitBevel>())
{
    m_bevel->WindowedOwner = true;
    m_bevel->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
    applyWindowParams();
}

TKitCustomBevelPanel::~TKitCustomBevelPanel()
{
    m_bevel->OnChange = nullptr;
}

void TKitCustomBevelPanel::SetBevel(const TKitBevel* value)
{
    m_bevel->Assign(value);
    KitSendMessage(this, CM_KITBEVELCHANGED);
}

TRect TKitCustomBevelPanel::GetInnerRect() const
{
    return m_bevel->ClientRect(ClientRect());
}

void TKitCustomBevelPanel::CreateParams(TKitCreateParams& params) const
{
    TKitCustomPanel::CreateParams(params);
    if (m_bevel && m_bevel->Mode() == bmWindows) {
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
    if (Sender == m_bevel.get()) {
        m_bevel->WindowedOwner = true;
        if (m_bevel->ModeChanged())
            RecreateWnd();
        Realign();
    }
    TKitCustomPanel::ObjectChanged(Sender);
}

bool TKitCustomBevelPanel::HasNoFrame() const
{
    return m_bevel->Extent() == 0 && m_bevel->Mode() != bmWindows;
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
    if (m_bevel->Mode() == bmWindows) {
        TKitCustomPanel::DrawHotFrame();
        return;
    }
    if (!framePainting()) {
        Invalidate();
        return;
    }
    m_bevel->PaintBevel(Canvas(), ClientRect(), true);
}

void TKitCustomBevelPanel::DrawFlatFrame()
{
    if (Focused() || !HotTrack() || MouseInside())
        return;
    if (m_bevel->Mode() == bmWindows) {
        TKitCustomPanel::DrawFlatFrame();
        return;
    }
    if (!framePainting()) {
        Invalidate();
        return;
    }
    const int E = m_bevel->Extent(), F = m_bevel->FarExtent();
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
        m_bevel->PaintBevel(Canvas(), ClientRect(), Transparent());
    else if (hotFrameWanted())
        DrawHotFrame();
    else
        DrawFlatFrame();
}
