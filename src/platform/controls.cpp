#include "platform/controls.h"

#include "platform/forms.h"

#include <QApplication>
#include <QChildEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

std::uint16_t VirtualKeyOf(int k)
{
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: break;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return std::uint16_t(VK_F1 + (k - Qt::Key_F1));
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z))
        return std::uint16_t(k);
    return 0;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation, false);
    if (parent && !parent->isHidden())
        QWidget::show();
}

TControl::~TControl()
{
    m_destroying = true;
}

void TControl::SetBounds(int left, int top, int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (QRect(left, top, w, h) != geometry())
        setGeometry(left, top, w, h);
    if (m_align != alNone)
        RequestParentAlign();
}

void TControl::RequestParentAlign()
{
    if (auto* p = qobject_cast<TWinControl*>(parentWidget()))
        if (!p->m_aligning)
            p->Realign();
}

void TControl::SetAlign(TAlign a)
{
    if (a == m_align)
        return;
    m_align = a;
    RequestParentAlign();
}

void TControl::SetVisible(bool v)
{
    if (v == Visible())
        return;
    setVisible(v);
    if (m_align != alNone)
        RequestParentAlign();
}

void TControl::SetEnabled(bool v)
{
    setEnabled(v);
}

void TControl::SetCaption(const QString& c)
{
    if (c == m_caption)
        return;
    m_caption = c;
    CaptionChanged();
}

static QString shortHint(const QString& h)
{
    int bar = h.indexOf('|');
    return bar < 0 ? h : h.left(bar);
}

void TControl::SetHint(const QString& h)
{
    m_hint = h;
    setToolTip(m_showHint ? shortHint(h) : QString());
}

void TControl::SetShowHint(bool v)
{
    m_showHint = v;
    setToolTip(m_showHint ? shortHint(m_hint) : QString());
}

TColor TControl::Color() const
{
    if (m_parentColor)
        if (auto* p = qobject_cast<TControl*>(parentWidget()))
            return p->Color();
    return m_color;
}

void TControl::SetColor(TColor c)
{
    bool changed = c != m_color || m_parentColor;
    m_color = c;
    m_parentColor = false;
    if (changed) {
        ColorChanged();
        NotifyChildrenParentChanged(true, false);
    }
}

void TControl::SetParentColor(bool v)
{
    if (v == m_parentColor)
        return;
    if (!v)
        m_color = Color();
    m_parentColor = v;
    ColorChanged();
    NotifyChildrenParentChanged(true, false);
}

const TFont& TControl::Font() const
{
    if (m_parentFont)
        if (auto* p = qobject_cast<TControl*>(parentWidget()))
            return p->Font();
    return m_font;
}

void TControl::SetFont(const TFont& f)
{
    m_font = f;
    m_parentFont = false;
    FontChanged();
}

void TControl::FontChanged()
{
    setFont(Font().ToQFont());
    FontChangedNotify();
    NotifyChildrenParentChanged(false, true);
}

void TControl::SetParentFont(bool v)
{
    if (v == m_parentFont)
        return;
    if (!v)
        m_font = Font();
    m_parentFont = v;
    FontChanged();
}

void TControl::NotifyChildrenParentChanged(bool color, bool font)
{
    for (QObject* o : children()) {
        auto* c = qobject_cast<TControl*>(o);
        if (!c)
            continue;
        if (color && c->m_parentColor) {
            c->ColorChanged();
            c->NotifyChildrenParentChanged(true, false);
        }
        if (font && c->m_parentFont)
            c->FontChanged();
    }
}

TWinControl* TControl::Parent() const
{
    return qobject_cast<TWinControl*>(parentWidget());
}

void TControl::SetParent(TWinControl* p)
{
    bool wasHidden = isHidden();
    setParent(p);
    if (!wasHidden)
        QWidget::show();
    if (m_parentFont)
        FontChanged();
    if (m_align != alNone)
        RequestParentAlign();
}

