#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/main_man.h"
#include "core/notice_man.h"
#include "core/xdo.h"
#include "object_tree.h"
#include "platform/base/event_loop.h"
#include "platform/base/module.h"
#include "platform/base/nocase.h"
#include "support/recording_presenter.h"
#include "support/scoped_registration.h"

namespace {

// The log of the user library "OrvoTestActions.dll", reached through the same library the
// actions load, so both sides write to one log.
class ActionLog {
public:
    static const ActionLog& Get() {
        static const ActionLog log;
        return log;
    }
    std::wstring Text() const { return m_text ? m_text() : L"<OrvoTestActions not loaded>"; }
    void Clear() const {
        if (m_clear)
            m_clear();
    }
    void Append(const std::wstring& entry) const {
        if (m_append)
            m_append(entry.c_str());
    }

private:
    ActionLog() : m_module(plat::Module::Open(L"OrvoTestActions.dll")) {
        m_text = reinterpret_cast<const wchar_t* (*)()>(m_module.Symbol("TestLog"));
        m_clear = reinterpret_cast<void (*)()>(m_module.Symbol("ClearTestLog"));
        m_append = reinterpret_cast<void (*)(const wchar_t*)>(m_module.Symbol("AppendToTestLog"));
    }

    plat::Module m_module;
    const wchar_t* (*m_text)() = nullptr;
    void (*m_clear)() = nullptr;
    void (*m_append)(const wchar_t*) = nullptr;
};

// Logs its name each time it handles a message ("name(tag)" for tags other than Ping, the
// message of most tests), then runs its declared events. Param="NoSendDown" keeps the
// message from its children, the way a derived class's handler may.
class LoggedNode : public XDO {
public:
    int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override {
        std::wstring entry = GetName();
        if (msg && !plat::EqualsNoCase(msg->GetTagName(), L"Ping"))
            entry += L"(" + msg->GetTagName() + L")";
        ActionLog::Get().Append(entry);
        if (GetParameter() == L"NoSendDown")
            sendDown = 0;
        return XDO::RunMsg(fromUp, msg, sender, origin, sendDown);
    }
};

// Stands in for the script engine's object: it knows the functions listed in "Functions",
// logs the calls it runs and keeps the names exposed to it.
class StandInScript : public XDO {
    ORVO_DISPATCH_MAP()

public:
    StandInScript() { m_nStyle |= XDO_STYLE_SCRIPT; }
    ORVO_KEY(L"Script")
    int SetElement(XElement* e) override {
        XDO::SetElement(e);
        if (e)
            e->GetValue(L"Functions", m_functions);
        return 1;
    }
    int HaveFunction(const wchar_t* name) {
        return (L"," + m_functions + L",").find(L"," + std::wstring(name) + L",") !=
               std::wstring::npos;
    }
    int RunFunction(const wchar_t* name, IXO* caller) {
        auto* object = dynamic_cast<XDO*>(caller);
        ActionLog::Get().Append(GetName() + L"." + name + L"(" +
                                (object ? object->GetName() : L"?") + L")");
        return 9;
    }
    int RegObject(const wchar_t* name, IXO*) {
        registered.push_back(name);
        return 1;
    }
    int UnregObject(const wchar_t* name) {
        unregistered.push_back(name);
        return 1;
    }

    std::vector<std::wstring> registered;
    std::vector<std::wstring> unregistered;

private:
    std::wstring m_functions;
};

ORVO_DISPATCH(StandInScript,
              XDO,
              ORVO_METHOD(HaveFunction),
              ORVO_METHOD(RunFunction),
              ORVO_METHOD(RegObject),
              ORVO_METHOD(UnregObject))

class StandInMenuMan : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int RunByMenuID(const wchar_t* id, const wchar_t* parameter, const wchar_t* options) {
        calls.push_back(std::wstring(id) + L"|" + parameter + L"|" + options);
        return 3;
    }
    std::vector<std::wstring> calls;
};

ORVO_DISPATCH(StandInMenuMan, IXO, ORVO_METHOD(RunByMenuID))

