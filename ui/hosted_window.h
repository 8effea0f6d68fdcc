#pragma once
// HostedWindow: a platform window that a window host owns, seen by layout as a LayoutWindow.
// A child window's rectangle is in its parent's client coordinates, a top-level one's on
// the screen.
#include "platform/gui/window.h"
#include "ui/layout_window.h"

namespace orvo {

// SetWindowPos flags beyond those of layout_window.h.
constexpr unsigned kSwpNoSize = 0x1;
constexpr unsigned kSwpNoMove = 0x2;
constexpr unsigned kSwpShowWindow = 0x40;
constexpr unsigned kSwpHideWindow = 0x80;

class HostedWindow final : public LayoutWindow {
public:
    // A child without a live parent becomes a top-level window.
    HostedWindow(plat::WindowKind kind, plat::Window* parent) : m_window(kind, parent) {}

    plat::Window& Native() { return m_window; }

    bool IsWindow() const override { return m_window.IsAlive(); }
    CRect GetClientRect() const override { return m_window.GetClientRect(); }
    CPoint ClientOrigin() const override { return m_window.ClientToScreen(CPoint()); }
    CRect GetWindowRect() const override;
    // Moves and sizes unless told not to; shows without activating, or hides.
    void SetWindowPos(const CRect& rect, unsigned flags) override;

private:
    plat::Window m_window;
};

} // namespace orvo
