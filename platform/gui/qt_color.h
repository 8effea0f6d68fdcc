#pragma once
// COLORREF to and from Qt's colours. Everything the DC draws is opaque.
#include <QColor>
#include <QRgb>

#include "platform/base/colorref.h"

namespace plat {

inline QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline QRgb ToQRgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF FromQRgb(QRgb c) {
    return RGB(static_cast<std::uint8_t>(qRed(c)),
               static_cast<std::uint8_t>(qGreen(c)),
               static_cast<std::uint8_t>(qBlue(c)));
}

} // namespace plat
