// Focus travel: a screen's tab stops, Tab and Shift+Tab from edits and from the window, Enter
// and Space on buttons, nested screens, and the declarations' messages.
#include "core/lib.h"
#include "gui/line_edit_input.h"
#include "gui/pump.h"
#include "platform/base/key_state.h"
#include "platform/gui/virtual_key.h"
#include "shell/frame_shell.h"
#include "shell/xedit.h"
#include "ui/window_message.h"
#include "ui/xframe.h"
#include "ui/xselector.h"
#include "ui/xui_fixture.h"

namespace orvo::test {
namespace {

using Log = std::vector<std::wstring>;

// Quantity and price edits (the price inside a container), then two buttons; the buttons run
// "Buy" and "Sell" of the recording script when clicked.
const char* const kTicket = R"(<lib Name="ticket">
  <this.TabStop Control="qty"/>
  <this.TabStop Control="price"/>
  <this.TabStop Control="buy"/>
  <this.TabStop Control="sell" %s/>
  <Script Name="s"/>
  <Frame Name="f" FrameStyle="PopupFrame" Rect="0,0,300,200">
    <Edit Name="qty" Rect="10,10,100,20"/>
    <Cell Name="box" Rect="0,40,300,40"><Edit Name="price" Rect="10,5,100,20"/></Cell>
    <TextBox Name="buy" flag="CanFocus" Rect="10,100,60,20">
      <this.Event Trigger="Mouse.Click" Action="Script.Buy"/></TextBox>
    <TextBox Name="sell" flag="CanFocus" Rect="80,100,60,20">
      <this.Event Trigger="Mouse.Click" Action="Script.Sell"/></TextBox>
  </Frame>
</lib>)";

class FocusTravelTest : public XUITest {
protected:
    void SetUp() override {
        XUITest::SetUp();
        XScrMan::Instance().InstallShell(&frames);
        plat::ResetKeyState();
    }
    void TearDown() override {
        page.reset();
        Pump(2);
        plat::ResetKeyState();
        XUITest::TearDown();
    }

    void OpenTicket(const char* sellAttributes = "") {
        std::string markup(std::snprintf(nullptr, 0, kTicket, sellAttributes), '\0');
        std::snprintf(markup.data(), markup.size() + 1, kTicket, sellAttributes);
        OpenScreen(markup);
    }
    void OpenScreen(const std::string& markup) {
        auto root = ParseMarkup(markup);
        ASSERT_TRUE(root);
        page.reset(XScrMan::Instance().OpenPageMem(root.release(), nullptr, nullptr));
        ASSERT_TRUE(page);
        Pump(2);
    }
    XLib* Screen() { return dynamic_cast<XLib*>(page.get()); }
    XFrame* Frame() { return dynamic_cast<XFrame*>(page->GetObjByNameDown(L"f")); }
    XEdit* Edit(const wchar_t* name) { return dynamic_cast<XEdit*>(UI(name)); }
    std::wstring Current(XLib* screen) {
        XDO* control = screen->CurrentFocus();
        return control ? control->GetName() : L"(none)";
    }
    // Tab pressed in an edit, as Qt delivers it.
    static void TabIn(XEdit* edit, bool shift = false) {
        SendKey(*edit->GetLineEdit(), shift ? EditKey::ShiftTab : EditKey::Tab);
    }
    // A key pressed while the frame's window has the focus: it reaches the shell first.
    int KeyInWindow(int key, bool shift = false) {
        if (shift)
            plat::NoteKeyDown(plat::VK_SHIFT);
        MSG msg;
        msg.hwnd = Frame()->GetNativeWindow();
        msg.message = WM_KEYDOWN;
        msg.wParam = static_cast<std::uintptr_t>(key);
        const int handled = frames.TranslateMsg(&msg, Frame());
        plat::NoteKeyUp(plat::VK_SHIFT);
        return handled;
    }

    FrameShell frames;
};

TEST_F(FocusTravelTest, TabTravelsTheDeclaredOrderFromEditsAndTheWindowAndWraps) {
    OpenTicket();
    XLib* screen = Screen();
    ASSERT_TRUE(screen && Frame());
    EXPECT_EQ(Current(screen), L"qty") << "the frame's first activation gives the first stop";
    EXPECT_EQ(XUI::GetFocusedObject(), UI(L"qty"));
    EXPECT_EQ(page->GetFocusRecord(), screen);

    TabIn(Edit(L"qty"));
    EXPECT_EQ(Current(screen), L"price");
    EXPECT_TRUE(Edit(L"price")->GetLineEdit()->HasFocus()) << "the edit's own window has it";
    TabIn(Edit(L"price"));
    EXPECT_EQ(Current(screen), L"buy");
    EXPECT_EQ(XUI::GetFocusedObject(), UI(L"buy"));
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(screen), L"sell");
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(screen), L"qty") << "past the last stop comes the first";
    TabIn(Edit(L"qty"), true);
    EXPECT_EQ(Current(screen), L"sell") << "Shift+Tab from the first goes to the last";
    EXPECT_EQ(KeyInWindow(plat::VK_TAB, true), 1);
    EXPECT_EQ(Current(screen), L"buy");
    EXPECT_EQ(KeyInWindow('A'), 0) << "other keys are not the screen's";
}

