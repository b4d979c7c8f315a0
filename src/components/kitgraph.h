#pragma once
// Drawing descriptions that the library's controls own as sub-objects: a
// border (TKitBevel), a two-colour gradient, text effects and area fills.
// Each reports its changes through OnChange so that the owner repaints.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "components/kitclass.h"
#include "platform/graphics.h"

// ---- Drawing enumerations shared by the library ----
enum TKitSavePixelFormat : std::uint8_t { spfDefault, spfMono, spf4bit, spf8bit };
enum TKitGradientStyle : std::uint8_t {
    gstHorizontal, gstVertical, gstSquare, gstElliptic,
    gstTopLeft, gstTopRight, gstBottomLeft, gstBottomRight
};
enum TKitBevelStyle : std::uint8_t {
    bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow
};
enum TKitBevelMode : std::uint8_t { bmCustom, bmStandard, bmEdge, bmWindows };
enum TKitBorderStyle : std::uint8_t {
    lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsRaisedExt, lsLoweredExt,
    lsFrameInset, lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered,
    lsDoubleRaised, lsDoubleLowered
};
enum TKitEdgeStyle : std::uint8_t {
    etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised, etSunken
};
enum TKitFrameSide : std::uint8_t { fsBottom, fsLeft, fsRight, fsTop };
enum TKitAlignment : std::uint8_t {
    agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight,
    agBottomLeft, agBottomCenter, agBottomRight
};
enum TKitThreeDStyle : std::uint8_t {
    tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised, tdShadow
};
enum TKitDisabledStyle : std::uint8_t { dsAuto, dsStandard, ds3d, dsNone };
enum TKitFillStyle : std::uint8_t { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum TKitTileMode : std::uint8_t { tmNone, tmCenter, tmStretch, tmTile };
enum TKitFillOption : std::uint8_t { foFillInner, foQuickDraw, foGrUseBitmap };

// A small set of enumeration values (up to 32 elements), as the library's
// published set properties need them.
template <typename E>
class TKitSet {
public:
    constexpr TKitSet() = default;
    constexpr TKitSet(std::initializer_list<E> items)
    {
        for (E e : items)
            bits_ |= bit(e);
    }
    constexpr bool Contains(E e) const { return (bits_ & bit(e)) != 0; }
    constexpr void Include(E e) { bits_ |= bit(e); }
    constexpr void Exclude(E e) { bits_ &= ~bit(e); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool operator==(const TKitSet&) const = default;

private:
    static constexpr std::uint32_t bit(E e) { return std::uint32_t(1) << unsigned(e); }
    std::uint32_t bits_ = 0;
};

using TKitFrameSides = TKitSet<TKitFrameSide>;
using TKitFillOptions = TKitSet<TKitFillOption>;
constexpr TKitFrameSides KitAllFrameSides{fsBottom, fsLeft, fsRight, fsTop};

using TKitAngle = std::uint16_t;
using TKitBevelWidth = std::uint8_t;
using TKitBorderWidth = std::uint8_t;
using TKitColorCount = std::uint8_t;

// The colours of a gradient, start colour first, as plain RGB values.
using TKitColorList = std::vector<TColor>;

// A logical palette. Displays here are true-colour, so a palette only
// carries its entries; selecting it changes no pixel.
struct TKitPalette {
    std::vector<TColor> Entries;
};
using TKitPaletteHandle = std::shared_ptr<TKitPalette>;

// ---- Bevel ----
class TKitBevel : public TKitObject {
    Q_OBJECT
public:
    TKitBevel();

    TKitBevelStyle StyleInner() const { return styleInner_; }
    TKitBevelStyle StyleOuter() const { return styleOuter_; }
    TKitBevelWidth WidthInner() const { return widthInner_; }
    TKitBevelWidth WidthOuter() const { return widthOuter_; }
    TColor BorderColor() const { return colors_[0]; }
    TColor LightColor() const { return colors_[1]; }
    TColor ShadowColor() const { return colors_[2]; }
    TKitBorderWidth BorderInnerWidth() const { return borderInnerWidth_; }
    TKitBorderWidth BorderWidth() const { return borderWidth_; }
    TKitFrameSides BorderSides() const { return borderSides_; }
    TKitEdgeStyle EdgeStyle() const { return edgeStyle_; }
    TKitBevelMode Mode() const { return mode_; }
    TKitBorderStyle StandardStyle() const { return standardStyle_; }
    int Extent() const { return extent_; }
    int FarExtent() const { return farExtent_; }
    bool WindowedOwner = false;

