#pragma once
// INI access in the argument order the framework's callers use (section first, file last).
#include <string>
#include <string_view>

// The value of section/key in `file`, or `defaultValue` when the file, section or key is absent.
std::wstring GetINIStr(std::wstring_view section,
                       std::wstring_view key,
                       std::wstring_view defaultValue,
                       std::wstring_view file);
// Writes section/key, creating the file and section when needed; false when it cannot be written.
bool SetINIStr(std::wstring_view section,
               std::wstring_view key,
               std::wstring_view value,
               std::wstring_view file);
