// The window host's mouse routing: the objects under the cursor get their mouse states, with
// capture while a button is held, hover tracking, dragging and auto-repeat.
//
//   button down  -> capture, track the object, press point, focus, state 4/8
//   mouse move   -> drag past kDragThreshold (with a gate element), else the hover timer
//   hover tick   -> state 1 on the object under the cursor, 2 then -1 on the one it left
//   button up    -> release, end of drag, state 256/512, click 16/32 on the pressed object
#include <cstdlib>

#include "core/element.h"
#include "ui/contracts.h"
#include "ui/xwindow.h"

XUI* XWindow::GetTracked() const {
    XUI* tracked = dynamic_cast<XUI*>(m_tracked.Get());
    return tracked && !tracked->IsTornDown() ? tracked : nullptr;
}

XUI* XWindow::GetDescendantFromPoint(CPoint pt) {
    return m_hitIndex.Find(*this, pt);
}

XUI* XWindow::ObjectAt(CPoint pt, bool withDisabled) {
    XUI* found = GetXUIFromPoint(pt);
    if (found && !withDisabled && !found->IsEnabled())
        return nullptr;
    return found;
}

void XWindow::Track(XUI* object) {
    XUI* tracked = GetTracked();
    if (tracked == object)
        return;
    if (tracked)
        tracked->SetEvent(MOUSE_NONE, 0);
    m_tracked = object ? object->WeakRef() : orvo::IXORef();
}

bool XWindow::HoldsCapture() const {
    plat::Window* window = GetNativeWindow();
    return window && plat::Window::GetCapture() == window;
}

void XWindow::CaptureMouse() {
    if (plat::Window* window = GetNativeWindow())
        window->SetCapture();
}

void XWindow::DropDragElement() {
    if (s_pDragElem == m_pDragElem.get())
        s_pDragElem = nullptr;
    if (m_pDragElem)
        SetCursorShape(plat::CursorShape::Arrow);
    m_pDragElem.reset();
}

void XWindow::SetCursorShape(plat::CursorShape shape) {
    m_cursor = shape;
    if (plat::Window* window = GetNativeWindow())
        window->SetCursor(shape);
}

std::intptr_t XWindow::SendToWindowUnderCursor(unsigned message) {
    plat::Window* target = plat::Window::FromScreenPoint(plat::Window::CursorPos());
    if (!target)
        return 0;
    return target->SendMessage(message,
                               reinterpret_cast<std::uintptr_t>(GetNativeWindow()),
                               reinterpret_cast<std::intptr_t>(m_pDragElem.get()));
}

XUI* XWindow::DropTarget(plat::Window* source, XElement* element) {
    plat::Window* window = GetNativeWindow();
    plat::Window* root = window ? window->Root() : nullptr;
    if (!root || !element || element != s_pDragElem || (source && source->Root() == root))
        return nullptr;
    CPoint pt;
    if (!GetLogCursorPos(&pt))
        return nullptr;
    return ObjectAt(pt, false);
}

int XWindow::XGateDragging(plat::Window* source, XElement* element) {
    XUI* object = DropTarget(source, element);
    return object && s_gateDrag.findDropGate && s_gateDrag.findDropGate(object) ? 1 : 0;
}

int XWindow::XGateDrop(plat::Window* source, XElement* element) {
    XUI* object = DropTarget(source, element);
    return object && s_gateDrag.dropGateTrigger && s_gateDrag.dropGateTrigger(object, element) ? 1
                                                                                               : 0;
}

void XWindow::OnButtonDown(unsigned, CPoint pt, int code) {
    DropDragElement();
    s_pDragElem = nullptr;
    CaptureMouse();
    m_nPressed = code;
    XUI* object = ObjectAt(pt, false);
    Track(object);
    if (!object)
        return;
    const orvo::IXORef alive = object->WeakRef();
    object->SetPressPoint(pt);
    if (object->GetFlag() & UI_CANFOCUS) {
        if (plat::Window* window = GetNativeWindow())
            window->SetFocus();
        object->SetFocus();
    }
    if (alive.Alive())
        object->SetEvent(code, 1);
    if (XDO* selector = alive.Alive() ? object->GetSelectorOwner() : nullptr) {
        static orvo::ContractMethod<orvo::contract::SelectorSelectMember> s_select;
        if (auto select = s_select.Get(selector))
            select(object);
    }
    if (alive.Alive())
        object->AfterSetEvent(code, nullptr);
}

void XWindow::OnButtonUp(unsigned, CPoint pt, int code) {
    const bool hadCapture = HoldsCapture();
    plat::Window::ReleaseCapture();
    if (m_bDragging) {
        m_bDragging = false;
        // A drag with a gate element ends where gates take it; one without tells its object.
        if (m_pDragElem) {
            SendToWindowUnderCursor(WM_GATE_DROP);
        } else {
            if (XUI* tracked = GetTracked()) {
                tracked->SetCurrentPoint(pt);
                tracked->RunObjectEvent(kEvtDragEnd);
            }
        }
    }
    DropDragElement();
    if (IsTornDown())
        return;
    XUI* object = ObjectAt(pt, true);
    const bool samePressed = hadCapture && object && GetTracked() == object;
    const bool menuDue = m_bContextMenu && code == MOUSE_RUP && samePressed;
    Track(object);
    StopRepeat();
    if (object) {
        const orvo::IXORef alive = object->WeakRef();
        object->SetEvent(code, 1);
        if (alive.Alive() && samePressed)
            object->SetEvent(code == MOUSE_LUP ? MOUSE_LCLICK : MOUSE_RCLICK, 1);
        if (alive.Alive() && !IsTornDown() && ObjectAt(pt, true) == object)
            object->SetEvent(MOUSE_OVER, 1);
    }
    if (IsTornDown())
        return;
    m_nPressed = MOUSE_NONE;
    if (menuDue)
        OpenContextMenu();
}