// root
//   p1
//     a
//     b
//   p2
//     c
// with `declarations` inside the object named `holder`.
orvo::XDOPtr Screen(const std::string& holder = "", const std::string& declarations = "") {
    auto node = [&](const std::string& name, const std::string& inner) {
        return "<N Name='" + name + "'>" + (name == holder ? declarations : "") + inner + "</N>";
    };
    return test::BuildTree(
        node("root", node("p1", node("a", "") + node("b", "")) + node("p2", node("c", ""))));
}

// An event calling the test library: Action="User.Run(OrvoTestActions.dll, <call>)".
std::string UserEvent(const std::string& trigger, const std::string& call) {
    return "<Event Trigger='" + trigger + "' Action='User.Run(OrvoTestActions.dll, " + call +
           ")'/>";
}

// An event that logs the message context it is given.
std::string ContextEvent(const std::string& trigger) {
    return "<Event Trigger='" + trigger +
           "' Action='Message.Run(OrvoTestActions.dll, AppendContext)'/>";
}

void Ping(XDO* from, int fromUp = 0, XDO* sender = nullptr, XDO* origin = nullptr) {
    XElement ping(L"Ping");
    from->SendMsg(fromUp, &ping, sender, origin);
}

class MessageEventTest : public ::testing::Test {
protected:
    void SetUp() override {
        IXO::Register(L"N", []() -> IXO* { return new LoggedNode(); });
        IXO::Register(L"Script", []() -> IXO* { return new StandInScript(); });
        m_previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
        log.Clear();
    }
    void TearDown() override {
        plat::EventLoop::Install(nullptr);
        XNoticeMan::Instance().SetPresenter(m_previousPresenter);
        IXO::Unregister(L"N");
        IXO::Unregister(L"Script");
    }

    // Posting works from here on: our loop is installed and "MainMan" initialised on it.
    XMainMan* StartLoop() {
        plat::EventLoop::Install(&loop);
        auto* mainMan = dynamic_cast<XMainMan*>(IXO::GetIXO(L"MainMan"));
        EXPECT_TRUE(mainMan && mainMan->InitializeIXO());
        return mainMan;
    }

    const ActionLog& log = ActionLog::Get();
    RecordingPresenter notices;
    plat::QueueEventLoop loop{[] { return std::int64_t{0}; }};

private:
    orvo::NoticePresenter* m_previousPresenter = nullptr;
};

TEST_F(MessageEventTest, ChildrenGoBeforeTheParentAndTheSenderIsSkipped) {
    auto root = Screen();
    XDO* p1 = test::Find(root.get(), L"p1");
    XDO* a = test::Find(root.get(), L"a");
    struct Case {
        XDO* start;
        int fromUp;
        XDO* sender;
        const wchar_t* expected;
    };
    for (const Case& c : {Case{root.get(), 0, nullptr, L"root p1 a b p2 c"},
                          Case{a, 0, nullptr, L"a p1 b root p2 c"},
                          Case{p1, 1, root.get(), L"p1 a b"},
                          Case{p1, 0, a, L"p1 b root p2 c"}}) {
        log.Clear();
        Ping(c.start, c.fromUp, c.sender);
        EXPECT_EQ(log.Text(), c.expected)
            << "from " << c.start->GetName() << " fromUp=" << c.fromUp;
    }

    auto closed = test::BuildTree(R"(<N Name="top" Param="NoSendDown"><N Name="inside"/></N>)");
    log.Clear();
    Ping(closed.get());
    EXPECT_EQ(log.Text(), L"top") << "a handler that clears send-down keeps the children out";
}

