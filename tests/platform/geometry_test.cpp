#include "platform/base/geometry.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(GeometryTest, RectMeasuresAndHitTests) {
    const CRect r(CPoint(10, 20), CSize(30, 40));
    EXPECT_EQ(r, CRect(10, 20, 40, 60));
    EXPECT_EQ(CRect(CPoint(1, 2), CPoint(3, 4)), CRect(1, 2, 3, 4));
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.Size(), CSize(30, 40));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(40, 60));
    EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(40, 59)));
    EXPECT_FALSE(r.PtInRect(CPoint(39, 60)));
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 9, 6, 2).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 9, 6, 2).IsRectNull());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_EQ(CRect(INT_MIN, 0, INT_MAX, 1).Width(), -1); // wraps like 32-bit arithmetic
}

TEST(GeometryTest, RectEdits) {
    CRect r(0, 0, 10, 10);
    r.OffsetRect(5, -5);
    EXPECT_EQ(r, CRect(5, -5, 15, 5));
    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(4, -7, 16, 7));
    r.DeflateRect(CRect(1, 2, 3, 4));
    EXPECT_EQ(r, CRect(5, -5, 13, 3));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(4, -7, 16, 7));
    r.MoveToXY(100, 200);
    EXPECT_EQ(r, CRect(100, 200, 112, 214));
    r.SetRect(9, 8, 1, 2);
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(1, 2, 9, 8));
    CRect copy;
    copy.CopyRect(&r);
    EXPECT_TRUE(copy.EqualRect(&r));
    EXPECT_FALSE(copy.EqualRect(nullptr));
    copy.SetRectEmpty();
    EXPECT_TRUE(copy.IsRectNull());
}

TEST(GeometryTest, IntersectAndUnion) {
    CRect out(1, 1, 2, 2);
    EXPECT_TRUE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(out, CRect(5, 5, 10, 10));
    EXPECT_FALSE(out.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10))); // touching
    EXPECT_TRUE(out.IsRectNull());

    EXPECT_TRUE(out.UnionRect(CRect(0, 0, 1, 1), CRect(5, 5, 6, 6)));
    EXPECT_EQ(out, CRect(0, 0, 6, 6));
    EXPECT_TRUE(out.UnionRect(CRect(-50, -50, -50, 100), CRect(5, 5, 6, 6)));
    EXPECT_EQ(out, CRect(5, 5, 6, 6));
    EXPECT_FALSE(out.UnionRect(CRect(), CRect(3, 3, 3, 3)));
    EXPECT_TRUE(out.IsRectNull());

    EXPECT_EQ(CRect(0, 0, 10, 10) & CRect(5, -5, 15, 5), CRect(5, 0, 10, 5));
    EXPECT_EQ(CRect(0, 0, 1, 1) | CRect(2, 2, 3, 3), CRect(0, 0, 3, 3));
}

TEST(GeometryTest, Operators) {
    CPoint p(3, 4);
    p += CSize(1, 1);
    p -= CPoint(2, 2);
    EXPECT_EQ(p, CPoint(2, 3));
    EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
    EXPECT_EQ(CPoint(5, 5) - CSize(2, 1), CPoint(3, 4));
    EXPECT_EQ(-CPoint(1, -2), CPoint(-1, 2));
    EXPECT_EQ(CSize(1, 2) + CSize(3, 4), CSize(4, 6));
    EXPECT_EQ(CSize(1, 2) - CPoint(3, 4), CPoint(-2, -2));
    EXPECT_NE(CSize(1, 2), CSize(2, 1));

    const CRect r(0, 0, 10, 10);
    EXPECT_EQ(r + CPoint(1, 2), CRect(1, 2, 11, 12));
    EXPECT_EQ(r - CSize(1, 2), CRect(-1, -2, 9, 8));
    EXPECT_EQ(r + CRect(1, 2, 3, 4), CRect(-1, -2, 13, 14));
    EXPECT_EQ(r - CRect(1, 2, 3, 4), CRect(1, 2, 7, 6));
    EXPECT_EQ(CPoint(1, 1) + r, CRect(1, 1, 11, 11));
    CRect m = r;
    m &= CRect(5, 5, 50, 50);
    EXPECT_EQ(m, CRect(5, 5, 10, 10));
    m |= CRect(20, 20, 30, 30);
    EXPECT_EQ(m, CRect(5, 5, 30, 30));
}

} // namespace
