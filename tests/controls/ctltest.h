#pragma once
// A shown, active form for the control tests, and an event log.

#include "platform/forms.h"
#include "support/testutil.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <string>
#include <vector>

namespace ctltest {

class Host : public TForm {
public:
    explicit Host(int w = 320, int h = 240)
    {
        SetBounds(40, 40, w, h);
        SetColor(clBtnFace);
    }
    void activate()
    {
        show();
        QApplication::setActiveWindow(this);
        (void)QTest::qWaitForWindowActive(this, 30000);
    }
};

struct Log {
    std::vector<std::string> items;
    TNotifyEvent note(const std::string& what)
    {
        return [this, what](TObject*) { items.push_back(what); };
    }
    std::string joined() const
    {
        std::string s;
        for (const auto& i : items)
            s += (s.empty() ? "" : " ") + i;
        return s;
    }
    void clear() { items.clear(); }
};

// A key event as the window system sends it; `repeat` marks an automatic
// repeat of a held key.
inline void sendKey(QWidget* w, QEvent::Type type, Qt::Key key, bool repeat = false,
                    Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent e(type, key, mods, text, repeat);
    QApplication::sendEvent(w, &e);
}

} // namespace ctltest
