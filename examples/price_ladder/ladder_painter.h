#pragma once
// Paints a price ladder in the colours of the current theme: a heading row, the ask levels
// above (the best ask lowest), then the bid levels (the best bid highest), each quantity with
// a bar as long as its share of the largest quantity in the book, and a line in the accent
// colour at the spread.
#include <string>

#include "ladder_book.h"
#include "platform/base/geometry.h"

class CDC;

namespace ladder {

// Theme colours the ladder reads; a theme without one of them gets the built-in dark look.
//   LadderHead, LadderAskBack, LadderBidBack, LadderAskBar, LadderBidBar, LadderPriceBack,
//   and the demo's common Text, Dim, Up, Down, Line and Accent.
void PaintLadder(CDC& dc, const CRect& client, const Book& book, int depth);

// A price or quantity as the ladder writes it, "71,500"; empty for none (0 or less).
std::wstring Grouped(std::int64_t value);

} // namespace ladder
