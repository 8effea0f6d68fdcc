#pragma once
// The order hit testing tries the visual objects below a top object: later siblings before
// earlier ones, children before their parent, so that the topmost painted object comes
// first. Hidden and disabled objects are left out with everything inside them, and so are
// the window hosts below the top, which take the mouse in their own windows.
#include <vector>

#include "ui/xui.h"

namespace orvo {

namespace hit_order_detail {

template <class Take> XUI* FirstAmong(XDO* first, Take& take) {
    std::vector<XDO*> siblings;
    for (XDO* node = first; node; node = node->next())
        siblings.push_back(node);
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
        XDO* node = *it;
        XUI* visual = AsVisual(node);
        if (visual &&
            (!visual->IsShow() || !visual->IsEnabled() || HasStyle(node, XDO_STYLE_WINDOWHOST)))
            continue;
        if (XUI* found = FirstAmong(node->child(), take))
            return found;
        if (visual && (visual->GetFlag() & XUI::UI_NOTIFYMOUSE) && take(visual))
            return visual;
    }
    return nullptr;
}

} // namespace hit_order_detail

// Offers each object below `top` that takes the mouse to `take`, in that order, until it
// answers true; that object, or null.
template <class Take> XUI* FirstInHitOrder(XUI& top, Take&& take) {
    return hit_order_detail::FirstAmong(top.child(), take);
}

} // namespace orvo
