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
class TRegistryShotStore : public TShotSecsStore {
public:
    explicit TRegistryShotStore(const QString& FileName) : registry_(FileName)
    {
        registry_.OpenKey(QStringLiteral("Software\\A51370\\Vexorin\\Vorlinograph"), true);
    }
    QVariant Read() override
    {
        if (!registry_.ValueExists(QStringLiteral("ShotSecs")))
            return {};
        try {
            return registry_.ReadFloat(QStringLiteral("ShotSecs"));
        } catch (const std::exception&) {
            // Not a finite number: the default interval serves.
            return QStringLiteral("unreadable");
        }
    }
    void Write(double Seconds) override { registry_.WriteFloat(QStringLiteral("ShotSecs"), Seconds); }

private:
    TRegistry registry_;
};

} // namespace

std::unique_ptr<TShotSecsStore> MakeVorlinographStore(const QString& FileName)
{
    return std::make_unique<TRegistryShotStore>(FileName.isEmpty() ? TRegistry::FilePath() : FileName);
}

double ShotSecsFromStored(const QVariant& Stored)
{
    if (!Stored.isValid())
        return DefaultShotSecs;
    bool ok = false;
    const double v = Stored.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return DefaultShotSecs;
    return std::max(v, MinShotSecs);
}

TVorlinoTube::TVorlinoTube(std::unique_ptr<TShotSecsStore> Store)
    : TimeOfDay(&Clock::TimeOfDay)
    , Monotonic(&Clock::Monotonic)
    , store_(std::move(Store))
{
    shot_ = store_ ? ShotSecsFromStored(store_->Read()) : DefaultShotSecs;
}

void TVorlinoTube::Reset()
{
    const double mono = Monotonic();
    startMono_ = stepOriginMono_ = lastFrameMono_ = rateMono_ = mono;
    lastFrameTod_ = TimeOfDay();
    frameCount_ = framesSinceRate_ = 0;
    steps_ = 0;
    frameRate_ = 0;
    alive_.fill(false);
    x_.fill(0);
    y_.fill(0);
    trailHit_.fill(false);
}

void TVorlinoTube::SetShotSecs(double Seconds)
{
    if (!std::isfinite(Seconds))
        return;
    shot_ = std::max(Seconds, MinShotSecs);
    // The flight goes on from where it is; only the count starts anew, so
    // the new interval neither freezes nor bursts the animation.
    stepOriginMono_ = Monotonic();
    steps_ = 0;
    if (store_)
        store_->Write(shot_);
}

const QRegion& TVorlinoTube::Region(int I) const
{
    static const QRegion none;
    return I >= 0 && I < RegionCount ? regions_[I] : none;
}

void TVorlinoTube::FreeRegions()
{
    for (auto& r : regions_)
        r = QRegion();
}

int TVorlinoTube::RegionAt(QPoint P) const
{
    for (int i = RegionCount - 1; i >= 1; --i)
        if (regions_[i].contains(P))
            return i;
    return 0;
}

QPoint TVorlinoTube::ScreenPoint(double X, double Y) const
{
    return QPoint(S_ - TruncD(hw_ * X), A_ - TruncD(Y * (X * q_ + m_)));
}

QPoint TVorlinoTube::ElectronPoint(int i, double g) const
{
    int x = TruncD((i + g) * p_ + K_);
    int y = A_;
    if (i >= 16)
        x -= TruncD(hw_ * ((i - 16 + g) / 14) * x_[i]);
    if (i >= 10)
        y -= TruncD((x_[i] * q_ + m_) * ((i - 10 + g) / 20) * y_[i]);
    return QPoint(x, y);
}

