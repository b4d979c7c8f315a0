// The signal generator: its setters and its entry panel
// driven with the keyboard and the mouse.

#include "exercises/abstgen.h"

#include "support/testutil.h"

#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <cmath>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;

class Generator : public ::testing::Test {
protected:
    void SetUp() override
    {
        gen = new TAbstGenForm(nullptr);
        gen->OnChange = [this](TObject* s) {
            ++changes;
            EXPECT_EQ(s, gen);
        };
        gen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(gen));
    }
    void TearDown() override
    {
        delete gen;
        QLocale::setDefault(QLocale::c());
    }
    void typeInto(TEdit* e, const QString& text)
    {
        e->LineEdit()->setFocus();
        e->LineEdit()->selectAll();
        QTest::keyClicks(e->LineEdit(), text);
    }
    TAbstGenForm* gen = nullptr;
    int changes = 0;
};

TEST_F(Generator, StartsAsAOneVoltKilohertzSine)
{
    EXPECT_EQ(gen->edA->Text(), "1");
    EXPECT_EQ(gen->edF->Text(), "1000");
    EXPECT_EQ(gen->lbType->ItemIndex(), gwSine);
    EXPECT_EQ(gen->sbP->Position(), 0);
    EXPECT_NEAR(gen->GetValue(0.25e-3), 1.0, 1e-9);
    EXPECT_FALSE(gen->bOK->Enabled());
    EXPECT_FALSE(gen->bCancel->Enabled());
    EXPECT_EQ(gen->FitSize(TPoint(5000, 10)), TPoint(280, 120));
    EXPECT_EQ(gen->ClientWidth(), 280);
    EXPECT_EQ(gen->ClientHeight(), 120);
    EXPECT_EQ(gen->HelpContext(), 12001);
    // "Амплитуда, В" stands a few pixels clear of its field.
    EXPECT_LE(gen->Label3->Left() + gen->Label3->Width() + 4, gen->edA->Left());
}

