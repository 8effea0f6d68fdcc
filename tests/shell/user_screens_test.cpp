// Screens, notices, focus, timers and paint states through "User.Run(orvo, ...)".
#include <string>

#include "core/contracts.h"
#include "core/element.h"
#include "platform/gui/window.h"
#include "shell/menu_man.h"
#include "support/scoped_registration.h"
#include "support/temp_dir.h"
#include "ui/xui.h"
#include "ui/xwindow.h"
#include "user_function_fixture.h"

namespace orvo::test {
namespace {

// A "Project" whose alias "Screen" and base path are a test's folder, with a menu file there.
class ProjectStandIn : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int GetPath(const wchar_t* alias, std::wstring* out) {
        if (alias && std::wstring_view(alias) != L"Screen")
            return 0;
        *out = folder + L"/";
        return 1;
    }
    int GetFile(const wchar_t* kind, std::wstring& out) {
        out = folder + L"/Menu.xml";
        return kind && std::wstring_view(kind) == L"Menu";
    }
    std::wstring folder;
};

// Records the captions frames are given, installed for its lifetime.
class CaptionShell : public ShellHooks {
public:
    CaptionShell() : previous(XScrMan::Instance().GetShell()) {
        XScrMan::Instance().InstallShell(this);
    }
    ~CaptionShell() { XScrMan::Instance().InstallShell(previous); }
    int SetFrameText(XDO* frame, const wchar_t* text) override {
        captions.push_back(frame->GetName() + L":" + text);
        return 1;
    }
    std::vector<std::wstring> captions;
    ShellHooks* previous;
};

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
    EXPECT_EQ(Told(0), L"OpenFrameDirect : item \"code\" is not key=value");
    EXPECT_EQ(Told(1), L"OpenFrame : no project path NoSuchAlias");
    EXPECT_EQ(Told(2), L"OpenFrame : expected alias, page[, key=value ...]");
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
    EXPECT_EQ(Run(L"price", L"SetObjTimer, ticker, soon"), 0);
    EXPECT_FALSE(Obj(L"ticker")->HasTimer());
    ASSERT_EQ(Confirms().size(), 3u);
    EXPECT_EQ(Told(2), L"SetObjTimer : \"soon\" is not a whole number");
    EXPECT_EQ(Told(0), L"SetObjTimer : no window host runs timers for price");
}

} // namespace
} // namespace orvo::test

ORVO_DISPATCH_INLINE(orvo::test::ProjectStandIn,
                     IXO,
                     ORVO_PROVIDE(orvo::contract::ProjectGetPath, GetPath),
                     ORVO_PROVIDE(orvo::contract::ProjectGetFile, GetFile))

namespace orvo::test {
namespace {

class UserScreensTest : public UserFunctionTest {
protected:
    void SetUp() override {
        UserFunctionTest::SetUp();
        project.folder = folder.Wide();
        folder.Write("Detail.xml", R"(<lib Name="detail">
  <Frame Name="f" FrameStyle="PopupFrame" Rect="0,0,90,60"><TextBox Name="t" Rect="0,0,90,60"/></Frame>
</lib>)");
        folder.Write(
            "Menu.xml",
            R"(<Menu Name="Main"><Item ID="0101" Text="현재가" Page="Detail.xml"/></Menu>)");
        XMenuMan::Instance().Reload();
    }
    void TearDown() override {
        UserFunctionTest::TearDown();
        XMenuMan::Instance().Reload();
    }
    // The page "detail" opened last.
    XDO* Detail() {
        XDO* found = nullptr;
        for (XDO* opened : XScrMan::Instance().OpenedPages())
            if (opened->GetName() == L"detail")
                found = opened;
        return found;
    }

