#pragma once
// What the core asks of the window host (objects with style 0x80) and of frames (0x200).
// Both live in the UI layer; the core reaches them through these interfaces so that it never
// includes the UI. Without a host the requests do nothing.
#include <vector>

class XDO;

namespace orvo {

class WindowHostHooks {
public:
    // Runs the object event "Timer" on `object` every `periodMs`, `count` times (0: forever).
    virtual int RegTimer(XDO* object, int periodMs, int count) = 0;
    virtual int UnRegTimer(XDO* object) = 0;
    virtual int DraggingStart(XDO* object, int code) = 0;
    virtual int RepeatStart(XDO* object, const std::vector<int>& delaysMs) = 0;

protected:
    ~WindowHostHooks() = default;
};

class FrameHooks {
public:
    virtual void FrameMove() = 0;
    virtual void FrameToggleMaximize() = 0;
    virtual void FrameMinimize() = 0;
    virtual void FrameClose() = 0;

protected:
    ~FrameHooks() = default;
};

} // namespace orvo
