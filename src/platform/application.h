#pragma once
// The application object: the program's forms, the main form whose closing
// ends the program, its exception handler, message box and help, and the
// QApplication that hands every event through that handler.

#include "platform/controls.h"

#include <QApplication>
#include <functional>
#include <vector>

class TForm;

// Help commands of the help engine.
enum : unsigned { HELP_CONTEXT = 1, HELP_QUIT = 2, HELP_CONTENTS = 3, HELP_CONTEXTPOPUP = 8, HELP_WM_HELP = 12 };

// Message box of the application: returns the button pressed (mrOk...).
enum : unsigned { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNO = 4, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40 };

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& e)>;

class TApplication : public QObject {
    Q_OBJECT
public:
    TApplication();
    ~TApplication() override;

    QString Title() const { return m_title; }
    void SetTitle(const QString& t);
    QString HelpFile;

    // The hint under the mouse ("short|long"); OnHint fires when it changes.
    QString Hint() const { return m_hint; }
    void SetHint(const QString& h);
    TNotifyEvent OnHint;
    // Replaces the default handler that shows the message in a box.
    TExceptionEvent OnException;
    void HandleException(const std::exception& e);
    void ShowException(const std::exception& e);

    // Help by context number in the help file's window "main".
    bool HelpContext(int context);
    bool HelpCommand(unsigned command, long long data);

    int MessageBox(const QString& text, const QString& caption, unsigned flags);
    // Stands in for the message box when set (tests answer it).
    std::function<int(const QString& text, const QString& caption, unsigned flags)> MessageBoxHook;

    TForm* MainForm() const { return m_mainForm; }
    // Forms owned by the application are freed when it ends; the first one
    // becomes the main form, whose closing ends the program.
    void AddForm(TForm* f);
    void RemoveForm(TForm* f);
    template <class F, class... A>
    F* CreateForm(F*& ref, A&&... args)
    {
        ref = new F(this, std::forward<A>(args)...);
        return ref;
    }
    void Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    void FreeForms();
    const std::vector<TForm*>& Forms() const { return m_forms; }

    // Arguments after the program name.
    QStringList Arguments() const;
    void SetArguments(const QStringList& args) { m_args = args; m_argsSet = true; }

private:
    bool eventFilter(QObject* o, QEvent* e) override;
    void focusEntered(TControl* c);
    void focusLeft(TControl* c, Qt::FocusReason reason);
    QString m_title;
    QString m_hint;
    TForm* m_mainForm = nullptr;
    std::vector<TForm*> m_forms;
    bool m_terminated = false;
    QStringList m_args;
    bool m_argsSet = false;
};

extern TApplication* Application;

// The QApplication of our programs: exceptions thrown by handlers end in
// the application's exception handler instead of crossing Qt's loop.
class LabApplication : public QApplication {
public:
    LabApplication(int& argc, char** argv);
    ~LabApplication() override;
    bool notify(QObject* receiver, QEvent* e) override;
};

// The texts Qt itself supplies (an entry field's menu, a dialog's buttons)
// in Russian, as on a Russian desktop; without the translation they stay
// as they were.  Returns whether it was found.
bool LoadQtTranslation();

// Runs f; an exception goes to the application's handler.
void Guarded(const std::function<void()>& f);
