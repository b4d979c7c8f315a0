#pragma once
// Help by context number.  A help file name ("Vorlin.hlp") stands for a set
// of HTML topics in the program's resources, :/help/<base name>/<context>.html;
// a ">window" suffix names the viewer window ("main", "LabPtr").  Each named
// window is one viewer that stays usable while modal forms run and stays in
// front of a laboratory form the student works in; beside the start form it
// opens clear of the form where the screen has room.

#include <QString>

class QWidget;
class QTextBrowser;

namespace Help {

struct Request {
    QString file;      // the help file name, without the window suffix
    QString window;    // "main" when none was given
    unsigned command = 0;
    long long context = 0;
    bool found = false; // a topic existed
};

// The engine call: file name "Name.hlp[>window]", command HELP_CONTEXT
// (others are accepted and ignored).  Returns true when a window was shown.
bool Show(QWidget* owner, const QString& fileName, unsigned command, long long data);

// What the engine was last asked, and how often (for tests).
const Request& LastRequest();
int RequestCount();

// The viewer of a named window, if it was opened.
QTextBrowser* Viewer(const QString& window);
// The resource path of a topic, empty if there is none.
QString TopicPath(const QString& helpFile, long long context);
// Closes every viewer (at exit).
void CloseAll();

} // namespace Help
