#include "scope/tubeview.h"

#include "platform/clock.h"
#include "platform/forms.h"
#include "shell/start.h"
#include "support/realboxes.h"
#include "support/testutil.h"

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QPaintEvent>
#include <QScreen>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QSlider>
#include <QStyle>
#include <gtest/gtest.h>

namespace {

struct View {
    Clock::Manual clock{36000.0, 1000.0};
    TTubeViewForm f{nullptr};
    View()
    {
        f.SetBounds(0, 0, 1000, 600);
        f.Show();
        testutil::pump();
        f.Tube->Reset();
    }
};

} // namespace

TEST(TubeView, ManualTrackBarsDeflectThePlates)
{
    View v;
    v.f.SetDataSource(nullptr);
    EXPECT_TRUE(v.f.panManual->Visible());
    double x = 9, y = 9;
    bool vis = false;
    v.f.GetDeflection(x, y, 0, vis);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    EXPECT_TRUE(vis);
    v.f.kHorz->SetPosition(20);
    v.f.kVert->SetPosition(-20);
    v.f.GetDeflection(x, y, 0, vis);
    EXPECT_DOUBLE_EQ(x, 1.0);
    EXPECT_DOUBLE_EQ(y, 1.0);
    // The thumb of the vertical bar stands in its upper half then.
    QSlider* s = v.f.kVert->Slider();
    EXPECT_TRUE(s->invertedAppearance());
    EXPECT_LT(testutil::sliderHandle(s).center().y(), s->height() / 2);
    // Thumbs 20 pixels across the track, as painted; the panel in a single
    // dark border round its raised bevel.
    for (TTrackBar* bar : {v.f.kHorz, v.f.kVert}) {
        const QRect handle = testutil::sliderHandle(bar->Slider());
        EXPECT_EQ(bar->Slider()->orientation() == Qt::Horizontal ? handle.height() : handle.width(), 20);
        EXPECT_TRUE(bar->Slider()->rect().contains(handle));
        EXPECT_EQ(bar->ThumbLength(), 20);
    }
    const QImage pan = v.f.panManual->grab().toImage();
    EXPECT_EQ(pan.pixelColor(0, 0), ToQColor(clWindowFrame));
    EXPECT_EQ(pan.pixelColor(184, 130), ToQColor(clWindowFrame));
    EXPECT_EQ(pan.pixelColor(1, 1), ToQColor(clBtnHighlight));
    EXPECT_EQ(v.f.panManual->AdjustClientRect(), TRect(7, 7, 178, 124));
}

TEST(TubeView, InstrumentModeRunsOnTheScaledClock)
{
    View v;
    std::vector<double> times;
    v.f.SetDataSource([&](double& X, double& Y, double T, bool& Vis) {
        times.push_back(T);
        X = 0;
        Y = 0;
        Vis = true;
    });
    v.f.TimeScale = 0.2;
    EXPECT_FALSE(v.f.panManual->Visible());
    v.f.Tube->Reset();
    v.f.TimerTimer(nullptr);
    v.clock.Advance(0.5);
    v.f.TimerTimer(nullptr);
    ASSERT_FALSE(times.empty());
    EXPECT_DOUBLE_EQ(times.front(), 36000.0 * 0.2);
    EXPECT_DOUBLE_EQ(v.f.Tube->GetElapsed(), 0.5);
}

TEST(TubeView, HintsAndHelpOfTheTubeParts)
{
    View v;
    TVorlinoTube& t = *v.f.Tube;
    auto ask = [&](QPoint local, TControl* c) {
        int ctx = -1;
        QString text = "before";
        v.f.GetHintInfo(v.f.View->ClientToScreen(TPoint::from(local)), true, c, ctx, text);
        return std::make_pair(ctx, text);
    };
    const auto screen = ask(t.ScreenPoint(0, 0), v.f.View);
    EXPECT_EQ(screen.first, 11112);
    EXPECT_EQ(screen.second, QString("Экран осциллографа (вид изнутри)"));
    const auto none = ask(QPoint(2, v.f.View->Height() - 2), v.f.View);
    EXPECT_EQ(none.first, 11001);
    EXPECT_EQ(none.second, QString());
    for (int i = 1; i <= 12; ++i)
        EXPECT_FALSE(TubePartName(i).isEmpty());
    EXPECT_EQ(TubePartName(8), QString("Нижняя пластина вертикального оклонения (ПВО)"));
    // Other controls keep what the form found.
    const auto other = ask(t.ScreenPoint(0, 0), v.f.kHorz);
    EXPECT_EQ(other.first, -1);
    EXPECT_EQ(other.second, QString("before"));
}

