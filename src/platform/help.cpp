#include "platform/help.h"

#include "platform/forms.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPointer>
#include <QTextBrowser>

namespace Help {
namespace {
Request g_last;
int g_count = 0;
QMap<QString, QPointer<QTextBrowser>>& viewers()
{
    static QMap<QString, QPointer<QTextBrowser>> m;
    return m;
}

QString baseName(const QString& helpFile)
{
    return QFileInfo(helpFile).completeBaseName();
}
} // namespace

QString TopicPath(const QString& helpFile, long long context)
{
    QString p = QString(":/help/%1/%2.html").arg(baseName(helpFile)).arg(context);
    return QFile::exists(p) ? p : QString();
}

bool Show(QWidget* owner, const QString& fileName, unsigned command, long long data)
{
    (void)owner;
    Request r;
    int gt = fileName.indexOf('>');
    r.file = gt < 0 ? fileName : fileName.left(gt);
    r.window = gt < 0 ? QString("main") : fileName.mid(gt + 1);
    r.command = command;
    r.context = data;
    ++g_count;
    if (command != HELP_CONTEXT && command != HELP_CONTEXTPOPUP) {
        g_last = r;
        return false;
    }
    QString path = TopicPath(r.file, data);
    r.found = !path.isEmpty();
    g_last = r;

    QPointer<QTextBrowser>& v = viewers()[r.window];
    if (!v) {
        v = new QTextBrowser();
        SetUsableOverModal(v);
        v->setAttribute(Qt::WA_DeleteOnClose, false);
        v->setOpenLinks(true);
        v->resize(560, 480);
    }
    QString title = Application ? Application->Title() : QString();
    v->setWindowTitle(title.isEmpty() ? QString("Справка") : QString("Справка — %1").arg(title));
    if (r.found) {
        v->setSearchPaths({QFileInfo(path).path()});
        v->setSource(QUrl("qrc" + path));
    } else {
        v->setHtml(QString("<h3>Раздел справки не найден</h3><p>В справочном файле «%1» нет раздела с номером %2.</p>")
                       .arg(r.file.toHtmlEscaped())
                       .arg(data));
    }
    // A page changed in a minimised or hidden window would go unseen.
    v->setWindowState((v->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    v->show();
    v->raise();
    v->activateWindow();
    return true;
}

const Request& LastRequest() { return g_last; }
int RequestCount() { return g_count; }

QTextBrowser* Viewer(const QString& window)
{
    return viewers().value(window);
}

void CloseAll()
{
    for (auto& v : viewers())
        delete v.data();
    viewers().clear();
}

} // namespace Help
