#pragma once
// What layout asks of a window: its client area, where it is on the screen, and to move.
// The window host implements it over the platform's windows; layout never sees them.
#include "platform/base/geometry.h"

namespace orvo {

// SetWindowPos flags layout uses: keep the Z order, do not activate.
constexpr unsigned kSwpNoZOrder = 0x4;
constexpr unsigned kSwpNoActivate = 0x10;

class LayoutWindow {
public:
    // False once the window is destroyed.
    virtual bool IsWindow() const = 0;
    virtual CRect GetClientRect() const = 0;
    // The client area's top-left in screen coordinates.
    virtual CPoint ClientOrigin() const = 0;
    // The whole window in screen coordinates.
    virtual CRect GetWindowRect() const = 0;
    // `rect` is in the parent window's client coordinates.
    virtual void SetWindowPos(const CRect& rect, unsigned flags) = 0;

protected:
    ~LayoutWindow() = default;
};

// The window top-level layout rectangles resolve against; none until the UI installs one,
// and then they resolve against an empty rectangle at (0, 0).
LayoutWindow* DesktopWindow();
void SetDesktopWindow(LayoutWindow* window);

} // namespace orvo
