#include "ladder_book.h"

#include <algorithm>

#include "data/meta_io_data.h"

namespace ladder {

namespace {

std::int64_t Cell(XMetaIOData& record, int row, int col) {
    int value = 0;
    return col >= 0 && record.GetVal(row, col, value) ? value : 0;
}

} // namespace

Book ReadBook(XMetaIOData* record, int depth) {
    Book book;
    if (!record || depth <= 0)
        return book;
    const int askPrice = record->GetFieldIndex(L"askPrice");
    const int askQty = record->GetFieldIndex(L"askQty");
    const int bidPrice = record->GetFieldIndex(L"bidPrice");
    const int bidQty = record->GetFieldIndex(L"bidQty");
    if (askPrice < 0 && bidPrice < 0)
        return book;
    const int rows = std::min(record->GetRows(), depth);
    for (int row = 0; row < rows; ++row) {
        Level level{Cell(*record, row, askPrice),
                    Cell(*record, row, askQty),
                    Cell(*record, row, bidPrice),
                    Cell(*record, row, bidQty)};
        book.largestQty = std::max({book.largestQty, level.askQty, level.bidQty});
        book.levels.push_back(level);
    }
    return book;
}

} // namespace ladder
