// DrawText, ExtTextOut and GetTextExtent: where text lands, what it covers, how it is cut.
#include <gtest/gtest.h>

#include "surface.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

struct TextSurface : Surface {
    CFont font;
    TextSurface(int width = 200, int height = 100) : Surface(width, height) {
        LOGFONT lf;
        lf.lfHeight = -14;
        lf.lfFaceName = L"굴림";
        font.CreateFontIndirect(lf);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
    }
};

TEST(TextTest, HangulDrawsGlyphsInsideItsExtent) {
    TextSurface s;
    const CSize extent = s.dc.GetTextExtent(L"가나다 123");
    EXPECT_GT(extent.cx, 40);
    EXPECT_LT(extent.cx, 120);
    EXPECT_GE(extent.cy, 14);
    EXPECT_LE(extent.cy, 24);
    EXPECT_GT(s.dc.GetTextExtent(L"가나다라").cx, s.dc.GetTextExtent(L"가나").cx);
    EXPECT_EQ(s.dc.GetTextExtent(L"").cx, 0);

    ASSERT_TRUE(s.dc.TextOut(10, 10, L"가나다 123"));
    const QRect ink = InkBox(s.Pixels());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(InkCount(s.Pixels()), 60);
    EXPECT_GE(ink.left(), 10);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LE(ink.right(), 10 + extent.cx);
    EXPECT_LE(ink.bottom(), 10 + extent.cy);
}

TEST(TextTest, SingleLineAlignmentPlacesTheTextInItsRectangle) {
    const CRect rect(20, 10, 180, 90);
    const unsigned formats[] = {DT_LEFT | DT_TOP, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM};
    QRect boxes[3];
    for (int i = 0; i < 3; ++i) {
        TextSurface s;
        CRect r = rect;
        const int result = s.dc.DrawText(L"12,345", r, formats[i] | DT_SINGLELINE);
        boxes[i] = InkBox(s.Pixels());
        ASSERT_FALSE(boxes[i].isEmpty()) << i;
        EXPECT_TRUE(QRect(20, 10, 160, 80).contains(boxes[i])) << i;
        EXPECT_GT(result, 0);
    }
    EXPECT_LT(boxes[0].left(), 24);
    EXPECT_LT(boxes[0].top(), 20);
    EXPECT_NEAR(boxes[1].center().x(), 100, 3);
    EXPECT_NEAR(boxes[1].center().y(), 50, 4);
    EXPECT_GT(boxes[2].right(), 172);
    EXPECT_GT(boxes[2].bottom(), 80);
}

TEST(TextTest, CalcRectMeasuresWithoutDrawing) {
    TextSurface s;
    const int lineHeight = s.dc.GetTextExtent(L"X").cy;
    CRect one(0, 0, 1000, 0);
    EXPECT_EQ(s.dc.DrawText(L"abc", one, DT_SINGLELINE | DT_CALCRECT), lineHeight);
    EXPECT_EQ(one.Width(), s.dc.GetTextExtent(L"abc").cx);
    EXPECT_EQ(one.Height(), lineHeight);

    CRect lines(0, 0, 1000, 0);
    EXPECT_EQ(s.dc.DrawText(L"first\r\nsecond\nthird", lines, DT_CALCRECT), 3 * lineHeight);
    EXPECT_EQ(lines.Width(), s.dc.GetTextExtent(L"second").cx);

    const int wordWidth = s.dc.GetTextExtent(L"alpha beta").cx;
    CRect wrapped(0, 0, wordWidth, 0);
    EXPECT_EQ(s.dc.DrawText(L"alpha beta gamma", wrapped, DT_WORDBREAK | DT_CALCRECT),
              2 * lineHeight);
    CRect narrow(0, 0, 5, 0);
    EXPECT_EQ(s.dc.DrawText(L"alpha beta", narrow, DT_WORDBREAK | DT_CALCRECT), 2 * lineHeight)
        << "a word wider than the line stands alone";
    EXPECT_EQ(InkCount(s.Pixels()), 0);
}

