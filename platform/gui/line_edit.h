#pragma once
// plat::LineEdit: a native single-line edit over QLineEdit, a child of a plat::Window, in the
// shape of the rest of the windows. Typing, selection, the clipboard and input methods (Korean
// composition) are Qt's own; Enter, Escape and the loss of the focus go to a handler.
//
// As with Window, the widget may die first (it goes with its parent's): the edit is then dead
// and answers empty values. A LineEdit may be destroyed from inside one of its own handler
// calls; its widget is then deleted once the event has returned.
#include <QPointer>
#include <QWidget>

#include <string>
#include <string_view>

#include "platform/base/colorref.h"
#include "platform/base/geometry.h"

class CFont;

namespace plat {

class LineEdit;
class Window;

class LineEditHandler {
public:
    // Enter or Return: the key goes no further.
    virtual void OnCommit(LineEdit&) {}
    // Escape: the key goes no further.
    virtual void OnCancel(LineEdit&) {}
    virtual void OnFocus(LineEdit&, bool /*gained*/) {}
    // Tab (forward) or Shift+Tab: true when the handler moved the focus itself; otherwise the
    // key goes on to Qt's own focus chain.
    virtual bool OnTab(LineEdit&, bool /*forward*/) { return false; }

protected:
    ~LineEditHandler() = default;
};

class LineEdit {
public:
    // Hidden until shown; without a live parent the edit is dead from the start.
    explicit LineEdit(Window& parent);
    ~LineEdit();
    LineEdit(const LineEdit&) = delete;
    LineEdit& operator=(const LineEdit&) = delete;

    bool IsAlive() const { return m_widget != nullptr; }
    // Not owned; null drops every notification.
    void SetHandler(LineEditHandler* handler) { m_handler = handler; }

    // In the parent's client coordinates; a reversed rectangle is normalised.
    void Move(const CRect& rect);
    CRect GetWindowRect() const;
    void Show();
    void Hide();
    bool IsVisible() const;

    // Replaces the text without telling the handler; the cursor goes to the end and the text
    // counts as unmodified.
    void SetText(std::wstring_view text);
    std::wstring GetText() const;
    // Whether the user changed the text since it was last set.
    bool IsModified() const;
    // Characters; 0 or less lifts the limit.
    void SetMaxLength(int length);
    void SetReadOnly(bool readOnly);

    void SetFocus();
    bool HasFocus() const;

    void SetFont(const CFont& font);
    void SetColours(COLORREF text, COLORREF background);

    // For platform/gui and tests: the widget, null when dead.
    QWidget* NativeWidget() const { return m_widget; }

private:
    class Widget;
    friend class Widget;

    QPointer<QWidget> m_widget;
    LineEditHandler* m_handler = nullptr;
};

} // namespace plat
