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

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    std::uint16_t Interval() const { return FInterval; }
    void SetInterval(std::uint16_t value);
    int Counter() const { return FCounter; }
    int TicksPerFire() const { return FTicksPerFire; }
    std::uint16_t Ident() const { return FIdent; }
    TKitTimerPool* Pool() const { return FPool; }
    void Fire();

private:
    friend class TKitTimerPool;
    int FCounter = 0;
    bool FEnabled = true;
    std::uint16_t FIdent;
    std::uint16_t FInterval = 1000;
    int FTicksPerFire;
    std::vector<TKitTimerItem*>* FList;
    TKitTimerPool* FPool;
    // Rank in the order of making; the pool's list keeps this order.
    std::uint64_t FMade;
};

class TKitTimerPool : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitTimerPool(QObject* AOwner = nullptr);
    static TKitTimerPool* CreateWithInterval(QObject* AOwner, std::uint16_t minInterval);
    ~TKitTimerPool() override;

    TKitTimerPoolEvent OnTimer;

    TKitTimerInterval MinInterval() const { return FMinInterval; }
    // Taken only while the pool is being loaded or designed.
    void SetMinInterval(TKitTimerInterval value);

    // Adds an item and restarts the shared tick; returns its index.
    int Add(std::uint16_t ident, std::uint16_t interval, TNotifyEvent event);
    void Remove(std::uint16_t ident);
    void Clear();
    TKitTimerItem* ItemByIdent(std::uint16_t ident) const;
    int IndexOfIdent(std::uint16_t ident) const;
    int EnabledCount() const;
    int Count() const { return int(FItems.size()); }
    TKitTimerItem* Item(int index) const { return FItems.at(std::size_t(index)); }

    void Tick();
    void UpdateTimer(bool restart);
    bool Running() const { return FRunning; }
    int TickCount() const { return FTickCount; }

    // The window timer's refusal, for tests of the failure path.
    void SimulateTimerRefusal(bool refuse) { FRefuseTimer = refuse; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend class TKitTimerItem;
    void handleTimer();

    bool FRunning = false;
    bool FBusy = false;
    QBasicTimer FTimer;
    int FTickCount = 1;
    TKitTimerInterval FMinInterval = 1000;
    std::vector<TKitTimerItem*> FItems;
    bool FRemoving = false;
    bool FRefuseTimer = false;
    std::uint64_t FItemsMade = 0;
};

enum TKitRegRootKey : std::uint8_t { rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers };
enum TKitIniTarget : std::uint8_t { itAuto, itIniFile, itRegistry };

class TKitIniCtrl : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitIniCtrl(QObject* AOwner = nullptr);

    bool AlphaCounter() const { return FAlphaCounter; }
    void SetAlphaCounter(bool value);
    bool Common = true;
    QString IniFile() const { return FIniFile; }
    void SetIniFile(const QString& value);
    TKitPathPrefix IniPrefix = ppWindows;
    std::uint8_t MaxEntries() const { return FMaxEntries; }
    void SetMaxEntries(std::uint8_t value);
    bool NetUser() const { return FNetUser; }
    void SetNetUser(bool value);
    QString User;
    QString RegPath;
    TKitRegRootKey RegRoot = rpCurrentUser;
    TKitIniTarget Target() const { return FTarget; }
    void SetTarget(TKitIniTarget value);
    TKitIniTarget EffectiveTarget() const { return FEffectiveTarget; }

    virtual QString CurrentUserName() const;

private:
    bool FAlphaCounter = false;
    QString FIniFile;
    std::uint8_t FMaxEntries = 16;
    bool FNetUser = false;
    TKitIniTarget FTarget = itAuto;
    TKitIniTarget FEffectiveTarget = itRegistry;
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
    bool HasDrawOption(int element) const { return (FDrawOptions >> element) & 1u; }
    void SetDrawOption(int element, bool on);

    TKitIniCtrl* IniCtrl() const { return FIniCtrl; }
    TKitTimerPool* TimerPool() const { return FTimerPool; }
    bool AnotherInstance() const { return FAnotherInstance; }
    const QCursor& HandCursor() const { return FHandCursor; }

    TKitPathPrefix LogFilePlace = ppProgram;
    QString LogFile() const { return FLogFile; }
    void SetLogFile(const QString& name);

    // A new enabled timer; 0 when no slot is free.
    std::uint16_t AddTimer(std::uint16_t interval, TNotifyEvent event);
    void RemoveTimer(std::uint16_t ident);
    TKitTimerItem* TimerItem(std::uint16_t ident) const;
    static int FindFreeSlot();

private:
    std::uint8_t FDrawOptions;
    TKitIniCtrl* FIniCtrl;
    TKitTimerPool* FTimerPool;
    QString FLogFile;
    std::unique_ptr<QLockFile> FMutex;
    bool FAnotherInstance = false;
    QCursor FHandCursor;
};

// The one application object of the library, made when the Qt application
// starts and freed when it ends.
extern TKitApplication* KitApplication;
void CreateKitApplication();
void FreeKitApplication();
