#include "platform/graphics.h"

#include "platform/raster.h"

#include <QFontMetrics>
#include <QSvgRenderer>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>

// ---------------------------------------------------------------- TFont

int TFont::Size() const
{
    return MulDiv(PixelSize, 72, 96);
}

void TFont::SetSize(int points)
{
    PixelSize = MulDiv(points < 0 ? -points : points, 96, 72);
}

QFont TFont::ToQFont() const
{
    QFont f;
    QStringList fam;
    const QString n = Name.toLower();
    if (n == "courier new" || n == "courier" || Pitch == TFontPitch::fpFixed)
        fam = {"Liberation Mono", "DejaVu Sans Mono", "Monospace"};
    else if (n == "times new roman")
        fam = {"Liberation Serif", "DejaVu Serif", "Serif"};
    else if (n == "symbol")
        fam = {"DejaVu Sans", "Liberation Sans"};
    else
        fam = {"Liberation Sans", "DejaVu Sans", "Sans Serif"};
    f.setFamilies(fam);
    f.setPixelSize(PixelSize > 0 ? PixelSize : 1);
    f.setBold(Style & fsBold);
    f.setItalic(Style & fsItalic);
    f.setUnderline(Style & fsUnderline);
    f.setStrikeOut(Style & fsStrikeOut);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QString TFont::DisplayText(const QString& s) const
{
    if (Name.compare("Symbol", Qt::CaseInsensitive) != 0)
        return s;
    // The letters the laboratory takes from the symbol font.
    QString out = s;
    for (QChar& c : out) {
        switch (c.unicode()) {
        case 'W': c = QChar(0x03A9); break;  // Omega
        case 'm': c = QChar(0x03BC); break;  // mu
        case 'p': c = QChar(0x03C0); break;  // pi
        case 'w': c = QChar(0x03C9); break;  // omega
        case 'D': c = QChar(0x0394); break;  // Delta
        case 'j': c = QChar(0x03C6); break;  // phi
        default: break;
        }
    }
    return out;
}

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas(QPainter* painter) : m_external(painter) {}
TCanvas::TCanvas(TBitmap* owner) : m_owner(owner) {}
TCanvas::~TCanvas() { Release(); }

QPainter* TCanvas::Painter()
{
    if (m_external)
        return m_external;
    if (!m_own) {
        if (!m_owner || m_owner->m_img.isNull())
            return nullptr;
        m_own = std::make_unique<QPainter>(&m_owner->m_img);
        m_own->setRenderHint(QPainter::Antialiasing, false);
        if (m_clip)
            m_own->setClipRect(m_clipRect.q());
    }
    return m_own.get();
}

void TCanvas::Release()
{
    if (m_own) {
        m_own->end();
        m_own.reset();
    }
}

void TCanvas::ClipRect(const TRect& r)
{
    m_clip = true;
    m_clipRect = r;
    if (QPainter* p = Painter())
        p->setClipRect(r.q());
}

void TCanvas::ResetClip()
{
    m_clip = false;
    if (QPainter* p = Painter())
        p->setClipping(false);
}

void TCanvas::applyMode(QPainter& p) const
{
    switch (Pen.Mode) {
    case TPenMode::pmXor: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case TPenMode::pmNotXor: p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    case TPenMode::pmNot: p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case TPenMode::pmMerge: p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case TPenMode::pmMask: p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    default: p.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    }
}

QColor TCanvas::penColor() const
{
    return Pen.Mode == TPenMode::pmBlack ? QColor(Qt::black)
         : Pen.Mode == TPenMode::pmWhite ? QColor(Qt::white)
                                         : ToQColor(Pen.Color);
}

QBrush TCanvas::fillBrush() const
{
    if (Brush.Bitmap && !Brush.Bitmap->Empty())
        return QBrush(Brush.Bitmap->Image());
    QColor c = ToQColor(Brush.Color);
    switch (Brush.Style) {
    case TBrushStyle::bsClear: return QBrush(Qt::NoBrush);
    case TBrushStyle::bsHorizontal: return QBrush(c, Qt::HorPattern);
    case TBrushStyle::bsVertical: return QBrush(c, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case TBrushStyle::bsCross: return QBrush(c, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(c);
    }
}

// The pixels one drawing call inks over a box of the picture: 1 where the
// brush fills, 2 where the pen draws. Collecting them first lets every pixel
// be painted once, which the exclusive-or modes need.
class CanvasCoverage {
public:
    CanvasCoverage(const QRect& box) : box_(box)
    {
        if (box_.isValid())
            px_.assign(size_t(box_.width()) * size_t(box_.height()), 0);
    }
    const QRect& Box() const { return box_; }
    void Set(int x, int y, std::uint8_t v)
    {
        if (box_.contains(x, y))
            px_[idx(x, y)] = v;
    }
    void Span(int x0, int x1, int y, std::uint8_t v)
    {
        if (y < box_.top() || y > box_.bottom())
            return;
        x0 = std::max(x0, box_.left());
        x1 = std::min(x1, box_.right());
        if (x0 <= x1)
            std::fill_n(px_.begin() + qsizetype(idx(x0, y)), x1 - x0 + 1, v);
    }
    // Fills the runs of value v through the painter.
    void Paint(QPainter& p, std::uint8_t v, const QBrush& brush) const
    {
        if (brush.style() == Qt::NoBrush || px_.empty())
            return;
        for (int y = box_.top(); y <= box_.bottom(); ++y) {
            const std::uint8_t* row = &px_[idx(box_.left(), y)];
            const int w = box_.width();
            for (int i = 0; i < w;) {
                if (row[i] != v) {
                    ++i;
                    continue;
                }
                int j = i;
                while (j < w && row[j] == v)
                    ++j;
                p.fillRect(QRect(box_.left() + i, y, j - i, 1), brush);
                i = j;
            }
        }
    }

private:
    size_t idx(int x, int y) const { return size_t(y - box_.top()) * size_t(box_.width()) + size_t(x - box_.left()); }
    QRect box_;
    std::vector<std::uint8_t> px_;
};

namespace {

constexpr double kEps = 1e-9;

// A box's oval: the centre line of its one-pixel outline runs through the
// centres of the box's outermost pixels.
struct Oval {
    double cx, cy, a, b;
    Oval(int l, int t, int r, int bt)
        : cx((l + r - 1) / 2.0), cy((t + bt - 1) / 2.0), a((r - l - 1) / 2.0), b((bt - t - 1) / 2.0) {}
    // Inside the oval drawn with a one-pixel pen: in every column the rows
    // nearest the curve and those between, and likewise in every row.
    bool Pixel(int x, int y) const
    {
        const double dx = std::abs(x - cx), dy = std::abs(y - cy);
        if (dx > a + 0.5 + kEps || dy > b + 0.5 + kEps)
            return false;
        if (dx <= a + kEps && dy <= b * root(dx, a) + 0.5 + kEps)
            return true;
        return dy <= b + kEps && dx <= a * root(dy, b) + 0.5 + kEps;
    }
    // The centre of pixel (x, y) lies within the oval of radii a + d, b + d.
    double Level(int x, int y, double d) const
    {
        const double ra = a + d, rb = b + d;
        const double dx = x - cx, dy = y - cy;
        if (ra <= 0 || rb <= 0)
            return (ra < 0 || rb < 0) ? 2.0 : ((ra == 0 && dx == 0) || (rb == 0 && dy == 0) ? 0.0 : 2.0);
        return dx * dx / (ra * ra) + dy * dy / (rb * rb);
    }
    // The ring a pen of w pixels draws along the centre line.
    bool Ring(int x, int y, int w) const
    {
        if (Level(x, y, w / 2.0) > 1 + kEps)
            return false;
        if (a - w / 2.0 <= 0 || b - w / 2.0 <= 0)
            return true;
        return Level(x, y, -w / 2.0) >= 1 - kEps;
    }
    // Parametric angle (degrees, counter-clockwise) of a pixel's centre.
    double Angle(int x, int y) const
    {
        const double ra = a + 0.5, rb = b + 0.5;
        const double dx = (x - cx) / ra, dy = (cy - y) / rb;
        if (dx == 0 && dy == 0)
            return 0;
        return std::atan2(dy, dx) * 180.0 / M_PI;
    }
    // The point of the centre line at a parametric angle.
    TPoint At(double deg) const
    {
        const double t = deg * M_PI / 180.0;
        return TPoint(int(std::lround(cx + a * std::cos(t))), int(std::lround(cy - b * std::sin(t))));
    }

private:
    static double root(double d, double r)
    {
        if (r <= 0)
            return 1.0;
        const double u = d / r;
        return u >= 1 ? 0.0 : std::sqrt(1 - u * u);
    }
};

// The rounded box: the corners are the quarters of the oval of w x h.
struct RoundBox {
    int l, t, r, b, w, h;
    bool Pixel(int x, int y) const
    {
        if (x < l || x >= r || y < t || y >= b)
            return false;
        const int cw = std::min(w, r - l), ch = std::min(h, b - t);
        if (cw < 2 || ch < 2)
            return true;
        // Every corner is the upper left one mirrored.
        const int xm = x - l <= r - 1 - x ? x : l + (r - 1 - x);
        const int ym = y - t <= b - 1 - y ? y : t + (b - 1 - y);
        const Oval o(l, t, l + cw, t + ch);
        if (xm >= o.cx || ym >= o.cy)
            return true;
        return o.Pixel(xm, ym);
    }
};

// Marks the pixels of a region and, when asked, its edge (the pixels with a
// side neighbour outside it) as the pen's.
template <class In>
void Region(CanvasCoverage& cov, const QRect& box, In&& in, bool edge, std::uint8_t inside)
{
    const QRect r = box.intersected(cov.Box());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            if (!in(x, y))
                continue;
            const bool e = edge && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1));
            cov.Set(x, y, e ? 2 : inside);
        }
}

// Whether an angle lies on the counter-clockwise run from a1 over span.
bool InSweep(double deg, double a1, double span)
{
    if (span >= 360)
        return true;
    double d = std::fmod(deg - a1, 360.0);
    if (d < 0)
        d += 360;
    return d <= span + 1e-7 || d >= 360 - 1e-7;
}

// Parametric angle (degrees, counter-clockwise, y up) of the ray from the
// centre of the box through (x, y).
double rayAngle(const QRectF& box, int x, int y)
{
    QPointF c = box.center();
    double rx = box.width() / 2.0, ry = box.height() / 2.0;
    double dx = x - c.x(), dy = c.y() - y;
    if (rx > 0) dx /= rx;
    if (ry > 0) dy /= ry;
    if (dx == 0 && dy == 0)
        return 0;
    return std::atan2(dy, dx) * 180.0 / M_PI;
}

} // namespace

