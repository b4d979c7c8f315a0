#include "components/kitapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimerEvent>
#include <algorithm>
#include <array>
#include <limits>

#include "components/kitsysin.h"
#include "platform/forms.h"

namespace {
// Slot i taken means that timer ident 0xFD00 + i is in use.
std::array<bool, TKitApplication::kTimerSlots + 1> gSlots{};

// The file-name extension rules of the class library: the part after the
// last dot of the file name, dot included.
QString extractFileExt(const QString& path)
{
    const QString name = ExtractFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString changeFileExt(const QString& path, const QString& ext)
{
    const QString name = ExtractFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString dir = ExtractFilePath(path);
    return dir + (dot < 0 ? name : name.left(dot)) + ext;
}
} // namespace

// ---- TKitTimerItem ----

TKitTimerItem::TKitTimerItem(TKitTimerPool* pool, std::uint16_t ident, std::vector<TKitTimerItem*>* list)
    : FIdent(ident), FList(list), FPool(pool)
{
    if (!pool || !list)
        throw EInvalidOperation(QStringLiteral("TKitTimerItem: Invalid Owner or List"));
    FMade = ++pool->FItemsMade;
    FTicksPerFire = pool->MinInterval() ? 1000 / pool->MinInterval() : 1;
}

TKitTimerItem::~TKitTimerItem()
{
    FEnabled = false;
    OnTimer = nullptr;
    auto it = std::find(FList->begin(), FList->end(), this);
    if (it != FList->end())
        FList->erase(it);
}

void TKitTimerItem::SetEnabled(bool value)
{
    if (value != FEnabled && (!value || CallLimit != 0)) {
        FEnabled = value;
        FCounter = 0;
    }
}

void TKitTimerItem::SetInterval(std::uint16_t value)
{
    const std::uint16_t step = FPool->MinInterval();
    if (value == FInterval || step == 0 || value % step != 0)
        return;
    if (value == 0)
        value = step;
    FTicksPerFire = value / step;
    FInterval = value;
    FCounter = 0;
}

void TKitTimerItem::Fire()
{
    if (!FEnabled)
        return;
    FCounter = FCounter == std::numeric_limits<int>::max() ? 0 : FCounter + 1;
    if (FCounter == CallLimit)
        FEnabled = false;
    // The handlers are copied: the item may be removed (and freed) by its
    // own event, and nothing of it is touched afterwards.
    TKitTimerPool* pool = FPool;
    if (OnTimer) {
        const TNotifyEvent event = OnTimer;
        event(pool);
    } else if (pool->OnTimer) {
        const TKitTimerPoolEvent event = pool->OnTimer;
        event(pool, FIdent, FCounter);
    }
}

// ---- TKitTimerPool ----

TKitTimerPool::TKitTimerPool(QObject* AOwner) : TKitComponent(AOwner) {}

TKitTimerPool* TKitTimerPool::CreateWithInterval(QObject* AOwner, std::uint16_t minInterval)
{
    auto* pool = new TKitTimerPool(AOwner);
    pool->FMinInterval = minInterval;
    return pool;
}

TKitTimerPool::~TKitTimerPool()
{
    FTimer.stop();
    FRunning = false;
    while (!FItems.empty())
        delete FItems.back();
}

void TKitTimerPool::SetMinInterval(TKitTimerInterval value)
{
    if (IsLoading() || IsDesigning())
        FMinInterval = value;
}

int TKitTimerPool::IndexOfIdent(std::uint16_t ident) const
{
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Ident() == ident)
            return int(i);
    return -1;
}

TKitTimerItem* TKitTimerPool::ItemByIdent(std::uint16_t ident) const
{
    const int i = IndexOfIdent(ident);
    return i < 0 ? nullptr : FItems[std::size_t(i)];
}

int TKitTimerPool::EnabledCount() const
{
    return int(std::count_if(FItems.begin(), FItems.end(), [](const TKitTimerItem* it) { return it->Enabled(); }));
}

