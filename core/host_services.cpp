// Settings files and language texts reached through services found by name.
#include <string>

#include "core/contracts.h"
#include "core/xdo.h"
#include "nubra/call_site.h"
#include "nubra/ini_access.h"
#include "nubra/paths.h"
#include "platform/base/path.h"

int GetIniFile(std::wstring& file, const wchar_t* key) {
    static orvo::ContractCall<orvo::contract::ApplicationGetValue> s_appValue;
    std::wstring work = GetWorkPath();
    if (work.empty() || GetExePath().empty())
        return 0;
    std::wstring name;
    auto getValue = s_appValue.Get();
    if (!getValue || !getValue(L"Cfg", name) || name.empty()) {
        std::wstring exe = plat::FileNameOf(plat::ExecutablePath());
        name = exe.substr(0, exe.rfind(L'.')) + L".ini";
    }
    std::wstring config = GetINIStr(L"INIFILE", key ? key : L"", name, plat::JoinPath(work, name));
    file = plat::JoinPath(work, config);
    return 1;
}

std::wstring
GetUserIniStr(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue) {
    std::wstring file;
    if (!GetIniFile(file, L"UserConfigFile"))
        return defaultValue ? defaultValue : L"";
    return GetINIStr(
        section ? section : L"", key ? key : L"", defaultValue ? defaultValue : L"", file);
}

int SetUserIniStr(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    std::wstring file;
    if (!GetIniFile(file, L"UserConfigFile"))
        return 0;
    return SetINIStr(section ? section : L"", key ? key : L"", value ? value : L"", file) ? 1 : 0;
}

int GetLangText(int id, std::wstring& out) {
    static orvo::ContractCall<orvo::contract::LangManGetText> s_getText;
    auto getText = s_getText.Get();
    return getText ? getText(id, out) : 0;
}

std::wstring GetLangText(int id) {
    std::wstring text;
    GetLangText(id, text);
    return text;
}

CFont* GetSystemFont(const wchar_t* name) {
    static orvo::ContractCall<orvo::contract::LangManGetFont> s_getFont;
    auto getFont = s_getFont.Get();
    return getFont ? getFont(name ? name : L"") : nullptr;
}
