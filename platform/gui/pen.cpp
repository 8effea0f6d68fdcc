#include "platform/gui/pen.h"

#include <algorithm>

#include "platform/gui/qt_color.h"

namespace {

// Wide pens are drawn by Qt; anything wider than a screen is a mistake in the markup.
constexpr int kWidestPen = 1000;

} // namespace

bool CPen::CreatePen(int style, int width, COLORREF colour) {
    m_style = style >= PS_SOLID && style <= PS_INSIDEFRAME ? style : PS_SOLID;
    m_width = std::clamp(width, 1, kWidestPen);
    m_colour = colour & 0xFFFFFF;
    const Qt::PenStyle dashes[] = {Qt::SolidLine,
                                   Qt::DashLine,
                                   Qt::DotLine,
                                   Qt::DashDotLine,
                                   Qt::DashDotDotLine,
                                   Qt::NoPen,
                                   Qt::SolidLine};
    // One pixel wide: square ends, so that an outline closes on the vertices like GDI's.
    m_qtPen = QPen(plat::ToQColor(m_colour),
                   m_width,
                   dashes[m_style],
                   m_width == 1 ? Qt::SquareCap : Qt::RoundCap,
                   m_width == 1 ? Qt::MiterJoin : Qt::RoundJoin);
    return true;
}

const CPen& CPen::Stock(int which) {
    static const CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    static const CPen white(PS_SOLID, 1, RGB(255, 255, 255));
    static const CPen null(PS_NULL, 1, RGB(0, 0, 0));
    switch (which) {
    case WHITE_PEN:
        return white;
    case NULL_PEN:
        return null;
    default:
        return black;
    }
}
