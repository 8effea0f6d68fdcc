// CDC: lines, rectangles, curves, polygons, fills and paths.
//
// One-pixel lines are rasterised here rather than by Qt, because GDI's rules differ from
// Qt's: the end point is left out, and dashes run on from one segment to the next. Each line
// is walked only across the surface, however far out its ends lie, and drawn as runs of
// fillRect so that the painter's clip applies.
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "platform/gui/dc.h"
#include "platform/gui/qt_color.h"

namespace {

// GDI's cosmetic dash patterns in pixels: on, off, on, off ...
std::span<const int> DashPattern(int style) {
    static constexpr std::array<int, 2> dash{18, 6};
    static constexpr std::array<int, 2> dot{3, 3};
    static constexpr std::array<int, 4> dashDot{9, 6, 3, 6};
    static constexpr std::array<int, 6> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return {};
    }
}

// Whether step `position` of a dashed line is drawn in the pen colour.
bool DashOn(std::span<const int> pattern, long long position) {
    if (pattern.empty())
        return true;
    long long period = 0;
    for (int part : pattern)
        period += part;
    long long at = position % period;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (at < pattern[i])
            return i % 2 == 0;
        at -= pattern[i];
    }
    return true;
}

long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

QPainterPath RectPath(const CRect& rect, int shrink) {
    QPainterPath path;
    const QRectF box(std::min(rect.left, rect.right),
                     std::min(rect.top, rect.bottom),
                     std::abs(static_cast<double>(rect.right) - rect.left) - shrink,
                     std::abs(static_cast<double>(rect.bottom) - rect.top) - shrink);
    path.addRect(box);
    return path;
}

QRectF ShapeBox(const CRect& rect) {
    // Curves keep to the same cells as Rectangle: the right and bottom edges lie outside.
    return {static_cast<double>(std::min(rect.left, rect.right)),
            static_cast<double>(std::min(rect.top, rect.bottom)),
            std::max(0.0, std::abs(static_cast<double>(rect.right) - rect.left) - 1),
            std::max(0.0, std::abs(static_cast<double>(rect.bottom) - rect.top) - 1)};
}

} // namespace

// ---------------------------------------------------------------------------------------
// Device-space helpers

void CDC::FillDevice(const QRect& rect, const CBrush& brush) {
    if (rect.isEmpty() || brush.IsNull() || !Drawable())
        return;
    if (brush.IsHatched()) {
        if (m_state.backMode == OPAQUE)
            m_painter.fillRect(rect, plat::ToQColor(m_state.backColour));
        m_painter.fillRect(rect, brush.HatchBrush());
        return;
    }
    m_painter.fillRect(rect, plat::ToQColor(brush.Color()));
}

void CDC::FillDevicePath(const QPainterPath& path, const CBrush& brush) {
    if (brush.IsNull() || !Drawable())
        return;
    m_painter.setPen(Qt::NoPen);
    m_painterColour = CLR_INVALID;
    if (brush.IsHatched()) {
        if (m_state.backMode == OPAQUE) {
            m_painter.setBrush(plat::ToQColor(m_state.backColour));
            m_painter.drawPath(path);
        }
        m_painter.setBrush(brush.HatchBrush());
    } else {
        m_painter.setBrush(plat::ToQColor(brush.Color()));
    }
    m_painter.drawPath(path);
    m_painter.setBrush(Qt::NoBrush);
}

void CDC::StrokeDevicePath(const QPainterPath& path) {
    if (m_state.pen.IsNull() || !Drawable())
        return;
    if (m_state.pen.Width() == 1) {
        for (const QPolygonF& polyline : path.toSubpathPolygons())
            DrawDevicePolyline(polyline.toPolygon());
        return;
    }
    m_painter.strokePath(path, m_state.pen.QtPen());
    m_painterColour = CLR_INVALID;
}

void CDC::DrawShapePath(const QPainterPath& devicePath) {
    if (!Drawable())
        return;
    FillDevicePath(devicePath, m_state.brush);
    if (m_state.pen.IsNull())
        return;
    m_painter.setPen(m_state.pen.QtPen());
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(devicePath);
    m_painterColour = CLR_INVALID;
}

void CDC::DrawDevicePolyline(const QPolygon& points) {
    int dashPhase = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        DrawDeviceLine(points[i - 1], points[i], dashPhase);
}

