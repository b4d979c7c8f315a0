#include "components/kitgraph.h"

#include "components/kitprocs.h"

// ---------------------------------------------------------------- TKitBevel

TKitBevel::TKitBevel() = default;

void TKitBevel::SetStyleInner(TKitBevelStyle v)
{
    if (v == m_styleInner)
        return;
    // The shadow style takes both rings; leaving it frees the other one too.
    if (m_styleInner == bvShadow)
        m_styleOuter = bvNone;
    if (v == bvShadow)
        m_styleOuter = bvShadow;
    m_styleInner = v;
    Change();
}

void TKitBevel::SetStyleOuter(TKitBevelStyle v)
{
    if (v == m_styleOuter)
        return;
    if (m_styleOuter == bvShadow)
        m_styleInner = bvNone;
    if (v == bvShadow)
        m_styleInner = bvShadow;
    m_styleOuter = v;
    Change();
}

void TKitBevel::SetWidthInner(TKitBevelWidth v)
{
    if (v == m_widthInner)
        return;
    m_widthInner = v;
    Change();
}

void TKitBevel::SetWidthOuter(TKitBevelWidth v)
{
    if (v == m_widthOuter)
        return;
    m_widthOuter = v;
    Change();
}

void TKitBevel::setColor(int index, TColor v)
{
    if (m_colors[index] == v)
        return;
    m_colors[index] = v;
    Change();
}

void TKitBevel::SetBorderInnerWidth(TKitBorderWidth v)
{
    if (v == m_borderInnerWidth)
        return;
    m_borderInnerWidth = v;
    Change();
}

void TKitBevel::SetBorderWidth(TKitBorderWidth v)
{
    if (v == m_borderWidth)
        return;
    m_borderWidth = v;
    Change();
}

void TKitBevel::SetBorderSides(TKitFrameSides v)
{
    if (v == m_borderSides)
        return;
    m_borderSides = v;
    Change();
}

void TKitBevel::SetEdgeStyle(TKitEdgeStyle v)
{
    if (v == m_edgeStyle)
        return;
    m_edgeStyle = v;
    Change();
}

void TKitBevel::SetMode(TKitBevelMode v)
{
    if (v == m_mode)
        return;
    // A windowed owner draws bmWindows as its own window edge, so a switch
    // to or from it needs the window made again.
    if (WindowedOwner && (m_mode == bmWindows || v == bmWindows))
        m_recreatePending = true;
    m_mode = v;
    Change();
}

void TKitBevel::SetStandardStyle(TKitBorderStyle v)
{
    if (v == m_standardStyle)
        return;
    m_standardStyle = v;
    if (m_mode == bmStandard)
        Change();
}

int TKitBevel::BevelExtent() const
{
    switch (m_mode) {
    case bmCustom: {
        if (m_styleInner == bvShadow)
            return m_widthInner + m_borderInnerWidth;
        int e = m_borderWidth + m_borderInnerWidth;
        if (m_styleInner == bvNone && m_styleOuter == bvNone)
            return e;
        auto ring = [](TKitBevelStyle s, int w) {
            if (s == bvNone)
                return 0;
            return w + ((s == bvFrameLowered || s == bvFrameRaised) ? 1 : 0);
        };
        return e + ring(m_styleOuter, m_widthOuter) + ring(m_styleInner, m_widthInner);
    }
    case bmStandard:
        return BorderStyleWidth(m_standardStyle) + m_borderInnerWidth;
    case bmEdge:
        return (m_borderSides.Empty() ? 0 : 2) + m_borderInnerWidth;
    case bmWindows:
        return WindowedOwner ? 0 : m_borderInnerWidth + 2;
    }
    return 0;
}

bool TKitBevel::ModeChanged()
{
    const bool result = m_recreatePending || (m_mode == bmWindows && WindowedOwner);
    m_recreatePending = false;
    return result;
}

