#include "platform/forms.h"
#include "platform/numtext.h"
#include "platform/stdctrls.h"
#include "support/globals.h"
#include "support/realboxes.h"
#include "support/testutil.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// A key handler that fails has had the key: the control does not run it a
// second time, and the failure is shown once.
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
    ed->LineEdit()->setFocus();
    QTest::keyClick(ed->LineEdit(), Qt::Key_Return);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(messages, 1);
}

// However an entry is refused (by leaving the field with Tab or a click, or
// by Enter), the field has the focus back with its whole text selected, so
// that what is typed next replaces it.
TEST(EditKeys, TypingAfterARefusedEntryReplacesIt)
{
    const std::pair<const char*, std::function<void(TEdit&, TEdit&)>> refusals[] = {
        {"Tab", [](TEdit& ed, TEdit&) { QTest::keyClick(ed.LineEdit(), Qt::Key_Tab); }},
        {"click", [](TEdit& ed, TEdit& other) { testutil::clickAt(ed.window(), other.mapTo(ed.window(), QPoint(5, 5))); }},
        {"Enter", [](TEdit& ed, TEdit&) { QTest::keyClick(ed.LineEdit(), Qt::Key_Return); }},
    };
    for (const auto& [way, refuse] : refusals) {
        SCOPED_TRACE(way);
        TForm form(nullptr);
        auto* ed = new TEdit(&form);
        auto* other = new TEdit(&form);
        other->SetBounds(0, 30, 80, 21);
        ed->OnExit = [ed](TObject*) { (void)StrToFloat(ed->Text()); };
        ed->OnKeyDown = [ed](TObject*, std::uint16_t& key, TShiftState) {
            if (key == VK_RETURN)
                (void)StrToFloat(ed->Text());
        };
        testutil::RealMessageBoxes boxes;
        form.show();
        QApplication::setActiveWindow(&form);
        ed->SetFocus();
        QTest::keyClicks(ed->LineEdit(), "abc");
        refuse(*ed, *other);
        ASSERT_TRUE(boxes.awaitFocusIn(ed->LineEdit(), 1));
        QTest::keyClicks(ed->LineEdit(), "55");
        EXPECT_EQ(ed->Text().toStdString(), "55");
    }
}
