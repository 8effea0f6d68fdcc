#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/contracts.h"
#include "gate_page.h"
#include "support/fixture_file.h"

namespace {

// A tab panel as the walks see one: it turns to its first child when the element's "tab" is
// its own name, and logs every time it is asked.
class FakeTabPanel : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"TabPanel")
    XDO* SwitchPage(XElement* element) {
        test::GateLog().push_back(GetName() + L":asked");
        const std::wstring* tab = element ? element->FindValue(L"tab") : nullptr;
        if (!tab || *tab != GetName() || m_turned)
            return nullptr;
        m_turned = true;
        return child();
    }

private:
    bool m_turned = false;
};

} // namespace

ORVO_DISPATCH(test::GateProbe, XDO)
ORVO_DISPATCH(test::ProbeGate, XGate)
ORVO_DISPATCH(FakeTabPanel, XDO, ORVO_PROVIDE(orvo::contract::TabPanelSwitchPage, SwitchPage))

namespace {

using test::GateLog;
using test::GateTest;
using Log = std::vector<std::wstring>;

TEST_F(GateTest, TriggerCarriesOutputsToInputsAcrossTheScreen) {
    Open(FixtureText("screens/gates/order_ticket.xml"));
    ASSERT_EQ(Gate(L"order")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"codeDst"), L"005930");
    EXPECT_EQ(Data(L"qtyDst"), L"10");
    EXPECT_EQ(Data(L"priceDst"), L"kept") << "a key missing from the element is not written";
    EXPECT_TRUE(Gate(L"ticket")->IsApplied());
    EXPECT_EQ(XGate::GetTriggerDepth(), 0);
    // Receivers see the element while their input events run; gathers ask first children
    // and next siblings whether to go on.
    const std::wstring e = L"[code=005930,qty=10]";
    EXPECT_EQ(GateLog(),
              (Log{L"codeSrc:20",
                   L"qtySrc:21",
                   L"codeDst:20",
                   L"qtyDst:21",
                   L"priceDst:21",
                   L"qtySrc:14" + e,
                   L"qtySrc:15" + e,
                   L"codeSrc:14" + e,
                   L"codeSrc:15" + e,
                   L"priceDst:14" + e,
                   L"priceDst:15" + e,
                   L"qtyDst:14" + e,
                   L"qtyDst:15" + e,
                   L"codeDst:14" + e,
                   L"codeDst:15" + e,
                   L"Page:14" + e,
                   L"Page:15" + e}))
        << "a node comes after its later siblings, which come after its children";

    // Output only: it cannot be triggered by others' input, and an input-only gate cannot
    // start a trigger or an apply.
    EXPECT_EQ(Gate(L"ticket")->TriggerVB(), 0);
    EXPECT_EQ(Gate(L"ticket")->ApplyVB(), 0);
    Obj(L"codeSrc")->SetData(L"000660");
    ASSERT_EQ(Gate(L"order")->ApplyVB(), 1);
    EXPECT_EQ(Data(L"codeDst"), L"000660");
    ASSERT_EQ(Gate(L"order")->ApplyParamVB(L"code=035720,qty=3"), 1);
    EXPECT_EQ(Data(L"codeDst"), L"035720");
    EXPECT_EQ(Data(L"qtyDst"), L"3");
    EXPECT_EQ(Gate(L"order")->SetParam(L"code=1"), 1);
    EXPECT_EQ(Data(L"codeDst"), L"035720") << "SetParam only checks the text";
    EXPECT_TRUE(notices.confirms.empty());
}

TEST_F(GateTest, FirstSupplierWinsAndPassedValuesOverrideGatheredOnes) {
    Open(FixtureText("screens/gates/suppliers.xml"));
    XElement extra(L"extra", nullptr);
    extra.SetValue(L"code", L"222");
    ASSERT_EQ(Gate(L"start")->TriggerWithElem(nullptr, &extra), 1);
    EXPECT_EQ(Data(L"acct"), L"own") << "the triggering gate's own items come first";
    EXPECT_EQ(Data(L"hidden"), L"far") << "FromSelf false keeps the item quiet at its own trigger";
    EXPECT_EQ(Data(L"code"), L"222") << "a passed value overrides the gathered one";

    // Triggered from elsewhere, the nearer gate supplies the key; the item without a link
    // took "first memo" as input and now outputs it.
    ASSERT_EQ(Gate(L"near")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"acct"), L"inner");
    XElement gathered;
    ASSERT_EQ(Gate(L"sink")->Gather(&gathered), 0) << "an input-only gate gathers nothing";
    ASSERT_EQ(Gate(L"start")->LocalGather(&gathered), 1);
    EXPECT_EQ(gathered.GetTagName(), L"start");
    EXPECT_EQ(gathered.GetSize(), 4);
    EXPECT_EQ(gathered.FindValue(L"memo") ? *gathered.FindValue(L"memo") : L"-", L"first memo");
    EXPECT_EQ(*gathered.FindValue(L"hidden"), L"far");
}

TEST_F(GateTest, ClosedGatesGatherTheirOwnPartForTheirSubtree) {
    // The inner gate's "KeepInnerItem" is the one thing that differs between the two pages.
    auto open = [this](const std::string& keepInner) {
        std::string markup = FixtureText("screens/gates/closed_gate.xml");
        const std::string slot = "{KeepInnerItem}";
        markup.replace(markup.find(slot), slot.size(), keepInner);
        Open(markup);
    };
    open("true");
    ASSERT_EQ(Gate(L"outer")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"dst"), L"IN") << "inner values win below the gate";
    EXPECT_EQ(Data(L"besideDst"), L"OUT") << "the merged element ends with the subtree";
    open("false");
    ASSERT_EQ(Gate(L"outer")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"dst"), L"OUT");
    EXPECT_EQ(Data(L"besideDst"), L"OUT");
}

