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
    : m_ident(ident), m_list(list), m_pool(pool)
{
    if (!pool || !list)
        throw EInvalidOperation(QStringLiteral("TKitTimerItem: Invalid Owner or List"));
    m_made = ++pool->m_itemsMade;
    m_ticksPerFire = pool->MinInterval() ? 1000 / pool->MinInterval() : 1;
}

TKitTimerItem::~TKitTimerItem()
{
    m_enabled = false;
    OnTimer = nullptr;
    auto it = std::find(m_list->begin(), m_list->end(), this);
    if (it != m_list->end())
        m_list->erase(it);
}

void TKitTimerItem::SetEnabled(bool value)
{
    if (value != m_enabled && (!value || CallLimit != 0)) {
        m_enabled = value;
        m_counter = 0;
    }
}

void TKitTimerItem::SetInterval(std::uint16_t value)
{
    const std::uint16_t step = m_pool->MinInterval();
    if (value == m_interval || step == 0 || value % step != 0)
        return;
    if (value == 0)
        value = step;
    m_ticksPerFire = value / step;
    m_interval = value;
    m_counter = 0;
}

void TKitTimerItem::Fire()
{
    if (!m_enabled)
        return;
    m_counter = m_counter == std::numeric_limits<int>::max() ? 0 : m_counter + 1;
    if (m_counter == CallLimit)
        m_enabled = false;
    // The handlers are copied: the item may be removed (and freed) by its
    // own event, and nothing of it is touched afterwards.
    TKitTimerPool* pool = m_pool;
    if (OnTimer) {
        const TNotifyEvent event = OnTimer;
        event(pool);
    } else if (pool->OnTimer) {
        const TKitTimerPoolEvent event = pool->OnTimer;
        event(pool, m_ident, m_counter);
    }
}

// ---- TKitTimerPool ----

TKitTimerPool::TKitTimerPool(QObject* AOwner) : TKitComponent(AOwner) {}

TKitTimerPool* TKitTimerPool::CreateWithInterval(QObject* AOwner, std::uint16_t minInterval)
{
    auto* pool = new TKitTimerPool(AOwner);
    pool->m_minInterval = minInterval;
    return pool;
}

TKitTimerPool::~TKitTimerPool()
{
    m_timer.stop();
    m_running = false;
    while (!m_items.empty())
        delete m_items.back();
}

void TKitTimerPool::SetMinInterval(TKitTimerInterval value)
{
    if (IsLoading() || IsDesigning())
        m_minInterval = value;
}

int TKitTimerPool::IndexOfIdent(std::uint16_t ident) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->Ident() == ident)
            return int(i);
    return -1;
}

TKitTimerItem* TKitTimerPool::ItemByIdent(std::uint16_t ident) const
{
    const int i = IndexOfIdent(ident);
    return i < 0 ? nullptr : m_items[std::size_t(i)];
}

int TKitTimerPool::EnabledCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(), [](const TKitTimerItem* it) { return it->Enabled(); }));
}

int TKitTimerPool::Add(std::uint16_t ident, std::uint16_t interval, TNotifyEvent event)
{
    if (!m_items.empty() && ItemByIdent(ident))
        throw Exception(QStringLiteral("List index out of bounds (%d)"));
    if (m_minInterval == 0 || interval % m_minInterval != 0 || interval < m_minInterval)
        throw Exception(QStringLiteral("Interval not compatible with MinInterval property!"));
    auto* item = new TKitTimerItem(this, ident, &m_items);
    m_items.push_back(item);
    const int index = int(m_items.size()) - 1;
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
    m_removing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_removing};
    if (TKitTimerItem* item = ItemByIdent(ident)) {
        item->SetEnabled(false);
        item->OnTimer = nullptr;
        delete item;
    }
    if (m_items.empty())
        UpdateTimer(false);
}

void TKitTimerPool::Clear()
{
    UpdateTimer(false);
    while (!m_items.empty())
        delete m_items.back();
}

void TKitTimerPool::UpdateTimer(bool restart)
{
    if (IsDesigning())
        return;
    m_running = false;
    m_timer.stop();
    if (restart && EnabledCount() > 0) {
        if (m_refuseTimer)
            throw EOutOfResources(QStringLiteral("Not enough timers available"));
        m_timer.start(m_minInterval, Qt::PreciseTimer, this);
        m_tickCount = 1;
        m_running = true;
    }
}

