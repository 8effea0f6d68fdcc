#pragma once
// XLangMan ("LangMan"): the language service. It loads the language file named by the user's
// setting, else the project's ("Init"/"Lang"), and answers texts by number; the current
// language is also published as XDO::s_pLang.
//
// A language replaced by a later load is kept until the service goes: objects may still hold
// the fonts it handed out.
#include <memory>
#include <string>
#include <vector>

#include "core/language.h"
#include "nubra/ixo.h"

class CFont;

class XLangMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    // The instance registered at start-up.
    static XLangMan& Instance();

    ORVO_KEY(L"LangMan")

    int InitializeIXO() { return LoadCurrentLanguage(); }
    // Loads <base path>/<"Lang" setting> through "Project" and "Parser". 0 (and the current
    // language kept) when a step fails; 1 otherwise, also when the file's root is not
    // "Language", which leaves no current language.
    int LoadCurrentLanguage();

    // 0 without a current language or a text for `id`.
    int GetText(int id, std::wstring& out);
    // Empty when GetText would answer 0.
    std::wstring GetTextID(int id);
    // The current language's font for a "key=value,..." description applied over its default
    // font; null without a current language or while no font maker is installed (core alone).
    CFont* GetFont(const wchar_t* description);

    // Null when no language is loaded.
    XLanguage* CurrentLanguage() const { return m_current.get(); }
    // Leaves no current language, as before the first load (the host's shutdown, tests).
    void Reset();

private:
    void Install(std::unique_ptr<XLanguage> language);

    std::unique_ptr<XLanguage> m_current;
    std::vector<std::unique_ptr<XLanguage>> m_replaced;
};
