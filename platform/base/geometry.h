#pragma once
// The MFC value types CPoint, CSize and CRect with their MFC meaning: a rectangle's right
// and bottom edges lie outside it, "empty" means no area, and IntersectRect/UnionRect
// follow the Win32 functions. Coordinates come from markup, so arithmetic wraps like the
// 32-bit integers of the original instead of being undefined.
#include <algorithm>

namespace plat {

// C++20 defines the narrowing conversion as modulo 2^32.
constexpr int WrapAdd(int a, int b) {
    return static_cast<int>(static_cast<long long>(a) + b);
}
constexpr int WrapSub(int a, int b) {
    return static_cast<int>(static_cast<long long>(a) - b);
}

} // namespace plat

struct CSize;
struct CRect;

struct CPoint {
    int x = 0;
    int y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int initX, int initY) : x(initX), y(initY) {}
    constexpr explicit CPoint(const CSize& size);

    constexpr void SetPoint(int newX, int newY) {
        x = newX;
        y = newY;
    }
    constexpr void Offset(int dx, int dy) {
        x = plat::WrapAdd(x, dx);
        y = plat::WrapAdd(y, dy);
    }
    constexpr void Offset(const CPoint& by) { Offset(by.x, by.y); }
    constexpr void Offset(const CSize& by);

    constexpr bool operator==(const CPoint&) const = default;
    constexpr CPoint& operator+=(const CSize& by);
    constexpr CPoint& operator-=(const CSize& by);
    constexpr CPoint& operator+=(const CPoint& by) {
        Offset(by);
        return *this;
    }
    constexpr CPoint& operator-=(const CPoint& by) {
        Offset(plat::WrapSub(0, by.x), plat::WrapSub(0, by.y));
        return *this;
    }
    constexpr CPoint operator-() const { return {plat::WrapSub(0, x), plat::WrapSub(0, y)}; }
    constexpr CPoint operator+(const CPoint& by) const {
        return {plat::WrapAdd(x, by.x), plat::WrapAdd(y, by.y)};
    }
    constexpr CPoint operator+(const CSize& by) const;
    constexpr CPoint operator-(const CSize& by) const;
    // The distance between two points.
    constexpr CSize operator-(const CPoint& other) const;
    // The rectangle moved by this offset.
    constexpr CRect operator+(const CRect& rect) const;
    constexpr CRect operator-(const CRect& rect) const;
};

struct CSize {
    int cx = 0;
    int cy = 0;

    constexpr CSize() = default;
    constexpr CSize(int initCX, int initCY) : cx(initCX), cy(initCY) {}
    constexpr explicit CSize(const CPoint& point) : cx(point.x), cy(point.y) {}

    constexpr void SetSize(int newCX, int newCY) {
        cx = newCX;
        cy = newCY;
    }

