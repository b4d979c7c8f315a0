#include "controls/dialcontrol.h"

void TzDialControl::MouseDown(TMouseButton, TShiftState, int x, int y)
{
    if (CanFocus())
        SetFocus();
    m_tracking = GrabsAt(x, y);
    if (m_tracking)
        DialTo(x, y);
}

void TzDialControl::MouseMove(TShiftState shift, int x, int y)
{
    if ((shift & ssLeft) && m_tracking)
        DialTo(x, y);
}

void TzDialControl::MouseUp(TMouseButton button, TShiftState, int x, int y)
{
    if (button != TMouseButton::mbLeft)
        return;
    if (m_tracking)
        DialTo(x, y);
    m_tracking = false;
}

void TzDialControl::DoEnter()
{
    TCustomControl::DoEnter();
    Refresh();
}

void TzDialControl::DoExit()
{
    TCustomControl::DoExit();
    Refresh();
}
