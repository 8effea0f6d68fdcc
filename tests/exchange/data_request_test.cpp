// Data requests and sequences against the simulated exchange: a gate's apply walk reaches a
// sequence, whose requests go out, come back through the event loop and land on the screen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "backends/sim/sim_exchange.h"
#include "core/notice_man.h"
#include "core/scr_man.h"
#include "core/xml_parser.h"
#include "data/comm_man.h"
#include "data/tr_set.h"
#include "flow/data_requester.h"
#include "flow/xdata_request.h"
#include "flow/xdata_sequence.h"
#include "flow/xgate.h"
#include "platform/base/event_loop.h"
#include "shell/xtab_panel.h"
#include "support/fixture_file.h"
#include "support/recording_presenter.h"
#include "support/two_stocks.h"

namespace {

// A screen object that counts what it is given and the requests' notices it hears, so a test
// sees how many answers arrived.
class Sink : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"Sink")
    void SetData(const wchar_t* value) override {
        ++writes;
        XDO::SetData(value);
    }
    void OnNotifierChanged(XDO* notifier, int notifyId, int a, int b) override {
        XDO::OnNotifierChanged(notifier, notifyId, a, b);
        if (a == NOTIFY_DR_PROCESSED)
            ++answers;
        codes.push_back(a * 10 + b);
    }
    int writes = 0;
    int answers = 0;
    std::vector<int> codes; // each notice as code * 10 + second value
};

// The quote board screen: a code edit's gate feeding a sequence of the quote and its ticks.
std::string Board() {
    return FixtureText("screens/exchange/board.xml");
}

class DataRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        orvo::RegisterFactory<Sink>();
        plat::EventLoop::Install(&loop);
        XElement* root = nullptr;
        XMLParser parser;
        ASSERT_TRUE(parser.ParseMemory(FixtureText("screens/exchange/transactions.xml"), &root));
        XTRSet::Instance().AddChild(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        ASSERT_TRUE(exchange.InitWith(TwoStocks(11, 3.0)));
        ASSERT_TRUE(XCommMan::Instance().RegCommMan(&exchange));
        ASSERT_TRUE(XCommMan::Instance().InitializeIXO());
    }
    void TearDown() override {
        page.reset();
        exchange.Final();
        while (XDO* c = XTRSet::Instance().child())
            c->LinkCut(1, nullptr);
        plat::EventLoop::Install(nullptr);
        IXO::Unregister(L"Sink");
        XNoticeMan::Instance().SetPresenter(previous);
    }

    void Open(std::string_view markup, bool autoSend = true) {
        std::string text(markup);
        if (auto at = text.find("AUTOSEND"); at != std::string::npos)
            text.replace(at, 8, autoSend ? "true" : "false");
        XElement* root = nullptr;
        XMLParser parser;
        ASSERT_TRUE(parser.ParseMemory(text, &root));
        page.reset(XScrMan::Instance().OpenPageMem(root, nullptr, nullptr));
        ASSERT_NE(page, nullptr);
    }
    XDO* Obj(const wchar_t* name) const { return page->GetObjByNameDown(name); }
    Sink* SinkOf(const wchar_t* name) const { return dynamic_cast<Sink*>(Obj(name)); }
    std::wstring Data(const wchar_t* name) const {
        std::wstring value;
        Obj(name)->GetData(&value);
        return value;
    }
    XDataRequest* Request(const wchar_t* name) const {
        return orvo::KindOf<XDataRequest>(Obj(name));
    }
    // Asks for `code` as a trader does: type it and let the edit trigger its gate.
    void AskFor(const wchar_t* code) {
        Obj(L"codeEdit")->SetData(code);
        ASSERT_EQ(Obj(L"codeEdit")->TriggerLinkedGates(), 1);
    }
    void Tick(int periods = 1) {
        for (int i = 0; i < periods; ++i) {
            now += 100;
            loop.Pump();
        }
    }

    RecordingPresenter notices;
    orvo::NoticePresenter* previous = nullptr;
    std::int64_t now = 0;
    plat::QueueEventLoop loop{[this] { return now; }};
    sim::SimExchange exchange;
    orvo::XDOPtr page;
};

ORVO_DISPATCH(Sink, XDO)

