#include "ui/rect_ex.h"

#include <array>

bool CRectEx::SetRectInfo(std::wstring_view text) {
    std::array<CPosEx, 4> read;
    std::size_t count = 0;
    bool readable = true;
    for (std::size_t from = 0;; ++count) {
        const std::size_t comma = text.find(L',', from);
        const std::wstring_view part =
            text.substr(from, comma == std::wstring_view::npos ? comma : comma - from);
        if (count < read.size())
            readable = read[count].SetPos(part) && readable;
        if (comma == std::wstring_view::npos)
            break;
        from = comma + 1;
    }
    point.x = read[0];
    point.y = read[1];
    size.width = read[2];
    size.height = read[3];
    return readable && count + 1 == read.size();
}

bool CRectEx::Recalc(const CRect& reference, Mode mode) {
    using Axis = CPosEx::Axis;
    if (!point.x.Recalc(reference, Axis::Horizontal, point.x.GetPos()) ||
        !point.y.Recalc(reference, Axis::Vertical, point.y.GetPos()))
        return false;
    point.point = {point.x.GetPos(), point.y.GetPos()};
    if (!size.width.Recalc(reference, Axis::Horizontal, point.point.x) ||
        !size.height.Recalc(reference, Axis::Vertical, point.point.y))
        return false;
    size.size = {size.width.GetPos(), size.height.GetPos()};
    if (mode == MODE_POSITION)
        rect = CRect(point.point, size.size);
    else
        rect = CRect(point.point.x, point.point.y, size.size.cx, size.size.cy);
    return true;
}
