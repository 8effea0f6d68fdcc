// CDC: blits between surfaces. Without a world transform AlphaBlend and TransparentBlt run
// their own loops over the visible pixels, so that the blending arithmetic is GDI's to the
// unit; with one, Qt draws the transformed image.
#include <QImage>

#include <algorithm>

#include "platform/gui/dc.h"
#include "platform/gui/qt_color.h"

namespace {

bool CompositionOf(unsigned rop, QPainter::CompositionMode& mode) {
    switch (rop) {
    case SRCCOPY:
        mode = QPainter::CompositionMode_Source;
        return true;
    case SRCPAINT:
        mode = QPainter::RasterOp_SourceOrDestination;
        return true;
    case SRCAND:
        mode = QPainter::RasterOp_SourceAndDestination;
        return true;
    case SRCINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        return true;
    case NOTSRCCOPY:
        mode = QPainter::RasterOp_NotSource;
        return true;
    default:
        return false;
    }
}

// GDI refuses to read outside the source for AlphaBlend and TransparentBlt.
bool InsideSurface(const QImage& image, int x, int y, int width, int height) {
    return x >= 0 && y >= 0 && width >= 0 && height >= 0 &&
           static_cast<long long>(x) + width <= image.width() &&
           static_cast<long long>(y) + height <= image.height();
}

// Keeps blit coordinates where their sums cannot overflow.
int Bounded(int v) {
    return std::clamp(v, -(1 << 24), 1 << 24);
}

// (a * b) / 255, rounded.
int Scale(int a, int b) {
    return (a * b + 127) / 255;
}

} // namespace

template <class PerPixel> void CDC::ForEachVisiblePixel(const QRect& target, PerPixel&& perPixel) {
    // A copy of the surface taken elsewhere would make the pixels shared; painting again
    // gives this DC its own before it writes.
    if (!m_surface->isDetached())
        BeginPainting();
    auto visit = [&](const QRect& area) {
        const QRect visible = area.intersected(target);
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(m_surface->scanLine(y));
            for (int x = visible.left(); x <= visible.right(); ++x)
                perPixel(x, y, row[x]);
        }
    };
    const QRect surface = SurfaceRect();
    if (!m_state.clipped) {
        visit(surface);
        return;
    }
    for (const QRect& area : m_state.clip)
        visit(area.intersected(surface));
}

bool CDC::FillWithoutSource(const CRect& rect, unsigned rop) {
    switch (rop) {
    case BLACKNESS:
        FillLogical(rect, RGB(0, 0, 0));
        return true;
    case WHITENESS:
        FillLogical(rect, RGB(255, 255, 255));
        return true;
    case PATCOPY:
        FillRect(rect, &m_state.brush);
        return true;
    case DSTINVERT: {
        QRect device;
        if (!MapRect(rect, device))
            return false;
        m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        m_painter.fillRect(device, Qt::black);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return true;
    }
    default:
        return false;
    }
}

