// Showing and hiding: an object's own window directly; the windows of another object's
// descendants go into a hidden park window while it is hidden, since a hidden object does not
// hide windows of its own.
#include <vector>

#include "core/scr_man.h"
#include "ui/xwnd.h"

namespace {

// Moves the windows of the window hosts in `top`'s subtree that are children of `from` into
// `to`; windows inside those windows move with them.
void MoveWindows(XDO* top, plat::Window* from, plat::Window* to) {
    std::vector<XDO*> pending{top};
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        auto* host =
            orvo::HasStyle(node, XDO_STYLE_NATIVEWND) ? dynamic_cast<XWindow*>(node) : nullptr;
        if (plat::Window* window = host ? host->GetNativeWindow() : nullptr) {
            if (window->Parent() == from)
                window->SetParent(to);
            continue;
        }
        for (XDO* child = node->child(); child; child = child->next())
            pending.push_back(child);
    }
}

bool HoldsWindows(XDO* object) {
    XDO* first = object->child();
    return first &&
           first->find_first([](XDO* node) { return orvo::HasStyle(node, XDO_STYLE_NATIVEWND); });
}

} // namespace

int XUI::SetUIShow(int show, int create) {
    // SetWindowPos without moving, sizing, activating or reordering; shown or hidden.
    constexpr unsigned kShow = 0x257;
    constexpr unsigned kHide = 0x297;
    if (OwnsWindow()) {
        if (orvo::LayoutWindow* own = GetOwnWindow(); own && own->IsWindow())
            own->SetWindowPos(*this, show ? kShow : kHide);
        return 1;
    }
    if (show)
        UnparkWindows();
    else
        ParkWindows(create);
    if (!create)
        TellDescendantsShown();
    return 1;
}

void XUI::TellDescendantsShown() {
    std::vector<XDO*> pending;
    for (XDO* child = this->child(); child; child = child->next())
        pending.push_back(child);
    while (!pending.empty()) {
        XDO* node = pending.back();
        pending.pop_back();
        // A window host hides its own window, and everything inside goes with it.
        if (orvo::HasStyle(node, XDO_STYLE_NATIVEWND) || !orvo::HasStyle(node, XDO_STYLE_UI))
            continue;
        if (auto* visual = dynamic_cast<XUI*>(node))
            visual->OnAncestorShown();
        for (XDO* child = node->child(); child; child = child->next())
            pending.push_back(child);
    }
}

void XUI::ParkWindows(int create) {
    if (m_park.Alive() || !parent() || !HoldsWindows(this))
        return;
    auto* host = dynamic_cast<XWindow*>(parent()->GetXDO(XDO_STYLE_WINDOWHOST, 0));
    plat::Window* hostWindow = host ? host->GetNativeWindow() : nullptr;
    if (!hostWindow)
        return;
    auto* park = new XWnd();
    park->SetShow(false);
    extract_node(0, park);
    park->AddChild(this);
    if (!park->CreateInstance() || !park->GetNativeWindow()) {
        extract_node(0, nullptr);
        park->extract_node(0, this);
        orvo::DestroyObject(park);
        return;
    }
    m_park = park->WeakRef();
    MoveWindows(this, hostWindow, park->GetNativeWindow());
    // The walk creating the page reaches this object's later siblings through it, and it no
    // longer links to them.
    if (create)
        XScrMan::Instance().CreateScreen(park->next());
}

void XUI::UnparkWindows() {
    auto* park = dynamic_cast<XWnd*>(m_park.Get());
    m_park = {};
    if (!park || park->IsTornDown() || parent() != park)
        return;
    plat::Window* parkWindow = park->GetNativeWindow();
    if (plat::Window* back = parkWindow ? parkWindow->Parent() : nullptr)
        MoveWindows(this, parkWindow, back);
    extract_node(0, nullptr);
    park->extract_node(0, this);
    orvo::DestroyObject(park);
    // Layout passes over the park's hidden window: what changed meanwhile is caught up now.
    RecalcRect();
}
