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

    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    TKitAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TKitAlignment v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    TKitLabelOptions Options() const { return FOptions; }
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
    bool FPainting = false;

private:
    void updateShortcut();

    bool FShowAccelChar = true;
    bool FAutoSize = true;
    bool FMultiLine = false;
    TKitAlignment FAlignment = agTopLeft;
    QPointer<TWinControl> FFocusControl;
    TKitLabelOptions FOptions;
    QShortcut* FShortcut = nullptr;
    TBitmap FMeasure;
};

class TKitCustomLabel : public TKitBaseLabel {
    Q_OBJECT
public:
    explicit TKitCustomLabel(QWidget* parent = nullptr);
    ~TKitCustomLabel() override;

    TKitBevel* Bevel() const { return FBevel.get(); }
    void SetBevel(const TKitBevel* v) { FBevel->Assign(v); }
    TKitFxCaption* FontFx() const { return FFontFx.get(); }
    void SetFontFx(const TKitFxCaption* v) { FFontFx->Assign(v); }

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
    std::unique_ptr<TKitBevel> FBevel;
    std::unique_ptr<TKitFxCaption> FFontFx;
};

class TKitLabel : public TKitCustomLabel {
    Q_OBJECT
public:
    explicit TKitLabel(QWidget* parent = nullptr);
};
