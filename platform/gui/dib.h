#pragma once
// An image from a BMP, ICO or PNG file or from bytes in memory, drawn into a DC with its own
// alpha, or with one colour left out when transparency is on.
#include <QImage>

#include <cstddef>
#include <string_view>

#include "platform/base/colorref.h"
#include "platform/base/geometry.h"

class CDC;

class CDib {
public:
    // The format is read from the bytes, not the file name. A missing file or bytes that are
    // no image give false and leave the image as it was.
    bool Load(std::wstring_view path);
    bool LoadFromMemory(const void* data, std::size_t size);
    void DeleteObject();

    bool IsValid() const { return !m_image.isNull(); }
    CSize GetSize() const { return {m_image.width(), m_image.height()}; }

    // With transparency on, pixels of the transparency colour are not drawn.
    void SetTransparent(bool transparent) { m_transparent = transparent; }
    bool IsTransparent() const { return m_transparent; }
    void SetTransColor(COLORREF colour) { m_transColour = colour & 0xFFFFFF; }
    COLORREF GetTransColor() const { return m_transColour; }

    // At its own size with its top-left corner at `at`, or stretched into `target`.
    bool Draw(CDC* dc, const CPoint& at) const;
    bool Draw(CDC* dc, const CRect& target) const;

    // CLR_INVALID outside the image.
    COLORREF GetPixel(int x, int y) const;
    bool SetPixel(int x, int y, COLORREF colour);
    const QImage& Image() const { return m_image; }

private:
    bool Adopt(QImage image);

    QImage m_image;
    bool m_transparent = false;
    COLORREF m_transColour = RGB(255, 0, 255);
};
