#include "platform/gui/line_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

#include <algorithm>

#include "platform/gui/font.h"
#include "platform/gui/qt_color.h"
#include "platform/gui/window.h"

namespace plat {

// Turns the keys and focus changes the handler cares about into its calls; everything else is
// QLineEdit's. It outlives its LineEdit only while one of its own events is on the stack.
class LineEdit::Widget : public QLineEdit {
public:
    Widget(LineEdit& owner, QWidget* parent) : QLineEdit(parent), m_owner(&owner) {
        setFrame(false); // the frame is the painting around it
    }
    void Detach() { m_owner = nullptr; }
    bool InEvent() const { return m_depth > 0; }

protected:
    // Tab reaches QWidget::event's focus chain before keyPressEvent: it is taken here.
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
                const bool forward =
                    key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                bool moved = false;
                Notify([&](LineEditHandler& h) { moved = h.OnTab(*m_owner, forward); });
                if (moved) {
                    event->accept();
                    return true;
                }
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            Notify([this](LineEditHandler& h) { h.OnCommit(*m_owner); });
        } else if (key == Qt::Key_Escape) {
            event->accept();
            Notify([this](LineEditHandler& h) { h.OnCancel(*m_owner); });
        } else {
            QLineEdit::keyPressEvent(event);
        }
    }
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        Notify([this](LineEditHandler& h) { h.OnFocus(*m_owner, true); });
    }
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        Notify([this](LineEditHandler& h) { h.OnFocus(*m_owner, false); });
    }

private:
    template <class Call> void Notify(Call&& call) {
        if (!m_owner || !m_owner->m_handler)
            return;
        ++m_depth;
        call(*m_owner->m_handler);
        --m_depth;
    }

    LineEdit* m_owner;
    int m_depth = 0; // handler calls on the stack
};

LineEdit::LineEdit(Window& parent) {
    if (QWidget* parentWidget = parent.NativeWidget()) {
        m_widget = new Widget(*this, parentWidget);
        m_widget->hide();
    }
}

LineEdit::~LineEdit() {
    auto* widget = static_cast<Widget*>(m_widget.data());
    if (!widget)
        return;
    widget->Detach();
    // Hiding hands the focus on while the handler is already detached.
    widget->hide();
    if (widget->InEvent())
        widget->deleteLater();
    else
        delete widget;
}

void LineEdit::Move(const CRect& rect) {
    if (!m_widget)
        return;
    // Clamped like Window::Move, so rectangles from markup never overflow Qt's arithmetic.
    constexpr long long kLimit = 1 << 24;
    auto clamp = [](long long v, long long low, long long high) {
        return static_cast<int>(std::clamp(v, low, high));
    };
    const long long left = std::min<long long>(rect.left, rect.right);
    const long long top = std::min<long long>(rect.top, rect.bottom);
    const long long width = std::max<long long>(rect.left, rect.right) - left;
    const long long height = std::max<long long>(rect.top, rect.bottom) - top;
    m_widget->setGeometry(clamp(left, -kLimit, kLimit),
                          clamp(top, -kLimit, kLimit),
                          clamp(width, 0, Window::kMaxSide),
                          clamp(height, 0, Window::kMaxSide));
}

CRect LineEdit::GetWindowRect() const {
    if (!m_widget)
        return CRect();
    const QRect g = m_widget->geometry();
    return CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
}

void LineEdit::Show() {
    if (m_widget)
        m_widget->show();
}

void LineEdit::Hide() {
    if (m_widget)
        m_widget->hide();
}

bool LineEdit::IsVisible() const {
    return m_widget && m_widget->isVisible();
}

void LineEdit::SetText(std::wstring_view text) {
    if (auto* edit = static_cast<QLineEdit*>(m_widget.data()))
        edit->setText(QString::fromWCharArray(text.data(), qsizetype(text.size())));
}

std::wstring LineEdit::GetText() const {
    auto* edit = static_cast<QLineEdit*>(m_widget.data());
    return edit ? edit->text().toStdWString() : std::wstring();
}

bool LineEdit::IsModified() const {
    auto* edit = static_cast<QLineEdit*>(m_widget.data());
    return edit && edit->isModified();
}

void LineEdit::SetMaxLength(int length) {
    // QLineEdit's own default is its limit when none is wanted.
    if (auto* edit = static_cast<QLineEdit*>(m_widget.data()))
        edit->setMaxLength(length > 0 ? length : 32767);
}

void LineEdit::SetReadOnly(bool readOnly) {
    if (auto* edit = static_cast<QLineEdit*>(m_widget.data()))
        edit->setReadOnly(readOnly);
}

void LineEdit::SetFocus() {
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

bool LineEdit::HasFocus() const {
    return m_widget && m_widget->hasFocus();
}

void LineEdit::SetFont(const CFont& font) {
    if (m_widget)
        m_widget->setFont(font.Font());
}

void LineEdit::SetColours(COLORREF text, COLORREF background) {
    if (!m_widget)
        return;
    QPalette palette = m_widget->palette();
    palette.setColor(QPalette::Text, ToQColor(text));
    palette.setColor(QPalette::Base, ToQColor(background));
    m_widget->setPalette(palette);
}

} // namespace plat
