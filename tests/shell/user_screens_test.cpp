// Screens, notices, focus, timers and paint states through "User.Run(orvo, ...)".
#include <string>

#include "core/element.h"
#include "support/temp_dir.h"
#include "ui/xui.h"
#include "ui/xwindow.h"
#include "user_function_fixture.h"

namespace orvo::test {
namespace {

const char* const kTicket = R"xml(
  <TextBox Name="price" Text="71000"/>
  <TextBox Name="qty" Text="10"/>
  <Window Name="win" Rect="0,0,200,100">
    <TextBox Name="ticker" Text="0" Rect="0,0,50,20">
      <this.Event Trigger="Object.Timer" Action="User.Run(orvo, SpinUp, ticker)"/>
    </TextBox>
  </Window>)xml";

TEST_F(UserFunctionTest, AnOpenedPageGetsItsItemsAndKnowsItsOpener) {
    Open(kTicket);
    TempDir folder;
    const std::wstring path = folder.Write(
        "Detail.xml", R"(<lib Name="detail"><this.Param Name="code" Value=""/></lib>)");
    EXPECT_EQ(Run(L"price", L"OpenFrameDirect, " + path + L", code=005930, price=Data(price)"), 1);
    XDO* opened = nullptr;
    for (XDO* candidate : XScrMan::Instance().OpenedPages())
        if (candidate->GetName() == L"detail")
            opened = candidate;
    ASSERT_TRUE(opened);
    EXPECT_EQ(GetOpener(opened), Obj(L"price"));
    EXPECT_EQ(opened->GetScreenItem(L"code"), L"005930");
    EXPECT_EQ(opened->GetScreenItem(L"price"), L"71000");
    EXPECT_TRUE(Confirms().empty());

    EXPECT_EQ(Run(L"price", L"OpenFrameDirect, " + path + L", code"), 0);
    EXPECT_EQ(Run(L"price", L"OpenFrame, NoSuchAlias, Detail.xml"), 0);
    EXPECT_EQ(Run(L"price", L"OpenFrame, Detail.xml"), 0);
    ASSERT_EQ(Confirms().size(), 3u);
    EXPECT_EQ(Confirms()[0].substr(0, Confirms()[0].find(L'\n')),
              L"OpenFrameDirect : item \"code\" is not key=value");
    EXPECT_EQ(Confirms()[1].substr(0, Confirms()[1].find(L'\n')),
              L"OpenFrame : no project path NoSuchAlias");
    EXPECT_EQ(Confirms()[2].substr(0, Confirms()[2].find(L'\n')),
              L"OpenFrame : expected alias, page[, key=value ...]");
}

TEST_F(UserFunctionTest, MessagesGoThroughTheNoticeService) {
    Open(kTicket);
    notices.confirmAnswer = 6;
    EXPECT_EQ(Run(L"qty", L"MsgBox, Data(price)"), 6) << "the button chosen comes back";
    EXPECT_EQ(Run(L"qty", L"MsgBox, 주문을 보냈습니다"), 6);
    EXPECT_EQ(Confirms(), (std::vector<std::wstring>{L"71000", L"주문을 보냈습니다"}));
    EXPECT_EQ(Run(L"qty", L"DisplayMsg, Data(qty)"), 1);
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, L"10");
}

TEST_F(UserFunctionTest, FocusAndUserStateReachTheNamedObject) {
    Open(kTicket);
    EXPECT_EQ(Run(L"price", L"SetFocusUI, ticker"), 1);
    EXPECT_EQ(XUI::GetFocusedObject(), Obj(L"ticker"));
    EXPECT_EQ(Run(L"price", L"SetFocusUI, nowhere"), 0);
    EXPECT_EQ(XUI::GetFocusedObject(), Obj(L"ticker"));

    auto* qty = dynamic_cast<XUI*>(Obj(L"qty"));
    EXPECT_EQ(Run(L"price", L"SetUserState, qty, 2"), 1);
    EXPECT_EQ(qty->GetUserStateVB(), 2);
    EXPECT_EQ(Run(L"price", L"SetUserState, qty"), 0);
    EXPECT_EQ(Run(L"price", L"SetUserState, screen, 1"), 0) << "a library paints nothing";
    EXPECT_EQ(qty->GetUserStateVB(), 2);
    EXPECT_EQ(Confirms().size(), 3u);
}

TEST_F(UserFunctionTest, AnObjectTimerRunsTheObjectsTimerEventUntilStopped) {
    Open(kTicket);
    auto* win = dynamic_cast<XWindow*>(Obj(L"win"));
    ASSERT_TRUE(win);
    EXPECT_EQ(Run(L"price", L"SetObjTimer, ticker, 500"), 1);
    EXPECT_TRUE(Obj(L"ticker")->HasTimer());
    win->XOnTimer(XWindow::TIMER_OBJECT_FIRST);
    win->XOnTimer(XWindow::TIMER_OBJECT_FIRST);
    EXPECT_EQ(Data(L"ticker"), L"2");
    EXPECT_EQ(Run(L"price", L"SetObjTimer, ticker, 0"), 1);
    EXPECT_FALSE(Obj(L"ticker")->HasTimer());

    EXPECT_EQ(Run(L"price", L"SetObjTimer, price, 500"), 0) << "no window host above price";
    EXPECT_EQ(Run(L"price", L"SetObjTimer, ticker"), 0);
    ASSERT_EQ(Confirms().size(), 2u);
    EXPECT_EQ(Confirms()[0].substr(0, Confirms()[0].find(L'\n')),
              L"SetObjTimer : no window host runs timers for price");
}

} // namespace
} // namespace orvo::test