TForm* TControl::ParentForm() const
{
    QWidget* w = const_cast<TControl*>(this);
    while (w) {
        if (auto* f = qobject_cast<TForm*>(w))
            return f;
        w = w->parentWidget();
    }
    return nullptr;
}

bool TControl::CanFocus() const
{
    if (!IsWindowed())
        return false;
    for (const QWidget* w = this; w; w = w->parentWidget())
        if (w->isHidden() || !w->isEnabled())
            return false;
    return true;
}

namespace {
int g_pressDepth = 0;
int g_refusedExits = 0;

// Handles a mouse press; a press that tried to leave a refused field ends
// quietly and leaves the control unpressed.
template <class F>
void HandlePress(TControl* c, bool& pressed, F&& handle)
{
    struct Depth {
        Depth() { ++g_pressDepth; }
        ~Depth() { --g_pressDepth; }
    } depth;
    try {
        handle();
    } catch (const EAbort&) {
        pressed = false;
        if (GetCapture() == c)
            ReleaseCapture();
    }
}
} // namespace

void NoteRefusedExit()
{
    ++g_refusedExits;
}

void TControl::SetFocus()
{
    const int refused = g_refusedExits;
    setFocus(Qt::OtherFocusReason);
    if (g_pressDepth > 0 && g_refusedExits != refused)
        throw EAbort();
}

void TControl::SetTabStop(bool v)
{
    m_tabStop = v;
    // Without a tab stop a control takes the focus only when it asks for it
    // (a knob grabbed by the mouse), never by a click on a plain panel.
    if (IsWindowed()) {
        setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus);
        if (focusProxy())
            focusProxy()->setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus);
    }
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, b, s, x, y);
}

void TControl::MouseMove(TShiftState s, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, s, x, y);
}

void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, b, s, x, y);
}

void TControl::KeyDown(std::uint16_t& key, TShiftState s)
{
    if (OnKeyDown)
        OnKeyDown(this, key, s);
}

void TControl::KeyUp(std::uint16_t& key, TShiftState s)
{
    if (OnKeyUp)
        OnKeyUp(this, key, s);
}

void TControl::KeyPress(QChar& key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

TShiftState TControl::ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

static TMouseButton buttonOf(Qt::MouseButton b)
{
    return b == Qt::RightButton ? TMouseButton::mbRight : b == Qt::MiddleButton ? TMouseButton::mbMiddle : TMouseButton::mbLeft;
}

void TControl::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
    QPoint p = e->position().toPoint();
    HandlePress(this, m_pressed,
                [&] { MouseDown(buttonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
    e->accept();
}

void TControl::mouseMoveEvent(QMouseEvent* e)
{
    QPoint p = e->position().toPoint();
    MouseMove(ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
    e->accept();
}

void TControl::mouseReleaseEvent(QMouseEvent* e)
{
    QPoint p = e->position().toPoint();
    bool wasPressed = m_pressed && e->button() == Qt::LeftButton;
    if (e->button() == Qt::LeftButton)
        m_pressed = false;
    MouseUp(buttonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
    if (wasPressed && rect().contains(p))
        Click();
    e->accept();
}

void TControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    QPoint p = e->position().toPoint();
    HandlePress(this, m_pressed, [&] {
        if (e->button() == Qt::LeftButton) {
            m_pressed = true;
            DblClick();
        }
        MouseDown(buttonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()) | ssDouble, p.x(), p.y());
    });
    e->accept();
}

void TControl::keyPressEvent(QKeyEvent* e)
{
    m_keyAutoRepeat = e->isAutoRepeat();
    std::uint16_t key = VirtualKeyOf(e->key());
    std::uint16_t orig = key;
    if (key)
        KeyDown(key, ShiftOf(e->modifiers()));
    bool handled = key == 0 && orig != 0;
    if (!handled && !e->text().isEmpty() && e->text().at(0).isPrint()) {
        QChar c = e->text().at(0);
        KeyPress(c);
        handled = c.isNull();
    } else if (!handled && (orig == VK_RETURN || orig == VK_ESCAPE || orig == VK_BACK)) {
        QChar c(orig);
        KeyPress(c);
        handled = c.isNull();
    }
    m_keyAutoRepeat = false;
    if (handled)
        e->accept();
    else
        QWidget::keyPressEvent(e);
}

void TControl::keyReleaseEvent(QKeyEvent* e)
{
    m_keyAutoRepeat = e->isAutoRepeat();
    std::uint16_t key = VirtualKeyOf(e->key());
    if (key)
        KeyUp(key, ShiftOf(e->modifiers()));
    m_keyAutoRepeat = false;
    QWidget::keyReleaseEvent(e);
}

void TControl::enterEvent(QEnterEvent* e)
{
    QWidget::enterEvent(e);
    MouseEnter();
}

void TControl::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    MouseLeave();
}

// Enter and exit are the application's business: they follow moves of the
// focus between the controls of a form (see TApplication::eventFilter).
void TControl::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    m_pressed = false;
}

void TControl::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    Resize();
}

