#pragma once
// Rotary switch with a fixed number of positions over an arc, ticks, text
// labels and a red pointer; drawn over its parent's picture (transparent)
// or on its own colour.

#include "controls/dialcontrol.h"
#include "controls/facecache.h"
#include "controls/framebuffer.h"
#include "platform/controls.h"

#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

class TMekTransparentKnob : public TzDialControl {
    Q_OBJECT
public:
    explicit TMekTransparentKnob(QWidget* parent = nullptr);

    int Radius() const { return m_radius; }
    void SetRadius(int v);
    int NumPositions() const { return m_numPositions; }
    void SetNumPositions(int v);
    int Angle1() const { return m_angle1; }
    void SetAngle1(int v);
    int Angle2() const { return m_angle2; }
    void SetAngle2(int v);
    int Position() const { return m_position; }
    void SetPosition(int v);
    int StepPerTick() const { return m_stepPerTick; }
    void SetStepPerTick(int v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    // Label i belongs to the i-th drawn tick.
    QStringList& Labels() { return m_labels; }

    // The angle (degrees) at which position p is drawn.
    int AngleOfPosition(int p) const;
    // -1 when the point names no position.
    virtual int PositionFromPoint(int x, int y);
    virtual void SetPositionFromPoint(int x, int y);
    virtual void PaintKnob(TCanvas& c);
    void Repaint() override;

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void DialTo(int x, int y) override { SetPositionFromPoint(x, y); }

private:
    // Where the labels are printed: each with the font all of them share,
    // its text cell and the box a click on it counts in.
    struct LabelPlace {
        int position;
        QString text;
        TRect cell;
        TRect hit;
    };
    struct LabelLayout {
        TFont font;
        std::vector<LabelPlace> places;
    };
    // The layout of the labels, made again only when what it depends on
    // has changed.
    const LabelLayout& LayoutLabels() const;
    LabelLayout MakeLabelLayout() const;
    struct LabelKey {
        int width, height, radius, numPositions, angle1, angle2, stepPerTick;
        QStringList labels;
        TFont font;
        bool operator==(const LabelKey&) const = default;
    };
    mutable std::optional<std::pair<LabelKey, LabelLayout>> m_labelCache;

    int m_radius = 25;
    int m_numPositions = 10;
    int m_angle1 = 235;
    int m_angle2 = -45;
    int m_position = 0;
    QStringList m_labels;
    int m_stepPerTick = 1;
    bool m_transparent = true;
    paint::FaceCache m_body;
    paint::FrameBuffer m_frame;
};
