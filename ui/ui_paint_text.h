#pragma once
// "Text": a fixed value centred in the rectangle, or, without one, the object's own content.
// Colours come from the primitive or from the event's colour list by index; "shadow" mode
// draws the text once more in the shadow colour, one pixel down and right of it.
#include <string>
#include <string_view>

#include "platform/base/colorref.h"
#include "ui/ui_paint_base.h"

class CUIPaintText : public CUIPaintBase {
public:
    enum Mode : int { MODE_NORMAL = 0, MODE_SHADOW = 1 };

    // "Value", "TextColor", "Shadow" (colours the theme cannot resolve refuse the element),
    // "TextColorIndex", "ShadowIndex", "Mode", "ApplyRect".
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

    // Draws `text` into `rect` with the DrawText `format`, in this primitive's colours; the
    // device context's text colour is put back afterwards. Objects drawing their content call
    // it with their own text and alignment.
    void DrawTextW(CDC* dc, CRect& rect, std::wstring_view text, unsigned format, CUIEvent* event);

    bool IsApplyRect() const { return m_applyRect; }

private:
    bool m_hasValue = false;
    std::wstring m_value;
    COLORREF m_textColour = 0;
    COLORREF m_shadowColour = RGB(255, 255, 255);
    int m_textColourIndex = -1;
    int m_shadowIndex = -1;
    int m_mode = MODE_NORMAL;
    bool m_applyRect = false;
};
