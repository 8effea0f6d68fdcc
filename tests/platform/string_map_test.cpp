#include "platform/base/string_map.h"

#include <gtest/gtest.h>

namespace {

using plat::StringMap;

std::vector<std::wstring> KeysOf(const StringMap& map) {
    std::vector<std::wstring> keys;
    for (const auto& [key, value] : map) {
        keys.push_back(key);
    }
    return keys;
}

TEST(StringMapTest, KeysIgnoreCaseAndKeepFirstSpellingAndOrder) {
    StringMap map;
    map.Set(L"Width", L"10");
    map.Set(L"Height", L"20");
    map.Set(L"WIDTH", L"30");
    EXPECT_EQ(map.Size(), 2u);
    EXPECT_EQ(KeysOf(map), (std::vector<std::wstring>{L"Width", L"Height"}));
    ASSERT_NE(map.Find(L"width"), nullptr);
    EXPECT_EQ(*map.Find(L"width"), L"30");
    EXPECT_EQ(map.Find(L"depth"), nullptr);

    std::wstring value = L"untouched";
    EXPECT_FALSE(map.Lookup(L"depth", value));
    EXPECT_EQ(value, L"untouched");
    EXPECT_TRUE(map.Lookup(L"HEIGHT", value));
    EXPECT_EQ(value, L"20");

    *map.Find(L"height") = L"25";
    EXPECT_EQ(*map.Find(L"Height"), L"25");
    EXPECT_TRUE(map.Remove(L"wIdTh"));
    EXPECT_FALSE(map.Remove(L"width"));
    EXPECT_EQ(KeysOf(map), std::vector<std::wstring>{L"Height"});
}

// Past the scan threshold the hash index answers; it must follow every change.
TEST(StringMapTest, LargeMapStaysConsistentThroughRemovals) {
    StringMap map;
    for (int i = 0; i < 100; ++i) {
        map.Set(L"Key" + std::to_wstring(i), std::to_wstring(i));
    }
    for (int i = 0; i < 100; i += 3) {
        EXPECT_TRUE(map.Remove(L"KEY" + std::to_wstring(i)));
    }
    map.Set(L"key1", L"one");
    map.Set(L"Extra", L"x");
    for (int i = 0; i < 100; ++i) {
        const std::wstring* found = map.Find(L"kEy" + std::to_wstring(i));
        if (i % 3 == 0) {
            EXPECT_EQ(found, nullptr) << i;
        } else {
            ASSERT_NE(found, nullptr) << i;
            EXPECT_EQ(*found, i == 1 ? L"one" : std::to_wstring(i));
        }
    }
    EXPECT_EQ(map.Size(), 67u);
    EXPECT_EQ(KeysOf(map).front(), L"Key1");
    EXPECT_EQ(KeysOf(map).back(), L"Extra");

    // Shrinking below the threshold and growing again.
    for (int i = 0; i < 100; ++i) {
        map.Remove(L"key" + std::to_wstring(i));
    }
    EXPECT_EQ(KeysOf(map), std::vector<std::wstring>{L"Extra"});
    for (int i = 0; i < 40; ++i) {
        map.Set(L"k" + std::to_wstring(i), L"v");
    }
    EXPECT_NE(map.Find(L"K39"), nullptr);
    EXPECT_NE(map.Find(L"EXTRA"), nullptr);
}

TEST(StringMapTest, EqualityIgnoresOrderAndKeyCaseButNotValueCase) {
    StringMap a;
    StringMap b;
    a.Set(L"x", L"1");
    a.Set(L"y", L"2");
    b.Set(L"Y", L"2");
    b.Set(L"X", L"1");
    EXPECT_TRUE(a == b);
    b.Set(L"x", L"One");
    a.Set(L"x", L"one");
    EXPECT_FALSE(a == b);
    b.Set(L"x", L"one");
    b.Set(L"z", L"3");
    EXPECT_FALSE(a == b);
}

TEST(StringMapTest, CopiesAndMovesKeepLookups) {
    StringMap big;
    for (int i = 0; i < 30; ++i) {
        big.Set(L"Name" + std::to_wstring(i), L"v");
    }
    StringMap copy(big);
    big.Clear();
    EXPECT_TRUE(big.Empty());
    EXPECT_EQ(big.Find(L"name5"), nullptr);
    EXPECT_NE(copy.Find(L"NAME29"), nullptr);

    StringMap moved(std::move(copy));
    EXPECT_NE(moved.Find(L"name0"), nullptr);
    StringMap assigned;
    assigned = moved;
    assigned.Remove(L"name0");
    EXPECT_NE(moved.Find(L"name0"), nullptr);
    EXPECT_EQ(assigned.Find(L"name0"), nullptr);
    big = std::move(assigned);
    EXPECT_EQ(big.Size(), 29u);
}

} // namespace
