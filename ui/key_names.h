#pragma once
// The key names scripts use with "IsKeyDown" and "IsKeyToggle" ("RETURN", "F5", "NUMPAD0" ...),
// compared without case, and the virtual-key codes they stand for.
#include <string_view>

namespace orvo {

// 0 for a name that is not a key.
int VirtualKeyOfName(std::wstring_view name);

} // namespace orvo
