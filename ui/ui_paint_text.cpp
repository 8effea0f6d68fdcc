#include "ui/ui_paint_text.h"

#include "core/element.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "platform/gui/dc.h"
#include "ui/paint_target.h"
#include "ui/ui_event.h"
#include "ui/xtheme.h"

int CUIPaintText::SetAttribute(XTheme* theme, XElement* element) {
    m_hasValue = element->GetValue(L"Value", m_value) != 0;
    element->GetValue(L"TextColorIndex", m_textColourIndex);
    element->GetValue(L"ShadowIndex", m_shadowIndex);
    element->GetBool(L"ApplyRect", m_applyRect);
    std::wstring text;
    if (element->GetValue(L"Mode", text) && plat::EqualsNoCase(orvo::TrimBlanks(text), L"shadow"))
        m_mode = MODE_SHADOW;
    return theme->ReadColor(element, L"TextColor", m_textColour) &&
                   theme->ReadColor(element, L"Shadow", m_shadowColour)
               ? 1
               : 0;
}

void CUIPaintText::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    if (m_hasValue) {
        CRect area = rect;
        DrawTextW(dc, area, m_value, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, event);
    } else if (object) {
        CRect area = rect;
        object->DrawContent(dc, area, event, this);
    }
    CUIPaintBase::Draw(dc, rect, object, event);
}

void CUIPaintText::DrawTextW(
    CDC* dc, CRect& rect, std::wstring_view text, unsigned format, CUIEvent* event) {
    // Text lies over what the theme painted under it.
    const COLORREF previous = dc->GetTextColor();
    const int previousMode = dc->SetBkMode(TRANSPARENT);
    if (m_mode == MODE_SHADOW) {
        COLORREF shadow = m_shadowColour;
        if (event)
            event->GetColor(m_shadowIndex, shadow);
        dc->SetTextColor(shadow);
        CRect shadowRect = rect;
        dc->DrawText(text, shadowRect, format);
        rect.OffsetRect(-1, -1);
    }
    COLORREF colour = m_textColour;
    if (event)
        event->GetColor(m_textColourIndex, colour);
    dc->SetTextColor(colour);
    if (format & DT_SINGLELINE) {
        // One line at the top of the rectangle, placed by the horizontal flags.
        unsigned align = TA_LEFT | TA_TOP;
        long long x = rect.left;
        if (format & DT_CENTER) {
            align = TA_CENTER | TA_TOP;
            x = (static_cast<long long>(rect.left) + rect.right) / 2;
        } else if (format & DT_RIGHT) {
            align = TA_RIGHT | TA_TOP;
            x = rect.right;
        }
        const unsigned previousAlign = dc->SetTextAlign(align);
        dc->ExtTextOut(static_cast<int>(x), rect.top, ETO_CLIPPED, &rect, text);
        dc->SetTextAlign(previousAlign);
    } else {
        dc->DrawText(text, rect, format);
    }
    dc->SetTextColor(previous);
    dc->SetBkMode(previousMode);
}
