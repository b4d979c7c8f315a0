// The windows as a student meets them on a real desktop: an X server with
// the openbox window manager (tests/desktop/on_desktop.sh).  What the window
// manager reports is read with the desktop's own tools (xprop, xwininfo),
// and the programs themselves are started as processes where it is their
// ending that matters.

#include "bridge/kalvernstart.h"
#include "bridge/resbridge.h"
#include "exercises/apsignal.h"
#include "exercises/condosc.h"
#include "exercises/damposc.h"
#include "exercises/lissajou.h"
#include "scope/tubeview.h"
#include "shell/labbase.h"
#include "shell/selvar.h"
#include "shell/showvars.h"
#include "shell/start.h"
#include "support/testutil.h"

#include <QCursor>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

// Titles in failure messages as text.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString Tool(const QString& program, const QStringList& args, int timeoutMs = 5000)
{
    QProcess p;
    // xdotool reads commands from its input unless that is at an end.
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// xprop writes the bytes of a string it cannot show as octal escapes.
QString Unescape(const QString& quoted)
{
    QByteArray out;
    const QByteArray in = quoted.toUtf8();
    for (int i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 1 < in.size()) {
            if (i + 3 < in.size() && in[i + 1] >= '0' && in[i + 1] <= '7') {
                out.append(char(in.mid(i + 1, 3).toInt(nullptr, 8)));
                i += 3;
            } else {
                out.append(in[++i]);
            }
        } else {
            out.append(in[i]);
        }
    }
    return QString::fromUtf8(out);
}

// The window's title as the window manager reads it; null when it has none.
QString WmName(WId id)
{
    const QString out = Tool("xprop", {"-id", QString::number(id), "-notype", "_NET_WM_NAME"});
    const int a = out.indexOf('"'), b = out.lastIndexOf('"');
    if (a < 0 || b <= a)
        return QString();
    return Unescape(out.mid(a + 1, b - a - 1));
}

bool Viewable(WId id)
{
    return Tool("xwininfo", {"-id", QString::number(id)}).contains("IsViewable");
}

// The window with its frame on the screen, once the window manager has
// framed it; empty before.
QRect FrameOnScreen(WId id)
{
    const QString ext = Tool("xprop", {"-id", QString::number(id), "-notype", "_NET_FRAME_EXTENTS"});
    const QRegularExpressionMatch e =
        QRegularExpression(R"(=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+))").match(ext);
    const QString info = Tool("xwininfo", {"-id", QString::number(id)});
    auto field = [&](const char* name) {
        const QRegularExpressionMatch m = QRegularExpression(QString(name) + R"(:\s*(-?\d+))").match(info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    if (!e.hasMatch() || !info.contains("IsViewable"))
        return {};
    const int l = e.captured(1).toInt(), r = e.captured(2).toInt(), t = e.captured(3).toInt(),
              b = e.captured(4).toInt();
    return QRect(field("Absolute upper-left X") - l, field("Absolute upper-left Y") - t, field("Width") + l + r,
                 field("Height") + t + b);
}

// Waits until the window manager has framed the window and left it where
// it is: the same frame twice in a row.
QRect SettledFrame(WId id)
{
    QRect last, now;
    (void)QTest::qWaitFor(
        [&] {
            last = now;
            now = FrameOnScreen(id);
            return now.isValid() && now == last;
        },
        5000);
    return now;
}

QRect SettledFrame(QWidget* w)
{
    return SettledFrame(w->winId());
}

QRect ScreenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// What the close button of the window's title bar does: the window manager
// is asked to close the window.
[[maybe_unused]] void AskToClose(WId id)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* c = x11->connection();
    const char* name = "_NET_CLOSE_WINDOW";
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    ASSERT_NE(r, nullptr);
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(id);
    ev.type = r->atom;
    ev.data.data32[1] = 2;  // asked for by the user (a pager's request)
    std::free(r);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
}

// A visible window of a process whose title begins with `title`.
[[maybe_unused]] WId FindWindow(qint64 pid, const QString& title)
{
    const QString pattern = "^" + QRegularExpression::escape(title);
    WId found = 0;
    (void)QTest::qWaitFor(
        [&] {
            const QStringList ids =
                Tool("xdotool", {"search", "--all", "--onlyvisible", "--pid", QString::number(pid), "--name", pattern})
                    .split('\n', Qt::SkipEmptyParts);
            found = ids.isEmpty() ? 0 : ids.first().toULong();
            return found != 0;
        },
        10000);
    return found;
}

} // namespace

