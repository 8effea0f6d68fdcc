#include "ui/xtheme_man.h"

#include "core/contracts.h"
#include "core/element.h"
#include "nubra/call_site.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XThemeMan::Instance());

} // namespace

XThemeMan& XThemeMan::Instance() {
    // Never destroyed: objects torn down at exit may still hold styles of the theme.
    static XThemeMan* const instance = new XThemeMan();
    return *instance;
}

ORVO_DISPATCH(XThemeMan, IXO, ORVO_METHOD(InitializeIXO), ORVO_METHOD(LoadCurrentTheme))

int XThemeMan::LoadCurrentTheme() {
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    static orvo::ContractCall<orvo::contract::ProjectGetINIStrEx> s_getIniStrEx;
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;

    auto getPath = s_getPath.Get();
    auto getIniStrEx = s_getIniStrEx.Get();
    auto parse = s_parse.Get();
    std::wstring basePath;
    std::wstring fileName;
    if (!getPath || !getIniStrEx || !parse || !getPath(nullptr, &basePath) ||
        !getIniStrEx(L"UserINI", L"Init", L"ProjectCfg", L"Init", L"Theme", fileName))
        return 0;
    XElement* root = nullptr;
    if (!parse(plat::JoinPath(basePath, fileName).c_str(), &root) || !root)
        return 0;
    const std::unique_ptr<XElement> tree(root);
    return LoadTheme(tree.get());
}

int XThemeMan::LoadTheme(XElement* root) {
    if (!root || !plat::EqualsNoCase(root->GetTagName(), L"Theme"))
        return 0;
    auto theme = std::make_unique<XTheme>();
    theme->SetElement(root->GetFirstChild());
    if (m_current)
        m_replaced.push_back(std::move(m_current));
    m_current = std::move(theme);
    return 1;
}

void XThemeMan::Reset() {
    m_current.reset();
    m_replaced.clear();
}
