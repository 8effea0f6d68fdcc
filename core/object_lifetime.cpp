#include "core/object_lifetime.h"

#include <vector>

#include "core/xdo.h"

namespace orvo {

namespace {

int g_depth = 0;
std::vector<XDO*> g_pending; // detached, torn-down roots waiting for their delete

} // namespace

// The first step over a subtree. Every object of it is claimed before the first handler runs,
// so a handler that destroys one of them, or the whole subtree again, finds it already going
// and leaves it to this walk. All "Destroy" events run first, in the order a recursive delete
// meets the objects, while every object of the subtree is still whole and reachable by name;
// then each object lets go of what it holds outside. Objects a handler adds meanwhile are met
// by another pass.
struct TreeTeardown {
    static void Run(XDO* root, bool withSiblings) {
        std::vector<XDO*> order;
        std::vector<XDO*> handlers; // the objects with a "Destroy" event, in the same order
        for (;;) {
            const std::uint64_t links = tree_node<XDO>::LinkVersion();
            const std::uint64_t growth = tree_node<XDO>::GrowthCount();
            Claim(root, withSiblings, order, handlers);
            if (order.empty())
                return;
            for (XDO* obj : handlers)
                obj->RunObjectEvent(EVT_DESTROY);
            for (XDO* obj : order) {
                obj->m_tornDown = true;
                obj->Teardown();
            }
            order.clear();
            handlers.clear();
            // The focus is recorded on the top object, shared by the whole subtree.
            XDO* top = root->GetTopParent();
            if (top->m_pFocus && top->m_pFocus->m_dying)
                top->m_pFocus = nullptr;
            if (links == tree_node<XDO>::LinkVersion() && growth == tree_node<XDO>::GrowthCount())
                return;
        }
    }

    static void DeletePending() {
        // A delete runs no handler, so nothing joins the list while it drains.
        while (!g_pending.empty()) {
            XDO* obj = g_pending.back();
            g_pending.pop_back();
            delete obj;
        }
    }

    // The objects not yet claimed, in the order a recursive delete meets them: each object,
    // its later siblings with theirs, then its children.
    static void
    Claim(XDO* root, bool withSiblings, std::vector<XDO*>& order, std::vector<XDO*>& handlers) {
        std::vector<XDO*> pending{root};
        while (!pending.empty()) {
            XDO* obj = pending.back();
            pending.pop_back();
            if (obj->child())
                pending.push_back(obj->child());
            if (obj->next() && (obj != root || withSiblings))
                pending.push_back(obj->next());
            if (!obj->m_dying) {
                obj->m_dying = true;
                order.push_back(obj);
                if (obj->GetEventSlot(EVT_DESTROY))
                    handlers.push_back(obj);
            }
        }
    }
};

DispatchScope::DispatchScope() {
    ++g_depth;
}

DispatchScope::~DispatchScope() {
    if (--g_depth == 0)
        TreeTeardown::DeletePending();
}

bool DispatchScope::Active() {
    return g_depth > 0;
}

std::size_t PendingDeletes() {
    return g_pending.size();
}

void TeardownOnDelete(XDO* obj) {
    TreeTeardown::Run(obj, !obj->parent() && !obj->previous());
}

void DestroyObject(XDO* obj, XDO* replacement) {
    if (!obj || obj->m_dying || obj->IsRegisteredInstance())
        return;
    DispatchScope scope; // deletes asked for by Destroy handlers wait for this walk
    const bool withSiblings = !obj->parent() && !obj->previous();
    TreeTeardown::Run(obj, withSiblings);
    obj->extract_node(0, replacement);
    g_pending.push_back(obj);
}

} // namespace orvo
