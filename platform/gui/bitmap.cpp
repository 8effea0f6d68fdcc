#include "platform/gui/bitmap.h"

namespace {

constexpr long long kLargestSide = 32767;
constexpr long long kLargestArea = 1LL << 26;

} // namespace

bool CBitmap::FitsSurface(long long width, long long height) {
    return width >= 1 && height >= 1 && width <= kLargestSide && height <= kLargestSide &&
           width * height <= kLargestArea;
}

bool CBitmap::CreateBitmap(int width, int height) {
    if (!FitsSurface(width, height))
        return false;
    auto image = std::make_shared<QImage>(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image->isNull())
        return false;
    image->fill(qRgb(0, 0, 0));
    m_image = std::move(image);
    return true;
}

bool CBitmap::CreateFromImage(const QImage& image) {
    if (image.isNull() || !FitsSurface(image.width(), image.height()))
        return false;
    auto converted =
        std::make_shared<QImage>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    if (converted->isNull())
        return false;
    m_image = std::move(converted);
    return true;
}

CSize CBitmap::GetSize() const {
    return m_image ? CSize(m_image->width(), m_image->height()) : CSize();
}
