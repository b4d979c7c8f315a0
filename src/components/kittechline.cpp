#include "components/kittechline.h"

#include <array>
#include <cstdint>

namespace {
enum { Up, Down, Left, Right };

bool isOpenArrow(TKitLineEndings s) { return s >= leOpenArrowUp && s <= leOpenArrowLeft; }
bool isClosedArrow(TKitLineEndings s) { return s >= leClosedArrowUp && s <= leClosedArrowRight; }

// Draws one sign inside (L, T, R, B) with the canvas's current pen and brush.
void drawSign(TCanvas& c, TKitLineEndings sign, int L, int T, int R, int B)
{
    if (c.Pen.Width != 1) {
        int e = c.Pen.Width / 2;
        L += e;
        T += e;
        R -= e;
        B -= e;
    }
    const int midX = L + (R - L) / 2;
    const int midY = T + (B - T) / 2;
    auto poly = [&](std::initializer_list<TPoint> pts, bool closed) {
        std::vector<TPoint> v(pts);
        if (closed)
            c.Polygon(v);
        else
            c.Polyline(v);
    };
    switch (sign) {
    case leNothing: break;
    case leOpenArrowUp: poly({{L, B}, {midX, T}, {R, B}}, false); break;
    case leOpenArrowDown: poly({{L, T}, {midX, B}, {R, T}}, false); break;
    case leOpenArrowRight: poly({{L, T}, {R, midY}, {L, B}}, false); break;
    case leOpenArrowLeft: poly({{R, T}, {L, midY}, {R, B}}, false); break;
    case leClosedArrowUp: poly({{L, B}, {midX, T}, {R, B}}, true); break;
    case leClosedArrowDown: poly({{L, T}, {midX, B}, {R, T}}, true); break;
    case leClosedArrowLeft: poly({{R, T}, {L, midY}, {R, B}}, true); break;
    case leClosedArrowRight: poly({{L, T}, {R, midY}, {L, B}}, true); break;
    case leDiamond: poly({{midX, T}, {R, midY}, {midX, B}, {L, midY}}, true); break;
    case leCircle: c.Ellipse(L, T, R, B); break;
    case leRectangle: c.Rectangle(L, T, R, B); break;
    case leRoundRect: c.RoundRect(L, T, R, B, (R - L) / 4, (B - T) / 4); break;
    case leParallelogramm: poly({{L + (R - L) / 4, T}, {R, T}, {R - (R - L) / 4, B}, {L, B}}, true); break;
    case leComb:
        poly({{midX, T}, {R, T + (B - T) / 4}, {R, B - (B - T) / 4}, {midX, B}, {L, B - (B - T) / 4}, {L, T + (B - T) / 4}}, true);
        break;
    case leHalfCircleLeft: c.Pie(L, T, R, B, midX, T, midX, B); break;
    case leHalfCircleRight: c.Pie(L, T, R, B, midX, B, midX, T); break;
    case leHalfCircleUp: c.Pie(L, T, R, B, L, midY, R, midY); break;
    case leHalfCircleDown: c.Pie(L, T, R, B, R, midY, L, midY); break;
    }
}

// The measures a line's coordinates are made of: the area (W, H), the sign
// size S, its half K, the sign's square with the shadow M = S + d, the
// shadow depth d, half the pen width e, and the halves that the straight
// lines centre on (each taken by itself, rounding toward zero).
enum Measure { mW, mH, mM, mK, mS, md, me, mHalfW, mHalfH, mHalfM, mHalfD, kMeasures };
using Measures = std::array<int, kMeasures>;

// A coordinate: a sum of measures with whole factors, written in the table
// below as the formula it stands for (W - K - d).
struct Term {
    int c = 0;
    std::array<std::int8_t, kMeasures> f{};
    constexpr Term(int constant = 0) : c(constant) {}
    static constexpr Term of(Measure m)
    {
        Term t;
        t.f[m] = 1;
        return t;
    }
    friend constexpr Term operator+(Term a, const Term& b)
    {
        a.c += b.c;
        for (int i = 0; i < kMeasures; ++i)
            a.f[i] = std::int8_t(a.f[i] + b.f[i]);
        return a;
    }
    friend constexpr Term operator*(int k, Term a)
    {
        a.c *= k;
        for (auto& x : a.f)
            x = std::int8_t(x * k);
        return a;
    }
    friend constexpr Term operator-(const Term& a, const Term& b) { return a + -1 * b; }
    int operator()(const Measures& v) const
    {
        int r = c;
        for (int i = 0; i < kMeasures; ++i)
            r += f[i] * v[i];
        return r;
    }
};

struct Box {
    Term l, t, r, b;
};

// A line's path: one segment, two joined at a corner, or an arc (its box,
// then the points its rays run through).
struct Path {
    enum Shape : std::uint8_t { Segment, Corner, Arc } shape;
    std::array<Term, 8> v;
};

enum Step : std::uint8_t { StartSign, Line, EndSign };

// One line type: the squares of its start and end signs, the order in which
// its signs and its path are drawn (where they overlap, the later wins), and
// its path for each placement of the signs.
struct LineLayout {
    Box start, end;
    std::array<Step, 3> order;
    std::array<Path, 4> paths; // no signs, start sign, end sign, both
};

const Path& pathFor(const LineLayout& layout, TKitSignPlaces places)
{
    switch (places) {
    case spStart: return layout.paths[1];
    case spEnd: return layout.paths[2];
    case spBoth: return layout.paths[3];
    default: return layout.paths[0];
    }
}

namespace terms {
constexpr Term W = Term::of(mW), H = Term::of(mH), M = Term::of(mM), K = Term::of(mK), S = Term::of(mS),
               d = Term::of(md), e = Term::of(me), w = Term::of(mHalfW), h = Term::of(mHalfH),
               halfM = Term::of(mHalfM), halfD = Term::of(mHalfD);

constexpr Path seg(Term x1, Term y1, Term x2, Term y2) { return {Path::Segment, {x1, y1, x2, y2}}; }
constexpr Path corner(Term x1, Term y1, Term x2, Term y2, Term x3, Term y3)
{
    return {Path::Corner, {x1, y1, x2, y2, x3, y3}};
}
constexpr Path arc(Term l, Term t, Term r, Term b, Term x3, Term y3, Term x4, Term y4)
{
    return {Path::Arc, {l, t, r, b, x3, y3, x4, y4}};
}

// Squares of the signs in the corners.
constexpr Box TL{0, 0, M, M}, TR{W - M, 0, W, M}, BL{0, H - M, M, H}, BR{W - M, H - M, W, H};
// The straight lines run at half the area, moved up or left by half the
// shadow when a sign is on them.
constexpr Term y = h - halfD, x = w - halfD;

constexpr std::array<Step, 3> SLE{StartSign, Line, EndSign}, LSE{Line, StartSign, EndSign},
    ELS{EndSign, Line, StartSign}, ESL{EndSign, StartSign, Line};

// By TKitTechnicalLineTypes.
constexpr LineLayout kLayouts[12] = {
    // lsStraightLeftToRight
    {{0, h - halfM, M, h + halfM}, {W - M, h - halfM, W, h + halfM}, SLE,
     {seg(e, h, W - d - e, h), seg(M - d, y, W - d - e, y), seg(e, y, W - M, y), seg(M - d, y, W - M, y)}},
    // lsStraightTopToBottom
    {{w - halfM, 0, w + halfM, M}, {w - halfM, H - M, w + halfM, H}, SLE,
     {seg(w, e, w, H - d - e), seg(x, M - d, x, H - d - e), seg(x, e, x, H - M), seg(x, M - d, x, H - M)}},
    // lsTopLeftToBottomRight
    {TL, BR, SLE,
     {seg(0, 0, W - d, H - d), seg(S, K, W - d, H - d), seg(0, 0, W - M, H - K - d), seg(S, K, W - M, H - K - d)}},
    // lsBottomLeftToTopRight
    {BL, TR, SLE,
     {seg(0, H - d, W - d, 0), seg(M - d, H - K - d, W - d, 0), seg(0, H, W - M, K),
      seg(M - d, H - K - d, W - M, K)}},
    // lsTopLeftEdge
    {BL, TR, LSE,
     {corner(0, H - d, 0, 0, W - d, 0), corner(K, H - M, K, 0, W - d, 0), corner(0, H - d, 0, K, W - M, K),
      corner(K, H - M, K, K, W - M, K)}},
    // lsBottomLeftEdge
    {BR, TL, ELS,
     {corner(0, 0, 0, H - d, W - d, H - d), corner(0, 0, 0, H - K - d, W - M, H - K - d),
      corner(K, M - d, K, H - d, W - d, H - d), corner(K, M - d, K, H - K - d, W - M, H - K - d)}},
    // lsTopRightEdge
    {TL, BR, SLE,
     {corner(0, 0, W - d, 0, W - d, H - d), corner(M - d, K, W - d, K, W - d, H - d),
      corner(0, 0, W - K - d, 0, W - K - d, H - M), corner(M - d, K, W - K - d, K, W - K - d, H - M)}},
    // lsBottomRightEdge
    {TR, BL, ESL,
     {corner(W - d, 0, W - d, H - d, 0, H - d), corner(W - K - d, S, W - K - d, H - d, 0, H - d),
      corner(W - d, 0, W - d, H - K - d, S, H - K - d), corner(W - K - d, S, W - K - d, H - K - d, S, H - K - d)}},
    // lsTopLeftCurve
    {BL, TR, LSE,
     {arc(0, 0, 2 * W, 2 * H, W - d, 0, 0, H - d), arc(K, 0, 2 * W - K, 2 * (H - M), W - d, 0, K, H - M),
      arc(0, K, 2 * (W - M), 2 * H - K, W - M, K, 0, H - d),
      arc(K, K, 2 * W - 2 * S - K, 2 * H - 2 * S - K, W - M, K, K, H - M)}},
    // lsBottomLeftCurve
    {BR, TL, ELS,
     {arc(d, H - d, 2 * W - d, d - H, 0, 0, W - d, H - d),
      arc(0, K + d - H, 2 * (W - M), H - K - d, 0, 0, W - M, H - K - d),
      arc(K, 2 * S + d - H, 2 * W + K - S, H - d, K, S, W - d, H),
      arc(K, 2 * S + K + d - H, 2 * W - 2 * M - K, H - K - d, K, S, W - M, H - K - d)}},
    // lsTopRightCurve
    {TL, BR, SLE,
     {arc(d - W, 0, W - d, 2 * H, W - d, H - d, 0, 0),
      arc(2 * M - d - W, K, W - d, 2 * H + K - M, W, H - d, M - d, K),
      arc(K + d - W, 0, W - K - d, 2 * (H - M), W - K - d, H - M, 0, 0),
      arc(2 * M + d + K - W, K, W - K - d, 2 * H - 2 * M - K, W - K - d, H - M, M - d, K)}},
    // lsBottomRightCurve
    {TR, BL, ESL,
     {arc(d - W, d - H, W - d, H - d, 0, H - d, W, 0),
      arc(K + d - W, 2 * S + d - H, W - K - d, H - d, 0, H - d, W - K - d, M - d),
      arc(2 * S + d - W, K - H, W - d, H - K - d, M - d, H - K, W, 0),
      arc(2 * S + K + d - W, 2 * S + K + d - H, W - K - d, H - K - d, S, H - K - d, W - K - d, S)}},
};
} // namespace terms

// Everything one paint needs, in area coordinates (origin at the area's
// top-left corner).
struct LinePainter {
    TCanvas& c;
    TPen pen;
    TPen shadowPen;
    TColor fill;
    TColor shadowColor;
    bool shadow;
    int d, ox, oy;

