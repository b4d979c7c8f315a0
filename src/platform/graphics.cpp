#include "platform/graphics.h"
#include "platform/vectorstate.h"

#include "platform/raster.h"
#include "platform/runsink.h"
#include "platform/shapes.h"

#include <QFontMetrics>
#include <QPaintEngine>
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
    return ToQColor(Pen.Color);
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

QImage* DirectTarget(QPainter& Painter, QRect* Clip, int* Scale, QPoint* Origin)
{
    QPaintDevice* dev = Painter.device();
    QPaintEngine* engine = Painter.paintEngine();
    // A widget's painter is redirected to the image it ends in.
    if (dev && dev->devType() != QInternal::Image && Origin && engine)
        dev = engine->paintDevice();
    if (!dev || dev->devType() != QInternal::Image || !engine)
        return nullptr;
    auto* img = static_cast<QImage*>(dev);
    if (img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32
        && img->format() != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    const qreal dpr = img->devicePixelRatio();
    const int n = int(dpr);
    if (n != dpr || (n != 1 && !Scale) || n < 1 || img->width() % n != 0 || img->height() % n != 0)
        return nullptr;
    if (!img->isDetached() || Painter.opacity() != 1.0 || !Painter.worldTransform().isIdentity())
        return nullptr;
    // Beyond the ratio, only the shift of a redirection (in device pixels,
    // a whole number of logical ones) may stand between the painter and the
    // image, and only one rectangle of it may be painted.
    const QTransform& t = Painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != n || t.m22() != n)
        return nullptr;
    const int dx = int(t.dx()), dy = int(t.dy());
    if (dx != t.dx() || dy != t.dy() || dx % n != 0 || dy % n != 0 || ((dx != 0 || dy != 0) && !Origin))
        return nullptr;
    const QPoint origin(dx / n, dy / n);
    QRect clip(-origin.x(), -origin.y(), img->width() / n, img->height() / n);
    const QRegion system = engine->systemClip();
    if (!system.isEmpty()) {
        const QRect s = system.boundingRect();
        if (!Clip || system.rectCount() > 1 || s.x() % n != 0 || s.y() % n != 0 || s.width() % n != 0
            || s.height() % n != 0)
            return nullptr;
        clip &= QRect(s.x() / n - origin.x(), s.y() / n - origin.y(), s.width() / n, s.height() / n);
    }
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
    if (Scale)
        *Scale = n;
    if (Origin)
        *Origin = origin;
    return img;
}