TRect TKitBevel::ClientRect(const TRect& r) const
{
    TRect c = r;
    if (m_mode == bmCustom && m_styleOuter == bvShadow) {
        c.Left += m_widthInner + m_borderInnerWidth;
        c.Top += m_widthInner + m_borderInnerWidth;
        c.Right -= m_widthInner + m_widthOuter + m_borderInnerWidth;
        c.Bottom -= m_widthInner + m_widthOuter + m_borderInnerWidth;
        return c;
    }
    InflateRect(c, -m_extent, -m_extent);
    return c;
}

void TKitBevel::borderRing(TCanvas* canvas, TRect& r, int n, bool transparent) const
{
    if (n <= 0)
        return;
    if (transparent) {
        InflateRect(r, -n, -n);
        return;
    }
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->Brush.Bitmap = nullptr;
    canvas->Brush.Color = BorderColor();
    for (int i = 0; i < n; ++i) {
        canvas->FrameRect(r);
        InflateRect(r, -1, -1);
    }
}

TRect TKitBevel::PaintBevel(TCanvas* canvas, const TRect& rect, bool transparent) const
{
    if (m_extent == 0 || !canvas)
        return rect;
    TRect r = rect;
    switch (m_mode) {
    case bmCustom:
        if (m_styleOuter == bvShadow) {
            DrawShadowBevel(canvas, r, LightColor(), ShadowColor(), BorderColor(), m_widthOuter, m_widthInner,
                            transparent);
        } else {
            DrawBevel(canvas, r, m_styleOuter, LightColor(), ShadowColor(), m_widthOuter);
            borderRing(canvas, r, m_borderWidth, transparent);
            DrawBevel(canvas, r, m_styleInner, LightColor(), ShadowColor(), m_widthInner);
        }
        break;
    case bmStandard:
        DrawBorder(canvas, r, m_standardStyle, 0);
        break;
    case bmEdge:
        if (!m_borderSides.Empty()) {
            static const unsigned edges[] = {BDR_RAISEDINNER, BDR_RAISEDOUTER, BDR_SUNKENINNER, BDR_SUNKENOUTER,
                                             EDGE_BUMP,       EDGE_ETCHED,     EDGE_RAISED,     EDGE_SUNKEN};
            unsigned sides = 0;
            if (m_borderSides.Contains(fsLeft))
                sides |= BF_LEFT;
            if (m_borderSides.Contains(fsTop))
                sides |= BF_TOP;
            if (m_borderSides.Contains(fsRight))
                sides |= BF_RIGHT;
            if (m_borderSides.Contains(fsBottom))
                sides |= BF_BOTTOM;
            TRect e = r;
            KitDrawEdge(canvas, e, edges[m_edgeStyle], sides);
            InflateRect(r, -2, -2);
        }
        break;
    case bmWindows:
        DrawBorder(canvas, r, lsLoweredExt, 0);
        break;
    }
    borderRing(canvas, r, m_borderInnerWidth, transparent);
    return r;
}

void TKitBevel::Change()
{
    m_extent = BevelExtent();
    m_farExtent = (m_mode == bmCustom && m_styleOuter == bvShadow) ? m_widthInner + m_widthOuter + m_borderInnerWidth
                                                                 : m_extent;
    TKitObject::Change();
}

void TKitBevel::Assign(const QObject* source)
{
    if (source == this)
        return;
    auto s = qobject_cast<const TKitBevel*>(source);
    if (!s) {
        TKitObject::Assign(source);
        return;
    }
    m_styleInner = s->m_styleInner;
    m_styleOuter = s->m_styleOuter;
    m_widthInner = s->m_widthInner;
    m_widthOuter = s->m_widthOuter;
    m_colors[0] = s->m_colors[0];
    m_colors[1] = s->m_colors[1];
    m_colors[2] = s->m_colors[2];
    m_borderSides = s->m_borderSides;
    m_borderWidth = s->m_borderWidth;
    m_borderInnerWidth = s->m_borderInnerWidth;
    m_edgeStyle = s->m_edgeStyle;
    m_mode = s->m_mode;
    m_standardStyle = s->m_standardStyle;
    WindowedOwner = s->WindowedOwner;
    Change();
}

