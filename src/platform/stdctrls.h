#pragma once
// Standard controls.  The interactive ones are Qt's own widgets inside a
// control, so focus, keyboard and look follow the desktop; labels, panels
// and the status bar draw themselves with the canvas.

#include "platform/controls.h"

#include <QIcon>
#include <QPointer>

class QPushButton;
class QToolButton;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSlider;
class QShortcut;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// A panel's own window border: none, or a single dark line round it.
enum class TBorderStyle { bsNone, bsSingle };

namespace qthost {

// A control whose face is one Qt widget filling it.  Keys and focus of the
// inner widget reach the control's handlers and events.
class Control : public TWinControl {
    Q_OBJECT
public:
    explicit Control(QWidget* parent = nullptr);
    QWidget* Inner() const { return m_inner; }

protected:
    void SetInner(QWidget* w);
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent*) override {}
    void FontChangedNotify() override;

private:
    QWidget* m_inner = nullptr;
    // The key event the inner widget's filter has already handed to the
    // control's handlers; when the inner widget ignores it, Qt passes the
    // same event up to the control, which must not handle it again.
    struct SeenKey {
        const QEvent* event = nullptr;
        int type = 0;
        int key = 0;
        quint64 time = 0;
    } m_seenKey;
    bool takeSeen(QKeyEvent* e);
};

} // namespace qthost

class TLabel : public TGraphicControl {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a) { m_alignment = a; update(); }
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout l) { m_layout = l; update(); }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v) { m_wordWrap = v; AdjustBounds(); update(); }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v) { m_transparent = v; update(); }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v) { m_autoSize = v; AdjustBounds(); }
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* c) { m_focusControl = c; }
    bool ShowAccelChar = true;
    void AdjustBounds();

protected:
    void Paint() override;
    void CaptionChanged() override;
    void FontChangedNotify() override { AdjustBounds(); update(); }

private:
    unsigned textFlags() const;
    TAlignment m_alignment = TAlignment::taLeftJustify;
    TTextLayout m_layout = TTextLayout::tlTop;
    bool m_wordWrap = false;
    bool m_transparent = false;
    bool m_autoSize = true;
    QPointer<TWinControl> m_focusControl;
    QShortcut* m_shortcut = nullptr;
};

// Draws a 3-D frame of the given width, shrinking r by it.
void Frame3D(TCanvas& c, TRect& r, TColor topColor, TColor bottomColor, int width);

class TPanel : public TCustomControl {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);
    TBevelCut BevelOuter() const { return m_outer; }
    void SetBevelOuter(TBevelCut b) { m_outer = b; Realign(); update(); }
    TBevelCut BevelInner() const { return m_inner; }
    void SetBevelInner(TBevelCut b) { m_inner = b; Realign(); update(); }
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int w) { m_bevelWidth = w; Realign(); update(); }
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int w) { m_borderWidth = w; Realign(); update(); }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle b) { m_borderStyle = b; Realign(); update(); }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a) { m_alignment = a; update(); }
    TRect AdjustClientRect() const override;

protected:
    void Paint() override;

private:
    TBevelCut m_outer = TBevelCut::bvRaised;
    TBevelCut m_inner = TBevelCut::bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TBorderStyle m_borderStyle = TBorderStyle::bsNone;
    TAlignment m_alignment = TAlignment::taCenter;
};

class TButton : public qthost::Control {
    Q_OBJECT
public:
    explicit TButton(QWidget* parent = nullptr);
    QPushButton* Button() const { return m_button; }
    bool Default() const { return m_default; }
    void SetDefault(bool v);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool v);
    int ModalResult = 0;
    void Click() override;

protected:
    void CaptionChanged() override;
    void showEvent(QShowEvent* e) override;
    QPushButton* m_button;

private:
    bool m_default = false;
    bool m_cancel = false;
};

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose };

class TBitBtn : public TButton {
    Q_OBJECT
public:
    explicit TBitBtn(QWidget* parent = nullptr, TBitBtnKind kind = TBitBtnKind::bkCustom);
    TBitBtnKind Kind() const { return m_kind; }
    void SetKind(TBitBtnKind k);
    void SetGlyph(const QIcon& icon);
    // A picture of the program's resources by name (:/glyphs/NAME.png|svg);
    // an empty name clears the glyph.
    void SetGlyphName(const QString& name);
    QString GlyphName() const { return m_glyphName; }
    bool HasGlyph() const;

private:
    TBitBtnKind m_kind = TBitBtnKind::bkCustom;
    QString m_glyphName;
};

