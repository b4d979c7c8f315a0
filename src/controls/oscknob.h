#pragma once
// Step switch of the oscilloscope's front panel: a silver knob with a red
// pointer in the middle of a printed scale picture, with blue ticks for the
// steps 0..Max round it.

#include "controls/dialcontrol.h"
#include "controls/facecache.h"
#include "controls/framebuffer.h"
#include "platform/controls.h"
#include "platform/graphics.h"

class TVorlinKnob : public TzDialControl {
    Q_OBJECT
public:
    explicit TVorlinKnob(QWidget* parent = nullptr);

    int Value() const { return m_value; }
    void SetValue(int v);
    int Max() const { return m_max; }
    // Stores only: the value is clamped at its next write.
    void SetMax(int v) { m_max = v; }
    int KnobRadius() const { return m_knobRadius; }
    void SetKnobRadius(int r);
    bool FineKnobFixed() const { return m_fineKnobFixed; }
    void SetFineKnobFixed(bool v);
    int FineKnobValue() const { return m_fineKnobValue; }
    void SetFineKnobValue(int v);
    // The scale picture, stretched over the whole control (rendered once
    // per size).
    TMetafile& BackgroundPicture() { return m_picture; }

    virtual int ValueFromPoint(int x, int y);
    virtual void SetValueFromPoint(int x, int y);

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void DialTo(int x, int y) override { SetValueFromPoint(x, y); }

private:
    bool m_fineKnobFixed = true;
    int m_fineKnobValue = 0;
    int m_knobRadius = 50;
    int m_value = 0;
    TMetafile m_picture;
    int m_max = 100;
    paint::FaceCache m_face;
    paint::FrameBuffer m_frame;
};
