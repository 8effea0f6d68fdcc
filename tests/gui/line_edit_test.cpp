#include "platform/gui/line_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <memory>
#include <string>
#include <vector>

#include "gui/line_edit_input.h"
#include "gui/pump.h"
#include "platform/gui/window.h"

using plat::LineEdit;
using plat::Window;
using plat::WindowKind;
using Log = std::vector<std::wstring>;

namespace {

// Logs "commit:text", "cancel:text", "focus:1" and "focus:0"; may destroy the edit on Enter.
struct EditLog : plat::LineEditHandler {
    Log calls;
    std::unique_ptr<LineEdit>* destroyOnCommit = nullptr;

    void OnCommit(LineEdit& edit) override {
        calls.push_back(L"commit:" + edit.GetText());
        if (destroyOnCommit)
            destroyOnCommit->reset();
    }
    void OnCancel(LineEdit& edit) override { calls.push_back(L"cancel:" + edit.GetText()); }
    void OnFocus(LineEdit&, bool gained) override {
        calls.push_back(gained ? L"focus:1" : L"focus:0");
    }
};

void Key(LineEdit& edit, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(edit.NativeWidget(), &press);
}

class LineEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.Move(CRect(0, 0, 200, 60));
        window.Show(true);
        Pump();
    }
    Window window{WindowKind::TopLevel};
};

TEST_F(LineEditTest, ComposesKoreanAndReportsKeysAndFocus) {
    EditLog log;
    LineEdit edit(window);
    LineEdit other(window);
    edit.SetHandler(&log);
    EXPECT_FALSE(edit.IsVisible()) << "hidden until shown";
    edit.Move(CRect(110, 30, 10, 8)); // reversed
    EXPECT_EQ(edit.GetWindowRect(), CRect(10, 8, 110, 30));
    edit.Show();
    other.Show();
    edit.SetText(L"12");
    edit.SetFocus();
    Pump();
    EXPECT_FALSE(edit.IsModified());

    Key(edit, Qt::Key_3, "3");
    orvo::test::SendComposed(edit, L"삼성");
    EXPECT_EQ(edit.GetText(), L"123삼성");
    EXPECT_TRUE(edit.IsModified());
    Key(edit, Qt::Key_Enter);
    Key(edit, Qt::Key_Escape);
    other.SetFocus();
    Pump();
    EXPECT_EQ(log.calls, (Log{L"focus:1", L"commit:123삼성", L"cancel:123삼성", L"focus:0"}));

    edit.SetMaxLength(2);
    edit.SetText(L"abcd");
    EXPECT_EQ(edit.GetText(), L"ab");
    EXPECT_FALSE(edit.IsModified());
}

TEST_F(LineEditTest, MayBeDestroyedInItsOwnHandlerWhileFocused) {
    EditLog log;
    auto edit = std::make_unique<LineEdit>(window);
    log.destroyOnCommit = &edit;
    edit->SetHandler(&log);
    edit->Show();
    edit->SetFocus();
    Pump();
    Key(*edit, Qt::Key_Return);
    EXPECT_EQ(edit, nullptr);
    Pump();
    EXPECT_EQ(log.calls, (Log{L"focus:1", L"commit:"})) << "no focus loss from a dying edit";
}

} // namespace
