#include "nubra/pen_style.h"

#include <gtest/gtest.h>

namespace {

TEST(PenStyleTest, NamesInAnyCaseAndNumbers) {
    struct Case {
        const wchar_t* name;
        int style;
    };
    const Case cases[] = {
        {L"solid", PS_SOLID},
        {L"DASH", PS_DASH},
        {L"Dot", PS_DOT},
        {L"DashDot", PS_DASHDOT},
        {L"dashdotdot", PS_DASHDOTDOT},
        {L"null", PS_NULL},
        {L"None", PS_NULL},
        {L"InsideFrame", PS_INSIDEFRAME},
        {L"3", PS_DASHDOT},
        {L"0", PS_SOLID},
        {L"6", PS_INSIDEFRAME},
    };
    for (const auto& c : cases) {
        int style = -1;
        EXPECT_TRUE(syschar::getPenStyle(style, c.name)) << c.name;
        EXPECT_EQ(style, c.style) << c.name;
    }
}

TEST(PenStyleTest, UnknownLeavesStyleUntouched) {
    for (const wchar_t* bad : {L"", L"7", L"-1", L"dashes", L"dash dot", L"06"}) {
        int style = 42;
        EXPECT_FALSE(syschar::getPenStyle(style, bad)) << bad;
        EXPECT_EQ(style, 42) << bad;
    }
}

} // namespace
