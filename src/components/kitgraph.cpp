#include "components/kitgraph.h"

#include "components/kitprocs.h"

// ---------------------------------------------------------------- TKitBevel

TKitBevel::TKitBevel() = default;

void TKitBevel::SetStyleInner(TKitBevelStyle v)
{
    if (v == styleInner_)
        return;
    // The shadow style takes both rings; leaving it frees the other one too.
    if (styleInner_ == bvShadow)
        styleOuter_ = bvNone;
    if (v == bvShadow)
        styleOuter_ = bvShadow;
    styleInner_ = v;
    Change();
}

void TKitBevel::SetStyleOuter(TKitBevelStyle v)
{
    if (v == styleOuter_)
        return;
    if (styleOuter_ == bvShadow)
        styleInner_ = bvNone;
    if (v == bvShadow)
        styleInner_ = bvShadow;
    styleOuter_ = v;
    Change();
}

void TKitBevel::SetWidthInner(TKitBevelWidth v)
{
    if (v == widthInner_)
        return;
    widthInner_ = v;
    Change();
}

void TKitBevel::SetWidthOuter(TKitBevelWidth v)
{
    if (v == widthOuter_)
        return;
    widthOuter_ = v;
    Change();
}

void TKitBevel::setColor(int index, TColor v)
{
    if (colors_[index] == v)
        return;
    colors_[index] = v;
    Change();
}

void TKitBevel::SetBorderInnerWidth(TKitBorderWidth v)
{
    if (v == borderInnerWidth_)
        return;
    borderInnerWidth_ = v;
    Change();
}

void TKitBevel::SetBorderWidth(TKitBorderWidth v)
{
    if (v == borderWidth_)
        return;
    borderWidth_ = v;
    Change();
}

void TKitBevel::SetBorderSides(TKitFrameSides v)
{
    if (v == borderSides_)
        return;
    borderSides_ = v;
    Change();
}

void TKitBevel::SetEdgeStyle(TKitEdgeStyle v)
{
    if (v == edgeStyle_)
        return;
    edgeStyle_ = v;
    Change();
}

void TKitBevel::SetMode(TKitBevelMode v)
{
    if (v == mode_)
        return;
    // A windowed owner draws bmWindows as its own window edge, so a switch
    // to or from it needs the window made again.
    if (WindowedOwner && (mode_ == bmWindows || v == bmWindows))
        recreatePending_ = true;
    mode_ = v;
    Change();
}

void TKitBevel::SetStandardStyle(TKitBorderStyle v)
{
    if (v == standardStyle_)
        return;
    standardStyle_ = v;
    if (mode_ == bmStandard)
        Change();
}

int TKitBevel::BevelExtent() const
{
    switch (mode_) {
    case bmCustom: {
        if (styleInner_ == bvShadow)
            return widthInner_ + borderInnerWidth_;
        int e = borderWidth_ + borderInnerWidth_;
        if (styleInner_ == bvNone && styleOuter_ == bvNone)
            return e;
        auto ring = [](TKitBevelStyle s, int w) {
            if (s == bvNone)
                return 0;
            return w + ((s == bvFrameLowered || s == bvFrameRaised) ? 1 : 0);
        };
        return e + ring(styleOuter_, widthOuter_) + ring(styleInner_, widthInner_);
    }
    case bmStandard:
        return BorderStyleWidth(standardStyle_) + borderInnerWidth_;
    case bmEdge:
        return (borderSides_.Empty() ? 0 : 2) + borderInnerWidth_;
    case bmWindows:
        return WindowedOwner ? 0 : borderInnerWidth_ + 2;
    }
    return 0;
}

bool TKitBevel::ModeChanged()
{
    const bool result = recreatePending_ || (mode_ == bmWindows && WindowedOwner);
    recreatePending_ = false;
    return result;
}

