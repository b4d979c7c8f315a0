#include <gtest/gtest.h>

#include <QTest>

#include "components/kitapp.h"
#include "components/kitsysin.h"
#include "platform/forms.h"

namespace {
// Removes every timer a test took, whatever happens in it.
struct Timers {
    std::vector<std::uint16_t> idents;
    std::uint16_t add(std::uint16_t interval, TNotifyEvent e = nullptr)
    {
        const std::uint16_t id = KitApplication->AddTimer(interval, std::move(e));
        if (id)
            idents.push_back(id);
        return id;
    }
    ~Timers()
    {
        for (auto id : idents)
            KitApplication->RemoveTimer(id);
    }
};

QString messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return QString();
}
} // namespace

TEST(KitTimerService, SlotsAndIdents)
{
    ASSERT_NE(KitApplication, nullptr);
    Timers t;
    EXPECT_EQ(TKitApplication::FindFreeSlot(), 1);
    EXPECT_EQ(t.add(1000), 0xFD01);
    EXPECT_EQ(t.add(100), 0xFD02);
    KitApplication->RemoveTimer(0xFD01);
    EXPECT_EQ(TKitApplication::FindFreeSlot(), 1);
    EXPECT_EQ(KitApplication->TimerItem(0xFD01), nullptr);
    ASSERT_NE(KitApplication->TimerItem(0xFD02), nullptr);
    EXPECT_EQ(KitApplication->TimerItem(0xFD02)->Interval(), 100);

    // Idents outside what the service hands out are ignored.
    KitApplication->RemoveTimer(0xFD00);
    KitApplication->RemoveTimer(0);
    KitApplication->RemoveTimer(0xFDFB);
    KitApplication->RemoveTimer(0xFFFF);
    EXPECT_NE(KitApplication->TimerItem(0xFD02), nullptr);

    // All 250 slots, then the 251st answers 0 and adds nothing.
    while (TKitApplication::FindFreeSlot() != 0)
        ASSERT_NE(t.add(50), 0);
    EXPECT_EQ(t.idents.back(), 0xFDFA);
    const int count = KitApplication->TimerPool()->Count();
    EXPECT_EQ(count, 250);
    EXPECT_EQ(KitApplication->AddTimer(50, nullptr), 0);
    EXPECT_EQ(KitApplication->TimerPool()->Count(), count);
}

TEST(KitTimerService, IntervalsAndErrors)
{
    Timers t;
    const QString bad = "Interval not compatible with MinInterval property!";
    EXPECT_EQ(messageOf([&] { t.add(30); }), bad);
    EXPECT_EQ(messageOf([&] { t.add(0); }), bad);
    EXPECT_EQ(messageOf([&] { t.add(75); }), bad);
    // A failed add leaves the slot free.
    EXPECT_EQ(TKitApplication::FindFreeSlot(), 1);

    TKitTimerPool* pool = KitApplication->TimerPool();
    EXPECT_EQ(pool->MinInterval(), 50);
    pool->SetMinInterval(10); // ignored at run time
    EXPECT_EQ(pool->MinInterval(), 50);

    const std::uint16_t id = t.add(1000);
    EXPECT_EQ(messageOf([&] { pool->Add(id, 100, nullptr); }), "List index out of bounds (%d)");

    TKitTimerItem* item = KitApplication->TimerItem(id);
    EXPECT_EQ(item->TicksPerFire(), 20);
    EXPECT_EQ(messageOf([] { TKitTimerItem orphan(nullptr, 1, nullptr); }), "TKitTimerItem: Invalid Owner or List");
    item->SetInterval(120); // not a multiple: unchanged
    EXPECT_EQ(item->Interval(), 1000);
    item->SetInterval(250);
    EXPECT_EQ(item->TicksPerFire(), 5);
}

TEST(KitTimerService, PhaseCallLimitsAndCounters)
{
    Timers t;
    TKitTimerPool* pool = KitApplication->TimerPool();
    std::vector<int> fired;
    const std::uint16_t id = t.add(1000, [&](TObject* s) {
        EXPECT_EQ(s, pool);
        fired.push_back(pool->TickCount());
    });
    EXPECT_TRUE(pool->Running());
    EXPECT_EQ(pool->TickCount(), 1);
    for (int i = 0; i < 60; ++i)
        pool->Tick();
    EXPECT_EQ(fired, (std::vector<int>{20, 40, 60}));

    // Every Add restarts the shared tick: the phase counts from it.
    fired.clear();
    for (int i = 0; i < 5; ++i)
        pool->Tick();
    t.add(50, [](TObject*) {});
    for (int i = 0; i < 20; ++i)
        pool->Tick();
    EXPECT_EQ(fired, std::vector<int>{20});

    // A call limit of 3: three firings, then disabled; enabling again gives three more.
    TKitTimerItem* item = KitApplication->TimerItem(id);
    item->SetInterval(50);
    item->CallLimit = 3;
    fired.clear();
    for (int i = 0; i < 10; ++i)
        pool->Tick();
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(item->Counter(), 3);
    item->SetEnabled(true);
    EXPECT_EQ(item->Counter(), 0);
    for (int i = 0; i < 10; ++i)
        pool->Tick();
    EXPECT_EQ(fired.size(), 6u);

    // A call limit of 0: the item cannot be enabled.
    item->CallLimit = 0;
    item->SetEnabled(true);
    EXPECT_FALSE(item->Enabled());

    // Items without their own event fire the pool's, with ident and counter.
    std::vector<std::pair<int, int>> poolFired;
    pool->OnTimer = [&](TObject*, std::uint16_t ident, int counter) { poolFired.emplace_back(ident, counter); };
    const std::uint16_t plain = t.add(100);
    pool->Tick();
    pool->Tick();
    pool->Tick();
    pool->Tick();
    pool->OnTimer = nullptr;
    EXPECT_EQ(poolFired, (std::vector<std::pair<int, int>>{{plain, 1}, {plain, 2}}));
}

