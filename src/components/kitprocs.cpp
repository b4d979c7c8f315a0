#include "components/kitprocs.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/kitutils.h"

namespace {

// Removes whatever clip a procedure selected when it leaves, also when
// drawing throws, so the canvas never keeps a stale clip.
class ClipGuard {
public:
    ClipGuard(TCanvas* canvas, bool active, const TRect& r, std::uint32_t offset) : m_canvas(active ? canvas : nullptr)
    {
        if (!m_canvas)
            return;
        TRect c = r;
        const int dx = int(offset & 0xFFFF);
        const int dy = int(offset >> 16);
        OffsetRect(c, dx, dy);
        m_canvas->ClipRect(c);
    }
    ~ClipGuard()
    {
        if (m_canvas)
            m_canvas->ResetClip();
    }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

private:
    TCanvas* m_canvas;
};

TRect normalized(int l, int t, int r, int b)
{
    return TRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b));
}

void fillStrip(TCanvas* canvas, int l, int t, int r, int b, TColor color)
{
    if (r <= l || b <= t)
        return;
    canvas->Brush.Color = color;
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->Brush.Bitmap = nullptr;
    canvas->FillRect(TRect(l, t, r, b));
}

// Light (top-left) and dark (bottom-right) colours of one edge ring.
void ringColors(unsigned ring, bool soft, TColor& tl, TColor& br)
{
    switch (ring) {
    case BDR_RAISEDOUTER:
        tl = soft ? clBtnHighlight : cl3DLight;
        br = cl3DDkShadow;
        break;
    case BDR_SUNKENOUTER:
        tl = soft ? cl3DDkShadow : clBtnShadow;
        br = clBtnHighlight;
        break;
    case BDR_RAISEDINNER:
        tl = soft ? cl3DLight : clBtnHighlight;
        br = clBtnShadow;
        break;
    default: // BDR_SUNKENINNER
        tl = soft ? clBtnShadow : cl3DDkShadow;
        br = cl3DLight;
        break;
    }
}

} // namespace

// ---------------------------------------------------------------- bevels

bool DrawBevel(TCanvas* canvas, TRect& r, TKitBevelStyle style, TColor light, TColor shadow, int n)
{
    if (n <= 0 || style == bvNone || style == bvShadow)
        return false;
    TColor a = clBlack; // bottom and right
    TColor b = clBlack; // top and left
    if (style == bvLowered || style == bvFrameLowered) {
        a = light;
        b = shadow;
    } else if (style == bvRaised || style == bvFrameRaised) {
        a = shadow;
        b = light;
    }
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    if (style == bvFrameLowered || style == bvFrameRaised) {
        canvas->Brush.Style = TBrushStyle::bsSolid;
        canvas->Brush.Bitmap = nullptr;
        for (int i = 0; i < n; ++i) {
            canvas->Brush.Color = a;
            canvas->FrameRect(TRect(L + i + 1, T + i + 1, R, B));
            canvas->Brush.Color = b;
            canvas->FrameRect(TRect(L, T, R - i - 1, B - i - 1));
        }
        r = TRect(L + n + 1, T + n + 1, R - n - 1, B - n - 1);
        return true;
    }
    if (n == 1) {
        canvas->Pen.Style = TPenStyle::psSolid;
        canvas->Pen.Width = 1;
        canvas->Pen.Color = b;
        canvas->Polyline({TPoint(L, B - 1), TPoint(L, T), TPoint(R - 1, T)});
        canvas->Pen.Color = a;
        canvas->Polyline({TPoint(R - 1, T), TPoint(R - 1, B - 1), TPoint(L, B - 1)});
        r = TRect(L + 1, T + 1, R - 1, B - 1);
        return true;
    }
    const int B1 = B - 1;
    const TRect I(L + n, T + n, R - n, B1 - n);
    canvas->Pen.Style = TPenStyle::psClear;
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->Brush.Bitmap = nullptr;
    canvas->Brush.Color = a;
    canvas->Polygon({TPoint(L, B), TPoint(I.Left, I.Bottom), TPoint(I.Right, I.Bottom), TPoint(I.Right, I.Top),
                     TPoint(R, T), TPoint(R, B)});
    canvas->Brush.Color = b;
    canvas->Polygon({TPoint(L, B1), TPoint(I.Left, I.Bottom), TPoint(I.Left, I.Top), TPoint(I.Right - 1, I.Top),
                     TPoint(R - 1, T), TPoint(L, T)});
    r = TRect(L + n, T + n, R - n, B - n);
    return true;
}

