// How objects end: the teardown walk runs while the whole subtree is still linked and whole,
// handlers may destroy anything (themselves, siblings, the page) without a use after free,
// services never join a page, and address texts never outlive their object.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/live_objects.h"
#include "core/notice_man.h"
#include "core/object_lifetime.h"
#include "core/scr_man.h"
#include "core/window_hooks.h"
#include "core/xdo.h"
#include "core/xml_parser.h"
#include "nubra/registry_snapshot.h"
#include "object_tree.h"
#include "support/recording_presenter.h"

namespace {

std::vector<std::wstring> g_log;

std::wstring Joined() {
    std::wstring out;
    for (const auto& entry : g_log)
        out += (out.empty() ? L"" : L" ") + entry;
    return out;
}

// Stands in for the script layer's object: "Script." actions reach it. Its functions act on
// the object named in the caller's "Param": "Kill" destroys it, "Peek" logs what the caller
// can still reach.
class KillerScript : public XDO {
    ORVO_DISPATCH_MAP()

public:
    KillerScript() { m_nStyle |= XDO_STYLE_SCRIPT; }
    ORVO_KEY(L"Script")

    int HaveFunction(const wchar_t*) { return 1; }
    int RunFunction(const wchar_t* name, IXO* caller) {
        auto* object = dynamic_cast<XDO*>(caller);
        if (!object)
            return 0;
        const std::wstring function(name);
        XDO* target = FindLink(object, object->GetParameter());
        if (function == L"Kill") {
            g_log.push_back(L"kill:" + object->GetName() + L">" + object->GetParameter());
            orvo::DestroyObject(target);
        } else if (function == L"Peek") {
            g_log.push_back(object->GetName() + L"(parent=" +
                            (object->parent() ? object->parent()->GetName() : L"-") + L",sees=" +
                            (target ? target->GetName() : L"-") + L")");
        }
        return 1;
    }
    int RegObject(const wchar_t* name, IXO*) {
        ++registered;
        lastRegistered = name;
        return 1;
    }
    int UnregObject(const wchar_t* name) {
        ++unregistered;
        lastUnregistered = name;
        return 1;
    }

    int registered = 0;
    int unregistered = 0;
    std::wstring lastRegistered, lastUnregistered;
};

ORVO_DISPATCH(KillerScript,
              XDO,
              ORVO_METHOD(HaveFunction),
              ORVO_METHOD(RunFunction),
              ORVO_METHOD(RegObject),
              ORVO_METHOD(UnregObject))

// Records its own teardown: that it still is itself (its override runs) and where it stands.
class Probe : public XDO {
public:
    ORVO_KEY(L"Probe")

protected:
    void Teardown() override {
        g_log.push_back(L"teardown:" + GetName() +
                        (parent() ? L"<" + parent()->GetName() : std::wstring()));
        XDO::Teardown();
    }
};

// A window host that keeps the timers registered with it.
class TimerHost : public XDO, public orvo::WindowHostHooks {
public:
    TimerHost() { m_nStyle |= XDO_STYLE_WINDOWHOST; }
    ORVO_KEY(L"TimerHost")
    int RegTimer(XDO* object, int, int) override {
        timers.push_back(object);
        return 1;
    }
    int UnRegTimer(XDO* object) override {
        std::erase(timers, object);
        g_log.push_back(L"unregtimer:" + object->GetName());
        return 1;
    }
    int DraggingStart(XDO*, int) override { return 0; }
    int RepeatStart(XDO*, const std::vector<int>&) override { return 0; }

    std::vector<XDO*> timers;
};

class TeardownTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        registry = orvo::RegistrySnapshot::Take();
        orvo::RegisterFactory<KillerScript>();
        orvo::RegisterFactory<Probe>();
        orvo::RegisterFactory<TimerHost>();
        previousPresenter = XNoticeMan::Instance().Presenter();
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override {
        XNoticeMan::Instance().SetPresenter(previousPresenter);
        registry.Restore();
    }

    static std::string DestroyEvent(const char* function) {
        return std::string("<Event Trigger='Object.Destroy' Action='Script.") + function + "'/>";
    }

    orvo::RegistrySnapshot registry;
    RecordingPresenter notices;
    orvo::NoticePresenter* previousPresenter = nullptr;
};

