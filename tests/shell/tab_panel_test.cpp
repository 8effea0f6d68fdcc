// Tab panels: one page shown at a time, chosen by "Page", by script or by a gate element
// through the panel's switches.
#include "core/element.h"
#include "shell/xtab_panel.h"
#include "shell_fixture.h"

namespace orvo::test {
namespace {

constexpr const char* kTabs = R"(
  <TabPanel Name="tabs" Rect="0,0,200,60" PAGE>
    <this.switch Item="market" Value="kosdaq" Id="1"/>
    <this.switch Item="market" Value="KOSPI" Id="0"/>
    <this.switch Item="market" Value="kosdaq" Id="2"/>
    <this.switch Item="market" Value="far" Id="7"/>
    <this.switch Item="market" Value="" Id="1"/>
    <this.switch Value="x" Id="1"/>
    <this.switch Item="market" Value="noid"/>
    <TextBox Name="kospi" Text="KOSPI" Rect="0,0,200,60"/>
    <TextBox Name="kosdaq" Text="KOSDAQ" Rect="0,0,200,60"/>
    <TextBox Name="futures" Text="F" Rect="0,0,200,60"/>
  </TabPanel>)";

class TabPanelTest : public ShellTest {
protected:
    void OpenTabs(const char* page = "") {
        std::string body = kTabs;
        body.replace(body.find("PAGE"), 4, page);
        OpenWindow(body);
        tabs = dynamic_cast<XTabPanel*>(UI(L"tabs"));
        ASSERT_NE(tabs, nullptr);
    }
    // Which pages show, as "kospi,kosdaq,futures" flags.
    std::string Shown() {
        std::string shown;
        for (const wchar_t* name : {L"kospi", L"kosdaq", L"futures"})
            shown += UI(name)->IsShow() ? '1' : '0';
        return shown;
    }
    XDO* SwitchTo(const wchar_t* market) {
        XElement element(L"gate");
        element.SetValue(L"market", market);
        return tabs->SwitchPage(&element);
    }

    XTabPanel* tabs = nullptr;
};

TEST_F(TabPanelTest, SwitchesPickTheFirstMatchingPageThatIsNotShownAlready) {
    OpenTabs();
    EXPECT_EQ(tabs->GetSwitches().size(), 4u) << "incomplete switches are dropped";
    EXPECT_EQ(tabs->GetPageCount(), 3);
    EXPECT_EQ(Shown(), "100");

    EXPECT_EQ(SwitchTo(L"KOSDAQ"), UI(L"kosdaq")) << "values compare without case";
    EXPECT_EQ(Shown(), "010");
    EXPECT_EQ(SwitchTo(L"kosdaq"), UI(L"futures")) << "the current page's switch is passed over";
    EXPECT_EQ(Shown(), "001");
    EXPECT_EQ(SwitchTo(L"kospi"), UI(L"kospi"));
    EXPECT_EQ(SwitchTo(L"kospi"), nullptr) << "already shown";
    EXPECT_EQ(SwitchTo(L"nasdaq"), nullptr);
    EXPECT_EQ(tabs->SwitchPage(nullptr), nullptr);
    EXPECT_EQ(Shown(), "100");

    EXPECT_EQ(SwitchTo(L"far"), nullptr) << "a page past the last has no object";
    EXPECT_EQ(tabs->GetPage(), 7);
    EXPECT_EQ(Shown(), "000");
    tabs->SelectPage(1);
    EXPECT_EQ(Shown(), "010") << "nothing to hide on a page that does not exist";
}

TEST_F(TabPanelTest, TheFirstPageComesFromMarkupAndScriptsChangeIt) {
    OpenTabs(R"(Page="2")");
    EXPECT_EQ(Shown(), "001") << "recorded before creation, shown at initialisation";
    DispVariant result;
    std::vector<DispVariant> none;
    ASSERT_EQ(tabs->Invoke(L"Page", InvokeGet, none, result), DispStatus::Ok);
    ASSERT_NE(result.AsInt32(), nullptr);
    EXPECT_EQ(*result.AsInt32(), 2);
    std::vector<DispVariant> first{DispVariant(0)};
    ASSERT_EQ(tabs->Invoke(L"Page", InvokePut, first, result), DispStatus::Ok);
    EXPECT_EQ(Shown(), "100");
    QImage image = Rendered();
    EXPECT_GT(Count(image, CRect(0, 0, 200, 60), kNavy), 1000) << "the shown page paints";
    tabs->SelectPage(5);
    EXPECT_EQ(Count(Rendered(), CRect(0, 0, 200, 60), kNavy), 0) << "hidden pages do not";
}

} // namespace
} // namespace orvo::test