TEST_F(Generator, SettersClampFrequencyShowValuesAndFireNothing)
{
    gen->SetFrequency(0.01);
    EXPECT_EQ(gen->Frequency, 0.1);
    EXPECT_EQ(gen->edF->Text(), "0.1");
    gen->SetFrequency(2e7);
    EXPECT_EQ(gen->Frequency, 10000000.0);
    EXPECT_EQ(gen->edF->Text(), "10000000");
    gen->SetFrequency(std::nan(""));
    EXPECT_EQ(gen->Frequency, 0.1);
    gen->SetAmplitude(-0.02);
    EXPECT_EQ(gen->Amplitude, -0.02);
    EXPECT_EQ(gen->edA->Text(), "-0.02");
    gen->SetPhase(Pi);
    EXPECT_EQ(gen->sbP->Position(), 16);
    gen->SetPhase(-10);
    EXPECT_EQ(gen->sbP->Position(), -16);
    EXPECT_EQ(gen->Phase, -10);
    gen->SetPhase(Pi / 32);
    EXPECT_EQ(gen->sbP->Position(), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(gen->bOK->Enabled());
}

TEST_F(Generator, EveryTrackBarStepGivesItsOwnPhaseAndStaysPut)
{
    for (int step = -16; step <= 16; ++step) {
        gen->sbP->SetPosition(step);
        EXPECT_EQ(gen->sbP->Position(), step);
        EXPECT_NEAR(gen->Phase, step * Pi / 16, 1e-15);
    }
    EXPECT_EQ(changes, 33);
    // The thumb as painted: 20 pixels across the track, within the bar.
    const QRect thumb = testutil::sliderHandle(gen->sbP->Slider());
    EXPECT_EQ(thumb.height(), 20);
    EXPECT_TRUE(gen->sbP->Slider()->rect().contains(thumb));
}

TEST_F(Generator, PhaseKeysMoveTheThumbAndFireChange)
{
    gen->sbP->Slider()->setFocus();
    QTest::keyClick(gen->sbP->Slider(), Qt::Key_Right);
    EXPECT_EQ(gen->sbP->Position(), 1);
    EXPECT_NEAR(gen->Phase, Pi / 16, 1e-15);
    EXPECT_EQ(changes, 1);
}

TEST_F(Generator, TypingEnablesButtonsAndEnterConfirms)
{
    typeInto(gen->edF, "0");
    EXPECT_TRUE(gen->bOK->Enabled());
    EXPECT_TRUE(gen->bCancel->Enabled());
    EXPECT_EQ(gen->Frequency, 1000.0);
    QTest::keyClick(gen->edF->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(gen->Frequency, 0.1);
    EXPECT_EQ(gen->edF->Text(), "0.1");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(gen->bOK->Enabled());
    EXPECT_FALSE(gen->bCancel->Enabled());
}

TEST_F(Generator, ConfirmByButtonAndByLeavingTheFieldAlike)
{
    typeInto(gen->edA, "2.5");
    testutil::clickAt(gen, gen->bOK->mapTo(gen, QPoint(11, 11)));
    EXPECT_EQ(gen->Amplitude, 2.5);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(gen->bOK->Enabled());

    typeInto(gen->edA, "4");
    // Moving the focus on confirms what was typed.
    gen->edF->LineEdit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(gen->Amplitude, 4.0);
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(gen->bCancel->Enabled());
}

TEST_F(Generator, AnotherWindowTakingTheActivationConfirmsNothing)
{
    typeInto(gen->edA, "abc");
    TForm other(nullptr);
    other.Show();
    QApplication::setActiveWindow(&other);
    testutil::pump();
    EXPECT_TRUE(testutil::messages().isEmpty());
    EXPECT_TRUE(gen->bCancel->Enabled());
    QApplication::setActiveWindow(gen);
    testutil::pump();
    testutil::clickAt(gen, gen->bCancel->mapTo(gen, QPoint(11, 11)));
    EXPECT_EQ(gen->edA->Text(), "1");
    EXPECT_EQ(changes, 0);
}

TEST_F(Generator, CancelRestoresTheStoredValues)
{
    typeInto(gen->edA, "9");
    testutil::clickAt(gen, gen->bCancel->mapTo(gen, QPoint(11, 11)));
    EXPECT_EQ(gen->edF->Text(), "1000");
    EXPECT_EQ(gen->edA->Text(), "1");
    EXPECT_EQ(gen->Amplitude, 1.0);
    EXPECT_FALSE(gen->bOK->Enabled());
    EXPECT_EQ(changes, 0);
}

TEST_F(Generator, BadNumbersRaiseTheConversionErrorFrequencyFirst)
{
    typeInto(gen->edF, "abc");
    EXPECT_THROW(gen->bOkClick(gen), EConvertError);
    EXPECT_EQ(gen->Frequency, 1000.0);
    EXPECT_EQ(changes, 0);

    gen->edF->SetText("250");
    gen->edA->SetText("x");
    EXPECT_THROW(gen->bOkClick(gen), EConvertError);
    EXPECT_EQ(gen->Frequency, 250.0);
    EXPECT_EQ(gen->Amplitude, 1.0);
    EXPECT_EQ(changes, 0);

    // Through the keyboard the error ends in a message box and the form goes on.
    typeInto(gen->edA, "1,5x");
    QTest::keyClick(gen->edA->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(testutil::messages(), QStringList{"\"1,5x\" не является числом."});
    EXPECT_EQ(gen->Amplitude, 1.0);
}

TEST_F(Generator, RussianLocaleShowsAndTakesTheComma)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    gen->SetAmplitude(0.5);
    EXPECT_EQ(gen->edA->Text(), "0,5");
    typeInto(gen->edA, "0,25");
    QTest::keyClick(gen->edA->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(gen->Amplitude, 0.25);
}

TEST_F(Generator, WaveformPickedWithTheMouse)
{
    QRadioButton* square = gen->lbType->Button(gwSquare);
    QTest::mouseClick(square, Qt::LeftButton, {}, QPoint(6, square->height() / 2));
    EXPECT_EQ(gen->lbType->ItemIndex(), gwSquare);
    EXPECT_DOUBLE_EQ(gen->GetValue(0), -1.0);
    testutil::screenshot(gen, "abstgen");
    gen->lbType->SetItemIndex(-1);
    EXPECT_EQ(gen->lbType->ItemIndex(), -1);
    EXPECT_EQ(gen->GetValue(0.3e-3), 0.0);
}

TEST_F(Generator, HiddenEntryPanelLeavesTheWaveformChoice)
{
    gen->panSecret->SetVisible(false);
    QWidget* at = testutil::widgetAt(gen, QPoint(128 + 90, 8 + 10));
    EXPECT_FALSE(at && (at == gen->edF || gen->edF->isAncestorOf(at)));
    EXPECT_TRUE(gen->lbType->isVisible());
    testutil::screenshot(gen, "abstgen_secret");
}

} // namespace
