#include "platform/gui/dib.h"

#include <QByteArray>
#include <QImageReader>
#include <QString>

#include <limits>

#include "platform/gui/bitmap.h"
#include "platform/gui/dc.h"
#include "platform/gui/qt_color.h"

bool CDib::Adopt(QImage image) {
    if (image.isNull() || !CBitmap::FitsSurface(image.width(), image.height()))
        return false;
    m_image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return !m_image.isNull();
}

bool CDib::Load(std::wstring_view path) {
    if (path.empty())
        return false;
    QImageReader reader(QString::fromWCharArray(path.data(), static_cast<qsizetype>(path.size())));
    reader.setDecideFormatFromContent(true);
    // Refuse before decoding what would not fit a surface.
    const QSize size = reader.size();
    if (size.isValid() && !CBitmap::FitsSurface(size.width(), size.height()))
        return false;
    return Adopt(reader.read());
}

bool CDib::LoadFromMemory(const void* data, std::size_t size) {
    if (data == nullptr || size == 0 ||
        size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return false;
    QImage image;
    if (!image.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size)))
        return false;
    return Adopt(std::move(image));
}

void CDib::DeleteObject() {
    m_image = QImage();
}

bool CDib::Draw(CDC* dc, const CPoint& at) const {
    return Draw(dc, CRect(at, GetSize()));
}

bool CDib::Draw(CDC* dc, const CRect& target) const {
    if (dc == nullptr || !IsValid() || !dc->Drawable())
        return false;
    if (m_transparent) {
        return dc->KeyedImage(target.left,
                              target.top,
                              target.Width(),
                              target.Height(),
                              m_image,
                              0,
                              0,
                              m_image.width(),
                              m_image.height(),
                              m_transColour);
    }
    BLENDFUNCTION ownAlpha;
    ownAlpha.AlphaFormat = AC_SRC_ALPHA;
    return dc->BlendImage(target.left,
                          target.top,
                          target.Width(),
                          target.Height(),
                          m_image,
                          0,
                          0,
                          m_image.width(),
                          m_image.height(),
                          ownAlpha);
}

COLORREF CDib::GetPixel(int x, int y) const {
    if (!m_image.valid(x, y))
        return CLR_INVALID;
    return plat::FromQRgb(m_image.pixel(x, y));
}

bool CDib::SetPixel(int x, int y, COLORREF colour) {
    if (!m_image.valid(x, y))
        return false;
    m_image.setPixel(x, y, plat::ToQRgb(colour));
    return true;
}
