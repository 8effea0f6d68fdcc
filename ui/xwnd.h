#pragma once
// XWnd ("Window"): a window host that makes its own window, a child of the window of the
// nearest window host above it, placed at its rectangle, and becomes the host window of its
// subtree. A page with no window host above makes a top-level window instead and leaves it
// hidden: the frame that opens the page shows it.
#include "ui/xwindow.h"

class XWnd : public XWindow {
public:
    XWnd();
    ORVO_KEY(L"Window")

    // Makes the window after the visual object's creation; 0 when it cannot be made.
    int CreateInstance() override;

protected:
    ~XWnd() override = default;
};
