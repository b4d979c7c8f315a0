#pragma once
// Real message boxes in place of the recorded ones, so that the activation
// moves away from the window and back as it does for a user.  Each box is
// answered with a key as soon as it is up, and its text is kept.

#include "platform/forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace testutil {

class RealMessageBoxes {
public:
    explicit RealMessageBoxes(Qt::Key key = Qt::Key_Return) : m_answer(key)
    {
        m_window = QGuiApplication::focusWindow();
        m_watch = QObject::connect(qApp, &QGuiApplication::focusWindowChanged, [this](QWindow* w) {
            if (w && !isBox(w))
                m_window = w;
        });
        m_saved = Application->MessageBoxHook;
        Application->MessageBoxHook = nullptr;
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }
    ~RealMessageBoxes()
    {
        QObject::disconnect(m_watch);
        Application->MessageBoxHook = m_saved;
    }
    RealMessageBoxes(const RealMessageBoxes&) = delete;
    RealMessageBoxes& operator=(const RealMessageBoxes&) = delete;

    QStringList texts;

    // Whether `count` boxes have come and gone and the focus is in `field`
    // again, waiting for it within a generous deadline.
    bool awaitFocusIn(QWidget* field, int count)
    {
        const auto done = [&] { return texts.size() >= count && !QApplication::activeModalWidget(); };
        return QTest::qWaitFor([&] { return done() && QApplication::focusWidget() == field; }, 30000);
    }

private:
    static bool isBox(QWindow* w)
    {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->windowHandle() == w)
                return qobject_cast<QMessageBox*>(t) != nullptr;
        return false;
    }
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_answered) {
            // The window manager gives the activation back to the window
            // that had it; headless, nobody does.
            if (!box && !QGuiApplication::focusWindow() && m_window)
                m_window->requestActivate();
            return;
        }
        m_answered = box;
        texts << box->text();
        QTest::keyClick(box, m_answer);
    }
    Qt::Key m_answer;
    QTimer m_timer;
    QPointer<QMessageBox> m_answered;
    QPointer<QWindow> m_window;
    QMetaObject::Connection m_watch;
    std::function<int(const QString&, const QString&, unsigned)> m_saved;
};

} // namespace testutil
