#include "controls/zonzoff.h"

#include "controls/steelbrush.h"

#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <algorithm>

// ---------------------------------------------------------------- TzcCustomOnOff

TzcCustomOnOff::TzcCustomOnOff(QWidget* parent) : TCustomControl(parent)
{
    SetTabStop(true);
    // The focus is taken by the press rules themselves, not by any click.
    setFocusPolicy(Qt::TabFocus);
    TControl::SetColor(0xFF00FF);
    SetBounds(Left(), Top(), 89, 33);
    RebuildRegions();
}

TzcCustomOnOff::~TzcCustomOnOff() = default;

void TzcCustomOnOff::Loaded()
{
    RebuildRegions();
}

void TzcCustomOnOff::SetSwitchOn(bool v)
{
    if (v == m_switchOn)
        return;
    m_switchOn = v;
    Invalidate();
    if (v) {
        if (OnOn)
            OnOn(this);
    } else if (OnOff) {
        OnOff(this);
    }
}

void TzcCustomOnOff::SetGlyphAlign(TzcOnOffGraphPlacement a)
{
    if (a == m_glyphAlign)
        return;
    m_glyphAlign = a;
    RebuildRegions();
    Invalidate();
}

void TzcCustomOnOff::SetColor(TColor c)
{
    TControl::SetColor(c);
    Invalidate();
}

namespace {
template <class T> void storeIfChanged(T& field, T v, TzcCustomOnOff* self)
{
    if (field == v)
        return;
    field = v;
    self->Invalidate();
}
} // namespace

void TzcCustomOnOff::SetBackColor(TColor c) { storeIfChanged(m_backColor, c, this); }
void TzcCustomOnOff::SetAlignment(TAlignment a) { storeIfChanged(m_alignment, a, this); }
void TzcCustomOnOff::SetHighLightColor(TColor c) { storeIfChanged(m_highLight, c, this); }
void TzcCustomOnOff::SetShadowColor(TColor c) { storeIfChanged(m_shadow, c, this); }
void TzcCustomOnOff::SetShowTextPress(bool v) { storeIfChanged(m_showTextPress, v, this); }
void TzcCustomOnOff::SetUseFocusFrame(bool v) { storeIfChanged(m_useFocusFrame, v, this); }
void TzcCustomOnOff::SetUseFocusBold(bool v) { storeIfChanged(m_useFocusBold, v, this); }
void TzcCustomOnOff::SetMultipleLines(bool v) { m_multipleLines = v; Invalidate(); }
void TzcCustomOnOff::SetWordWrap(bool v) { m_wordWrap = v; Invalidate(); }
void TzcCustomOnOff::SetHorzAlign(zbHorzAlign a) { m_horzAlign = a; Invalidate(); }
void TzcCustomOnOff::SetSteelLook(bool v) { m_steelLook = v; Invalidate(); }

void TzcCustomOnOff::PaintDisabled(TCanvas&) {}
void TzcCustomOnOff::PaintOn(TCanvas&) {}
void TzcCustomOnOff::PaintOff(TCanvas&) {}

knobgeo::HitRegion TzcCustomOnOff::MakeOnRegion()
{
    return knobgeo::HitRegion::rect(TRect(0, 0, Width(), Height() / 2));
}

knobgeo::HitRegion TzcCustomOnOff::MakeOffRegion()
{
    return knobgeo::HitRegion::rect(TRect(0, Height() / 2, Width(), Height()));
}

void TzcCustomOnOff::Resize()
{
    // Alignment can resize without SetBounds; the regions follow.
    RebuildRegions();
    TCustomControl::Resize();
}

void TzcCustomOnOff::RebuildRegions()
{
    m_onRegion = MakeOnRegion();
    m_offRegion = MakeOffRegion();
}