TEST_F(MessageEventTest, DeclaredMessagesSteerHandlingAndDirections) {
    struct Case {
        const char* p1Declarations;
        const wchar_t* start;
        const wchar_t* expected;
        const wchar_t* tag = L"Ping";
    };
    const Case cases[] = {
        {R"(<Message Name="Ping" SendDown="False"/>)", L"root", L"root p1 p2 c"},
        {R"(<Message Name="Ping" SendDown="False"/>)", L"a", L"a p1 root p2 c"},
        {R"(<Message Name="Ping" SendUp="False"/>)", L"a", L"a p1 b"},
        {R"(<Message Name="Ping" SendUp="False"/>)", L"root", L"root p1 a b p2 c"},
        {R"(<Message Name="Ping" FromUp="False"/>)", L"root", L"root p2 c"},
        {R"(<Message Name="Ping" FromUp="False"/>)", L"a", L"a p1 b root p2 c"},
        {R"(<Message Name="Ping" FromDown="False"/>)", L"a", L"a"},
        {R"(<Message Name="Ping" FromDown="False"/>)", L"p1", L""},
        {R"(<Message Name="Ping" SelfProc="True"/>)", L"root", L"root p1 a b p2 c"},
        {R"(<Message Name="Ping" SelfProc="True" FromUp="False"/>)", L"root", L"root p1 p2 c"},
        {R"(<Message Name="Ping" Target="b, c"/>)", L"root", L"root b c p2 c"},
        {R"(<Message Name="Ping" Target="b, c"/>)", L"a", L"a b c"},
        {R"(<Message Name="Ping" Target="p1"/>)", L"root", L"root p1 p2 c"},
        {R"(<Message Name="Ping" Target="nobody"/>)", L"root", L"root p1 a b p2 c"},
        {R"(<Message Name="Ping" SelfProc="True" Target="c"/>)", L"root", L"root p1 c p2 c"},
        {R"(<Message Name="Other" SendDown="False"/>)", L"root", L"root p1 a b p2 c"},
        {R"(<Message Name="PING" SendDown="False"/>)", L"root", L"root p1 p2 c"},
        {R"(<Message SendDown="False"/><Message Name="Ping"/>)", L"root", L"root p1 p2 c"},
        {R"(<Message Name="Ping"/><Message SendDown="False"/>)", L"root", L"root p1 a b p2 c"},
        {R"(<Message Name="Ping"/><Message SendDown="False"/>)",
         L"root",
         L"root(Pong) p1(Pong) p2(Pong) c(Pong)",
         L"Pong"},
    };
    for (const Case& c : cases) {
        auto root = Screen("p1", c.p1Declarations);
        log.Clear();
        XElement msg(c.tag);
        test::Find(root.get(), c.start)->SendMsg(0, &msg, nullptr, nullptr);
        EXPECT_EQ(log.Text(), c.expected) << c.p1Declarations << " from " << c.start;
    }
}

TEST_F(MessageEventTest, TargetsAreTheOwnerThenBelowThenLaterSiblings) {
    // Each object's event says where it stands relative to "p1", which names x and y.
    auto logs = [](const std::string& where) {
        return UserEvent("Message.Ping", "AppendName, " + where);
    };
    // clang-format off
    auto root = test::BuildTree("<P Name='root'>"
                                "  <P Name='y'>" + logs("earlier") + "</P>"
                                "  <P Name='p1'><Message Name='Ping' Target='x,y'/>"
                                "    <P><P Name='x'>" + logs("below") + "</P></P>"
                                "  </P>"
                                "  <P Name='x'>" + logs("later") + "</P>"
                                "  <P><P Name='y'>" + logs("later-nested") + "</P></P>"
                                "</P>");
    // clang-format on
    Ping(test::Find(root.get(), L"p1"), 1);
    EXPECT_EQ(log.Text(), L"x:below y:later-nested");

    // A target destroyed since is skipped, and the message still goes no further.
    test::Find(root.get(), L"p1")->child()->LinkCut(1, nullptr);
    log.Clear();
    Ping(test::Find(root.get(), L"p1"), 1);
    EXPECT_EQ(log.Text(), L"y:later-nested");
}

TEST_F(MessageEventTest, ForwardedMessageReachesOnlyTheDeclaringObjectLater) {
    StartLoop();
    auto root = Screen("p1",
                       R"(<Message Name="Ping" PostMsg="Pong" FromUp="False"/>)" +
                           UserEvent("Message.Pong", "AppendMsgItem, k"));
    XElement ping(L"Ping");
    ping.SetValue(L"k", L"7");
    root->SendMsg(0, &ping, nullptr, nullptr);
    EXPECT_EQ(log.Text(), L"root p2 c") << "forwarded even where the message stops";
    EXPECT_EQ(loop.Pump(), 1u);
    EXPECT_EQ(log.Text(), L"root p2 c p1(Pong) 7");
    EXPECT_EQ(loop.Pump(), 0u);
}

