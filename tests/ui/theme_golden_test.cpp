// A small trading theme's styles painted side by side and compared with a reference image.
#include <gtest/gtest.h>

#include "support/golden_image.h"
#include "theme_markup.h"

namespace {

const orvo::test::GoldenPlace kPlace{ORVO_GOLDEN_DIR, ORVO_GOLDEN_FAILURES};

const char* const kBoardTheme = R"(
<ColorDef Name="board" Color="#101820"/>
<ColorDef Name="up" Color="#E03030"/>
<ColorDef Name="down" Color="#3060E0"/>
<ColorDef Name="line" Color="#405060"/>
<UIPaint Name="cellback"><Fill BackColor="board"/></UIPaint>
<UIStyle Control="Header">
  <DrawEvent><Gradient Type="Vertical" Color="#5A6B7C.#20303F"/>
    <Border Flag="RECT" Edge="Raised"/><Text Value="Price" TextColor="white"/></DrawEvent>
</UIStyle>
<UIStyle Control="Cell">
  <DrawEvent State="User.2" Color="up"><Draw Paint="cellback"/>
    <Border Flag="BOTTOM,RIGHT,FLAT" Shadow="line" Light="line"/>
    <SetRect Rect="0,0,100%,100%" Margin="0,0,4,0"><Text TextColorIndex="0"/></SetRect></DrawEvent>
  <DrawEvent State="User.5" Color="down"><Draw Paint="cellback"/>
    <Border Flag="BOTTOM,RIGHT,FLAT" Shadow="line" Light="line"/>
    <SetRect Rect="0,0,100%,100%" Margin="0,0,4,0"><Text TextColorIndex="0"/></SetRect></DrawEvent>
</UIStyle>
<UIStyle Control="Button">
  <DrawEvent><Border Flag="RECT,Double" Edge="Raised"/><Fill BackColor="#C8C8C8"/></DrawEvent>
  <DrawEvent Trigger="Mouse.Over"><Border Flag="RECT,Double" Edge="Raised"/><Gradient Direction="Down" Color="#F0F0F0.#B0B0B0"/></DrawEvent>
  <DrawEvent State="Object.Select"><Border Flag="RECT,Double" Edge="Sunken"/><Fill BackColor="#A0A0A0"/></DrawEvent>
</UIStyle>
<UIStyle Control="Badge">
  <DrawEvent><Gradient Type="Radial" Color="#FFFFFF.#F0C040.#C08000"/>
    <AlphaBlend Alpha="50"><Pen Color="black"><Brush BrushStyle="HATCHED" Hatch="DIAGCROSS" Color="#000080">
      <PolyDraw Fill="1"><PolyDraw.MoveTo x="50%" y="4"/><PolyDraw.LineTo x="@4" y="@4"/>
        <PolyDraw.LineTo x="4" y="@4" close="1"/></PolyDraw></Brush></Pen></AlphaBlend></DrawEvent>
</UIStyle>)";

TEST(ThemeGoldenTest, ABoardThemesStylesPaintAsTheReferenceShows) {
    const auto theme = orvo::test::ThemeFrom(kBoardTheme);
    ASSERT_NE(theme->GetUIStyle(L"Badge"), nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(240, 100);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 240, 100, RGB(255, 255, 255));

    orvo::test::TestObject header;
    header.style = theme->GetUIStyle(L"Header");
    header.rect = CRect(0, 0, 120, 24);
    theme->Draw(&dc, &header, nullptr);

    orvo::test::TestObject cell;
    cell.style = theme->GetUIStyle(L"Cell");
    cell.flags = orvo::PaintTarget::STATE_USERSTATE;
    const int states[] = {2, 5, 2};
    const wchar_t* const prices[] = {L"71,300", L"70,900", L"1,234,500"};
    for (int row = 0; row < 3; ++row) {
        cell.rect = CRect(0, 24 + row * 20, 120, 44 + row * 20);
        cell.userState = states[row];
        cell.content = prices[row];
        theme->Draw(&dc, &cell, theme->GetUIEvent(&cell, -1));
    }

    orvo::test::TestObject button;
    button.style = theme->GetUIStyle(L"Button");
    const int mice[] = {-1, 1, -1};
    const int flags[] = {0, 0, orvo::PaintTarget::STATE_SELECT};
    for (int i = 0; i < 3; ++i) {
        button.rect = CRect(130 + i * 36, 4, 162 + i * 36, 28);
        button.flags = flags[i];
        theme->Draw(&dc, &button, theme->GetUIEvent(&button, mice[i]));
    }

    orvo::test::TestObject badge;
    badge.style = theme->GetUIStyle(L"Badge");
    badge.rect = CRect(150, 40, 210, 96);
    theme->Draw(&dc, &badge, nullptr);

    EXPECT_TRUE(orvo::test::MatchesGolden(bitmap.Snapshot(), "board_theme", kPlace, 48));
}

} // namespace
