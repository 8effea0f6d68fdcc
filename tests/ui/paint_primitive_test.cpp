// What the primitives draw, read back pixel by pixel from a memory DC.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "theme_markup.h"
#include "ui/ui_paint_gradient.h"
#include "ui/ui_paint_tools.h"

namespace {

using orvo::test::Canvas;
using orvo::test::TestObject;
using orvo::test::ThemeFrom;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFill = RGB(0, 128, 0);
constexpr COLORREF kShadow = RGB(160, 160, 160);
constexpr COLORREF kLight = RGB(227, 227, 227);
constexpr COLORREF kDarkShadow = RGB(105, 105, 105);

// Draws the default style's first event over `object` into a fresh canvas.
Canvas Paint(const std::string& primitives, TestObject object = {}) {
    const auto theme = ThemeFrom("<UIStyle Control=\"default\"><DrawEvent>" + primitives +
                                 "</DrawEvent></UIStyle>");
    Canvas canvas;
    theme->Draw(canvas.dc.get(), &object, nullptr);
    return canvas;
}

TEST(PaintPrimitiveTest, SunkenBorderShrinksTheFillByTheLinesItDraws) {
    TestObject object;
    object.rect = CRect(0, 0, 20, 10);
    const Canvas single =
        Paint(R"(<Border Flag="RECT" Edge="Sunken"/><Fill BackColor="0,128,0"/>)", object);
    EXPECT_EQ(single.At(0, 0), kShadow); // top-left outer line of a sunken edge
    EXPECT_EQ(single.At(19, 9), kLight); // bottom-right outer line, single
    EXPECT_EQ(single.At(1, 1), kFill);
    EXPECT_EQ(single.At(18, 8), kFill);

    const Canvas twice =
        Paint(R"(<Border Flag="RECT,Double" Edge="Sunken"/><Fill BackColor="0,128,0"/>)", object);
    EXPECT_EQ(twice.At(0, 0), kShadow);
    EXPECT_EQ(twice.At(19, 9), RGB(255, 255, 255)); // highlight when doubled
    EXPECT_EQ(twice.At(5, 1), kDarkShadow);         // inner top line
    EXPECT_EQ(twice.At(1, 1), kDarkShadow);         // the inner left line starts below the top
    EXPECT_EQ(twice.At(2, 2), kFill);
    EXPECT_EQ(twice.At(17, 7), kFill);
    EXPECT_EQ(twice.At(18, 8), kLight); // inner bottom-right line of a sunken inner edge

    const Canvas covered =
        Paint(R"(<Border Flag="RECT,NoAdjust" Edge="Sunken"/><Fill BackColor="0,128,0"/>)", object);
    EXPECT_EQ(covered.At(0, 0), kFill);
    EXPECT_EQ(covered.At(19, 9), kFill);

    const Canvas topOnly = Paint(R"(<Border Flag="TOP,MONO"/>)", object);
    EXPECT_EQ(topOnly.At(5, 0), RGB(0, 0, 0));
    EXPECT_EQ(topOnly.At(0, 5), kWhite);
}

TEST(PaintPrimitiveTest, BorderEdgesPickTheirColoursSideBySide) {
    // Light 1, highlight 2, shadow 3, dark shadow 4 (grey levels), black 0, white 255.
    struct Case {
        const char* edge;
        const char* flag;
        int topOuter, topInner, bottomOuter, bottomInner;
    };
    const Case cases[] = {
        {"Raised", "RECT", 1, 255, 3, 255},
        {"Raised", "RECT,Double", 1, 2, 4, 3},
        {"Raised", "RECT,Double,SOFT", 2, 1, 4, 3},
        {"Sunken", "RECT,Double,SOFT", 4, 3, 2, 1},
        {"Etched", "RECT,Double", 3, 2, 2, 3},
        {"Bump", "RECT,Double", 1, 4, 4, 1},
        {"Raised", "RECT,Double,FLAT", 3, 1, 3, 1},
        {"Sunken", "RECT,Double,MONO", 0, 255, 0, 255},
        {"RaisedInner", "RECT,Double", 255, 2, 255, 3},
    };
    TestObject object;
    object.rect = CRect(0, 0, 20, 10);
    for (const Case& c : cases) {
        const Canvas canvas = Paint(std::string("<Border Light=\"1,1,1\" HighLight=\"2,2,2\" "
                                                "Shadow=\"3,3,3\" DarkShadow=\"4,4,4\" Edge=\"") +
                                        c.edge + "\" Flag=\"" + c.flag + "\"/>",
                                    object);
        const int seen[] = {GetRValue(canvas.At(5, 0)),
                            GetRValue(canvas.At(5, 1)),
                            GetRValue(canvas.At(5, 9)),
                            GetRValue(canvas.At(5, 8))};
        EXPECT_EQ(seen[0], c.topOuter) << c.edge << " " << c.flag;
        EXPECT_EQ(seen[1], c.topInner) << c.edge << " " << c.flag;
        EXPECT_EQ(seen[2], c.bottomOuter) << c.edge << " " << c.flag;
        EXPECT_EQ(seen[3], c.bottomInner) << c.edge << " " << c.flag;
    }
}

TEST(PaintPrimitiveTest, LinearGradientRunsColumnByColumnInsideAOnePixelFrame) {
    TestObject object;
    object.rect = CRect(0, 0, 12, 6);
    const Canvas canvas =
        Paint(R"(<Gradient Type="Horizontal" Color="0,0,0.255,255,255"/>)", object);
    // Width 12: a run of eleven steps from x = 1, cut at x = 10, and an untouched frame.
    for (int k = 0; k <= 9; ++k) {
        const int expected = static_cast<int>(std::lround(255.0 * k / 11));
        EXPECT_EQ(GetRValue(canvas.At(1 + k, 2)), expected) << "column " << 1 + k;
    }
    EXPECT_EQ(canvas.At(0, 2), kWhite);
    EXPECT_EQ(canvas.At(11, 2), kWhite);
    EXPECT_EQ(canvas.At(5, 0), kWhite);
    EXPECT_EQ(canvas.At(5, 5), kWhite);
    EXPECT_EQ(canvas.At(5, 4), canvas.At(5, 1));
}

TEST(PaintPrimitiveTest, GradientDirectionsAndSingleStops) {
    TestObject object;
    object.rect = CRect(0, 0, 10, 12);
    const Canvas up = Paint(R"(<Gradient Direction="Up" Color="255,0,0.0,0,255"/>)", object);
    EXPECT_EQ(up.At(4, 1), RGB(0, 0, 255)); // the stops run bottom to top
    EXPECT_EQ(GetRValue(up.At(4, 10)), std::lround(255.0 * 9 / 11));
    EXPECT_EQ(GetBValue(up.At(4, 10)), std::lround(255.0 * 2 / 11));
    const Canvas one =
        Paint(R"(<Gradient Color="255,0,0"/><Gradient Type="Radial" Color="255,0,0"/>)", object);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(one.At(x, y), kWhite);
    const Canvas radial =
        Paint(R"(<Gradient Type="Radial" Color="255,0,0.0,0,255.0,255,0"/>)", object);
    EXPECT_EQ(radial.At(0, 0), RGB(0, 255, 0)); // corners keep the inner fill of the last stop
    EXPECT_NE(radial.At(5, 1), kWhite);
}

TEST(PaintPrimitiveTest, AGivenGammaMixesInLightAndABadOneIsIgnored) {
    TestObject object;
    object.rect = CRect(0, 0, 12, 6);
    auto redAt = [&](const char* gamma, int x) {
        const std::string markup =
            std::string(R"(<Gradient Type="Horizontal" Color="0,0,0.255,255,255")") + gamma + "/>";
        return static_cast<int>(GetRValue(Paint(markup, object).At(x, 2)));
    };
    // Column 6 is step 5 of 11: 5/11 of the light, coded back with the gamma.
    const double t = 5.0 / 11;
    EXPECT_EQ(redAt(R"( Gamma="0.4")", 6), std::lround(std::pow(t, 0.4) * 255));
    EXPECT_EQ(redAt(R"( Gamma="2.5")", 6), std::lround(std::pow(t, 2.5) * 255));
    EXPECT_EQ(redAt(R"( Gamma="1")", 6), std::lround(t * 255));
    EXPECT_EQ(redAt(R"( Gamma="0.4")", 1), 0) << "the stops themselves are kept";
    EXPECT_EQ(redAt(R"( Gamma="0.4")", 10), std::lround(std::pow(9.0 / 11, 0.4) * 255));
    for (const char* ignored :
         {"", R"( Gamma="0")", R"( Gamma="-2")", R"( Gamma="1e300")", R"( Gamma="nan")"})
        EXPECT_EQ(redAt(ignored, 6), std::lround(t * 255)) << ignored;
}

TEST(PaintPrimitiveTest, AlphaBlendOfFiftyPercentBlendsWithConstantAlpha127) {
    const auto theme = ThemeFrom(
        R"(<UIPaint Name="p"><AlphaBlend Alpha="50"><Fill BackColor="0,0,0"/></AlphaBlend></UIPaint>)");
    ASSERT_NE(theme->GetUIPaint(L"p"), nullptr);
    Canvas canvas;
    CRect rect(10, 10, 30, 20);
    theme->GetUIPaint(L"p")->Draw(canvas.dc.get(), rect, nullptr, nullptr);
    const int value = GetRValue(canvas.At(15, 15));
    EXPECT_NEAR(value, 255 - 127, 1);
    EXPECT_EQ(canvas.At(9, 15), kWhite);
    EXPECT_EQ(canvas.At(30, 15), kWhite);
}

TEST(PaintPrimitiveTest, SetRectLaysOutAndClipsWhatItsChildrenDraw) {
    TestObject object;
    object.rect = CRect(10, 10, 50, 30);
    const Canvas laidOut =
        Paint(R"(<SetRect Rect="5,5,50%,5" Margin="1,1,1,1"><Fill BackColor="0,128,0"/></SetRect>)",
              object);
    EXPECT_EQ(laidOut.At(15, 15), kWhite); // the margin
    EXPECT_EQ(laidOut.At(16, 16), kFill);
    EXPECT_EQ(laidOut.At(33, 18), kFill);
    EXPECT_EQ(laidOut.At(34, 18), kWhite);

    const std::string inner =
        R"(<SetRect Rect="-5,-5,40,40"><Fill BackColor="0,128,0"/></SetRect>)";
    const Canvas clipped =
        Paint("<SetRect Rect=\"0,0,10,10\" Clipping=\"1\">" + inner + "</SetRect>", object);
    EXPECT_EQ(clipped.At(12, 12), kFill);
    EXPECT_EQ(clipped.At(8, 8), kWhite);
    EXPECT_EQ(clipped.At(25, 15), kWhite);
    const Canvas unclipped = Paint("<SetRect Rect=\"0,0,10,10\">" + inner + "</SetRect>", object);
    EXPECT_EQ(unclipped.At(8, 8), kFill);
    EXPECT_EQ(unclipped.At(25, 15), kFill);
}

TEST(PaintPrimitiveTest, LinesPixelsAndShapesUseTheSelectedPenAndBrush) {
    TestObject object;
    object.rect = CRect(10, 10, 50, 30);
    const Canvas canvas = Paint(R"(
<Pen PenStyle="null"><Brush Color="0,0,255"><Rectangle Type="ellipse"/></Brush></Pen>
<Pen Color="255,0,0">
  <MoveTo x="0" y="50%"/><LineTo x="100%" y="50%"/>
  <Pixel x="2" y="2"/>
</Pen>)",
                                object);
    EXPECT_EQ(canvas.At(10, 20), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(49, 20), RGB(255, 0, 0));
    EXPECT_NE(canvas.At(50, 20), RGB(255, 0, 0)); // LineTo leaves out its end point
    EXPECT_EQ(canvas.At(12, 12), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(13, 12), kWhite);
    EXPECT_EQ(canvas.At(30, 25), RGB(0, 0, 255)); // inside the ellipse
    EXPECT_EQ(canvas.At(10, 10), kWhite);         // the ellipse leaves the corner
}

