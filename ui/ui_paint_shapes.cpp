#include "ui/ui_paint_shapes.h"

#include "core/element.h"
#include "nubra/trim_blanks.h"
#include "platform/base/nocase.h"
#include "platform/gui/dc.h"
#include "ui/keyword_list.h"

namespace orvo {

bool ResolvePoint(CPointEx& expression, const CRect& rect, CPoint& point) {
    if (!expression.x.Recalc(rect, CPosEx::Axis::Horizontal, 0) ||
        !expression.y.Recalc(rect, CPosEx::Axis::Vertical, 0))
        return false;
    point = CPoint(plat::WrapAdd(rect.left, expression.x.GetPos()),
                   plat::WrapAdd(rect.top, expression.y.GetPos()));
    return true;
}

} // namespace orvo

namespace {

// A point is two position expressions.
bool ReadPoint(XElement* element, CPointEx& point) {
    std::wstring x;
    std::wstring y;
    return element->GetValue(L"x", x) && element->GetValue(L"y", y) && point.x.SetPos(x) &&
           point.y.SetPos(y);
}

// Strips a leading "@" (measured from the far edge).
std::wstring_view FarEdge(std::wstring_view text, bool& far) {
    text = orvo::TrimBlanks(text);
    far = !text.empty() && text.front() == L'@';
    return far ? text.substr(1) : text;
}

} // namespace

// ---- Rectangle
// -----------------------------------------------------------------------------------

int CUIPaintRectangle::SetAttribute(XTheme*, XElement* element) {
    std::wstring text;
    if (element->GetValue(L"Type", text)) {
        if (plat::EqualsNoCase(orvo::TrimBlanks(text), L"roundrect"))
            m_shape = SHAPE_ROUNDRECT;
        else if (plat::EqualsNoCase(orvo::TrimBlanks(text), L"ellipse"))
            m_shape = SHAPE_ELLIPSE;
    }
    if (element->GetValue(L"Round", text)) {
        const auto items = orvo::SplitItems(text, L',');
        m_hasRound =
            items.size() == 2 && m_round.width.SetPos(items[0]) && m_round.height.SetPos(items[1]);
    }
    return 1;
}

void CUIPaintRectangle::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    if (m_shape == SHAPE_ELLIPSE) {
        dc->Ellipse(rect);
    } else if (m_shape == SHAPE_ROUNDRECT) {
        int width = 0;
        int height = 0;
        if (m_hasRound && m_round.width.Recalc(rect, CPosEx::Axis::Horizontal, 0) &&
            m_round.height.Recalc(rect, CPosEx::Axis::Vertical, 0)) {
            width = m_round.width.GetPos();
            height = m_round.height.GetPos();
        }
        dc->RoundRect(rect.left, rect.top, rect.right, rect.bottom, width, height);
    } else {
        dc->Rectangle(rect);
    }
    CUIPaintBase::Draw(dc, rect, object, event);
}

// ---- MoveTo, LineTo, Pixel
// -----------------------------------------------------------------------

int CUIPaintPoint::SetAttribute(XTheme*, XElement* element) {
    m_readable = ReadPoint(element, m_point);
    return 1;
}

void CUIPaintMoveTo::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    CPoint point;
    if (Resolve(rect, point))
        dc->MoveTo(point.x, point.y);
    CUIPaintBase::Draw(dc, rect, object, event);
}

void CUIPaintLineTo::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    CPoint point;
    if (Resolve(rect, point))
        dc->LineTo(point.x, point.y);
    CUIPaintBase::Draw(dc, rect, object, event);
}

void CUIPaintPixel::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    CPoint point;
    if (Resolve(rect, point)) {
        dc->MoveTo(point.x, point.y);
        dc->LineTo(plat::WrapAdd(point.x, 1), point.y);
        dc->MoveTo(point.x, point.y);
    }
    CUIPaintBase::Draw(dc, rect, object, event);
}

// ---- PolyDraw
// ------------------------------------------------------------------------------------

int CUIPaintPolyDraw::SetAttribute(XTheme*, XElement* element) {
    element->GetBool(L"Fill", m_fill);
    return 1;
}

int CUIPaintPolyDraw::SetMethod(const wchar_t* name, XTheme*, XElement* element) {
    Vertex vertex;
    if (plat::EqualsNoCase(name, L"MoveTo"))
        vertex.kind = PT_MOVETO;
    else if (plat::EqualsNoCase(name, L"LineTo"))
        vertex.kind = PT_LINETO;
    else if (plat::EqualsNoCase(name, L"BezierTo"))
        vertex.kind = PT_BEZIERTO;
    else
        return 0;
    std::wstring x;
    std::wstring y;
    if (!element->GetValue(L"x", x) || !element->GetValue(L"y", y) ||
        !vertex.point.x.SetPos(FarEdge(x, vertex.fromRight)) ||
        !vertex.point.y.SetPos(FarEdge(y, vertex.fromBottom)))
        return 0;
    bool close = false;
    if (element->GetBool(L"close", close) && close && vertex.kind != PT_MOVETO)
        vertex.kind |= PT_CLOSEFIGURE;
    m_vertices.push_back(vertex);
    return 1;
}

void CUIPaintPolyDraw::Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) {
    std::vector<CPoint> points;
    std::vector<unsigned char> kinds;
    points.reserve(m_vertices.size());
    kinds.reserve(m_vertices.size());
    for (Vertex& vertex : m_vertices) {
        if (!vertex.point.x.Recalc(rect, CPosEx::Axis::Horizontal, 0) ||
            !vertex.point.y.Recalc(rect, CPosEx::Axis::Vertical, 0))
            continue;
        const int x = vertex.point.x.GetPos();
        const int y = vertex.point.y.GetPos();
        points.emplace_back(
            vertex.fromRight ? plat::WrapSub(rect.right, x) : plat::WrapAdd(rect.left, x),
            vertex.fromBottom ? plat::WrapSub(rect.bottom, y) : plat::WrapAdd(rect.top, y));
        kinds.push_back(vertex.kind);
    }
    const int count = static_cast<int>(points.size());
    if (!m_fill) {
        dc->PolyDraw(points.data(), kinds.data(), count);
    } else if (dc->BeginPath()) {
        dc->PolyDraw(points.data(), kinds.data(), count);
        dc->EndPath();
        dc->StrokeAndFillPath();
    }
    CUIPaintBase::Draw(dc, rect, object, event);
}
