#pragma once
// RowStorage: the bytes of a structure's rows, either one contiguous block or one buffer per
// row, and the table of the variable-length strings their DT_PT_STR cells refer to. Rows are
// addressed physically here; ring order is the structure's business.
#include <cstdint>
#include <vector>

#include "data/record.h"
#include "data/string_table.h"

namespace orvo {

class RowStorage {
public:
    // Appends `rows` rows of `record`'s layout, each zeroed and given the field defaults.
    // False, with nothing changed, when the layout is refused, the storage would exceed
    // CRecord::kMaxRecordSize bytes, or memory runs out.
    bool Append(const CRecord& record, int rows, bool perRow);
    // Replaces every row by `rows` rows copied from `bytes` (rows x record size of them),
    // without zeroing first; for layouts without DT_PT_STR cells, false otherwise.
    bool Assign(const CRecord& record, const unsigned char* bytes, int rows, bool perRow);
    void Clear();

    int Rows() const { return m_rows; }
    int RowSize() const { return m_rowSize; }
    bool PerRow() const { return m_perRow; }
    // The bytes of one physical row, or null. Inline: every cell access asks.
    unsigned char* Row(int row) {
        if (row < 0 || row >= m_rows)
            return nullptr;
        return m_perRow ? m_buffers[static_cast<std::size_t>(row)].data()
                        : m_block.data() +
                              static_cast<std::size_t>(row) * static_cast<std::size_t>(m_rowSize);
    }
    const unsigned char* Row(int row) const { return const_cast<RowStorage*>(this)->Row(row); }
    // All rows of contiguous storage, one after the other; null for per-row storage.
    unsigned char* Block() { return m_perRow || m_block.empty() ? nullptr : m_block.data(); }
    const unsigned char* Block() const { return const_cast<RowStorage*>(this)->Block(); }

    // Frees the strings of a row's DT_PT_STR cells and zeroes their handles.
    void ReleaseStrings(const CRecord& record, int row);
    // Makes one row new again, as Append makes it: its strings freed, every byte zero, then
    // the field defaults.
    void ResetRow(const CRecord& record, int row);
    // Removes one row (its strings freed); later rows move up.
    bool Remove(const CRecord& record, int row);
    // Drops the rows from `rows` on (their strings freed).
    void Truncate(const CRecord& record, int rows);
    // Puts the rows in the given order: new row i is old row order[i]; `order` must be a
    // permutation of 0 .. Rows() - 1.
    bool Reorder(const std::vector<int>& order);
    // Per-row storage: the first `rows` buffers rotate left by n (the first n go to the end).
    void RotateBuffers(int rows, int n);
    // A single contiguous row loses `length` bytes at `offset`; the row size shrinks.
    bool EraseBytes(int offset, int length);

    StringTable& Strings() { return m_strings; }
    const StringTable& Strings() const { return m_strings; }

private:
    void InitRow(const CRecord& record, unsigned char* row);
    static bool NeedsInit(const CRecord& record);

    bool m_perRow = false;
    int m_rowSize = 0;
    int m_rows = 0;
    std::vector<unsigned char> m_block;                // contiguous rows
    std::vector<std::vector<unsigned char>> m_buffers; // one per row
    StringTable m_strings;
};

} // namespace orvo
