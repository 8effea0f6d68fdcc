#pragma once
// What a window host asks of gates to carry data by dragging it from one top-level window to
// another. Gates live beside the UI layer, so whoever links both installs these; without
// them no drag carries an element and no window accepts a drop.
class XDO;
class XElement;

namespace orvo {

struct GateDragHooks {
    // The element a drag of `object` carries (the caller owns it), or null.
    XElement* (*findGatherDrag)(XDO* object) = nullptr;
    // Whether `object` has a gate that takes drops.
    int (*findDropGate)(XDO* object) = nullptr;
    // Hands `element` to `object`'s drop gate; non-zero when it took it.
    int (*dropGateTrigger)(XDO* object, XElement* element) = nullptr;
    // Hands over (owned) the element a screen opened by link starts with; its first
    // auto-triggered gate takes it. Null drops one left over.
    void (*setLinkElement)(XElement* element) = nullptr;
};

} // namespace orvo
