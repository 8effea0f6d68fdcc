#pragma once
// XWindow ("XWindow"): the window host. Visual objects have no windows of their own; a window
// host owns one platform window and serves the subtree painted into it. It gathers repaint
// requests into one dirty rectangle and invalidates it once, at once through the screen
// manager or after its paint delay; paints the subtree double-buffered; turns the window's
// mouse messages into the mouse states of the objects under the cursor (hover, leave, down,
// up, click, double click) with capture, auto-repeat and dragging; and runs the timers of the
// objects inside it.
//
// A plain XWindow makes no window: frames and XWnd ("Window") give it one (AttachWindow).
//
// Files: xwindow.cpp (element, life, script methods, window moves), xwindow_paint.cpp
// (repaint requests and double-buffered painting), xwindow_mouse.cpp (mouse routing,
// dragging, auto-repeat), xwindow_timers.cpp (the timer ticks and object timers),
// host_message_handler.cpp (the window's messages).
#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "core/window_hooks.h"
#include "nubra/ixo_ref.h"
#include "platform/gui/window.h"
#include "ui/gate_drag_hooks.h"
#include "ui/hit_index.h"
#include "ui/paint_host.h"
#include "ui/xui.h"

namespace orvo {
class HostMessageHandler;
class HostedWindow;
} // namespace orvo

class XWindow : public XUI, public orvo::PaintHost, public orvo::WindowHostHooks {
    ORVO_DISPATCH_MAP()

public:
    // Mouse codes handed to XUI::SetEvent.
    enum MouseCode : int {
        MOUSE_NONE = -1,
        MOUSE_OVER = 1,
        MOUSE_LEAVE = 2,
        MOUSE_LDOWN = 4,
        MOUSE_RDOWN = 8,
        MOUSE_LCLICK = 16,
        MOUSE_RCLICK = 32,
        MOUSE_LDBLCLK = 64,
        MOUSE_RDBLCLK = 128,
        MOUSE_LUP = 256,
        MOUSE_RUP = 512,
    };
    // The window's own timers; object timers count from TIMER_OBJECT_FIRST.
    enum TimerId : int {
        TIMER_HOVER = 1,
        TIMER_REPEAT = 2,
        TIMER_PAINT = 3,
        TIMER_UPDATE = 4,
        TIMER_OBJECT_FIRST = 1000,
    };
    static constexpr int kHoverPeriodMs = 10;
    static constexpr int kRepeatPeriodMs = 300;
    // How far the cursor moves from the press point, in x or in y, before a drag starts.
    static constexpr int kDragThreshold = 3;
    // Object event at the end of a drag that carries no gate element.
    static constexpr int kEvtDragEnd = 8;

    XWindow();
    ORVO_KEY(L"XWindow")

    // ---- life cycle ------------------------------------------------------------------------
    // "PaintDelay" after the visual object's attributes.
    int SetElement(XElement* e) override;
    // On "Initialize" an unset paint delay is inherited from the window-owning ancestors.
    int RunObjectEvent(int id) override;

    // ---- painting ----------------------------------------------------------------------------
    void RegPaint(XUI* object, const CRect& rect) override;
    // Adds `rect` (client coordinates plus the logical x) to the dirty rectangle and asks for
    // it to be painted.
    void RegPaint(const CRect& rect);
    // Invalidates the dirty rectangle, then empties it.
    void DoPaint();
    // The whole subtree, double-buffered, shifted by the logical x.
    void OnPaint(CDC* dc) override;
    // The window's client area became this object's rectangle; lays the subtree out again.
    virtual void OnSizeWindow(plat::Window* window);

    // ---- the window's life (frames answer these) ---------------------------------------------
    // The user or the program asks the window to close: true keeps it as it is, false lets
    // it hide.
    virtual bool OnCloseWindow() { return false; }
    virtual void OnActivateWindow(bool) {}
    virtual void OnActivateAppWindow(bool) {}
    virtual void OnShowStateWindow(plat::ShowState /*from*/, plat::ShowState /*to*/) {}