void TVorlinoTube::SetSize(int W, int H)
{
    W = std::max(W, 0);
    H = std::max(H, 0);
    width_ = W;
    height_ = H;
    trailHit_.fill(false);

    L0_ = W / 40;
    N1_ = 7 * W / 20;
    B1_ = 7 * W / 10;
    A_ = H / 2;
    n_ = H / 8;
    b_ = H / 3;
    K_ = W / 10;
    S_ = (B1_ + W) / 2;
    p_ = (S_ - K_) / 30.0;
    hw_ = 3 * (W - S_) / 4;
    k0_ = H / 4;
    k1_ = H / 3;
    m_ = (k0_ + k1_) / 2.0;
    q_ = k0_ - m_;
    XV_ = TruncD(K_ + 10 * p_);
    XH_ = TruncD(K_ + 16 * p_);
    r_ = W / 12;
    s_ = H / 12;
    t_ = H / 6;
    d_ = H / 12;
    U_ = (K_ - L0_) / 2;
    g_ = (XV_ - r_ / 2 - s_ / 2 - K_) / 10;

    const int A = A_, n = n_, b = b_, K = K_, L0 = L0_, U = U_, g = g_;
    const int r2 = r_ / 2, s2 = s_ / 2, t2 = t_ / 2, d2 = d_ / 2;
    lowerV_ = {QPoint(XV_ - r2 - s2, A + d2 + s2), QPoint(XV_ - r2 + s2, A + d2 - s2),
               QPoint(XV_ + r2 + s2, A + d2 - s2), QPoint(XV_ + r2 - s2, A + d2 + s2)};
    for (int i = 0; i < 4; ++i)
        upperV_[i] = lowerV_[i] - QPoint(0, d_);
    frontH_ = {QPoint(XH_ - r2 - t2, A + d2 + t2), QPoint(XH_ - r2 - t2, A + d2 - t2),
               QPoint(XH_ + r2 - t2, A + d2 - t2), QPoint(XH_ + r2 - t2, A + d2 + t2)};
    for (int i = 0; i < 4; ++i)
        rearH_[i] = frontH_[i] + QPoint(d_, -d_);

    const int x7 = (7 * B1_ + 3 * N1_) / 10, x9 = (9 * B1_ + N1_) / 10;
    const int y7 = (7 * b + 3 * n) / 10, y9 = (9 * b + n) / 10;
    const int x8 = (8 * B1_ + 2 * N1_) / 10, y8 = (8 * b + 2 * n) / 10;
    const QPolygon outline({QPoint(L0, A - n), QPoint(N1_, A - n), QPoint(B1_, A - b), QPoint(B1_, A + b),
                            QPoint(N1_, A + n), QPoint(L0, A + n), QPoint(L0, A - n)});
    const QPolygon screen({QPoint(S_ - hw_ - 10, A + k0_ + 5), QPoint(S_ - hw_ - 10, A - k0_ - 5),
                           QPoint(S_ + hw_ + 10, A - k1_ - 10), QPoint(S_ + hw_ + 10, A + k1_ + 10)});

    ++backgroundGen_;
    background_ = QImage(W, H, QImage::Format_RGB32);
    background_.fill(Qt::white);
    if (W > 0 && H > 0) {
        QPainter c(&background_);
        c.setRenderHint(QPainter::Antialiasing, false);
        c.setBrush(Qt::NoBrush);
        c.setPen(QPen(Qt::black, 1));
        c.drawPolyline(outline);

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
        c.drawLine(XV_, A, XV_, A + n + 10);
        c.drawLine(XH_, A, XH_ + n + 10, A - n - 10);
        c.drawLine(x8, A + y8 - 5, x8, A + y8 + 10);

        QFont font("Arial");
        font.setPixelSize(13);
        c.setFont(font);
        c.setPen(Qt::black);
        const QFontMetrics fm(font);
        const int cw = fm.horizontalAdvance("X"), ch = fm.height();
        auto text = [&](int x, int y, const QString& s) { c.drawText(x, y + fm.ascent(), s); };
        const QPoint fc = Mid(frontH_[0], frontH_[2]);
        text(L0 - 10, A - ch / 2, QStringLiteral("Н"));
        text(L0 + U - cw / 2, A + n + 12, QStringLiteral("К"));
        text(K - cw / 2, A + n + 12, QStringLiteral("М"));
        text(K + 4 * g - cw, A + n + 12, QStringLiteral("А1"));
        text(K + 8 * g - cw, A + n + 12, QStringLiteral("А2"));
        text(XV_ - 3 * cw, A + n + 12, QStringLiteral("ПВО"));
        text(fc.x() - n - 10, fc.y() + n + 12, QStringLiteral("ПГО"));
        text(x8 - cw, A + y8 + 12, QStringLiteral("А3"));

        c.setPen(QPen(Qt::black, 1));
        c.setBrush(QColor(0, 128, 0));
        c.drawPolygon(screen);
        for (int i = 0; i <= 10; ++i) {
            const int x = S_ - hw_ + 2 * hw_ * i / 10;
            c.drawLine(x, A - k0_ - (k1_ - k0_) * i / 10, x, A + k0_ + (k1_ - k0_) * i / 10);
        }
        for (int j = 0; j <= 6; ++j)
            c.drawLine(S_ - hw_, A - k0_ + 2 * k0_ * j / 6, S_ + hw_, A - k1_ + 2 * k1_ * j / 6);
    }
    const int stripX = S_ - hw_ - 10;
    strip_ = background_.copy(stripX, 0, 2 * hw_ + 20, H);
    if (W > 0 && H > 0) {
        QPainter c(&background_);
        c.setRenderHint(QPainter::Antialiasing, false);
        c.setPen(QPen(Qt::black, 1));
        c.setBrush(QColor(96, 96, 96));
        c.drawPolygon(Quad(lowerV_));
        c.drawPolygon(Quad(rearH_));
    }

    FreeRegions();
    regions_[1] = QRegion(outline, Qt::OddEvenFill);
    regions_[2] = RectRegion(L0, A - n / 4, L0 + U, A + n / 4);
    regions_[3] = RectRegion(L0 + U, A - n / 3, K, A + n / 3);
    regions_[4] = RectRegion(K + RoundD(0.5 * g), A - 2 * n / 3, K + RoundD(1.5 * g), A + 2 * n / 3);
    regions_[5] = RectRegion(K + RoundD(3.5 * g), A - 2 * n / 3, K + RoundD(4.5 * g), A + 2 * n / 3);
    regions_[6] = RectRegion(K + RoundD(7.5 * g), A - 2 * n / 3, K + RoundD(8.5 * g), A + 2 * n / 3);
    regions_[7] = RectRegion(x7, A - y7 + 5, x9, A - y9 + 5).united(RectRegion(x7, A + y7 - 5, x9, A + y9 - 5));
    regions_[8] = QRegion(Quad(lowerV_), Qt::OddEvenFill);
    regions_[9] = QRegion(Quad(upperV_), Qt::OddEvenFill);
    regions_[10] = QRegion(Quad(rearH_), Qt::OddEvenFill);
    regions_[11] = QRegion(Quad(frontH_), Qt::OddEvenFill);
    regions_[12] = QRegion(screen, Qt::OddEvenFill);
}

