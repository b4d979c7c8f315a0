#include "components/kitnonvs.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>

#include "components/kitapp.h"

// ---------------------------------------------------------------- date and time

namespace {
constexpr double kMSecsPerDay = 86400000.0;

qint64 epochJulianDay()
{
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

// Whole days and the unsigned fraction of the day, as the value is read.
void splitValue(TDateTime value, double& days, double& fraction)
{
    if (!std::isfinite(value))
        value = 0;
    days = std::trunc(value);
    fraction = std::fabs(value - days);
}

// The inverse: before the epoch the fraction counts away from zero too.
TDateTime joinValue(double days, double fraction)
{
    return days < 0 ? days - fraction : days + fraction;
}

std::function<TDateTime()>& nowSource()
{
    static std::function<TDateTime()> source;
    return source;
}

[[noreturn]] void raiseEncodeError(int year, int month, int day)
{
    throw EConvertError(QStringLiteral("\"%1.%2.%3\" не является допустимой датой").arg(day).arg(month).arg(year));
}
} // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        raiseEncodeError(year, month, day);
    return double(QDate(year, month, day).toJulianDay() - epochJulianDay());
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
        throw EConvertError(QStringLiteral("\"%1:%2:%3.%4\" не является допустимым временем")
                                .arg(hour)
                                .arg(minute, 2, 10, QChar('0'))
                                .arg(second, 2, 10, QChar('0'))
                                .arg(msec, 3, 10, QChar('0')));
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMSecsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    double days, fraction;
    splitValue(value, days, fraction);
    // Dates outside what QDate keeps are clamped to its calendar's range.
    const double jd = std::clamp(days + double(epochJulianDay()), 0.0, 2147483647.0);
    QDate(QDate::fromJulianDay(qint64(jd))).getDate(&year, &month, &day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    double days, fraction;
    splitValue(value, days, fraction);
    qint64 ms = qint64(std::nearbyint(fraction * kMSecsPerDay));
    ms = std::clamp<qint64>(ms, 0, qint64(kMSecsPerDay) - 1);
    msec = int(ms % 1000);
    ms /= 1000;
    second = int(ms % 60);
    ms /= 60;
    minute = int(ms % 60);
    hour = int(ms / 60);
}

TDateTime Now()
{
    if (nowSource())
        return nowSource()();
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

void SetNowSource(std::function<TDateTime()> source)
{
    nowSource() = std::move(source);
}

TKitDateTime::TKitDateTime() : m_value(EncodeDate(1990, 1, 1)) {}

int TKitDateTime::Year() const
{
    int y, m, d;
    DecodeDate(m_value, y, m, d);
    return y;
}

int TKitDateTime::Month() const
{
    int y, m, d;
    DecodeDate(m_value, y, m, d);
    return m;
}

int TKitDateTime::Day() const
{
    int y, m, d;
    DecodeDate(m_value, y, m, d);
    return d;
}

int TKitDateTime::Hour() const
{
    int h, m, s, ms;
    DecodeTime(m_value, h, m, s, ms);
    return h;
}

int TKitDateTime::Minute() const
{
    int h, m, s, ms;
    DecodeTime(m_value, h, m, s, ms);
    return m;
}

int TKitDateTime::Second() const
{
    int h, m, s, ms;
    DecodeTime(m_value, h, m, s, ms);
    return s;
}

void TKitDateTime::setDatePart(int index, int v)
{
    int part[3];
    DecodeDate(m_value, part[0], part[1], part[2]);
    if (part[index] == v)
        return;
    part[index] = v;
    int h, m, s, ms;
    DecodeTime(m_value, h, m, s, ms);
    const double days = EncodeDate(part[0], part[1], part[2]);
    m_value = joinValue(days, EncodeTime(h, m, s, 0));
}

void TKitDateTime::setTimePart(int index, int v)
{
    int part[4];
    DecodeTime(m_value, part[0], part[1], part[2], part[3]);
    if (part[index] == v)
        return;
    part[index] = v;
    double days, fraction;
    splitValue(m_value, days, fraction);
    m_value = joinValue(days, EncodeTime(part[0], part[1], part[2], part[3]));
}

void TKitDateTime::SetYear(int v) { setDatePart(0, v); }
void TKitDateTime::SetMonth(int v) { setDatePart(1, v); }
void TKitDateTime::SetDay(int v) { setDatePart(2, v); }
void TKitDateTime::SetHour(int v) { setTimePart(0, v); }
void TKitDateTime::SetMinute(int v) { setTimePart(1, v); }
void TKitDateTime::SetSecond(int v) { setTimePart(2, v); }

void TKitDateTime::Assign(const QObject* Source)
{
    if (auto* other = qobject_cast<const TKitDateTime*>(Source)) {
        m_value = other->m_value;
        return;
    }
    TKitObject::Assign(Source);
}

// ---------------------------------------------------------------- the desktop shell

int KitShowCommand(TKitStarterOptions option)
{
    static const int commands[] = {0, 3, 6, 9, 5, 3, 2, 7, 8, 1};
    return option <= soSW_SHOWNORMAL ? commands[option] : 5;
}

QString KitStarterVerb(TKitStarterOperation operation)
{
    switch (operation) {
    case smPrint: return QStringLiteral("print");
    case smExplore: return QStringLiteral("explore");
    default: return QStringLiteral("open");
    }
}

bool KitIsShellError(int instance)
{
    return instance == SE_ERR_FNF || instance == SE_ERR_PNF || instance == SE_ERR_ACCESSDENIED
        || instance == SE_ERR_OOM || (instance >= SE_ERR_SHARE && instance <= SE_ERR_DLLNOTFOUND);
}

QString KitExploreFolder(const QString& command)
{
    int cut = -1;
    for (int i = command.size() - 1; i >= 0; --i) {
        const QChar c = command.at(i);
        if (c == '\\' || c == ':' || c == '/') {
            cut = i;
            break;
        }
    }
    QString folder = command.left(cut + 1);
    if (!folder.endsWith('\\') && !folder.endsWith('/'))
        folder += '\\';
    return folder;
}

namespace {
TKitShellExecutor& shellExecutor()
{
    static TKitShellExecutor executor;
    return executor;
}

QString localPath(const QString& path)
{
    QString p = path;
    p.replace('\\', '/');
    return p;
}

// A program given by path is taken as it stands (starting it may still
// fail); a bare name is looked up on the search path.
QString findOne(const QString& name)
{
    if (name.isEmpty())
        return {};
    if (name.contains('/'))
        return QFileInfo(name).isFile() ? name : QString();
    return QStandardPaths::findExecutable(name);
}

TKitShellResult startProcess(const QString& program, const QStringList& args, const QString& directory)
{
    TKitShellResult result;
    if (!directory.isEmpty() && !QFileInfo(directory).isDir()) {
        result.Instance = SE_ERR_PNF;
        return result;
    }
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(args);
    if (!directory.isEmpty())
        process->setWorkingDirectory(directory);
    // The started program talks to its own terminal, not through us.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start();
    if (!process->waitForStarted()) {
        const QFileInfo info(program);
        result.Instance = info.exists() ? SE_ERR_ACCESSDENIED : SE_ERR_FNF;
        delete process;
        return result;
    }
    result.Process = process;
    return result;
}
} // namespace

QString KitFindProgram(const QString& command)
{
    const QString name = localPath(command.trimmed());
    const QString lower = name.toLower();
    if (lower == QLatin1String("calc.exe") || lower == QLatin1String("calc")) {
        const QStringList candidates = {qEnvironmentVariable("VORLIN_CALCULATOR"), QStringLiteral("gnome-calculator"),
                                        QStringLiteral("kcalc"), QStringLiteral("mate-calc"),
                                        QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"),
                                        QStringLiteral("xcalc")};
        for (const QString& c : candidates) {
            const QString found = findOne(c);
            if (!found.isEmpty())
                return found;
        }
        return {};
    }
    QString found = findOne(name);
    if (found.isEmpty() && lower.endsWith(QLatin1String(".exe")))
        found = findOne(name.chopped(4));
    return found;
}

TKitShellResult KitShellExecute(const TKitShellRequest& request)
{
    if (shellExecutor())
        return shellExecutor()(request);
    TKitShellResult result;
    const QString file = localPath(request.File);
    const QString directory = localPath(request.Directory);
    if (file.isEmpty()) {
        result.Instance = SE_ERR_FNF;
        return result;
    }
    if (request.Verb == QLatin1String("open")) {
        const QString program = KitFindProgram(file);
        if (!program.isEmpty())
            return startProcess(program, QProcess::splitCommand(request.Parameters), directory);
    }
    if (!QFileInfo::exists(file)) {
        result.Instance = SE_ERR_FNF;
        return result;
    }
    // Documents and folders go to the desktop's tools for them.
    const bool print = request.Verb == QLatin1String("print");
    const QString tool = QStandardPaths::findExecutable(print ? QStringLiteral("lp") : QStringLiteral("xdg-open"));
    if (tool.isEmpty() || (print && QFileInfo(file).isDir())) {
        result.Instance = SE_ERR_NOASSOC;
        return result;
    }
    return startProcess(tool, {file}, directory);
}

void SetKitShellExecutor(TKitShellExecutor executor)
{
    shellExecutor() = std::move(executor);
}

// ---------------------------------------------------------------- starter

namespace {
std::uint16_t takeTimer(std::uint16_t interval, TNotifyEvent event)
{
    const std::uint16_t ident = KitApplication ? KitApplication->AddTimer(interval, std::move(event)) : 0;
    if (ident == 0)
        throw EOutOfResources(QStringLiteral("Not enough timers available"));
    return ident;
}
} // namespace

TKitStarter::TKitStarter(QObject* AOwner) : TKitComponent(AOwner), m_startTime(new TKitDateTime)
{
    try {
        m_startTimer = takeTimer(1000, [this](TObject* s) { CheckStartTime(s); });
    } catch (...) {
        delete m_startTime;
        throw;
    }
    KitApplication->TimerItem(m_startTimer)->SetEnabled(false);
}

TKitStarter::~TKitStarter()
{
    removeTimer(m_startTimer);
    removeTimer(m_pollTimer);
    releaseProcess();
    delete m_startTime;
}

void TKitStarter::removeTimer(std::uint16_t& ident)
{
    if (ident == 0)
        return;
    if (KitApplication) {
        if (TKitTimerItem* item = KitApplication->TimerItem(ident)) {
            item->SetEnabled(false);
            item->OnTimer = nullptr;
        }
        KitApplication->RemoveTimer(ident);
    }
    ident = 0;
}

void TKitStarter::releaseProcess()
{
    QProcess* process = m_process;
    m_process = nullptr;
    if (!process)
        return;
    if (process->state() == QProcess::NotRunning) {
        delete process;
        return;
    }
    // Freeing a running process object would end the program it started;
    // the started program lives on and its object goes with its end.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
}

void TKitStarter::SetAutoStart(bool v)
{
    if (v == m_autoStart)
        return;
    m_autoStart = v;
    if (KitApplication)
        if (TKitTimerItem* item = KitApplication->TimerItem(m_startTimer)) {
            item->SetInterval(1000);
            item->SetEnabled(v);
        }
}

void TKitStarter::Execute()
{
    if (OnBeforeStart)
        OnBeforeStart(this);
    TKitShellRequest request;
    request.Verb = KitStarterVerb(m_startOperation);
    request.Show = KitShowCommand(m_startOption);
    if (m_startOperation == smExplore) {
        request.File = KitExploreFolder(m_command);
    } else {
        request.File = m_command;
        request.Parameters = m_parameters;
        request.Directory = m_defaultDir;
    }
    // The starter follows its latest start: an earlier process and its
    // poll are let go, so no timer slot is lost to them.
    removeTimer(m_pollTimer);
    releaseProcess();
    const TKitShellResult result = KitShellExecute(request);
    m_process = result.Process;
    if (KitIsShellError(result.Instance)) {
        m_lastError = result.Instance;
        if (OnError)
            OnError(nullptr);
    } else {
        if (OnFinished) {
            m_pollTimer = takeTimer(500, [this](TObject* s) { CheckProcessFinished(s); });
        }
        if (m_wait && m_process)
            m_process->waitForFinished(-1);
    }
    if (OnAfterStart)
        OnAfterStart(this);
}

void TKitStarter::CheckStartTime(TObject*)
{
    if (IsDesigning())
        return;
    int y, mo, d, h, mi, s, ms;
    const TDateTime now = Now();
    DecodeDate(now, y, mo, d);
    DecodeTime(now, h, mi, s, ms);
    if (y == m_startTime->Year() && mo == m_startTime->Month() && d == m_startTime->Day() && h == m_startTime->Hour()
        && mi == m_startTime->Minute() && s == m_startTime->Second())
        Execute();
}

void TKitStarter::CheckProcessFinished(TObject*)
{
    if (m_process) {
        // Looks for the end without waiting, even if no event told of it yet.
        m_process->waitForFinished(0);
        if (m_process->state() != QProcess::NotRunning)
            return;
    }
    removeTimer(m_pollTimer);
    if (OnFinished)
        OnFinished(this);
}
