// The menu service and the linked-screen lists built from the project's menu file.
#include "core/element.h"
#include "gui/pump.h"
#include "shell/frame_shell.h"
#include "shell/menu_man.h"
#include "shell/xlink_menu_data.h"
#include "support/project_files.h"
#include "support/scoped_registration.h"
#include "support/temp_dir.h"
#include "support/window_input.h"
#include "ui/contracts.h"
#include "ui/xframe.h"
#include "ui/xui_fixture.h"

namespace orvo::test {
namespace {

constexpr const char* kPage = R"(<lib><Frame Name="f" FrameStyle="PopupFrame" Rect="0,0,90,60">
  <TextBox Name="t" Rect="0,0,90,60" Text="x" flag="NotifyMouse"/></Frame></lib>)";

class MenuManTest : public XUITest {
protected:
    void SetUp() override {
        XUITest::SetUp();
        XScrMan::Instance().InstallShell(&frames);
        dir.Write("Quote.xml", kPage);
        dir.Write("Order.xml", kPage);
        const std::string base = dir.Path().string() + "/";
        project.files[L"Menu"] = dir.Write("Menu.xml", R"(<Menu Name="Main">
  <Group Text="시세">
    <Item ID="0101" Text="현재가" Page=")" + base + R"(Quote.xml">
      <Link ID="0201"/><Link ID="9999"/><Link ID="0202"/>
    </Item>
  </Group>
  <Item ID="0201" Text="주문" Page=")" + base + R"(Order.xml"/>
  <Item ID="0202" Page=")" + base + R"(Order.xml"/>
  <Item ID="0301" Text="없는 화면" Page=")" + base + R"(Missing.xml"/>
  <Item Text="번호 없음" Page="x.xml"/>
</Menu>)");
        XMenuMan::Instance().Reload();
    }
    void TearDown() override {
        for (XDO* frame : XScrMan::Instance().Frames())
            DestroyObject(frame->GetTopParent());
        Pump(2);
        XMenuMan::Instance().Reload();
        XUITest::TearDown();
    }
    static std::vector<std::wstring> OpenIDs() {
        std::vector<std::wstring> ids;
        for (XDO* frame : XScrMan::Instance().Frames())
            ids.push_back(dynamic_cast<XFrame*>(frame)->GetFrameID());
        return ids;
    }