void TVorlinoTube::Step()
{
    ++steps_;
    for (int i = TrailCount - 1; i >= 1; --i) {
        trailHit_[i] = trailHit_[i - 1];
        trail_[i] = trail_[i - 1];
    }
    trailHit_[0] = false;
    if (alive_[SlotCount - 1] && std::abs(x_[SlotCount - 1]) <= 1 && std::abs(y_[SlotCount - 1]) <= 1) {
        trailHit_[0] = true;
        trail_[0] = ScreenPoint(x_[SlotCount - 1], y_[SlotCount - 1]);
    }
    for (int i = SlotCount - 1; i >= 1; --i) {
        alive_[i] = alive_[i - 1];
        x_[i] = x_[i - 1];
        y_[i] = y_[i - 1];
    }
    double X = 0, Y = 0;
    bool Visible = true;
    if (OnDeflection) {
        OnDeflection(X, Y, lastFrameTod_, Visible);
        // A value that is not a number strikes a plate like a huge one.
        if (std::isnan(X))
            X = 1e9;
        if (std::isnan(Y))
            Y = 1e9;
        x_[8] = X;
        y_[8] = Y;
        if (std::abs(X) > 3 || std::abs(Y) > 3)
            alive_[8] = false;
    }
    alive_[0] = Visible;
    x_[0] = 0;
    y_[0] = 0;
    DrawAfterglow();
}

void TVorlinoTube::DrawAfterglow()
{
    if (background_.isNull() || strip_.isNull())
        return;
    QPainter c(&background_);
    c.drawImage(S_ - hw_ - 10, 0, strip_);
    // The frame differs from the new background only within the strip.
    restorer_.MarkRect(QRect(S_ - hw_ - 10, 0, strip_.width(), strip_.height()));
    for (int i = TrailCount - 1; i >= 0; --i) {
        if (!trailHit_[i])
            continue;
        const QPoint pt = trail_[i];
        c.fillRect(QRect(pt.x() - 1, pt.y() - 2, 2, 4), QColor(0, 255 - 64 * i / 250, 0));
    }
}

