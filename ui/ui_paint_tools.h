#pragma once
// Primitives that set up drawing for the primitives inside them: "Brush", "Pen", "TransForm"
// and "AlphaBlend". Each puts the device context back as it was afterwards.
#include "platform/base/colorref.h"
#include "platform/gui/xform.h"
#include "ui/ui_paint_base.h"

class CBrush;

class CUIPaintBrush : public CUIPaintBase {
public:
    // "BrushStyle", "Hatch", "Color"; an unknown colour leaves black.
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

protected:
    // Pattern brushes have no images here and paint solid.
    void MakeBrush(CBrush& brush) const;

    int m_brushStyle = 0;
    COLORREF m_colour = 0;
    int m_hatch = 0;
};

class CUIPaintPen : public CUIPaintBrush {
public:
    // The "Brush" attributes, "PenStyle", "Weight".
    int SetAttribute(XTheme* theme, XElement* element) override;
    // With a brush style the pen takes the brush's colour, and a hollow brush makes a null pen.
    // A null pen hands its children the rectangle grown by one pixel at right and bottom.
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    int m_penStyle = 0;
    int m_weight = 1;
};

class CUIPaintTransForm : public CUIPaintBase {
public:
    // "xx", "xy", "yx", "yy", "dx", "dy". A transform that cannot be drawn through is refused
    // by the device context when drawing, and the children draw untransformed.
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

    const XFORM& Transform() const { return m_transform; }

private:
    XFORM m_transform;
};

class CUIPaintAlphaBlend : public CUIPaintBase {
public:
    // "Alpha" in percent: truncate(percent x 255 / 100), kept within 0..255.
    int SetAttribute(XTheme* theme, XElement* element) override;
    // The children draw into a copy of the visible part of the rectangle, which is then
    // blended back with the constant alpha. They start from the default pen and brush.
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

    int Alpha() const { return m_alpha; }

private:
    int m_alpha = 100;
};