namespace {

using shape::Ink;

struct Run {
    int x0, x1;
    int next;
    Ink kind;
};

QRect RectOf(shape::Box b)
{
    return QRect(QPoint(b.L, b.T), QPoint(b.R, b.B));
}

QPainter::CompositionMode CompositionOf(TPenMode m)
{
    return m == TPenMode::pmXor ? QPainter::RasterOp_SourceXorDestination : QPainter::CompositionMode_SourceOver;
}

// One drawing call's runs over the part of the picture that can show (the
// window). They go straight into the image's pixels when the painter draws
// on it one to one or at a whole-number ratio and the colour simply replaces
// pixels, through the painter otherwise (clip regions, transforms,
// fractional ratios, exclusive-or, pattern brushes). Where a pixel painted
// twice would change (exclusive-or), the runs are kept by row and painted at
// the end, every pixel once and the pen's taken out of the fill; otherwise
// each goes to the sink at once, the fill of a pixel before its pen.
class CanvasRuns final : public shape::Runs {
public:
    CanvasRuns(QPainter& p, QImage* direct, int scale, QPoint origin, const QRect& window, TPenMode mode,
               const QBrush& fill, const QColor& pen)
        : m_sink(direct, scale, &p, nullptr, origin), m_p(p), m_win(window), m_keep(mode != TPenMode::pmCopy)
    {
        set(Ink::Fill, fill);
        set(Ink::Pen, QBrush(pen));
        if (m_keep && !m_win.isEmpty())
            m_head.assign(size_t(m_win.height()), -1);
        m_painter = m_slot[int(Ink::Fill)].painted() || m_slot[int(Ink::Pen)].painted();
        if (m_painter)
            p.setCompositionMode(CompositionOf(mode));
    }
    CanvasRuns(const CanvasRuns&) = delete;
    CanvasRuns& operator=(const CanvasRuns&) = delete;
    ~CanvasRuns()
    {
        m_sink.Flush();
        if (m_painter)
            m_p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    raster::Clip Clip() const { return {m_win.left(), m_win.top(), m_win.right(), m_win.bottom()}; }
    void Add(int x0, int x1, int y, Ink kind) override
    {
        if (y < m_win.top() || y > m_win.bottom())
            return;
        x0 = std::max(x0, m_win.left());
        x1 = std::min(x1, m_win.right());
        if (x0 > x1)
            return;
        if (!m_keep) {
            put(kind, x0, x1, y);
            return;
        }
        int& h = m_head[size_t(y - m_win.top())];
        m_runs.push_back({x0, x1, h, kind});
        h = int(m_runs.size()) - 1;
    }
    // Paints the kept runs: the pen's and the fill's outside them.
    void Paint()
    {
        std::vector<Run> row, pen, fill;
        auto merge = [](std::vector<Run>& out, const Run& r) {
            if (!out.empty() && r.x0 <= out.back().x1 + 1)
                out.back().x1 = std::max(out.back().x1, r.x1);
            else
                out.push_back(r);
        };
        for (size_t i = 0; i < m_head.size(); ++i) {
            if (m_head[i] < 0)
                continue;
            const int y = m_win.top() + int(i);
            row.clear(), pen.clear(), fill.clear();
            for (int k = m_head[i]; k >= 0; k = m_runs[size_t(k)].next)
                row.push_back(m_runs[size_t(k)]);
            std::sort(row.begin(), row.end(), [](const Run& a, const Run& b) { return a.x0 < b.x0; });
            for (const Run& r : row)
                merge(r.kind == Ink::Pen ? pen : fill, r);
            size_t j = 0;
            for (const Run& f : fill) {
                int a = f.x0;
                while (j < pen.size() && pen[j].x1 < a)
                    ++j;
                for (size_t k = j; a <= f.x1; ++k) {
                    if (k == pen.size() || pen[k].x0 > f.x1) {
                        put(Ink::Fill, a, f.x1, y);
                        break;
                    }
                    if (pen[k].x0 > a)
                        put(Ink::Fill, a, pen[k].x0 - 1, y);
                    a = std::max(a, pen[k].x1 + 1);
                }
            }
            for (const Run& r : pen)
                put(Ink::Pen, r.x0, r.x1, y);
        }
    }

private:
    struct Slot {
        QBrush brush;
        QRgb rgb = 0;
        bool direct = false;
        bool painted() const { return !direct && brush.style() != Qt::NoBrush; }
    };
    void set(Ink kind, const QBrush& b)
    {
        Slot& s = m_slot[int(kind)];
        s.brush = b;
        s.direct = m_sink.Direct() && b.style() == Qt::SolidPattern && b.color().alpha() == 255;
        s.rgb = b.color().rgba();
    }
    void put(Ink kind, int x0, int x1, int y)
    {
        const Slot& s = m_slot[int(kind)];
        if (s.direct)
            m_sink.Fill(x0, x1, y, s.rgb);
        else if (s.brush.style() != Qt::NoBrush)
            m_sink.Fill(x0, x1, y, s.brush);
    }

    raster::RunSink m_sink;
    QPainter& m_p;
    QRect m_win;
    bool m_keep, m_painter = false;
    Slot m_slot[3];
    std::vector<int> m_head;
    std::vector<Run> m_runs;
};

// The painter's logical pixels that can show, with a pixel to spare: what
// lies beyond never reaches the painter, whose device coordinates (the
// logical ones times the ratio) would overflow far out.
QRect PaintLimit(QPainter& p)
{
    QPaintDevice* d = p.device();
    QRect lim(-2, -2, d->width() + 4, d->height() + 4);
    lim = p.worldTransform().inverted().mapRect(lim);
    if (p.hasClipping())
        lim &= p.clipBoundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    return lim;
}

// The part of a box (right and bottom edge out) within Limit.
QRect Within(const TRect& r, const QRect& Limit)
{
    const std::int64_t l = std::max<std::int64_t>(r.Left, Limit.left()), t = std::max<std::int64_t>(r.Top, Limit.top());
    const std::int64_t rt = std::min<std::int64_t>(std::int64_t(r.Right) - 1, Limit.right());
    const std::int64_t b = std::min<std::int64_t>(std::int64_t(r.Bottom) - 1, Limit.bottom());
    return l > rt || t > b ? QRect() : QRect(QPoint(int(l), int(t)), QPoint(int(rt), int(b)));
}
} // namespace

QRect TCanvas::drawLimit(QPainter& p, const QRect& want, QImage*& direct, int& scale, QPoint& origin) const
{
    // Nothing outside the device (or the clip) can show; this also bounds the
    // work for shapes far larger than the picture.
    QRect clip;
    scale = 1;
    direct = Pen.Mode == TPenMode::pmCopy ? DirectTarget(p, &clip, &scale, &origin) : nullptr;
    if (direct)
        return want.intersected(clip);
    return want.intersected(PaintLimit(p));
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
    return RectOf(shape::Reach({int(l), int(t), int(r), int(b)}, shape::Pen{true, margin}));
}
} // namespace

