#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/inner_struct.h"
#include "data/record.h"

namespace {

// code DT_STR 6, price DT_INT, name DT_PT_STR, items DT_STRUCT of `innerRows` x (tag 2 + n 4).
CRecord QuoteWithItems(int innerRows) {
    CRecord r;
    r.AddNewDefaultField(L"", L"code", nullptr, L"005930", 6);
    r.AddNewDefaultIntField(L"", L"price", nullptr, 100);
    r.AddNewDefaultField(L"", L"name", nullptr, L"Samsung", 0);
    CRecord inner;
    inner.AddNewField(L"", L"tag", nullptr, DT_STR, 2);
    inner.AddNewField(L"", L"n", nullptr, DT_INT, 4);
    r.AddNewStructField(L"", L"items", std::make_unique<CInnerStruct>(innerRows, inner));
    return r;
}

std::vector<int> Resolve(const CRecord& r, const wchar_t* path) {
    std::vector<int> out{42};
    const bool resolved = r.GetRowFieldIndex(path, out);
    EXPECT_EQ(resolved, !out.empty()) << path;
    return out;
}

TEST(RecordTest, FieldsArePackedWithoutPadding) {
    CRecord r = QuoteWithItems(3);
    EXPECT_EQ(r.GetOffSet(0), 0);
    EXPECT_EQ(r.GetOffSet(1), 6);
    EXPECT_EQ(r.GetOffSet(2), 10);
    EXPECT_EQ(r.GetOffSet(3), 14);
    EXPECT_EQ(r.GetField(3)->Size, 18);
    EXPECT_EQ(r.GetRecordSize(), 32);
    EXPECT_EQ(r.GetOffSet(-1), 32);
    EXPECT_EQ(r.GetOffSet(4), -1);
    EXPECT_EQ(r.GetOffSet(-2), -1);
    EXPECT_EQ(r.GetPointerFieldNo(), 2);
    EXPECT_FALSE(r.HasVirtual());
    EXPECT_EQ(r.GetSizeAfterVirtual(), 0);
}

TEST(RecordTest, WidthsFollowTheType) {
    CRecord r;
    EXPECT_EQ(r.AddNewField(L"", L"i", nullptr, DT_INT, 2), 0);
    EXPECT_EQ(r.AddNewField(L"", L"d", nullptr, DT_DOUBLE, 1), 1);
    EXPECT_EQ(r.AddNewField(L"", L"c", nullptr, DT_CHAR, 9), 2);
    EXPECT_EQ(r.AddNewField(L"", L"p", nullptr, DT_PT_STR, 100), 3);
    EXPECT_EQ(r.AddNewField(L"", L"b", nullptr, DT_BLOB, -5), 4);
    EXPECT_EQ(r.AddNewField(L"", L"s", nullptr, DT_STR, 0), -1);
    EXPECT_EQ(r.AddNewField(L"", L"n", nullptr, DT_NONE, 4), -1);
    EXPECT_EQ(r.AddNewField(L"", L"x", nullptr, DT_STRUCT, 4), -1);
    EXPECT_EQ(r.GetRecordSize(), 4 + 8 + 1 + 4 + 0);
    EXPECT_EQ(r.GetVirtualNo(), 4); // a blob is the virtual field
    EXPECT_TRUE(r.IsLastFieldVirtual());
}

TEST(RecordTest, TheLastQualifyingFieldIsVirtual) {
    CRecord r = QuoteWithItems(0);
    r.AddNewDefaultCharField(L"", L"flag", nullptr, 'Y');
    EXPECT_EQ(r.GetField(3)->Size, 0);
    EXPECT_EQ(r.GetVirtualNo(), 3);
    EXPECT_EQ(r.GetVirtualIS(), r.GetField(3)->InnerStruct.get());
    EXPECT_FALSE(r.IsLastFieldVirtual());
    EXPECT_EQ(r.GetFieldCountAfterVirtual(), 1);
    EXPECT_EQ(r.GetSizeAfterVirtual(), 1);
    // Data arriving sets the inner count; the layout follows after CalcInternals.
    r.GetField(3)->InnerStruct->count = 2;
    ASSERT_TRUE(r.CalcInternals());
    EXPECT_EQ(r.GetRecordSize(), 14 + 12 + 1);
    EXPECT_FALSE(r.HasVirtual());
}

TEST(RecordTest, DefaultsAreStoredAsTheRecordHoldsThem) {
    CRecord r;
    r.AddNewDefaultField(L"", L"s", nullptr, L"ABCDEFG", 4);
    r.AddNewDefaultField(L"", L"short", nullptr, L"A", 3);
    r.AddNewDefaultBoolField(L"", L"b", nullptr, true);
    r.AddNewDefaultInt64Field(L"", L"i", nullptr, -2);
    EXPECT_EQ(*r.GetField(0)->DefaultBytes, (std::vector<unsigned char>{'A', 'B', 'C', 'D'}));
    EXPECT_EQ(*r.GetField(1)->DefaultBytes, (std::vector<unsigned char>{'A', 0, 0}));
    EXPECT_EQ(*r.GetField(2)->DefaultBytes, (std::vector<unsigned char>{1, 0, 0, 0}));
    std::int64_t v = 0;
    std::memcpy(&v, r.GetField(3)->DefaultBytes->data(), 8);
    EXPECT_EQ(v, -2);
}

TEST(RecordTest, CopiesAreDeepAndCompareByDefinition) {
    CRecord a = QuoteWithItems(2);
    a.GetField(1)->Format = std::make_unique<CFormat>(L"#,##0");
    CRecord b(a);
    EXPECT_TRUE(a == b);
    EXPECT_NE(b.GetField(3)->InnerStruct.get(), a.GetField(3)->InnerStruct.get());
    EXPECT_NE(b.GetField(1)->Format.get(), a.GetField(1)->Format.get());

    b.GetField(3)->InnerStruct->record.GetField(0)->Name = L"other";
    EXPECT_FALSE(a == b);
    EXPECT_EQ(a.GetField(3)->InnerStruct->record.GetField(0)->Name, L"tag");

    CRecord c;
    c = a;
    c.GetField(0)->Name = L"CODE"; // names compare without case
    c.GetField(1)->Format.reset(); // formats do not count
    EXPECT_TRUE(a == c);
    c.GetField(0)->DefaultBytes.reset();
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(a == QuoteWithItems(3));
}

TEST(RecordTest, FieldIndexIgnoresCaseAndFindsTheFirst) {
    CRecord r;
    r.AddNewField(L"acct", L"account", nullptr, DT_STR, 10);
    r.AddNewField(L"", L"account", nullptr, DT_INT, 4);
    EXPECT_EQ(r.GetFieldIndex(L"ACCOUNT"), 0);
    EXPECT_EQ(r.GetFieldIndex(L"Account"), 0);
    EXPECT_EQ(r.GetFieldIndex(L"acct"), -1);
    EXPECT_EQ(r.GetField(0)->NameSpace, L"acct");
}

TEST(RecordTest, PathsResolveThroughInnerStructures) {
    CRecord r = QuoteWithItems(3);
    EXPECT_EQ(Resolve(r, L"price"), (std::vector<int>{0, 1}));
    EXPECT_EQ(Resolve(r, L".price"), (std::vector<int>{0, 1}));
    EXPECT_EQ(Resolve(r, L"[2].PRICE"), (std::vector<int>{2, 1}));
    EXPECT_EQ(Resolve(r, L"[1].items[2].n"), (std::vector<int>{1, 3, 2, 1}));
    EXPECT_EQ(Resolve(r, L"items.tag"), (std::vector<int>{0, 3, 0, 0}));
    EXPECT_EQ(Resolve(r, L"[ 4 ]items[1]n"), (std::vector<int>{4, 3, 1, 1}));
}

TEST(RecordTest, BadPathsResolveToNothing) {
    CRecord r = QuoteWithItems(3);
    for (const wchar_t* path : {L"",
                                L"[",
                                L"]]",
                                L"[-1].price",
                                L"[99999999999].price",
                                L"[2147483648].price",
                                L".",
                                L"..",
                                L"price..code",
                                L"[1].price.x",
                                L"[1].items[2]",
                                L"[1].items[2].nope",
                                L"items.n.tag",
                                L"[x].price",
                                L"nope",
                                L"price code",
                                L"[1][2]",
                                L"items[1].n[0].tag"}) {
        EXPECT_TRUE(Resolve(r, path).empty()) << path;
    }
    std::vector<int> out{1};
    EXPECT_FALSE(r.GetRowFieldIndex(nullptr, out));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Resolve(r, L"[2147483647].price"), (std::vector<int>{2147483647, 1}));
}

