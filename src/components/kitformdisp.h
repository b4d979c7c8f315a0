#pragma once
// A bevel panel that hosts whole forms as borderless child windows on its
// inner rectangle: one shown form, and a list of forms of which one at a
// time is active.

#include <QPointer>
#include <functional>
#include <vector>

#include "components/kitctrl.h"
#include "platform/forms.h"

enum TKitFormDisplayPosition : std::uint8_t {
    fdpTopLeft, fdpTopCenter, fdpTopRight, fdpCenterLeft, fdpCenter, fdpCenterRight,
    fdpBottomLeft, fdpBottomCenter, fdpBottomRight, fdpClient
};

using TKitFormDisplayChangeEvent = std::function<void(TObject* Sender, TForm* NewForm, bool& Cancel)>;
// Makes a form of some class with the given owner.
using TKitFormFactory = std::function<TForm*(QObject* owner)>;

class TKitFormDisplay : public TKitCustomBevelPanel {
    Q_OBJECT
public:
    explicit TKitFormDisplay(QWidget* parent = nullptr);
    ~TKitFormDisplay() override;

    // ---- the shown form ----
    bool ShowForm(TForm* form) { return EmbedForm(form); }
    bool EmbedForm(TForm* form);
    void FreeShownForm();
    TForm* ShownForm() const { return m_shown.data(); }
    QString FormName() const { return m_formName; }
    void SetFormName(const QString& value);
    void ShowFormByName(const QString& name);

    bool UseResForms = false;
    bool SaveResources = false;

    // ---- the list of forms ----
    int AddForm(TForm* form, bool activate);
    // Makes a form through `make` with the display as its owner.
    int AddFormClass(const TKitFormFactory& make, bool activate);
    template <class F>
    int AddFormClass(bool activate)
    {
        return AddFormClass([](QObject* owner) -> TForm* { return new F(owner); }, activate);
    }
    int FormCount() const { return int(m_list.size()); }
    TForm* FormAtIndex(int i) const;
    TForm* CurrentListForm() const { return FormAtIndex(m_active); }
    int ActiveIndex() const { return m_active; }
    void SetActiveIndex(int i);
    void HideActiveForm(TForm* form);

    TKitFormDisplayPosition Position() const { return m_position; }
    void SetPosition(TKitFormDisplayPosition value);

    TNotifyEvent OnChange;
    TKitFormDisplayChangeEvent OnChanging;

    void ObjectChanged(TObject* Sender) override;

protected:
    void AlignControls() override;
    void Resize() override;
    void focusInEvent(QFocusEvent* e) override;

private:
    // Gives a form the hosted window style: a borderless child of the display.
    void host(TForm* form);
    void placeActive();
    void keepInPlace();
    int indexOf(TForm* form) const;

    QPointer<TForm> m_shown;
    QString m_formName;
    std::vector<QPointer<TForm>> m_list;
    // The list forms this display made and owns.
    std::vector<QPointer<TForm>> m_owned;
    int m_active = -1;
    TKitFormDisplayPosition m_position = fdpClient;
    bool m_destroying = false;
};
