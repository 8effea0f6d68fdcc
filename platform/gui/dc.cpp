// CDC: the surface, selected objects, saved states, clipping, the world transform and
// single pixels. Shapes, text and blits live in dc_shapes.cpp, dc_text.cpp and dc_blit.cpp.
#include "platform/gui/dc.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/qt_color.h"

namespace {

// Device coordinates are kept within this range: nothing visible lies further out, and the
// arithmetic on them cannot overflow.
constexpr double kFar = 1 << 24;

int ToDeviceInt(double v) {
    return static_cast<int>(std::lround(std::clamp(v, -kFar, kFar)));
}

} // namespace

CDC::CDC() = default;

CDC::~CDC() {
    if (m_painter.isActive())
        m_painter.end();
}

bool CDC::CreateCompatibleDC(const CDC*) {
    if (!m_defaultBitmap.CreateBitmap(1, 1))
        return false;
    m_selectedBitmap = &m_defaultBitmap;
    m_surface = m_defaultBitmap.Shared();
    BeginPainting();
    return Drawable();
}

void CDC::BeginPainting() {
    if (m_painter.isActive())
        m_painter.end();
    if (!m_surface || !m_painter.begin(m_surface.get()))
        return;
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBrushOrigin(0, 0);
    m_painterColour = CLR_INVALID;
    m_painterFontValue = QFont();
    ApplyClip();
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (bitmap == nullptr || !bitmap->IsValid() || m_surface == nullptr)
        return nullptr;
    CBitmap* previous = m_selectedBitmap;
    m_selectedBitmap = bitmap;
    m_surface = bitmap->Shared();
    BeginPainting();
    return previous;
}

const CPen* CDC::SelectObject(const CPen* pen) {
    if (pen == nullptr)
        return nullptr;
    const CPen* previous = m_state.penObject;
    m_state.pen = *pen;
    m_state.penObject = pen;
    return previous;
}

const CBrush* CDC::SelectObject(const CBrush* brush) {
    if (brush == nullptr)
        return nullptr;
    const CBrush* previous = m_state.brushObject;
    m_state.brush = *brush;
    m_state.brushObject = brush;
    return previous;
}

const CFont* CDC::SelectObject(const CFont* font) {
    if (font == nullptr)
        return nullptr;
    const CFont* previous = m_state.fontObject;
    m_state.font = *font;
    m_state.fontObject = font;
    return previous;
}

bool CDC::SelectStockObject(int which) {
    if (which >= WHITE_BRUSH && which <= NULL_BRUSH) {
        SelectObject(&CBrush::Stock(which));
        return true;
    }
    if (which >= WHITE_PEN && which <= NULL_PEN) {
        SelectObject(&CPen::Stock(which));
        return true;
    }
    return false;
}

COLORREF CDC::SetTextColor(COLORREF colour) {
    return std::exchange(m_state.textColour, colour & 0xFFFFFF);
}

COLORREF CDC::SetBkColor(COLORREF colour) {
    return std::exchange(m_state.backColour, colour & 0xFFFFFF);
}

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(m_state.backMode, mode);
}

unsigned CDC::SetTextAlign(unsigned align) {
    return std::exchange(m_state.textAlign, align);
}

int CDC::SetPolyFillMode(int mode) {
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return std::exchange(m_state.polyFillMode, mode);
}

int CDC::SetStretchBltMode(int mode) {
    if (mode < 1 || mode > HALFTONE)
        return 0;
    return std::exchange(m_state.stretchMode, mode);
}

