#pragma once
// CPointEx, CSizeEx and CRectEx: a point, a size and a rectangle made of position
// expressions, with what they resolved to.
#include <string_view>

#include "platform/base/geometry.h"
#include "ui/pos_ex.h"

struct CPointEx {
    CPosEx x;
    CPosEx y;
    CPoint point;
};

struct CSizeEx {
    CPosEx width;
    CPosEx height;
    CSize size;
};

class CRectEx {
public:
    // How the four resolved values make the rectangle.
    enum Mode : int {
        MODE_MARGIN = 0,   // left, top, right and bottom as they are
        MODE_POSITION = 1, // x, y, x + width, y + height
    };

    // One expression each; false (nothing changed) when it cannot be read.
    bool XLeft(std::wstring_view text) { return point.x.SetPos(text); }
    bool XTop(std::wstring_view text) { return point.y.SetPos(text); }
    bool XWidth(std::wstring_view text) { return size.width.SetPos(text); }
    bool XHeight(std::wstring_view text) { return size.height.SetPos(text); }
    // Four comma-separated expressions: x, y, width, height. All four are replaced, those not
    // given or not readable by unset ones (which fail to resolve); true only for exactly four
    // readable expressions.
    bool SetRectInfo(std::wstring_view text);

    // Resolves x, y, width and height against `reference`; false when any of them fails,
    // and the rectangle is then left as it was.
    bool Recalc(const CRect& reference, Mode mode);

    CRect rect;
    CPointEx point;
    CSizeEx size;
};
