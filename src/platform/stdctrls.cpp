#include "platform/stdctrls.h"

#include "platform/forms.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

QIcon LoadGlyph(const QString& name)
{
    if (name.isEmpty())
        return QIcon();
    for (const char* ext : {".svg", ".png"}) {
        QString p = ":/glyphs/" + name + ext;
        if (QFile::exists(p))
            return QIcon(p);
    }
    if (name.startsWith(":/") && QFile::exists(name))
        return QIcon(name);
    return QIcon();
}

// ---------------------------------------------------------------- qthost::Control

namespace qthost {

Control::Control(QWidget* parent) : TWinControl(parent) {}

void Control::SetInner(QWidget* w)
{
    m_inner = w;
    w->setParent(this);
    w->setGeometry(rect());
    w->installEventFilter(this);
    w->setFont(Font().ToQFont());
    setFocusProxy(w);
    setFocusPolicy(w->focusPolicy());
    w->show();
}

void Control::resizeEvent(QResizeEvent* e)
{
    if (m_inner)
        m_inner->setGeometry(rect());
    TWinControl::resizeEvent(e);
}

void Control::FontChangedNotify()
{
    if (m_inner)
        m_inner->setFont(Font().ToQFont());
}

bool Control::eventFilter(QObject* o, QEvent* e)
{
    if (o != m_inner)
        return TWinControl::eventFilter(o, e);
    bool swallow = false;
    // A key whose handler failed is done with: it must not reach the
    // control's own key handling a second time.
    bool keyFailed = false;
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
        auto* ke = static_cast<QKeyEvent*>(e);
        m_seenKey = {e, int(e->type()), ke->key(), ke->timestamp()};
    }
    Guarded([&] {
        switch (e->type()) {
        case QEvent::KeyPress: {
            keyFailed = true;
            auto* ke = static_cast<QKeyEvent*>(e);
            std::uint16_t key = VirtualKeyOf(ke->key());
            if (key) {
                std::uint16_t orig = key;
                KeyDown(key, ShiftOf(ke->modifiers()));
                if (key == 0 && orig != 0) {
                    swallow = true;
                    return;
                }
            }
            if (!ke->text().isEmpty() && (ke->text().at(0).isPrint() || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter || ke->key() == Qt::Key_Escape)) {
                QChar c = (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) ? QChar(13) : ke->text().at(0);
                QChar before = c;
                KeyPress(c);
                if (c.isNull())
                    swallow = true;
                else if (c != before) {
                    // A handler that changed the character: insert that one instead.
                    QKeyEvent replaced(QEvent::KeyPress, 0, ke->modifiers(), QString(c));
                    QCoreApplication::sendEvent(m_inner, &replaced);
                    swallow = true;
                }
            }
            keyFailed = false;
            break;
        }
        case QEvent::KeyRelease: {
            auto* ke = static_cast<QKeyEvent*>(e);
            std::uint16_t key = VirtualKeyOf(ke->key());
            if (key)
                KeyUp(key, ShiftOf(ke->modifiers()));
            break;
        }
        default:
            break;
        }
    });
    return swallow || keyFailed;
}

bool Control::takeSeen(QKeyEvent* e)
{
    const SeenKey& s = m_seenKey;
    bool same = s.event == e && s.type == int(e->type()) && s.key == e->key() && s.time == e->timestamp();
    if (same)
        m_seenKey = SeenKey{};
    return same;
}

void Control::keyPressEvent(QKeyEvent* e)
{
    if (takeSeen(e)) {
        e->ignore();
        return;
    }
    TWinControl::keyPressEvent(e);
}

void Control::keyReleaseEvent(QKeyEvent* e)
{
    if (takeSeen(e)) {
        e->ignore();
        return;
    }
    TWinControl::keyReleaseEvent(e);
}

} // namespace qthost

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(QWidget* parent) : TGraphicControl(parent)
{
    resize(65, 13);
}

unsigned TLabel::textFlags() const
{
    unsigned f = m_alignment == TAlignment::taCenter ? DT_CENTER : m_alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    if (m_wordWrap)
        f |= DT_WORDBREAK;
    if (!ShowAccelChar)
        f |= DT_NOPREFIX;
    return f | DT_EXPANDTABS;
}

