#pragma once
// XLanguage: one loaded language file, the texts screens show by number and the language's
// default font description. "LangMan" keeps the current one.
#include <memory>
#include <string>
#include <unordered_map>

#include "core/language_fonts.h"
#include "nubra/ixo.h"
#include "platform/base/string_map.h"

class CFont;
class XElement;

class XLanguage : public IXO {
public:
    ORVO_KEY(L"Language")

    // Reads the children of a language file's root in document order: "Text" elements give
    // texts by "id" (a later equal id replaces the earlier text), "Font" elements the default
    // font description (a later one replaces the earlier). A "Text" without an id names no
    // text and is skipped. Always 1.
    int SetElement(const XElement* root);

    // 0 when there is no text for `id`.
    int GetText(int id, std::wstring& out) const;
    // The attributes of the last "Font" element; empty when there was none.
    const CMapStringToString& GetFontDescription() const { return m_fontDescription; }

    // Null while no font maker is installed. The fonts are made on first use and live as
    // long as this language.
    CFont* GetDefaultFont();
    CFont* GetFont(const wchar_t* description);

private:
    orvo::LanguageFonts* Fonts();

    CMapStringToString m_fontDescription;
    std::unique_ptr<orvo::LanguageFonts> m_fonts;
    std::unordered_map<int, std::wstring> m_texts;
};