TEST(PaintPrimitiveTest, TransformsThatDoNotInvertLeaveTheChildrenUntransformed) {
    TestObject object;
    object.rect = CRect(0, 0, 10, 10);
    const Canvas moved = Paint(
        R"(<TransForm dx="20"><Fill BackColor="0,128,0"/></TransForm><Fill BackColor="255,0,0"/>)",
        object);
    EXPECT_EQ(moved.At(25, 5), kFill);
    EXPECT_EQ(moved.At(5, 5), RGB(255, 0, 0)); // identity again after the primitive
    const Canvas flat = Paint(
        R"(<TransForm xx="0" yy="0" dx="1e300"><Fill BackColor="0,128,0"/></TransForm>)", object);
    EXPECT_EQ(flat.At(5, 5), kFill);
}

TEST(PaintPrimitiveTest, TextDrawsItsValueCentredAndTheObjectsContentRightAligned) {
    TestObject object;
    object.rect = CRect(0, 0, 60, 20);
    object.content = L"12";
    const auto theme = ThemeFrom(R"(<UIStyle Control="default"><DrawEvent Color="0,0,255">
        <Text TextColorIndex="0"/></DrawEvent></UIStyle>)");
    Canvas canvas(60, 20);
    theme->Draw(canvas.dc.get(), &object, nullptr);
    int leftmost = 60;
    int rightmost = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (canvas.At(x, y) != kWhite) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
                EXPECT_GT(GetBValue(canvas.At(x, y)), GetRValue(canvas.At(x, y)));
            }
    ASSERT_GE(rightmost, 0) << "no text drawn";
    EXPECT_GE(rightmost, 54);
    EXPECT_GT(leftmost, 30);

    const Canvas centred = Paint(R"(<Text Value="88" TextColor="0,0,0"/>)", object);
    int inkLeft = 60;
    int inkRight = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (centred.At(x, y) != kWhite) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
    ASSERT_GE(inkRight, 0);
    EXPECT_LE(std::abs((inkLeft + inkRight) - 60), 3);
}

