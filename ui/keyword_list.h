#pragma once
// Theme attributes are lists ("Raised,Sunken", "up.down", "Object.Select,User.2"): the items
// between separators, blanks trimmed, empty items dropped.
#include <span>
#include <string_view>
#include <vector>

namespace orvo {

std::vector<std::wstring_view> SplitItems(std::wstring_view text, wchar_t separator);

// The value of `keyword` in a table of (name, value) pairs, names compared without case.
struct Keyword {
    const wchar_t* name;
    int value;
};
bool LookUpKeyword(std::wstring_view keyword, std::span<const Keyword> table, int& value);

} // namespace orvo
