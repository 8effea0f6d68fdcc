#include "core/lang_man.h"

#include <typeinfo>

#include "core/contracts.h"
#include "core/element.h"
#include "core/project_setting_file.h"
#include "core/xdo.h"
#include "platform/base/nocase.h"

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
    const std::unique_ptr<XElement> root = orvo::ReadProjectSettingFile(L"Lang");
    if (!root)
        return 0;
    std::unique_ptr<XLanguage> language;
    if (plat::EqualsNoCase(root->GetTagName(), L"Language")) {
        language = std::make_unique<XLanguage>();
        language->SetElement(root.get());
    }
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

CFont* XLangMan::GetFont(const wchar_t* description) {
    return m_current ? m_current->GetFont(description) : nullptr;
}
