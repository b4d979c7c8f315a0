#pragma once
// The dial of a pointer instrument: an arc of ticks and labels over a
// background picture, with a needle that eases toward its value. The face
// is rendered once per geometry and reused; a resting needle costs nothing.

#include "models/bridgemodel.h"
#include "controls/mekwing.h"

#include <QStringList>
#include <functional>

class TElAnalogScale;
using TElAnalogScalePaintBackgroundEvent = std::function<void(TElAnalogScale* Sender, TCanvas& Canvas)>;

class TElAnalogScale : public TMekWinGControl {
public:
    explicit TElAnalogScale(QWidget* owner);

    double Value() const { return m_value; }
    void SetValue(double v);
    // Where the needle is drawn now and where it is going.
    double ShownValue() const { return m_motion.Shown(); }
    double TargetValue() const { return m_motion.Target(); }

    int ArrowPercentLen() const { return m_arrowPercentLen; }
    void SetArrowPercentLen(int v);
    int MiddleTics() const { return m_middleTics; }
    void SetMiddleTics(int v);
    int SmallTics() const { return m_smallTics; }
    void SetSmallTics(int v);
    int ScalePercentLen() const { return m_scalePercentLen; }
    void SetScalePercentLen(int v);
    double ScaleAngle() const { return m_startAngle - m_endAngle; }
    void SetScaleAngle(double x);
    double StartAngle() const { return m_startAngle; }
    double EndAngle() const { return m_endAngle; }

    QStringList& Labels() { return m_labels; }
    void SetLabels(const QStringList& l);

    void MarkDirty() { m_dirty = true; }
    bool Dirty() const { return m_dirty; }
    void SetBounds(int left, int top, int width, int height) override;
    void PaintBuffer(TCanvas& canvas) override;
    // One step of the needle on the monotonic clock; returns whether a new
    // frame was drawn.
    bool Animate();
    TPoint PointAt(double fraction, double radius) const;
    TPoint Pivot() const { return TPoint(m_centerX, m_centerY); }

    // Tick positions of the face, as fractions of the arc (for checks).
    struct TickCounts {
        int major, middle, small;
    };
    TickCounts Ticks() const;

    TElAnalogScalePaintBackgroundEvent OnPaintBackground;

protected:
    void Resize() override;

private:
    void DrawScale(TCanvas& c);
    void DrawNeedle(TCanvas& c);

    TBitmap m_face;
    double m_value = 0.0;
    bridge::NeedleMotion m_motion;
    int m_centerX = 0, m_centerY = 0;
    double m_needleLength = 0.0;
    double m_startAngle = 135.0, m_endAngle = 45.0;
    int m_arrowPercentLen = 80;
    QStringList m_labels;
    bool m_dirty = true;
    int m_middleTics = 2;
    int m_smallTics = 5;
    int m_scalePercentLen = 70;
};