TEST_F(TeardownTest, DestroyEventsRunFirstWhileTheWholeSubtreeIsLinkedAndWhole) {
    // clang-format off
    auto root = test::BuildTree("<P Name='page'>"
                                "  <Script Name='code'/>"
                                "  <Probe Name='a' Param='b'>" + DestroyEvent("Peek") +
                                "    <Probe Name='a1' Param='code'>" + DestroyEvent("Peek") + "</Probe>"
                                "  </Probe>"
                                "  <Probe Name='b' Param='a1'>" + DestroyEvent("Peek") + "</Probe>"
                                "</P>");
    // clang-format on
    ASSERT_TRUE(root);
    auto* script = dynamic_cast<KillerScript*>(test::Find(root.get(), L"code"));
    ASSERT_NE(script, nullptr);
    XDO* a1 = test::Find(root.get(), L"a1");
    EXPECT_EQ(a1->ElderScript(), script);
    const orvo::IXORef a1Ref = a1->WeakRef();
    const std::wstring a1Text = XdoToPtr(a1);

    root.reset();
    // Every "Destroy" reaches the script and sees its neighbours by name, a later sibling
    // (b) and an object already named in an earlier Destroy alike; only then do the objects
    // let go, each still its own class, with its parent still linked.
    EXPECT_EQ(Joined(),
              L"a(parent=page,sees=b) b(parent=page,sees=a1) a1(parent=a,sees=code) "
              L"teardown:a<page teardown:b<page teardown:a1<a");
    EXPECT_FALSE(a1Ref.Alive());
    EXPECT_EQ(PtrToXdo(a1Text), nullptr);
    EXPECT_EQ(orvo::PendingDeletes(), 0u);
}

TEST_F(TeardownTest, NamesLeaveTheirScriptWhileItCanStillBeReached) {
    auto root =
        test::BuildTree("<P Name='page'><Script Name='code'/><P Name='x'><P Name='y'/></P></P>");
    auto* script = dynamic_cast<KillerScript*>(test::Find(root.get(), L"code"));
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->registered, 2);
    test::Find(root.get(), L"x")->LinkCut(1, nullptr);
    EXPECT_EQ(script->unregistered, 2);
    EXPECT_EQ(script->lastUnregistered, L"y");
    EXPECT_EQ(test::Find(root.get(), L"x"), nullptr);
}

TEST_F(TeardownTest, HandlersMayDestroyTheirSiblingTheirPageOrThemselves) {
    // A Destroy handler that destroys a sibling inside the same page: that sibling is
    // already going and ends once.
    {
        // clang-format off
        auto root = test::BuildTree("<P Name='page'><Script Name='code'/>"
                                    "<P Name='a' Param='b'>" + DestroyEvent("Kill") + "</P>"
                                    "<Probe Name='b' Param='a'>" + DestroyEvent("Peek") + "</Probe>"
                                    "</P>");
        // clang-format on
        root.reset();
        EXPECT_EQ(Joined(), L"kill:a>b b(parent=page,sees=a) teardown:b<page");
    }
    // A Destroy handler that destroys a sibling outside the subtree going: that one goes at
    // once too, after the walk.
    g_log.clear();
    {
        // clang-format off
        auto root = test::BuildTree("<P Name='page'><Script Name='code'/>"
                                    "<P Name='doomed'><P Name='a' Param='other'>" + DestroyEvent("Kill") + "</P></P>"
                                    "<Probe Name='other' Param='a'>" + DestroyEvent("Peek") + "</Probe>"
                                    "<Probe Name='last'/>"
                                    "</P>");
        // clang-format on
        test::Find(root.get(), L"doomed")->LinkCut(1, nullptr);
        EXPECT_EQ(Joined(), L"kill:a>other other(parent=page,sees=a) teardown:other<page");
        EXPECT_EQ(root->child()->next(), test::Find(root.get(), L"last"));
        EXPECT_EQ(test::Find(root.get(), L"other"), nullptr);
        EXPECT_EQ(orvo::PendingDeletes(), 0u);
    }
    // A message handler that destroys its own page: the walk of the message stops, the page
    // is gone once the message is over, and nothing is touched after.
    g_log.clear();
    {
        // clang-format off
        auto root = test::BuildTree("<P Name='page'><Script Name='code'/>"
                                    "<P Name='a' Param='page'><Event Trigger='Message.Ping' Action='Script.Kill'/></P>"
                                    "<Probe Name='b' Param='a'><Event Trigger='Message.Ping' Action='Script.Peek'/></Probe>"
                                    "</P>");
        // clang-format on
        XDO* page = root.release(); // the handler destroys it
        const orvo::IXORef pageRef = page->WeakRef();
        XDO* a = test::Find(page, L"a");
        a->BroadcastMsgVB(L"Ping", L"");
        EXPECT_FALSE(pageRef.Alive());
        EXPECT_EQ(Joined(), L"kill:a>page teardown:b<page") << "b never hears the message";
        EXPECT_EQ(orvo::PendingDeletes(), 0u);
    }
    // An object destroying itself from its own event, and twice: it ends once.
    g_log.clear();
    {
        // clang-format off
        auto root = test::BuildTree("<P Name='page'><Script Name='code'/>"
                                    "<Probe Name='self' Param='self'>"
                                    "  <Event Trigger='Message.Ping' Action='Script.Kill'/>"
                                    "  <Event Trigger='Message.Ping' Action='Script.Kill'/>"
                                    "</Probe><Probe Name='after'/></P>");
        // clang-format on
        test::Find(root.get(), L"self")->BroadcastMsgVB(L"Ping", L"");
        EXPECT_EQ(Joined(), L"kill:self>self teardown:self<page");
        EXPECT_EQ(root->child()->next(), test::Find(root.get(), L"after"));
    }
}

