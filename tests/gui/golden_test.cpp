// Whole drawings compared with reference images in tests/gui/golden: shapes without text
// pixel for pixel, text within a small tolerance.
#include <gtest/gtest.h>

#include "support/golden_image.h"
#include "surface.h"

namespace {

const orvo::test::GoldenPlace kPlace{ORVO_GOLDEN_DIR, ORVO_GOLDEN_FAILURES};

TEST(GoldenTest, ShapesHatchesAndClipping) {
    Surface s(240, 160);
    CPen red(PS_SOLID, 1, RGB(200, 0, 0));
    CPen dashed(PS_DASHDOT, 1, RGB(0, 0, 160));
    CBrush hatches[] = {CBrush(HS_HORIZONTAL, RGB(0, 100, 0)),
                        CBrush(HS_VERTICAL, RGB(0, 100, 0)),
                        CBrush(HS_FDIAGONAL, RGB(0, 100, 0)),
                        CBrush(HS_BDIAGONAL, RGB(0, 100, 0)),
                        CBrush(HS_CROSS, RGB(0, 100, 0)),
                        CBrush(HS_DIAGCROSS, RGB(0, 100, 0))};
    s.dc.SelectObject(&red);
    s.dc.SetBkColor(RGB(255, 255, 200));
    for (int i = 0; i < 6; ++i) {
        s.dc.SelectObject(&hatches[i]);
        s.dc.Rectangle(5 + i * 38, 5, 5 + i * 38 + 33, 38);
    }
    CBrush yellow(RGB(250, 220, 0));
    s.dc.SelectObject(&yellow);
    s.dc.Ellipse(5, 45, 75, 95);
    s.dc.RoundRect(80, 45, 150, 95, 16, 16);
    const CPoint arrow[] = {{160, 45}, {230, 70}, {160, 95}, {180, 70}};
    s.dc.Polygon(arrow, 4);

    s.dc.SaveDC();
    CRgn ellipse;
    ellipse.CreateEllipticRgn(5, 100, 115, 155);
    s.dc.SelectClipRgn(&ellipse);
    s.dc.SelectObject(&hatches[5]);
    s.dc.SelectStockObject(NULL_PEN);
    s.dc.Rectangle(0, 100, 240, 160);
    s.dc.RestoreDC(-1);

    s.dc.SelectObject(&dashed);
    s.dc.SetBkMode(TRANSPARENT);
    s.dc.MoveTo(120, 100);
    s.dc.LineTo(235, 155);
    s.dc.LineTo(235, 100);
    s.dc.LineTo(120, 155);
    EXPECT_TRUE(orvo::test::MatchesGolden(s.Pixels(), "shapes_hatches_clipping", kPlace));
}

TEST(GoldenTest, TextAlignmentFlags) {
    Surface s(240, 150);
    LOGFONT lf;
    lf.lfHeight = -13;
    lf.lfFaceName = L"굴림";
    CFont font(lf);
    s.dc.SelectObject(&font);
    s.dc.SetBkMode(TRANSPARENT);
    CBrush frame(RGB(180, 180, 180));
    const unsigned formats[] = {
        DT_LEFT | DT_TOP, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM, DT_RIGHT | DT_VCENTER};
    const wchar_t* texts[] = {L"왼쪽 위", L"가운데", L"오른쪽 아래", L"-1,234.50"};
    for (int i = 0; i < 4; ++i) {
        CRect cell(
            5 + (i % 2) * 118, 5 + (i / 2) * 40, 5 + (i % 2) * 118 + 112, 5 + (i / 2) * 40 + 34);
        s.dc.FrameRect(cell, &frame);
        s.dc.SetTextColor(i == 3 ? RGB(0, 0, 220) : RGB(0, 0, 0));
        s.dc.DrawText(texts[i], cell, formats[i] | DT_SINGLELINE);
    }
    CRect wrapped(5, 90, 117, 145);
    s.dc.FrameRect(wrapped, &frame);
    s.dc.DrawText(L"줄바꿈 되는 긴 문장 word wrap", wrapped, DT_WORDBREAK | DT_CENTER);
    CRect ellipsis(123, 90, 235, 110);
    s.dc.FrameRect(ellipsis, &frame);
    s.dc.DrawText(
        L"말줄임표가 붙는 아주 긴 글", ellipsis, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    s.dc.SetBkMode(OPAQUE);
    s.dc.SetBkColor(RGB(255, 230, 230));
    s.dc.SetTextColor(RGB(200, 0, 0));
    s.dc.TextOut(125, 120, L"&&OPAQUE 배경");
    EXPECT_TRUE(orvo::test::MatchesGolden(s.Pixels(), "text_alignment", kPlace, 8));
}

} // namespace