TEST_F(GateTest, SwitchesOverrideWalkPermissionsPerTriggeringGate) {
    Open(FixtureText("screens/gates/switches.xml"));
    XElement fromG1;
    ASSERT_EQ(Gate(L"g1")->Gather(&fromG1), 1);
    EXPECT_TRUE(fromG1.HaveKey(L"near"));
    EXPECT_TRUE(fromG1.HaveKey(L"near2")) << "later siblings are inside the fence";
    EXPECT_FALSE(fromG1.HaveKey(L"far")) << "g1's gathers stop at the fence";
    XElement fromG2;
    ASSERT_EQ(Gate(L"g2")->Gather(&fromG2), 1);
    EXPECT_TRUE(fromG2.HaveKey(L"far"));

    // The apply switch's value was read from modeSrc when the gate was linked.
    ASSERT_EQ(Gate(L"top")->ApplyParamVB(L"far=loud,mode=quiet"), 1);
    EXPECT_EQ(Data(L"inside"), L"") << "mode=quiet keeps applies out of the fence";
    ASSERT_EQ(Gate(L"top")->ApplyParamVB(L"far=loud,mode=other"), 1);
    EXPECT_EQ(Data(L"inside"), L"loud");
}

TEST_F(GateTest, EventsRunInOrderAndRefusalsStopTheirStep) {
    Open(FixtureText("screens/gates/refusals.xml"));
    GateLog().clear();
    XElement gathered;
    ASSERT_EQ(Gate(L"src")->Gather(&gathered), 1);
    EXPECT_EQ(gathered.MakeString(), L"code=1")
        << "unseen refused GateChild, mute its output, hidden GateNext";
    Log outputs;
    for (const auto& entry : GateLog()) {
        if (entry.find(L":16") != std::wstring::npos || entry.find(L":17") != std::wstring::npos)
            outputs.push_back(entry);
    }
    // The start gate's handler is not for walks from itself: that event is passed over as if
    // agreed, and the one without a handler runs.
    EXPECT_EQ(outputs, (Log{L"mute:16[code=1]", L"src:17[code=1]"}));

    GateLog().clear();
    ASSERT_EQ(Gate(L"src")->TriggerVB(), 1);
    EXPECT_EQ(Data(L"d"), L"") << "a refused GateBeforeInput gets no input";
    const Log& log = GateLog();
    EXPECT_NE(std::find(log.begin(), log.end(), L"deaf:14[code=1]"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), L"deaf:15[code=1]"), log.end())
        << "nor its after-event";
    EXPECT_TRUE(Gate(L"unseen")->IsApplied()) << "GateChild keeps only gathers out";
    EXPECT_TRUE(Gate(L"hidden")->IsApplied());
}

TEST_F(GateTest, ReentryIsRefusedAndLinkFaultsAreReported) {
    Open(FixtureText("screens/gates/reentry.xml"));
    EXPECT_EQ(Confirms(), (Log{L"<gate.gateitem name=\"lost\" link=\"nosuch\"> link not found."}))
        << "a gate without a child links nothing and says nothing";
    GateLog().clear();
    ASSERT_EQ(Gate(L"first")->TriggerVB(), 1);
    const Log& log = GateLog();
    EXPECT_NE(std::find(log.begin(), log.end(), L"nested=0"), log.end());
    EXPECT_EQ(XGate::GetTriggerDepth(), 0);

    // Objects trigger the gates linking them, once per link.
    GateLog().clear();
    EXPECT_EQ(Obj(L"shared")->TriggerLinkedGates(), 2);
    EXPECT_EQ(Obj(L"ask")->TriggerLinkedGates(), 0) << "only linked objects trigger";
    EXPECT_EQ(GateTrigger(Obj(L"ask"), L"twice"), 1);
    EXPECT_EQ(GateTrigger(Obj(L"ask"), L"shared"), 0) << "not a gate";
    EXPECT_EQ(GateTrigger(Obj(L"ask"), L"nowhere"), 0);
    EXPECT_EQ(GateTrigger(nullptr, L"twice"), 0);
}

TEST_F(GateTest, AHandlerClosingThePageEndsTheWalkSafely) {
    Open(FixtureText("screens/gates/closing_handler.xml"));
    XGate* go = Gate(L"go");
    XDO* closed = page.release(); // the handler destroys it
    ASSERT_EQ(go->TriggerVB(), 1);
    EXPECT_FALSE(IsLiveXdo(closed));
    EXPECT_EQ(orvo::PendingDeletes(), 0u);
}

// A tab panel that turned its page walks that page again before the apply walk, as a loader
// walks the page it loaded: panels inside are asked twice, those elsewhere once.
TEST_F(GateTest, APanelThatTurnsItsPageWalksThatPageBeforeTheApply) {
    orvo::RegisterFactory<FakeTabPanel>();
    Open(FixtureText("screens/gates/tab_panel.xml"));
    GateLog().clear();
    EXPECT_EQ(Gate(L"go")->TriggerVB(), 1);
    IXO::Unregister(L"TabPanel");
    Log asked;
    for (const std::wstring& entry : GateLog())
        if (entry.ends_with(L":asked"))
            asked.push_back(entry);
    EXPECT_EQ(asked, (Log{L"inner:asked", L"elsewhere:asked", L"outer:asked", L"inner:asked"}));
    EXPECT_EQ(Data(L"got"), L"outer") << "the apply walk still follows";
}

} // namespace
