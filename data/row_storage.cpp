#include "data/row_storage.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "data/cell_codec.h"

namespace orvo {

bool RowStorage::NeedsInit(const CRecord& record) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CRecord::CField* f = record.GetField(c);
        if (f->Type == DT_PT_STR || f->DefaultBytes)
            return true;
    }
    return false;
}

bool RowStorage::Append(const CRecord& record, int rows, bool perRow) {
    const int rowSize = record.GetRecordSize();
    if (rows < 0 || rowSize < 0 || (m_rows > 0 && (perRow != m_perRow || rowSize != m_rowSize)))
        return false;
    const std::int64_t total = static_cast<std::int64_t>(m_rows) + rows;
    // Per-row storage also pays for a buffer object per row.
    const std::int64_t perRowCost =
        rowSize + (perRow ? static_cast<std::int64_t>(sizeof(std::vector<unsigned char>)) : 0);
    if (total * perRowCost > CRecord::kMaxRecordSize || total > CRecord::kMaxRecordSize)
        return false;
    const bool init = NeedsInit(record);
    try {
        if (perRow) {
            m_buffers.reserve(static_cast<std::size_t>(total));
            for (int i = 0; i < rows; ++i) {
                m_buffers.emplace_back(static_cast<std::size_t>(rowSize), 0);
                if (init)
                    InitRow(record, m_buffers.back().data());
            }
        } else {
            m_block.resize(static_cast<std::size_t>(total * rowSize), 0);
            if (init)
                for (std::int64_t r = m_rows; r < total; ++r)
                    InitRow(record, m_block.data() + r * rowSize);
        }
    } catch (const std::bad_alloc&) {
        // Back to the rows there were; strings of the dropped rows stay unused until Clear.
        m_buffers.resize(perRow ? static_cast<std::size_t>(m_rows) : m_buffers.size());
        m_block.resize(perRow
                           ? m_block.size()
                           : static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(rowSize));
        return false;
    }
    m_perRow = perRow;
    m_rowSize = rowSize;
    m_rows = static_cast<int>(total);
    return true;
}

bool RowStorage::Assign(const CRecord& record, const unsigned char* bytes, int rows, bool perRow) {
    const int rowSize = record.GetRecordSize();
    const std::int64_t total = static_cast<std::int64_t>(rows) * rowSize;
    const std::int64_t perRowCost =
        rowSize + (perRow ? static_cast<std::int64_t>(sizeof(std::vector<unsigned char>)) : 0);
    if (rows < 0 || rowSize < 0 || record.HasPointerField() || (rows > 0 && !bytes) ||
        static_cast<std::int64_t>(rows) * perRowCost > CRecord::kMaxRecordSize)
        return false;
    try {
        if (perRow) {
            std::vector<std::vector<unsigned char>> buffers(static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) {
                const unsigned char* row = bytes + static_cast<std::size_t>(r) * rowSize;
                buffers[static_cast<std::size_t>(r)].assign(row, row + rowSize);
            }
            m_buffers.swap(buffers);
            m_block.clear();
        } else {
            m_block.assign(bytes, bytes + total);
            m_buffers.clear();
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_strings.Clear();
    m_perRow = perRow;
    m_rowSize = rowSize;
    m_rows = rows;
    return true;
}

void RowStorage::Clear() {
    m_block.clear();
    m_block.shrink_to_fit();
    m_buffers.clear();
    m_strings.Clear();
    m_rows = 0;
    m_rowSize = 0;
}

void RowStorage::InitRow(const CRecord& record, unsigned char* row) {
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CRecord::CField* f = record.GetField(c);
        unsigned char* cell = row + record.GetOffSet(c);
        if (f->Type == DT_PT_STR)
            PutCell<std::uint32_t>(cell, m_strings.New(f->DefaultText));
        else if (f->DefaultBytes && static_cast<int>(f->DefaultBytes->size()) == f->Size)
            std::memcpy(cell, f->DefaultBytes->data(), f->DefaultBytes->size());
    }
}

void RowStorage::ReleaseStrings(const CRecord& record, int row) {
    unsigned char* bytes = Row(row);
    if (!bytes || !record.HasPointerField() || record.GetRecordSize() != m_rowSize)
        return;
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        if (record.GetField(c)->Type != DT_PT_STR)
            continue;
        unsigned char* cell = bytes + record.GetOffSet(c);
        m_strings.Release(TakeCell<std::uint32_t>(cell));
        PutCell<std::uint32_t>(cell, 0);
    }
}

