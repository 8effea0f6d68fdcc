#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <memory>
#include <vector>

#include "gui/pump.h"
#include "platform/gui/popup_menu.h"
#include "platform/gui/window.h"

namespace {

// Picks the action with a given text, anywhere in the menu and its submenus, as a user would;
// remembers what the menu looked like.
class ScriptedChoice {
public:
    explicit ScriptedChoice(QString text) : m_text(std::move(text)) {
        m_previous = CPopupMenu::SetTracker([this](QMenu& menu, QPoint at) {
            at_ = at;
            seen.clear();
            QAction* chosen = nullptr;
            for (QAction* action : menu.findChildren<QAction*>()) {
                if (action->isSeparator())
                    ++separators;
                else if (!action->menu())
                    seen.push_back(action);
                if (action->text() == m_text)
                    chosen = action;
            }
            return chosen;
        });
    }
    ~ScriptedChoice() { CPopupMenu::SetTracker(m_previous); }

    struct Seen {
        QString text;
        bool checked;
        bool enabled;
    };
    Seen Find(const QString& text) const {
        for (const QAction* action : seen) {
            if (action->text() == text)
                return {action->text(), action->isChecked(), action->isEnabled()};
        }
        return {};
    }

    std::vector<QAction*> seen; // valid only inside the tracker; used for counting after
    int separators = 0;
    QPoint at_;

private:
    QString m_text;
    CPopupMenu::Tracker m_previous;
};

struct CommandRecorder : plat::WindowHandler {
    std::vector<std::uintptr_t> commands;
    bool OnMessage(plat::Window&,
                   unsigned message,
                   std::uintptr_t wParam,
                   std::intptr_t,
                   std::intptr_t&) override {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        return true;
    }
};

CPopupMenu& OrderMenu(CPopupMenu& menu) {
    menu.Add(10, L"매수");
    menu.Add(11, L"매도", true);
    menu.AddSeparator();
    menu.Add(12, L"Cancel", false, false);
    CPopupMenu& more = menu.AddSubMenu(L"More");
    more.Add(20, L"Chart");
    return menu;
}

} // namespace

TEST(PopupMenu, ReturnsTheChosenIdFromItemsAndSubmenus) {
    CPopupMenu menu;
    OrderMenu(menu);
    const QPoint at(300, 200);
    {
        ScriptedChoice choice(QStringLiteral("매도"));
        EXPECT_EQ(menu.Run(nullptr, TPM_RETURNCMD, &at), 11u);
        EXPECT_EQ(choice.at_, at);
        EXPECT_EQ(choice.seen.size(), 4u);
        EXPECT_EQ(choice.separators, 1);
    }
    {
        ScriptedChoice choice(QStringLiteral("Chart"));
        EXPECT_EQ(menu.Run(nullptr, TPM_RETURNCMD, &at), 20u);
    }
    {
        ScriptedChoice choice(QStringLiteral("nothing of ours"));
        EXPECT_EQ(menu.Run(nullptr, TPM_RETURNCMD, &at), 0u);
    }
}

TEST(PopupMenu, ShowsCheckedAndDisabledStatesAndRefusesDisabledChoices) {
    CPopupMenu menu;
    OrderMenu(menu);
    std::vector<std::pair<bool, bool>> states; // checked, enabled of 매수, 매도, Cancel
    const auto previous = CPopupMenu::SetTracker([&](QMenu& shown, QPoint) -> QAction* {
        QAction* cancel = nullptr;
        for (QAction* action : shown.findChildren<QAction*>()) {
            if (action->text() == QStringLiteral("매수") ||
                action->text() == QStringLiteral("매도") ||
                action->text() == QStringLiteral("Cancel"))
                states.emplace_back(action->isChecked(), action->isEnabled());
            if (action->text() == QStringLiteral("Cancel"))
                cancel = action;
        }
        return cancel;
    });
    EXPECT_EQ(menu.Run(nullptr, TPM_RETURNCMD), 0u); // greyed: no choice
    CPopupMenu::SetTracker(previous);
    EXPECT_EQ(states,
              (std::vector<std::pair<bool, bool>>{{false, true}, {true, true}, {false, false}}));
}

TEST(PopupMenu, WithoutReturnCmdPostsTheCommandToTheOwner) {
    CommandRecorder recorder;
    plat::Window owner(plat::WindowKind::TopLevel);
    owner.SetHandler(&recorder);
    CPopupMenu menu;
    OrderMenu(menu);
    ScriptedChoice choice(QStringLiteral("매수"));
    EXPECT_EQ(menu.Run(&owner, 0), 1u);
    EXPECT_TRUE(recorder.commands.empty()); // posted, not sent
    Pump();
    EXPECT_EQ(recorder.commands, (std::vector<std::uintptr_t>{10}));
    EXPECT_EQ(menu.Run(nullptr, 0), 0u); // nobody to tell
}

TEST(PopupMenu, EmptyMenusZeroIdsAndDyingOwnersAnswerNothing) {
    CPopupMenu menu;
    EXPECT_FALSE(menu.Add(0, L"zero"));
    EXPECT_TRUE(menu.IsEmpty());
    {
        ScriptedChoice choice(QStringLiteral("zero"));
        EXPECT_EQ(menu.Run(nullptr, TPM_RETURNCMD), 0u);
    }
    OrderMenu(menu);
    menu.Clear();
    EXPECT_TRUE(menu.IsEmpty());

    // The owner is destroyed while the menu is open.
    menu.Add(1, L"Close window");
    auto owner = std::make_unique<plat::Window>(plat::WindowKind::TopLevel);
    const auto previous = CPopupMenu::SetTracker([&](QMenu& shown, QPoint) -> QAction* {
        owner.reset();
        return shown.actions().value(0);
    });
    EXPECT_EQ(menu.Run(owner.get(), 0), 0u);
    CPopupMenu::SetTracker(previous);
    EXPECT_EQ(owner, nullptr);
}

TEST(PopupMenu, TheRealTrackerChoosesNothingWithoutADisplay) {
    CPopupMenu menu;
    OrderMenu(menu);
    const auto previous = CPopupMenu::SetTracker(nullptr);
    EXPECT_EQ(menu.Run(nullptr, TPM_RETURNCMD), 0u); // returns at once instead of blocking
    CPopupMenu::SetTracker(previous);
}
