#pragma once
// CPopupMenu: a context menu over QMenu. Items are kept here and the QMenu is built at each
// Run, so a menu can be filled, cleared and refilled freely. Tracking goes through a
// process-wide tracker that tests replace to choose an item without a user.
#include <QPoint>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;

namespace plat {
class Window;
}

// Run's flags, as TrackPopupMenu's.
enum PopupMenuFlags : unsigned {
    TPM_RETURNCMD = 0x0100, // answer the chosen id instead of posting WM_COMMAND
};
constexpr unsigned WM_COMMAND = 0x0111;

class CPopupMenu {
public:
    // Shows `menu` at `screenPoint` and answers the action chosen, null for none.
    using Tracker = std::function<QAction*(QMenu& menu, QPoint screenPoint)>;

    CPopupMenu();
    ~CPopupMenu();
    CPopupMenu(const CPopupMenu&) = delete;
    CPopupMenu& operator=(const CPopupMenu&) = delete;

    // An item; id 0 is refused (it means "nothing chosen"). A disabled item shows but cannot
    // be chosen. '&' marks the mnemonic, as in Windows.
    bool Add(unsigned id, std::wstring_view text, bool checked = false, bool enabled = true);
    void AddSeparator();
    // A submenu owned by this menu, valid until Clear or destruction.
    CPopupMenu& AddSubMenu(std::wstring_view text);
    void Clear();
    bool IsEmpty() const { return m_items.empty(); }

    // Tracks the menu at `screenPoint` (null: the mouse position). With TPM_RETURNCMD it answers
    // the chosen id; without, it posts WM_COMMAND with the id as wParam to `owner` and answers
    // 1 when something was chosen. 0 when nothing was chosen, the menu is empty or, without
    // TPM_RETURNCMD, there is no live owner to tell.
    unsigned Run(plat::Window* owner, unsigned flags, const QPoint* screenPoint = nullptr);

    // Null restores the real one, which runs QMenu::exec, or chooses nothing at once when there
    // is no display. Answers the previous tracker.
    static Tracker SetTracker(Tracker tracker);

private:
    struct Item {
        enum class Kind { Command, Separator, SubMenu } kind = Kind::Command;
        unsigned id = 0;
        std::wstring text;
        bool checked = false;
        bool enabled = true;
        std::unique_ptr<CPopupMenu> subMenu;
    };

    void Fill(QMenu& menu) const;

    std::vector<Item> m_items;
};