void TzcCustomOnOff::PlaceBox(int boxW, int boxH, bool pushButton)
{
    const auto l = knobgeo::PlaceSwitch(m_glyphAlign, Width(), Height(), boxW, boxH, pushButton);
    m_boxLeft = l.box.X;
    m_boxTop = l.box.Y;
    m_boxWidth = boxW;
    m_boxHeight = boxH;
    m_capLeft = l.caption.Left;
    m_capTop = l.caption.Top;
    m_capWidth = l.caption.Width();
    m_capHeight = l.caption.Height();
}

void TzcCustomOnOff::DrawCaptionBox(TCanvas& c)
{
    TRect r(m_capLeft, m_capTop, m_capLeft + m_capWidth, m_capTop + m_capHeight);
    // Our fonts ink up to the very end of a line: a caption beside the
    // switch picture keeps a few pixels clear of it.
    constexpr int Gap = 4;
    if (m_glyphAlign == zcgp_Right)
        r.Right = std::min(r.Right, m_boxLeft - Gap);
    else if (m_glyphAlign == zcgp_Left)
        r.Left = std::max(r.Left, m_boxLeft + m_boxWidth + Gap);
    DrawCaption(r, c);
}

void TzcCustomOnOff::DrawCaption(TRect r, TCanvas& c)
{
    c.Font = Font();
    c.Font.Style = (Focused() && m_useFocusBold) ? TFontStyles(fsBold) : TFontStyles(0);
    if (Enabled() && m_pressed && m_showTextPress)
        OffsetRect(r, 1, 1);
    c.Brush.Bitmap = nullptr;
    c.Brush.Style = TBrushStyle::bsClear;
    unsigned flags = m_horzAlign == zbHorzAlign::zbha_Top      ? DT_TOP
                     : m_horzAlign == zbHorzAlign::zbha_Bottom ? DT_BOTTOM
                                                               : DT_VCENTER;
    if (!m_multipleLines)
        flags |= DT_SINGLELINE;
    if (m_wordWrap)
        flags |= DT_WORDBREAK;
    if (m_alignment == TAlignment::taRightJustify)
        flags |= DT_RIGHT;
    else if (m_alignment == TAlignment::taCenter)
        flags |= DT_CENTER;
    const QString text = Caption();
    if (Enabled()) {
        c.DrawText(text, r, flags);
    } else {
        // Engraved: a white copy one pixel down and right under a grey one.
        TRect shifted = r;
        OffsetRect(shifted, 1, 1);
        c.Font.Color = clWhite;
        c.DrawText(text, shifted, flags);
        c.Font.Color = clGray;
        c.DrawText(text, r, flags);
    }
    c.Brush.Style = TBrushStyle::bsSolid;
}

void TzcCustomOnOff::Paint()
{
    const bool focused = Focused();
    paint::FaceCache::Key key{m_backColor,   m_steelLook,      Enabled(),       m_switchOn,
                              m_pressed,     focused,          m_useFocusFrame, m_useFocusBold,
                              m_showTextPress, int(m_alignment), int(m_horzAlign), m_multipleLines,
                              m_wordWrap,    m_highLight,      m_shadow,        Color(),
                              int(m_glyphAlign)};
    AddFaceKey(key);
    const TBitmap& face = m_face.Get(this, Width(), Height(), Font(), std::move(key), [&](TCanvas& c) {
        c.Brush.Color = m_backColor;
        if (m_steelLook)
            FillSteel(c, ClientRect());
        else
            c.FillRect(ClientRect());
        if (!Enabled())
            PaintDisabled(c);
        else if (m_switchOn)
            PaintOn(c);
        else
            PaintOff(c);
        if (focused && Enabled() && m_useFocusFrame) {
            c.Brush.Style = TBrushStyle::bsSolid;
            c.DrawFocusRect(ClientRect());
        }
    }, Caption());
    Canvas()->Draw(0, 0, face);
    if (OnPaint)
        OnPaint(this);
}

