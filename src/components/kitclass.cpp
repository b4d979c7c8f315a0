#include "components/kitclass.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QString KitClassName(const QObject* obj)
{
    return obj ? QString::fromLatin1(obj->metaObject()->className()) : QStringLiteral("nil");
}

void KitAssignError(const QObject* source, const QObject* dest)
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(KitClassName(source), KitClassName(dest)));
}

// ---- TKitObject ----

TKitObject::TKitObject() = default;
TKitObject::~TKitObject() = default;

// ---- TKitComponent ----

TKitComponent::TKitComponent(QObject* AOwner) : TKitChanging<TComponent>(AOwner) {}
TKitComponent::~TKitComponent() = default;

TControl* TKitComponent::OwnerControl() const
{
    return qobject_cast<TControl*>(parent());
}

void TKitComponent::Loaded() {}

void TKitComponent::EndLoading()
{
    m_loading = false;
    Loaded();
}

// ---- TKitWndProcComponent ----

TKitWndProcComponent::TKitWndProcComponent(QObject* AOwner) : TKitComponent(AOwner)
{
    if (auto* form = qobject_cast<QWidget*>(AOwner)) {
        if (qobject_cast<QMdiSubWindow*>(form->parentWidget()))
            m_ownerKind = 1;
        else if (form->findChild<QMdiArea*>(QString(), Qt::FindDirectChildrenOnly))
            m_ownerKind = 2;
    }
}

TKitWndProcComponent::~TKitWndProcComponent()
{
    RestoreHook();
}

QWidget* TKitWndProcComponent::OwnerHandle() const
{
    auto* form = qobject_cast<QWidget*>(parent());
    if (!form)
        return nullptr;
    if (m_ownerKind == 2)
        if (auto* area = form->findChild<QMdiArea*>(QString(), Qt::FindDirectChildrenOnly))
            return area->viewport();
    return form;
}

bool TKitWndProcComponent::InstallHook()
{
    QWidget* window = OwnerHandle();
    if (!window || m_hooked || IsDesigning())
        return false;
    try {
        m_destroying = false;
        if (m_mainHookWanted)
            m_mainHooked = true;
        window->installEventFilter(this);
        m_hookedWindow = window;
        m_destroyConnection = connect(window, &QObject::destroyed, this, [this] { ownerDestroyed(); });
        m_hooked = true;
        return true;
    } catch (const Exception&) {
        RestoreHook();
        return false;
    }
}

bool TKitWndProcComponent::RestoreHook()
{
    if (m_hooked && m_hookedWindow)
        m_hookedWindow->removeEventFilter(this);
    if (m_destroyConnection)
        disconnect(m_destroyConnection);
    m_hookedWindow = nullptr;
    m_hooked = false;
    if (m_mainHookWanted && m_mainHooked)
        m_mainHooked = false;
    m_destroying = false;
    return true;
}

void TKitWndProcComponent::ownerDestroyed()
{
    // The window is going away: nothing of it reaches the owner any more.
    m_destroying = true;
    if (m_ownerKind == 1)
        RestoreHook();
}

void TKitWndProcComponent::Loaded()
{
    TKitComponent::Loaded();
    if (!IsDesigning())
        Activate();
}

bool TKitWndProcComponent::MainWindowHook(QEvent*)
{
    return false;
}

void TKitWndProcComponent::Activate()
{
    if (m_enabled && !m_hooked)
        InstallHook();
}

void TKitWndProcComponent::Deactivate() {}

void TKitWndProcComponent::SetEnabled(bool value)
{
    if (value == m_enabled)
        return;
    m_enabled = value;
    if (IsDesigning())
        return;
    if (value)
        Activate();
    else
        Deactivate();
}

bool TKitWndProcComponent::WndProc(QEvent*)
{
    return false;
}

bool TKitWndProcComponent::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_hooked || watched != m_hookedWindow.data())
        return TKitComponent::eventFilter(watched, event);
    if (m_destroying)
        return true;
    return WndProc(event);
}

// ---- One instance per form ----

QString KitEOneInstError::MessageFor(const QString& className, std::uint8_t kind)
{
    switch (kind) {
    case 0: return className + QStringLiteral(":\rInvalid owner (<>TForm) or second instance on a form");
    case 1: return className + QStringLiteral(":\rAlready one ") + className + QStringLiteral(" control in this project!");
    default: return QString();
    }
}

KitEOneInstError::KitEOneInstError(const QString& className, std::uint8_t kind)
    : Exception(MessageFor(className, kind))
{
}

bool CheckOneInstance(const QObject* owner, const QMetaObject* cls, bool allowDataModule)
{
    if (!owner)
        return true;
    const auto* widget = qobject_cast<const QWidget*>(owner);
    // A form is a top-level widget; a data module is a plain (non-visual) owner.
    const bool isForm = widget && widget->isWindow();
    const bool isDataModule = !widget;
    if (!isForm && !(allowDataModule && isDataModule))
        return true;
    if (!cls)
        return false;
    int count = 0;
    for (const QObject* child : owner->children()) {
        if (child->metaObject()->inherits(cls) && ++count > 1)
            return true;
    }
    return false;
}
