#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "components/testenv.h"

#include "components/kitapp.h"
#include "components/kitnonvs.h"

namespace {

// Puts a shell of the test's own in place for the life of the object.
struct FakeShell {
    explicit FakeShell(int instance) : instance(instance)
    {
        SetKitShellExecutor([this](const TKitShellRequest& r) {
            requests.push_back(r);
            TKitShellResult result;
            result.Instance = this->instance;
            return result;
        });
    }
    ~FakeShell() { SetKitShellExecutor(nullptr); }
    int instance;
    std::vector<TKitShellRequest> requests;
};

TKitTimerItem* timerItem(std::uint16_t ident)
{
    return ident ? KitApplication->TimerItem(ident) : nullptr;
}

} // namespace

TEST(KitDateTime, PartsDefaultAndWriters)
{
    TKitDateTime t;
    EXPECT_EQ(t.Year(), 1990);
    EXPECT_EQ(t.Month(), 1);
    EXPECT_EQ(t.Day(), 1);
    EXPECT_EQ(t.Hour(), 0);
    EXPECT_EQ(t.Minute(), 0);
    EXPECT_EQ(t.Second(), 0);

    t.SetMonth(2);
    t.SetHour(13);
    t.SetMinute(45);
    t.SetSecond(30);
    EXPECT_EQ(t.Month(), 2);
    EXPECT_EQ(t.Hour(), 13);
    EXPECT_EQ(t.Minute(), 45);
    EXPECT_EQ(t.Second(), 30);

    // No 31st of February: the error comes and the value stays.
    const TDateTime before = t.Value();
    EXPECT_THROW(t.SetDay(31), EConvertError);
    EXPECT_EQ(t.Value(), before);
    EXPECT_THROW(t.SetHour(24), EConvertError);
    EXPECT_EQ(t.Value(), before);

    // A time part keeps the milliseconds, a date part drops them.
    t.SetValue(EncodeDate(2000, 3, 4) + EncodeTime(10, 20, 30, 250));
    t.SetHour(11);
    int h, m, s, ms;
    DecodeTime(t.Value(), h, m, s, ms);
    EXPECT_EQ(h, 11);
    EXPECT_EQ(ms, 250);
    t.SetDay(5);
    DecodeTime(t.Value(), h, m, s, ms);
    EXPECT_EQ(t.Day(), 5);
    EXPECT_EQ(h, 11);
    EXPECT_EQ(s, 30);
    EXPECT_EQ(ms, 0);

    TKitDateTime copy;
    copy.Assign(&t);
    EXPECT_EQ(copy.Value(), t.Value());
    QObject foreign;
    EXPECT_THROW(copy.Assign(&foreign), EConvertError);
}

TEST(KitDateTime, DatesBeforeTheEpochKeepTheirTime)
{
    // Before 1899-12-30 the value is negative; the time must still read back.
    TKitDateTime t;
    t.SetHour(6);
    t.SetYear(1850);
    EXPECT_EQ(t.Year(), 1850);
    EXPECT_EQ(t.Month(), 1);
    EXPECT_EQ(t.Day(), 1);
    EXPECT_EQ(t.Hour(), 6);
    t.SetMinute(15);
    EXPECT_EQ(t.Year(), 1850);
    EXPECT_EQ(t.Day(), 1);
    EXPECT_EQ(t.Hour(), 6);
    EXPECT_EQ(t.Minute(), 15);
}

TEST(KitStarter, ShowCommandsVerbsAndExploreFolder)
{
    const int expected[] = {0, 3, 6, 9, 5, 3, 2, 7, 8, 1};
    for (int i = 0; i <= soSW_SHOWNORMAL; ++i)
        EXPECT_EQ(KitShowCommand(TKitStarterOptions(i)), expected[i]) << i;
    EXPECT_EQ(KitStarterVerb(smOpen), "open");
    EXPECT_EQ(KitStarterVerb(smPrint), "print");
    EXPECT_EQ(KitStarterVerb(smExplore), "explore");
    for (int code : {2, 3, 5, 8, 26, 27, 28, 29, 30, 31, 32})
        EXPECT_TRUE(KitIsShellError(code)) << code;
    for (int code : {0, 1, 4, 6, 25, 33, 42})
        EXPECT_FALSE(KitIsShellError(code)) << code;

    FakeShell shell(42);
    TKitStarter starter;
    starter.SetStartOperation(smExplore);
    starter.SetStartOption(soSW_SHOWMAXIMIZED);
    starter.SetCommand("C:\\Programs\\Lab\\vorlin.exe");
    starter.SetParameters("/Proctor");
    starter.SetDefaultDir("C:\\Temp");
    starter.Execute();
    starter.SetCommand("vorlin.exe");
    starter.Execute();
    starter.SetCommand("D:readme.txt");
    starter.Execute();
    ASSERT_EQ(shell.requests.size(), 3u);
    EXPECT_EQ(shell.requests[0].Verb, "explore");
    EXPECT_EQ(shell.requests[0].File, "C:\\Programs\\Lab\\");
    EXPECT_EQ(shell.requests[0].Parameters, "");
    EXPECT_EQ(shell.requests[0].Directory, "");
    EXPECT_EQ(shell.requests[0].Show, 3);
    EXPECT_EQ(shell.requests[1].File, "\\");
    EXPECT_EQ(shell.requests[2].File, "D:\\");

    starter.SetStartOperation(smPrint);
    starter.Execute();
    EXPECT_EQ(shell.requests[3].Verb, "print");
    EXPECT_EQ(shell.requests[3].File, "D:readme.txt");
    EXPECT_EQ(shell.requests[3].Parameters, "/Proctor");
    EXPECT_EQ(shell.requests[3].Directory, "C:\\Temp");
}

