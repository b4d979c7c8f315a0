#include "scope/osctube.h"

#include "scope/arrangeingrid.h"

#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/registry.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

int TruncD(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::trunc(std::clamp(v, -1073741824.0, 1073741824.0)));
}

int RoundD(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::nearbyint(std::clamp(v, -1073741824.0, 1073741824.0)));
}

// Ellipse in a bounding box whose right and bottom edges lie outside it.
void EllipseBox(QPainter& p, int l, int t, int r, int b)
{
    p.drawEllipse(QRect(l, t, std::max(r - l - 1, 0), std::max(b - t - 1, 0)));
}

QRegion RectRegion(int x0, int y0, int x1, int y1)
{
    return QRegion(QRect(QPoint(std::min(x0, x1), std::min(y0, y1)),
                         QSize(std::abs(x1 - x0), std::abs(y1 - y0))));
}

QPoint Mid(QPoint a, QPoint b)
{
    return QPoint((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
}

QPolygon Quad(const std::array<QPoint, 4>& q)
{
    return QPolygon({q[0], q[1], q[2], q[3]});
}

// The key stays open while the tube lives.
class RegistryShotStore : public tube::ShotSecsStore {
public:
    explicit RegistryShotStore(const QString& FileName) : m_registry(FileName)
    {
        m_registry.OpenKey(QStringLiteral("Software\\A51370\\Vexorin\\Vorlinograph"), true);
    }
    QVariant Read() override
    {
        if (!m_registry.ValueExists(QStringLiteral("ShotSecs")))
            return {};
        try {
            return m_registry.ReadFloat(QStringLiteral("ShotSecs"));
        } catch (const std::exception&) {
            // Not a finite number: the default interval serves.
            return QStringLiteral("unreadable");
        }
    }
    void Write(double Seconds) override { m_registry.WriteFloat(QStringLiteral("ShotSecs"), Seconds); }

private:
    TRegistry m_registry;
};

} // namespace

std::unique_ptr<tube::ShotSecsStore> MakeVorlinographStore(const QString& FileName)
{
    return std::make_unique<RegistryShotStore>(FileName.isEmpty() ? TRegistry::FilePath() : FileName);
}

double ShotSecsFromStored(const QVariant& Stored)
{
    if (!Stored.isValid())
        return DefaultShotSecs;
    bool ok = false;
    const double v = Stored.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v > MaxShotSecs)
        return DefaultShotSecs;
    return std::max(v, MinShotSecs);
}

TVorlinoTube::TVorlinoTube(std::unique_ptr<tube::ShotSecsStore> Store)
    : TimeOfDay(&Clock::TimeOfDay)
    , Monotonic(&Clock::Monotonic)
    , m_store(std::move(Store))
    , m_flight(m_store ? ShotSecsFromStored(m_store->Read()) : DefaultShotSecs)
{
}

void TVorlinoTube::Reset()
{
    const double mono = Monotonic();
    m_flight.Reset(mono, TimeOfDay());
}

void TVorlinoTube::Tick()
{
    const double mono = Monotonic();
    m_flight.Advance(mono, TimeOfDay(), OnDeflection);
}

void TVorlinoTube::SetShotSecs(double Seconds)
{
    if (!std::isfinite(Seconds))
        return;
    m_flight.SetShotSecs(std::max(Seconds, MinShotSecs), Monotonic());
    if (m_store)
        m_store->Write(m_flight.ShotSecs());
}

const QRegion& TVorlinoTube::Region(int I) const
{
    static const QRegion none;
    return I >= 0 && I < RegionCount ? m_regions[I] : none;
}

void TVorlinoTube::FreeRegions()
{
    for (auto& r : m_regions)
        r = QRegion();
}

int TVorlinoTube::RegionAt(QPoint P) const
{
    for (int i = RegionCount - 1; i >= 1; --i)
        if (m_regions[i].contains(P))
            return i;
    return 0;
}

