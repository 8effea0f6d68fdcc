// XStruct: copies and comparison.
#include <algorithm>
#include <cstring>
#include <utility>

#include "data/cell_codec.h"
#include "data/struct.h"

using orvo::PutCell;
using orvo::TakeCell;

void XStruct::CopyStruct(const XStruct& source) {
    if (&source == this || source.m_maxRow > 0)
        return;
    m_nested = source.m_nested;
    m_count = source.m_count;
    m_memReady = source.m_memReady;
    m_dynamic = source.m_dynamic;
    m_record = source.m_record;
    m_maxRow = source.m_maxRow;
    m_ringStart = source.m_ringStart;
    m_receivedGroupNo = source.m_receivedGroupNo;
    // The string table comes along, so every handle names this structure's own copy.
    m_rows = source.m_rows;
}

void XStruct::CopyRow(const XStruct& source, int sourceRow, int row) {
    const int sourcePhysical = source.PhysicalRow(sourceRow);
    const int physical = PhysicalRow(row);
    const unsigned char* from = sourcePhysical < 0 ? nullptr : source.m_rows.Row(sourcePhysical);
    unsigned char* to = physical < 0 ? nullptr : m_rows.Row(physical);
    if (!from || !to || source.m_rows.RowSize() != m_rows.RowSize())
        return;
    if (!HasPointerField()) {
        std::memcpy(to, from, static_cast<std::size_t>(m_rows.RowSize()));
        return;
    }
    for (int c = 0; c < GetFieldCount(); ++c) {
        const CRecord::CField* f = m_record.GetField(c);
        const int offset = m_record.GetOffSet(c);
        if (f->Type != DT_PT_STR) {
            std::memcpy(to + offset, from + offset, static_cast<std::size_t>(f->Size));
            continue;
        }
        const std::wstring* text =
            source.m_rows.Strings().Get(TakeCell<std::uint32_t>(from + offset));
        orvo::WriteCellText(*f,
                            to + offset,
                            text ? std::wstring_view(*text) : std::wstring_view(),
                            m_rows.Strings());
    }
}

void XStruct::CopyStructByCount(const XStruct& source, int n) {
    if (&source == this || source.m_maxRow > 0)
        return;
    // Rows already here are kept only while they still have the source's layout.
    const bool keepRows = m_memReady && source.m_memReady && m_maxRow == 0 &&
                          m_dynamic == source.m_dynamic && m_record == source.m_record;
    if (!keepRows) {
        m_rows.Clear();
        m_count = 0;
        m_maxRow = 0;
        m_ringStart = 0;
        m_record = source.m_record;
        m_receivedGroupNo = source.m_receivedGroupNo;
    }
    m_nested = source.m_nested;
    m_dynamic = source.m_dynamic;
    m_memReady = source.m_memReady;
    if (m_dynamic || !source.m_memReady || n <= 0)
        return;
    n = std::min(n, source.m_count);
    if (!ConfirmDataMem(m_count + n))
        return;
    for (int row = source.m_count - n; row < source.m_count; ++row)
        CopyRow(source, row, row);
}

bool XStruct::operator==(const XStruct& other) const {
    // Pairs still to compare; siblings are walked by the loop, not by recursion.
    std::vector<std::pair<const XDO*, const XDO*>> pending{{this, &other}};
    while (!pending.empty()) {
        auto [left, right] = pending.back();
        pending.pop_back();
        if (left == right)
            continue;
        const auto* a = dynamic_cast<const XStruct*>(left);
        const auto* b = dynamic_cast<const XStruct*>(right);
        if (!a || !b)
            return false;
        if (a->m_count != b->m_count || a->m_memReady != b->m_memReady ||
            a->m_dynamic != b->m_dynamic || !(a->m_record == b->m_record))
            return false;
        if (a->m_memReady) {
            for (int row = 0; row < a->m_count; ++row) {
                const int pa = a->PhysicalRow(row);
                const int pb = b->PhysicalRow(row);
                const unsigned char* ra = pa < 0 ? nullptr : a->m_rows.Row(pa);
                const unsigned char* rb = pb < 0 ? nullptr : b->m_rows.Row(pb);
                if (!ra || !rb) {
                    if (ra != rb)
                        return false;
                    continue;
                }
                for (int c = 0; c < a->GetFieldCount(); ++c) {
                    const CRecord::CField* f = a->m_record.GetField(c);
                    const int offset = a->m_record.GetOffSet(c);
                    if (f->Type == DT_PT_STR) {
                        const std::wstring* sa =
                            a->m_rows.Strings().Get(TakeCell<std::uint32_t>(ra + offset));
                        const std::wstring* sb =
                            b->m_rows.Strings().Get(TakeCell<std::uint32_t>(rb + offset));
                        if ((sa ? *sa : std::wstring()) != (sb ? *sb : std::wstring()))
                            return false;
                    } else if (std::memcmp(ra + offset,
                                           rb + offset,
                                           static_cast<std::size_t>(f->Size)) != 0) {
                        return false;
                    }
                }
            }
        }
        const XDO* ac = a->child();
        const XDO* bc = b->child();
        if (ac || bc)
            pending.emplace_back(ac, bc);
        const XDO* an = a->next();
        const XDO* bn = b->next();
        if (an || bn)
            pending.emplace_back(an, bn);
    }
    return true;
}
