#pragma once
// XColor ("Color"): the colour names of the whole process, read from the project's colour name
// file. Themes fall back on it for names they do not define themselves.
#include <string>
#include <unordered_map>

#include "nubra/ixo.h"
#include "platform/base/colorref.h"

class XElement;

class XColor : public IXO {
    ORVO_DISPATCH_MAP()

public:
    static XColor& Instance();

    ORVO_KEY(L"Color")

    // Loads the file the project names as "ColorName"; 0 without a project, a file or a parse.
    int InitializeIXO();
    // Adds every "ColorName.Add" ("Name", "Value") of the file at `path`, at any depth; a value
    // that is not a colour text is skipped. 0 when the file cannot be parsed.
    int InitColorName(const wchar_t* path);
    // The same from a tree already parsed.
    void AddNames(const XElement* root);
    // Without case; 0 and `colour` untouched for an unknown name.
    int GetColor(const wchar_t* name, COLORREF& colour);
    void Clear() { m_colours.clear(); }

private:
    std::unordered_map<std::wstring, COLORREF> m_colours; // keys lower-case
};
