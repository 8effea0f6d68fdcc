// Edits: a native line edit over the object that commits to the bound field or its own text.
#include "gui/line_edit_input.h"
#include "shell/xedit.h"
#include "shell_fixture.h"

namespace orvo::test {
namespace {

using Log = std::vector<std::wstring>;

const char* const kQuoteAndEdits = R"(<Script/>
  <structure Name="Quote" count="1"><this.field item="name" type="String" size="20" value="LG"/>
  </structure>
  <Edit Name="name" Data="Quote" Field="name" Rect="10,10,100,20">
    <this.Event Trigger="Object.Change" Action="Script.Changed"/></Edit>
  <Edit Name="memo" Text="메모" Rect="10,40,100,20">
    <this.Event Trigger="Object.Change" Action="Script.Kill"/></Edit>
  <Cell Name="box" Rect="0,70,200,30"><Edit Name="inner" Rect="5,5,50,20"/></Cell>)";

class EditTest : public ShellTest {
protected:
    XEdit* Edit(const wchar_t* name) { return dynamic_cast<XEdit*>(UI(name)); }
    static void Key(XEdit* edit, EditKey key) { SendKey(*edit->GetLineEdit(), key); }
    static void Type(XEdit* edit, const wchar_t* text) { SendComposed(*edit->GetLineEdit(), text); }
    void Focus(XEdit* edit) {
        Native()->Show(true); // an inactive window gives no focus
        edit->SetFocus();
        Pump(2);
    }
};

TEST_F(EditTest, LiesOverItsRectangleAndFollowsLayoutAndVisibility) {
    OpenWindow(kQuoteAndEdits);
    plat::LineEdit* line = Edit(L"memo")->GetLineEdit();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetText(), L"메모");
    EXPECT_EQ(line->GetWindowRect(), CRect(12, 42, 108, 58)) << "inside the style's border";
    ASSERT_TRUE(Edit(L"memo")->SetLeft(L"50"));
    EXPECT_EQ(line->GetWindowRect().left, 52);
    Edit(L"memo")->SetShow(false);
    EXPECT_FALSE(line->IsVisible());
    Edit(L"memo")->SetShow(true);
    EXPECT_TRUE(line->IsVisible());

    XEdit* inner = Edit(L"inner");
    EXPECT_EQ(inner->GetLineEdit()->GetWindowRect(), CRect(7, 77, 53, 93));
    UI(L"box")->SetShow(false);
    EXPECT_FALSE(inner->GetLineEdit()->IsVisible()) << "a hidden container hides it at once";
    UI(L"box")->SetShow(true);
    EXPECT_TRUE(inner->GetLineEdit()->IsVisible());
}

TEST_F(EditTest, EnterCommitsTypedKoreanToTheFieldAndRunsChange) {
    OpenWindow(kQuoteAndEdits);
    XEdit* name = Edit(L"name");
    auto* quote = AsMetaIOData(page->GetObjByNameDown(L"Quote"));
    Focus(name);
    EXPECT_EQ(XUI::GetFocusedObject(), name);
    Key(name, EditKey::Backspace);
    Key(name, EditKey::Backspace);
    Type(name, L"삼성");
    EXPECT_TRUE(RecordingScript::runs.empty()) << "nothing is committed while typing";
    Key(name, EditKey::Enter);
    Key(name, EditKey::Enter);
    std::wstring stored;
    ASSERT_TRUE(quote->GetVal(0, 0, stored));
    EXPECT_EQ(stored, L"삼성");
    EXPECT_EQ(RecordingScript::runs, Log{L"Changed:name"}) << "once: the second is no change";

    // The source changes from elsewhere: shown until the user types.
    ASSERT_TRUE(quote->SetVal(0, 0, L"SK"));
    quote->NotifyChange(0, 0);
    EXPECT_EQ(name->GetLineEdit()->GetText(), L"SK");
    Type(name, L"2");
    quote->NotifyChange(0, 0);
    EXPECT_EQ(name->GetLineEdit()->GetText(), L"SK2");
    Key(name, EditKey::Escape);
    EXPECT_EQ(name->GetLineEdit()->GetText(), L"SK");

    // Focus loss commits; the script's "Text" commits too.
    Type(name, L"3");
    Focus(Edit(L"memo"));
    EXPECT_EQ(name->GetText(), L"SK3");
    DispVariant result;
    std::vector<DispVariant> value{DispVariant(L"x")};
    ASSERT_EQ(name->Invoke(L"Text", InvokePut, value, result), DispStatus::Ok);
    EXPECT_EQ(name->GetLineEdit()->GetText(), L"x");
    name->SetEnable(false);
    Key(name, EditKey::Backspace);
    EXPECT_EQ(name->GetLineEdit()->GetText(), L"x") << "disabled: no typing";
    EXPECT_EQ(RecordingScript::runs, (Log{L"Changed:name", L"Changed:name", L"Changed:name"}));
}

TEST_F(EditTest, AChangeHandlerOrTheScreenMayDestroyAFocusedEdit) {
    OpenWindow(kQuoteAndEdits);
    XEdit* memo = Edit(L"memo");
    Focus(memo);
    Type(memo, L"b");
    Key(memo, EditKey::Enter);
    EXPECT_EQ(page->GetObjByNameDown(L"memo"), nullptr);
    Pump(2);

    XEdit* name = Edit(L"name");
    Focus(name);
    Type(name, L"typed");
    page.reset();
    Pump(3);
    EXPECT_EQ(RecordingScript::runs, Log{L"Kill:memo"}) << "a dying edit commits nothing";
}

} // namespace
} // namespace orvo::test
