#pragma once
// A GDI pen: style, width and colour. Lines of one-pixel pens are rasterised by CDC itself
// (GDI's line rules); curves and wider pens go through the QPen made once here.
#include <QPen>

#include "platform/base/colorref.h"
#include "platform/gui/gdi_flags.h"

class CPen {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }

    // Unknown styles draw solid; widths below 1 draw 1 pixel wide, as GDI does.
    bool CreatePen(int style, int width, COLORREF colour);

    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_colour; }
    bool IsNull() const { return m_style == PS_NULL; }
    const QPen& QtPen() const { return m_qtPen; }

    static const CPen& Stock(int which);

private:
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_colour = RGB(0, 0, 0);
    QPen m_qtPen;
};
