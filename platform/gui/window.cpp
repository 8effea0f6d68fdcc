#include "platform/gui/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QResizeEvent>
#include <QTimerEvent>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <climits>

#include "platform/base/key_state.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dc.h"
#include "platform/gui/test_clock.h"
#include "platform/gui/virtual_key.h"

namespace plat {

namespace {

// Positions beyond this are clamped: Qt's rectangle arithmetic must not overflow.
constexpr long long kMaxPosition = 1 << 24;

Window* g_capture = nullptr;
// Events being handled, in any window: a window destroyed meanwhile may be the parent of
// the one whose event is on the stack, so its widget must not go at once.
int g_dispatchDepth = 0;

struct DispatchScope {
    DispatchScope() { ++g_dispatchDepth; }
    ~DispatchScope() { --g_dispatchDepth; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

int ClampSide(long long side) {
    return static_cast<int>(std::clamp<long long>(side, 0, Window::kMaxSide));
}

int ClampPosition(long long position) {
    return static_cast<int>(std::clamp<long long>(position, -kMaxPosition, kMaxPosition));
}

CRect ToCRect(const QRect& rect) {
    return CRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
}

unsigned MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    unsigned keys = 0;
    keys |= buttons.testFlag(Qt::LeftButton) ? MK_LBUTTON : 0u;
    keys |= buttons.testFlag(Qt::RightButton) ? MK_RBUTTON : 0u;
    keys |= buttons.testFlag(Qt::MiddleButton) ? MK_MBUTTON : 0u;
    keys |= modifiers.testFlag(Qt::ShiftModifier) ? MK_SHIFT : 0u;
    keys |= modifiers.testFlag(Qt::ControlModifier) ? MK_CONTROL : 0u;
    return keys;
}

Qt::CursorShape QtCursor(CursorShape shape) {
    switch (shape) {
    case CursorShape::Arrow:
        return Qt::ArrowCursor;
    case CursorShape::IBeam:
        return Qt::IBeamCursor;
    case CursorShape::Wait:
        return Qt::WaitCursor;
    case CursorShape::Cross:
        return Qt::CrossCursor;
    case CursorShape::Hand:
        return Qt::PointingHandCursor;
    case CursorShape::SizeWE:
        return Qt::SizeHorCursor;
    case CursorShape::SizeNS:
        return Qt::SizeVerCursor;
    case CursorShape::SizeNWSE:
        return Qt::SizeFDiagCursor;
    case CursorShape::SizeNESW:
        return Qt::SizeBDiagCursor;
    case CursorShape::SizeAll:
        return Qt::SizeAllCursor;
    case CursorShape::No:
        return Qt::ForbiddenCursor;
    }
    return Qt::ArrowCursor;
}

ShowState ToShowState(Qt::WindowStates states) {
    if (states.testFlag(Qt::WindowMinimized))
        return ShowState::Minimized;
    return states.testFlag(Qt::WindowMaximized) ? ShowState::Maximized : ShowState::Normal;
}

class MessageEvent : public QEvent {
public:
    MessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(Type()), message(message), wParam(wParam), lParam(lParam) {}
    static QEvent::Type Type() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    const unsigned message;
    const std::uintptr_t wParam;
    const std::intptr_t lParam;
};

} // namespace

Window* WindowRef::Get() const {
    const std::shared_ptr<Window*> window = m_window.lock();
    return window ? *window : nullptr;
}

// The widget turns Qt's events into handler calls. It outlives its Window only while an
// event of its own is still on the stack (see ~Window), with m_window null by then.
class Window::Widget : public QWidget {
public:
    Widget(Window& window, QWidget* parent, Qt::WindowFlags flags)
        : QWidget(parent, flags), m_window(&window) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent); // every pixel comes from the backing bitmap
        if (isWindow())
            connect(qApp,
                    &QGuiApplication::applicationStateChanged,
                    this,
                    [this](Qt::ApplicationState state) {
                        if (m_window)
                            m_window->Dispatch([&](WindowHandler& h) {
                                return h.OnActivateApp(*m_window, state == Qt::ApplicationActive);
                            });
                    });
    }
    void Detach() { m_window = nullptr; }
    Window* Owner() const { return m_window; }
    QRegion& Invalid() { return m_invalid; }

protected:
    bool event(QEvent* event) override {
        if (event->type() == MessageEvent::Type()) {
            if (m_window) {
                const auto* message = static_cast<MessageEvent*>(event);
                m_window->SendMessage(message->message, message->wParam, message->lParam);
            }
            return true;
        }
        // Tab would go to Qt's focus chain before keyPressEvent: the screens travel by it.
        // Told once; what the handler leaves goes to Qt's chain, then to the parent.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                const bool forward =
                    key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                if (Key(*key, true) || focusNextPrevChild(forward)) {
                    key->accept();
                    return true;
                }
                key->ignore();
                return false;
            }
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent* event) override {
        const QRect area = event->rect() & rect();
        m_invalid -= area;
        if (area.isEmpty())
            return;
        const CSize size(width(), height());
        if (!m_backing.IsValid() || m_backing.GetSize() != size)
            m_backing.CreateBitmap(size.cx, size.cy);
        QPainter painter(this);
        if (!m_window || !m_backing.IsValid()) {
            painter.fillRect(area, Qt::white);
            return;
        }
        m_window->Paint(m_backing, ToCRect(area));
        painter.drawImage(area.topLeft(), *m_backing.Image(), area);
    }

    void resizeEvent(QResizeEvent* event) override {
        if (m_window) {
            const CSize size(event->size().width(), event->size().height());
            m_window->Dispatch([&](WindowHandler& h) { return h.OnSize(*m_window, size); });
        }
    }

    void closeEvent(QCloseEvent* event) override {
        if (m_window && m_window->Dispatch([&](WindowHandler& h) { return h.OnClose(*m_window); }))
            event->ignore();
        else
            event->accept();
    }

    void hideEvent(QHideEvent* event) override {
        QWidget::hideEvent(event);
        if (m_window)
            m_window->EndModalLoop();
    }

    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        // Children see activation changes too; only the top-level window reports them.
        if (!m_window || !isWindow())
            return;
        if (event->type() == QEvent::ActivationChange) {
            const bool active = isActiveWindow();
            m_window->Dispatch([&](WindowHandler& h) { return h.OnActivate(*m_window, active); });
        } else if (event->type() == QEvent::WindowStateChange) {
            const ShowState from =
                ToShowState(static_cast<QWindowStateChangeEvent*>(event)->oldState());
            const ShowState to = ToShowState(windowState());
            if (from != to)
                m_window->Dispatch(
                    [&](WindowHandler& h) { return h.OnShowState(*m_window, from, to); });
        }
    }

    void focusInEvent(QFocusEvent*) override { Focus(true); }
    void focusOutEvent(QFocusEvent*) override { Focus(false); }

    void timerEvent(QTimerEvent* event) override {
        if (m_window)
            m_window->TimerFired(event->timerId());
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (!Key(*event, true))
            QWidget::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        if (!Key(*event, false))
            QWidget::keyReleaseEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        NoteKeyDown(VirtualKeyFromQtButton(event->button()));
        Mouse(*event, MouseAction::ButtonDown);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        NoteKeyDown(VirtualKeyFromQtButton(event->button()));
        Mouse(*event, MouseAction::DoubleClick);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        NoteKeyUp(VirtualKeyFromQtButton(event->button()));
        Mouse(*event, MouseAction::ButtonUp);
    }
    void mouseMoveEvent(QMouseEvent* event) override { Mouse(*event, MouseAction::Move); }
    void wheelEvent(QWheelEvent* event) override {
        event->accept();
        if (!m_window)
            return;
        MouseEvent mouse;
        mouse.action = MouseAction::Wheel;
        const QPoint at = event->position().toPoint();
        mouse.point = CPoint(at.x(), at.y());
        mouse.keys = MouseKeys(event->buttons(), event->modifiers());
        mouse.wheelDelta = event->angleDelta().y();
        m_window->Dispatch([&](WindowHandler& h) { return h.OnMouse(*m_window, mouse); });
    }

