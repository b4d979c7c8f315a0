#pragma once
// Walks the windows of a program the way a student asking for help does and
// collects every help context they can open: the help pointer clicked over a
// grid of points and over every visible control of a laboratory window, the
// contexts F1 climbs to from any control, and the help buttons.

#include "platform/forms.h"
#include "platform/help.h"
#include "platform/stdctrls.h"
#include "shell/labbase.h"
#include "support/testutil.h"

#include <QApplication>
#include <QTextBrowser>
#include <QTimer>
#include <functional>
#include <map>
#include <gtest/gtest.h>

namespace helpwalk {

// Context -> where it was first met.
using Contexts = std::map<long long, QString>;

// The visible top-level form other than `except` (a modal form that has
// just opened), or null.
inline TForm* ShownForm(QWidget* except)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TForm*>(w); f && f != except && f->isVisible())
            return f;
    return nullptr;
}

// Runs `act` once `form()` gives a visible form: modal loops are answered
// from the event loop, as a user answers them.
inline void WhenShown(std::function<TForm*()> form, std::function<void(TForm*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, form, act] {
        TForm* f = form();
        if (!f || !f->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(f);
    });
    timer->start();
}

// The context a user action asked the help for, or 0 if it asked nothing.
inline long long Asked(const std::function<void()>& act)
{
    const int before = Help::RequestCount();
    act();
    return Help::RequestCount() == before ? 0 : Help::LastRequest().context;
}

inline void Note(Contexts& out, long long ctx, const QString& where)
{
    if (ctx != 0)
        out.emplace(ctx, where);
}

inline QPoint CentreIn(QWidget* top, QWidget* w)
{
    return w->mapTo(top, w->rect().center());
}

// F1 opens the context of the focused control or of the nearest parent
// that has one: every context a control of the window carries.
inline void CarriedContexts(TForm* f, const QString& where, Contexts& out)
{
    Note(out, f->HelpContext(), where);
    for (TControl* c : f->findChildren<TControl*>())
        Note(out, c->HelpContext(), where + " / " + c->Name());
}

// Clicks the visible buttons of `top` with one of `captions`.
inline void ClickButtons(TForm* top, const QStringList& captions, const QString& where, Contexts& out)
{
    for (TControl* c : top->findChildren<TControl*>())
        if (c->isVisible() && captions.contains(c->Caption()))
            Note(out, Asked([&] { testutil::clickAt(top, CentreIn(top, c)); }), where + " / " + c->Caption());
}

// The help pointer over a grid of points and over the middle of every
// visible control: the tool-strip button, then a click on the point.
inline void PointerContexts(TLabBaseForm* f, const QString& where, Contexts& out, int step = 8)
{
    QList<QPoint> points;
    for (int y = step / 2; y < f->height(); y += step)
        for (int x = step / 2; x < f->width(); x += step)
            points << QPoint(x, y);
    for (QWidget* w : f->findChildren<QWidget*>())
        if (w->isVisible())
            points << CentreIn(f, w);
    const QPoint pointer = CentreIn(f, f->bHelpPointer);
    for (QPoint p : points) {
        testutil::clickAt(f, pointer);
        ASSERT_TRUE(f->HelpMode()) << where.toStdString();
        Note(out, Asked([&] { testutil::clickAt(f, p); }),
             QString("%1, help pointer at %2,%3").arg(where).arg(p.x()).arg(p.y()));
        if (f->HelpMode())
            f->SetHelpMode(false); // the click fell on the pointer button itself
    }
}

// All a laboratory window offers: its controls, the help pointer and the
// purpose and procedure buttons.
inline void WalkLab(TLabBaseForm* f, const QString& where, Contexts& out)
{
    testutil::pump();
    CarriedContexts(f, where, out);
    PointerContexts(f, where, out);
    ClickButtons(f, {"Цель работы", "Порядок выполнения"}, where, out);
}

// Each context without a topic in `helpFile`, or whose topic the viewer
// shows without a title, fails with its number and the place it was met.
inline void ExpectTopics(const Contexts& found, const QString& helpFile)
{
    for (const auto& [ctx, where] : found) {
        SCOPED_TRACE(where.toStdString());
        EXPECT_FALSE(Help::TopicPath(helpFile, ctx).isEmpty()) << helpFile.toStdString() << " has no topic " << ctx;
        Help::Show(nullptr, helpFile + ">LabPtr", HELP_CONTEXT, ctx);
        if (QTextBrowser* v = Help::Viewer("LabPtr")) {
            EXPECT_FALSE(v->documentTitle().isEmpty()) << "topic " << ctx << " has no title";
        }
    }
}

} // namespace helpwalk