TEST(KitStarter, ShellErrorReportsAndNeitherWaitsNorPolls)
{
    FakeShell shell(SE_ERR_NOASSOC);
    TKitStarter starter;
    starter.SetWait(true);
    QStringList events;
    starter.OnBeforeStart = [&](TObject* s) { events << (s == &starter ? "before" : "before?"); };
    starter.OnError = [&](TObject* s) { events << (s == nullptr ? "error" : "error?"); };
    starter.OnAfterStart = [&](TObject* s) { events << (s == &starter ? "after" : "after?"); };
    starter.OnFinished = [&](TObject*) { events << "finished"; };
    starter.Execute();
    EXPECT_EQ(events, QStringList({"before", "error", "after"}));
    EXPECT_EQ(starter.LastError(), SE_ERR_NOASSOC);
    EXPECT_EQ(starter.PollTimerIdent(), 0);
}

TEST(KitStarter, StartWithoutProcessIsReportedAtTheFirstPoll)
{
    FakeShell shell(42);
    TKitStarter starter;
    starter.SetWait(true); // no process: the wait returns at once
    int finished = 0;
    starter.OnFinished = [&](TObject* s) {
        EXPECT_EQ(s, &starter);
        ++finished;
    };
    starter.Execute();
    EXPECT_EQ(starter.LastError(), 0);
    const std::uint16_t poll = starter.PollTimerIdent();
    ASSERT_NE(poll, 0);
    ASSERT_NE(timerItem(poll), nullptr);
    EXPECT_EQ(timerItem(poll)->Interval(), 500);
    timerItem(poll)->Fire();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(starter.PollTimerIdent(), 0);
    EXPECT_EQ(KitApplication->TimerItem(poll), nullptr);
}

TEST(KitStarter, RealProcessesWaitPollAndFail)
{
    // Wait: Execute returns only after the program has ended.
    {
        TKitStarter starter;
        starter.SetCommand("/bin/sleep");
        starter.SetParameters("0.3");
        starter.SetWait(true);
        starter.Execute();
        EXPECT_EQ(starter.LastError(), 0);
        ASSERT_NE(starter.Process(), nullptr);
        EXPECT_EQ(starter.Process()->state(), QProcess::NotRunning);
    }
    // No wait but OnFinished: back at once, the poll tells of the end.
    {
        TKitStarter starter;
        starter.SetCommand("sleep"); // found on the search path
        starter.SetParameters("60");
        int finished = 0;
        starter.OnFinished = [&](TObject*) { ++finished; };
        starter.Execute();
        ASSERT_NE(starter.Process()->state(), QProcess::NotRunning); // back at once
        const std::uint16_t poll = starter.PollTimerIdent();
        ASSERT_NE(poll, 0);
        timerItem(poll)->Fire();
        EXPECT_EQ(finished, 0);
        EXPECT_EQ(starter.PollTimerIdent(), poll);
        starter.Process()->kill();
        starter.Process()->waitForFinished(30000);
        timerItem(poll)->Fire();
        EXPECT_EQ(finished, 1);
        EXPECT_EQ(starter.PollTimerIdent(), 0);
    }
    // A program, a document or a start folder that is not there.
    {
        QTemporaryDir dir;
        TKitStarter starter;
        int errors = 0;
        starter.OnError = [&](TObject*) { ++errors; };
        starter.SetCommand(dir.filePath("missing-program"));
        starter.Execute();
        EXPECT_EQ(starter.LastError(), SE_ERR_FNF);
        starter.SetStartOperation(smPrint);
        starter.SetCommand(dir.filePath("missing.txt"));
        starter.Execute();
        EXPECT_EQ(starter.LastError(), SE_ERR_FNF);
        starter.SetStartOperation(smOpen);
        starter.SetCommand("/bin/sleep");
        starter.SetParameters("0");
        starter.SetDefaultDir(dir.filePath("no-such-folder"));
        starter.Execute();
        EXPECT_EQ(starter.LastError(), SE_ERR_PNF);
        EXPECT_EQ(errors, 3);
    }
}

