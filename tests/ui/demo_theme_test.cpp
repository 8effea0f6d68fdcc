// The demo project's two themes, loaded as kestrel loads them (settings, colour names,
// language fonts), paint a small quote board: title, headers, rising, falling and unchanged
// rows in every state, text boxes and buttons. Each board is kept as a screenshot in the build
// tree and compared with its reference.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/lang_man.h"
#include "core/project.h"
#include "core/xdo.h"
#include "nubra/paths.h"
#include "platform/base/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dc.h"
#include "support/golden_image.h"
#include "support/host_stand_ins.h"
#include "support/scoped_registration.h"
#include "support/temp_dir.h"
#include "theme_markup.h"
#include "ui/ui_paint_text.h"
#include "ui/xcolor.h"
#include "ui/xres_man.h"
#include "ui/xtheme_man.h"

namespace {

const orvo::test::GoldenPlace kPlace{ORVO_GOLDEN_DIR, ORVO_GOLDEN_FAILURES};

// A board object: its content drawn with its own horizontal alignment.
struct BoardObject : orvo::test::TestObject {
    unsigned align = DT_LEFT;

    void DrawContent(CDC* dc, CRect& area, CUIEvent* event, CUIPaintText* text) override {
        text->DrawTextW(dc, area, content, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, event);
    }
};

class DemoThemeTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::error_code ec;
        std::filesystem::copy(
            ORVO_DEMO_DIR, dir.Path(), std::filesystem::copy_options::recursive, ec);
        ASSERT_FALSE(ec) << ec.message();
        app.cfg = plat::FromUtf8(GetParam());
        SetWorkPath(dir.Wide());
        ASSERT_EQ(XProject::Instance().InitializeIXO(), 1);
        ASSERT_EQ(XColor::Instance().InitializeIXO(), 1);
        ASSERT_EQ(XResMan::Instance().InitializeIXO(), 1);
        ASSERT_EQ(XThemeMan::Instance().InitializeIXO(), 1);
        ASSERT_EQ(XLangMan::Instance().InitializeIXO(), 1);
    }
    void TearDown() override {
        XLangMan::Instance().Reset();
        XResMan::Instance().Reset();
        XThemeMan::Instance().Reset();
        XColor::Instance().Clear();
        XProject::Instance().Reset();
        SetWorkPath(L"");
    }

    TempDir dir;
    ApplicationStandIn app;
    ScopedRegistration appRegistration{L"Application", &app};
    ScopedRegistration systemDbRegistration{L"systemdb", nullptr};
};

// Paints with the object's style and the event its state and `mouse` choose.
void Paint(
    CDC& dc, const XTheme& theme, BoardObject& object, const wchar_t* style, int mouse = -1) {
    object.style = theme.GetUIStyle(style);
    ASSERT_NE(object.style, nullptr) << plat::ToUtf8(style);
    theme.Draw(&dc, &object, theme.GetUIEvent(&object, mouse));
}

