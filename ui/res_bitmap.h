#pragma once
// CResBitmap: a bitmap of the resource service, drawn stretched into the rectangle it is
// given or at its own size from the rectangle's top-left corner, optionally with one colour
// left out.
#include "platform/base/colorref.h"
#include "platform/gui/dib.h"
#include "ui/res_image.h"

class CResBitmap : public CResImg {
public:
    CResBitmap() : CResImg(KIND_BITMAP) {}

    // The file, then "TransColor" (a colour of the current theme, else of the "Color"
    // service, else a colour text; one that resolves nowhere keeps magenta), "Stretch" and
    // "Transparent". 0 only when "Path" names no alias (or the file would leave its folder): a
    // missing or undecodable file gives a bitmap of size 0 that draws nothing.
    int Load(const XElement* element) override;
    // The device context is left as it was found.
    void Draw(CDC* dc, const CRect& rect) override;

private:
    CDib m_dib;
    COLORREF m_transColour = RGB(255, 0, 255);
    bool m_stretch = false;
    bool m_transparent = false;
};
