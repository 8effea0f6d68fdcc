// Rectangles, fills, curves, polygons, hatches and paths, read back pixel by pixel.
#include <gtest/gtest.h>

#include "surface.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(ShapeTest, RectangleKeepsInsideItsRightAndBottomEdges) {
    Surface s;
    CPen pen(PS_SOLID, 1, kRed);
    CBrush brush(kBlue);
    s.dc.SelectObject(&pen);
    s.dc.SelectObject(&brush);
    s.dc.Rectangle(10, 10, 110, 50);
    const QImage image = s.Pixels();
    EXPECT_EQ(InkBox(image), QRect(QPoint(10, 10), QPoint(109, 49)));
    for (int x = 10; x <= 109; ++x) {
        EXPECT_EQ(s.At(x, 10), kRed) << x;
        EXPECT_EQ(s.At(x, 49), kRed) << x;
    }
    for (int y = 10; y <= 49; ++y) {
        EXPECT_EQ(s.At(10, y), kRed) << y;
        EXPECT_EQ(s.At(109, y), kRed) << y;
    }
    EXPECT_EQ(s.At(11, 11), kBlue);
    EXPECT_EQ(s.At(108, 48), kBlue);
    EXPECT_EQ(InkCount(image), 100 * 40);
}

TEST(ShapeTest, NullPenRectangleIsOnePixelSmallerAndWidePensCentreOnTheEdge) {
    Surface s;
    CBrush brush(kBlue);
    s.dc.SelectObject(&brush);
    s.dc.SelectStockObject(NULL_PEN);
    s.dc.Rectangle(10, 10, 110, 50);
    EXPECT_EQ(InkBox(s.Pixels()), QRect(QPoint(10, 10), QPoint(108, 48)));

    Surface wide;
    CPen three(PS_SOLID, 3, kRed);
    wide.dc.SelectObject(&three);
    wide.dc.SelectStockObject(NULL_BRUSH);
    wide.dc.Rectangle(10, 10, 110, 50);
    EXPECT_EQ(InkBox(wide.Pixels()), QRect(QPoint(9, 9), QPoint(110, 50)));
    EXPECT_EQ(wide.At(11, 30), kRed);
    EXPECT_TRUE(wide.IsWhite(12, 30));

    Surface inside;
    CPen frame(PS_INSIDEFRAME, 3, kRed);
    inside.dc.SelectObject(&frame);
    inside.dc.Rectangle(10, 10, 110, 50);
    EXPECT_EQ(InkBox(inside.Pixels()), QRect(QPoint(10, 10), QPoint(109, 49)));
}

TEST(ShapeTest, FillsExcludeRightAndBottomAndFillSolidRectKeepsItsColour) {
    Surface s;
    CBrush brush(kRed);
    s.dc.FillRect(CRect(20, 20, 30, 25), &brush);
    EXPECT_EQ(InkBox(s.Pixels()), QRect(QPoint(20, 20), QPoint(29, 24)));

    s.dc.FillSolidRect(CRect(50, 50, 51, 51), kBlue);
    EXPECT_EQ(s.At(50, 50), kBlue);
    EXPECT_TRUE(s.IsWhite(51, 50));
    // MFC's FillSolidRect leaves the background colour set to its colour.
    EXPECT_EQ(s.dc.GetBkColor(), kBlue);

    Surface frame;
    frame.dc.FrameRect(CRect(10, 10, 20, 15), &brush);
    EXPECT_EQ(InkBox(frame.Pixels()), QRect(QPoint(10, 10), QPoint(19, 14)));
    EXPECT_EQ(InkCount(frame.Pixels()), 2 * 10 + 2 * 3);
}

TEST(ShapeTest, CurvesTouchEveryEdgeOfTheirBoxAndNoFurther) {
    Surface s;
    CPen pen(PS_SOLID, 1, kRed);
    s.dc.SelectObject(&pen);
    s.dc.SelectStockObject(NULL_BRUSH);
    s.dc.Ellipse(10, 10, 110, 50);
    EXPECT_EQ(InkBox(s.Pixels()), QRect(QPoint(10, 10), QPoint(109, 49)));
    EXPECT_TRUE(s.IsWhite(60, 30)) << "a null brush leaves the inside alone";

    Surface round;
    CBrush brush(kBlue);
    round.dc.SelectObject(&brush);
    round.dc.RoundRect(10, 10, 110, 50, 20, 20);
    EXPECT_EQ(InkBox(round.Pixels()), QRect(QPoint(10, 10), QPoint(109, 49)));
    EXPECT_TRUE(round.IsWhite(10, 10)) << "the corner is rounded off";
    EXPECT_EQ(round.At(60, 30), kBlue);
}