TRect TKitBevel::ClientRect(const TRect& r) const
{
    TRect c = r;
    if (mode_ == bmCustom && styleOuter_ == bvShadow) {
        c.Left += widthInner_ + borderInnerWidth_;
        c.Top += widthInner_ + borderInnerWidth_;
        c.Right -= widthInner_ + widthOuter_ + borderInnerWidth_;
        c.Bottom -= widthInner_ + widthOuter_ + borderInnerWidth_;
        return c;
    }
    InflateRect(c, -extent_, -extent_);
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
    if (extent_ == 0 || !canvas)
        return rect;
    TRect r = rect;
    switch (mode_) {
    case bmCustom:
        if (styleOuter_ == bvShadow) {
            DrawShadowBevel(canvas, r, LightColor(), ShadowColor(), BorderColor(), widthOuter_, widthInner_,
                            transparent);
        } else {
            DrawBevel(canvas, r, styleOuter_, LightColor(), ShadowColor(), widthOuter_);
            borderRing(canvas, r, borderWidth_, transparent);
            DrawBevel(canvas, r, styleInner_, LightColor(), ShadowColor(), widthInner_);
        }
        break;
    case bmStandard:
        DrawBorder(canvas, r, standardStyle_, 0);
        break;
    case bmEdge:
        if (!borderSides_.Empty()) {
            static const unsigned edges[] = {BDR_RAISEDINNER, BDR_RAISEDOUTER, BDR_SUNKENINNER, BDR_SUNKENOUTER,
                                             EDGE_BUMP,       EDGE_ETCHED,     EDGE_RAISED,     EDGE_SUNKEN};
            unsigned sides = 0;
            if (borderSides_.Contains(fsLeft))
                sides |= BF_LEFT;
            if (borderSides_.Contains(fsTop))
                sides |= BF_TOP;
            if (borderSides_.Contains(fsRight))
                sides |= BF_RIGHT;
            if (borderSides_.Contains(fsBottom))
                sides |= BF_BOTTOM;
            TRect e = r;
            KitDrawEdge(canvas, e, edges[edgeStyle_], sides);
            InflateRect(r, -2, -2);
        }
        break;
    case bmWindows:
        DrawBorder(canvas, r, lsLoweredExt, 0);
        break;
    }
    borderRing(canvas, r, borderInnerWidth_, transparent);
    return r;
}

void TKitBevel::Change()
{
    extent_ = BevelExtent();
    farExtent_ = (mode_ == bmCustom && styleOuter_ == bvShadow) ? widthInner_ + widthOuter_ + borderInnerWidth_
                                                                 : extent_;
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
    styleInner_ = s->styleInner_;
    styleOuter_ = s->styleOuter_;
    widthInner_ = s->widthInner_;
    widthOuter_ = s->widthOuter_;
    colors_[0] = s->colors_[0];
    colors_[1] = s->colors_[1];
    colors_[2] = s->colors_[2];
    borderSides_ = s->borderSides_;
    borderWidth_ = s->borderWidth_;
    borderInnerWidth_ = s->borderInnerWidth_;
    edgeStyle_ = s->edgeStyle_;
    mode_ = s->mode_;
    standardStyle_ = s->standardStyle_;
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
    if (v == colorCount_)
        return;
    colorCount_ = v;
    Change();
}

void TKitGradient::SetColor(TColor v)
{
    if (v == color_)
        return;
    color_ = v;
    UpdateColors();
    Change();
}

void TKitGradient::SetEndColor(TColor v)
{
    if (v == endColor_)
        return;
    endColor_ = v;
    Change();
}

void TKitGradient::SetPaletteRealize(bool v)
{
    if (v == paletteRealize_)
        return;
    paletteRealize_ = v;
    Change();
}

void TKitGradient::SetStyle(TKitGradientStyle v)
{
    if (v == style_)
        return;
    style_ = v;
    Change();
}

void TKitGradient::UpdateColors()
{
    ClearColors();
    GradientColors(color_, endColor_, colorCount_, &colors_);
    if (paletteRealize_)
        palette_ = GradientPalette(&colors_);
}