bool CDC::BitBlt(int x,
                 int y,
                 int width,
                 int height,
                 const CDC* source,
                 int sourceX,
                 int sourceY,
                 unsigned rop) {
    return StretchBlt(x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

bool CDC::StretchBlt(int x,
                     int y,
                     int width,
                     int height,
                     const CDC* source,
                     int sourceX,
                     int sourceY,
                     int sourceWidth,
                     int sourceHeight,
                     unsigned rop) {
    if (!Drawable())
        return false;
    x = Bounded(x);
    y = Bounded(y);
    width = Bounded(width);
    height = Bounded(height);
    sourceX = Bounded(sourceX);
    sourceY = Bounded(sourceY);
    sourceWidth = Bounded(sourceWidth);
    sourceHeight = Bounded(sourceHeight);
    // A negative extent runs back from x (or y) itself: x, x - 1, ... as the source does.
    CRect target(width < 0 ? x + width + 1 : x,
                 height < 0 ? y + height + 1 : y,
                 width < 0 ? x + 1 : x + width,
                 height < 0 ? y + 1 : y + height);
    if (FillWithoutSource(target, rop))
        return true;
    QPainter::CompositionMode mode;
    if (!CompositionOf(rop, mode) || source == nullptr || source->m_surface == nullptr)
        return false;
    if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0)
        return true;
    const bool mirrorX = (width < 0) != (sourceWidth < 0);
    const bool mirrorY = (height < 0) != (sourceHeight < 0);
    QRect from(sourceX, sourceY, sourceWidth, sourceHeight);
    from = from.normalized();
    if (sourceWidth < 0)
        from.translate(1, 0);
    if (sourceHeight < 0)
        from.translate(0, 1);
    QRect to(target.left, target.top, target.Width(), target.Height());

    const QImage& image = *source->m_surface;
    if (!mirrorX && !mirrorY && from.size() == to.size()) {
        // One to one: leave out what lies outside the source, on both sides alike.
        const QRect inside = from.intersected(image.rect());
        to = QRect(to.topLeft() + (inside.topLeft() - from.topLeft()), inside.size());
        from = inside;
    }
    if (from.isEmpty() || to.isEmpty())
        return true;
    // The same surface on both sides, or a mirror, needs the source as it was.
    const bool copyFirst = source->m_surface == m_surface || mirrorX || mirrorY;
    const QImage copied = copyFirst ? image.copy(from).mirrored(mirrorX, mirrorY) : QImage();
    const QRect copiedRect = copyFirst ? copied.rect() : from;

    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, m_state.stretchMode == HALFTONE);
    if (!m_state.transform.IsIdentity())
        m_painter.setWorldTransform(QtTransform());
    m_painter.setCompositionMode(mode);
    m_painter.drawImage(to, copyFirst ? copied : image, copiedRect);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.resetTransform();
    return true;
}

bool CDC::AlphaBlend(int x,
                     int y,
                     int width,
                     int height,
                     const CDC* source,
                     int sourceX,
                     int sourceY,
                     int sourceWidth,
                     int sourceHeight,
                     BLENDFUNCTION blend) {
    if (!Drawable() || source == nullptr || source->m_surface == nullptr || width < 0 ||
        height < 0 ||
        !InsideSurface(*source->m_surface, sourceX, sourceY, sourceWidth, sourceHeight))
        return false;
    return BlendImage(x,
                      y,
                      width,
                      height,
                      *source->m_surface,
                      sourceX,
                      sourceY,
                      sourceWidth,
                      sourceHeight,
                      blend);
}

bool CDC::BlendImage(int x,
                     int y,
                     int width,
                     int height,
                     const QImage& image,
                     int sourceX,
                     int sourceY,
                     int sourceWidth,
                     int sourceHeight,
                     BLENDFUNCTION blend) {
    if (width < 0 || height < 0)
        return false;
    if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0)
        return true;
    QImage ownCopy;
    if (&image == m_surface.get())
        ownCopy = m_surface->copy(sourceX, sourceY, sourceWidth, sourceHeight);
    const QImage& sourceImage = ownCopy.isNull() ? image : ownCopy;
    const int originX = ownCopy.isNull() ? sourceX : 0;
    const int originY = ownCopy.isNull() ? sourceY : 0;
    const int constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;

    if (!m_state.transform.IsIdentity()) {
        // Without per-pixel alpha the source's alpha bytes are ignored, as GDI ignores them.
        const QImage opaque(sourceImage.constBits(),
                            sourceImage.width(),
                            sourceImage.height(),
                            sourceImage.bytesPerLine(),
                            QImage::Format_RGB32);
        m_painter.setWorldTransform(QtTransform());
        m_painter.setOpacity(constant / 255.0);
        m_painter.drawImage(QRect(Bounded(x), Bounded(y), Bounded(width), Bounded(height)),
                            perPixel ? sourceImage : opaque,
                            QRect(originX, originY, sourceWidth, sourceHeight));
        m_painter.setOpacity(1);
        m_painter.resetTransform();
        return true;
    }
    const QRect target(Map(x, y), QSize(Bounded(width), Bounded(height)));
    ForEachVisiblePixel(target, [&](int px, int py, QRgb& destination) {
        const int sx = originX + static_cast<int>(static_cast<long long>(px - target.left()) *
                                                  sourceWidth / width);
        const int sy = originY + static_cast<int>(static_cast<long long>(py - target.top()) *
                                                  sourceHeight / height);
        const QRgb s = reinterpret_cast<const QRgb*>(sourceImage.constScanLine(sy))[sx];
        const QRgb d = destination;
        if (perPixel) {
            // Premultiplied source: Dst = Src * SCA + Dst * (1 - SrcAlpha * SCA).
            const int a = Scale(qAlpha(s), constant);
            destination = qRgba(Scale(qRed(s), constant) + Scale(qRed(d), 255 - a),
                                Scale(qGreen(s), constant) + Scale(qGreen(d), 255 - a),
                                Scale(qBlue(s), constant) + Scale(qBlue(d), 255 - a),
                                a + Scale(qAlpha(d), 255 - a));
        } else {
            destination = qRgba(Scale(qRed(s), constant) + Scale(qRed(d), 255 - constant),
                                Scale(qGreen(s), constant) + Scale(qGreen(d), 255 - constant),
                                Scale(qBlue(s), constant) + Scale(qBlue(d), 255 - constant),
                                constant + Scale(qAlpha(d), 255 - constant));
        }
    });
    return true;
}

