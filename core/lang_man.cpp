#include "core/lang_man.h"

#include <typeinfo>

#include "core/element.h"
#include "core/xdo.h"
#include "nubra/call_site.h"
#include "platform/base/nocase.h"
#include "platform/base/path.h"

namespace {

[[maybe_unused]] const int g_registered = IXO::Register(L"LangMan", &XLangMan::Instance());

} // namespace

XLangMan& XLangMan::Instance() {
    // Never destroyed: texts may still be asked for by other objects' destructors at exit.
    static XLangMan* const instance = new XLangMan();
    return *instance;
}

const orvo::DispatchMap& XLangMan::ClassDispatch() {
    static const orvo::DispatchMap map(
        &IXO::ClassDispatch(),
        {
            orvo::Method<&XLangMan::InitializeIXO>(L"InitializeIXO"),
            orvo::Method<&XLangMan::LoadCurrentLanguage>(L"LoadCurrentLanguage"),
            orvo::Method<&XLangMan::GetText>(L"GetText"),
            orvo::Method<&XLangMan::GetTextID>(L"GetTextID"),
            orvo::Method<&XLangMan::GetFont>(L"GetFont"),
        });
    return map;
}

int XLangMan::LoadCurrentLanguage() {
    static orvo::ServiceCall<int(const wchar_t*, std::wstring*)> s_getPath(L"Project", L"GetPath");
    static orvo::ServiceCall<int(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                 const wchar_t*, std::wstring&)>
        s_getIniStrEx(L"Project", L"GetINIStrEx");
    static orvo::ServiceCall<int(const wchar_t*, XElement**)> s_parse(L"Parser", L"DoParse");

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