bool TCanvas::dashOn(int& step) const
{
    static const int dash[] = {6, 2}, dot[] = {1, 1}, dashDot[] = {3, 1, 1, 1}, dashDotDot[] = {3, 1, 1, 1, 1, 1};
    const int* pat = nullptr;
    int n = 0;
    switch (Pen.Style) {
    case TPenStyle::psDash: pat = dash, n = 2; break;
    case TPenStyle::psDot: pat = dot, n = 2; break;
    case TPenStyle::psDashDot: pat = dashDot, n = 4; break;
    case TPenStyle::psDashDotDot: pat = dashDotDot, n = 6; break;
    default: return true;
    }
    int period = 0;
    for (int i = 0; i < n; ++i)
        period += pat[i];
    int k = step++ % period;
    for (int i = 0; i < n; ++i) {
        if (k < pat[i])
            return i % 2 == 0;
        k -= pat[i];
    }
    return true;
}

QRect TCanvas::drawLimit(QPainter& p, const QRect& want) const
{
    // Nothing outside the device (or the clip) can show; this also bounds the
    // work for shapes far larger than the picture.
    QPaintDevice* d = p.device();
    QRect lim(-2, -2, d->width() + 4, d->height() + 4);
    lim = p.worldTransform().inverted().mapRect(lim);
    if (p.hasClipping())
        lim &= p.clipBoundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    return want.intersected(lim);
}