int CDC::SaveDC() {
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

bool CDC::RestoreDC(int level) {
    const long long count = static_cast<long long>(m_saved.size());
    const long long target = level < 0 ? count + level + 1 : level;
    if (level == 0 || target < 1 || target > count)
        return false;
    m_state = m_saved[static_cast<std::size_t>(target - 1)];
    m_saved.resize(static_cast<std::size_t>(target - 1));
    ApplyClip();
    return true;
}

// ---------------------------------------------------------------------------------------
// Clipping

QRect CDC::SurfaceRect() const {
    return m_surface ? m_surface->rect() : QRect();
}

QRegion CDC::VisibleRegion() const {
    const QRegion surface(SurfaceRect());
    return m_state.clipped ? m_state.clip.intersected(surface) : surface;
}

void CDC::ApplyClip() {
    if (!m_painter.isActive())
        return;
    if (m_state.clipped)
        m_painter.setClipRegion(m_state.clip);
    else
        m_painter.setClipping(false);
}

int CDC::SelectClipRgn(const CRgn* region) {
    return ExtSelectClipRgn(region, RGN_COPY);
}

int CDC::ExtSelectClipRgn(const CRgn* region, int mode) {
    if (region == nullptr) {
        if (mode != RGN_COPY)
            return RGN_ERROR;
        m_state.clipped = false;
        m_state.clip = QRegion();
        ApplyClip();
        return CRgn::KindOf(VisibleRegion());
    }
    const QRegion current = m_state.clipped ? m_state.clip : QRegion(SurfaceRect());
    const QRegion& other = region->Region();
    switch (mode) {
    case RGN_AND:
        m_state.clip = current.intersected(other);
        break;
    case RGN_OR:
        m_state.clip = current.united(other);
        break;
    case RGN_XOR:
        m_state.clip = current.xored(other);
        break;
    case RGN_DIFF:
        m_state.clip = current.subtracted(other);
        break;
    case RGN_COPY:
        m_state.clip = other;
        break;
    default:
        return RGN_ERROR;
    }
    m_state.clipped = true;
    ApplyClip();
    return CRgn::KindOf(VisibleRegion());
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    const QRegion current = m_state.clipped ? m_state.clip : QRegion(SurfaceRect());
    m_state.clip = current.intersected(DeviceRegionOf(CRect(left, top, right, bottom)));
    m_state.clipped = true;
    ApplyClip();
    return CRgn::KindOf(VisibleRegion());
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    const QRegion current = m_state.clipped ? m_state.clip : QRegion(SurfaceRect());
    m_state.clip = current.subtracted(DeviceRegionOf(CRect(left, top, right, bottom)));
    m_state.clipped = true;
    ApplyClip();
    return CRgn::KindOf(VisibleRegion());
}

int CDC::GetClipBox(CRect* box) const {
    const QRegion visible = VisibleRegion();
    if (box != nullptr) {
        const QRect bounds = visible.boundingRect();
        if (bounds.isEmpty()) {
            *box = CRect();
        } else {
            // Back to logical coordinates: the box around the mapped-back corners.
            const QTransform inverse = QtTransform().inverted();
            const QRect logical = inverse.mapRect(QRectF(bounds)).toAlignedRect();
            *box = CRect(logical.left(),
                         logical.top(),
                         logical.left() + logical.width(),
                         logical.top() + logical.height());
        }
    }
    return CRgn::KindOf(visible);
}

bool CDC::RectVisible(const CRect& rect) const {
    return VisibleRegion().intersects(DeviceRegionOf(rect));
}

bool CDC::PtVisible(int x, int y) const {
    return VisibleRegion().contains(Map(x, y));
}

// ---------------------------------------------------------------------------------------
// World transform

int CDC::SetGraphicsMode(int mode) {
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED)
        return 0;
    // Leaving the advanced mode needs the identity transform, as in GDI.
    if (mode == GM_COMPATIBLE && !m_state.transform.IsIdentity())
        return 0;
    return std::exchange(m_state.graphicsMode, mode);
}

bool CDC::SetWorldTransform(const XFORM& transform) {
    if (m_state.graphicsMode != GM_ADVANCED || !transform.IsInvertible())
        return false;
    m_state.transform = transform;
    return true;
}

bool CDC::ModifyWorldTransform(const XFORM* transform, int mode) {
    if (m_state.graphicsMode != GM_ADVANCED)
        return false;
    switch (mode) {
    case MWT_IDENTITY:
        m_state.transform = XFORM();
        return true;
    case MWT_LEFTMULTIPLY:
        return transform != nullptr && SetWorldTransform(transform->Then(m_state.transform));
    case MWT_RIGHTMULTIPLY:
        return transform != nullptr && SetWorldTransform(m_state.transform.Then(*transform));
    default:
        return false;
    }
}

bool CDC::GetWorldTransform(XFORM& transform) const {
    transform = m_state.transform;
    return true;
}

QPointF CDC::MapF(double x, double y) const {
    const XFORM& t = m_state.transform;
    return {std::clamp(x * t.eM11 + y * t.eM21 + t.eDx, -kFar, kFar),
            std::clamp(x * t.eM12 + y * t.eM22 + t.eDy, -kFar, kFar)};
}

QPoint CDC::Map(int x, int y) const {
    const QPointF p = MapF(x, y);
    return {ToDeviceInt(p.x()), ToDeviceInt(p.y())};
}

QTransform CDC::QtTransform() const {
    const XFORM& t = m_state.transform;
    return {t.eM11, t.eM12, t.eM21, t.eM22, t.eDx, t.eDy};
}

bool CDC::MapRect(const CRect& rect, QRect& device) const {
    if (!m_state.transform.KeepsAxes())
        return false;
    const QPoint a = Map(rect.left, rect.top);
    const QPoint b = Map(rect.right, rect.bottom);
    const int left = std::min(a.x(), b.x());
    const int right = std::max(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    const int bottom = std::max(a.y(), b.y());
    device = right > left && bottom > top ? QRect(left, top, right - left, bottom - top) : QRect();
    return true;
}

QPainterPath CDC::MapPath(const QPainterPath& logical) const {
    return m_state.transform.IsIdentity() ? logical : QtTransform().map(logical);
}

QRegion CDC::DeviceRegionOf(const CRect& rect) const {
    QRect device;
    if (MapRect(rect, device))
        return QRegion(device);
    QPainterPath outline;
    outline.addRect(QRectF(rect.left, rect.top, rect.Width(), rect.Height()));
    CRgn region;
    region.CreateFromFill(MapPath(outline));
    return region.Region();
}

// ---------------------------------------------------------------------------------------
// Pixels

COLORREF CDC::SetPixel(int x, int y, COLORREF colour) {
    const QPoint p = Map(x, y);
    if (!Drawable() || !VisibleRegion().contains(p))
        return CLR_INVALID;
    m_surface->setPixel(p, plat::ToQRgb(colour));
    return colour & 0xFFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const {
    const QPoint p = Map(x, y);
    if (!m_surface || !VisibleRegion().contains(p))
        return CLR_INVALID;
    return plat::FromQRgb(m_surface->pixel(p));
}
