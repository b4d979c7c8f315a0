#include "platform/clock.h"
#include "platform/numtext.h"
#include "platform/registry.h"
#include "platform/types.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTime>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

TEST(Rounding, RoundIsTiesToEvenAndGuardsNonFinite)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(4.5), 4);
    EXPECT_EQ(Round(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(Round(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(Trunc(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
}

TEST(Rounding, MulDivRoundsHalfAwayFromZeroAndRefusesZeroDivisor)
{
    EXPECT_EQ(MulDiv(10, 3, 4), 8);   // 7.5 -> 8
    EXPECT_EQ(MulDiv(-10, 3, 4), -8);
    EXPECT_EQ(MulDiv(5, 1, 3), 2);    // 1.67
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
}

TEST(Rects, IntersectAndPtInRectUseExclusiveEdges)
{
    TRect r;
    EXPECT_TRUE(IntersectRect(r, TRect(0, 0, 10, 10), TRect(5, 5, 20, 20)));
    EXPECT_EQ(r, TRect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(r, TRect(0, 0, 5, 5), TRect(5, 0, 10, 5)));
    EXPECT_TRUE(PtInRect(TRect(0, 0, 5, 5), TPoint(4, 4)));
    EXPECT_FALSE(PtInRect(TRect(0, 0, 5, 5), TPoint(5, 4)));
}

class NumberText : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(NumberText, FloatToStrUsesFifteenDigitsWithoutExponentForOrdinarySizes)
{
    EXPECT_EQ(FloatToStr(0.00002), "0.00002");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FloatToStr(1500), "1500");
    EXPECT_EQ(FloatToStr(-2.5), "-2.5");
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(1e20), "1E+20");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(FloatToStr(12.25), "12,25");
    EXPECT_EQ(Format("%10.4f", 3.14159), "    3,1416");
}

TEST_F(NumberText, StrToFloatTakesTheLocaleSeparatorOrAPointAndNothingElse)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_DOUBLE_EQ(StrToFloat("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloat("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloat(" 7 "), 7.0);
    EXPECT_THROW(StrToFloat("12,5 Ом"), EConvertError);
    EXPECT_THROW(StrToFloat(""), EConvertError);
    EXPECT_THROW(StrToFloat("inf"), EConvertError);
    EXPECT_THROW(StrToFloat("nan"), EConvertError);
    EXPECT_THROW(StrToFloat("1e999"), EConvertError);
    EXPECT_THROW(StrToFloat("1 000,5"), EConvertError);
    EXPECT_THROW(StrToFloat("1\u00A0000"), EConvertError); // the Russian group separator
    EXPECT_THROW(StrToFloat("1.000,5"), EConvertError);

    // Under a point locale a comma is a group separator, and no number.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_THROW(StrToFloat("1,000"), EConvertError);
    EXPECT_THROW(StrToFloat("1,5"), EConvertError);
    EXPECT_DOUBLE_EQ(StrToFloat("1000.5"), 1000.5);
}

TEST_F(NumberText, StrToIntRefusesAnythingButAWholeNumber)
{
    EXPECT_EQ(StrToInt("12"), 12);
    EXPECT_EQ(StrToInt("-1"), -1);
    EXPECT_THROW(StrToInt("3a"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("1.5"), EConvertError);
}

TEST(Registry, ValuesRoundTripAndBadOnesRaise)
{
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey("Software\\A51370\\Vexorin\\Vorlinograph", true));
        r.WriteFloat("ShotSecs", 0.25);
        r.WriteString("Bad", "abc");
        r.CloseKey();
    }
    TRegistry r;
    ASSERT_TRUE(r.OpenKey("Software\\A51370\\Vexorin\\Vorlinograph", false));
    EXPECT_DOUBLE_EQ(r.ReadFloat("ShotSecs"), 0.25);
    EXPECT_THROW(r.ReadFloat("Bad"), Exception);
    EXPECT_THROW(r.ReadFloat("Missing"), Exception);
    EXPECT_FALSE(TRegistry().OpenKey("Software\\Nobody\\Here", false));
}

TEST(Registry, AValueTheStoreCannotTakeRaisesTheRegistryError)
{
    // The settings folder is a plain file: nothing can be written below it
    // (file permissions would not stop a test that runs as root).
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath("A51370");
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TRegistry r(folder + "/registry.ini");
    r.OpenKey("Software\\A51370\\Vexorin\\Vorlinograph", true);
    try {
        r.WriteFloat("ShotSecs", 0.3);
        ADD_FAILURE() << "the value was taken";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message, "Не удалось записать значение \"ShotSecs\"");
    }
    EXPECT_THROW(r.WriteString("Other", "x"), ERegistryException);

    // Once the store can take values again, the next write goes through.
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().mkpath(folder));
    r.WriteFloat("ShotSecs", 0.5);
    TRegistry again(folder + "/registry.ini");
    ASSERT_TRUE(again.OpenKey("Software\\A51370\\Vexorin\\Vorlinograph", false));
    EXPECT_DOUBLE_EQ(again.ReadFloat("ShotSecs"), 0.5);
}

TEST(ClockTest, ManualClockDrivesBothReadings)
{
    double realMono = Clock::Monotonic();
    {
        Clock::Manual m(100.0, 5.0);
        EXPECT_DOUBLE_EQ(Clock::TimeOfDay(), 100.0);
        m.Advance(0.5);
        EXPECT_DOUBLE_EQ(Clock::TimeOfDay(), 100.5);
        EXPECT_DOUBLE_EQ(Clock::Monotonic(), 5.5);
    }
    EXPECT_GE(Clock::Monotonic(), realMono);
    double tod = Clock::TimeOfDay();
    EXPECT_GE(tod, 0.0);
    EXPECT_LT(tod, 86400.0);
    // The real reading is the local wall clock's, as the desktop shows it.
    const double qtTod = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double gap = std::abs(Clock::TimeOfDay() - qtTod);
    EXPECT_LT(std::min(gap, 86400 - gap), 1.0);
}

TEST(ClockTest, TheTimeOfDayIsExactAcrossTheZonesChanges)
{
    // Central European rules: forward at 01:00 UTC on 2026-03-29, back at
    // 01:00 UTC on 2026-10-25.
    Clock::ZoneTime zone(QTimeZone("CET-1CEST,M3.5.0,M10.5.0/3"));
    const std::int64_t spring = 1774746000, autumn = 1792890000, us = 1000000;
    const struct { std::int64_t utcUs; double tod; } readings[] = {
        {(spring - 3600) * us, 1 * 3600.0},            // 01:00 CET
        {spring * us - 1, 2 * 3600.0 - 1e-6},          // the last instant before
        {spring * us, 3 * 3600.0},                     // 03:00 CEST at once
        {(spring - 1) * us, 2 * 3600.0 - 1.0},         // the clock set back
        {autumn * us - 500000, 3 * 3600.0 - 0.5},      // 02:59:59.5 CEST
        {autumn * us, 2 * 3600.0},                     // 02:00 CET again
        {(autumn + 86400 * 200LL) * us, 3 * 3600.0},   // and into the next summer
    };
    for (const auto& r : readings)
        EXPECT_DOUBLE_EQ(zone.TimeOfDay(r.utcUs), r.tod) << r.utcUs;
}

} // namespace