private:
    void Focus(bool gained) {
        if (m_window)
            m_window->Dispatch([&](WindowHandler& h) { return h.OnFocus(*m_window, gained); });
    }

    bool Key(const QKeyEvent& event, bool down) {
        KeyEvent key;
        key.down = down;
        key.virtualKey = VirtualKeyFromQtKey(event.key());
        key.autoRepeat = event.isAutoRepeat();
        key.text = event.text().toStdWString();
        // Shift as the event tells it, so that Shift+Tab reads as such however the press of
        // Shift itself went.
        if (key.virtualKey != VK_SHIFT) {
            const bool held = GetKeyState(VK_SHIFT) < 0;
            if ((event.modifiers() & Qt::ShiftModifier) && !held)
                NoteKeyDown(VK_SHIFT);
            else if (!(event.modifiers() & Qt::ShiftModifier) && held)
                NoteKeyUp(VK_SHIFT);
        }
        if (down)
            NoteKeyDown(key.virtualKey);
        else if (!key.autoRepeat) // Qt repeats a held key as release and press pairs
            NoteKeyUp(key.virtualKey);
        if (!m_window)
            return false;
        return m_window->Dispatch([&](WindowHandler& h) { return h.OnKey(*m_window, key); });
    }

    // Mouse events stop here, handled or not: Windows does not pass them to the parent.
    void Mouse(QMouseEvent& event, MouseAction action) {
        event.accept();
        if (!m_window)
            return;
        MouseEvent mouse;
        mouse.action = action;
        mouse.button = action == MouseAction::Move ? 0 : VirtualKeyFromQtButton(event.button());
        const QPoint at = event.position().toPoint();
        mouse.point = CPoint(at.x(), at.y());
        mouse.keys = MouseKeys(event.buttons(), event.modifiers());
        m_window->Dispatch([&](WindowHandler& h) { return h.OnMouse(*m_window, mouse); });
    }

    Window* m_window;
    CBitmap m_backing;
    QRegion m_invalid;
};