TEST_F(DataRequestTest, ACodeThroughTheGateBringsItsQuoteAndItsTicks) {
    Open(Board());
    ASSERT_TRUE(notices.confirms.empty()) << notices.confirms[0].text;
    AskFor(L"000660");
    EXPECT_NE(Request(L"quote")->GetHandle(), 0);
    EXPECT_EQ(SinkOf(L"nameCell")->writes, 0) << "answers come through the loop";
    loop.Pump();
    EXPECT_EQ(Data(L"nameCell"), L"SK하이닉스");
    EXPECT_EQ(Data(L"priceCell"), L"128,000");
    EXPECT_EQ(Data(L"closeCell"), L"128000") << "a formula over the received fields";
    EXPECT_EQ(Data(L"lastCell"), L"128000") << "a real-time request answers at once too";

    // Ticks of the other code do not reach this screen; each tick of its own does.
    const int before = SinkOf(L"lastCell")->writes;
    Tick(6);
    EXPECT_EQ(SinkOf(L"lastCell")->writes, before + 3);
    EXPECT_EQ(SinkOf(L"priceCell")->writes, 1) << "the quote answered once";

    // Asking again cancels the open requests first: one more answer each, no stale ticks.
    AskFor(L"005930");
    loop.Pump();
    EXPECT_EQ(Data(L"nameCell"), L"삼성전자");
    const int writes = SinkOf(L"lastCell")->writes;
    Tick(6);
    EXPECT_EQ(SinkOf(L"lastCell")->writes, writes + 3);
    EXPECT_TRUE(notices.confirms.empty());
}

TEST_F(DataRequestTest, ASequenceWaitsForEveryKeyAndForSendWithoutAutoSend) {
    Open(Board(), false);
    ASSERT_EQ(orvo::KindOf<XGate>(Obj(L"other"))->TriggerVB(), 1);
    EXPECT_EQ(Request(L"quote")->GetHandle(), 0) << "no code: nothing closed or sent";

    AskFor(L"005930");
    EXPECT_EQ(Request(L"quote")->GetHandle(), 0) << "filled, not sent";
    std::wstring code;
    ASSERT_TRUE(Request(L"quote")->GetRequestStruct()->GetVal(0, 0, code));
    EXPECT_EQ(code, L"005930");

    auto* seq = orvo::KindOf<XDataSequence>(Obj(L"seq"));
    ASSERT_EQ(seq->Send(), 1);
    ASSERT_EQ(seq->Send(), 1);
    loop.Pump();
    EXPECT_EQ(SinkOf(L"answers")->answers, 1) << "sent twice: the first was cancelled";
    EXPECT_EQ(Data(L"nameCell"), L"삼성전자");

    // Cancelled in flight: with Clear the outputs empty at once, and no answer comes.
    ASSERT_EQ(seq->Send(), 1);
    seq->CloseRequest();
    EXPECT_EQ(Data(L"nameCell"), L"");
    loop.Pump();
    EXPECT_EQ(SinkOf(L"answers")->answers, 1);
    EXPECT_EQ(Data(L"nameCell"), L"");
}

TEST_F(DataRequestTest, SendByNameTakesAGatherAndAskesTheCallbackBeforeEachRequest) {
    Open(Board(), false);
    Obj(L"codeEdit")->SetData(L"000660");
    static std::vector<std::wstring> calls;
    calls.clear();
    auto refuseSecond = [](XDO*, XStruct* request, const wchar_t* text) -> int {
        std::wstring code;
        request->GetVal(0, 0, code);
        calls.push_back(code + L"/" + text);
        return calls.size() < 2 ? 1 : 0;
    };
    EXPECT_EQ(DataSequenceSendCallBack(Obj(L"nameCell"), L"seq, query, on, a,b", refuseSecond), 0);
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"000660/ a,b", L"000660/ a,b"}));
    EXPECT_NE(Request(L"quote")->GetHandle(), 0) << "the first went out";
    EXPECT_EQ(Request(L"ticks")->GetHandle(), 0) << "the refused one did not";
    EXPECT_EQ(XDO::s_pGateElement, nullptr) << "the gate element is given back";

    calls.clear();
    EXPECT_EQ(DataSequenceSendCallBack(Obj(L"nameCell"), L"seq,,FALSE", refuseSecond), 1);
    EXPECT_TRUE(calls.empty()) << "a switch reading false, in any case, calls nothing";
    EXPECT_NE(Request(L"ticks")->GetHandle(), 0) << "the values already in the structures went";

    EXPECT_EQ(DataSequenceSend(Obj(L"nameCell"), L"nosuch"), 0);
    EXPECT_EQ(DataSequenceSend(Obj(L"nameCell"), L"seq,nogate"), 0);
    EXPECT_EQ(DataSequenceSend(Obj(L"nameCell"), L"nameCell"), 0);
    ASSERT_EQ(notices.confirms.size(), 3u);
    EXPECT_EQ(notices.confirms[0].text, L"DataSequence nosuch 를 찾지 못했습니다.");
    EXPECT_EQ(notices.confirms[1].text, L"Gate nogate 를 찾지 못했습니다.");
}

