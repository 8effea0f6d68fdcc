#pragma once
// FrameCaption: the window around a child frame inside the multiple-document client: a title
// strip with a close box over a thin border, the frame's own window inside it. Dragging the
// strip moves the frame within the client; dragging the left, right or bottom border (or a
// lower corner) resizes it; a press anywhere brings it to the front; the close box asks the
// frame to close.
#include <functional>
#include <string>

#include "platform/base/geometry.h"
#include "platform/gui/window.h"

namespace orvo {

class FrameCaption final : public plat::WindowHandler {
public:
    static constexpr int kTitleHeight = 22;
    static constexpr int kBorder = 3;
    // How far along the border from a lower corner a press sizes both ways.
    static constexpr int kCorner = 12;

    struct Actions {
        std::function<void()> activate; // a press anywhere on the caption window
        std::function<void()> close;    // the close box
        // The caption window changed size: the frame's window goes to `inner`.
        std::function<void(const CRect& inner)> resized;
    };

    // Inside `client`, sized to hold a frame window of `frame` (client coordinates of the
    // client) under the strip.
    FrameCaption(plat::Window& client, const CRect& frame, Actions actions);
    ~FrameCaption() override;
    FrameCaption(const FrameCaption&) = delete;
    FrameCaption& operator=(const FrameCaption&) = delete;

    plat::Window& Window() { return m_window; }
    // Where the frame's window goes inside the caption window.
    CRect InnerRect() const;
    void SetTitle(std::wstring title);
    const std::wstring& Title() const { return m_title; }
    // The strip's colours: the theme's "Panel", "Text" and "Edge" when it names them.
    void SetColours(COLORREF strip, COLORREF text, COLORREF edge);
    // The sizes the frame's window may take while the user resizes; a negative or zero
    // maximum leaves that way unbounded. The smallest still shows the close box.
    void SetInnerLimits(CSize min, CSize max);

    bool OnMouse(plat::Window& window, const plat::MouseEvent& event) override;
    bool OnPaint(plat::Window& window, CDC& dc, const CRect& invalid) override;

private:
    enum Edge : unsigned { kNone = 0, kLeft = 1, kRight = 2, kBottom = 4 };

    CRect CloseBox() const;
    // The borders a press at `pt` would drag.
    unsigned EdgesAt(CPoint pt) const;
    void ResizeTo(CPoint screen);

    plat::Window m_window;
    Actions m_actions;
    std::wstring m_title;
    COLORREF m_strip;
    COLORREF m_text;
    COLORREF m_edge;
    bool m_moving = false;
    CPoint m_grab; // where the strip was pressed, in the caption window
    unsigned m_sizing = kNone;
    CPoint m_grabScreen; // where a border was pressed, on the screen
    CRect m_startRect;   // the window's place when it was
    CSize m_minInner{60, 0};
    CSize m_maxInner{0, 0};
};

} // namespace orvo