TEST_F(MessageEventTest, PostedWorkArrivesOnPumpUnlessTheTargetIsGone) {
    XMainMan* mainMan = StartLoop();
    ASSERT_NE(mainMan, nullptr);
    auto root = Screen("p1", UserEvent("Event.Refresh", "AppendEvtItem, k"));
    XDO* a = test::Find(root.get(), L"a");
    XDO* p1 = test::Find(root.get(), L"p1");
    using Dispatch = void(const wchar_t*, const wchar_t*);
    a->GetFunction<Dispatch>(L"PostMsg")(L"Ping", L"k=1");
    p1->GetFunction<Dispatch>(L"PostEvt")(L"Refresh", L"k=2");
    EXPECT_EQ(log.Text(), L"");
    loop.Pump();
    EXPECT_EQ(log.Text(), L"a p1 b root p2 c 2");

    std::vector<int> commands;
    mainMan->SetCommandHandler([&commands](int id) { commands.push_back(id); });
    a->Action(L"Cmd.ID(65537)");
    loop.Pump();
    mainMan->SetCommandHandler({});
    EXPECT_EQ(commands, std::vector<int>{1}) << "the low 16 bits of the id";

    log.Clear();
    a->GetFunction<Dispatch>(L"PostMsg")(L"Ping", L"");
    p1->GetFunction<Dispatch>(L"PostEvt")(L"Refresh", L"k=3");
    p1->LinkCut(1, nullptr);
    EXPECT_EQ(loop.Pump(), 2u);
    EXPECT_EQ(log.Text(), L"") << "destroyed targets receive nothing";

    plat::EventLoop::Install(nullptr);
    test::Find(root.get(), L"c")->GetFunction<Dispatch>(L"PostMsg")(L"Ping", L"");
    plat::EventLoop::Install(&loop);
    EXPECT_EQ(loop.Pending(), 0u) << "without a loop posting drops the message";
}

TEST_F(MessageEventTest, NestedDispatchSeesItsOwnElementAndRestoresTheOuter) {
    // clang-format off
    auto root = test::BuildTree("<P Name='root'>" +
                                  UserEvent("Message.Outer", "AppendMsgItem, k") +
                                  UserEvent("Message.Outer", "BroadcastFromHere, Inner:k=inner") +
                                  UserEvent("Message.Outer", "AppendMsgItem, k") +
                                "  <P Name='child'>" +
                                  UserEvent("Message.Inner", "AppendMsgItem, k") +
                                "  </P>"
                                "</P>");
    // clang-format on
    XElement outer(L"Outer");
    outer.SetValue(L"k", L"outer");
    root->SendMsg(0, &outer, nullptr, nullptr);
    EXPECT_EQ(log.Text(), L"outer inner outer");
    EXPECT_EQ(XDO::s_pMsgElement, nullptr);
}

TEST_F(MessageEventTest, MessageCrossesTenThousandNestedObjects) {
    struct Counter : XDO {
        explicit Counter(int& n) : count(n) {}
        int RunMsg(int fromUp, XElement* msg, XDO* sender, XDO* origin, int& sendDown) override {
            ++count;
            return XDO::RunMsg(fromUp, msg, sender, origin, sendDown);
        }
        int& count;
    };
    int handled = 0;
    auto root = std::make_unique<Counter>(handled);
    XDO* tip = root.get();
    for (int i = 1; i < 10000; ++i) {
        auto* next = new Counter(handled);
        tip->AddChild(next);
        tip = next;
    }
    Ping(root.get());
    EXPECT_EQ(handled, 10000);
    handled = 0;
    Ping(tip);
    EXPECT_EQ(handled, 10000) << "climbing from the deepest object reaches every ancestor once";
}

