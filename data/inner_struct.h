#pragma once
// CInnerStruct: the definition of a nested structure held by a DT_STRUCT field: the rows it
// has inside one outer record (0: as many as the received data brings) and their layout.
#include <cstdint>

#include "data/record.h"

class CInnerStruct {
public:
    CInnerStruct() = default;
    CInnerStruct(int rows, CRecord layout) : count(rows), record(std::move(layout)) {}

    bool operator==(const CInnerStruct& other) const {
        return count == other.count && record == other.record;
    }

    // One inner row; -1 for a refused layout.
    int GetRecordSize() const { return record.GetRecordSize(); }
    // count x row size in 64 bits, so callers can refuse what does not fit a record.
    std::int64_t GetTotalSize() const { return static_cast<std::int64_t>(count) * GetRecordSize(); }

    int count = 0;
    CRecord record;
};