void TKitGradient::ClearColors()
{
    palette_.reset();
    colors_.clear();
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
    SetColorCount(s->colorCount_);
    SetColor(s->color_);
    SetStyle(s->style_);
    SetEndColor(s->endColor_);
    SetPaletteRealize(s->paletteRealize_);
    EndUpdate(true);
}

// ---------------------------------------------------------------- captions

TKit3DCaption::TKit3DCaption() = default;

void TKit3DCaption::SetDisabledStyle(TKitDisabledStyle v)
{
    if (v == disabledStyle_)
        return;
    disabledStyle_ = v;
    Change();
}

void TKit3DCaption::setDepth(int index, std::uint8_t v)
{
    if (depths_[index] == v)
        return;
    depths_[index] = v;
    Change();
}

void TKit3DCaption::setColor(int index, TColor v)
{
    if (colors_[index] == v)
        return;
    colors_[index] = v;
    Change();
}

void TKit3DCaption::SetStyle(TKitThreeDStyle v)
{
    if (v == style_)
        return;
    style_ = v;
    Change();
}

void TKit3DCaption::SetTracing(int v)
{
    if (v == tracing_)
        return;
    tracing_ = v;
    Change();
}

void TKit3DCaption::copyCaption(const TKit3DCaption& s)
{
    disabledStyle_ = s.disabledStyle_;
    depths_[0] = s.depths_[0];
    depths_[1] = s.depths_[1];
    colors_[0] = s.colors_[0];
    colors_[1] = s.colors_[1];
    style_ = s.style_;
    tracing_ = s.tracing_;
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
    if (v == angle_)
        return;
    angle_ = v == 360 ? 0 : v;
    Change();
}

void TKitFxCaption::setPos(int index, std::uint16_t v)
{
    if (pos_[index] == v)
        return;
    pos_[index] = v;
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
    pos_[0] = s->pos_[0];
    pos_[1] = s->pos_[1];
    angle_ = s->angle_;
    Change();
}

// ---------------------------------------------------------------- fills

