#pragma once
// The control model: components with owners, controls with parents and
// bounds in the parent's client coordinates, windowed and non-windowed
// controls, alignment, hints ("short|long"), help contexts, colours and
// fonts that can follow the parent, and the virtual mouse and key handlers
// the instrument controls override.  Every control is a QWidget; a
// "windowed" control is one that can hold the focus and children.

#include "platform/graphics.h"
#include "platform/types.h"

#include <QWidget>
#include <cstdint>

class TWinControl;
class TForm;

// Virtual key codes, as the key tables use them.
enum : std::uint16_t {
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_ESCAPE = 27,
    VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
    VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112
};
std::uint16_t VirtualKeyOf(int qtKey);

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, QChar& Key)>;

// A non-visual component: owned by (and freed with) its owner.
class TComponent : public QObject {
    Q_OBJECT
public:
    explicit TComponent(QObject* owner = nullptr) : QObject(owner) {}
    QObject* Owner() const { return parent(); }
    QString Name() const { return objectName(); }
    void SetName(const QString& n) { setObjectName(n); }
    int Tag = 0;
};

class TControl : public QWidget {
    Q_OBJECT
public:
    explicit TControl(QWidget* parent = nullptr);
    ~TControl() override;

    // Bounds in the parent's client coordinates.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    virtual void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    virtual void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    TRect BoundsRect() const { return Bounds(Left(), Top(), Width(), Height()); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return TRect(0, 0, Width(), Height()); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    TPoint ClientToScreen(TPoint p) const { return TPoint::from(mapToGlobal(p.q())); }
    TPoint ScreenToClient(TPoint p) const { return TPoint::from(mapFromGlobal(p.q())); }

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign a);

    bool Visible() const { return !isHidden(); }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // The control's own flag, whatever its parents say.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool v);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& c);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& h);
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool v);
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int c) { m_helpContext = c; }
    int Tag = 0;
    QString Name() const { return objectName(); }
    void SetName(const QString& n) { setObjectName(n); }

    TColor Color() const;   // effective: follows the parent while ParentColor
    void SetColor(TColor c);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool v);
    const TFont& Font() const;
    void SetFont(const TFont& f);
    void FontChanged();
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool v);

    TWinControl* Parent() const;
    void SetParent(TWinControl* p);
    TForm* ParentForm() const;

    virtual bool IsWindowed() const { return true; }
    bool Focused() const { return hasFocus(); }
    bool CanFocus() const;
    // Within a mouse press, a move of the focus that the field being left
    // refuses ends the press's handling (EAbort): the click does nothing.
    void SetFocus();
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool v);

    // Deferred redraw, and an immediate one.
    void Invalidate() { update(); }
    virtual void Repaint() { repaint(); }
    void Refresh() { Repaint(); }

    // The hit-test query: non-zero if the point (client coordinates)
    // belongs to the control.  A control the mouse passes through answers
    // for nothing, so the searches for hints and help find what lies beneath.
    virtual int HitTest(TPoint p)
    {
        (void)p;
        return testAttribute(Qt::WA_TransparentForMouseEvents) ? 0 : 1;
    }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();

    // True once the control, or the form that holds it, is being taken
    // down: from then on the focus neither enters nor leaves it (no OnEnter
    // or OnExit runs); its other handlers are not held back.
    bool Destroying() const { return m_destroying; }

protected:
    // Overridable handlers; the base ones raise the matching events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    virtual void CaptionChanged() { update(); }
    virtual void ColorChanged() { update(); }
    virtual void FontChangedNotify() { update(); }
    virtual void EnabledChanged() { update(); }
    // True while the current key event is an automatic repeat.
    bool KeyAutoRepeat() const { return m_keyAutoRepeat; }

    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

    static TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton);
    void RequestParentAlign();
    void NotifyChildrenParentChanged(bool color, bool font);

private:
    TAlign m_align = alNone;
    QString m_caption;
    QString m_hint;
    bool m_showHint = false;
    int m_helpContext = 0;
    TColor m_color = clBtnFace;
    bool m_parentColor = true;
    TFont m_font;
    bool m_parentFont = true;
    bool m_tabStop = false;
    bool m_pressed = false;
    bool m_keyAutoRepeat = false;
    bool m_keyHandled = false;
    bool m_destroying = false;
    // Between the control's enter and its exit.  Only a move of the focus
    // within the form ends it; losing the window's activation does not.
    bool m_entered = false;
    friend class TForm;
    friend class TApplication;
};

// A control without a window of its own: never takes the focus, has no
// children, paints on its own area of the parent.
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    explicit TGraphicControl(QWidget* parent = nullptr);
    bool IsWindowed() const override { return false; }
    TCanvas* Canvas() { return m_canvas; }
    TNotifyEvent OnPaint;

protected:
    virtual void Paint();
    void paintEvent(QPaintEvent* e) override;

private:
    TCanvas* m_canvas = nullptr;
};

class TWinControl : public TControl {
    Q_OBJECT
public:
    explicit TWinControl(QWidget* parent = nullptr);

    // Child controls in creation (z) order.
    int ControlCount() const;
    TControl* Controls(int i) const;
    // Lays the aligned children out in the client area.
    void Realign();
    // Disabled children are found too.
    TControl* ControlAtPos(TPoint p, bool allowDisabled = true) const;
    // The area aligned children fill (client rectangle less borders).
    virtual TRect AdjustClientRect() const { return ClientRect(); }
    void SetBounds(int left, int top, int width, int height) override;

protected:
    virtual void AlignControls();
    void resizeEvent(QResizeEvent* e) override;
    void childEvent(QChildEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class TControl;
    bool m_aligning = false;
};

// A windowed control that draws itself on its Canvas in Paint.  The
// background is never erased behind the picture.
class TCustomControl : public TWinControl {
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* parent = nullptr);
    TCanvas* Canvas() { return m_canvas; }

protected:
    virtual void Paint();
    void paintEvent(QPaintEvent* e) override;

private:
    TCanvas* m_canvas = nullptr;
};

// The TControl at a widget (climbing out of the Qt widgets that make up a
// standard control); nullptr if none.
TControl* ControlOf(QWidget* w);
// The windowed control of the program under a screen point.
TWinControl* FindWindowedControl(TPoint screenPos);
// Counts an exit refused by its field (the focus went back to it).
void NoteRefusedExit();
// Gives Tab order to the controls in the sequence given.
void SetTabOrder(std::initializer_list<QWidget*> order);