bool DrawShadowBevel(TCanvas* canvas, TRect& r, TColor frameColor, TColor shadowColor, TColor notchColor, int s,
                     int f, bool transparent)
{
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    canvas->Brush.Style = TBrushStyle::bsSolid;
    canvas->Brush.Bitmap = nullptr;
    canvas->Pen.Style = TPenStyle::psClear;
    canvas->Brush.Color = shadowColor;
    canvas->FillRect(TRect(R - s, T + s, R, B));
    canvas->FillRect(TRect(L + s, B - s, R, B));
    if (!transparent) {
        canvas->Brush.Color = notchColor;
        canvas->FillRect(TRect(R - s, T, R, T + s));
        canvas->FillRect(TRect(L, B - s, L + s, B));
    }
    r = TRect(L, T, R - s, B - s);
    canvas->Brush.Color = frameColor;
    for (int i = 0; i < f; ++i) {
        canvas->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    canvas->Pen.Width = 1;
    return true;
}

int BorderStyleWidth(TKitBorderStyle style)
{
    switch (style) {
    case lsNone:
        return 0;
    case lsSingle:
    case lsSingleRaised:
    case lsSingleLowered:
        return 1;
    default:
        return 2;
    }
}

void KitDrawEdge(TCanvas* canvas, TRect& r, unsigned edge, unsigned flags)
{
    TRect cur = r;
    const bool soft = (flags & BF_SOFT) != 0;
    const unsigned rings[2][2] = {{BDR_RAISEDOUTER, BDR_SUNKENOUTER}, {BDR_RAISEDINNER, BDR_SUNKENINNER}};
    for (const auto& pair : rings) {
        unsigned ring = 0;
        if (edge & pair[0])
            ring = pair[0];
        else if (edge & pair[1])
            ring = pair[1];
        if (!ring)
            continue;
        TColor tl, br;
        ringColors(ring, soft, tl, br);
        const int L = cur.Left, T = cur.Top, R = cur.Right, B = cur.Bottom;
        if (flags & BF_TOP)
            fillStrip(canvas, L, T, R, T + 1, tl);
        if (flags & BF_LEFT)
            fillStrip(canvas, L, T, L + 1, B, tl);
        if (flags & BF_BOTTOM)
            fillStrip(canvas, L, B - 1, R, B, br);
        if (flags & BF_RIGHT)
            fillStrip(canvas, R - 1, T, R, B, br);
        if (flags & BF_LEFT)
            ++cur.Left;
        if (flags & BF_TOP)
            ++cur.Top;
        if (flags & BF_RIGHT)
            --cur.Right;
        if (flags & BF_BOTTOM)
            --cur.Bottom;
    }
    if (flags & BF_ADJUST)
        r = cur;
}

bool DrawBorder(TCanvas* canvas, TRect& r, TKitBorderStyle style, unsigned extra)
{
    const unsigned F = extra | BF_ADJUST;
    auto edge = [&](unsigned e, unsigned f) { KitDrawEdge(canvas, r, e, f); };
    switch (style) {
    case lsNone:
        break;
    case lsSingle:
        edge(BDR_SUNKENOUTER, F | BF_SOFT | BF_TOPLEFT);
        edge(BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        break;
    case lsLowered:
        edge(EDGE_SUNKEN, F | BF_SOFT | BF_RECT);
        break;
    case lsRaised:
        edge(EDGE_RAISED, F | BF_SOFT | BF_RECT);
        break;
    case lsRaisedspb:
    case lsRaisedExt:
        edge(BDR_RAISEDOUTER, F | BF_SOFT | BF_RECT);
        edge(BDR_RAISEDINNER, BF_ADJUST | BF_BOTTOMRIGHT);
        if (style == lsRaisedExt) {
            ++r.Left;
            ++r.Top;
        }
        break;
    case lsLoweredspb:
        edge(BDR_SUNKENOUTER, F | BF_RECT);
        edge(BDR_SUNKENINNER, F | BF_TOPLEFT);
        break;
    case lsLoweredExt:
        edge(BDR_SUNKENOUTER, F | BF_RECT);
        edge(BDR_SUNKENINNER, BF_ADJUST | BF_TOPLEFT);
        --r.Right;
        --r.Bottom;
        break;
    case lsFrameInset:
        edge(EDGE_ETCHED, F | BF_RECT);
        break;
    case lsFrameOffset:
        edge(BDR_RAISEDINNER, F | BF_RECT);
        edge(BDR_SUNKENOUTER, F | BF_RECT);
        break;
    case lsWindowBorder:
        edge(BDR_RAISEDOUTER, F | BF_BOTTOMRIGHT);
        ++r.Left;
        ++r.Top;
        edge(BDR_RAISEDINNER, F | BF_RECT);
        break;
    case lsSingleRaised:
        edge(BDR_RAISEDINNER, F | BF_RECT);
        break;
    case lsSingleLowered:
        edge(BDR_SUNKENOUTER, F | BF_RECT);
        break;
    case lsDoubleRaised:
        edge(BDR_RAISEDINNER, F | BF_RECT);
        edge(BDR_RAISEDINNER, F | BF_RECT);
        break;
    case lsDoubleLowered:
        edge(BDR_SUNKENOUTER, F | BF_RECT);
        edge(BDR_SUNKENOUTER, F | BF_RECT);
        break;
    }
    return true;
}

// ---------------------------------------------------------------- gradients

void GradientColors(TColor start, TColor end, std::uint8_t count, TKitColorList* list)
{
    if (!list || count == 0)
        return;
    list->clear();
    const TColor s = ColorToRGB(start);
    const TColor e = ColorToRGB(end);
    // One colour would divide by zero; it is simply the start colour.
    if (count == 1) {
        list->push_back(s);
        return;
    }
    const int n1 = count - 1;
    for (int i = 0; i < count; ++i) {
        const int r = GetRValue(s) + MulDiv(i, GetRValue(e) - GetRValue(s), n1);
        const int g = GetGValue(s) + MulDiv(i, GetGValue(e) - GetGValue(s), n1);
        const int b = GetBValue(s) + MulDiv(i, GetBValue(e) - GetBValue(s), n1);
        list->push_back(RGB(r, g, b));
    }
}

TKitPaletteHandle GradientPalette(const TKitColorList* list)
{
    if (!list || list->empty())
        return nullptr;
    auto palette = std::make_shared<TKitPalette>();
    palette->Entries = *list;
    return palette;
}

std::vector<TKitGradientStep> GradientSteps(TKitGradientStyle style, int W, int H, int n)
{
    std::vector<TKitGradientStep> steps;
    if (n <= 0 || W <= 0 || H <= 0)
        return steps;
    TRect S;
    switch (style) {
    case gstHorizontal:
    case gstVertical:
        S = TRect(0, 0, W, H);
        break;
    case gstSquare:
    case gstElliptic:
        S = TRect(W / 2, H / 2, W / 2, H / 2);
        break;
    case gstTopLeft:
        S = TRect(0, 0, 1, 1);
        break;
    case gstTopRight:
        S = TRect(W, 1, W + 1, 0);
        break;
    case gstBottomLeft:
        S = TRect(1, H, 0, H + 1);
        break;
    case gstBottomRight:
        S = TRect(W, H, W + 1, H + 1);
        break;
    }
    steps.reserve(std::size_t(n));
    if (style == gstHorizontal) {
        for (int i = 0; i < n; ++i)
            steps.push_back({TRect(S.Left + MulDiv(i, W, n), S.Top, S.Left + MulDiv(i + 1, W, n), S.Bottom), i});
        return steps;
    }
    for (int i = n - 1; i >= 0; --i) {
        const int a = MulDiv(i + 1, W, n);
        const int b = MulDiv(i + 1, H, n);
        TKitGradientStep st;
        st.ColorIndex = i;
        st.Framed = true;
        switch (style) {
        case gstVertical:
            st.Shape = TRect(S.Left, S.Top + MulDiv(i, H, n), S.Right, S.Top + MulDiv(i + 1, H, n));
            st.Framed = false;
            break;
        case gstSquare:
            st.Shape = normalized(S.Left - a / 2, S.Top - b / 2, S.Left + a / 2 + 2, S.Top + b / 2 + 2);
            break;
        case gstElliptic: {
            const int a1 = Round(a / 1.4);
            const int b1 = Round(b / 1.4);
            st.Shape = normalized(S.Left - a1, S.Top - b1, S.Left + a1, S.Top + b1);
            st.Ellipse = true;
            break;
        }
        case gstTopLeft:
            st.Shape = normalized(S.Left, S.Top, S.Right + a, S.Bottom + b);
            break;
        case gstTopRight:
            st.Shape = normalized(S.Left - a, S.Top + b, S.Right, S.Bottom);
            break;
        case gstBottomLeft:
            st.Shape = normalized(S.Left + a, S.Top - b, S.Right, S.Bottom);
            break;
        default: // gstBottomRight
            st.Shape = normalized(S.Left - a, S.Top - b, S.Right, S.Bottom);
            break;
        }
        steps.push_back(st);
    }
    return steps;
}

void FillGradient(TCanvas* canvas, const TRect& r, TKitGradientStyle style, const TKitColorList* list,
                  const TKitPaletteHandle& /*palette*/, std::uint16_t flags, std::uint32_t clipOffset)
{
    if (!canvas || !list || list->empty() || r.IsEmpty())
        return;
    const int n = int(list->size());
    const int W = r.Width(), H = r.Height();
    // Displays here are true-colour: a realized palette maps every entry to
    // its own RGB value, so selecting one changes no pixel.
    const bool viaBitmap = (flags & KIT_DF_VIABITMAP) != 0;

    std::unique_ptr<TBitmap> temp;
    TCanvas* target = canvas;
    int dx = r.Left, dy = r.Top;
    if (viaBitmap) {
        temp = std::make_unique<TBitmap>(W, H);
        target = &temp->Canvas();
        dx = dy = 0;
    }
    ClipGuard clip(canvas, !viaBitmap && (flags & KIT_DF_CLIP), r, clipOffset);

    target->Brush.Style = TBrushStyle::bsSolid;
    target->Brush.Bitmap = nullptr;
    target->Pen.Style = TPenStyle::psClear;
    for (const TKitGradientStep& st : GradientSteps(style, W, H, n)) {
        target->Brush.Color = (*list)[std::size_t(st.ColorIndex)];
        TRect s = st.Shape;
        OffsetRect(s, dx, dy);
        if (st.Ellipse)
            target->Ellipse(s);
        else if (st.Framed)
            target->Rectangle(s);
        else
            target->FillRect(s);
    }
    if (viaBitmap)
        canvas->Draw(r.Left, r.Top, *temp);
}

// ---------------------------------------------------------------- placement

TRect AlignRect(TKitAlignment alignment, const TRect& source, const TRect& destination)
{
    int sw, sh, dw, dh;
    RectSize(source, sw, sh);
    RectSize(destination, dw, dh);
    int x = 0, y = 0;
    switch (alignment) {
    case agTopCenter:
    case agCenter:
    case agBottomCenter:
        x = (dw - sw) / 2;
        break;
    case agTopRight:
    case agCenterRight:
    case agBottomRight:
        x = dw - sw;
        break;
    default:
        break;
    }
    switch (alignment) {
    case agCenterLeft:
    case agCenter:
    case agCenterRight:
        y = (dh - sh) / 2;
        break;
    case agBottomLeft:
    case agBottomCenter:
    case agBottomRight:
        y = dh - sh;
        break;
    default:
        break;
    }
    return Bounds(destination.Left + x, destination.Top + y, sw, sh);
}

// ---------------------------------------------------------------- text

namespace {

int qtTextFlags(unsigned format)
{
    int f = 0;
    if (format & DT_CENTER)
        f |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        f |= Qt::AlignRight;
    else
        f |= Qt::AlignLeft;
    if (format & DT_SINGLELINE) {
        f |= Qt::TextSingleLine;
        if (format & DT_VCENTER)
            f |= Qt::AlignVCenter;
        else if (format & DT_BOTTOM)
            f |= Qt::AlignBottom;
        else
            f |= Qt::AlignTop;
    } else {
        f |= Qt::AlignTop;
    }
    if (format & DT_WORDBREAK)
        f |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS)
        f |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX))
        f |= Qt::TextShowMnemonic;
    return f;
}

