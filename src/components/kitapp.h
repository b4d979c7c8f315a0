#pragma once
// The library's one application object and its timer service: many logical
// timers multiplexed onto one 50 ms timer, so that components can ask for
// timers without owning a window. Also the description of where settings
// would be stored.

#include <QBasicTimer>
#include <QCursor>
#include <QLockFile>
#include <QString>
#include <memory>
#include <vector>

#include "components/kitclass.h"
#include "components/kitutils.h"

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

using TKitTimerInterval = std::uint16_t;
using TKitTimerPoolEvent = std::function<void(TObject* Sender, std::uint16_t Ident, int Counter)>;

class TKitTimerPool;

class TKitTimerItem {
public:
    // Made by the pool only; `pool` and `list` are required.
    TKitTimerItem(TKitTimerPool* pool, std::uint16_t ident, std::vector<TKitTimerItem*>* list);
    ~TKitTimerItem();
    TKitTimerItem(const TKitTimerItem&) = delete;
    TKitTimerItem& operator=(const TKitTimerItem&) = delete;

    int CallLimit = -1; // disables itself after this many firings; -1 none
    TNotifyEvent OnTimer;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    std::uint16_t Interval() const { return m_interval; }
    void SetInterval(std::uint16_t value);
    int Counter() const { return m_counter; }
    int TicksPerFire() const { return m_ticksPerFire; }
    std::uint16_t Ident() const { return m_ident; }
    TKitTimerPool* Pool() const { return m_pool; }
    void Fire();

private:
    friend class TKitTimerPool;
    int m_counter = 0;
    bool m_enabled = true;
    std::uint16_t m_ident;
    std::uint16_t m_interval = 1000;
    int m_ticksPerFire;
    std::vector<TKitTimerItem*>* m_list;
    TKitTimerPool* m_pool;
    // Rank in the order of making; the pool's list keeps this order.
    std::uint64_t m_made;
};

class TKitTimerPool : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitTimerPool(QObject* AOwner = nullptr);
    static TKitTimerPool* CreateWithInterval(QObject* AOwner, std::uint16_t minInterval);
    ~TKitTimerPool() override;

    TKitTimerPoolEvent OnTimer;

    TKitTimerInterval MinInterval() const { return m_minInterval; }
    // Taken only while the pool is being loaded or designed.
    void SetMinInterval(TKitTimerInterval value);

    // Adds an item and restarts the shared tick; returns its index.
    int Add(std::uint16_t ident, std::uint16_t interval, TNotifyEvent event);
    void Remove(std::uint16_t ident);
    void Clear();
    TKitTimerItem* ItemByIdent(std::uint16_t ident) const;
    int IndexOfIdent(std::uint16_t ident) const;
    int EnabledCount() const;
    int Count() const { return int(m_items.size()); }
    TKitTimerItem* Item(int index) const { return m_items.at(std::size_t(index)); }

    void Tick();
    void UpdateTimer(bool restart);
    bool Running() const { return m_running; }
    int TickCount() const { return m_tickCount; }

    // The window timer's refusal, for tests of the failure path.
    void SimulateTimerRefusal(bool refuse) { m_refuseTimer = refuse; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend class TKitTimerItem;
    void handleTimer();

    bool m_running = false;
    bool m_busy = false;
    QBasicTimer m_timer;
    int m_tickCount = 1;
    TKitTimerInterval m_minInterval = 1000;
    std::vector<TKitTimerItem*> m_items;
    bool m_removing = false;
    bool m_refuseTimer = false;
    std::uint64_t m_itemsMade = 0;
};

enum TKitRegRootKey : std::uint8_t { rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers };
enum TKitIniTarget : std::uint8_t { itAuto, itIniFile, itRegistry };

class TKitIniCtrl : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitIniCtrl(QObject* AOwner = nullptr);

    bool AlphaCounter() const { return m_alphaCounter; }
    void SetAlphaCounter(bool value);
    bool Common = true;
    QString IniFile() const { return m_iniFile; }
    void SetIniFile(const QString& value);
    TKitPathPrefix IniPrefix = ppWindows;
    std::uint8_t MaxEntries() const { return m_maxEntries; }
    void SetMaxEntries(std::uint8_t value);
    bool NetUser() const { return m_netUser; }
    void SetNetUser(bool value);
    QString User;
    QString RegPath;
    TKitRegRootKey RegRoot = rpCurrentUser;
    TKitIniTarget Target() const { return m_target; }
    void SetTarget(TKitIniTarget value);
    TKitIniTarget EffectiveTarget() const { return m_effectiveTarget; }

    virtual QString CurrentUserName() const;

private:
    bool m_alphaCounter = false;
    QString m_iniFile;
    std::uint8_t m_maxEntries = 16;
    bool m_netUser = false;
    TKitIniTarget m_target = itAuto;
    TKitIniTarget m_effectiveTarget = itRegistry;
};

class TKitApplication : public TKitComponent {
    Q_OBJECT
public:
    static constexpr std::uint16_t kTimerIdentBase = 0xFD00;
    static constexpr int kTimerSlots = 250;

    TKitApplication();
    ~TKitApplication() override;

    // Drawing options; element 0 off lets the drawing procedures take their
    // reduced path on displays of fewer than 9 bits per pixel.
    bool HasDrawOption(int element) const { return (m_drawOptions >> element) & 1u; }
    void SetDrawOption(int element, bool on);

    TKitIniCtrl* IniCtrl() const { return m_iniCtrl; }
    TKitTimerPool* TimerPool() const { return m_timerPool; }
    bool AnotherInstance() const { return m_anotherInstance; }
    const QCursor& HandCursor() const { return m_handCursor; }

    TKitPathPrefix LogFilePlace = ppProgram;
    QString LogFile() const { return m_logFile; }
    void SetLogFile(const QString& name);

    // A new enabled timer; 0 when no slot is free.
    std::uint16_t AddTimer(std::uint16_t interval, TNotifyEvent event);
    void RemoveTimer(std::uint16_t ident);
    TKitTimerItem* TimerItem(std::uint16_t ident) const;
    static int FindFreeSlot();

private:
    std::uint8_t m_drawOptions;
    TKitIniCtrl* m_iniCtrl;
    TKitTimerPool* m_timerPool;
    QString m_logFile;
    std::unique_ptr<QLockFile> m_mutex;
    bool m_anotherInstance = false;
    QCursor m_handCursor;
};

// The one application object of the library, made when the Qt application
// starts and freed when it ends.
extern TKitApplication* KitApplication;
void CreateKitApplication();
void FreeKitApplication();
