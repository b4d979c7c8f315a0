#include "platform/help.h"
#include "shell/selvar.h"
#include "shell/showvars.h"
#include "support/testutil.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QPoint centre(TForm& f, TControl* c)
{
    return c->mapTo(&f, QPoint(c->Width() / 2, c->Height() / 2));
}

// Acts on the modal dialog once it is ready for it (shown, the focus in its
// field, a box given), however long a busy machine takes; a dialog that
// never gets there is cancelled and the test fails.
void When(TForm& f, std::function<bool()> ready, std::function<void()> act)
{
    QTimer::singleShot(0, &f, [&f, ready, act] {
        if (QTest::qWaitFor(ready, 20000))
            act();
        else {
            ADD_FAILURE() << "the dialog never got ready";
            f.SetModalResult(mrCancel);
        }
    });
}

TEST(VariantDialog, ThreeButtonsThreeResults)
{
    TSelVarForm f(nullptr);
    f.SetHelpContext(103);
    auto shown = [&] { return f.isVisible(); };
    // OK gives the field's number.
    When(f, shown, [&] {
        f.edVar->SetText("42");
        testutil::clickAt(&f, centre(f, f.bOk));
    });
    EXPECT_EQ(f.Ask(), 42);
    // Training gives 0.
    When(f, shown, [&] { testutil::clickAt(&f, centre(f, f.bTest)); });
    EXPECT_EQ(f.Ask(), 0);
    // Cancel and the close icon give none.
    When(f, shown, [&] { testutil::clickAt(&f, centre(f, f.bCancel)); });
    EXPECT_EQ(f.Ask(), std::nullopt);
    When(f, shown, [&] { f.close(); });
    EXPECT_EQ(f.Ask(), std::nullopt);
    // The dialog keeps its last position.
    EXPECT_EQ(f.edVar->Text(), "42");
}

TEST(VariantDialog, EnterAcceptsAndTheFieldHasTheFocus)
{
    TSelVarForm f(nullptr);
    QLineEdit* field = f.edVar->LineEdit();
    When(f, [&] { return field->hasFocus(); }, [&] {
        QTest::keyClicks(field, "7");
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(f.Ask(), 7); // the old "1" was selected, so typing replaced it
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

// A click that comes in as the user's does: queued, handled by the loop.
void PostClick(TForm& f, TControl* c)
{
    QWidget* w = f.childAt(centre(f, c));
    const QPointF p = w->mapFrom(&f, centre(f, c));
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(w, new QMouseEvent(t, p, w->mapToGlobal(p), Qt::LeftButton,
                                                       t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                       Qt::NoModifier));
}

TEST(VariantDialog, TextThatIsNoVariantIsRefused)
{
    TSelVarForm f(nullptr);
    for (const char* bad : {"abc", "0", "101", "5.5", ""}) {
        testutil::messages().clear();
        // OK and Cancel clicked in quick succession: the refused OK gives its
        // box, then the cancel ends the dialog.
        When(f, [&] { return f.isVisible(); }, [&] {
            f.edVar->SetText(bad);
            PostClick(f, f.bOk);
            PostClick(f, f.bCancel);
        });
        EXPECT_EQ(f.Ask(), std::nullopt) << bad;
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
    EXPECT_EQ(std::pair(f.UpDown1->Width(), k.UpDown1->Width()), std::pair(16, 15));
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