    // ---- mouse ---------------------------------------------------------------------------------
    // Points are client coordinates plus the logical x.
    virtual void OnButtonDown(unsigned flags, CPoint pt, int code);
    virtual void OnButtonUp(unsigned flags, CPoint pt, int code);
    virtual void OnButtonDblClk(unsigned flags, CPoint pt, int code);
    virtual void XOnMouseMove(unsigned flags, CPoint pt);
    virtual void XOnLButtonDown(unsigned flags, CPoint pt) { OnButtonDown(flags, pt, MOUSE_LDOWN); }
    virtual void XOnRButtonDown(unsigned flags, CPoint pt) { OnButtonDown(flags, pt, MOUSE_RDOWN); }
    virtual void XOnLButtonUp(unsigned flags, CPoint pt) { OnButtonUp(flags, pt, MOUSE_LUP); }
    virtual void XOnRButtonUp(unsigned flags, CPoint pt) { OnButtonUp(flags, pt, MOUSE_RUP); }
    virtual void XOnLButtonDblClk(unsigned flags, CPoint pt) {
        OnButtonDblClk(flags, pt, MOUSE_LDBLCLK);
    }
    virtual void XOnRButtonDblClk(unsigned flags, CPoint pt) {
        OnButtonDblClk(flags, pt, MOUSE_RDBLCLK);
    }
    virtual void XOnTimer(int id);
    // The wheel is left to derived hosts that scroll.
    virtual void XOnMouseWheel(unsigned, short, CPoint) {}
    // From the hit index: every mouse move asks.
    XUI* GetDescendantFromPoint(CPoint pt) override;

    // Starts a drag of `object` from the cursor's place; the drag ends at the button's release.
    int DraggingStart(XUI* object, int code);
    // An object's own drag from a press it took before the window saw it (a table's grip):
    // the window captures the mouse, holds `code` pressed and drags `object`.
    void StartObjectDrag(XUI* object, int code);
    // Ends a drag without its end event and releases the mouse.
    void CancelDrag();
    // Objects that see this window's messages before it handles them (OnPreTranslateMsg), in
    // the order they asked; one that answers non-zero consumes the message.
    void WatchMessages(XDO* watcher);
    int OnPreTranslateMsg(MSG* msg) override;
    void ShowCursorShape(plat::CursorShape shape) { SetCursorShape(shape); }
    // Runs "Repeat" on `object` now and then every repeat delay while the button is held.
    int RepeatStart(XUI* object, int code);
    // The screen's menu (reopen, print, save as a picture, send a grid to Excel, edit linked
    // screens) over the object under the cursor, when the frame around allows it. 0 when it
    // did not open or nothing was chosen.
    int OpenContextMenu();
    // Whether a right click may open the screen's menu; on unless a derived host takes the
    // right button for itself.
    void EnableContextMenu(bool enable) { m_bContextMenu = enable; }
    // The cursor in client coordinates plus the logical x; false without a window.
    bool GetLogCursorPos(CPoint* out) const;

    // ---- gate drag-and-drop between top-level windows ------------------------------------------
    static void SetGateDragHooks(const orvo::GateDragHooks& hooks) { s_gateDrag = hooks; }
    static const orvo::GateDragHooks& GetGateDragHooks() { return s_gateDrag; }
    // The element being dragged between windows, or null.
    static XElement* s_pDragElem;
    // Registered by name, so that every module agrees: wParam the source window, lParam the
    // element.
    static const unsigned WM_GATE_DRAGGING;
    static const unsigned WM_GATE_DROP;
    // Whether the object under the cursor takes a drop of `element` from `source`; never from
    // a window with the same root.
    virtual int XGateDragging(plat::Window* source, XElement* element);
    // Drops `element` on the object under the cursor.
    virtual int XGateDrop(plat::Window* source, XElement* element);

    // ---- orvo::WindowHostHooks --------------------------------------------------------------
    // Identifiers from 1000; 0 when the window timer cannot start.
    int RegTimer(XDO* object, int periodMs, int count) override;
    // The first timer of `object`; 0 when it has none.
    int UnRegTimer(XDO* object) override;
    int DraggingStart(XDO* object, int code) override;
    int RepeatStart(XDO* object, const std::vector<int>& delaysMs) override;

    // ---- script interface ----------------------------------------------------------------------
    void SetLogX(int x) { m_nLogX = x; }
    int GetLogX() const { return m_nLogX; }
    // Invalidates the whole window.
    void Refresh();
    // Flips painting by registration on or off for every window of the process.
    void ToggleRegPaint() { s_bRegPaint = !s_bRegPaint; }
    static bool RegPaintOn() { return s_bRegPaint; }
    bool OffsetWindow(int dl, int dt, int dr, int db);
    bool MoveWindow(int l, int t, int r, int b);
    // Drawing of the window stops until unlocked; false without a window.
    bool LockWindowUpdate();
    bool UnlockWindowUpdate();
    bool GetTopmost() const;
    void SetTopmost(bool topmost);
    int GetPaintDelay() const { return m_nPaintDelay; }

