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

QImage* DirectTarget(QPainter& Painter, QRect* Clip)
{
    QPaintDevice* dev = Painter.device();
    if (!dev || dev->devType() != QInternal::Image)
        return nullptr;
    auto* img = static_cast<QImage*>(dev);
    if (img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32
        && img->format() != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    if (!img->isDetached() || img->devicePixelRatio() != 1.0 || Painter.opacity() != 1.0)
        return nullptr;
    if (!Painter.worldTransform().isIdentity())
        return nullptr;
    QRect clip = img->rect();
    if (Painter.hasClipping()) {
        if (!Clip)
            return nullptr;
        const QRegion region = Painter.clipRegion();
        if (region.rectCount() > 1)
            return nullptr;
        clip &= region.boundingRect();
    }
    if (Clip)
        *Clip = clip;
    return img;
}

namespace {

constexpr double kEps = 1e-9;
enum : std::uint8_t { kFill = 1, kPen = 2 };

struct Run {
    int x0, x1;
    int next;
    std::uint8_t kind;
};

// A box clamped to coordinates far beyond any picture, so that arithmetic
// on it cannot overflow.
QRect BoxOf(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
{
    auto c = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30)); };
    return QRect(QPoint(c(l), c(t)), QPoint(c(r), c(b)));
}

bool SetsPixels(TPenMode m)
{
    return m == TPenMode::pmCopy || m == TPenMode::pmBlack || m == TPenMode::pmWhite;
}

