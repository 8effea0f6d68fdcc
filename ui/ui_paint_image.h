#pragma once
// "Image": an image of the draw event by index, or one named image, drawn into the rectangle
// as the image draws itself (an icon at its own size, a bitmap clipped or stretched).
#include <string>

#include "ui/ui_paint_base.h"

class CResImg;

class CUIPaintImage : public CUIPaintBase {
public:
    // "Src" (else "Image"): the image's name; "ImageIndex": an index into the event's images.
    int SetAttribute(XTheme* theme, XElement* element) override;
    // An index of 0 or more draws the event's image there (nothing when out of range);
    // otherwise the named image, asked of "ResMan" once: a name that finds nothing is
    // forgotten, so a missing image costs no lookup per paint.
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    std::wstring m_name;
    CResImg* m_image = nullptr; // owned by "ResMan"
    int m_index = -1;
};
