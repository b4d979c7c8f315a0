#include "components/kittechline.h"

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

// Everything one paint needs, in area coordinates (origin at the area's
// top-left corner).
struct LinePainter {
    TCanvas& c;
    TPen pen;
    TPen shadowPen;
    TColor fill;
    TColor shadowColor;
    bool shadow;
    int d, M, W, H, ox, oy;

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
    void sign(TKitLineEndings s, int x1, int y1, int x2, int y2)
    {
        if (s == leNothing)
            return;
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
    const int e = m_pen.Width / 2;
    InflateRect(area, -(e + 1), -(e + 1));

    TPen shadowPen = m_pen;
    shadowPen.Color = m_shadowColor;
    const int d = m_shadowVisible ? m_shadowDepth : 0;
    LinePainter p{*canvas, m_pen, shadowPen, m_fillColor, m_shadowColor, m_shadowVisible, d, m_signSize + d,
                  area.Width(), area.Height(), area.Left, area.Top};
    const int W = p.W, H = p.H, M = p.M, K = m_signSize / 2, S = m_signSize;
    const bool startOn = m_signPlaces == spStart || m_signPlaces == spBoth;
    const bool endOn = m_signPlaces == spEnd || m_signPlaces == spBoth;
    const TKitSignPlaces sp = m_signPlaces;

    // Squares of the signs.
    const TRect TL(0, 0, M, M), TR(W - M, 0, W, M), BL(0, H - M, M, H), BR(W - M, H - M, W, H);
    auto startSign = [&](const TRect& r) {
        if (startOn)
            p.sign(m_startSign, r.Left, r.Top, r.Right, r.Bottom);
    };
    auto endSign = [&](const TRect& r) {
        if (endOn)
            p.sign(m_endSign, r.Left, r.Top, r.Right, r.Bottom);
    };
    // The path for each placement: none, start, end, both.
    auto pick = [&](auto none, auto start, auto end, auto both) {
        switch (sp) {
        case spStart: start(); break;
        case spEnd: end(); break;
        case spBoth: both(); break;
        default: none(); break;
        }
    };

    switch (m_lineType) {
    case lsStraightLeftToRight: {
        const int h = H / 2;
        const TRect s(0, h - M / 2, M, h + M / 2), en(W - M, h - M / 2, W, h + M / 2);
        const int y = h - d / 2;
        startSign(s);
        pick([&] { p.segment(e, h, W - d - e, h); }, [&] { p.segment(M - d, y, W - d - e, y); },
             [&] { p.segment(e, y, W - M, y); }, [&] { p.segment(M - d, y, W - M, y); });
        endSign(en);
        break;
    }
    case lsStraightTopToBottom: {
        const int w = W / 2;
        const TRect s(w - M / 2, 0, w + M / 2, M), en(w - M / 2, H - M, w + M / 2, H);
        const int x = w - d / 2;
        startSign(s);
        pick([&] { p.segment(w, e, w, H - d - e); }, [&] { p.segment(x, M - d, x, H - d - e); },
             [&] { p.segment(x, e, x, H - M); }, [&] { p.segment(x, M - d, x, H - M); });
        endSign(en);
        break;
    }
    case lsTopLeftToBottomRight:
        startSign(TL);
        pick([&] { p.segment(0, 0, W - d, H - d); }, [&] { p.segment(S, K, W - d, H - d); },
             [&] { p.segment(0, 0, W - M, H - K - d); }, [&] { p.segment(S, K, W - M, H - K - d); });
        endSign(BR);
        break;
    case lsBottomLeftToTopRight:
        startSign(BL);
        pick([&] { p.segment(0, H - d, W - d, 0); }, [&] { p.segment(M - d, H - K - d, W - d, 0); },
             [&] { p.segment(0, H, W - M, K); }, [&] { p.segment(M - d, H - K - d, W - M, K); });
        endSign(TR);
        break;
    case lsTopLeftEdge:
        pick([&] { p.segment(0, H - d, 0, 0); p.segment(0, 0, W - d, 0); },
             [&] { p.segment(K, H - M, K, 0); p.segment(K, 0, W - d, 0); },
             [&] { p.segment(0, H - d, 0, K); p.segment(0, K, W - M, K); },
             [&] { p.segment(K, H - M, K, K); p.segment(K, K, W - M, K); });
        startSign(BL);
        endSign(TR);
        break;
    case lsBottomLeftEdge:
        endSign(TL);
        pick([&] { p.segment(0, 0, 0, H - d); p.segment(0, H - d, W - d, H - d); },
             [&] { p.segment(0, 0, 0, H - K - d); p.segment(0, H - K - d, W - M, H - K - d); },
             [&] { p.segment(K, M - d, K, H - d); p.segment(K, H - d, W - d, H - d); },
             [&] { p.segment(K, M - d, K, H - K - d); p.segment(K, H - K - d, W - M, H - K - d); });
        startSign(BR);
        break;
    case lsTopRightEdge:
        startSign(TL);
        pick([&] { p.segment(0, 0, W - d, 0); p.segment(W - d, 0, W - d, H - d); },
             [&] { p.segment(M - d, K, W - d, K); p.segment(W - d, K, W - d, H - d); },
             [&] { p.segment(0, 0, W - K - d, 0); p.segment(W - K - d, 0, W - K - d, H - M); },
             [&] { p.segment(M - d, K, W - K - d, K); p.segment(W - K - d, K, W - K - d, H - M); });
        endSign(BR);
        break;
    case lsBottomRightEdge:
        endSign(BL);
        startSign(TR);
        pick([&] { p.segment(W - d, 0, W - d, H - d); p.segment(W - d, H - d, 0, H - d); },
             [&] { p.segment(W - K - d, S, W - K - d, H - d); p.segment(W - K - d, H - d, 0, H - d); },
             [&] { p.segment(W - d, 0, W - d, H - K - d); p.segment(W - d, H - K - d, S, H - K - d); },
             [&] { p.segment(W - K - d, S, W - K - d, H - K - d); p.segment(W - K - d, H - K - d, S, H - K - d); });
        break;
    case lsTopLeftCurve:
        pick([&] { p.arc(0, 0, 2 * W, 2 * H, W - d, 0, 0, H - d); },
             [&] { p.arc(K, 0, 2 * W - K, 2 * (H - M), W - d, 0, K, H - M); },
             [&] { p.arc(0, K, 2 * (W - M), 2 * H - K, W - M, K, 0, H - d); },
             [&] { p.arc(K, K, 2 * W - 2 * S - K, 2 * H - 2 * S - K, W - M, K, K, H - M); });
        startSign(BL);
        endSign(TR);
        break;
    case lsBottomLeftCurve:
        endSign(TL);
        pick([&] { p.arc(d, H - d, 2 * W - d, d - H, 0, 0, W - d, H - d); },
             [&] { p.arc(0, K + d - H, 2 * (W - M), H - K - d, 0, 0, W - M, H - K - d); },
             [&] { p.arc(K, 2 * S + d - H, 2 * W + K - S, H - d, K, S, W - d, H); },
             [&] { p.arc(K, 2 * S + K + d - H, 2 * W - 2 * M - K, H - K - d, K, S, W - M, H - K - d); });
        startSign(BR);
        break;
    case lsTopRightCurve:
        startSign(TL);
        pick([&] { p.arc(d - W, 0, W - d, 2 * H, W - d, H - d, 0, 0); },
             [&] { p.arc(2 * M - d - W, K, W - d, 2 * H + K - M, W, H - d, M - d, K); },
             [&] { p.arc(K + d - W, 0, W - K - d, 2 * (H - M), W - K - d, H - M, 0, 0); },
             [&] { p.arc(2 * M + d + K - W, K, W - K - d, 2 * H - 2 * M - K, W - K - d, H - M, M - d, K); });
        endSign(BR);
        break;
    case lsBottomRightCurve:
        endSign(BL);
        startSign(TR);
        pick([&] { p.arc(d - W, d - H, W - d, H - d, 0, H - d, W, 0); },
             [&] { p.arc(K + d - W, 2 * S + d - H, W - K - d, H - d, 0, H - d, W - K - d, M - d); },
             [&] { p.arc(2 * S + d - W, K - H, W - d, H - K - d, M - d, H - K, W, 0); },
             [&] { p.arc(2 * S + K + d - W, 2 * S + K + d - H, W - K - d, H - K - d, S, H - K - d, W - K - d, S); });
        break;
    }
}
