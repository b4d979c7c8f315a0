// The Lissajous-figure work: variants, sampling matched to the two
// generators, the four wires, and the figure on the screen.

#include "exercises/lissajou.h"

#include "exercises/signalvariants.h"
#include "exercises/teachertable.h"
#include "signallab.h"

#include "platform/numtext.h"
#include "shell/showvars.h"
#include "shell/start.h"

#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>
#include <numbers>

namespace {

using Lab = SignalLab<TLissajouForm>;

TEST(Lissajous, VariantSetsTheStudiedGeneratorAndTheSampling)
{
    Lab lab;
    TLissajouForm& f = lab.f;
    EXPECT_EQ(f.Caption(), "Фигуры Лиссажу");
    f.SetVariant(0);
    EXPECT_EQ(f.Caption(), "Определение частоты сигнала - Тренировка");
    EXPECT_TRUE(f.StudiedGenerator->panSecret->Visible());
    EXPECT_EQ(f.StudiedGenerator->Frequency, 40000.0);
    EXPECT_EQ(f.StudiedGenerator->Amplitude, 3.0);
    EXPECT_EQ(f.ComparisonGenerator->Frequency, 1000.0);
    EXPECT_EQ(f.Scope->GetSampleCount(), 400);
    EXPECT_NEAR(f.Scope->SampleInterval, 2.6e-6, 1e-18);

    f.SetVariant(12);
    EXPECT_EQ(f.Caption(), "Определение частоты сигнала - Вариант 12");
    EXPECT_FALSE(f.StudiedGenerator->panSecret->Visible());
    EXPECT_TRUE(f.ComparisonGenerator->panSecret->Visible());
    EXPECT_EQ(f.StudiedGenerator->Amplitude, 0.8);
    EXPECT_EQ(f.StudiedGenerator->Frequency, 40000.0);
    // The comparison generator keeps what the student set.
    EXPECT_EQ(f.ComparisonGenerator->Amplitude, 1.0);
    EXPECT_EQ(f.ComparisonGenerator->lbType->ItemIndex(), gwSine);
    // Y is the signal under study, X the comparison signal.
    EXPECT_DOUBLE_EQ(f.Scope->OnYSignal(0.25 / 40000), 0.8);
    EXPECT_NEAR(f.Scope->OnXSignal(0.25 / 1000), 1.0, 1e-12);
}

TEST(Lissajous, EntriesAndPhaseMovesOfEitherGeneratorRetuneTheSampling)
{
    Lab lab;
    TLissajouForm& f = lab.f;
    f.SetVariant(0);
    // The comparison generator tuned to 40 kHz with the keyboard.
    QLineEdit* edF = f.ComparisonGenerator->edF->LineEdit();
    edF->setFocus();
    edF->selectAll();
    QTest::keyClicks(edF, "40000");
    QTest::keyClick(edF, Qt::Key_Return);
    EXPECT_EQ(f.ComparisonGenerator->Frequency, 40000.0);
    EXPECT_NEAR(f.Scope->SampleInterval, 0.06 / 40000, 1e-18);

    f.Scope->SetSampleCount(7);
    QSlider* phase = f.StudiedGenerator->sbP->Slider();
    phase->setFocus();
    QTest::keyClick(phase, Qt::Key_Right);
    EXPECT_EQ(f.Scope->GetSampleCount(), 400);

    f.Scope->SetSampleCount(7);
    QSlider* phase2 = f.ComparisonGenerator->sbP->Slider();
    phase2->setFocus();
    QTest::keyClick(phase2, Qt::Key_Left);
    EXPECT_EQ(f.Scope->GetSampleCount(), 400);
}

TEST(Lissajous, FourWiresReachTheSocketsAndBothGenerators)
{
    Lab lab;
    TLissajouForm& f = lab.f;
    for (QSize size : {QSize(1280, 1024), QSize(1024, 768)}) {
        SCOPED_TRACE(size.width());
        lab.Resize(size.width(), size.height());
        const int top = f.dispOsc->Top() + f.dispOsc->Height() + 30;
        EXPECT_EQ(f.dispG1->BoundsRect(), Bounds(10, top, 280, 120));
        EXPECT_EQ(f.dispG2->BoundsRect(), Bounds(f.ClientWidth() / 2 + 5, top, 280, 120));
        ASSERT_EQ(f.Wires->Wires.size(), 4u);
        EXPECT_EQ(f.Wires->Wires[0]->GetPoint(3).x(), 10);

        auto socket = [&](int i) {
            return f.panWork->ScreenToClient(f.Scope->ClientToScreen(f.Scope->XSockets[i])).q();
        };
        const int e = f.dispG2->Left() + 280;
        const int xr = (std::max(f.dispOsc->Left() + f.dispOsc->Width(), e) + f.ClientWidth()) / 2 + 2;
        const int y2 = top + 60 + 4;
        const TSingleWire& w2 = *f.Wires->Wires[2];
        const TSingleWire& w3 = *f.Wires->Wires[3];
        EXPECT_EQ(w2.GetPoint(0), socket(0));
        EXPECT_EQ(w2.GetPoint(1), QPoint(xr, socket(0).y()));
        EXPECT_EQ(w2.GetPoint(2), QPoint(xr, y2));
        EXPECT_EQ(w2.GetPoint(3), QPoint(e, y2));
        EXPECT_EQ(w3.GetPoint(0), socket(1));
        EXPECT_EQ(w3.GetPoint(1), QPoint(xr - 4, socket(1).y()));
        EXPECT_EQ(w3.GetPoint(2), QPoint(xr - 4, y2 - 4));
        EXPECT_EQ(w3.GetPoint(3), QPoint(e, y2 - 4));

        const QImage work = f.panWork->grab().toImage();
        EXPECT_TRUE(BlueAt(work, QPoint(xr, (socket(0).y() + y2) / 2)));
        EXPECT_TRUE(BlueAt(work, QPoint((xr - 4 + e) / 2, y2 - 4)));
        const QImage box = f.Scope->pbXInput->grab().toImage();
        const QPoint s1 = f.Scope->pbXInput->mapFrom(f.Scope, f.Scope->XSockets[1].q());
        EXPECT_TRUE(BlueAt(box, s1 + QPoint(3, 0)));

        // The X wires answer for hints with the work's own wire topic.
        int ctx = 0;
        QString text;
        f.GetHintInfo(lab.Screen(QPoint(xr, (socket(0).y() + y2) / 2)), true, f.panWork, ctx, text);
        EXPECT_EQ(ctx, 13102);
        EXPECT_EQ(text, "Провода от генератора к осциллографу");
    }
}

TEST(Lissajous, HiddenSamplingFieldsShowAndSetTheSampling)
{
    Lab lab;
    TLissajouForm& f = lab.f;
    EXPECT_FALSE(f.edDT->Visible());
    EXPECT_FALSE(f.edCnt->Visible());
    f.SetVariant(0);
    f.Hide();
    f.Show();
    testutil::pump();
    // Showing resets the panel but keeps the sampling.
    EXPECT_EQ(f.edCnt->Text(), "400");
    EXPECT_DOUBLE_EQ(StrToFloat(f.edDT->Text()), f.Scope->SampleInterval);
    f.edDT->SetText("0.001");
    f.edCnt->SetText("250");
    f.edDTExit(f.edDT);
    EXPECT_EQ(f.Scope->SampleInterval, 0.001);
    EXPECT_EQ(f.Scope->SampleCount, 250);
    f.edCnt->SetText("many");
    EXPECT_THROW(f.edDTExit(f.edCnt), EConvertError);
}

TEST(Lissajous, EqualFrequenciesDrawAFigureAcrossBothAxes)
{
    Lab lab;
    TLissajouForm& f = lab.f;
    f.SetVariant(0);
    f.StudiedGenerator->SetFrequency(1000);
    f.StudiedGenerator->SetAmplitude(1);
    f.StudiedGenerator->SetPhase(std::numbers::pi / 2);
    f.AdjustSampling(&f);
    f.Hide();
    f.Show();
    testutil::pump();
    lab.PressPower();
    // The sweep switched off from the keyboard: X comes from the comparison generator.
    TzcLightOnOff* scan = f.Scope->cbScan;
    scan->SetFocus();
    QTest::keyClick(scan, Qt::Key_Space);
    ASSERT_FALSE(f.Scope->SweepOn());
    lab.Key(f.Scope->GainSwitch, Qt::Key_Home);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(f.Scope->GainSwitch, Qt::Key_Right);
    ASSERT_EQ(f.Scope->VoltsPerDiv, 0.5);
    // Two divisions either way on both axes: a circle 4 divisions across.
    const QRect r = lab.TraceBounds();
    const double ppd = f.Scope->Screen->PixelsPerDiv;
    EXPECT_NEAR(r.width(), 4 * ppd, 4);
    EXPECT_NEAR(r.height(), 4 * ppd, 4);
    testutil::screenshot(&f, "lissajou_circle");
}

TEST(Lissajous, TeacherTableOfTheStudiedSignal)
{
    ProctorMode = true;
    Lab lab;
    TLissajouForm& f = lab.f;
    f.Hide();
    f.Show();
    testutil::pump();
    ASSERT_TRUE(f.bShowVariants->Visible());
    f.SetVariant(0);
    QString table;
    QTimer::singleShot(0, [&] {
        table = ShowVarsForm->txt->Text();
        ShowVarsForm->Close();
    });
    testutil::clickAt(&f, lab.At(f.bShowVariants, QPoint(30, 12)));
    ProctorMode = false;
    EXPECT_EQ(table.split('\n').value(12), " 12\t     40000\t    0.8000");
    EXPECT_TRUE(f.StudiedGenerator->panSecret->Visible());
    EXPECT_EQ(f.Caption(), "Определение частоты сигнала - Тренировка");
    lab.Resize(1280, 1024);
    testutil::screenshot(&f, "lissajou_1280x1024");
}

} // namespace