    void SetStyleInner(TKitBevelStyle v);
    void SetStyleOuter(TKitBevelStyle v);
    void SetWidthInner(TKitBevelWidth v);
    void SetWidthOuter(TKitBevelWidth v);
    void SetBorderColor(TColor v) { setColor(0, v); }
    void SetLightColor(TColor v) { setColor(1, v); }
    void SetShadowColor(TColor v) { setColor(2, v); }
    void SetBorderInnerWidth(TKitBorderWidth v);
    void SetBorderWidth(TKitBorderWidth v);
    void SetBorderSides(TKitFrameSides v);
    void SetEdgeStyle(TKitEdgeStyle v);
    void SetMode(TKitBevelMode v);
    void SetStandardStyle(TKitBorderStyle v);

    // The border width for the present properties.
    int BevelExtent() const;
    // True once after a switch to or from bmWindows on a windowed owner.
    bool ModeChanged();
    TRect ClientRect(const TRect& r) const;
    // Paints the border into r and returns what is left inside.
    TRect PaintBevel(TCanvas* canvas, const TRect& r, bool transparent) const;

    void Change() override;
    void Assign(const QObject* source) override;

private:
    void setColor(int index, TColor v);
    void borderRing(TCanvas* canvas, TRect& r, int n, bool transparent) const;

    TKitBevelStyle styleInner_ = bvNone;
    TKitBevelStyle styleOuter_ = bvNone;
    TKitBevelWidth widthInner_ = 1;
    TKitBevelWidth widthOuter_ = 1;
    TColor colors_[3] = {clBtnFace, clBtnHighlight, clBtnShadow};
    TKitBorderWidth borderInnerWidth_ = 0;
    TKitBorderWidth borderWidth_ = 0;
    TKitFrameSides borderSides_ = KitAllFrameSides;
    TKitEdgeStyle edgeStyle_ = etEtched;
    int extent_ = 0;
    int farExtent_ = 0;
    TKitBevelMode mode_ = bmCustom;
    TKitBorderStyle standardStyle_ = lsSingleLowered;
    bool recreatePending_ = false;
};

// ---- Gradient ----
class TKitGradient : public TKitObject {
    Q_OBJECT
public:
    TKitGradient();
    ~TKitGradient() override;

    TKitColorCount ColorCount() const { return colorCount_; }
    TColor Color() const { return color_; }
    TColor EndColor() const { return endColor_; }
    bool PaletteRealize() const { return paletteRealize_; }
    TKitGradientStyle Style() const { return style_; }
    const TKitColorList& Colors() const { return colors_; }
    TKitPaletteHandle Palette() const { return palette_; }

    void SetColorCount(TKitColorCount v);
    void SetColor(TColor v);
    void SetEndColor(TColor v);
    void SetPaletteRealize(bool v);
    void SetStyle(TKitGradientStyle v);

    void UpdateColors();
    void ClearColors();
    void ApplyPalette(TCanvas* canvas) const;

    void Change() override;
    void Assign(const QObject* source) override;

private:
    TKitColorCount colorCount_ = 16;
    TColor color_ = clBlue;
    TKitColorList colors_;
    TColor endColor_ = clBlack;
    bool paletteRealize_ = false;
    TKitPaletteHandle palette_;
    TKitGradientStyle style_ = gstVertical;
};

// ---- Text effects ----
class TKit3DCaption : public TKitObject {
    Q_OBJECT
public:
    TKit3DCaption();

    TKitDisabledStyle DisabledStyle() const { return disabledStyle_; }
    std::uint8_t LightDepth() const { return depths_[0]; }
    std::uint8_t ShadowDepth() const { return depths_[1]; }
    TColor LightColor() const { return colors_[0]; }
    TColor ShadowColor() const { return colors_[1]; }
    TKitThreeDStyle Style() const { return style_; }
    int Tracing() const { return tracing_; }