// A button without a window of its own: it never takes the focus.  With a
// group index it stays down; with AllowAllUp a second click lifts it.
class TSpeedButton : public TGraphicControl {
    Q_OBJECT
public:
    explicit TSpeedButton(QWidget* parent = nullptr);
    QToolButton* Button() const { return m_button; }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int g);
    bool AllowAllUp = false;
    bool Down() const;
    void SetDown(bool v);
    void SetGlyph(const QIcon& icon);
    void SetGlyphName(const QString& name);
    bool Flat = false;

protected:
    void CaptionChanged() override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent*) override {}
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QToolButton* m_button;
    int m_groupIndex = 0;
};

class TEdit : public qthost::Control {
    Q_OBJECT
public:
    explicit TEdit(QWidget* parent = nullptr);
    QLineEdit* LineEdit() const { return m_edit; }
    QString Text() const;
    void SetText(const QString& t);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    void SetMaxLength(int n);
    void SelectAll();
    TNotifyEvent OnChange;

protected:
    void ColorChanged() override;
    // An entry field taking the focus other than by a click inside it (its
    // window opening on it, Tab, the focus sent back after a refused entry)
    // selects its whole text, so that typing replaces it.
    bool eventFilter(QObject* o, QEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    QLineEdit* m_edit;
    // The field had the focus when its window lost the activation: it gets
    // it back as it was, selection and caret.
    bool m_focusedWhileInactive = false;
};

// Two arrow buttons that step a position and write it into an associated
// edit field.
class TUpDown : public TWinControl {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void SetMin(int v) { m_min = v; }
    void SetMax(int v) { m_max = v; }
    // The position; with an associated edit field the field's text is read
    // first, as the arrows do.
    int Position() const;
    void SetPosition(int v);
    // The field's text as a position: false when it is not a whole number
    // within Min..Max.
    bool PositionFromText(int& pos) const;
    int Increment = 1;
    bool Wrap = false;
    bool ArrowKeys = true;
    TEdit* Associate() const { return m_associate; }
    void SetAssociate(TEdit* e);
    TNotifyEvent OnChanging;
    void StepBy(int delta);
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void writeAssociate();
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    QPointer<TEdit> m_associate;
    QPointer<QObject> m_associateInput;
    QToolButton* m_up;
    QToolButton* m_down;
};

// A list in report style with one column, no header and small images.
class TListView : public qthost::Control {
    Q_OBJECT
public:
    explicit TListView(QWidget* parent = nullptr);
    QListWidget* List() const { return m_list; }
    void AddItem(const QString& caption, int imageIndex = -1);
    int Count() const;
    QString ItemCaption(int i) const;
    // Index of the selected item, -1 when none.
    int Selected() const;
    void SetSelected(int i);
    void SetImages(const std::vector<QIcon>& images);
    bool HideSelection = false;

private:
    QListWidget* m_list;
    std::vector<QIcon> m_images;
};

class TMemo : public qthost::Control {
    Q_OBJECT
public:
    explicit TMemo(QWidget* parent = nullptr);
    QPlainTextEdit* Editor() const { return m_memo; }
    QString Text() const;
    void SetText(const QString& t);
    void SetReadOnly(bool v);
    void SelectAll();
    void CopyToClipboard();
    QString SelText() const;
    bool HideSelection = true;
    void SetHideSelection(bool v);

protected:
    void ColorChanged() override;

private:
    QPlainTextEdit* m_memo;
};

class TStatusBar : public TCustomControl {
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);
    // In simple mode the bar shows SimpleText; otherwise it shows its one
    // panel, and SimpleText is kept but not seen.
    bool SimplePanel() const { return m_simplePanel; }
    void SetSimplePanel(bool v);
    QString SimpleText() const { return m_text; }
    void SetSimpleText(const QString& t);
    QString PanelText() const { return m_panelText; }
    void SetPanelText(const QString& t);

protected:
    void Paint() override;

private:
    QString m_text;
    QString m_panelText;
    bool m_simplePanel = true;
};

class TPaintBox : public TGraphicControl {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr) : TGraphicControl(parent) {}
};

enum class TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public qthost::Control {
    Q_OBJECT
public:
    explicit TTrackBar(QWidget* parent = nullptr, TTrackBarOrientation o = TTrackBarOrientation::trHorizontal);
    QSlider* Slider() const { return m_slider; }
    int Min() const;
    int Max() const;
    void SetRange(int mn, int mx);
    int Position() const;
    void SetPosition(int p);
    void SetFrequency(int f);
    void SetOrientation(TTrackBarOrientation o);
    // The thumb's size across the track, in pixels.
    int ThumbLength() const { return m_thumbLength; }
    void SetThumbLength(int v);
    TNotifyEvent OnChange;

private:
    QSlider* m_slider;
    int m_thumbLength = 20;
};

// A glyph from the program's resources (:/glyphs/NAME.svg or .png).
QIcon LoadGlyph(const QString& name);
