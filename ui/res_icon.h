#pragma once
// CResIcon: an icon of the resource service, drawn at its own size at the top-left corner of
// the rectangle it is given, with its own alpha.
#include "platform/gui/dib.h"
#include "ui/res_image.h"

namespace orvo {

// What "ResMan" "GetIconHandle" hands out where Windows had an icon handle: the icon's image.
// A handle taken without copying belongs to the icon and lives as long as "ResMan" keeps it;
// a copy belongs to the caller, who frees it with DestroyIconHandle.
using IconHandle = const CDib*;
void DestroyIconHandle(IconHandle icon);

} // namespace orvo

class CResIcon : public CResImg {
public:
    CResIcon() : CResImg(KIND_ICON) {}

    // The file is decoded at the size stored in it (the first image of an icon file). An icon
    // file carries its hot-spot at the icon's centre, so twice the hot-spot, the width and
    // height kept, is the icon's own size; odd sizes are kept whole rather than rounded down.
    int Load(const XElement* element) override;
    void Draw(CDC* dc, const CRect& rect) override;

    orvo::IconHandle GetHandle(bool copy) const;

private:
    CDib m_icon;
};
