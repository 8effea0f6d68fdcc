#include "data/boolean_cells.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "data/cell_codec.h"
#include "data/inner_struct.h"

namespace orvo {

namespace {

// Offsets within one row. An inner layout is looked at once and its offsets repeated for each
// inner row, so a long group without booleans costs nothing per row.
std::vector<int> BooleanOffsets(const CRecord& record) {
    std::vector<int> offsets;
    for (int c = 0; c < record.GetFieldCount(); ++c) {
        const CRecord::CField& field = *record.GetField(c);
        const int offset = record.GetOffSet(c);
        if (field.Type == DT_BOOL) {
            offsets.push_back(offset);
            continue;
        }
        const CInnerStruct* inner = field.Type == DT_STRUCT ? field.InnerStruct.get() : nullptr;
        if (!inner || inner->count < 1 || inner->GetRecordSize() < 1)
            continue;
        const std::vector<int> innerOffsets = BooleanOffsets(inner->record);
        // The field's width is count x inner size and lies within the record: no overflow.
        for (int row = 0, base = offset; !innerOffsets.empty() && row < inner->count;
             ++row, base += inner->GetRecordSize()) {
            for (const int o : innerOffsets)
                offsets.push_back(base + o);
        }
    }
    return offsets;
}

} // namespace

BooleanCells::BooleanCells(const CRecord& record) : m_offsets(BooleanOffsets(record)) {}

void BooleanCells::Normalise(unsigned char* first, std::size_t rows, std::size_t rowSize) const {
    // Local copies: stores through the row bytes could otherwise alias the offsets.
    const int* const offsets = m_offsets.data();
    const std::size_t count = m_offsets.size();
    if (count == 0)
        return;
    for (unsigned char* row = first; rows > 0; --rows, row += rowSize) {
        for (std::size_t i = 0; i < count; ++i) {
            // Most words are 0 or 1 already: only the others are written.
            unsigned char* cell = row + offsets[i];
            if (TakeCell<std::uint32_t>(cell) > 1u)
                PutCell<std::int32_t>(cell, 1);
        }
    }
}

void BooleanCells::CopyRows(unsigned char* to,
                            const unsigned char* from,
                            std::size_t rows,
                            std::size_t rowSize) const {
    if (Empty() || rowSize == 0) {
        if (rows > 0 && rowSize > 0)
            std::memcpy(to, from, rows * rowSize);
        return;
    }
    constexpr std::size_t kRunBytes = 16 * 1024; // well inside the first-level cache
    const std::size_t run = std::max<std::size_t>(1, kRunBytes / rowSize);
    for (std::size_t done = 0; done < rows; done += run) {
        const std::size_t count = std::min(run, rows - done);
        std::memcpy(to + done * rowSize, from + done * rowSize, count * rowSize);
        Normalise(to + done * rowSize, count, rowSize);
    }
}

} // namespace orvo
