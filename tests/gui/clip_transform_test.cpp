// Clipping, saved states and world transforms.
#include <gtest/gtest.h>

#include "surface.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(ClipTest, IntersectClipRectLimitsEveryKindOfDrawing) {
    Surface s;
    EXPECT_EQ(s.dc.IntersectClipRect(20, 20, 60, 40), SIMPLEREGION);
    s.dc.FillSolidRect(0, 0, 200, 100, kRed);
    EXPECT_EQ(InkBox(s.Pixels()), QRect(QPoint(20, 20), QPoint(59, 39)));
    s.dc.MoveTo(0, 30);
    s.dc.LineTo(200, 30);
    EXPECT_EQ(s.dc.GetPixel(19, 30), CLR_INVALID) << "outside the clip";
    EXPECT_EQ(s.Pixels().pixel(19, 30) & 0xFFFFFF, 0xFFFFFFu);
    CRect box;
    EXPECT_EQ(s.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(20, 20, 60, 40));
    EXPECT_TRUE(s.dc.RectVisible(CRect(0, 0, 21, 21)));
    EXPECT_FALSE(s.dc.RectVisible(CRect(0, 0, 20, 20)));
    EXPECT_FALSE(s.dc.PtVisible(60, 30));
    EXPECT_EQ(s.dc.IntersectClipRect(100, 100, 120, 120), NULLREGION);
}

TEST(ClipTest, SelectClipRgnUsesDevicePixelsAndNullRemovesIt) {
    Surface s;
    CRgn ellipse;
    ellipse.CreateEllipticRgn(10, 10, 110, 50);
    s.dc.SelectClipRgn(&ellipse);
    s.dc.FillSolidRect(0, 0, 200, 100, kRed);
    EXPECT_EQ(InkBox(s.Pixels()), QRect(QPoint(10, 10), QPoint(109, 49)));
    EXPECT_EQ(s.Pixels().pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu) << "corner outside the ellipse";
    EXPECT_EQ(s.dc.GetPixel(10, 10), CLR_INVALID);
    s.dc.ExcludeClipRect(50, 0, 200, 100);
    s.dc.FillSolidRect(0, 0, 200, 100, RGB(0, 0, 255));
    EXPECT_EQ(s.At(30, 30), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixels().pixel(60, 30) & 0xFFFFFF, 0xFF0000u) << "excluded half keeps red";
    EXPECT_EQ(s.dc.SelectClipRgn(nullptr), SIMPLEREGION);
    s.dc.FillSolidRect(0, 0, 200, 100, RGB(0, 255, 0));
    EXPECT_EQ(s.At(199, 99), RGB(0, 255, 0));
    EXPECT_EQ(s.dc.ExtSelectClipRgn(nullptr, RGN_AND), RGN_ERROR);
}

TEST(ClipTest, RestoreDCBringsBackClipPenAndColours) {
    Surface s;
    CPen red(PS_SOLID, 1, kRed);
    const int level = s.dc.SaveDC();
    EXPECT_EQ(level, 1);
    s.dc.SelectObject(&red);
    s.dc.SetTextColor(kRed);
    s.dc.IntersectClipRect(0, 0, 10, 10);
    EXPECT_EQ(s.dc.SaveDC(), 2);
    s.dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(s.dc.RestoreDC(-1));
    EXPECT_EQ(s.dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(s.dc.GetTextColor(), kRed);
    EXPECT_TRUE(s.dc.RestoreDC(level));
    EXPECT_EQ(s.dc.GetTextColor(), RGB(0, 0, 0));
    s.dc.MoveTo(0, 50);
    s.dc.LineTo(100, 50);
    EXPECT_EQ(s.At(50, 50), RGB(0, 0, 0)) << "pen and clip are back";
    EXPECT_FALSE(s.dc.RestoreDC(1)) << "nothing saved any more";
    EXPECT_FALSE(s.dc.RestoreDC(0));
    EXPECT_FALSE(s.dc.RestoreDC(-5));
}

TEST(TransformTest, NeedsAdvancedModeAndAnInvertibleMatrix) {
    Surface s;
    const XFORM shift{1, 0, 0, 1, 50, 20};
    EXPECT_FALSE(s.dc.SetWorldTransform(shift));
    s.dc.SetGraphicsMode(GM_ADVANCED);
    EXPECT_TRUE(s.dc.SetWorldTransform(shift));
    EXPECT_FALSE(s.dc.SetWorldTransform(XFORM{1, 2, 2, 4, 0, 0})) << "collapses the plane";
    EXPECT_FALSE(
        s.dc.SetWorldTransform(XFORM{std::numeric_limits<float>::infinity(), 0, 0, 1, 0, 0}));
    XFORM kept;
    s.dc.GetWorldTransform(kept);
    EXPECT_EQ(kept, shift);
    EXPECT_EQ(s.dc.SetGraphicsMode(GM_COMPATIBLE), 0) << "only with the identity";
}

TEST(TransformTest, TranslationAndScaleKeepGdiCoverage) {
    Surface s;
    s.dc.SetGraphicsMode(GM_ADVANCED);
    s.dc.SetWorldTransform(XFORM{2, 0, 0, 2, 10, 5});
    CBrush brush(kRed);
    s.dc.FillRect(CRect(0, 0, 10, 10), &brush);
    EXPECT_EQ(InkBox(s.Pixels()), QRect(QPoint(10, 5), QPoint(29, 24)));
    s.dc.IntersectClipRect(0, 0, 5, 5);
    CRect box;
    s.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 5, 5)) << "the clip box comes back in logical units";
}

TEST(TransformTest, ModifyWorldTransformMultipliesOnTheRightSide) {
    Surface s;
    s.dc.SetGraphicsMode(GM_ADVANCED);
    const XFORM scale{2, 0, 0, 2, 0, 0};
    const XFORM shift{1, 0, 0, 1, 10, 0};
    s.dc.SetWorldTransform(scale);
    // Left: the shift happens first, then the scale.
    ASSERT_TRUE(s.dc.ModifyWorldTransform(&shift, MWT_LEFTMULTIPLY));
    XFORM now;
    s.dc.GetWorldTransform(now);
    EXPECT_FLOAT_EQ(now.eDx, 20);
    s.dc.SetWorldTransform(scale);
    ASSERT_TRUE(s.dc.ModifyWorldTransform(&shift, MWT_RIGHTMULTIPLY));
    s.dc.GetWorldTransform(now);
    EXPECT_FLOAT_EQ(now.eDx, 10);
    ASSERT_TRUE(s.dc.ModifyWorldTransform(nullptr, MWT_IDENTITY));
    s.dc.GetWorldTransform(now);
    EXPECT_TRUE(now.IsIdentity());
    EXPECT_FALSE(s.dc.ModifyWorldTransform(nullptr, MWT_LEFTMULTIPLY));
}

TEST(TransformTest, RotationTurnsShapesAroundTheOrigin) {
    Surface s(100, 100);
    s.dc.SetGraphicsMode(GM_ADVANCED);
    // A quarter turn: x goes down, y goes left; then moved into view.
    s.dc.SetWorldTransform(XFORM{0, 1, -1, 0, 60, 10});
    CBrush brush(kRed);
    s.dc.FillRect(CRect(0, 0, 40, 10), &brush);
    const QRect box = InkBox(s.Pixels());
    EXPECT_EQ(box.width(), 10);
    EXPECT_EQ(box.height(), 40);
    EXPECT_EQ(box.topLeft(), QPoint(50, 10));
}

} // namespace