Window::Window(WindowKind kind, Window* parent)
    : m_kind(kind), m_self(std::make_shared<Window*>(this)) {
    QWidget* parentWidget = parent ? parent->NativeWidget() : nullptr;
    if (m_kind == WindowKind::Child && parentWidget == nullptr)
        m_kind = WindowKind::TopLevel;
    // A process that never started the GUI application (a tool, a fuzzer) gets dead windows,
    // as a window whose parent went does, instead of Qt's abort.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    switch (m_kind) {
    case WindowKind::Child:
        m_widget = new Widget(*this, parentWidget, Qt::Widget);
        break;
    case WindowKind::Popup:
        m_widget = new Widget(*this, parentWidget, Qt::ToolTip | Qt::FramelessWindowHint);
        break;
    case WindowKind::TopLevel:
        m_widget = new Widget(*this, parentWidget, Qt::Window);
        break;
    }
}

Window* Window::Owner() const {
    if (!m_widget || m_kind == WindowKind::Child)
        return nullptr;
    return OwnerOf(m_widget->parentWidget());
}

Window::~Window() {
    if (g_capture == this)
        ReleaseCapture();
    EndModalLoop();
    for (const auto& [id, clockId] : m_clockTimerOfId)
        TestClock::KillTimer(clockId);
    m_self.reset();
    if (!m_widget)
        return;
    Impl()->Detach();
    m_widget->hide();
    // Deleting a widget inside its own event handler, or its parent's, would pull the event
    // out from under Qt; it goes once the event has returned.
    if (g_dispatchDepth > 0)
        m_widget->deleteLater();
    else
        delete m_widget.data();
}

Window::Widget* Window::Impl() const {
    return static_cast<Widget*>(m_widget.data());
}

template <class Call> bool Window::Dispatch(Call&& call) {
    const std::weak_ptr<Window*> life = m_self;
    const DispatchScope scope;
    const std::vector<WindowHandler*> hooks(m_hooks.rbegin(), m_hooks.rend());
    bool handled = false;
    for (WindowHandler* hook : hooks) {
        // A hook removed by an earlier one may be gone already.
        if (std::find(m_hooks.begin(), m_hooks.end(), hook) == m_hooks.end())
            continue;
        handled = call(*hook);
        if (life.expired())
            return true;
        if (handled)
            break;
    }
    if (!handled && m_handler) {
        handled = call(*m_handler);
        if (life.expired())
            return true;
    }
    return handled;
}