TKitShapeFill::TKitShapeFill()
    : bitmap_(std::make_unique<TBitmap>()), listBitmap_(std::make_unique<TBitmap>()),
      gradient_(std::make_unique<TKitGradient>())
{
    gradient_->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitShapeFill::~TKitShapeFill()
{
    gradient_->OnChange = nullptr;
}

void TKitShapeFill::SetBitmap(const TBitmap* v)
{
    if (v == bitmap_.get())
        return;
    *bitmap_ = v ? *v : TBitmap();
    // The owned picture has no change event of its own; it reports here.
    ObjectChanged(this);
}

void TKitShapeFill::SetGradient(const TKitGradient* v)
{
    if (v)
        gradient_->Assign(v);
}

void TKitShapeFill::SetStyle(TKitFillStyle v)
{
    if (v == style_)
        return;
    style_ = v;
    Change();
}

void TKitShapeFill::SetTileMode(TKitTileMode v)
{
    if (v == tileMode_)
        return;
    tileMode_ = v;
    Change();
}

void TKitShapeFill::SetListBitmap(const TBitmap* v)
{
    if (v == listBitmap_.get())
        return;
    *listBitmap_ = v ? *v : TBitmap();
}

TBitmap* TKitShapeFill::picture() const
{
    return style_ == sfBitmapList ? listBitmap_.get() : bitmap_.get();
}

bool TKitShapeFill::IsEmpty() const
{
    switch (style_) {
    case sfNone:
        return true;
    case sfBitmap:
        return bitmap_->Empty();
    case sfBitmapList:
        return listBitmap_->Empty();
    default:
        return false;
    }
}

bool TKitShapeFill::IsTransparent() const
{
    switch (style_) {
    case sfBrushBitmap:
    case sfBrush:
        return false;
    case sfBitmap:
    case sfBitmapList:
        return tileMode_ != tmTile;
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
    *bitmap_ = *s->bitmap_;
    *listBitmap_ = *s->listBitmap_;
    gradient_->Assign(s->gradient_.get());
    style_ = s->style_;
    tileMode_ = s->tileMode_;
    EndUpdate(true);
}

TKitFillObject::TKitFillObject() : brush_(std::make_unique<TBrush>())
{
    style_ = sfNone;
}

TKitFillObject::~TKitFillObject() = default;

bool TKitFillObject::placementMatters() const
{
    return (style_ == sfBitmap || style_ == sfBitmapList) && tileMode_ == tmNone;
}

void TKitFillObject::SetAlignment(TKitAlignment v)
{
    if (v == alignment_)
        return;
    alignment_ = v;
    if (placementMatters())
        Change();
}

void TKitFillObject::SetOffsetX(int v)
{
    if (v == offsetX_)
        return;
    offsetX_ = v;
    if (placementMatters())
        Change();
}

void TKitFillObject::SetOffsetY(int v)
{
    if (v == offsetY_)
        return;
    offsetY_ = v;
    if (placementMatters())
        Change();
}

void TKitFillObject::SetBrush(const TBrush* v)
{
    if (!v || v == brush_.get())
        return;
    *brush_ = *v;
    // Like the picture, the owned brush reports through the owner.
    ObjectChanged(this);
}

void TKitFillObject::SetOptions(TKitFillOptions v)
{
    if (v == options_)
        return;
    options_ = v;
    Change();
}

void TKitFillObject::innerFill(TCanvas* canvas, const TRect& r, TColor backColor) const
{
    if (!options_.Contains(foFillInner))
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
    switch (style_) {
    case sfNone:
        return false;
    case sfBrushBitmap: {
        // No 8x8 pattern limit here: the whole picture is the pattern.
        struct Restore {
            TCanvas* c;
            ~Restore() { c->Brush.Bitmap = nullptr; }
        } restore{canvas};
        if (!bitmap_->Empty())
            canvas->Brush.Bitmap = bitmap_.get();
        canvas->FillRect(r);
        return true;
    }
    case sfBrush:
        canvas->Brush = *brush_;
        canvas->Pen.Color = backColor;
        if (brush_->Style != TBrushStyle::bsSolid && brush_->Style != TBrushStyle::bsClear && !brush_->Bitmap) {
            // Hatches are drawn over the background colour, as an opaque
            // background mode does.
            canvas->Brush.Style = TBrushStyle::bsSolid;
            canvas->Brush.Color = backColor;
            canvas->FillRect(r);
            canvas->Brush = *brush_;
        }
        canvas->FillRect(r);
        return true;
    case sfGradient: {
        std::uint16_t flags = 0;
        if (options_.Contains(foGrUseBitmap))
            flags |= KIT_DF_VIABITMAP;
        if (gradient_->PaletteRealize())
            flags |= KIT_DF_PALETTE;
        FillGradient(canvas, r, gradient_->Style(), &gradient_->Colors(), gradient_->Palette(), flags, 0);
        return true;
    }
    case sfBitmap:
    case sfBitmapList: {
        TBitmap* pic = picture();
        if (pic->Empty()) {
            innerFill(canvas, r, backColor);
            return false;
        }
        const std::uint16_t flags = options_.Contains(foQuickDraw) ? 0 : KIT_DF_PALETTE;
        switch (tileMode_) {
        case tmNone: {
            innerFill(canvas, r, backColor);
            TRect placed = AlignRect(alignment_, TRect(0, 0, pic->Width(), pic->Height()), r);
            OffsetRect(placed, offsetX_, offsetY_);
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
    *brush_ = *s->brush_;
    options_ = s->options_;
    *bitmap_ = *s->bitmap_;
    *listBitmap_ = *s->listBitmap_;
    gradient_->Assign(s->gradient_.get());
    SetStyle(s->style_);
    SetTileMode(s->tileMode_);
    EndUpdate(true);
}