TEST(Desktop, WindowTitlesAreTheCaptionsAlone)
{
    Application->SetTitle("Изучение электронного осциллографа");
    auto titleOf = [](QWidget* w) {
        QString name;
        (void)QTest::qWaitFor([&] { return (name = WmName(w->winId())) == w->windowTitle(); }, 3000);
        return name;
    };
    {
        TStartForm start(nullptr);
        start.ShowForm();
        EXPECT_EQ(titleOf(&start), QString("Лабораторные работы по физике"));
    }
    {
        kalvern::TStartForm start(nullptr);
        start.ShowForm();
        EXPECT_EQ(titleOf(&start), QString("Мост Уитстона"));
    }
    {
        TDampOscForm lab(nullptr);
        lab.ShowForm();
        EXPECT_EQ(titleOf(&lab), QString("Затухающие колебания"));
    }
    {
        TResBridgeForm lab(nullptr);
        lab.SetVariant(12);
        lab.ShowForm();
        EXPECT_EQ(titleOf(&lab), QString("Мост Уитстона - Вариант 12"));
    }
    {
        TSelVarForm variant(nullptr);
        variant.ShowForm();
        EXPECT_EQ(titleOf(&variant), QString("Выбор варианта"));
    }
    {
        TShowVarsForm table(nullptr);
        table.ShowForm();
        EXPECT_EQ(titleOf(&table), QString("Варианты заданий для преподавателя"));
        std::unique_ptr<TForm> rx = TResBridgeForm::CreateVariantsForm();
        rx->ShowForm();
        EXPECT_EQ(titleOf(rx.get()), QString("Значения Rx для разных вариантов"));
    }
    // A message box with an empty title (the calculator's error) has none.
    auto saved = Application->MessageBoxHook;
    Application->MessageBoxHook = nullptr;
    QString boxTitle = "(no box)";
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !Viewable(box->winId()))
            return;
        boxTitle = WmName(box->winId());
        QTest::keyClick(box, Qt::Key_Return);
    });
    look.start(20);
    Application->MessageBox("Не удалось запустить калькулятор Windows.", "", MB_OK);
    look.stop();
    Application->MessageBoxHook = saved;
    EXPECT_EQ(boxTitle, QString(""));
}

TEST(Desktop, LaboratoryWindowsLieWithinTheScreenFrameAndAll)
{
    const QRect area = ScreenArea();
    std::vector<std::function<TLabBaseForm*()>> makers = {
        [] { return new TTubeViewForm(nullptr); },  [] { return new TAPSignalForm(nullptr); },
        [] { return new TLissajouForm(nullptr); },  [] { return new TDampOscForm(nullptr); },
        [] { return new TCondOscForm(nullptr); },   [] { return new TResBridgeForm(nullptr); },
    };
    for (auto& make : makers) {
        std::unique_ptr<TLabBaseForm> f(make());
        SCOPED_TRACE(f->Caption().toStdString());
        f->ShowForm();
        const QRect frame = SettledFrame(f.get());
        EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                          << frame.height();
        // It fills the work area, and its status bar is on the screen.
        EXPECT_GE(frame.width() * frame.height(), area.width() * area.height() * 9 / 10);
        const QPoint barBottom = f->StatusBar->mapToGlobal(QPoint(0, f->StatusBar->Height() - 1));
        EXPECT_LT(barBottom.y(), area.bottom() + 1);
    }
}

TEST(Desktop, StartFormsAndTheVariantDialogAreCentredWithTheirFrame)
{
    const QRect area = ScreenArea();
    auto expectCentred = [&](TForm& f) {
        f.ShowForm();
        const QRect frame = SettledFrame(&f);
        ASSERT_TRUE(frame.isValid());
        EXPECT_GT(frame.height(), f.height());  // framed by the window manager
        EXPECT_LE(std::abs((frame.left() - area.left()) - (area.right() - frame.right())), 1);
        EXPECT_LE(std::abs((frame.top() - area.top()) - (area.bottom() - frame.bottom())), 1);
    };
    TStartForm start(nullptr);
    expectCentred(start);
    kalvern::TStartForm bridgeStart(nullptr);
    expectCentred(bridgeStart);
    TSelVarForm variant(nullptr);
    expectCentred(variant);
}

