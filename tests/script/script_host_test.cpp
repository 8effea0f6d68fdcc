#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "core/notice_man.h"
#include "core/object_tree.h"
#include "core/xdo.h"
#include "platform/base/nocase.h"
#include "script/script.h"
#include "support/recording_presenter.h"

namespace {

// An object whose style bits come from its "Style" attribute, to stand in for frames, window
// hosts and loaders.
class StyledNode : public XDO {
public:
    int SetElement(XElement* e) override {
        XDO::SetElement(e);
        std::wstring style;
        if (e && e->GetValue(L"Style", style))
            SetObjectStyle(static_cast<int>(std::wcstol(style.c_str(), nullptr, 0)));
        return 1;
    }
};

// A frame known only by its registry key.
class KeyedFrame : public XDO {
public:
    const wchar_t* GetIXOKey() const override { return L"Frame"; }
};

// Deletes the object its "Target" attribute names, as unloading a page does.
class Cutter : public XDO {
    ORVO_DISPATCH_MAP()

public:
    int Cut() {
        XDO* target = test::Find(GetTopParent(), m_target.c_str());
        if (!target)
            return 0;
        target->LinkCut(1, nullptr);
        return 1;
    }
    int SetElement(XElement* e) override {
        XDO::SetElement(e);
        if (e)
            e->GetValue(L"Target", m_target);
        return 1;
    }

private:
    std::wstring m_target;
};

ORVO_DISPATCH(Cutter, XDO, ORVO_METHOD(Cut))

class ScriptHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        IXO::Register(L"Styled", []() -> IXO* { return new StyledNode(); });
        IXO::Register(L"Frame", []() -> IXO* { return new KeyedFrame(); });
        IXO::Register(L"Cutter", []() -> IXO* { return new Cutter(); });
        XNoticeMan::Instance().SetPresenter(&notices);
    }
    void TearDown() override {
        XNoticeMan::Instance().SetPresenter(nullptr);
        IXO::Unregister(L"Frame");
        IXO::Unregister(L"Cutter");
        IXO::Unregister(L"Styled");
    }

    static XScript* ScriptIn(XDO* root) {
        return dynamic_cast<XScript*>(test::Find(root, L"code"));
    }

    static bool Exposes(const XScript* script, const std::wstring& name) {
        for (const std::wstring& n : script->GetExposedNames()) {
            if (plat::EqualsNoCase(n, name))
                return true;
        }
        return false;
    }

    // The result of a function that must succeed.
    static orvo::DispVariant
    Ret(XScript* script, const wchar_t* function, IXO* argument = nullptr) {
        orvo::DispVariant result;
        EXPECT_EQ(script->RunFunctionRet(function, argument, result), 1) << "calling " << function;
        return result;
    }
    static std::wstring Text(const orvo::DispVariant& v) {
        std::wstring text;
        return v.ToText(text) ? text : L"<no text>";
    }
    static bool Truth(const orvo::DispVariant& v) {
        bool truth = false;
        return v.ToBool(truth) && truth;
    }

    std::wstring AllConfirms() const {
        std::wstring all;
        for (const auto& c : notices.confirms)
            all += c.text + L"\n";
        return all;
    }

    RecordingPresenter notices;
};

constexpr const char* kIdentityChecks = R"(
Function IsScreen(o) : IsScreen = o Is Screen : End Function
Function IsProxy(o) : IsProxy = o Is ProxyScreen : End Function
Function IsLib(o) : IsLib = o Is Lib : End Function
Function IsLoader(o) : IsLoader = o Is Loader : End Function
Function IsOpener(o) : IsOpener = o Is Opener : End Function
Function IsParser(o) : IsParser = o Is Parser : End Function
Function OpenerKind() : OpenerKind = TypeName(Opener) : End Function
Function NoticeKind() : NoticeKind = TypeName(NoticeMan) : End Function
Function ParserKind() : ParserKind = TypeName(Parser) : End Function
Function BtnKind() : BtnKind = TypeName(Btn) : End Function
)";

std::string Screen(const std::string& inside) {
    return R"(<Styled Name="frame" Style="0x280"><Styled Name="ldr" Style="0x10000"><lib Name="page">)" +
           inside + "</lib></Styled></Styled>";
}