TEST(ShapeTest, PolygonOutlineReachesItsVerticesAndFillStopsShortOfThem) {
    const CPoint square[] = {{10, 10}, {110, 10}, {110, 50}, {10, 50}};
    Surface outlined;
    outlined.dc.Polygon(square, 4);
    EXPECT_EQ(InkBox(outlined.Pixels()), QRect(QPoint(10, 10), QPoint(110, 50)));

    Surface filled;
    CBrush brush(kBlue);
    filled.dc.SelectObject(&brush);
    filled.dc.SelectStockObject(NULL_PEN);
    filled.dc.Polygon(square, 4);
    EXPECT_EQ(InkBox(filled.Pixels()), QRect(QPoint(10, 10), QPoint(109, 49)));
    EXPECT_EQ(InkCount(filled.Pixels()), 100 * 40);

    EXPECT_FALSE(filled.dc.Polygon(nullptr, 4));
    EXPECT_FALSE(filled.dc.Polygon(square, 1));
}

TEST(ShapeTest, WindingAndAlternateFillsDifferInsideAStar) {
    // A pentagram: its centre is inside twice, so ALTERNATE leaves it empty.
    const CPoint star[] = {{50, 5}, {79, 95}, {2, 39}, {98, 39}, {21, 95}};
    Surface alternate;
    CBrush brush(kBlue);
    alternate.dc.SelectObject(&brush);
    alternate.dc.SelectStockObject(NULL_PEN);
    alternate.dc.Polygon(star, 5);
    EXPECT_TRUE(alternate.IsWhite(50, 50));
    Surface winding;
    winding.dc.SelectObject(&brush);
    winding.dc.SelectStockObject(NULL_PEN);
    winding.dc.SetPolyFillMode(WINDING);
    winding.dc.Polygon(star, 5);
    EXPECT_EQ(winding.At(50, 50), kBlue);
}

TEST(ShapeTest, HatchesRepeatFromTheDeviceOriginWithGapsByBackgroundMode) {
    for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
        Surface s(64, 64);
        CBrush brush(hatch, kRed);
        s.dc.SetBkColor(kBlue);
        // Starting at an odd place: the pattern still lines up with the device origin.
        s.dc.FillRect(CRect(3, 5, 40, 37), &brush);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool inside = x >= 3 && x < 40 && y >= 5 && y < 37;
                const COLORREF expected =
                    !inside ? kWhite : (CBrush::HatchCovers(hatch, x, y) ? kRed : kBlue);
                ASSERT_EQ(s.At(x, y), expected) << "hatch " << hatch << " at " << x << "," << y;
            }
        }
    }
    Surface transparent(32, 32);
    CBrush cross(HS_CROSS, kRed);
    transparent.dc.SetBkMode(TRANSPARENT);
    transparent.dc.FillRect(CRect(0, 0, 32, 32), &cross);
    EXPECT_EQ(transparent.At(4, 0), kRed);
    EXPECT_EQ(transparent.At(0, 7), kRed);
    EXPECT_TRUE(transparent.IsWhite(1, 1));
    EXPECT_FALSE(CBrush().CreateHatchBrush(6, kRed));
}

TEST(ShapeTest, HatchedShapesUseTheSameCells) {
    Surface s(64, 64);
    CBrush brush(HS_FDIAGONAL, kRed);
    s.dc.SelectObject(&brush);
    s.dc.SelectStockObject(NULL_PEN);
    s.dc.SetBkMode(TRANSPARENT);
    s.dc.Ellipse(0, 0, 64, 64);
    for (int i = 12; i < 52; ++i)
        EXPECT_EQ(s.At(i, i), kRed) << i;
    EXPECT_TRUE(s.IsWhite(33, 32));
}

TEST(ShapeTest, FilledPathAndItsRegionCoverTheSamePixels) {
    const CPoint triangle[] = {{5, 5}, {150, 30}, {40, 90}};
    Surface filled;
    CBrush brush(kBlue);
    filled.dc.SelectObject(&brush);
    filled.dc.BeginPath();
    filled.dc.Polygon(triangle, 3);
    filled.dc.EndPath();
    EXPECT_TRUE(filled.dc.FillPath());
    EXPECT_FALSE(filled.dc.FillPath()) << "the path is used up";

    Surface clipped;
    clipped.dc.BeginPath();
    clipped.dc.MoveTo(5, 5);
    clipped.dc.LineTo(150, 30);
    clipped.dc.LineTo(40, 90);
    clipped.dc.CloseFigure();
    clipped.dc.EndPath();
    CRgn region;
    ASSERT_TRUE(clipped.dc.PathToRegion(region));
    clipped.dc.FillRgn(&region, &brush);
    EXPECT_EQ(filled.Pixels(), clipped.Pixels());
    EXPECT_GT(InkCount(filled.Pixels()), 5000);

    CRgn polygon;
    ASSERT_TRUE(polygon.CreatePolygonRgn(triangle, 3, ALTERNATE));
    EXPECT_TRUE(polygon.EqualRgn(&region));
    EXPECT_FALSE(clipped.dc.PathToRegion(region)) << "no path without BeginPath and EndPath";
}