TEST_F(MessageEventTest, HandlersMayDestroyObjectsStillOnTheWay) {
    struct Case {
        const char* holder;
        const char* victim; // empty: the holder itself
        const wchar_t* start;
        const wchar_t* expected;
        const wchar_t* gone;
    };
    const Case cases[] = {
        {"a", "b", L"root", L"root p1 a p2 c", L"b"},   // a sibling still to come
        {"p1", "a", L"a", L"a p1 b root p2 c", L"a"},   // the sender
        {"a", "p1", L"root", L"root p1 a p2 c", L"p1"}, // the parent, with b still to come
        {"p1", "", L"root", L"root p1 p2 c", L"p1"},    // the handler's own object
        {"c", "p1", L"c", L"c p2 root", L"p1"},         // the sibling subtree of the climb
    };
    for (const Case& c : cases) {
        auto root =
            Screen(c.holder, UserEvent("Message.Ping", std::string("DestroyNamed, ") + c.victim));
        log.Clear();
        Ping(test::Find(root.get(), c.start));
        EXPECT_EQ(log.Text(), c.expected) << c.holder << " destroys '" << c.victim << "'";
        EXPECT_EQ(test::Find(root.get(), c.gone), nullptr);
    }
}

TEST_F(MessageEventTest, HandlersAfterOneThatDestroysSenderOrOriginGetNull) {
    // Along the way: b destroys p1 (the sender of root's hop) and a (the origin) with it.
    // clang-format off
    auto root = test::BuildTree("<P Name='root'>" + ContextEvent("Message.Ping") +
                                "  <P Name='p1'><P Name='a'/>"
                                "    <P Name='b'>" +
                                       UserEvent("Message.Ping", "DestroyNamed, p1") +
                                "    </P>"
                                "  </P>"
                                "</P>");
    // clang-format on
    Ping(test::Find(root.get(), L"a"), 0, nullptr, test::Find(root.get(), L"a"));
    EXPECT_EQ(log.Text(), L"root<Ping,up=0,sender=-,origin=->");

    // On one object: the first handler destroys the sender, the second sees it gone.
    // clang-format off
    auto one = test::BuildTree("<P Name='root'>"
                               "  <P Name='p1'>" + UserEvent("Message.Ping", "DestroyNamed, a") +
                                                   ContextEvent("Message.Ping") +
                                                   UserEvent("Event.Refresh", "DestroyNamed, b") +
                                                   ContextEvent("Event.Refresh") +
                               "    <P Name='a'/><P Name='b'/>"
                               "  </P>"
                               "</P>");
    // clang-format on
    XDO* p1 = test::Find(one.get(), L"p1");
    log.Clear();
    Ping(p1, 0, test::Find(one.get(), L"a"), test::Find(one.get(), L"a"));
    XElement refresh(L"Refresh");
    p1->SendEvent(&refresh, test::Find(one.get(), L"b"));
    EXPECT_EQ(log.Text(), L"p1<Ping,up=0,sender=-,origin=-> p1<Refresh,up=0,sender=-,origin=->");

    // Its own handler (SelfProc) destroys the sender, the first target the origin; the
    // second target gets neither.
    // clang-format off
    auto targets = test::BuildTree("<P Name='root'>"
                                   "  <P Name='p1'>"
                                   "    <Message Name='Ping' SelfProc='True' Target='x,y'/>" +
                                          UserEvent("Message.Ping", "DestroyNamed, s") +
                                   "    <P Name='x'>" +
                                          UserEvent("Message.Ping", "DestroyNamed, o") +
                                   "    </P>"
                                   "    <P Name='y'>" + ContextEvent("Message.Ping") + "</P>"
                                   "  </P>"
                                   "  <P Name='o'/><P Name='s'/>"
                                   "</P>");
    // clang-format on
    log.Clear();
    Ping(test::Find(targets.get(), L"p1"),
         0,
         test::Find(targets.get(), L"s"),
         test::Find(targets.get(), L"o"));
    EXPECT_EQ(log.Text(), L"y<Ping,up=0,sender=-,origin=->");
}

