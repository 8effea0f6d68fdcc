// A selector of text boxes in a window: a click selects a member, and the change triggers the
// gates linked to the selector (here one that counts its triggers).
#include "core/contracts.h"
#include "shell/xtext_box.h"
#include "shell_fixture.h"
#include "ui/xselector.h"

namespace orvo::test {
namespace {

class CountingGate : public XDO {
    ORVO_DISPATCH_MAP()

public:
    ORVO_KEY(L"CountingGate")
    int Trigger() {
        ++triggers;
        return 1;
    }
    int triggers = 0;
};

} // namespace

ORVO_DISPATCH_INLINE(CountingGate, XDO, ORVO_PROVIDE(contract::GateTrigger, Trigger))

namespace {

class SelectorGateTest : public ShellTest {};

TEST_F(SelectorGateTest, AClickSelectsAMemberAndTriggersTheLinkedGates) {
    RegisterFactory<CountingGate>();
    OpenWindow(R"(<Selector Name="sides"/>
                  <TextBox Name="buy" Selector="sides" Text="매수" Rect="0,0,50,20"/>
                  <TextBox Name="sell" Selector="sides" Text="매도" Rect="60,0,50,20"/>
                  <CountingGate Name="gate"/>)");
    auto* selector = dynamic_cast<XSelector*>(page->GetObjByNameDown(L"sides"));
    auto* gate = dynamic_cast<CountingGate*>(page->GetObjByNameDown(L"gate"));
    ASSERT_TRUE(selector && gate);
    selector->AddLinkedGate(gate);
    Press(CPoint(70, 10));
    Release(CPoint(70, 10));
    Pump(2);
    EXPECT_EQ(selector->GetSelectNo(), 1);
    EXPECT_NE(UI(L"sell")->GetFlag() & XUI::UI_SELECT, 0u);
    EXPECT_EQ(gate->triggers, 1);

    // With ChangeTrigger off, a selection changes nothing beyond the selector.
    selector->SetChangeTrigger(0);
    selector->Select(0);
    EXPECT_EQ(gate->triggers, 1);
    EXPECT_NE(UI(L"buy")->GetFlag() & XUI::UI_SELECT, 0u);
    EXPECT_EQ(UI(L"sell")->GetFlag() & XUI::UI_SELECT, 0u);
}

} // namespace
} // namespace orvo::test
