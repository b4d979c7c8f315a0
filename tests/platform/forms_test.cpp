#include "platform/forms.h"
#include "platform/stdctrls.h"
#include "support/testutil.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(Alignment, TopBottomAndClientShareTheClientArea)
{
    TForm f;
    f.SetClientSize(300, 200);
    auto* top = new TPanel(&f);
    top->SetHeight(28);
    top->SetAlign(alTop);
    auto* bottom = new TStatusBar(&f);
    auto* client = new TPanel(&f);
    client->SetAlign(alClient);
    f.Realign();
    EXPECT_EQ(top->BoundsRect(), TRect(0, 0, 300, 28));
    EXPECT_EQ(bottom->BoundsRect(), TRect(0, 181, 300, 200));
    EXPECT_EQ(client->BoundsRect(), TRect(0, 28, 300, 181));
    f.SetClientSize(400, 300);
    EXPECT_EQ(client->BoundsRect(), TRect(0, 28, 400, 281));
    // A hidden control gives its room back.
    bottom->Hide();
    EXPECT_EQ(client->BoundsRect(), TRect(0, 28, 400, 300));
}

TEST(Alignment, PanelBevelsShrinkTheAreaOfAlignedChildren)
{
    TPanel p;
    p.resize(100, 50);
    p.SetBevelInner(TBevelCut::bvLowered);
    p.SetBevelWidth(3);
    EXPECT_EQ(p.AdjustClientRect(), TRect(6, 6, 94, 44));
}

TEST(ModalForms, ModalResultEndsTheLoopAndHidingDoesNot)
{
    TForm f;
    f.resize(200, 100);
    auto* ok = new TBitBtn(&f, TBitBtnKind::bkOK);
    ok->SetBounds(10, 10, 75, 25);
    bool hiddenAndStillModal = false;
    QTimer::singleShot(0, [&] {
        f.hide();
        testutil::pump();
        hiddenAndStillModal = f.IsModal();
        f.show();
        QTimer::singleShot(0, [&] { testutil::clickAt(&f, QPoint(40, 20)); });
    });
    EXPECT_EQ(f.ShowModal(), mrOk);
    EXPECT_TRUE(hiddenAndStillModal);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.IsModal());
}

TEST(ModalForms, EscapePressesTheCancelButtonAndClosingGivesCancel)
{
    TForm f;
    auto* edit = new TEdit(&f);
    auto* cancel = new TBitBtn(&f, TBitBtnKind::bkCancel);
    cancel->SetBounds(10, 40, 75, 25);
    QTimer::singleShot(0, [&] {
        edit->SetFocus();
        QTest::keyClick(edit->LineEdit(), Qt::Key_Escape);
    });
    EXPECT_EQ(f.ShowModal(), mrCancel);
    QTimer::singleShot(0, [&] { f.close(); });
    EXPECT_EQ(f.ShowModal(), mrCancel);
}

TEST(ModalForms, NestedModalFormsBlockTheOuterOneWhichKeepsItsLook)
{
    TForm outer, inner;
    bool outerBlockedAndEnabled = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            outerBlockedAndEnabled = outer.IsBlockedByModal() && outer.isEnabled() && !inner.IsBlockedByModal();
            inner.SetModalResult(mrOk);
        });
        EXPECT_EQ(inner.ShowModal(), mrOk);
        outer.SetModalResult(mrYes);
    });
    EXPECT_EQ(outer.ShowModal(), mrYes);
    EXPECT_TRUE(outerBlockedAndEnabled);
    EXPECT_FALSE(outer.IsBlockedByModal());
}

TEST(ModalForms, AFormDestroyedWhileUpEndsItsLoopWithCancel)
{
    auto* owner = new QObject;
    auto* f = new TForm(owner);
    QElapsedTimer sinceGone;
    QTimer::singleShot(0, [&] {
        delete owner; // takes the form with it
        sinceGone.start();
    });
    EXPECT_EQ(f->ShowModal(), mrCancel);
    EXPECT_LT(sinceGone.elapsed(), 1000);
}

TEST(Exceptions, AHandlerThatThrowsEndsInTheApplicationHandler)
{
    TForm f;
    f.resize(200, 100);
    auto* b = new TButton(&f);
    b->SetBounds(10, 10, 75, 25);
    b->OnClick = [](TObject*) { throw Exception("Недопустимый номер лабораторной работы: 12"); };
    f.show();
    testutil::clickAt(&f, QPoint(40, 20));
    ASSERT_EQ(testutil::messages().size(), 1);
    EXPECT_EQ(testutil::messages().first(), "Недопустимый номер лабораторной работы: 12.");
}

