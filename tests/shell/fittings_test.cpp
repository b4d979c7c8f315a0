#include "components/testenv.h"
#include "shell/labbase.h"
#include "shell/start.h"
#include "shell/startlook.h"
#include "support/testutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TStartForm> startForm()
{
    // One work is enough for the fittings of both states.
    auto f = std::make_unique<TStartForm>(
        nullptr, std::vector<TLabWork>{{"Вынужденные колебания в контуре", "LIST_WORK4", 401, 402,
                                        {"Вынужденные колебания", "GLYPH_CONDOSC", nullptr}, {}}});
    f->ShowForm();
    testutil::pump();
    return f;
}

// A stand-in calculator: a script that stays a while, noting its start and
// its end.
struct StandInCalculator {
    explicit StandInCalculator(double seconds)
    {
        script = dir.filePath("calc.sh");
        log = dir.filePath("started.log");
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("#!/bin/sh\necho started >> '%1'\nsleep %2\necho ended >> '%1'\n").arg(log).arg(seconds).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    int notes(const char* what) const
    {
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        return f.readAll().count(what);
    }
    QTemporaryDir dir;
    QString script;
    QString log;
};

class CalculatorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TLabBaseForm::ResetHintState();
        form = new TLabBaseForm(nullptr);
        form->ShowForm();
        testutil::pump();
    }
    void TearDown() override { delete form; }
    void pressCalculator()
    {
        testutil::clickAt(form, form->bCalculator->mapTo(form, QPoint(20, 12)));
    }
    TLabBaseForm* form = nullptr;
};

} // namespace

TEST(StartFittings, GradientTitleAndVersionLine)
{
    QCoreApplication::setApplicationVersion("1.0.0.5");
    auto f = startForm();
    EXPECT_EQ(f->txtVersion->Caption(), "1.0.0.5");
    EXPECT_EQ(f->VerInfo->FileVersion(), "1.0.0.5");
    EXPECT_EQ(f->VerInfo->RetrieveFilename(), "");

    // The list state: no title on the gradient.
    EXPECT_EQ(f->txtName->Caption(), "");
    testutil::ExpectStartFormLook(f.get(), f->KitFormFill1, f->txtName, "start_fittings_list");

    f->SetWork(1);
    testutil::pump();
    EXPECT_EQ(f->txtName->Caption(), "Вынужденные колебания в контуре");
    testutil::ExpectStartFormLook(f.get(), f->KitFormFill1, f->txtName, "start_fittings_work4");
}

TEST(StartFittings, NoFileVersionLeavesTheLineEmpty)
{
    QCoreApplication::setApplicationVersion("");
    auto f = startForm();
    EXPECT_EQ(f->txtVersion->Caption(), "");
}

TEST_F(CalculatorFixture, StarterSettings)
{
    TKitStarter* s = form->StartCalc;
    EXPECT_EQ(s->Command(), "Calc.exe");
    EXPECT_TRUE(s->Wait());
    EXPECT_EQ(s->StartOperation(), smOpen);
    EXPECT_EQ(s->StartOption(), soSW_SHOW);
    EXPECT_EQ(s->Parameters(), "");
    EXPECT_EQ(s->DefaultDir(), "");
    EXPECT_FALSE(s->AutoStart());
    EXPECT_TRUE(bool(s->OnError));
}

TEST_F(CalculatorFixture, FormHidesWhileTheCalculatorRunsEveryTime)
{
    StandInCalculator calc(0.3);
    testutil::ScopedEnv env("VORLIN_CALCULATOR", calc.script.toUtf8());
    std::vector<bool> visibleAtStart;
    form->StartCalc->OnBeforeStart = [&](TObject*) { visibleAtStart.push_back(form->isVisible()); };
    for (int i = 1; i <= 2; ++i) {
        pressCalculator();
        EXPECT_EQ(calc.notes("ended"), i); // waited for
        EXPECT_TRUE(form->isVisible()) << i;
    }
    EXPECT_EQ(visibleAtStart, std::vector<bool>({false, false}));
    EXPECT_TRUE(testutil::messages().isEmpty());
}

TEST_F(CalculatorFixture, MissingCalculatorIsReported)
{
    QTemporaryDir empty;
    testutil::ScopedEnv env("VORLIN_CALCULATOR", QByteArray());
    testutil::ScopedEnv path("PATH", QDir::toNativeSeparators(empty.path()).toUtf8());
    QString caption = "unset";
    unsigned flags = 99;
    Application->MessageBoxHook = [&](const QString& text, const QString& c, unsigned fl) {
        testutil::messages() << text;
        caption = c;
        flags = fl;
        return int(mrOk);
    };
    pressCalculator();
    ASSERT_EQ(testutil::messages().size(), 1);
    EXPECT_EQ(testutil::messages().front(),
              "Не удалось запустить калькулятор Windows. Возможно, калькулятор не был установлен.");
    EXPECT_EQ(caption, "");
    EXPECT_EQ(flags, unsigned(MB_OK));
    EXPECT_EQ(form->StartCalc->LastError(), SE_ERR_FNF);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(CalculatorFixture, FormComesBackWhenTheStartThrows)
{
    form->StartCalc->OnBeforeStart = [](TObject*) { throw Exception("kaputt"); };
    EXPECT_THROW(form->bCalculatorClick(form->bCalculator), Exception);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(CalculatorFixture, ModalWindowStaysModalAcrossTheCalculator)
{
    StandInCalculator calc(0.1);
    testutil::ScopedEnv env("VORLIN_CALCULATOR", calc.script.toUtf8());
    form->HideForm();
    bool modalAfter = false;
    QTimer::singleShot(0, form, [&] {
        pressCalculator();
        testutil::pump();
        modalAfter = form->IsModal() && form->isVisible();
        form->SetModalResult(mrCancel);
    });
    EXPECT_EQ(form->ShowModal(), int(mrCancel));
    EXPECT_TRUE(modalAfter);
    EXPECT_EQ(calc.notes("started"), 1);
}
