#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/sim/sim_exchange.h"
#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/comm_man.h"
#include "data/struct.h"
#include "data/tr.h"
#include "platform/base/event_loop.h"
#include "platform/base/format.h"
#include "support/recording_presenter.h"
#include "support/two_stocks.h"

namespace {

// Transactions as a transaction file declares them, nested in one for a root.
constexpr std::string_view kTransactions = R"(
<tr id="all">
  <tr id="10001" text="current price">
    <input><structure Name="in"><this.field item="code" type="String" size="6"/></structure></input>
    <output><structure Name="out">
      <this.field item="code" type="String" size="6"/>
      <this.field item="name" type="String" size="20"/>
      <this.field item="price" type="Integer"/>
      <this.field item="change" type="Integer"/>
      <structure Name="book" count="0">
        <this.field item="askPrice" type="Integer"/>
        <this.field item="bidPrice" type="Integer"/>
      </structure>
    </structure></output>
  </tr>
  <tr id="20001" text="order" type="OMS">
    <input><structure Name="order">
      <this.field item="code" type="String" size="6"/>
      <this.field item="qty" type="Integer"/>
      <this.field item="limit" type="Integer"/>
    </structure></input>
    <output><structure Name="fill">
      <this.field item="orderNo" type="Integer64"/>
      <this.field item="qty" type="Integer"/>
      <this.field item="fillPrice" type="Integer"/>
      <this.field item="status" type="String" size="8"/>
    </structure></output>
  </tr>
  <tr id="10003" text="trades list">
    <input><structure Name="page">
      <this.field item="code" type="String" size="6"/>
      <this.field item="key" type="Integer"/>
    </structure></input>
    <output><structure Name="trades">
      <this.field item="nextKey" type="Integer"/>
      <this.field item="prevKey" type="Integer"/>
      <structure Name="rows" count="0">
        <this.field item="seq" type="Integer"/>
        <this.field item="price" type="Integer"/>
      </structure>
    </structure></output>
  </tr>
  <tr id="90001" text="quote push" Realtime="1">
    <output><structure Name="tick">
      <this.field item="code" type="String" size="6"/>
      <this.field item="price" type="Integer"/>
      <this.field item="time" type="String" size="6"/>
    </structure></output>
  </tr>
</tr>)";

// Keeps every answer's text, as a data request would show it.
class Requester : public XDO {
    ORVO_DISPATCH_MAP()

public:
    int OnReceiveData(XStruct* received) {
        std::wstring line;
        for (int c = 0; received && c < received->GetFieldCount(); ++c)
            line += (c ? L"|" : L"") + received->GetValVB(0, c);
        answers.push_back(line);
        last = received;
        if (cancelInside)
            XCommMan::Instance().UnRequest(0, this);
        return 1;
    }
    std::vector<std::wstring> answers;
    XStruct* last = nullptr;
    bool cancelInside = false;
};

ORVO_DISPATCH(Requester, XDO, ORVO_METHOD(OnReceiveData))

sim::Scenario ListedStocks() {
    sim::Scenario s = TwoStocks(7, 1.5);
    s.depth = 3;
    s.listRows = 4;
    return s;
}

class SimExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        plat::EventLoop::Install(&loop);
        XElement* root = nullptr;
        XMLParser parser;
        ASSERT_TRUE(parser.ParseMemory(kTransactions, &root));
        transactions.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        ASSERT_NE(transactions, nullptr)
            << (notices.confirms.empty() ? L"" : notices.confirms[0].text);
        ASSERT_TRUE(exchange.InitWith(ListedStocks()));
        ASSERT_TRUE(XCommMan::Instance().RegCommMan(&exchange));
        ASSERT_TRUE(XCommMan::Instance().InitializeIXO());
    }
    void TearDown() override {
        exchange.Final();
        plat::EventLoop::Install(nullptr);
        XNoticeMan::Instance().SetPresenter(previous);
    }
    XTR* Tr(const wchar_t* id) {
        auto* all = dynamic_cast<XTR*>(transactions.get());
        return all ? all->GetByIDDown(id) : nullptr;
    }
    // Moves the clock one tick period on and delivers what is due.
    void Tick() {
        now += 100;
        loop.Pump();
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    std::int64_t now = 0;
    plat::QueueEventLoop loop{[this] { return now; }};
    orvo::XDOPtr transactions;
    sim::SimExchange exchange;
    Requester requester;
};

TEST_F(SimExchangeTest, AnswersArriveThroughTheLoopInTheOutputLayout) {
    XTR* price = Tr(L"10001");
    ASSERT_NE(price, nullptr);
    XStruct* input = price->GetInputStruct();
    ASSERT_NE(input, nullptr);
    ASSERT_TRUE(input->SetVal(0, 0, L"000660"));
    const int handle = XCommMan::Instance().Request(price, input, &requester);
    EXPECT_GT(handle, 0);
    EXPECT_TRUE(requester.answers.empty()) << "never inside Request";
    loop.Pump();
    ASSERT_EQ(requester.answers.size(), 1u);
    EXPECT_EQ(requester.answers[0].substr(0, 27), L"000660|SK하이닉스|128000|0|");
    // The order book arrives as a repeating group whose rows the data decides.
    XStruct* received = requester.last;
    ASSERT_EQ(received->GetISCnt(4), 3);
    std::vector<int> path;
    ASSERT_TRUE(received->GetRowFieldIndex(L"book[2].askPrice", path));
    int ask = 0;
    ASSERT_TRUE(received->GetVal(path, ask));
    EXPECT_EQ(ask, 128000 + 3 * 500);
    EXPECT_TRUE(XCommMan::Instance().UnRequest(handle, &requester));
}

