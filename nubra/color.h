#pragma once
// Colours as Windows stores them: COLORREF is 0x00BBGGRR, red in the lowest byte.
#include <cstdint>
#include <string_view>

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) {
    return static_cast<std::uint8_t>(c & 0xFF);
}
constexpr std::uint8_t GetGValue(COLORREF c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFF);
}
constexpr std::uint8_t GetBValue(COLORREF c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFF);
}

// Reads a colour text: "#RRGGBB", "#RGB", "RGB(r,g,b)", "r,g,b", a decimal or "0x" hex
// COLORREF, or a colour name (nubra/README.md lists them). Case and surrounding blanks do
// not matter. Returns false and leaves `colour` untouched for anything else.
bool GetColor(std::wstring_view text, COLORREF& colour);