TEST_F(DataRequestTest, AClosedScreenCancelsItsRequestsAndTicks) {
    Open(Board());
    AskFor(L"005930");
    ASSERT_GT(exchange.PushTick() + exchange.PushTick(), 0) << "the ticks are registered";
    page.reset(); // closing the screen cancels its requests
    loop.Pump();
    Tick(4);
    EXPECT_EQ(exchange.PushTick(), 0);
    EXPECT_TRUE(notices.confirms.empty());
}

TEST_F(DataRequestTest, BadDeclarationsAreShownAndDropped) {
    Open(R"(<DataControl Name="Page">
  <DataRequest Name="noTr"/>
</DataControl>)");
    Open(R"(<DataControl Name="Page">
  <DataRequest Name="unknown" TR="99999"/>
</DataControl>)");
    ASSERT_EQ(notices.confirms.size(), 2u);
    EXPECT_EQ(notices.confirms[0].text, L"<DataRequest> 에 TR 정의가 되어있지 않습니다.");
    EXPECT_EQ(notices.confirms[1].text,
              L"<DataRequest TR=\"99999\">\n해당 TR 을 trset 에서 찾지 못했습니다.");

    Open(R"(<DataControl Name="Page">
  <DataRequest Name="r" TR="10001">
    <this.input Item="nosuch" Value="1"/>
    <this.output Item="nosuch" Link="x"/>
    <this.output Link="x"/>
  </DataRequest>
</DataControl>)");
    auto* r = Request(L"r");
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->GetOutputs().empty()) << "outputs naming no field are dropped";
    EXPECT_EQ(r->SetItemValue(L"CODE", L"005930"), 1);
    EXPECT_EQ(r->SetItemValue(L"nosuch", L"1"), 0);
    EXPECT_EQ(r->OnReceiveData(nullptr), 1) << "an answer without data still completes";
}

} // namespace

namespace {

TEST_F(DataRequestTest, NativeRequestersAskAgainWithChangesAndRegisterPushes) {
    struct Seen {
        std::vector<std::wstring> codes;
        int refuse = 0;
    } seen;
    auto callback = [](void* context, CDataRequester* requester) -> int {
        auto* s = static_cast<Seen*>(context);
        std::wstring code;
        requester->GetRequest()->GetRequestStruct()->GetVal(0, 0, code);
        s->codes.push_back(code);
        return s->refuse ? 0 : 1;
    };
    auto requester = std::make_unique<CDataRequester>();
    requester->SetCallBack(callback, &seen);
    EXPECT_EQ(requester->GetLazyProc(), 0) << "no request yet";
    ASSERT_EQ(requester->Request(10001, L"code=000660"), 1);
    loop.Pump();
    ASSERT_EQ(requester->RequestNext(10001, L""), 1);
    loop.Pump();
    ASSERT_EQ(requester->RequestNext(10001, L"code=005930"), 1);
    loop.Pump();
    EXPECT_EQ(seen.codes, (std::vector<std::wstring>{L"000660", L"000660", L"005930"}));

    EXPECT_EQ(requester->Request(12345, L"code=1"), 0) << "an unknown transaction";
    EXPECT_EQ(requester->GetRequest(), nullptr) << "leaves no request behind";
    EXPECT_EQ(requester->CloseRequest(0), 0);

    seen.codes.clear();
    ASSERT_EQ(requester->RegisterPush(90001), 1);
    Tick(4);
    EXPECT_EQ(seen.codes.size(), 4u) << "registered without a code: every instrument";
    requester.reset(); // deleting it cancels the registration
    EXPECT_EQ(exchange.PushTick(), 0);
    EXPECT_EQ(OnReceiveDataRequester(nullptr, L"1"), 0) << "a gone requester is not found";
    EXPECT_EQ(OnReceiveDataRequester(nullptr, L"ptr:12"), 0);
}

} // namespace

