// The window host's painting: repaint requests gathered into one dirty rectangle, and the
// double-buffered paint of the subtree.
#include "core/scr_man.h"
#include "platform/gui/dc.h"
#include "ui/hosted_window.h"
#include "ui/xwindow.h"

void XWindow::RegPaint(XUI*, const CRect& rect) {
    RegPaint(rect);
}

void XWindow::RegPaint(const CRect& request) {
    // What is asked for while painting is being painted already.
    if (!s_bRegPaint || m_bPainting || request.left == request.right ||
        request.top == request.bottom)
        return;
    CRect rect = request;
    rect.NormalizeRect();
    rect.OffsetRect(-m_nLogX, 0);
    if (m_rcDirty.IsRectEmpty())
        m_rcDirty = rect;
    else
        m_rcDirty.UnionRect(m_rcDirty, rect);
    if (m_nPaintDelay < 1) {
        // The screen manager paints every registered window once the current work is done;
        // without a shell nobody would, so the window is invalidated now.
        if (!XScrMan::Instance().RegPaint(this))
            DoPaint();
        return;
    }
    if (!TimerRunning(TIMER_PAINT))
        StartTimer(TIMER_PAINT, m_nPaintDelay);
}

void XWindow::DoPaint() {
    if (GetNativeWindow() && !m_rcDirty.IsRectEmpty())
        InvalidateWindow(&m_rcDirty);
    m_rcDirty.SetRectEmpty();
}

void XWindow::InvalidateWindow(const CRect* rect) {
    if (plat::Window* window = GetNativeWindow())
        window->Invalidate(rect);
}

void XWindow::OnPaint(CDC* target) {
    if (!target || !IsShow())
        return;
    CRect box;
    target->GetClipBox(&box);
    if (box.IsRectEmpty())
        return;
    m_bPainting = true;
    // The subtree paints into a bitmap the size of the clip box, with logical x x+logX drawn
    // at device x; the bitmap goes to the target in one copy.
    CDC memory;
    CBitmap bitmap;
    if (memory.CreateCompatibleDC(target) && bitmap.CreateBitmap(box.Width(), box.Height())) {
        memory.SelectObject(&bitmap);
        memory.FillSolidRect(CRect(0, 0, box.Width(), box.Height()), target->GetBkColor());
        XFORM shift;
        shift.eDx = static_cast<float>(-box.left - m_nLogX);
        shift.eDy = static_cast<float>(-box.top);
        memory.SetGraphicsMode(GM_ADVANCED);
        memory.SetWorldTransform(shift);
        memory.SetBkMode(TRANSPARENT);
        memory.SetTextColor(target->GetTextColor());
        XUI::OnPaint(&memory);
        target->BitBlt(box.left, box.top, box.Width(), box.Height(), &memory, 0, 0, SRCCOPY);
    }
    m_bPainting = false;
}

void XWindow::OnSizeWindow(plat::Window* window) {
    if (!window || !window->IsAlive())
        return;
    if (m_pHosted && &m_pHosted->Native() == window)
        SetWindow(m_pHosted);
    OnSizeChange();
}
