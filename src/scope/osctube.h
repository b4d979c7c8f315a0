#pragma once
// Model and picture of the cut-away cathode-ray tube: single electrons fly
// from the cathode through the deflection plates to the screen, where they
// leave a fading afterglow.

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QVariant>

#include "scope/frameraster.h"
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class TCanvas;

// Deflection source of the tube: X, Y in screen halves (±1 is the edge) for
// model time T; may clear Visible to emit no electron.
using TTubeDeflection = std::function<void(double& X, double& Y, double T, bool& Visible)>;

// Where the emission interval "ShotSecs" is kept between runs.
class TShotSecsStore {
public:
    virtual ~TShotSecsStore() = default;
    // The stored value, or an invalid QVariant when there is none.
    virtual QVariant Read() = 0;
    virtual void Write(double Seconds) = 0;
};

// The user's settings key Software\A51370\Vexorin\Vorlinograph, in the
// user's own settings file unless another file is named. A value the store
// cannot take raises the registry's error from Write.
std::unique_ptr<TShotSecsStore> MakeVorlinographStore(const QString& FileName = QString());

constexpr double DefaultShotSecs = 0.4;
constexpr double MinShotSecs = 0.05;

// The emission interval for a stored value: the default when it is missing
// or not a finite number, the minimum when it is below that.
double ShotSecsFromStored(const QVariant& Stored);

class TVorlinoTube {
public:
    static constexpr int SlotCount = 30;
    static constexpr int TrailCount = 250;
    static constexpr int RegionCount = 13;

    explicit TVorlinoTube(std::unique_ptr<TShotSecsStore> Store = MakeVorlinographStore());
    TVorlinoTube(const TVorlinoTube&) = delete;
    TVorlinoTube& operator=(const TVorlinoTube&) = delete;

    TTubeDeflection OnDeflection;
    bool ShowCharges = true;

    // Time of day in seconds (passed to the deflection source) and a
    // monotonic clock in seconds (all elapsed times). Tests replace them.
    std::function<double()> TimeOfDay;
    std::function<double()> Monotonic;

    void Reset();
    void SetSize(int W, int H);
    void Paint(TCanvas& Canvas);
    void Paint(QPainter& Canvas);
    void Step();

    double GetFrameRate() const { return frameRate_; }
    double GetElapsed() const { return lastFrameMono_ - startMono_; }
    double GetShotSecs() const { return shot_; }
    // Stores the interval (raised to the minimum, non-finite ignored), writes
    // it to the store and counts steps anew from now.
    void SetShotSecs(double Seconds);

    int RegionAt(QPoint P) const;
    void FreeRegions();

    // Screen mapping of a deflection with |X|, |Y| <= 1 to picture pixels.
    QPoint ScreenPoint(double X, double Y) const;

    void DrawCharges(QPainter& Canvas, const QPoint* P, int Count, bool Negative) const;

    // A caller that draws more on the frame after Paint (status lines) tells
    // the tube, so that the next frame restores the background there.
    void MarkDrawn(const QRect& R) { restorer_.MarkRect(R); }
    // Where the last frame differs from the one before (none: it may differ
    // anywhere).
    std::optional<QRegion> TakeChange() { return restorer_.TakeChange(); }

    // Read access for views and tests.
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::int64_t Steps() const { return steps_; }
    int FrameCount() const { return frameCount_; }
    bool Alive(int Slot) const { return Slot >= 0 && Slot < SlotCount && alive_[Slot]; }
    double SlotX(int Slot) const { return Slot >= 0 && Slot < SlotCount ? x_[Slot] : 0.0; }
    double SlotY(int Slot) const { return Slot >= 0 && Slot < SlotCount ? y_[Slot] : 0.0; }
    bool TrailHit(int I) const { return I >= 0 && I < TrailCount && trailHit_[I]; }
    QPoint TrailPoint(int I) const { return I >= 0 && I < TrailCount ? trail_[I] : QPoint(); }
    const QImage& Background() const { return background_; }
    const QRegion& Region(int I) const;
    // The electron's picture position at slot I with the fraction G of the
    // running interval.
    QPoint ElectronPoint(int I, double G) const;