TEST(Desktop, TubeViewShowsTheNameOfThePartUnderTheCursor)
{
    TTubeViewForm f(nullptr);
    f.SetDataSource(nullptr);
    f.ShowForm();
    (void)SettledFrame(&f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.isActiveWindow(); }, 3000));
    // A point of the tube's screen in the view.
    QPoint onScreen(-1, -1);
    for (int y = 0; y < f.View->Height() && onScreen.x() < 0; y += 8)
        for (int x = f.View->Width() - 1; x >= 0 && onScreen.x() < 0; x -= 8)
            if (f.Tube->RegionAt(QPoint(x, y)) == 12)
                onScreen = QPoint(x, y);
    ASSERT_GE(onScreen.x(), 0);
    auto statusAfterMovingTo = [&](QWidget* w, QPoint p, const QString& expected) {
        QCursor::setPos(w->mapToGlobal(p));
        (void)QTest::qWaitFor([&] { return f.StatusBar->SimpleText() == expected; }, 3000);
        return f.StatusBar->SimpleText();
    };
    EXPECT_EQ(statusAfterMovingTo(f.View, onScreen, "Экран осциллографа (вид изнутри)"),
              "Экран осциллографа (вид изнутри)");
    EXPECT_EQ(statusAfterMovingTo(f.kVert, QPoint(f.kVert->Width() / 2, f.kVert->Height() / 2),
                                  "Управление напряжением на вертикальных отклоняющих пластинах"),
              "Управление напряжением на вертикальных отклоняющих пластинах");
}

#if defined(LAB_VORLIN_PROGRAM) && defined(LAB_KALVERN_PROGRAM)
// Closing the start form with its title-bar button while the variant
// dialog is up: the program either goes on with its windows or ends, never
// runs on without a window.  Then, the dialog cancelled, the close ends it.
TEST(Desktop, ClosingTheStartFormUnderTheVariantDialogLeavesNoProcessBehind)
{
    struct Program {
        const char* path;
        QStringList args;
        QString start;
        QPoint button;  // the button that asks for the variant, in the start form
    };
    const Program programs[] = {
        {LAB_VORLIN_PROGRAM, {"1"}, "Лабораторные работы по физике", QPoint(122 + 208, 337 + 20)},
        {LAB_KALVERN_PROGRAM, {}, "Мост Уитстона", QPoint(120 + 208, 336 + 20)},
    };
    for (const Program& p : programs) {
        SCOPED_TRACE(p.path);
        QProcess program;
        struct Ender {
            QProcess& p;
            ~Ender()
            {
                if (p.state() != QProcess::NotRunning) {
                    p.kill();
                    p.waitForFinished();
                }
            }
        } ender{program};
        program.start(p.path, p.args);
        ASSERT_TRUE(program.waitForStarted());
        const WId start = FindWindow(program.processId(), p.start);
        ASSERT_NE(start, 0u);
        // Clicked once the window is in place and has the activation.
        const QRect frame = SettledFrame(start);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Tool("xdotool", {"getactivewindow"}).trimmed() == QString::number(start); }, 5000));
        const QString info = Tool("xwininfo", {"-id", QString::number(start)});
        const int x = QRegularExpression(R"(Absolute upper-left X:\s*(-?\d+))").match(info).captured(1).toInt();
        const int y = QRegularExpression(R"(Absolute upper-left Y:\s*(-?\d+))").match(info).captured(1).toInt();
        ASSERT_TRUE(frame.contains(QPoint(x, y)));
        Tool("xdotool", {"mousemove", QString::number(x + p.button.x()), QString::number(y + p.button.y()), "click",
                        "1"});
        const WId dialog = FindWindow(program.processId(), "Выбор варианта");
        ASSERT_NE(dialog, 0u);

        AskToClose(start);
        const bool ended = program.waitForFinished(700);
        if (!ended) {
            EXPECT_TRUE(Viewable(start));
            EXPECT_TRUE(Viewable(dialog));
            Tool("xdotool", {"key", "--window", QString::number(dialog), "Escape"});
            (void)QTest::qWaitFor([&] { return !Viewable(dialog); }, 5000);
            AskToClose(start);
            EXPECT_TRUE(program.waitForFinished(5000));
        }
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}
#endif
