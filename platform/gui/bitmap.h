#pragma once
// A bitmap a memory DC draws into: a 32-bit premultiplied QImage, shared with the DC while
// it is selected, so that destroying the bitmap first never leaves the DC painting into freed
// memory.
#include <QImage>

#include <memory>

#include "platform/base/geometry.h"

class CBitmap {
public:
    // Sides of 1 to 32767 pixels and at most 2^26 pixels in all; false otherwise. A new
    // bitmap is opaque black.
    bool CreateBitmap(int width, int height);
    // Takes a copy of `image` in the DC's format; false for an empty or oversized image.
    bool CreateFromImage(const QImage& image);
    void DeleteObject() { m_image.reset(); }

    bool IsValid() const { return m_image != nullptr; }
    CSize GetSize() const;
    // The pixels as drawn so far. A copy taken from here shares them while a DC still draws;
    // Snapshot() gives one that stays as it is.
    const QImage* Image() const { return m_image.get(); }
    QImage Snapshot() const { return m_image ? m_image->copy() : QImage(); }
    const std::shared_ptr<QImage>& Shared() const { return m_image; }

    static bool FitsSurface(long long width, long long height);

private:
    std::shared_ptr<QImage> m_image;
};
