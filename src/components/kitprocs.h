#pragma once
// Stateless drawing procedures of the component library: bevels and
// borders, gradients, placing a rectangle in another, text with 3-D
// effects and rotation, and bitmaps in several modes.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "components/kitgraph.h"

// Drawing flags of the bitmap and gradient procedures.
constexpr std::uint16_t KIT_DF_CLIP = 0x0001;
constexpr std::uint16_t KIT_DF_VIABITMAP = 0x0004;
constexpr std::uint16_t KIT_DF_CENTER = 0x0008;
constexpr std::uint16_t KIT_DF_STRETCH = 0x0010;
constexpr std::uint16_t KIT_DF_TILE = 0x0020;
constexpr std::uint16_t KIT_DF_TRANSPARENT = 0x0040;
constexpr std::uint16_t KIT_DF_BRUSHCOPY = 0x0080;
constexpr std::uint16_t KIT_DF_MASKED = 0x0100;
constexpr std::uint16_t KIT_DF_KEEPHEIGHT = 0x0200;
constexpr std::uint16_t KIT_DF_KEEPWIDTH = 0x0400;
constexpr std::uint16_t KIT_DF_PROPORTIONAL = 0x0600;
constexpr std::uint16_t KIT_DF_PALETTE = 0x1000;

// Effect flags of the text procedures.
constexpr unsigned KIT_FX_ENABLED = 0x0002;
constexpr unsigned KIT_FX_DISABLEDSUNKEN = 0x0004;
constexpr unsigned KIT_FX_CLIP = 0x0008;

// Edge kinds and side flags of the edge drawing.
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_TOPLEFT = BF_LEFT | BF_TOP;
constexpr unsigned BF_BOTTOMRIGHT = BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_RECT = BF_TOPLEFT | BF_BOTTOMRIGHT;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;

// ---- Bevel and border ----
bool DrawBevel(TCanvas* canvas, TRect& r, TKitBevelStyle style, TColor light, TColor shadow, int width);
bool DrawShadowBevel(TCanvas* canvas, TRect& r, TColor frameColor, TColor shadowColor, TColor notchColor,
                     int shadowWidth, int frameWidth, bool transparent);
int BorderStyleWidth(TKitBorderStyle style);
bool DrawBorder(TCanvas* canvas, TRect& r, TKitBorderStyle style, unsigned extra = 0);
// The classic two-ring 3-D edge: each ring a light and a dark side; with
// BF_ADJUST the rectangle shrinks by the rings drawn on each side.
void KitDrawEdge(TCanvas* canvas, TRect& r, unsigned edge, unsigned flags);

// ---- Gradient ----
void GradientColors(TColor start, TColor end, std::uint8_t count, TKitColorList* list);
TKitPaletteHandle GradientPalette(const TKitColorList* list);

// One step of a gradient fill: the shape painted in colour ColorIndex.
// Rect is normalised; Ellipse marks the elliptic style, Framed marks the
// styles drawn as Rectangle with a clear pen (one pixel less each way).
struct TKitGradientStep {
    TRect Shape;
    int ColorIndex = 0;
    bool Ellipse = false;
    bool Framed = false;
};
// The steps of a gradient of `count` colours over a W x H area, in painting
// order, relative to the area's top-left corner.
std::vector<TKitGradientStep> GradientSteps(TKitGradientStyle style, int w, int h, int count);
void FillGradient(TCanvas* canvas, const TRect& r, TKitGradientStyle style, const TKitColorList* list,
                  const TKitPaletteHandle& palette, std::uint16_t flags, std::uint32_t clipOffset = 0);

// ---- Placement ----
TRect AlignRect(TKitAlignment alignment, const TRect& source, const TRect& destination);

// ---- Text ----
void DrawFxText(TCanvas* canvas, const QString& text, TKit3DCaption* caption, const TRect& r,
                unsigned format, unsigned effects, const TRect* clipRect = nullptr);
void CalcFxTextRect(TCanvas* canvas, const QString& text, TKit3DCaption* caption, TRect& r,
                    const TFont* font, bool wordWrap, bool showAccel, int margin, unsigned format);
TRect DrawFxCaption(TKitAlignment alignment, const QString& text, TKit3DCaption* caption,
                    const TRect& available, const TFont* font, bool wordWrap, bool showAccel, unsigned format);
bool CanvasFontIsTrueType(TCanvas* canvas);
// The platform's text drawing with text format flags; with DT_CALCRECT it
// only measures into r (Left and Top stay). Returns the text height.
int KitDrawText(TCanvas* canvas, const QString& text, TRect& r, unsigned format, int spacing = 0);

// ---- Bitmaps ----
void FillBitmap(TBitmap* bitmap, const TRect& r, TColor color);
void MakeMaskedImage(TCanvas* canvas, const TRect& source, TBitmap* mask, TColor color, TBitmap* image);
void DrawBitmapCore(TCanvas* dest, const TRect& d, TCanvas* source, const TRect& sourceRect, std::uint16_t flags,
                    TColor color, const TKitPaletteHandle& palette, TBitmap* picture, TCanvas* maskCanvas,
                    TRect* drawn);
void DrawBitmapClipped(TCanvas* canvas, const TRect& r, TCanvas* source, const TRect& sourceRect,
                       std::uint16_t flags, std::uint32_t clipOffset, TColor color, TBitmap* picture,
                       TCanvas* maskCanvas = nullptr);
void DrawBitmapEx(TCanvas* canvas, const TRect& r, TBitmap* bitmap, std::uint16_t flags, std::uint32_t clipOffset,
                  TColor color);
void DrawBitmapInRect(TCanvas* canvas, const TRect& r, TBitmap* bitmap, std::uint16_t flags, TColor color,
                      TRect* drawn = nullptr);
