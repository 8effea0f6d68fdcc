#include "ui/xtheme.h"

#include "core/element.h"
#include "nubra/color.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "ui/paint_target.h"
#include "ui/xcolor.h"

ORVO_DISPATCH(XTheme, IXO, ORVO_METHOD(SetElement))

XTheme::XTheme() = default;
XTheme::~XTheme() = default;

int XTheme::SetElement(XElement* element) {
    // An explicit stack instead of recursion: a theme file may nest deeply.
    std::vector<XElement*> pending{element};
    while (!pending.empty()) {
        XElement* current = pending.back();
        pending.pop_back();
        if (!current)
            continue;
        pending.push_back(current->GetNextSibling());
        const std::wstring& tag = current->GetTagName();
        if (plat::EqualsNoCase(tag, L"ColorDef")) {
            ReadColorDef(current);
        } else if (plat::EqualsNoCase(tag, L"UIPaint")) {
            ReadUIPaint(current);
        } else if (plat::EqualsNoCase(tag, L"UIStyle")) {
            ReadUIStyle(current);
        } else {
            pending.push_back(current->GetFirstChild());
        }
    }
    return 1;
}

void XTheme::ReadColorDef(XElement* element) {
    std::wstring name;
    std::wstring text;
    if (!element->GetValue(L"Name", name) || !element->GetValue(L"Color", text))
        return;
    name = plat::ToLower(orvo::TrimBlanks(name));
    if (name.empty())
        return;
    COLORREF colour = 0;
    const auto defined = m_colours.find(plat::ToLower(orvo::TrimBlanks(text)));
    const bool resolved = ::GetColor(text, colour) ||
                          (defined != m_colours.end() && (colour = defined->second, true)) ||
                          XColor::Instance().GetColor(text.c_str(), colour);
    if (!resolved)
        return;
    m_colours[name] = colour;
}

void XTheme::ReadUIPaint(XElement* element) {
    std::wstring name;
    if (!element->GetValue(L"Name", name))
        return;
    auto paint = std::make_unique<CUIPaint>();
    if (!paint->SetElement(this, element->GetFirstChild()))
        return;
    m_paints[plat::ToLower(orvo::TrimBlanks(name))] = paint.get();
    m_ownedPaints.push_back(std::move(paint));
}

void XTheme::ReadUIStyle(XElement* element) {
    std::wstring control;
    if (!element->GetValue(L"Control", control))
        return;
    control = plat::ToLower(orvo::TrimBlanks(control));
    auto style = std::make_unique<CUIStyle>();
    if (!style->SetElement(this, element->GetFirstChild()))
        return;
    std::wstring focus;
    if (element->GetValue(L"FocusPaint", focus))
        style->SetFocusPaint(GetUIPaint(focus));
    if (control == L"default")
        m_default = style.get();
    m_styles[control] = style.get();
    m_ownedStyles.push_back(std::move(style));
}

CUIStyle* XTheme::GetUIStyle(std::wstring_view control) const {
    const auto found = m_styles.find(plat::ToLower(orvo::TrimBlanks(control)));
    return found == m_styles.end() ? nullptr : found->second;
}

std::vector<CUIStyle*> XTheme::GetStyles() const {
    std::vector<CUIStyle*> styles;
    for (const auto& style : m_ownedStyles)
        styles.push_back(style.get());
    return styles;
}

CUIPaint* XTheme::GetUIPaint(std::wstring_view name) const {
    const auto found = m_paints.find(plat::ToLower(orvo::TrimBlanks(name)));
    return found == m_paints.end() ? nullptr : found->second;
}

int XTheme::GetColor(const wchar_t* name, COLORREF* colour) const {
    if (!name || !colour)
        return 0;
    const auto found = m_colours.find(plat::ToLower(orvo::TrimBlanks(name)));
    if (found != m_colours.end()) {
        *colour = found->second;
        return 1;
    }
    if (XColor::Instance().GetColor(name, *colour))
        return 1;
    return ::GetColor(name, *colour) ? 1 : 0;
}

int XTheme::ReadColor(XElement* element, const wchar_t* key, COLORREF& colour) const {
    std::wstring text;
    return !element->GetValue(key, text) || GetColor(text.c_str(), &colour) ? 1 : 0;
}

CUIEvent* XTheme::GetUIEvent(orvo::PaintTarget* object, int mouse) const {
    if (!object)
        return nullptr;
    const CUIStyle* style = object->PaintStyle() ? object->PaintStyle() : m_default;
    return style ? style->GetUIEvent(object->PaintFlags(), mouse, object) : nullptr;
}

void XTheme::Draw(CDC* dc, orvo::PaintTarget* object, CUIEvent* event) const {
    const CUIStyle* style = object && object->PaintStyle() ? object->PaintStyle() : m_default;
    if (style)
        style->Draw(dc, object, event);
}