void CDC::DrawDeviceLine(QPoint from, QPoint to, int& dashPhase) {
    const long long dx = static_cast<long long>(to.x()) - from.x();
    const long long dy = static_cast<long long>(to.y()) - from.y();
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0 || !Drawable())
        return;
    if (m_state.pen.Width() > 1) {
        m_painter.setPen(m_state.pen.QtPen());
        m_painter.drawLine(from, to);
        m_painterColour = CLR_INVALID;
        return;
    }
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const long long majorStart = xMajor ? from.x() : from.y();
    const long long minorStart = xMajor ? from.y() : from.x();
    const int majorSign = major > 0 ? 1 : -1;
    const int minorSign = minor >= 0 ? 1 : -1;
    const long long span = std::llabs(major);
    const long long rise = std::llabs(minor);

    // Only the steps whose major coordinate lies on the surface.
    const QRect surface = SurfaceRect();
    const long long low = xMajor ? surface.left() : surface.top();
    const long long high = xMajor ? surface.right() : surface.bottom();
    long long first = majorSign > 0 ? low - majorStart : majorStart - high;
    long long last = majorSign > 0 ? high - majorStart : majorStart - low;
    first = std::max(first, 0LL);
    last = std::min(last, steps - 1);

    const auto pattern = DashPattern(m_state.pen.Style());
    const QColor penColour = plat::ToQColor(m_state.pen.Color());
    const QColor gapColour = plat::ToQColor(m_state.backColour);
    const bool fillGaps = m_state.backMode == OPAQUE;

    // Runs of steps on one minor coordinate with the same dash state become one rectangle.
    long long runStart = first;
    long long runMinor = 0;
    bool runOn = true;
    auto flush = [&](long long end) {
        if (end <= runStart || (!runOn && !fillGaps))
            return;
        const long long a = majorStart + majorSign * runStart;
        const long long b = majorStart + majorSign * (end - 1);
        const int lo = static_cast<int>(std::min(a, b));
        const int length = static_cast<int>(end - runStart);
        const QRect run = xMajor ? QRect(lo, static_cast<int>(runMinor), length, 1)
                                 : QRect(static_cast<int>(runMinor), lo, 1, length);
        m_painter.fillRect(run, runOn ? penColour : gapColour);
    };
    for (long long i = first; i <= last; ++i) {
        const long long offset = FloorDiv(2 * i * rise + span, 2 * span);
        const long long minorAt = minorStart + minorSign * offset;
        const bool on = DashOn(pattern, dashPhase + i);
        if (i == first) {
            runMinor = minorAt;
            runOn = on;
            runStart = i;
        } else if (minorAt != runMinor || on != runOn) {
            flush(i);
            runMinor = minorAt;
            runOn = on;
            runStart = i;
        }
    }
    if (first <= last)
        flush(last + 1);
    dashPhase = static_cast<int>((dashPhase + steps) % 1000000);
}

// ---------------------------------------------------------------------------------------
// Lines

CPoint CDC::MoveTo(int x, int y) {
    const CPoint previous = m_state.position;
    m_state.position = CPoint(x, y);
    if (m_recordingPath)
        m_path.moveTo(MapF(x, y));
    return previous;
}

bool CDC::LineTo(int x, int y) {
    const CPoint from = m_state.position;
    m_state.position = CPoint(x, y);
    if (m_recordingPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(MapF(from.x, from.y));
        m_path.lineTo(MapF(x, y));
        return true;
    }
    if (m_state.pen.IsNull())
        return true;
    int dashPhase = 0;
    DrawDeviceLine(Map(from.x, from.y), Map(x, y), dashPhase);
    return true;
}

bool CDC::Polyline(const CPoint* points, int count) {
    if (points == nullptr || count < 2)
        return false;
    QPolygon device;
    device.reserve(count);
    for (int i = 0; i < count; ++i)
        device.append(Map(points[i].x, points[i].y));
    if (m_recordingPath) {
        m_path.addPolygon(QPolygonF(device));
        return true;
    }
    if (!m_state.pen.IsNull())
        DrawDevicePolyline(device);
    return true;
}

