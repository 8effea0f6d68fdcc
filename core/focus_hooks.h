#pragma once
// What a screen library asks of the controls in its tab order. Controls that can hold the
// keyboard focus are visual objects of the UI layer; the core reaches them through this
// interface. An object without it is focused through XDO::SetFocus alone.
namespace orvo {

class FocusHooks {
public:
    // Shown and enabled, as is every visual object around it.
    virtual bool CanTakeFocus() const = 0;
    // Focuses the window of the window host holding the control, then the control's own
    // window when it has one.
    virtual void TakeFocus() = 0;
    // What a press and release of the left button on the control does.
    virtual void SimulateClick() = 0;
    // A member of a selector is told that it is in the tab order, so that it shows the focus
    // as it is travelled to.
    virtual void JoinTabOrder() = 0;

protected:
    ~FocusHooks() = default;
};

} // namespace orvo
