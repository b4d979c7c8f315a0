#pragma once
// Drawing objects and the canvas.  The canvas keeps the pixel rules that the
// laboratory's drawing formulas were written for:
//  - LineTo/Polyline leave out the last pixel of a 1-pixel line, whichever
//    way it runs (platform/raster.h);
//  - Rectangle/Ellipse/RoundRect boxes exclude the right and bottom edge,
//    and without a pen the fill is one pixel smaller still; rounded boxes
//    are rounded alike at all four corners;
//  - Arc/Pie/Chord run counter-clockwise from the ray through the first
//    point to the ray through the second;
//  - Polygon fills alternate and its outline inks every vertex;
//  - a pen of width W inks W pixels across: the pixels whose centres lie
//    within W / 2 of the line, which runs through the pixel centres for odd
//    W and half a pixel up and left of them for even W (round caps and
//    joins); Rectangle/Ellipse/RoundRect centre it on the outline of the
//    one-pixel pen, psInsideFrame keeps it inside the box; rings drawn one
//    inside another leave no gaps;
//  - TextOut anchors the top-left of the text cell;
//  - colours are 0x00BBGGRR.
// Everything is drawn aliased.

#include "platform/shapes.h"
#include "platform/types.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>
#include <vector>

class TBitmap;
class QSvgRenderer;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont {
public:
    QString Name = "MS Sans Serif";
    int PixelSize = 11;        // character height in pixels
    TColor Color = clWindowText;
    TFontStyles Style = 0;
    TFontPitch Pitch = TFontPitch::fpDefault;

    TFont() = default;
    TFont(const QString& name, int pixels, TColor color = clWindowText, TFontStyles style = 0)
        : Name(name), PixelSize(pixels), Color(color), Style(style) {}

    // Size in points at 96 dots per inch, as form resources give it.
    int Size() const;
    void SetSize(int points);
    // Height as the platform's font record: negative = character height.
    int Height() const { return -PixelSize; }
    void SetHeight(int h) { PixelSize = h < 0 ? -h : h; }
    bool operator==(const TFont&) const = default;

    // The installed font standing in for the named one.
    QFont ToQFont() const;
    // "Symbol" puts Greek letters on Latin codes; this gives the text as it shows.
    QString DisplayText(const QString& s) const;
};

enum class TPenStyle { psSolid, psDash, psClear, psInsideFrame };
enum class TPenMode { pmCopy, pmXor };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    bool operator==(const TPen&) const = default;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    // A pattern bitmap overrides Color and Style while set (borrowed).
    const TBitmap* Bitmap = nullptr;
};

enum class TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmNotSrcCopy, cmWhiteness, cmBlackness };

// DrawText flags (the subset the laboratory uses).
enum : unsigned {
    DT_LEFT = 0x0, DT_TOP = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000
};

class TCanvas {
public:
    // A canvas over an active painter (a widget's paint cycle).
    explicit TCanvas(QPainter* painter);
    // A canvas that paints into a bitmap; used by TBitmap.
    explicit TCanvas(TBitmap* owner);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = TCopyMode::cmSrcCopy;

    TPoint PenPos() const { return m_penPos; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const TPoint* pts, int count);
    void Polyline(const std::vector<TPoint>& pts) { Polyline(pts.data(), int(pts.size())); }
    void Polygon(const TPoint* pts, int count);
    void Polygon(const std::vector<TPoint>& pts) { Polygon(pts.data(), int(pts.size())); }
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int l, int t, int r, int b);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int l, int t, int r, int b, int w, int h);
    void Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    void Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    void Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    void TextOut(int x, int y, const QString& text);
    // Returns the text height; with DT_CALCRECT only measures into r.
    int DrawText(const QString& text, TRect& r, unsigned flags);
    int TextWidth(const QString& text);
    int TextHeight(const QString& text);
    TPoint TextExtent(const QString& text);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);

    void Draw(int x, int y, const TBitmap& bmp);
    void StretchDraw(const TRect& r, const TBitmap& bmp);
    void StretchDraw(const TRect& r, QSvgRenderer& picture);
    void CopyRect(const TRect& dst, TCanvas& src, const TRect& srcRect);

    // Clipping to a rectangle until ResetClip.
    void ClipRect(const TRect& r);
    void ResetClip();

    QPainter* Painter();   // active painter (opens it for a bitmap canvas)
    void Release();        // ends a bitmap canvas's painter so the image can be read