// ---------------------------------------------------------------------------------------
// Shapes

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    const CRect rect(left, top, right, bottom);
    if (m_recordingPath) {
        m_path.addPath(MapPath(RectPath(rect, 0)));
        m_path.closeSubpath();
        return true;
    }
    QRect device;
    if (!MapRect(rect, device)) {
        DrawShapePath(MapPath(RectPath(rect, 1)));
        return true;
    }
    if (device.isEmpty())
        return true;
    // The brush covers all but the right column and bottom row; a pen's outline then
    // covers the edge of the whole rectangle.
    FillDevice(device.adjusted(0, 0, -1, -1), m_state.brush);
    const CPen& pen = m_state.pen;
    if (pen.IsNull())
        return true;
    if (!DashPattern(pen.Style()).empty() && pen.Width() == 1) {
        const QPolygon outline{device.topLeft(),
                               QPoint(device.right(), device.top()),
                               device.bottomRight(),
                               QPoint(device.left(), device.bottom()),
                               device.topLeft()};
        DrawDevicePolyline(outline);
        return true;
    }
    const int w = pen.Width();
    const QRect outer = w == 1 || pen.Style() == PS_INSIDEFRAME
                            ? device
                            : device.adjusted(-(w / 2), -(w / 2), w - 1 - w / 2, w - 1 - w / 2);
    const QColor colour = plat::ToQColor(pen.Color());
    if (outer.width() <= 2 * w || outer.height() <= 2 * w) {
        m_painter.fillRect(outer, colour);
        return true;
    }
    m_painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), w), colour);
    m_painter.fillRect(QRect(outer.left(), outer.bottom() - w + 1, outer.width(), w), colour);
    m_painter.fillRect(QRect(outer.left(), outer.top() + w, w, outer.height() - 2 * w), colour);
    m_painter.fillRect(QRect(outer.right() - w + 1, outer.top() + w, w, outer.height() - 2 * w),
                       colour);
    return true;
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    const CRect rect(left, top, right, bottom);
    QPainterPath path;
    if (m_recordingPath) {
        path.addEllipse(QRectF(ShapeBox(rect).topLeft(), ShapeBox(rect).size() + QSizeF(1, 1)));
        m_path.addPath(MapPath(path));
        return true;
    }
    path.addEllipse(ShapeBox(rect));
    if (!m_state.transform.IsIdentity()) {
        DrawShapePath(MapPath(path));
        return true;
    }
    // Qt's own ellipse outline, unlike a stroked path, reaches every edge of its box.
    FillDevicePath(path, m_state.brush);
    if (!m_state.pen.IsNull() && Drawable()) {
        m_painter.setPen(m_state.pen.QtPen());
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawEllipse(ShapeBox(rect));
        m_painterColour = CLR_INVALID;
    }
    return true;
}

bool CDC::RoundRect(int left, int top, int right, int bottom, int width, int height) {
    const CRect rect(left, top, right, bottom);
    const QRectF box = ShapeBox(rect);
    QPainterPath path;
    path.addRoundedRect(box,
                        std::clamp(width / 2.0, 0.0, box.width() / 2),
                        std::clamp(height / 2.0, 0.0, box.height() / 2));
    if (m_recordingPath) {
        m_path.addPath(MapPath(path));
        return true;
    }
    DrawShapePath(MapPath(path));
    return true;
}