int TKitTimerPool::Add(std::uint16_t ident, std::uint16_t interval, TNotifyEvent event)
{
    if (!FItems.empty() && ItemByIdent(ident))
        throw Exception(QStringLiteral("List index out of bounds (%d)"));
    if (FMinInterval == 0 || interval % FMinInterval != 0 || interval < FMinInterval)
        throw Exception(QStringLiteral("Interval not compatible with MinInterval property!"));
    auto* item = new TKitTimerItem(this, ident, &FItems);
    FItems.push_back(item);
    const int index = int(FItems.size()) - 1;
    item->SetInterval(interval);
    item->OnTimer = std::move(event);
    try {
        UpdateTimer(true);
    } catch (...) {
        // An item that cannot get its timer does not stay behind to block
        // its ident.
        delete item;
        throw;
    }
    return index;
}

void TKitTimerPool::Remove(std::uint16_t ident)
{
    FRemoving = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FRemoving};
    if (TKitTimerItem* item = ItemByIdent(ident)) {
        item->SetEnabled(false);
        item->OnTimer = nullptr;
        delete item;
    }
    if (FItems.empty())
        UpdateTimer(false);
}

void TKitTimerPool::Clear()
{
    UpdateTimer(false);
    while (!FItems.empty())
        delete FItems.back();
}

void TKitTimerPool::UpdateTimer(bool restart)
{
    if (IsDesigning())
        return;
    FRunning = false;
    FTimer.stop();
    if (restart && EnabledCount() > 0) {
        if (FRefuseTimer)
            throw EOutOfResources(QStringLiteral("Not enough timers available"));
        FTimer.start(FMinInterval, Qt::PreciseTimer, this);
        FTickCount = 1;
        FRunning = true;
    }
}

void TKitTimerPool::Tick()
{
    if (FRemoving)
        return;
    // Items may add or remove items (themselves included) from their event.
    // The list keeps the order in which items were made, so the walk goes on
    // from the last item visited to the next one made after it: one that went
    // away skips nothing, and one added during the walk is visited too.
    std::uint64_t last = 0;
    for (;;) {
        const auto next = std::find_if(FItems.begin(), FItems.end(),
                                       [last](const TKitTimerItem* it) { return it->FMade > last; });
        if (next == FItems.end())
            break;
        TKitTimerItem* item = *next;
        last = item->FMade;
        if (item->Enabled() && item->TicksPerFire() > 0 && FTickCount % item->TicksPerFire() == 0)
            item->Fire();
    }
    FTickCount = FTickCount == std::numeric_limits<int>::max() ? 0 : FTickCount + 1;
}

void TKitTimerPool::handleTimer()
{
    if (FBusy)
        return;
    FBusy = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FBusy};
    try {
        Tick();
    } catch (const std::exception& e) {
        if (Application)
            Application->HandleException(e);
        else
            qWarning("%s", e.what());
    }
}

void TKitTimerPool::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == FTimer.timerId())
        handleTimer();
    else
        TKitComponent::timerEvent(event);
}

// ---- TKitIniCtrl ----

TKitIniCtrl::TKitIniCtrl(QObject* AOwner) : TKitComponent(AOwner) {}

void TKitIniCtrl::SetIniFile(const QString& value)
{
    FIniFile = IsBlank(extractFileExt(value)) ? changeFileExt(value, QStringLiteral(".INI")) : value;
}

void TKitIniCtrl::SetMaxEntries(std::uint8_t value)
{
    if (value != FMaxEntries && (!FAlphaCounter || value <= 26))
        FMaxEntries = value;
}

void TKitIniCtrl::SetAlphaCounter(bool value)
{
    FAlphaCounter = value;
    if (FAlphaCounter && FMaxEntries > 26)
        FMaxEntries = 26;
}

void TKitIniCtrl::SetNetUser(bool value)
{
    FNetUser = value;
    if (value)
        User = CurrentUserName();
}