void XWindow::OnButtonDblClk(unsigned, CPoint pt, int code) {
    CaptureMouse();
    m_nPressed = code == MOUSE_LDBLCLK ? MOUSE_LDOWN : MOUSE_RDOWN;
    XUI* object = ObjectAt(pt, false);
    Track(object);
    if (!object)
        return;
    object->SetPressPoint(pt);
    object->SetEvent(code, 1);
}

void XWindow::XOnMouseMove(unsigned, CPoint pt) {
    if (m_bDragging) {
        if (m_pDragElem) {
            const bool taken = SendToWindowUnderCursor(WM_GATE_DRAGGING) != 0;
            if (IsTornDown())
                return;
            SetCursorShape(taken ? plat::CursorShape::Hand : plat::CursorShape::No);
        } else if (XUI* tracked = GetTracked()) {
            tracked->SetCurrentPoint(pt);
            tracked->RunObjectEvent(EVT_DRAGGING);
        }
    } else if (XUI* tracked = HoldsCapture() ? GetTracked() : nullptr) {
        const CPoint from = tracked->GetPressPoint();
        if (std::abs(pt.x - from.x) >= kDragThreshold ||
            std::abs(pt.y - from.y) >= kDragThreshold) {
            XElement* element =
                s_gateDrag.findGatherDrag ? s_gateDrag.findGatherDrag(tracked) : nullptr;
            if (element) {
                DraggingStart(tracked, MOUSE_LDOWN);
                m_pDragElem.reset(element);
                s_pDragElem = element;
                SetCursorShape(plat::CursorShape::Hand);
            }
        }
    }
    if (IsTornDown())
        return;
    m_bMoved = true;
    if (!m_bHoverTimer && !m_bDragging)
        m_bHoverTimer = StartTimer(TIMER_HOVER, kHoverPeriodMs);
}

bool XWindow::GetLogCursorPos(CPoint* out) const {
    plat::Window* window = GetNativeWindow();
    if (!window || !out)
        return false;
    *out = window->ScreenToClient(plat::Window::CursorPos());
    out->x += m_nLogX;
    return true;
}

int XWindow::DraggingStart(XUI* object, int) {
    m_bDragging = true;
    Track(object);
    CPoint pt;
    if (object && GetLogCursorPos(&pt))
        object->SetPressPoint(pt);
    StopTimer(TIMER_HOVER);
    m_bHoverTimer = false;
    return 1;
}

void XWindow::StartObjectDrag(XUI* object, int code) {
    if (!object)
        return;
    CaptureMouse();
    m_nPressed = code;
    DraggingStart(object, code);
}

void XWindow::CancelDrag() {
    m_bDragging = false;
    m_nPressed = MOUSE_NONE;
    plat::Window::ReleaseCapture();
}

void XWindow::WatchMessages(XDO* watcher) {
    if (!watcher)
        return;
    for (const orvo::IXORef& w : m_watchers)
        if (w.Get() == watcher)
            return;
    m_watchers.push_back(watcher->WeakRef());
}

int XWindow::OnPreTranslateMsg(MSG* msg) {
    std::erase_if(m_watchers, [](const orvo::IXORef& w) { return !w.Alive(); });
    // A watcher's handler may add or drop watchers: walk a copy.
    const std::vector<orvo::IXORef> watchers = m_watchers;
    for (const orvo::IXORef& w : watchers) {
        auto* watcher = static_cast<XDO*>(w.Get());
        if (watcher && !watcher->IsTornDown() && watcher->OnPreTranslateMsg(msg))
            return 1;
    }
    return 0;
}

int XWindow::DraggingStart(XDO* object, int code) {
    return DraggingStart(dynamic_cast<XUI*>(object), code);
}

int XWindow::RepeatStart(XUI* object, int) {
    if (!object)
        return 0;
    m_bRepeating = true;
    Track(object);
    CPoint pt;
    if (GetLogCursorPos(&pt))
        object->SetPressPoint(pt);
    m_nRepeatStep = 0;
    const orvo::IXORef alive = object->WeakRef();
    object->RunObjectEvent(EVT_REPEAT);
    if (!alive.Alive() || IsTornDown() || !m_bRepeating)
        return 1;
    StartTimer(TIMER_REPEAT,
               m_repeatDelays.empty() ? kRepeatPeriodMs : static_cast<int>(m_repeatDelays[0]));
    return 1;
}

int XWindow::RepeatStart(XDO* object, const std::vector<int>& delaysMs) {
    m_repeatDelays = delaysMs;
    return RepeatStart(dynamic_cast<XUI*>(object), m_nPressed);
}

void XWindow::StopRepeat() {
    m_bRepeating = false;
    StopTimer(TIMER_REPEAT);
}