void TLabel::AdjustBounds()
{
    if (!m_autoSize)
        return;
    TBitmap probe(1, 1);
    probe.Canvas().Font = Font();
    TRect r(0, 0, m_wordWrap ? Width() : 0, 0);
    QString text = Caption().isEmpty() ? QString(" ") : Caption();
    probe.Canvas().DrawText(text, r, textFlags() | DT_CALCRECT);
    int w = m_wordWrap ? Width() : r.Width();
    int left = Left();
    if (!m_wordWrap && m_alignment == TAlignment::taRightJustify)
        left = Left() + Width() - w;
    setGeometry(left, Top(), w, r.Height());
}

void TLabel::CaptionChanged()
{
    AdjustBounds();
    update();
    // The accelerator (the letter after '&') moves the focus to FocusControl.
    delete m_shortcut;
    m_shortcut = nullptr;
    QKeySequence seq = QKeySequence::mnemonic(Caption());
    if (!seq.isEmpty() && ShowAccelChar && window()) {
        m_shortcut = new QShortcut(seq, this);
        m_shortcut->setContext(Qt::WindowShortcut);
        connect(m_shortcut, &QShortcut::activated, this, [this] {
            if (m_focusControl && m_focusControl->CanFocus())
                m_focusControl->SetFocus();
        });
    }
}

void TLabel::Paint()
{
    TCanvas& c = *Canvas();
    if (!m_transparent) {
        c.Brush.Color = Color();
        c.Brush.Style = TBrushStyle::bsSolid;
        c.FillRect(ClientRect());
    }
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font = Font();
    if (!isEnabled())
        c.Font.Color = clGrayText;
    TRect r = ClientRect();
    unsigned f = textFlags();
    if (m_layout != TTextLayout::tlTop) {
        TRect calc(0, 0, r.Width(), 0);
        c.DrawText(Caption(), calc, f | DT_CALCRECT);
        int dy = m_layout == TTextLayout::tlCenter ? (r.Height() - calc.Height()) / 2 : r.Height() - calc.Height();
        r.Top += dy;
    }
    c.DrawText(Caption(), r, f);
    TGraphicControl::Paint();
}

// ---------------------------------------------------------------- TPanel

void Frame3D(TCanvas& c, TRect& r, TColor topColor, TColor bottomColor, int width)
{
    // Each ring is the pixels of two polylines, left and top edges first,
    // then right and bottom over them, the last pixel left out; while the
    // ring is not inverted every edge is one fill instead of a run per row.
    const TPen savedPen = c.Pen;
    const TBrush savedBrush = c.Brush;
    c.Pen.Width = 1;
    c.Pen.Style = TPenStyle::psSolid;
    c.Pen.Mode = TPenMode::pmCopy;
    c.Brush = TBrush();
    r.Right -= 1;
    r.Bottom -= 1;
    for (int i = 0; i < width; ++i) {
        const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
        if (R >= L && B >= T) {
            c.Brush.Color = topColor;
            c.FillRect(TRect(L, T + 1, L + 1, B + 1));
            c.FillRect(TRect(L, T, R, T + 1));
            c.Brush.Color = bottomColor;
            c.FillRect(TRect(R, T, R + 1, B));
            c.FillRect(TRect(L, B, R + 1, B + 1));
        } else {
            c.Pen.Color = topColor;
            TPoint top[] = {TPoint(L, B), TPoint(L, T), TPoint(R, T)};
            c.Polyline(top, 3);
            c.Pen.Color = bottomColor;
            TPoint bottom[] = {TPoint(R, T), TPoint(R, B), TPoint(L - 1, B)};
            c.Polyline(bottom, 3);
        }
        InflateRect(r, -1, -1);
    }
    r.Right += 1;
    r.Bottom += 1;
    c.Pen = savedPen;
    c.Brush = savedBrush;
}

TPanel::TPanel(QWidget* parent) : TCustomControl(parent)
{
    SetParentColor(false);
    SetColor(clBtnFace);
    resize(185, 41);
}

