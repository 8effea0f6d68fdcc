#pragma once
// "SetRect": a sub-rectangle laid out inside the rectangle handed down as an object is inside
// its parent ("Rect", "Margin", "Align", "Dock"); the children draw in it less its margins,
// and with "Clipping" nothing they draw leaves it.
#include "ui/ui_paint_base.h"
#include "ui/xrect.h"

class CUIPaintSetRect : public CUIPaintBase {
public:
    // A "Rect" that cannot be read refuses the element, with the layout's message.
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    XRect m_layout;
    bool m_clipping = false;
};