QFont spacedFont(const TFont& font, int spacing)
{
    QFont f = font.ToQFont();
    if (spacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

int rotationMode(const TKit3DCaption* caption)
{
    auto fx = dynamic_cast<const TKitFxCaption*>(caption);
    if (!fx)
        return 0;
    return fx->Angle() == 0 ? 1 : 2;
}

// Depth that an effect style adds to the text's right and bottom.
int effectGrowth(const TKit3DCaption* c, TKitThreeDStyle style)
{
    switch (style) {
    case tdSunken:
    case tdRaised:
        return c->LightDepth();
    case tdSunkenShadow:
    case tdRaisedShadow:
    case tdPColorSunken:
    case tdPColorRaised:
        return c->LightDepth() + c->ShadowDepth();
    case tdShadow:
        return c->ShadowDepth();
    default:
        return 0;
    }
}

} // namespace

int KitDrawText(TCanvas* canvas, const QString& text, TRect& r, unsigned format, int spacing)
{
    if (spacing == 0)
        return canvas->DrawText(text, r, format);
    // Extra space between characters is a font property here.
    const QFont font = spacedFont(canvas->Font, spacing);
    const QString shown = canvas->Font.DisplayText(text);
    const int flags = qtTextFlags(format);
    QFontMetrics fm(font);
    if (format & DT_CALCRECT) {
        const QRect b = fm.boundingRect((format & DT_WORDBREAK) ? r.q() : QRect(r.Left, r.Top, 100000, 100000),
                                        flags, shown);
        r.Right = r.Left + b.width();
        r.Bottom = r.Top + b.height();
        return b.height();
    }
    QPainter* p = canvas->Painter();
    if (!p)
        return 0;
    p->save();
    p->setFont(font);
    p->setPen(ToQColor(canvas->Font.Color));
    QRect br;
    p->drawText(r.q(), flags, shown, &br);
    p->restore();
    return br.height();
}

void DrawFxText(TCanvas* canvas, const QString& text, TKit3DCaption* caption, const TRect& r, unsigned format,
                unsigned effects, const TRect* clipRect)
{
    if (!canvas || text.isEmpty() || r.IsEmpty())
        return;
    if (!caption) {
        TRect t = r;
        KitDrawText(canvas, text, t, format);
        return;
    }
    const int mode = rotationMode(caption);
    ClipGuard clip(canvas, (effects & KIT_FX_CLIP) != 0, clipRect ? *clipRect : r, 0);

    TKitThreeDStyle style = caption->Style();
    TColor face;
    if ((effects & KIT_FX_ENABLED) || caption->DisabledStyle() == dsNone) {
        face = (style == tdPColorSunken || style == tdPColorRaised) ? canvas->Brush.Color : canvas->Font.Color;
    } else {
        face = clGrayText;
        if (caption->DisabledStyle() == ds3d
            || (caption->DisabledStyle() == dsAuto && (effects & KIT_FX_DISABLEDSUNKEN)))
            style = tdSunken;
    }

    int angle = 0;
    TRect tr = r;
    if (mode != 0) {
        auto fx = static_cast<TKitFxCaption*>(caption);
        tr = TRect(r.Left + fx->PosX(), r.Top + fx->PosY(), r.Right, r.Bottom);
        angle = fx->Angle();
    }
    const int spacing = caption->Tracing();
    canvas->Brush.Style = TBrushStyle::bsClear;

    const int L = caption->LightDepth(), S = caption->ShadowDepth();
    struct Layer {
        int d;
        TColor c;
    };
    std::vector<Layer> layers;
    switch (style) {
    case tdNone:
        layers = {{0, face}};
        break;
    case tdSunken:
        layers = {{L, caption->LightColor()}, {-L, face}};
        tr.Right -= L;
        break;
    case tdRaised:
        layers = {{0, caption->LightColor()}, {L, face}};
        tr.Right -= L;
        break;
    case tdSunkenShadow:
    case tdPColorSunken:
        layers = {{0, caption->ShadowColor()}, {L + S, caption->LightColor()}, {-L, face}};
        tr.Right -= L + S;
        break;
    case tdRaisedShadow:
    case tdPColorRaised:
        layers = {{L + S, caption->ShadowColor()}, {-(L + S), caption->LightColor()}, {L, face}};
        tr.Right -= L + S;
        break;
    case tdShadow:
        layers = {{S, caption->ShadowColor()}, {-S, face}};
        tr.Right -= S;
        break;
    }

    // The face layer's colour stays the canvas font colour afterwards.
    for (const Layer& layer : layers) {
        canvas->Font.Color = layer.c;
        if (mode != 2) {
            OffsetRect(tr, layer.d, layer.d);
            TRect t = tr;
            KitDrawText(canvas, text, t, format, spacing);
        } else {
            tr.Left += layer.d;
            tr.Top += layer.d;
            QPainter* p = canvas->Painter();
            if (!p)
                continue;
            const QFont font = spacedFont(canvas->Font, spacing);
            p->save();
            p->setFont(font);
            p->setPen(ToQColor(layer.c));
            p->translate(tr.Left, tr.Top);
            p->rotate(-double(angle));
            p->drawText(QPoint(0, QFontMetrics(font).ascent()), canvas->Font.DisplayText(text));
            p->restore();
        }
    }
}

void CalcFxTextRect(TCanvas* canvas, const QString& text, TKit3DCaption* caption, TRect& r, const TFont* font,
                    bool wordWrap, bool showAccel, int margin, unsigned format)
{
    if (!canvas)
        return;
    if (font)
        canvas->Font = *font;
    const int mode = caption ? rotationMode(caption) : 0;
    const int spacing = caption ? caption->Tracing() : 0;
    const TKitThreeDStyle style = caption ? caption->Style() : tdNone;
    if (mode != 2) {
        if (mode == 1)
            static_cast<TKitFxCaption*>(caption)->SetPos(0, 0);
        unsigned f = format | DT_CALCRECT | DT_EXPANDTABS;
        if (wordWrap)
            f |= DT_WORDBREAK;
        if (!showAccel)
            f |= DT_NOPREFIX;
        QString t = text;
        if (t.isEmpty() || (showAccel && t == QLatin1String("&")))
            t = QStringLiteral(" ");
        KitDrawText(canvas, t, r, f, spacing);
        if (caption) {
            const int g = effectGrowth(caption, style);
            r.Right += g;
            r.Bottom += g;
        }
    } else {
        auto fx = static_cast<TKitFxCaption*>(caption);
        const QFontMetrics fm(spacedFont(canvas->Font, spacing));
        const QString shown = canvas->Font.DisplayText(text);
        const int w = fm.horizontalAdvance(shown);
        const int h = fm.height();
        r = TRect(0, 0, w, h);
        const int g = effectGrowth(caption, style);
        r.Right += g;
        r.Bottom += g;
        RotatedRectBounds(r, fx->Angle());
        const double rad = fx->Angle() * std::numbers::pi / 180.0;
        const int cx = r.Left + (r.Right - r.Left) / 2;
        const int cy = r.Top + (r.Bottom - r.Top) / 2;
        const int hw = w / 2, hh = h / 2;
        int k = 0;
        switch (style) {
        case tdSunken:
        case tdRaised:
            k = (caption->LightDepth() >> 1) - 1;
            break;
        case tdSunkenShadow:
        case tdRaisedShadow:
        case tdPColorSunken:
        case tdPColorRaised:
            k = ((caption->LightDepth() + caption->ShadowDepth()) >> 1) - 1;
            break;
        case tdShadow:
            k = (caption->ShadowDepth() >> 1) - 1;
            break;
        default:
            break;
        }
        const int m = std::max(0, k);
        fx->SetPosX(std::uint16_t(Round(cx - hw * std::cos(rad) - hh * std::sin(rad)) - m));
        fx->SetPosY(std::uint16_t(Round(cy + hw * std::sin(rad) - hh * std::cos(rad)) - m));
    }
    r.Right += (margin + 1) * 2;
    r.Bottom += (margin + 1) * 2;
}

TRect DrawFxCaption(TKitAlignment alignment, const QString& text, TKit3DCaption* caption, const TRect& available,
                    const TFont* font, bool wordWrap, bool showAccel, unsigned format)
{
    TRect measured = available;
    measured.Right -= 1;
    TBitmap scratch(1, 1);
    CalcFxTextRect(&scratch.Canvas(), text, caption, measured, font, wordWrap, showAccel, 0, format);
    return AlignRect(alignment, measured, available);
}

bool CanvasFontIsTrueType(TCanvas* canvas)
{
    if (!canvas)
        return false;
    // The stand-in fonts are outline fonts; a bitmap font would not scale.
    const QFontInfo info(canvas->Font.ToQFont());
    return QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

// ---------------------------------------------------------------- bitmaps

void FillBitmap(TBitmap* bitmap, const TRect& r, TColor color)
{
    if (!bitmap || r.IsEmpty())
        return;
    bitmap->SetSize(r.Width(), r.Height());
    TCanvas& c = bitmap->Canvas();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Bitmap = nullptr;
    c.Brush.Color = color;
    c.FillRect(TRect(0, 0, r.Width(), r.Height()));
}

void MakeMaskedImage(TCanvas* canvas, const TRect& source, TBitmap* mask, TColor color, TBitmap* image)
{
    const int w = source.Width(), h = source.Height();
    image->SetSize(w, h);
    image->Canvas().CopyMode = TCopyMode::cmSrcCopy;
    image->Canvas().CopyRect(TRect(0, 0, w, h), *canvas, source);
    // The mask: white where the transparent colour is, black elsewhere; the
    // image gets black there so that OR-ing it leaves the background.
    const QRgb key = ToQColor(ColorToRGB(color)).rgb() & 0xFFFFFF;
    QImage& img = image->MutableImage();
    QImage m(img.size(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto src = reinterpret_cast<QRgb*>(img.scanLine(y));
        auto dst = reinterpret_cast<QRgb*>(m.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const bool clear = (src[x] & 0xFFFFFF) == key;
            dst[x] = clear ? 0xFFFFFFFFu : 0xFF000000u;
            if (clear)
                src[x] = 0xFF000000u;
        }
    }
    mask->Assign(m);
}

namespace {

// The placement of one picture of w x h in D, as the flags ask.
TRect placement(const TRect& D, int w, int h, std::uint16_t flags)
{
    const int W = D.Width(), H = D.Height();
    if (flags & KIT_DF_STRETCH) {
        const std::uint16_t keep = flags & KIT_DF_PROPORTIONAL;
        if (keep == KIT_DF_PROPORTIONAL)
            return FitRectProportional(TRect(0, 0, w, h), D);
        if (keep == KIT_DF_KEEPWIDTH && w != 0)
            return Bounds(D.Left, D.Top, W, Round(double(W) / w * h));
        if (keep == KIT_DF_KEEPHEIGHT && h != 0)
            return Bounds(D.Left, D.Top, Round(double(H) / h * w), H);
        return Bounds(D.Left, D.Top, W, H);
    }
    if (flags & KIT_DF_CENTER)
        return Bounds(D.Left + (W - w) / 2, D.Top + (H - h) / 2, w, h);
    return Bounds(D.Left, D.Top, w, h);
}

// The picture's area with its transparent colour replaced by `color`.
QImage brushCopy(TBitmap* picture, const TRect& src, TColor color)
{
    QImage img = picture->Image().copy(src.q()).convertToFormat(QImage::Format_RGB32);
    const QImage& whole = picture->Image();
    TColor tc = picture->TransparentColor;
    if (tc == clNone)
        tc = whole.isNull() ? clBlack : FromQColor(QColor(whole.pixel(0, whole.height() - 1)));
    const QRgb key = ToQColor(ColorToRGB(tc)).rgb() & 0xFFFFFF;
    const QRgb with = ToQColor(ColorToRGB(color)).rgb() | 0xFF000000u;
    for (int y = 0; y < img.height(); ++y) {
        auto line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = with;
    }
    return img;
}

} // namespace

void DrawBitmapCore(TCanvas* dest, const TRect& D, TCanvas* source, const TRect& sourceRect, std::uint16_t flags,
                    TColor color, const TKitPaletteHandle& /*palette*/, TBitmap* picture, TCanvas* maskCanvas,
                    TRect* drawn)
{
    if (drawn)
        *drawn = TRect();
    if (!dest || D.IsEmpty())
        return;
    const int w = sourceRect.Width(), h = sourceRect.Height();
    const TRect srcArea = Bounds(sourceRect.Left, sourceRect.Top, w, h);

    std::vector<TRect> places;
    if (flags & KIT_DF_TILE) {
        if (w > 0 && h > 0) {
            const int rows = D.Height() / h + 1, cols = D.Width() / w + 1;
            for (int r = 0; r <= rows; ++r)
                for (int c = 0; c <= cols; ++c)
                    places.push_back(Bounds(D.Left + c * w, D.Top + r * h, w, h));
        }
        if (drawn)
            *drawn = D;
    } else {
        places.push_back(placement(D, w, h, flags));
        if (drawn)
            *drawn = places.front();
    }
    if (w <= 0 || h <= 0)
        return;

    const TCopyMode oldMode = dest->CopyMode;
    struct ModeRestore {
        TCanvas* c;
        TCopyMode m;
        ~ModeRestore() { c->CopyMode = m; }
    } restore{dest, oldMode};

    if (flags & KIT_DF_BRUSHCOPY) {
        if (!picture)
            return;
        dest->Brush.Color = color;
        TBitmap copy;
        copy.Assign(brushCopy(picture, srcArea, color));
        dest->CopyMode = TCopyMode::cmSrcCopy;
        for (const TRect& p : places)
            dest->CopyRect(p, copy.Canvas(), TRect(0, 0, w, h));
        return;
    }
    if ((flags & KIT_DF_MASKED) && maskCanvas) {
        if (!source)
            return;
        for (const TRect& p : places) {
            dest->CopyMode = TCopyMode::cmSrcAnd;
            dest->CopyRect(p, *maskCanvas, srcArea);
            dest->CopyMode = TCopyMode::cmSrcPaint;
            dest->CopyRect(p, *source, srcArea);
            dest->CopyMode = oldMode;
        }
        return;
    }
    if (!source)
        return;
    if (flags & KIT_DF_TRANSPARENT) {
        // Built once per call, whatever the number of tiles.
        TBitmap image, mask;
        MakeMaskedImage(source, sourceRect, &mask, color, &image);
        for (const TRect& p : places) {
            dest->CopyMode = TCopyMode::cmSrcAnd;
            dest->CopyRect(p, mask.Canvas(), TRect(0, 0, w, h));
            dest->CopyMode = TCopyMode::cmSrcPaint;
            dest->CopyRect(p, image.Canvas(), TRect(0, 0, w, h));
        }
        return;
    }
    dest->CopyMode = TCopyMode::cmSrcCopy;
    for (const TRect& p : places)
        dest->CopyRect(p, *source, srcArea);
}

void DrawBitmapClipped(TCanvas* canvas, const TRect& r, TCanvas* source, const TRect& sourceRect,
                       std::uint16_t flags, std::uint32_t clipOffset, TColor color, TBitmap* picture,
                       TCanvas* maskCanvas)
{
    ClipGuard clip(canvas, (flags & KIT_DF_CLIP) != 0, r, clipOffset);
    DrawBitmapCore(canvas, r, source, sourceRect, flags, color, nullptr, picture, maskCanvas, nullptr);
}

namespace {
bool markedNotToDraw(TBitmap* bitmap)
{
    return bitmap->Canvas().PenPos().X == -1;
}
} // namespace

void DrawBitmapEx(TCanvas* canvas, const TRect& r, TBitmap* bitmap, std::uint16_t flags, std::uint32_t clipOffset,
                  TColor color)
{
    if (!canvas || !bitmap || markedNotToDraw(bitmap))
        return;
    const TRect src(0, 0, bitmap->Width(), bitmap->Height());
    if (flags & KIT_DF_BRUSHCOPY)
        DrawBitmapClipped(canvas, r, nullptr, src, flags, clipOffset, color, bitmap);
    else
        DrawBitmapClipped(canvas, r, &bitmap->Canvas(), src, flags, clipOffset, color, nullptr);
}

void DrawBitmapInRect(TCanvas* canvas, const TRect& r, TBitmap* bitmap, std::uint16_t flags, TColor color,
                      TRect* drawn)
{
    if (drawn)
        *drawn = TRect();
    if (!canvas || !bitmap || markedNotToDraw(bitmap))
        return;
    const TRect src(0, 0, bitmap->Width(), bitmap->Height());
    const bool brush = (flags & KIT_DF_BRUSHCOPY) != 0;
    DrawBitmapCore(canvas, r, brush ? nullptr : &bitmap->Canvas(), src, flags, color, nullptr,
                   brush ? bitmap : nullptr, nullptr, drawn);
}