shape::Pen TCanvas::outline() const
{
    return {Pen.Style != TPenStyle::psClear, Pen.Width, Pen.Style == TPenStyle::psDash,
            Pen.Style == TPenStyle::psInsideFrame};
}

bool TCanvas::filled() const
{
    return (Brush.Bitmap && !Brush.Bitmap->Empty()) || Brush.Style != TBrushStyle::bsClear;
}

template <class F>
void TCanvas::draw(const QRect& reach, bool fill, F&& shapeRuns)
{
    QPainter* p = Painter();
    if (!p)
        return;
    QImage* direct = nullptr;
    int scale = 1;
    QPoint origin;
    const QRect win = drawLimit(*p, reach, direct, scale, origin);
    if (win.isEmpty())
        return;
    CanvasRuns runs(*p, direct, scale, origin, win, Pen.Mode, fill ? fillBrush() : QBrush(Qt::NoBrush), penColor());
    // What Qt painted before (text, pictures) may leave the vector
    // registers' upper halves in use, which the shape's arithmetic would pay
    // for on every row: a transparent knob costs a fifth more.
    ClearUpperVectorState();
    shapeRuns(runs.Clip(), runs);
    runs.Paint();
}

void TCanvas::Polyline(const TPoint* pts, int count)
{
    if (count < 2 || Pen.Style == TPenStyle::psClear)
        return;
    const shape::Pen pen = outline();
    draw(PointsBox(pts, count, pen.Width), false,
         [&](const raster::Clip& win, auto& out) { shape::Stroke(pen, pts, count, false, win, out); });
}

void TCanvas::Polygon(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    const shape::Pen pen = outline();
    draw(PointsBox(pts, count, pen.On ? pen.Width : 1), filled(),
         [&](const raster::Clip& win, auto& out) { shape::Polygon(pts, count, pen, filled(), win, out); });
}

void TCanvas::Rectangle(int l, int t, int r, int b)
{
    const shape::Pen pen = outline();
    draw(RectOf(shape::Reach({l, t, r, b}, pen)), filled(),
         [&](const raster::Clip& win, auto& out) { shape::Rectangle({l, t, r, b}, pen, filled(), win, out); });
}