QPoint TVorlinoTube::ScreenPoint(double X, double Y) const
{
    return QPoint(m_S - TruncD(m_hw * X), m_A - TruncD(Y * (X * m_q + m_m)));
}

QPoint TVorlinoTube::ElectronPoint(int i, double g) const
{
    const double X = m_flight.X(i), Y = m_flight.Y(i);
    int x = TruncD((i + g) * m_p + m_K);
    int y = m_A;
    if (i >= 16)
        x -= TruncD(m_hw * ((i - 16 + g) / 14) * X);
    if (i >= 10)
        y -= TruncD((X * m_q + m_m) * ((i - 10 + g) / 20) * Y);
    return QPoint(x, y);
}

void TVorlinoTube::SetSize(int W, int H)
{
    SetGeometry(std::max(W, 0), std::max(H, 0));
    // The spots of the afterglow lay on the screen of the old size.
    m_flight.ClearTrail();
    DrawBackground();
    m_afterglowGen = m_flight.Generation();
    SetRegions();
}

void TVorlinoTube::SetGeometry(int W, int H)
{
    m_width = W;
    m_height = H;

    m_L0 = W / 40;
    m_N1 = 7 * W / 20;
    m_B1 = 7 * W / 10;
    m_A = H / 2;
    m_n = H / 8;
    m_b = H / 3;
    m_K = W / 10;
    m_S = (m_B1 + W) / 2;
    m_p = (m_S - m_K) / 30.0;
    m_hw = 3 * (W - m_S) / 4;
    m_k0 = H / 4;
    m_k1 = H / 3;
    m_m = (m_k0 + m_k1) / 2.0;
    m_q = m_k0 - m_m;
    m_XV = TruncD(m_K + 10 * m_p);
    m_XH = TruncD(m_K + 16 * m_p);
    m_r = W / 12;
    m_s = H / 12;
    m_t = H / 6;
    m_d = H / 12;
    m_U = (m_K - m_L0) / 2;
    m_g = (m_XV - m_r / 2 - m_s / 2 - m_K) / 10;

    const int A = m_A;
    const int r2 = m_r / 2, s2 = m_s / 2, t2 = m_t / 2, d2 = m_d / 2;
    m_lowerV = {QPoint(m_XV - r2 - s2, A + d2 + s2), QPoint(m_XV - r2 + s2, A + d2 - s2),
               QPoint(m_XV + r2 + s2, A + d2 - s2), QPoint(m_XV + r2 - s2, A + d2 + s2)};
    for (int i = 0; i < 4; ++i)
        m_upperV[i] = m_lowerV[i] - QPoint(0, m_d);
    m_frontH = {QPoint(m_XH - r2 - t2, A + d2 + t2), QPoint(m_XH - r2 - t2, A + d2 - t2),
               QPoint(m_XH + r2 - t2, A + d2 - t2), QPoint(m_XH + r2 - t2, A + d2 + t2)};
    for (int i = 0; i < 4; ++i)
        m_rearH[i] = m_frontH[i] + QPoint(m_d, -m_d);
}

TVorlinoTube::CollectorMarks TVorlinoTube::Collector() const
{
    const int n = m_n, b = m_b;
    return {(7 * m_B1 + 3 * m_N1) / 10, (8 * m_B1 + 2 * m_N1) / 10, (9 * m_B1 + m_N1) / 10,
            (7 * b + 3 * n) / 10,       (8 * b + 2 * n) / 10,       (9 * b + n) / 10};
}

QPolygon TVorlinoTube::TubeOutline() const
{
    const int A = m_A, n = m_n, b = m_b, L0 = m_L0;
    return QPolygon({QPoint(L0, A - n), QPoint(m_N1, A - n), QPoint(m_B1, A - b), QPoint(m_B1, A + b),
                     QPoint(m_N1, A + n), QPoint(L0, A + n), QPoint(L0, A - n)});
}

