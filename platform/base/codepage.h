#pragma once
// The process code page: fixed-width record fields and legacy files hold bytes of it.
// CP949 unless the environment variable ORVO_CODEPAGE names another iconv encoding.
#include <string>
#include <string_view>

namespace plat {

const std::string& ProcessCodePage();
// Changes the code page for the rest of the process (tests, host start-up).
// Returns false and keeps the old one when iconv does not know the name.
bool SetProcessCodePage(const std::string& name);

// Bytes that do not decode become U+FFFD, one per byte skipped; decoding then resumes.
std::wstring FromAnsi(std::string_view bytes);
// The same into `out`, reusing its buffer: reading many cells into one string allocates once.
void AssignFromAnsi(std::string_view bytes, std::wstring& out);
// Characters the code page cannot represent become '?'.
std::string ToAnsi(std::wstring_view wide);

// The same conversions with an explicit encoding name (iconv's names).
std::wstring DecodeBytes(std::string_view bytes, const std::string& encoding);
std::string EncodeText(std::wstring_view wide, const std::string& encoding);

} // namespace plat