TRect TPanel::AdjustClientRect() const
{
    TRect r = ClientRect();
    int w = m_borderWidth + (m_borderStyle == TBorderStyle::bsSingle ? 1 : 0);
    if (m_outer != TBevelCut::bvNone)
        w += m_bevelWidth;
    if (m_inner != TBevelCut::bvNone)
        w += m_bevelWidth;
    InflateRect(r, -w, -w);
    return r;
}

void TPanel::Paint()
{
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    c.Brush.Color = Color();
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(r);
    if (m_borderStyle == TBorderStyle::bsSingle) {
        c.Brush.Color = clWindowFrame;
        c.FrameRect(r);
        c.Brush.Color = Color();
        InflateRect(r, -1, -1);
    }
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvNone)
            return;
        TColor top = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == TBevelCut::bvSpace)
            top = bottom = Color();
        Frame3D(c, r, top, bottom, m_bevelWidth);
    };
    bevel(m_outer);
    InflateRect(r, -m_borderWidth, -m_borderWidth);
    bevel(m_inner);
    if (!Caption().trimmed().isEmpty()) {
        c.Font = Font();
        c.Brush.Style = TBrushStyle::bsClear;
        unsigned f = DT_SINGLELINE | DT_VCENTER |
                     (Alignment() == TAlignment::taCenter ? DT_CENTER : Alignment() == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT);
        c.DrawText(Caption(), r, f);
    }
}

// ---------------------------------------------------------------- TButton

TButton::TButton(QWidget* parent) : qthost::Control(parent), m_button(new QPushButton)
{
    m_button->setAutoDefault(false);
    SetInner(m_button);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(75, 25);
    connect(m_button, &QPushButton::clicked, this, [this] { Guarded([this] { Click(); }); });
}

void TButton::Click()
{
    if (ModalResult != mrNone)
        if (TForm* f = ParentForm())
            f->SetModalResult(ModalResult);
    TControl::Click();
}

void TButton::CaptionChanged()
{
    m_button->setText(Caption());
}

void TButton::SetDefault(bool v)
{
    m_default = v;
    m_button->setDefault(v);
    if (TForm* f = ParentForm())
        f->SetDefaultButton(v ? this : nullptr);
}

void TButton::SetCancel(bool v)
{
    m_cancel = v;
    if (TForm* f = ParentForm())
        f->SetCancelButton(v ? this : nullptr);
}

void TButton::showEvent(QShowEvent* e)
{
    qthost::Control::showEvent(e);
    // Buttons made before they were put on a form register there now.
    if (TForm* f = ParentForm()) {
        if (m_default)
            f->SetDefaultButton(this);
        if (m_cancel)
            f->SetCancelButton(this);
    }
}

// ---------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(QWidget* parent, TBitBtnKind kind) : TButton(parent)
{
    SetKind(kind);
}

void TBitBtn::SetKind(TBitBtnKind k)
{
    m_kind = k;
    QStyle* st = QApplication::style();
    switch (k) {
    case TBitBtnKind::bkOK:
        SetDefault(true);
        ModalResult = mrOk;
        if (Caption().isEmpty())
            SetCaption("OK");
        m_button->setIcon(st->standardIcon(QStyle::SP_DialogOkButton));
        break;
    case TBitBtnKind::bkCancel:
        SetCancel(true);
        ModalResult = mrCancel;
        if (Caption().isEmpty())
            SetCaption("Отмена");
        m_button->setIcon(st->standardIcon(QStyle::SP_DialogCancelButton));
        break;
    case TBitBtnKind::bkHelp:
        if (Caption().isEmpty())
            SetCaption("&Справка");
        m_button->setIcon(st->standardIcon(QStyle::SP_DialogHelpButton));
        break;
    case TBitBtnKind::bkYes:
        SetDefault(true);
        ModalResult = mrYes;
        m_button->setIcon(st->standardIcon(QStyle::SP_DialogYesButton));
        break;
    case TBitBtnKind::bkNo:
        SetCancel(true);
        ModalResult = mrNo;
        m_button->setIcon(st->standardIcon(QStyle::SP_DialogNoButton));
        break;
    case TBitBtnKind::bkClose:
        m_button->setIcon(st->standardIcon(QStyle::SP_DialogCloseButton));
        break;
    default:
        break;
    }
}

