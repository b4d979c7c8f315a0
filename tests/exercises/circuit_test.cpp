#include "exercises/lcrcont.h"

#include "platform/numtext.h"
#include "support/testutil.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

TEST(LCRCont, SettersShowMillihenryMicrofaradOhm)
{
    TLCRContForm f;
    EXPECT_EQ(f.edL->Text(), "0");
    EXPECT_EQ(f.Inductance, 0.0);
    f.SetResistance(5);
    f.SetCapacitance(0.000001);
    f.SetInductance(0.001);
    EXPECT_EQ(f.edR->Text(), "5");
    EXPECT_EQ(f.edC->Text(), "1");
    EXPECT_EQ(f.edL->Text(), "1");
    EXPECT_EQ(f.FitSize(TPoint(5000, 5000)), TPoint(212, 106));
    EXPECT_EQ(f.ClientWidth(), 212);
    EXPECT_EQ(f.ClientHeight(), 106);
}

TEST(LCRCont, LeavingAFieldRereadsAllThree)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TLCRContForm f;
    f.SetResistance(5);
    f.SetCapacitance(0.000001);
    f.SetInductance(0.001);
    f.Show();
    testutil::pump();
    // Typed text that no field has confirmed yet: only edC is left, but
    // the stale text in edR is read too.
    f.edR->LineEdit()->setText("7,50");
    f.edC->SetFocus();
    f.edC->LineEdit()->selectAll();
    QTest::keyClicks(f.edC->LineEdit(), "2,2");
    EXPECT_DOUBLE_EQ(f.Capacitance, 0.000001);
    f.edL->SetFocus();
    testutil::pump();
    EXPECT_NEAR(f.Capacitance, 0.0000022, 1e-18);
    EXPECT_EQ(f.edC->Text(), "2,2");
    EXPECT_DOUBLE_EQ(f.Resistance, 7.5);
    EXPECT_EQ(f.edR->Text(), "7,5");
    EXPECT_DOUBLE_EQ(f.Inductance, 0.001);
}

TEST(LCRCont, BadTextStopsAtTheFieldButKeepsWhatWasRead)
{
    TLCRContForm f;
    f.SetResistance(5);
    f.SetCapacitance(0.000001);
    f.SetInductance(0.001);
    f.edL->SetText("2");
    f.edC->SetText("abc");
    f.edR->SetText("9");
    EXPECT_THROW(f.edLExit(f.edC), EConvertError);
    EXPECT_DOUBLE_EQ(f.Inductance, 0.002);
    EXPECT_DOUBLE_EQ(f.Capacitance, 0.000001);
    EXPECT_DOUBLE_EQ(f.Resistance, 5);
    f.edL->SetText("x");
    f.edC->SetText("3");
    EXPECT_THROW(f.edLExit(f.edL), EConvertError);
    EXPECT_DOUBLE_EQ(f.Inductance, 0.002);
    EXPECT_DOUBLE_EQ(f.Capacitance, 0.000001);
    // Zero and negative values are taken as they are.
    f.edL->SetText("0");
    f.edC->SetText("-1");
    f.edR->SetText("0");
    f.edLExit(f.edR);
    EXPECT_EQ(f.Inductance, 0.0);
    EXPECT_DOUBLE_EQ(f.Capacitance, -0.000001);
}

TEST(DrawCircuit, PartsSitWhereTheScaleSays)
{
    TBitmap bmp(105, 105);
    TCanvas& c = bmp.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect(TRect(0, 0, 105, 105));
    c.Font = TFont(QStringLiteral("MS Sans Serif"), 16, clGreen);
    DrawCircuit(c, 105, 105);
    const QImage& img = bmp.Image();
    auto rgb = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
    const QRgb red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
    // Cp plates at x = 70 and 78, from 3h/24 = 13 to 5h/24 = 21.
    EXPECT_EQ(rgb(70, 14), red);
    EXPECT_EQ(rgb(78, 14), red);
    EXPECT_EQ(rgb(74, 14), white);
    // Between the plates the top lead is broken.
    EXPECT_EQ(rgb(74, 105 / 6), white);
    EXPECT_EQ(rgb(20, 105 / 6), blue);
    EXPECT_EQ(rgb(95, 105 / 6), blue);
    // The coil bulges right of x = 52 within its box 43..61, nothing left.
    bool right = false;
    for (int x = 53; x < 62; ++x)
        right = right || rgb(x, 105 * 17 / 48) == red;
    EXPECT_TRUE(right);
    for (int x = 44; x < 50; ++x)
        EXPECT_NE(rgb(x, 105 * 17 / 48), red) << x;
    // The resistor's outline, left edge at 43 between 7h/12 and 9h/12.
    EXPECT_EQ(rgb(43, 70), red);
    EXPECT_EQ(rgb(52, 70), white);
    // Dots on the upper and lower bus at x = 35.
    EXPECT_EQ(rgb(35, 105 * 3 / 12), blue);
    EXPECT_EQ(rgb(35, 105 * 11 / 12), blue);
    // The two terminals on the left edge: h/6 and 4h/12.
    EXPECT_EQ(rgb(0, 105 / 6), blue);
    EXPECT_EQ(rgb(0, 105 * 4 / 12), blue);
    EXPECT_EQ(rgb(0, 60), white);
    // The labels in the canvas's font colour.
    bool green = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 52; x < 70; ++x)
            green = green || rgb(x, y) == 0x008000;
    EXPECT_TRUE(green);
}

TEST(DrawCircuit, TinyAreasDrawWithoutFault)
{
    // The parts shrink onto the area: wires and dots ink it and reach past
    // it no further than a dot and its 2-px outline; only labels stand out.
    for (int s : {0, 1, 3}) {
        TBitmap bmp(16, 16);
        TCanvas& c = bmp.Canvas();
        c.Brush.Color = clWhite;
        c.FillRect(TRect(0, 0, 16, 16));
        c.Font = TFont(QStringLiteral("MS Sans Serif"), 8, clGreen);
        DrawCircuit(c, s, s);
        int wires = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (const QRgb p = bmp.Image().pixel(x, y) & 0xFFFFFF; p == 0xFF0000 || p == 0x0000FF) {
                    ++wires;
                    EXPECT_TRUE(x < s + 3 && y < s + 3) << s << ": " << x << "," << y;
                }
        EXPECT_GT(wires, 0) << s;
    }
}
