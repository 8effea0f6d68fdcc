// Script classes (properties, defaults, the order of Class_Initialize and Class_Terminate),
// date arithmetic, and the scopes Eval, Execute and ExecuteGlobal see.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

const std::wstring kClasses = LR"(
Dim log
Class Inner
  Private Sub Class_Initialize : log = log & "I+" : End Sub
  Private Sub Class_Terminate : log = log & "I-" : End Sub
End Class
Class Outer
  Public part
  Private Sub Class_Initialize : log = log & "O+" : Set part = New Inner : End Sub
  Private Sub Class_Terminate : log = log & "O-" : End Sub
End Class
Class Temp
  Private m_c
  Public list()
  Public Property Get Celsius : Celsius = m_c : End Property
  Public Property Let Celsius(v) : If v < -273 Then Err.Raise 5
    m_c = v : End Property
  Public Property Get Cell(i, j) : Cell = i * 10 + j : End Property
  Public Property Let Cell(i, j, v) : m_c = i + j + v : End Property
  Public Property Set Link(o) : Set m_c = o : End Property
  Public Property Get Link : Set Link = m_c : End Property
  Public Default Function Show : Show = "T" & m_c : End Function
  Private Function Hidden : Hidden = 1 : End Function
  Public Function CallsHidden : CallsHidden = Hidden() + 1 : End Function
End Class
)";

TEST(ClassSemantics, PropertiesDefaultsAndPrivacy) {
    const Case cases[] = {
        {L"Set t = New Temp : t.Celsius = 20 : f = t.Celsius & \"/\" & t", L"20/T20"},
        {L"Set t = New Temp : t.Celsius = -300", L"error 5"},
        {L"Set t = New Temp : f = t.Cell(2, 3)", L"23"},
        {L"Set t = New Temp : t.Cell(1, 2) = 3 : f = t.Celsius", L"6"},
        {L"Set t = New Temp : Set t.Link = New Inner : f = TypeName(t.Link)", L"Inner"},
        {L"Set t = New Temp : t.Link = 5", L"error 450"},
        {L"Set t = New Temp : f = t.Hidden", L"error 438"},
        {L"Set t = New Temp : f = t.CallsHidden()", L"2"},
        {L"Set t = New Temp : f = t.Missing", L"error 438"},
        {L"Set t = New Temp : t.Celsius = 5 : x = t : f = TypeName(x) & x", L"StringT5"},
        {L"Set t = New Temp : Set u = t : u.Celsius = 7 : f = t.Celsius & (t Is u)", L"7True"},
        {L"Set t = New Temp : f = (t Is Nothing) & TypeName(t) & IsObject(t)", L"FalseTempTrue"},
        {L"x = 5 : Set x = 5", L"error 424"},
        {L"Set t = Nothing : f = t.Celsius", L"error 424"},
        {L"Set t = New Missing", L"error 506"},
        {L"Set t = New Temp : f = TypeName(t.list) & IsArray(t.list)", L"Variant()True"},
    };
    ExpectAll(cases, kClasses);
}

TEST(ClassSemantics, InitializeAndTerminateOrder) {
    const Case cases[] = {
        {L"Set o = New Outer : f = log", L"O+I+"},
        {L"Set o = New Outer : Set o = Nothing : f = log", L"O+I+O-I-"},
        {L"Set o = New Outer : Set p = o : Set o = Nothing : r = log : Set p = Nothing : "
         L"f = r & \"|\" & log",
         L"O+I+|O+I+O-I-"},
        {L"Set a = New Inner : Set a = New Inner : f = log", L"I+I+I-"},
        {L"Set o = New Outer : Set o.part = Nothing : f = log", L"O+I+I-"},
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : d.Add \"k\", New Inner : "
         L"d.RemoveAll : f = log",
         L"I+I-"},
    };
    ExpectAll(cases, kClasses);
    // A local instance goes when its procedure returns.
    ExpectAll({Case{L"Scope : f = log", L"I+I-"}},
              kClasses + L"Sub Scope : Set local = New Inner : End Sub\n");
}

TEST(DateSemantics, Arithmetic) {
    const Case cases[] = {
        {L"f = #1/2/2003# + 1", L"1/3/2003"},
        {L"f = TypeName(#1/2/2003# + 1) & TypeName(#1/2/2003# - #1/1/2003#)", L"DateDouble"},
        {L"f = #3/1/2003# - #2/1/2003#", L"28"},
        {L"f = DateAdd(\"d\", 1, #1/31/2003#)", L"2/1/2003"},
        {L"f = DateAdd(\"m\", 1, #1/31/2003#)", L"2/28/2003"},
        {L"f = DateAdd(\"m\", 1, #1/31/2004#)", L"2/29/2004"},
        {L"f = DateAdd(\"yyyy\", -1, #2/29/2004#)", L"2/28/2003"},
        {L"f = DateDiff(\"d\", #1/1/2003#, #3/1/2003#) & \" \" & DateDiff(\"m\", #1/31/2003#, "
         L"#2/1/2003#)",
         L"59 1"},
        {L"f = DateSerial(2003, 13, 1) & \" \" & DateSerial(2003, 1, 0)", L"1/1/2004 12/31/2002"},
        {L"f = Year(#1/2/2003#) & Month(#1/2/2003#) & Day(#1/2/2003#) & Weekday(#1/1/2003#)",
         L"2003124"},
        {L"f = #1/1/2003 1:30:00 PM# + 0.5", L"1/2/2003 1:30:00 AM"},
        {L"f = Hour(#1:30:15 PM#) & Minute(#1:30:15 PM#) & Second(#1:30:15 PM#)", L"133015"},
        {L"f = IsDate(\"1/2/2003\") & IsDate(\"abc\") & IsDate(#1/1/2003#)", L"TrueFalseTrue"},
        {L"f = CDate(\"1/2/2003\") + 1", L"1/3/2003"},
        {L"f = CDate(\"abc\")", L"error 13"},
        {L"f = DateAdd(\"x\", 1, #1/1/2003#)", L"error 5"},
    };
    ExpectAll(cases);
}

