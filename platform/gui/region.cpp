#include "platform/gui/region.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <vector>

namespace {

// Regions further out than this are of no use to a screen, and keep the arithmetic in range.
constexpr int kFar = 1 << 24;
// A larger outline is approximated by Qt's polygon region instead of rasterised.
constexpr long long kLargestRasterisedArea = 1LL << 24;

int Clamped(int v) {
    return std::clamp(v, -kFar, kFar);
}

QRect RectFrom(int left, int top, int right, int bottom) {
    const int l = Clamped(std::min(left, right));
    const int r = Clamped(std::max(left, right));
    const int t = Clamped(std::min(top, bottom));
    const int b = Clamped(std::max(top, bottom));
    if (r <= l || b <= t)
        return {};
    return {l, t, r - l, b - t};
}

} // namespace

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    m_region = QRegion(RectFrom(left, top, right, bottom));
    return true;
}

bool CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
    m_region = QRegion(RectFrom(left, top, right, bottom), QRegion::Ellipse);
    return true;
}

bool CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    const QRect box = RectFrom(left, top, right, bottom);
    QPainterPath outline;
    outline.addRoundedRect(
        QRectF(box), std::clamp(width, 0, kFar) / 2.0, std::clamp(height, 0, kFar) / 2.0);
    return CreateFromFill(outline);
}

bool CRgn::CreatePolygonRgn(const CPoint* points, int count, int fillMode) {
    if (points == nullptr || count < 3)
        return false;
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon.append(QPointF(Clamped(points[i].x), Clamped(points[i].y)));
    QPainterPath outline;
    outline.addPolygon(polygon);
    outline.closeSubpath();
    outline.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return CreateFromFill(outline);
}

bool CRgn::CreateFromFill(const QPainterPath& outline) {
    const QRect box =
        outline.boundingRect().toAlignedRect().intersected(QRect(-kFar, -kFar, 2 * kFar, 2 * kFar));
    if (box.isEmpty()) {
        m_region = QRegion();
        return true;
    }
    if (static_cast<long long>(box.width()) * box.height() > kLargestRasterisedArea) {
        m_region = QRegion(outline.toFillPolygon().toPolygon(), outline.fillRule());
        return true;
    }
    // Rasterise with the same fill the DC uses, then read the covered runs row by row.
    QImage mask(box.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.translate(-box.topLeft());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPath(outline);
    }
    std::vector<QRect> runs;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && qAlpha(row[x]) == 0)
                ++x;
            const int start = x;
            while (x < mask.width() && qAlpha(row[x]) != 0)
                ++x;
            if (x > start)
                runs.emplace_back(box.left() + start, box.top() + y, x - start, 1);
        }
    }
    m_region = QRegion();
    m_region.setRects(runs.data(), static_cast<int>(runs.size()));
    return true;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    if (a == nullptr || (mode != RGN_COPY && b == nullptr))
        return RGN_ERROR;
    switch (mode) {
    case RGN_AND:
        m_region = a->m_region.intersected(b->m_region);
        break;
    case RGN_OR:
        m_region = a->m_region.united(b->m_region);
        break;
    case RGN_XOR:
        m_region = a->m_region.xored(b->m_region);
        break;
    case RGN_DIFF:
        m_region = a->m_region.subtracted(b->m_region);
        break;
    case RGN_COPY:
        m_region = a->m_region;
        break;
    default:
        return RGN_ERROR;
    }
    return KindOf(m_region);
}

int CRgn::OffsetRgn(int dx, int dy) {
    m_region.translate(std::clamp(dx, -kFar, kFar), std::clamp(dy, -kFar, kFar));
    return KindOf(m_region);
}

bool CRgn::PtInRegion(int x, int y) const {
    return m_region.contains(QPoint(x, y));
}

bool CRgn::RectInRegion(const CRect& rect) const {
    return m_region.intersects(RectFrom(rect.left, rect.top, rect.right, rect.bottom));
}

int CRgn::GetRgnBox(CRect* box) const {
    if (box != nullptr) {
        const QRect bounds = m_region.boundingRect();
        *box = bounds.isEmpty() ? CRect()
                                : CRect(bounds.left(),
                                        bounds.top(),
                                        bounds.left() + bounds.width(),
                                        bounds.top() + bounds.height());
    }
    return KindOf(m_region);
}

bool CRgn::EqualRgn(const CRgn* other) const {
    return other != nullptr && m_region == other->m_region;
}

int CRgn::KindOf(const QRegion& region) {
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
