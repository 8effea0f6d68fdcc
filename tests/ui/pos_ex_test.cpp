#include <gtest/gtest.h>

#include <climits>

#include "core/element.h"
#include "ui/pos_ex.h"
#include "ui/rect_ex.h"

namespace {

using Axis = CPosEx::Axis;

// The position `text` resolves to on `axis` of `reference`.
int Resolve(const wchar_t* text,
            const CRect& reference,
            Axis axis = Axis::Horizontal,
            int own = 0) {
    CPosEx pos;
    EXPECT_TRUE(pos.SetPos(text)) << text;
    EXPECT_TRUE(pos.Recalc(reference, axis, own)) << text;
    return pos.GetPos();
}

const CRect kBoard(0, 0, 500, 300);

TEST(PosEx, EachUnitTakesItsExtent) {
    EXPECT_EQ(Resolve(L"120", kBoard), 120);
    EXPECT_EQ(Resolve(L"120px", kBoard), 120);
    EXPECT_EQ(Resolve(L"50%", kBoard), 250);
    EXPECT_EQ(Resolve(L"50%", kBoard, Axis::Vertical), 150);
    EXPECT_EQ(Resolve(L"50#", kBoard, Axis::Horizontal, 100), 200) << "half of 500 - 100";
    EXPECT_EQ(Resolve(L"30rev", kBoard), 90) << "a width from the height";
    EXPECT_EQ(Resolve(L"25min", kBoard), 75) << "\"min\" is found before \"in\"";
    EXPECT_EQ(Resolve(L"10max", kBoard, Axis::Vertical), 50);
    EXPECT_EQ(Resolve(L" -20 ", kBoard), -20);
}

TEST(PosEx, PercentsTruncateTowardZeroAndOfNothingAreNothing) {
    const CRect ten(0, 0, 10, 10);
    EXPECT_EQ(Resolve(L"33.9%", ten), 3);
    EXPECT_EQ(Resolve(L"-33.9%", ten), -3);
    EXPECT_EQ(Resolve(L"12.9", ten), 12);
    EXPECT_EQ(Resolve(L"80%", CRect()), 0);
    EXPECT_EQ(Resolve(L"80min", CRect(0, 0, 0, 400)), 0);
    EXPECT_EQ(Resolve(L"100%", CRect(50, 50, 20, 20)), -30) << "a reversed reference is negative";
}

TEST(PosEx, InchesAndCentimetresAreReadButKeepTheirPosition) {
    CPosEx pos;
    ASSERT_TRUE(pos.SetPos(L"2in"));
    EXPECT_EQ(pos.GetScale(), CPosEx::SCALE_INCH);
    ASSERT_TRUE(pos.Recalc(kBoard, Axis::Horizontal, 0));
    EXPECT_EQ(pos.GetPos(), 0);
    ASSERT_TRUE(pos.SetPos(L"40"));
    ASSERT_TRUE(pos.SetPos(L"3cm"));
    ASSERT_TRUE(pos.Recalc(kBoard, Axis::Horizontal, 0));
    EXPECT_EQ(pos.GetPos(), 40);
}

TEST(PosEx, SnappingRoundsTowardZeroThenAdds) {
    EXPECT_EQ(Resolve(L"50%^8", kBoard), 248);
    EXPECT_EQ(Resolve(L"50%^8^2", kBoard), 250);
    EXPECT_EQ(Resolve(L"-13^8", kBoard), -8) << "the remainder truncates toward zero";
    EXPECT_EQ(Resolve(L"13^-8", kBoard), 8);
    EXPECT_EQ(Resolve(L"13^0^5", kBoard), 13) << "no snapping by zero";
    EXPECT_EQ(Resolve(L"13^x^5", kBoard), 13) << "no snapping by a word";
    EXPECT_EQ(Resolve(L"-1e12^-1^-5", kBoard), INT_MAX - 4) << "INT_MIN - 5 wraps";
}

TEST(PosEx, HugeNumbersSaturate) {
    EXPECT_EQ(Resolve(L"1e12", kBoard), INT_MAX);
    EXPECT_EQ(Resolve(L"-1e12", kBoard), INT_MIN);
    EXPECT_EQ(Resolve(L"1e300%", kBoard), INT_MAX);
    EXPECT_EQ(Resolve(L"1e300#", kBoard, Axis::Horizontal, INT_MIN), INT_MAX);
    EXPECT_EQ(Resolve(L"-1e308max", kBoard), INT_MIN) << "an infinite product";
    EXPECT_EQ(Resolve(L"100%", CRect(INT_MIN, 0, INT_MAX, 0)), -1)
        << "the width wraps, as every rectangle's does";
}

TEST(PosEx, UnreadableExpressionsChangeNothing) {
    CPosEx pos;
    ASSERT_TRUE(pos.SetPos(L"30%^4^1"));
    for (const wchar_t* bad : {L"",
                               L"  ",
                               L"abc",
                               L"%",
                               L"px",
                               L"-",
                               L"+.",
                               L"1.2.3",
                               L"10x",
                               L"1e400",
                               L"inf",
                               L"nan%",
                               L"0x10",
                               L"1^2^3^4",
                               L"１０"}) {
        EXPECT_FALSE(pos.SetPos(bad)) << bad;
        EXPECT_EQ(pos.GetScale(), CPosEx::SCALE_PERCENT) << bad;
        EXPECT_EQ(pos.GetValue(), 30.0) << bad;
        EXPECT_EQ(pos.GetDivisor(), 4) << bad;
        EXPECT_EQ(pos.GetAddend(), 1) << bad;
    }
    CPosEx unset;
    EXPECT_FALSE(unset.Recalc(kBoard, Axis::Horizontal, 0)) << "never set: nothing to resolve";
}

TEST(PosEx, SavesAndLoadsItsSixFields) {
    CPosEx pos;
    ASSERT_TRUE(pos.SetPos(L"12.5%^8^3"));
    ASSERT_TRUE(pos.Recalc(kBoard, Axis::Horizontal, 0));
    XElement saved(L"pos");
    pos.SaveObject(&saved);
    std::wstring value;
    ASSERT_TRUE(saved.GetValue(L"dPos", value));
    EXPECT_EQ(value, L"12.500000");
    CPosEx loaded;
    loaded.LoadObject(&saved);
    EXPECT_EQ(loaded.GetValue(), 12.5);
    EXPECT_EQ(loaded.GetPos(), 59);
    EXPECT_EQ(loaded.GetScale(), CPosEx::SCALE_PERCENT);
    EXPECT_EQ(loaded.GetDivisor(), 8);
    EXPECT_EQ(loaded.GetAddend(), 3);
    EXPECT_TRUE(loaded.IsSnap());

    XElement zeroDivisor(L"pos");
    zeroDivisor.SetValue(L"Scale", L"1");
    zeroDivisor.SetValue(L"dPos", L"50");
    zeroDivisor.SetValue(L"IsDiv", L"True");
    zeroDivisor.SetValue(L"Div", L"0");
    CPosEx snapByZero;
    snapByZero.LoadObject(&zeroDivisor);
    ASSERT_TRUE(snapByZero.Recalc(kBoard, Axis::Horizontal, 0));
    EXPECT_EQ(snapByZero.GetPos(), 250) << "a saved divisor of 0 does not divide";
}

TEST(RectEx, FourExpressionsOrNone) {
    CRectEx rect;
    EXPECT_TRUE(rect.SetRectInfo(L"10, 10%, 50%, -20"));
    ASSERT_TRUE(rect.Recalc(kBoard, CRectEx::MODE_POSITION));
    EXPECT_EQ(rect.rect, CRect(10, 30, 260, 10)) << "a negative height stays negative";
    EXPECT_EQ(rect.point.point, CPoint(10, 30));
    EXPECT_EQ(rect.size.size, CSize(250, -20));
    ASSERT_TRUE(rect.Recalc(kBoard, CRectEx::MODE_MARGIN));
    EXPECT_EQ(rect.rect, CRect(10, 30, 250, -20)) << "margins are four values as they stand";

    EXPECT_FALSE(rect.SetRectInfo(L"1,2,3"));
    EXPECT_FALSE(rect.Recalc(kBoard, CRectEx::MODE_POSITION)) << "the missing height fails";
    EXPECT_EQ(rect.rect, CRect(10, 30, 250, -20)) << "a failed pass leaves the rectangle";
    EXPECT_FALSE(rect.SetRectInfo(L"1,2,3,4,5"));
    EXPECT_FALSE(rect.SetRectInfo(L"1,2,x,4"));
    EXPECT_FALSE(rect.SetRectInfo(L""));
}

TEST(RectEx, WidthRemainderMeasuresFromTheResolvedX) {
    CRectEx rect;
    ASSERT_TRUE(rect.SetRectInfo(L"100,20%,50#,100#"));
    ASSERT_TRUE(rect.Recalc(kBoard, CRectEx::MODE_POSITION));
    EXPECT_EQ(rect.rect, CRect(100, 60, 300, 300));
}

} // namespace