void TBitBtn::SetGlyph(const QIcon& icon)
{
    m_button->setIcon(icon);
    m_button->setIconSize(QSize(16, 16));
}

void TBitBtn::SetGlyphName(const QString& name)
{
    m_glyphName = name;
    SetGlyph(LoadGlyph(name));
}

bool TBitBtn::HasGlyph() const
{
    return !m_button->icon().isNull();
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(QWidget* parent) : TGraphicControl(parent), m_button(new QToolButton(this))
{
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setAutoRaise(false);
    m_button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_button->installEventFilter(this);
    m_button->show();
    resize(23, 22);
    connect(m_button, &QToolButton::clicked, this, [this] {
        Guarded([this] {
            if (m_groupIndex != 0 && !AllowAllUp)
                m_button->setChecked(true);
            Click();
        });
    });
}

bool TSpeedButton::eventFilter(QObject* o, QEvent* e)
{
    (void)o;
    (void)e;
    return false;
}

void TSpeedButton::resizeEvent(QResizeEvent* e)
{
    m_button->setGeometry(rect());
    TGraphicControl::resizeEvent(e);
}

void TSpeedButton::SetGroupIndex(int g)
{
    m_groupIndex = g;
    m_button->setCheckable(g != 0);
}

bool TSpeedButton::Down() const
{
    return m_button->isChecked() || m_button->isDown();
}

void TSpeedButton::SetDown(bool v)
{
    if (m_groupIndex == 0)
        m_button->setDown(v);
    else
        m_button->setChecked(v);
}

void TSpeedButton::SetGlyph(const QIcon& icon)
{
    m_button->setIcon(icon);
}

void TSpeedButton::SetGlyphName(const QString& name)
{
    SetGlyph(LoadGlyph(name));
}

void TSpeedButton::CaptionChanged()
{
    m_button->setText(Caption());
    m_button->setToolButtonStyle(Caption().isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
}

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(QWidget* parent) : qthost::Control(parent), m_edit(new QLineEdit)
{
    SetInner(m_edit);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    SetParentColor(false);
    SetColor(clWindow);
    resize(121, 21);
    connect(m_edit, &QLineEdit::textChanged, this, [this] {
        Guarded([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

QString TEdit::Text() const { return m_edit->text(); }
void TEdit::SetText(const QString& t) { m_edit->setText(t); }
bool TEdit::ReadOnly() const { return m_edit->isReadOnly(); }
void TEdit::SetReadOnly(bool v) { m_edit->setReadOnly(v); }
void TEdit::SetMaxLength(int n) { m_edit->setMaxLength(n > 0 ? n : 32767); }
void TEdit::SelectAll() { m_edit->selectAll(); }

bool TEdit::eventFilter(QObject* o, QEvent* e)
{
    if (o == m_edit && e->type() == QEvent::FocusOut) {
        // A refused exit has sent the focus back while it was leaving: for
        // the field that departure never happened, and it must not drop the
        // selection or the caret that its return has just given it.
        if (m_edit->hasFocus())
            return true;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        m_focusedWhileInactive = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    } else if (o == m_edit && e->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        const bool returns = (reason == Qt::ActiveWindowFocusReason && m_focusedWhileInactive) ||
                             reason == Qt::PopupFocusReason;
        m_focusedWhileInactive = false;
        // A click places the caret where it lands.
        if (reason != Qt::MouseFocusReason && !returns)
            m_edit->selectAll();
    }
    return qthost::Control::eventFilter(o, e);
}

void TEdit::hideEvent(QHideEvent* e)
{
    // Shown again, the window opens on the field afresh.
    m_focusedWhileInactive = false;
    qthost::Control::hideEvent(e);
}

void TEdit::ColorChanged()
{
    QPalette p = m_edit->palette();
    p.setColor(QPalette::Base, ToQColor(Color()));
    m_edit->setPalette(p);
}

// ---------------------------------------------------------------- TUpDown

TUpDown::TUpDown(QWidget* parent) : TWinControl(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->show();
    }
    setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, [this] { Guarded([this] { StepBy(Increment); }); });
    connect(m_down, &QToolButton::clicked, this, [this] { Guarded([this] { StepBy(-Increment); }); });
    resize(16, 21);
}

void TUpDown::resizeEvent(QResizeEvent* e)
{
    int h = height() / 2;
    m_up->setGeometry(0, 0, width(), h);
    m_down->setGeometry(0, h, width(), height() - h);
    TWinControl::resizeEvent(e);
}

bool TUpDown::PositionFromText(int& pos) const
{
    if (!m_associate) {
        pos = m_position;
        return true;
    }
    bool ok = false;
    QString t = m_associate->Text().trimmed();
    int v = t.toInt(&ok, 10);
    if (!ok || v < m_min || v > m_max)
        return false;
    pos = v;
    return true;
}

int TUpDown::Position() const
{
    int p = m_position;
    if (PositionFromText(p))
        return p;
    return m_position;
}

void TUpDown::SetPosition(int v)
{
    m_position = std::clamp(v, std::min(m_min, m_max), std::max(m_min, m_max));
    writeAssociate();
}

void TUpDown::StepBy(int delta)
{
    int p = m_position;
    PositionFromText(p);
    int n = p + delta;
    if (n > m_max)
        n = Wrap ? m_min : m_max;
    if (n < m_min)
        n = Wrap ? m_max : m_min;
    m_position = n;
    if (OnChanging)
        OnChanging(this);
    writeAssociate();
    if (TControl::OnClick)
        TControl::OnClick(this);
}

void TUpDown::writeAssociate()
{
    if (m_associate)
        m_associate->SetText(QString::number(m_position));
}

void TUpDown::SetAssociate(TEdit* e)
{
    if (m_associateInput)
        m_associateInput->removeEventFilter(this);
    m_associate = e;
    m_associateInput = e ? e->LineEdit() : nullptr;
    if (e) {
        e->LineEdit()->installEventFilter(this);
        // Sits at the right edge of its field.
        SetBounds(e->Left() + e->Width(), e->Top(), Width(), e->Height());
        writeAssociate();
    }
}

bool TUpDown::eventFilter(QObject* o, QEvent* e)
{
    // The field keeps sending events while its edit is being destroyed (the
    // edit's own parts already gone); only its key presses are the arrows',
    // and the field is known by identity so that nothing of the edit is
    // touched before one arrives.
    if (e->type() == QEvent::KeyPress && ArrowKeys && o == m_associateInput && m_associate) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down) {
            Guarded([&] { StepBy(ke->key() == Qt::Key_Up ? Increment : -Increment); });
            return true;
        }
    }
    return TWinControl::eventFilter(o, e);
}

// ---------------------------------------------------------------- TListView

TListView::TListView(QWidget* parent) : qthost::Control(parent), m_list(new QListWidget)
{
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));
    QPalette p = m_list->palette();
    // The selection stays visible when the list is not focused.
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    m_list->setPalette(p);
    SetInner(m_list);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { Guarded([this] { DblClick(); }); });
}