const QImage* TVorlinoTube::Sprite(QPainter& Canvas, SpriteKind Kind) const
{
    const qreal dpr = Canvas.device() ? Canvas.device()->devicePixelRatio() : 1.0;
    if (dpr != std::floor(dpr))
        return nullptr; // a copy would not fall on whole device pixels
    SpriteCache& c = sprites_[int(Kind)];
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
    const double now = Monotonic();
    const double tod = TimeOfDay();
    double e = (now - stepOriginMono_) - double(steps_) * shot_;
    if (e >= shot_) {
        std::int64_t k = std::int64_t(std::min(std::floor(e / shot_), 9.0e15));
        if (k > MaxCatchUpSteps) {
            // Skipped steps would all be overwritten by the last ones: the
            // deflection source is asked with the same time in every one.
            steps_ += k - MaxCatchUpSteps;
            k = MaxCatchUpSteps;
        }
        for (std::int64_t i = 0; i < k; ++i)
            Step();
        e = (now - stepOriginMono_) - double(steps_) * shot_;
    }
    const double g = std::clamp(e / shot_, 0.0, 0.999999);

    Canvas.save();
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    int ratio = 1;
    QImage* direct = DirectTarget(Canvas, nullptr, &ratio);
    auto quadBox = [](const std::array<QPoint, 4>& q) { return QPolygon({q[0], q[1], q[2], q[3]}).boundingRect(); };
    // The charges stand out of their plates by a disc's radius.
    const QRect rearBoxes[] = {quadBox(lowerV_).adjusted(-6, -6, 6, 6), quadBox(rearH_).adjusted(-6, -6, 6, 6)};
    const QRect frontBoxes[] = {quadBox(upperV_).adjusted(-6, -6, 6, 6), quadBox(frontH_).adjusted(-6, -6, 6, 6)};
    const QPoint uv = Mid(upperV_[0], upperV_[2]), fh = Mid(frontH_[0], frontH_[2]);
    const QRect leads[] = {QRect(QPoint(uv.x(), A_ - n_ - 10), uv).normalized().adjusted(-1, -1, 1, 1),
                           QRect(fh, QPoint(fh.x() - n_ - 10, fh.y() + n_ + 10)).normalized().adjusted(-1, -1, 1, 1)};
    const int nV = alive_[10] ? TruncD(std::min(std::abs(y_[10]) * 10, 1000.0)) : 0;
    const int nH = alive_[10] ? TruncD(std::min(std::abs(x_[10]) * 10, 1000.0)) : 0;
    const bool charged = ShowCharges && alive_[10];
    const PlateCharges charges{charged, charged ? nV : 0, charged ? nH : 0, charged && y_[10] > 0, charged && x_[10] > 0};
    // The plates with their charges and leads stay as the frame before
    // holds them until the charges change: only then are they restored,
    // and they are drawn again only where the frame was restored or drawn
    // over.
    if (direct && charges != lastCharges_)
        for (const QRect* boxes : {rearBoxes, frontBoxes})
            for (int i = 0; i < 2; ++i)
                restorer_.MarkRect(boxes[i]);
    lastCharges_ = charges;
    if (direct)
        restorer_.Restore(*direct, background_, backgroundGen_);
    else {
        restorer_.Invalidate();
        Canvas.drawImage(0, 0, background_);
    }
    // The layer is drawn whole or not at all, so that what lies over what
    // stays so; its front part also where electrons flew under it.
    auto touched = [&] {
        for (const QRect* boxes : {rearBoxes, frontBoxes, leads})
            for (int i = 0; i < 2; ++i)
                if (!direct || restorer_.Touched(boxes[i]))
                    return true;
        return false;
    };
    const bool rear = touched();
    const QPen black(Qt::black, 1);
    Canvas.setPen(black);
    if (charged && rear) {
        DrawCharges(Canvas, lowerV_.data(), nV, y_[10] > 0);
        DrawCharges(Canvas, rearH_.data(), nH, !(x_[10] > 0));
    }
    for (int i = 0; i < SlotCount; ++i) {
        if (!alive_[i])
            continue;
        const QPoint pt = ElectronPoint(i, g);
        Put(Canvas, SpriteKind::Electron, pt.x(), pt.y());
        if (direct)
            restorer_.MarkRect(QRect(pt.x() - 4, pt.y() - 4, 9, 9));
    }
    if (rear || touched()) {
        Canvas.setPen(black);
        Canvas.setBrush(QColor(160, 160, 160));
        Canvas.drawPolygon(Quad(upperV_));
        Canvas.drawPolygon(Quad(frontH_));
        if (charged) {
            DrawCharges(Canvas, upperV_.data(), nV, !(y_[10] > 0));
            DrawCharges(Canvas, frontH_.data(), nH, x_[10] > 0);
        }
        Canvas.setPen(QPen(Qt::red, 1));
        Canvas.drawLine(uv, QPoint(uv.x(), A_ - n_ - 10));
        Canvas.drawLine(fh, QPoint(fh.x() - n_ - 10, fh.y() + n_ + 10));
    }
    Canvas.restore();

    lastFrameMono_ = now;
    lastFrameTod_ = tod;
    ++frameCount_;
    ++framesSinceRate_;
    if (framesSinceRate_ > 10) {
        const double span = now - rateMono_;
        if (span > 0)
            frameRate_ = framesSinceRate_ / span;
        framesSinceRate_ = 0;
        rateMono_ = now;
    }
}