void TKitIniCtrl::SetTarget(TKitIniTarget value)
{
    FTarget = value;
    FEffectiveTarget = value == itAuto ? itRegistry : value;
}

QString TKitIniCtrl::CurrentUserName() const
{
    return WindowsUserName();
}

// ---- TKitApplication ----

TKitApplication* KitApplication = nullptr;

TKitApplication::TKitApplication()
    : TKitComponent(nullptr),
      FDrawOptions((1u << 1) | (1u << 2) | (1u << 4) | (1u << 5)),
      FIniCtrl(new TKitIniCtrl(nullptr)),
      FTimerPool(TKitTimerPool::CreateWithInterval(nullptr, 50)),
      FHandCursor(Qt::PointingHandCursor)
{
    if (!IsDesigning()) {
        // A lock named after the program file stands for the named mutex:
        // it tells whether another instance of the program runs.
        const QString program = QCoreApplication::instance()
                                    ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                    : QStringLiteral("kitapp");
        FMutex = std::make_unique<QLockFile>(QDir::temp().filePath(program + QStringLiteral(".kitlock")));
        FMutex->setStaleLockTime(0);
        FAnotherInstance = !FMutex->tryLock(0) && FMutex->error() == QLockFile::LockFailedError;
    }
    LogFilePlace = ppProgram;
    SetLogFile(QString());
}

TKitApplication::~TKitApplication()
{
    delete FIniCtrl;
    delete FTimerPool;
    if (FMutex && FMutex->isLocked())
        FMutex->unlock();
}

void TKitApplication::SetDrawOption(int element, bool on)
{
    if (element < 0 || element > 7)
        return;
    if (on)
        FDrawOptions |= std::uint8_t(1u << element);
    else
        FDrawOptions &= std::uint8_t(~(1u << element));
}

void TKitApplication::SetLogFile(const QString& name)
{
    QString text = name;
    if (IsBlank(text))
        text = changeFileExt(QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                          : QStringLiteral("kitapp"),
                             QStringLiteral(".LOG"));
    else if (IsBlank(extractFileExt(text)))
        text += QStringLiteral(".LOG");
    if (LogFilePlace == ppFixed)
        FLogFile = text;
    else
        FLogFile = PathByPrefix(LogFilePlace, true) + ExtractFileName(text);
}

int TKitApplication::FindFreeSlot()
{
    for (int i = 1; i <= kTimerSlots; ++i)
        if (!gSlots[std::size_t(i)])
            return i;
    return 0;
}

std::uint16_t TKitApplication::AddTimer(std::uint16_t interval, TNotifyEvent event)
{
    const int slot = FindFreeSlot();
    if (slot == 0)
        return 0;
    const std::uint16_t ident = std::uint16_t(kTimerIdentBase + slot);
    if (FTimerPool->Add(ident, interval, std::move(event)) == -1)
        return 0;
    gSlots[std::size_t(slot)] = true;
    return ident;
}

void TKitApplication::RemoveTimer(std::uint16_t ident)
{
    // Only idents this object hands out name a slot; others are ignored.
    if (ident <= kTimerIdentBase || ident > kTimerIdentBase + kTimerSlots)
        return;
    FTimerPool->Remove(ident);
    gSlots[std::size_t(ident - kTimerIdentBase)] = false;
}

TKitTimerItem* TKitApplication::TimerItem(std::uint16_t ident) const
{
    return FTimerPool->ItemByIdent(ident);
}

// ---- Unit start and end ----

namespace {
TKitUnitObject<TKitApplication> gKitApplicationUnit(KitApplication);
}

void CreateKitApplication()
{
    gKitApplicationUnit.Start();
}

void FreeKitApplication()
{
    gKitApplicationUnit.End();
}

static void kitAppStartup()
{
    CreateKitApplication();
    qAddPostRoutine(FreeKitApplication);
}
Q_COREAPP_STARTUP_FUNCTION(kitAppStartup)
