#include <QTest>
#include <gtest/gtest.h>

#include "components/kitctrl.h"
#include "platform/forms.h"
#include "support/testutil.h"

namespace {

TColor px(const QImage& img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

// A library parent that offers its own picture as the background of
// transparent children, as a descendant of the protocol would.
class BackgroundPanel : public TKitCustomPanel {
public:
    explicit BackgroundPanel(QWidget* parent) : TKitCustomPanel(parent), picture(200, 200)
    {
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                picture.Canvas().SetPixel(x, y, RGB(x, y, 0));
    }
    TBitmap* BackgroundBitmap() const override { return const_cast<TBitmap*>(&picture); }
    bool IsTransparentCapable() const override { return true; }
    TPoint BackgroundOffset(TPoint p) const override { return p; }
    TBitmap picture;
};

class CountingGraphic : public TKitGraphicControl {
public:
    using TKitGraphicControl::TKitGraphicControl;
    int changes = 0;
    void ObjectChanged(TObject* s) override
    {
        ++changes;
        TKitGraphicControl::ObjectChanged(s);
    }
};

} // namespace

TEST(KitBaseControl, BoundsChangeFiresOncePerSetBounds)
{
    TForm form;
    form.resize(200, 200);
    TKitBaseControl c(&form);
    std::vector<TKitBoundsChanges> seen;
    c.OnBoundsChange = [&](TObject* s, TKitBoundsChanges ch) {
        EXPECT_EQ(s, &c);
        seen.push_back(ch);
    };
    c.SetBounds(10, 10, 30, 30);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].Contains(bcPositionChanged));
    EXPECT_TRUE(seen[0].Contains(bcSizeChanged));
    c.SetBounds(20, 10, 30, 30);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], TKitBoundsChanges{bcPositionChanged});
    c.SetBounds(20, 10, 40, 30);
    EXPECT_EQ(seen[2], TKitBoundsChanges{bcSizeChanged});
    c.SetBounds(20, 10, 40, 30);
    EXPECT_EQ(seen.size(), 3u);
    c.BeginLoading();
    c.SetBounds(0, 0, 5, 5);
    c.EndLoading();
    EXPECT_EQ(seen.size(), 3u);
}

TEST(KitBaseControl, MouseEnterAndExitEvents)
{
    TForm form;
    form.resize(200, 100);
    TKitGraphicControl g(&form);
    g.SetBounds(10, 10, 50, 50);
    TKitCustomPanel p(&form);
    p.SetBounds(100, 10, 50, 50);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    std::vector<QString> log;
    g.OnMouseEnter = [&](TObject*) { log.push_back("g+"); };
    g.OnMouseExit = [&](TObject*) { log.push_back("g-"); };
    p.OnMouseEnter = [&](TObject*) { log.push_back("p+"); };
    p.OnMouseExit = [&](TObject*) { log.push_back("p-"); };
    testutil::moveMouseTo(&form, QPoint(5, 5));
    testutil::moveMouseTo(&form, QPoint(30, 30));
    testutil::moveMouseTo(&form, QPoint(120, 30));
    testutil::moveMouseTo(&form, QPoint(190, 90));
    testutil::pump();
    EXPECT_EQ(log, (std::vector<QString>{"g+", "g-", "p+", "p-"}));
    EXPECT_FALSE(p.MouseInside());
}