// ---------------------------------------------------------------- TKitGradient

TKitGradient::TKitGradient()
{
    UpdateColors();
}

TKitGradient::~TKitGradient()
{
    ClearColors();
}

void TKitGradient::SetColorCount(TKitColorCount v)
{
    if (v == m_colorCount)
        return;
    m_colorCount = v;
    Change();
}

void TKitGradient::SetColor(TColor v)
{
    if (v == m_color)
        return;
    m_color = v;
    UpdateColors();
    Change();
}

void TKitGradient::SetEndColor(TColor v)
{
    if (v == m_endColor)
        return;
    m_endColor = v;
    Change();
}

void TKitGradient::SetPaletteRealize(bool v)
{
    if (v == m_paletteRealize)
        return;
    m_paletteRealize = v;
    Change();
}

void TKitGradient::SetStyle(TKitGradientStyle v)
{
    if (v == m_style)
        return;
    m_style = v;
    Change();
}

void TKitGradient::UpdateColors()
{
    ClearColors();
    GradientColors(m_color, m_endColor, m_colorCount, &m_colors);
    if (m_paletteRealize)
        m_palette = GradientPalette(&m_colors);
}

void TKitGradient::ClearColors()
{
    m_palette.reset();
    m_colors.clear();
}

void TKitGradient::ApplyPalette(TCanvas* /*canvas*/) const
{
    // True-colour displays realize nothing: the palette's entries are the
    // gradient's own RGB values already.
}

void TKitGradient::Change()
{
    UpdateColors();
    TKitObject::Change();
}

void TKitGradient::Assign(const QObject* source)
{
    if (source == this)
        return;
    auto s = qobject_cast<const TKitGradient*>(source);
    if (!s) {
        TKitObject::Assign(source);
        return;
    }
    BeginUpdate();
    SetColorCount(s->m_colorCount);
    SetColor(s->m_color);
    SetStyle(s->m_style);
    SetEndColor(s->m_endColor);
    SetPaletteRealize(s->m_paletteRealize);
    EndUpdate(true);
}

// ---------------------------------------------------------------- captions

TKit3DCaption::TKit3DCaption() = default;

void TKit3DCaption::SetDisabledStyle(TKitDisabledStyle v)
{
    if (v == m_disabledStyle)
        return;
    m_disabledStyle = v;
    Change();
}

void TKit3DCaption::setDepth(int index, std::uint8_t v)
{
    if (m_depths[index] == v)
        return;
    m_depths[index] = v;
    Change();
}

void TKit3DCaption::setColor(int index, TColor v)
{
    if (m_colors[index] == v)
        return;
    m_colors[index] = v;
    Change();
}

void TKit3DCaption::SetStyle(TKitThreeDStyle v)
{
    if (v == m_style)
        return;
    m_style = v;
    Change();
}

void TKit3DCaption::SetTracing(int v)
{
    if (v == m_tracing)
        return;
    m_tracing = v;
    Change();
}

void TKit3DCaption::copyCaption(const TKit3DCaption& s)
{
    m_disabledStyle = s.m_disabledStyle;
    m_depths[0] = s.m_depths[0];
    m_depths[1] = s.m_depths[1];
    m_colors[0] = s.m_colors[0];
    m_colors[1] = s.m_colors[1];
    m_style = s.m_style;
    m_tracing = s.m_tracing;
}

void TKit3DCaption::Assign(const QObject* source)
{
    if (source == this)
        return;
    auto s = qobject_cast<const TKit3DCaption*>(source);
    if (!s) {
        TKitObject::Assign(source);
        return;
    }
    copyCaption(*s);
    Change();
}

void TKitFxCaption::SetAngle(TKitAngle v)
{
    if (v == m_angle)
        return;
    m_angle = v == 360 ? 0 : v;
    Change();
}

void TKitFxCaption::setPos(int index, std::uint16_t v)
{
    if (m_pos[index] == v)
        return;
    m_pos[index] = v;
    Change();
}

