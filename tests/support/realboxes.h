#pragma once
// Real message boxes in place of the recorded ones, so that the activation
// moves away from the window and back as it does for a user.  Each box is
// answered with a key as soon as it is up, and its text is kept.

#include "platform/forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QThread>
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

    // Whether `count` boxes have been answered and are gone. The answering
    // key hides a box at once, but its loop returns only when control gets
    // back to it, and what the program does once the box is answered (say,
    // selecting the refused text) comes after that: a timer may run in
    // between. A box is gone once its loop has returned, or it is freed.
    bool gone(int count) const
    {
        if (texts.size() < count || (m_answered && QThread::currentThread()->loopLevel() >= m_level))
            return false;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(t) && t->isVisible())
                return false;
        return true;
    }

    // Whether `count` boxes are gone and the keyboard is in `field` again,
    // its window the modal one again if it is modal: where a user's next
    // keys would go.
    bool backIn(QWidget* field, int count) const
    {
        QWidget* modal = field->window()->isModal() ? field->window() : nullptr;
        return gone(count) && QApplication::activeModalWidget() == modal && QApplication::focusWidget() == field;
    }

    // Waits for backIn within a generous deadline.
    bool awaitFocusIn(QWidget* field, int count)
    {
        return QTest::qWaitFor([&] { return backIn(field, count); }, 30000);
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
        // Run from the innermost loop, which is the box's own.
        m_level = QThread::currentThread()->loopLevel();
        texts << box->text();
        QTest::keyClick(box, m_answer);
    }
    Qt::Key m_answer;
    QTimer m_timer;
    QPointer<QMessageBox> m_answered;
    int m_level = 0;
    QPointer<QWindow> m_window;
    QMetaObject::Connection m_watch;
    std::function<int(const QString&, const QString&, unsigned)> m_saved;
};

} // namespace testutil
