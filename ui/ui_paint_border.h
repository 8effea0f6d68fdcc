#pragma once
// "Border": up to two lines on each side chosen by the edge and flag bits, in the four 3-D
// colours; with the adjust flag the rectangle shrinks by the lines drawn, for the children
// and for the primitives after it. "BorderEx": a rounded outline in the "Light" colour.
#include "platform/base/colorref.h"
#include "ui/ui_paint_base.h"

class CUIPaintBorder : public CUIPaintBase {
public:
    // "Light", "HighLight", "Shadow", "DarkShadow" (a colour the theme cannot resolve refuses
    // the element), "Edge", "Flag". The diagonal flags are read and draw nothing.
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

protected:
    // Defaults are the classic Windows 3-D colours.
    COLORREF m_light = RGB(227, 227, 227);
    COLORREF m_highlight = RGB(255, 255, 255);
    COLORREF m_shadow = RGB(160, 160, 160);
    COLORREF m_darkShadow = RGB(105, 105, 105);
    int m_flag = 0x280F;
    int m_edge = 5;

private:
    struct SideColours {
        bool hasOuter = false;
        COLORREF outer = 0;
        bool hasInner = false;
        COLORREF inner = 0;
    };
    SideColours TopLeftColours() const;
    SideColours BottomRightColours() const;
};

class CUIPaintBorderEx : public CUIPaintBorder {
public:
    // The "Border" attributes and "Round" ("w,h": two integers, else the element is refused).
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    int m_roundWidth = 1;
    int m_roundHeight = 1;
};
