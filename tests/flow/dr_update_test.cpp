#include "flow/dr_update.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/object_lifetime.h"
#include "data/struct.h"
#include "markup_page.h"

namespace {

using Notices = std::vector<std::pair<int, int>>;
using Texts = std::vector<std::wstring>;

// Logs the (a, b) of every change its notifiers tell.
class ChangeLog : public XDO {
public:
    void OnNotifierChanged(XDO*, int, int a, int b) override { log.emplace_back(a, b); }
    Notices log;
};

enum Col { CODE, PX };

// prefix + n for n from `first` up to (not including) `end`, by `step`.
Texts Codes(const wchar_t* prefix, int first, int end, int step = 1) {
    Texts codes;
    for (int n = first; n != end; n += step)
        codes.push_back(prefix + std::to_wstring(n));
    return codes;
}

Texts operator+(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DRUpdateTest : public test::MarkupPageTest {
protected:
    void SetUp() override {
        MarkupPageTest::SetUp();
        IXO::Register(L"ChangeLog", []() -> IXO* { return new ChangeLog(); });
        // "grid" has a variable-length string, so its rows move by text; "ring" is a ring.
        Open(R"(<metaio Name="Page">
  <structure Name="recv" count="5">
    <this.field item="code" type="String" size="4"/><this.field item="px" type="Integer"/>
    <structure Name="book" count="3"><this.field item="bid" type="Integer"/></structure>
  </structure>
  <structure Name="codes" count="2"><this.field item="code" type="String" size="4"/></structure>
  <structure Name="grid" count="0">
    <this.field item="code" type="String" size="8"/><this.field item="px" type="String"/>
  </structure>
  <structure Name="ring" count="98" MaxRow="100">
    <this.field item="code" type="String" size="4"/><this.field item="px" type="Integer"/>
  </structure>
  <structure Name="ticks" count="0" MaxRow="4">
    <this.field item="code" type="String" size="4"/><this.field item="px" type="Integer"/>
    <structure Name="book" count="3"><this.field item="bid" type="Integer"/></structure>
  </structure>
  <ChangeLog Name="changes"/><ChangeLog Name="label"/>
</metaio>)");
        recv = Find<XStruct>(L"recv");
        grid = Find<XStruct>(L"grid");
        ring = Find<XStruct>(L"ring");
        changes = Find<ChangeLog>(L"changes");
        // Row r: code "R<r>", px 1000r + 1, book bids 100(r + 1) + i.
        for (int r = 0; r < 5; ++r) {
            recv->SetVal(r, CODE, (L"R" + std::to_wstring(r)).c_str());
            recv->SetVal(r, PX, 1000 * r + 1);
            for (int i = 0; i < 3; ++i)
                recv->SetVal(std::vector<int>{r, 2, i, 0}, CVariant(100 * (r + 1) + i));
        }
        grid->AddListener(changes);
        ring->AddListener(changes);
    }
    void TearDown() override {
        MarkupPageTest::TearDown();
        IXO::Unregister(L"ChangeLog");
    }

    // An update of `control` read from its attributes and children, or null when refused.
    std::unique_ptr<CDRUpdate>
    Make(const std::string& attributes,
         const std::string& fields = R"(<Field Link="code" Item="code"/>)") {
        auto e = Parse("<Update " + attributes + ">" + fields + "</Update>");
        auto update = std::make_unique<CDRUpdate>();
        if (!update->SetElement(e.get(), recv, page.get(), 0))
            return nullptr;
        update->LinkObject(page.get());
        return update;
    }
    static Texts Column(XStruct* s, int col) {
        Texts texts(static_cast<std::size_t>(s->GetRecordCount()));
        for (int r = 0; r < s->GetRecordCount(); ++r)
            s->GetVal(r, col, texts[r]);
        return texts;
    }
    // `s` holding exactly these rows ("code,px"; a ring keeps its MaxRow), nothing told yet.
    void Reset(XStruct* s, const Texts& codes) {
        if (s->GetMaxRow() > 0)
            s->SetRowCount(0);
        else
            s->RmStruct();
        for (const std::wstring& code : codes)
            s->AddRecord(code.c_str());
        changes->log.clear();
    }

    XStruct* recv = nullptr;
    XStruct* grid = nullptr;
    XStruct* ring = nullptr;
    ChangeLog* changes = nullptr;
};

TEST_F(DRUpdateTest, RefusesWhatItCannotResolve) {
    struct Case {
        const char* attributes;
        const wchar_t* result; // "ok", or the message shown ("" for none)
    } cases[] = {
        {R"(Control="nosuch" Method="Add")",
         L"<DataRequest.Update Control=\"nosuch\">\n연결 Structure 를 찾지 못했습니다."},
        {R"(Control="label" Method="Add")",
         L"<DataRequest.Update Control=\"label\">\n연결 Structure 를 찾지 못했습니다."},
        {R"(Control="grid")", L""},
        {R"(Control="grid" Method="Merge")", L""},
        {R"(Control="grid" Method="add" InnerStruct="nosuch")", L""},
        {R"(Control="grid" Method="UpdateByKey" SrcKey="code")", L""},
        {R"(Control="grid" Method="UpdateByKey" SrcKey="code" TargetKey="no")", L""},
        {R"(Control="grid" Method="updatebykey" SrcKey="code" TargetKey="code")", L"ok"},
    };
    for (const Case& c : cases) {
        notices.confirms.clear();
        const bool made = Make(c.attributes) != nullptr;
        EXPECT_EQ(made ? L"ok" : Confirms().empty() ? L"" : Confirms()[0], c.result);
    }
    const char* fields[] = {R"(Item="code")",
                            R"(Src="px")",
                            R"(Postfix="px 2 *")",
                            R"(Item="nosuch")",
                            R"(Format="0")",
                            R"(Formula="(px")"};
    for (int i = 0; i < 6; ++i) {
        CDRUpdateField field;
        EXPECT_EQ(
            field.SetElement(Parse(std::string("<Field ") + fields[i] + "/>").get(), recv, grid),
            i < 3 ? 1 : 0)
            << fields[i];
    }
}

TEST_F(DRUpdateTest, AddPlacesSourceRowsAtTopOrBottom) {
    const Texts old{L"A", L"B"};
    struct Case {
        const char* attributes;
        Texts codes;
        Notices notified;
    } cases[] = {
        {"", old + Codes(L"R", 0, 5), {{0x10004, 5}}},
        {R"(Where="Top")", Codes(L"R", 4, -1, -1) + old, {{0x10004, 5}}},
        {R"(Where="Top" ReverseRow="1")", old + Codes(L"R", 4, -1, -1), {{0x10004, 5}}},
        {R"(SkipRow="3")", old + Codes(L"R", 3, 5), {{0x10004, 2}}},
        {R"(Where="Top" SkipRow="3")", Codes(L"R", 1, -1, -1) + old, {{0x10004, 2}}},
        {R"(SkipRow="5")", old, {}},
    };
    for (const Case& c : cases) {
        Reset(grid, old);
        auto update = Make(std::string(R"(Control="grid" Method="Add" )") + c.attributes);
        ASSERT_NE(update, nullptr) << c.attributes;
        EXPECT_EQ(update->Update(recv), 1);
        EXPECT_EQ(Column(grid, CODE), c.codes) << c.attributes;
        EXPECT_EQ(changes->log, c.notified) << c.attributes;
    }
    // A ring of MaxRow 100 holding 98: the first three old rows make room for five.
    for (const char* where : {"Bottom", "Top"}) {
        Reset(ring, Codes(L"O", 0, 98));
        auto update = Make(std::string(R"(Control="ring" Method="Add" Where=")") + where + "\"");
        ASSERT_NE(update, nullptr);
        ASSERT_EQ(update->Update(recv), 1);
        EXPECT_EQ(Column(ring, CODE),
                  where[0] == 'B' ? Codes(L"O", 3, 98) + Codes(L"R", 0, 5)
                                  : Codes(L"R", 4, -1, -1) + Codes(L"O", 3, 98));
        EXPECT_EQ(changes->log, (Notices{{0, 0}}));
    }
}

// Without fields, rows of the list's own layout go in whole, the newest first.
TEST_F(DRUpdateTest, AddWithoutFieldsPutsWholeRowsAtTheTop) {
    auto* ticks = Find<XStruct>(L"ticks");
    ticks->AddListener(changes);
    auto update = Make(R"(Control="ticks" Method="Add" Where="Top")", "");
    ASSERT_NE(update, nullptr);
    ASSERT_EQ(update->Update(recv), 1);
    EXPECT_EQ(Column(ticks, CODE), Codes(L"R", 4, 0, -1)) << "the newest MaxRow, last first";
    EXPECT_EQ(Column(ticks, PX), (Texts{L"4001", L"3001", L"2001", L"1001"}));
    int bid = 0;
    ASSERT_TRUE(ticks->GetVal(std::vector<int>{0, 2, 2, 0}, bid));
    EXPECT_EQ(bid, 502) << "inner rows move with their row";
    EXPECT_EQ(changes->log, (Notices{{0, 0}})) << "the ring dropped rows";
}

TEST_F(DRUpdateTest, FieldsFormatComputeAndReadInnerRows) {
    auto update = Make(R"(Control="grid" Method="Add" InnerStruct="book")",
                       R"(<Field Link="px" Item="book.bid" Format="#,##0"/>
                          <field Link="code, label" Formula="book.bid * 2" Format_Str="[%s]"/>
                          <Other Link="code" Item="px"/>)");
    ASSERT_NE(update, nullptr);
    recv->SetVal(std::vector<int>{0, 2, 1, 0}, CVariant(1234));
    ASSERT_EQ(update->Update(recv), 1);
    EXPECT_EQ(Column(grid, PX), (Texts{L"100", L"1,234", L"102"}));
    EXPECT_EQ(Column(grid, CODE), (Texts{L"[200]", L"[2468]", L"[204]"}));
    std::wstring label;
    page->GetObjByNameDown(L"label")->GetData(&label);
    EXPECT_EQ(label, L"[204]");
}

TEST_F(DRUpdateTest, CopyUpdateAndUpdateByKeyOverwriteTheControl) {
    auto copy = Make(R"(Control="grid" Method="Copy")");
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->Update(recv), 1);
    EXPECT_EQ(Column(grid, CODE), Codes(L"R", 0, 5));
    EXPECT_EQ(Column(grid, PX), Column(recv, PX));
    EXPECT_EQ(changes->log, (Notices{{0, 0}}));

    for (const char* where : {"Bottom", "Top"}) {
        auto update = Make(std::string(R"(Control="ring" Method="Update" Where=")") + where + "\"");
        ASSERT_NE(update, nullptr);
        Reset(ring, {});
        EXPECT_EQ(update->Update(recv), 1);
        EXPECT_TRUE(changes->log.empty()) << "an empty control is left alone";
        Reset(ring, {L"A", L"B"});
        EXPECT_EQ(update->Update(recv), 1);
        EXPECT_EQ(Column(ring, CODE), (where[0] == 'B' ? Texts{L"A", L"R0"} : Texts{L"R0", L"B"}));
        EXPECT_EQ(changes->log, (Notices{{where[0] == 'B' ? 0x10002 : 0x10001, 1}}));
    }

    Reset(ring, {L"A,3001", L"B,7", L"C,1001"});
    auto byKey = Make(R"(Control="ring" Method="UpdateByKey" SrcKey="px" TargetKey="px")");
    ASSERT_NE(byKey, nullptr);
    ASSERT_EQ(byKey->Update(recv), 1);
    EXPECT_EQ(Column(ring, CODE), (Texts{L"R3", L"B", L"R1"}));
    EXPECT_EQ(changes->log, (Notices{{0x10007, 2}, {0x10007, 0}}));
    EXPECT_EQ(byKey->Update(Find<XStruct>(L"codes")), 0) << "the key field is missing";
}

TEST_F(DRUpdateTest, ClearEmptiesALiveControlAndKeepsItsMaxRow) {
    auto kept = Make(R"(Control="ring" Method="Add")");
    ASSERT_NE(kept, nullptr);
    kept->Clear();
    EXPECT_EQ(ring->GetRecordCount(), 98) << "Clear is off";

    auto update = Make(R"(Control="ring" Method="Add" Clear="true")");
    ASSERT_NE(update, nullptr);
    update->Clear();
    EXPECT_EQ(ring->GetRecordCount(), 0);
    EXPECT_EQ(changes->log, (Notices{{0, 0}}));
    ASSERT_EQ(update->Update(recv), 1);
    EXPECT_EQ(ring->GetMaxRow(), 100);
    EXPECT_EQ(Column(ring, CODE), Codes(L"R", 0, 5));

    orvo::DestroyObject(ring);
    EXPECT_EQ(update->GetControl(), nullptr);
    EXPECT_EQ(update->Update(recv), 0);
    update->Clear();
}

} // namespace
