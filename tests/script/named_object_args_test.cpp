// The objects of a screen register with its script after the script's code was compiled.
// A procedure must reach them however it first names them, an argument included.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "core/notice_man.h"
#include "core/object_tree.h"
#include "core/xdo.h"
#include "script/script.h"
#include "support/recording_presenter.h"

namespace {

class NamedObjectArgsTest : public ::testing::Test {
protected:
    void SetUp() override { XNoticeMan::Instance().SetPresenter(&notices); }
    void TearDown() override { XNoticeMan::Instance().SetPresenter(nullptr); }

    std::wstring AllConfirms() const {
        std::wstring all;
        for (const auto& c : notices.confirms)
            all += c.text + L"\n";
        return all;
    }

    RecordingPresenter notices;
};

std::wstring Text(const orvo::DispVariant& v) {
    std::wstring text;
    return v.ToText(text) ? text : L"<no text>";
}

constexpr const char* kScreen = R"(<lib Name="page"><Script Name="code">
Dim seen
Sub Take(x) : seen = TypeName(x) : End Sub
Sub TakeVal(ByVal x) : seen = TypeName(x) : End Sub
Sub OnClick(o)
  Take Label
  Label.DataValue = "saw " &amp; seen &amp; " from " &amp; o.Name
End Sub
Function ByRefArgument() : Take Label : ByRefArgument = seen : End Function
Function ByValArgument() : TakeVal Label : ByValArgument = seen : End Function
Function SetRight() : Set o = Label : SetRight = TypeName(o) : End Function
Function WithBlock() : With Label : .DataValue = "w" : WithBlock = .DataValue : End With : End Function
Function MemberTarget() : Label.DataValue = "m" : MemberTarget = Label.DataValue : End Function
Function IsSides() : IsSides = (Label Is Label) &amp; "/" &amp; (Nothing Is Label) : End Function
</Script><Button Name="Btn"/><Button Name="Label"/></lib>)";

TEST_F(NamedObjectArgsTest, ProceduresReachScreenObjectsRegisteredAfterCompiling) {
    auto root = test::BuildTree(kScreen);
    ASSERT_TRUE(root);
    auto* script = dynamic_cast<XScript*>(test::Find(root.get(), L"code"));
    ASSERT_TRUE(script && script->IsStarted()) << AllConfirms();

    const struct {
        const wchar_t* function;
        const wchar_t* expected;
    } kCases[] = {
        {L"ByRefArgument", L"XDO"},
        {L"ByValArgument", L"XDO"},
        {L"SetRight", L"XDO"},
        {L"WithBlock", L"w"},
        {L"MemberTarget", L"m"},
        {L"IsSides", L"True/False"},
    };
    for (const auto& c : kCases) {
        orvo::DispVariant result;
        EXPECT_EQ(script->RunFunctionRet(c.function, nullptr, result), 1) << AllConfirms();
        EXPECT_EQ(Text(result), c.expected)
            << "calling " << std::string(c.function, c.function + std::wcslen(c.function));
    }

    // As an event action: the button's click hands the label to another procedure.
    XDO* btn = test::Find(root.get(), L"Btn");
    XDO* label = test::Find(root.get(), L"Label");
    EXPECT_EQ(btn->Action(L"Script.OnClick"), 1) << AllConfirms();
    EXPECT_EQ(label->GetDataValueVB(), L"saw XDO from Btn");
    EXPECT_TRUE(notices.confirms.empty()) << AllConfirms();
}

} // namespace
