#pragma once
// The picture of the cut-away cathode-ray tube: single electrons fly from
// the cathode through the deflection plates to the screen, where they leave
// a fading afterglow. Their flight is the model in models/electrons; the
// window's timer advances it (Tick) and painting only shows it.

#include "models/electrons.h"

#include <QImage>
#include <QPoint>
#include <QPolygon>
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
using TTubeDeflection = tube::Deflection;

namespace tube {
// Where the emission interval "ShotSecs" is kept between runs.
class ShotSecsStore {
public:
    virtual ~ShotSecsStore() = default;
    // The stored value, or an invalid QVariant when there is none.
    virtual QVariant Read() = 0;
    virtual void Write(double Seconds) = 0;
};
} // namespace tube

// The user's settings key Software\A51370\Vexorin\Vorlinograph, in the
// user's own settings file unless another file is named. A value the store
// cannot take raises the registry's error from Write.
std::unique_ptr<tube::ShotSecsStore> MakeVorlinographStore(const QString& FileName = QString());

constexpr double DefaultShotSecs = 0.4;
constexpr double MinShotSecs = 0.05;
// Beyond this the electrons creep so slowly that the tube looks stopped.
constexpr double MaxShotSecs = 10.0;

// The emission interval for a stored value: the default when it is missing,
// not a finite number or longer than the maximum, the minimum when it is
// below that.
double ShotSecsFromStored(const QVariant& Stored);

class TVorlinoTube {
public:
    static constexpr int SlotCount = tube::Electrons::SlotCount;
    static constexpr int TrailCount = tube::Electrons::TrailCount;
    static constexpr int RegionCount = 13;

    explicit TVorlinoTube(std::unique_ptr<tube::ShotSecsStore> Store = MakeVorlinographStore());
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
    // One frame of the flight at the clocks' time: the timer calls it and
    // then has the picture painted.
    void Tick();
    // Draws the tube as the last Tick left it; painting moves nothing.
    void Paint(TCanvas& Canvas);
    void Paint(QPainter& Canvas);

    double GetFrameRate() const { return m_flight.FrameRate(); }
    double GetElapsed() const { return m_flight.Elapsed(); }
    double GetShotSecs() const { return m_flight.ShotSecs(); }
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
    void MarkDrawn(const QRect& R) { m_restorer.MarkRect(R); }
    // Where the last frame differs from the one before (none: it may differ
    // anywhere).
    std::optional<QRegion> TakeChange() { return m_restorer.TakeChange(); }

    // Read access for views and tests.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::int64_t Steps() const { return m_flight.Steps(); }
    int FrameCount() const { return m_flight.FrameCount(); }
    bool Alive(int Slot) const { return m_flight.Alive(Slot); }
    double SlotX(int Slot) const { return m_flight.X(Slot); }
    double SlotY(int Slot) const { return m_flight.Y(Slot); }
    bool TrailHit(int I) const { return m_flight.TrailHit(I); }
    QPoint TrailPoint(int I) const { return ScreenPoint(m_flight.TrailX(I), m_flight.TrailY(I)); }
    const QImage& Background() const { return m_background; }
    const QRegion& Region(int I) const;
    // The electron's picture position at slot I with the fraction G of the
    // running interval.
    QPoint ElectronPoint(int I, double G) const;

    static constexpr int MaxCatchUpSteps = tube::Electrons::MaxCatchUpSteps;

private:
    // SetSize's parts: the tube's proportions at the new size, its picture
    // without electrons, and the parts a hint or a help request can find.
    void SetGeometry(int W, int H);
    void DrawBackground();
    void SetRegions();
    // What the background and the regions both draw on: the collecting
    // anode's marks (x and half-height at 7, 8 and 9 tenths of the way from
    // the neck to the bulb's end), the tube's outline and the screen's.
    struct CollectorMarks {
        int x7, x8, x9, y7, y8, y9;
    };
    CollectorMarks Collector() const;
    QPolygon TubeOutline() const;
    QPolygon ScreenOutline() const;

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
    mutable std::array<SpriteCache, 3> m_sprites;

    std::unique_ptr<tube::ShotSecsStore> m_store;
    tube::Electrons m_flight;
    // The flight's generation whose afterglow the background holds.
    std::uint64_t m_afterglowGen = 0;
    int m_width = 0, m_height = 0;

    paint::FrameRestorer m_restorer;
    std::uint64_t m_backgroundGen = 0;
    // What the plates showed in the last frame.
    struct PlateCharges {
        bool shown = false;
        int vertical = 0, horizontal = 0;
        bool yPositive = false, xPositive = false;
        bool operator==(const PlateCharges&) const = default;
    };
    PlateCharges m_lastCharges;
    QImage m_background;
    QImage m_strip;

    // Geometry of the current size, in picture pixels; x runs from the back
    // of the tube (left) to the screen (right), y down from the top.
    int m_L0 = 0;    // the back end of the tube
    int m_N1 = 0;    // the end of the neck, where the bulb begins
    int m_B1 = 0;    // the end of the bulb
    int m_A = 0;     // the tube's axis
    int m_n = 0;     // half the neck's height
    int m_b = 0;     // half the bulb's height at its end
    int m_K = 0;     // the cathode, where the electrons start
    int m_S = 0;     // the middle of the screen
    double m_p = 0;  // the distance an electron flies in one slot, cathode to screen in 30
    int m_hw = 0;    // half the screen's width in the oblique view
    int m_k0 = 0;    // half the screen's height at its left, shorter edge
    int m_k1 = 0;    // half the screen's height at its right, taller edge
    double m_m = 0;  // half the screen's height in its middle
    double m_q = 0;  // its change towards the left edge: X·q + m at deflection X
    int m_XV = 0;    // the middle of the vertical-deflection plates (slot 10)
    int m_XH = 0;    // the middle of the horizontal-deflection plates (slot 16)
    int m_r = 0;     // a plate's length along the axis
    int m_s = 0;     // the depth of a vertical-deflection plate, seen obliquely
    int m_t = 0;     // the height of an upright horizontal-deflection plate
    int m_d = 0;     // the gap between the two plates of a pair
    int m_U = 0;     // half the heater's width, between the back end and the cathode
    int m_g = 0;     // the pitch of the electrodes between the cathode and the plates
    std::array<QPoint, 4> m_lowerV{}, m_upperV{}, m_frontH{}, m_rearH{};
    std::array<QRegion, RegionCount> m_regions{};
};
