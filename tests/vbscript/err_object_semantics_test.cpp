// The Err object: HRESULTs raised or caught become the language's numbers, Source names who
// raised, HelpFile and HelpContext travel with Raise and go with Clear, and Err is an object
// of its own (ErrObject) whose default property is Number.
#include <memory>

#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

const std::wstring kHelpers = LR"(
Function Show(e) : Show = TypeName(e) & ":" & e.Number : End Function
Sub RaiseVia(e, n) : e.Raise n : End Sub
Function Raised(n)
    On Error Resume Next
    Err.Raise n
    Raised = Err.Number & " " & Err.Description
End Function
)";

TEST(ErrObjectSemantics, HresultsBecomeTheLanguagesNumbers) {
    const Case cases[] = {
        {L"f = Raised(&h8007000E)", L"7 Out of memory"},
        {L"f = Raised(&h80070057)", L"5 Invalid procedure call or argument"},
        {L"f = Raised(&h80020005)", L"13 Type mismatch"},
        {L"f = Raised(&h8002000A)", L"6 Overflow"},
        {L"f = Raised(&h8002000B)", L"9 Subscript out of range"},
        {L"f = Raised(&h80020012)", L"11 Division by zero"},
        {L"f = Raised(&h80020006)", L"438 Object doesn't support this property or method"},
        {L"f = Raised(&h8002000E)",
         L"450 Wrong number of arguments or invalid property assignment"},
        {L"f = Raised(&h80004002)", L"430 Class doesn't support Automation"},
        {L"f = Raised(&h800A0035)", L"53 File not found"},
        {L"f = Raised(&h800A01A8)", L"424 Object required"},
        {L"f = Raised(&h800A0000 Or 76)", L"76 Path not found"},
        // Numbers of no known facility pass through as they are.
        {L"f = Raised(&h80004005)", L"-2147467259 Unknown runtime error"},
        {L"f = Raised(vbObjectError + 513)", L"-2147220991 Unknown runtime error"},
        {L"f = Raised(1000)", L"1000 Unknown runtime error"},
        // Uncaught, the host sees the mapped number too.
        {L"Err.Raise &h8002000B", L"error 9"},
        {L"Err.Raise &h800A0046", L"error 70"},
    };
    ExpectAll(cases, kHelpers);
}

TEST(ErrObjectSemantics, SourceNamesWhoRaised) {
    const Case cases[] = {
        {L"On Error Resume Next : x = 1 / 0 : f = Err.Source", L"Microsoft VBScript runtime error"},
        {L"On Error Resume Next : Err.Raise 1000 : f = Err.Source",
         L"Microsoft VBScript runtime error"},
        {L"On Error Resume Next : Err.Raise 1000, \"Orders.Ticket\" : f = Err.Source",
         L"Orders.Ticket"},
        {L"On Error Resume Next : x = Eval(\"1 +\") : f = Err.Number & \" \" & Err.Source",
         L"1002 Microsoft VBScript compilation error"},
        {L"On Error Resume Next : Execute \"If\" : f = Err.Source",
         L"Microsoft VBScript compilation error"},
        // An engine error after a Raise names the engine again.
        {L"On Error Resume Next : Err.Raise 9, \"mine\" : x = CLng(\"a\") : f = Err.Source",
         L"Microsoft VBScript runtime error"},
        {L"On Error Resume Next : Err.Raise 0 : f = Err.Number & \" \" & Err.Source",
         L"5 Microsoft VBScript runtime error"},
        {L"Err.Raise 0", L"error 5"},
        {L"On Error Resume Next : Err.Raise 1000, \"a\" : Err.Clear : f = \"[\" & Err.Source & "
         L"\"]\"",
         L"[]"},
    };
    ExpectAll(cases, kHelpers);
}

