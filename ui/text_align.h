#pragma once
// "Text_Align" of text boxes and grid cells: DrawText format names without "DT_", in a comma
// list, ORed onto single line and no prefix; "MULTILINE" takes single line away again.
#include <string_view>

namespace orvo {

// Unknown names add nothing; the items apply in the order written.
unsigned ReadTextAlign(std::wstring_view text);

} // namespace orvo
