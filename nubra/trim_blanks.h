#pragma once
// Blanks around attribute texts and values carry no meaning for the helpers that read them.
#include <string_view>

namespace orvo {

inline std::wstring_view TrimBlanks(std::wstring_view text) {
    constexpr std::wstring_view blanks = L" \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

} // namespace orvo
