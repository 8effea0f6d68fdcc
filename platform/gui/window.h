#pragma once
// plat::Window: a native window for the UI layer, over a QWidget, in Windows' shape.
// Top-level windows have a frame; popups (drop-down lists, tips) have none and are never
// activated, so they take no keyboard focus; children live in their parent's client area. Events go
// to WindowHandler objects (window_handler.h).
//
// The widget can die before the Window: a child's widget goes with its parent's. From then
// on the Window is dead: IsAlive() is false, queries answer empty values and commands do
// nothing. A Window may be destroyed from inside one of its own handlers; its widget is then
// deleted once the event has returned.
#include <QEventLoop>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/colorref.h"
#include "platform/base/geometry.h"
#include "platform/gui/window_handler.h"

class CBitmap;

namespace plat {

enum class WindowKind { TopLevel, Child, Popup };

enum class CursorShape {
    Arrow,
    IBeam,
    Wait,
    Cross,
    Hand,
    SizeWE,
    SizeNS,
    SizeNWSE,
    SizeNESW,
    SizeAll,
    No
};

class Window;

// A weak handle: Get() answers null once the Window is destroyed.
class WindowRef {
public:
    WindowRef() = default;
    Window* Get() const;

private:
    friend class Window;
    explicit WindowRef(std::weak_ptr<Window*> window) : m_window(std::move(window)) {}
    std::weak_ptr<Window*> m_window;
};

class Window {
public:
    // Sides are clamped to 0..kMaxSide pixels.
    static constexpr int kMaxSide = 32767;

    // A child needs a live parent; without one it becomes a top-level window. A top-level
    // window or popup given a parent is owned by it: it stays above its owner and goes with
    // it.
    explicit Window(WindowKind kind, Window* parent = nullptr);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool IsAlive() const { return m_widget != nullptr; }
    WindowKind Kind() const { return m_kind; }
    WindowRef Ref() const { return WindowRef(m_self); }

    // Not owned; null leaves every event to the hooks and the defaults.
    void SetHandler(WindowHandler* handler) { m_handler = handler; }
    // Not owned: a hook removes itself before it dies. Adding one twice moves it on top.
    void AddHook(WindowHandler* hook);
    void RemoveHook(WindowHandler* hook);

    // Showing never activates unless asked to.
    void Show(bool activate = false);
    void Hide();
    bool IsVisible() const;
    void SetTitle(std::wstring_view title);

    // A child's rectangle is in its parent's client coordinates, other windows' on the
    // screen. The rectangle is normalised, so a reversed one still places the window.
    void Move(const CRect& rect);
    CRect GetWindowRect() const;
    // (0, 0) to the client size.
    CRect GetClientRect() const;
    // Between this window's client coordinates and the screen's.
    CPoint ClientToScreen(CPoint point) const;
    CPoint ScreenToClient(CPoint point) const;
    // The mouse cursor on the screen.
    static CPoint CursorPos();
    // The innermost live window shown at a point of the screen, or null.
    static Window* FromScreenPoint(CPoint point);
    // A child's parent window, null for other windows.
    Window* Parent() const;
    // The window a top-level window or popup is owned by; null for children and unowned ones.
    Window* Owner() const;
    // Moves a child into another live parent at the same place, shown or hidden as it was.
    bool SetParent(Window* parent);
    // The top-level window this one lives in: itself unless it is a child. Null when dead.
    Window* Root() const;
    // Top-level windows only: kept above the others. Setting it shows the window, inactive.
    bool IsTopmost() const;
    void SetTopmost(bool topmost);

    // Marks a part of the client area (null: all of it) for painting on a later pass of the
    // loop; rectangles outside the client area are clipped, empty ones ignored.
    void Invalidate(const CRect* rect = nullptr);
    // Paints what is invalid now, without waiting for the loop.
    void UpdateWindow();
    // While locked the window keeps what it shows and paints nothing; unlocking repaints it.
    void LockUpdates(bool locked);
    // White until changed.
    void SetBackgroundColour(COLORREF colour);
    // The client area as painted now, with the child windows shown; null for a dead window
    // or one too large for a bitmap (over 2^26 pixels), which also paints white without
    // calling OnPaint.
    QImage RenderImage();

    // ---- top-level windows --------------------------------------------------------------------
    // Raises and activates the window, or the top-level window a child lives in.
    void Activate();
    // Puts the window above its siblings (a child) or above the other windows.
    void Raise();
    bool IsActive() const;
    // The active top-level window and the window with the keyboard focus, or null.
    static Window* ActiveWindow();
    static Window* FocusWindow();
    // A disabled window and its children take no mouse or keyboard input.
    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    // The smallest and largest size the user may give the window; a side of 0 or less leaves
    // that limit off.
    void SetMinTrackSize(CSize size);
    void SetMaxTrackSize(CSize size);
    CSize GetMinTrackSize() const;
    CSize GetMaxTrackSize() const;
    ShowState GetShowState() const;
    // Shows the window in that state (activating it unless minimised).
    void SetShowState(ShowState state);
    // Asks the window to close as its close button does; the handlers' OnClose decide. True
    // when it closed. PostClose asks on a later pass of the loop.
    bool Close();
    bool PostClose();
    // Shows the window modal to the application and runs the loop until it closes, hides or
    // EndModal is called: the EndModal result, else 0. -1 for a dead window or one already
    // running modal.
    int RunModal();
    void EndModal(int result);
    bool IsModal() const { return m_modalLoop != nullptr; }

    // Mouse capture: the window gets the mouse until ReleaseCapture, even outside itself.
    void SetCapture();
    static void ReleaseCapture();
    // Null when no live window has the capture.
    static Window* GetCapture();

    void SetFocus();
    bool HasFocus() const;

    void SetCursor(CursorShape shape);
    CursorShape GetCursor() const { return m_cursor; }

    // Ticks OnTimer(id) every `periodMs` (0: on every pass of the loop). Setting an id again
    // restarts it with the new period. False for a dead window.
    bool SetTimer(int id, unsigned periodMs);
    // False for an id that is not running.
    bool KillTimer(int id);

    // Delivers a message to the hooks and the handler now and answers their result (0 when
    // nobody handles it).
    std::intptr_t SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Delivers it on a later pass of the loop, unless the window dies first. UI thread only;
    // other threads post through EventLoop. False for a dead window.
    bool PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // For platform/gui only (menus, message boxes, tests): the widget, null when dead.
    QWidget* NativeWidget() const { return m_widget; }

private:
    class Widget;
    friend class Widget;

    // Hands the event to the hooks from the top, then to the handler, until one takes it.
    // Stops at once when a handler destroys the window.
    template <class Call> bool Dispatch(Call&& call);
    Widget* Impl() const;
    // The Window of `widget` or of the nearest of its parents that has one.
    static Window* OwnerOf(QWidget* widget);
    void Paint(CBitmap& surface, const CRect& invalid);
    void TimerFired(int qtTimerId);
    // The window closed, hid or died: a modal loop over it ends.
    void EndModalLoop();

    WindowKind m_kind;
    QPointer<QWidget> m_widget; // a Widget, null once Qt has deleted it

    std::shared_ptr<Window*> m_self;
    WindowHandler* m_handler = nullptr;
    std::vector<WindowHandler*> m_hooks;
    std::map<int, int> m_qtTimerOfId;
    std::map<int, int> m_clockTimerOfId; // timers started while the test clock ran
    CursorShape m_cursor = CursorShape::Arrow;
    COLORREF m_background = RGB(255, 255, 255);
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = 0;
};

} // namespace plat
