#include "components/kitformdisp.h"

#include <QApplication>

#include "components/kitprocs.h"
#include "components/kitutils.h"

namespace {

// Gives the keyboard to the form: its active control, else its first
// control that takes the focus, else the form itself.
void focusForm(TForm* form)
{
    if (!form)
        return;
    if (QWidget* w = form->focusWidget(); w && w != form) {
        w->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(form)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    form->setFocus(Qt::OtherFocusReason);
}

void reveal(TForm* form)
{
    form->SetVisible(true);
    focusForm(form);
}

} // namespace

TKitFormDisplay::TKitFormDisplay(QWidget* parent) : TKitCustomBevelPanel(parent)
{
    Bevel()->BeginUpdate();
    Bevel()->SetMode(bmWindows);
    Bevel()->EndUpdate(false);
    applyWindowParams();
}

TKitFormDisplay::~TKitFormDisplay()
{
    m_destroying = true;
    // Forms that others own outlive the display: hand them back as hidden
    // windows instead of letting them go down with it as children.
    auto release = [this](TForm* f) {
        if (!f || f->parentWidget() != this)
            return;
        for (const auto& o : m_owned)
            if (o == f)
                return;
        f->hide();
        f->setParent(nullptr);
    };
    release(m_shown.data());
    for (const auto& f : m_list)
        release(f.data());
    m_list.clear();
}

void TKitFormDisplay::host(TForm* form)
{
    const bool wasHidden = form->isHidden();
    form->setParent(this, Qt::Widget);
    // A fixed-size dialog frame does not apply to a child window.
    form->setMinimumSize(0, 0);
    form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (wasHidden)
        form->hide();
}

bool TKitFormDisplay::EmbedForm(TForm* form)
{
    if (!form)
        throw Exception(QStringLiteral("TKitFormDisplay: Form not instanced!"));
    if (form == m_shown)
        return false;
    FreeShownForm();
    if (m_destroying)
        return false;
    try {
        form->SetVisible(false);
        host(form);
        form->SetBoundsRect(GetInnerRect());
        form->raise();
        m_shown = form;
        m_formName = form->Name();
    } catch (...) {
        reveal(form);
        throw;
    }
    reveal(form);
    return true;
}

void TKitFormDisplay::FreeShownForm()
{
    if (!m_shown)
        return;
    TForm* f = m_shown.data();
    m_shown = nullptr;
    m_formName.clear();
    delete f;
}

void TKitFormDisplay::SetFormName(const QString& value)
{
    if (value == m_formName)
        return;
    if (IsDesigning() || IsLoading()) {
        m_formName = value;
        return;
    }
    ShowFormByName(value);
}

void TKitFormDisplay::ShowFormByName(const QString& name)
{
    if (IsDesigning() || IsLoading())
        return;
    if (IsBlank(name)) {
        FreeShownForm();
        return;
    }
    // The application's forms in their order first, then any other form.
    if (Application)
        for (TForm* f : Application->Forms())
            if (f && f->Name() == name) {
                EmbedForm(f);
                return;
            }
    for (QWidget* w : QApplication::allWidgets())
        if (auto* f = qobject_cast<TForm*>(w); f && f->Name() == name) {
            EmbedForm(f);
            return;
        }
}

int TKitFormDisplay::AddForm(TForm* form, bool activate)
{
    if (!form)
        throw Exception(QStringLiteral("TKitFormDisplay: Form not instanced!"));
    m_list.push_back(form);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBorderIcons(0);
    form->Position = TPosition::poDefault;
    form->SetTabStop(false);
    form->hide();
    host(form);
    const int index = int(m_list.size()) - 1;
    if (activate)
        SetActiveIndex(index);
    return index;
}

int TKitFormDisplay::AddFormClass(const TKitFormFactory& make, bool activate)
{
    TForm* form = make(this);
    m_owned.push_back(form);
    return AddForm(form, activate);
}

TForm* TKitFormDisplay::FormAtIndex(int i) const
{
    if (i < 0 || i >= int(m_list.size()))
        return nullptr;
    return m_list[std::size_t(i)].data();
}

int TKitFormDisplay::indexOf(TForm* form) const
{
    for (std::size_t i = 0; i < m_list.size(); ++i)
        if (m_list[i] == form)
            return int(i);
    return -1;
}

void TKitFormDisplay::HideActiveForm(TForm* form)
{
    if (!form || indexOf(form) != m_active)
        return;
    form->SetAlign(alNone);
    form->SetVisible(false);
    m_active = -1;
}

void TKitFormDisplay::placeActive()
{
    TForm* form = CurrentListForm();
    if (!form)
        return;
    const TRect placed = AlignRect(TKitAlignment(m_position), form->ClientRect(), GetInnerRect());
    form->SetBoundsRect(placed);
}

void TKitFormDisplay::SetActiveIndex(int i)
{
    if (i == m_active)
        return;
    // Indexes past the list are outside the contract: nothing happens.
    if (i < -1 || i >= int(m_list.size()))
        return;
    bool cancel = false;
    if (OnChanging) {
        OnChanging(this, FormAtIndex(i), cancel);
        if (cancel)
            return;
    }
    if (m_active != -1)
        HideActiveForm(CurrentListForm());
    m_active = i;
    if (i == -1)
        return;
    TForm* form = FormAtIndex(i);
    if (!form)
        return;
    try {
        host(form);
        if (m_position == fdpClient) {
            form->SetAlign(alClient);
        } else {
            form->SetAlign(alNone);
            placeActive();
        }
        form->raise();
    } catch (...) {
        reveal(form);
        throw;
    }
    reveal(form);
    if (m_position == fdpClient)
        Realign();
    if (OnChange)
        OnChange(this);
}

void TKitFormDisplay::SetPosition(TKitFormDisplayPosition value)
{
    if (value == m_position)
        return;
    m_position = value;
    if (TForm* form = CurrentListForm())
        form->SetAlign(value == fdpClient ? alClient : alNone);
    Realign();
}

void TKitFormDisplay::AlignControls()
{
    TKitCustomBevelPanel::AlignControls();
    if (IsDesigning())
        return;
    if (!m_list.empty() && CurrentListForm() && m_position != fdpClient)
        placeActive();
}

void TKitFormDisplay::keepInPlace()
{
    if (IsDesigning())
        return;
    if (!m_list.empty() && CurrentListForm())
        Realign();
    else if (m_shown)
        m_shown->SetBoundsRect(GetInnerRect());
}

void TKitFormDisplay::Resize()
{
    TKitCustomBevelPanel::Resize();
    keepInPlace();
}

void TKitFormDisplay::ObjectChanged(TObject* Sender)
{
    TKitCustomBevelPanel::ObjectChanged(Sender);
    if (!IsLoading())
        keepInPlace();
}

void TKitFormDisplay::focusInEvent(QFocusEvent* e)
{
    TKitCustomBevelPanel::focusInEvent(e);
    if (!TabStop())
        return;
    TForm* form = CurrentListForm();
    if (form && form->ActiveControl())
        focusForm(form);
}