void TKitFxCaption::SetPos(std::uint16_t x, std::uint16_t y)
{
    BeginUpdate();
    SetPosX(x);
    SetPosY(y);
    EndUpdate(false);
}

void TKitFxCaption::Assign(const QObject* source)
{
    if (source == this)
        return;
    auto s = qobject_cast<const TKitFxCaption*>(source);
    if (!s) {
        TKit3DCaption::Assign(source);
        return;
    }
    copyCaption(*s);
    m_pos[0] = s->m_pos[0];
    m_pos[1] = s->m_pos[1];
    m_angle = s->m_angle;
    Change();
}

// ---------------------------------------------------------------- fills

TKitShapeFill::TKitShapeFill()
    : m_bitmap(std::make_unique<TBitmap>()), m_listBitmap(std::make_unique<TBitmap>()),
      m_gradient(std::make_unique<TKitGradient>())
{
    m_gradient->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitShapeFill::~TKitShapeFill()
{
    m_gradient->OnChange = nullptr;
}

void TKitShapeFill::SetBitmap(const TBitmap* v)
{
    if (v == m_bitmap.get())
        return;
    *m_bitmap = v ? *v : TBitmap();
    // The owned picture has no change event of its own; it reports here.
    ObjectChanged(this);
}

void TKitShapeFill::SetGradient(const TKitGradient* v)
{
    if (v)
        m_gradient->Assign(v);
}

void TKitShapeFill::SetStyle(TKitFillStyle v)
{
    if (v == m_style)
        return;
    m_style = v;
    Change();
}

void TKitShapeFill::SetTileMode(TKitTileMode v)
{
    if (v == m_tileMode)
        return;
    m_tileMode = v;
    Change();
}

void TKitShapeFill::SetListBitmap(const TBitmap* v)
{
    if (v == m_listBitmap.get())
        return;
    *m_listBitmap = v ? *v : TBitmap();
}

TBitmap* TKitShapeFill::picture() const
{
    return m_style == sfBitmapList ? m_listBitmap.get() : m_bitmap.get();
}

bool TKitShapeFill::IsEmpty() const
{
    switch (m_style) {
    case sfNone:
        return true;
    case sfBitmap:
        return m_bitmap->Empty();
    case sfBitmapList:
        return m_listBitmap->Empty();
    default:
        return false;
    }
}

bool TKitShapeFill::IsTransparent() const
{
    switch (m_style) {
    case sfBrushBitmap:
    case sfBrush:
        return false;
    case sfBitmap:
    case sfBitmapList:
        return m_tileMode != tmTile;
    default:
        return true;
    }
}

void TKitShapeFill::Assign(const QObject* source)
{
    if (source == this)
        return;
    auto s = qobject_cast<const TKitShapeFill*>(source);
    if (!s) {
        TKitObject::Assign(source);
        return;
    }
    BeginUpdate();
    *m_bitmap = *s->m_bitmap;
    *m_listBitmap = *s->m_listBitmap;
    m_gradient->Assign(s->m_gradient.get());
    m_style = s->m_style;
    m_tileMode = s->m_tileMode;
    EndUpdate(true);
}

TKitFillObject::TKitFillObject() : m_brush(std::make_unique<TBrush>())
{
    m_style = sfNone;
}

TKitFillObject::~TKitFillObject() = default;

bool TKitFillObject::placementMatters() const
{
    return (m_style == sfBitmap || m_style == sfBitmapList) && m_tileMode == tmNone;
}

void TKitFillObject::SetAlignment(TKitAlignment v)
{
    if (v == m_alignment)
        return;
    m_alignment = v;
    if (placementMatters())
        Change();
}

void TKitFillObject::SetOffsetX(int v)
{
    if (v == m_offsetX)
        return;
    m_offsetX = v;
    if (placementMatters())
        Change();
}

void TKitFillObject::SetOffsetY(int v)
{
    if (v == m_offsetY)
        return;
    m_offsetY = v;
    if (placementMatters())
        Change();
}

void TKitFillObject::SetBrush(const TBrush* v)
{
    if (!v || v == m_brush.get())
        return;
    *m_brush = *v;
    // Like the picture, the owned brush reports through the owner.
    ObjectChanged(this);
}

void TKitFillObject::SetOptions(TKitFillOptions v)
{
    if (v == m_options)
        return;
    m_options = v;
    Change();
}

void TKitFillObject::innerFill(TCanvas* canvas, const TRect& r, TColor backColor) const
{
    if (!m_options.Contains(foFillInner))
        return;
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->Brush.Bitmap = nullptr;
    canvas->Brush.Color = backColor;
    canvas->FillRect(r);
}

bool TKitFillObject::Fill(TCanvas* canvas, const TRect& r, TColor backColor) const
{
    if (!canvas)
        return false;
    switch (m_style) {
    case sfNone:
        return false;
    case sfBrushBitmap: {
        // No 8x8 pattern limit here: the whole picture is the pattern.
        struct Restore {
            TCanvas* c;
            ~Restore() { c->Brush.Bitmap = nullptr; }
        } restore{canvas};
        if (!m_bitmap->Empty())
            canvas->Brush.Bitmap = m_bitmap.get();
        canvas->FillRect(r);
        return true;
    }
    case sfBrush:
        canvas->Brush = *m_brush;
        canvas->Pen.Color = backColor;
        if (m_brush->Style != TBrushStyle::bsSolid && m_brush->Style != TBrushStyle::bsClear && !m_brush->Bitmap) {
            // Hatches are drawn over the background colour, as an opaque
            // background mode does.
            canvas->Brush.Style = TBrushStyle::bsSolid;
            canvas->Brush.Color = backColor;
            canvas->FillRect(r);
            canvas->Brush = *m_brush;
        }
        canvas->FillRect(r);
        return true;
    case sfGradient: {
        std::uint16_t flags = 0;
        if (m_options.Contains(foGrUseBitmap))
            flags |= KIT_DF_VIABITMAP;
        if (m_gradient->PaletteRealize())
            flags |= KIT_DF_PALETTE;
        FillGradient(canvas, r, m_gradient->Style(), &m_gradient->Colors(), m_gradient->Palette(), flags, 0);
        return true;
    }
    case sfBitmap:
    case sfBitmapList: {
        TBitmap* pic = picture();
        if (pic->Empty()) {
            innerFill(canvas, r, backColor);
            return false;
        }
        const std::uint16_t flags = m_options.Contains(foQuickDraw) ? 0 : KIT_DF_PALETTE;
        switch (m_tileMode) {
        case tmNone: {
            innerFill(canvas, r, backColor);
            TRect placed = AlignRect(m_alignment, TRect(0, 0, pic->Width(), pic->Height()), r);
            OffsetRect(placed, m_offsetX, m_offsetY);
            DrawBitmapInRect(canvas, placed, pic, flags, 0);
            break;
        }
        case tmCenter:
            innerFill(canvas, r, backColor);
            DrawBitmapInRect(canvas, r, pic, flags | KIT_DF_CENTER, 0);
            break;
        case tmStretch:
            DrawBitmapInRect(canvas, r, pic, flags | KIT_DF_STRETCH, 0);
            break;
        case tmTile:
            DrawBitmapInRect(canvas, r, pic, flags | KIT_DF_TILE, 0);
            break;
        }
        return true;
    }
    }
    return false;
}

void TKitFillObject::Assign(const QObject* source)
{
    if (source == this)
        return;
    auto s = qobject_cast<const TKitFillObject*>(source);
    if (!s) {
        TKitShapeFill::Assign(source);
        return;
    }
    BeginUpdate();
    *m_brush = *s->m_brush;
    m_options = s->m_options;
    *m_bitmap = *s->m_bitmap;
    *m_listBitmap = *s->m_listBitmap;
    m_gradient->Assign(s->m_gradient.get());
    SetStyle(s->m_style);
    SetTileMode(s->m_tileMode);
    EndUpdate(true);
}
