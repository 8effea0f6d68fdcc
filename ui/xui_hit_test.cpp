// Hit testing: which visual object of a subtree is under a point.
#include "ui/hit_order.h"
#include "ui/xui.h"

XUI* XUI::GetXUIFromPoint(CPoint pt) {
    if (!IsShow() || !IsEnabled())
        return nullptr;
    if (XUI* found = GetDescendantFromPoint(pt))
        return found;
    return (m_nFlags & UI_NOTIFYMOUSE) && ClientRect().PtInRect(pt) ? this : nullptr;
}

XUI* XUI::GetDescendantFromPoint(CPoint pt) {
    return orvo::FirstInHitOrder(*this, [pt](XUI* object) { return object->PtInRect(pt); });
}
