// Hit testing: which visual object of a subtree is under a point.
#include <vector>

#include "ui/xui.h"

namespace {

XUI* AsVisual(XDO* node) {
    return orvo::HasStyle(node, XDO_STYLE_UI) ? orvo::KindOf<XUI>(node) : nullptr;
}

// Whether the walk goes into `node` at all: not into hidden or disabled objects, nor into
// windows below the top, which test their own points.
bool Enterable(XDO* node, XDO* top) {
    XUI* visual = AsVisual(node);
    if (!visual)
        return true;
    if (!visual->IsShow() || !visual->IsEnabled())
        return false;
    return node == top || !orvo::HasStyle(node, XDO_STYLE_WINDOWHOST);
}

// The last painted object under `pt` among `first`, its following siblings and their
// subtrees: later siblings before earlier ones, children before their parent.
XUI* Find(XDO* first, XDO* top, CPoint pt) {
    std::vector<XDO*> siblings;
    for (XDO* node = first; node; node = node->next())
        siblings.push_back(node);
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
        XDO* node = *it;
        if (!Enterable(node, top))
            continue;
        if (XUI* found = Find(node->child(), top, pt))
            return found;
        XUI* visual = AsVisual(node);
        if (visual && (visual->GetFlag() & XUI::UI_NOTIFYMOUSE) && visual->PtInRect(pt))
            return visual;
    }
    return nullptr;
}

} // namespace

XUI* XUI::GetXUIFromPoint(CPoint pt) {
    if (!Enterable(this, this))
        return nullptr;
    if (XUI* found = Find(child(), this, pt))
        return found;
    return (m_nFlags & UI_NOTIFYMOUSE) && ClientRect().PtInRect(pt) ? this : nullptr;
}
