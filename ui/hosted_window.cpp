#include "ui/hosted_window.h"

namespace orvo {

CRect HostedWindow::GetWindowRect() const {
    const CRect client = m_window.GetClientRect();
    const CPoint origin = ClientOrigin();
    return CRect(origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height());
}

void HostedWindow::SetWindowPos(const CRect& rect, unsigned flags) {
    if ((flags & (kSwpNoMove | kSwpNoSize)) != (kSwpNoMove | kSwpNoSize)) {
        const CRect now = m_window.GetWindowRect();
        CRect placed = rect;
        placed.NormalizeRect();
        if (flags & kSwpNoMove)
            placed = CRect(now.left, now.top, now.left + placed.Width(), now.top + placed.Height());
        if (flags & kSwpNoSize)
            placed = CRect(
                placed.left, placed.top, placed.left + now.Width(), placed.top + now.Height());
        m_window.Move(placed);
    }
    if (flags & kSwpShowWindow)
        m_window.Show(false);
    else if (flags & kSwpHideWindow)
        m_window.Hide();
}

} // namespace orvo
