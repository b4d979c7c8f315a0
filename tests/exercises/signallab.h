#pragma once
// Shared by the tests of the two signal works: an exercise window shown at
// a desktop size on a manual clock, and what a user would do with it.

#include "exercises/abstgen.h"

#include "components/kitformdisp.h"
#include "controls/oscknob.h"
#include "controls/zonzoff.h"
#include "platform/clock.h"
#include "scope/drawwire.h"
#include "scope/s1_73.h"
#include "support/testutil.h"

#include <QImage>
#include <QTest>
#include <algorithm>

template <class F>
struct SignalLab {
    Clock::Manual clock{36000.0, 1000.0};
    F f{nullptr};
    SignalLab()
    {
        Application->HelpFile = "Vorlin.hlp";
        f.Show();
        // Shown maximised on the test screen first; then at a desktop size.
        testutil::pump();
        Resize(1280, 1024);
    }
    void Resize(int w, int h)
    {
        f.SetBounds(0, 0, w, h);
        testutil::pump();
    }
    // A point of a control in the window's own coordinates.
    QPoint At(QWidget* w, QPoint p) const { return w->mapTo(&f, p); }
    // Where a wire vertex given in the work area lies on the screen.
    TPoint Screen(QPoint workPoint) const { return f.panWork->ClientToScreen(TPoint::from(workPoint)); }
    void PressPower()
    {
        TzcSingleOnOff* b = f.Scope->cbPower;
        testutil::clickAt(&f, At(b, QPoint(b->Width() - 20, b->Height() / 2)));
    }
    // Turns a step switch with the keyboard, as a user with the focus on it.
    void Key(TVorlinKnob* k, Qt::Key key)
    {
        k->SetFocus();
        QTest::keyClick(k, key);
    }
    // The rows and columns of the screen's bright trace pixels.
    QRect TraceBounds()
    {
        f.Scope->RepaintScreen();
        const QImage img = f.Scope->ScreenControl->Buffer().Image();
        QRect r;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGreen(img.pixel(x, y)) > 140)
                    r |= QRect(x, y, 1, 1);
        return r;
    }
};

// Whether a wire's path is painted where it runs through the work area.
inline bool BlueAt(const QImage& img, QPoint p)
{
    return (img.pixel(p) & 0xFFFFFF) == 0x0000FFu;
}
