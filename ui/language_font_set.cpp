#include "ui/language_font_set.h"

#include "core/element.h"
#include "ui/xfont.h"

namespace {

std::unique_ptr<orvo::LanguageFonts> MakeLanguageFonts(const CMapStringToString& description) {
    return std::make_unique<LanguageFontSet>(description);
}

// Languages loaded by "LangMan" get their fonts from here once this layer is linked in.
[[maybe_unused]] const bool g_installed = (orvo::SetLanguageFontMaker(MakeLanguageFonts), true);

} // namespace

LanguageFontSet::LanguageFontSet(const CMapStringToString& defaultDescription) {
    XElement font(L"Font");
    for (const auto& [key, value] : defaultDescription)
        font.SetValue(key, value);
    XFont::SetElement(&font, m_defaultDescription);
}

CFont* LanguageFontSet::DefaultFont() {
    if (!m_default)
        m_default = std::make_unique<CFont>(m_defaultDescription);
    return m_default.get();
}

CFont* LanguageFontSet::GetFont(const wchar_t* description) {
    XElement changes(L"Font");
    changes.MakeValue(description ? description : L"");
    LOGFONT wanted = m_defaultDescription;
    XFont::SetElement(&changes, wanted);
    for (const std::unique_ptr<CFont>& font : m_fonts) {
        LOGFONT made;
        if (font->GetLogFont(made) && made == wanted)
            return font.get();
    }
    m_fonts.push_back(std::make_unique<CFont>(wanted));
    return m_fonts.back().get();
}
