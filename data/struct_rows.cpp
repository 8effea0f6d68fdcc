// XStruct: adding, removing, shifting and sorting rows.
#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

#include "data/inner_struct.h"
#include "data/struct.h"
#include "nubra/tok.h"
#include "platform/base/lenient.h"

namespace {

// The number a sort key text holds: leading blanks and tabs skipped, digits and signs (and
// the decimal point when `decimals`) kept, commas skipped, anything else ends it.
const std::wstring& NumberText(const std::wstring& text, bool decimals, std::wstring& kept) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    kept.clear();
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if ((c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || (decimals && c == L'.'))
            kept.push_back(c);
        else if (c != L',')
            break;
    }
    return kept;
}

template <class Key>
void SortIndices(std::vector<int>& order, const std::vector<Key>& keys, bool largerFirst) {
    if (largerFirst)
        std::stable_sort(
            order.begin(), order.end(), [&keys](int a, int b) { return keys[a] > keys[b]; });
    else
        std::stable_sort(
            order.begin(), order.end(), [&keys](int a, int b) { return keys[a] < keys[b]; });
}

} // namespace

int XStruct::AddRecordEx(const wchar_t* text, const wchar_t* separator) {
    if (m_count == INT_MAX || !ConfirmDataMem(m_count + 1))
        return 0;
    const int row = m_count - 1;
    CTok tok(text ? text : L"", separator ? separator : L",");
    std::wstring piece;
    for (int col = 0; col < GetFieldCount() && tok.GetNext(piece); ++col)
        SetVal(row, col, piece.c_str());
    return 1;
}

int XStruct::RemoveRecord(int row) {
    if (!m_memReady || m_maxRow > 0 || row < 0 || row >= m_count)
        return 0;
    if (!m_rows.Remove(m_record, row))
        return 0;
    --m_count;
    return 1;
}

int XStruct::RemoveInnerRecord(int field, int innerRow) {
    CRecord::CField* f = m_record.GetField(field);
    if (!m_memReady || m_dynamic || m_count != 1 || m_rows.Rows() != 1 || !f ||
        f->Type != DT_STRUCT || !f->InnerStruct)
        return 0;
    CInnerStruct& inner = *f->InnerStruct;
    const int innerSize = inner.GetRecordSize();
    if (innerRow < 0 || innerRow >= inner.count || innerSize < 0)
        return 0;
    const int offset = m_record.GetOffSet(field) + innerRow * innerSize;
    if (!m_rows.EraseBytes(offset, innerSize))
        return 0;
    --inner.count;
    // The field and the record shrink by one inner row, as the storage just did.
    m_record.CalcInternals();
    return 1;
}

void XStruct::RmStruct() {
    m_rows.Clear();
    m_count = 0;
    m_maxRow = 0;
    m_ringStart = 0;
    m_memReady = false;
}

bool XStruct::ShiftUp(int n) {
    if (HasPointerField())
        return false;
    if (n <= 0 || n >= m_count || !m_memReady)
        return true;
    if (m_maxRow > 0) {
        // (ringStart + n) mod MaxRow without a division: a ring taking ticks shifts by one
        // on every tick.
        const int step = n < m_maxRow ? n : n % m_maxRow;
        m_ringStart =
            m_ringStart < m_maxRow - step ? m_ringStart + step : m_ringStart - (m_maxRow - step);
    } else if (m_dynamic) {
        m_rows.RotateBuffers(m_count, n);
    } else if (unsigned char* block = m_rows.Block()) {
        const auto size = static_cast<std::size_t>(m_rows.RowSize());
        std::memmove(block, block + n * size, (m_count - n) * size);
    }
    return true;
}

bool XStruct::ShiftDown(int n) {
    if (HasPointerField())
        return false;
    if (n <= 0 || n >= m_count || !m_memReady)
        return true;
    if (m_maxRow > 0) {
        // (ringStart - n) mod MaxRow without a division, as above.
        const int step = n < m_maxRow ? n : n % m_maxRow;
        m_ringStart = m_ringStart >= step ? m_ringStart - step : m_ringStart + (m_maxRow - step);
    } else if (m_dynamic) {
        m_rows.RotateBuffers(m_count, m_count - n);
    } else if (unsigned char* block = m_rows.Block()) {
        const auto size = static_cast<std::size_t>(m_rows.RowSize());
        std::memmove(block + n * size, block, (m_count - n) * size);
    }
    return true;
}

