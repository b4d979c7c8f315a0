#include "platform/help.h"

#include "platform/forms.h"
#include "platform/windowmanager.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QWindow>

#include <algorithm>

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

// The frame of a viewer: its own once it is framed, else another viewer's
// (a laboratory window filling the screen has a thinner one).
QMargins FrameOf(const QTextBrowser* v)
{
    auto framed = [](const QWidget* w) { return w->windowHandle() && !w->windowHandle()->frameMargins().isNull(); };
    if (framed(v))
        return v->windowHandle()->frameMargins();
    for (const QPointer<QTextBrowser>& w : viewers())
        if (w && w->isVisible() && framed(w))
            return w->windowHandle()->frameMargins();
    return WindowManager::FrameMarginsOf(v);
}

// Narrower than this, a line of a page holds too few words to be read.
constexpr int kNarrowest = 300;

// A viewer opens at the bottom of the work area, clear of the tool strip
// along the top of a laboratory window, which fills the screen and may come
// while the viewer is open.  Beside a form that does not fill the screen
// (the start form), it opens in the wider of the spaces left and right of
// the form, narrowed to fit, so that the form's buttons stay in sight; with
// no room there, and over a laboratory window, at the right edge or beside
// a viewer already shown, so that the topic of an instrument does not hide
// the topic of the work.  Smaller screens make it smaller, so that two of
// them fit side by side.
void Place(QTextBrowser* v)
{
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const QMargins frame = FrameOf(v);
    QSize size(std::min(560, area.width() / 2 - frame.left() - frame.right()),
               std::min(480, area.height() * 2 / 3 - frame.top() - frame.bottom()));
    const QWidget* form = FormToOpenBeside();
    const QRect f = form ? form->frameGeometry() : QRect();
    const int left = f.left() - area.left(), right = area.right() - f.right();
    const int roomBeside = form ? std::max(left, right) - frame.left() - frame.right() : 0;
    if (roomBeside >= kNarrowest)
        size.setWidth(std::min(size.width(), roomBeside));
    const QSize outer = size.grownBy(frame);
    int x = area.right() + 1 - outer.width();
    for (const QPointer<QTextBrowser>& other : viewers()) {
        if (!other || other == v || !other->isVisible())
            continue;
        const QRect beside = other->frameGeometry();
        x = beside.left() - outer.width() >= area.left() ? beside.left() - outer.width() : beside.right() + 1;
        x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    }
    if (roomBeside >= kNarrowest)
        x = right >= left ? f.right() + 1 : f.left() - outer.width();
    // Placed by its client area: the window manager keeps a client position
    // given before it has framed the window.
    v->setGeometry(QRect(QPoint(x + frame.left(), area.bottom() + 1 - outer.height() + frame.top()), size));
}

// Until the window manager has framed a new viewer, its frame is taken to
// be that of another window; framed (by its first exposure), a viewer whose
// frame differs is placed again, so that it neither runs off the screen nor
// over its neighbour.
class PlaceOnceFramed : public QObject {
public:
    explicit PlaceOnceFramed(QTextBrowser* v) : QObject(v), m_viewer(v), m_guess(FrameOf(v))
    {
        v->winId();
        v->windowHandle()->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Expose) {
            const QMargins frame = m_viewer->windowHandle()->frameMargins();
            if (!frame.isNull()) {
                o->removeEventFilter(this);
                if (frame != m_guess)
                    Place(m_viewer);
                deleteLater();
            }
        }
        return false;
    }

private:
    QTextBrowser* m_viewer;
    QMargins m_guess;
};
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
        // Minimised, a window kept in front of a form takes the form with it
        // (a laboratory form comes straight back): like a tool window, it
        // asks for no minimise button of its own.
        v->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
        SetUsableOverModal(v);
        v->setAttribute(Qt::WA_DeleteOnClose, false);
        v->setOpenLinks(true);
        Place(v);
        new PlaceOnceFramed(v);
    } else if (!v->isVisible()) {
        // Closed and opened again, it is placed for the form worked in now:
        // the student may have moved the start form, or a laboratory form
        // have come.
        Place(v);
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
    // A student reads the page while working the bench: a click there must
    // not bury it.
    KeepInFrontOfForms(v);
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