const std::wstring kScopes = LR"(
Dim g
g = "global"
Class Holder
  Private secret
  Public Function Peek : secret = 42 : Peek = Eval("secret + 1") : End Function
End Class
)";

TEST(EvalSemantics, Scopes) {
    const Case cases[] = {
        {L"Dim x : x = 2 : f = Eval(\"x * 3\")", L"6"},
        {L"Dim x : x = 2 : Execute \"x = x + 5\" : f = x", L"7"},
        {L"Execute \"newName = 1\" : f = Eval(\"newName\") & TypeName(g)", L"1String"},
        {L"ExecuteGlobal \"Function Made() : Made = g & \"\"!\"\" : End Function\" : f = Made()",
         L"global!"},
        {L"Dim x : x = 1 : ExecuteGlobal \"x = 9\" : f = x & Eval(\"x\")", L"11"},
        {L"f = Eval(\"g\") & Eval(\"1 + 1 = 2\")", L"globalTrue"},
        {L"Set h = New Holder : f = h.Peek()", L"43"},
        {L"f = Eval(\"NoSuchFunction(1)\")", L"error 13"},
    };
    ExpectAll(cases, kScopes);
}

TEST(EvalSemantics, TextThatIsNoCode) {
    const Case cases[] = {
        {L"f = Eval(\"1 +\")", L"error 1002"},
        {L"Execute \"x = \"", L"error 1002"},
        {L"ExecuteGlobal \"If x Then\"", L"error 1002"},
        {L"Execute \"Exit Do\"", L"error 1002"},
        {L"On Error Resume Next\nExecute \"x = (\" : f = Err.Number & \" \" & Err.Description",
         L"1002 Syntax error"},
        {L"Execute 42", L"error 13"},
        {L"ExecuteGlobal 1", L"error 13"},
        {L"Execute \"f = 42\"", L"42"},
    };
    ExpectAll(cases, kScopes);
}

const std::wstring kExecuted = LR"vbs(
Dim trace
Sub MakeLocal()
  Execute "made = 7 : Dim cells(2) : cells(1) = ""one"""
  trace = trace & Eval("made") & Eval("cells(1)")
  Execute "made = made + 1"
  trace = trace & Eval("made * 10")
End Sub
Function SeenOutside() : SeenOutside = IsEmpty(made) & IsEmpty(cells) : End Function
Execute "fromGlobal = 5"
Sub Nested() : Execute "made = ""outer"" : MakeLocal" : trace = trace & Eval("made") : End Sub
Function UsesLater() : UsesLater = later(2) & UBound(later) : End Function
Function Lookup() : Lookup = table(2) & TypeName(table) : End Function
Class Keeper
  Public field
  Function Run() : Execute "field = 3 : temp = 4" : Run = field & Eval("temp") : End Function
End Class
)vbs";

// Names Execute declares inside a procedure are locals of that call: later Execute and Eval
// code of the same call sees them, nothing outside does, and the next call starts afresh.
TEST(EvalSemantics, ExecuteInAProcedureDeclaresLocals) {
    const Case cases[] = {
        {L"MakeLocal : f = trace", L"7one80"},
        {L"MakeLocal : MakeLocal : f = trace", L"7one807one80"},
        {L"MakeLocal : f = SeenOutside() & Eval(\"IsEmpty(made)\")", L"TrueTrueTrue"},
        {L"Nested : f = trace", L"7one80outer"},
        {L"Set k = New Keeper : f = k.Run() & k.field & Eval(\"IsEmpty(temp)\")", L"343True"},
        // In global code the names are globals, as ExecuteGlobal's are.
        {L"f = fromGlobal & SeenOutside()", L"5TrueTrue"},
        {L"Execute \"Const k = 2\" : f = k", L"2"},
        {L"MakeLocal : Execute \"made = \" : f = 1", L"error 1002"},
    };
    ExpectAll(cases, kExecuted);
}

// An array ExecuteGlobal declares is indexed like any other, also where the name was
// compiled as a call because nothing had declared it yet.
TEST(EvalSemantics, ExecuteGlobalArraysAreIndexable) {
    const Case cases[] = {
        {L"ExecuteGlobal \"Dim a(3)\" : a(1) = 5 : f = a(1) & UBound(a)", L"53"},
        {L"ExecuteGlobal \"Dim later(4) : later(2) = \"\"two\"\"\" : f = UsesLater()", L"two4"},
        {L"ExecuteGlobal \"Dim later(4)\" : x = 2 : later(x) = 9 : f = later(x)", L"9"},
        {L"ExecuteGlobal \"Dim table : Set table = CreateObject(\"\"Scripting.Dictionary\"\")\"\n"
         L"table.Add 2, \"via default \" : f = Lookup()",
         L"via default Dictionary"},
        {L"ExecuteGlobal \"Dim later : later = 5\" : f = UsesLater()", L"error 13"},
        {L"f = UsesLater()", L"error 13"},
        {L"ExecuteGlobal \"Dim later(4)\" : f = later(7)", L"error 9"},
    };
    ExpectAll(cases, kExecuted);
}

} // namespace