void TCanvas::strokeThin(CanvasCoverage& cov, const TPoint* pts, int count, bool closed) const
{
    int step = 0;
    for (int i = 0; i + 1 < count + (closed ? 1 : 0); ++i) {
        const TPoint a = pts[i], b = pts[(i + 1) % count];
        raster::ThinLinePixels(a.X, a.Y, b.X, b.Y, [&](int x, int y) {
            if (dashOn(step))
                cov.Set(x, y, 2);
        });
    }
}

void TCanvas::strokeWide(CanvasCoverage& cov, const TPoint* pts, int count, bool closed) const
{
    const int w = Pen.Width;
    if (count == 1) {
        raster::WideLine(pts[0].X, pts[0].Y, pts[0].X, pts[0].Y, w, [&](int a, int b, int y) { cov.Span(a, b, y, 2); });
        return;
    }
    for (int i = 0; i + 1 < count + (closed ? 1 : 0); ++i) {
        const TPoint a = pts[i], b = pts[(i + 1) % count];
        raster::WideLine(a.X, a.Y, b.X, b.Y, w, [&](int x0, int x1, int y) { cov.Span(x0, x1, y, 2); });
    }
}

void TCanvas::paintCoverage(QPainter& p, const CanvasCoverage& cov, bool fill)
{
    applyMode(p);
    if (fill)
        cov.Paint(p, 1, fillBrush());
    if (Pen.Style != TPenStyle::psClear)
        cov.Paint(p, 2, QBrush(penColor()));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = TPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint pts[2] = {m_penPos, TPoint(x, y)};
    m_penPos = TPoint(x, y);
    Polyline(pts, 2);
}

