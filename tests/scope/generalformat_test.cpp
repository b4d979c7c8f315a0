#include "platform/numtext.h"

#include <gtest/gtest.h>

TEST(GeneralFormat, FiveDigitsAsTheStatusLinesShowThem)
{
    EXPECT_EQ(FloatToStrGeneral(0.00002, 5), "0.00002");
    EXPECT_EQ(FloatToStrGeneral(0.00001, 5), "0.00001");
    EXPECT_EQ(FloatToStrGeneral(0.000002, 5), "2E-6");
    EXPECT_EQ(FloatToStrGeneral(12.345678, 5), "12.346");
    EXPECT_EQ(FloatToStrGeneral(20.0, 5), "20");
    EXPECT_EQ(FloatToStrGeneral(0, 5), "0");
    EXPECT_EQ(FloatToStrGeneral(-3.5, 5), "-3.5");
    EXPECT_EQ(FloatToStrGeneral(99999.6, 5), "1E+5");
    EXPECT_EQ(FloatToStrGeneral(123456.0, 5), "1.2346E+5");
    EXPECT_EQ(FloatToStrGeneral(0.4, 15), "0.4");
}
