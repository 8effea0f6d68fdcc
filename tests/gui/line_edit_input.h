#pragma once
// Keys and input-method text for a plat::LineEdit, sent as Qt delivers them, for tests of the
// layers above platform/gui, which do not use Qt themselves.
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <string_view>

#include "platform/gui/line_edit.h"

namespace orvo::test {

enum class EditKey { Enter, Escape, Backspace, Tab, ShiftTab };

inline void SendKey(plat::LineEdit& edit, EditKey key) {
    int qtKey = Qt::Key_Backspace;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    switch (key) {
    case EditKey::Enter:
        qtKey = Qt::Key_Return;
        break;
    case EditKey::Escape:
        qtKey = Qt::Key_Escape;
        break;
    case EditKey::Backspace:
        break;
    case EditKey::Tab:
        qtKey = Qt::Key_Tab;
        break;
    case EditKey::ShiftTab: // as Qt names it
        qtKey = Qt::Key_Backtab;
        modifiers = Qt::ShiftModifier;
        break;
    }
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QApplication::sendEvent(edit.NativeWidget(), &press);
}

// As an input method types `text`: its first character while composing, then all of it.
inline void SendComposed(plat::LineEdit& edit, std::wstring_view text) {
    const QString typed = QString::fromWCharArray(text.data(), qsizetype(text.size()));
    QInputMethodEvent composing(typed.left(1), {});
    QApplication::sendEvent(edit.NativeWidget(), &composing);
    QInputMethodEvent done;
    done.setCommitString(typed);
    QApplication::sendEvent(edit.NativeWidget(), &done);
}

} // namespace orvo::test