void TCanvas::Ellipse(int l, int t, int r, int b)
{
    const shape::Pen pen = outline();
    draw(RectOf(shape::Reach({l, t, r, b}, pen)), filled(),
         [&](const raster::Clip& win, auto& out) { shape::Ellipse({l, t, r, b}, pen, filled(), win, out); });
}

void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h)
{
    const shape::Pen pen = outline();
    draw(RectOf(shape::Reach({l, t, r, b}, pen)), filled(),
         [&](const raster::Clip& win, auto& out) { shape::RoundRect({l, t, r, b}, w, h, pen, filled(), win, out); });
}

void TCanvas::Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    const shape::Pen pen = outline();
    if (!pen.On)
        return;
    draw(RectOf(shape::Reach({l, t, r, b}, pen)), false,
         [&](const raster::Clip& win, auto& out) { shape::Arc({l, t, r, b}, x3, y3, x4, y4, pen, win, out); });
}

void TCanvas::Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    const shape::Pen pen = outline();
    draw(RectOf(shape::Reach({l, t, r, b}, pen)), filled(), [&](const raster::Clip& win, auto& out) {
        shape::Pie({l, t, r, b}, x3, y3, x4, y4, pen, filled(), win, out);
    });
}

void TCanvas::Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    const shape::Pen pen = outline();
    draw(RectOf(shape::Reach({l, t, r, b}, pen)), filled(), [&](const raster::Clip& win, auto& out) {
        shape::Chord({l, t, r, b}, x3, y3, x4, y4, pen, filled(), win, out);
    });
}

void TCanvas::FillRect(const TRect& r)
{
    QPainter* p = Painter();
    if (!p || r.IsEmpty())
        return;
    const QRect box = Within(r, PaintLimit(*p));
    if (box.isEmpty())
        return;
    if (Brush.Bitmap && !Brush.Bitmap->Empty()) {
        p->fillRect(box, QBrush(Brush.Bitmap->Image()));
        return;
    }
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    QPainter::CompositionMode old = p->compositionMode();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(box, fillBrush());
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
    // Every other pixel of the frame (those of even x + y) inverted, so that
    // drawing it twice removes it: the frame's rows and its columns between
    // them as runs of dots, within what can show.
    QRect clip;
    int scale = 1;
    QPoint origin;
    QImage* direct = DirectTarget(*p, &clip, &scale, &origin);
    if (direct && direct->format() != QImage::Format_RGB32)
        direct = nullptr;
    const QRect lim = direct ? clip : PaintLimit(*p);
    std::vector<QRect> dots;
    // The dots of [x0, x1] x [y0, y1], a row or a column.
    auto run = [&](std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1) {
        x0 = std::max<std::int64_t>(x0, lim.left()), x1 = std::min<std::int64_t>(x1, lim.right());
        y0 = std::max<std::int64_t>(y0, lim.top()), y1 = std::min<std::int64_t>(y1, lim.bottom());
        for (std::int64_t y = y0; y <= y1; ++y)
            for (std::int64_t x = x0 + ((x0 + y) & 1); x <= x1; x += 2) {
                if (!direct) {
                    dots.emplace_back(int(x), int(y), 1, 1);
                    continue;
                }
                QRgb* px = reinterpret_cast<QRgb*>(direct->scanLine(int((y + origin.y()) * scale))) + (x + origin.x()) * scale;
                for (int k = 0; k < scale; ++k, px += direct->bytesPerLine() / 4)
                    for (int j = 0; j < scale; ++j)
                        px[j] ^= 0x00FFFFFF;
            }
    };
    const std::int64_t l = r.Left, t = r.Top, rt = std::int64_t(r.Right) - 1, b = std::int64_t(r.Bottom) - 1;
    run(l, rt, t, t);
    if (b > t)
        run(l, rt, b, b);
    run(l, l, t + 1, b - 1);
    if (rt > l)
        run(rt, rt, t + 1, b - 1);
    if (dots.empty())
        return;
    p->save();
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(Qt::NoPen);
    p->setBrush(Qt::white);
    p->drawRects(dots.data(), int(dots.size()));
    p->restore();
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