auto PaintBoard(const XTheme& theme) {
    CBitmap bitmap;
    bitmap.CreateBitmap(440, 214);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    dc.SelectObject(GetSystemFont(L""));
    BoardObject page;
    page.rect = CRect(0, 0, 440, 214);
    theme.Draw(&dc, &page, nullptr); // the default style

    BoardObject logo;
    logo.rect = CRect(4, 4, 80, 28);
    Paint(dc, theme, logo, L"Logo");
    BoardObject title;
    title.rect = CRect(80, 4, 436, 28);
    title.content = L"현재가 보드  KOSPI 2,612.45";
    Paint(dc, theme, title, L"Title");

    const wchar_t* const headers[] = {L"종목", L"현재가", L"대비", L"거래량"};
    const int columns[] = {4, 74, 146, 212, 290};
    for (int c = 0; c < 4; ++c) {
        BoardObject header;
        header.rect = CRect(columns[c], 32, columns[c + 1], 54);
        header.content = headers[c];
        header.align = DT_CENTER;
        Paint(dc, theme, header, L"Header");
    }
    struct Row {
        const wchar_t* cells[4];
        int direction; // user state: 1 up, 2 down, 0 unchanged
        int flags;
        int mouse;
        int updates;
    };
    const Row rows[] = {
        {{L"삼성전자", L"71,300", L"1,200", L"12,345,678"}, 1, 0, -1, 0},
        {{L"SK하이닉스", L"127,500", L"500", L"3,210,987"}, 2, 0, -1, 0},
        {{L"NAVER", L"201,000", L"0", L"654,321"}, 0, 0, 1, 0},
        {{L"카카오", L"48,950", L"0", L"2,468,135"}, 0, orvo::PaintTarget::STATE_SELECT, -1, 0},
        {{L"현대차", L"245,000", L"3,500", L"876,543"},
         1,
         orvo::PaintTarget::STATE_ANIMATION,
         -1,
         1},
        {{L"LG화학", L"389,500", L"7,000", L"123,456"}, 2, 0, -1, 0},
    };
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 4; ++c) {
            BoardObject cell;
            cell.rect = CRect(columns[c], 54 + r * 22, columns[c + 1], 76 + r * 22);
            cell.content = rows[r].cells[c];
            cell.align = c == 0 ? DT_LEFT : DT_RIGHT;
            cell.flags = rows[r].flags;
            cell.updates = rows[r].updates;
            // The name column shows no direction; price and change do.
            if (c == 1 || c == 2) {
                cell.userState = rows[r].direction;
                if (cell.userState)
                    cell.flags |= orvo::PaintTarget::STATE_USERSTATE;
            }
            Paint(dc, theme, cell, L"Cell", rows[r].mouse);
        }
    }

    BoardObject panel;
    panel.rect = CRect(296, 32, 436, 186);
    Paint(dc, theme, panel, L"Panel");
    const wchar_t* const labels[] = {L"수량", L"가격", L"계좌"};
    const wchar_t* const values[] = {L"10", L"71,300", L"123-45-678"};
    for (int i = 0; i < 3; ++i) {
        BoardObject label;
        label.rect = CRect(300, 38 + i * 26, 340, 60 + i * 26);
        label.content = labels[i];
        Paint(dc, theme, label, L"Label");
        BoardObject box;
        box.rect = CRect(340, 38 + i * 26, 432, 60 + i * 26);
        box.content = values[i];
        box.align = DT_RIGHT;
        box.focused = i == 1;
        box.flags = i == 1   ? orvo::PaintTarget::STATE_CANFOCUS
                    : i == 2 ? orvo::PaintTarget::STATE_DISABLE
                             : 0;
        Paint(dc, theme, box, L"TextBox");
    }
    BoardObject buy;
    buy.rect = CRect(300, 118, 364, 144);
    buy.content = L"매수";
    buy.align = DT_CENTER;
    Paint(dc, theme, buy, L"BuyButton");
    BoardObject sell = buy;
    sell.rect = CRect(368, 118, 432, 144);
    sell.content = L"매도";
    Paint(dc, theme, sell, L"SellButton");

    // A button in each of its states: plain, under the mouse, clicked, disabled.
    const wchar_t* const captions[] = {L"조회", L"정정", L"취소", L"잠김"};
    const int mice[] = {-1, 1, 4, -1};
    for (int i = 0; i < 4; ++i) {
        BoardObject button;
        button.rect = CRect(4 + i * 72, 190, 72 + i * 72, 210);
        button.content = captions[i];
        button.align = DT_CENTER;
        button.flags = i == 3 ? orvo::PaintTarget::STATE_DISABLE : 0;
        Paint(dc, theme, button, L"Button", mice[i]);
    }
    BoardObject link;
    link.rect = CRect(300, 150, 432, 180);
    link.content = L"체결 3건";
    link.align = DT_CENTER;
    link.flags = orvo::PaintTarget::STATE_CANFOCUS;
    link.focused = true;
    Paint(dc, theme, link, L"Button");
    return bitmap.Snapshot();
}

TEST_P(DemoThemeTest, PaintsTheQuoteBoardAsItsReferenceShows) {
    const XTheme* theme = XThemeMan::Instance().CurrentTheme();
    ASSERT_NE(theme, nullptr);
    ASSERT_NE(theme->GetDefaultStyle(), nullptr);
    const auto board = PaintBoard(*theme);
    const std::string name =
        std::string("demo_") + (std::string(GetParam()) == "Kestrel.ini" ? "dark" : "light");
    const auto shots = std::filesystem::path(ORVO_GOLDEN_FAILURES).parent_path() / "screenshots";
    EXPECT_TRUE(orvo::test::SavePng(board, shots / (name + ".png")));
    EXPECT_TRUE(orvo::test::MatchesGolden(board, name, kPlace, 8));
}

INSTANTIATE_TEST_SUITE_P(Themes,
                         DemoThemeTest,
                         ::testing::Values("Kestrel.ini", "KestrelLight.ini"),
                         [](const auto& info) {
                             return std::string(info.param) == "Kestrel.ini" ? "Dark" : "Light";
                         });

} // namespace