    // Catch-up after a long pause runs at most this many steps: after it
    // every slot and trail entry comes from the latest steps anyway.
    static constexpr int MaxCatchUpSteps = SlotCount + TrailCount;

private:
    void DrawAfterglow();
    // An electron or a charge centred on (x, y), drawn once per pixel ratio
    // and copied from then on (drawn in place at fractional ratios).
    enum class SpriteKind { Electron, Negative, Positive };
    static constexpr int kSpriteHalf = 6;
    static void DrawSprite(QPainter& Canvas, SpriteKind Kind, int x = 0, int y = 0);
    const QImage* Sprite(QPainter& Canvas, SpriteKind Kind) const;
    void Put(QPainter& Canvas, SpriteKind Kind, int x, int y) const;
    struct SpriteCache {
        QImage img;
        qreal dpr = 0;
    };
    mutable std::array<SpriteCache, 3> sprites_;

    std::unique_ptr<TShotSecsStore> store_;
    double startMono_ = 0;
    double stepOriginMono_ = 0;
    double lastFrameMono_ = 0;
    double lastFrameTod_ = 0;
    int frameCount_ = 0;
    double rateMono_ = 0;
    int framesSinceRate_ = 0;
    double frameRate_ = 0;
    int width_ = 0, height_ = 0;
    double shot_ = DefaultShotSecs;
    std::int64_t steps_ = 0;

    std::array<double, SlotCount> x_{}, y_{};
    std::array<bool, SlotCount> alive_{};
    std::array<QPoint, TrailCount> trail_{};
    std::array<bool, TrailCount> trailHit_{};

    TFrameRestorer restorer_;
    std::uint64_t backgroundGen_ = 0;
    // What the plates showed in the last frame.
    struct PlateCharges {
        bool shown = false;
        int vertical = 0, horizontal = 0;
        bool yPositive = false, xPositive = false;
        bool operator==(const PlateCharges&) const = default;
    };
    PlateCharges lastCharges_;
    QImage background_;
    QImage strip_;

    // Geometry of the current size, in picture pixels; x runs from the back
    // of the tube (left) to the screen (right), y down from the top.
    int L0_ = 0;    // the back end of the tube
    int N1_ = 0;    // the end of the neck, where the bulb begins
    int B1_ = 0;    // the end of the bulb
    int A_ = 0;     // the tube's axis
    int n_ = 0;     // half the neck's height
    int b_ = 0;     // half the bulb's height at its end
    int K_ = 0;     // the cathode, where the electrons start
    int S_ = 0;     // the middle of the screen
    double p_ = 0;  // the distance an electron flies in one slot, cathode to screen in 30
    int hw_ = 0;    // half the screen's width in the oblique view
    int k0_ = 0;    // half the screen's height at its left, shorter edge
    int k1_ = 0;    // half the screen's height at its right, taller edge
    double m_ = 0;  // half the screen's height in its middle
    double q_ = 0;  // its change towards the left edge: X·q + m at deflection X
    int XV_ = 0;    // the middle of the vertical-deflection plates (slot 10)
    int XH_ = 0;    // the middle of the horizontal-deflection plates (slot 16)
    int r_ = 0;     // a plate's length along the axis
    int s_ = 0;     // the depth of a vertical-deflection plate, seen obliquely
    int t_ = 0;     // the height of an upright horizontal-deflection plate
    int d_ = 0;     // the gap between the two plates of a pair
    int U_ = 0;     // half the heater's width, between the back end and the cathode
    int g_ = 0;     // the pitch of the electrodes between the cathode and the plates
    std::array<QPoint, 4> lowerV_{}, upperV_{}, frontH_{}, rearH_{};
    std::array<QRegion, RegionCount> regions_{};
};
