// The windows as a student meets them on a real desktop: an X server with
// the openbox window manager (tests/desktop/on_desktop.sh).  What the window
// manager reports is read with the desktop's own tools (xprop, xwininfo),
// and the programs themselves are started as processes where it is their
// ending that matters.

#include "bridge/kalvernstart.h"
#include "components/testenv.h"
#include "bridge/resbridge.h"
#include "exercises/apsignal.h"
#include "exercises/condosc.h"
#include "exercises/damposc.h"
#include "exercises/works.h"
#include "exercises/lissajou.h"
#include "scope/tubeview.h"
#include "shell/labbase.h"
#include "shell/selvar.h"
#include "shell/showvars.h"
#include "controls/zonzoff.h"
#include "exercises/lcrcont.h"
#include "platform/help.h"
#include "platform/stdctrls.h"
#include "scope/s1_73.h"
#include "shell/start.h"
#include "support/realboxes.h"
#include "support/testutil.h"

#include <QAbstractNativeEventFilter>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdio>
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

// Why the program is not on a desktop of its own (an X server with a window
// manager, which its script makes); empty when it is.
const char* OffItsDesktop()
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        return "it is not on the X platform (QT_QPA_PLATFORM is not xcb)";
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const char* why = nullptr;
    if (xcb_connection_has_error(c)) {
        why = "no X server answers on DISPLAY";
    } else {
        const char name[] = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t* a =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_get_property_reply_t* p =
            a && a->atom ? xcb_get_property_reply(
                               c, xcb_get_property(c, 0, root, a->atom, XCB_ATOM_WINDOW, 0, 1), nullptr)
                         : nullptr;
        if (!p || xcb_get_property_value_length(p) == 0)
            why = "no window manager runs on the X server";
        std::free(p);
        std::free(a);
    }
    xcb_disconnect(c);
    return why;
}

// Started alone, every check would fail and Qt's first X request would
// crash; the program says how it is run instead, before anything starts.
[[maybe_unused]] const bool g_onItsDesktop = [] {
    if (const char* why = OffItsDesktop()) {
        std::fprintf(stderr,
                     "test_desktop: %s.\n"
                     "Its checks need a desktop of their own; run them by\n"
                     "  ctest --test-dir build -R '^desktop$' --output-on-failure\n"
                     "or\n"
                     "  tests/desktop/on_desktop.sh build/tests/desktop/test_desktop [--gtest_filter=...]\n",
                     why);
        std::exit(1);
    }
    return true;
}();

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

std::uint32_t Atom(const char* name)
{
    xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const std::uint32_t a = r ? r->atom : 0;
    std::free(r);
    return a;
}

