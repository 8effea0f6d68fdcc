#include "vbscript/name_index.h"

#include <gtest/gtest.h>

#include <string>

#include "vbscript/global_scope.h"

using vbs::NameIndex;

namespace {

TEST(NameIndexTest, NumbersNamesInOrderAndFindsThemInAnyCase) {
    NameIndex index;
    EXPECT_EQ(index.Find(L"price"), -1);
    EXPECT_EQ(index.Add(L"Price"), std::make_pair(0, true));
    EXPECT_EQ(index.Add(L"qty"), std::make_pair(1, true));
    EXPECT_EQ(index.Add(L"PRICE"), std::make_pair(0, false));
    EXPECT_EQ(index.Find(L"pRiCe"), 0);
    EXPECT_EQ(index.Find(L"QTY"), 1);
    EXPECT_EQ(index.Find(L"pric"), -1);
    EXPECT_EQ(index.Find(L"prices"), -1);
    EXPECT_EQ(index.Find(L""), -1);
    EXPECT_EQ(index.Size(), 2u);
    EXPECT_EQ(index.NameOf(0), L"price");
}

// Names that share a hash slot or differ only past their common prefix, and the empty name,
// are told apart; growing the table keeps every number.
TEST(NameIndexTest, KeepsEveryNameThroughGrowth) {
    NameIndex index;
    EXPECT_EQ(index.Add(L""), std::make_pair(0, true));
    for (int i = 1; i <= 100000; ++i)
        ASSERT_EQ(index.Add(L"o" + std::to_wstring(i)).first, i);
    EXPECT_EQ(index.Size(), 100001u);
    for (int i = 1; i <= 100000; i += 997)
        EXPECT_EQ(index.Find(L"O" + std::to_wstring(i)), i);
    EXPECT_EQ(index.Find(L""), 0);
    EXPECT_EQ(index.Find(L"o100001"), -1);
    EXPECT_EQ(index.NameOf(100000), L"o100000");
}

// The index folds names the way every other name table of the engine does.
TEST(NameIndexTest, FoldsAsTheEngineFoldsNames) {
    NameIndex index;
    const std::wstring mixed = L"\u00C9CRAN_\u0391bc";
    index.Add(mixed);
    EXPECT_EQ(index.NameOf(0), vbs::FoldCase(mixed));
    EXPECT_EQ(index.Find(vbs::FoldCase(mixed)), 0);
    EXPECT_EQ(index.Add(L"\uD55C\uAE00").first, 1); // Hangul has no case
    EXPECT_EQ(index.Find(L"\uD55C\uAE00"), 1);
}

} // namespace