int XStruct::InsertRowsAtTopGrowing(const XStruct& source, int first, int count) {
    if (count <= 0 || first < 0 || first > source.m_count - count || !RowsMoveWholeFrom(source) ||
        (!m_memReady && !ConfirmDataMem()))
        return 0;
    const int before = std::max(m_count, 0);
    int n = count;
    if (m_maxRow > 0) {
        n = std::min(n, m_maxRow);
        first += count - n; // the newest rows are the last ones given
        if (!ConfirmDataMem(
                std::min<std::int64_t>(static_cast<std::int64_t>(before) + n, m_maxRow)))
            return 0;
    } else if (static_cast<std::int64_t>(before) + n > INT_MAX || !ConfirmDataMem(before + n)) {
        return 0;
    }
    // The rows made room for (new, or a full ring's oldest) come round to the top.
    if (n < m_count)
        ShiftDown(n);
    for (int k = 0; k < n; ++k)
        CopyRow(source, first + n - 1 - k, k);
    return n;
}

bool XStruct::ShiftRecordTillEnd(XStruct* target, int rows, int fields, int n) {
    if (!target)
        return false;
    // Rows past the count can be neither read nor written.
    const std::int64_t last =
        std::min<std::int64_t>(static_cast<std::int64_t>(rows) - n - 1, target->m_count - 1);
    fields = std::min(fields, target->GetFieldCount());
    std::wstring text;
    for (std::int64_t r = last; r >= 0; --r) {
        const int row = static_cast<int>(r);
        for (int c = 0; c < fields; ++c) {
            text.clear();
            target->GetVal(row, c, text);
            target->SetVal(row, c, L"");
            if (static_cast<std::int64_t>(row) + n <= INT_MAX)
                target->SetVal(row + n, c, text.c_str());
        }
    }
    return true;
}

int XStruct::Sort(int field, SORT_TYPE type, SORT_ORDER order) {
    if (!m_record.GetField(field) || !m_memReady || m_count < 1)
        return 0;
    std::vector<int> sorted(static_cast<std::size_t>(m_count));
    std::iota(sorted.begin(), sorted.end(), 0);
    const bool largerFirst = order == SORT_ASC;
    std::wstring text;
    std::wstring number;
    auto keyText = [&](int row) -> const std::wstring& {
        text.clear();
        GetVal(row, field, text);
        return text;
    };
    if (type == SORT_STR) {
        std::vector<std::wstring> keys(sorted.size());
        for (int r = 0; r < m_count; ++r)
            keys[r] = keyText(r);
        SortIndices(sorted, keys, largerFirst);
    } else if (type == SORT_FLOAT) {
        std::vector<double> keys(sorted.size());
        for (int r = 0; r < m_count; ++r)
            keys[r] = plat::_wtof(NumberText(keyText(r), true, number));
        SortIndices(sorted, keys, largerFirst);
    } else if (type == SORT_INT) {
        std::vector<int> keys(sorted.size());
        for (int r = 0; r < m_count; ++r)
            keys[r] = plat::_wtoi(NumberText(keyText(r), false, number));
        SortIndices(sorted, keys, largerFirst);
    }

    // Logical order to physical rows; rows outside the count stay where they are.
    std::vector<int> physical(static_cast<std::size_t>(m_rows.Rows()));
    std::iota(physical.begin(), physical.end(), 0);
    for (int i = 0; i < m_count; ++i)
        physical[static_cast<std::size_t>(PhysicalRow(i))] = PhysicalRow(sorted[i]);
    if (!m_rows.Reorder(physical))
        return 0;
    NotifyChange(0, 0);
    return 1;
}

extern "C" int StructEmpty(XDO* from, const wchar_t* name) {
    XDO* found = from && name ? from->GetNearObjByName(name) : nullptr;
    auto* structure = found && (found->GetObjectStyle() & XDO_STYLE_STRUCT)
                          ? dynamic_cast<XStruct*>(found)
                          : nullptr;
    if (!structure)
        return 0;
    structure->RmStruct();
    structure->NotifyChange(0, 0);
    return 1;
}
