#include "ui/ui_paint_base.h"

#include <string>

#include "core/element.h"

CUIPaintBase::~CUIPaintBase() = default;

int CUIPaintBase::SetAttribute(XTheme*, XElement*) {
    return 0;
}

int CUIPaintBase::SetMethod(const wchar_t*, XTheme*, XElement*) {
    return 0;
}

void CUIPaintBase::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    for (const auto& item : m_items)
        item->Draw(dc, rect, object, event);
}

int CUIPaintBase::SetElement(XTheme* theme, XElement* first) {
    for (XElement* element = first; element; element = element->GetNextSibling()) {
        const std::wstring& tag = element->GetTagName();
        const std::size_t dot = tag.rfind(L'.');
        if (dot != std::wstring::npos) {
            SetMethod(tag.substr(dot + 1).c_str(), theme, element);
            continue;
        }
        std::unique_ptr<CUIPaintBase> primitive = CreatePaintPrimitive(tag);
        if (!primitive)
            continue;
        if (!primitive->SetAttribute(theme, element) ||
            !primitive->SetElement(theme, element->GetFirstChild()))
            return 0;
        m_items.push_back(std::move(primitive));
    }
    return 1;
}

void CUIPaint::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    static int s_depth = 0;
    static int s_drawsLeft = 0;
    if (s_depth == 0)
        s_drawsLeft = kNestedDrawLimit;
    if (s_drawsLeft <= 0)
        return;
    --s_drawsLeft;
    ++s_depth;
    m_paint.Draw(dc, rect, object, event);
    --s_depth;
}
