#include "nubra/color.h"

#include <array>
#include <cstddef>
#include <optional>

#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace {

struct NamedColour {
    std::wstring_view name;
    COLORREF colour;
};

// The CSS basic sixteen first, then the names screen authors reach for most.
constexpr NamedColour kNamedColours[] = {
    {L"black", RGB(0, 0, 0)},
    {L"silver", RGB(192, 192, 192)},
    {L"gray", RGB(128, 128, 128)},
    {L"white", RGB(255, 255, 255)},
    {L"maroon", RGB(128, 0, 0)},
    {L"red", RGB(255, 0, 0)},
    {L"purple", RGB(128, 0, 128)},
    {L"fuchsia", RGB(255, 0, 255)},
    {L"green", RGB(0, 128, 0)},
    {L"lime", RGB(0, 255, 0)},
    {L"olive", RGB(128, 128, 0)},
    {L"yellow", RGB(255, 255, 0)},
    {L"navy", RGB(0, 0, 128)},
    {L"blue", RGB(0, 0, 255)},
    {L"teal", RGB(0, 128, 128)},
    {L"aqua", RGB(0, 255, 255)},
    {L"grey", RGB(128, 128, 128)},
    {L"cyan", RGB(0, 255, 255)},
    {L"magenta", RGB(255, 0, 255)},
    {L"orange", RGB(255, 165, 0)},
    {L"darkorange", RGB(255, 140, 0)},
    {L"darkgray", RGB(169, 169, 169)},
    {L"darkgrey", RGB(169, 169, 169)},
    {L"lightgray", RGB(211, 211, 211)},
    {L"lightgrey", RGB(211, 211, 211)},
    {L"dimgray", RGB(105, 105, 105)},
    {L"dimgrey", RGB(105, 105, 105)},
    {L"gainsboro", RGB(220, 220, 220)},
    {L"whitesmoke", RGB(245, 245, 245)},
    {L"darkred", RGB(139, 0, 0)},
    {L"darkgreen", RGB(0, 100, 0)},
    {L"darkblue", RGB(0, 0, 139)},
    {L"lightblue", RGB(173, 216, 230)},
    {L"lightgreen", RGB(144, 238, 144)},
    {L"lightyellow", RGB(255, 255, 224)},
    {L"skyblue", RGB(135, 206, 235)},
    {L"steelblue", RGB(70, 130, 180)},
    {L"royalblue", RGB(65, 105, 225)},
    {L"dodgerblue", RGB(30, 144, 255)},
    {L"brown", RGB(165, 42, 42)},
    {L"chocolate", RGB(210, 105, 30)},
    {L"tan", RGB(210, 180, 140)},
    {L"beige", RGB(245, 245, 220)},
    {L"ivory", RGB(255, 255, 240)},
    {L"khaki", RGB(240, 230, 140)},
    {L"gold", RGB(255, 215, 0)},
    {L"pink", RGB(255, 192, 203)},
    {L"salmon", RGB(250, 128, 114)},
    {L"coral", RGB(255, 127, 80)},
    {L"tomato", RGB(255, 99, 71)},
    {L"crimson", RGB(220, 20, 60)},
    {L"violet", RGB(238, 130, 238)},
    {L"indigo", RGB(75, 0, 130)},
};

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Digits only, in `base`, fitting in 32 bits.
std::optional<std::uint32_t> ParseUnsigned(std::wstring_view digits, unsigned base) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        const int d = HexDigit(c);
        if (d < 0 || static_cast<unsigned>(d) >= base) {
            return std::nullopt;
        }
        value = value * base + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<COLORREF> ParseHash(std::wstring_view hex) {
    if (hex.size() != 3 && hex.size() != 6) {
        return std::nullopt;
    }
    const auto value = ParseUnsigned(hex, 16);
    if (!value) {
        return std::nullopt;
    }
    if (hex.size() == 3) {
        // "#F80" is "#FF8800": each digit doubled.
        const auto r = static_cast<std::uint8_t>(((*value >> 8) & 0xF) * 0x11);
        const auto g = static_cast<std::uint8_t>(((*value >> 4) & 0xF) * 0x11);
        const auto b = static_cast<std::uint8_t>((*value & 0xF) * 0x11);
        return RGB(r, g, b);
    }
    return RGB(static_cast<std::uint8_t>(*value >> 16),
               static_cast<std::uint8_t>(*value >> 8),
               static_cast<std::uint8_t>(*value));
}

// "r,g,b" with blanks allowed around each component.
std::optional<COLORREF> ParseTriple(std::wstring_view text) {
    std::array<std::uint8_t, 3> parts{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t comma = text.find(L',', start);
        const bool last = i + 1 == parts.size();
        if (last != (comma == std::wstring_view::npos)) {
            return std::nullopt;
        }
        const auto part = ParseUnsigned(orvo::TrimBlanks(text.substr(start, comma - start)), 10);
        if (!part || *part > 255) {
            return std::nullopt;
        }
        parts[i] = static_cast<std::uint8_t>(*part);
        start = comma + 1;
    }
    return RGB(parts[0], parts[1], parts[2]);
}

std::optional<COLORREF> ParseRgbCall(std::wstring_view text) {
    if (!plat::StartsWithNoCase(text, L"rgb")) {
        return std::nullopt;
    }
    const std::wstring_view rest = orvo::TrimBlanks(text.substr(3));
    if (rest.size() < 2 || rest.front() != L'(' || rest.back() != L')') {
        return std::nullopt;
    }
    return ParseTriple(rest.substr(1, rest.size() - 2));
}

std::optional<COLORREF> ParseName(std::wstring_view text) {
    for (const auto& named : kNamedColours) {
        if (plat::EqualsNoCase(text, named.name)) {
            return named.colour;
        }
    }
    return std::nullopt;
}

std::optional<COLORREF> Parse(std::wstring_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == L'#') {
        return ParseHash(text.substr(1));
    }
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        return ParseUnsigned(text.substr(2), 16);
    }
    if (text.find(L'(') != std::wstring_view::npos) {
        return ParseRgbCall(text);
    }
    if (text.find(L',') != std::wstring_view::npos) {
        return ParseTriple(text);
    }
    if (const auto value = ParseUnsigned(text, 10)) {
        return value;
    }
    return ParseName(text);
}

} // namespace

bool GetColor(std::wstring_view text, COLORREF& colour) {
    const auto parsed = Parse(orvo::TrimBlanks(text));
    if (!parsed) {
        return false;
    }
    colour = *parsed;
    return true;
}