void TzcCustomOnOff::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled())
        return;
    if (!PtInRect(ClientRect(), TPoint(x, y)))
        return;
    const knobgeo::HitRegion& region = m_switchOn ? m_offRegion : m_onRegion;
    if (!region.contains(x, y))
        return;
    if (!m_pressed) {
        if (CanFocus())
            SetFocus();
        m_pressed = true;
        Repaint();
    }
    m_tracking = true;
}

void TzcCustomOnOff::MouseMove(TShiftState shift, int x, int y)
{
    if (m_tracking) {
        const bool inside = PtInRect(ClientRect(), TPoint(x, y));
        if (inside != m_pressed) {
            m_pressed = inside;
            Repaint();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TzcCustomOnOff::mouseReleaseEvent(QMouseEvent* e)
{
    // The click comes before the release handling, so that a click which
    // ends the tracking leaves nothing for MouseUp to undo.
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton && rect().contains(p))
        Click();
    const TMouseButton b = e->button() == Qt::RightButton    ? TMouseButton::mbRight
                           : e->button() == Qt::MiddleButton ? TMouseButton::mbMiddle
                                                             : TMouseButton::mbLeft;
    MouseUp(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
    e->accept();
}

void TzcCustomOnOff::mouseDoubleClickEvent(QMouseEvent* e)
{
    // A switch knows no double clicks: the second press is a press.
    TCustomControl::mousePressEvent(e);
}

void TzcCustomOnOff::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (m_tracking) {
        m_pressed = false;
        m_tracking = false;
        Repaint();
    }
}

void TzcCustomOnOff::Click()
{
    if (!m_pressed && !m_keyClick)
        return;
    m_keyClick = false;
    m_pressed = false;
    m_tracking = false;
    SetSwitchOn(!m_switchOn);
    TCustomControl::Click();
}

void TzcCustomOnOff::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (key == VK_SPACE) {
        // A held key repeats its key-downs (and on X11 its key-ups too);
        // only the first one presses.
        if (!KeyAutoRepeat() && !m_pressed) {
            if (CanFocus())
                SetFocus();
            m_tracking = false;
            m_pressed = true;
            Repaint();
        }
        key = 0;
        return;
    }
    if (key == VK_RETURN && Focused() && CanFocus()) {
        m_keyClick = true;
        key = 0;
        Click();
        return;
    }
    TCustomControl::KeyDown(key, shift);
}

void TzcCustomOnOff::KeyUp(std::uint16_t& key, TShiftState shift)
{
    if (key == VK_SPACE) {
        if (!KeyAutoRepeat() && m_pressed && !m_tracking) {
            m_pressed = false;
            m_keyClick = true;
            Click();
        }
        key = 0;
        return;
    }
    TCustomControl::KeyUp(key, shift);
}

void TzcCustomOnOff::MouseEnter()
{
    TCustomControl::MouseEnter();
    if (Autofocus && !Focused() && CanFocus())
        SetFocus();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TzcCustomOnOff::MouseLeave()
{
    TCustomControl::MouseLeave();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TzcCustomOnOff::DoEnter()
{
    TCustomControl::DoEnter();
    Invalidate();
}

void TzcCustomOnOff::DoExit()
{
    m_pressed = false;
    m_tracking = false;
    TCustomControl::DoExit();
    Invalidate();
}

void TzcCustomOnOff::CaptionChanged()
{
    if (m_shortcutId)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    const QKeySequence seq = QKeySequence::mnemonic(Caption());
    if (!seq.isEmpty())
        m_shortcutId = grabShortcut(seq);
    Invalidate();
}

bool TzcCustomOnOff::event(QEvent* e)
{
    if (e->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(e);
        if (se->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            // The accelerator clicks without moving the focus.
            if (CanFocus()) {
                m_keyClick = true;
                Click();
            }
            return true;
        }
    }
    return TCustomControl::event(e);
}

// ---------------------------------------------------------------- TzcLightOnOff

TzcLightOnOff::TzcLightOnOff(QWidget* parent) : TzcCustomOnOff(parent)
{
    m_size = 1;
    SetBounds(Left(), Top(), 45, 60);
    CalcGeometry();
    SetColor(clBtnFace);
    m_onColor = 0x00FF00;
    m_offColor = 0x008000;
    SetShowTextPress(false);
}

void TzcLightOnOff::SetSize(TzcOnOffSize s)
{
    s = std::clamp<TzcOnOffSize>(s, 1, 3);
    if (s == m_size)
        return;
    m_size = s;
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TzcLightOnOff::SetOnColor(TColor c)
{
    if (c == m_onColor)
        return;
    m_onColor = c;
    Invalidate();
}

void TzcLightOnOff::SetOffColor(TColor c)
{
    if (c == m_offColor)
        return;
    m_offColor = c;
    Invalidate();
}

void TzcLightOnOff::SetBounds(int left, int top, int width, int height)
{
    width = std::max(width, knobgeo::RockerMinWidth(m_size));
    height = std::max(height, knobgeo::RockerMinHeight(m_size));
    TzcCustomOnOff::SetBounds(left, top, width, height);
    CalcGeometry();
    RebuildRegions();
}

void TzcLightOnOff::CalcGeometry()
{
    m_g = knobgeo::RockerGeometryFor(m_size);
    PlaceBox(m_g.W, m_g.H, false);
}

namespace {
knobgeo::HitRegion offsetPolygon(std::vector<TPoint> pts, int dx, int dy)
{
    for (TPoint& p : pts)
        p = TPoint(p.X + dx, p.Y + dy);
    return knobgeo::HitRegion::polygon(std::move(pts));
}
} // namespace

knobgeo::HitRegion TzcLightOnOff::MakeOnRegion()
{
    CalcGeometry();
    return offsetPolygon(knobgeo::RockerOnRegion(m_g), m_boxLeft, m_boxTop);
}

knobgeo::HitRegion TzcLightOnOff::MakeOffRegion()
{
    CalcGeometry();
    return offsetPolygon(knobgeo::RockerOffRegion(m_g), m_boxLeft, m_boxTop);
}

void TzcLightOnOff::Poly(TCanvas& c, std::initializer_list<TPoint> pts)
{
    std::vector<TPoint> v;
    v.reserve(pts.size());
    for (const TPoint& p : pts)
        v.push_back(At(p.X, p.Y));
    c.Polygon(v);
}

void TzcLightOnOff::DarkEdge(TCanvas& c)
{
    const int W = m_g.W, H = m_g.H, e2 = m_g.e2;
    c.Brush.Color = clBlack;
    if (m_size >= 2)
        Poly(c, {{W - 1, 0}, {W - 1, H - 1}, {e2 - 1, H - 1}, {e2 - 1, H}, {W, H}, {W, 0}});
    else
        Poly(c, {{e2 - 1, H - 1}, {e2 - 1, H}, {W, H}, {W, H - 1}});
}

void TzcLightOnOff::PaintDisabled(TCanvas& c)
{
    CalcGeometry();
    TzcCustomOnOff::PaintDisabled(c);
    const int W = m_g.W, H = m_g.H;
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Color();
    Poly(c, {{0, 0}, {0, H}, {W, H}, {W, 0}});
    c.Pen.Color = HighLightColor();
    c.Polyline({At(0, H), At(0, 0), At(W + 1, 0)});
    c.Pen.Color = ShadowColor();
    c.Polyline({At(W, 1), At(W, H - 1), At(1, H - 1)});
    DrawCaptionBox(c);
}

void TzcLightOnOff::PaintOn(TCanvas& c)
{
    CalcGeometry();
    TzcCustomOnOff::PaintOn(c);
    const auto& g = m_g;
    const int W = g.W, H = g.H, e = g.e, e2 = g.e2, s = g.s, q = g.q, c1 = g.c1, c2 = g.c2;
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = ShadowColor();
    Poly(c, {{W, 0}, {W, H}, {W - e, H - s}, {W - e, H - s - c1}, {W - e2, q}});
    Poly(c, {{e, H - s}, {W - e, H - s}, {W, H}, {e2, H}});
    c.Brush.Color = HighLightColor();
    Poly(c, {{e2, 0}, {W, 0}, {W - e2, q}, {0, q}});
    c.Brush.Color = Color();
    Poly(c, {{0, q}, {W - e2, q}, {W - e, q + c2}, {e, q + c2}});
    Poly(c, {{e, q + c2}, {W - e, q + c2}, {W - e, H - s}, {e, H - s}});
    DarkEdge(c);
    // The lit lamp, low on the lower face.
    c.Pen.Color = m_onColor;
    c.Brush.Color = m_onColor;
    const int k = 3 * m_size;
    const TPoint a = m_size == 1 ? At(e2 + 2 * e - 1, H - 3 * s - 2) : At(e2 + 2 * e, H - 3 * s);
    const TPoint b = At(W - 2 * e2 + 1 + e, H - 2 * s);
    c.RoundRect(a.X, a.Y, b.X, b.Y, k, k);
    c.Pen = TPen();
    DrawCaptionBox(c);
}

void TzcLightOnOff::PaintOff(TCanvas& c)
{
    CalcGeometry();
    TzcCustomOnOff::PaintOff(c);
    const auto& g = m_g;
    const int W = g.W, H = g.H, e = g.e, e2 = g.e2, s = g.s, q = g.q, c1 = g.c1;
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = ShadowColor();
    Poly(c, {{W, 0}, {W, H}, {W - e2, H - q}, {W - e, s + c1}, {W - e, s}});
    Poly(c, {{W, H}, {e2, H}, {0, H - q}, {W - e2, H - q}});
    c.Brush.Color = HighLightColor();
    Poly(c, {{e2, 0}, {W, 0}, {W - e, s}, {e, s}});
    c.Brush.Color = Color();
    Poly(c, {{e, s}, {W - e, s}, {W - e, s + c1}, {e, s + c1}});
    Poly(c, {{e, s + c1}, {W - e, s + c1}, {W - e2, H - q}, {0, H - q}});
    DarkEdge(c);
    // The dark lamp, higher on the slanted face of the raised rocker.
    c.Pen.Color = m_offColor;
    c.Brush.Color = m_offColor;
    const int k = 3 * m_size;
    const TPoint a = m_size == 1 ? At(e2 + e - 1, H - 2 * s - q - 2) : At(e2 + e, H - 2 * s - q);
    const TPoint b = At(W - 2 * e2 + 1, H - s - q);
    c.RoundRect(a.X, a.Y, b.X, b.Y, k, k);
    c.Pen = TPen();
    DrawCaptionBox(c);
}

// ---------------------------------------------------------------- TzcSingleOnOff

TzcSingleOnOff::TzcSingleOnOff(QWidget* parent) : TzcCustomOnOff(parent)
{
    m_knobColor = kcSilver;
    KnobColorToColors(m_knobColor, m_light, m_mid, m_dark);
    m_hideReflex = false;
    m_size = 1;
    SetBounds(Left(), Top(), 40, 55);
    CalcGeometry();
    SetColor(clBtnFace);
    m_use3D = true;
    SetShowTextPress(false);
}

void TzcSingleOnOff::SetSize(TzcOnOffSize2 s)
{
    s = std::clamp<TzcOnOffSize2>(s, 1, 9);
    if (s == m_size)
        return;
    m_size = s;
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TzcSingleOnOff::SetUse3D(bool v)
{
    if (v == m_use3D)
        return;
    m_use3D = v;
    Invalidate();
}

void TzcSingleOnOff::SetHideReflex(bool v)
{
    if (v == m_hideReflex)
        return;
    m_hideReflex = v;
    Invalidate();
}

void TzcSingleOnOff::SetKnobColor(KnobColorType k)
{
    if (k == m_knobColor)
        return;
    m_knobColor = k;
    KnobColorToColors(k, m_light, m_mid, m_dark);
    Invalidate();
}

void TzcSingleOnOff::SetBounds(int left, int top, int width, int height)
{
    const int side = knobgeo::ButtonMinSide(m_size);
    TzcCustomOnOff::SetBounds(left, top, std::max(width, side), std::max(height, side));
    CalcGeometry();
    RebuildRegions();
}

void TzcSingleOnOff::CalcGeometry()
{
    m_g = knobgeo::ButtonGeometryFor(m_size);
    PlaceBox(m_g.A, m_g.A, true);
}

TRect TzcSingleOnOff::AtBox(TRect r) const
{
    OffsetRect(r, m_boxLeft, m_boxTop);
    return r;
}

TRect TzcSingleOnOff::Cap(int shift) const
{
    TRect r = AtBox(knobgeo::ButtonOffRegion(m_g));
    OffsetRect(r, shift, shift);
    return r;
}

knobgeo::HitRegion TzcSingleOnOff::MakeOnRegion()
{
    CalcGeometry();
    return knobgeo::HitRegion::ellipse(AtBox(knobgeo::ButtonOnRegion(m_g)));
}

knobgeo::HitRegion TzcSingleOnOff::MakeOffRegion()
{
    CalcGeometry();
    return knobgeo::HitRegion::ellipse(AtBox(knobgeo::ButtonOffRegion(m_g)));
}

void TzcSingleOnOff::DrawBox(TCanvas& c)
{
    c.Pen = TPen();
    if (!m_use3D)
        return;
    const int A = m_g.A;
    c.Pen.Color = ShadowColor();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = Color();
    c.Polygon({At(0, 0), At(0, A), At(A, A), At(A, 0)});
    c.Pen.Color = HighLightColor();
    c.Polyline({At(1, A), At(1, 1), At(A, 1)});
    c.Pen.Color = clBlack;
    c.Polyline({At(A, 1), At(A, A), At(0, A)});
    c.Pen.Color = ShadowColor();
    c.Polyline({At(2, A - 1), At(A - 1, A - 1), At(A - 1, 2)});
    c.Pen = TPen();
}

void TzcSingleOnOff::PaintDisabled(TCanvas& c)
{
    CalcGeometry();
    TzcCustomOnOff::PaintDisabled(c);
    DrawBox(c);
    c.Pen.Color = ShadowColor();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = ShadowColor();
    c.Ellipse(Cap(0));
    c.Pen = TPen();
    DrawCaptionBox(c);
}

void TzcSingleOnOff::PaintOn(TCanvas& c)
{
    CalcGeometry();
    TzcCustomOnOff::PaintOn(c);
    DrawBox(c);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = m_mid;
    c.Ellipse(Cap(0));
    if (!m_hideReflex)
        DrawKnobReflex(c, m_g.b, Cap(0), m_light, m_dark, 1);
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Ellipse(Cap(0));
    c.Brush.Style = TBrushStyle::bsSolid;
    DrawCaptionBox(c);
}

void TzcSingleOnOff::PaintOff(TCanvas& c)
{
    CalcGeometry();
    TzcCustomOnOff::PaintOff(c);
    DrawBox(c);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = m_mid;
    // The side of the raised cap shows below and to the right of it.
    for (int i = 0; i <= 3; ++i)
        c.Ellipse(Cap(-i));
    if (!m_hideReflex)
        DrawKnobReflex(c, m_g.b, Cap(-3), m_light, m_dark, 0);
    c.Pen = TPen();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Ellipse(Cap(-3));
    c.Brush.Style = TBrushStyle::bsSolid;
    DrawCaptionBox(c);
}
