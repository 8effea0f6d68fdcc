#include "core/lang_man.h"

#include <typeinfo>

#include "core/contracts.h"
#include "core/element.h"
#include "core/xdo.h"
#include "nubra/call_site.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XLangMan::Instance());

} // namespace

XLangMan& XLangMan::Instance() {
    // Never destroyed: texts may still be asked for by other objects' destructors at exit.
    static XLangMan* const instance = new XLangMan();
    return *instance;
}

ORVO_DISPATCH(XLangMan,
              IXO,
              ORVO_METHOD(InitializeIXO),
              ORVO_METHOD(LoadCurrentLanguage),
              ORVO_PROVIDE(orvo::contract::LangManGetText, GetText),
              ORVO_METHOD(GetTextID),
              ORVO_PROVIDE(orvo::contract::LangManGetFont, GetFont))

int XLangMan::LoadCurrentLanguage() {
    static orvo::ContractCall<orvo::contract::ProjectGetPath> s_getPath;
    static orvo::ContractCall<orvo::contract::ProjectGetINIStrEx> s_getIniStrEx;
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;

    auto getPath = s_getPath.Get();
    auto getIniStrEx = s_getIniStrEx.Get();
    auto parse = s_parse.Get();
    std::wstring basePath;
    std::wstring fileName;
    if (!getPath || !getIniStrEx || !parse || !getPath(nullptr, &basePath) ||
        !getIniStrEx(L"UserINI", L"Init", L"ProjectCfg", L"Init", L"Lang", fileName))
        return 0;
    XElement* root = nullptr;
    if (!parse(plat::JoinPath(basePath, fileName).c_str(), &root))
        return 0;
    std::unique_ptr<XLanguage> language;
    if (plat::EqualsNoCase(root->GetTagName(), L"Language")) {
        language = std::make_unique<XLanguage>();
        language->SetElement(root);
    }
    delete root;
    Install(std::move(language));
    return 1;
}

void XLangMan::Install(std::unique_ptr<XLanguage> language) {
    if (m_current)
        m_replaced.push_back(std::move(m_current));
    m_current = std::move(language);
    XDO::s_pLang = m_current.get();
}

void XLangMan::Reset() {
    Install(nullptr);
}

int XLangMan::GetText(int id, std::wstring& out) {
    return m_current ? m_current->GetText(id, out) : 0;
}

std::wstring XLangMan::GetTextID(int id) {
    std::wstring text;
    GetText(id, text);
    return text;
}

CFont* XLangMan::GetFont(const wchar_t*) {
    return nullptr;
}