void TControl::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        EnabledChanged();
}

bool TControl::event(QEvent* e)
{
    // A handler's exception is shown from here, our own frame: Qt's event
    // delivery above is not built to be unwound and would leak its events
    // and lose its state on the way to the application's catch.
    try {
        return QWidget::event(e);
    } catch (const std::exception& ex) {
        if (Application)
            Application->HandleException(ex);
        return true;
    }
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(QWidget* parent) : TControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TGraphicControl::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

void TGraphicControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas c(&p);
    c.Font = Font();
    c.Brush.Color = Color();
    m_canvas = &c;
    Paint();
    m_canvas = nullptr;
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(QWidget* parent) : TControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

int TWinControl::ControlCount() const
{
    int n = 0;
    for (QObject* o : children())
        if (qobject_cast<TControl*>(o))
            ++n;
    return n;
}

TControl* TWinControl::Controls(int i) const
{
    for (QObject* o : children())
        if (auto* c = qobject_cast<TControl*>(o))
            if (i-- == 0)
                return c;
    return nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const
{
    const QObjectList& ch = children();
    for (auto it = ch.rbegin(); it != ch.rend(); ++it) {
        auto* c = qobject_cast<TControl*>(*it);
        if (!c || c->isHidden() || (!allowDisabled && !c->isEnabled()))
            continue;
        // A control that covers more than it shows (a wire across a bench)
        // lets the point through to what lies beneath.
        if (PtInRect(c->BoundsRect(), p) && c->HitTest(TPoint(p.X - c->Left(), p.Y - c->Top())) != 0)
            return c;
    }
    return nullptr;
}

void TWinControl::Realign()
{
    if (m_aligning)
        return;
    m_aligning = true;
    AlignControls();
    m_aligning = false;
}

void TWinControl::AlignControls()
{
    TRect r = AdjustClientRect();
    std::vector<TControl*> kids;
    for (QObject* o : children())
        if (auto* c = qobject_cast<TControl*>(o); c && c->Align() != alNone && !c->isHidden() && !c->isWindow())
            kids.push_back(c);
    auto place = [&](TAlign a) {
        std::vector<TControl*> group;
        for (TControl* c : kids)
            if (c->Align() == a)
                group.push_back(c);
        // Within a side, the one nearer that side goes first.
        std::stable_sort(group.begin(), group.end(), [a](TControl* x, TControl* y) {
            switch (a) {
            case alTop: return x->Top() < y->Top();
            case alBottom: return x->Top() + x->Height() > y->Top() + y->Height();
            case alLeft: return x->Left() < y->Left();
            case alRight: return x->Left() + x->Width() > y->Left() + y->Width();
            default: return false;
            }
        });
        for (TControl* c : group) {
            switch (a) {
            case alTop:
                c->setGeometry(r.Left, r.Top, std::max(0, r.Width()), c->Height());
                r.Top += c->Height();
                break;
            case alBottom:
                c->setGeometry(r.Left, r.Bottom - c->Height(), std::max(0, r.Width()), c->Height());
                r.Bottom -= c->Height();
                break;
            case alLeft:
                c->setGeometry(r.Left, r.Top, c->Width(), std::max(0, r.Height()));
                r.Left += c->Width();
                break;
            case alRight:
                c->setGeometry(r.Right - c->Width(), r.Top, c->Width(), std::max(0, r.Height()));
                r.Right -= c->Width();
                break;
            case alClient:
                c->setGeometry(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
                break;
            default: break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
}

void TWinControl::SetBounds(int left, int top, int w, int h)
{
    // A hidden window gets its resize event only when shown; the children
    // are laid out now so that sizes can be read before.
    TControl::SetBounds(left, top, w, h);
    Realign();
}

void TWinControl::showEvent(QShowEvent* e)
{
    Realign();
    TControl::showEvent(e);
}

void TWinControl::resizeEvent(QResizeEvent* e)
{
    Realign();
    TControl::resizeEvent(e);
}

void TWinControl::childEvent(QChildEvent* e)
{
    TControl::childEvent(e);
    if (e->removed())
        Realign();
}

void TWinControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ToQColor(Color()));
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(QWidget* parent) : TWinControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

void TCustomControl::Paint()
{
    m_canvas->Brush.Color = Color();
    m_canvas->FillRect(ClientRect());
}

void TCustomControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TCanvas c(&p);
    c.Font = Font();
    c.Brush.Color = Color();
    m_canvas = &c;
    Paint();
    m_canvas = nullptr;
}

// ---------------------------------------------------------------- lookups

TControl* ControlOf(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* c = qobject_cast<TControl*>(w))
            return c;
    return nullptr;
}

TWinControl* FindWindowedControl(TPoint screenPos)
{
    QWidget* w = QApplication::widgetAt(screenPos.q());
    if (!w) {
        // Platforms that cannot say which window is at a point: the active
        // window first, then the other visible ones.
        QList<QWidget*> tops = QApplication::topLevelWidgets();
        if (QWidget* a = QApplication::activeWindow())
            tops.prepend(a);
        for (QWidget* t : tops) {
            if (!t->isVisible() || !t->geometry().contains(screenPos.q()))
                continue;
            QPoint local = t->mapFromGlobal(screenPos.q());
            w = t->childAt(local);
            if (!w)
                w = t;
            break;
        }
    }
    for (; w; w = w->parentWidget())
        if (auto* c = qobject_cast<TWinControl*>(w))
            return c;
    return nullptr;
}

void SetTabOrder(std::initializer_list<QWidget*> order)
{
    TControl* first = order.size() ? ControlOf(*order.begin()) : nullptr;
    TForm* f = first ? first->ParentForm() : nullptr;
    // The chain starts at the form: the list's first control comes right
    // after it, so that a form hosted in another window is entered at that
    // control.  Qt links no widget that never takes the focus (the form, a
    // panel in the list) and walks past them when it looks whether a link
    // is there already, so the form takes part for the time being, and the
    // panels are left out.
    const Qt::FocusPolicy formPolicy = f ? f->focusPolicy() : Qt::NoFocus;
    if (f)
        f->setFocusPolicy(Qt::TabFocus);
    QWidget* prev = f;
    for (QWidget* w : order) {
        if (!w || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (prev)
            QWidget::setTabOrder(prev, w);
        prev = w;
    }
    if (f) {
        f->setFocusPolicy(formPolicy);
        // The form gives its first focus by this order, not by the order in
        // which its controls were made.
        f->SetTabOrderList(std::vector<QPointer<QWidget>>(order.begin(), order.end()));
    }
}