TEST(PaintPrimitiveTest, FillShowsTheUpdateColourOnlyWhileAnAnimatedObjectHighlights) {
    TestObject object;
    object.rect = CRect(0, 0, 10, 10);
    const std::string fill = R"(<Fill BackColor="0,128,0" AniColor="255,0,0"/>)";
    object.flags = orvo::PaintTarget::STATE_ANIMATION;
    EXPECT_EQ(Paint(fill, object).At(5, 5), kFill);
    object.updates = 2;
    EXPECT_EQ(Paint(fill, object).At(5, 5), RGB(255, 0, 0));
    object.flags = 0;
    EXPECT_EQ(Paint(fill, object).At(5, 5), kFill);
}

TEST(PaintPrimitiveTest, AttributesAreReadIntoTheirFields) {
    const auto theme = ThemeFrom(R"(
<UIPaint Name="g"><Gradient Direction="Left" Type="Radial" Color="1,1,1.2,2,2" Gamma="2.2"/></UIPaint>
<UIPaint Name="a"><AlphaBlend Alpha="1000"/></UIPaint>)");
    EXPECT_NE(theme->GetUIPaint(L"g"), nullptr);
    CUIPaintGradient gradient;
    auto root =
        orvo::test::ParseMarkup(R"(<Gradient Direction="Left" Color="1,1,1.2,2,2" Gamma="2.2"/>)");
    ASSERT_NE(root, nullptr);
    ASSERT_TRUE(gradient.SetAttribute(theme.get(), root.get()));
    EXPECT_EQ(gradient.GetType(), CUIPaintGradient::TYPE_HORIZONTAL);
    ASSERT_EQ(gradient.Stops().size(), 2u);
    EXPECT_EQ(gradient.Stops()[0], RGB(2, 2, 2));
    EXPECT_DOUBLE_EQ(gradient.GetGamma(), 2.2);
    CUIPaintAlphaBlend alpha;
    auto blend = orvo::test::ParseMarkup(R"(<AlphaBlend Alpha="1000"/>)");
    ASSERT_TRUE(alpha.SetAttribute(theme.get(), blend.get()));
    EXPECT_EQ(alpha.Alpha(), 255);
}

} // namespace