TEST(RecordTest, LayoutsBeyondTheLimitAreRefused) {
    CRecord r;
    EXPECT_EQ(r.AddNewField(L"", L"a", nullptr, DT_STR, 2000000000), 0);
    EXPECT_EQ(r.AddNewDefaultField(L"", L"b", nullptr, L"x", 2000000000), -1);
    EXPECT_EQ(r.AddNewField(L"", L"c", nullptr, DT_STR, 147483647), 1);
    EXPECT_EQ(r.GetRecordSize(), 2147483647);
    EXPECT_EQ(r.AddNewField(L"", L"d", nullptr, DT_CHAR, 1), -1);

    CRecord wide;
    int accepted = 0;
    for (int i = 0; i < 100000; ++i) {
        if (wide.AddNewField(L"", L"f" + std::to_wstring(i), nullptr, DT_STR, 100000) >= 0)
            ++accepted;
    }
    EXPECT_EQ(accepted, 21474);
    EXPECT_EQ(wide.GetRecordSize(), 2147400000);
    EXPECT_EQ(wide.GetFieldIndex(L"F21473"), 21473);
    EXPECT_EQ(wide.GetFieldIndex(L"f21474"), -1);

    // An inner structure whose rows multiply beyond the limit.
    CRecord inner;
    inner.AddNewField(L"", L"s", nullptr, DT_STR, 100000);
    CRecord outer;
    EXPECT_EQ(outer.AddNewStructField(L"", L"big", std::make_unique<CInnerStruct>(100000, inner)),
              -1);
    EXPECT_EQ(outer.AddNewStructField(L"", L"neg", std::make_unique<CInnerStruct>(-1, inner)), -1);
    ASSERT_EQ(outer.AddNewStructField(L"", L"ok", std::make_unique<CInnerStruct>(2, inner)), 0);
    // A count set later (as received data does) is refused when the layout is computed.
    outer.GetField(0)->InnerStruct->count = 100000;
    EXPECT_FALSE(outer.CalcInternals());
    EXPECT_EQ(outer.GetRecordSize(), -1);
    EXPECT_EQ(outer.GetOffSet(0), -1);
    outer.GetField(0)->InnerStruct->count = 3;
    EXPECT_TRUE(outer.CalcInternals());
    EXPECT_EQ(outer.GetRecordSize(), 300000);
}

} // namespace
