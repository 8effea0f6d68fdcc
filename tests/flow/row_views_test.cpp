// Filters and sorts over a structure whose rows change at both ends: after every change the
// views must equal what a full recomputation from the source gives, and tell their own
// listeners what changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data/struct.h"
#include "flow/xfilter.h"
#include "flow/xsort.h"
#include "markup_page.h"
#include "support/fixture_file.h"

namespace {

enum Col { CODE, CHG, PRICE };

struct Notice {
    int code;
    int value;
    bool operator==(const Notice&) const = default;
};

std::vector<Notice>& Heard() {
    static std::vector<Notice> heard;
    return heard;
}

class RowViewsTest : public test::MarkupPageTest {
protected:
    void SetUp() override {
        MarkupPageTest::SetUp();
        Open(FixtureText("screens/views/watch.xml"));
        ticks = Find<XStruct>(L"ticks");
        incoming = Find<XStruct>(L"incoming");
        rising = Find<XFilter>(L"rising");
        byChange = Find<XSort>(L"byChange");
        ASSERT_TRUE(ticks && incoming && rising && byChange);
        // A listener of the filter, as a grid showing it would be.
        recorder = page->GetObjByNameDown(L"incoming");
        rising->AddListener(recorder);
        recorder->SetOnNotifierChanged([](XDO*, XDO*, int, int code, int value) {
            Heard().push_back({code, value});
        });
        Heard().clear();
    }

    static std::wstring Cell(XMetaIOData* data, int row, int col) {
        std::wstring text;
        data->GetVal(row, col, text);
        return text;
    }
    void SetRow(XStruct* s, int row, const std::wstring& code, int chg) {
        ASSERT_TRUE(s->SetVal(row, CODE, code.c_str()));
        ASSERT_TRUE(s->SetVal(row, CHG, std::to_wstring(chg).c_str()));
        ASSERT_TRUE(s->SetVal(row, PRICE, std::to_wstring(1000 + chg).c_str()));
    }
    // What the filter should show: the codes of the source rows with a positive change.
    std::vector<std::wstring> Expected() {
        std::vector<std::wstring> codes;
        for (int r = 0; r < ticks->GetRows(); ++r)
            if (std::stoi(Cell(ticks, r, CHG)) > 0)
                codes.push_back(Cell(ticks, r, CODE));
        return codes;
    }
    std::vector<std::wstring> Shown(XMetaIOData* view) {
        std::vector<std::wstring> codes;
        for (int r = 0; r < view->GetRows(); ++r)
            codes.push_back(Cell(view, r, CODE));
        return codes;
    }

