#include "core/project_setting_file.h"

#include <string>

#include "core/contracts.h"
#include "core/element.h"
#include "nubra/call_site.h"
#include "platform/base/path.h"

namespace orvo {

std::unique_ptr<XElement> ReadProjectSettingFile(const wchar_t* key) {
    static ContractCall<contract::ProjectGetPath> s_getPath;
    static ContractCall<contract::ProjectGetINIStrEx> s_getIniStrEx;
    static ContractCall<contract::ParserDoParse> s_parse;

    auto getPath = s_getPath.Get();
    auto getIniStrEx = s_getIniStrEx.Get();
    auto parse = s_parse.Get();
    std::wstring basePath;
    std::wstring fileName;
    if (!key || !getPath || !getIniStrEx || !parse || !getPath(nullptr, &basePath) ||
        !getIniStrEx(L"UserINI", L"Init", L"ProjectCfg", L"Init", key, fileName))
        return nullptr;
    XElement* root = nullptr;
    if (!parse(plat::JoinPath(basePath, fileName).c_str(), &root))
        return nullptr;
    return std::unique_ptr<XElement>(root);
}

} // namespace orvo
