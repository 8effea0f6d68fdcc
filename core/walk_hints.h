#pragma once
// WalkHints: the objects one opening built, in the order it built them. That is also the order
// in which the opening walks (creation, "Initialize", "Run") meet them as long as no handler
// has relinked the tree. A walk follows sibling links, so without help a page too big for the
// cache costs one trip to memory per object, each waiting for the last. Told each step, the
// hints ask early for the object some steps ahead, so many objects are on their way at once.
// A hint changes no result: it only reads ahead, and stops once the tree's links have moved,
// since an object unlinked since the building may not be there any more.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/xdo.h"

namespace orvo {

class WalkHints {
public:
    WalkHints() = default; // no hints: a walk of objects this opening did not build
    WalkHints(const std::vector<XDO*>& built, std::uint64_t linkVersion)
        : m_built(&built), m_linkVersion(linkVersion) {}

    // One more object met by the walk.
    void Step() {
        const std::size_t ahead = m_step++ + kDistance;
        if (m_built && ahead < m_built->size() && tree_node<XDO>::LinkVersion() == m_linkVersion)
            (*m_built)[ahead]->PrefetchWalkedFields();
    }

private:
    // Far enough ahead to cover a trip to memory; the figure hardly matters from 4 to 32.
    static constexpr std::size_t kDistance = 16;

    const std::vector<XDO*>* m_built = nullptr;
    std::uint64_t m_linkVersion = 0;
    std::size_t m_step = 0;
};

} // namespace orvo