void RowStorage::ResetRow(const CRecord& record, int row) {
    unsigned char* bytes = Row(row);
    if (!bytes || record.GetRecordSize() != m_rowSize)
        return;
    ReleaseStrings(record, row);
    std::memset(bytes, 0, static_cast<std::size_t>(m_rowSize));
    InitRow(record, bytes);
}

bool RowStorage::Remove(const CRecord& record, int row) {
    if (row < 0 || row >= m_rows)
        return false;
    ReleaseStrings(record, row);
    if (m_perRow) {
        m_buffers.erase(m_buffers.begin() + row);
    } else {
        const auto size = static_cast<std::size_t>(m_rowSize);
        m_block.erase(m_block.begin() + static_cast<std::ptrdiff_t>(row * size),
                      m_block.begin() + static_cast<std::ptrdiff_t>((row + 1) * size));
    }
    --m_rows;
    return true;
}

void RowStorage::Truncate(const CRecord& record, int rows) {
    if (rows < 0 || rows >= m_rows)
        return;
    for (int r = rows; r < m_rows; ++r)
        ReleaseStrings(record, r);
    if (m_perRow)
        m_buffers.resize(static_cast<std::size_t>(rows));
    else
        m_block.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(m_rowSize));
    m_rows = rows;
}

bool RowStorage::Reorder(const std::vector<int>& order) {
    if (order.size() != static_cast<std::size_t>(m_rows))
        return false;
    std::vector<bool> placed(order.size(), false);
    for (int from : order) {
        if (from < 0 || static_cast<std::size_t>(from) >= order.size() ||
            placed[static_cast<std::size_t>(from)])
            return false;
        placed[static_cast<std::size_t>(from)] = true;
    }
    placed.assign(order.size(), false);
    if (m_perRow) {
        std::vector<std::vector<unsigned char>> buffers(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            buffers[i].swap(m_buffers[static_cast<std::size_t>(order[i])]);
        m_buffers.swap(buffers);
        return true;
    }
    // In place, one cycle of the permutation at a time: each row moves once, and only one
    // row is held aside per cycle.
    const auto size = static_cast<std::size_t>(m_rowSize);
    std::vector<unsigned char> held(size);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start] || static_cast<std::size_t>(order[start]) == start) {
            placed[start] = true;
            continue;
        }
        std::memcpy(held.data(), m_block.data() + start * size, size);
        std::size_t at = start;
        for (;;) {
            placed[at] = true;
            const auto from = static_cast<std::size_t>(order[at]);
            if (from == start) {
                std::memcpy(m_block.data() + at * size, held.data(), size);
                break;
            }
            std::memcpy(m_block.data() + at * size, m_block.data() + from * size, size);
            at = from;
        }
    }
    return true;
}

void RowStorage::RotateBuffers(int rows, int n) {
    if (!m_perRow || rows < 1 || rows > m_rows)
        return;
    n %= rows;
    if (n < 0)
        n += rows;
    std::rotate(m_buffers.begin(), m_buffers.begin() + n, m_buffers.begin() + rows);
}

bool RowStorage::EraseBytes(int offset, int length) {
    if (m_perRow || m_rows != 1 || offset < 0 || length < 0 || offset > m_rowSize ||
        length > m_rowSize - offset)
        return false;
    m_block.erase(m_block.begin() + offset, m_block.begin() + offset + length);
    m_rowSize -= length;
    return true;
}

} // namespace orvo
