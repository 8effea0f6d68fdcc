#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/loader.h"
#include "gate_page.h"
#include "support/fixture_file.h"

namespace {

using test::GateTest;

TEST_F(GateTest, DragGatesGatherAndDropGatesTakeTheElement) {
    Open(FixtureText("screens/gates/drag_drop.xml"));
    EXPECT_EQ(XGate::FindDragGate(Obj(L"src")), Gate(L"drag"));
    std::unique_ptr<XElement> carried(XGate::FindGatherDrag(Obj(L"src")));
    ASSERT_NE(carried, nullptr);
    EXPECT_EQ(carried->MakeString(), L"code=000660") << "only drag items are carried";

    EXPECT_EQ(XGate::FindDropGate(Obj(L"dst")), Gate(L"drop"));
    EXPECT_EQ(XGate::FindDropGate(Obj(L"src")), Gate(L"drop")) << "found beside, not only above";
    EXPECT_EQ(XGate::FindDropGate(Obj(L"lonely")), nullptr) << "a drop block ends the search";
    ASSERT_EQ(XGate::DropGateTrigger(Obj(L"dst"), carried.get()), 1);
    EXPECT_EQ(Data(L"dst"), L"000660");
    EXPECT_EQ(XGate::DropGateTrigger(Obj(L"lonely"), carried.get()), 0);

    EXPECT_EQ(XGate::FindDragGate(Obj(L"lonely")), Gate(L"empty"));
    EXPECT_EQ(XGate::FindGatherDrag(Obj(L"lonely")), nullptr) << "nothing to carry, no drag";
    EXPECT_EQ(XGate::FindGatherDrag(nullptr), nullptr);
    EXPECT_EQ(XGate::FindDropGate(nullptr), nullptr);
}

TEST_F(GateTest, AutoTriggerAtStartTakesTheLinkElementThroughTheDropGate) {
    const std::string kPage = FixtureText("screens/gates/auto_trigger.xml");
    Open(kPage);
    EXPECT_EQ(Data(L"dst"), L"005930") << "AutoTrigger wins over Trigger";
    EXPECT_TRUE(Gate(L"start")->IsAutoTrigger());

    auto linked = std::make_unique<XElement>(L"menu", nullptr);
    linked->SetValue(L"code", L"000660");
    linked->SetValue(L"account", L"77");
    XGate::SetLinkElement(std::move(linked));
    Open(kPage);
    EXPECT_EQ(XGate::GetLinkElement(), nullptr) << "the first auto-triggered gate takes it";
    EXPECT_EQ(Data(L"acct"), L"77");
    // The drop gate's walk applied the start gate, which then did not trigger again.
    EXPECT_EQ(Data(L"dst"), L"000660");
}

TEST_F(GateTest, LoadersKeepGateDataAndReplayItIntoPagesLoadedLater) {
    Open(FixtureText("screens/gates/kept_gate_data.xml"));
    auto* loader = orvo::KindOf<XLoader>(Obj(L"slot"));
    ASSERT_NE(loader, nullptr);
    ASSERT_EQ(Gate(L"go")->TriggerVB(), 1);
    ASSERT_NE(loader->GetSavedGateElement(), nullptr);
    EXPECT_EQ(loader->GetSavedGateElement()->MakeString(), L"code=035720");

    Obj(L"outsideDst")->SetData(L"untouched");
    XElement* root = nullptr;
    XMLParser parser;
    ASSERT_TRUE(parser.ParseMemory(FixtureText("screens/gates/replayed_page.xml"), &root));
    ASSERT_NE(XScrMan::Instance().OpenPageMem(root, loader, nullptr), nullptr);
    EXPECT_EQ(Data(L"insideDst"), L"035720");
    EXPECT_EQ(Data(L"outsideDst"), L"untouched") << "a replay stays inside the page";

    // A gate closed loader keeps gathers out of its page.
    loader->SetGateClose(1);
    XElement gathered;
    ASSERT_EQ(Gate(L"go")->Gather(&gathered), 1);
    EXPECT_EQ(XGate::ChildPageTrigger(nullptr, &gathered), 0);
}

} // namespace
