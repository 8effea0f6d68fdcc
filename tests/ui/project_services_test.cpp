// The UI services as a project starts them: the theme and the language named by the
// project's settings, the language's fonts, and "OnPaint" functions in user libraries.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/lang_man.h"
#include "core/xdo.h"
#include "platform/base/text.h"
#include "platform/gui/bitmap.h"
#include "support/trading_project.h"
#include "theme_markup.h"
#include "ui/xtheme_man.h"

namespace {

class ProjectServicesTest : public TradingProjectTest {
protected:
    void TearDown() override {
        XThemeMan::Instance().Reset();
        XLangMan::Instance().Reset();
        TradingProjectTest::TearDown();
    }
};

TEST_F(ProjectServicesTest, TheThemeNamedBySettingsLoadsAndAFailedLoadKeepsIt) {
    XThemeMan& themes = XThemeMan::Instance();
    dir.Write("Board.xml",
              R"(<Theme><ColorDef Name="Up" Color="255,0,0"/>
                 <UIStyle Control="Cell"><DrawEvent/></UIStyle></Theme>)");
    dir.Write("NotATheme.xml", "<Language/>");
    ChooseSetting(L"Theme", L"Board.xml");
    ASSERT_EQ(themes.InitializeIXO(), 1);
    XTheme* board = themes.CurrentTheme();
    ASSERT_NE(board, nullptr);
    COLORREF up = 0;
    EXPECT_TRUE(board->GetColor(L"UP", &up));
    EXPECT_EQ(up, RGB(255, 0, 0));
    EXPECT_NE(board->GetUIStyle(L"cell"), nullptr);

    for (const wchar_t* refused : {L"Absent.xml", L"NotATheme.xml", L""}) {
        ChooseSetting(L"Theme", refused);
        EXPECT_EQ(themes.LoadCurrentTheme(), 0) << plat::ToUtf8(refused);
        EXPECT_EQ(themes.CurrentTheme(), board);
    }
}

TEST_F(ProjectServicesTest, LanguageFontsAreMadeOncePerDescription) {
    XLangMan& langMan = XLangMan::Instance();
    EXPECT_EQ(GetSystemFont(L"Height=12"), nullptr) << "no language yet";
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    XLanguage* english = langMan.CurrentLanguage();
    ASSERT_NE(english, nullptr);

    // The last "Font" element of the file is the default description.
    CFont* base = english->GetDefaultFont();
    ASSERT_NE(base, nullptr);
    LOGFONT description;
    ASSERT_TRUE(base->GetLogFont(description));
    EXPECT_EQ(description.lfFaceName, L"Liberation Sans");
    EXPECT_EQ(description.lfHeight, 13);

    CFont* bold = GetSystemFont(L"Weight=BOLD");
    ASSERT_NE(bold, nullptr);
    ASSERT_TRUE(bold->GetLogFont(description));
    EXPECT_EQ(description.lfWeight, 700);
    EXPECT_EQ(description.lfHeight, 13) << "fields not named keep the default";
    EXPECT_EQ(langMan.GetFont(L"Weight=BOLD"), bold);
    EXPECT_EQ(langMan.GetFont(L"Weight=700"), bold) << "equal descriptions, one font";

    CFont* arial = langMan.GetFont(L"FaceName=Arial,Height=20");
    CFont* lowerArial = langMan.GetFont(L"FaceName=arial,Height=20");
    ASSERT_NE(arial, nullptr);
    EXPECT_NE(arial, lowerArial) << "face names compare with case";
    EXPECT_EQ(langMan.GetFont(L"Height=20,FaceName=Arial"), arial);
    EXPECT_NE(langMan.GetFont(L""), nullptr);
    EXPECT_NE(langMan.GetFont(L"Weight=,=,,Height"), nullptr) << "broken pairs change nothing";

    // A new load replaces the language; fonts handed out stay usable.
    ChooseSetting(L"Lang", L"Lang\\Korean.xml");
    ASSERT_EQ(langMan.LoadCurrentLanguage(), 1);
    EXPECT_NE(langMan.GetFont(L"Weight=BOLD"), bold);
    ASSERT_TRUE(bold->GetLogFont(description));
    EXPECT_EQ(description.lfWeight, 700);
}

TEST(PaintHandlerTest, OnPaintDrawsBeforeThePrimitivesAndAMissingLibraryIsSkipped) {
    orvo::test::TestObject object;
    object.rect = CRect(0, 0, 20, 10);
    auto paint = [&](const std::string& handler) {
        const auto theme = orvo::test::ThemeFrom(
            "<UIStyle Control=\"default\"><DrawEvent OnPaint=\"" + handler +
            "\"><SetRect Rect=\"0,0,10,10\"><Fill BackColor=\"0,128,0\"/></SetRect>"
            "</DrawEvent></UIStyle>");
        CBitmap bitmap;
        bitmap.CreateBitmap(30, 10);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 30, 10, RGB(255, 255, 255));
        theme->Draw(&dc, &object, nullptr);
        return std::array{dc.GetPixel(5, 5), dc.GetPixel(15, 5), dc.GetPixel(25, 5)};
    };
    const auto drawn = paint("OrvoTestPaint.dll, PaintBackdrop");
    EXPECT_EQ(drawn[0], RGB(0, 128, 0)) << "the primitives draw over the handler";
    EXPECT_EQ(drawn[1], RGB(0, 0, 255)) << "the handler painted the object's rectangle";
    EXPECT_EQ(drawn[2], RGB(255, 255, 255)) << "and nothing outside it";

    for (const char* missing : {"NoSuchLibrary.dll, PaintBackdrop", "OrvoTestPaint.dll, NoSuch"}) {
        const auto skipped = paint(missing);
        EXPECT_EQ(skipped[0], RGB(0, 128, 0)) << missing;
        EXPECT_EQ(skipped[1], RGB(255, 255, 255)) << missing;
    }
}

} // namespace
