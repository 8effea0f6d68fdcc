#pragma once
// The keyword values theme primitives read: brush styles, hatches, border edges and border
// flags, with the numbers Windows gives them so saved themes keep their meaning.
#include <string_view>

namespace orvo {

// Border edges ("Edge") and flags ("Flag").
enum BorderEdge : int {
    EDGE_RAISEDOUTER = 1,
    EDGE_SUNKENOUTER = 2,
    EDGE_RAISEDINNER = 4,
    EDGE_SUNKENINNER = 8,
};
enum BorderFlag : int {
    BORDER_LEFT = 0x1,
    BORDER_TOP = 0x2,
    BORDER_RIGHT = 0x4,
    BORDER_BOTTOM = 0x8,
    BORDER_SINGLE = 0x800,
    BORDER_SOFT = 0x1000,
    BORDER_ADJUST = 0x2000,
    BORDER_FLAT = 0x4000,
    BORDER_MONO = 0x8000,
};

// Unrecognised or absent: solid (0).
int ReadBrushStyle(std::wstring_view text);
// False, `hatch` unchanged, for a word that names no hatch.
bool ReadHatch(std::wstring_view text, int& hatch);
// Comma lists ORed from 0; unknown words add nothing.
int ReadEdge(std::wstring_view text);
// Comma list ORed onto 0x2800 (adjust, single line); "NoAdjust" and "Double" clear those.
int ReadBorderFlag(std::wstring_view text);

} // namespace orvo

namespace orvo {
// A pen style name or number ("solid", "dash", ..., "null"); false for anything else.
bool ReadPenStyle(std::wstring_view text, int& style);
} // namespace orvo