    void SetDisabledStyle(TKitDisabledStyle v);
    void SetLightDepth(std::uint8_t v) { setDepth(0, v); }
    void SetShadowDepth(std::uint8_t v) { setDepth(1, v); }
    void SetLightColor(TColor v) { setColor(0, v); }
    void SetShadowColor(TColor v) { setColor(1, v); }
    void SetStyle(TKitThreeDStyle v);
    void SetTracing(int v);

    void Assign(const QObject* source) override;

protected:
    void copyCaption(const TKit3DCaption& s);

private:
    void setDepth(int index, std::uint8_t v);
    void setColor(int index, TColor v);

    TKitDisabledStyle disabledStyle_ = dsAuto;
    std::uint8_t depths_[2] = {1, 1};
    TColor colors_[2] = {clBtnHighlight, clBtnShadow};
    TKitThreeDStyle style_ = tdNone;
    int tracing_ = 0;
};

class TKitFxCaption : public TKit3DCaption {
    Q_OBJECT
public:
    TKitFxCaption() = default;

    TKitAngle Angle() const { return angle_; }
    std::uint16_t PosX() const { return pos_[0]; }
    std::uint16_t PosY() const { return pos_[1]; }

    void SetAngle(TKitAngle v);
    void SetPosX(std::uint16_t v) { setPos(0, v); }
    void SetPosY(std::uint16_t v) { setPos(1, v); }
    // Sets both without a change notification.
    void SetPos(std::uint16_t x, std::uint16_t y);

    void Assign(const QObject* source) override;

private:
    void setPos(int index, std::uint16_t v);

    TKitAngle angle_ = 0;
    std::uint16_t pos_[2] = {0, 0};
};

// ---- Area fills ----
class TKitShapeFill : public TKitObject {
    Q_OBJECT
public:
    TKitShapeFill();
    ~TKitShapeFill() override;

    TBitmap* Bitmap() const { return bitmap_.get(); }
    TBitmap* ListBitmap() const { return listBitmap_.get(); }
    TKitGradient* Gradient() const { return gradient_.get(); }
    TKitFillStyle Style() const { return style_; }
    TKitTileMode TileMode() const { return tileMode_; }

    void SetBitmap(const TBitmap* v);
    void SetGradient(const TKitGradient* v);
    void SetStyle(TKitFillStyle v);
    void SetTileMode(TKitTileMode v);
    void SetListBitmap(const TBitmap* v);

    bool IsEmpty() const;
    bool IsTransparent() const;

    void Assign(const QObject* source) override;

protected:
    // The picture of the bitmap styles (the list bitmap for sfBitmapList).
    TBitmap* picture() const;

    std::unique_ptr<TBitmap> bitmap_;
    std::unique_ptr<TBitmap> listBitmap_;
    std::unique_ptr<TKitGradient> gradient_;
    TKitFillStyle style_ = sfBrush;
    TKitTileMode tileMode_ = tmTile;
};

class TKitFillObject : public TKitShapeFill {
    Q_OBJECT
public:
    TKitFillObject();
    ~TKitFillObject() override;

    TKitAlignment Alignment() const { return alignment_; }
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    TBrush* Brush() const { return brush_.get(); }
    TKitFillOptions Options() const { return options_; }

    void SetAlignment(TKitAlignment v);
    void SetOffsetX(int v);
    void SetOffsetY(int v);
    void SetBrush(const TBrush* v);
    void SetOptions(TKitFillOptions v);

    // Paints r in the fill's style; False for sfNone and an empty picture.
    bool Fill(TCanvas* canvas, const TRect& r, TColor backColor) const;

    void Assign(const QObject* source) override;

private:
    bool placementMatters() const;
    void innerFill(TCanvas* canvas, const TRect& r, TColor backColor) const;

    TKitAlignment alignment_ = agTopLeft;
    int offsetX_ = 0;
    int offsetY_ = 0;
    std::unique_ptr<TBrush> brush_;
    TKitFillOptions options_{foFillInner, foGrUseBitmap};
};