namespace {

// Scripts decide about an answer through the "Comm" events; the user function stands in for
// a handler that answers with the number it is given.
std::string Chain(const char* receive, const char* after) {
    std::string page = R"xml(<DataControl Name="Page">
  <DataSequence Name="seq" AutoSend="false">
    <DataRequest Name="parent" TR="10001" Listener="answers">
      <this.input Item="code" Value="000660"/>
      <this.output Item="name" Link="nameCell"/>
      <this.Event Trigger="Comm.Receive" Action="User.Run(OrvoTestActions.dll, ReturnNumber, R)"/>
      <this.Event Trigger="Comm.ReceiveAfterProc" Action="User.Run(OrvoTestActions.dll, ReturnNumber, A)"/>
      <DataRequest Name="child" TR="10001">
        <this.input Item="code" Value="005930"/>
        <this.output Item="name" Link="childCell"/>
      </DataRequest>
    </DataRequest>
  </DataSequence>
  <Sink Name="nameCell"/><Sink Name="childCell"/><Sink Name="answers"/>
</DataControl>)xml";
    page.replace(page.find(", R)"), 4, std::string(", ") + receive + ")");
    page.replace(page.find(", A)"), 4, std::string(", ") + after + ")");
    return page;
}

TEST_F(DataRequestTest, CommHandlersStopAnAnswerOrItsNestedRequests) {
    struct Case {
        const char* receive;
        const char* after;
        const wchar_t* name;
        int answers;
        const wchar_t* child;
    } cases[] = {
        {"1", "1", L"SK하이닉스", 1, L"삼성전자"},
        {"0", "1", L"", 0, L""},           // the answer is dropped before anything is written
        {"1", "0", L"SK하이닉스", 1, L""}, // written, but the nested request stays unsent
    };
    for (const Case& c : cases) {
        Open(Chain(c.receive, c.after));
        ASSERT_TRUE(notices.confirms.empty()) << notices.confirms[0].text;
        ASSERT_EQ(orvo::KindOf<XDataSequence>(Obj(L"seq"))->Send(), 1);
        loop.Pump();
        loop.Pump();
        EXPECT_EQ(Data(L"nameCell"), c.name) << c.receive << c.after;
        EXPECT_EQ(SinkOf(L"answers")->answers, c.answers) << c.receive << c.after;
        EXPECT_EQ(Data(L"childCell"), c.child) << c.receive << c.after;
    }

    // Paging asks only tell the listeners; what to send is theirs to decide.
    XDataRequest* parent = Request(L"parent");
    SinkOf(L"answers")->codes.clear();
    parent->RequestNext(1);
    parent->RequestPrev(0);
    parent->RequestFirst();
    parent->RequestLast();
    EXPECT_EQ(SinkOf(L"answers")->codes,
              (std::vector<int>{NOTIFY_DR_NEXT * 10 + 1,
                                NOTIFY_DR_PREV * 10,
                                NOTIFY_DR_FIRST * 10,
                                NOTIFY_DR_LAST * 10}));
}

} // namespace

TEST_F(DataRequestTest, TheGateTurnsTabPanelsToThePagesItsElementNamesAsTheQuoteGoesOut) {
    Open(FixtureText("screens/exchange/tabbed_board.xml"));
    auto* markets = dynamic_cast<XTabPanel*>(Obj(L"markets"));
    auto* views = dynamic_cast<XTabPanel*>(Obj(L"views"));
    ASSERT_TRUE(markets && views);
    Obj(L"marketEdit")->SetData(L"kosdaq");
    AskFor(L"000660");
    EXPECT_EQ(markets->GetPage(), 1);
    EXPECT_EQ(views->GetPage(), 1);
    EXPECT_FALSE(dynamic_cast<XUI*>(Obj(L"kospiPage"))->IsShow());
    EXPECT_TRUE(dynamic_cast<XUI*>(Obj(L"chart"))->IsShow());
    loop.Pump();
    EXPECT_EQ(Data(L"nameCell"), L"SK하이닉스");

    Obj(L"marketEdit")->SetData(L"KOSPI");
    AskFor(L"005930");
    EXPECT_EQ(markets->GetPage(), 0);
    EXPECT_EQ(views->GetPage(), 1) << "no switch of its own matched";
    loop.Pump();
    EXPECT_EQ(Data(L"nameCell"), L"삼성전자");
    EXPECT_TRUE(notices.confirms.empty());
}