    TempDir dir;
    ProjectFilesStandIn project;
    ScopedRegistration projectRegistration{L"Project", &project};
    FrameShell frames;
};

TEST_F(MenuManTest, ScreensOpenByTheirIdentifierOnceUnlessCopied) {
    XMenuMan& menus = XMenuMan::Instance();
    EXPECT_EQ(menus.GetMenuText(L" 0101 "), L"현재가") << "items inside groups count";
    ASSERT_EQ(menus.RunByMenuID(L"0101", L"Code=005930; Side = 1", L"0"), 1);
    ASSERT_EQ(OpenIDs(), std::vector<std::wstring>{L"0101"});
    XDO* page = XScrMan::Instance().Frames().front()->GetTopParent();
    EXPECT_EQ(page->GetScreenItem(L"Code"), L"005930");
    EXPECT_EQ(page->GetScreenItem(L"Side"), L"1");

    EXPECT_EQ(menus.RunByMenuID(L"Main", L"0101", L""), 1) << "the identifier second";
    EXPECT_EQ(OpenIDs().size(), 1u) << "an open screen comes forward instead";
    EXPECT_EQ(menus.RunByMenuID(L"Main", L"0101", L"ByCopyFrame=True"), 1);
    EXPECT_EQ(OpenIDs(), (std::vector<std::wstring>{L"0101", L"0101"}));

    // The screen menu reaches the service by name to hand over the link data.
    static ContractCall<contract::MenuManSetLinkData> s_setLinkData;
    auto setLinkData = s_setLinkData.Get();
    ASSERT_TRUE(setLinkData);
    XElement linkData(L"Drag");
    EXPECT_EQ(setLinkData(&linkData), 1);
    EXPECT_EQ(menus.GetLinkData(), &linkData);
    setLinkData(nullptr);
}

TEST_F(MenuManTest, UnknownIdentifiersAndMissingPagesOpenNothing) {
    XMenuMan& menus = XMenuMan::Instance();
    EXPECT_EQ(menus.RunByMenuID(L"7777", L"Main", L""), 0);
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_EQ(notices.confirms[0].text, L"메뉴에 없는 화면 번호입니다: [7777]");
    EXPECT_EQ(menus.RunByMenuID(L"Main", L"7778", L""), 0);
    EXPECT_EQ(menus.RunByMenuID(L"Main", L"LinkEdit", L"FrameID=0101"), 0);
    ASSERT_EQ(notices.confirms.size(), 3u);
    EXPECT_EQ(notices.confirms[1].text, L"메뉴에 없는 화면 번호입니다: [7778]");
    EXPECT_EQ(notices.confirms[2].text, L"연결화면 편집은 아직 제공되지 않습니다.");
    EXPECT_EQ(menus.RunByMenuID(L"0301", L"", L""), 0);
    EXPECT_EQ(menus.RunByMenuID(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(menus.Find(L""), nullptr) << "an item without an identifier is not listed";
    EXPECT_TRUE(OpenIDs().empty());

    project.files[L"Menu"] = dir.Write("Broken.xml", "<Menu><Item ID=");
    menus.Reload();
    EXPECT_EQ(menus.Find(L"0101"), nullptr) << "a broken menu file lists nothing";
}

TEST_F(MenuManTest, LinkedScreensAreTheRowsOfALinkMenuData) {
    XElement element(L"LinkMenuData");
    element.SetValue(L"Menu", L"Main");
    element.SetValue(L"MenuID", L"0101");
    const XDOPtr links(XScrMan::Instance().MakeObject(&element, nullptr));
    auto* data = dynamic_cast<XLinkMenuData*>(links.get());
    ASSERT_TRUE(data);
    ASSERT_EQ(data->GetRowCount(), 2) << "a link to an unknown identifier is left out";
    EXPECT_EQ(data->GetRowMenuID(0), L"0201");
    EXPECT_EQ(data->GetRowText(0), L"주문");
    EXPECT_EQ(data->GetRowText(1), L"0202") << "an item without a title shows its identifier";
    EXPECT_EQ(data->GetRowText(2), L"");
    EXPECT_EQ(data->GetRowMenuID(-1), L"");

    element.SetValue(L"MenuID", L"0201");
    const XDOPtr none(XScrMan::Instance().MakeObject(&element, nullptr));
    EXPECT_EQ(dynamic_cast<XLinkMenuData*>(none.get())->GetRowCount(), 0);
}

TEST_F(MenuManTest, TheScreenMenuOpensALinkedScreenWithTheClickedObjectsData) {
    ASSERT_EQ(XMenuMan::Instance().RunByMenuID(L"0101", L"", L""), 1);
    auto* frame = dynamic_cast<XFrame*>(XScrMan::Instance().Frames().front());
    plat::Window* window = frame->GetNativeWindow();
    window->Move(CRect(50, 50, 140, 110));
    window->Show();
    Pump(2);
    // The screen being opened sees the element a drag of the text box carries.
    static std::wstring s_seen;
    s_seen.clear();
    GateDragHooks hooks;
    hooks.findGatherDrag = [](XDO* object) {
        s_seen = L"gathered from " + dynamic_cast<XUI*>(object)->GetName();
        return new XElement(L"Drag");
    };
    XWindow::SetGateDragHooks(hooks);
    {
        MenuChoice choice(L"주문");
        SetCursorScreenPos(window->ClientToScreen(CPoint(10, 10)));
        SendMouse(*window, MouseInput::Press, {10, 10}, Button::Right);
        SendMouse(*window, MouseInput::Release, {10, 10}, Button::Right);
        ASSERT_FALSE(choice.shown.empty());
        EXPECT_EQ(choice.shown.back(), L"0202") << "the links in menu order, unknown ones left out";
    }
    XWindow::SetGateDragHooks({});
    EXPECT_EQ(s_seen, L"gathered from t");
    EXPECT_EQ(OpenIDs(), (std::vector<std::wstring>{L"0101", L"0201"}));
    EXPECT_EQ(XMenuMan::Instance().GetLinkData(), nullptr) << "released once it opened";
}

} // namespace
} // namespace orvo::test
