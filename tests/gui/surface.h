#pragma once
// A memory DC over a white bitmap, and ways to read back what it drew.
#include <QImage>

#include "platform/gui/dc.h"

struct Surface {
    CBitmap bitmap;
    CDC dc;

    Surface(int width = 200, int height = 100) {
        bitmap.CreateBitmap(width, height);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    QImage Pixels() const { return bitmap.Snapshot(); }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }
    bool IsWhite(int x, int y) const { return At(x, y) == RGB(255, 255, 255); }
};

// The box around every pixel that is not white: right and bottom inclusive, as QRect.
inline QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

inline int InkCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF ? 1 : 0;
    }
    return count;
}
