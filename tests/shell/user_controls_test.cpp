// Scroll bars, spinning values and tab panels through "User.Run(orvo, ...)" and
// "Message.Run(orvo, ...)".
#include <string>

#include "shell/xscroll_bar.h"
#include "shell/xtab_panel.h"
#include "user_function_fixture.h"

namespace orvo::test {
namespace {

// "v": positions 0 to 90 (a page of 10), three per line. "sync" hands "Sync" messages to the
// bars.
const char* const kControls = R"xml(
  <ScrollBar Name="v" Max="99" Page="10" Line="3" Rect="180,0,20,100"/>
  <ScrollBar Name="h" Vertical="False" Max="99" Page="10" Rect="0,80,100,20"/>
  <TextBox Name="qty" Text="10"/>
  <TextBox Name="price" Text="1.5"/>
  <TextBox Name="sync">
    <this.Event Trigger="Message.Sync" Action="Message.Run(orvo, MsgVScrollSet, v, h)"/>
  </TextBox>
  <TabPanel Name="markets" Rect="0,0,100,50">
    <TextBox Name="kospi" Rect="0,0,100,50"/>
    <TextBox Name="kosdaq" Rect="0,0,100,50"/>
  </TabPanel>)xml";

class UserControlsTest : public UserFunctionTest {
protected:
    XScrollBar* Bar(const wchar_t* name) { return dynamic_cast<XScrollBar*>(Obj(name)); }
};

TEST_F(UserControlsTest, BarsMoveByLinesPagesAndCounts) {
    Open(kControls);
    XScrollBar* v = Bar(L"v");
    const std::pair<const wchar_t*, int> steps[] = {
        {L"ScrollDown, v", 3},
        {L"ScrollNumDown, v, 4", 15},
        {L"ScrollUp, v", 12},
        {L"ScrollPage, v, Down", 22},
        {L"ScrollPage, v, up", 12},
        {L"ScrollNumUp, v, 100", 0},
        {L"SpinUp, v", 3},
        {L"SpinDown, v, 2", 0},
        {L"ScrollPage, v, Right", 10},
    };
    for (const auto& [call, pos] : steps) {
        EXPECT_EQ(Run(L"qty", call), 1) << plat::ToUtf8(call);
        EXPECT_EQ(v->GetPos(), pos) << plat::ToUtf8(call);
    }
    struct Case {
        const wchar_t* call;
        const wchar_t* told;
    };
    const Case cases[] = {
        {L"ScrollDown, qty", L"ScrollDown : qty is not a scroll bar"},
        {L"ScrollDown, v, 2", L"ScrollDown : expected bar"},
        {L"ScrollNumDown, v", L"ScrollNumDown : expected bar, lines"},
        {L"ScrollPage, v", L"ScrollPage : expected bar, Up or Down"},
        {L"ScrollPage, v), Down", L"ScrollPage : parentheses or quotes do not close"},
        {L"ScrollUp, nowhere", L"ScrollUp : no object nowhere"},
    };
    for (const Case& c : cases) {
        notices.confirms.clear();
        EXPECT_EQ(Run(L"qty", c.call), 0) << plat::ToUtf8(c.call);
        ASSERT_EQ(Confirms().size(), 1u) << plat::ToUtf8(c.call);
        EXPECT_EQ(Told(0), c.told);
    }
    EXPECT_EQ(v->GetPos(), 10);
}

TEST_F(UserControlsTest, SpinningKeepsTheDecimalsOfValueAndStep) {
    Open(kControls);
    const std::pair<const wchar_t*, const wchar_t*> spins[] = {
        {L"SpinUp, qty", L"11"},
        {L"SpinDown, qty, 20", L"-9"},
        {L"SpinUp, price, 0.25", L"1.75"},
        {L"SpinDown, price", L"0.75"},
    };
    for (const auto& [call, value] : spins) {
        EXPECT_EQ(Run(L"qty", call), 1) << plat::ToUtf8(call);
        const std::wstring name =
            std::wstring(call).find(L"qty") != std::wstring::npos ? L"qty" : L"price";
        EXPECT_EQ(Data(name.c_str()), value) << plat::ToUtf8(call);
    }
    Obj(L"price")->SetData(L"n/a");
    EXPECT_EQ(Run(L"qty", L"SpinUp, price"), 0);
    EXPECT_EQ(Run(L"qty", L"SpinUp, qty, 1e3"), 0);
    EXPECT_EQ(Run(L"qty", L"SpinUp, v, 0.5"), 0) << "a bar moves by whole lines";
    EXPECT_EQ(Run(L"qty", L"SpinUp, nowhere"), 0);
    EXPECT_EQ(Data(L"qty"), L"-9");
    EXPECT_EQ(Data(L"price"), L"n/a");
    EXPECT_EQ(Bar(L"v")->GetPos(), 0);
    ASSERT_EQ(Confirms().size(), 4u);
    EXPECT_EQ(Told(0), L"SpinUp : price holds \"n/a\", not a number");
    EXPECT_EQ(Told(1), L"SpinUp : \"1e3\" is not a number");
    EXPECT_EQ(Told(2), L"SpinUp : \"0.5\" is not a whole number");
}

TEST_F(UserControlsTest, TabPanelsTurnByIndexOrPageName) {
    Open(kControls);
    auto* markets = dynamic_cast<XTabPanel*>(Obj(L"markets"));
    ASSERT_TRUE(markets);
    EXPECT_EQ(Run(L"qty", L"SelectTabPanel, markets, 1"), 1);
    EXPECT_EQ(markets->GetPage(), 1);
    EXPECT_EQ(Run(L"qty", L"SelectTabPanel, markets, KOSPI"), 1);
    EXPECT_EQ(markets->GetPage(), 0);
    for (const wchar_t* call : {L"SelectTabPanel, markets, 2",
                                L"SelectTabPanel, markets, -1",
                                L"SelectTabPanel, markets",
                                L"SelectTabPanel, qty, 0"}) {
        EXPECT_EQ(Run(L"qty", call), 0) << plat::ToUtf8(call);
    }
    EXPECT_EQ(markets->GetPage(), 0);
    EXPECT_EQ(Confirms().size(), 4u);
}

TEST_F(UserControlsTest, AMessageSetsTheBarsOfItsOrientation) {
    Open(kControls);
    EXPECT_EQ(Run(L"qty", L"BroadcastMsg, Sync, MinPos=0, MaxPos=49, CurPos=20, Page=5"), 1);
    EXPECT_EQ(Bar(L"v")->GetMax(), 49);
    EXPECT_EQ(Bar(L"v")->GetPos(), 20);
    EXPECT_EQ(Bar(L"v")->GetPage(), 5);
    EXPECT_EQ(Bar(L"h")->GetMax(), 99) << "the vertical settings leave horizontal bars alone";
    EXPECT_EQ(Bar(L"h")->GetPos(), 0);
    EXPECT_TRUE(Confirms().empty());

    // Run by an action of its own, the function has no message to read.
    EXPECT_EQ(Obj(L"sync")->Action(L"Message.Run(orvo, MsgHScrollSet, h)"), 1);
    ASSERT_EQ(Confirms().size(), 1u);
    EXPECT_EQ(Told(0), L"MsgHScrollSet : not run by a message");
}

} // namespace
} // namespace orvo::test