void Window::AddHook(WindowHandler* hook) {
    if (!hook)
        return;
    RemoveHook(hook);
    m_hooks.push_back(hook);
}

void Window::RemoveHook(WindowHandler* hook) {
    m_hooks.erase(std::remove(m_hooks.begin(), m_hooks.end(), hook), m_hooks.end());
}

void Window::Show(bool activate) {
    if (!m_widget)
        return;
    m_widget->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    m_widget->show();
    if (activate) {
        m_widget->raise();
        m_widget->activateWindow();
    }
}

void Window::Hide() {
    if (m_widget)
        m_widget->hide();
}

bool Window::IsVisible() const {
    return m_widget && m_widget->isVisible();
}

void Window::SetTitle(std::wstring_view title) {
    if (m_widget)
        m_widget->setWindowTitle(QString::fromWCharArray(title.data(), qsizetype(title.size())));
}

void Window::Move(const CRect& rect) {
    if (!m_widget)
        return;
    const long long left = std::min<long long>(rect.left, rect.right);
    const long long top = std::min<long long>(rect.top, rect.bottom);
    const long long width = std::max<long long>(rect.left, rect.right) - left;
    const long long height = std::max<long long>(rect.top, rect.bottom) - top;
    m_widget->setGeometry(
        ClampPosition(left), ClampPosition(top), ClampSide(width), ClampSide(height));
}

CRect Window::GetWindowRect() const {
    return m_widget ? ToCRect(m_widget->geometry()) : CRect();
}

CRect Window::GetClientRect() const {
    return m_widget ? CRect(0, 0, m_widget->width(), m_widget->height()) : CRect();
}

CPoint Window::ClientToScreen(CPoint point) const {
    if (!m_widget)
        return point;
    const QPoint global = m_widget->mapToGlobal(QPoint(point.x, point.y));
    return CPoint(global.x(), global.y());
}

CPoint Window::ScreenToClient(CPoint point) const {
    if (!m_widget)
        return point;
    const QPoint local = m_widget->mapFromGlobal(QPoint(point.x, point.y));
    return CPoint(local.x(), local.y());
}

CPoint Window::CursorPos() {
    const QPoint at = QCursor::pos();
    return CPoint(at.x(), at.y());
}

Window* Window::FromScreenPoint(CPoint point) {
    return OwnerOf(QApplication::widgetAt(point.x, point.y));
}

Window* Window::ActiveWindow() {
    return OwnerOf(QApplication::activeWindow());
}

Window* Window::FocusWindow() {
    return OwnerOf(QApplication::focusWidget());
}

Window* Window::OwnerOf(QWidget* widget) {
    // Qt's own widgets inside ours (none yet) answer for the window around them.
    for (; widget; widget = widget->parentWidget()) {
        if (auto* ours = dynamic_cast<Widget*>(widget))
            return ours->Owner();
    }
    return nullptr;
}

void Window::LockUpdates(bool locked) {
    if (m_widget)
        m_widget->setUpdatesEnabled(!locked);
}

Window* Window::Parent() const {
    if (!m_widget || m_kind != WindowKind::Child)
        return nullptr;
    auto* parent = dynamic_cast<Widget*>(m_widget->parentWidget());
    return parent ? parent->Owner() : nullptr;
}

bool Window::SetParent(Window* parent) {
    if (!m_widget || m_kind != WindowKind::Child || !parent || !parent->m_widget || parent == this)
        return false;
    const bool shown = !m_widget->isHidden();
    const QRect place = m_widget->geometry();
    // Qt hides a widget that changes parent.
    m_widget->setParent(parent->m_widget);
    m_widget->setGeometry(place);
    if (shown)
        m_widget->show();
    return true;
}

Window* Window::Root() const {
    auto* top = m_widget ? dynamic_cast<Widget*>(m_widget->window()) : nullptr;
    return top ? top->Owner() : nullptr;
}

