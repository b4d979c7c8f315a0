#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "components/kitclass.h"

namespace {
// Counts what the watched form gets and what the component sees.
class Watcher : public TKitWndProcComponent {
public:
    using TKitWndProcComponent::TKitWndProcComponent;
    bool WndProc(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            ++seen;
        if (e->type() == QEvent::User + 1)
            return true; // swallowed
        return TKitWndProcComponent::WndProc(e);
    }
    int seen = 0;
};

class Form : public QWidget {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User || e->type() == QEvent::User + 1)
            ++got;
        return QWidget::event(e);
    }
    int got = 0;
};

class OtherKit : public TKitComponent {
public:
    using TKitComponent::TKitComponent;
};
} // namespace

TEST(KitObject, UpdateLockDoesNotNest)
{
    TKitObject o;
    int fired = 0;
    TObject* sender = nullptr;
    o.OnChange = [&](TObject* s) {
        ++fired;
        sender = s;
    };
    o.Change();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(sender, &o);

    o.BeginUpdate();
    o.BeginUpdate();
    o.Change();
    EXPECT_EQ(fired, 1);
    o.EndUpdate(true);
    EXPECT_FALSE(o.Updating());
    EXPECT_EQ(fired, 2);

    o.BeginUpdate();
    o.Change();
    o.EndUpdate(false);
    EXPECT_EQ(fired, 2);

    TKitObject sub;
    sub.OnChange = [&](TObject* s) { o.ObjectChanged(s); };
    sub.Change();
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(sender, &o);

    EXPECT_THROW(o.Assign(&sub), EConvertError);
}

TEST(KitComponent, ChangesAndOwner)
{
    TControl owner;
    auto* c = new TKitComponent(&owner);
    int fired = 0;
    c->OnChange = [&](TObject*) { ++fired; };
    c->BeginUpdate();
    c->ObjectChanged(nullptr);
    c->EndUpdate(true);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(c->OwnerControl(), &owner);
    TKitComponent d(nullptr);
    EXPECT_EQ(d.OwnerControl(), nullptr);
}

TEST(KitWndProcComponent, HooksTheOwnerFormAndLetsGo)
{
    Form form;
    auto* w = new Watcher(&form);
    EXPECT_FALSE(w->Hooked());
    EXPECT_EQ(w->OwnerKind(), 0);
    QEvent ping(QEvent::User);
    QCoreApplication::sendEvent(&form, &ping);
    EXPECT_EQ(w->seen, 0);

    w->Loaded(); // end of reading: hooked
    EXPECT_TRUE(w->Hooked());
    QCoreApplication::sendEvent(&form, &ping);
    EXPECT_EQ(w->seen, 1);
    EXPECT_EQ(form.got, 2);
    QEvent swallowed(QEvent::Type(QEvent::User + 1));
    QCoreApplication::sendEvent(&form, &swallowed);
    EXPECT_EQ(form.got, 2);

    // Disabling calls Deactivate, which unhooks only where a descendant says so.
    w->SetEnabled(false);
    EXPECT_TRUE(w->Hooked());
    w->RestoreHook();
    QCoreApplication::sendEvent(&form, &ping);
    EXPECT_EQ(w->seen, 1);
    w->SetEnabled(true);
    EXPECT_TRUE(w->Hooked());

    // No hook without a window, nor while designing.
    Watcher orphan(nullptr);
    EXPECT_FALSE(orphan.InstallHook());
    Form other;
    Watcher designed(&other);
    designed.SetDesigning(true);
    EXPECT_FALSE(designed.InstallHook());
    designed.setParent(nullptr);

    delete w;
    QCoreApplication::sendEvent(&form, &ping);
    EXPECT_EQ(form.got, 4);
}

TEST(KitWndProcComponent, OneInstancePerForm)
{
    QWidget form;
    new Watcher(&form);
    EXPECT_FALSE(CheckOneInstance(&form, &Watcher::staticMetaObject, false));
    new OtherKit(&form);
    EXPECT_FALSE(CheckOneInstance(&form, &TKitWndProcComponent::staticMetaObject, false));
    new Watcher(&form);
    EXPECT_TRUE(CheckOneInstance(&form, &TKitWndProcComponent::staticMetaObject, false));
    EXPECT_FALSE(CheckOneInstance(&form, nullptr, false));

    // An owner that is no form: wrong, unless it is a data module and allowed.
    QObject dataModule;
    EXPECT_TRUE(CheckOneInstance(&dataModule, &Watcher::staticMetaObject, false));
    EXPECT_FALSE(CheckOneInstance(&dataModule, &Watcher::staticMetaObject, true));
    EXPECT_TRUE(CheckOneInstance(nullptr, &Watcher::staticMetaObject, true));
    QWidget child(&form);
    EXPECT_TRUE(CheckOneInstance(&child, &Watcher::staticMetaObject, true));

    EXPECT_EQ(KitEOneInstError("TKitFormFill", 0).Message,
              "TKitFormFill:\rInvalid owner (<>TForm) or second instance on a form");
    EXPECT_EQ(KitEOneInstError("TKitFormFill", 1).Message,
              "TKitFormFill:\rAlready one TKitFormFill control in this project!");
    EXPECT_EQ(KitEOneInstError("TKitFormFill", 2).Message, "");
}
