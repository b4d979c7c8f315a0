#pragma once
// What the rotary controls share: a press takes the focus and may grab the
// control; while grabbed, moves with the left button and the left release
// set it from the mouse point; the focus mark follows the focus at once.
// A setting from the mouse repaints only through the control's own setter,
// which repaints when the picture changes: a drag costs one repaint per move
// at most.

#include "platform/controls.h"

#include <array>
#include <optional>

class TzDialControl : public TCustomControl {
    Q_OBJECT
public:
    using TCustomControl::TCustomControl;

protected:
    // Whether a press at the point grabs the control.
    virtual bool GrabsAt(int x, int y) { (void)x; (void)y; return true; }
    // Sets the control from a mouse point, repainting it if it changed.
    virtual void DialTo(int x, int y) = 0;
    // The settings that place the pointer, as Paint last drew them: a new
    // setting repaints at once, the same one not again.
    using Setting = std::array<int, 3>;
    void Painted(const Setting& s) { m_painted = s; }
    void RefreshIfNot(const Setting& s)
    {
        if (m_painted != s)
            Refresh();
    }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    // A fast second press is a press like any other.
    void mouseDoubleClickEvent(QMouseEvent* e) override { TCustomControl::mousePressEvent(e); }

private:
    bool m_tracking = false;
    std::optional<Setting> m_painted;
};
