#include "ui/ui_paint_tools.h"

#include <algorithm>
#include <cmath>

#include "core/element.h"
#include "platform/gui/dc.h"
#include "ui/paint_keywords.h"
#include "ui/xtheme.h"

namespace {

float ToFloat(double value) {
    // Out-of-range doubles do not convert to float; the device context refuses what is not
    // finite anyway.
    if (!std::isfinite(value))
        return 0;
    return static_cast<float>(std::clamp(value, -1e30, 1e30));
}

} // namespace

// ---- Brush
// ---------------------------------------------------------------------------------------

int CUIPaintBrush::SetAttribute(XTheme* theme, XElement* element) {
    std::wstring text;
    if (element->GetValue(L"BrushStyle", text))
        m_brushStyle = orvo::ReadBrushStyle(text);
    if (element->GetValue(L"Hatch", text))
        orvo::ReadHatch(text, m_hatch);
    if (element->GetValue(L"Color", text))
        theme->GetColor(text.c_str(), &m_colour);
    return 1;
}

void CUIPaintBrush::MakeBrush(CBrush& brush) const {
    if (m_brushStyle == BS_NULL)
        brush.CreateNullBrush();
    else if (m_brushStyle == BS_HATCHED)
        brush.CreateHatchBrush(m_hatch, m_colour);
    else
        brush.CreateSolidBrush(m_colour);
}

void CUIPaintBrush::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    CBrush brush;
    MakeBrush(brush);
    const CBrush* previous = dc->SelectObject(&brush);
    CUIPaintBase::Draw(dc, rect, object, event);
    if (previous)
        dc->SelectObject(previous);
}

// ---- Pen
// -----------------------------------------------------------------------------------------

int CUIPaintPen::SetAttribute(XTheme* theme, XElement* element) {
    CUIPaintBrush::SetAttribute(theme, element);
    std::wstring text;
    if (element->GetValue(L"PenStyle", text))
        orvo::ReadPenStyle(text, m_penStyle);
    element->GetValue(L"Weight", m_weight);
    return 1;
}

void CUIPaintPen::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    // Wider pens than a screen is high draw nothing more.
    const int weight = std::clamp(m_weight, 0, 4096);
    CPen pen;
    int style = m_penStyle;
    if (m_brushStyle == BS_NULL)
        style = PS_NULL;
    pen.CreatePen(style, weight, m_colour);
    const CPen* previous = dc->SelectObject(&pen);
    if (pen.IsNull()) {
        CRect grown = rect;
        grown.right = plat::WrapAdd(grown.right, 1);
        grown.bottom = plat::WrapAdd(grown.bottom, 1);
        CUIPaintBase::Draw(dc, grown, object, event);
    } else {
        CUIPaintBase::Draw(dc, rect, object, event);
    }
    if (previous)
        dc->SelectObject(previous);
}

// ---- TransForm
// -----------------------------------------------------------------------------------

int CUIPaintTransForm::SetAttribute(XTheme*, XElement* element) {
    double value = 0;
    if (element->GetValue(L"xx", value))
        m_transform.eM11 = ToFloat(value);
    if (element->GetValue(L"xy", value))
        m_transform.eM12 = ToFloat(value);
    if (element->GetValue(L"yx", value))
        m_transform.eM21 = ToFloat(value);
    if (element->GetValue(L"yy", value))
        m_transform.eM22 = ToFloat(value);
    if (element->GetValue(L"dx", value))
        m_transform.eDx = ToFloat(value);
    if (element->GetValue(L"dy", value))
        m_transform.eDy = ToFloat(value);
    return 1;
}

void CUIPaintTransForm::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    const int previousMode = dc->SetGraphicsMode(GM_ADVANCED);
    dc->SetWorldTransform(m_transform);
    CUIPaintBase::Draw(dc, rect, object, event);
    dc->ModifyWorldTransform(nullptr, MWT_IDENTITY);
    dc->SetGraphicsMode(previousMode);
}

// ---- AlphaBlend
// ----------------------------------------------------------------------------------

int CUIPaintAlphaBlend::SetAttribute(XTheme*, XElement* element) {
    double percent = 0;
    if (element->GetValue(L"Alpha", percent)) {
        const double alpha = std::isfinite(percent) ? percent * 255.0 / 100.0 : 0.0;
        m_alpha = static_cast<int>(std::clamp(alpha, 0.0, 255.0));
    }
    return 1;
}

void CUIPaintAlphaBlend::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    // Only the visible part is copied, so a huge rectangle costs no more than the surface.
    CRect visible;
    dc->GetClipBox(&visible);
    visible.IntersectRect(visible, rect);
    if (visible.IsRectEmpty())
        return;
    CBitmap bitmap;
    CDC offscreen;
    if (!bitmap.CreateBitmap(visible.Width(), visible.Height()) ||
        !offscreen.CreateCompatibleDC(dc))
        return;
    offscreen.SelectObject(&bitmap);
    offscreen.BitBlt(
        0, 0, visible.Width(), visible.Height(), dc, visible.left, visible.top, SRCCOPY);
    CRect shifted = rect;
    shifted.OffsetRect(-visible.left, -visible.top);
    CUIPaintBase::Draw(&offscreen, shifted, object, event);
    BLENDFUNCTION blend;
    blend.SourceConstantAlpha = static_cast<unsigned char>(m_alpha);
    dc->AlphaBlend(visible.left,
                   visible.top,
                   visible.Width(),
                   visible.Height(),
                   &offscreen,
                   0,
                   0,
                   visible.Width(),
                   visible.Height(),
                   blend);
}