bool Window::IsTopmost() const {
    return m_widget && m_kind != WindowKind::Child &&
           m_widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void Window::SetTopmost(bool topmost) {
    if (!m_widget || m_kind == WindowKind::Child)
        return;
    // Changing a window flag hides the widget.
    m_widget->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    Show(false);
}

void Window::Invalidate(const CRect* rect) {
    if (!m_widget)
        return;
    QRect area = m_widget->rect();
    if (rect) {
        // Clipped in 64 bits: a rectangle from markup may span the whole int range.
        const long long left = std::max<long long>(rect->left, 0);
        const long long top = std::max<long long>(rect->top, 0);
        const long long right = std::min<long long>(rect->right, area.width());
        const long long bottom = std::min<long long>(rect->bottom, area.height());
        if (right <= left || bottom <= top)
            return;
        area = QRect(int(left), int(top), int(right - left), int(bottom - top));
    }
    if (area.isEmpty())
        return;
    Impl()->Invalid() += area;
    m_widget->update(area);
}

void Window::UpdateWindow() {
    if (m_widget && !Impl()->Invalid().isEmpty())
        m_widget->repaint(Impl()->Invalid());
}

void Window::SetBackgroundColour(COLORREF colour) {
    m_background = colour;
}

QImage Window::RenderImage() {
    if (!m_widget || !CBitmap::FitsSurface(m_widget->width(), m_widget->height()))
        return QImage();
    return m_widget->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void Window::Paint(CBitmap& surface, const CRect& invalid) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&surface);
    dc.IntersectClipRect(invalid);
    dc.FillSolidRect(invalid, m_background);
    Dispatch([&](WindowHandler& h) { return h.OnPaint(*this, dc, invalid); });
}

void Window::SetCapture() {
    if (!m_widget)
        return;
    if (g_capture && g_capture != this)
        ReleaseCapture();
    g_capture = this;
    // Qt grabs only for visible widgets; the capture is still recorded for GetCapture.
    if (m_widget->isVisible())
        m_widget->grabMouse();
}

void Window::ReleaseCapture() {
    if (g_capture && g_capture->m_widget)
        g_capture->m_widget->releaseMouse();
    g_capture = nullptr;
}

Window* Window::GetCapture() {
    return g_capture && g_capture->IsAlive() ? g_capture : nullptr;
}

void Window::SetFocus() {
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

bool Window::HasFocus() const {
    return m_widget && m_widget->hasFocus();
}

void Window::SetCursor(CursorShape shape) {
    m_cursor = shape;
    if (m_widget)
        m_widget->setCursor(QCursor(QtCursor(shape)));
}

bool Window::SetTimer(int id, unsigned periodMs) {
    if (!m_widget)
        return false;
    KillTimer(id);
    if (TestClock::Running()) {
        const WindowRef self = Ref();
        m_clockTimerOfId[id] = TestClock::AddTimer(periodMs, [self, id] {
            if (Window* window = self.Get())
                window->Dispatch([&](WindowHandler& h) { return h.OnTimer(*window, id); });
        });
        return true;
    }
    const int interval = periodMs > static_cast<unsigned>(INT_MAX) ? INT_MAX : int(periodMs);
    const int qtTimerId = m_widget->startTimer(interval, Qt::PreciseTimer);
    if (qtTimerId == 0)
        return false;
    m_qtTimerOfId[id] = qtTimerId;
    return true;
}

bool Window::KillTimer(int id) {
    if (auto clocked = m_clockTimerOfId.find(id); clocked != m_clockTimerOfId.end()) {
        TestClock::KillTimer(clocked->second);
        m_clockTimerOfId.erase(clocked);
        return true;
    }
    auto it = m_qtTimerOfId.find(id);
    if (it == m_qtTimerOfId.end())
        return false;
    if (m_widget)
        m_widget->killTimer(it->second);
    m_qtTimerOfId.erase(it);
    return true;
}

void Window::TimerFired(int qtTimerId) {
    for (const auto& [id, qtId] : m_qtTimerOfId) {
        if (qtId == qtTimerId) {
            const int timerId = id; // the handler may kill it, and the map entry with it
            Dispatch([&](WindowHandler& h) { return h.OnTimer(*this, timerId); });
            return;
        }
    }
}

std::intptr_t Window::SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::intptr_t result = 0;
    Dispatch([&](WindowHandler& h) { return h.OnMessage(*this, message, wParam, lParam, result); });
    return result;
}

bool Window::PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!m_widget)
        return false;
    QCoreApplication::postEvent(m_widget, new MessageEvent(message, wParam, lParam));
    return true;
}

} // namespace plat
