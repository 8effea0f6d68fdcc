#pragma once
// Pen styles with the values of the Windows GDI constants, so saved themes keep their meaning.
#include <string_view>

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

namespace syschar {

// "solid", "dash", "dot", "dashdot", "dashdotdot", "null" (or "none"), "insideframe" in any
// case, or the number 0 to 6. Returns false and leaves `style` untouched for anything else.
bool getPenStyle(int& style, std::wstring_view name);

} // namespace syschar