TEST(TubeView, SpeedDialogSetsTheInterval)
{
    {
        View v;
        EXPECT_FALSE(v.f.bSpeed->Visible());
    }
    ProctorMode = true;
    View v;
    EXPECT_TRUE(v.f.bSpeed->Visible());
    QString offered;
    TTubeViewForm::InputQueryHook = [&](QString& value) {
        offered = value;
        value = "0";
        return true;
    };
    v.f.bSpeedClick(nullptr);
    EXPECT_DOUBLE_EQ(v.f.Tube->GetShotSecs(), 0.05);
    TTubeViewForm::InputQueryHook = [&](QString& value) {
        value = "abc";
        return true;
    };
    EXPECT_THROW(v.f.bSpeedClick(nullptr), EConvertError);
    EXPECT_DOUBLE_EQ(v.f.Tube->GetShotSecs(), 0.05);
    TTubeViewForm::InputQueryHook = [&](QString& value) {
        value = "1e308";
        return true;
    };
    EXPECT_THROW(v.f.bSpeedClick(nullptr), EConvertError);
    EXPECT_DOUBLE_EQ(v.f.Tube->GetShotSecs(), 0.05);
    TTubeViewForm::InputQueryHook = [&](QString& value) {
        offered = value;
        return false;
    };
    v.f.bSpeedClick(nullptr);
    EXPECT_EQ(offered, QString("0.05"));
    EXPECT_DOUBLE_EQ(v.f.Tube->GetShotSecs(), 0.05);
}

TEST(TubeView, SpeedDialogRefusesABadNumberOnceAndKeepsTheFocusInIt)
{
    ProctorMode = true;
    View v;
    QApplication::setActiveWindow(&v.f);
    testutil::pump();
    v.f.Tube->SetShotSecs(0.4);
    testutil::RealMessageBoxes boxes;
    // Types into the dialog as a user: a bad number first, then a good one.
    int step = 0, waited = 0;
    bool focusKept = false, stayedOpen = false;
    QString title;
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        auto* field = d->findChild<QLineEdit*>();
        if (step == 0) {
            if (QApplication::focusWidget() != field && ++waited < 3000)
                return;  // a user types once the dialog has the keyboard
            title = d->windowTitle();
            field->selectAll();
            QTest::keyClicks(field, "abc");
            QTest::keyClick(field, Qt::Key_Return);
            step = 1;
        } else if (step == 1 && boxes.texts.size() == 1) {
            // Once the box has gone, the field has the focus back (at once
            // on a desktop; headless, when the window is active again) with
            // the refused text selected.
            focusKept = boxes.backIn(field, 1) && field->selectedText() == "abc";
            if (!focusKept && ++waited < 3000)
                return;
            stayedOpen = true;
            QTest::keyClicks(field, "0.2");  // replaces the refused text
            QTest::keyClick(field, Qt::Key_Return);
            step = 2;
        } else if (step == 2 && boxes.texts.size() == 2) {
            d->reject();  // refused again: the text was added to, not replaced
        }
    });
    script.start(10);
    testutil::clickAt(&v.f, v.f.bSpeed->mapTo(&v.f, QPoint(20, 10)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return step == 2 && !QApplication::activeModalWidget(); }, 30000));
    EXPECT_EQ(title, "Настройка быстродействия");
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(focusKept);
    EXPECT_DOUBLE_EQ(v.f.Tube->GetShotSecs(), 0.2);
}