    // ---- state ---------------------------------------------------------------------------------
    // The platform window this host paints into; null without one or once it is destroyed.
    plat::Window* GetNativeWindow() const;
    orvo::LayoutWindow* GetOwnWindow() override;
    XUI* GetTracked() const;
    int GetPressedCode() const { return m_nPressed; }
    bool IsDragging() const { return m_bDragging; }
    bool IsRepeating() const { return m_bRepeating; }
    // The period of the window's own timer `id` (1 to 4), or -1 while it is stopped.
    int TimerPeriod(int id) const;
    bool TimerRunning(int id) const { return TimerPeriod(id) >= 0; }
    const CRect& GetDirtyRect() const { return m_rcDirty; }
    std::size_t ObjectTimerCount() const { return m_timers.size(); }

protected:
    ~XWindow() override;
    // Unregisters from the screen manager and stops every timer while the tree is whole.
    void Teardown() override;

    // Makes `window` this host's window: its messages come here and its client area becomes
    // this object's rectangle. Not owned; null detaches. 0 for a dead window.
    int AttachWindow(orvo::HostedWindow* window);
    orvo::HostedWindow* GetHostedWindow() const { return m_pHosted; }
    // Where DoPaint and Refresh reach the platform; a frame with a non-client part may add it.
    virtual void InvalidateWindow(const CRect* rect);
    // Makes this host's own window, named `title`, at its rectangle and attaches it. A child
    // goes inside the window of the nearest host above and shows unless this object is
    // hidden; without a window above, or as a popup, the window is top-level and stays hidden
    // for its frame to show. `parent`, when given, stands for the window above (a frame's
    // window inside the multiple-document client); `owner` owns a top-level window or popup.
    // 0 when it cannot be made; the host window is then as before.
    int CreateOwnWindow(plat::WindowKind kind,
                        std::wstring_view title,
                        plat::Window* parent = nullptr,
                        plat::Window* owner = nullptr);

private:
    struct ObjectTimer {
        orvo::IXORef object;
        int id = 0;
        int periodMs = 0;
        int count = 0; // 0: forever
        int ticks = 0;
    };

    // The visual object under `pt`, or null; a disabled one counts only with `withDisabled`.
    XUI* ObjectAt(CPoint pt, bool withDisabled);
    // Makes `object` the tracked one; the one tracked before goes back to no mouse state.
    void Track(XUI* object);
    bool HoldsCapture() const;
    void CaptureMouse();
    bool StartTimer(int id, int periodMs);
    void StopTimer(int id);
    void OnHoverTick();
    void OnRepeatTick();
    void OnUpdateTick();
    void OnObjectTimer(int id);
    void InheritPaintDelay();
    void StopRepeat();

    void DropDragElement();
    // The object under the cursor that may take a drop from `source`, or null.
    XUI* DropTarget(plat::Window* source, XElement* element);
    // Sends a gate message to the window under the cursor; 0 when there is none.
    std::intptr_t SendToWindowUnderCursor(unsigned message);
    void SetCursorShape(plat::CursorShape shape);

    static bool s_bRegPaint;
    static orvo::GateDragHooks s_gateDrag;

    int m_nLogX = 0;
    int m_nPressed = MOUSE_NONE;
    std::unique_ptr<XElement> m_pDragElem;
    orvo::IXORef m_tracked; // the object under the cursor or the one pressed
    bool m_bHoverTimer = false;
    bool m_bMoved = false;
    bool m_bDragging = false;
    bool m_bPainting = false;
    bool m_bRepeating = false;
    bool m_bContextMenu = true;
    std::vector<int> m_repeatDelays; // milliseconds
    std::size_t m_nRepeatStep = 0;
    std::array<int, 5> m_periods{-1, -1, -1, -1, -1}; // by timer id 1 to 4
    CRect m_rcDirty;
    plat::CursorShape m_cursor = plat::CursorShape::Arrow;
    std::vector<ObjectTimer> m_timers;
    std::vector<orvo::IXORef> m_watchers;
    orvo::HitIndex m_hitIndex;
    int m_nPaintDelay = -1;
    orvo::HostedWindow* m_pHosted = nullptr;
    std::unique_ptr<orvo::HostedWindow> m_ownWindow; // the window CreateOwnWindow made
    std::unique_ptr<orvo::HostMessageHandler> m_handler;
};
