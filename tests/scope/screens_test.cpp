#include "scope/TubeView.h"
#include "platform/clock.h"
#include "support/testutil.h"
#include <gtest/gtest.h>
TEST(Screens, TubeViewInManualMode)
{
    Clock::Manual clock(36000.0, 1000.0);
    TTubeViewForm v(nullptr);
    v.SetDataSource(nullptr);
    v.SetBounds(0, 0, 1200, 700);
    v.Show();
    testutil::pump();
    v.Tube->Reset();
    v.kHorz->SetPosition(10);
    v.kVert->SetPosition(-12);
    for (int i = 0; i < 200; ++i) {
        clock.Advance(0.1);
        if (i == 120)
            v.kHorz->SetPosition(-15);
        v.View->Repaint();
    }
    const QImage img = testutil::screenshot(&v, "tube_manual");
    EXPECT_FALSE(img.isNull());
    int electrons = 0;
    for (int i = 0; i < TVorlinoTube::SlotCount; ++i)
        electrons += v.Tube->Alive(i);
    EXPECT_GE(electrons, 25);
}
