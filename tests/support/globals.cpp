#include "support/globals.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.h"
#include "platform/forms.h"
#include "platform/help.h"
#include "platform/registry.h"
#include "support/testutil.h"

namespace testutil {
namespace {

std::vector<std::function<Restorer()>>& snapshots()
{
    static std::vector<std::function<Restorer()>> s;
    return s;
}

// What the platform keeps for the whole program.
void keepPlatformGlobals()
{
    keepGlobal([] {
        return Restorer([hook = Application->MessageBoxHook, help = Application->HelpFile,
                         onException = Application->OnException, onHint = Application->OnHint,
                         title = Application->Title()] {
            Application->MessageBoxHook = hook;
            Application->HelpFile = help;
            Application->OnException = onException;
            Application->OnHint = onHint;
            Application->SetTitle(title);
        });
    });
    keepGlobal([] { return Restorer([locale = QLocale()] { QLocale::setDefault(locale); }); });
    keepGlobal([] {
        return Restorer([version = QCoreApplication::applicationVersion(), args = Application->Arguments()] {
            QCoreApplication::setApplicationVersion(version);
            Application->SetArguments(args);
        });
    });
    keepGlobal([] {
        Clock::Source source = Clock::SetSource({});
        Clock::SetSource(source);
        return Restorer([source] { Clock::SetSource(source); });
    });
    keepGlobal([] { return Restorer([cursor = Screen->Cursor()] { Screen->SetCursor(cursor); }); });
    keepGlobal([] {
        return Restorer([] {
            ReleaseCapture();
            SetCursorPosForTest(nullptr);
            Help::CloseAll();
            messages().clear();
        });
    });
    // The settings start empty for every test: nothing a test stored is
    // read by the next one.
    keepGlobal([] {
        return Restorer([] {
            const QString file = TRegistry::FilePath();
            QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(file);
        });
    });
}

class Keeper : public testing::EmptyTestEventListener {
public:
    explicit Keeper(std::vector<Restorer> restorers) : m_restorers(std::move(restorers)) {}
    // After the fixture is gone, so that its own restoring comes first.
    void OnTestEnd(const testing::TestInfo&) override
    {
        for (auto it = m_restorers.rbegin(); it != m_restorers.rend(); ++it)
            (*it)();
    }

private:
    std::vector<Restorer> m_restorers;
};

} // namespace

void keepGlobal(std::function<Restorer()> snapshot)
{
    snapshots().push_back(std::move(snapshot));
}

void startKeepingGlobals()
{
    keepPlatformGlobals();
    std::vector<Restorer> restorers;
    for (const auto& s : snapshots())
        restorers.push_back(s());
    testing::UnitTest::GetInstance()->listeners().Append(new Keeper(std::move(restorers)));
}

} // namespace testutil
