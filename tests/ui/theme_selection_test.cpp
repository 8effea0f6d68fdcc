// Building themes from markup and choosing a style's draw event for an object's state.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "theme_markup.h"
#include "ui/ui_event.h"
#include "ui/ui_style.h"
#include "ui/xcolor.h"
#include "ui/xtheme_man.h"

namespace {

using orvo::PaintTarget;
using orvo::test::ThemeFrom;

constexpr int kNoMouse = -1;
constexpr int kOver = 1;
constexpr int kClick = 4;

int IndexOf(const CUIStyle& style, const CUIEvent* event) {
    for (std::size_t i = 0; i < style.EventCount(); ++i) {
        if (style.EventAt(i) == event)
            return static_cast<int>(i);
    }
    return -1;
}

// e0 plain, e1 hovered, e2 selected, e3 selected and hovered, e4 disabled, e5 user state 1
// clicked.
const char* const kSixEvents = R"(
<UIStyle Control="Cell">
  <DrawEvent/>
  <DrawEvent Trigger="Mouse.Over"/>
  <DrawEvent State="Object.Select"/>
  <DrawEvent State="Object.Select" Trigger="Mouse.Over"/>
  <DrawEvent State="Object.Disable"/>
  <DrawEvent State="User.1" Trigger="Mouse.Click"/>
</UIStyle>)";

TEST(ThemeSelectionTest, EveryMouseCodeStateAndUserStateGetsItsEvent) {
    const auto theme = ThemeFrom(kSixEvents);
    const CUIStyle* style = theme->GetUIStyle(L"CELL");
    ASSERT_NE(style, nullptr);
    ASSERT_EQ(style->EventCount(), 6u);
    struct Case {
        int flags;
        int userState;
        int expected[3]; // for no mouse, Mouse.Over, Mouse.Click
    };
    const int select = PaintTarget::STATE_SELECT;
    const int disable = PaintTarget::STATE_DISABLE;
    const int user = PaintTarget::STATE_USERSTATE;
    const Case cases[] = {
        {0, 0, {0, 1, 5}},                // no state: the first event of the mouse code
        {select, 0, {2, 3, 3}},           // selected: among select events, else the last
        {disable, 0, {4, 4, 4}},          // disabled: the only disable event
        {select | disable, 0, {4, 4, 4}}, // no event has both: the disabled subset
        {user, 0, {0, 1, 4}},             // user state 0: the last user-0 event for a click
        {user, 1, {5, 5, 5}},             // the only user-1 event
        {user, 7, {0, 1, 5}},             // no event for user 7: the first of the mouse code
        {user | select, 1, {5, 5, 5}},    // user state wins over selection
    };
    const int mice[] = {kNoMouse, kOver, kClick};
    for (const Case& c : cases) {
        for (int m = 0; m < 3; ++m) {
            EXPECT_EQ(IndexOf(*style, style->GetUIEvent(c.flags, mice[m], c.userState)),
                      c.expected[m])
                << "flags " << c.flags << ", user state " << c.userState << ", mouse " << mice[m];
        }
    }
}

TEST(ThemeSelectionTest, SelectedAndDisabledPrefersTheEventWithBothBits) {
    const auto theme = ThemeFrom(R"(
<UIStyle Control="default">
  <DrawEvent State="Object.Select"/>
  <DrawEvent State="Object.Select,Object.Disable"/>
</UIStyle>)");
    const CUIStyle* style = theme->GetDefaultStyle();
    ASSERT_NE(style, nullptr);
    const int select = PaintTarget::STATE_SELECT;
    EXPECT_EQ(IndexOf(*style, style->GetUIEvent(select | PaintTarget::STATE_DISABLE, -1, 0)), 1);
    EXPECT_EQ(IndexOf(*style, style->GetUIEvent(select, -1, 0)), 0);
}

TEST(ThemeSelectionTest, UserStateTakesTheHoveredEventElseTheLastOne) {
    const auto theme = ThemeFrom(R"(
<UIStyle Control="default">
  <DrawEvent State="User.1"/>
  <DrawEvent State="User.1" Trigger="Mouse.Over"/>
  <DrawEvent State="User.1" Trigger="Mouse.Click"/>
</UIStyle>)");
    const CUIStyle* style = theme->GetDefaultStyle();
    ASSERT_NE(style, nullptr);
    orvo::test::TestObject object;
    object.flags = PaintTarget::STATE_USERSTATE;
    object.userState = 1;
    EXPECT_EQ(IndexOf(*style, theme->GetUIEvent(&object, kOver)), 1);
    EXPECT_EQ(IndexOf(*style, theme->GetUIEvent(&object, kNoMouse)), 0);
    EXPECT_EQ(IndexOf(*style, theme->GetUIEvent(&object, 2)), 2);
}

