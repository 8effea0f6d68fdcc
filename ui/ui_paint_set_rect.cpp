#include "ui/ui_paint_set_rect.h"

#include "core/element.h"
#include "platform/gui/dc.h"

int CUIPaintSetRect::SetAttribute(XTheme*, XElement* element) {
    element->GetBool(L"Clipping", m_clipping);
    return m_layout.SetLayoutElement(element);
}

void CUIPaintSetRect::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    if (!m_layout.RecalcIn(rect))
        return;
    CRect inner = m_layout.GetInner().rect;
    if (!m_clipping) {
        CUIPaintBase::Draw(dc, inner, object, event);
        return;
    }
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(m_layout.GetRectEx().rect);
    CUIPaintBase::Draw(dc, inner, object, event);
    dc->RestoreDC(saved);
}
