#include "platform/gui/brush.h"

#include <QImage>

#include "platform/gui/qt_color.h"

bool CBrush::HatchCovers(int hatch, int x, int y) {
    // The cell repeats every 8 pixels in both directions, also left of and above the origin.
    const int cx = x & 7;
    const int cy = y & 7;
    switch (hatch) {
    case HS_HORIZONTAL:
        return cy == 7;
    case HS_VERTICAL:
        return cx == 4;
    case HS_FDIAGONAL:
        return cx == cy;
    case HS_BDIAGONAL:
        return cx == 7 - cy;
    case HS_CROSS:
        return cy == 7 || cx == 4;
    case HS_DIAGCROSS:
        return cx == cy || cx == 7 - cy;
    default:
        return false;
    }
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    m_style = BS_SOLID;
    m_colour = colour & 0xFFFFFF;
    m_hatch = 0;
    m_hatchBrush = QBrush();
    return true;
}

bool CBrush::CreateHatchBrush(int hatch, COLORREF colour) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return false;
    m_style = BS_HATCHED;
    m_colour = colour & 0xFFFFFF;
    m_hatch = hatch;
    QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (HatchCovers(hatch, x, y))
                cell.setPixel(x, y, plat::ToQRgb(m_colour));
        }
    }
    m_hatchBrush = QBrush(cell);
    return true;
}

bool CBrush::CreateNullBrush() {
    m_style = BS_NULL;
    m_colour = 0;
    m_hatch = 0;
    m_hatchBrush = QBrush();
    return true;
}

const CBrush& CBrush::Stock(int which) {
    static const CBrush white(RGB(255, 255, 255));
    static const CBrush lightGray(RGB(192, 192, 192));
    static const CBrush gray(RGB(128, 128, 128));
    static const CBrush darkGray(RGB(64, 64, 64));
    static const CBrush black(RGB(0, 0, 0));
    static const CBrush null = [] {
        CBrush brush;
        brush.CreateNullBrush();
        return brush;
    }();
    switch (which) {
    case LTGRAY_BRUSH:
        return lightGray;
    case GRAY_BRUSH:
        return gray;
    case DKGRAY_BRUSH:
        return darkGray;
    case BLACK_BRUSH:
        return black;
    case NULL_BRUSH:
        return null;
    default:
        return white;
    }
}
