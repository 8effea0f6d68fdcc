#pragma once
// Wide <-> UTF-8 conversion. UTF-8 is used only at file and terminal boundaries.
#include <string>
#include <string_view>

namespace plat {

// Invalid UTF-8 sequences become U+FFFD, one per offending byte.
std::wstring FromUtf8(std::string_view utf8);
// Lone surrogates and values above U+10FFFF become U+FFFD.
std::string ToUtf8(std::wstring_view wide);

} // namespace plat
