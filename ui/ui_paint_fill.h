#pragma once
// "Fill" (a named paint, or a solid colour that turns to the update colour while an animated
// object shows an update) and "Draw"/"Paint" (a named paint over the rectangle).
#include "platform/base/colorref.h"
#include "ui/ui_paint_base.h"

class CUIPaint;

class CUIPaintFill : public CUIPaintBase {
public:
    // "Paint", "BackColor", "AniColor"; a colour the theme cannot resolve refuses the element.
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    CUIPaint* m_paint = nullptr;
    COLORREF m_backColour = 0;
    COLORREF m_updateColour = 0;
};

class CUIPaintDraw : public CUIPaintBase {
public:
    // "Item" wins over "Paint"; "CheckPaint" is kept for objects that draw content.
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

    bool IsCheckPaint() const { return m_checkPaint; }

private:
    CUIPaint* m_paint = nullptr;
    bool m_checkPaint = false;
};
