#pragma once
// Typed readers over an element's attribute map. Each returns non-zero when the key is
// present (a null map has no keys) and leaves the output untouched otherwise; the text is
// converted leniently, so a present key always "succeeds" with some value.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/string_map.h"

int GetValue(const CMapStringToString* map, std::wstring_view key, std::wstring& out);
int GetValue(const CMapStringToString* map, std::wstring_view key, int& out);
int GetValue(const CMapStringToString* map, std::wstring_view key, float& out);
int GetValue(const CMapStringToString* map, std::wstring_view key, double& out);

// Markup writes "True"/"False". True: "true", "yes", "on", "t", "y" (any case, blanks
// around ignored) or a number other than zero. Any other text reads as false.
int GetBool(const CMapStringToString* map, std::wstring_view key, bool& out);
int GetBool(const CMapStringToString* map, std::wstring_view key, int& out);

// The first character; the char form takes the first byte of it in the process code page.
// Empty text gives 0.
int GetChar(const CMapStringToString* map, std::wstring_view key, char& out);
int GetChar(const CMapStringToString* map, std::wstring_view key, wchar_t& out);

// The "%u" scan; text it cannot scan gives 0.
int GetUInt(const CMapStringToString* map, std::wstring_view key, unsigned& out);
int GetInt64(const CMapStringToString* map, std::wstring_view key, std::int64_t& out);
