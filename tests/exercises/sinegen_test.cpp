#include "exercises/sinegen.h"

#include "controls/mekknob.h"
#include "platform/groupctrls.h"
#include "support/testutil.h"

#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

TEST(SineGen, NewGeneratorGivesNothingAtOneVolt)
{
    TSineGenForm g;
    EXPECT_EQ(g.Knob->Position(), 0);
    EXPECT_EQ(g.Knob->NumPositions(), 101);
    EXPECT_EQ(g.Knob->Labels().size(), 11);
    EXPECT_EQ(g.Knob->Labels().last(), "100");
    EXPECT_FALSE(g.Knob->Transparent());
    EXPECT_EQ(g.rgM->ItemIndex(), 0);
    EXPECT_EQ(g.GetFrequency(), 0.0);
    EXPECT_EQ(g.txtFreq->Caption(), "0 Гц");
    EXPECT_EQ(g.Voltage, 1.0);
    EXPECT_EQ(g.txtVoltage->Caption(), "1 В");
    for (double T : {0.0, 0.123, 40000.5})
        EXPECT_EQ(g.GetValue(T), 0.0);
    EXPECT_EQ(g.FitSize(TPoint(10, 10)), TPoint(286, 166));
}

TEST(SineGen, FrequencyIsPositionTimesMultiplier)
{
    TSineGenForm g;
    int changes = 0;
    TObject* sender = nullptr;
    g.OnChange = [&](TObject* s) { ++changes; sender = s; };
    g.Knob->SetPosition(100);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &g);
    g.rgM->SetItemIndex(2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(g.GetFrequency(), 10000.0);
    EXPECT_EQ(g.txtFreq->Caption(), "10000 Гц");
    g.rgM->SetItemIndex(1);
    EXPECT_EQ(g.GetFrequency(), 1000.0);
    g.rgM->SetItemIndex(-1);
    EXPECT_EQ(g.GetFrequency(), 0.0);
    g.SetVoltage(2.5);
    EXPECT_EQ(g.txtVoltage->Caption(), "2.5 В");
    g.rgM->SetItemIndex(0);
    g.Knob->SetPosition(50);
    // 50 Hz: a quarter period is 5 ms.
    EXPECT_NEAR(g.GetValue(0.005), 2.5, 1e-12);
    EXPECT_NEAR(g.GetValue(0.015), -2.5, 1e-12);
}

TEST(SineGen, MultiplierClickedAloneFiresChangeItsCirclesFitTheirRows)
{
    TSineGenForm g;
    g.Show();
    testutil::pump();
    g.Knob->SetPosition(7);
    int changes = 0;
    g.OnChange = [&](TObject*) { ++changes; };
    QRadioButton* b = g.rgM->Button(2);
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.rgM->ItemIndex(), 2);
    EXPECT_TRUE(b->isChecked());
    EXPECT_FALSE(g.rgM->Button(0)->isChecked());
    EXPECT_EQ(g.txtFreq->Caption(), "700 Гц");
    // The chosen item clicked again changes nothing.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(b->isChecked());
    for (int i = 0; i < 3; ++i) {
        // Each white disc leaves its row's first and last lines free, and
        // a dark outline rings it.
        const QImage img = g.rgM->Button(i)->grab().toImage();
        int top = img.height(), bottom = -1, left = img.width(), darkest = 255;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width() / 2; ++x)
                if (img.pixel(x, y) == qRgb(255, 255, 255)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                    left = std::min(left, x);
                }
        for (int x = 0; x < left; ++x)
            darkest = std::min(darkest, qGray(img.pixel(x, (top + bottom) / 2)));
        EXPECT_TRUE(top > 0 && bottom < img.height() - 1 && darkest < 110) << i;
    }
}

TEST(SineGen, KnobFollowsTheFormHeight)
{
    TSineGenForm g;
    g.SetBounds(0, 0, 286, 166);
    EXPECT_EQ(g.Knob->BoundsRect(), TRect(8, 8, 158, 158));
    EXPECT_EQ(g.Knob->Radius(), 51);
    g.SetBounds(0, 0, 300, 200);
    EXPECT_EQ(g.Knob->Width(), 184);
    EXPECT_EQ(g.Knob->Radius(), 68);
    g.SetBounds(0, 0, 50, 10);
    EXPECT_EQ(g.Knob->Width(), 0);
    EXPECT_EQ(g.Knob->Radius(), 0);
}

TEST(SineGen, TurnedByKeysAndMouse)
{
    TSineGenForm g;
    g.SetBounds(0, 0, 286, 166);
    g.Show();
    testutil::pump();
    g.Knob->SetFocus();
    QTest::keyClick(g.Knob, Qt::Key_End);
    EXPECT_EQ(g.txtFreq->Caption(), "100 Гц");
    QTest::keyClick(g.Knob, Qt::Key_PageDown);
    EXPECT_EQ(g.txtFreq->Caption(), "90 Гц");
    // A press straight above the centre: position 50 (225 - 90 = 135 of 270).
    const QPoint c(g.Knob->Width() / 2, g.Knob->Height() / 2);
    QTest::mouseClick(g.Knob, Qt::LeftButton, {}, c - QPoint(0, 40));
    EXPECT_EQ(g.Knob->Position(), 50);
    EXPECT_EQ(g.txtFreq->Caption(), "50 Гц");
    const QImage img = testutil::screenshot(&g, "sinegen");
    EXPECT_EQ(img.width(), 286);
}
