#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/notice_man.h"
#include "nubra/disp_variant.h"
#include "struct_page.h"
#include "support/recording_presenter.h"

namespace {

// Counts the change notifications a structure sends.
struct ChangeWatcher : XDO {
    void OnNotifierChanged(XDO*, int, int a, int b) override {
        ++changes;
        lastA = a;
        lastB = b;
    }
    int changes = 0;
    int lastA = -1;
    int lastB = -1;
};

class StructRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override { XNoticeMan::Instance().SetPresenter(previous); }

    XStruct* Make(std::string_view markup, const wchar_t* name = L"s") {
        pages.push_back(test::BuildPage(markup));
        XStruct* s = test::FindStruct(pages.back().get(), name);
        EXPECT_NE(s, nullptr);
        return s;
    }
    // Two columns (a number and a fixed-width text) in the given storage.
    XStruct* Pairs(const char* attributes) {
        std::string markup = std::string("<structure Name=\"s\" ") + attributes +
                             R"(><this.field item="n" type="Integer"/>
                                 <this.field item="t" type="String" size="8"/></structure>)";
        return Make(markup);
    }
    static std::wstring Column(XStruct* s, int col) {
        std::wstring all;
        for (int r = 0; r < s->GetRows(); ++r) {
            std::wstring text;
            s->GetVal(r, col, text);
            all += (r ? L"," : L"") + text;
        }
        return all;
    }
    static void Fill(XStruct* s, const std::vector<const wchar_t*>& texts) {
        for (int r = 0; r < static_cast<int>(texts.size()); ++r) {
            ASSERT_TRUE(s->SetVal(r, 0, std::to_wstring(r).c_str()));
            ASSERT_TRUE(s->SetVal(r, 1, texts[static_cast<std::size_t>(r)]));
        }
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    std::vector<orvo::XDOPtr> pages;
};

TEST_F(StructRowsTest, AddedRecordsTakeOnePiecePerField) {
    XStruct* s = Pairs(R"(count="0")");
    EXPECT_FALSE(s->ISMem());
    EXPECT_EQ(s->AddRecord(L"1,b,c"), 1);
    EXPECT_EQ(s->AddRecordEx(L"2;zz", L";"), 1);
    EXPECT_EQ(s->GetRecordCount(), 2);
    EXPECT_EQ(Column(s, 0), L"1,2");
    EXPECT_EQ(Column(s, 1), L"b,zz");
}

TEST_F(StructRowsTest, RemovingRowsClosesTheGapInBothStorages) {
    for (const char* storage : {R"(count="4")", R"(count="4" type="dynamic")"}) {
        XStruct* s = Pairs(storage);
        Fill(s, {L"a", L"b", L"c", L"d"});
        EXPECT_EQ(s->RemoveRecord(1), 1);
        EXPECT_EQ(s->RemoveRecord(9), 0);
        EXPECT_EQ(s->RemoveRecord(-1), 0);
        EXPECT_EQ(Column(s, 1), L"a,c,d") << storage;
        EXPECT_EQ(Column(s, 0), L"0,2,3") << storage;
    }
    XStruct* ring = Pairs(R"(count="2" MaxRow="3")");
    EXPECT_EQ(ring->RemoveRecord(0), 0) << "rings keep their rows";
}

TEST_F(StructRowsTest, RemovedRowsGiveBackTheirStrings) {
    XStruct* s =
        Make(R"(<structure Name="s" count="3"><this.field item="t" type="String"/></structure>)");
    for (int r = 0; r < 3; ++r)
        ASSERT_TRUE(s->SetVal(r, 0, (L"text" + std::to_wstring(r)).c_str()));
    ASSERT_EQ(s->RemoveRecord(0), 1);
    EXPECT_EQ(Column(s, 0), L"text1,text2");
    ASSERT_EQ(s->AddRecord(L"again"), 1);
    EXPECT_EQ(Column(s, 0), L"text1,text2,again");
    s->RmStruct();
    EXPECT_FALSE(s->ISMem());
    EXPECT_EQ(s->GetRows(), 0);
    EXPECT_EQ(s->AddRecord(L"fresh"), 1);
    EXPECT_EQ(Column(s, 0), L"fresh");
}

