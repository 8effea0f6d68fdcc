#pragma once
// BooleanCells: where the DT_BOOL cells of a record layout are, those in the inner rows of its
// nested structures included. Received rows are copied as bytes; a boolean then has to be
// stored as 0 or 1, as every typed write stores it, so that it reads and goes back out alike.
#include <vector>

#include "data/record.h"

namespace orvo {

class BooleanCells {
public:
    // `record` must have a layout (a record size of 0 or more).
    explicit BooleanCells(const CRecord& record);

    bool Empty() const { return m_offsets.empty(); }
    // Each boolean of one row of the layout as 0 or 1: any non-zero word is true.
    void Normalise(unsigned char* row) const;

private:
    std::vector<int> m_offsets;
};

} // namespace orvo
