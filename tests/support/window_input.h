#pragma once
// Mouse input, the cursor and painted pixels of platform windows, for the tests of layers
// above platform/gui, which do not use Qt themselves: events reach the window's widget as Qt
// delivers them.
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>

#include <string>
#include <vector>

#include "platform/base/colorref.h"
#include "platform/base/geometry.h"
#include "platform/gui/popup_menu.h"
#include "platform/gui/window.h"

namespace orvo::test {

enum class MouseInput { Press, Release, DoubleClick, Move };
enum class Button { None, Left, Right };

// A press or double click holds `button`, a release lets it go, a move holds `held`.
inline void SendMouse(
    plat::Window& window, MouseInput input, CPoint at, Button button, Button held = Button::None) {
    auto qt = [](Button b) {
        return b == Button::Left    ? Qt::LeftButton
               : b == Button::Right ? Qt::RightButton
                                    : Qt::NoButton;
    };
    const QEvent::Type type = input == MouseInput::Press         ? QEvent::MouseButtonPress
                              : input == MouseInput::Release     ? QEvent::MouseButtonRelease
                              : input == MouseInput::DoubleClick ? QEvent::MouseButtonDblClick
                                                                 : QEvent::MouseMove;
    const Qt::MouseButton changed = input == MouseInput::Move ? Qt::NoButton : qt(button);
    const Qt::MouseButtons buttons = input == MouseInput::Release ? Qt::MouseButtons()
                                     : input == MouseInput::Move  ? Qt::MouseButtons(qt(held))
                                                                  : Qt::MouseButtons(qt(button));
    const QPointF point(at.x, at.y);
    QMouseEvent event(type, point, point, changed, buttons, Qt::NoModifier);
    QApplication::sendEvent(window.NativeWidget(), &event);
}

inline void SetCursorScreenPos(CPoint screen) {
    QCursor::setPos(screen.x, screen.y);
}

// The pixel of an image a window rendered; white outside it.
inline COLORREF PixelAt(const QImage& image, int x, int y) {
    if (!image.valid(x, y))
        return RGB(255, 255, 255);
    const QRgb pixel = image.pixel(x, y);
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// While it lives, every popup menu answers the item with the text `choice` (none when no item
// has it) at once, and the texts of the items it showed are kept, "-" for a separator.
class MenuChoice {
public:
    explicit MenuChoice(std::wstring choice) : m_choice(std::move(choice)) {
        m_previous = CPopupMenu::SetTracker([this](QMenu& menu, QPoint) -> QAction* {
            shown.clear();
            QAction* chosen = nullptr;
            for (QAction* action : menu.actions()) {
                shown.push_back(action->isSeparator() ? L"-" : action->text().toStdWString());
                if (!action->isSeparator() && action->text().toStdWString() == m_choice)
                    chosen = action;
            }
            return chosen;
        });
    }
    ~MenuChoice() { CPopupMenu::SetTracker(m_previous); }
    MenuChoice(const MenuChoice&) = delete;
    MenuChoice& operator=(const MenuChoice&) = delete;

    std::vector<std::wstring> shown;

private:
    std::wstring m_choice;
    CPopupMenu::Tracker m_previous;
};

} // namespace orvo::test