TEST_F(StructRowsTest, InnerRowsAreRemovedFromASingleRecord) {
    XStruct* s = Make(R"(<structure Name="s">
        <this.field item="head" type="Integer"/>
        <structure Name="og" count="3"><this.field item="x" type="Integer"/></structure>
        <this.field item="tail" type="Integer"/></structure>)");
    std::vector<int> path;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(s->SetVal(std::vector<int>{0, 1, i, 0}, std::to_wstring(10 + i).c_str()));
    ASSERT_TRUE(s->SetVal(0, 2, 77));
    EXPECT_EQ(s->RemoveInnerRecord(1, 3), 0);
    ASSERT_EQ(s->RemoveInnerRecord(1, 0), 1);
    EXPECT_EQ(s->GetISCnt(1), 2);
    EXPECT_EQ(s->GetRecordSize(), 4 + 2 * 4 + 4);
    int x = 0;
    ASSERT_TRUE(s->GetVal(std::vector<int>{0, 1, 0, 0}, x));
    EXPECT_EQ(x, 11);
    EXPECT_FALSE(s->GetVal(std::vector<int>{0, 1, 2, 0}, x));
    ASSERT_TRUE(s->GetVal(0, 2, x));
    EXPECT_EQ(x, 77) << "the fields after the group follow it";
    ASSERT_EQ(s->AddRecord(L"1"), 1);
    EXPECT_EQ(s->RemoveInnerRecord(1, 0), 0) << "only a single record";
}

TEST_F(StructRowsTest, ShiftsMoveRowsOrTheRingStart) {
    for (const char* storage : {R"(count="4")", R"(count="4" type="dynamic")"}) {
        XStruct* s = Pairs(storage);
        Fill(s, {L"a", L"b", L"c", L"d"});
        ASSERT_TRUE(s->ShiftDown(1));
        // Contiguous rows left behind keep their bytes; per-row buffers rotate.
        EXPECT_EQ(Column(s, 1),
                  std::string(storage).find("dynamic") == std::string::npos ? L"a,a,b,c"
                                                                            : L"d,a,b,c")
            << storage;
        ASSERT_TRUE(s->ShiftUp(2));
        EXPECT_TRUE(s->ShiftUp(4) && s->ShiftUp(0) && s->ShiftDown(-1)) << "nothing to do";
    }
    XStruct* ring = Pairs(R"(count="5" MaxRow="5")");
    Fill(ring, {L"p0", L"p1", L"p2", L"p3", L"p4"});
    ASSERT_TRUE(ring->ShiftUp(2));
    EXPECT_EQ(Column(ring, 1), L"p2,p3,p4,p0,p1");
    ASSERT_TRUE(ring->ShiftDown(3));
    EXPECT_EQ(Column(ring, 1), L"p4,p0,p1,p2,p3");
    EXPECT_EQ(ring->GetRingStart(), 4);

    XStruct* strings =
        Make(R"(<structure Name="s" count="3"><this.field item="t" type="String"/></structure>)");
    EXPECT_FALSE(strings->ShiftUp(1));
    EXPECT_FALSE(strings->ShiftDown(1));
}

// A ring taking more records at its top than it holds keeps the newest in logical order
// through sorting and received text; a count declared above MaxRow shifts modulo MaxRow.
TEST_F(StructRowsTest, AWrappedRingKeepsItsLogicalOrder) {
    XStruct* ring = Pairs(R"(count="4" MaxRow="4")");
    for (int tick = 0; tick < 10; ++tick) {
        ASSERT_TRUE(ring->ShiftDown(1));
        ASSERT_TRUE(ring->SetVal(0, 0, tick));
        ASSERT_TRUE(ring->SetVal(0, 1, (L"t" + std::to_wstring(tick)).c_str()));
    }
    EXPECT_EQ(Column(ring, 1), L"t9,t8,t7,t6");
    ASSERT_EQ(ring->Sort(0, SORT_INT, SORT_DESC), 1);
    EXPECT_EQ(Column(ring, 1), L"t6,t7,t8,t9");
    char text[] = "1\ta\n2\tb\n";
    ASSERT_TRUE(ring->MapDelimiterData(2, sizeof text - 1, text, 0));
    EXPECT_EQ(Column(ring, 1), L"a,b");

    XStruct* over = Pairs(R"(count="5" MaxRow="3")");
    ASSERT_TRUE(over->ShiftDown(4));
    EXPECT_EQ(over->GetRingStart(), 2);
    ASSERT_TRUE(over->ShiftUp(4));
    EXPECT_EQ(over->GetRingStart(), 0);
}

