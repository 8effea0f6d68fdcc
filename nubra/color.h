#pragma once
// Colour texts; COLORREF itself lives in platform/base.
#include <string_view>

#include "platform/base/colorref.h"

// Reads a colour text: "#RRGGBB", "#RGB", "RGB(r,g,b)", "r,g,b", a decimal or "0x" hex
// COLORREF, or a colour name (nubra/README.md lists them). Case and surrounding blanks do
// not matter. Returns false and leaves `colour` untouched for anything else.
bool GetColor(std::wstring_view text, COLORREF& colour);