// What the close button of the window's title bar does: the window manager
// is asked to close the window.
void AskToClose(WId id)
{
    xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(id);
    ev.type = Atom("_NET_CLOSE_WINDOW");
    ev.data.data32[1] = 2;  // asked for by the user (a pager's request)
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

WId Active()
{
    return Tool("xdotool", {"getactivewindow"}).trimmed().toULong();
}

void ClickAt(QPoint global)
{
    Tool("xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

// Where a window lies in the stack of windows, counted from the bottom.
int StackPlace(WId id)
{
    return Tool("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"})
        .indexOf(QRegularExpression(QString("0x%1\\b").arg(id, 0, 16)));
}

// Sees an event of the X server for a window reach the program: a press of
// the mouse (Qt takes it through the input extension: a generic event of
// type 4, the window at byte 24) or the window manager's request to close
// it (a client message: the window at byte 4, the protocol at byte 12).
// The window manager lets a click through when it has done what a click
// does (raise the window, give it the activation).
class XEventWatch : public QAbstractNativeEventFilter {
public:
    XEventWatch(WId w, bool close) : m_window(w), m_close(close ? Atom("WM_DELETE_WINDOW") : 0)
    {
        qApp->installNativeEventFilter(this);
    }
    ~XEventWatch() override { qApp->removeNativeEventFilter(this); }
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* b = static_cast<const unsigned char*>(message);
        auto at = [b](int i) {
            std::uint32_t v = 0;
            std::memcpy(&v, b + i, sizeof v);
            return v;
        };
        const int type = b[0] & 0x7f;
        m_seen = m_seen || (m_close ? type == XCB_CLIENT_MESSAGE && at(4) == m_window && at(12) == m_close
                                    : type == XCB_GE_GENERIC && (at(8) & 0xffff) == 4 && at(24) == m_window);
        return false;
    }
    // Waits until the event has come and the program has handled it.
    bool Handled()
    {
        const bool came = QTest::qWaitFor([this] { return m_seen; }, 10000);
        QCoreApplication::processEvents();
        return came;
    }

private:
    std::uint32_t m_window, m_close;
    bool m_seen = false;
};

// Opens a modal form over `blocked`, and while it is up clicks on `blocked`
// at `click` and has the window manager ask `blocked` and `other` to close:
// the modal form stays in front with the keyboard, `blocked` keeps its look
// (its part `look`, which the modal form leaves uncovered), and neither
// window closes.
void ExpectModalStaysInFront(TForm& blocked, QPoint click, QRect look, TForm& other,
                             const std::function<void()>& openModal)
{
    blocked.ShowForm();
    (void)SettledFrame(&blocked);
    ASSERT_TRUE(QTest::qWaitFor([&] { return blocked.isActiveWindow(); }, 5000));
    const QRect lookOnScreen(blocked.mapToGlobal(look.topLeft()), look.size());
    auto grab = [&] {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, lookOnScreen.x(), lookOnScreen.y(), look.width(), look.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage before = grab();
    bool checked = false;
    QTimer::singleShot(0, [&] {
        TForm* modal = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TForm*>(w); f && f->IsModal())
                modal = f;
        if (!modal)
            return;
        struct End {
            TForm* f;
            ~End() { f->SetModalResult(mrCancel); }
        } end{modal};
        ASSERT_FALSE(SettledFrame(modal).intersects(lookOnScreen));
        XEventWatch press(blocked.winId(), false);
        ClickAt(blocked.mapToGlobal(click));
        EXPECT_TRUE(press.Handled());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return StackPlace(modal->winId()) > StackPlace(blocked.winId()) && Active() == modal->winId(); }, 5000))
            << "the window under the modal form came in front of it, or kept the keyboard";
        EXPECT_TRUE(grab() == before) << "the blocked window changed its look";
        for (TForm* f : {&blocked, &other}) {
            XEventWatch close(f->winId(), true);
            AskToClose(f->winId());
            EXPECT_TRUE(close.Handled() && f->isVisible()) << f->Caption().toStdString() << " closed";
        }
        checked = true;
    });
    openModal();
    EXPECT_TRUE(checked);
}

} // namespace

TEST(Desktop, AModalFormStaysInFrontOfTheWindowsItBlocksWhichKeepTheirLookAndTakeNoClose)
{
    TForm other;
    other.SetCaption("Другое окно");
    other.SetBounds(1000, 40, 200, 100);  // out of the modal forms' way
    other.ShowForm();
    kalvern::TStartForm start(nullptr);
    ExpectModalStaysInFront(start, QPoint(40, 400), QRect(16, 72, 600, 24), other,
                            [&] { start.bResBridge->Click(); });
    // Once the modal form has gone, a window closes.
    AskToClose(start.winId());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !start.isVisible(); }, 10000));
    TResBridgeForm bench(nullptr);
    bench.SetVariant(3);
    bench.ShowForm();  // laid out on the screen before its parts are named
    (void)SettledFrame(&bench);
    ExpectModalStaysInFront(bench, QPoint(bench.width() / 2, bench.height() - 60),
                            QRect(bench.StatusBar->mapTo(&bench, QPoint()), bench.StatusBar->size()), other,
                            [&] { bench.bShowVars->Click(); });
}

TEST(Desktop, ASwitchClickedToLeaveARefusedEntryStaysOff)
{
    TDampOscForm lab(nullptr);
    lab.ShowForm();
    (void)SettledFrame(&lab);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lab.isActiveWindow(); }, 5000));
    QLineEdit* field = lab.Circuit->edL->LineEdit();
    lab.Circuit->edL->SetFocus();
    field->selectAll();
    QTest::keyClicks(field, "q");
    testutil::RealMessageBoxes boxes;
    TzcSingleOnOff* power = lab.Scope->cbPower;
    ClickAt(power->mapToGlobal(QPoint(power->Width() - 20, power->Height() / 2)));
    EXPECT_TRUE(boxes.awaitFocusIn(field, 1));
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_FALSE(lab.Scope->PowerOn);
}

