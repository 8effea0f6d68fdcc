// Row and column geometry of a table: sizes shared out, cells placed, lines, hit tests, show
// and hide, and the tables that follow its columns.
#include <algorithm>
#include <climits>

#include "platform/gui/dc.h"
#include "platform/gui/pen.h"
#include "ui/xtable.h"

namespace {

// A reference rectangle whose extent on the axis is `extent`, for resolving expressions.
CRect Extent(int extent) {
    return CRect(0, 0, extent, extent);
}

} // namespace

void XTable::RecalcRowCol(std::vector<CRowColInfo>& entries, int extent, bool columns) {
    const CPosEx::Axis axis = columns ? CPosEx::Axis::Horizontal : CPosEx::Axis::Vertical;
    long long rest = extent;
    long long automatic = static_cast<long long>(entries.size());
    double hiddenPercent = 0;
    for (CRowColInfo& e : entries) {
        if (e.shown && e.IsPixels()) {
            rest -= std::max(orvo::TruncateToInt(e.GetValue()), e.minSize);
            --automatic;
        } else if (!e.shown && e.IsPercent()) {
            hiddenPercent += e.GetValue();
        }
    }
    const int total = static_cast<int>(std::clamp<long long>(rest, INT_MIN, INT_MAX));
    int percentEntries = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        CRowColInfo& e = entries[i];
        int size = 0;
        if (e.IsPercent()) {
            // Hidden percentages go to the shown ones in proportion.
            const double share = 100.0 - hiddenPercent;
            size = e.shown && share > 0 ? orvo::TruncateToInt(total * e.GetValue() / share) : 0;
            percentEntries += e.GetValue() > 0 ? 1 : 0;
        } else if (!e.IsAutomatic() && e.Recalc(Extent(total), axis, 0)) {
            size = e.GetPos();
        }
        size = e.shown ? std::max(size, e.minSize) : 0;
        e.SetSize(size);
        if (e.IsPercent() || !e.shown) {
            rest -= size;
            --automatic;
        }
        if (e.shown && i + 1 < entries.size())
            rest -= e.gap;
    }
    // The rest goes to the automatic entries, or else on top of the percentage ones.
    // Hidden percentage entries count among the sharers without taking a share; what they
    // would have had goes to the last entry that took one.
    const bool toAutomatic = automatic > 0;
    const long long sharers = toAutomatic ? automatic : percentEntries;
    if (rest >= 1 && sharers >= 1) {
        long long extra = rest % sharers;
        long long left = rest;
        CRowColInfo* last = nullptr;
        for (CRowColInfo& e : entries) {
            const bool shares =
                e.shown && (toAutomatic ? e.IsAutomatic() : e.IsPercent() && e.GetValue() > 0);
            if (!shares)
                continue;
            const long long add = rest / sharers + (extra-- > 0 ? 1 : 0);
            e.SetSize(static_cast<int>(std::min<long long>(e.Size() + add, INT_MAX)));
            left -= add;
            last = &e;
        }
        if (last && left > 0)
            last->SetSize(static_cast<int>(std::min<long long>(last->Size() + left, INT_MAX)));
    }
    // Absurd sizes saturate rather than wrap.
    long long position = 0;
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::size_t i =
            columns && n < m_order.size() ? static_cast<std::size_t>(m_order[n]) : n;
        CRowColInfo& e = entries[i];
        e.position = static_cast<int>(std::clamp<long long>(position, INT_MIN, INT_MAX));
        if (e.shown)
            position += static_cast<long long>(e.gap) + e.Size();
    }
}

int XTable::Recalc(XRect* parent) {
    if (!(m_hasReference ? RecalcIn(m_reference) : XUI::Recalc(parent)))
        return 0;
    const CRect inner = GetInner().rect;
    RecalcRowCol(m_rows, inner.Height(), false);
    RecalcRowCol(m_cols, inner.Width(), true);
    RecalcLineInfo();
    PlaceCells();
    if (m_listener)
        m_listener->OnTableRecalc(this);
    return 1;
}