TEST(TubeView, StatusLineLeavesNoRemnantsOfLongerTexts)
{
    View v;
    v.clock.Advance(19.95);
    v.f.TimerTimer(nullptr); // "Время:19.95 с."
    v.clock.Advance(0.05);
    v.f.TimerTimer(nullptr); // "Время:20 с."
    const QImage img = v.f.View->Buffer().Image();
    const int h = img.height();
    int dark = 0;
    for (int x = 75; x < 140; ++x)
        for (int y = h - 16; y < h - 2; ++y)
            dark += qGray(img.pixel(x, y)) < 128;
    EXPECT_EQ(dark, 0);
}

TEST(TubeView, TheWindowShowsEveryFramePuttingThereOnlyWhatChanged)
{
    View v;
    v.f.SetDataSource(nullptr);
    v.f.kHorz->SetPosition(10);
    struct Painted : QObject {
        qint64 area = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                    area += qint64(r.width()) * r.height();
            return false;
        }
    } painted;
    TTubeViewControl* view = v.f.View;
    view->installEventFilter(&painted);
    const int frames = 100;
    for (int i = 0; i < frames; ++i) {
        v.clock.Advance(0.13);
        if (i == 70)
            v.f.kVert->SetPosition(-12);
        v.f.TimerTimer(nullptr);
    }
    EXPECT_LT(painted.area / frames, view->Width() * view->Height() / 5);
    // What the window shows is the last frame, but for the panel on it.
    const QImage shown = v.f.screen()->grabWindow(v.f.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& frame = view->Buffer().Image();
    const QPoint at = view->mapTo(&v.f, QPoint());
    int differ = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            differ += !v.f.panManual->geometry().contains(x, y) && shown.pixel(at + QPoint(x, y)) != frame.pixel(x, y);
    EXPECT_EQ(differ, 0);
}

TEST(TubeView, TheWindowTimerDrivesTheFrames)
{
    TTubeViewForm f(nullptr);
    f.SetDataSource(nullptr);
    f.TimeScale = 1.0;
    f.Show();
    f.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.Tube->FrameCount() > 2; }, 30000));
    EXPECT_GT(f.View->Width(), 0);
    EXPECT_EQ(f.Tube->Width(), f.View->Width());
}

TEST(TubeView, ArrowKeysGoToTheTrackBarsInManualMode)
{
    TTubeViewForm f(nullptr);
    f.SetDataSource(nullptr);
    f.Show();
    f.activateWindow();
    f.bClose->SetFocus();
    auto focusIn = [](TControl* c) { return c->isAncestorOf(QApplication::focusWidget()) || c->hasFocus(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusIn(f.bClose); }, 30000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_TRUE(focusIn(f.kHorz));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_TRUE(focusIn(f.kVert));
    // Driven by the front panel, the arrows do not move the focus.
    f.SetDataSource([](double&, double&, double, bool&) {});
    f.bClose->SetFocus();
    testutil::pump();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_FALSE(focusIn(f.kHorz));
}

TEST(TubeView, TheTeacherSeesTheRegistryErrorAndKeepsTheNewInterval)
{
    ProctorMode = true;
    View v;
    // A settings store that cannot be written: its folder is a plain file.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath("A51370"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    v.f.Tube = std::make_unique<TVorlinoTube>(MakeVorlinographStore(dir.filePath("A51370/registry.ini")));
    v.f.Tube->OnDeflection = [&](double& X, double& Y, double T, bool& Vis) { v.f.GetDeflection(X, Y, T, Vis); };
    v.f.Tube->SetSize(v.f.View->Width(), v.f.View->Height());
    v.f.Tube->Reset();
    TTubeViewForm::InputQueryHook = [](QString& value) {
        value = "0.3";
        return true;
    };
    testutil::messages().clear();
    QTest::mouseClick(v.f.bSpeed, Qt::LeftButton);
    EXPECT_EQ(testutil::messages(), QStringList{"Не удалось записать значение \"ShotSecs\"."});
    EXPECT_DOUBLE_EQ(v.f.Tube->GetShotSecs(), 0.3);
}
