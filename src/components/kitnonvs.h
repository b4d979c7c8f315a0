#pragma once
// Non-visual helpers of the component library: a persistent date-and-time
// value and a program starter that opens, prints or explores through the
// desktop, can wait for the started process, reports its end and can start
// itself at a set second.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

#include "components/kitclass.h"

#include <QProcess>

// The platform's date-time value: whole days since 1899-12-30 plus the
// fraction of the day.
using TDateTime = double;

// Raises EConvertError for an impossible date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);
// The local date and time now; tests may put their own source in place
// (an empty function restores the real clock).
TDateTime Now();
void SetNowSource(std::function<TDateTime()> source);

class TKitDateTime : public TKitObject {
    Q_OBJECT
public:
    TKitDateTime();

    TDateTime Value() const { return m_value; }
    void SetValue(TDateTime v) { m_value = v; }

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    // Date parts: the time is kept to the second, milliseconds dropped; an
    // impossible date raises EConvertError and keeps the value.
    void SetYear(int v);
    void SetMonth(int v);
    void SetDay(int v);
    // Time parts: the date and the milliseconds are kept.
    void SetHour(int v);
    void SetMinute(int v);
    void SetSecond(int v);

    void Assign(const QObject* Source) override;

private:
    void setDatePart(int index, int v);
    void setTimePart(int index, int v);
    TDateTime m_value;
};

enum TKitStarterOperation : std::uint8_t { smOpen, smPrint, smExplore };
enum TKitStarterOptions : std::uint8_t {
    soSW_HIDE, soSW_MAXIMIZE, soSW_MINIMIZE, soSW_RESTORE, soSW_SHOW, soSW_SHOWMAXIMIZED,
    soSW_SHOWMINIMIZED, soSW_SHOWMINNOACTIVE, soSW_SHOWNA, soSW_SHOWNORMAL
};

// Error codes of a failed shell start.
enum : int {
    SE_ERR_FNF = 2, SE_ERR_PNF = 3, SE_ERR_ACCESSDENIED = 5, SE_ERR_OOM = 8, SE_ERR_SHARE = 26,
    SE_ERR_ASSOCINCOMPLETE = 27, SE_ERR_DDETIMEOUT = 28, SE_ERR_DDEFAIL = 29, SE_ERR_DDEBUSY = 30,
    SE_ERR_NOASSOC = 31, SE_ERR_DLLNOTFOUND = 32
};

int KitShowCommand(TKitStarterOptions option);
QString KitStarterVerb(TKitStarterOperation operation);
bool KitIsShellError(int instance);
// The folder part of a path (up to and including its last backslash or
// colon) ending in a backslash.
QString KitExploreFolder(const QString& command);

// What is asked of the desktop shell.
struct TKitShellRequest {
    QString Verb;
    QString File;
    QString Parameters;
    QString Directory;
    int Show = 5;
};
// Its answer: the instance result (an error code or above 32) and the
// started process, if any (the starter takes ownership).
struct TKitShellResult {
    int Instance = 33;
    QProcess* Process = nullptr;
};
using TKitShellExecutor = std::function<TKitShellResult(const TKitShellRequest&)>;
// The desktop in place of the shell: programs found on the path (and the
// names that mean the desktop's own tools, such as the calculator) are
// started directly, documents and folders through the desktop's opener.
TKitShellResult KitShellExecute(const TKitShellRequest& request);
// Tests put their own shell in place; an empty function restores the desktop.
void SetKitShellExecutor(TKitShellExecutor executor);
// The program a command names: the desktop calculator for "Calc.exe"
// (the first installed of $VORLIN_CALCULATOR and the known calculators),
// else the command itself looked up on the path; empty when none is found.
QString KitFindProgram(const QString& command);

class TKitStarter : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitStarter(QObject* AOwner = nullptr);
    ~TKitStarter() override;

    TKitStarterOperation StartOperation() const { return m_startOperation; }
    void SetStartOperation(TKitStarterOperation v) { m_startOperation = v; }
    TKitStarterOptions StartOption() const { return m_startOption; }
    void SetStartOption(TKitStarterOptions v) { m_startOption = v; }
    QString Parameters() const { return m_parameters; }
    void SetParameters(const QString& v) { m_parameters = v; }
    QString Command() const { return m_command; }
    void SetCommand(const QString& v) { m_command = v; }
    QString DefaultDir() const { return m_defaultDir; }
    void SetDefaultDir(const QString& v) { m_defaultDir = v; }
    bool Wait() const { return m_wait; }
    void SetWait(bool v) { m_wait = v; }
    bool AutoStart() const { return m_autoStart; }
    void SetAutoStart(bool v);
    TKitDateTime* StartTime() const { return m_startTime; }
    void SetStartTime(const TKitDateTime* v) { m_startTime->Assign(v); }

    int LastError() const { return m_lastError; }
    std::uint16_t StartTimerIdent() const { return m_startTimer; }
    std::uint16_t PollTimerIdent() const { return m_pollTimer; }
    QProcess* Process() const { return m_process; }

    TNotifyEvent OnError;
    TNotifyEvent OnFinished;
    TNotifyEvent OnBeforeStart;
    TNotifyEvent OnAfterStart;

    void Execute();
    void CheckStartTime(TObject* Sender);
    void CheckProcessFinished(TObject* Sender);

private:
    void removeTimer(std::uint16_t& ident);
    void releaseProcess();

    TKitStarterOperation m_startOperation = smOpen;
    TKitStarterOptions m_startOption = soSW_SHOW;
    QString m_parameters;
    QString m_command;
    QString m_defaultDir;
    int m_lastError = 0;
    bool m_autoStart = false;
    bool m_wait = false;
    TKitDateTime* m_startTime;
    std::uint16_t m_pollTimer = 0;
    std::uint16_t m_startTimer = 0;
    QPointer<QProcess> m_process;
};