void TCanvas::Polyline(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    QPainter* p = Painter();
    if (!p || Pen.Style == TPenStyle::psClear)
        return;
    const bool wide = Pen.Width > 1;
    if (Pen.Mode == TPenMode::pmCopy && (wide || Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame)) {
        // The common case: the runs go straight to the painter (painting a
        // pixel twice in copy mode changes nothing).
        const QColor c = penColor();
        auto span = [&](int a, int b, int y) { p->fillRect(QRect(a, y, b - a + 1, 1), c); };
        for (int i = 0; i + 1 < count; ++i) {
            if (wide)
                raster::WideLine(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, Pen.Width, span);
            else
                raster::ThinLine(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, span);
        }
        return;
    }
    int l = pts[0].X, r = pts[0].X, t = pts[0].Y, b = pts[0].Y;
    for (int i = 1; i < count; ++i) {
        l = std::min(l, pts[i].X), r = std::max(r, pts[i].X);
        t = std::min(t, pts[i].Y), b = std::max(b, pts[i].Y);
    }
    const int m = wide ? Pen.Width : 0;
    CanvasCoverage cov(drawLimit(*p, QRect(QPoint(l - m, t - m), QPoint(r + m, b + m))));
    if (wide)
        strokeWide(cov, pts, count, false);
    else
        strokeThin(cov, pts, count, false);
    paintCoverage(*p, cov, false);
}

