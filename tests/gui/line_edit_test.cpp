#include "platform/gui/line_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <memory>
#include <string>
#include <vector>

#include "gui/pump.h"
#include "platform/gui/window.h"

using plat::LineEdit;
using plat::Window;
using plat::WindowKind;

namespace {

struct EditLog : plat::LineEditHandler {
    std::vector<std::wstring> calls; // "commit:text", "cancel:text", "focus:1", "focus:0"
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

// What an input method sends: `preedit` while composing, then `commit`.
void Compose(LineEdit& edit, const QString& preedit, const QString& commit) {
    QInputMethodEvent composing(preedit, {});
    QApplication::sendEvent(edit.NativeWidget(), &composing);
    QInputMethodEvent done;
    done.setCommitString(commit);
    QApplication::sendEvent(edit.NativeWidget(), &done);
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

TEST_F(LineEditTest, TypesAndComposesKoreanThenCommitsOrCancelsByKey) {
    EditLog log;
    LineEdit edit(window);
    edit.SetHandler(&log);
    EXPECT_FALSE(edit.IsVisible()) << "hidden until shown";
    edit.Move(CRect(110, 30, 10, 8)); // reversed
    EXPECT_EQ(edit.GetWindowRect(), CRect(10, 8, 110, 30));
    edit.Show();
    edit.SetText(L"12");
    edit.SetFocus();
    Pump();
    ASSERT_TRUE(edit.HasFocus());

    Key(edit, Qt::Key_3, "3");
    Compose(edit, QString::fromWCharArray(L"삼"), QString::fromWCharArray(L"삼성"));
    EXPECT_EQ(edit.GetText(), L"123삼성");
    Key(edit, Qt::Key_Return);
    Key(edit, Qt::Key_Enter);
    Key(edit, Qt::Key_Escape);
    EXPECT_EQ(log.calls,
              (std::vector<std::wstring>{
                  L"focus:1", L"commit:123삼성", L"commit:123삼성", L"cancel:123삼성"}));

    edit.SetMaxLength(2);
    edit.SetText(L"abcd");
    EXPECT_EQ(edit.GetText(), L"ab");
    edit.SetReadOnly(true);
    Key(edit, Qt::Key_X, "x");
    EXPECT_EQ(edit.GetText(), L"ab");
}

TEST_F(LineEditTest, LosingTheFocusIsReported) {
    EditLog log;
    LineEdit first(window);
    LineEdit second(window);
    first.SetHandler(&log);
    first.Show();
    second.Show();
    first.SetFocus();
    Pump();
    second.SetFocus();
    Pump();
    EXPECT_EQ(log.calls, (std::vector<std::wstring>{L"focus:1", L"focus:0"}));
    EXPECT_TRUE(second.HasFocus());
}

TEST_F(LineEditTest, MayBeDestroyedInItsOwnHandlerOrWhileFocused) {
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

    // Focused and destroyed from outside: no call reaches the handler afterwards.
    log.calls.clear();
    auto focused = std::make_unique<LineEdit>(window);
    focused->SetHandler(&log);
    focused->Show();
    focused->SetFocus();
    Pump();
    focused.reset();
    Pump();
    EXPECT_EQ(log.calls, std::vector<std::wstring>{L"focus:1"});
}

TEST_F(LineEditTest, DiesWithItsParentsWidget) {
    auto parent = std::make_unique<Window>(WindowKind::Child, &window);
    LineEdit edit(*parent);
    EXPECT_TRUE(edit.IsAlive());
    parent.reset();
    EXPECT_FALSE(edit.IsAlive());
    edit.SetText(L"x");
    edit.Show();
    edit.Move(CRect(0, 0, 5, 5));
    EXPECT_EQ(edit.GetText(), L"");
    EXPECT_EQ(edit.GetWindowRect(), CRect());
    EXPECT_FALSE(edit.HasFocus());

    auto top = std::make_unique<Window>(WindowKind::TopLevel);
    Window orphan(WindowKind::Child, top.get());
    top.reset();
    LineEdit onDead(orphan);
    EXPECT_FALSE(onDead.IsAlive());
}

} // namespace