// Set by the keyboard from the window's first control on, the front panel is
// as the student left it when the calculator has been closed.
TEST(Desktop, TheFrontPanelKeepsItsSettingsOverTheCalculator)
{
    testutil::ScopedEnv calc("VORLIN_CALCULATOR", "xfontsel");
    TAPSignalForm lab(nullptr);
    QTimer::singleShot(0, [&] {
        struct End { TForm& f; ~End() { f.SetModalResult(mrCancel); } } end{lab};
        ASSERT_TRUE(QTest::qWaitFor([&] { return lab.isActiveWindow(); }, 10000));
        // Time base, gain to 0.2 V/div, the two shifts, power.
        Tool("xdotool", QStringList{"key", "Tab"} + QStringList(7, "Right") + QStringList{"Tab", "Tab", "Tab"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == lab.Scope->cbPower; }, 10000));
        Tool("xdotool", {"key", "space"});
        QProcess student;  // closes the calculator once it is up
        student.start("sh", {"-c", "timeout 60 xdotool search --sync --onlyvisible --name '^xfontsel$' windowkill"});
        ClickAt(lab.bCalculator->mapToGlobal(QPoint(20, 12)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return student.state() == QProcess::NotRunning && lab.isVisible(); }, 60000));
        EXPECT_TRUE(lab.Scope->PowerOn && lab.Scope->VoltsPerDiv == 0.2);
    });
    lab.ShowModal();
}

TEST(Desktop, QtsOwnTextsReadInRussian)
{
    ASSERT_TRUE(LoadQtTranslation());
    TEdit edit;
    std::unique_ptr<QMenu> menu(edit.LineEdit()->createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text().remove('&').section('\t', 0, 0);
    EXPECT_TRUE(texts.contains("Копировать")) << texts.join(", ").toStdString();
}

TEST(Desktop, WindowTitlesAreTheCaptionsAlone)
{
    Application->SetTitle("Изучение электронного осциллографа");
    TStartForm start(nullptr, VorlinWorks());
    kalvern::TStartForm bridgeStart(nullptr);
    TDampOscForm lab(nullptr);
    TResBridgeForm bridge(nullptr);
    bridge.SetVariant(12);
    TSelVarForm variant(nullptr);
    TShowVarsForm table(nullptr);
    std::unique_ptr<TForm> rx = TResBridgeForm::CreateVariantsForm();
    const std::pair<TForm*, QString> windows[] = {
        {&start, "Лабораторные работы по физике"},  {&bridgeStart, "Мост Уитстона"},
        {&lab, "Затухающие колебания"},             {&bridge, "Мост Уитстона - Вариант 12"},
        {&variant, "Выбор варианта"},               {&table, "Варианты заданий для преподавателя"},
        {rx.get(), "Значения Rx для разных вариантов"},
    };
    for (const auto& [f, title] : windows) {
        f->ShowForm();
        QString name;
        (void)QTest::qWaitFor([&] { return (name = WmName(f->winId())) == title; }, 5000);
        EXPECT_EQ(name, title);
        f->HideForm();
    }
    // A message box with an empty title (the calculator's error) has none;
    // a title has room in openbox's font beside its icon and buttons.
    auto saved = Application->MessageBoxHook;
    Application->MessageBoxHook = nullptr;
    QString boxTitle = "(no box)";
    int room = 0;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !Viewable(box->winId()))
            return;
        look.stop();
        boxTitle = WmName(box->winId());
        const QRect frame = SettledFrame(box->winId());
        room = frame.width() - 5 * (frame.height() - box->height());
        QTest::keyClick(box, Qt::Key_Return);
    });
    for (const QString& title : {QString(""), Application->Title()}) {
        look.start(20);
        Application->MessageBox("Не удалось запустить калькулятор Windows.", title, MB_OK);
        EXPECT_EQ(boxTitle, title);
    }
    Application->MessageBoxHook = saved;
    EXPECT_GE(room, QFontMetrics(QFont("Sans", 8, QFont::Bold)).horizontalAdvance(Application->Title()));
}