QPainter::CompositionMode CompositionOf(TPenMode m)
{
    switch (m) {
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TPenMode::pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmMask: return QPainter::RasterOp_SourceAndDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

// Where runs go: straight into the rows of the image when the painter draws
// on it one to one and the colour simply replaces pixels, through the
// painter otherwise (clip regions, transforms, HiDPI, raster modes,
// pattern brushes).
class RunSink {
public:
    RunSink(QPainter& p, QImage* direct, const QBrush& fill, const QColor& pen) : p_(p)
    {
        if (direct) {
            bits_ = reinterpret_cast<QRgb*>(direct->bits());
            stride_ = direct->bytesPerLine() / 4;
        }
        set(kFill, fill);
        set(kPen, QBrush(pen));
    }
    bool ThroughPainter() const { return slot_[kFill].painted() || slot_[kPen].painted(); }
    void operator()(int kind, int x0, int x1, int y)
    {
        const Slot& s = slot_[kind];
        if (s.direct && x0 == x1)
            bits_[y * stride_ + x0] = s.rgb;
        else if (s.direct)
            raster::Fill32(bits_ + y * stride_ + x0, x1 - x0 + 1, s.rgb);
        else if (s.brush.style() != Qt::NoBrush)
            paint(kind, x0, x1, y);
    }
    // Paints what is still held for the painter.
    void Flush()
    {
        if (held_.isValid())
            p_.fillRect(held_, slot_[heldKind_].brush);
        held_ = QRect();
    }

private:
    // A run of the same ends and kind as the one on the row above joins it,
    // so that a vertical line or a box's side costs the painter one call,
    // not one a row. Any other run paints the held box first, which keeps
    // the order of painting.
    void paint(int kind, int x0, int x1, int y)
    {
        if (held_.isValid() && kind == heldKind_ && x0 == held_.left() && x1 == held_.right()
            && y == held_.bottom() + 1) {
            held_.setBottom(y);
            return;
        }
        Flush();
        held_ = QRect(x0, y, x1 - x0 + 1, 1);
        heldKind_ = kind;
    }

    struct Slot {
        QBrush brush;
        QRgb rgb = 0;
        bool direct = false;
        bool painted() const { return !direct && brush.style() != Qt::NoBrush; }
    };
    void set(int kind, const QBrush& b)
    {
        Slot& s = slot_[kind];
        s.brush = b;
        s.direct = bits_ && b.style() == Qt::SolidPattern && b.color().alpha() == 255;
        s.rgb = b.color().rgba();
    }
    QPainter& p_;
    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0;
    Slot slot_[3];
    QRect held_;
    int heldKind_ = 0;
};

// One drawing call's runs over the part of the picture that can show (the
// window). Where a pixel painted twice would change (the exclusive-or
// modes), the runs are kept by row and painted at the end, every pixel once
// and the pen's taken out of the fill; otherwise each goes to the target at
// once, the fill of a pixel before its pen.
class CanvasRuns {
public:
    CanvasRuns(QPainter& p, QImage* direct, const QRect& window, TPenMode mode, const QBrush& fill, const QColor& pen)
        : sink_(p, direct, fill, pen), p_(p), win_(window), keep_(!SetsPixels(mode))
    {
        if (keep_ && !win_.isEmpty())
            head_.assign(size_t(win_.height()), -1);
        painter_ = sink_.ThroughPainter();
        if (painter_)
            p.setCompositionMode(CompositionOf(mode));
    }
    CanvasRuns(const CanvasRuns&) = delete;
    CanvasRuns& operator=(const CanvasRuns&) = delete;
    ~CanvasRuns()
    {
        sink_.Flush();
        if (painter_)
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    raster::Clip Clip() const { return {win_.left(), win_.top(), win_.right(), win_.bottom()}; }
    void Add(int x0, int x1, int y, std::uint8_t kind)
    {
        if (y < win_.top() || y > win_.bottom())
            return;
        x0 = std::max(x0, win_.left());
        x1 = std::min(x1, win_.right());
        if (x0 > x1)
            return;
        if (!keep_) {
            sink_(kind, x0, x1, y);
            return;
        }
        int& h = head_[size_t(y - win_.top())];
        runs_.push_back({x0, x1, h, kind});
        h = int(runs_.size()) - 1;
    }
    // Paints the kept runs: the pen's and the fill's outside them.
    void Paint()
    {
        auto Emit = [this](int kind, int x0, int x1, int y) { sink_(kind, x0, x1, y); };
        std::vector<Run> row, pen, fill;
        auto merge = [](std::vector<Run>& out, const Run& r) {
            if (!out.empty() && r.x0 <= out.back().x1 + 1)
                out.back().x1 = std::max(out.back().x1, r.x1);
            else
                out.push_back(r);
        };
        for (size_t i = 0; i < head_.size(); ++i) {
            if (head_[i] < 0)
                continue;
            const int y = win_.top() + int(i);
            row.clear(), pen.clear(), fill.clear();
            for (int k = head_[i]; k >= 0; k = runs_[size_t(k)].next)
                row.push_back(runs_[size_t(k)]);
            std::sort(row.begin(), row.end(), [](const Run& a, const Run& b) { return a.x0 < b.x0; });
            for (const Run& r : row)
                merge(r.kind == kPen ? pen : fill, r);
            size_t j = 0;
            for (const Run& f : fill) {
                int a = f.x0;
                while (j < pen.size() && pen[j].x1 < a)
                    ++j;
                for (size_t k = j; a <= f.x1; ++k) {
                    if (k == pen.size() || pen[k].x0 > f.x1) {
                        Emit(kFill, a, f.x1, y);
                        break;
                    }
                    if (pen[k].x0 > a)
                        Emit(kFill, a, pen[k].x0 - 1, y);
                    a = std::max(a, pen[k].x1 + 1);
                }
            }
            for (const Run& r : pen)
                Emit(kPen, r.x0, r.x1, y);
        }
    }

private:
    RunSink sink_;
    QPainter& p_;
    QRect win_;
    bool keep_, painter_ = false;
    std::vector<int> head_;
    std::vector<Run> runs_;
};

bool Dashed(TPenStyle s)
{
    return s == TPenStyle::psDash || s == TPenStyle::psDot || s == TPenStyle::psDashDot || s == TPenStyle::psDashDotDot;
}

// Whether the pixel at Index from the start of a dashed line is drawn.
bool DashOn(TPenStyle Style, std::int64_t Index)
{
    static const int dash[] = {6, 2}, dot[] = {1, 1}, dashDot[] = {3, 1, 1, 1}, dashDotDot[] = {3, 1, 1, 1, 1, 1};
    const int* pat = nullptr;
    int n = 0;
    switch (Style) {
    case TPenStyle::psDash: pat = dash, n = 2; break;
    case TPenStyle::psDot: pat = dot, n = 2; break;
    case TPenStyle::psDashDot: pat = dashDot, n = 4; break;
    case TPenStyle::psDashDotDot: pat = dashDotDot, n = 6; break;
    default: return true;
    }
    int period = 0;
    for (int i = 0; i < n; ++i)
        period += pat[i];
    int k = int(Index % period);
    for (int i = 0; i < n; ++i) {
        if (k < pat[i])
            return i % 2 == 0;
        k -= pat[i];
    }
    return true;
}

// The pen's pixels along a polyline (closed: back to the first point) as
// Span(x0, x1, y) runs within C; a wide pen's single point is its dot.
template <class S>
void StrokeLines(const TPen& Pen, const TPoint* pts, int count, bool closed, const raster::Clip& C, S&& Span)
{
    const int segs = count - 1 + (closed && count > 1 ? 1 : 0);
    if (Pen.Width > 1) {
        if (count == 1)
            raster::WideLine(pts[0].X, pts[0].Y, pts[0].X, pts[0].Y, Pen.Width, C, Span);
        for (int i = 0; i < segs; ++i) {
            const TPoint a = pts[i], b = pts[(i + 1) % count];
            raster::WideLine(a.X, a.Y, b.X, b.Y, Pen.Width, C, Span);
        }
        return;
    }
    std::int64_t base = 0;
    for (int i = 0; i < segs; ++i) {
        const TPoint a = pts[i], b = pts[(i + 1) % count];
        if (!Dashed(Pen.Style)) {
            raster::ThinLine(a.X, a.Y, b.X, b.Y, C, Span);
            continue;
        }
        raster::ThinLinePixels(a.X, a.Y, b.X, b.Y, C, [&](int x, int y, std::int64_t k) {
            if (DashOn(Pen.Style, base + k))
                Span(x, x, y);
        });
        base += std::max(std::abs(std::int64_t(b.X) - a.X), std::abs(std::int64_t(b.Y) - a.Y));
    }
}

// A whole number of pixels far beyond any picture kept as an int.
int ToInt(double v)
{
    return int(std::clamp(v, double(-(1 << 30)), double(1 << 30)));
}

struct Span1 {
    int x0 = 1, x1 = 0;
    bool Empty() const { return x0 > x1; }
};

// A box's oval: the centre line of its one-pixel outline runs through the
// centres of the box's outermost pixels.
struct Oval {
    double cx, cy, a, b;
    Oval(int l, int t, int r, int bt)
        : cx((double(l) + r - 1) / 2.0), cy((double(t) + bt - 1) / 2.0), a((double(r) - l - 1) / 2.0),
          b((double(bt) - t - 1) / 2.0) {}
    // The pixels of row y inside the oval drawn with a one-pixel pen: in
    // every column the rows nearest the curve and those between, and likewise
    // in every row. A run about the centre, its ends estimated and then
    // settled by that test.
    Span1 Row(int y) const
    {
        const double dy = std::abs(y - cy);
        if (dy > b + 0.5 + kEps)
            return {};
        const bool rowB = dy <= b + kEps;
        const double hB = rowB ? a * root(dy, b) + 0.5 : -1;
        // Within the column test dy <= b * root(dx, a) + 0.5, squared once
        // for the row: D <= b * root, i.e. (dx / a)^2 <= 1 - (D / b)^2.
        const double D = dy - 0.5 - kEps, ia = a > 0 ? 1 / a : 0;
        const double v = D > 0 && b > 0 ? 1 - (D / b) * (D / b) : 0;
        auto in = [&](double x) {
            const double dx = std::abs(x - cx);
            if (dx > a + 0.5 + kEps)
                return false;
            if (rowB && dx <= hB + kEps)
                return true;
            if (dx > a + kEps)
                return false;
            if (D <= 0)
                return true;
            if (a <= 0)
                return D <= b;
            const double u = dx * ia;
            return u < 1 && u * u <= v;
        };
        double h = std::max(hB, 0.0);
        if (dy <= 0.5)
            h = std::max(h, a);
        else if (b > 0 && dy > b / 2)
            h = std::max(h, a * std::sqrt(std::max(0.0, 1 - (dy - 0.5) * (dy - 0.5) / (b * b))));
        const double first = std::ceil(cx);
        double x = std::max(std::floor(cx + h + kEps), first - 1);
        while (in(x + 1))
            ++x;
        while (x >= first && !in(x))
            --x;
        if (x < first)
            return {};
        return {int(2 * cx - x), int(x)};
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

// The rounded box of a one-pixel pen: the corners are the quarters of the
// oval of w x h.
struct RoundBox {
    int l, t, r, b, w, h;
    Span1 Row(int y) const
    {
        if (y < t || y >= b)
            return {};
        const std::int64_t cw = std::min<std::int64_t>(w, std::int64_t(r) - l), ch = std::min<std::int64_t>(h, std::int64_t(b) - t);
        if (cw < 2 || ch < 2)
            return {l, r - 1};
        // Every corner is the upper left one mirrored.
        const int ym = std::int64_t(y) - t <= std::int64_t(b) - 1 - y ? y : int(std::int64_t(t) + (std::int64_t(b) - 1 - y));
        const Oval o(l, t, int(l + cw), int(t + ch));
        if (ym >= o.cy)
            return {l, r - 1};
        const Span1 s = o.Row(ym);
        const int xl = s.Empty() ? int(std::ceil(o.cx)) : s.x0;
        return {xl, int(std::int64_t(l) + r - 1 - xl)};
    }
};

// A rounded box about a centre line (an oval when the corners take the
// whole box): the pixel centres within it grown by d, row by row.
struct Rounded {
    double cx, cy, hw, hh, A, B;
    // Strict: only those inside, not on the edge.
    Span1 Row(int y, double d, bool strict) const
    {
        const double dy = std::abs(y - cy), HW = hw + d, HH = hh + d;
        if (HW < 0 || HH < 0 || (strict ? dy >= HH - kEps : dy > HH + kEps))
            return {};
        const double qy = dy - (hh - B), rA = A + d, rB = B + d;
        double half = HW;
        if (qy > 0 && rA > 0 && rB > 0) {
            const double v = (strict ? 1 - kEps : 1 + kEps) - qy * qy / (rB * rB);
            if (v < 0)
                return {};
            half = (hw - A) + rA * std::sqrt(v);
        }
        if (strict)
            return {ToInt(std::floor(cx - half)) + 1, ToInt(std::ceil(cx + half)) - 1};
        return {ToInt(std::ceil(cx - half)), ToInt(std::floor(cx + half))};
    }
};

// A wide pen's ring along a rounded outline (the whole oval when not
// Hollow), and with Filled the fill within its centre line, row by row:
// Add(x0, x1, y, kind), the fill first.
template <class A>
void RingRows(const Rounded& o, int W, bool Hollow, bool Filled, int From, int To, A&& Add)
{
    for (int y = From; y <= To; ++y) {
        if (Filled) {
            const Span1 f = o.Row(y, 0, false);
            Add(f.x0, f.x1, y, kFill);
        }
        const Span1 out = o.Row(y, W / 2.0, false), in = Hollow ? o.Row(y, -W / 2.0, true) : Span1{};
        if (in.Empty()) {
            Add(out.x0, out.x1, y, kPen);
        } else {
            Add(out.x0, in.x0 - 1, y, kPen);
            Add(in.x1 + 1, out.x1, y, kPen);
        }
    }
}

// The x of a row where C0 + C1 * dx >= -kEps, dx from the centre X
// (InvC1 = 1 / C1, taken once for all rows).
Span1 HalfPlane(double X, double C0, double C1, double InvC1)
{
    constexpr double far = 1e18;
    double lo = -far, hi = far;
    if (C1 > 0)
        lo = (-kEps - C0) * InvC1;
    else if (C1 < 0)
        hi = (-kEps - C0) * InvC1;
    else if (C0 < -kEps)
        return {};
    lo = std::max(X + lo, -far), hi = std::min(X + hi, far);
    return {ToInt(std::ceil(lo - 1e-7)), ToInt(std::floor(hi + 1e-7))};
}

// The parts of a row an arc, a pie or a chord keeps: up to three runs.
struct Cut {
    Span1 part[3];
    int n = 0;
    static Cut All() { Cut c; c.part[0] = {INT_MIN / 2, INT_MAX / 2}; c.n = 1; return c; }
    void Put(Span1 s)
    {
        if (!s.Empty())
            part[n++] = s;
    }
    // Add(x0, x1) for the pieces of [x0, x1] kept.
    template <class F>
    void Apply(int x0, int x1, F&& Add) const
    {
        for (int i = 0; i < n; ++i) {
            const int a = std::max(x0, part[i].x0), b = std::min(x1, part[i].x1);
            if (a <= b)
                Add(a, b);
        }
    }
};

// The counter-clockwise sweep from angle a1 over span degrees, measured
// from the centre with the axes scaled by the radii, as runs of a row.
struct Sweep {
    double cx, cy, ra, rb;
    double u1x, u1y, u2x, u2y, i1, i2;
    double span;
    bool centreIn;
    Sweep(const Oval& o, double a1, double sp) : cx(o.cx), cy(o.cy), ra(o.a + 0.5), rb(o.b + 0.5), span(sp)
    {
        u1x = std::cos(a1 * M_PI / 180), u1y = std::sin(a1 * M_PI / 180);
        u2x = std::cos((a1 + sp) * M_PI / 180), u2y = std::sin((a1 + sp) * M_PI / 180);
        i1 = u1y != 0 ? -ra / u1y : 0, i2 = u2y != 0 ? ra / u2y : 0;
        const double d = std::fmod(std::fmod(-a1, 360.0) + 360.0, 360.0);
        centreIn = d <= span + 1e-7 || d >= 360 - 1e-7;
    }
    Cut Row(int y) const
    {
        if (span >= 360)
            return Cut::All();
        const double py = (cy - y) / rb;
        // Left of the first ray, right of the second.
        const Span1 h1 = HalfPlane(cx, u1x * py, -u1y / ra, i1), h2 = HalfPlane(cx, -py * u2x, u2y / ra, i2);
        Cut c;
        if (span <= 180) {
            c.Put({std::max(h1.x0, h2.x0), std::min(h1.x1, h2.x1)});
        } else if (h1.Empty() || h2.Empty() || h1.x1 + 1 < h2.x0 || h2.x1 + 1 < h1.x0) {
            c.Put(h1);
            c.Put(h2);
        } else {
            c.Put({std::min(h1.x0, h2.x0), std::max(h1.x1, h2.x1)});
        }
        if (y == cy && cx == std::floor(cx) && !centreIn) {
            // The centre pixel has no direction: it counts as angle 0.
            const int x = int(cx);
            Cut out;
            for (int i = 0; i < c.n; ++i) {
                out.Put({c.part[i].x0, std::min(c.part[i].x1, x - 1)});
                out.Put({std::max(c.part[i].x0, x + 1), c.part[i].x1});
            }
            return out;
        }
        return c;
    }
};

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

// The rows (as y, lowest first) of the points of the box |dx| <= X,
// |dy| <= Y about the oval's centre that lie within the sweep from a1 over
// span (measured as Sweep measures it) and outside the oval of radii IX, IY
// (the centre when they are 0). The region's extremes lie at the rays' ends
// at the box and at the inner oval and at the corners within the sweep.
std::pair<double, double> SweepRows(const Oval& o, double a1, double span, double X, double Y, double IX, double IY)
{
    const double ra = o.a + 0.5, rb = o.b + 0.5;
    double lo = 1e300, hi = -1e300;
    auto put = [&](double dy) { lo = std::min(lo, o.cy + dy), hi = std::max(hi, o.cy + dy); };
    for (double deg : {a1, a1 + span}) {
        // The ray's step in pixels: (c, -s).
        const double c = std::cos(deg * M_PI / 180) * ra, s = std::sin(deg * M_PI / 180) * rb;
        double t = 1e300;
        if (c != 0)
            t = X / std::abs(c);
        if (s != 0)
            t = std::min(t, Y / std::abs(s));
        put(-t * s);
        put(IX > 0 && IY > 0 ? -s / std::hypot(c / IX, s / IY) : 0.0);
    }
    for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
            const double d = std::fmod(std::fmod(std::atan2(sy * Y / rb, sx * X / ra) * 180 / M_PI - a1, 360.0) + 360.0, 360.0);
            if (d <= span + 1e-6 || d >= 360 - 1e-6)
                put(-sy * Y);
        }
    return {lo, hi};
}

// The rows of the points of the same box on the kept side of a chord
// through A and B: its corners there and where the chord crosses its edges.
std::pair<double, double> SideRows(const Oval& o, double Ax, double Ay, double Bx, double By, double Side, double X, double Y)
{
    const double ax = Ax - o.cx, ay = Ay - o.cy, vx = Bx - Ax, vy = By - Ay;
    double lo = 1e300, hi = -1e300;
    auto put = [&](double dy) { lo = std::min(lo, o.cy + dy), hi = std::max(hi, o.cy + dy); };
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            if (Side * (vx * (sy * Y - ay) - vy * (sx * X - ax)) >= -1e-6)
                put(sy * Y);
    for (int k : {-1, 1}) {
        if (vx != 0) {
            const double y = ay + (k * X - ax) / vx * vy;
            if (std::abs(y) <= Y)
                put(y);
        }
        if (vy != 0 && std::abs(ax + (k * Y - ay) / vy * vx) <= X)
            put(k * Y);
    }
    return {lo, hi};
}

// A region of one run a row over rows [Top, Bottom] (Row(y) gives it): the
// fill on every run, and with Edge the pixels that have a side neighbour
// outside as the pen's. Only the rows of the window are visited.
template <class R, class A>
void RegionRows(const QRect& win, int Top, int Bottom, R&& Row, bool Edge, A&& Add)
{
    const int from = std::max(Top, win.top()), to = std::min(Bottom, win.bottom());
    if (from > to)
        return;
    auto at = [&](int y) { return y < Top || y > Bottom ? Span1{} : Row(y); };
    Span1 above = at(from - 1), cur = at(from);
    for (int y = from; y <= to; ++y) {
        const Span1 below = at(y + 1);
        if (!cur.Empty()) {
            Add(cur.x0, cur.x1, y, kFill);
            if (Edge) {
                const int a = std::max({above.x0, below.x0, cur.x0 + 1}), b = std::min({above.x1, below.x1, cur.x1 - 1});
                if (a > b || above.Empty() || below.Empty()) {
                    Add(cur.x0, cur.x1, y, kPen);
                } else {
                    Add(cur.x0, a - 1, y, kPen);
                    Add(b + 1, cur.x1, y, kPen);
                }
            }
        }
        above = cur;
        cur = below;
    }
}

} // namespace

QRect TCanvas::drawLimit(QPainter& p, const QRect& want, QImage*& direct) const
{
    // Nothing outside the device (or the clip) can show; this also bounds the
    // work for shapes far larger than the picture.
    QRect clip;
    direct = SetsPixels(Pen.Mode) ? DirectTarget(p, &clip) : nullptr;
    if (direct)
        return want.intersected(clip);
    QPaintDevice* d = p.device();
    QRect lim(-2, -2, d->width() + 4, d->height() + 4);
    lim = p.worldTransform().inverted().mapRect(lim);
    if (p.hasClipping())
        lim &= p.clipBoundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    return want.intersected(lim);
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

namespace {
QRect PointsBox(const TPoint* pts, int count, int margin)
{
    std::int64_t l = pts[0].X, r = pts[0].X, t = pts[0].Y, b = pts[0].Y;
    for (int i = 1; i < count; ++i) {
        l = std::min<std::int64_t>(l, pts[i].X), r = std::max<std::int64_t>(r, pts[i].X);
        t = std::min<std::int64_t>(t, pts[i].Y), b = std::max<std::int64_t>(b, pts[i].Y);
    }
    return BoxOf(l - margin, t - margin, r + margin, b + margin);
}
} // namespace

void TCanvas::Polyline(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    QPainter* p = Painter();
    if (!p || Pen.Style == TPenStyle::psClear)
        return;
    QImage* direct = nullptr;
    const QRect win = drawLimit(*p, PointsBox(pts, count, std::min(Pen.Width, raster::kMaxPenWidth)), direct);
    if (win.isEmpty())
        return;
    CanvasRuns runs(*p, direct, win, Pen.Mode, QBrush(Qt::NoBrush), penColor());
    StrokeLines(Pen, pts, count, false, runs.Clip(), [&](int a, int b, int y) { runs.Add(a, b, y, kPen); });
    runs.Paint();
}

void TCanvas::Polygon(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    QPainter* p = Painter();
    if (!p)
        return;
    const bool pen = Pen.Style != TPenStyle::psClear;
    QImage* direct = nullptr;
    const QRect win = drawLimit(*p, PointsBox(pts, count, pen ? std::clamp(Pen.Width, 1, raster::kMaxPenWidth) : 1), direct);
    if (win.isEmpty())
        return;
    CanvasRuns runs(*p, direct, win, Pen.Mode, fillBrush(), penColor());
    // Alternate fill: the pixel centres between the first and second edge
    // crossed along a row, the third and fourth, and so on; the right and
    // lower edges stay out, as a fill without a pen shows.
    std::int64_t t = pts[0].Y, b = pts[0].Y;
    for (int i = 1; i < count; ++i)
        t = std::min<std::int64_t>(t, pts[i].Y), b = std::max<std::int64_t>(b, pts[i].Y);
    std::vector<double> xs;
    for (int y = int(std::max<std::int64_t>(t, win.top())); y <= std::min<std::int64_t>(b, win.bottom()); ++y) {
        xs.clear();
        for (int i = 0; i < count; ++i) {
            const TPoint a = pts[i], c = pts[(i + 1) % count];
            if (a.Y == c.Y)
                continue;
            if (y >= std::min(a.Y, c.Y) && y < std::max(a.Y, c.Y))
                xs.push_back(a.X + double(y - double(a.Y)) * (double(c.X) - a.X) / (double(c.Y) - a.Y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            const double x0 = std::clamp(std::ceil(xs[k] - kEps), double(INT_MIN / 2), double(INT_MAX / 2));
            const double x1 = std::clamp(std::ceil(xs[k + 1] - kEps) - 1, double(INT_MIN / 2), double(INT_MAX / 2));
            runs.Add(int(x0), int(x1), y, kFill);
        }
    }
    if (pen)
        StrokeLines(Pen, pts, count, true, runs.Clip(), [&](int a, int c, int y) { runs.Add(a, c, y, kPen); });
    runs.Paint();
}

void TCanvas::shape(int kind, int l, int t, int r, int b, int x3, int y3, int x4, int y4, int rw, int rh)
{
    QPainter* p = Painter();
    if (!p)
        return;
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    using i64 = std::int64_t;
    // The box excludes its right and bottom edge.
    if (i64(r) - l < 1 || i64(b) - t < 1)
        return;
    const bool pen = Pen.Style != TPenStyle::psClear;
    const bool wide = pen && Pen.Width > 1;
    const int W = wide ? std::min(Pen.Width, raster::kMaxPenWidth) : 1;
    const bool brush = (Brush.Bitmap && !Brush.Bitmap->Empty()) || Brush.Style != TBrushStyle::bsClear;
    const bool fill = kind != 3 && brush;
    if (kind == 3 && !pen)
        return;
    if (wide && Pen.Style == TPenStyle::psInsideFrame) {
        // The outline moves in so that the pen's outer edge meets the box.
        l += W / 2, t += W / 2, r -= (W - 1) / 2, b -= (W - 1) / 2;
        rw -= W - 1, rh -= W - 1;
        if (i64(r) - l < 1) r = l + 1;
        if (i64(b) - t < 1) b = t + 1;
    }
    // Without a pen the fill is one pixel smaller.
    const int fr = pen ? r : r - 1, fb = pen ? b : b - 1;
    if (i64(fr) - l < 1 || i64(fb) - t < 1)
        return;

    double a1 = 0, span = 360;
    if (kind >= 3) {
        QRectF box(l, t, double(r) - l, double(b) - t);
        a1 = rayAngle(box, x3, y3);
        double a2 = rayAngle(box, x4, y4);
        span = a2 - a1;
        while (span <= 0) span += 360;
        if (span > 360) span -= 360;
    }

    QImage* direct = nullptr;
    const int m = wide ? W : 1;
    const QRect win = drawLimit(*p, BoxOf(i64(l) - m, i64(t) - m, i64(r) + m, i64(b) + m), direct);
    if (win.isEmpty())
        return;
    CanvasRuns runs(*p, direct, win, Pen.Mode, fill ? fillBrush() : QBrush(Qt::NoBrush), penColor());
    const raster::Clip clip = runs.Clip();
    auto add = [&](int x0, int x1, int y, std::uint8_t k) {
        if (k == kPen || fill)
            runs.Add(x0, x1, y, k);
    };
    auto addPen = [&](int x0, int x1, int y) { runs.Add(x0, x1, y, kPen); };
    // Wide pens of even width run half a pixel up and left of the outline.
    const double shift = wide && W % 2 == 0 ? 0.5 : 0.0;

    if (kind == 0) {
        const TPoint c[4] = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
        const bool edge = pen && !wide && !Dashed(Pen.Style);
        RegionRows(win, t, fb - 1, [&](int) { return Span1{l, fr - 1}; }, edge, add);
        if (pen && !edge)
            StrokeLines(Pen, c, 4, true, clip, addPen);
        runs.Paint();
        return;
    }

    if (kind == 2) {
        if (!wide) {
            const RoundBox rb{l, t, fr, fb, rw, rh};
            RegionRows(win, t, fb - 1, [&](int y) { return rb.Row(y); }, pen, add);
        } else {
            // The pen centred on the outline of the one-pixel pen.
            const i64 cw = std::min<i64>(rw, i64(r) - l), ch = std::min<i64>(rh, i64(b) - t);
            const bool round = cw >= 2 && ch >= 2;
            const Rounded o{(double(l) + r - 1) / 2 - shift, (double(t) + b - 1) / 2 - shift, (double(r) - 1 - l) / 2,
                            (double(b) - 1 - t) / 2, round ? (cw - 1) / 2.0 : 0.0, round ? (ch - 1) / 2.0 : 0.0};
            RingRows(o, W, true, true, int(std::max<i64>(i64(t) - W, win.top())), int(std::min<i64>(i64(b) + W, win.bottom())),
                     add);
        }
        runs.Paint();
        return;
    }

    // Ellipse, arc, pie and chord.
    const Oval ov(l, t, fr, fb);
    const TPoint p1 = ov.At(a1), p2 = ov.At(a1 + span);
    const Sweep sweep(ov, a1, span);
    // Chord: the side of the line through the ends where the arc runs.
    const double ax = ov.cx + ov.a * std::cos(a1 * M_PI / 180), ay = ov.cy - ov.b * std::sin(a1 * M_PI / 180);
    const double bx = ov.cx + ov.a * std::cos((a1 + span) * M_PI / 180),
                 by = ov.cy - ov.b * std::sin((a1 + span) * M_PI / 180);
    const double mid = (a1 + span / 2) * M_PI / 180;
    const double mx = ov.cx + ov.a * std::cos(mid), my = ov.cy - ov.b * std::sin(mid);
    const double sm = (bx - ax) * (my - ay) - (by - ay) * (mx - ax) >= 0 ? 1.0 : -1.0;
    // The chord's side as the rule states it; the row's run, estimated by
    // solving for x, is settled by it where it ends within the picture.
    auto chordSide = [&](int x, int y) {
        const double at = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        return sm > 0 ? at >= -kEps : at <= kEps;
    };
    const double c1 = -sm * (by - ay), inv1 = by != ay ? 1 / c1 : 0;
    auto fillCut = [&](int y) {
        if (kind == 1)
            return Cut::All();
        if (kind == 4)
            return sweep.Row(y);
        Span1 h = HalfPlane(ax, sm * (bx - ax) * (y - ay), c1, inv1);
        if (by != ay) {
            // The end the chord makes: widened while the pixel outside is
            // kept, narrowed while its own is not.
            const bool left = c1 > 0;
            int& end = left ? h.x0 : h.x1;
            const int out = left ? -1 : 1, outer = left ? win.left() - 2 : win.right() + 2;
            const int inner = left ? std::min(h.x1, win.right() + 1) + 1 : std::max(h.x0, win.left() - 1) - 1;
            if (end >= win.left() - 1 && end <= win.right() + 1) {
                while (end != outer && chordSide(end + out, y))
                    end += out;
                while (end != inner && !chordSide(end, y))
                    end -= out;
            }
        }
        Cut c;
        c.Put(h);
        return c;
    };
    // Arcs, pies and chords cut their outline by the rays alike.
    const bool cutPen = kind >= 3;
    // An arc, a pie or a chord reaches only the rows its pixels can reach.
    QRect rowsWin = win;
    if (kind >= 3 && span < 360) {
        const double X = ov.a + W / 2.0 + 1, Y = ov.b + W / 2.0 + 1;
        // Inside this oval no pen pixel lies: it is a pixel (a pen's half
        // and the even pens' shift) within the inner edge of the outline.
        const double A = wide ? ov.a - W / 2.0 : ov.a, B = wide ? ov.b - W / 2.0 : ov.b;
        const double inner = std::min(A, B) > 0 && (!wide || (ov.a - W / 2.0 > 0 && ov.b - W / 2.0 > 0)) && kind != 4
                                 ? std::max(0.0, 1 - 1.5 / std::min(A, B)) : 0.0;
        auto [lo, hi] = SweepRows(ov, a1, span, X, Y, inner * A, inner * B);
        if (kind == 5 && fill) {
            const auto [flo, fhi] = SideRows(ov, ax, ay, bx, by, sm, X, Y);
            lo = std::min(lo, flo), hi = std::max(hi, fhi);
        }
        rowsWin.setTop(std::max<i64>(win.top(), ToInt(std::floor(lo)) - 1));
        rowsWin.setBottom(std::min<i64>(win.bottom(), ToInt(std::ceil(hi)) + 1));
    }
    int cutRow = INT_MIN;
    Cut cuts[3];
    auto cutAdd = [&](int x0, int x1, int y, std::uint8_t k) {
        if (k == kFill && !fill)
            return;
        if (y != cutRow) {
            cutRow = y;
            cuts[kPen] = cutPen ? sweep.Row(y) : Cut::All();
            cuts[kFill] = fill ? fillCut(y) : Cut();
        }
        cuts[k].Apply(x0, x1, [&](int a, int b) { runs.Add(a, b, y, k); });
    };
    if (pen || fill) {
        if (!wide) {
            // Rows mirrored about the centre are alike: each pair is made once
            // (unless the oval is so tall that only a few rows show).
            const bool memo = std::int64_t(fb) - t <= 4 * std::int64_t(win.height()) + 64;
            std::vector<Span1> rows(memo ? size_t(fb - t) : 0);
            std::vector<bool> made(rows.size());
            auto row = [&](int y) {
                if (!memo)
                    return ov.Row(y);
                const size_t k = size_t(std::min<i64>(i64(y) - t, i64(fb) - 1 - y));
                if (!made[k])
                    rows[k] = ov.Row(y), made[k] = true;
                return rows[k];
            };
            if (kind == 1)
                RegionRows(rowsWin, t, fb - 1, row, pen, add);
            else
                RegionRows(rowsWin, t, fb - 1, row, pen, cutAdd);
        } else {
            const Rounded o{ov.cx - shift, ov.cy - shift, ov.a, ov.b, ov.a, ov.b};
            const bool ring = ov.a - W / 2.0 > 0 && ov.b - W / 2.0 > 0;
            RingRows(o, W, ring, ov.a > 0 && ov.b > 0, int(std::max<i64>(i64(t) - W, rowsWin.top())),
                     int(std::min<i64>(i64(b) + W, rowsWin.bottom())), cutAdd);
        }
    }
    if (pen) {
        std::vector<TPoint> edge;
        if (kind == 3 && wide)
            edge = {p1, p2}; // round ends
        else if (kind == 4)
            edge = {p2, TPoint(int(std::lround(ov.cx)), int(std::lround(ov.cy))), p1};
        else if (kind == 5)
            edge = {p2, p1};
        if (kind == 3 && wide) {
            StrokeLines(Pen, &edge[0], 1, false, clip, addPen);
            StrokeLines(Pen, &edge[1], 1, false, clip, addPen);
        } else if (!edge.empty()) {
            StrokeLines(Pen, edge.data(), int(edge.size()), false, clip, addPen);
        }
    }
    runs.Paint();
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