TEST(KitStarter, CalculatorIsTheDesktopCalculator)
{
    QTemporaryDir dir;
    const QString script = dir.filePath("calc.sh");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        testutil::ScopedEnv calc("VORLIN_CALCULATOR", script.toUtf8());
        EXPECT_EQ(KitFindProgram("Calc.exe"), script);
        EXPECT_EQ(KitFindProgram("CALC.EXE"), script);
        TKitStarter starter;
        starter.SetCommand("Calc.exe");
        starter.SetWait(true);
        starter.Execute();
        EXPECT_EQ(starter.LastError(), 0);
        ASSERT_NE(starter.Process(), nullptr);
        EXPECT_EQ(starter.Process()->exitStatus(), QProcess::NormalExit);
    }
    {
        // A named calculator that cannot run is a failed start.
        const QString text = dir.filePath("calc.txt");
        QFile t(text);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.close();
        testutil::ScopedEnv calc("VORLIN_CALCULATOR", text.toUtf8());
        TKitStarter starter;
        starter.SetCommand("Calc.exe");
        starter.Execute();
        EXPECT_EQ(starter.LastError(), SE_ERR_ACCESSDENIED);
    }
    {
        // No calculator anywhere: not found.
        testutil::ScopedEnv calc("VORLIN_CALCULATOR", QByteArray());
        testutil::ScopedEnv path("PATH", QDir::toNativeSeparators(dir.path()).toUtf8());
        EXPECT_EQ(KitFindProgram("Calc.exe"), "");
        TKitStarter starter;
        starter.SetCommand("Calc.exe");
        starter.Execute();
        EXPECT_EQ(starter.LastError(), SE_ERR_FNF);
    }
}

TEST(KitStarter, TimersAutoStartAndRelease)
{
    const int before = KitApplication->TimerPool()->Count();
    {
        TKitStarter starter;
        EXPECT_EQ(KitApplication->TimerPool()->Count(), before + 1);
        TKitTimerItem* start = timerItem(starter.StartTimerIdent());
        ASSERT_NE(start, nullptr);
        EXPECT_FALSE(start->Enabled());
        EXPECT_EQ(start->Interval(), 1000);
        starter.SetAutoStart(true);
        EXPECT_TRUE(start->Enabled());

        FakeShell shell(42);
        starter.StartTime()->SetValue(EncodeDate(2026, 12, 9) + EncodeTime(7, 0, 5, 0));
        TDateTime now = EncodeDate(2026, 12, 9) + EncodeTime(7, 0, 4, 900);
        SetNowSource([&] { return now; });
        start->Fire();
        EXPECT_EQ(shell.requests.size(), 0u);
        now = EncodeDate(2026, 12, 9) + EncodeTime(7, 0, 5, 300);
        start->Fire();
        EXPECT_EQ(shell.requests.size(), 1u);
        now = EncodeDate(2026, 12, 10) + EncodeTime(7, 0, 5, 300);
        start->Fire();
        EXPECT_EQ(shell.requests.size(), 1u);
        SetNowSource(nullptr);

        starter.SetAutoStart(false);
        EXPECT_FALSE(start->Enabled());
        starter.OnFinished = [](TObject*) {};
        starter.Execute();
        EXPECT_EQ(KitApplication->TimerPool()->Count(), before + 2);
        // A second start lets the first poll go: no slot is lost.
        starter.Execute();
        EXPECT_EQ(KitApplication->TimerPool()->Count(), before + 2);
    }
    EXPECT_EQ(KitApplication->TimerPool()->Count(), before);
}

TEST(KitStarter, NoFreeTimerRefusesTheStarter)
{
    std::vector<std::uint16_t> taken;
    for (;;) {
        const std::uint16_t id = KitApplication->AddTimer(1000, nullptr);
        if (id == 0)
            break;
        taken.push_back(id);
    }
    try {
        TKitStarter starter;
        ADD_FAILURE() << "a starter without a timer";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Not enough timers available");
    }
    for (std::uint16_t id : taken)
        KitApplication->RemoveTimer(id);
}