bool CDC::Polygon(const CPoint* points, int count) {
    if (points == nullptr || count < 2)
        return false;
    QPolygonF device;
    device.reserve(count);
    for (int i = 0; i < count; ++i)
        device.append(MapF(points[i].x, points[i].y));
    QPainterPath path;
    path.addPolygon(device);
    path.closeSubpath();
    path.setFillRule(m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    if (m_recordingPath) {
        m_path.addPath(path);
        return true;
    }
    DrawShapePath(path);
    return true;
}

bool CDC::PolyDraw(const CPoint* points, const unsigned char* kinds, int count) {
    if (points == nullptr || kinds == nullptr || count < 0)
        return false;
    // Check the whole sequence before drawing any of it.
    for (int i = 0; i < count; ++i) {
        const unsigned char kind = kinds[i] & ~PT_CLOSEFIGURE;
        if (kinds[i] == PT_MOVETO || kinds[i] == PT_LINETO ||
            kinds[i] == (PT_LINETO | PT_CLOSEFIGURE))
            continue;
        if (kind != PT_BEZIERTO || i + 2 >= count || kinds[i] != PT_BEZIERTO ||
            kinds[i + 1] != PT_BEZIERTO || (kinds[i + 2] & ~PT_CLOSEFIGURE) != PT_BEZIERTO)
            return false;
        i += 2;
    }
    QPainterPath path;
    path.moveTo(MapF(m_state.position.x, m_state.position.y));
    for (int i = 0; i < count; ++i) {
        const QPointF p = MapF(points[i].x, points[i].y);
        unsigned char kind = kinds[i];
        if (kind == PT_MOVETO) {
            path.moveTo(p);
        } else if ((kind & ~PT_CLOSEFIGURE) == PT_LINETO) {
            path.lineTo(p);
        } else {
            path.cubicTo(
                p, MapF(points[i + 1].x, points[i + 1].y), MapF(points[i + 2].x, points[i + 2].y));
            i += 2;
            kind = kinds[i];
        }
        if ((kind & PT_CLOSEFIGURE) != 0)
            path.closeSubpath();
        m_state.position = points[i];
    }
    if (m_recordingPath) {
        m_path.addPath(path);
        return true;
    }
    StrokeDevicePath(path);
    return true;
}

// ---------------------------------------------------------------------------------------
// Fills

void CDC::FillRect(const CRect& rect, const CBrush* brush) {
    if (brush == nullptr)
        return;
    QRect device;
    if (MapRect(rect, device))
        FillDevice(device, *brush);
    else
        FillDevicePath(MapPath(RectPath(rect, 0)), *brush);
}

void CDC::FillLogical(const CRect& rect, COLORREF colour) {
    if (!Drawable())
        return;
    QRect device;
    if (MapRect(rect, device)) {
        if (!device.isEmpty())
            m_painter.fillRect(device, plat::ToQColor(colour));
        return;
    }
    FillDevicePath(MapPath(RectPath(rect, 0)), CBrush(colour));
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour) {
    m_state.backColour = colour & 0xFFFFFF;
    FillLogical(rect, colour);
}

void CDC::FrameRect(const CRect& rect, const CBrush* brush) {
    if (brush == nullptr)
        return;
    QRect device;
    if (!MapRect(rect, device)) {
        QPainterPath frame = RectPath(rect, 0);
        CRect inner = rect;
        inner.NormalizeRect();
        inner.DeflateRect(1, 1);
        if (!inner.IsRectEmpty())
            frame.addPath(RectPath(inner, 0));
        frame.setFillRule(Qt::OddEvenFill);
        FillDevicePath(MapPath(frame), *brush);
        return;
    }
    if (device.isEmpty())
        return;
    FillDevice(QRect(device.left(), device.top(), device.width(), 1), *brush);
    FillDevice(QRect(device.left(), device.bottom(), device.width(), 1), *brush);
    FillDevice(QRect(device.left(), device.top() + 1, 1, device.height() - 2), *brush);
    FillDevice(QRect(device.right(), device.top() + 1, 1, device.height() - 2), *brush);
}

bool CDC::FillRgn(const CRgn* region, const CBrush* brush) {
    if (region == nullptr || brush == nullptr)
        return false;
    for (const QRect& rect : region->Region())
        FillDevice(rect, *brush);
    return true;
}

// ---------------------------------------------------------------------------------------
// Paths

bool CDC::BeginPath() {
    m_path.clear();
    m_recordingPath = true;
    m_pathReady = false;
    return true;
}

bool CDC::EndPath() {
    if (!m_recordingPath)
        return false;
    m_recordingPath = false;
    m_pathReady = true;
    return true;
}

bool CDC::CloseFigure() {
    if (!m_recordingPath)
        return false;
    m_path.closeSubpath();
    return true;
}

bool CDC::AbortPath() {
    m_path.clear();
    m_recordingPath = false;
    m_pathReady = false;
    return true;
}

bool CDC::FillPath() {
    if (!m_pathReady)
        return false;
    m_path.setFillRule(m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    FillDevicePath(m_path, m_state.brush);
    return AbortPath();
}

bool CDC::StrokePath() {
    if (!m_pathReady)
        return false;
    StrokeDevicePath(m_path);
    return AbortPath();
}

bool CDC::StrokeAndFillPath() {
    if (!m_pathReady)
        return false;
    m_path.setFillRule(m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    FillDevicePath(m_path, m_state.brush);
    StrokeDevicePath(m_path);
    return AbortPath();
}

bool CDC::PathToRegion(CRgn& region) {
    if (!m_pathReady)
        return false;
    m_path.setFillRule(m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    region.CreateFromFill(m_path);
    return AbortPath();
}