// Received rows go in whole at the top, the last given at row 0: a ring fills up, then drops
// its oldest rows; other structures grow; rows that cannot move whole are refused.
TEST_F(StructRowsTest, ReceivedRowsGoInWholeAtTheTop) {
    XStruct* received = Pairs(R"(count="5")");
    Fill(received, {L"r0", L"r1", L"r2", L"r3", L"r4"});
    XStruct* ring = Pairs(R"(count="0" MaxRow="4")");
    EXPECT_EQ(ring->InsertRowsAtTop(*received, 0, 2), 2);
    EXPECT_EQ(Column(ring, 1), L"r1,r0");
    EXPECT_EQ(ring->InsertRowsAtTop(*received, 2, 1), 1);
    EXPECT_EQ(ring->InsertRowsAtTop(*received, 3, 2), 2);
    EXPECT_EQ(Column(ring, 1), L"r4,r3,r2,r1") << "full: the oldest went";
    EXPECT_EQ(Column(ring, 0), L"4,3,2,1");
    EXPECT_EQ(ring->InsertRowsAtTop(*received, 0, 5), 4) << "only the newest MaxRow";
    EXPECT_EQ(Column(ring, 1), L"r4,r3,r2,r1");
    for (int tick = 0; tick < 6; ++tick) // one at a time, round the ring and past its start
        ASSERT_EQ(ring->InsertRowsAtTop(*received, tick % 5, 1), 1);
    EXPECT_EQ(Column(ring, 1), L"r0,r4,r3,r2");
    EXPECT_EQ(Column(ring, 0), L"0,4,3,2");
    for (int bad : {-1, 5}) // a tick into a full ring names its source row too
        EXPECT_EQ(ring->InsertRowsAtTop(*received, bad, 1), 0) << bad;
    EXPECT_EQ(ring->InsertRowsAtTop(*ring, 0, 1), 0);
    EXPECT_EQ(Column(ring, 1), L"r0,r4,r3,r2");

    XStruct* plain = Pairs(R"(count="1")");
    Fill(plain, {L"old"});
    EXPECT_EQ(plain->InsertRowsAtTop(*received, 1, 2), 2);
    EXPECT_EQ(Column(plain, 1), L"r2,r1,old");

    XStruct* empty = Pairs(R"(count="0")");
    EXPECT_EQ(empty->InsertRowsAtTop(*received, 0, 2), 2) << "a list that never held a row";
    EXPECT_EQ(Column(empty, 1), L"r1,r0");

    EXPECT_EQ(plain->InsertRowsAtTop(*received, 4, 2), 0) << "past the source's rows";
    EXPECT_EQ(plain->InsertRowsAtTop(*received, -1, 1), 0);
    EXPECT_EQ(plain->InsertRowsAtTop(*plain, 0, 1), 0);
    XStruct* texts = Make(R"(<structure Name="s" count="1">
        <this.field item="n" type="Integer"/><this.field item="t" type="String"/></structure>)");
    EXPECT_EQ(texts->InsertRowsAtTop(*received, 0, 1), 0) << "another layout";
    EXPECT_EQ(ring->InsertRowsAtTop(*texts, 0, 1), 0);
    EXPECT_EQ(Column(plain, 1), L"r2,r1,old");
}

TEST_F(StructRowsTest, RingCountsStayWithinMaxRow) {
    XStruct* ring = Pairs(R"(count="0" MaxRow="3")");
    EXPECT_TRUE(ring->ISMem());
    EXPECT_TRUE(ring->SetRowCount(3));
    EXPECT_FALSE(ring->SetRowCount(4));
    EXPECT_EQ(ring->GetRows(), 3);
    EXPECT_FALSE(ring->ConfirmDataMem(4));
    XStruct* plain = Pairs(R"(count="2")");
    EXPECT_FALSE(plain->SetRowCount(1)) << "only rings take a row count";
}

