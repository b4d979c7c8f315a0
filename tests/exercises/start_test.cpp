// The start form with Vorlin's works: the command line, the list, each
// work's buttons and help.

#include "exercises/works.h"
#include "platform/help.h"
#include "shell/selvar.h"
#include "shell/start.h"
#include "support/testutil.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Started {
    std::unique_ptr<TStartForm> form;
    QStringList messages;
};

Started startWith(const QStringList& args)
{
    testutil::messages().clear();
    ProctorMode = false;
    Application->SetArguments(args);
    Started s;
    s.form = std::make_unique<TStartForm>(nullptr, VorlinWorks());
    s.messages = testutil::messages();
    return s;
}

bool listState(TStartForm& f)
{
    return f.lvSelLab->Visible() && f.bOK->Visible() && f.panInstruct->Visible() && !f.bWork1->Visible() &&
           !f.bWork2->Visible() && !f.bPurpose->Visible() && !f.bInstruct->Visible();
}

TEST(StartCommandLine, WorkNumberAndTeacherSwitch)
{
    struct Case {
        QStringList args;
        int work;
        bool proctor;
    };
    const Case cases[] = {
        {{}, 0, false},
        {{"/Proctor"}, 0, true},
        {{"3", "/Proctor"}, 3, true},
        {{"/Proctor", "3"}, 0, true},
        {{"3", "/proctor"}, 3, false},
        {{"0"}, 0, false},
        {{"5"}, 0, false},
        {{"9", "/Proctor"}, 0, false},
        {{"-1"}, 0, false},
        {{"4"}, 4, false},
        {{"1", "x", "/Proctor"}, 1, false},
    };
    for (const Case& c : cases) {
        Started s = startWith(c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(s.form->WorkNo, c.work);
        EXPECT_EQ(ProctorMode, c.proctor);
        EXPECT_EQ(listState(*s.form), c.work == 0);
        EXPECT_TRUE(s.messages.isEmpty());
    }
}

TEST(StartCommandLine, BadNumbersAreReportedAndLeaveTheList)
{
    Started twelve = startWith({"12", "/Proctor"});
    ASSERT_EQ(twelve.messages.size(), 1);
    EXPECT_EQ(twelve.messages[0], "Недопустимый номер лабораторной работы: 12.");
    EXPECT_FALSE(ProctorMode);
    EXPECT_TRUE(listState(*twelve.form));

    Started letters = startWith({"1x", "/Proctor"});
    ASSERT_EQ(letters.messages.size(), 1);
    EXPECT_EQ(letters.messages[0], "\"1x\" не является целым числом.");
    EXPECT_FALSE(ProctorMode);
    EXPECT_TRUE(listState(*letters.form));
}

TEST(StartSetWork, CaptionsGlyphsAndVisibilityOfEachWork)
{
    Started s = startWith({});
    TStartForm& f = *s.form;
    const char* names[] = {"Изучение электронного осциллографа", "Фигуры Лиссажу", "Затухающие колебания в контуре",
                           "Вынужденные колебания в контуре"};
    const char* buttons[] = {"Работа электронно-лучевой трубки", "Определение частоты сигнала", "Затухающие колебания",
                             "Вынужденные колебания"};
    for (int n = 1; n <= 4; ++n) {
        f.SetWork(n);
        EXPECT_EQ(f.txtName->Caption(), names[n - 1]);
        EXPECT_EQ(f.txtLR->Caption(), "Лабораторная работа по физике");
        EXPECT_EQ(f.bWork1->Caption(), buttons[n - 1]);
        EXPECT_TRUE(f.bWork1->HasGlyph());
        EXPECT_TRUE(f.bWork1->Visible());
        EXPECT_TRUE(f.bPurpose->Visible());
        EXPECT_TRUE(f.bInstruct->Visible());
        EXPECT_EQ(f.bWork2->Visible(), n == 1);
        EXPECT_EQ(f.bWork2->Caption(), n == 1 ? "Определение амплитуды и частоты сигнала" : "");
        EXPECT_FALSE(f.lvSelLab->Visible());
    }
    f.SetWork(0);
    EXPECT_TRUE(listState(f));
    EXPECT_EQ(f.txtName->Caption(), "");
    EXPECT_EQ(f.txtLR->Caption(), "Лабораторные работы по физике");
    EXPECT_EQ(f.bWork1->Caption(), "");

    // Out of range: the number is kept, the visible state is not touched.
    f.SetWork(2);
    EXPECT_THROW(f.SetWork(7), Exception);
    EXPECT_EQ(f.WorkNo, 7);
    EXPECT_TRUE(f.bWork1->Visible());
    EXPECT_EQ(f.txtName->Caption(), "Фигуры Лиссажу");
}

TEST(StartList, OkAndDoubleClickOpenTheSelectedWork)
{
    Started s = startWith({});
    TStartForm& f = *s.form;
    f.ShowForm();
    QApplication::setActiveWindow(&f);
    // No selection: OK does nothing.
    f.lvSelLab->SetSelected(-1);
    testutil::clickAt(&f, QPoint(540, 320));
    EXPECT_EQ(f.WorkNo, 0);
    f.lvSelLab->SetSelected(1);
    testutil::clickAt(&f, QPoint(540, 320));
    EXPECT_EQ(f.WorkNo, 2);
    EXPECT_EQ(f.focusWidget(), f.bWork1->Button());

    f.SetWork(0);
    testutil::pump();
    QListWidget* list = f.lvSelLab->List();
    QRect item = list->visualItemRect(list->item(2));
    testutil::doubleClickAt(&f, list->viewport()->mapTo(&f, item.center()));
    EXPECT_EQ(f.WorkNo, 3);
}

TEST(StartHelp, PurposeAndProcedureOpenTheWorksContexts)
{
    Started s = startWith({"2"});
    TStartForm& f = *s.form;
    Application->HelpFile = "Vorlin.hlp";
    f.ShowForm();
    testutil::clickAt(&f, QPoint(200, 396));
    EXPECT_EQ(Help::LastRequest().context, 201);
    EXPECT_EQ(Help::LastRequest().window, "main");
    testutil::clickAt(&f, QPoint(420, 396));
    EXPECT_EQ(Help::LastRequest().context, 202);
    f.SetWork(4);
    testutil::clickAt(&f, QPoint(420, 396));
    EXPECT_EQ(Help::LastRequest().context, 402);
}

TEST(StartWorks, MeasuringWorksShareOneVariantDialogWithTheirOwnHelp)
{
    Started s = startWith({"2"});
    TStartForm& f = *s.form;
    f.ShowForm();
    std::vector<int> helps;
    std::vector<TSelVarForm*> dialogs;
    auto cancelDialog = [&] {
        QTimer::singleShot(0, &f, [&] {
            helps.push_back(SelVarForm->HelpContext());
            dialogs.push_back(SelVarForm);
            SelVarForm->bCancel->Click();
        });
    };
    cancelDialog();
    f.bWork1->Click();
    f.SetWork(1);
    cancelDialog();
    f.bWork2->Click();
    EXPECT_EQ(helps, (std::vector<int>{203, 103}));
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0], dialogs[1]);
    EXPECT_TRUE(f.isVisible());
}

TEST(StartScreens, ListStateAndWorkFour)
{
    Started s = startWith({});
    TStartForm& f = *s.form;
    f.ShowForm();
    testutil::pump();
    EXPECT_EQ(f.width(), 632);
    EXPECT_EQ(f.height(), 453);
    QImage list = testutil::screenshot(&f, "start_list");
    f.SetWork(4);
    testutil::pump();
    QImage work = testutil::screenshot(&f, "start_work4");
    EXPECT_NE(list, work);
}

} // namespace
