#include "nubra/pen_style.h"

#include <gtest/gtest.h>

namespace {

// -1: refused, the style left as it was.
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
        {L"", -1},
        {L"7", -1},
        {L"-1", -1},
        {L"dashes", -1},
        {L"dash dot", -1},
        {L"06", -1},
    };
    for (const auto& c : cases) {
        int style = 42;
        EXPECT_EQ(syschar::getPenStyle(style, c.name), c.style >= 0) << c.name;
        EXPECT_EQ(style, c.style >= 0 ? c.style : 42) << c.name;
    }
}

} // namespace
