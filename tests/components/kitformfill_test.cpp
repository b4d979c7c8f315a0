#include <gtest/gtest.h>

#include "components/kitformfill.h"
#include "components/kitimglist.h"
#include "platform/forms.h"
#include "support/testutil.h"

namespace {

TColor px(const QImage& img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

// A form with the start forms' black-to-green fill.
struct FilledForm {
    FilledForm()
    {
        form.SetColor(clRed);
        form.SetClientSize(200, 150);
        fill = new TKitFormFill(&form);
        fill->FillObject()->SetStyle(sfGradient);
        fill->FillObject()->Gradient()->SetColor(clBlack);
        fill->FillObject()->Gradient()->SetEndColor(clLime);
        fill->FillObject()->Gradient()->SetColorCount(48);
        fill->Loaded();
        form.ShowForm();
        testutil::pump();
    }
    QImage grab() { return form.grab().toImage(); }
    TForm form;
    TKitFormFill* fill;
};

} // namespace

TEST(KitFormFill, GradientIsCachedUntilTheSizeChanges)
{
    FilledForm f;
    EXPECT_TRUE(f.fill->Hooked());
    QImage img = f.grab();
    EXPECT_EQ(px(img, 100, 0), clBlack);
    EXPECT_EQ(GetRValue(px(img, 100, 149)), 0);
    EXPECT_GT(GetGValue(px(img, 100, 149)), 240);
    EXPECT_EQ(GetBValue(px(img, 100, 149)), 0);
    // Top to bottom the green only grows.
    for (int y = 1; y < 150; ++y)
        EXPECT_GE(GetGValue(px(img, 10, y)), GetGValue(px(img, 10, y - 1))) << y;
    const int renders = f.fill->GradientRenders();
    EXPECT_GE(renders, 1);
    EXPECT_EQ(f.fill->BackgroundBitmap().Width(), 200);

    // Later erases only copy the cache.
    f.grab();
    f.form.Repaint();
    EXPECT_EQ(f.fill->GradientRenders(), renders);

    f.form.SetClientSize(300, 100);
    testutil::pump();
    img = f.grab();
    EXPECT_EQ(f.fill->GradientRenders(), renders + 1);
    EXPECT_EQ(f.fill->BackgroundBitmap().Width(), 300);
    EXPECT_EQ(f.fill->BackgroundBitmap().Height(), 100);
    EXPECT_GT(GetGValue(px(img, 299, 99)), 240);

    // A change of the fill draws it again.
    f.fill->FillObject()->Gradient()->SetEndColor(clBlue);
    img = f.grab();
    EXPECT_EQ(f.fill->GradientRenders(), renders + 2);
    EXPECT_GT(GetBValue(px(img, 150, 99)), 240);
    testutil::screenshot(&f.form, "formfill_gradient");
}

TEST(KitFormFill, DisabledOrOwnerDrawWithoutHandlerLeavesTheFormItsColour)
{
    FilledForm f;
    f.fill->SetEnabled(false);
    EXPECT_TRUE(f.fill->Hooked());
    EXPECT_EQ(px(f.grab(), 100, 75), clRed);
    f.fill->SetEnabled(true);
    EXPECT_EQ(px(f.grab(), 100, 0), clBlack);

    f.fill->SetPaintMode(pcOwnerDraw);
    EXPECT_TRUE(f.fill->EraseFlag());
    EXPECT_EQ(px(f.grab(), 100, 0), clRed);

    TRect given;
    f.fill->OnPaint = [&](TObject* s, TCanvas* c, TRect r) {
        EXPECT_EQ(s, f.fill);
        given = r;
        c->Brush.Color = clYellow;
        c->FillRect(TRect(0, 0, 10, 10));
    };
    QImage img = f.grab();
    EXPECT_EQ(given, TRect(0, 0, 200, 150));
    EXPECT_EQ(px(img, 5, 5), clYellow);
    // The form's own erase is skipped: this red is the default fill's.
    EXPECT_EQ(px(img, 100, 75), clRed);

    f.fill->DefaultFill = false;
    f.fill->OnPaint = [&](TObject*, TCanvas* c, TRect r) {
        c->Brush.Color = clAqua;
        c->FillRect(r);
    };
    EXPECT_EQ(px(f.grab(), 100, 75), clAqua);
}

TEST(KitFormFill, OtherStylesPaintDirectlyAndDropTheCache)
{
    FilledForm f;
    f.grab();
    EXPECT_FALSE(f.fill->BackgroundBitmap().Empty());
    EXPECT_TRUE(f.fill->EraseFlag());
    f.fill->FillObject()->SetStyle(sfBrush);
    f.fill->FillObject()->Brush()->Color = clBlue;
    f.fill->FillObject()->Change();
    EXPECT_TRUE(f.fill->BackgroundBitmap().Empty());
    EXPECT_FALSE(f.fill->EraseFlag());
    const QImage img = f.grab();
    EXPECT_EQ(px(img, 0, 0), clBlue);
    EXPECT_EQ(px(img, 199, 149), clBlue);

    // Nothing to paint: the form erases itself.
    f.fill->FillObject()->SetStyle(sfNone);
    EXPECT_EQ(px(f.grab(), 100, 75), clRed);
}

TEST(KitFormFill, ImageListLinkAndIndexes)
{
    FilledForm f;
    f.fill->FillObject()->SetStyle(sfBitmapList);
    f.fill->SetImageIndex(-1);
    EXPECT_EQ(f.fill->ImageIndex(), 0);
    f.fill->SetListIndex(-3);
    EXPECT_EQ(f.fill->ListIndex(), 0);
    {
        TKitBitmapList list;
        TBitmap blue(8, 8);
        blue.Canvas().Brush.Color = clBlue;
        blue.Canvas().FillRect(TRect(0, 0, 8, 8));
        list.AddItem();
        list.BitmapItem(0)->SetBitmap(blue);
        f.fill->SetImageList(&list);
        EXPECT_EQ(list.LinkCount(), 1);
        EXPECT_EQ(f.fill->FillObject()->ListBitmap()->Width(), 8);
        EXPECT_EQ(px(f.grab(), 100, 75), clBlue); // tiled over the form

        // No picture at that place: the list bitmap is cleared, nothing raised.
        f.fill->SetListIndex(2);
        EXPECT_TRUE(f.fill->FillObject()->ListBitmap()->Empty());
        EXPECT_EQ(px(f.grab(), 100, 75), clRed);
        f.fill->SetListIndex(0);
        EXPECT_FALSE(f.fill->FillObject()->ListBitmap()->Empty());

        // A change of the list reaches the form.
        TBitmap yellow(8, 8);
        yellow.Canvas().Brush.Color = clYellow;
        yellow.Canvas().FillRect(TRect(0, 0, 8, 8));
        list.BitmapItem(0)->SetBitmap(yellow);
        list.Change();
        EXPECT_EQ(px(f.grab(), 100, 75), clYellow);
    }
    // The list went away: forgotten, and nothing left to paint.
    EXPECT_EQ(f.fill->ImageList(), nullptr);
    EXPECT_TRUE(f.fill->FillObject()->ListBitmap()->Empty());
    EXPECT_EQ(px(f.grab(), 100, 75), clRed);
}