TEST_F(MessageEventTest, NestedNotificationsKeepEveryLoopOnItsNextListener) {
    auto root = test::BuildTree(R"(<P Name="root"><P Name="src" Listener="l1,l2,l3,l4"/>
        <P Name="l1"/><P Name="l2"/><P Name="l3"/><P Name="l4"/></P>)");
    XDO* src = test::Find(root.get(), L"src");
    src->RunObjectEvent(EVT_AFTERCREATE);
    static std::vector<std::wstring> calls;
    calls.clear();
    // l2 notifies again from inside the loop; in the inner loop l3 destroys l1, which both
    // loops have passed; back in the outer loop l3 destroys l4, which it has not reached.
    auto handler = [](XDO* self, XDO* notifier, int, int nested, int) {
        const std::wstring& name = self->GetName();
        calls.push_back(name + (nested ? L"'" : L""));
        if (name == L"l2" && !nested)
            notifier->NotifyChange(1, 0);
        else if (name == L"l3")
            self->GetTopParent()->GetObjByNameDown(nested ? L"l1" : L"l4")->LinkCut(1, nullptr);
    };
    for (const wchar_t* n : {L"l1", L"l2", L"l3", L"l4"})
        test::Find(root.get(), n)->SetOnNotifierChanged(handler);
    src->NotifyChange(0, 0);
    std::wstring joined;
    for (const auto& call : calls)
        joined += call + L" ";
    EXPECT_EQ(joined, L"l1 l2 l1' l2' l3' l4' l3 ");
    ASSERT_EQ(src->GetListeners().size(), 2u);
    EXPECT_EQ(src->GetListeners()[1]->GetName(), L"l3");
}

// "kind/id/mouse flags/name/action kind" of a declaration, or "rejected".
std::wstring Declared(const wchar_t* trigger, const wchar_t* action) {
    XElement e(L"Event");
    if (trigger)
        e.SetValue(L"Trigger", trigger);
    if (action)
        e.SetValue(L"Action", action);
    XEvent evt;
    if (!evt.SetElement(&e))
        return L"rejected";
    return std::to_wstring(evt.GetTriggerKind()) + L"/" + std::to_wstring(evt.GetTriggerID()) +
           L"/" + std::to_wstring(evt.GetMouseFlags()) + L"/" + evt.GetTriggerName() + L"/" +
           std::to_wstring(evt.GetActionKind());
}

TEST_F(MessageEventTest, TriggersAndActionKindsAsDeclared) {
    struct Case {
        const wchar_t* trigger; // null: no "Trigger"
        const wchar_t* action;  // null: no "Action"
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"object.gatebeforeinput", L"Sys.FrameMove", L"0/14/0//0"},
        {L"Object.Unknown", L"menu.RunID(1,x)", L"0/-1/0//1"},
        {L"Mouse.Click", L"Cmd.ID(1)", L"1/-1/16//2"},
        {L"Mouse.Down", L"User.Run(a,b)", L"1/-1/4//3"},
        {L"MOUSE.DoubleClick", L"Message.Run(a,b)", L"1/-1/64//4"},
        {L"Message.Ping", L"Script.F", L"3/-1/0/Ping/5"},
        {L"Comm.ReceiveDataProc", L"Macro.F", L"4/1/0//-1"},
        {L"comm.request", L"Sys.X", L"4/3/0//0"},
        {L"Event.Refresh", L"Sys.X", L"5/-1/0/Refresh/0"},
        {L"Other.Thing", L"Sys.X", L"-1/-1/0//0"},
        {L"Ping", L"Sys.X", L"rejected"},
        {L".Ping", L"Sys.X", L"rejected"},
        {L"Message.", L"Sys.X", L"rejected"},
        {nullptr, L"Sys.X", L"rejected"},
        {L"Message.Ping", nullptr, L"rejected"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Declared(c.trigger, c.action), c.expected) << (c.trigger ? c.trigger : L"-");
}

