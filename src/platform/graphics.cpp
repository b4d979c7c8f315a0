#include "platform/graphics.h"

#include <QFontMetrics>
#include <QSvgRenderer>
#include <QTextLayout>
#include <cmath>

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

void TCanvas::applyPen(QPainter& p, bool /*forFill*/) const
{
    if (Pen.Style == TPenStyle::psClear) {
        p.setPen(Qt::NoPen);
        return;
    }
    QColor c = Pen.Mode == TPenMode::pmBlack ? QColor(Qt::black)
             : Pen.Mode == TPenMode::pmWhite ? QColor(Qt::white)
                                             : ToQColor(Pen.Color);
    int w = Pen.Width < 1 ? 1 : Pen.Width;
    QPen pen(c, w <= 1 ? 0 : w);
    if (w <= 1) {
        // A cosmetic 1-pixel pen with flat ends leaves out the last pixel.
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        switch (Pen.Style) {
        case TPenStyle::psDash: pen.setDashPattern({6, 2}); break;
        case TPenStyle::psDot: pen.setDashPattern({1, 1}); break;
        case TPenStyle::psDashDot: pen.setDashPattern({3, 1, 1, 1}); break;
        case TPenStyle::psDashDotDot: pen.setDashPattern({3, 1, 1, 1, 1, 1}); break;
        default: break;
        }
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    p.setPen(pen);
}

void TCanvas::applyBrush(QPainter& p) const
{
    if (Brush.Bitmap && !Brush.Bitmap->Empty()) {
        p.setBrush(QBrush(Brush.Bitmap->Image()));
        return;
    }
    QColor c = ToQColor(Brush.Color);
    switch (Brush.Style) {
    case TBrushStyle::bsClear: p.setBrush(Qt::NoBrush); break;
    case TBrushStyle::bsHorizontal: p.setBrush(QBrush(c, Qt::HorPattern)); break;
    case TBrushStyle::bsVertical: p.setBrush(QBrush(c, Qt::VerPattern)); break;
    case TBrushStyle::bsFDiagonal: p.setBrush(QBrush(c, Qt::FDiagPattern)); break;
    case TBrushStyle::bsBDiagonal: p.setBrush(QBrush(c, Qt::BDiagPattern)); break;
    case TBrushStyle::bsCross: p.setBrush(QBrush(c, Qt::CrossPattern)); break;
    case TBrushStyle::bsDiagCross: p.setBrush(QBrush(c, Qt::DiagCrossPattern)); break;
    default: p.setBrush(QBrush(c)); break;
    }
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = TPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    QPainter* p = Painter();
    if (p && Pen.Style != TPenStyle::psClear) {
        applyMode(*p);
        applyPen(*p, false);
        if (Pen.Width <= 1 && m_penPos == TPoint(x, y)) {
            // A zero-length 1-pixel line draws nothing.
        } else {
            p->drawLine(m_penPos.X, m_penPos.Y, x, y);
        }
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    m_penPos = TPoint(x, y);
}

void TCanvas::Polyline(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    QPainter* p = Painter();
    if (!p || Pen.Style == TPenStyle::psClear)
        return;
    applyMode(*p);
    applyPen(*p, false);
    std::vector<QPoint> q(count);
    for (int i = 0; i < count; ++i)
        q[i] = pts[i].q();
    p->drawPolyline(q.data(), count);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polygon(const TPoint* pts, int count)
{
    if (count < 2)
        return;
    QPainter* p = Painter();
    if (!p)
        return;
    applyMode(*p);
    applyPen(*p, true);
    applyBrush(*p);
    std::vector<QPoint> q(count);
    for (int i = 0; i < count; ++i)
        q[i] = pts[i].q();
    p->drawPolygon(q.data(), count, Qt::OddEvenFill);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {
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

void TCanvas::shape(int kind, int l, int t, int r, int b, int x3, int y3, int x4, int y4, int rw, int rh)
{
    QPainter* p = Painter();
    if (!p)
        return;
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    applyMode(*p);
    applyPen(*p, true);
    if (kind == 3)  // arc: never filled
        p->setBrush(Qt::NoBrush);
    else
        applyBrush(*p);
    // The box excludes its right and bottom edge.
    QRect box(l, t, r - l - 1, b - t - 1);
    if (box.width() < 0 || box.height() < 0) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    double a1 = 0, span = 360;
    if (kind >= 3) {
        QRectF fb(l, t, r - l, b - t);
        a1 = rayAngle(fb, x3, y3);
        double a2 = rayAngle(fb, x4, y4);
        span = a2 - a1;
        while (span <= 0) span += 360;
        if (span > 360) span -= 360;
    }
    switch (kind) {
    case 0: p->drawRect(box); break;
    case 1: p->drawEllipse(box); break;
    case 2: p->drawRoundedRect(box, rw / 2.0, rh / 2.0); break;
    case 3: p->drawArc(box, int(std::lround(a1 * 16)), int(std::lround(span * 16))); break;
    case 4: p->drawPie(box, int(std::lround(a1 * 16)), int(std::lround(span * 16))); break;
    case 5: p->drawChord(box, int(std::lround(a1 * 16)), int(std::lround(span * 16))); break;
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
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
    QBrush saved = p->brush();
    applyBrush(*p);
    p->fillRect(r.q(), p->brush());
    p->setBrush(saved);
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
