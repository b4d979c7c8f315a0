#pragma once
// What the rotary controls share: a press takes the focus and may grab the
// control; while grabbed, moves with the left button and the left release
// set it from the mouse point; the focus mark follows the focus at once.

#include "platform/controls.h"

class TzDialControl : public TCustomControl {
    Q_OBJECT
public:
    using TCustomControl::TCustomControl;

protected:
    // Whether a press at the point grabs the control.
    virtual bool GrabsAt(int x, int y) { (void)x; (void)y; return true; }
    // Sets the control from a mouse point.
    virtual void DialTo(int x, int y) = 0;
    // Whether each setting from the mouse is followed by an immediate redraw.
    bool RefreshAfterDial = true;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;
    // A fast second press is a press like any other.
    void mouseDoubleClickEvent(QMouseEvent* e) override { TCustomControl::mousePressEvent(e); }

private:
    void Dial(int x, int y);
    bool m_tracking = false;
};
