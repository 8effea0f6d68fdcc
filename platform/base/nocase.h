#pragma once
// The one case rule of the system: tags, attribute names, field names, ids and service
// names compare without case. Folding is locale independent (ASCII, Latin-1, Greek,
// Cyrillic); Korean has no case.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace plat {

wchar_t FoldCase(wchar_t c);
std::wstring ToLower(std::wstring_view text);
void MakeLower(std::wstring& text);
std::wstring ToUpper(std::wstring_view text);
// <0, 0, >0 like wcscmp, after folding.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
// Position of needle in text ignoring case, or npos.
std::size_t FindNoCase(std::wstring_view text, std::wstring_view needle, std::size_t from = 0);

struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view s) const noexcept;
};
struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const noexcept {
        return EqualsNoCase(a, b);
    }
};
struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const noexcept {
        return CompareNoCase(a, b) < 0;
    }
};

// Hash map keyed by text without case; find() takes a wstring_view without allocating.
template <class V> using NoCaseMap = std::unordered_map<std::wstring, V, NoCaseHash, NoCaseEqual>;

} // namespace plat
