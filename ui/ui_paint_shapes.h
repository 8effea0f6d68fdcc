#pragma once
// Shape primitives drawn with the current pen and brush: "Rectangle" (also rounded and
// elliptic), "MoveTo", "LineTo", "Pixel" and "PolyDraw". Points are position expressions
// resolved against the rectangle handed down, "#" acting as "%".
#include <string_view>
#include <vector>

#include "ui/rect_ex.h"
#include "ui/ui_paint_base.h"

namespace orvo {
// The point of `expression` inside `rect`; false when an expression was never set.
bool ResolvePoint(CPointEx& expression, const CRect& rect, CPoint& point);
} // namespace orvo

class CUIPaintRectangle : public CUIPaintBase {
public:
    enum Shape : int { SHAPE_RECTANGLE = 0, SHAPE_ROUNDRECT = 1, SHAPE_ELLIPSE = 2 };

    // "Type" ("rectangle", "roundrect", "ellipse"), "Round" (corner width, height).
    int SetAttribute(XTheme* theme, XElement* element) override;
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    int m_shape = SHAPE_RECTANGLE;
    CSizeEx m_round;
    bool m_hasRound = false;
};

// "x", "y"; a point that cannot be read makes the primitive draw nothing.
class CUIPaintPoint : public CUIPaintBase {
public:
    int SetAttribute(XTheme* theme, XElement* element) override;

protected:
    bool Resolve(const CRect& rect, CPoint& point) {
        return m_readable && orvo::ResolvePoint(m_point, rect, point);
    }

private:
    CPointEx m_point;
    bool m_readable = false;
};

class CUIPaintMoveTo : public CUIPaintPoint {
public:
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;
};

class CUIPaintLineTo : public CUIPaintPoint {
public:
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;
};

// A one-pixel line at the point; the current position stays there.
class CUIPaintPixel : public CUIPaintPoint {
public:
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;
};

class CUIPaintPolyDraw : public CUIPaintBase {
public:
    // "Fill"; the points come as method children "MoveTo", "LineTo", "BezierTo" with "x", "y"
    // and "close". A value starting with "@" is measured from the right or bottom edge.
    int SetAttribute(XTheme* theme, XElement* element) override;
    int SetMethod(const wchar_t* name, XTheme* theme, XElement* element) override;
    // Without "Fill" the figure is stroked; with it, filled with the current brush and then
    // stroked with the current pen (a null pen strokes nothing).
    void Draw(CDC* dc, CRect& rect, orvo::PaintTarget* object, CUIEvent* event) override;

private:
    struct Vertex {
        CPointEx point;
        bool fromRight = false;
        bool fromBottom = false;
        unsigned char kind = 0;
    };

    bool m_fill = false;
    std::vector<Vertex> m_vertices;
};
