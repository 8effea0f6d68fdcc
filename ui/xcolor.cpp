#include "ui/xcolor.h"

#include <memory>
#include <vector>

#include "core/contracts.h"
#include "core/element.h"
#include "nubra/call_site.h"
#include "nubra/color.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"

namespace {

[[maybe_unused]] const int g_registered = orvo::RegisterInstance(&XColor::Instance());

} // namespace

XColor& XColor::Instance() {
    // Never destroyed: themes torn down at exit still ask it for names.
    static XColor* const instance = new XColor();
    return *instance;
}

ORVO_DISPATCH(
    XColor, IXO, ORVO_METHOD(InitializeIXO), ORVO_METHOD(InitColorName), ORVO_METHOD(GetColor))

int XColor::InitializeIXO() {
    static orvo::ContractCall<orvo::contract::ProjectGetFile> s_getFile;
    auto getFile = s_getFile.Get();
    std::wstring path;
    if (!getFile || !getFile(L"ColorName", path))
        return 0;
    return InitColorName(path.c_str());
}

int XColor::InitColorName(const wchar_t* path) {
    static orvo::ContractCall<orvo::contract::ParserDoParse> s_parse;
    auto parse = s_parse.Get();
    XElement* root = nullptr;
    if (!path || !parse || !parse(path, &root) || !root)
        return 0;
    const std::unique_ptr<XElement> tree(root);
    AddNames(tree.get());
    return 1;
}

void XColor::AddNames(const XElement* root) {
    // Iterative: a colour file is flat, but nothing stops one from nesting deeply.
    std::vector<const XElement*> pending{root};
    while (!pending.empty()) {
        const XElement* element = pending.back();
        pending.pop_back();
        for (; element; element = element->GetNextSibling()) {
            if (plat::EqualsNoCase(element->GetTagName(), L"ColorName.Add")) {
                std::wstring name;
                std::wstring value;
                COLORREF colour = 0;
                if (element->GetValue(L"Name", name) && element->GetValue(L"Value", value) &&
                    ::GetColor(value, colour))
                    m_colours[plat::ToLower(orvo::TrimBlanks(name))] = colour;
            }
            if (element->GetFirstChild())
                pending.push_back(element->GetFirstChild());
        }
    }
}

int XColor::GetColor(const wchar_t* name, COLORREF& colour) {
    if (!name)
        return 0;
    const auto found = m_colours.find(plat::ToLower(orvo::TrimBlanks(name)));
    if (found == m_colours.end())
        return 0;
    colour = found->second;
    return 1;
}
