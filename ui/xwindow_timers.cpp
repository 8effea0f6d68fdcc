// The window host's timers: hover tracking (1), auto-repeat (2), delayed painting (3), the
// update highlight countdown (4), and the timers objects register (1000 and up).
#include <algorithm>
#include <vector>

#include "ui/xwindow.h"

namespace {

bool OwnTimer(int id) {
    return id >= XWindow::TIMER_HOVER && id <= XWindow::TIMER_UPDATE;
}

} // namespace

int XWindow::TimerPeriod(int id) const {
    return OwnTimer(id) ? m_periods[static_cast<std::size_t>(id)] : -1;
}

bool XWindow::StartTimer(int id, int periodMs) {
    plat::Window* window = GetNativeWindow();
    periodMs = std::max(periodMs, 0);
    const bool started = window && window->SetTimer(id, static_cast<unsigned>(periodMs));
    if (OwnTimer(id))
        m_periods[static_cast<std::size_t>(id)] = started ? periodMs : -1;
    return started;
}

void XWindow::StopTimer(int id) {
    if (plat::Window* window = GetNativeWindow())
        window->KillTimer(id);
    if (OwnTimer(id))
        m_periods[static_cast<std::size_t>(id)] = -1;
}

void XWindow::XOnTimer(int id) {
    if (IsTornDown())
        return;
    switch (id) {
    case TIMER_HOVER:
        OnHoverTick();
        return;
    case TIMER_REPEAT:
        OnRepeatTick();
        return;
    case TIMER_PAINT:
        StopTimer(TIMER_PAINT);
        DoPaint();
        return;
    case TIMER_UPDATE:
        OnUpdateTick();
        return;
    default:
        if (id >= TIMER_OBJECT_FIRST)
            OnObjectTimer(id);
    }
}

void XWindow::OnHoverTick() {
    plat::Window* window = GetNativeWindow();
    if (!window)
        return;
    const CPoint screen = plat::Window::CursorPos();
    const bool captured = HoldsCapture();
    if (plat::Window::FromScreenPoint(screen) != window && !captured) {
        StopTimer(TIMER_HOVER);
        m_bHoverTimer = false;
        Track(nullptr);
        return;
    }
    CPoint pt = window->ScreenToClient(screen);
    pt.x += m_nLogX;
    XUI* object = ObjectAt(pt, true);
    // The leave handlers below may destroy the object under the cursor.
    const orvo::IXORef objectRef = object ? object->WeakRef() : orvo::IXORef();
    XUI* tracked = GetTracked();
    if (object && object == tracked) {
        // The pressed look comes back when the cursor returns to the pressed object.
        if (captured && object->GetMouseState() != m_nPressed)
            object->SetEvent(m_nPressed, m_bRepeating ? 1 : 0);
    } else if (!m_bDragging) {
        if (tracked) {
            const orvo::IXORef alive = tracked->WeakRef();
            tracked->SetEvent(MOUSE_LEAVE, 1);
            if (alive.Alive())
                tracked->SetEvent(MOUSE_NONE, 0);
        }
        if (IsTornDown())
            return;
        if (!captured)
            m_tracked = objectRef;
    }
    if (m_bMoved && objectRef.Alive() && !captured && !IsTornDown()) {
        object->SetCurrentPoint(pt);
        object->SetEvent(MOUSE_OVER, 1);
        m_bMoved = false;
    }
}

void XWindow::OnRepeatTick() {
    plat::Window* window = GetNativeWindow();
    XUI* tracked = GetTracked();
    if (!window || !tracked) {
        StopRepeat();
        return;
    }
    const CPoint screen = plat::Window::CursorPos();
    CPoint pt = window->ScreenToClient(screen);
    pt.x += m_nLogX;
    if (plat::Window::FromScreenPoint(screen) == window && HoldsCapture() &&
        ObjectAt(pt, true) == tracked) {
        tracked->RunObjectEvent(EVT_REPEAT);
        if (IsTornDown() || !m_bRepeating)
            return;
    }
    ++m_nRepeatStep;
    if (m_nRepeatStep < m_repeatDelays.size())
        StartTimer(TIMER_REPEAT, m_repeatDelays[m_nRepeatStep]);
}

void XWindow::OnUpdateTick() {
    // Child windows count down their own objects.
    std::vector<XDO*> pending;
    if (child())
        pending.push_back(child());
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        for (; node; node = node->next()) {
            auto* visual = orvo::HasStyle(node, XDO_STYLE_UI) ? dynamic_cast<XUI*>(node) : nullptr;
            if (visual && orvo::HasStyle(visual, XDO_STYLE_WINDOWHOST))
                continue;
            if (visual && visual->GetUpdateCount() > 0) {
                visual->SetUpdateCount(visual->GetUpdateCount() - 1);
                visual->Repaint(nullptr);
            }
            if (node->child())
                pending.push_back(node->child());
        }
    }
}

// ---- object timers ------------------------------------------------------------------------------

int XWindow::RegTimer(XDO* object, int periodMs, int count) {
    plat::Window* window = GetNativeWindow();
    if (!object || !window)
        return 0;
    const int id = m_timers.empty() ? TIMER_OBJECT_FIRST : m_timers.back().id + 1;
    if (!window->SetTimer(id, static_cast<unsigned>(std::max(periodMs, 0))))
        return 0;
    m_timers.push_back({object->WeakRef(), id, periodMs, std::max(count, 0), 0});
    return 1;
}

int XWindow::UnRegTimer(XDO* object) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [object](const ObjectTimer& t) {
        return object && t.object.Get() == object;
    });
    if (it == m_timers.end())
        return 0;
    if (plat::Window* window = GetNativeWindow())
        window->KillTimer(it->id);
    m_timers.erase(it);
    return 1;
}

void XWindow::OnObjectTimer(int id) {
    auto it = std::find_if(
        m_timers.begin(), m_timers.end(), [id](const ObjectTimer& t) { return t.id == id; });
    if (it == m_timers.end())
        return;
    auto* object = dynamic_cast<XDO*>(it->object.Get());
    ++it->ticks;
    // The entry goes before the last event runs: its handler may register again.
    if (!object || (it->count > 0 && it->ticks >= it->count)) {
        if (plat::Window* window = GetNativeWindow())
            window->KillTimer(id);
        m_timers.erase(it);
    }
    if (object && !object->IsTornDown())
        object->RunObjectEvent(EVT_TIMER);
}