TEST(ErrObjectSemantics, RaiseKeepsWhatIsNotClearedAndHelpTravelsWithIt) {
    const Case cases[] = {
        {L"On Error Resume Next : Err.Raise 1001, \"src\", \"desc\", \"orders.chm\", 42\n"
         L"f = Err.HelpFile & \"|\" & Err.HelpContext",
         L"orders.chm|42"},
        {L"On Error Resume Next : Err.Raise 1001, , , \"orders.chm\", 42 : Err.Clear\n"
         L"f = \"[\" & Err.HelpFile & \"]\" & Err.HelpContext",
         L"[]0"},
        {L"Err.HelpFile = \"a.chm\" : Err.HelpContext = \"17\"\n"
         L"f = Err.HelpFile & TypeName(Err.HelpContext) & Err.HelpContext",
         L"a.chmLong17"},
        {L"On Error Resume Next : Err.Raise 1001, , , \"a.chm\", 3 : x = 1 / 0\n"
         L"f = \"[\" & Err.HelpFile & \"]\" & Err.HelpContext",
         L"[]0"},
        // Parts Raise leaves out keep an error's values that were not cleared.
        {L"On Error Resume Next : Err.Raise 1000, \"a\", \"mine\" : Err.Raise 1001\n"
         L"f = Err.Number & Err.Source & Err.Description",
         L"1001amine"},
        {L"On Error Resume Next : x = 1 / 0 : Err.Raise 1000 : f = Err.Description",
         L"Division by zero"},
        {L"On Error Resume Next : x = 1 / 0 : Err.Clear : Err.Raise 6 : f = Err.Description",
         L"Overflow"},
        {L"Err.Number = 9 : Err.Description = \"set\" : f = Err.Number & Err.Description", L"9set"},
        {L"Err.Raise", L"error 450"},
        {L"Err.Raise 1, 2, 3, 4, 5, 6", L"error 450"},
        {L"f = Err.Number(1)", L"error 450"},
        {L"f = Err.Line", L"error 438"},
        {L"Err.Clear 1", L"error 450"},
    };
    ExpectAll(cases, kHelpers);
}

TEST(ErrObjectSemantics, ErrIsAnObjectWhoseDefaultIsNumber) {
    const Case cases[] = {
        {L"f = TypeName(Err)", L"ErrObject"},
        {L"On Error Resume Next : Err.Raise 6 : f = Show(Err)", L"ErrObject:6"},
        {L"Set e = Err : f = TypeName(e) & (e Is Err)", L"ErrObjectTrue"},
        {L"On Error Resume Next : Err.Raise 6 : x = Err : f = TypeName(x) & x", L"Long6"},
        {L"On Error Resume Next : Err.Raise 6 : f = Err + 1", L"7"},
        {L"On Error Resume Next : Err.Raise 6 : If Err Then f = \"failed\"", L"failed"},
        {L"f = \"[\" & Err & \"]\"", L"[0]"},
        // A kept Err sees later errors, and raising or clearing through it is Err's own.
        {L"Set e = Err : On Error Resume Next : x = 1 / 0 : f = e.Number", L"11"},
        {L"On Error Resume Next : Set e = Err : RaiseVia e, 9 : f = Err.Number", L"9"},
        {L"On Error Resume Next : x = 1 / 0 : Set e = Err : e.Clear : f = Err.Number", L"0"},
        {L"Set e = Err : RaiseVia e, 11", L"error 11"},
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : d.Add \"e\", Err\n"
         L"On Error Resume Next : Err.Raise 5 : f = d(\"e\").Number",
         L"5"},
    };
    ExpectAll(cases, kHelpers);
}

// An Err object the host keeps after its engine is gone still answers.
TEST(ErrObjectSemantics, KeptErrOutlivesItsEngine) {
    vbs::Value kept;
    {
        auto engine = std::make_unique<vbs::Engine>();
        ASSERT_TRUE(engine->AddCode(L"Function f()\n On Error Resume Next\n Err.Raise 1000, "
                                    L"\"kept\"\n Set f = Err\nEnd Function\n",
                                    nullptr));
        ASSERT_TRUE(engine->Call(L"f", {}, &kept, nullptr));
    }
    ASSERT_EQ(kept.Type(), vbs::VarType::Object);
    EXPECT_EQ(vbs::ToLong(kept.AsObject()->Invoke(L"number", vbs::Access::Get, {})), 1000);
    EXPECT_EQ(vbs::ToString(kept.AsObject()->Invoke(L"Source", vbs::Access::Get, {})), L"kept");
    kept.AsObject()->Invoke(L"clear", vbs::Access::Call, {});
    EXPECT_EQ(vbs::ToLong(kept.AsObject()->Invoke(L"", vbs::Access::Get, {})), 0);
}

} // namespace
