// The main frame's multiple-document client: one live client at a time, gone with its page.
#include "gui/pump.h"
#include "shell/xmdi_client.h"
#include "ui/xui_fixture.h"

namespace orvo::test {
namespace {

class MdiClientTest : public XUITest {};

TEST_F(MdiClientTest, TheLatestClientIsCurrentUntilItsPageCloses) {
    auto first = ParseMarkup(R"(<Window Name="main" Rect="0,0,300,200">
        <MDIClient Name="client" Rect="0,20,300,180"/></Window>)");
    ASSERT_TRUE(first);
    XDOPtr main(XScrMan::Instance().OpenPageMem(first.release(), nullptr, nullptr));
    ASSERT_TRUE(main);
    auto* client = dynamic_cast<XMdiClient*>(main->GetObjByNameDown(L"client"));
    ASSERT_TRUE(client);
    EXPECT_EQ(XMdiClient::Current(), client);
    // A window inside the main window, below its top strip.
    plat::Window* window = client->GetNativeWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->Parent(), dynamic_cast<XWindow*>(main.get())->GetNativeWindow());
    EXPECT_EQ(window->GetWindowRect(), CRect(0, 20, 300, 200));

    main.reset();
    Pump(1);
    EXPECT_EQ(XMdiClient::Current(), nullptr);
}

} // namespace
} // namespace orvo::test
