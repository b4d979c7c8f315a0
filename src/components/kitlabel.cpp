#include "components/kitlabel.h"

#include <QKeySequence>
#include <QShortcut>

#include "components/kitprocs.h"

unsigned KitAlignmentFlags(TKitAlignment alignment)
{
    static const unsigned flags[] = {
        DT_LEFT | DT_TOP,    DT_CENTER | DT_TOP,    DT_RIGHT | DT_TOP,
        DT_LEFT | DT_VCENTER, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_VCENTER,
        DT_LEFT | DT_BOTTOM, DT_CENTER | DT_BOTTOM, DT_RIGHT | DT_BOTTOM,
    };
    return alignment <= agBottomRight ? flags[alignment] : 0;
}

unsigned KitLabelOptionFlags(TKitLabelOptions options)
{
    unsigned f = 0;
    if (options.Contains(loPathEllipsis))
        f |= KIT_DT_PATH_ELLIPSIS;
    if (options.Contains(loEndEllipsis))
        f |= DT_END_ELLIPSIS;
    if (options.Contains(loEditControl))
        f |= KIT_DT_EDITCONTROL;
    return f;
}

// ---------------------------------------------------------------- TKitBaseLabel

TKitBaseLabel::TKitBaseLabel(QWidget* parent) : TKitBaseGraphicControl(parent), FMeasure(1, 1) {}

TKitBaseLabel::~TKitBaseLabel() = default;

void TKitBaseLabel::SetShowAccelChar(bool v)
{
    if (v == FShowAccelChar)
        return;
    FShowAccelChar = v;
    updateShortcut();
    RepaintNow();
}

void TKitBaseLabel::SetAutoSize(bool v)
{
    if (v == FAutoSize)
        return;
    FAutoSize = v;
    AdjustSize();
}

void TKitBaseLabel::SetMultiLine(bool v)
{
    if (v == FMultiLine)
        return;
    FMultiLine = v;
    ObjectChanged(this);
}

void TKitBaseLabel::SetAlignment(TKitAlignment v)
{
    if (v == FAlignment)
        return;
    FAlignment = v;
    ObjectChanged(this);
}

void TKitBaseLabel::SetOptions(TKitLabelOptions v)
{
    if (v == FOptions)
        return;
    FOptions = v;
    ObjectChanged(this);
}

void TKitBaseLabel::SetFocusControl(TWinControl* v)
{
    // The guarded pointer forgets a focus control that goes away.
    FFocusControl = v;
}

void TKitBaseLabel::ObjectChanged(TObject*)
{
    AdjustSize();
    RepaintNow();
}

bool TKitBaseLabel::IsEmpty() const
{
    return Transparent() && GetCaption().isEmpty();
}

unsigned TKitBaseLabel::ReadingOrderFlags() const
{
    return layoutDirection() == Qt::RightToLeft ? KIT_DT_RTLREADING : 0u;
}

TCanvas& TKitBaseLabel::measureCanvas()
{
    TCanvas& c = FMeasure.Canvas();
    c.Font = Font();
    return c;
}

void TKitBaseLabel::FontChanged(TObject*)
{
    if (IsLoading())
        return;
    ObjectChanged(this);
}

void TKitBaseLabel::Loaded()
{
    AdjustSize();
}

void TKitBaseLabel::CaptionChanged()
{
    updateShortcut();
    AdjustSize();
    RepaintNow();
}

void TKitBaseLabel::FontChangedNotify()
{
    FontChanged(this);
}

bool TKitBaseLabel::DialogChar()
{
    if (!FShowAccelChar || !FFocusControl || !isEnabled() || !FFocusControl->CanFocus())
        return false;
    FFocusControl->SetFocus();
    return true;
}

void TKitBaseLabel::updateShortcut()
{
    delete FShortcut;
    FShortcut = nullptr;
    const QKeySequence seq = QKeySequence::mnemonic(GetCaption());
    if (seq.isEmpty() || !FShowAccelChar)
        return;
    FShortcut = new QShortcut(seq, this);
    FShortcut->setContext(Qt::WindowShortcut);
    connect(FShortcut, &QShortcut::activated, this, [this] { DialogChar(); });
}

// ---------------------------------------------------------------- TKitCustomLabel

