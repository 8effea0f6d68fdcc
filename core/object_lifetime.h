#pragma once
// How objects of the tree end. Destroying an object takes two steps: first one walk over its
// whole subtree while every link and every object is intact, in which each object runs its
// "Destroy" event and lets go of everything it holds outside itself (XDO::Teardown); then the
// deletes. Inside a dispatch (an event action, a message, a script call, a page being built)
// the deletes wait for the dispatch to end, so a handler may destroy its own object, its page
// or a sibling and still return through them.
#include <memory>

class XDO;

namespace orvo {

// Marks a dispatch for as long as it lives. Deletes asked for meanwhile happen when the
// outermost scope ends.
class DispatchScope {
public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

    static bool Active();
};

// Tears `obj` down with its subtree, unlinks it from its parent (its later siblings stay
// there, `replacement` takes its place; a parentless object takes its later siblings along,
// as it owns them) and deletes it, now or when the current dispatch ends. Null, an object
// already going, and a registered service (which lives for the process) are left alone.
void DestroyObject(XDO* obj, XDO* replacement = nullptr);

struct XDODelete {
    void operator()(XDO* obj) const { DestroyObject(obj); }
};
// An owned object tree.
using XDOPtr = std::unique_ptr<XDO, XDODelete>;

// The first step for an object deleted without DestroyObject, from its destructor: the
// objects below it are still whole and get their whole teardown.
void TeardownOnDelete(XDO* obj);

// How many deletes wait for the current dispatch to end; for tests.
std::size_t PendingDeletes();

} // namespace orvo