TEST_F(FocusTravelTest, HiddenAndDisabledControlsAreSkippedAndOneStopLeftKeepsTheFocus) {
    OpenTicket();
    XLib* screen = Screen();
    ASSERT_TRUE(screen);
    UI(L"box")->SetShow(false);
    TabIn(Edit(L"qty"));
    EXPECT_EQ(Current(screen), L"buy") << "the price is inside a hidden container";
    UI(L"sell")->SetEnable(false);
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(screen), L"qty") << "the disabled button is passed over";
    UI(L"buy")->SetShow(false);
    EXPECT_EQ(screen->TabNavi(true), 0) << "the only focusable stop is the current one";
    EXPECT_EQ(Current(screen), L"qty");
    EXPECT_EQ(XUI::GetFocusedObject(), UI(L"qty"));
    UI(L"qty")->SetShow(false);
    EXPECT_EQ(screen->TabNavi(true), 0) << "the current stop is no longer focusable";
    EXPECT_EQ(screen->InitFocus(), 0) << "nothing left to focus";
}

TEST_F(FocusTravelTest, EnterClicksTheDefaultButtonElseTheCurrentControlAndSpaceTheCurrent) {
    OpenTicket();
    XLib* screen = Screen();
    ASSERT_TRUE(screen);
    EXPECT_EQ(KeyInWindow(plat::VK_RETURN), 1);
    EXPECT_EQ(RecordingScript::runs, Log{}) << "an edit is current: clicking it does nothing";
    screen->TabNavi(false);
    ASSERT_EQ(Current(screen), L"sell");
    EXPECT_EQ(KeyInWindow(plat::VK_RETURN), 1);
    EXPECT_EQ(KeyInWindow(plat::VK_SPACE), 1);
    EXPECT_EQ(RecordingScript::runs, (Log{L"Sell:sell", L"Sell:sell"}));
    EXPECT_EQ(dynamic_cast<XUI*>(UI(L"sell"))->GetMouseState(), -1)
        << "the key leaves the button looking as before";

    page.reset();
    RecordingScript::runs.clear();
    OpenTicket("DefaultButton=\"True\"");
    screen = Screen();
    ASSERT_TRUE(screen);
    screen->TabNavi(true); // price
    screen->TabNavi(true); // buy
    EXPECT_EQ(KeyInWindow(plat::VK_RETURN), 1);
    EXPECT_EQ(KeyInWindow(plat::VK_SPACE), 1);
    EXPECT_EQ(RecordingScript::runs, (Log{L"Sell:sell", L"Buy:buy"}))
        << "Enter presses the default button, Space the focused one";
    UI(L"sell")->SetShow(false);
    EXPECT_EQ(KeyInWindow(plat::VK_RETURN), 1);
    EXPECT_EQ(RecordingScript::runs.back(), L"Buy:buy") << "a hidden default button is none";
}

TEST_F(FocusTravelTest, SelectorMembersInTheTabOrderShowTheFocusAndSpaceSelectsThem) {
    OpenScreen(R"(<lib Name="views">
      <this.TabStop Control="all"/><this.TabStop Control="rising"/>
      <Selector Name="view"/>
      <Frame Name="f" FrameStyle="PopupFrame" Rect="0,0,300,200">
        <TextBox Name="all" Selector="view" Rect="0,0,50,20"/>
        <TextBox Name="rising" Selector="view" Rect="60,0,50,20"/>
        <TextBox Name="plain" Rect="120,0,50,20"/>
      </Frame></lib>)");
    XLib* screen = Screen();
    auto* selector = dynamic_cast<XSelector*>(page->GetObjByNameDown(L"view"));
    ASSERT_TRUE(screen && selector);
    EXPECT_TRUE(UI(L"all")->GetFlag() & XUI::UI_CANFOCUS) << "told it is a tab stop";
    EXPECT_TRUE(UI(L"rising")->GetFlag() & XUI::UI_CANFOCUS);
    EXPECT_FALSE(UI(L"plain")->GetFlag() & XUI::UI_CANFOCUS);
    EXPECT_EQ(Current(screen), L"all");
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(KeyInWindow(plat::VK_SPACE), 1);
    EXPECT_EQ(selector->GetCurUI(), UI(L"rising")) << "Space presses it as a click would";
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(KeyInWindow(plat::VK_RETURN), 1);
    EXPECT_EQ(selector->GetCurUI(), UI(L"all"));
}

