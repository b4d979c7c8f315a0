#pragma once
// What both laboratories' start forms must look like: the black-to-green
// gradient behind everything and the yellow title centred on its line.

#include "components/kitformfill.h"
#include "components/kitlabel.h"
#include "platform/forms.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

namespace testutil {

inline TColor pixelAt(const QImage& img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

// The horizontal extent of the title's yellow pixels; right < 0 when none.
inline void titleExtent(const QImage& img, int& left, int& right)
{
    left = 632;
    right = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 96; y < 135; ++y)
            if (pixelAt(img, x, y) == clYellow) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
}

// Checks the fittings of a shown start form and writes its screenshot.
inline QImage ExpectStartFormLook(TForm* form, TKitFormFill* fill, TKitLabel* title, const QString& screenshotName)
{
    const TKitFillObject* object = fill->FillObject();
    EXPECT_EQ(object->Style(), sfGradient);
    EXPECT_EQ(object->Gradient()->Color(), clBlack);
    EXPECT_EQ(object->Gradient()->EndColor(), clLime);
    EXPECT_EQ(object->Gradient()->ColorCount(), 48);

    EXPECT_EQ(title->BoundsRect(), Bounds(0, 96, 632, 39));
    EXPECT_EQ(title->Alignment(), agCenter);
    EXPECT_FALSE(title->AutoSize());
    EXPECT_EQ(title->Bevel()->Mode(), bmCustom);
    EXPECT_EQ(title->Bevel()->StandardStyle(), lsSingleLowered);
    EXPECT_EQ(title->Bevel()->Extent(), 0);
    EXPECT_TRUE(title->Options().Empty());
    EXPECT_EQ(title->Font().Color, clYellow);
    EXPECT_EQ(title->Font().PixelSize, 32);
    EXPECT_TRUE(title->Font().Style & fsBold);

    const QImage img = screenshot(form, screenshotName);
    EXPECT_EQ(pixelAt(img, 5, 2), clBlack);
    EXPECT_GT(GetGValue(pixelAt(img, 5, 450)), 240);
    int left, right;
    titleExtent(img, left, right);
    if (title->Caption().isEmpty()) {
        EXPECT_LT(right, 0);
    } else {
        EXPECT_GE(right, 0);
        EXPECT_NEAR((left + right) / 2.0, 316, 3);
    }
    return img;
}

} // namespace testutil
