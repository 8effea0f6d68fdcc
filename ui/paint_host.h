#pragma once
// What a visual object asks of the window it paints into: to repaint part of it. The window
// host (an object with style 0x80) implements it; a visual object finds its nearest such
// ancestor and asks, and without one the request does nothing.
#include "platform/base/geometry.h"

class XUI;

namespace orvo {

class PaintHost {
public:
    // Registers `rect`, in the client coordinates of the host's window, for painting on
    // behalf of `object`.
    virtual void RegPaint(XUI* object, const CRect& rect) = 0;

protected:
    ~PaintHost() = default;
};

} // namespace orvo