bool CDC::TransparentBlt(int x,
                         int y,
                         int width,
                         int height,
                         const CDC* source,
                         int sourceX,
                         int sourceY,
                         int sourceWidth,
                         int sourceHeight,
                         COLORREF transparent) {
    if (!Drawable() || source == nullptr || source->m_surface == nullptr || width < 0 ||
        height < 0 ||
        !InsideSurface(*source->m_surface, sourceX, sourceY, sourceWidth, sourceHeight))
        return false;
    return KeyedImage(x,
                      y,
                      width,
                      height,
                      *source->m_surface,
                      sourceX,
                      sourceY,
                      sourceWidth,
                      sourceHeight,
                      transparent);
}

bool CDC::KeyedImage(int x,
                     int y,
                     int width,
                     int height,
                     const QImage& image,
                     int sourceX,
                     int sourceY,
                     int sourceWidth,
                     int sourceHeight,
                     COLORREF transparent) {
    if (width < 0 || height < 0)
        return false;
    if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0)
        return true;
    QImage ownCopy;
    if (&image == m_surface.get())
        ownCopy = m_surface->copy();
    const QImage& sourceImage = ownCopy.isNull() ? image : ownCopy;
    const QRgb key = plat::ToQRgb(transparent) & 0xFFFFFF;
    auto isKey = [key](QRgb pixel) { return (pixel & 0xFFFFFF) == key; };

    if (!m_state.transform.IsIdentity()) {
        QImage masked = sourceImage.copy(sourceX, sourceY, sourceWidth, sourceHeight);
        for (int row = 0; row < masked.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
            for (int column = 0; column < masked.width(); ++column) {
                if (isKey(line[column]))
                    line[column] = 0;
            }
        }
        m_painter.setWorldTransform(QtTransform());
        m_painter.drawImage(QRect(Bounded(x), Bounded(y), Bounded(width), Bounded(height)), masked);
        m_painter.resetTransform();
        return true;
    }
    const QRect target(Map(x, y), QSize(Bounded(width), Bounded(height)));
    ForEachVisiblePixel(target, [&](int px, int py, QRgb& destination) {
        const int sx = sourceX + static_cast<int>(static_cast<long long>(px - target.left()) *
                                                  sourceWidth / width);
        const int sy = sourceY + static_cast<int>(static_cast<long long>(py - target.top()) *
                                                  sourceHeight / height);
        const QRgb s = reinterpret_cast<const QRgb*>(sourceImage.constScanLine(sy))[sx];
        if (!isKey(s))
            destination = s;
    });
    return true;
}
