#include "platform/gui/input_simulation.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/gui/virtual_key.h"

namespace plat {

namespace {

Qt::MouseButton QtButton(int button) {
    return button == VK_LBUTTON   ? Qt::LeftButton
           : button == VK_RBUTTON ? Qt::RightButton
           : button == VK_MBUTTON ? Qt::MiddleButton
                                  : Qt::NoButton;
}

Qt::MouseButtons QtButtons(unsigned keys) {
    Qt::MouseButtons buttons;
    buttons.setFlag(Qt::LeftButton, (keys & MK_LBUTTON) != 0);
    buttons.setFlag(Qt::RightButton, (keys & MK_RBUTTON) != 0);
    buttons.setFlag(Qt::MiddleButton, (keys & MK_MBUTTON) != 0);
    return buttons;
}

QWidget* FocusTarget() {
    if (QWidget* focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeWindow();
}

} // namespace

void SimulateMouse(Window& window, MouseAction action, int button, CPoint client, unsigned held) {
    QWidget* widget = window.NativeWidget();
    if (!widget)
        return;
    QPointF local(client.x, client.y);
    const QPointF global = widget->mapToGlobal(local);
    // Input goes to the innermost widget under the point, as a real click does (a native edit
    // over an object takes the click); moves of a held button stay with the window pressed in.
    if (held == 0) {
        if (QWidget* inner = widget->childAt(local.toPoint())) {
            local = inner->mapFrom(widget, local);
            widget = inner;
        }
    }
    QCursor::setPos(global.toPoint());
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton changed = Qt::NoButton;
    Qt::MouseButtons buttons = QtButtons(held);
    switch (action) {
    case MouseAction::ButtonDown:
    case MouseAction::DoubleClick:
        // A press activates the window it lands in, as the window system does.
        if (QWidget* top = widget->window(); !top->isActiveWindow()) {
            top->activateWindow();
            QCoreApplication::processEvents();
        }
        // And the widget pressed takes the focus when it takes it by click, even where the
        // activation has not arrived yet (a child frame's window inside the main window).
        if ((widget->focusPolicy() & Qt::ClickFocus) && !widget->hasFocus())
            widget->setFocus(Qt::MouseFocusReason);
        type = action == MouseAction::ButtonDown ? QEvent::MouseButtonPress
                                                 : QEvent::MouseButtonDblClick;
        changed = QtButton(button);
        buttons |= changed;
        break;
    case MouseAction::ButtonUp:
        type = QEvent::MouseButtonRelease;
        changed = QtButton(button);
        buttons &= ~Qt::MouseButtons(changed);
        break;
    case MouseAction::Move:
    case MouseAction::Wheel:
        break;
    }
    QMouseEvent event(type, local, local, global, changed, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

bool SimulateKeyPress(int virtualKey, bool shift) {
    QWidget* target = FocusTarget();
    int key = QtKeyFromVirtualKey(virtualKey);
    if (!target || key == 0)
        return false;
    // Qt names Shift+Tab a key of its own.
    if (shift && key == Qt::Key_Tab)
        key = Qt::Key_Backtab;
    const Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
    const QString text = key == Qt::Key_Return ? QStringLiteral("\r")
                         : key == Qt::Key_Tab  ? QStringLiteral("\t")
                                               : QString();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    // The press may have moved the focus; the release goes where the key now is.
    if (QWidget* now = FocusTarget()) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(now, &release);
    }
    return true;
}

bool SimulateTyping(std::wstring_view text) {
    for (wchar_t c : text) {
        QWidget* target = FocusTarget();
        if (!target)
            return false;
        const QString one = QString::fromWCharArray(&c, 1);
        if (c > 0x7E && target->testAttribute(Qt::WA_InputMethodEnabled)) {
            QInputMethodEvent commit;
            commit.setCommitString(one);
            QApplication::sendEvent(target, &commit);
            continue;
        }
        const int key = c >= L'a' && c <= L'z' ? Qt::Key_A + (c - L'a')
                        : c < 0x80             ? static_cast<int>(QChar(c).toUpper().unicode())
                                               : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, one);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, one);
        QApplication::sendEvent(target, &release);
    }
    return true;
}

void ProcessFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (clock.elapsed() < ms);
}

} // namespace plat
