// MoveTo and LineTo: start included, end left out, in every direction; dashes; clipping of
// lines whose ends lie far off the surface.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "surface.h"

namespace {

struct Direction {
    int dx;
    int dy;
};

TEST(LineTest, EveryDirectionStartsAtTheFirstPointAndStopsBeforeTheLast) {
    const Direction directions[] = {
        {20, 0}, {20, 20}, {0, 20}, {-20, 20}, {-20, 0}, {-20, -20}, {0, -20}, {20, -20}};
    for (const auto& d : directions) {
        Surface s(100, 100);
        s.dc.MoveTo(50, 50);
        ASSERT_TRUE(s.dc.LineTo(50 + d.dx, 50 + d.dy));
        EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(50 + d.dx, 50 + d.dy));
        const int sx = d.dx > 0 ? 1 : (d.dx < 0 ? -1 : 0);
        const int sy = d.dy > 0 ? 1 : (d.dy < 0 ? -1 : 0);
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(s.At(50 + sx * i, 50 + sy * i), RGB(0, 0, 0))
                << "direction " << d.dx << "," << d.dy << " step " << i;
        EXPECT_TRUE(s.IsWhite(50 + d.dx, 50 + d.dy))
            << "end point of " << d.dx << "," << d.dy << " is left out";
        EXPECT_EQ(InkCount(s.Pixels()), 20);
    }
}

TEST(LineTest, ShallowLinesStepOncePerColumnAndMeetAtTheirJoints) {
    Surface s(100, 100);
    s.dc.MoveTo(0, 0);
    s.dc.LineTo(40, 10);
    const QImage image = s.Pixels();
    for (int x = 0; x < 40; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 100; ++y)
            inColumn += (image.pixel(x, y) & 0xFFFFFF) == 0 ? 1 : 0;
        EXPECT_EQ(inColumn, 1) << x;
    }
    EXPECT_TRUE(s.IsWhite(40, 10));
    // A second segment starts on the end the first one left out.
    s.dc.LineTo(40, 30);
    EXPECT_EQ(s.At(40, 10), RGB(0, 0, 0));
    EXPECT_TRUE(s.IsWhite(40, 30));
}

TEST(LineTest, DashesFollowGdiPatternsAndGapsFollowTheBackgroundMode) {
    Surface s(100, 10);
    CPen dash(PS_DASH, 1, RGB(255, 0, 0));
    s.dc.SelectObject(&dash);
    s.dc.SetBkColor(RGB(0, 0, 255));
    s.dc.MoveTo(0, 1);
    s.dc.LineTo(48, 1);
    for (int x = 0; x < 48; ++x) {
        const bool on = x % 24 < 18;
        EXPECT_EQ(s.At(x, 1), on ? RGB(255, 0, 0) : RGB(0, 0, 255)) << x;
    }
    CPen dot(PS_DOT, 1, RGB(255, 0, 0));
    s.dc.SelectObject(&dot);
    s.dc.SetBkMode(TRANSPARENT);
    s.dc.MoveTo(0, 5);
    s.dc.LineTo(12, 5);
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(s.At(x, 5), x % 6 < 3 ? RGB(255, 0, 0) : RGB(255, 255, 255)) << x;
}

TEST(LineTest, NullPenOrZeroLengthDrawsNothingAndFarEndsAreClipped) {
    Surface s;
    s.dc.MoveTo(10, 10);
    s.dc.LineTo(10, 10);
    EXPECT_EQ(InkCount(s.Pixels()), 0);
    s.dc.SelectStockObject(NULL_PEN);
    s.dc.MoveTo(0, 0);
    s.dc.LineTo(100, 50);
    EXPECT_EQ(InkCount(s.Pixels()), 0);
    EXPECT_EQ(s.dc.GetCurrentPosition(), CPoint(100, 50));

    s.dc.SelectStockObject(BLACK_PEN);
    s.dc.MoveTo(-2000000000, 20);
    s.dc.LineTo(2000000000, 20);
    const QImage image = s.Pixels();
    EXPECT_EQ(InkBox(image), QRect(0, 20, 200, 1));
}

TEST(LineTest, WidePensDrawThick) {
    Surface s;
    CPen pen(PS_SOLID, 5, RGB(0, 128, 0));
    s.dc.SelectObject(&pen);
    s.dc.MoveTo(20, 50);
    s.dc.LineTo(180, 50);
    const QRect box = InkBox(s.Pixels());
    EXPECT_EQ(box.height(), 5);
    EXPECT_EQ(s.At(100, 48), RGB(0, 128, 0));
    EXPECT_EQ(s.At(100, 52), RGB(0, 128, 0));
}

TEST(LineTest, PixelsAreSetAndReadBackExactly) {
    Surface s;
    EXPECT_EQ(s.dc.SetPixel(3, 4, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(s.At(3, 4), RGB(1, 2, 3));
    EXPECT_EQ(InkCount(s.Pixels()), 1);
    EXPECT_EQ(s.dc.SetPixel(-1, 4, RGB(1, 2, 3)), CLR_INVALID);
    EXPECT_EQ(s.dc.GetPixel(200, 0), CLR_INVALID);
}

} // namespace