    TempDir folder;
    ProjectStandIn project;
    ScopedRegistration projectRegistration{L"Project", &project};
};

TEST_F(UserScreensTest, PagesOpenByAliasAndByMenuIdentifier) {
    Open(kTicket);
    EXPECT_EQ(Run(L"price", L"OpenFrame, Screen, Detail.xml, code=Data(price)"), 1);
    ASSERT_TRUE(Detail());
    EXPECT_EQ(GetOpener(Detail()), Obj(L"price"));
    EXPECT_EQ(Detail()->GetScreenItem(L"code"), L"71000");
    DestroyObject(Detail());

    EXPECT_EQ(Run(L"price", L"RunByMenuID, 0101, code=005930"), 1);
    ASSERT_TRUE(Detail());
    EXPECT_EQ(Detail()->GetScreenItem(L"id"), L"0101");
    EXPECT_EQ(Detail()->GetScreenItem(L"code"), L"005930");
    EXPECT_EQ(GetOpener(Detail()), nullptr) << "the menu opens screens for nobody";
    DestroyObject(Detail());

    EXPECT_EQ(Run(L"qty", L"RunByMenuIDX, 0101, code=Data(price)"), 1);
    ASSERT_TRUE(Detail());
    EXPECT_EQ(Detail()->GetScreenItem(L"code"), L"71000");
    EXPECT_EQ(GetOpener(Detail()), Obj(L"qty"));
    EXPECT_TRUE(Confirms().empty());

    EXPECT_EQ(Run(L"qty", L"RunByMenuID, 0999"), 0);
    EXPECT_EQ(Confirms(), std::vector<std::wstring>{L"메뉴에 없는 화면 번호입니다: [0999]"});
}

TEST_F(UserScreensTest, AFrameStaysOnTopUntilCleared) {
    Open(kTicket);
    EXPECT_EQ(Run(L"price", L"OpenFrameDirect, " + folder.Wide() + L"/Detail.xml"), 1);
    ASSERT_TRUE(Detail());
    XDO* box = Detail()->GetObjByNameDown(L"t");
    auto* frame = dynamic_cast<XWindow*>(Detail()->GetObjByNameDown(L"f"));
    ASSERT_TRUE(box && frame && frame->GetNativeWindow());
    const std::pair<const wchar_t*, bool> steps[] = {
        {L"TopmostStyle", true},
        {L"TopmostStyle, Toggle", false},
        {L"TopmostStyle, toggle", true},
        {L"TopmostStyle, Clear", false},
    };
    for (const auto& [call, topmost] : steps) {
        EXPECT_EQ(box->Action((L"User.Run(orvo, " + std::wstring(call) + L")").c_str()), 1);
        EXPECT_EQ(frame->GetNativeWindow()->IsTopmost(), topmost) << plat::ToUtf8(call);
    }
    EXPECT_EQ(box->Action(L"User.Run(orvo, TopmostStyle, Always)"), 0);
    EXPECT_EQ(Run(L"price", L"TopmostStyle"), 0) << "price is in no frame";
    EXPECT_EQ(Told(0), L"TopmostStyle : expected nothing, Clear or Toggle");
    EXPECT_EQ(Told(1), L"TopmostStyle : the caller is in no frame with a window");
}

TEST_F(UserScreensTest, TheCaptionGoesToTheCallersFrameThroughTheShell) {
    CaptionShell shell;
    Open(kTicket);
    EXPECT_EQ(Run(L"price", L"OpenFrameDirect, " + folder.Wide() + L"/Detail.xml"), 1);
    ASSERT_TRUE(Detail());
    XDO* box = Detail()->GetObjByNameDown(L"t");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Action(L"User.Run(orvo, SetTextCaption, 삼성전자 현재가)"), 1);
    EXPECT_EQ(Run(L"price", L"SetTextCaption, Data(price)"), 0) << "price is in no frame";
    XScrMan::Instance().InstallShell(nullptr);
    EXPECT_EQ(box->Action(L"User.Run(orvo, SetTextCaption, x)"), 0) << "no shell to ask";
    EXPECT_EQ(shell.captions, std::vector<std::wstring>{L"f:삼성전자 현재가"});
    ASSERT_EQ(Confirms().size(), 2u);
    EXPECT_EQ(Told(0), L"SetTextCaption : the caller is in no frame");
}

} // namespace
} // namespace orvo::test