TEST(KitBaseGraphicControl, TransparencyAndTheBevelFrame)
{
    TForm form;
    form.resize(120, 80);
    form.SetColor(clYellow);
    CountingGraphic g(&form);
    EXPECT_EQ(g.Width(), 30);
    EXPECT_EQ(g.Height(), 30);
    EXPECT_TRUE(g.Transparent());
    g.SetBounds(10, 10, 60, 40);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // Transparent with an empty bevel: nothing painted at run time.
    QImage img = testutil::screenshot(&form, "kit_graphic_transparent");
    EXPECT_EQ(px(img, 40, 30), clYellow);
    EXPECT_EQ(px(img, 10, 10), clYellow);
    // At design time the dashed frame shows.
    g.SetDesigning(true);
    img = form.grab().toImage();
    EXPECT_EQ(px(img, 10, 10), clBlack);
    g.SetDesigning(false);

    // The bevel is the frame; its changes repaint.
    const int before = g.changes;
    g.Bevel()->SetStyleOuter(bvRaised);
    g.Bevel()->SetWidthOuter(2);
    EXPECT_EQ(g.changes, before + 2);
    img = testutil::screenshot(&form, "kit_graphic_bevel");
    EXPECT_EQ(px(img, 10, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(px(img, 69, 49), ColorToRGB(clBtnShadow));
    EXPECT_EQ(px(img, 40, 30), clYellow); // still transparent inside

    // Setting the same value sends nothing; a plain form offers no
    // background, so the background message changes nothing.
    g.SetTransparent(true);
    EXPECT_FALSE(g.UsesParentBackground());
    const int n = g.changes;
    KitSendMessage(&g, CM_KITBACKCHANGED);
    EXPECT_EQ(g.changes, n);

    TKitBevel frame;
    frame.SetMode(bmStandard);
    frame.SetStandardStyle(lsSingleLowered);
    g.SetBevel(&frame);
    EXPECT_EQ(g.Bevel()->Extent(), 1);
}

TEST(KitCustomControl, BackgroundProtocolThroughTheParents)
{
    TForm form;
    form.resize(220, 220);
    BackgroundPanel root(&form);
    root.SetBounds(0, 0, 200, 200);
    TKitCustomPanel child(&root);
    child.SetBounds(50, 60, 40, 30);
    child.SetColor(clBlue);
    TKitBaseGraphicControl onChild(&child);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // Opaque: the panel paints its colour.
    EXPECT_FALSE(child.UsesParentBackground());
    QImage img = form.grab().toImage();
    EXPECT_EQ(px(img, 60, 70), clBlue);

    // Transparent under a capable parent: the parent's picture at the
    // child's place shows through.
    child.SetTransparent(true);
    EXPECT_TRUE(child.IsTransparentCapable());
    EXPECT_TRUE(child.UsesParentBackground());
    EXPECT_EQ(child.BackgroundBitmap(), &root.picture);
    EXPECT_EQ(child.BackgroundOffset(TPoint(3, 4)), TPoint(53, 64));
    img = testutil::screenshot(&form, "kit_panel_parent_background");
    EXPECT_EQ(px(img, 60, 70), RGB(60, 70, 0));
    EXPECT_EQ(px(img, 89, 89), RGB(89, 89, 0));
    // A transparent graphic child of a capable panel uses the background too.
    EXPECT_TRUE(onChild.UsesParentBackground());

    // A transparent panel on a plain form still fills with its colour.
    TKitCustomPanel plain(&form);
    plain.SetBounds(200, 200, 20, 20);
    plain.SetColor(clRed);
    plain.SetTransparent(true);
    EXPECT_FALSE(plain.UsesParentBackground());
    img = form.grab().toImage();
    EXPECT_EQ(px(img, 210, 210), clRed);
}

TEST(KitCustomControl, FocusMessagesArriveAfterTheFocusChange)
{
    TForm form;
    form.resize(200, 100);
    TKitCustomPanel a(&form);
    a.SetBounds(0, 0, 50, 50);
    a.SetTabStop(true);
    TKitCustomPanel b(&form);
    b.SetBounds(60, 0, 50, 50);
    b.SetTabStop(true);
    std::vector<QString> log;
    a.OnFocusGained = [&](TObject*) { log.push_back(QString("a+%1").arg(a.HasFocus())); };
    a.OnFocusLost = [&](TObject*) { log.push_back(QString("a-%1").arg(b.HasFocus())); };
    b.OnFocusGained = [&](TObject*) { log.push_back("b+"); };
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    a.SetFocus();
    testutil::pump();
    ASSERT_EQ(log, std::vector<QString>{"a+1"});
    b.SetFocus();
    EXPECT_EQ(log.size(), 1u); // posted, not sent
    testutil::pump();
    EXPECT_EQ(log, (std::vector<QString>{"a+1", "a-1", "b+"}));
}

TEST(KitBevelPanel, InnerRectAndAlignedChildrenFollowTheBevel)
{
    TForm form;
    form.resize(300, 200);
    TKitCustomBevelPanel p(&form);
    p.SetBounds(0, 0, 200, 100);
    EXPECT_EQ(p.GetInnerRect(), TRect(0, 0, 200, 100));
    EXPECT_TRUE(p.HasNoFrame());
    TKitCustomPanel child(&p);
    child.SetAlign(alClient);
    p.Realign();
    EXPECT_EQ(child.BoundsRect(), TRect(0, 0, 200, 100));

    // No frame: the dashed design frame shows at design time only.
    TKitCustomBevelPanel q(&form);
    q.SetBounds(210, 0, 80, 50);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_NE(px(q.grab().toImage(), 0, 20), clBlack);
    q.SetDesigning(true);
    EXPECT_EQ(px(q.grab().toImage(), 0, 20), clBlack);

    p.Bevel()->SetStyleOuter(bvRaised);
    p.Bevel()->SetWidthOuter(3);
    p.Bevel()->SetBorderInnerWidth(2);
    EXPECT_EQ(p.GetInnerRect(), TRect(5, 5, 195, 95));
    EXPECT_EQ(child.BoundsRect(), TRect(5, 5, 195, 95));
    EXPECT_FALSE(p.HasNoFrame());
    QImage img = testutil::screenshot(&p, "kit_bevel_panel");
    EXPECT_EQ(px(img, 0, 50), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(px(img, 199, 50), ColorToRGB(clBtnShadow));

    // bmWindows: a window edge of its own, made again on every switch.
    const int made = p.RecreateCount();
    p.Bevel()->SetMode(bmWindows);
    EXPECT_GT(p.RecreateCount(), made);
    EXPECT_TRUE(p.WindowParams().ExStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(p.Bevel()->Extent(), 0);
    EXPECT_EQ(p.ClientRect(), TRect(2, 2, 198, 98));
    EXPECT_EQ(child.BoundsRect(), TRect(2, 2, 198, 98));
    EXPECT_FALSE(p.HasNoFrame());
    img = testutil::screenshot(&p, "kit_bevel_panel_windows");
    EXPECT_EQ(px(img, 0, 50), ColorToRGB(clBtnShadow));
    p.SetCtl3D(false);
    EXPECT_TRUE(p.WindowParams().Style & WS_BORDER);
    EXPECT_EQ(p.ClientRect(), TRect(1, 1, 199, 99));
    const int again = p.RecreateCount();
    p.Bevel()->SetMode(bmCustom);
    EXPECT_GT(p.RecreateCount(), again);
    EXPECT_EQ(p.WindowParams().ExStyle, 0u);
    EXPECT_EQ(p.ClientRect(), TRect(0, 0, 200, 100));

    // Transparency is a window style: changing it makes the window again.
    const int t = p.RecreateCount();
    p.SetTransparent(true);
    p.SetTransparent(true);
    EXPECT_EQ(p.RecreateCount(), t + 1);

    TKitCustomStatusBar bar(&form);
    EXPECT_EQ(bar.TextIndent(), 0);
}

TEST(KitBaseControl, ImageListLinkFollowsTheListAndItsEnd)
{
    TForm form;
    CountingGraphic g(&form);
    auto* list = new TKitImageList(nullptr);
    g.SetImageList(list);
    EXPECT_EQ(g.ImageList(), list);
    EXPECT_EQ(list->LinkCount(), 1);
    EXPECT_FALSE(g.ImageListLink().StoresInternal());
    const int linked = g.changes;
    list->Change();
    EXPECT_EQ(g.changes, linked + 1);

    // Freeing the list unlinks it and repaints the control.
    delete list;
    EXPECT_EQ(g.ImageList(), nullptr);
    EXPECT_EQ(g.changes, linked + 2);

    // A list of the global container is stored as the "Internal" reference.
    TKitCustomPanel p(&form);
    p.SetImageList(KitGlobalContainer()->ImageList());
    EXPECT_TRUE(p.ImageListLink().StoresInternal());
    TMemoryStream s;
    p.ImageListLink().WriteInternal(s);
    s.SetPosition(0);
    p.SetImageList(nullptr);
    EXPECT_EQ(KitGlobalContainer()->ImageList()->LinkCount(), 0);
    p.ImageListLink().ReadInternal(s);
    EXPECT_EQ(p.ImageList(), KitGlobalContainer()->ImageList());
    p.SetImageList(KitGlobalContainer()->BitmapList());
    EXPECT_EQ(KitGlobalContainer()->ImageList()->LinkCount(), 0);
    EXPECT_EQ(KitGlobalContainer()->BitmapList()->LinkCount(), 1);
}
