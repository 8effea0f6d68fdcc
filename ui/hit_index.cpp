#include "ui/hit_index.h"

#include <algorithm>
#include <cmath>

#include "ui/hit_order.h"

namespace orvo {

namespace {

// About one rectangle per bucket; a side of more than this many buckets gains little.
constexpr long long kMaxGridSide = 256;
// A rectangle over more buckets than this is tried on every question instead of being filed.
constexpr long long kMaxBucketsPerEntry = 16;

struct Span {
    long long firstColumn, lastColumn, firstRow, lastRow;
    long long Buckets() const { return (lastColumn - firstColumn + 1) * (lastRow - firstRow + 1); }
};

} // namespace

HitIndex::Stamp HitIndex::Now(const XUI& top) {
    return Stamp{&top,
                 tree_node<XDO>::LinkVersion(),
                 tree_node<XDO>::GrowthCount(),
                 XRect::LayoutVersion(),
                 XUI::HitFlagsVersion()};
}

XUI* HitIndex::Find(XUI& top, CPoint pt) {
    if (!(m_stamp == Now(top)))
        Build(top);
    std::size_t best =
        FirstHolding(m_wide.data(), m_wide.data() + m_wide.size(), pt, m_entries.size());
    if (m_columns > 0 && m_bounds.PtInRect(pt)) {
        const long long column = (static_cast<long long>(pt.x) - m_bounds.left) / m_cellWidth;
        const long long row = (static_cast<long long>(pt.y) - m_bounds.top) / m_cellHeight;
        const auto bucket = static_cast<std::size_t>(row * m_columns + column);
        const std::uint32_t* items = m_bucketEntries.data();
        best = FirstHolding(
            items + m_bucketStart[bucket], items + m_bucketStart[bucket + 1], pt, best);
    }
    return best < m_entries.size() ? m_entries[best].object : nullptr;
}

std::size_t HitIndex::FirstHolding(const std::uint32_t* begin,
                                   const std::uint32_t* end,
                                   CPoint pt,
                                   std::size_t limit) const {
    for (const std::uint32_t* it = begin; it != end && *it < limit; ++it)
        if (m_entries[*it].rect.PtInRect(pt))
            return *it;
    return limit;
}

void HitIndex::Build(XUI& top) {
    m_stamp = Now(top);
    m_entries.clear();
    FirstInHitOrder(top, [this](XUI* object) {
        // An empty rectangle holds no point.
        if (!object->IsRectEmpty())
            m_entries.push_back({static_cast<const CRect&>(*object), object});
        return false;
    });
    FileInBuckets();
}

void HitIndex::FileInBuckets() {
    m_wide.clear();
    m_bucketStart.clear();
    m_bucketEntries.clear();
    m_columns = m_rows = 0;
    if (m_entries.empty())
        return;
    long long left = m_entries[0].rect.left, top = m_entries[0].rect.top;
    long long right = m_entries[0].rect.right, bottom = m_entries[0].rect.bottom;
    for (const Entry& entry : m_entries) {
        left = std::min<long long>(left, entry.rect.left);
        top = std::min<long long>(top, entry.rect.top);
        right = std::max<long long>(right, entry.rect.right);
        bottom = std::max<long long>(bottom, entry.rect.bottom);
    }
    m_bounds = CRect(static_cast<int>(left),
                     static_cast<int>(top),
                     static_cast<int>(right),
                     static_cast<int>(bottom));
    const long long width = right - left;
    const long long height = bottom - top;
    // Buckets about as many as rectangles, as square as the union allows.
    const double count = static_cast<double>(m_entries.size());
    const long long columns = std::clamp<long long>(
        std::llround(std::sqrt(count * static_cast<double>(width) / static_cast<double>(height))),
        1,
        std::min(kMaxGridSide, width));
    const long long rows =
        std::clamp<long long>((static_cast<long long>(m_entries.size()) + columns - 1) / columns,
                              1,
                              std::min(kMaxGridSide, height));
    m_cellWidth = (width + columns - 1) / columns;
    m_cellHeight = (height + rows - 1) / rows;
    m_columns = static_cast<int>((width + m_cellWidth - 1) / m_cellWidth);
    m_rows = static_cast<int>((height + m_cellHeight - 1) / m_cellHeight);

    auto spanOf = [&](const CRect& rect) {
        return Span{(rect.left - left) / m_cellWidth,
                    (rect.right - 1 - left) / m_cellWidth,
                    (rect.top - top) / m_cellHeight,
                    (rect.bottom - 1 - top) / m_cellHeight};
    };
    // Counted first, then filed in the walk's order, so each bucket's list is ascending.
    m_bucketStart.assign(static_cast<std::size_t>(m_columns) * m_rows + 1, 0);
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        const Span span = spanOf(m_entries[i].rect);
        if (span.Buckets() > kMaxBucketsPerEntry) {
            m_wide.push_back(i);
            continue;
        }
        for (long long row = span.firstRow; row <= span.lastRow; ++row)
            for (long long column = span.firstColumn; column <= span.lastColumn; ++column)
                ++m_bucketStart[static_cast<std::size_t>(row * m_columns + column) + 1];
    }
    for (std::size_t b = 1; b < m_bucketStart.size(); ++b)
        m_bucketStart[b] += m_bucketStart[b - 1];
    m_bucketEntries.resize(m_bucketStart.back());
    std::vector<std::uint32_t> filled(m_bucketStart.begin(), m_bucketStart.end() - 1);
    std::size_t nextWide = 0;
    for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
        if (nextWide < m_wide.size() && m_wide[nextWide] == i) {
            ++nextWide;
            continue;
        }
        const Span span = spanOf(m_entries[i].rect);
        for (long long row = span.firstRow; row <= span.lastRow; ++row)
            for (long long column = span.firstColumn; column <= span.lastColumn; ++column)
                m_bucketEntries[filled[static_cast<std::size_t>(row * m_columns + column)]++] = i;
    }
}

} // namespace orvo
