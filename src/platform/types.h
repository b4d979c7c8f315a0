#pragma once
// Basic vocabulary of the platform layer: colours, points, rectangles,
// rounding and the exception types the laboratory code raises.

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>

using TObject = QObject;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// ---- Colours: 0x00BBGGRR, or a system colour (high byte 0x80 + index) ----
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// Resolves system colours through a fixed table of the classic values, so
// that pictures are the same on every desktop theme.
TColor ColorToRGB(TColor c);
inline int GetRValue(TColor c) { return c & 0xFF; }
inline int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
class QColor;
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

// ---- Points and rectangles (right and bottom exclusive, as the drawing rules) ----
struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    constexpr bool operator==(const TPoint&) const = default;
    QPoint q() const { return QPoint(X, Y); }
    static TPoint from(QPoint p) { return TPoint(p.x(), p.y()); }
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool operator==(const TRect&) const = default;
    constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
    constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    QRect q() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect from(const QRect& r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
};

constexpr TPoint Point(int x, int y) { return TPoint(x, y); }
constexpr TRect Rect(int l, int t, int r, int b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(int l, int t, int w, int h) { return TRect(l, t, l + w, t + h); }
constexpr bool PtInRect(const TRect& r, TPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
constexpr void InflateRect(TRect& r, int dx, int dy) { r.Left -= dx; r.Top -= dy; r.Right += dx; r.Bottom += dy; }
constexpr void OffsetRect(TRect& r, int dx, int dy) { r.Left += dx; r.Top += dy; r.Right += dx; r.Bottom += dy; }
// Intersection; returns false (and an empty rectangle) when they do not meet.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);

// ---- Rounding as the drawing formulas use it ----
// Round: nearest, ties to even; non-finite values give 0 and huge ones are
// clamped, so nothing undefined reaches an integer.
int Round(double v);
// Trunc: toward zero, with the same guards.
int Trunc(double v);
// Clamps a double into [lo, hi]; NaN gives lo.
double ClampD(double v, double lo, double hi);
// MulDiv as the platform's: (a*b)/c rounded half away from zero, -1 when c is 0.
int MulDiv(int a, int b, int c);

// ---- Exceptions ----
class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& msg) : std::runtime_error(msg.toStdString()), Message(msg) {}
    QString Message;
};
// Ends what is being done without a message.
class EAbort : public Exception {
public:
    EAbort() : Exception(QString()) {}
};
// The conversion error of number fields and command-line numbers.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