TEST(ThemeSelectionTest, AnObjectWithoutAChosenEventIsDrawnWithTheFirstEvent) {
    const auto theme = ThemeFrom(R"(
<UIStyle Control="default">
  <DrawEvent Trigger="Mouse.Over"><Fill BackColor="#FF0000"/></DrawEvent>
</UIStyle>)");
    orvo::test::TestObject object;
    EXPECT_EQ(theme->GetUIEvent(&object, kNoMouse), nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(50, 30);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    theme->Draw(&dc, &object, nullptr);
    EXPECT_EQ(dc.GetPixel(10, 10), RGB(255, 0, 0));
    EXPECT_NE(dc.GetPixel(45, 25), RGB(255, 0, 0)); // outside the object's rectangle
}

TEST(ThemeBuildingTest, ColoursResolveAsTextThenThemeThenColourService) {
    auto names = orvo::test::ParseMarkup(R"(<Colors><Group>
        <ColorName.Add Name=" Rise " Value="255,0,0"/>
        <ColorName.Add Name="broken" Value="not a colour"/></Group></Colors>)");
    ASSERT_NE(names, nullptr);
    XColor::Instance().AddNames(names.get());
    const auto theme = ThemeFrom(R"(
<Group>
  <ColorDef Name=" Board " Color="#102030"/>
  <ColorDef Name="copy" Color="board"/>
  <ColorDef Name="up" Color="RISE"/>
  <ColorDef Name="nothing" Color="no such colour"/>
</Group>)");
    XColor::Instance().Clear();
    COLORREF colour = 0;
    ASSERT_TRUE(theme->GetColor(L"BOARD", &colour));
    EXPECT_EQ(colour, RGB(0x10, 0x20, 0x30));
    ASSERT_TRUE(theme->GetColor(L"copy", &colour));
    EXPECT_EQ(colour, RGB(0x10, 0x20, 0x30));
    ASSERT_TRUE(theme->GetColor(L"up", &colour));
    EXPECT_EQ(colour, RGB(255, 0, 0));
    EXPECT_FALSE(theme->GetColor(L"nothing", &colour));
    EXPECT_FALSE(theme->GetColor(L"rise", &colour)); // the service's names went with Clear
    ASSERT_TRUE(theme->GetColor(L"0,0,255", &colour));
    EXPECT_EQ(colour, RGB(0, 0, 255));
    EXPECT_EQ(XColor::Instance().GetColor(L"broken", colour), 0);
}

TEST(ThemeBuildingTest, TheColourServiceReadsItsNameFile) {
    TempDir dir;
    dir.Write("colors.xml",
              R"(<ColorName><ColorName.Add Name="Bid" Value="#0000FF"/></ColorName>)");
    XColor& colours = XColor::Instance();
    EXPECT_EQ(colours.InitColorName((dir.Wide() + L"/missing.xml").c_str()), 0);
    EXPECT_EQ(colours.InitColorName(nullptr), 0);
    ASSERT_EQ(colours.InitColorName((dir.Wide() + L"/COLORS.XML").c_str()), 1);
    COLORREF colour = 0;
    const int found = colours.GetColor(L"bid", colour);
    colours.Clear();
    EXPECT_EQ(found, 1);
    EXPECT_EQ(colour, RGB(0, 0, 255));
    // Without a project service the file cannot be named.
    EXPECT_EQ(colours.InitializeIXO(), 0);
}

TEST(ThemeBuildingTest, UnresolvableColoursDiscardPaintsAndEmptyEvents) {
    const auto theme = ThemeFrom(R"(
<UIPaint Name="good"><Fill BackColor="#000000"/></UIPaint>
<UIPaint Name="bad"><Fill BackColor="#000000"/><Border Light="nowhere"/></UIPaint>
<UIPaint Name="badround"><BorderEx Round="3"/></UIPaint>
<UIStyle Control="Grid" FocusPaint="good">
  <DrawEvent Color="#FF0000.#00FF00.nowhere.#0000FF"><Text Value="x" TextColor="nowhere"/></DrawEvent>
  <Ignored/>
  <DrawEvent><Unknown/><Fill BackColor="#FFFFFF"/></DrawEvent>
</UIStyle>
<UIStyle FocusPaint="good"><DrawEvent/></UIStyle>
<UIStyle Control="empty"><NotAnEvent/></UIStyle>)");
    EXPECT_NE(theme->GetUIPaint(L"GOOD"), nullptr);
    EXPECT_EQ(theme->GetUIPaint(L"bad"), nullptr);
    EXPECT_EQ(theme->GetUIPaint(L"badround"), nullptr);
    EXPECT_EQ(theme->GetUIStyle(L"empty"), nullptr);
    EXPECT_EQ(theme->GetDefaultStyle(), nullptr);
    const CUIStyle* grid = theme->GetUIStyle(L"grid");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->EventCount(), 2u);
    const CUIEvent* first = grid->GetFirstEvent();
    EXPECT_FALSE(first->HasPrimitives());
    EXPECT_TRUE(grid->EventAt(1)->HasPrimitives());
    COLORREF colour = 0;
    EXPECT_TRUE(first->GetColor(1, colour));
    EXPECT_EQ(colour, RGB(0, 255, 0));
    EXPECT_FALSE(first->GetColor(2, colour)); // the list ends at the first unknown name
    EXPECT_FALSE(first->GetColor(-1, colour));
}

TEST(ThemeBuildingTest, ThemeManKeepsTheCurrentThemeWhenALoadFails) {
    XThemeMan& manager = XThemeMan::Instance();
    auto good = orvo::test::ParseMarkup(
        R"(<Theme><UIStyle Control="default"><DrawEvent/></UIStyle></Theme>)");
    auto wrong = orvo::test::ParseMarkup(R"(<Language/>)");
    ASSERT_TRUE(good && wrong);
    EXPECT_EQ(manager.LoadTheme(good.get()), 1);
    XTheme* loaded = manager.CurrentTheme();
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded->GetDefaultStyle(), nullptr);
    EXPECT_EQ(manager.LoadTheme(wrong.get()), 0);
    EXPECT_EQ(manager.CurrentTheme(), loaded);
    // No project service in this program: the file cannot even be named.
    EXPECT_EQ(manager.LoadCurrentTheme(), 0);
    EXPECT_EQ(manager.CurrentTheme(), loaded);
    manager.Reset();
    EXPECT_EQ(manager.CurrentTheme(), nullptr);
}

} // namespace