TEST(ShapeTest, RegionsCombineAndAnswerQuestions) {
    CRgn a;
    CRgn b;
    CRgn result;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    EXPECT_EQ(result.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect box;
    result.GetRgnBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 10, 10));
    EXPECT_EQ(result.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(result.PtInRegion(14, 14));
    EXPECT_FALSE(result.PtInRegion(15, 15));
    EXPECT_EQ(result.CombineRgn(&a, &b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(result.PtInRegion(7, 7));
    EXPECT_EQ(result.CombineRgn(&a, nullptr, RGN_AND), RGN_ERROR);
    EXPECT_EQ(result.CombineRgn(&a, &b, 42), RGN_ERROR);
    CRgn empty;
    EXPECT_EQ(empty.CreateRectRgn(10, 10, 10, 20) ? empty.GetRgnBox(nullptr) : -1, NULLREGION);
    CRgn huge;
    EXPECT_TRUE(huge.CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(huge.PtInRegion(0, 0));
}

TEST(ShapeTest, PolyDrawDrawsLinesAndCurvesAndRefusesBrokenSequences) {
    Surface s;
    const CPoint points[] = {{10, 10}, {60, 10}, {60, 60}, {80, 10}, {100, 60}, {120, 10}};
    const unsigned char kinds[] = {
        PT_MOVETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE, PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO};
    ASSERT_TRUE(s.dc.PolyDraw(points, kinds, 6));
    EXPECT_FALSE(s.IsWhite(30, 10)) << "first line";
    EXPECT_FALSE(s.IsWhite(60, 30)) << "second line";
    EXPECT_FALSE(s.IsWhite(35, 35)) << "closing line back to the start";
    EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(120, 10));
    EXPECT_LE(InkBox(s.Pixels()).right(), 120);

    Surface untouched;
    const unsigned char shortCurve[] = {PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO};
    EXPECT_FALSE(untouched.dc.PolyDraw(points, shortCurve, 3));
    const unsigned char unknown[] = {PT_MOVETO, 0x09};
    EXPECT_FALSE(untouched.dc.PolyDraw(points, unknown, 2));
    EXPECT_FALSE(untouched.dc.PolyDraw(nullptr, kinds, 2));
    EXPECT_EQ(InkCount(untouched.Pixels()), 0);
}

TEST(ShapeTest, FilledPolyDrawPathCoversItsInside) {
    Surface s;
    CBrush brush(kBlue);
    s.dc.SelectObject(&brush);
    const CPoint points[] = {{10, 10}, {90, 10}, {90, 90}, {10, 90}};
    const unsigned char kinds[] = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE};
    s.dc.BeginPath();
    s.dc.PolyDraw(points, kinds, 4);
    s.dc.EndPath();
    ASSERT_TRUE(s.dc.StrokeAndFillPath());
    EXPECT_EQ(s.At(50, 50), kBlue);
    EXPECT_EQ(s.At(90, 50), RGB(0, 0, 0)) << "the stroke reaches the right side";
}

TEST(ShapeTest, SizesFromMarkupNeverCrash) {
    Surface s;
    CBrush brush(kBlue);
    s.dc.SelectObject(&brush);
    s.dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    s.dc.Ellipse(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    s.dc.RoundRect(-5, -5, 1000000000, 5, INT_MAX, INT_MIN);
    s.dc.FillSolidRect(INT_MAX - 1, 0, INT_MAX, 10, kRed);
    s.dc.MoveTo(INT_MIN, INT_MIN);
    s.dc.LineTo(INT_MAX, INT_MAX);
    CPen wide(PS_SOLID, INT_MAX, kRed);
    EXPECT_EQ(wide.Width(), 1000);
    CBitmap tooBig;
    EXPECT_FALSE(tooBig.CreateBitmap(100000, 100000));
    EXPECT_FALSE(tooBig.CreateBitmap(-1, 10));
    CDC noSurface;
    noSurface.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(noSurface.GetPixel(0, 0), CLR_INVALID);
    EXPECT_EQ(noSurface.SetPixel(0, 0, kRed), CLR_INVALID);
    EXPECT_EQ(noSurface.SelectObject(&tooBig), nullptr);
}

} // namespace
