#include "controls/cpuinfo.h"
#include "controls/osversion.h"

#include <gtest/gtest.h>

TEST(CpuInfo, ClockRules)
{
    // One second of a 2.4 GHz counter.
    EXPECT_EQ(CpuInfo::ClockFromCounts(1000, 1000 + 2400000000ULL, 1000.0), 2401);
    // Same rate over a quarter second.
    EXPECT_EQ(CpuInfo::ClockFromCounts(0, 600000000ULL, 250.0), 2401);
    // A counter that did not move or went back is a failed reading.
    EXPECT_EQ(CpuInfo::ClockFromCounts(5, 5, 1000.0), -1);
    EXPECT_EQ(CpuInfo::ClockFromCounts(9, 5, 1000.0), -1);
    EXPECT_EQ(CpuInfo::ClockFromCounts(0, 5, 0.0), -1);
    EXPECT_EQ(CpuInfo::ClockForFamily(4, 1234), -1);
    EXPECT_EQ(CpuInfo::ClockForFamily(3, 1234), -1);
    EXPECT_EQ(CpuInfo::ClockForFamily(-1, 1234), 0);
    EXPECT_EQ(CpuInfo::ClockForFamily(6, 1234), 1234);
}

TEST(CpuInfo, FactsOfThisMachine)
{
    if (!CpuInfo::CpuidAvailable()) {
        EXPECT_EQ(CpuInfo::CpuSignature().Eax, -1);
        EXPECT_EQ(CpuInfo::ClockMHz(), 0);
        return;
    }
    EXPECT_EQ(CpuInfo::VendorText().size(), 12u);
    EXPECT_EQ(CpuInfo::Family(), int((unsigned(CpuInfo::CpuSignature().Eax) >> 8) & 0xF));
    const int mhz = CpuInfo::ClockMHz();
    EXPECT_TRUE(mhz == -1 || mhz > 1) << mhz;
    EXPECT_EQ(CpuInfo::ClockMHz(), mhz); // measured once
}

TEST(CpuInfo, DefaultAppearance)
{
    const auto& a = CpuInfo::DefaultAppearance();
    EXPECT_EQ(a.Settings[1], 2);
    EXPECT_EQ(a.Font.Height(), -11);
    EXPECT_EQ(a.Font.Name, "MS Sans Serif");
    EXPECT_EQ(a.ShadowColor, clBtnShadow);
}

TEST(OsVersion, Codes)
{
    EXPECT_EQ(OsVersion::PlatformCode(2), 3);
    EXPECT_EQ(OsVersion::PlatformCode(1), 4);
    EXPECT_EQ(OsVersion::PlatformCode(0), 2);
    EXPECT_EQ(OsVersion::PlatformCode(7), 0);
    const auto i = OsVersion::FromRelease("6.1.70000-amd64");
    EXPECT_EQ(i.Major, 6);
    EXPECT_EQ(i.Minor, 1);
    EXPECT_EQ(i.Build, 70000 & 0xFFFF);
    EXPECT_EQ(OsVersion::FromRelease("junk").Major, 0);
    EXPECT_EQ(OsVersion::Current().Platform, 0);
}
