#pragma once
// The fonts of a language, made with the themes' font keywords: the default font from the
// language's "Font" element, and one font per distinct description asked for.
#include <memory>
#include <vector>

#include "core/language_fonts.h"
#include "platform/gui/font.h"

class LanguageFontSet : public orvo::LanguageFonts {
public:
    explicit LanguageFontSet(const CMapStringToString& defaultDescription);

    CFont* DefaultFont() override;
    // Fonts compare field by field, the face name with case: "arial" and "Arial" are two
    // fonts, as they are two descriptions.
    CFont* GetFont(const wchar_t* description) override;

private:
    LOGFONT m_defaultDescription;
    // Made on first use: a font needs the GUI application, which may come after the language.
    std::unique_ptr<CFont> m_default;
    std::vector<std::unique_ptr<CFont>> m_fonts;
};
