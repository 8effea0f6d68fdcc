#pragma once
// A GDI brush: solid, null or hatched. A hatch is an 8x8 cell of lines in the brush colour
// with transparent gaps; the DC fills the gaps with the background colour in OPAQUE mode.
#include <QBrush>

#include "platform/base/colorref.h"
#include "platform/gui/gdi_flags.h"

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    CBrush(int hatch, COLORREF colour) { CreateHatchBrush(hatch, colour); }

    bool CreateSolidBrush(COLORREF colour);
    // False, and the brush unchanged, for a hatch outside HS_HORIZONTAL..HS_DIAGCROSS.
    bool CreateHatchBrush(int hatch, COLORREF colour);
    bool CreateNullBrush();

    int Style() const { return m_style; }
    COLORREF Color() const { return m_colour; }
    int Hatch() const { return m_hatch; }
    bool IsNull() const { return m_style == BS_NULL; }
    bool IsHatched() const { return m_style == BS_HATCHED; }
    // The hatch lines as a texture brush; its cell starts at the device origin.
    const QBrush& HatchBrush() const { return m_hatchBrush; }

    // Whether the hatch has a line at (x, y) of the device, counted from the origin.
    static bool HatchCovers(int hatch, int x, int y);

    static const CBrush& Stock(int which);

private:
    int m_style = BS_SOLID;
    COLORREF m_colour = RGB(255, 255, 255);
    int m_hatch = 0;
    QBrush m_hatchBrush;
};
