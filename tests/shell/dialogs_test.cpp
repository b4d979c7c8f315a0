#include "platform/help.h"
#include "shell/selvar.h"
#include "shell/showvars.h"
#include "support/testutil.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QPoint centre(TForm& f, TControl* c)
{
    return c->mapTo(&f, QPoint(c->Width() / 2, c->Height() / 2));
}

TEST(VariantDialog, ThreeButtonsThreeResults)
{
    TSelVarForm f(nullptr);
    f.SetHelpContext(103);
    // OK gives the field's number.
    QTimer::singleShot(30, [&] {
        f.edVar->SetText("42");
        testutil::clickAt(&f, centre(f, f.bOk));
    });
    EXPECT_EQ(f.Ask(), 42);
    // Training gives 0.
    QTimer::singleShot(30, [&] { testutil::clickAt(&f, centre(f, f.bTest)); });
    EXPECT_EQ(f.Ask(), 0);
    // Cancel and the close icon give none.
    QTimer::singleShot(30, [&] { testutil::clickAt(&f, centre(f, f.bCancel)); });
    EXPECT_EQ(f.Ask(), std::nullopt);
    QTimer::singleShot(30, [&] { f.close(); });
    EXPECT_EQ(f.Ask(), std::nullopt);
    // The dialog keeps its last position.
    EXPECT_EQ(f.edVar->Text(), "42");
}

TEST(VariantDialog, EnterAcceptsAndTheFieldHasTheFocus)
{
    TSelVarForm f(nullptr);
    bool focused = false;
    QTimer::singleShot(30, [&] {
        focused = f.edVar->LineEdit()->hasFocus();
        QTest::keyClicks(f.edVar->LineEdit(), "7");
        QTest::keyClick(f.edVar->LineEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(f.Ask(), 7); // the old "1" was selected, so typing replaced it
    EXPECT_TRUE(focused);
}

TEST(VariantDialog, ArrowsStopAtTheEnds)
{
    TSelVarForm f(nullptr);
    f.ShowForm();
    f.edVar->SetText("1");
    QTest::mouseClick(f.UpDown1->DownButton(), Qt::LeftButton);
    EXPECT_EQ(f.edVar->Text(), "1");
    f.edVar->SetText("99");
    QTest::mouseClick(f.UpDown1->UpButton(), Qt::LeftButton);
    QTest::mouseClick(f.UpDown1->UpButton(), Qt::LeftButton);
    EXPECT_EQ(f.edVar->Text(), "100");
    f.hide();
}

TEST(VariantDialog, TextThatIsNoVariantIsRefused)
{
    TSelVarForm f(nullptr);
    for (const char* bad : {"abc", "0", "101", "5.5", ""}) {
        testutil::messages().clear();
        bool stillOpen = false;
        QTimer::singleShot(30, [&] {
            f.edVar->SetText(bad);
            testutil::clickAt(&f, centre(f, f.bOk));
        });
        QTimer::singleShot(80, [&] {
            stillOpen = f.isVisible();
            testutil::clickAt(&f, centre(f, f.bCancel));
        });
        EXPECT_EQ(f.Ask(), std::nullopt) << bad;
        EXPECT_TRUE(stillOpen) << bad;
        EXPECT_EQ(testutil::messages().size(), 1) << bad;
    }
}

TEST(VariantDialog, HelpOpensTheCallersContextOrAlways103ForTheBridge)
{
    Application->HelpFile = "Vorlin.hlp";
    TSelVarForm f(nullptr);
    f.SetHelpContext(203);
    f.ShowForm();
    testutil::clickAt(&f, centre(f, f.bHelp));
    EXPECT_EQ(Help::LastRequest().context, 203);
    f.SetHelpContext(103);
    testutil::clickAt(&f, centre(f, f.bHelp));
    EXPECT_EQ(Help::LastRequest().context, 103);
    f.hide();

    TSelVarForm k(nullptr, TSelVarForm::TText::Resistances);
    k.SetHelpContext(203);
    k.ShowForm();
    testutil::clickAt(&k, centre(k, k.bHelp));
    EXPECT_EQ(Help::LastRequest().context, 103);
    EXPECT_TRUE(k.Label1->Caption().endsWith("известных сопротивлений"));
    EXPECT_TRUE(f.Label1->Caption().endsWith("амплитуд сигнала "));
    testutil::screenshot(&f, "selvar");
    k.hide();
    Help::CloseAll();
}

TEST(TeacherTable, CopyTakesAllLinesWhateverWasSelected)
{
    TShowVarsForm f(nullptr);
    QString text = "Вариант   Частота, Гц\n        1        125.0\n        2        250.0";
    f.txt->SetText(text);
    f.ShowForm();
    QTextCursor c = f.txt->Editor()->textCursor();
    c.setPosition(3);
    c.setPosition(6, QTextCursor::KeepAnchor);
    f.txt->Editor()->setTextCursor(c);
    Clipboard::SetText("");
    testutil::clickAt(&f, centre(f, f.bCopy));
    EXPECT_EQ(Clipboard::Text(), text);
    EXPECT_EQ(f.txt->Font().Name, "Courier New");
    testutil::screenshot(&f, "showvars");
}

} // namespace
