#pragma once
// Script files as vbsrun reads them: UTF-8 with or without a byte order mark, or UTF-16LE
// with one.
#include <string>
#include <string_view>

namespace orvo {

// The text of encoded script bytes; bytes that are not valid in their encoding become
// U+FFFD, so any file gives some text.
std::wstring DecodeScriptText(std::string_view bytes);

// False with `problem` set when the file cannot be read.
bool ReadScriptFile(const std::string& path, std::wstring& text, std::string& problem);

} // namespace orvo