// Kalvern's training bench opens with the focus in the Rx field, whose text
// typing replaces.
TEST(Desktop, TypingIntoTheTrainingRxReplacesItsText)
{
    TResBridgeForm bench(nullptr);
    bench.SetVariant(0);
    bench.ShowForm();
    QLineEdit* rx = bench.edRx->LineEdit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bench.isActiveWindow() && rx->hasFocus(); }, 10000));
    Tool("xdotool", {"type", "470"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return rx->text() == "470"; }, 10000)) << rx->text().toStdString();
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

// The work's topic (F1, the help buttons) and an instrument's (the help
// pointer) are both readable, and the tool strip stays clickable.
TEST(Desktop, HelpWindowsStandBesideEachOtherClearOfTheToolStrip)
{
    Help::CloseAll();
    TResBridgeForm bench(nullptr);
    bench.ShowForm();
    (void)SettledFrame(&bench);
    const QRect strip(bench.panControls->mapToGlobal(QPoint()), bench.panControls->size());
    ASSERT_TRUE(Help::Show(nullptr, "Kalvern.hlp", HELP_CONTEXT, 101));
    (void)SettledFrame(Help::Viewer("main"));
    ASSERT_TRUE(Help::Show(nullptr, "Kalvern.hlp>LabPtr", HELP_CONTEXT, 13010));
    // Framed, a window may be put right once more.
    QRect work, device;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            work = FrameOnScreen(Help::Viewer("main")->winId());
            device = FrameOnScreen(Help::Viewer("LabPtr")->winId());
            return ScreenArea().contains(work) && ScreenArea().contains(device) && !work.intersects(device) &&
                   !work.intersects(strip) && !device.intersects(strip);
        },
        5000))
        << work.x() << "," << work.y() << " " << work.width() << "x" << work.height() << "; " << device.x() << ","
        << device.y() << " " << device.width() << "x" << device.height();
    Help::CloseAll();
}

// The student reads the topic while working: a click on the bench's ground
// gives the bench the keyboard and leaves the topic in front of it.
TEST(Desktop, HelpStaysInFrontOfTheBenchClickedToWorkOn)
{
    Help::CloseAll();
    const QString savedFile = Application->HelpFile;
    Application->HelpFile = "Kalvern.hlp";
    TResBridgeForm bench(nullptr);
    bench.SetVariant(0);
    bool checked = false;
    QTimer::singleShot(0, [&] {
        struct End { TForm& f; ~End() { f.SetModalResult(mrCancel); } } end{bench};
        ASSERT_TRUE(QTest::qWaitFor([&] { return bench.isActiveWindow(); }, 10000));
        (void)SettledFrame(&bench);
        Tool("xdotool", {"key", "F1"});
        QTextBrowser* help = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return (help = Help::Viewer("main")) && Viewable(help->winId()) && Active() == help->winId(); },
            10000));
        ClickAt(bench.mapToGlobal(QPoint(bench.width() / 4, bench.panControls->Height() + 20)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Active() == bench.winId() && bench.isActiveWindow(); }, 10000))
            << "the bench did not take the keyboard";
        EXPECT_GT(StackPlace(help->winId()), StackPlace(bench.winId())) << "the topic went behind the bench";
        EXPECT_TRUE(Viewable(help->winId()));
        checked = true;
    });
    bench.ShowModal();
    EXPECT_TRUE(checked);
    Help::CloseAll();
    Application->HelpFile = savedFile;
}

