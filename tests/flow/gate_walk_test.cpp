#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/contracts.h"
#include "gate_page.h"

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
    Open(R"(<Probe Name="Page">
  <gate Name="order" Type="Output">
    <this.GateItem Name="Code" Type="Output" Link="codeSrc"/>
    <this.GateItem Name="qty" Type="Gather" Link="qtySrc"/>
    <Probe Name="codeSrc" Data="005930"/>
    <Probe Name="qtySrc" Data="10"/>
  </gate>
  <gate Name="ticket" Type="Input">
    <this.GateItem Name="code" Type="Apply" Link="codeDst"/>
    <this.GateItem Name="QTY" Type="Input" Link="qtyDst"/>
    <this.GateItem Name="price" Type="Input" Link="priceDst"/>
    <Probe Name="codeDst"/><Probe Name="qtyDst"/><Probe Name="priceDst" Data="kept"/>
  </gate>
</Probe>)");
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
    Open(R"(<Probe Name="Page">
  <gate Name="near" Type="Output">
    <this.GateItem Name="acct" Type="Output" Value="inner"/>
    <Probe Name="a"/>
  </gate>
  <gate Name="start" Type="Output,Input">
    <this.GateItem Name="acct" Type="Output" Value="own"/>
    <this.GateItem Name="hidden" Type="Output" Value="self" FromSelf="false"/>
    <this.GateItem Name="memo" Type="Input,Output"/>
    <Probe Name="b"/>
  </gate>
  <gate Name="far" Type="Output">
    <this.GateItem Name="acct" Type="Output" Value="outer"/>
    <this.GateItem Name="hidden" Type="Output" Value="far"/>
    <this.GateItem Name="memo" Type="Output" Value="first memo"/>
    <this.GateItem Name="code" Type="Output" Value="111"/>
    <Probe Name="c"/>
  </gate>
  <gate Name="sink" Type="Input">
    <this.GateItem Name="acct" Type="Input" Link="acct"/>
    <this.GateItem Name="hidden" Type="Input" Link="hidden"/>
    <this.GateItem Name="code" Type="Input" Link="code"/>
    <Probe Name="acct"/><Probe Name="hidden"/><Probe Name="code"/>
  </gate>
</Probe>)");
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
    auto open = [this](const char* keepInner) {
        Open(std::string(R"(<Probe Name="Page">
  <gate Name="outer" Type="Output">
    <this.GateItem Name="acct" Type="Output" Value="OUT"/>
    <Probe Name="x"/>
  </gate>
  <gate Name="inner" gdown="false" KeepInnerItem=")") +
             keepInner + R"(">
    <this.GateItem Name="acct" Type="Output" Value="IN"/>
    <gate Name="leaf" Type="Input">
      <this.GateItem Name="acct" Type="Input" Link="dst"/><Probe Name="dst"/>
    </gate>
  </gate>
  <gate Name="beside" Type="Input">
    <this.GateItem Name="acct" Type="Input" Link="besideDst"/><Probe Name="besideDst"/>
  </gate>
</Probe>)");
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
    Open(R"xml(<Probe Name="Page">
  <gate Name="top" Type="Output">
    <this.GateItem Name="far" Type="Output" Value="F"/><Probe Name="t"/>
  </gate>
  <gate Name="fence" Type="Output">
    <this.Switch When="Gather" GateName="G1" gup="false"/>
    <this.Switch When="Apply" GateItem="mode" Value="Data(modeSrc)" adown="false"/>
    <this.Switch GateName="ignored"/>
    <gate Name="g1" Type="Output">
      <this.GateItem Name="near" Type="Output" Value="N"/><Probe Name="a"/>
    </gate>
    <gate Name="g2" Type="Output,Input">
      <this.GateItem Name="near2" Type="Output" Value="M"/>
      <this.GateItem Name="far" Type="Input" Link="inside"/>
      <Probe Name="inside"/>
    </gate>
  </gate>
  <Probe Name="modeSrc" Data="quiet"/>
</Probe>)xml");
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
    Open(R"(<Probe Name="Page">
  <ProbeGate Name="src" Type="Output">
    <this.Event Trigger="Object.GateBeforeOutput" Action="Sys.None" FromSelf="false"/>
    <this.GateItem Name="code" Type="Output" Value="1"/>
    <Probe Name="a">
      <ProbeGate Name="unseen" Type="Output" Refuse="20">
        <this.GateItem Name="lost" Type="Output" Value="L"/><Probe/>
      </ProbeGate>
    </Probe>
  </ProbeGate>
  <ProbeGate Name="mute" Type="Output" Refuse="16">
    <this.GateItem Name="mute" Type="Output" Value="x"/><Probe Name="b"/>
  </ProbeGate>
  <ProbeGate Name="hidden" Type="Output" Refuse="21">
    <this.GateItem Name="hidden" Type="Output" Value="h"/><Probe Name="c"/>
  </ProbeGate>
  <ProbeGate Name="deaf" Type="Input" Refuse="14">
    <this.GateItem Name="code" Type="Input" Link="d"/><Probe Name="d"/>
  </ProbeGate>
</Probe>)");
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
    Open(R"(<Probe Name="Page">
  <gate Name="first" Type="Output">
    <this.GateItem Name="code" Type="Output" Value="1"/>
    <this.GateItem Name="lost" Type="Output" Link="nosuch"/>
    <Probe Name="ask" Nested="first"/>
  </gate>
  <gate Name="bare" Type="Output"><this.GateItem Name="code" Type="Output" Link="ask"/></gate>
  <gate Name="twice" Type="Output">
    <this.GateItem Name="a" Type="Input" Link="shared"/>
    <this.GateItem Name="b" Type="Input" Link="shared"/>
    <Probe Name="shared"/>
  </gate>
</Probe>)");
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
    Open(R"(<Probe Name="Page">
  <gate Name="go" Type="Output"><this.GateItem Name="k" Type="Output" Value="v"/><Probe/></gate>
  <ProbeGate Name="closer" Type="Input" DestroyPage="true">
    <this.GateItem Name="k" Type="Input" Link="t"/><Probe Name="t"/>
  </ProbeGate>
  <gate Name="after" Type="Input"><this.GateItem Name="k" Type="Input" Link="u"/><Probe Name="u"/></gate>
</Probe>)");
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
    Open(R"(<Probe Name="Page">
  <gate Name="go" Type="Output"><this.GateItem Name="tab" Type="Output" Value="outer"/><Probe/></gate>
  <TabPanel Name="outer">
    <Probe Name="page"><TabPanel Name="inner"><Probe Name="innerPage"/></TabPanel></Probe>
  </TabPanel>
  <TabPanel Name="elsewhere"/>
  <gate Name="sink" Type="Input"><this.GateItem Name="tab" Type="Input" Link="got"/><Probe Name="got"/></gate>
</Probe>)");
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