void TCanvas::Polygon(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    QPainter* p = Painter();
    if (!p)
        return;
    int l = pts[0].X, r = pts[0].X, t = pts[0].Y, b = pts[0].Y;
    for (int i = 1; i < count; ++i) {
        l = std::min(l, pts[i].X), r = std::max(r, pts[i].X);
        t = std::min(t, pts[i].Y), b = std::max(b, pts[i].Y);
    }
    const bool pen = Pen.Style != TPenStyle::psClear;
    const int m = pen ? std::max(Pen.Width, 1) : 1;
    CanvasCoverage cov(drawLimit(*p, QRect(QPoint(l - m, t - m), QPoint(r + m, b + m))));
    // Alternate fill: the pixel centres between the first and second edge
    // crossed along a row, the third and fourth, and so on; the right and
    // lower edges stay out, as a fill without a pen shows.
    std::vector<double> xs;
    for (int y = std::max(t, cov.Box().top()); y <= std::min(b, cov.Box().bottom()); ++y) {
        xs.clear();
        for (int i = 0; i < count; ++i) {
            const TPoint a = pts[i], c = pts[(i + 1) % count];
            if (a.Y == c.Y)
                continue;
            if (y >= std::min(a.Y, c.Y) && y < std::max(a.Y, c.Y))
                xs.push_back(a.X + double(y - a.Y) * (c.X - a.X) / (c.Y - a.Y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            cov.Span(int(std::ceil(xs[k] - kEps)), int(std::ceil(xs[k + 1] - kEps)) - 1, y, 1);
    }
    if (pen) {
        if (Pen.Width > 1)
            strokeWide(cov, pts, count, true);
        else
            strokeThin(cov, pts, count, true);
    }
    paintCoverage(*p, cov, true);
}

void TCanvas::shape(int kind, int l, int t, int r, int b, int x3, int y3, int x4, int y4, int rw, int rh)
{
    QPainter* p = Painter();
    if (!p)
        return;
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    // The box excludes its right and bottom edge.
    if (r - l < 1 || b - t < 1)
        return;
    const bool pen = Pen.Style != TPenStyle::psClear;
    const bool wide = pen && Pen.Width > 1;
    const bool fill = kind != 3;
    if (kind == 3 && !pen)
        return;
    // Without a pen the fill is one pixel smaller.
    const int fr = pen ? r : r - 1, fb = pen ? b : b - 1;
    if (fr - l < 1 || fb - t < 1)
        return;

    double a1 = 0, span = 360;
    if (kind >= 3) {
        QRectF box(l, t, r - l, b - t);
        a1 = rayAngle(box, x3, y3);
        double a2 = rayAngle(box, x4, y4);
        span = a2 - a1;
        while (span <= 0) span += 360;
        if (span > 360) span -= 360;
    }

    const int m = wide ? Pen.Width : 1;
    CanvasCoverage cov(drawLimit(*p, QRect(QPoint(l - m, t - m), QPoint(r + m, b + m))));
    const QRect box(QPoint(l, t), QPoint(fr - 1, fb - 1));

    if (kind == 0) {
        auto inBox = [&](int x, int y) { return box.contains(x, y); };
        Region(cov, box, inBox, false, 1);
        if (pen) {
            const TPoint c[4] = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
            if (wide)
                strokeWide(cov, c, 4, true);
            else if (Pen.Style == TPenStyle::psSolid || Pen.Style == TPenStyle::psInsideFrame)
                Region(cov, box, inBox, true, 1);
            else
                strokeThin(cov, c, 4, true);
        }
        paintCoverage(*p, cov, true);
        return;
    }

    if (kind == 2) {
        const RoundBox rb{l, t, fr, fb, rw, rh};
        if (!wide) {
            Region(cov, box, [&](int x, int y) { return rb.Pixel(x, y); }, pen, 1);
        } else {
            // A wide pen: the band between the box grown by half the pen and
            // shrunk by the rest.
            const int k = (Pen.Width - 1) / 2, d = Pen.Width - k;
            const RoundBox outer{l - k, t - k, r + k, b + k, rw + 2 * k, rh + 2 * k};
            const RoundBox inner{l + d, t + d, r - d, b - d, rw - 2 * d, rh - 2 * d};
            const QRect ob(QPoint(l - k, t - k), QPoint(r + k - 1, b + k - 1));
            Region(cov, ob, [&](int x, int y) { return outer.Pixel(x, y); }, false, 2);
            Region(cov, box, [&](int x, int y) { return inner.Pixel(x, y); }, false, 1);
        }
        paintCoverage(*p, cov, true);
        return;
    }

    // Ellipse, arc, pie and chord.
    const Oval ov(l, t, fr, fb);
    const TPoint p1 = ov.At(a1), p2 = ov.At(a1 + span);
    auto inCut = [&](int x, int y) {
        if (kind == 1)
            return true;
        if (kind == 4)
            return InSweep(ov.Angle(x, y), a1, span);
        // Chord: the side of the line through the ends where the arc runs.
        const double ax = ov.cx + ov.a * std::cos(a1 * M_PI / 180), ay = ov.cy - ov.b * std::sin(a1 * M_PI / 180);
        const double bx = ov.cx + ov.a * std::cos((a1 + span) * M_PI / 180),
                     by = ov.cy - ov.b * std::sin((a1 + span) * M_PI / 180);
        const double mid = (a1 + span / 2) * M_PI / 180;
        const double mx = ov.cx + ov.a * std::cos(mid), my = ov.cy - ov.b * std::sin(mid);
        const double sm = (bx - ax) * (my - ay) - (by - ay) * (mx - ax);
        const double s = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        return sm >= 0 ? s >= -kEps : s <= kEps;
    };
    const QRect wb = cov.Box();
    if (fill)
        Region(cov, box, [&](int x, int y) { return (wide ? ov.Level(x, y, 0) <= 1 + kEps : ov.Pixel(x, y)) && inCut(x, y); },
               false, 1);
    if (pen) {
        const bool sweep = kind >= 3;
        if (!wide) {
            // The outline: the edge pixels of the oval.
            for (int y = std::max(t, wb.top()); y <= std::min(b - 1, wb.bottom()); ++y)
                for (int x = std::max(l, wb.left()); x <= std::min(r - 1, wb.right()); ++x) {
                    if (!ov.Pixel(x, y))
                        continue;
                    const bool e = !ov.Pixel(x - 1, y) || !ov.Pixel(x + 1, y) || !ov.Pixel(x, y - 1) || !ov.Pixel(x, y + 1);
                    if (e && (!sweep || InSweep(ov.Angle(x, y), a1, span)))
                        cov.Set(x, y, 2);
                }
        } else {
            for (int y = wb.top(); y <= wb.bottom(); ++y)
                for (int x = wb.left(); x <= wb.right(); ++x)
                    if (ov.Ring(x, y, Pen.Width) && (!sweep || InSweep(ov.Angle(x, y), a1, span)))
                        cov.Set(x, y, 2);
        }
        std::vector<TPoint> edge;
        if (kind == 3 && wide)
            edge = {p1, p2};  // round ends
        else if (kind == 4)
            edge = {p2, TPoint(int(std::lround(ov.cx)), int(std::lround(ov.cy))), p1};
        else if (kind == 5)
            edge = {p2, p1};
        if (!edge.empty()) {
            if (wide) {
                if (kind == 3) {
                    strokeWide(cov, &edge[0], 1, false);
                    strokeWide(cov, &edge[1], 1, false);
                } else {
                    strokeWide(cov, edge.data(), int(edge.size()), false);
                }
            } else {
                strokeThin(cov, edge.data(), int(edge.size()), false);
            }
        }
    }
    paintCoverage(*p, cov, fill);
}

void TCanvas::Rectangle(int l, int t, int r, int b) { shape(0, l, t, r, b, 0, 0, 0, 0, 0, 0); }
void TCanvas::Ellipse(int l, int t, int r, int b) { shape(1, l, t, r, b, 0, 0, 0, 0, 0, 0); }
void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h) { shape(2, l, t, r, b, 0, 0, 0, 0, w, h); }
void TCanvas::Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4) { shape(3, l, t, r, b, x3, y3, x4, y4, 0, 0); }
void TCanvas::Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4) { shape(4, l, t, r, b, x3, y3, x4, y4, 0, 0); }
void TCanvas::Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4) { shape(5, l, t, r, b, x3, y3, x4, y4, 0, 0); }

