// Text boxes: the bound field or their own text, formatted, aligned, painted by their style.
#include "shell/xtext_box.h"
#include "shell_fixture.h"

namespace orvo::test {
namespace {

// Antialiased text counts where it comes near its colour.
constexpr int kInk = 100;

class TextBoxTest : public ShellTest {
protected:
    XTextBox* Box(const wchar_t* name) { return dynamic_cast<XTextBox*>(UI(name)); }
};

TEST_F(TextBoxTest, ShowsTheBoundFieldFormattedAndAlignedAndFollowsItsSource) {
    OpenWindow(R"(<structure Name="Quote" count="1">
                    <this.field item="price" type="Integer" value="71500"/></structure>
                  <TextBox Name="price" Data="Quote" Field="price" Format="#,##0"
                           Text_Align="RIGHT,VCENTER" Rect="0,0,200,20"/>
                  <TextBox Name="plain" Text="종목" Rect="0,30,200,20"/>
                  <TextBox Name="lost" Data="Quote" Field="nope" Text="-" Rect="0,60,50,20"/>)");
    EXPECT_EQ(Box(L"price")->GetShownText(), L"71,500");
    EXPECT_EQ(Box(L"lost")->GetShownText(), L"-") << "an unknown field shows the own text";
    QImage image = Rendered();
    EXPECT_GT(Count(image, CRect(150, 0, 200, 20), kWhite, kInk), 10) << "right aligned";
    EXPECT_EQ(Count(image, CRect(0, 0, 100, 20), kWhite, kInk), 0);
    EXPECT_EQ(Count(image, CRect(0, 0, 200, 4), kWhite, kInk), 0) << "centred vertically";
    EXPECT_GT(Count(image, CRect(0, 30, 50, 50), kWhite, kInk), 10) << "left aligned by default";

    auto* quote = AsMetaIOData(page->GetObjByNameDown(L"Quote"));
    ASSERT_TRUE(quote && quote->SetVal(0, 0, 123));
    Win()->invalidations.clear();
    quote->NotifyChange(0, 0);
    EXPECT_EQ(Box(L"price")->GetShownText(), L"123");
    Win()->XOnTimer(XWindow::TIMER_PAINT);
    ASSERT_FALSE(Win()->invalidations.empty()) << "a change of the source repaints the box";
    EXPECT_TRUE(Win()->invalidations.back().PtInRect(CPoint(100, 10)));

    DestroyObject(quote);
    Box(L"price")->SetText(L"gone");
    EXPECT_EQ(Box(L"price")->GetShownText(), L"gone");
    Rendered();
}

TEST_F(TextBoxTest, StylesWithoutATextPrimitiveStillShowTheText) {
    OpenWindow(R"(<TextBox Name="bare" Style="Bare" Text="abc" Rect="0,0,100,20"/>
                  <TextBox Name="odd" Text_Align="nonsense" Format=";;;" Rect="0,0,-5,20"/>)");
    Box(L"bare")->SetText(L"XYZ");
    EXPECT_EQ(Box(L"bare")->GetText(), L"XYZ");
    QImage image = Rendered();
    EXPECT_GT(Count(image, CRect(0, 0, 40, 20), kNavy), 100) << "the style's fill";
    EXPECT_GT(Count(image, CRect(0, 0, 40, 20), RGB(0, 0, 0), kInk), 10) << "the text, plainly";
}

} // namespace
} // namespace orvo::test
