#include "nubra/string_format.h"

#include <gtest/gtest.h>

namespace {

TEST(StringFormatTest, ForwardsArgumentsInOrder) {
    EXPECT_EQ(StringFormat(L"%s=%d (%.2f)", L"qty", 15, 2.5), L"qty=15 (2.50)");
    EXPECT_EQ(StringFormat(L"100%%"), L"100%");
}

} // namespace