QPolygon TVorlinoTube::ScreenOutline() const
{
    const int A = m_A;
    return QPolygon({QPoint(m_S - m_hw - 10, A + m_k0 + 5), QPoint(m_S - m_hw - 10, A - m_k0 - 5),
                     QPoint(m_S + m_hw + 10, A - m_k1 - 10), QPoint(m_S + m_hw + 10, A + m_k1 + 10)});
}

void TVorlinoTube::DrawBackground()
{
    const int W = m_width, H = m_height;
    const int A = m_A, n = m_n, K = m_K, L0 = m_L0, U = m_U, g = m_g;
    const auto [x7, x8, x9, y7, y8, y9] = Collector();

    ++m_backgroundGen;
    m_background = QImage(W, H, QImage::Format_RGB32);
    m_background.fill(Qt::white);
    if (W > 0 && H > 0) {
        QPainter c(&m_background);
        c.setRenderHint(QPainter::Antialiasing, false);
        c.setBrush(Qt::NoBrush);
        c.setPen(QPen(Qt::black, 1));
        c.drawPolyline(TubeOutline());

        QPen navy(QColor(0, 0, 128), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        c.setPen(navy);
        c.drawArc(QRect(L0 - U, A - n / 4, 2 * U, 2 * (n / 4)), -90 * 16, 180 * 16);
        c.drawPolyline(QPolygon({QPoint(L0 + U, A - n / 3), QPoint(K, A - n / 3), QPoint(K, A + n / 3),
                                 QPoint(L0 + U, A + n / 3)}));
        c.drawPolyline(QPolygon({QPoint(K, A - 2 * n / 3), QPoint(K + g, A - 2 * n / 3), QPoint(K + g, A - n / 3)}));
        c.drawPolyline(QPolygon({QPoint(K, A + 2 * n / 3), QPoint(K + g, A + 2 * n / 3), QPoint(K + g, A + n / 3)}));
        for (int x : {K + 4 * g, K + 8 * g}) {
            c.drawLine(x, A - 2 * n / 3, x, A - n / 3);
            c.drawLine(x, A + 2 * n / 3, x, A + n / 3);
        }
        c.drawLine(x7, A - y7 + 5, x9, A - y9 + 5);
        c.drawLine(x7, A + y7 - 5, x9, A + y9 - 5);

        c.setPen(QPen(Qt::red, 1));
        c.drawLine(L0, A - n / 4, L0 - 10, A - n / 4);
        c.drawLine(L0, A + n / 4, L0 - 10, A + n / 4);
        c.drawLine(L0 + U, A + n / 3, L0 + U, A + n + 10);
        c.drawLine(K, A + 2 * n / 3, K, A + n + 10);
        c.drawLine(K + 4 * g, A + 2 * n / 3, K + 4 * g, A + n + 10);
        c.drawLine(K + 8 * g, A + 2 * n / 3, K + 8 * g, A + n + 10);
        c.drawLine(m_XV, A, m_XV, A + n + 10);
        c.drawLine(m_XH, A, m_XH + n + 10, A - n - 10);
        c.drawLine(x8, A + y8 - 5, x8, A + y8 + 10);

        QFont font("Arial");
        font.setPixelSize(13);
        c.setFont(font);
        c.setPen(Qt::black);
        const QFontMetrics fm(font);
        const int cw = fm.horizontalAdvance("X"), ch = fm.height();
        auto text = [&](int x, int y, const QString& s) { c.drawText(x, y + fm.ascent(), s); };
        const QPoint fc = Mid(m_frontH[0], m_frontH[2]);
        // Our "Н" fills the ten pixels left of the tube: it moves out until
        // it stands a few pixels clear of the outline.
        const QString heater = QStringLiteral("Н");
        text(std::min(L0 - 10, L0 - 4 - fm.horizontalAdvance(heater)), A - ch / 2, heater);
        text(L0 + U - cw / 2, A + n + 12, QStringLiteral("К"));
        text(K - cw / 2, A + n + 12, QStringLiteral("М"));
        text(K + 4 * g - cw, A + n + 12, QStringLiteral("А1"));
        text(K + 8 * g - cw, A + n + 12, QStringLiteral("А2"));
        text(m_XV - 3 * cw, A + n + 12, QStringLiteral("ПВО"));
        text(fc.x() - n - 10, fc.y() + n + 12, QStringLiteral("ПГО"));
        text(x8 - cw, A + y8 + 12, QStringLiteral("А3"));

        c.setPen(QPen(Qt::black, 1));
        c.setBrush(QColor(0, 128, 0));
        c.drawPolygon(ScreenOutline());
        for (int i = 0; i <= 10; ++i) {
            const int x = m_S - m_hw + 2 * m_hw * i / 10;
            c.drawLine(x, A - m_k0 - (m_k1 - m_k0) * i / 10, x, A + m_k0 + (m_k1 - m_k0) * i / 10);
        }
        for (int j = 0; j <= 6; ++j)
            c.drawLine(m_S - m_hw, A - m_k0 + 2 * m_k0 * j / 6, m_S + m_hw, A - m_k1 + 2 * m_k1 * j / 6);
    }
    // The screen's strip as it is before the rear plates are drawn: each
    // afterglow starts from it.
    const int stripX = m_S - m_hw - 10;
    m_strip = m_background.copy(stripX, 0, 2 * m_hw + 20, H);
    if (W > 0 && H > 0) {
        QPainter c(&m_background);
        c.setRenderHint(QPainter::Antialiasing, false);
        c.setPen(QPen(Qt::black, 1));
        c.setBrush(QColor(96, 96, 96));
        c.drawPolygon(Quad(m_lowerV));
        c.drawPolygon(Quad(m_rearH));
    }
}

void TVorlinoTube::SetRegions()
{
    const int A = m_A, n = m_n, K = m_K, L0 = m_L0, U = m_U, g = m_g;
    const CollectorMarks a3 = Collector();

    FreeRegions();
    m_regions[1] = QRegion(TubeOutline(), Qt::OddEvenFill);
    m_regions[2] = RectRegion(L0, A - n / 4, L0 + U, A + n / 4);
    m_regions[3] = RectRegion(L0 + U, A - n / 3, K, A + n / 3);
    m_regions[4] = RectRegion(K + RoundD(0.5 * g), A - 2 * n / 3, K + RoundD(1.5 * g), A + 2 * n / 3);
    m_regions[5] = RectRegion(K + RoundD(3.5 * g), A - 2 * n / 3, K + RoundD(4.5 * g), A + 2 * n / 3);
    m_regions[6] = RectRegion(K + RoundD(7.5 * g), A - 2 * n / 3, K + RoundD(8.5 * g), A + 2 * n / 3);
    m_regions[7] = RectRegion(a3.x7, A - a3.y7 + 5, a3.x9, A - a3.y9 + 5)
                       .united(RectRegion(a3.x7, A + a3.y7 - 5, a3.x9, A + a3.y9 - 5));
    m_regions[8] = QRegion(Quad(m_lowerV), Qt::OddEvenFill);
    m_regions[9] = QRegion(Quad(m_upperV), Qt::OddEvenFill);
    m_regions[10] = QRegion(Quad(m_rearH), Qt::OddEvenFill);
    m_regions[11] = QRegion(Quad(m_frontH), Qt::OddEvenFill);
    m_regions[12] = QRegion(ScreenOutline(), Qt::OddEvenFill);
}

void TVorlinoTube::DrawAfterglow()
{
    if (m_background.isNull() || m_strip.isNull())
        return;
    QPainter c(&m_background);
    c.drawImage(m_S - m_hw - 10, 0, m_strip);
    // The frame differs from the new background only within the strip.
    m_restorer.MarkRect(QRect(m_S - m_hw - 10, 0, m_strip.width(), m_strip.height()));
    for (int i = TrailCount - 1; i >= 0; --i) {
        if (!m_flight.TrailHit(i))
            continue;
        const QPoint pt = TrailPoint(i);
        c.fillRect(QRect(pt.x() - 1, pt.y() - 2, 2, 4), QColor(0, 255 - 64 * i / 250, 0));
    }
}

const QImage* TVorlinoTube::Sprite(QPainter& Canvas, SpriteKind Kind) const
{
    const qreal dpr = Canvas.device() ? Canvas.device()->devicePixelRatio() : 1.0;
    if (dpr != std::floor(dpr))
        return nullptr; // a copy would not fall on whole device pixels
    SpriteCache& c = m_sprites[int(Kind)];
    if (c.dpr != dpr) {
        c.img = QImage(int(2 * kSpriteHalf * dpr), int(2 * kSpriteHalf * dpr), QImage::Format_ARGB32_Premultiplied);
        c.img.setDevicePixelRatio(dpr);
        c.img.fill(Qt::transparent);
        QPainter p(&c.img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(kSpriteHalf, kSpriteHalf);
        DrawSprite(p, Kind);
        c.dpr = dpr;
    }
    return &c.img;
}

void TVorlinoTube::DrawSprite(QPainter& Canvas, SpriteKind Kind, int x, int y)
{
    Canvas.setPen(QPen(Qt::black, 1));
    if (Kind == SpriteKind::Electron) {
        Canvas.setBrush(QColor(0, 0, 255));
        EllipseBox(Canvas, x - 3, y - 3, x + 3, y + 3);
        return;
    }
    const bool negative = Kind == SpriteKind::Negative;
    Canvas.setBrush(negative ? QColor(0, 0, 255) : QColor(255, 0, 0));
    EllipseBox(Canvas, x - 4, y - 4, x + 4, y + 4);
    Canvas.setPen(QPen(negative ? QColor(255, 255, 255) : QColor(255, 255, 0), 1));
    Canvas.drawLine(x - 2, y, x + 1, y);
    if (!negative)
        Canvas.drawLine(x, y - 2, x, y + 1);
}

void TVorlinoTube::Put(QPainter& Canvas, SpriteKind Kind, int x, int y) const
{
    // The painter strokes every outline as a path at ratios above 1, far
    // slower than copying the same pixels drawn once.
    if (const QImage* sprite = Sprite(Canvas, Kind))
        Canvas.drawImage(QPoint(x - kSpriteHalf, y - kSpriteHalf), *sprite);
    else
        DrawSprite(Canvas, Kind, x, y);
}

void TVorlinoTube::DrawCharges(QPainter& Canvas, const QPoint* P, int Count, bool Negative) const
{
    if (Count <= 0)
        return;
    Count = std::min(Count, 36);
    int A = 1, B = 1;
    int major[36], minor[36];
    ArrangeInGrid(Count, A, B, major, minor);
    for (int i = 0; i < Count; ++i) {
        // Multiplied before divided: the other order rounds some discs a
        // pixel short.
        const double ma = major[i] + 0.5, mb = minor[i] + 0.5;
        const int x = P[0].x() + TruncD(ma * (P[3].x() - P[0].x()) / A + mb * (P[1].x() - P[0].x()) / B);
        const int y = P[0].y() + TruncD(ma * (P[3].y() - P[0].y()) / A + mb * (P[1].y() - P[0].y()) / B);
        Put(Canvas, Negative ? SpriteKind::Negative : SpriteKind::Positive, x, y);
    }
    Canvas.setPen(QPen(Qt::black, 1));
}

void TVorlinoTube::Paint(TCanvas& Canvas)
{
    Paint(*Canvas.Painter());
}

void TVorlinoTube::Paint(QPainter& Canvas)
{
    // The background keeps the afterglow of the steps drawn last.
    if (m_afterglowGen != m_flight.Generation()) {
        DrawAfterglow();
        m_afterglowGen = m_flight.Generation();
    }
    const double g = m_flight.Fraction();
    const bool alive = m_flight.Alive(10);
    const double X = m_flight.X(10), Y = m_flight.Y(10);

    Canvas.save();
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    int ratio = 1;
    QImage* direct = DirectTarget(Canvas, nullptr, &ratio);
    auto quadBox = [](const std::array<QPoint, 4>& q) { return QPolygon({q[0], q[1], q[2], q[3]}).boundingRect(); };
    // The charges stand out of their plates by a disc's radius.
    const QRect rearBoxes[] = {quadBox(m_lowerV).adjusted(-6, -6, 6, 6), quadBox(m_rearH).adjusted(-6, -6, 6, 6)};
    const QRect frontBoxes[] = {quadBox(m_upperV).adjusted(-6, -6, 6, 6), quadBox(m_frontH).adjusted(-6, -6, 6, 6)};
    const QPoint uv = Mid(m_upperV[0], m_upperV[2]), fh = Mid(m_frontH[0], m_frontH[2]);
    const QRect leads[] = {QRect(QPoint(uv.x(), m_A - m_n - 10), uv).normalized().adjusted(-1, -1, 1, 1),
                           QRect(fh, QPoint(fh.x() - m_n - 10, fh.y() + m_n + 10)).normalized().adjusted(-1, -1, 1, 1)};
    const int nV = alive ? TruncD(std::min(std::abs(Y) * 10, 1000.0)) : 0;
    const int nH = alive ? TruncD(std::min(std::abs(X) * 10, 1000.0)) : 0;
    const bool charged = ShowCharges && alive;
    const PlateCharges charges{charged, charged ? nV : 0, charged ? nH : 0, charged && Y > 0, charged && X > 0};
    // The plates with their charges and leads stay as the frame before
    // holds them until the charges change: only then are they restored,
    // and they are drawn again only where the frame was restored or drawn
    // over.
    if (direct && charges != m_lastCharges)
        for (const QRect* boxes : {rearBoxes, frontBoxes})
            for (int i = 0; i < 2; ++i)
                m_restorer.MarkRect(boxes[i]);
    m_lastCharges = charges;
    if (direct)
        m_restorer.Restore(*direct, m_background, m_backgroundGen);
    else {
        m_restorer.Invalidate();
        Canvas.drawImage(0, 0, m_background);
    }
    // The layer is drawn whole or not at all, so that what lies over what
    // stays so; its front part also where electrons flew under it.
    auto touched = [&] {
        for (const QRect* boxes : {rearBoxes, frontBoxes, leads})
            for (int i = 0; i < 2; ++i)
                if (!direct || m_restorer.Touched(boxes[i]))
                    return true;
        return false;
    };
    const bool rear = touched();
    const QPen black(Qt::black, 1);
    Canvas.setPen(black);
    if (charged && rear) {
        DrawCharges(Canvas, m_lowerV.data(), nV, Y > 0);
        DrawCharges(Canvas, m_rearH.data(), nH, !(X > 0));
    }
    for (int i = 0; i < SlotCount; ++i) {
        if (!m_flight.Alive(i))
            continue;
        const QPoint pt = ElectronPoint(i, g);
        Put(Canvas, SpriteKind::Electron, pt.x(), pt.y());
        if (direct)
            m_restorer.MarkRect(QRect(pt.x() - 4, pt.y() - 4, 9, 9));
    }
    if (rear || touched()) {
        Canvas.setPen(black);
        Canvas.setBrush(QColor(160, 160, 160));
        Canvas.drawPolygon(Quad(m_upperV));
        Canvas.drawPolygon(Quad(m_frontH));
        if (charged) {
            DrawCharges(Canvas, m_upperV.data(), nV, !(Y > 0));
            DrawCharges(Canvas, m_frontH.data(), nH, X > 0);
        }
        Canvas.setPen(QPen(Qt::red, 1));
        Canvas.drawLine(uv, QPoint(uv.x(), m_A - m_n - 10));
        Canvas.drawLine(fh, QPoint(fh.x() - m_n - 10, fh.y() + m_n + 10));
    }
    Canvas.restore();
}
