#include <algorithm>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "components/kitformdisp.h"
#include "platform/stdctrls.h"
#include "support/testutil.h"

namespace {

TColor px(const QImage& img, int x, int y)
{
    return FromQColor(QColor(img.pixel(x, y)));
}

// A small instrument-like form: a coloured face with an entry field.
class SmallForm : public TForm {
public:
    explicit SmallForm(QObject* owner, TColor color = clAqua, const QString& name = "SmallForm")
        : TForm(owner), edit(this)
    {
        SetName(name);
        SetBorderStyle(TFormBorderStyle::bsSingle);
        SetColor(color);
        resize(80, 50);
        edit.SetBounds(5, 5, 60, 20);
        edit.SetTabStop(true);
    }
    TEdit edit;
};

void showAndActivate(TForm& host)
{
    host.show();
    QApplication::setActiveWindow(&host);
    (void)QTest::qWaitForWindowActive(&host, 30000);
}

} // namespace

TEST(KitFormDisplay, ShownFormBecomesABorderlessChildOnTheInnerRect)
{
    TForm host;
    host.resize(400, 300);
    TKitFormDisplay disp(&host);
    disp.SetBounds(10, 10, 200, 150);
    showAndActivate(host);

    // The default bevel is a window edge: the client lies inside it.
    EXPECT_EQ(disp.Bevel()->Mode(), bmWindows);
    EXPECT_EQ(disp.GetInnerRect(), TRect(2, 2, 198, 148));

    auto* f = new SmallForm(Application, clAqua, "PanelA");
    EXPECT_TRUE(disp.ShowForm(f));
    EXPECT_EQ(disp.ShownForm(), f);
    EXPECT_EQ(disp.FormName(), "PanelA");
    EXPECT_FALSE(f->isWindow());
    EXPECT_EQ(f->parentWidget(), &disp);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->BoundsRect(), TRect(2, 2, 198, 148));

    // It follows every resize of the display and of its bevel.
    disp.SetBounds(10, 10, 300, 250);
    EXPECT_EQ(f->BoundsRect(), TRect(2, 2, 298, 248));
    disp.Bevel()->SetMode(bmStandard);
    disp.Bevel()->SetStandardStyle(lsNone);
    disp.Bevel()->SetBorderSides({});
    EXPECT_EQ(f->BoundsRect(), TRect(0, 0, 300, 250));
    disp.Bevel()->SetBorderInnerWidth(4);
    EXPECT_EQ(f->BoundsRect(), TRect(4, 4, 296, 246));

    // The form keeps the keyboard: typing goes to its entry field.
    testutil::pump();
    EXPECT_TRUE(f->edit.LineEdit()->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), "12,5");
    EXPECT_EQ(f->edit.Text(), "12,5");

    // Showing it again changes nothing.
    EXPECT_FALSE(disp.ShowForm(f));
    EXPECT_EQ(disp.ShownForm(), f);
}

TEST(KitFormDisplay, ReplacingFreesTheOldFormAndNamesFindForms)
{
    TForm host;
    host.resize(300, 200);
    TKitFormDisplay disp(&host);
    disp.SetBounds(0, 0, 200, 150);
    QPointer<TForm> a = new SmallForm(Application, clAqua, "FormA");
    QPointer<TForm> b = new SmallForm(Application, clLime, "FormB");
    disp.ShowForm(a);
    disp.ShowForm(b);
    EXPECT_TRUE(a.isNull());
    EXPECT_EQ(disp.FormName(), "FormB");
    const auto& forms = Application->Forms();
    EXPECT_EQ(std::count(forms.begin(), forms.end(), a.data()), 0);

    QPointer<TForm> c = new SmallForm(Application, clRed, "FormC");
    disp.SetFormName("FormC");
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(disp.ShownForm(), c.data());
    disp.SetFormName("NoSuchForm");
    EXPECT_EQ(disp.FormName(), "FormC");
    EXPECT_EQ(disp.ShownForm(), c.data());
    disp.SetFormName("   ");
    EXPECT_TRUE(c.isNull());
    EXPECT_EQ(disp.FormName(), "");
    EXPECT_EQ(disp.ShownForm(), nullptr);

    // While loading the name is only stored.
    disp.BeginLoading();
    disp.SetFormName("Later");
    EXPECT_EQ(disp.FormName(), "Later");
    disp.EndLoading();

    try {
        disp.ShowForm(nullptr);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "TKitFormDisplay: Form not instanced!");
    }
}

TEST(KitFormDisplay, ApplicationFormsOutliveTheirDisplay)
{
    QPointer<TForm> f = new SmallForm(Application, clAqua, "Survivor");
    {
        TForm host;
        auto* disp = new TKitFormDisplay(&host);
        disp->ShowForm(f);
        EXPECT_EQ(f->parentWidget(), disp);
    }
    // The display went with its host; the form is the application's, hidden
    // and whole, and freed once by the application.
    ASSERT_FALSE(f.isNull());
    EXPECT_TRUE(f->isWindow());
    EXPECT_FALSE(f->isVisible());
    delete f.data();
    EXPECT_TRUE(f.isNull());
}