TEST_F(StructRowsTest, RingsTakeAddedRecordsIntoNewRowsUntilFull) {
    XStruct* ring = Make(R"(<structure Name="s" count="0" MaxRow="3">
        <this.field item="t" type="String" size="8"/>
        <this.field item="n" type="Integer" value="9"/></structure>)");
    for (const wchar_t* text : {L"a,1", L"b,2", L"c,3"})
        ASSERT_EQ(ring->AddRecord(text), 1) << text;
    // A full ring has no row to add: the record is refused and the rows stay as they were.
    EXPECT_EQ(ring->AddRecord(L"d,4"), 0);
    EXPECT_EQ(Column(ring, 0) + L";" + Column(ring, 1), L"a,b,c;1,2,3");

    // A row the ring puts back in use is a new row (zero bytes, then the defaults), never what
    // it held before, also where the logical row wraps round to physical row 0.
    ASSERT_TRUE(ring->SetRowCount(2));
    ASSERT_TRUE(ring->ShiftUp(1));
    ASSERT_TRUE(ring->SetRowCount(1));
    ASSERT_EQ(ring->AddRecord(L"e"), 1);
    ASSERT_EQ(ring->AddRecord(L"f,6"), 1);
    EXPECT_EQ(Column(ring, 0) + L";" + Column(ring, 1), L"b,e,f;2,9,6");
    EXPECT_EQ(ring->AddRecord(L"g"), 0);

    ASSERT_TRUE(ring->MapData(1, 12, "received\x05\0\0\0"));
    ASSERT_TRUE(ring->ConfirmDataMem(2));
    EXPECT_EQ(Column(ring, 0) + L";" + Column(ring, 1), L"received,;5,9");
}

TEST_F(StructRowsTest, RecordsShiftTowardsTheEndAsText) {
    XStruct* s = Pairs(R"(count="4")");
    Fill(s, {L"a", L"b", L"c", L"d"});
    ASSERT_TRUE(XStruct::ShiftRecordTillEnd(s, 4, 1, 2));
    EXPECT_EQ(Column(s, 0), L"0,0,0,1") << "moved rows leave empty texts, read as 0";
    EXPECT_EQ(Column(s, 1), L"a,b,c,d") << "only the first field moves";
    EXPECT_FALSE(XStruct::ShiftRecordTillEnd(nullptr, 4, 1, 2));
    EXPECT_TRUE(XStruct::ShiftRecordTillEnd(s, INT32_MAX, 2, 1));
}

TEST_F(StructRowsTest, SortingIsStableAndNotifies) {
    XStruct* s = Pairs(R"(count="5" type="dynamic")");
    Fill(s, {L"1,200", L"300", L"1,100", L"300", L" -5x"});
    ChangeWatcher watcher;
    s->AddListener(&watcher);
    ASSERT_EQ(s->Sort(1, SORT_INT, SORT_DESC), 1);
    EXPECT_EQ(Column(s, 0), L"4,1,3,2,0") << "smaller first; equal values keep their order";
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_EQ(watcher.lastA, 0);
    ASSERT_EQ(s->Sort(1, SORT_INT, SORT_ASC), 1);
    EXPECT_EQ(Column(s, 0), L"0,2,1,3,4") << "larger first";
    ASSERT_EQ(s->Sort(1, SORT_STR, SORT_DESC), 1);
    EXPECT_EQ(Column(s, 1), L" -5x,1,100,1,200,300,300");
    ASSERT_EQ(s->Sort(1, SORT_NONE, SORT_DESC), 1);
    EXPECT_EQ(Column(s, 1), L" -5x,1,100,1,200,300,300");
    EXPECT_EQ(s->Sort(2, SORT_INT, SORT_ASC), 0);
    s->RemoveListener(&watcher);

    XStruct* prices = Pairs(R"(count="3")");
    Fill(prices, {L"2.5", L"2.25", L"10"});
    ASSERT_EQ(prices->Sort(1, SORT_FLOAT, SORT_DESC), 1);
    EXPECT_EQ(Column(prices, 1), L"2.25,2.5,10");
    XStruct* ring = Pairs(R"(count="3" MaxRow="3")");
    Fill(ring, {L"b", L"c", L"a"});
    ASSERT_TRUE(ring->ShiftUp(1));
    ASSERT_EQ(ring->Sort(1, SORT_STR, SORT_DESC), 1);
    EXPECT_EQ(Column(ring, 1), L"a,b,c");
    XStruct* empty = Pairs(R"(count="0")");
    EXPECT_EQ(empty->Sort(0, SORT_INT, SORT_ASC), 0);
}