void TCanvas::FillRect(const TRect& r)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty())
        return;
    if (Brush.Bitmap && !Brush.Bitmap->Empty()) {
        p->fillRect(r.q(), QBrush(Brush.Bitmap->Image()));
        return;
    }
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    QPainter::CompositionMode old = p->compositionMode();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(r.q(), fillBrush());
    p->setCompositionMode(old);
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty())
        return;
    FillRect(TRect(r.Left, r.Top, r.Right, r.Top + 1));
    FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom));
    FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty())
        return;
    // Every other pixel of the frame inverted: drawing it twice removes it.
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(Qt::white);
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            p->fillRect(QRect(x, y, 1, 1), white);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        dot(x, r.Top);
        if (r.Bottom - 1 > r.Top)
            dot(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        dot(r.Left, y);
        if (r.Right - 1 > r.Left)
            dot(r.Right - 1, y);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    QPainter* p = Painter();
    if (!p)
        return;
    QFont f = Font.ToQFont();
    QString s = Font.DisplayText(text);
    QFontMetrics fm(f);
    if (Brush.Style != TBrushStyle::bsClear && !Brush.Bitmap)
        p->fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(Brush.Color));
    p->setFont(f);
    p->setPen(ToQColor(Font.Color));
    p->drawText(QPoint(x, y + fm.ascent()), s);
    m_penPos = TPoint(x + fm.horizontalAdvance(s), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    QPainter* p = Painter();
    if (!p)
        return;
    p->save();
    p->setClipRect(r.q(), m_clip ? Qt::IntersectClip : Qt::ReplaceClip);
    if (Brush.Style != TBrushStyle::bsClear && !Brush.Bitmap)
        p->fillRect(r.q(), ToQColor(Brush.Color));
    QFont f = Font.ToQFont();
    QFontMetrics fm(f);
    p->setFont(f);
    p->setPen(ToQColor(Font.Color));
    p->drawText(QPoint(x, y + fm.ascent()), Font.DisplayText(text));
    p->restore();
}

