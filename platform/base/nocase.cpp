#include "platform/base/nocase.h"

#include <cstdint>

namespace plat {

namespace {

// Tables are written out rather than taken from towlower so that the rule does not move
// with the process locale.
wchar_t LowerOf(wchar_t c) {
    if (c < 0x80) {
        return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 0x20) : c;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) { // Latin-1, except the multiplication sign
        return static_cast<wchar_t>(c + 0x20);
    }
    if (c == 0x178) { // Y with diaeresis, whose small form is in Latin-1
        return 0xFF;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) { // Greek capitals (0x3A2 is unassigned)
        return static_cast<wchar_t>(c + 0x20);
    }
    switch (c) { // Greek capitals with tonos
    case 0x386:
        return 0x3AC;
    case 0x388:
    case 0x389:
    case 0x38A:
        return static_cast<wchar_t>(c + 0x25);
    case 0x38C:
        return 0x3CC;
    case 0x38E:
    case 0x38F:
        return static_cast<wchar_t>(c + 0x3F);
    default:
        break;
    }
    if (c >= 0x410 && c <= 0x42F) { // Cyrillic basic capitals
        return static_cast<wchar_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) { // Cyrillic capitals with marks (Ё, Ђ ... Џ)
        return static_cast<wchar_t>(c + 0x50);
    }
    return c;
}

wchar_t UpperOf(wchar_t c) {
    if (c < 0x80) {
        return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 0x20) : c;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<wchar_t>(c - 0x20);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c == 0x3C2) { // final sigma
        return 0x3A3;
    }
    if (c >= 0x3B1 && c <= 0x3CB) {
        return static_cast<wchar_t>(c - 0x20);
    }
    switch (c) {
    case 0x3AC:
        return 0x386;
    case 0x3AD:
    case 0x3AE:
    case 0x3AF:
        return static_cast<wchar_t>(c - 0x25);
    case 0x3CC:
        return 0x38C;
    case 0x3CD:
    case 0x3CE:
        return static_cast<wchar_t>(c - 0x3F);
    default:
        break;
    }
    if (c >= 0x430 && c <= 0x44F) {
        return static_cast<wchar_t>(c - 0x20);
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<wchar_t>(c - 0x50);
    }
    return c;
}

// Unsigned so that ordering does not depend on wchar_t's signedness.
std::uint32_t Folded(wchar_t c) {
    return static_cast<std::uint32_t>(LowerOf(c));
}

bool MatchesAt(std::wstring_view text, std::size_t pos, std::wstring_view needle) {
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (Folded(text[pos + i]) != Folded(needle[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

wchar_t FoldCase(wchar_t c) {
    return LowerOf(c);
}

std::wstring ToLower(std::wstring_view text) {
    std::wstring out(text);
    MakeLower(out);
    return out;
}

void MakeLower(std::wstring& text) {
    for (wchar_t& c : text) {
        c = LowerOf(c);
    }
}

std::wstring ToUpper(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        c = UpperOf(c);
    }
    return out;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t x = Folded(a[i]);
        const std::uint32_t y = Folded(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && MatchesAt(a, 0, b);
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return prefix.size() <= text.size() && MatchesAt(text, 0, prefix);
}

std::size_t FindNoCase(std::wstring_view text, std::wstring_view needle, std::size_t from) {
    if (from > text.size() || needle.size() > text.size() - from) {
        return std::wstring_view::npos;
    }
    const std::size_t last = text.size() - needle.size();
    for (std::size_t pos = from; pos <= last; ++pos) {
        if (MatchesAt(text, pos, needle)) {
            return pos;
        }
    }
    return std::wstring_view::npos;
}

std::size_t NoCaseHash::operator()(std::wstring_view s) const noexcept {
    // FNV-1a over whole folded code points (one step per character: names are hashed on
    // every lookup), finished with a mix so the low bits the table uses depend on all.
    std::uint64_t h = 14695981039346656037ull;
    for (const wchar_t c : s) {
        h ^= Folded(c);
        h *= 1099511628211ull;
    }
    h ^= h >> 29;
    return static_cast<std::size_t>(h);
}

} // namespace plat
