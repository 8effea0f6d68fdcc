#include "data/boolean_cells.h"

#include <cstdint>

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

void BooleanCells::Normalise(unsigned char* row) const {
    for (const int offset : m_offsets)
        PutCell<std::int32_t>(row + offset, TakeCell<std::int32_t>(row + offset) != 0 ? 1 : 0);
}

} // namespace orvo