TEST_F(ScriptHostTest, ExposesTheScreenItsLibraryLoaderNamedObjectsAndServices) {
    auto root =
        test::BuildTree(Screen(std::string("<Script Name=\"code\">") + kIdentityChecks +
                               R"(</Script><Button Name="Btn"/><Button Name="NoticeMan"/>)"));
    ASSERT_TRUE(root);
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script);
    ASSERT_TRUE(script->IsStarted()) << AllConfirms();
    EXPECT_TRUE(notices.confirms.empty()) << AllConfirms();

    XDO* page = test::Find(root.get(), L"page");
    XDO* loader = test::Find(root.get(), L"ldr");
    EXPECT_TRUE(Truth(Ret(script, L"IsScreen", root.get())));
    EXPECT_TRUE(Truth(Ret(script, L"IsProxy", root.get()))) << "the frame hosts windows";
    EXPECT_FALSE(Truth(Ret(script, L"IsScreen", page)));
    EXPECT_TRUE(Truth(Ret(script, L"IsLib", page)));
    EXPECT_TRUE(Truth(Ret(script, L"IsLoader", loader)));
    EXPECT_EQ(Text(Ret(script, L"BtnKind")), L"XDO");

    // Services under their registry names, except where an object of the screen took one.
    EXPECT_TRUE(Exposes(script, L"Parser"));
    EXPECT_EQ(Text(Ret(script, L"ParserKind")), L"Parser");
    EXPECT_EQ(Text(Ret(script, L"NoticeKind")), L"XDO") << "the screen's own NoticeMan wins";

    EXPECT_FALSE(Exposes(script, L"Opener"));
    EXPECT_EQ(Text(Ret(script, L"OpenerKind")), L"Empty");
}

TEST_F(ScriptHostTest, FallsBackToAFrameObjectAndExposesTheOpener) {
    auto root =
        test::BuildTree(std::string(R"(<Frame Name="f"><lib Name="page"><Script Name="code">)") +
                            kIdentityChecks + "</Script></lib></Frame>",
                        false);
    ASSERT_TRUE(root);
    orvo::XDOPtr openerOwner(new XDO());
    XDO& opener = *openerOwner;
    auto* params = new XElement(L"param");
    params->SetValue(L"__Opener", XdoToPtr(&opener));
    root->SetParamElement(params);
    for (XDO* n : {root.get(), test::Find(root.get(), L"page"), test::Find(root.get(), L"code")})
        n->CreateInstance();

    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script && script->IsStarted()) << AllConfirms();
    EXPECT_TRUE(Truth(Ret(script, L"IsScreen", root.get())));
    EXPECT_FALSE(Exposes(script, L"ProxyScreen")) << "a frame without window host style";
    EXPECT_FALSE(Exposes(script, L"Loader"));
    EXPECT_TRUE(Truth(Ret(script, L"IsOpener", &opener)));
}

TEST_F(ScriptHostTest, RegisteringAndRemovingNames) {
    auto root = test::BuildTree(Screen(std::string("<Script Name=\"code\">") + kIdentityChecks +
                                       R"(</Script><Button Name="Btn"/><Button Name="Other"/>)"));
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script && script->IsStarted()) << AllConfirms();
    XDO* other = test::Find(root.get(), L"Other");

    // A later registration replaces a service's exposure.
    EXPECT_EQ(script->RegObject(L"parser", other), 1);
    EXPECT_TRUE(Truth(Ret(script, L"IsParser", other)));
    EXPECT_EQ(Text(Ret(script, L"ParserKind")), L"XDO");
    int parserNames = 0;
    for (const std::wstring& n : script->GetExposedNames())
        parserNames += n == L"Parser" || n == L"parser";
    EXPECT_EQ(parserNames, 1);

    // An object going away takes its name with it.
    test::Find(root.get(), L"Btn")->LinkCut(1, nullptr);
    EXPECT_FALSE(Exposes(script, L"Btn"));
    EXPECT_EQ(Text(Ret(script, L"BtnKind")), L"Empty");

    EXPECT_EQ(script->RegObject(L"", other), 0);
    EXPECT_EQ(script->RegObject(nullptr, other), 0);
    EXPECT_EQ(script->UnregObject(nullptr), 0);
}

TEST_F(ScriptHostTest, ScriptActionsCallScriptFunctions) {
    auto root = test::BuildTree(Screen(R"(<Script Name="code">
Dim clicks, sawCaller
clicks = 0
Sub OnClick(o)
  clicks = clicks + 1
  sawCaller = o Is Btn
End Sub
Sub OnPlain() : clicks = clicks + 10 : End Sub
Sub TwoArgs(a, b)
End Sub
Function Count() : Count = clicks : End Function
Function CallerSeen() : CallerSeen = sawCaller : End Function
</Script><Button Name="Btn"/>)"));
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script && script->IsStarted()) << AllConfirms();
    XDO* btn = test::Find(root.get(), L"Btn");

    EXPECT_EQ(btn->Action(L"Script.OnClick"), 1);
    EXPECT_EQ(Text(Ret(script, L"Count")), L"1");
    EXPECT_TRUE(Truth(Ret(script, L"CallerSeen")));
    EXPECT_EQ(btn->Action(L"Script.onplain"), 1) << "a Sub without parameter, any case";
    EXPECT_EQ(Text(Ret(script, L"Count")), L"11");
    EXPECT_TRUE(notices.confirms.empty()) << AllConfirms();

    EXPECT_EQ(btn->Action(L"Script.Missing"), 0);
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_EQ(notices.confirms[0].text, L"Script.Missing not found in <Script>.");

    // A function that wants more than the caller gets a message, not a crash.
    EXPECT_EQ(btn->Action(L"Script.TwoArgs"), 0);
    ASSERT_EQ(notices.confirms.size(), 2u);
    EXPECT_NE(notices.confirms[1].text.find(L"in TwoArgs"), std::wstring::npos)
        << notices.confirms[1].text;
}