void TListView::AddItem(const QString& caption, int imageIndex)
{
    auto* it = new QListWidgetItem(caption, m_list);
    if (imageIndex >= 0 && imageIndex < int(m_images.size()))
        it->setIcon(m_images[imageIndex]);
}

int TListView::Count() const { return m_list->count(); }
QString TListView::ItemCaption(int i) const { return i >= 0 && i < m_list->count() ? m_list->item(i)->text() : QString(); }

int TListView::Selected() const
{
    auto sel = m_list->selectedItems();
    return sel.isEmpty() ? -1 : m_list->row(sel.first());
}

void TListView::SetSelected(int i)
{
    if (i < 0 || i >= m_list->count()) {
        m_list->clearSelection();
        return;
    }
    m_list->setCurrentRow(i);
    m_list->item(i)->setSelected(true);
}

void TListView::SetImages(const std::vector<QIcon>& images)
{
    m_images = images;
}

// ---------------------------------------------------------------- TMemo

TMemo::TMemo(QWidget* parent) : qthost::Control(parent), m_memo(new QPlainTextEdit)
{
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    SetInner(m_memo);
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
}

QString TMemo::Text() const { return m_memo->toPlainText(); }
void TMemo::SetText(const QString& t) { m_memo->setPlainText(t); }
void TMemo::SetReadOnly(bool v) { m_memo->setReadOnly(v); }
void TMemo::SelectAll() { m_memo->selectAll(); }
void TMemo::CopyToClipboard() { Clipboard::SetText(SelText()); }

