#include "nubra/color.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorTest, ComponentsAreStoredRedLowest) {
    constexpr COLORREF orange = RGB(255, 128, 1);
    EXPECT_EQ(orange, 0x000180FFu);
    EXPECT_EQ(GetRValue(orange), 255);
    EXPECT_EQ(GetGValue(orange), 128);
    EXPECT_EQ(GetBValue(orange), 1);
}

TEST(ColorTest, AcceptedForms) {
    struct Case {
        const wchar_t* text;
        COLORREF colour;
    };
    const Case cases[] = {
        {L"#FF8001", RGB(255, 128, 1)},
        {L"#ff8001", RGB(255, 128, 1)},
        {L"#F80", RGB(255, 136, 0)},
        {L"RGB(1,2,3)", RGB(1, 2, 3)},
        {L"  rgb ( 1 , 2 , 3 ) ", RGB(1, 2, 3)},
        {L"10, 20,30", RGB(10, 20, 30)},
        {L"255", RGB(255, 0, 0)},
        {L"0xFF0000", RGB(0, 0, 255)}, // a COLORREF in hex is BGR
        {L"0X00ff00", RGB(0, 255, 0)},
        {L"Navy", RGB(0, 0, 128)},
        {L"RED", RGB(255, 0, 0)},
        {L"grey", RGB(128, 128, 128)},
        {L"LightGray", RGB(211, 211, 211)},
        {L"orange", RGB(255, 165, 0)},
    };
    for (const auto& c : cases) {
        COLORREF colour = 0x12345678;
        EXPECT_TRUE(GetColor(c.text, colour)) << c.text;
        EXPECT_EQ(colour, c.colour) << c.text;
    }
}

TEST(ColorTest, JunkLeavesTheColourUntouched) {
    for (const wchar_t* junk : {L"",
                                L"  ",
                                L"#",
                                L"#12345",
                                L"#GG0000",
                                L"256,0,0",
                                L"1,2",
                                L"1,2,3,4",
                                L"1,,3",
                                L"-1,2,3",
                                L"RGB(1,2)",
                                L"RGB(1,2,3",
                                L"RGB(1,2,3)x",
                                L"rgba(1,2,3,4)",
                                L"0x",
                                L"0x1FFFFFFFF",
                                L"-1",
                                L"12abc",
                                L"blu",
                                L"dark red"}) {
        COLORREF colour = 0x12345678;
        EXPECT_FALSE(GetColor(junk, colour)) << junk;
        EXPECT_EQ(colour, 0x12345678u) << junk;
    }
}

} // namespace