void XTable::PlaceCells() {
    const int rows = GetRowCount();
    const int cols = GetColCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const CTableItem* item = GetTableItem(r, c);
            if (!item || !item->cell)
                continue;
            const CRowColInfo& lastCol =
                m_cols[static_cast<std::size_t>(std::min(c + item->colSpan, cols) - 1)];
            const CRowColInfo& lastRow =
                m_rows[static_cast<std::size_t>(std::min(r + item->rowSpan, rows) - 1)];
            const int x = m_cols[static_cast<std::size_t>(c)].position;
            const int y = m_rows[static_cast<std::size_t>(r)].position;
            item->cell->PlaceByPixels(
                CRect(x, y, std::max(lastCol.End(), x), std::max(lastRow.End(), y)));
        }
    }
}

void XTable::RecalcLineInfo() {
    auto compute = [](std::vector<CTableLine>& lines,
                      const std::vector<CRowColInfo>& along,
                      const std::vector<CRowColInfo>& across) {
        for (CTableLine& line : lines) {
            if (across.empty())
                continue;
            const int last = static_cast<int>(across.size()) - 1;
            const int from = std::clamp(line.from, 0, last);
            const int to = line.to < 0 || line.to > last ? last : line.to;
            const CRowColInfo& end = across[static_cast<std::size_t>(std::max(to, from))];
            line.start = across[static_cast<std::size_t>(from)].position;
            line.end = end.End();
            for (CTableLine::Position& p : line.positions) {
                p.valid = p.index >= 0 && p.index < static_cast<int>(along.size());
                if (p.valid) {
                    const CRowColInfo& e = along[static_cast<std::size_t>(p.index)];
                    p.coordinate = e.End();
                }
            }
        }
    };
    compute(m_rowLines, m_rows, m_cols);
    compute(m_colLines, m_cols, m_rows);
}

void XTable::OnPaintAfterChild(CDC* dc) {
    if (!dc)
        return;
    const CRect inner = GetInner().rect;
    auto draw = [&](const std::vector<CTableLine>& lines, bool horizontal) {
        for (const CTableLine& line : lines) {
            const CPen pen(line.penStyle, line.weight, line.colour);
            const CPen* previous = dc->SelectObject(&pen);
            for (const CTableLine::Position& p : line.positions) {
                if (!p.valid)
                    continue;
                if (horizontal) {
                    dc->MoveTo(inner.left + line.start, inner.top + p.coordinate);
                    dc->LineTo(inner.left + line.end, inner.top + p.coordinate);
                } else {
                    dc->MoveTo(inner.left + p.coordinate, inner.top + line.start);
                    dc->LineTo(inner.left + p.coordinate, inner.top + line.end);
                }
            }
            dc->SelectObject(previous);
        }
    };
    draw(m_rowLines, true);
    draw(m_colLines, false);
    DrawTrack(dc);
}

bool XTable::GetRowCol(CPoint point, int& row, int& col) const {
    const CRect inner = GetInner().rect;
    if (!PtInRect(point))
        return false;
    auto find = [](const std::vector<CRowColInfo>& entries, int at) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const CRowColInfo& e = entries[i];
            if (e.shown && at > e.position && at < e.End())
                return static_cast<int>(i);
        }
        return -1;
    };
    row = find(m_rows, point.y - inner.top);
    col = find(m_cols, point.x - inner.left);
    return row >= 0 && col >= 0;
}

// ---- sizes ------------------------------------------------------------------------------------

int XTable::GetRowSize(int index) const {
    const CRowColInfo* e = GetRowInfo(index);
    return e ? e->Size() : 0;
}

int XTable::GetColSize(int index) const {
    const CRowColInfo* e = GetColInfo(index);
    return e ? e->Size() : 0;
}

namespace {

int SizeEx(const CRowColInfo* e, bool written, bool withGap) {
    if (!e)
        return 0;
    return (written ? orvo::TruncateToInt(e->GetValue()) : e->Size()) + (withGap ? e->gap : 0);
}

} // namespace

int XTable::GetRowSizeEx(int index, bool written, bool withGap) const {
    return SizeEx(GetRowInfo(index), written, withGap);
}