TEST_F(SimExchangeTest, ListInquiriesAnswerAPageOfRowsAndTheKeysAroundIt) {
    XTR* list = Tr(L"10003");
    ASSERT_NE(list, nullptr);
    XStruct* input = list->GetInputStruct();
    std::vector<std::wstring> pages;
    for (int key : {0, 4, 2}) {
        ASSERT_TRUE(input->SetVal(0, 0, L"005930") && input->SetVal(0, 1, key));
        ASSERT_GT(XCommMan::Instance().Request(list, input, &requester), 0);
        loop.Pump();
        XStruct* page = requester.last;
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(page->GetISCnt(2), 4) << "a page has the scenario's list rows";
        std::wstring line = requester.answers.back().substr(0, 4) + L":";
        for (int r = 0; r < 4; ++r) {
            std::vector<int> path;
            ASSERT_TRUE(page->GetRowFieldIndex(plat::Format(L"rows[%d].seq", r).c_str(), path));
            int seq = 0;
            ASSERT_TRUE(page->GetVal(path, seq));
            line += L" " + std::to_wstring(seq);
        }
        pages.push_back(line);
    }
    // Next and previous keys, then the rows of the page each key asks for.
    EXPECT_EQ(pages,
              (std::vector<std::wstring>{L"4|0|: 1 2 3 4", L"8|0|: 5 6 7 8", L"6|0|: 3 4 5 6"}));
}

TEST_F(SimExchangeTest, OrdersAreFilledAtTheirLimitOrTheMarket) {
    XTR* order = Tr(L"20001");
    ASSERT_NE(order, nullptr);
    XStruct* input = order->GetInputStruct();
    ASSERT_TRUE(input->SetVal(0, 0, L"005930") && input->SetVal(0, 1, 30) &&
                input->SetVal(0, 2, 71000));
    ASSERT_GT(XCommMan::Instance().Request(order, input, &requester), 0);
    ASSERT_TRUE(input->SetVal(0, 2, 0));
    ASSERT_GT(XCommMan::Instance().Request(order, input, &requester), 0);
    loop.Pump();
    ASSERT_EQ(requester.answers.size(), 2u);
    EXPECT_EQ(requester.answers[0], L"1|30|71000|FILLED");
    EXPECT_EQ(requester.answers[1], L"2|30|71500|FILLED");
}

TEST_F(SimExchangeTest, CancelledAndOrphanedRequestsAreDropped) {
    XTR* price = Tr(L"10001");
    const int handle = XCommMan::Instance().Request(price, price->GetInputStruct(), &requester);
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(XCommMan::Instance().UnRequest(handle, &requester));
    {
        Requester gone;
        ASSERT_GT(XCommMan::Instance().Request(price, price->GetInputStruct(), &gone), 0);
    }
    loop.Pump();
    EXPECT_TRUE(requester.answers.empty());
    EXPECT_EQ(XCommMan::Instance().Request(price, price->GetInputStruct(), nullptr), 0);
}

TEST_F(SimExchangeTest, RealTimeTicksFollowTheTimerAndRepeat) {
    XTR* push = Tr(L"90001");
    ASSERT_NE(push, nullptr);
    ASSERT_TRUE(XCommMan::Instance().RegPushTr(90001, push, &requester));
    loop.Pump();
    EXPECT_TRUE(requester.answers.empty()) << "nothing before the first period";
    for (int i = 0; i < 4; ++i)
        Tick();
    ASSERT_EQ(requester.answers.size(), 4u);
    // Instruments take turns and the market clock runs a second per tick.
    EXPECT_EQ(requester.answers[0].substr(0, 7), L"005930|");
    EXPECT_EQ(requester.answers[1].substr(0, 7), L"000660|");
    EXPECT_EQ(requester.answers[3].substr(requester.answers[3].size() - 6), L"090004");

    // The same scenario gives the same prices.
    sim::SimExchange again;
    ASSERT_TRUE(again.InitWith(ListedStocks()));
    Requester second;
    ASSERT_TRUE(again.RegPushTr(90001, push, &second));
    for (int i = 0; i < 4; ++i)
        again.PushTick();
    EXPECT_EQ(second.answers, requester.answers);
    again.Final();

    // Cancelling from inside an answer stops the ticks.
    requester.cancelInside = true;
    Tick();
    Tick();
    EXPECT_EQ(requester.answers.size(), 5u);
    EXPECT_EQ(loop.NextTimerDue(), -1) << "no registration, no timer";
}

TEST(SimScenario, FilesAreCheckedBeforeUse) {
    sim::Scenario s;
    std::wstring error;
    EXPECT_FALSE(sim::Scenario::Load(L"/nonexistent/scenario.xml", s, error));
    EXPECT_FALSE(error.empty());
    sim::Market market(sim::Scenario{});
    EXPECT_EQ(market.First().code, L"005930") << "an empty scenario trades the built-in stock";
    for (int i = 0; i < 1000; ++i)
        market.Step(market.First());
    EXPECT_GE(market.First().price, market.First().tick);
    EXPECT_EQ(market.First().price % market.First().tick, 0) << "prices move in whole ticks";
}

} // namespace