TKitCustomLabel::TKitCustomLabel(QWidget* parent)
    : TKitBaseLabel(parent), FBevel(std::make_unique<TKitBevel>()), FFontFx(std::make_unique<TKitFxCaption>())
{
    FBevel->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
    FFontFx->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TKitCustomLabel::~TKitCustomLabel()
{
    FFontFx->OnChange = nullptr;
    FBevel->OnChange = nullptr;
}

void TKitCustomLabel::ObjectChanged(TObject*)
{
    AdjustSize();
    RepaintNow();
}

bool TKitCustomLabel::IsEmpty() const
{
    return TKitBaseLabel::IsEmpty() && FBevel->Extent() == 0;
}

void TKitCustomLabel::FontChanged(TObject* Sender)
{
    if (IsLoading())
        return;
    TCanvas& canvas = measureCanvas();
    if (FFontFx->Angle() != 0 && !CanvasFontIsTrueType(&canvas)) {
        if (Sender != FFontFx.get()) {
            // Only outline fonts turn: the text goes back to horizontal.
            FFontFx->SetAngle(0);
        } else {
            // The effect asks for a turn: take a font that can; its change
            // comes back here.
            TFont f = Font();
            f.Name = QStringLiteral("Arial");
            SetFont(f);
            return;
        }
    }
    ObjectChanged(Sender);
}

void TKitCustomLabel::AdjustSize()
{
    if (!AutoSize() || IsLoading())
        return;
    TRect r = ClientRect();
    const TFont font = Font();
    CalcFxTextRect(&measureCanvas(), GetCaption(), FFontFx.get(), r, &font, MultiLine(), ShowAccelChar(),
                   FBevel->Extent(), KitLabelOptionFlags(Options()) | ReadingOrderFlags());
    if (auto* bar = qobject_cast<TKitCustomStatusBar*>(parentWidget()))
        r.Right += bar->TextIndent();
    SetBounds(Left(), Top(), r.Right, r.Bottom);
}

unsigned TKitCustomLabel::PaintFormat(TRect& r) const
{
    unsigned f = ReadingOrderFlags();
    if (!AutoSize()) {
        const TFont font = Font();
        const auto place = [&](unsigned format) {
            r = DrawFxCaption(Alignment(), GetCaption(), FFontFx.get(), r, &font, MultiLine(), ShowAccelChar(),
                              format);
        };
        if (FFontFx->Angle() != 0) {
            f |= DT_SINGLELINE;
            if (Alignment() != agTopLeft)
                place(f);
        } else if (!MultiLine()) {
            f |= DT_SINGLELINE;
        } else if (Alignment() >= agCenterLeft) {
            place(f);
        }
    }
    f |= KitLabelOptionFlags(Options()) | KitAlignmentFlags(Alignment()) | DT_EXPANDTABS | DT_WORDBREAK;
    if (!ShowAccelChar())
        f |= DT_NOPREFIX;
    return f;
}

void TKitCustomLabel::Paint()
{
    if (FPainting || IsLoading())
        return;
    if (IsEmpty()) {
        TKitBaseGraphicControl::Paint();
        return;
    }
    TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    FPainting = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{FPainting};

    const QString caption = GetCaption();
    if (!Transparent())
        FillBackground();
    TRect r = ClientRect();
    if (auto* bar = qobject_cast<TKitCustomStatusBar*>(parentWidget()))
        r.Left += bar->TextIndent();
    unsigned state = isEnabled() ? KIT_FX_ENABLED : 0x0001u;
    TRect clip;
    if (FBevel->Extent() != 0) {
        r = FBevel->PaintBevel(canvas, r, FBevel->BorderColor() == Color() || Transparent());
        // The canvas is the label's own, so the inner rectangle clips as it
        // stands (no move into the parent's coordinates).
        clip = r;
        state |= KIT_FX_CLIP;
    }
    const unsigned format = PaintFormat(r);
    canvas->Brush.Color = Color();
    canvas->Font = Font();
    DrawFxText(canvas, caption, FFontFx.get(), r, format, state, (state & KIT_FX_CLIP) ? &clip : nullptr);
}

// ---------------------------------------------------------------- TKitLabel

TKitLabel::TKitLabel(QWidget* parent) : TKitCustomLabel(parent) {}
