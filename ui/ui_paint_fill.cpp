#include "ui/ui_paint_fill.h"

#include "core/element.h"
#include "platform/gui/dc.h"
#include "ui/paint_target.h"
#include "ui/xtheme.h"

int CUIPaintFill::SetAttribute(XTheme* theme, XElement* element) {
    std::wstring name;
    if (element->GetValue(L"Paint", name))
        m_paint = theme->GetUIPaint(name);
    return theme->ReadColor(element, L"BackColor", m_backColour) &&
                   theme->ReadColor(element, L"AniColor", m_updateColour)
               ? 1
               : 0;
}

void CUIPaintFill::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    if (m_paint) {
        m_paint->Draw(dc, rect, object, event);
    } else {
        const bool showsUpdate = object &&
                                 (object->PaintFlags() & orvo::PaintTarget::STATE_ANIMATION) &&
                                 object->UpdateHighlightCount() > 0;
        // FillSolidRect leaves its colour as the background colour; text drawn later in
        // opaque mode must not inherit it.
        const COLORREF background = dc->GetBkColor();
        dc->FillSolidRect(rect, showsUpdate ? m_updateColour : m_backColour);
        dc->SetBkColor(background);
    }
    CUIPaintBase::Draw(dc, rect, object, event);
}

int CUIPaintDraw::SetAttribute(XTheme* theme, XElement* element) {
    std::wstring name;
    if (element->GetValue(L"Item", name) || element->GetValue(L"Paint", name))
        m_paint = theme->GetUIPaint(name);
    element->GetBool(L"CheckPaint", m_checkPaint);
    return 1;
}

void CUIPaintDraw::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    if (m_paint)
        m_paint->Draw(dc, rect, object, event);
    CUIPaintBase::Draw(dc, rect, object, event);
}
