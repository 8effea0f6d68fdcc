#pragma once
// BooleanCells: where the DT_BOOL cells of a record layout are, those in the inner rows of its
// nested structures included. Received rows are copied as bytes; a boolean then has to be
// stored as 0 or 1, as every typed write stores it, so that it reads and goes back out alike.
#include <cstddef>
#include <vector>

#include "data/record.h"

namespace orvo {

class BooleanCells {
public:
    // `record` must have a layout (a record size of 0 or more).
    explicit BooleanCells(const CRecord& record);

    bool Empty() const { return m_offsets.empty(); }
    // Each boolean of `rows` consecutive rows, `rowSize` bytes apart, as 0 or 1: any non-zero
    // word is true.
    void Normalise(unsigned char* first, std::size_t rows, std::size_t rowSize) const;
    // Received rows into consecutive rows, their booleans made 0 or 1. Without booleans this
    // is one copy; with them it goes a few kilobytes at a time, so that each row is still in
    // the cache when its booleans are looked at.
    void CopyRows(unsigned char* to,
                  const unsigned char* from,
                  std::size_t rows,
                  std::size_t rowSize) const;

private:
    std::vector<int> m_offsets;
};

} // namespace orvo
