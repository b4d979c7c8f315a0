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
            m_bits |= bit(e);
    }
    constexpr bool Contains(E e) const { return (m_bits & bit(e)) != 0; }
    constexpr void Include(E e) { m_bits |= bit(e); }
    constexpr void Exclude(E e) { m_bits &= ~bit(e); }
    constexpr bool Empty() const { return m_bits == 0; }
    constexpr std::uint32_t Bits() const { return m_bits; }
    constexpr bool operator==(const TKitSet&) const = default;

private:
    static constexpr std::uint32_t bit(E e) { return std::uint32_t(1) << unsigned(e); }
    std::uint32_t m_bits = 0;
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

    TKitBevelStyle StyleInner() const { return m_styleInner; }
    TKitBevelStyle StyleOuter() const { return m_styleOuter; }
    TKitBevelWidth WidthInner() const { return m_widthInner; }
    TKitBevelWidth WidthOuter() const { return m_widthOuter; }
    TColor BorderColor() const { return m_colors[0]; }
    TColor LightColor() const { return m_colors[1]; }
    TColor ShadowColor() const { return m_colors[2]; }
    TKitBorderWidth BorderInnerWidth() const { return m_borderInnerWidth; }
    TKitBorderWidth BorderWidth() const { return m_borderWidth; }
    TKitFrameSides BorderSides() const { return m_borderSides; }
    TKitEdgeStyle EdgeStyle() const { return m_edgeStyle; }
    TKitBevelMode Mode() const { return m_mode; }
    TKitBorderStyle StandardStyle() const { return m_standardStyle; }
    int Extent() const { return m_extent; }
    int FarExtent() const { return m_farExtent; }
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

    TKitBevelStyle m_styleInner = bvNone;
    TKitBevelStyle m_styleOuter = bvNone;
    TKitBevelWidth m_widthInner = 1;
    TKitBevelWidth m_widthOuter = 1;
    TColor m_colors[3] = {clBtnFace, clBtnHighlight, clBtnShadow};
    TKitBorderWidth m_borderInnerWidth = 0;
    TKitBorderWidth m_borderWidth = 0;
    TKitFrameSides m_borderSides = KitAllFrameSides;
    TKitEdgeStyle m_edgeStyle = etEtched;
    int m_extent = 0;
    int m_farExtent = 0;
    TKitBevelMode m_mode = bmCustom;
    TKitBorderStyle m_standardStyle = lsSingleLowered;
    bool m_recreatePending = false;
};

// ---- Gradient ----
class TKitGradient : public TKitObject {
    Q_OBJECT
public:
    TKitGradient();
    ~TKitGradient() override;

    TKitColorCount ColorCount() const { return m_colorCount; }
    TColor Color() const { return m_color; }
    TColor EndColor() const { return m_endColor; }
    bool PaletteRealize() const { return m_paletteRealize; }
    TKitGradientStyle Style() const { return m_style; }
    const TKitColorList& Colors() const { return m_colors; }
    TKitPaletteHandle Palette() const { return m_palette; }

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
    TKitColorCount m_colorCount = 16;
    TColor m_color = clBlue;
    TKitColorList m_colors;
    TColor m_endColor = clBlack;
    bool m_paletteRealize = false;
    TKitPaletteHandle m_palette;
    TKitGradientStyle m_style = gstVertical;
};

// ---- Text effects ----
class TKit3DCaption : public TKitObject {
    Q_OBJECT
public:
    TKit3DCaption();

    TKitDisabledStyle DisabledStyle() const { return m_disabledStyle; }
    std::uint8_t LightDepth() const { return m_depths[0]; }
    std::uint8_t ShadowDepth() const { return m_depths[1]; }
    TColor LightColor() const { return m_colors[0]; }
    TColor ShadowColor() const { return m_colors[1]; }
    TKitThreeDStyle Style() const { return m_style; }
    int Tracing() const { return m_tracing; }

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

    TKitDisabledStyle m_disabledStyle = dsAuto;
    std::uint8_t m_depths[2] = {1, 1};
    TColor m_colors[2] = {clBtnHighlight, clBtnShadow};
    TKitThreeDStyle m_style = tdNone;
    int m_tracing = 0;
};

class TKitFxCaption : public TKit3DCaption {
    Q_OBJECT
public:
    TKitFxCaption() = default;

    TKitAngle Angle() const { return m_angle; }
    std::uint16_t PosX() const { return m_pos[0]; }
    std::uint16_t PosY() const { return m_pos[1]; }

    void SetAngle(TKitAngle v);
    void SetPosX(std::uint16_t v) { setPos(0, v); }
    void SetPosY(std::uint16_t v) { setPos(1, v); }
    // Sets both without a change notification.
    void SetPos(std::uint16_t x, std::uint16_t y);

    void Assign(const QObject* source) override;

private:
    void setPos(int index, std::uint16_t v);

    TKitAngle m_angle = 0;
    std::uint16_t m_pos[2] = {0, 0};
};

// ---- Area fills ----
class TKitShapeFill : public TKitObject {
    Q_OBJECT
public:
    TKitShapeFill();
    ~TKitShapeFill() override;

    TBitmap* Bitmap() const { return m_bitmap.get(); }
    TBitmap* ListBitmap() const { return m_listBitmap.get(); }
    TKitGradient* Gradient() const { return m_gradient.get(); }
    TKitFillStyle Style() const { return m_style; }
    TKitTileMode TileMode() const { return m_tileMode; }

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

    std::unique_ptr<TBitmap> m_bitmap;
    std::unique_ptr<TBitmap> m_listBitmap;
    std::unique_ptr<TKitGradient> m_gradient;
    TKitFillStyle m_style = sfBrush;
    TKitTileMode m_tileMode = tmTile;
};

class TKitFillObject : public TKitShapeFill {
    Q_OBJECT
public:
    TKitFillObject();
    ~TKitFillObject() override;

    TKitAlignment Alignment() const { return m_alignment; }
    int OffsetX() const { return m_offsetX; }
    int OffsetY() const { return m_offsetY; }
    TBrush* Brush() const { return m_brush.get(); }
    TKitFillOptions Options() const { return m_options; }

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

    TKitAlignment m_alignment = agTopLeft;
    int m_offsetX = 0;
    int m_offsetY = 0;
    std::unique_ptr<TBrush> m_brush;
    TKitFillOptions m_options{foFillInner, foGrUseBitmap};
};
