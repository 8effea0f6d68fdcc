// BitBlt, StretchBlt, AlphaBlend and TransparentBlt between memory DCs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "surface.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 4x2 source: a row of four colours over a row of their mirror.
struct Source : Surface {
    Source() : Surface(4, 2) {
        const COLORREF colours[] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0)};
        for (int x = 0; x < 4; ++x) {
            dc.SetPixel(x, 0, colours[x]);
            dc.SetPixel(x, 1, colours[3 - x]);
        }
    }
};

bool Near(COLORREF actual, int r, int g, int b) {
    return std::abs(GetRValue(actual) - r) <= 1 && std::abs(GetGValue(actual) - g) <= 1 &&
           std::abs(GetBValue(actual) - b) <= 1;
}

TEST(BlitTest, BitBltCopiesExactlyAndLeavesOutWhatLiesOutsideTheSource) {
    Source source;
    Surface s(20, 20);
    ASSERT_TRUE(s.dc.BitBlt(5, 5, 4, 2, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(s.At(5, 5), RGB(10, 0, 0));
    EXPECT_EQ(s.At(8, 5), RGB(40, 0, 0));
    EXPECT_EQ(s.At(5, 6), RGB(40, 0, 0));
    EXPECT_EQ(InkBox(s.Pixels()), QRect(5, 5, 4, 2));

    Surface partly(20, 20);
    ASSERT_TRUE(partly.dc.BitBlt(0, 0, 10, 10, &source.dc, 2, 1, SRCCOPY));
    EXPECT_EQ(partly.At(0, 0), RGB(20, 0, 0));
    EXPECT_EQ(InkBox(partly.Pixels()), QRect(0, 0, 2, 1));

    EXPECT_FALSE(s.dc.BitBlt(0, 0, 4, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(s.dc.BitBlt(0, 0, 4, 2, &source.dc, 0, 0, 0x12345678));
    EXPECT_TRUE(s.dc.BitBlt(0, 0, 20, 20, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(s.At(19, 19), RGB(0, 0, 0));
}

TEST(BlitTest, RasterOperationsCombineBits) {
    Surface s(4, 4);
    Surface pattern(4, 4);
    s.dc.FillSolidRect(0, 0, 4, 4, RGB(0x0F, 0xF0, 0x33));
    pattern.dc.FillSolidRect(0, 0, 4, 4, RGB(0xFF, 0x0F, 0x0F));
    s.dc.BitBlt(0, 0, 1, 1, &pattern.dc, 0, 0, SRCAND);
    s.dc.BitBlt(1, 0, 1, 1, &pattern.dc, 0, 0, SRCPAINT);
    s.dc.BitBlt(2, 0, 1, 1, &pattern.dc, 0, 0, SRCINVERT);
    s.dc.BitBlt(3, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
    EXPECT_EQ(s.At(0, 0), RGB(0x0F, 0x00, 0x03));
    EXPECT_EQ(s.At(1, 0), RGB(0xFF, 0xFF, 0x3F));
    EXPECT_EQ(s.At(2, 0), RGB(0xF0, 0xFF, 0x3C));
    EXPECT_EQ(s.At(3, 0), RGB(0xF0, 0x0F, 0xCC));
}

TEST(BlitTest, StretchBltRepeatsPixelsAndNegativeExtentsMirror) {
    Source source;
    Surface s(20, 20);
    ASSERT_TRUE(s.dc.StretchBlt(0, 0, 8, 4, &source.dc, 0, 0, 4, 2, SRCCOPY));
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(s.At(x, 0), RGB(static_cast<std::uint8_t>(10 * (x / 2 + 1)), 0, 0)) << x;
        EXPECT_EQ(s.At(x, 1), s.At(x, 0));
    }
    Surface mirrored(20, 20);
    ASSERT_TRUE(mirrored.dc.StretchBlt(3, 0, -4, 2, &source.dc, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(mirrored.At(0, 0), RGB(40, 0, 0));
    EXPECT_EQ(mirrored.At(3, 0), RGB(10, 0, 0));
}

TEST(BlitTest, ConstantAlphaBlendsByGdiArithmetic) {
    Surface red(10, 10);
    red.dc.FillSolidRect(0, 0, 10, 10, kRed);
    Surface s(10, 10);
    s.dc.FillSolidRect(0, 0, 10, 10, kBlue);
    BLENDFUNCTION half;
    half.SourceConstantAlpha = 127;
    ASSERT_TRUE(s.dc.AlphaBlend(0, 0, 5, 10, &red.dc, 0, 0, 10, 10, half));
    EXPECT_TRUE(Near(s.At(0, 0), 127, 0, 128)) << std::hex << s.At(0, 0);
    EXPECT_TRUE(Near(s.At(4, 9), 127, 0, 128));
    EXPECT_EQ(s.At(5, 0), kBlue) << "right of the target";
    EXPECT_EQ(qAlpha(s.Pixels().pixel(0, 0)), 255) << "opaque over opaque stays opaque";

    BLENDFUNCTION none;
    none.SourceConstantAlpha = 0;
    s.dc.AlphaBlend(5, 0, 5, 10, &red.dc, 0, 0, 5, 10, none);
    EXPECT_EQ(s.At(7, 5), kBlue);
}

TEST(BlitTest, PerPixelAlphaUsesThePremultipliedSource) {
    CBitmap translucent;
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 128)); // half red
    image.setPixel(1, 0, qRgba(0, 255, 0, 0));   // nothing
    ASSERT_TRUE(translucent.CreateFromImage(image));
    CDC source;
    source.CreateCompatibleDC(nullptr);
    source.SelectObject(&translucent);
    Surface s(2, 1);
    s.dc.FillSolidRect(0, 0, 2, 1, kBlue);
    BLENDFUNCTION own;
    own.AlphaFormat = AC_SRC_ALPHA;
    ASSERT_TRUE(s.dc.AlphaBlend(0, 0, 2, 1, &source, 0, 0, 2, 1, own));
    EXPECT_TRUE(Near(s.At(0, 0), 128, 0, 127)) << std::hex << s.At(0, 0);
    EXPECT_EQ(s.At(1, 0), kBlue);
    own.SourceConstantAlpha = 127;
    s.dc.FillSolidRect(0, 0, 2, 1, kBlue);
    s.dc.AlphaBlend(0, 0, 2, 1, &source, 0, 0, 2, 1, own);
    EXPECT_TRUE(Near(s.At(0, 0), 64, 0, 191)) << std::hex << s.At(0, 0);
}

TEST(BlitTest, AlphaBlendRespectsTheClipAndRefusesBadRectangles) {
    Surface red(10, 10);
    red.dc.FillSolidRect(0, 0, 10, 10, kRed);
    Surface s(10, 10);
    s.dc.IntersectClipRect(0, 0, 3, 3);
    BLENDFUNCTION opaque;
    ASSERT_TRUE(s.dc.AlphaBlend(0, 0, 10, 10, &red.dc, 0, 0, 10, 10, opaque));
    EXPECT_EQ(InkBox(s.Pixels()), QRect(0, 0, 3, 3));
    EXPECT_FALSE(s.dc.AlphaBlend(0, 0, 10, 10, &red.dc, 5, 5, 10, 10, opaque));
    EXPECT_FALSE(s.dc.AlphaBlend(0, 0, -1, 10, &red.dc, 0, 0, 10, 10, opaque));
    EXPECT_FALSE(s.dc.AlphaBlend(0, 0, 1, 1, nullptr, 0, 0, 1, 1, opaque));
    EXPECT_TRUE(s.dc.AlphaBlend(INT_MAX, INT_MAX, INT_MAX, INT_MAX, &red.dc, 0, 0, 10, 10, opaque));
}

TEST(BlitTest, TransparentBltLeavesTheKeyColourOut) {
    Surface source(3, 1);
    source.dc.SetPixel(0, 0, RGB(255, 0, 255));
    source.dc.SetPixel(1, 0, kRed);
    source.dc.SetPixel(2, 0, RGB(255, 0, 255));
    Surface s(6, 2);
    s.dc.FillSolidRect(0, 0, 6, 2, kBlue);
    ASSERT_TRUE(s.dc.TransparentBlt(0, 0, 6, 2, &source.dc, 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(s.At(0, 0), kBlue);
    EXPECT_EQ(s.At(1, 1), kBlue);
    EXPECT_EQ(s.At(2, 0), kRed);
    EXPECT_EQ(s.At(3, 1), kRed);
    EXPECT_EQ(s.At(4, 0), kBlue);
    EXPECT_FALSE(s.dc.TransparentBlt(0, 0, 6, 2, &source.dc, 1, 0, 3, 1, kRed));
}

TEST(BlitTest, BlittingWithinOneSurfaceReadsTheSourceAsItWas) {
    Surface s(10, 1);
    for (int x = 0; x < 5; ++x)
        s.dc.SetPixel(x, 0, RGB(static_cast<std::uint8_t>(x * 10 + 10), 0, 0));
    s.dc.BitBlt(1, 0, 5, 1, &s.dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(s.At(x, 0), RGB(static_cast<std::uint8_t>(x * 10), 0, 0)) << x;
}

TEST(BlitTest, BitmapOutlivesItsOwnerWhileSelected) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    {
        CBitmap bitmap;
        bitmap.CreateBitmap(10, 10);
        dc.SelectObject(&bitmap);
    }
    dc.FillSolidRect(0, 0, 10, 10, kRed);
    EXPECT_EQ(dc.GetPixel(9, 9), kRed);
    EXPECT_EQ(dc.Surface()->size(), QSize(10, 10));
}

} // namespace
