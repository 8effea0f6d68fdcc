#pragma once
// INI files with the rules of the Windows private-profile functions: sections and keys
// compare without case, values are trimmed and lose one pair of surrounding quotes, ';'
// starts a comment line, an absent key yields the default, and writing one key keeps every
// other line of the file. Files are read as UTF-8 when they are valid UTF-8 (or carry a
// BOM), else in the process code page, and are written back in the encoding they had.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

std::wstring IniGet(std::wstring_view file,
                    std::wstring_view section,
                    std::wstring_view key,
                    std::wstring_view defaultValue);
// Sets the key (creating file and section as needed); a null value removes the key.
bool IniSet(std::wstring_view file,
            std::wstring_view section,
            std::wstring_view key,
            std::optional<std::wstring_view> value);
bool IniRemoveSection(std::wstring_view file, std::wstring_view section);
std::vector<std::wstring> IniSections(std::wstring_view file);
std::vector<std::wstring> IniKeys(std::wstring_view file, std::wstring_view section);

} // namespace plat