TEST(KitFormDisplay, ListFormsActivateOneAtATime)
{
    TForm host;
    host.resize(300, 200);
    TKitFormDisplay disp(&host);
    disp.SetBounds(0, 0, 200, 150);
    disp.Bevel()->SetMode(bmStandard);
    disp.Bevel()->SetStandardStyle(lsNone);
    showAndActivate(host);
    std::vector<QString> log;
    disp.OnChanging = [&](TObject*, TForm* f, bool&) { log.push_back("changing " + (f ? f->Name() : "nil")); };
    disp.OnChange = [&](TObject*) { log.push_back("change"); };

    // Added without activation: listed, hidden, nothing reported.
    const int first = disp.AddFormClass<SmallForm>(false);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(disp.ActiveIndex(), -1);
    EXPECT_FALSE(disp.FormAtIndex(0)->isVisible());
    EXPECT_EQ(disp.FormAtIndex(0)->parentWidget(), &disp);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(disp.FormAtIndex(5), nullptr);
    EXPECT_EQ(disp.CurrentListForm(), nullptr);

    auto* second = new SmallForm(&host, clLime, "Second");
    EXPECT_EQ(disp.AddForm(second, true), 1);
    EXPECT_EQ(log, (std::vector<QString>{"changing Second", "change"}));
    EXPECT_EQ(disp.CurrentListForm(), second);
    EXPECT_EQ(second->Align(), alClient);
    EXPECT_EQ(second->BoundsRect(), TRect(0, 0, 200, 150));
    EXPECT_TRUE(second->isVisible());

    // Centred at its own size, and kept there on resizes.
    second->SetAlign(alNone);
    second->SetBounds(0, 0, 80, 50);
    disp.SetPosition(fdpCenter);
    EXPECT_EQ(second->Align(), alNone);
    EXPECT_EQ(second->BoundsRect(), TRect(60, 50, 140, 100));
    disp.SetBounds(0, 0, 100, 40);
    EXPECT_EQ(second->BoundsRect(), TRect(10, -5, 90, 45));
    disp.SetPosition(fdpBottomRight);
    EXPECT_EQ(second->BoundsRect(), TRect(20, -10, 100, 40));

    // A handler that cancels keeps the old state.
    disp.OnChanging = [&](TObject*, TForm*, bool& cancel) { cancel = true; };
    log.clear();
    disp.SetActiveIndex(0);
    EXPECT_EQ(disp.ActiveIndex(), 1);
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(log.empty());

    disp.OnChanging = nullptr;
    disp.SetActiveIndex(0);
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(disp.FormAtIndex(0)->isVisible());
    EXPECT_EQ(log, std::vector<QString>{"change"});
    // Past the list, or none: no index error.
    disp.SetActiveIndex(7);
    EXPECT_EQ(disp.ActiveIndex(), 0);
    disp.OnChanging = [&](TObject*, TForm* f, bool&) { EXPECT_EQ(f, nullptr); };
    disp.SetActiveIndex(-1);
    EXPECT_EQ(disp.ActiveIndex(), -1);
    EXPECT_FALSE(disp.FormAtIndex(0)->isVisible());
}

TEST(KitFormDisplay, TwoDisplaysSideBySideFollowTwoResizes)
{
    TForm window;
    window.SetColor(clGray);
    window.resize(420, 220);
    TKitFormDisplay left(&window);
    TKitFormDisplay right(&window);
    // One in the default window edge, one with a raised bevel of its own.
    right.Bevel()->SetMode(bmCustom);
    right.Bevel()->SetStyleOuter(bvRaised);
    right.Bevel()->SetWidthOuter(3);
    auto layout = [&](int w, int h) {
        window.resize(w, h);
        left.SetBounds(10, 10, w / 2 - 15, h - 20);
        right.SetBounds(w / 2 + 5, 10, w / 2 - 15, h - 20);
        testutil::pump();
    };
    layout(420, 220);
    auto* a = new SmallForm(Application, clAqua, "Generator");
    auto* b = new SmallForm(Application, clYellow, "Circuit");
    left.ShowForm(a);
    right.ShowForm(b);
    showAndActivate(window);

    const QSize sizes[] = {{420, 220}, {640, 360}, {300, 180}};
    int n = 0;
    for (QSize s : sizes) {
        layout(s.width(), s.height());
        const QImage img = testutil::screenshot(&window, QString("kit_form_displays_%1").arg(n++));
        for (TKitFormDisplay* d : {&left, &right}) {
            TForm* f = d->ShownForm();
            const TRect inner = d->GetInnerRect();
            EXPECT_EQ(f->BoundsRect(), inner);
            const TColor face = d == &left ? clAqua : clYellow;
            // The form's face fills the inner rectangle to its corners.
            const QPoint tl = d->mapTo(&window, QPoint(inner.Left, inner.Top));
            const QPoint br = d->mapTo(&window, QPoint(inner.Right - 1, inner.Bottom - 1));
            EXPECT_EQ(px(img, tl.x(), br.y()), face);
            EXPECT_EQ(px(img, br.x(), br.y()), face);
            EXPECT_EQ(px(img, br.x(), tl.y() + 30), face);
            // And not one pixel beyond it.
            const QPoint out = d->mapTo(&window, QPoint(inner.Right, inner.Bottom));
            EXPECT_NE(px(img, out.x(), out.y()), face);
        }
    }
}
