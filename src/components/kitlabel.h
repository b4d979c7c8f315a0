#pragma once
// The library's caption control: text with 3-D effects and rotation inside
// an optional bevel, placed in nine ways, on one or several lines.

#include <QPointer>
#include <memory>

#include "components/kitctrl.h"
#include "components/kitgraph.h"

class QShortcut;

enum TKitLabelOption : std::uint8_t { loPathEllipsis, loEndEllipsis, loEditControl };
using TKitLabelOptions = TKitSet<TKitLabelOption>;

// Text format flags the platform's header does not name.
constexpr unsigned KIT_DT_EDITCONTROL = 0x2000;
constexpr unsigned KIT_DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned KIT_DT_RTLREADING = 0x20000;

// The text format flag of an alignment (horizontal and vertical placement).
unsigned KitAlignmentFlags(TKitAlignment alignment);
// The format flags of the label options.
unsigned KitLabelOptionFlags(TKitLabelOptions options);

class TKitBaseLabel : public TKitBaseGraphicControl {
    Q_OBJECT
public:
    explicit TKitBaseLabel(QWidget* parent = nullptr);
    ~TKitBaseLabel() override;

    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool v);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool v);
    TKitAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TKitAlignment v);
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* v);
    TKitLabelOptions Options() const { return m_options; }
    void SetOptions(TKitLabelOptions v);

    void ObjectChanged(TObject* Sender) override;
    bool IsEmpty() const override;
    virtual QString GetCaption() const { return Caption(); }
    // Sender is the label's own font (any sender but a sub-object) or the
    // effects object whose change touches the font.
    virtual void FontChanged(TObject* Sender);
    virtual void AdjustSize() {}
    // The accelerator of the caption was pressed: true when it moved the focus.
    bool DialogChar();
    // The reading-order flags of the control's layout direction.
    unsigned ReadingOrderFlags() const;

protected:
    void Loaded() override;
    void CaptionChanged() override;
    void FontChangedNotify() override;
    // A canvas with the label's font, for measuring outside the paint cycle.
    TCanvas& measureCanvas();
    bool m_painting = false;

private:
    void updateShortcut();

    bool m_showAccelChar = true;
    bool m_autoSize = true;
    bool m_multiLine = false;
    TKitAlignment m_alignment = agTopLeft;
    QPointer<TWinControl> m_focusControl;
    TKitLabelOptions m_options;
    QShortcut* m_shortcut = nullptr;
    TBitmap m_measure;
};

class TKitCustomLabel : public TKitBaseLabel {
    Q_OBJECT
public:
    explicit TKitCustomLabel(QWidget* parent = nullptr);
    ~TKitCustomLabel() override;

    TKitBevel* Bevel() const { return m_bevel.get(); }
    void SetBevel(const TKitBevel* v) { m_bevel->Assign(v); }
    TKitFxCaption* FontFx() const { return m_fontFx.get(); }
    void SetFontFx(const TKitFxCaption* v) { m_fontFx->Assign(v); }

    void ObjectChanged(TObject* Sender) override;
    bool IsEmpty() const override;
    void FontChanged(TObject* Sender) override;
    void AdjustSize() override;

    // The text format of the next paint for the text rectangle `r` (inside
    // the bevel), which it may move to where rotated or multi-line text
    // goes.
    unsigned PaintFormat(TRect& r) const;

protected:
    void Paint() override;

private:
    std::unique_ptr<TKitBevel> m_bevel;
    std::unique_ptr<TKitFxCaption> m_fontFx;
};

class TKitLabel : public TKitCustomLabel {
    Q_OBJECT
public:
    explicit TKitLabel(QWidget* parent = nullptr);
};