TEST_F(FocusTravelTest, EachNestedScreenTravelsItsOwnStopsAndTheKeysFollowTheFocus) {
    OpenScreen(R"(<lib Name="outer">
      <this.TabStop Control="x"/><this.TabStop Control="y"/>
      <Frame Name="f" FrameStyle="PopupFrame" Rect="0,0,300,200">
        <TextBox Name="x" flag="CanFocus" Rect="0,0,50,20"/>
        <TextBox Name="y" flag="CanFocus" Rect="60,0,50,20"/>
        <lib Name="inner">
          <this.TabStop Control="p"/><this.TabStop Control="q"/><this.TabStop Control="r"/>
          <TextBox Name="p" flag="CanFocus" Rect="0,40,50,20"/>
          <TextBox Name="q" flag="CanFocus" Rect="60,40,50,20"/>
          <TextBox Name="r" flag="CanFocus,Hide" Rect="120,40,50,20"/>
        </lib>
      </Frame></lib>)");
    XLib* outer = Screen();
    auto* inner = dynamic_cast<XLib*>(page->GetObjByNameDown(L"inner"));
    ASSERT_TRUE(outer && inner);
    EXPECT_EQ(Current(outer), L"x");
    EXPECT_EQ(Current(inner), L"(none)") << "the search for a first focus stops at the outer";

    UI(L"q")->SetFocus();
    EXPECT_EQ(page->GetFocusRecord(), inner);
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(inner), L"p") << "the hidden r is skipped and the travel stays inside";
    EXPECT_EQ(Current(outer), L"x");
    EXPECT_EQ(inner->InitFocus(), 1) << "the focus record is the inner screen itself";
    EXPECT_EQ(outer->InitFocus(), 0) << "another screen holds the focus";

    UI(L"x")->SetFocus();
    EXPECT_EQ(page->GetFocusRecord(), outer);
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(outer), L"y");
    EXPECT_EQ(Current(inner), L"p");

    // r is a stop but was hidden; shown and focused, it is current again.
    UI(L"r")->SetShow(true);
    UI(L"r")->SetFocus();
    EXPECT_EQ(Current(inner), L"r");
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(inner), L"p");

    // An object outside every tab order takes the focus: the record is cleared and the keys
    // go to the screen around the focused object.
    UI(L"y")->SetFocus();
    EXPECT_EQ(page->GetFocusRecord(), outer);
    outer->GetObjByNameDown(L"f")->SetFocus();
    EXPECT_EQ(page->GetFocusRecord(), nullptr);
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(outer), L"x");
}

TEST_F(FocusTravelTest, DeclarationsWithoutOrWithUnknownControlsAreReportedAndDropped) {
    OpenScreen(R"(<lib Name="s">
      <this.TabStop/><this.TabStop Control=""/><this.TabStop Control="ghost"/>
      <this.TabStop Control="grid"/><this.TabStop Control="a"/>
      <Frame Name="f" FrameStyle="PopupFrame" Rect="0,0,300,200">
        <TextBox Name="a" flag="CanFocus" Rect="0,0,50,20"/>
        <Grid Name="grid" Rect="0,30,200,100" Col="1"/>
      </Frame></lib>)");
    XLib* screen = Screen();
    ASSERT_TRUE(screen);
    const auto confirms = Confirms();
    EXPECT_EQ(std::count(confirms.begin(),
                         confirms.end(),
                         L"<lib.tabstop control=\"\"> control 명이 지정되지 않았습니다."),
              2);
    EXPECT_EQ(std::count(confirms.begin(),
                         confirms.end(),
                         L"TabStop object ghost not found.\n<lib.tabstop>"),
              1);
    ASSERT_EQ(screen->GetTabStops().size(), 3u) << "ghost stays, unlinked";
    EXPECT_EQ(screen->GetTabStops()[0]->Control(), nullptr);
    XDO* grid = page->GetObjByNameDown(L"grid");
    XDO* client = screen->GetTabStops()[1]->Control();
    ASSERT_TRUE(grid && client);
    EXPECT_NE(client, grid);
    EXPECT_TRUE(grid->FindObjectInTree(client, 0)) << "the grid's client takes the keys";
    EXPECT_EQ(screen->CurrentFocus(), client) << "the unlinked stop is passed over";
    EXPECT_EQ(KeyInWindow(plat::VK_TAB), 1);
    EXPECT_EQ(Current(screen), L"a");
}

} // namespace
} // namespace orvo::test
