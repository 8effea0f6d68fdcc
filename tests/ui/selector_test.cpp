// A selector keeps at most one member selected, tells of each change once, and gives its
// number (or the member's data) as its own.
#include <gtest/gtest.h>

#include "ui/xselector.h"
#include "xui_fixture.h"

namespace orvo::test {
namespace {

class SelectorTest : public XUITest {
protected:
    void OpenSelector(const std::string& attributes) {
        Open(R"(<Script Name="code"/><Selector Name="sel" )" + attributes + R"(>
              <this.Event Trigger="Object.Select" Action="Script.OnSelect"/></Selector>
            <Cell Name="a" Selector="sel" DataValue="alpha" Rect="0,0,10,10"/>
            <Cell Name="b" Selector="sel" DataValue="beta" Rect="10,0,10,10"/>
            <Cell Name="c" Selector="sel" DataValue="gamma" Rect="20,0,10,10"/>)");
        selector = dynamic_cast<XSelector*>(page->GetObjByNameDown(L"sel"));
        ASSERT_NE(selector, nullptr);
        RecordingScript::runs.clear();
    }
    bool Selected(const wchar_t* name) { return (UI(name)->GetFlag() & XUI::UI_SELECT) != 0; }
    std::wstring Data() {
        std::wstring out;
        selector->GetData(&out);
        return out;
    }

    XSelector* selector = nullptr;
};

TEST_F(SelectorTest, OneMemberAtATimeAndEachChangeToldOnce) {
    OpenSelector(R"(Select="1")");
    EXPECT_TRUE(Selected(L"b")) << "the markup's number is applied at initialisation";
    EXPECT_EQ(Data(), L"1");
    selector->Select(2);
    EXPECT_FALSE(Selected(L"b"));
    EXPECT_TRUE(Selected(L"c"));
    EXPECT_EQ(RecordingScript::runs, std::vector<std::wstring>{L"OnSelect:sel"});
    selector->SetSelectNo(2);
    EXPECT_EQ(RecordingScript::runs.size(), 1u) << "the same number again changes nothing";
    selector->InitSelect();
    EXPECT_EQ(RecordingScript::runs.size(), 2u) << "InitSelect selects the number again";
    // Text data selects a member's number; others are ignored.
    selector->SetData(L"0");
    EXPECT_TRUE(Selected(L"a"));
    selector->SetData(L"7");
    EXPECT_TRUE(Selected(L"a"));
    std::wstring prop;
    EXPECT_EQ(selector->GetPropW(L"SELECT", L"", prop), 1);
    EXPECT_EQ(prop, L"0");
    // A number that is no member's leaves none selected.
    selector->Select(-1);
    EXPECT_FALSE(Selected(L"a") || Selected(L"b") || Selected(L"c"));
    EXPECT_EQ(selector->GetCurUI(), nullptr);
    EXPECT_EQ(selector->GetSelectObj(), nullptr);
    // The look alone, without the number.
    selector->DoSelect(1, 1);
    EXPECT_TRUE(Selected(L"b"));
    EXPECT_EQ(selector->GetSelectNo(), -1);
    selector->DoSelect(1, 0);
    EXPECT_FALSE(Selected(L"b"));
}

TEST_F(SelectorTest, GateDataGivesTheSelectedMembersDataAndRemovalCanReselect) {
    OpenSelector(R"(GateData="true" Select="2")");
    EXPECT_EQ(Data(), L"gamma");
    EXPECT_EQ(selector->GetSelectObj(), UI(L"c"));
    EXPECT_EQ(selector->Remove(UI(L"a"), 0), 1);
    EXPECT_EQ(Data(), L"") << "number 2 now names no member: the list closed up";
    EXPECT_EQ(selector->Remove(UI(L"a"), 0), 0);
    selector->Select(UI(L"c"));
    EXPECT_EQ(selector->GetSelectNo(), 1);
    EXPECT_EQ(selector->Remove(UI(L"c"), 1), 1);
    EXPECT_EQ(selector->GetSelectNo(), -1);
    EXPECT_EQ(Data(), L"");
}

TEST_F(SelectorTest, TheNumberIsSavedAndLoadedWithoutSelecting) {
    OpenSelector(R"(Select="2" Save="true")");
    XElement settings(L"settings");
    selector->SaveObject(&settings);
    std::wstring kept;
    ASSERT_TRUE(settings.GetValue(L"sel", kept));
    EXPECT_EQ(kept, L"2");
    settings.SetValue(L"sel", L"0");
    selector->LoadObject(&settings);
    EXPECT_EQ(selector->GetSelectNo(), 0);
    EXPECT_TRUE(Selected(L"c")) << "loading only keeps the number";
    EXPECT_TRUE(RecordingScript::runs.empty());
}

} // namespace
} // namespace orvo::test