TEST(KitTimerService, ItemsAddedOrRemovedDuringATick)
{
    Timers t;
    TKitTimerPool* pool = KitApplication->TimerPool();
    int first = 0, second = 0, third = 0, late = 0;
    std::uint16_t a = 0;
    a = t.add(50, [&](TObject*) {
        ++first;
        KitApplication->RemoveTimer(a);
    });
    t.add(50, [&](TObject*) { ++second; });
    std::uint16_t c = 0;
    c = t.add(50, [&](TObject*) {
        ++third;
        KitApplication->RemoveTimer(c);
        t.add(50, [&](TObject*) { ++late; }); // in the slot just freed
    });
    pool->Tick();
    pool->Tick();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2); // not skipped when the item before it went away
    EXPECT_EQ(third, 1);
    EXPECT_EQ(late, 2); // visited in the tick that added it
    // The second item and the one added from an event (in the freed slot).
    EXPECT_EQ(pool->Count(), 2);
}

TEST(KitTimerService, RealTicksAndFailures)
{
    Timers t;
    TKitTimerPool* pool = KitApplication->TimerPool();
    int fired = 0;
    t.add(50, [&](TObject*) {
        ++fired;
        throw Exception("tick failed");
    });
    // An exception in an event goes to the application's handler; the pool
    // keeps ticking.
    QStringList shown;
    Application->OnException = [&](TObject*, const std::exception& e) { shown << QString::fromUtf8(e.what()); };
    QTRY_VERIFY_WITH_TIMEOUT(fired >= 2, 30000);
    Application->OnException = nullptr;
    EXPECT_EQ(shown.size(), fired); // once per firing
    EXPECT_EQ(shown.front(), "tick failed");

    // A timer that cannot be had: the item does not stay behind.
    pool->SimulateTimerRefusal(true);
    EXPECT_EQ(messageOf([&] { t.add(100); }), "Not enough timers available");
    pool->SimulateTimerRefusal(false);
    EXPECT_EQ(pool->Count(), 1);
    EXPECT_NE(t.add(100), 0);

    // The last item removed stops the window timer.
    for (auto id : t.idents)
        KitApplication->RemoveTimer(id);
    t.idents.clear();
    EXPECT_FALSE(pool->Running());
    EXPECT_EQ(pool->Count(), 0);
}

TEST(KitApplicationObject, OptionsLogFileAndSettingsDescription)
{
    EXPECT_FALSE(KitApplication->HasDrawOption(0));
    for (int e : {1, 2, 4, 5})
        EXPECT_TRUE(KitApplication->HasDrawOption(e));
    EXPECT_FALSE(KitApplication->HasDrawOption(3));

    const QString dir = PathByPrefix(ppProgram, true);
    EXPECT_TRUE(KitApplication->LogFile().startsWith(dir));
    EXPECT_TRUE(KitApplication->LogFile().endsWith(".LOG"));
    KitApplication->SetLogFile("trace");
    EXPECT_EQ(KitApplication->LogFile(), dir + "trace.LOG");
    KitApplication->SetLogFile("/var/x/run.txt");
    EXPECT_EQ(KitApplication->LogFile(), dir + "run.txt");
    KitApplication->LogFilePlace = ppFixed;
    KitApplication->SetLogFile("/var/x/run.txt");
    EXPECT_EQ(KitApplication->LogFile(), "/var/x/run.txt");
    KitApplication->LogFilePlace = ppProgram;
    KitApplication->SetLogFile("");

    TKitIniCtrl ini;
    EXPECT_EQ(ini.EffectiveTarget(), itRegistry);
    ini.SetIniFile("lab");
    EXPECT_EQ(ini.IniFile(), "lab.INI");
    ini.SetIniFile("lab.cfg");
    EXPECT_EQ(ini.IniFile(), "lab.cfg");
    ini.SetMaxEntries(40);
    EXPECT_EQ(ini.MaxEntries(), 40);
    ini.SetAlphaCounter(true);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetMaxEntries(30);
    EXPECT_EQ(ini.MaxEntries(), 26);
    ini.SetTarget(itIniFile);
    EXPECT_EQ(ini.EffectiveTarget(), itIniFile);
    ini.SetTarget(itAuto);
    EXPECT_EQ(ini.EffectiveTarget(), itRegistry);
    ini.SetNetUser(true);
    EXPECT_EQ(ini.User, WindowsUserName());
}

TEST(KitSystemInfo, FactsAndLoginName)
{
    EXPECT_TRUE(IsWinNT);
    EXPECT_FALSE(IsWin95Family);
    EXPECT_FALSE(IsWin98OrLater);
    EXPECT_TRUE(HasWindowsExtension);
    EXPECT_GT(DisplayColorDepth(), 0);
    EXPECT_FALSE(WindowsUserName().isEmpty());

    EXPECT_EQ(KitUserNameOrUnknown("student", true), "student");
    EXPECT_EQ(KitUserNameOrUnknown(QByteArray(62, 'a'), true), QString(62, 'a'));
    EXPECT_EQ(KitUserNameOrUnknown(QByteArray(63, 'a'), true), "(Unknown)");
    EXPECT_EQ(KitUserNameOrUnknown("student", false), "(Unknown)");
}
