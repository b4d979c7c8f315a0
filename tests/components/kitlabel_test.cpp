#include <QTest>
#include <gtest/gtest.h>

#include "components/kitlabel.h"
#include "platform/forms.h"
#include "platform/stdctrls.h"
#include "support/testutil.h"

namespace {

TColor px(const QImage& img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

// The bounding box of the pixels of one colour.
QRect boxOf(const QImage& img, TColor colour)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (px(img, x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The start forms' title line on a dark form.
struct TitleForm {
    TitleForm()
    {
        form.SetColor(clNavy);
        form.SetClientSize(632, 200);
        label = new TKitLabel(&form);
        label->SetAutoSize(false);
        label->SetBounds(0, 96, 632, 39);
        label->SetAlignment(agCenter);
        label->SetFont(TFont("MS Sans Serif", 32, clYellow, fsBold));
        form.ShowForm();
        testutil::pump();
    }
    TForm form;
    TKitLabel* label;
};

} // namespace

TEST(KitLabel, TitleLineIsOneCentredLine)
{
    TitleForm t;
    EXPECT_TRUE(t.label->Transparent());
    EXPECT_TRUE(t.label->ParentColor());
    EXPECT_EQ(t.label->Bevel()->Extent(), 0);
    TRect r(0, 0, 632, 39);
    EXPECT_EQ(t.label->PaintFormat(r), 0x20u | 0x05u | 0x40u | 0x10u);
    EXPECT_EQ(r, TRect(0, 0, 632, 39));

    // Empty: nothing of its own, the form shows through.
    EXPECT_TRUE(t.label->IsEmpty());
    QImage img = t.form.grab().toImage();
    EXPECT_FALSE(boxOf(img, clYellow).isValid());

    t.label->SetCaption("Фигуры Лиссажу");
    EXPECT_FALSE(t.label->IsEmpty());
    EXPECT_EQ(t.label->Width(), 632); // no auto-size
    img = t.form.grab().toImage();
    const QRect text = boxOf(img, clYellow);
    ASSERT_TRUE(text.isValid());
    EXPECT_NEAR(text.center().x(), 316, 3);
    EXPECT_NEAR(text.center().y(), 96 + 19, 4);
    EXPECT_GT(text.height(), 18);
    EXPECT_EQ(px(img, 2, 100), clNavy);
    testutil::screenshot(&t.form, "kitlabel_title");
}

TEST(KitLabel, MultiLineAndRotatedPlacement)
{
    TitleForm t;
    t.label->SetCaption("one\ntwo");
    t.label->SetMultiLine(true);
    t.label->SetAlignment(agBottomRight);
    TRect r(0, 0, 632, 39);
    const unsigned f = t.label->PaintFormat(r);
    EXPECT_EQ(f & DT_SINGLELINE, 0u);
    EXPECT_EQ(f & 0x0F, unsigned(DT_RIGHT | DT_BOTTOM));
    // Placed in the bottom-right corner, as large as the text.
    EXPECT_EQ(r.Right, 632);
    EXPECT_EQ(r.Bottom, 39);
    EXPECT_GT(r.Left, 300);

    // Multi-line but at the top: no placement.
    t.label->SetAlignment(agTopCenter);
    r = TRect(0, 0, 632, 39);
    EXPECT_EQ(t.label->PaintFormat(r) & DT_SINGLELINE, 0u);
    EXPECT_EQ(r, TRect(0, 0, 632, 39));

    // Turned text is one line; outline fonts keep their angle.
    t.label->FontFx()->SetAngle(45);
    EXPECT_EQ(t.label->FontFx()->Angle(), 45);
    r = TRect(0, 0, 632, 39);
    EXPECT_NE(t.label->PaintFormat(r) & DT_SINGLELINE, 0u);

    // Auto-size: no single-line flag and no placement.
    t.label->FontFx()->SetAngle(0);
    t.label->SetAutoSize(true);
    r = TRect(0, 0, 10, 10);
    EXPECT_EQ(t.label->PaintFormat(r) & DT_SINGLELINE, 0u);
    EXPECT_EQ(r, TRect(0, 0, 10, 10));

    t.label->SetOptions({loEndEllipsis, loPathEllipsis});
    r = TRect(0, 0, 10, 10);
    EXPECT_EQ(t.label->PaintFormat(r) & 0xE000u, unsigned(DT_END_ELLIPSIS | KIT_DT_PATH_ELLIPSIS));
}

TEST(KitLabel, AutoSizeFollowsTextFontAndBevel)
{
    TForm form;
    form.SetClientSize(400, 200);
    TKitLabel label(&form);
    label.SetCaption("Ab");
    const int w1 = label.Width(), h1 = label.Height();
    label.SetCaption("Abcdefgh");
    EXPECT_GT(label.Width(), w1);
    EXPECT_EQ(label.Height(), h1);
    label.SetFont(TFont("MS Sans Serif", 30));
    EXPECT_GT(label.Height(), h1);
    const int h2 = label.Height();
    const int w2 = label.Width();
    label.Bevel()->SetStyleOuter(bvRaised);
    label.Bevel()->SetWidthOuter(3);
    EXPECT_EQ(label.Height(), h2 + 6);
    EXPECT_EQ(label.Width(), w2 + 6);
    label.SetMultiLine(true);
    label.SetCaption("Ab\nAb");
    EXPECT_GT(label.Height(), h2 + 6 + 20);

    // Not auto-sized: the size stays.
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 50, 20);
    label.SetCaption("a much longer caption than before");
    EXPECT_EQ(label.Width(), 50);
    EXPECT_EQ(label.Height(), 20);
}

TEST(KitLabel, BevelMakesEvenAnEmptyLabelPaint)
{
    TForm form;
    form.SetColor(clRed);
    form.SetClientSize(100, 60);
    TKitLabel label(&form);
    label.SetAutoSize(false);
    label.SetBounds(10, 10, 60, 30);
    form.ShowForm();
    testutil::pump();
    EXPECT_TRUE(label.IsEmpty());
    EXPECT_EQ(px(form.grab().toImage(), 11, 11), clRed);
    label.Bevel()->SetStyleOuter(bvRaised);
    EXPECT_FALSE(label.IsEmpty());
    const QImage img = form.grab().toImage();
    EXPECT_EQ(px(img, 10, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(px(img, 69, 39), ColorToRGB(clBtnShadow));
    EXPECT_EQ(px(img, 40, 25), clRed); // still transparent inside

    label.SetTransparent(false);
    label.SetParentColor(false);
    label.SetColor(clWhite);
    EXPECT_EQ(px(form.grab().toImage(), 40, 25), clWhite);
}

TEST(KitLabel, AcceleratorFocusesItsControl)
{
    TForm form;
    form.SetClientSize(200, 100);
    TKitLabel label(&form);
    label.SetCaption("&Number");
    TEdit edit(&form);
    edit.SetBounds(10, 40, 100, 21);
    TButton other(&form);
    other.SetBounds(120, 40, 60, 25);
    label.SetFocusControl(&edit);
    form.ShowForm();
    QApplication::setActiveWindow(&form);
    testutil::pump();
    other.SetFocus();
    testutil::pump();
    QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
    testutil::pump();
    EXPECT_TRUE(edit.Focused());

    // Turned off: the ampersand is an ordinary character.
    other.SetFocus();
    label.SetShowAccelChar(false);
    TRect r(0, 0, 100, 20);
    EXPECT_NE(label.PaintFormat(r) & DT_NOPREFIX, 0u);
    EXPECT_FALSE(label.DialogChar());
    QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
    testutil::pump();
    EXPECT_FALSE(edit.Focused());

    label.SetShowAccelChar(true);
    label.SetEnabled(false);
    EXPECT_FALSE(label.DialogChar());
}
