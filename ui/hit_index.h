#pragma once
// HitIndex: the window host's hit test without walking its subtree on every mouse move. It
// lists the objects below the host in the order the walk tries them (hit_order.h), with their
// rectangles, and files them in the buckets of a grid over their union: a point is tried
// against its bucket's objects alone, and the first listed that holds it wins, as in the
// walk. Rectangles over many buckets are kept apart and tried alongside. The lists are built
// again on the first question after the tree, a visual object's rectangle or a flag the walk
// reads changed anywhere.
#include <cstdint>
#include <vector>

#include "platform/base/geometry.h"

class XUI;

namespace orvo {

class HitIndex {
public:
    // The object under `pt` among `top`'s descendants, as FirstInHitOrder finds it.
    XUI* Find(XUI& top, CPoint pt);

private:
    // What the lists were built from.
    struct Stamp {
        const XUI* top = nullptr;
        std::uint64_t links = 0;
        std::uint64_t growth = 0;
        std::uint64_t layout = 0;
        std::uint64_t flags = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        CRect rect;
        XUI* object;
    };

    static Stamp Now(const XUI& top);
    void Build(XUI& top);
    void FileInBuckets();
    // The first of `indices` (ascending entry indices) below `limit` whose rectangle holds
    // `pt`, else `limit`.
    std::size_t FirstHolding(const std::uint32_t* begin,
                             const std::uint32_t* end,
                             CPoint pt,
                             std::size_t limit) const;

    Stamp m_stamp;
    std::vector<Entry> m_entries; // in the walk's order
    CRect m_bounds;               // the union of the rectangles
    long long m_cellWidth = 1;
    long long m_cellHeight = 1;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::uint32_t> m_bucketStart; // where each bucket's indices begin, and the end
    std::vector<std::uint32_t> m_bucketEntries;
    std::vector<std::uint32_t> m_wide; // entries over too many buckets to file
};

} // namespace orvo