TEST_F(TeardownTest, APageClosedWithATimerLeavesNoRegistrationBehind) {
    auto root = test::BuildTree(
        "<TimerHost Name='host'><P Name='panel'><Probe Name='ticker'/></P></TimerHost>");
    auto* host = dynamic_cast<TimerHost*>(root.get());
    ASSERT_NE(host, nullptr);
    XDO* ticker = test::Find(root.get(), L"ticker");
    ASSERT_TRUE(ticker->SetTimerVB(100, 0));
    ASSERT_EQ(host->timers.size(), 1u);
    // The panel alone: the host stays and must not keep a timer of an object that is gone.
    test::Find(root.get(), L"panel")->LinkCut(1, nullptr);
    EXPECT_TRUE(host->timers.empty());
    EXPECT_EQ(Joined(), L"teardown:ticker<panel unregtimer:ticker");

    // The whole page: the host goes first, yet is still linked and whole when the object
    // below it gives its timer back.
    auto page = test::BuildTree("<TimerHost Name='host'><Probe Name='ticker'/></TimerHost>");
    ASSERT_TRUE(test::Find(page.get(), L"ticker")->SetTimerVB(50, 3));
    g_log.clear();
    page.reset();
    EXPECT_EQ(Joined(), L"teardown:ticker<host unregtimer:ticker");
}

TEST_F(TeardownTest, AHundredThousandNamedSiblingsEndInOneWalk) {
    auto root = test::BuildTree("<P Name='page'><Script Name='code'/><P Name='list'/></P>");
    auto* script = dynamic_cast<KillerScript*>(test::Find(root.get(), L"code"));
    XDO* list = test::Find(root.get(), L"list");
    for (int i = 0; i < 100000; ++i) {
        auto* row = new XDO();
        list->AddChild(row);
        XElement e(L"P");
        e.SetValue(L"Name", L"row" + std::to_wstring(i));
        row->SetElement(&e);
    }
    EXPECT_EQ(script->registered, 100001);
    list->LinkCut(1, nullptr);
    EXPECT_EQ(script->unregistered, 100001);
    EXPECT_EQ(script->lastUnregistered, L"row99999");
}

TEST_F(TeardownTest, ServicesNeitherJoinAPageNorEnd) {
    XDO* service = new Probe();
    service->SetName(L"service");
    IXO::Register(L"ProbeService", service);
    XElement* markup = nullptr;
    XMLParser parser;
    ASSERT_TRUE(
        parser.ParseMemory("<Probe Name='page'><ProbeService><Probe Name='inside'/></ProbeService>"
                           "<Probe Name='after'/></Probe>",
                           &markup));
    orvo::XDOPtr page(XScrMan::Instance().OpenPageMem(markup, nullptr, nullptr));
    ASSERT_TRUE(page);
    EXPECT_EQ(service->parent(), nullptr);
    EXPECT_EQ(test::Find(page.get(), L"inside"), nullptr)
        << "nothing of the refused element is built";
    EXPECT_NE(test::Find(page.get(), L"after"), nullptr) << "building goes on after it";
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_EQ(notices.confirms[0].text,
              L"<ProbeService> 는 서비스 개체라서 화면 안에 둘 수 없습니다.");

    // Asking to destroy a registered service does nothing; unregistered, it may go.
    orvo::DestroyObject(service);
    EXPECT_EQ(IXO::FindInstance(L"ProbeService"), service);
    EXPECT_FALSE(service->IsTornDown());
    IXO::Unregister(L"ProbeService");
    orvo::DestroyObject(service);
    EXPECT_EQ(Joined(), L"teardown:service");
}

// Objects made one after another at the same address: an address text names only the
// object it was made for.
TEST_F(TeardownTest, AddressTextsNeverNameTheNextObjectAtTheSameAddress) {
    struct Plain : XDO {};
    alignas(Plain) unsigned char storage[sizeof(Plain)];
    auto* first = new (storage) Plain();
    const std::wstring firstText = XdoToPtr(first);
    EXPECT_EQ(PtrToXdo(firstText), first);
    first->~Plain();
    EXPECT_EQ(PtrToXdo(firstText), nullptr);

    auto* second = new (storage) Plain();
    ASSERT_EQ(static_cast<XDO*>(second), static_cast<XDO*>(first)) << "the same address again";
    EXPECT_EQ(PtrToXdo(firstText), nullptr) << "the text of the first object stays dead";
    EXPECT_EQ(PtrToXdo(XdoToPtr(second)), second);
    const std::wstring bare = L"ptr:" + std::to_wstring(reinterpret_cast<std::uintptr_t>(second));
    EXPECT_EQ(PtrToXdo(bare), second) << "a bare address of a live object still resolves";
    EXPECT_EQ(PtrToXdo(bare + L":"), nullptr);
    EXPECT_EQ(PtrToXdo(bare + L":x1"), nullptr);
    EXPECT_EQ(PtrToXdo(bare + L":" + std::to_wstring(second->GetSerial() + 1)), nullptr);
    EXPECT_EQ(PtrToXdo(bare + L":99999999999999999999999"), nullptr);
    second->~Plain();
}

} // namespace
