#pragma once
// FrameCaption: the window around a child frame inside the multiple-document client: a title
// strip with a close box over a thin border, the frame's own window inside it. Dragging the
// strip moves the frame within the client; a press anywhere brings it to the front; the close
// box asks the frame to close.
#include <functional>
#include <string>

#include "platform/base/geometry.h"
#include "platform/gui/window.h"

namespace orvo {

class FrameCaption final : public plat::WindowHandler {
public:
    static constexpr int kTitleHeight = 22;
    static constexpr int kBorder = 1;

    struct Actions {
        std::function<void()> activate; // a press anywhere on the caption window
        std::function<void()> close;    // the close box
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

    bool OnMouse(plat::Window& window, const plat::MouseEvent& event) override;
    bool OnPaint(plat::Window& window, CDC& dc, const CRect& invalid) override;

private:
    CRect CloseBox() const;

    plat::Window m_window;
    Actions m_actions;
    std::wstring m_title;
    COLORREF m_strip;
    COLORREF m_text;
    COLORREF m_edge;
    bool m_moving = false;
    CPoint m_grab; // where the strip was pressed, in the caption window
};

} // namespace orvo
