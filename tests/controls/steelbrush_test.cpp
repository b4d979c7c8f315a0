#include "controls/steelbrush.h"

#include <gtest/gtest.h>

TEST(SteelBrush, PatternPixels)
{
    const TBitmap* b = SteelBrushBitmap();
    ASSERT_EQ(b->Width(), 8);
    ASSERT_EQ(b->Height(), 8);
    const QImage& img = b->Image();
    EXPECT_EQ(img.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(0, 0), ToQColor(clSilver));
    EXPECT_EQ(img.pixelColor(1, 0), ToQColor(clSilver));
    EXPECT_EQ(img.pixelColor(2, 1), ToQColor(clSilver));
    int white = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            white += img.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_EQ(white, 16);
}

TEST(SteelBrush, FillKeepsThePatternOnTheCanvasGrid)
{
    TBitmap bmp(300, 200);
    bmp.Canvas().Brush.Color = clRed;
    bmp.Canvas().FillRect(TRect(0, 0, 300, 200));
    FillSteel(bmp.Canvas(), TRect(3, 4, 290, 199));
    EXPECT_EQ(bmp.Canvas().Brush.Bitmap, nullptr);
    const QImage& img = bmp.Image();
    EXPECT_EQ(img.pixelColor(2, 4), QColor(Qt::red));   // left of the area
    EXPECT_EQ(img.pixelColor(3, 4), ToQColor(clSilver));
    EXPECT_EQ(img.pixelColor(3, 5), QColor(Qt::white)); // odd, odd
    EXPECT_EQ(img.pixelColor(289, 197), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(290, 197), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(288, 197), ToQColor(clSilver));
}