TEST(TextTest, TextIsClippedToItsRectangleUnlessNoClip) {
    TextSurface clipped;
    CRect r(10, 10, 30, 40);
    clipped.dc.DrawText(L"A long label that overflows", r, DT_SINGLELINE);
    EXPECT_LE(InkBox(clipped.Pixels()).right(), 29);

    TextSurface free;
    CRect f(10, 10, 30, 40);
    free.dc.DrawText(L"A long label that overflows", f, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(free.Pixels()).right(), 60);
}

TEST(TextTest, EndEllipsisShortensTheLineToFit) {
    TextSurface s;
    const int dots = s.dc.GetTextExtent(L"...").cx;
    CRect r(10, 10, 10 + dots + 30, 40);
    CRect measured = r;
    s.dc.DrawText(
        L"A long label that overflows", measured, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(measured.Width(), r.Width());
    EXPECT_GT(measured.Width(), dots);
    s.dc.DrawText(L"A long label that overflows", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(InkBox(s.Pixels()).right(), r.right);
}

TEST(TextTest, PrefixMarksAreDroppedUnlessNoPrefix) {
    TextSurface s;
    CRect withPrefix(0, 0, 1000, 0);
    s.dc.DrawText(L"&File", withPrefix, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(withPrefix.Width(), s.dc.GetTextExtent(L"File").cx);
    CRect literal(0, 0, 1000, 0);
    s.dc.DrawText(L"&File", literal, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(literal.Width(), s.dc.GetTextExtent(L"&File").cx);
    CRect doubled(0, 0, 1000, 0);
    s.dc.DrawText(L"A&&B", doubled, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(doubled.Width(), s.dc.GetTextExtent(L"A&B").cx);
}

TEST(TextTest, BackgroundModesAndExtTextOutOptions) {
    TextSurface s;
    s.dc.SetBkMode(OPAQUE);
    s.dc.SetBkColor(kRed);
    s.dc.TextOut(10, 10, L"ab");
    const CSize extent = s.dc.GetTextExtent(L"ab");
    EXPECT_EQ(s.At(10, 10), kRed) << "the cell behind the text is filled";
    EXPECT_EQ(s.At(10 + extent.cx - 1, 10 + extent.cy - 1), kRed);
    EXPECT_TRUE(s.IsWhite(10 + extent.cx, 10));

    TextSurface opaque;
    opaque.dc.SetBkColor(RGB(0, 0, 255));
    const CRect r(50, 50, 70, 60);
    opaque.dc.ExtTextOut(50, 50, ETO_OPAQUE | ETO_CLIPPED, &r, L"clipped text");
    EXPECT_EQ(InkBox(opaque.Pixels()), QRect(50, 50, 20, 10)) << "filled, text clipped";
    int background = 0;
    for (int y = 50; y < 60; ++y) {
        for (int x = 50; x < 70; ++x)
            background += opaque.At(x, y) == RGB(0, 0, 255) ? 1 : 0;
    }
    EXPECT_GT(background, 100);

    TextSurface right;
    right.dc.SetTextAlign(TA_RIGHT | TA_TOP);
    right.dc.TextOut(100, 10, L"99");
    EXPECT_LE(InkBox(right.Pixels()).right(), 99);
    EXPECT_GT(InkBox(right.Pixels()).right(), 90);
}

TEST(TextTest, NullAndEmptyTextDrawNothing) {
    TextSurface s;
    CRect r(0, 0, 100, 100);
    EXPECT_EQ(s.dc.DrawText(nullptr, -1, &r, 0), 0);
    EXPECT_EQ(s.dc.DrawText(L"abc", 3, nullptr, 0), 0);
    EXPECT_EQ(s.dc.DrawText(L"abc", 0, &r, DT_SINGLELINE), s.dc.GetTextExtent(L"X").cy);
    EXPECT_TRUE(s.dc.TextOut(0, 0, L""));
    CRect huge(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    s.dc.DrawText(L"far", huge, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    s.dc.TextOut(INT_MAX, INT_MIN, std::wstring(1, static_cast<wchar_t>(0x10FFFF + 5)));
    EXPECT_EQ(InkCount(s.Pixels()), 0);
}

} // namespace