TEST_F(ScriptHostTest, ScriptsReachObjectsThroughDispatch) {
    auto root = test::BuildTree(Screen(R"(<Script Name="code">
Dim kept
Sub OnClick(o)
  o.DataValue = "clicked"
  Label.DataValue = "by " &amp; o.Name
  NoticeMan.Notice "pressed " &amp; o.Name
End Sub
Sub Keep(o) : Set kept = o : End Sub
Function Touch()
  On Error Resume Next
  kept.DataValue = "touched"
  Touch = Err.Number
End Function
Function TheLabel() : Set TheLabel = Label : End Function
</Script><Button Name="Btn"/><Button Name="Label"/>)"));
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script && script->IsStarted()) << AllConfirms();
    XDO* btn = test::Find(root.get(), L"Btn");
    XDO* label = test::Find(root.get(), L"Label");

    EXPECT_EQ(btn->Action(L"Script.OnClick"), 1) << AllConfirms();
    EXPECT_EQ(btn->GetDataValueVB(), L"clicked");
    EXPECT_EQ(label->GetDataValueVB(), L"by Btn");
    ASSERT_EQ(notices.shown.size(), 1u);
    EXPECT_EQ(notices.shown[0].text, L"pressed Btn");

    EXPECT_EQ(Ret(script, L"TheLabel").AsObject(), label);

    // A script may keep an object; once it is gone the script gets an error, not the memory.
    EXPECT_EQ(script->RunFunction(L"Keep", label), 1);
    EXPECT_EQ(Text(Ret(script, L"Touch")), L"0");
    EXPECT_EQ(label->GetDataValueVB(), L"touched");
    label->LinkCut(1, nullptr);
    EXPECT_EQ(Text(Ret(script, L"Touch")), L"424");
    EXPECT_TRUE(notices.confirms.empty()) << AllConfirms();
}

TEST_F(ScriptHostTest, FunctionResultsAndRunTimeErrors) {
    auto root = test::BuildTree(Screen(R"(<Script Name="code">
Function Answer(o) : Answer = 6 * 7 : End Function
Function Greeting() : Greeting = "hello " &amp; "there" : End Function
Function Fail(o) : Fail = 1 / 0 : End Function
Function Ask() : Ask = MsgBox("Sure?", 4, "Question") : End Function
</Script>)"));
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script && script->IsStarted()) << AllConfirms();

    orvo::DispVariant answer = Ret(script, L"Answer");
    ASSERT_TRUE(answer.AsInt32());
    EXPECT_EQ(*answer.AsInt32(), 42);
    EXPECT_EQ(Text(Ret(script, L"Greeting")), L"hello there");

    orvo::DispVariant kept(std::int32_t{5});
    EXPECT_EQ(script->RunFunctionRet(L"Fail", nullptr, kept), 0);
    EXPECT_EQ(*kept.AsInt32(), 5) << "a failed call leaves the result alone";
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_NE(notices.confirms[0].text.find(L"in Fail"), std::wstring::npos);
    EXPECT_NE(notices.confirms[0].text.find(L"Script error in line"), std::wstring::npos)
        << "a run-time error names its line";
    EXPECT_NE(notices.confirms[0].text.find(L"Division by zero"), std::wstring::npos);
    EXPECT_EQ(script->RunFunction(L"NoSuchFunction", nullptr), 0);
    EXPECT_EQ(script->RunFunction(nullptr, nullptr), 0);
    EXPECT_EQ(script->HaveFunction(nullptr), 0);
    EXPECT_EQ(notices.confirms.size(), 1u) << "errors are shown once";

    // MsgBox is a confirmation: the presenter's answer comes back to the script.
    notices.confirmAnswer = 6;
    EXPECT_EQ(Text(Ret(script, L"Ask")), L"6");
    ASSERT_EQ(notices.confirms.size(), 2u);
    EXPECT_EQ(notices.confirms[1].text, L"Sure?");
    EXPECT_EQ(notices.confirms[1].type, 4u);
}