TEST(UpDownTest, StopsAtItsEndsAndReadsTheField)
{
    TForm f;
    auto* e = new TEdit(&f);
    auto* ud = new TUpDown(&f);
    ud->SetMin(1);
    ud->SetMax(100);
    ud->SetAssociate(e);
    ud->SetPosition(1);
    EXPECT_EQ(e->Text(), "1");
    ud->StepBy(-1);
    EXPECT_EQ(e->Text(), "1");
    e->SetText("100");
    ud->StepBy(1);
    EXPECT_EQ(e->Text(), "100");
    EXPECT_EQ(ud->Position(), 100);
    e->SetText("abc");
    int p = 0;
    EXPECT_FALSE(ud->PositionFromText(p));
    e->SetText("50");
    QTest::keyClick(e->LineEdit(), Qt::Key_Up);
    EXPECT_EQ(e->Text(), "51");
}

TEST(HintsTest, ApplicationHintFollowsTheMouseAndClimbsToAParent)
{
    TForm f;
    f.resize(300, 200);
    auto* panel = new TPanel(&f);
    panel->SetBounds(0, 0, 150, 100);
    panel->SetHint("Панель|Длинная подсказка панели");
    auto* label = new TLabel(panel);
    label->SetBounds(10, 10, 50, 20);
    label->SetAutoSize(false);
    f.show();
    int fired = 0;
    Application->OnHint = [&](TObject*) { ++fired; };
    testutil::moveMouseTo(&f, QPoint(20, 20));
    EXPECT_EQ(Application->Hint(), "Длинная подсказка панели");
    EXPECT_EQ(fired, 1);
    testutil::moveMouseTo(&f, QPoint(250, 150));
    EXPECT_EQ(Application->Hint(), "");
}

} // namespace

namespace {

TEST(FocusAndKeys, APanelClickTakesNoFocusAndIgnoredKeysReachHandlersOnce)
{
    TForm f;
    f.SetClientSize(300, 200);
    auto* panel = new TPanel(&f);
    panel->SetBounds(0, 0, 150, 100);
    auto* edit = new TEdit(&f);
    edit->SetBounds(160, 10, 100, 21);
    int downs = 0;
    edit->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) { ++downs; };
    f.ShowForm();
    QApplication::setActiveWindow(&f);
    edit->SetFocus();
    testutil::clickAt(&f, QPoint(50, 50));
    EXPECT_TRUE(edit->LineEdit()->hasFocus()); // the panel did not take it

    // The line edit ignores Page Up, so Qt passes it on to the edit control.
    QTest::keyClick(edit->LineEdit(), Qt::Key_PageUp);
    EXPECT_EQ(downs, 1);
    QTest::keyClick(edit->LineEdit(), Qt::Key_A);
    EXPECT_EQ(downs, 2);
}

} // namespace

namespace {

TEST(FocusAndKeys, KeyPreviewShowsTheFormEveryKeyFirst)
{
    TForm f;
    f.SetClientSize(300, 200);
    auto* edit = new TEdit(&f);
    edit->SetBounds(10, 10, 100, 21);
    std::vector<std::uint16_t> seen;
    f.OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        seen.push_back(key);
        if (key == 'X')
            key = 0; // the form keeps this one
    };
    f.ShowForm();
    QApplication::setActiveWindow(&f);
    edit->SetFocus();
    QTest::keyClick(edit->LineEdit(), Qt::Key_A);
    EXPECT_TRUE(seen.empty()); // no preview asked for
    f.KeyPreview = true;
    QTest::keyClick(edit->LineEdit(), Qt::Key_B);
    QTest::keyClick(edit->LineEdit(), Qt::Key_X);
    EXPECT_EQ(seen, (std::vector<std::uint16_t>{'B', 'X'}));
    EXPECT_EQ(edit->Text(), "ab");
}

TEST(FocusAndKeys, AFormBeingDestroyedRunsNoEnterOrExit)
{
    // A form hosted in another window goes while that window stays active; a
    // part of it that hides itself as it goes moves the focus on to the next
    // field, after the form's own part of the fields has gone.
    struct HidingPanel : TPanel {
        using TPanel::TPanel;
        ~HidingPanel() override { hide(); }
    };
    QStringList events;
    TForm outer;
    auto* hosted = new TForm;
    hosted->setParent(&outer, Qt::Widget);
    auto* panel = new HidingPanel(hosted);
    for (TWinControl* parent : {static_cast<TWinControl*>(panel), static_cast<TWinControl*>(hosted)}) {
        auto* edit = new TEdit(parent);
        edit->SetTop(parent == hosted ? 100 : 0);
        edit->OnEnter = [&events](TObject*) { events << "enter"; };
        edit->OnExit = [&events](TObject*) { events << "exit"; };
    }
    outer.ShowForm();
    QApplication::setActiveWindow(&outer);
    panel->findChild<TEdit*>()->SetFocus();
    ASSERT_TRUE(panel->findChild<TEdit*>()->LineEdit()->hasFocus());
    events.clear();
    delete hosted;
    EXPECT_EQ(events, QStringList());
}

} // namespace