TEST(Desktop, StartFormsAndTheVariantDialogAreCentredWithTheirFrame)
{
    const QRect area = ScreenArea();
    // Shown again and again, a form stays where it was first put.
    auto expectCentred = [&](TForm& f) {
        QRect first;
        for (int shown = 0; shown < 3; ++shown) {
            f.ShowForm();
            const QRect frame = SettledFrame(&f);
            f.HideForm();
            if (shown == 0)
                first = frame;
            EXPECT_EQ(frame, first) << f.Caption().toStdString() << ", shown " << shown + 1 << " times";
        }
        ASSERT_TRUE(first.isValid());
        EXPECT_GT(first.height(), f.height());  // framed by the window manager
        EXPECT_LE(std::abs((first.left() - area.left()) - (area.right() - first.right())), 1);
        EXPECT_LE(std::abs((first.top() - area.top()) - (area.bottom() - first.bottom())), 1);
    };
    TStartForm start(nullptr, VorlinWorks());
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
// The programs as a student starts them: the variant dialog comes from the
// start form (in Kalvern by Enter on the fresh form, whose first control has
// the focus); the dialog cancelled, or Kalvern's bench it opens closed again
// (a second Enter or Space does not), closing the start form ends the program.
TEST(Desktop, TheProgramsAskForTheVariantAndEndWithTheStartForm)
{
    struct Program {
        const char* path;
        QStringList args;
        QString start;
        QPoint button;  // the button that asks for the variant; none: Enter
        QString lab;    // the window the dialog's Enter opens; none: Escape
    };
    const Program programs[] = {
        {LAB_VORLIN_PROGRAM, {"1"}, "Лабораторные работы по физике", QPoint(122 + 208, 337 + 20), {}},
        {LAB_KALVERN_PROGRAM, {}, "Мост Уитстона", QPoint(), "Мост Уитстона - Вариант 1"},
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
        // Used once the window is in place and has the activation.
        const QRect frame = SettledFrame(start);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == start; }, 10000));
        const QString info = Tool("xwininfo", {"-id", QString::number(start)});
        const int x = QRegularExpression(R"(Absolute upper-left X:\s*(-?\d+))").match(info).captured(1).toInt();
        const int y = QRegularExpression(R"(Absolute upper-left Y:\s*(-?\d+))").match(info).captured(1).toInt();
        ASSERT_TRUE(frame.contains(QPoint(x, y)));
        if (p.button.isNull())
            Tool("xdotool", {"key", "Return"});
        else
            ClickAt(QPoint(x, y) + p.button);
        const WId dialog = FindWindow(program.processId(), "Выбор варианта");
        ASSERT_NE(dialog, 0u);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == dialog; }, 10000));
        Tool("xdotool", {"key", p.lab.isEmpty() ? "Escape" : "Return"});
        if (const WId lab = p.lab.isEmpty() ? 0 : FindWindow(program.processId(), p.lab)) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == lab; }, 10000));
            Tool("xdotool", {"key", "Return", "space", "F1"});  // help comes once the keys before it are handled
            ASSERT_NE(FindWindow(program.processId(), "Справка"), 0u) << "the bench took a key as a close";
            EXPECT_TRUE(Viewable(lab));
            AskToClose(lab);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Viewable(dialog) && Viewable(start); }, 10000));
        AskToClose(start);
        EXPECT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}

// Beside the start form, which the student can move, the work's topic opens
// clear of the form and goes behind it at a click on it, also when the form
// is back from the laboratory form, in front of which the topic stays.
TEST(Desktop, HelpBesideTheStartFormGoesBehindItButStaysInFrontOfTheWork)
{
    auto ClickIn = [](WId id, QPoint p) {
        Tool("xdotool", {"mousemove", "--window", QString::number(id), QString::number(p.x()),
                         QString::number(p.y()), "click", "1"});
    };
    QProcess vorlin;
    vorlin.start(LAB_VORLIN_PROGRAM, {"3"});
    struct Ender { QProcess& p; ~Ender() { p.kill(); p.waitForFinished(); } } ender{vorlin};
    const WId start = FindWindow(vorlin.processId(), "Лабораторные работы по физике");
    const QRect form = SettledFrame(start);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == start; }, 10000));
    ClickIn(start, QPoint(432, 396));  // «Порядок выполнения»
    const WId help = FindWindow(vorlin.processId(), "Справка");
    ASSERT_NE(help, 0u);
    EXPECT_FALSE(SettledFrame(help).intersects(form)) << "the topic covers the start form";
    auto expectFormInFront = [&](const char* when) {
        ClickIn(start, QPoint(40, 400));
        EXPECT_TRUE(QTest::qWaitFor([&] { return StackPlace(start) > StackPlace(help); }, 10000)) << when;
    };
    expectFormInFront("the topic stays in front of the start form");
    ClickIn(start, QPoint(330, 309));  // «Затухающие колебания»
    const WId lab = FindWindow(vorlin.processId(), "Затухающие колебания");
    EXPECT_TRUE(QTest::qWaitFor([&] { return lab && StackPlace(help) > StackPlace(lab); }, 10000))
        << "the topic is behind the laboratory form";
    AskToClose(lab);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Active() == start; }, 10000));
    expectFormInFront("the topic stays in front of the start form come back");
}
#endif