void TKitTimerPool::Tick()
{
    if (m_removing)
        return;
    // Items may add or remove items (themselves included) from their event.
    // The list keeps the order in which items were made, so the walk goes on
    // from the last item visited to the next one made after it: one that went
    // away skips nothing, and one added during the walk is visited too.
    std::uint64_t last = 0;
    for (;;) {
        const auto next = std::find_if(m_items.begin(), m_items.end(),
                                       [last](const TKitTimerItem* it) { return it->m_made > last; });
        if (next == m_items.end())
            break;
        TKitTimerItem* item = *next;
        last = item->m_made;
        if (item->Enabled() && item->TicksPerFire() > 0 && m_tickCount % item->TicksPerFire() == 0)
            item->Fire();
    }
    m_tickCount = m_tickCount == std::numeric_limits<int>::max() ? 0 : m_tickCount + 1;
}

void TKitTimerPool::handleTimer()
{
    if (m_busy)
        return;
    m_busy = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_busy};
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
    if (event->timerId() == m_timer.timerId())
        handleTimer();
    else
        TKitComponent::timerEvent(event);
}

// ---- TKitIniCtrl ----

TKitIniCtrl::TKitIniCtrl(QObject* AOwner) : TKitComponent(AOwner) {}

void TKitIniCtrl::SetIniFile(const QString& value)
{
    m_iniFile = IsBlank(extractFileExt(value)) ? changeFileExt(value, QStringLiteral(".INI")) : value;
}

void TKitIniCtrl::SetMaxEntries(std::uint8_t value)
{
    if (value != m_maxEntries && (!m_alphaCounter || value <= 26))
        m_maxEntries = value;
}

void TKitIniCtrl::SetAlphaCounter(bool value)
{
    m_alphaCounter = value;
    if (m_alphaCounter && m_maxEntries > 26)
        m_maxEntries = 26;
}

void TKitIniCtrl::SetNetUser(bool value)
{
    m_netUser = value;
    if (value)
        User = CurrentUserName();
}

void TKitIniCtrl::SetTarget(TKitIniTarget value)
{
    m_target = value;
    m_effectiveTarget = value == itAuto ? itRegistry : value;
}

QString TKitIniCtrl::CurrentUserName() const
{
    return WindowsUserName();
}

// ---- TKitApplication ----

TKitApplication* KitApplication = nullptr;

TKitApplication::TKitApplication()
    : TKitComponent(nullptr),
      m_drawOptions((1u << 1) | (1u << 2) | (1u << 4) | (1u << 5)),
      m_iniCtrl(new TKitIniCtrl(nullptr)),
      m_timerPool(TKitTimerPool::CreateWithInterval(nullptr, 50)),
      m_handCursor(Qt::PointingHandCursor)
{
    if (!IsDesigning()) {
        // A lock named after the program file stands for the named mutex:
        // it tells whether another instance of the program runs.
        const QString program = QCoreApplication::instance()
                                    ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                    : QStringLiteral("kitapp");
        m_mutex = std::make_unique<QLockFile>(QDir::temp().filePath(program + QStringLiteral(".kitlock")));
        m_mutex->setStaleLockTime(0);
        m_anotherInstance = !m_mutex->tryLock(0) && m_mutex->error() == QLockFile::LockFailedError;
    }
    LogFilePlace = ppProgram;
    SetLogFile(QString());
}

TKitApplication::~TKitApplication()
{
    delete m_iniCtrl;
    delete m_timerPool;
    if (m_mutex && m_mutex->isLocked())
        m_mutex->unlock();
}

void TKitApplication::SetDrawOption(int element, bool on)
{
    if (element < 0 || element > 7)
        return;
    if (on)
        m_drawOptions |= std::uint8_t(1u << element);
    else
        m_drawOptions &= std::uint8_t(~(1u << element));
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
        m_logFile = text;
    else
        m_logFile = PathByPrefix(LogFilePlace, true) + ExtractFileName(text);
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
    if (m_timerPool->Add(ident, interval, std::move(event)) == -1)
        return 0;
    gSlots[std::size_t(slot)] = true;
    return ident;
}

void TKitApplication::RemoveTimer(std::uint16_t ident)
{
    // Only idents this object hands out name a slot; others are ignored.
    if (ident <= kTimerIdentBase || ident > kTimerIdentBase + kTimerSlots)
        return;
    m_timerPool->Remove(ident);
    gSlots[std::size_t(ident - kTimerIdentBase)] = false;
}

TKitTimerItem* TKitApplication::TimerItem(std::uint16_t ident) const
{
    return m_timerPool->ItemByIdent(ident);
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