int TCanvas::DrawText(const QString& text, TRect& r, unsigned flags)
{
    QFont f = Font.ToQFont();
    QString s = Font.DisplayText(text);
    int qf = 0;
    qf |= (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (flags & DT_SINGLELINE)
        qf |= (flags & DT_VCENTER) ? Qt::AlignVCenter : (flags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    else
        qf |= Qt::AlignTop;
    if (flags & DT_WORDBREAK)
        qf |= Qt::TextWordWrap;
    if (!(flags & DT_NOPREFIX))
        qf |= Qt::TextShowMnemonic;
    if (flags & DT_SINGLELINE)
        qf |= Qt::TextSingleLine;
    if (flags & DT_EXPANDTABS)
        qf |= Qt::TextExpandTabs;
    QFontMetrics fm(f);
    if (flags & DT_CALCRECT) {
        QRect br = fm.boundingRect((flags & DT_WORDBREAK) ? r.q() : QRect(r.Left, r.Top, 100000, 100000), qf, s);
        r.Right = r.Left + br.width();
        r.Bottom = r.Top + br.height();
        return br.height();
    }
    QPainter* p = Painter();
    if (!p)
        return 0;
    if (flags & DT_END_ELLIPSIS)
        s = fm.elidedText(s, Qt::ElideRight, r.Width());
    p->save();
    if (!(flags & DT_NOCLIP))
        p->setClipRect(r.q(), m_clip ? Qt::IntersectClip : Qt::ReplaceClip);
    p->setFont(f);
    p->setPen(ToQColor(Font.Color));
    QRect br;
    p->drawText(r.q(), qf, s, &br);
    p->restore();
    return br.height();
}

int TCanvas::TextWidth(const QString& text)
{
    return QFontMetrics(Font.ToQFont()).horizontalAdvance(Font.DisplayText(text));
}

int TCanvas::TextHeight(const QString&)
{
    return QFontMetrics(Font.ToQFont()).height();
}

TPoint TCanvas::TextExtent(const QString& text)
{
    return TPoint(TextWidth(text), TextHeight(text));
}

TColor TCanvas::Pixel(int x, int y)
{
    if (!m_owner)
        return clBlack;
    const QImage& img = m_owner->Image();
    qreal d = m_owner->m_dpr;
    int px = int(x * d), py = int(y * d);
    if (px < 0 || py < 0 || px >= img.width() || py >= img.height())
        return clBlack;
    return FromQColor(QColor(img.pixel(px, py)));
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    QPainter* p = Painter();
    if (!p)
        return;
    p->fillRect(QRect(x, y, 1, 1), ToQColor(c));
}

namespace {
QImage transparentCopy(const TBitmap& bmp)
{
    QImage src = bmp.Image();
    if (!bmp.Transparent || src.isNull())
        return src;
    QRgb key = bmp.TransparentColor == clNone ? src.pixel(0, src.height() - 1) : ToQColor(bmp.TransparentColor).rgb();
    QImage out = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == (key | 0xFF000000u))
                line[x] = 0;
    }
    return out;
}
} // namespace

void TCanvas::Draw(int x, int y, const TBitmap& bmp)
{
    QPainter* p = Painter();
    if (!p || bmp.Empty())
        return;
    p->drawImage(QRect(x, y, bmp.Width(), bmp.Height()), transparentCopy(bmp));
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& bmp)
{
    QPainter* p = Painter();
    if (!p || bmp.Empty() || r.IsEmpty())
        return;
    p->drawImage(r.q(), transparentCopy(bmp));
}

void TCanvas::StretchDraw(const TRect& r, QSvgRenderer& picture)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty())
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    picture.render(p, QRectF(r.q()));
    p->restore();
}

