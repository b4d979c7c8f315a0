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

TKitBaseLabel::TKitBaseLabel(QWidget* parent) : TKitBaseGraphicControl(parent), m_measure(1, 1) {}

TKitBaseLabel::~TKitBaseLabel() = default;

void TKitBaseLabel::SetShowAccelChar(bool v)
{
    if (v == m_showAccelChar)
        return;
    m_showAccelChar = v;
    updateShortcut();
    RepaintNow();
}

void TKitBaseLabel::SetAutoSize(bool v)
{
    if (v == m_autoSize)
        return;
    m_autoSize = v;
    AdjustSize();
}

void TKitBaseLabel::SetMultiLine(bool v)
{
    if (v == m_multiLine)
        return;
    m_multiLine = v;
    ObjectChanged(this);
}

void TKitBaseLabel::SetAlignment(TKitAlignment v)
{
    if (v == m_alignment)
        return;
    m_alignment = v;
    ObjectChanged(this);
}

void TKitBaseLabel::SetOptions(TKitLabelOptions v)
{
    if (v == m_options)
        return;
    m_options = v;
    ObjectChanged(this);
}

void TKitBaseLabel::SetFocusControl(TWinControl* v)
{
    // The guarded pointer forgets a focus control that goes away.
    m_focusControl = v;
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
    TCanvas& c = m_measure.Canvas();
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
    if (!m_showAccelChar || !m_focusControl || !isEnabled() || !m_focusControl->CanFocus())
        return false;
    m_focusControl->SetFocus();
    return true;
}

void TKitBaseLabel::updateShortcut()
{
    delete m_shortcut;
    m_shortcut = nullptr;
    const QKeySequence seq = QKeySequence::mnemonic(GetCaption());
    if (seq.isEmpty() || !m_showAccelChar)
        return;
    m_shortcut = new QShortcut(seq, this);
    m_shortcut->setContext(Qt::WindowShortcut);
    connect(m_shortcut, &QShortcut::activated, this, [this] { DialogChar(); });
}

// ---------------------------------------------------------------- TKitCustomLabel

TKitCustomLabel::TKitCustomLabel(QWidget* parent)
    : TKitBaseLabel(parent), m_bevel(std::make_unique<TKitBevel>()), m_fontFx(std::make_unique<TKitFxCaption>())
{
    m_bevel->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
    m_fontFx->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TKitCustomLabel::~TKitCustomLabel()
{
    m_fontFx->OnChange = nullptr;
    m_bevel->OnChange = nullptr;
}

void TKitCustomLabel::ObjectChanged(TObject*)
{
    AdjustSize();
    RepaintNow();
}

bool TKitCustomLabel::IsEmpty() const
{
    return TKitBaseLabel::IsEmpty() && m_bevel->Extent() == 0;
}

void TKitCustomLabel::FontChanged(TObject* Sender)
{
    if (IsLoading())
        return;
    TCanvas& canvas = measureCanvas();
    if (m_fontFx->Angle() != 0 && !CanvasFontIsTrueType(&canvas)) {
        if (Sender != m_fontFx.get()) {
            // Only outline fonts turn: the text goes back to horizontal.
            m_fontFx->SetAngle(0);
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
    CalcFxTextRect(&measureCanvas(), GetCaption(), m_fontFx.get(), r, &font, MultiLine(), ShowAccelChar(),
                   m_bevel->Extent(), KitLabelOptionFlags(Options()) | ReadingOrderFlags());
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
            r = DrawFxCaption(Alignment(), GetCaption(), m_fontFx.get(), r, &font, MultiLine(), ShowAccelChar(),
                              format);
        };
        if (m_fontFx->Angle() != 0) {
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
    if (m_painting || IsLoading())
        return;
    if (IsEmpty()) {
        TKitBaseGraphicControl::Paint();
        return;
    }
    TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    m_painting = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{m_painting};

    const QString caption = GetCaption();
    if (!Transparent())
        FillBackground();
    TRect r = ClientRect();
    if (auto* bar = qobject_cast<TKitCustomStatusBar*>(parentWidget()))
        r.Left += bar->TextIndent();
    unsigned state = isEnabled() ? KIT_FX_ENABLED : 0x0001u;
    TRect clip;
    if (m_bevel->Extent() != 0) {
        r = m_bevel->PaintBevel(canvas, r, m_bevel->BorderColor() == Color() || Transparent());
        // The canvas is the label's own, so the inner rectangle clips as it
        // stands (no move into the parent's coordinates).
        clip = r;
        state |= KIT_FX_CLIP;
    }
    const unsigned format = PaintFormat(r);
    canvas->Brush.Color = Color();
    canvas->Font = Font();
    DrawFxText(canvas, caption, m_fontFx.get(), r, format, state, (state & KIT_FX_CLIP) ? &clip : nullptr);
}

// ---------------------------------------------------------------- TKitLabel

TKitLabel::TKitLabel(QWidget* parent) : TKitCustomLabel(parent) {}
