#include "nubra/ini_access.h"

#include "platform/base/ini_file.h"

std::wstring GetINIStr(std::wstring_view section,
                       std::wstring_view key,
                       std::wstring_view defaultValue,
                       std::wstring_view file) {
    return plat::IniGet(file, section, key, defaultValue);
}

bool SetINIStr(std::wstring_view section,
               std::wstring_view key,
               std::wstring_view value,
               std::wstring_view file) {
    return plat::IniSet(file, section, key, value);
}