    void useLinePen(const TPen& p)
    {
        c.Pen = p;
        c.Brush.Bitmap = nullptr;
        c.Brush.Style = TBrushStyle::bsClear;
    }
    void segment(int x1, int y1, int x2, int y2)
    {
        if (shadow) {
            useLinePen(shadowPen);
            c.MoveTo(ox + x1 + d, oy + y1 + d);
            c.LineTo(ox + x2 + d, oy + y2 + d);
        }
        useLinePen(pen);
        c.MoveTo(ox + x1, oy + y1);
        c.LineTo(ox + x2, oy + y2);
    }
    void arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
    {
        if (shadow) {
            useLinePen(shadowPen);
            c.Arc(ox + l + d, oy + t + d, ox + r + d, oy + b + d, ox + x3 + d, oy + y3 + d, ox + x4 + d, oy + y4 + d);
        }
        useLinePen(pen);
        c.Arc(ox + l, oy + t, ox + r, oy + b, ox + x3, oy + y3, ox + x4, oy + y4);
    }
    void path(const Path& p, const Measures& m)
    {
        std::array<int, 8> v{};
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = p.v[i](m);
        switch (p.shape) {
        case Path::Segment: segment(v[0], v[1], v[2], v[3]); break;
        case Path::Corner:
            segment(v[0], v[1], v[2], v[3]);
            segment(v[2], v[3], v[4], v[5]);
            break;
        case Path::Arc: arc(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break;
        }
    }
    void sign(TKitLineEndings s, const Box& b, const Measures& m)
    {
        if (s == leNothing)
            return;
        const int x1 = b.l(m), y1 = b.t(m), x2 = b.r(m), y2 = b.b(m);
        c.Brush.Bitmap = nullptr;
        if (shadow) {
            c.Pen = shadowPen;
            c.Brush.Style = fill == clNone ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
            c.Brush.Color = shadowColor;
            drawSign(c, s, ox + x1 + d, oy + y1 + d, ox + x2, oy + y2);
        }
        c.Pen = pen;
        c.Brush.Style = fill == clNone ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
        c.Brush.Color = fill;
        drawSign(c, s, ox + x1, oy + y1, ox + x2 - d, oy + y2 - d);
    }
};
} // namespace

void KitLineDirections(TKitTechnicalLineTypes type, int& start, int& end)
{
    static const int table[12][2] = {
        {Left, Right}, {Up, Down}, {Left, Right}, {Left, Right},
        {Down, Right}, {Right, Up}, {Left, Down}, {Up, Left},
        {Down, Right}, {Right, Up}, {Left, Down}, {Up, Left},
    };
    start = table[type][0];
    end = table[type][1];
}

TKitLineEndings KitArrowFacing(TKitLineEndings sign, int direction)
{
    static const TKitLineEndings open[4] = {leOpenArrowUp, leOpenArrowDown, leOpenArrowLeft, leOpenArrowRight};
    static const TKitLineEndings closed[4] = {leClosedArrowUp, leClosedArrowDown, leClosedArrowLeft, leClosedArrowRight};
    if (isOpenArrow(sign))
        return open[direction];
    if (isClosedArrow(sign))
        return closed[direction];
    return sign;
}

TKitTechnicalLine::TKitTechnicalLine(QWidget* parent) : TKitGraphicControl(parent)
{
    resize(130, 45);
}

TKitTechnicalLine::~TKitTechnicalLine() = default;

void TKitTechnicalLine::SetLineType(TKitTechnicalLineTypes v)
{
    if (v == m_lineType)
        return;
    m_lineType = v;
    if (m_arrowed) {
        int s = 0, e = 0;
        KitLineDirections(v, s, e);
        m_startSign = KitArrowFacing(m_startSign, s);
        m_endSign = KitArrowFacing(m_endSign, e);
    }
    Invalidate();
}

void TKitTechnicalLine::SetLineEndingsign(TKitLineEndings v)
{
    if (v == m_endSign)
        return;
    m_endSign = v;
    if (m_signPlaces == spEnd || m_signPlaces == spBoth)
        Invalidate();
}

void TKitTechnicalLine::SetLineStartSign(TKitLineEndings v)
{
    if (v == m_startSign)
        return;
    m_startSign = v;
    if (m_signPlaces == spStart || m_signPlaces == spBoth)
        Invalidate();
}

void TKitTechnicalLine::SetLineSettings(const TPen& p) { store(m_pen, p); }
void TKitTechnicalLine::SetArrowed(bool v) { store(m_arrowed, v); }
void TKitTechnicalLine::SetShadowDepth(int v) { store(m_shadowDepth, v); }
void TKitTechnicalLine::SetSignSize(int v) { store(m_signSize, v); }
void TKitTechnicalLine::SetSignPlaces(TKitSignPlaces v) { store(m_signPlaces, v); }
void TKitTechnicalLine::SetShadowColor(TColor v) { store(m_shadowColor, v); }
void TKitTechnicalLine::SetFillColor(TColor v) { store(m_fillColor, v); }
void TKitTechnicalLine::SetShadowVisible(bool v) { store(m_shadowVisible, v); }

void TKitTechnicalLine::Paint()
{
    TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    if (!Transparent())
        FillBackground();
    TRect area = ClientRect();
    if (Bevel()->Extent() != 0)
        area = Bevel()->PaintBevel(canvas, area, Bevel()->BorderColor() == Color() || Transparent());
    if (m_lineType > lsBottomRightCurve)
        return;
    const int e = m_pen.Width / 2;
    InflateRect(area, -(e + 1), -(e + 1));

    TPen shadowPen = m_pen;
    shadowPen.Color = m_shadowColor;
    const int d = m_shadowVisible ? m_shadowDepth : 0;
    const int W = area.Width(), H = area.Height(), M = m_signSize + d;
    const Measures m{W, H, M, m_signSize / 2, m_signSize, d, e, W / 2, H / 2, M / 2, d / 2};
    LinePainter p{*canvas, m_pen, shadowPen, m_fillColor, m_shadowColor, m_shadowVisible, d, area.Left, area.Top};

    const bool startOn = m_signPlaces == spStart || m_signPlaces == spBoth;
    const bool endOn = m_signPlaces == spEnd || m_signPlaces == spBoth;
    const LineLayout& layout = terms::kLayouts[m_lineType];
    for (Step step : layout.order) {
        if (step == Line)
            p.path(pathFor(layout, m_signPlaces), m);
        else if (step == StartSign && startOn)
            p.sign(m_startSign, layout.start, m);
        else if (step == EndSign && endOn)
            p.sign(m_endSign, layout.end, m);
    }
}