QString TMemo::SelText() const
{
    // Paragraph separators of the editor are line breaks for the user.
    return m_memo->textCursor().selectedText().replace(QChar(0x2029), '\n');
}

void TMemo::SetHideSelection(bool v)
{
    HideSelection = v;
    QPalette p = m_memo->palette();
    if (!v) {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    }
    m_memo->setPalette(p);
}

void TMemo::ColorChanged()
{
    QPalette p = m_memo->palette();
    p.setColor(QPalette::Base, ToQColor(Color()));
    m_memo->setPalette(p);
}

// ---------------------------------------------------------------- TStatusBar

TStatusBar::TStatusBar(QWidget* parent) : TCustomControl(parent)
{
    SetParentColor(false);
    SetColor(clBtnFace);
    resize(100, 19);
    SetAlign(alBottom);
}

void TStatusBar::SetSimpleText(const QString& t)
{
    if (t == m_text)
        return;
    m_text = t;
    if (m_simplePanel)
        update();
}

void TStatusBar::SetPanelText(const QString& t)
{
    if (t == m_panelText)
        return;
    m_panelText = t;
    if (!m_simplePanel)
        update();
}

void TStatusBar::SetSimplePanel(bool v)
{
    m_simplePanel = v;
    update();
}

void TStatusBar::Paint()
{
    TCanvas& c = *Canvas();
    TRect r = ClientRect();
    c.Brush.Color = Color();
    c.FillRect(r);
    TRect inner(r.Left, r.Top + 2, r.Right, r.Bottom);
    Frame3D(c, inner, clBtnShadow, clBtnHighlight, 1);
    c.Font = Font();
    c.Brush.Style = TBrushStyle::bsClear;
    TRect tr(inner.Left + 2, inner.Top, inner.Right - 2, inner.Bottom);
    c.DrawText(m_simplePanel ? m_text : m_panelText, tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// ---------------------------------------------------------------- TTrackBar

TTrackBar::TTrackBar(QWidget* parent, TTrackBarOrientation o) : qthost::Control(parent), m_slider(new QSlider)
{
    m_slider->setTickPosition(QSlider::TicksBothSides);
    SetInner(m_slider);
    SetOrientation(o);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_slider, &QSlider::valueChanged, this, [this] {
        Guarded([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

int TTrackBar::Min() const { return m_slider->minimum(); }
int TTrackBar::Max() const { return m_slider->maximum(); }
void TTrackBar::SetRange(int mn, int mx) { m_slider->setRange(mn, mx); }
int TTrackBar::Position() const { return m_slider->value(); }
void TTrackBar::SetPosition(int p) { m_slider->setValue(p); }
void TTrackBar::SetFrequency(int f) { m_slider->setTickInterval(f); }
void TTrackBar::SetOrientation(TTrackBarOrientation o)
{
    m_slider->setOrientation(o == TTrackBarOrientation::trVertical ? Qt::Vertical : Qt::Horizontal);
}

namespace {
// The desktop's style with the thumb made as thick across the track as asked.
// Styles size the handle from either metric (Fusion takes the slider's
// thickness, others the control's), so both follow the length.
class ThumbStyle : public QProxyStyle {
public:
    int Length = 20;
    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override
    {
        if (m == PM_SliderControlThickness || m == PM_SliderThickness)
            return Length;
        return QProxyStyle::pixelMetric(m, o, w);
    }
};
} // namespace

void TTrackBar::SetThumbLength(int v)
{
    m_thumbLength = v;
    auto* style = dynamic_cast<ThumbStyle*>(m_slider->style());
    if (!style) {
        style = new ThumbStyle;
        style->setParent(m_slider);
        m_slider->setStyle(style);
    }
    style->Length = v;
    m_slider->updateGeometry();
    m_slider->update();
}