TEST_F(MessageEventTest, ObjectEventsRunTheHandlerInTheirSlot) {
    // clang-format off
    const char* names[] = {"BeforeCreate", "AfterCreate", "Initialize", "Run", nullptr,
                           "Destroy", "Paint", "Dragging", nullptr, "Repeat", "Select",
                           "UnSelect", "Change", "Timer", "GateBeforeInput", "GateAfterInput",
                           "GateBeforeOutput", "GateAfterOutput", "GateBeforeParam",
                           "GateAfterParam", "GateChild", "GateNext"};
    // clang-format on
    std::string markup = "<P Name='obj'>";
    for (int id = 0; id < 22; ++id) {
        if (names[id])
            markup += UserEvent(std::string("Object.") + names[id],
                                "ReturnNumber, " + std::to_string(100 + id));
    }
    // Ids 4 and 8 have no name, so nothing can reach their slots.
    markup += UserEvent("Object.ChildAdded", "ReturnNumber, 4") +
              UserEvent("Object.8", "ReturnNumber, 8");
    // The later of two declarations for one id takes the slot; a disabled one does not.
    markup += UserEvent("Object.Run", "ReturnNumber, 7") +
              "<Event Trigger='Object.Run' Enable='False' Action='User.Run(OrvoTestActions.dll, "
              "ReturnNumber, 9)'/>";
    auto obj = test::BuildTree(markup + "</P>");
    for (int id = 0; id < 22; ++id) {
        int expected = id == EVT_RUN ? 7 : names[id] ? 100 + id : 1;
        EXPECT_EQ(obj->RunObjectEvent(id), expected) << "event " << id;
        if (id == EVT_INITIALIZE) {
            EXPECT_EQ(obj->GetCreateState(), 3);
        }
    }
    EXPECT_EQ(obj->GetCreateState(), 4);
    EXPECT_EQ(obj->GetEvents().size(), 20u + 2u + 1u) << "every enabled declaration is kept";
    EXPECT_EQ(obj->RunObjectEventVB(L"gatenext"), 121);

    using Dispatch = void(const wchar_t*, const wchar_t*);
    // clang-format off
    auto events = test::BuildTree("<P Name='obj'>" +
                                         UserEvent("Event.Refresh", "AppendEvtItem, k") +
                                         UserEvent("Message.Refresh", "AppendName, message") +
                                         UserEvent("Event.Other", "AppendName, other") +
                                  "  <P Name='child'>" +
                                         UserEvent("Event.Refresh", "AppendName, child") +
                                  "  </P>"
                                  "</P>");
    // clang-format on
    events->GetFunction<Dispatch>(L"SendEvt")(L"REFRESH", L"k=5");
    EXPECT_EQ(log.Text(), L"5") << "events stay on their object and only run event triggers";
    EXPECT_EQ(events->GetEvtItem(L"k"), L"");
    events->GetFunction<Dispatch>(L"BroadcastMsg")(L"Refresh", L"k=6");
    EXPECT_EQ(log.Text(), L"5 obj:message");
}