TEST_F(StructRowsTest, CopiesOwnTheirStringsAndCompareEqual) {
    XStruct* s = Make(R"(<structure Name="s" count="2">
        <this.field item="n" type="Integer"/><this.field item="t" type="String"/></structure>)");
    ASSERT_TRUE(s->SetVal(1, 1, L"shared?"));
    orvo::XDOPtr holderOwner(new XDO());
    XDO& holder = *holderOwner;
    XStruct* copy = XStruct::GetNewInstance(*s, &holder);
    EXPECT_EQ(copy->parent(), &holder);
    EXPECT_TRUE(*copy == *s);
    ASSERT_TRUE(copy->SetVal(1, 1, L"no"));
    std::wstring text;
    ASSERT_TRUE(s->GetVal(1, 1, text));
    EXPECT_EQ(text, L"shared?");
    EXPECT_FALSE(*copy == *s) << "strings compare by content";
    ASSERT_TRUE(copy->SetVal(1, 1, L"shared?"));
    EXPECT_TRUE(*copy == *s);
    ASSERT_TRUE(copy->SetVal(0, 0, 1));
    EXPECT_FALSE(*copy == *s);

    XStruct* ring = Pairs(R"(count="2" MaxRow="2")");
    XStruct other;
    other = *ring;
    EXPECT_EQ(other.GetFieldCount(), 0) << "rings are not copied";
}

TEST_F(StructRowsTest, CopyByCountAppendsTheLastRows) {
    XStruct* source = Pairs(R"(count="3")");
    Fill(source, {L"a", L"b", L"c"});
    XStruct target;
    target.CopyStructByCount(*source, 2);
    EXPECT_EQ(target.GetFieldCount(), 2);
    EXPECT_EQ(Column(&target, 1), L",b") << "rows land at the source's row indices";
    target.CopyStructByCount(*source, 1);
    EXPECT_EQ(Column(&target, 1), L",b,c");
    target.CopyStructByCount(*source, 100);
    EXPECT_EQ(target.GetRows(), 6);
}

TEST_F(StructRowsTest, ScriptsAndUserActionsReachTheRows) {
    XStruct* s = Pairs(R"(count="0")");
    std::vector<orvo::DispVariant> args{orvo::DispVariant(L"5,e")};
    orvo::DispVariant result;
    ASSERT_EQ(s->Invoke(L"addrecord", orvo::InvokeMethod, args, result), orvo::DispStatus::Ok);
    std::vector<orvo::DispVariant> cell{orvo::DispVariant(0), orvo::DispVariant(1)};
    ASSERT_EQ(s->Invoke(L"GetVal", orvo::InvokeMethod, cell, result), orvo::DispStatus::Ok);
    std::wstring text;
    ASSERT_TRUE(result.ToText(text));
    EXPECT_EQ(text, L"e");
    std::vector<orvo::DispVariant> none;
    ASSERT_EQ(s->Invoke(L"GetRecordCount", orvo::InvokeMethod, none, result), orvo::DispStatus::Ok);
    ASSERT_TRUE(result.ToText(text));
    EXPECT_EQ(text, L"1");

    ChangeWatcher watcher;
    s->AddListener(&watcher);
    XDO* page = pages.back().get();
    EXPECT_EQ(StructEmpty(page, L"s"), 1);
    EXPECT_EQ(s->GetRows(), 0);
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_EQ(StructEmpty(page, L"missing"), 0);
    EXPECT_EQ(StructEmpty(nullptr, L"s"), 0);
    s->RemoveListener(&watcher);
}

} // namespace