private:
    friend class TBitmap;
    QColor penColor() const;
    QBrush fillBrush() const;
    QRect drawLimit(QPainter& p, const QRect& want, QImage*& direct, int& scale, QPoint& origin) const;
    shape::Pen outline() const;
    bool filled() const;
    // Hands the runs of a drawing call within what can show of Reach to
    // ShapeRuns(window, runs) and paints them.
    template <class F>
    void draw(const QRect& Reach, bool Fill, F&& ShapeRuns);

    QPainter* m_external = nullptr;
    TBitmap* m_owner = nullptr;
    std::unique_ptr<QPainter> m_own;
    TPoint m_penPos;
    bool m_clip = false;
    TRect m_clipRect;
};

// The image a painter draws on one to one (no transform, device pixel ratio
// 1, full opacity, a detached 32-bit image), or null when pixels cannot be
// written directly. With Clip, a painter clipped to one rectangle qualifies
// and Clip gets the logical pixels that may be written; without, a clipped
// painter does not. With Scale, whole-number ratios qualify too and Scale
// gets the ratio: each logical pixel is then a Scale x Scale block. With
// Origin, a widget's painter qualifies too, which draws into its window's
// image (or the one render() was given) shifted by a whole number of logical
// pixels: Origin gets where the painter's (0, 0) lies in the image, and Clip
// is in the painter's coordinates.
QImage* DirectTarget(QPainter& Painter, QRect* Clip = nullptr, int* Scale = nullptr, QPoint* Origin = nullptr);

// An off-screen picture with its own canvas.  Backed by a QImage in 32-bit
// RGB; optionally at a device pixel ratio for sharp HiDPI output, in which
// case the canvas still works in logical pixels.
class TBitmap {
public:
    TBitmap();
    TBitmap(int w, int h);
    ~TBitmap();
    TBitmap(const TBitmap& o);
    TBitmap& operator=(const TBitmap& o);

    int Width() const { return m_w; }
    int Height() const { return m_h; }
    void SetWidth(int w) { SetSize(w, m_h); }
    void SetHeight(int h) { SetSize(m_w, h); }
    void SetSize(int w, int h);
    qreal DevicePixelRatio() const { return m_dpr; }
    void SetDevicePixelRatio(qreal dpr);
    bool Empty() const { return m_w <= 0 || m_h <= 0; }

    TCanvas& Canvas() { return *m_canvas; }
    // The picture; ends any painting in progress first.
    const QImage& Image() const;
    QImage& MutableImage();
    void Assign(const QImage& img);
    // Loads a picture of the program's resources (":/…" path or a bare name
    // looked up under :/bitmaps/NAME.png|svg).  Returns false if missing.
    bool LoadFromResourceName(const QString& name);

    bool Transparent = false;
    TColor TransparentColor = clNone;   // clNone: the bottom-left pixel

private:
    friend class TCanvas;
    QImage m_img;
    int m_w = 0;
    int m_h = 0;
    qreal m_dpr = 1.0;
    std::unique_ptr<TCanvas> m_canvas;
};

// A vector picture (our stand-in for a placeable metafile), stretched
// frame-to-rectangle when drawn, with a per-size raster cache.
class TMetafile {
public:
    TMetafile();
    ~TMetafile();
    bool LoadFromResourceName(const QString& name);
    bool LoadFromData(const QByteArray& svg);
    bool Empty() const;
    // The picture rendered to exactly w x h logical pixels (cached for the
    // last size asked).
    const QImage& Rendered(int w, int h, qreal dpr = 1.0);
    QSvgRenderer* Renderer() { return m_renderer.get(); }

private:
    std::unique_ptr<QSvgRenderer> m_renderer;
    QImage m_cache;
    int m_cw = -1, m_ch = -1;
    qreal m_cdpr = 0;
};
