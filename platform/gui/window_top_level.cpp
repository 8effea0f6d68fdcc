// plat::Window: what top-level windows do beyond other windows: activation, enabling, track
// sizes, show states, the close request and the modal loop.
#include <QApplication>
#include <QMetaObject>

#include <algorithm>

#include "platform/gui/window.h"

namespace plat {

void Window::Activate() {
    if (!m_widget)
        return;
    QWidget* top = m_widget->window();
    if (top->isHidden())
        top->show();
    top->raise();
    top->activateWindow();
}

void Window::Raise() {
    if (m_widget)
        m_widget->raise();
}

bool Window::IsActive() const {
    return m_widget && m_widget->isActiveWindow();
}

void Window::SetEnabled(bool enabled) {
    if (m_widget)
        m_widget->setEnabled(enabled);
}

bool Window::IsEnabled() const {
    return m_widget && m_widget->isEnabled();
}

void Window::SetMinTrackSize(CSize size) {
    if (m_widget)
        m_widget->setMinimumSize(size.cx > 0 ? size.cx : 0, size.cy > 0 ? size.cy : 0);
}

void Window::SetMaxTrackSize(CSize size) {
    if (m_widget)
        m_widget->setMaximumSize(
            size.cx > 0 ? std::min<int>(size.cx, QWIDGETSIZE_MAX) : QWIDGETSIZE_MAX,
            size.cy > 0 ? std::min<int>(size.cy, QWIDGETSIZE_MAX) : QWIDGETSIZE_MAX);
}

CSize Window::GetMinTrackSize() const {
    return m_widget ? CSize(m_widget->minimumWidth(), m_widget->minimumHeight()) : CSize();
}

CSize Window::GetMaxTrackSize() const {
    return m_widget ? CSize(m_widget->maximumWidth(), m_widget->maximumHeight()) : CSize();
}

ShowState Window::GetShowState() const {
    if (!m_widget)
        return ShowState::Normal;
    if (m_widget->isMinimized())
        return ShowState::Minimized;
    return m_widget->isMaximized() ? ShowState::Maximized : ShowState::Normal;
}

void Window::SetShowState(ShowState state) {
    if (!m_widget || m_kind == WindowKind::Child)
        return;
    switch (state) {
    case ShowState::Minimized:
        m_widget->showMinimized();
        break;
    case ShowState::Maximized:
        m_widget->showMaximized();
        break;
    case ShowState::Normal:
        m_widget->showNormal();
        break;
    }
}

bool Window::Close() {
    if (!m_widget)
        return false;
    // A handler may destroy this window; its widget then outlives the call.
    const std::weak_ptr<Window*> life = m_self;
    const bool closed = m_widget->close();
    return closed || life.expired();
}

bool Window::PostClose() {
    if (!m_widget)
        return false;
    return QMetaObject::invokeMethod(m_widget, "close", Qt::QueuedConnection);
}

int Window::RunModal() {
    if (!m_widget || m_modalLoop)
        return -1;
    QEventLoop loop;
    m_modalLoop = &loop;
    m_modalResult = 0;
    m_widget->setWindowModality(Qt::ApplicationModal);
    Show(true);
    // The window may die inside the loop; its destructor ends the loop first.
    const std::weak_ptr<Window*> life = m_self;
    if (m_widget && m_widget->isVisible())
        loop.exec();
    if (life.expired())
        return 0;
    m_modalLoop = nullptr;
    if (m_widget)
        m_widget->setWindowModality(Qt::NonModal);
    return m_modalResult;
}

void Window::EndModal(int result) {
    if (!m_modalLoop)
        return;
    m_modalResult = result;
    EndModalLoop();
    Hide();
}

void Window::EndModalLoop() {
    if (m_modalLoop)
        m_modalLoop->exit();
}

} // namespace plat
