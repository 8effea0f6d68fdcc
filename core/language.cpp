#include "core/language.h"

#include <vector>

#include "core/element.h"
#include "platform/base/nocase.h"

int XLanguage::SetElement(const XElement* root) {
    if (!root)
        return 1;
    // An explicit stack: a language file may hold thousands of texts.
    std::vector<const XElement*> pending;
    if (root->GetFirstChild())
        pending.push_back(root->GetFirstChild());
    while (!pending.empty()) {
        const XElement* element = pending.back();
        pending.pop_back();
        const std::wstring& tag = element->GetTagName();
        int id = 0;
        if (plat::EqualsNoCase(tag, L"Text") && element->GetValue(L"id", id)) {
            std::wstring text;
            element->GetValue(L"Text", text);
            m_texts[id] = std::move(text);
        } else if (plat::EqualsNoCase(tag, L"Font")) {
            const CMapStringToString* attributes = element->GetAttributes();
            m_fontDescription = attributes ? *attributes : CMapStringToString();
        }
        if (element->GetNextSibling())
            pending.push_back(element->GetNextSibling());
        if (element->GetFirstChild())
            pending.push_back(element->GetFirstChild());
    }
    return 1;
}

int XLanguage::GetText(int id, std::wstring& out) const {
    const auto found = m_texts.find(id);
    if (found == m_texts.end())
        return 0;
    out = found->second;
    return 1;
}

CFont* XLanguage::GetDefaultFont() {
    orvo::LanguageFonts* fonts = Fonts();
    return fonts ? fonts->DefaultFont() : nullptr;
}

CFont* XLanguage::GetFont(const wchar_t* description) {
    orvo::LanguageFonts* fonts = Fonts();
    return fonts ? fonts->GetFont(description ? description : L"") : nullptr;
}

orvo::LanguageFonts* XLanguage::Fonts() {
    if (!m_fonts) {
        if (orvo::LanguageFontMaker maker = orvo::GetLanguageFontMaker())
            m_fonts = maker(m_fontDescription);
    }
    return m_fonts.get();
}

namespace orvo {

namespace {
LanguageFontMaker g_fontMaker = nullptr;
} // namespace

void SetLanguageFontMaker(LanguageFontMaker maker) {
    g_fontMaker = maker;
}

LanguageFontMaker GetLanguageFontMaker() {
    return g_fontMaker;
}

} // namespace orvo
