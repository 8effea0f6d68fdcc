#include "platform/gui/popup_menu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QString>
#include <QVariant>

#include <utility>

#include "platform/gui/message_box.h"
#include "platform/gui/window.h"

namespace {

// Headless, nobody can choose, and a menu waiting for a choice would block the run.
QAction* ExecMenu(QMenu& menu, QPoint screenPoint) {
    return plat::HasDisplay() ? menu.exec(screenPoint) : nullptr;
}

CPopupMenu::Tracker& CurrentTracker() {
    static CPopupMenu::Tracker tracker = &ExecMenu;
    return tracker;
}

QString ToQString(const std::wstring& text) {
    return QString::fromStdWString(text);
}

} // namespace

CPopupMenu::CPopupMenu() = default;
CPopupMenu::~CPopupMenu() = default;

bool CPopupMenu::Add(unsigned id, std::wstring_view text, bool checked, bool enabled) {
    if (id == 0)
        return false;
    Item item;
    item.id = id;
    item.text = text;
    item.checked = checked;
    item.enabled = enabled;
    m_items.push_back(std::move(item));
    return true;
}

void CPopupMenu::AddSeparator() {
    Item item;
    item.kind = Item::Kind::Separator;
    m_items.push_back(std::move(item));
}

CPopupMenu& CPopupMenu::AddSubMenu(std::wstring_view text) {
    Item item;
    item.kind = Item::Kind::SubMenu;
    item.text = text;
    item.subMenu = std::make_unique<CPopupMenu>();
    m_items.push_back(std::move(item));
    return *m_items.back().subMenu;
}

void CPopupMenu::Clear() {
    m_items.clear();
}

void CPopupMenu::Fill(QMenu& menu) const {
    for (const Item& item : m_items) {
        switch (item.kind) {
        case Item::Kind::Separator:
            menu.addSeparator();
            break;
        case Item::Kind::SubMenu:
            item.subMenu->Fill(*menu.addMenu(ToQString(item.text)));
            break;
        case Item::Kind::Command: {
            QAction* action = menu.addAction(ToQString(item.text));
            action->setData(QVariant(item.id));
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
            action->setEnabled(item.enabled);
            break;
        }
        }
    }
}

unsigned CPopupMenu::Run(plat::Window* owner, unsigned flags, const QPoint* screenPoint) {
    if (m_items.empty())
        return 0;
    const bool returnId = (flags & TPM_RETURNCMD) != 0;
    if (!returnId && (!owner || !owner->IsAlive()))
        return 0;
    // The owner may die while the menu is open; only a weak handle is kept across it.
    const plat::WindowRef ownerRef = owner ? owner->Ref() : plat::WindowRef();
    // No parent: an owner destroyed meanwhile must not take the menu on the stack with it.
    QMenu menu;
    Fill(menu);
    const QPoint at = screenPoint ? *screenPoint : QCursor::pos();
    // A copy, so that a tracker that replaces itself keeps running.
    const Tracker tracker = CurrentTracker();
    const QAction* chosen = tracker ? tracker(menu, at) : nullptr;
    // Only enabled items of this menu count: a tracker cannot pick a greyed item or an action
    // from elsewhere.
    bool isOurs = false;
    for (const QAction* action : menu.findChildren<QAction*>())
        isOurs = isOurs || action == chosen;
    if (!chosen || !isOurs || !chosen->isEnabled() || chosen->menu() != nullptr)
        return 0;
    const unsigned id = chosen->data().toUInt();
    if (id == 0 || returnId)
        return id;
    plat::Window* liveOwner = ownerRef.Get();
    if (!liveOwner || !liveOwner->PostMessage(WM_COMMAND, id, 0))
        return 0;
    return 1;
}

CPopupMenu::Tracker CPopupMenu::SetTracker(Tracker tracker) {
    Tracker previous = std::move(CurrentTracker());
    CurrentTracker() = tracker ? std::move(tracker) : Tracker(&ExecMenu);
    return previous;
}
