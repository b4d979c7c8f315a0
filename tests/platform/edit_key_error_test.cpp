#include "platform/forms.h"
#include "platform/stdctrls.h"
#include "support/globals.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// A key handler that fails has had the key: the control does not run it a
// second time, and the failure is shown once.  What is typed next replaces
// the refused text.
TEST(EditKeys, FailingKeyHandlerRunsOnce)
{
    TForm form(nullptr);
    auto* ed = new TEdit(&form);
    ed->SetBounds(0, 0, 80, 21);
    int calls = 0, messages = 0;
    ed->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        if (key == VK_RETURN) {
            ++calls;
            throw Exception("bad");
        }
    };
    testutil::ScopedValue hook(Application->MessageBoxHook, [&](const QString&, const QString&, unsigned) {
        ++messages;
        return int(mrOk);
    });
    form.show();
    QApplication::setActiveWindow(&form);
    ed->LineEdit()->setFocus();
    QTest::keyClicks(ed->LineEdit(), "abc");
    QTest::keyClick(ed->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(messages, 1);
    QTest::keyClicks(ed->LineEdit(), "55");
    EXPECT_EQ(ed->Text().toStdString(), "55");
}
