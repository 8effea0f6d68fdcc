#pragma once
// LadderBook: the price levels of an order book as the ladder shows them, read from the
// quote record it is attached to: one row per level, best first, with the fields "askPrice",
// "askQty", "bidPrice" and "bidQty". A record without them, or without rows, gives no levels.
#include <cstdint>
#include <vector>

class XMetaIOData;

namespace ladder {

struct Level {
    std::int64_t askPrice = 0;
    std::int64_t askQty = 0;
    std::int64_t bidPrice = 0;
    std::int64_t bidQty = 0;
};

struct Book {
    // Best first; at most the depth asked for.
    std::vector<Level> levels;
    // The largest quantity on either side, for the depth bars; 0 when the book is empty.
    std::int64_t largestQty = 0;
};

// Reads at most `depth` levels of `record`; a null record gives an empty book.
Book ReadBook(XMetaIOData* record, int depth);

} // namespace ladder