TEST_F(MessageEventTest, UserActionsCallTheLibraryOrSayWhatIsMissing) {
    auto obj = test::BuildTree("<P Name='obj'>" +
                               UserEvent("Object.Run", "AppendName, from event") + "</P>");
    EXPECT_EQ(obj->Action(L"User.Run(OrvoTestActions.dll, ReturnNumber, 42)"), 42);
    EXPECT_EQ(obj->Action(L"user.run( OrvoTestActions , ReturnNumber , -3 )"), -3);
    // The parameter runs to the last ")": text after it is no part of the call, and a ")"
    // inside the parameter is.
    EXPECT_EQ(obj->Action(L"User.Run(OrvoTestActions.dll, ReturnNumber, 7) ; a remark"), 7);
    EXPECT_EQ(obj->Action(L"User.Run(OrvoTestActions.dll, AppendName, f(x)) tail"), 1);
    EXPECT_EQ(log.Text(), L"obj:f(x)");
    log.Clear();
    obj->RunObjectEvent(EVT_RUN);
    obj->RunObjectEvent(EVT_RUN);
    EXPECT_EQ(log.Text(), L"obj:from event obj:from event");
    EXPECT_TRUE(notices.confirms.empty());

    const wchar_t* missing[] = {L"Run(NoSuchLibrary.dll, ReturnNumber, 42)",
                                L"Run(OrvoTestActions.dll, NoSuchFunction, 42)",
                                L"Run(OrvoTestActions.dll)"};
    for (const wchar_t* call : missing)
        EXPECT_EQ(obj->Action((L"User." + std::wstring(call)).c_str()), 1) << call;
    ASSERT_EQ(notices.confirms.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(notices.confirms[i].text,
                  L"Invalid User Function :\nUser." + std::wstring(missing[i]));
}

TEST_F(MessageEventTest, MessageActionsSeeWhereTheMessageCameFrom) {
    const std::string record = ContextEvent("Message.Ping");
    const std::string silent =
        "<Event Trigger='Message.Ping' Action='Message.Run(OrvoTestActions.dll, NoSuchFunction)'/>";
    // clang-format off
    auto root = test::BuildTree("<P Name='root'>" + record +
                                "  <P Name='p1'>" + record + silent +
                                "    <P Name='a'/>"
                                "    <P Name='b'>" + record + ContextEvent("Event.Refresh") + "</P>"
                                "  </P>"
                                "</P>");
    // clang-format on
    XDO* a = test::Find(root.get(), L"a");
    Ping(a, 0, nullptr, a);
    EXPECT_EQ(log.Text(),
              L"p1<Ping,up=0,sender=a,origin=a> b<Ping,up=1,sender=p1,origin=a> "
              L"root<Ping,up=0,sender=p1,origin=a>");
    EXPECT_TRUE(notices.confirms.empty()) << "a missing message function is silent";
    log.Clear();
    XDO* b = test::Find(root.get(), L"b");
    b->GetFunction<void(const wchar_t*, const wchar_t*)>(L"SendEvt")(L"Refresh", L"");
    EXPECT_EQ(log.Text(), L"b<Refresh,up=0,sender=b,origin=b>");
}

TEST_F(MessageEventTest, ScriptActionsUseTheNearestElderScript) {
    auto root = test::BuildTree(R"(<P Name="root">
        <Script Name="outer" Functions="OnClick"/>
        <P Name="p1">
          <P Name="a"/>
          <Script Name="inner" Functions="OnClick,OnInner"/>
          <P/>
          <P Name="b"/>
        </P>
        <P Name="late"/>
      </P>)");
    XDO* a = test::Find(root.get(), L"a");
    EXPECT_EQ(test::Find(root.get(), L"b")->Action(L"Script.OnClick"), 9);
    EXPECT_EQ(a->Action(L"Script. OnClick "), 9);
    EXPECT_EQ(log.Text(), L"inner.OnClick(b) outer.OnClick(a)");
    EXPECT_EQ(a->Action(L"Script.OnInner"), 0) << "a later script is no elder";
    auto lone = test::BuildTree(R"(<P Name="lone"/>)");
    EXPECT_EQ(lone->Action(L"Script.OnClick"), 0);
    ASSERT_EQ(notices.confirms.size(), 2u);
    EXPECT_EQ(notices.confirms[0].text, L"Script.OnInner not found in <Script>.");
    EXPECT_EQ(notices.confirms[1].text, L"Script.OnClick : <Script> not found.");

    auto* outer = dynamic_cast<StandInScript*>(test::Find(root.get(), L"outer"));
    auto* inner = dynamic_cast<StandInScript*>(test::Find(root.get(), L"inner"));
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(outer->registered, (std::vector<std::wstring>{L"p1", L"a", L"inner", L"late"}));
    EXPECT_EQ(inner->registered, std::vector<std::wstring>{L"b"});

    // Removing a branch tells the scripts, while they can still be reached, which names go.
    test::Find(root.get(), L"p1")->LinkCut(1, nullptr);
    EXPECT_EQ(outer->unregistered, (std::vector<std::wstring>{L"p1", L"a", L"inner"}));
}

TEST_F(MessageEventTest, MenuActionsGoToTheMenuService) {
    StandInMenuMan menu;
    orvo::XDOPtr objOwner(new XDO());
    XDO& obj = *objOwner;
    {
        ScopedRegistration registration(L"MenuMan", &menu);
        EXPECT_EQ(obj.Action(L"Menu.RunID( 1203 , code=005930 )"), 3);
        EXPECT_EQ(obj.Action(L"Menu.Open(1203)"), 1);
    }
    ScopedRegistration noMenus(L"MenuMan", nullptr);
    EXPECT_EQ(obj.Action(L"Menu.RunID(1204, x)"), 1);
    EXPECT_EQ(menu.calls, std::vector<std::wstring>{L"1203|code=005930|0"});
}

} // namespace