TEST_F(ScriptHostTest, BrokenCodeLeavesAnObjectWithoutFunctions) {
    auto root = test::BuildTree(Screen(R"(<Script Name="code">
Sub Broken()
  x = = 1
End Sub
</Script><Button Name="Btn"/>)"));
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script) << "the object stays in the tree";
    EXPECT_FALSE(script->IsStarted());
    EXPECT_EQ(script->HaveFunction(L"Broken"), 0);
    ASSERT_EQ(notices.confirms.size(), 1u);
    const std::wstring& shown = notices.confirms[0].text;
    EXPECT_NE(shown.find(L"Script error in line 3, position"), std::wstring::npos) << shown;
    EXPECT_NE(shown.find(L"x = = 1"), std::wstring::npos) << shown;
    EXPECT_NE(shown.find(L"Error parsing script text"), std::wstring::npos) << shown;

    EXPECT_EQ(test::Find(root.get(), L"Btn")->Action(L"Script.Broken"), 0);
    EXPECT_EQ(notices.confirms.back().text, L"Script.Broken not found in <Script>.");
}

TEST_F(ScriptHostTest, FailingGlobalCodeKeepsTheScriptStopped) {
    auto root = test::BuildTree(Screen(R"(<Script Name="code">
Sub Later()
End Sub
Dim a
a = 1 / 0
</Script>)"));
    XScript* script = ScriptIn(root.get());
    ASSERT_TRUE(script);
    EXPECT_EQ(script->HaveFunction(L"Later"), 0);
    ASSERT_EQ(notices.confirms.size(), 1u);
    const std::wstring& shown = notices.confirms[0].text;
    EXPECT_NE(shown.find(L"Script error in line 5"), std::wstring::npos) << shown;
    EXPECT_NE(shown.find(L"Error running the script"), std::wstring::npos) << shown;
}

TEST_F(ScriptHostTest, AScriptMayUnloadThePageItRunsOn) {
    const char* const page = R"(<Styled Name="top"><Cutter Name="Cutter" Target="page"/>
<lib Name="page"><Script Name="code">
Function Leave()
  Cutter.Cut
  n = 0
  For i = 1 To 3 : n = n + i : Next
  Leave = n
End Function
Sub LeaveBadly()
  Cutter.Cut
  x = 1 / 0
End Sub
</Script><Button Name="Btn"/></lib></Styled>)";
    const auto build = [&] {
        auto root = test::BuildTree(page);
        if (root)
            ScriptIn(root.get())->RegObject(L"Cutter", test::Find(root.get(), L"Cutter"));
        return root;
    };
    // The function finishes after its page is gone, and the result still arrives.
    auto root = build();
    ASSERT_TRUE(root);
    orvo::DispVariant result;
    EXPECT_EQ(ScriptIn(root.get())->RunFunctionRet(L"Leave", nullptr, result), 1);
    EXPECT_EQ(Text(result), L"6");
    EXPECT_EQ(test::Find(root.get(), L"page"), nullptr);
    EXPECT_TRUE(notices.confirms.empty()) << AllConfirms();

    // An error after the page went is still shown, with its source line; an event action
    // whose script unloads its own page returns safely.
    root = build();
    EXPECT_EQ(ScriptIn(root.get())->RunFunction(L"LeaveBadly", nullptr), 0);
    ASSERT_EQ(notices.confirms.size(), 1u);
    EXPECT_NE(notices.confirms[0].text.find(L"x = 1 / 0"), std::wstring::npos) << AllConfirms();
    root = build();
    EXPECT_EQ(test::Find(root.get(), L"Btn")->Action(L"Script.Leave"), 1);
    EXPECT_EQ(test::Find(root.get(), L"page"), nullptr);
}

// The objects of a screen register with its script after the script's code was compiled; a
// procedure must reach them however it first names them, an argument included.
constexpr const char* kLateNamesScreen = R"(<lib Name="page"><Script Name="code">
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

TEST_F(ScriptHostTest, ProceduresReachScreenObjectsRegisteredAfterCompiling) {
    auto root = test::BuildTree(kLateNamesScreen);
    ASSERT_TRUE(root);
    XScript* script = ScriptIn(root.get());
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
    for (const auto& c : kCases)
        EXPECT_EQ(Text(Ret(script, c.function)), c.expected) << AllConfirms();

    // As an event action: the button's click hands the label to another procedure.
    XDO* btn = test::Find(root.get(), L"Btn");
    XDO* label = test::Find(root.get(), L"Label");
    EXPECT_EQ(btn->Action(L"Script.OnClick"), 1) << AllConfirms();
    EXPECT_EQ(label->GetDataValueVB(), L"saw XDO from Btn");
    EXPECT_TRUE(notices.confirms.empty()) << AllConfirms();
}

} // namespace