void TCanvas::CopyRect(const TRect& dst, TCanvas& src, const TRect& srcRect)
{
    QPainter* p = Painter();
    if (!p || !src.m_owner || dst.IsEmpty() || srcRect.IsEmpty())
        return;
    const QImage& img = src.m_owner->Image();
    qreal d = src.m_owner->m_dpr;
    QRect sr(int(srcRect.Left * d), int(srcRect.Top * d), int(srcRect.Width() * d), int(srcRect.Height() * d));
    switch (CopyMode) {
    case TCopyMode::cmSrcInvert: p->setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case TCopyMode::cmSrcAnd: p->setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case TCopyMode::cmSrcPaint: p->setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case TCopyMode::cmNotSrcCopy: p->setCompositionMode(QPainter::RasterOp_NotSource); break;
    case TCopyMode::cmWhiteness: p->fillRect(dst.q(), Qt::white); return;
    case TCopyMode::cmBlackness: p->fillRect(dst.q(), Qt::black); return;
    default: break;
    }
    p->drawImage(dst.q(), img, sr);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() : m_canvas(std::make_unique<TCanvas>(this)) {}

TBitmap::TBitmap(int w, int h) : TBitmap() { SetSize(w, h); }

TBitmap::~TBitmap()
{
    m_canvas->Release();
}

TBitmap::TBitmap(const TBitmap& o) : TBitmap()
{
    *this = o;
}

TBitmap& TBitmap::operator=(const TBitmap& o)
{
    if (this == &o)
        return *this;
    m_canvas->Release();
    m_img = o.Image().copy();
    m_w = o.m_w;
    m_h = o.m_h;
    m_dpr = o.m_dpr;
    Transparent = o.Transparent;
    TransparentColor = o.TransparentColor;
    return *this;
}

void TBitmap::SetSize(int w, int h)
{
    w = w < 0 ? 0 : w;
    h = h < 0 ? 0 : h;
    if (w == m_w && h == m_h && (!m_img.isNull() || w == 0 || h == 0))
        return;
    m_canvas->Release();
    m_w = w;
    m_h = h;
    if (w == 0 || h == 0) {
        m_img = QImage();
        return;
    }
    QImage img(int(std::ceil(w * m_dpr)), int(std::ceil(h * m_dpr)), QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setDevicePixelRatio(m_dpr);
    m_img = img;
}

void TBitmap::SetDevicePixelRatio(qreal dpr)
{
    if (dpr <= 0 || dpr == m_dpr)
        return;
    m_dpr = dpr;
    int w = m_w, h = m_h;
    m_w = m_h = -1;
    SetSize(w, h);
}

const QImage& TBitmap::Image() const
{
    m_canvas->Release();
    return m_img;
}

QImage& TBitmap::MutableImage()
{
    m_canvas->Release();
    return m_img;
}

void TBitmap::Assign(const QImage& img)
{
    m_canvas->Release();
    m_img = img.convertToFormat(QImage::Format_RGB32);
    m_dpr = img.devicePixelRatio();
    m_w = int(img.width() / m_dpr);
    m_h = int(img.height() / m_dpr);
}

bool TBitmap::LoadFromResourceName(const QString& name)
{
    QStringList tries;
    if (name.startsWith(":/"))
        tries << name;
    else
        tries << ":/bitmaps/" + name + ".png" << ":/bitmaps/" + name + ".svg" << ":/bitmaps/" + name + ".bmp";
    for (const QString& path : tries) {
        QImage img(path);
        if (!img.isNull()) {
            Assign(img);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- TMetafile

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

bool TMetafile::LoadFromResourceName(const QString& name)
{
    QString path = name.startsWith(":/") ? name : ":/pictures/" + name + ".svg";
    auto r = std::make_unique<QSvgRenderer>(path);
    if (!r->isValid())
        return false;
    m_renderer = std::move(r);
    m_cw = m_ch = -1;
    return true;
}

bool TMetafile::LoadFromData(const QByteArray& svg)
{
    auto r = std::make_unique<QSvgRenderer>(svg);
    if (!r->isValid())
        return false;
    m_renderer = std::move(r);
    m_cw = m_ch = -1;
    return true;
}

bool TMetafile::Empty() const
{
    return !m_renderer;
}

const QImage& TMetafile::Rendered(int w, int h, qreal dpr)
{
    if (w == m_cw && h == m_ch && dpr == m_cdpr)
        return m_cache;
    m_cw = w;
    m_ch = h;
    m_cdpr = dpr;
    if (w <= 0 || h <= 0 || !m_renderer) {
        m_cache = QImage();
        return m_cache;
    }
    QImage img(int(std::ceil(w * dpr)), int(std::ceil(h * dpr)), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    img.setDevicePixelRatio(dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    m_renderer->render(&p, QRectF(0, 0, w, h));
    p.end();
    m_cache = img;
    return m_cache;
}
