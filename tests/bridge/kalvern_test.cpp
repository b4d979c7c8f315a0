#include "bridge/eldevice.h"
#include "bridge/kalvernstart.h"
#include "bridge/resbridge.h"
#include "controls/mekknob.h"
#include "platform/help.h"
#include "shell/selvar.h"
#include "shell/startlook.h"
#include "support/testutil.h"

#include <QCoreApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using kalvern::TStartForm;

namespace {

// Runs `step` on the event loop each time the form it waits for is shown,
// so that modal loops can be answered as a user would.
class Answerer {
public:
    void Then(std::function<TForm*()> form, std::function<void(TForm*)> act)
    {
        m_steps.push_back({std::move(form), std::move(act)});
    }
    void Start()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_next >= m_steps.size())
                return;
            TForm* f = m_steps[m_next].form();
            if (f && f->isVisible()) {
                auto act = m_steps[m_next].act;
                ++m_next;
                act(f);
            }
        });
        m_timer.start();
    }
    size_t Done() const { return m_next; }

private:
    struct Step {
        std::function<TForm*()> form;
        std::function<void(TForm*)> act;
    };
    std::vector<Step> m_steps;
    size_t m_next = 0;
    QTimer m_timer;
};

TForm* SelVar() { return TStartForm::SelVarForm(); }
TForm* Bridge() { return TStartForm::ResBridgeForm(); }

} // namespace

TEST(KalvernStart, TeacherModeOnlyFromTheExactFirstArgument)
{
    const struct {
        QStringList args;
        bool proctor;
    } cases[] = {
        {{}, false}, {{"/Proctor"}, true}, {{"/proctor"}, false}, {{"x", "/Proctor"}, false}, {{"/Proctor", "x"}, true},
    };
    for (const auto& c : cases) {
        Application->SetArguments(c.args);
        TStartForm f(nullptr);
        EXPECT_EQ(kalvern::ProctorMode, c.proctor) << c.args.join(" ").toStdString();
    }
}

TEST(KalvernStart, LooksLikeTheStartForm)
{
    TStartForm f(nullptr);
    EXPECT_EQ(f.Caption(), "Мост Уитстона");
    EXPECT_EQ(f.ClientWidth(), 632);
    EXPECT_EQ(f.ClientHeight(), 453);
    EXPECT_EQ(f.bResBridge->Caption(), "Определение неизвестного сопротивления");
    f.show();
    testutil::pump();
    testutil::screenshot(&f, "kalvern_start");
}

TEST(KalvernStart, GradientTitleAndVersionLine)
{
    QCoreApplication::setApplicationVersion("1.0.0.3");
    {
        TStartForm f(nullptr);
        EXPECT_EQ(f.VerInfo->RetrieveFilename(), "");
        EXPECT_EQ(f.txtVersion->Caption(), "1.0.0.3");
        EXPECT_EQ(f.KitLabel3->Caption(), "Мост Уитстона");
        f.show();
        testutil::pump();
        testutil::ExpectStartFormLook(&f, f.KitFormFill1, f.KitLabel3, "kalvern_start_fittings");
    }
    // No file version: the line stays empty.
    QCoreApplication::setApplicationVersion("");
    {
        TStartForm f(nullptr);
        EXPECT_EQ(f.txtVersion->Caption(), "");
    }
}

TEST(KalvernStart, HelpButtonsOpenPurposeProcedureAndDialogTopics)
{
    Application->HelpFile = "Kalvern.hlp";
    TStartForm f(nullptr);
    f.bPurposeClick(nullptr);
    EXPECT_EQ(Help::LastRequest().context, 101);
    EXPECT_TRUE(Help::LastRequest().found);
    f.bInstructClick(nullptr);
    EXPECT_EQ(Help::LastRequest().context, 102);
    EXPECT_TRUE(Help::LastRequest().found);
    for (int ctx : {103, 13001, 13004, 13005, 13006, 13007, 13008, 13009, 13010, 13011})
        EXPECT_FALSE(Help::TopicPath("Kalvern.hlp", ctx).isEmpty()) << ctx;
}

TEST(KalvernStart, VariantDialogOpensTheExerciseAndKeepsItsState)
{
    Application->SetArguments({"/Proctor"});
    Application->HelpFile = "Kalvern.hlp";
    TStartForm f(nullptr);
    f.show();

    // Cancel: nothing opens.
    {
        Answerer a;
        a.Then(SelVar, [](TForm* d) { d->SetModalResult(mrCancel); });
        a.Start();
        f.bResBridgeClick(nullptr);
        EXPECT_EQ(a.Done(), 1u);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(Bridge()->isVisible());
    }
    // Training: caption, entry panel, the teacher's button; the dialog's
    // help opens topic 103.
    {
        Answerer a;
        QString caption;
        bool entry = false, teacher = false, startHidden = false;
        a.Then(SelVar, [](TForm* d) {
            static_cast<TSelVarForm*>(d)->bHelpClick(nullptr);
            d->SetModalResult(TSelVarForm::mrTraining);
        });
        a.Then(Bridge, [&](TForm* b) {
            auto* rb = static_cast<TResBridgeForm*>(b);
            caption = rb->Caption();
            entry = rb->panSecret->isVisible();
            teacher = rb->bShowVars->isVisible();
            startHidden = !f.isVisible();
            rb->R1()->Knob()->SetPosition(2);
            rb->SetModalResult(mrCancel);
        });
        a.Start();
        f.bResBridgeClick(nullptr);
        EXPECT_EQ(a.Done(), 2u);
        EXPECT_EQ(Help::LastRequest().context, 103);
        EXPECT_EQ(caption, "Мост Уитстона - Тренировка");
        EXPECT_TRUE(entry);
        EXPECT_TRUE(teacher);
        EXPECT_TRUE(startHidden);
        EXPECT_TRUE(f.isVisible());
    }
    // Variant 12 on the same forms: the knob kept its place.
    {
        Answerer a;
        QString caption;
        int r1 = -1;
        a.Then(SelVar, [](TForm* d) {
            auto* sv = static_cast<TSelVarForm*>(d);
            sv->edVar->SetText("12");
            d->SetModalResult(mrOk);
        });
        a.Then(Bridge, [&](TForm* b) {
            auto* rb = static_cast<TResBridgeForm*>(b);
            caption = rb->Caption();
            r1 = rb->R1()->Knob()->Position();
            rb->SetModalResult(mrCancel);
        });
        a.Start();
        f.bResBridgeClick(nullptr);
        EXPECT_EQ(caption, "Мост Уитстона - Вариант 12");
        EXPECT_EQ(r1, 2);
    }
}
