#pragma once
// Roots of the component library's non-visual classes: a persistent
// sub-object and a component that report their own changes, a component that
// watches the events of the form that owns it, and the one-per-form check.

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "platform/controls.h"
#include "platform/types.h"

using TKitAboutVar = QString;

// The class library's refusal of an assignment between unrelated classes.
[[noreturn]] void KitAssignError(const QObject* source, const QObject* dest);
// The runtime class name of an object ("nil" for none), as messages show it.
QString KitClassName(const QObject* obj);

// What the library's objects and components share: an OnChange event that
// a change fires unless the update lock is on, and assignment that refuses
// foreign sources.
template <class Base>
class TKitChanging : public Base {
public:
    using Base::Base;

    TNotifyEvent OnChange;

    // Fires OnChange with this object unless the update lock is on.
    virtual void Change()
    {
        if (!m_updateLock && OnChange)
            OnChange(this);
    }
    // The handler an owner gives to the OnChange of its sub-objects.
    virtual void ObjectChanged(TObject*) { Change(); }
    // Not nested: one EndUpdate ends any number of BeginUpdate calls.
    void BeginUpdate() { m_updateLock = true; }
    void EndUpdate(bool DoChange = true)
    {
        m_updateLock = false;
        if (DoChange)
            Change();
    }
    bool Updating() const { return m_updateLock; }

    // Copies the state of `Source`; the base refuses every source.
    virtual void Assign(const QObject* Source) { KitAssignError(Source, this); }

protected:
    bool m_updateLock = false;
};

// A persistent sub-object (bevel, gradient, wave ...) whose owner binds its
// OnChange to its own change handler.
class TKitObject : public TKitChanging<QObject> {
    Q_OBJECT
public:
    TKitObject();
    ~TKitObject() override;
};

// A component (owned through the QObject tree) that reports its changes.
class TKitComponent : public TKitChanging<TComponent> {
    Q_OBJECT
public:
    explicit TKitComponent(QObject* AOwner = nullptr);
    ~TKitComponent() override;

    TKitAboutVar About;

    // The owner, when it is a control.
    TControl* OwnerControl() const;

    // The component state of the class library: being read from form data,
    // or sitting on a form that is being edited. Nothing here edits forms,
    // so designing is only ever switched on by an embedding tool or a test.
    bool IsLoading() const { return m_loading; }
    bool IsDesigning() const { return m_designing; }
    void SetDesigning(bool value) { m_designing = value; }
    // Called when reading the component's form data is over.
    virtual void Loaded();
    void BeginLoading() { m_loading = true; }
    void EndLoading();

protected:
    bool m_loading = false;
    bool m_designing = false;
};

// A component that takes over the events of its owner form: it sits in the
// form's event filter chain in place of a subclassed window procedure.
class TKitWndProcComponent : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitWndProcComponent(QObject* AOwner = nullptr);
    ~TKitWndProcComponent() override;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);

    bool Hooked() const { return m_hooked; }
    bool Destroying() const { return m_destroying; }
    // 1 for an MDI child owner, 2 for an MDI frame owner, 0 otherwise.
    std::uint8_t OwnerKind() const { return m_ownerKind; }

    // The window whose events are taken over; none when the owner is no widget.
    QWidget* OwnerHandle() const;
    bool InstallHook();
    bool RestoreHook();

    void Loaded() override;

    virtual bool MainWindowHook(QEvent* Message);
    virtual void Activate();
    virtual void Deactivate();
    // Sees every event of the owner window. Returning true swallows it (the
    // owner never gets it); the base passes everything on and marks the
    // start of the owner's destruction.
    virtual bool WndProc(QEvent* Message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ownerDestroyed();

    bool m_enabled = true;
    bool m_mainHookWanted = false;
    bool m_mainHooked = false;
    std::uint8_t m_ownerKind = 0;
    bool m_hooked = false;
    bool m_destroying = false;
    QPointer<QWidget> m_hookedWindow;
    QMetaObject::Connection m_destroyConnection;
};

// A unit's one global object: the first start makes it, the matching last
// end frees it, however often the two are called.
template <class T>
class TKitUnitObject {
public:
    constexpr explicit TKitUnitObject(T*& slot) : m_slot(slot) {}
    void Start()
    {
        if (m_refs++ == 0)
            m_slot = new T;
    }
    void End()
    {
        if (m_refs > 0 && --m_refs == 0) {
            delete m_slot;
            m_slot = nullptr;
        }
    }

private:
    T*& m_slot;
    int m_refs = 0;
};

class KitEOneInstError : public Exception {
public:
    KitEOneInstError(const QString& className, std::uint8_t kind);
    static QString MessageFor(const QString& className, std::uint8_t kind);
};

// True (wrong) when `owner` is no form (nor a data module, where allowed) or
// already holds more than one component of `cls`.
bool CheckOneInstance(const QObject* owner, const QMetaObject* cls, bool allowDataModule);