int XTable::GetColSizeEx(int index, bool written, bool withGap) const {
    return SizeEx(GetColInfo(index), written, withGap);
}

void XTable::SetRowSize(int index, const wchar_t* expression) {
    if (auto* e = const_cast<CRowColInfo*>(GetRowInfo(index)); e && e->SetSizeText(expression))
        Relayout();
}

void XTable::SetColSize(int index, const wchar_t* expression) {
    if (auto* e = const_cast<CRowColInfo*>(GetColInfo(index)); e && e->SetSizeText(expression)) {
        SyncFollowers();
        Relayout();
    }
}

bool XTable::VisibleRow(int index) const {
    const CRowColInfo* e = GetRowInfo(index);
    return e && e->shown;
}

bool XTable::VisibleCol(int index) const {
    const CRowColInfo* e = GetColInfo(index);
    return e && e->shown;
}

bool XTable::ShowHide(bool rows, int index, bool show) {
    auto* e = const_cast<CRowColInfo*>(rows ? GetRowInfo(index) : GetColInfo(index));
    if (!e)
        return false;
    if (e->shown == show)
        return true;
    e->shown = show;
    const int count = rows ? GetColCount() : GetRowCount();
    for (int other = 0; other < count; ++other) {
        if (XUI* cell = rows ? GetItem(index, other) : GetItem(other, index))
            cell->SetShow(show);
    }
    Relayout();
    return true;
}

void XTable::Relayout() {
    if (Recalc())
        OnSizeChange();
    Repaint(nullptr);
}

// ---- display order and followers ---------------------------------------------------------------

int XTable::GetNthDispCol(int n) const {
    return n >= 0 && n < static_cast<int>(m_order.size()) ? m_order[static_cast<std::size_t>(n)]
                                                          : -1;
}

bool XTable::MoveCol(int, int) {
    if (m_order.size() < 2)
        return false;
    std::swap(m_order[0], m_order[1]);
    SyncFollowers();
    if (m_listener)
        m_listener->OnTableDragEnd(this);
    Relayout();
    return true;
}

void XTable::AddDragSync(XTable* other) {
    if (other && other != this)
        m_followers.push_back(other->WeakRef());
}

void XTable::SetColInfos(const std::vector<CRowColInfo>& columns) {
    if (columns.size() != m_cols.size())
        return;
    m_cols = columns;
    if (GetCreateState() >= 2)
        Relayout();
}

void XTable::SetDisplayOrder(const std::vector<int>& order) {
    const int n = GetColCount();
    std::vector<bool> placed(static_cast<std::size_t>(n), false);
    std::vector<int> result;
    result.reserve(static_cast<std::size_t>(n));
    auto place = [&](int column) {
        if (column >= 0 && column < n && !placed[static_cast<std::size_t>(column)]) {
            placed[static_cast<std::size_t>(column)] = true;
            result.push_back(column);
        }
    };
    for (int column : order)
        place(column);
    for (int column = 0; column < n; ++column)
        place(column);
    m_order = std::move(result);
    SyncFollowers();
    Relayout();
}

int XTable::GetPixelWidth() const {
    long long width = static_cast<long long>(Width()) - GetInner().rect.Width();
    for (const CRowColInfo& c : m_cols) {
        if (!c.IsPixels())
            return 0;
        if (c.shown)
            width += std::max(orvo::TruncateToInt(c.GetValue()), c.minSize) + c.gap;
    }
    return static_cast<int>(std::clamp<long long>(width, 0, INT_MAX));
}

void XTable::SyncFollowers() {
    for (const orvo::IXORef& ref : m_followers) {
        auto* other = static_cast<XTable*>(ref.Get());
        if (!other || other->GetColCount() != GetColCount())
            continue;
        for (std::size_t c = 0; c < m_cols.size(); ++c) {
            CRowColInfo& mine = m_cols[c];
            CRowColInfo& theirs = other->m_cols[c];
            theirs.SetPos(mine.GetPos(), mine.GetScale(), mine.GetValue());
            theirs.shown = mine.shown;
        }
        other->m_order = m_order;
        other->Relayout();
    }
}