    XStruct* ticks = nullptr;
    XStruct* incoming = nullptr;
    XFilter* rising = nullptr;
    XSort* byChange = nullptr;
    XDO* recorder = nullptr;
    int serial = 0;
};

TEST_F(RowViewsTest, AFilterFollowsEveryChangeAtTheEndsAsAFullRecomputationWould) {
    std::mt19937 random(20261207);
    auto change = [&] { return static_cast<int>(random() % 11) - 5; };
    auto code = [&] { return L"C" + std::to_wstring(++serial); };
    for (int step = 0; step < 400; ++step) {
        const int n = ticks->GetRows();
        Heard().clear();
        const int before = rising->GetRows();
        switch (random() % 7) {
        case 0: { // received rows put in at the top
            const int count = 1 + static_cast<int>(random() % 3);
            ASSERT_TRUE(incoming->ConfirmDataMem(count));
            for (int r = 0; r < count; ++r)
                SetRow(incoming, r, code(), change());
            ASSERT_EQ(ticks->InsertRowsAtTop(*incoming, 0, count), count);
            ticks->NotifyChange(0x10003, count);
            break;
        }
        case 1: { // rows added at the bottom
            const int count = 1 + static_cast<int>(random() % 3);
            for (int r = 0; r < count; ++r) {
                ASSERT_TRUE(ticks->AddRecord(L""));
                SetRow(ticks, ticks->GetRows() - 1, code(), change());
            }
            ticks->NotifyChange(0x10004, count);
            break;
        }
        case 2: // the first row updated
            if (n == 0)
                continue;
            SetRow(ticks, 0, Cell(ticks, 0, CODE), change());
            ticks->NotifyChange(0x10001, 0);
            break;
        case 3: // the last row updated
            if (n == 0)
                continue;
            SetRow(ticks, n - 1, Cell(ticks, n - 1, CODE), change());
            ticks->NotifyChange(0x10002, 0);
            break;
        case 4: { // rows removed from the top
            const int count = std::min(n, 1 + static_cast<int>(random() % 2));
            for (int r = 0; r < count; ++r)
                ASSERT_TRUE(ticks->RemoveRecord(0));
            ticks->NotifyChange(0x10005, count);
            break;
        }
        case 5: { // rows removed from the bottom
            const int count = std::min(n, 1 + static_cast<int>(random() % 2));
            for (int r = 0; r < count; ++r)
                ASSERT_TRUE(ticks->RemoveRecord(ticks->GetRows() - 1));
            ticks->NotifyChange(0x10006, count);
            break;
        }
        default: // any row changed: everything
            if (n == 0)
                continue;
            SetRow(ticks, static_cast<int>(random() % static_cast<unsigned>(n)), code(), change());
            ticks->NotifyChange(0, 0);
            break;
        }
        ASSERT_EQ(Shown(rising), Expected()) << "step " << step;
        // Each map entry is the source row its view row shows, in increasing order.
        for (int r = 0; r < rising->GetRows(); ++r) {
            const int source = rising->GetOrgRow(r);
            ASSERT_EQ(rising->GetFilterRow(source), r);
            ASSERT_TRUE(r == 0 || rising->GetOrgRow(r - 1) < source);
        }
        // What the listener heard accounts for the change in size.
        int delta = 0;
        bool full = false;
        for (const Notice& notice : Heard()) {
            if (notice.code == 0x10003 || notice.code == 0x10004)
                delta += notice.value;
            else if (notice.code == 0x10005 || notice.code == 0x10006)
                delta -= notice.value;
            else
                full = notice.code == 0;
        }
        if (!full) {
            ASSERT_EQ(before + delta, rising->GetRows()) << "step " << step;
        }
    }
    EXPECT_TRUE(Confirms().empty());
}

TEST_F(RowViewsTest, UpdatesAtTheEndsAreNotifiedAsOneRowInOrOut) {
    ASSERT_TRUE(ticks->ConfirmDataMem(3));
    SetRow(ticks, 0, L"A", 1);
    SetRow(ticks, 1, L"B", -1);
    SetRow(ticks, 2, L"C", 2);
    ticks->NotifyChange(0, 7);
    EXPECT_EQ(Heard(), (std::vector<Notice>{{0, 7}}));
    EXPECT_EQ(Shown(rising), (std::vector<std::wstring>{L"A", L"C"}));
    Heard().clear();
    SetRow(ticks, 0, L"A", -3);
    ticks->NotifyChange(0x10001, 0);
    SetRow(ticks, 0, L"A", 4);
    ticks->NotifyChange(0x10001, 0);
    ticks->NotifyChange(0x10001, 0); // still passing: nothing to tell
    SetRow(ticks, 2, L"C", 0);
    ticks->NotifyChange(0x10002, 0);
    EXPECT_EQ(Heard(), (std::vector<Notice>{{0x10005, 1}, {0x10003, 1}, {0x10006, 1}}));
    EXPECT_EQ(Shown(rising), (std::vector<std::wstring>{L"A"}));
    // Reading through the map: a row outside it reads nothing.
    std::wstring text = L"kept";
    EXPECT_FALSE(rising->GetVal(1, CODE, text));
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(rising->GetOrgRow(5), -1);
    EXPECT_EQ(rising->GetFilterRow(1), -1);
    EXPECT_EQ(rising->GetValueVB(0, CHG, 0), L"4");
    // Codes it does not follow row by row, and an emptied source, rebuild it whole.
    ticks->NotifyChange(0x10007, 1);
    EXPECT_EQ(Heard().back(), (Notice{0, 0}));
    ASSERT_TRUE(ticks->RemoveRecord(0) && ticks->RemoveRecord(0) && ticks->RemoveRecord(0));
    ticks->NotifyChange(0x10005, 3);
    EXPECT_EQ(rising->GetRows(), 0);
}

TEST_F(RowViewsTest, SortsOrderEveryRowByTheirFieldAndFollowTheSource) {
    const int changes[] = {3, -12, 7, 0, 25, -1, 7};
    ASSERT_TRUE(ticks->ConfirmDataMem(static_cast<int>(std::size(changes))));
    for (int r = 0; r < static_cast<int>(std::size(changes)); ++r)
        SetRow(ticks, r, L"K" + std::to_wstring(9 - r), changes[r]);
    ticks->NotifyChange(0, 0);
    auto column = [&](XMetaIOData* view, int col) {
        std::vector<std::wstring> cells;
        for (int r = 0; r < view->GetRows(); ++r)
            cells.push_back(Cell(view, r, col));
        return cells;
    };
    EXPECT_EQ(column(byChange, CHG),
              (std::vector<std::wstring>{L"25", L"7", L"7", L"3", L"0", L"-1", L"-12"}));
    // Prices are texts read as numbers: 988 sorts before 1000 though it is longer as text.
    auto* byPrice = Find<XSort>(L"byPrice");
    EXPECT_EQ(column(byPrice, PRICE).front(), L"988");
    EXPECT_EQ(column(byPrice, PRICE).back(), L"1025");
    auto* byCode = Find<XSort>(L"byCode");
    EXPECT_EQ(column(byCode, CODE),
              (std::vector<std::wstring>{L"K3", L"K4", L"K5", L"K6", L"K7", L"K8", L"K9"}));
    for (int r = 0; r < byCode->GetRows(); ++r)
        EXPECT_EQ(byCode->GetSortRow(byCode->GetOrgRow(r)), r);
    EXPECT_EQ(byCode->GetSortRow(99), -1);

    // Changes of type, order and field; bad words and fields change nothing.
    EXPECT_EQ(byChange->ChangeO(L"asc"), 1);
    EXPECT_EQ(column(byChange, CHG).front(), L"-12");
    EXPECT_EQ(byChange->GetOrder(), L"ASC");
    EXPECT_EQ(byChange->ChangeT(L"sideways"), 0);
    EXPECT_EQ(byChange->ChangeFTO(L"missing", L"INT", L"ASC"), 0);
    EXPECT_EQ(byChange->GetField(), L"chg");
    EXPECT_EQ(byChange->ChangeFTO(L"code", L"STRING", L"DESC"), 1);
    EXPECT_EQ(column(byChange, CODE).front(), L"K9");
    EXPECT_EQ(byChange->GetType(), L"STR");
    EXPECT_EQ(byChange->ChangeT(L"NONE"), 1);
    EXPECT_EQ(column(byChange, CODE).front(), L"K9") << "no type keeps the source order";
    EXPECT_EQ(column(byChange, CODE).back(), L"K3");

    // A change at the source sorts again.
    SetRow(ticks, 6, L"K0", 99);
    ticks->NotifyChange(0x10002, 0);
    EXPECT_EQ(column(byPrice, CODE).back(), L"K0");
    while (ticks->GetRows() > 0)
        ASSERT_TRUE(ticks->RemoveRecord(0));
    ticks->NotifyChange(0, 0);
    EXPECT_EQ(byPrice->GetRows(), 0);
    EXPECT_EQ(byPrice->GetOrgRow(0), -1);
}

TEST_F(RowViewsTest, MissingSettingsAreRefusedWithTheirMessages) {
    const std::pair<const char*, const wchar_t*> cases[] = {
        {R"(<metaio><structure Name="s"/><filter Name="f" DataSource="s"/></metaio>)",
         L"Filter 의 Formula 가 지정되지 않았습니다."},
        {R"(<metaio><structure Name="s"/><Sort Name="t" DataSource="s"/></metaio>)",
         L"Sort 의 Field가 지정되지 않았습니다."},
        {R"(<metaio><structure Name="s"/><Sort Name="t" DataSource="s" Field="a" Type="Colour"/></metaio>)",
         L"Unknown Type. <sort type=\"Colour\"> NONE|STRING|INT|FLOAT\n"},
        {R"(<metaio><structure Name="s"/><Sort Name="t" DataSource="s" Field="a" Order="Up"/></metaio>)",
         L"Unknown Order. <sort order=\"Up\"> ASC|DESC\n"},
    };
    for (const auto& [markup, message] : cases) {
        notices.confirms.clear();
        page.reset(XScrMan::Instance().OpenPageMem(Parse(markup).release(), nullptr, nullptr));
        const std::vector<std::wstring> texts = Confirms();
        EXPECT_NE(std::find(texts.begin(), texts.end(), message), texts.end()) << markup;
    }
    // A view whose source is missing shows no rows and reads nothing.
    Open(R"(<metaio><filter Name="f" DataSource="nowhere" Formula="1"/>
        <Sort Name="t" DataSource="nowhere" Field="a"/></metaio>)");
    EXPECT_EQ(Find<XFilter>(L"f")->GetRows(), 0);
    EXPECT_EQ(Find<XSort>(L"t")->GetRows(), 0);
    EXPECT_EQ(Find<XSort>(L"t")->ChangeO(L"DESC"), 0);
}

} // namespace