    constexpr bool operator==(const CSize&) const = default;
    constexpr CSize& operator+=(const CSize& by) {
        cx = plat::WrapAdd(cx, by.cx);
        cy = plat::WrapAdd(cy, by.cy);
        return *this;
    }
    constexpr CSize& operator-=(const CSize& by) {
        cx = plat::WrapSub(cx, by.cx);
        cy = plat::WrapSub(cy, by.cy);
        return *this;
    }
    constexpr CSize operator+(const CSize& by) const { return CSize(*this) += by; }
    constexpr CSize operator-(const CSize& by) const { return CSize(*this) -= by; }
    constexpr CSize operator-() const { return {plat::WrapSub(0, cx), plat::WrapSub(0, cy)}; }
    constexpr CPoint operator+(const CPoint& point) const { return point + *this; }
    constexpr CPoint operator-(const CPoint& point) const {
        return {plat::WrapSub(cx, point.x), plat::WrapSub(cy, point.y)};
    }
    constexpr CRect operator+(const CRect& rect) const;
    constexpr CRect operator-(const CRect& rect) const;
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const CPoint& topLeft, const CSize& size)
        : left(topLeft.x), top(topLeft.y), right(plat::WrapAdd(topLeft.x, size.cx)),
          bottom(plat::WrapAdd(topLeft.y, size.cy)) {}
    constexpr CRect(const CPoint& topLeft, const CPoint& bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}

    constexpr int Width() const { return plat::WrapSub(right, left); }
    constexpr int Height() const { return plat::WrapSub(bottom, top); }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr CPoint CenterPoint() const {
        return {static_cast<int>((static_cast<long long>(left) + right) / 2),
                static_cast<int>((static_cast<long long>(top) + bottom) / 2)};
    }

    // No area: a width or height of zero or less.
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(const CPoint& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    constexpr void SetRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    constexpr void SetRect(const CPoint& topLeft, const CPoint& bottomRight) {
        *this = CRect(topLeft, bottomRight);
    }
    constexpr void SetRectEmpty() { *this = CRect(); }
    // MFC takes LPCRECT; ported code passes either a pointer or the rectangle.
    constexpr void CopyRect(const CRect* src) {
        if (src != nullptr) {
            *this = *src;
        }
    }
    constexpr void CopyRect(const CRect& src) { *this = src; }
    constexpr bool EqualRect(const CRect* other) const {
        return other != nullptr && *this == *other;
    }
    constexpr bool EqualRect(const CRect& other) const { return *this == other; }

    constexpr void OffsetRect(int dx, int dy) {
        left = plat::WrapAdd(left, dx);
        right = plat::WrapAdd(right, dx);
        top = plat::WrapAdd(top, dy);
        bottom = plat::WrapAdd(bottom, dy);
    }
    constexpr void OffsetRect(const CPoint& by) { OffsetRect(by.x, by.y); }
    constexpr void OffsetRect(const CSize& by) { OffsetRect(by.cx, by.cy); }

    // Each edge moves outward by its own amount.
    constexpr void InflateRect(int l, int t, int r, int b) {
        left = plat::WrapSub(left, l);
        top = plat::WrapSub(top, t);
        right = plat::WrapAdd(right, r);
        bottom = plat::WrapAdd(bottom, b);
    }
    constexpr void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    constexpr void InflateRect(const CSize& by) { InflateRect(by.cx, by.cy); }
    constexpr void InflateRect(const CRect& by) {
        InflateRect(by.left, by.top, by.right, by.bottom);
    }
    constexpr void DeflateRect(int l, int t, int r, int b) {
        InflateRect(
            plat::WrapSub(0, l), plat::WrapSub(0, t), plat::WrapSub(0, r), plat::WrapSub(0, b));
    }
    constexpr void DeflateRect(int dx, int dy) { DeflateRect(dx, dy, dx, dy); }
    constexpr void DeflateRect(const CSize& by) { DeflateRect(by.cx, by.cy); }
    constexpr void DeflateRect(const CRect& by) {
        DeflateRect(by.left, by.top, by.right, by.bottom);
    }

    constexpr void NormalizeRect() {
        if (left > right) {
            std::swap(left, right);
        }
        if (top > bottom) {
            std::swap(top, bottom);
        }
    }

    constexpr void MoveToX(int x) {
        right = plat::WrapAdd(x, Width());
        left = x;
    }
    constexpr void MoveToY(int y) {
        bottom = plat::WrapAdd(y, Height());
        top = y;
    }
    constexpr void MoveToXY(int x, int y) {
        MoveToX(x);
        MoveToY(y);
    }
    constexpr void MoveToXY(const CPoint& p) { MoveToXY(p.x, p.y); }

    // The overlap of a and b; false and an all-zero rectangle when they do not overlap.
    constexpr bool IntersectRect(const CRect& a, const CRect& b) {
        const CRect overlap(std::max(a.left, b.left),
                            std::max(a.top, b.top),
                            std::min(a.right, b.right),
                            std::min(a.bottom, b.bottom));
        if (a.IsRectEmpty() || b.IsRectEmpty() || overlap.IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        *this = overlap;
        return true;
    }
    // The smallest rectangle holding a and b; an empty one does not count.
    constexpr bool UnionRect(const CRect& a, const CRect& b) {
        if (a.IsRectEmpty() && b.IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        if (a.IsRectEmpty()) {
            *this = b;
        } else if (b.IsRectEmpty()) {
            *this = a;
        } else {
            *this = CRect(std::min(a.left, b.left),
                          std::min(a.top, b.top),
                          std::max(a.right, b.right),
                          std::max(a.bottom, b.bottom));
        }
        return true;
    }

    constexpr bool operator==(const CRect&) const = default;
    constexpr CRect& operator+=(const CPoint& by) {
        OffsetRect(by);
        return *this;
    }
    constexpr CRect& operator+=(const CSize& by) {
        OffsetRect(by);
        return *this;
    }
    constexpr CRect& operator+=(const CRect& by) {
        InflateRect(by);
        return *this;
    }
    constexpr CRect& operator-=(const CPoint& by) {
        OffsetRect(plat::WrapSub(0, by.x), plat::WrapSub(0, by.y));
        return *this;
    }
    constexpr CRect& operator-=(const CSize& by) {
        OffsetRect(plat::WrapSub(0, by.cx), plat::WrapSub(0, by.cy));
        return *this;
    }
    constexpr CRect& operator-=(const CRect& by) {
        DeflateRect(by);
        return *this;
    }
    constexpr CRect& operator&=(const CRect& other) {
        IntersectRect(*this, other);
        return *this;
    }
    constexpr CRect& operator|=(const CRect& other) {
        UnionRect(*this, other);
        return *this;
    }
    constexpr CRect operator+(const CPoint& by) const { return CRect(*this) += by; }
    constexpr CRect operator+(const CSize& by) const { return CRect(*this) += by; }
    constexpr CRect operator+(const CRect& by) const { return CRect(*this) += by; }
    constexpr CRect operator-(const CPoint& by) const { return CRect(*this) -= by; }
    constexpr CRect operator-(const CSize& by) const { return CRect(*this) -= by; }
    constexpr CRect operator-(const CRect& by) const { return CRect(*this) -= by; }
    constexpr CRect operator&(const CRect& other) const { return CRect(*this) &= other; }
    constexpr CRect operator|(const CRect& other) const { return CRect(*this) |= other; }
};

constexpr CPoint::CPoint(const CSize& size) : x(size.cx), y(size.cy) {}
constexpr void CPoint::Offset(const CSize& by) {
    Offset(by.cx, by.cy);
}
constexpr CPoint& CPoint::operator+=(const CSize& by) {
    Offset(by);
    return *this;
}
constexpr CPoint& CPoint::operator-=(const CSize& by) {
    Offset(plat::WrapSub(0, by.cx), plat::WrapSub(0, by.cy));
    return *this;
}
constexpr CPoint CPoint::operator+(const CSize& by) const {
    return CPoint(*this) += by;
}
constexpr CPoint CPoint::operator-(const CSize& by) const {
    return CPoint(*this) -= by;
}
constexpr CSize CPoint::operator-(const CPoint& other) const {
    return {plat::WrapSub(x, other.x), plat::WrapSub(y, other.y)};
}
constexpr CRect CPoint::operator+(const CRect& rect) const {
    return rect + *this;
}
constexpr CRect CPoint::operator-(const CRect& rect) const {
    return rect - *this;
}
constexpr CRect CSize::operator+(const CRect& rect) const {
    return rect + *this;
}
constexpr CRect CSize::operator-(const CRect& rect) const {
    return rect - *this;
}
