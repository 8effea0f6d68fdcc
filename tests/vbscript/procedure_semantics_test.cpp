// Procedures, arrays, loops, Select Case and errors as the language defines them: ByRef and
// ByVal (parentheses included), ReDim Preserve, Erase, Exit in nested loops, On Error
// Resume Next across procedures and the Err object's state.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

const std::wstring kProcedures = LR"(
Sub Inc(n) : n = n + 1 : End Sub
Sub IncVal(ByVal n) : n = n + 1 : End Sub
Function Twice(n) : n = n * 2 : Twice = n : End Function
Sub SetNothing(o) : Set o = Nothing : End Sub
Sub SetNothingVal(ByVal o) : Set o = Nothing : End Sub
Sub Fail() : x = 1 / 0 : log = log & "not reached" : End Sub
Sub Guarded() : On Error Resume Next : x = 1 / 0 : log = log & "g" & Err.Number : End Sub
Function Boom() : Boom = 1 / 0 : End Function
Dim log
)";

TEST(ProcedureSemantics, ByRefByValAndParentheses) {
    const Case cases[] = {
        {L"n = 1 : Inc n : f = n", L"2"},
        {L"n = 1 : Inc (n) : f = n", L"1"},
        {L"n = 1 : Call Inc(n) : f = n", L"2"},
        {L"n = 1 : Call Inc((n)) : f = n", L"1"},
        {L"n = 1 : IncVal n : f = n", L"1"},
        {L"n = 1 : Inc n + 0 : f = n", L"1"},
        {L"n = 3 : r = Twice(n) : f = n & \"/\" & r", L"6/6"},
        {L"n = 3 : r = Twice((n)) : f = n & \"/\" & r", L"3/6"},
        {L"Dim a(1) : a(1) = 5 : Inc a(1) : f = a(1)", L"6"},
        {L"Dim a(1) : a(1) = 5 : Inc (a(1)) : f = a(1)", L"5"},
        {L"Inc 5 : f = \"literal\"", L"literal"},
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : SetNothingVal d : f = TypeName(d)",
         L"Dictionary"},
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : SetNothing d : f = TypeName(d)",
         L"Nothing"},
        {L"Inc", L"error 450"},
        {L"Inc 1, 2", L"error 450"},
        {L"f = Twice()", L"error 450"},
    };
    ExpectAll(cases, kProcedures);
}

// A call whose arguments are all values runs a ByRef parameter from its own slot: it must
// still reach a procedure it is passed on to, Eval and Execute inside the callee, a global
// declared later under the same name, and each level of a recursion apart.
const std::wstring kValueArguments = LR"(
Sub Inc(n) : n = n + 1 : End Sub
Function Bump(n) : Inc n : Bump = n : End Function
Function Doubled(n) : Doubled = Eval("n * 2") : End Function
Function Stepped(n) : Execute "n = n + 1" : Stepped = n : End Function
Function Mirror(n)
  If n = 0 Then Mirror = "" Else Mirror = n & Mirror(n - 1) & n
End Function
Function Accumulate(n) : total = total + n : Accumulate = total : End Function
)";

TEST(ProcedureSemantics, ByRefParametersGivenValues) {
    const Case cases[] = {
        {L"f = Bump(1 + 1)", L"3"},
        {L"n = 1 : f = Bump((n)) & n", L"21"},
        {L"f = Doubled(2 + 1)", L"6"},
        {L"f = Stepped(4 * 1)", L"5"},
        {L"f = Mirror(3)", L"321123"},
        {L"f = Accumulate(1) & Accumulate(1)", L"11"},
        {L"ExecuteGlobal \"Dim total : total = 10\" : f = Accumulate(1 + 1) & \"/\" & total",
         L"12/12"},
    };
    ExpectAll(cases, kValueArguments);
}

// A condition whose left side is computed (an element, a call) before its right side, a
// variable or literal, is read: the right side as it is after the left side ran, objects by
// their default property, Null as False, and a signed literal compared as text.
const std::wstring kComputedConditions = LR"(
Class Box
  Public Default Property Get Value : Value = 2 : End Property
End Class
Function MakeBox() : Set MakeBox = New Box : End Function
Dim t
Function Grow() : t = t + 10 : Grow = 12 : End Function
)";

TEST(ProcedureSemantics, ConditionsComputingTheirLeftSide) {
    const Case cases[] = {
        {L"t = 5 : If Grow() < t Then f = \"after\" Else f = \"before\"", L"after"},
        {L"If MakeBox() < 3 Then f = \"default\" Else f = \"object\"", L"default"},
        {L"Set b = New Box : If 1 < b Then f = \"right\" Else f = \"no\"", L"right"},
        {L"x = Null : Dim a(0) : If a(0) < x Then f = 1 Else f = 2", L"2"},
        {L"n = \"-1\" : If -7 < n Then f = \"numbers\" Else f = \"text\"", L"text"},
        {L"a = Array(1, 2, 0) : i = 0 : Do While a(i) > 0 : i = i + 1 : Loop : f = i", L"2"},
        {L"a = Array(3, 0) : Do : i = i + 1 : Loop Until a(i) = 0 : f = i", L"1"},
        {L"a = Array(\"x\") : If a(0) < 1 Then f = 1 Else f = 2", L"2"},
        {L"If UBound(Array(1, 2)) >= 1 Then f = \"call\"", L"call"},
        {L"a = Array(1) : If a(1) < 2 Then f = 1", L"error 9"},
    };
    ExpectAll(cases, kComputedConditions);
}

TEST(ProcedureSemantics, Arrays) {
    const Case cases[] = {
        {L"Dim a(3) : f = LBound(a) & UBound(a)", L"03"},
        {L"Dim m(2, 4) : f = UBound(m, 1) & UBound(m, 2) & LBound(m, 2)", L"240"},
        {L"Dim m(2, 4) : f = UBound(m, 3)", L"error 9"},
        {L"Dim m(2, 4) : f = UBound(m, 0)", L"error 9"},
        {L"x = 5 : f = UBound(x)", L"error 13"},
        {L"f = UBound(Array()) & \" \" & UBound(Array(1, 2))", L"-1 1"},
        {L"ReDim a(2) : a(2) = \"x\" : ReDim Preserve a(4) : f = UBound(a) & a(2)", L"4x"},
        {L"ReDim a(2) : a(2) = \"x\" : ReDim a(4) : f = UBound(a) & \"[\" & a(2) & \"]\"", L"4[]"},
        {L"ReDim a(3) : a(1) = 1 : ReDim Preserve a(1) : f = UBound(a) & a(1)", L"11"},
        {L"ReDim m(1, 2) : m(1, 2) = \"k\" : ReDim Preserve m(1, 5) : f = m(1, 2) & UBound(m, 2)",
         L"k5"},
        {L"ReDim m(1, 2) : ReDim Preserve m(2, 2)", L"error 9"},
        {L"Dim a(2) : ReDim a(3)", L"error 10"},
        {L"Dim a(2) : a(0) = 1 : Erase a : f = UBound(a) & IsEmpty(a(0))", L"2True"},
        {L"Dim a(2) : f = a(3)", L"error 9"},
        {L"Dim a(2) : f = a(-1)", L"error 9"},
        {L"Dim m(1, 1) : f = m(1)", L"error 9"},
        {L"a = Array(1, 2) : b = a : b(0) = 9 : f = a(0) & b(0)", L"19"},
        {L"a = Array(Array(1, 2), 3) : f = a(0)(1) & UBound(a(0))", L"21"},
        {L"Dim a(1) : f = IsArray(a) & IsArray(1) & TypeName(a) & VarType(a)",
         L"TrueFalseVariant()8204"},
        {L"ReDim a(-1) : f = UBound(a)", L"-1"},
        // Dim a() is a dynamic array with no dimensions yet; Erase takes them away again.
        {L"Dim a() : f = TypeName(a) & IsArray(a) & VarType(a)", L"Variant()True8204"},
        {L"Dim a() : f = UBound(a)", L"error 9"},
        {L"Dim a() : f = a(0)", L"error 9"},
        {L"Dim a() : f = a()", L"error 9"},
        {L"Dim a() : For Each x In a : n = n + 1 : Next : f = \"[\" & n & \"]\"", L"[]"},
        {L"Dim a() : ReDim Preserve a(1) : a(1) = \"p\" : f = UBound(a) & a(1)", L"1p"},
        {L"ReDim a(2) : Erase a : f = TypeName(a) & IsArray(a)", L"Variant()True"},
        {L"ReDim a(2) : Erase a : f = UBound(a)", L"error 9"},
        {L"ReDim a(2) : Erase a : ReDim a(1) : f = UBound(a)", L"1"},
    };
    ExpectAll(cases);
}

TEST(ProcedureSemantics, LoopsAndExits) {
    const Case cases[] = {
        {L"For i = 1 To 3 : For j = 1 To 3 : If j = 2 Then Exit For\n r = r & i & j : Next : Next\n"
         L"f = r & \"|\" & i",
         L"112131|4"},
        {L"Do : For i = 1 To 5 : If i = 3 Then Exit Do\n Next : r = \"no\" : Loop\n f = r & i",
         L"3"},
        {L"For i = 1 To 2 : Do While True : Exit Do : Loop : r = r & i : Next : f = r", L"12"},
        {L"For i = 3 To 1 : r = \"ran\" : Next : f = \"[\" & r & \"]\" & i", L"[]3"},
        {L"For i = 1 To 10 Step 4 : r = r & i : Next : f = r & \"|\" & i", L"159|13"},
        {L"For i = 1 To 2 Step 0.5 : r = r & i & \" \" : Next : f = r", L"1 1.5 2 "},
        {L"n = 0 : Do Until n >= 3 : n = n + 1 : Loop : f = n", L"3"},
        {L"n = 5 : Do : n = n + 1 : Loop While n < 3 : f = n", L"6"},
        {L"For Each x In Array() : r = \"ran\" : Next : f = \"[\" & r & \"]\"", L"[]"},
        {L"For Each x In 5 : Next", L"error 451"},
    };
    ExpectAll(cases);
}

TEST(ProcedureSemantics, LoopHeadersThatFailOrConvert) {
    const Case cases[] = {
        {L"On Error Resume Next\nFor x = 1 To 3 Step Boom() : n = n + 1 : Next\n"
         L"f = n & \" \" & Err.Number",
         L"1 92"},
        {L"On Error Resume Next\nFor k = 1 To 2 : For x = 1 To 3 Step Boom() : n = n + 1 : Next "
         L": Next\nf = n & \" \" & Err.Number",
         L"2 92"},
        {L"On Error Resume Next\nSelect Case Boom() : Case Empty : f = \"empty\" : Case Else : "
         L"f = \"else\" : End Select\nf = \"[\" & f & \"]\" & Err.Number",
         L"[]11"},
        {L"For i = \"1\" To \"2\" : n = n + 1 : Next : f = n & \" \" & i", L"2 3"},
        {L"For i = \"2\" To \"10\" : n = n + 1 : Next : f = n", L"9"},
        {L"For x = 1 To 3 Step Empty : n = n + 1 : If n = 5 Then Exit For\n Next : f = n", L"5"},
    };
    ExpectAll(cases, kProcedures);
}

TEST(ProcedureSemantics, ForEachOrderAndWhatItLeaves) {
    const Case cases[] = {
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : d.Add \"a\", 1 : d.Add \"b\", 2\n"
         L"For Each k In d : r = r & k : Next : f = r & TypeName(k)",
         L"abEmpty"},
        {L"For Each x In Array(1, 2) : Next : f = x", L"2"},
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : d.Add \"a\", 1\n"
         L"For Each k In d : Exit For : Next : f = k",
         L"a"},
        {L"Dim a(1, 2)\nFor i = 0 To 1 : For j = 0 To 2 : a(i, j) = i & j : Next : Next\n"
         L"For Each x In a : r = r & x & \" \" : Next : f = r",
         L"00 10 01 11 02 12 "},
        {L"Dim a(1, 1, 1)\nFor i = 0 To 1 : For j = 0 To 1 : For k = 0 To 1 : a(i, j, k) = i & j & "
         L"k"
         L"\nNext : Next : Next\nFor Each x In a : r = r & x & \" \" : Next : f = r",
         L"000 100 010 110 001 101 011 111 "},
    };
    ExpectAll(cases, kProcedures);
}

const std::wstring kConstants = LR"(
Function UsesLater() : UsesLater = Later : End Function
Dim early : early = Later & UsesLater()
Const Later = 7
)";

TEST(ProcedureSemantics, ConstantsAreHoistedAndReadOnly) {
    const Case cases[] = {
        {L"r = k * 2\nConst k = 21\nf = r", L"42"},
        {L"f = early & \"/\" & UsesLater() & Later", L"77/77"},
        {L"Const k = 1 : k = 2", L"error 501"},
        {L"On Error Resume Next\nConst k = 1 : k = 2 : f = k & \" \" & Err.Number", L"1 501"},
        {L"Later = 3", L"error 501"},
        {L"Dim Later : Later = 3 : f = Later", L"3"},
        {L"Const a = \"x\", b = -2 : f = a & b & TypeName(b)", L"x-2Integer"},
    };
    ExpectAll(cases, kConstants);
}

TEST(ProcedureSemantics, SelectCase) {
    const Case cases[] = {
        {L"Select Case 5 : Case 1 To 3 : f = \"low\" : Case Is >= 5 : f = \"high\" : End Select",
         L"high"},
        {L"Select Case \"b\" : Case \"a\", \"b\" : f = \"ab\" : Case Else : f = \"else\" : End "
         L"Select",
         L"ab"},
        {L"Select Case Null : Case 1 : f = \"one\" : Case Else : f = \"else\" : End Select",
         L"else"},
        {L"Select Case 2.5 : Case 2 : f = \"two\" : Case 2 To 3 : f = \"range\" : End Select",
         L"range"},
        {L"x = 3 : Select Case x : Case 1, 2, 3 : f = \"list\" : Case 3 : f = \"later\" : End "
         L"Select",
         L"list"},
        {L"Select Case 9 : Case 1 : f = \"one\" : End Select : f = \"[\" & f & \"]\"", L"[]"},
        {L"Select Case \"B\" : Case \"a\" To \"c\" : f = \"in\" : Case Else : f = \"out\" : End "
         L"Select",
         L"out"},
        {L"Select Case Empty : Case 0 : f = \"zero\" : Case Else : f = \"else\" : End Select",
         L"zero"},
    };
    ExpectAll(cases);
}

TEST(ProcedureSemantics, ErrorsAcrossProcedures) {
    const Case cases[] = {
        {L"On Error Resume Next : Fail : f = Err.Number & log", L"11"},
        {L"Guarded : f = log", L"g11"},
        {L"Guarded : x = 1 / 0 : f = \"reached\"", L"error 11"},
        {L"On Error Resume Next : x = 1 / 0 : On Error GoTo 0 : f = Err.Number", L"0"},
        {L"On Error Resume Next : x = 1 / 0 : f = Err.Number & Err.Description",
         L"11Division by zero"},
        {L"On Error Resume Next : Err.Raise 5 : f = Err.Number & Err.Description",
         L"5Invalid procedure call or argument"},
        {L"On Error Resume Next : Err.Raise 1000, \"src\", \"mine\" : "
         L"f = Err.Number & Err.Source & Err.Description",
         L"1000srcmine"},
        {L"On Error Resume Next : x = 1 / 0 : Err.Clear : f = Err.Number & \"[\" & "
         L"Err.Description & \"]\"",
         L"0[]"},
        {L"On Error Resume Next : x = 1 / 0 : y = 2 : f = Err.Number & y", L"112"},
        {L"On Error Resume Next : x = CInt(\"a\") : f = Err.Number & \"[\" & x & \"]\"", L"13[]"},
        {L"Err.Raise 6", L"error 6"},
        {L"On Error Resume Next : Err.Raise 6 : On Error GoTo 0 : Err.Raise 7", L"error 7"},
        {L"On Error Resume Next\n If 1 / 0 = 1 Then r = \"then\" Else r = \"else\"\n f = r",
         L"then"},
    };
    ExpectAll(cases, kProcedures);
}

const std::wstring kForEach = LR"vbs(
Dim log
Function FailedWalks(n)
    On Error Resume Next
    For i = 1 To n
        For Each v In i
            count = count + 1
        Next
    Next
    FailedWalks = count & "/" & Err.Number
End Function
Function Sum(list)
    For Each v In list : Sum = Sum + v : Next
End Function
Class Noisy
    Public name
    Private Sub Class_Terminate : log = log & "-" & name : End Sub
End Class
)vbs";

// A For Each whose header fails under On Error Resume Next runs its body once and ends at
// Next; nothing of it stays behind to disturb later loops, calls or the code after them.
TEST(ProcedureSemantics, ForEachAfterAFailedHeader) {
    const Case cases[] = {
        {L"f = FailedWalks(1000) & \" \" & Sum(Array(1, 2, 3))", L"1000/451 6"},
        {L"For k = 1 To 3 : r = r & FailedWalks(k) & \",\" : Next : f = r & Sum(Array(4, 5))",
         L"1/451,2/451,3/451,9"},
        // A header that fails after an earlier pass left the loop early ends at Next rather
        // than walking on through the earlier pass's array.
        {L"On Error Resume Next\n For i = 1 To 2\n If i = 1 Then s = Array(1, 2, 3) Else s = 5\n"
         L" For Each v In s : r = r & i & v & \" \" : If i = 1 Then Exit For\n Next\n Next\n"
         L"f = r & Err.Number",
         L"11 21 451"},
        {L"On Error Resume Next : For Each v In Nothing : n = n + 1 : Next : f = n & Err.Number",
         L"191"},
        {L"On Error Resume Next : For Each v In NoSuch(1) : n = n + 1 : Next : f = n & Err.Number",
         L"113"},
        {L"For Each v In 5 : Next", L"error 451"},
        // The walked items go when the loop ends, not when the procedure returns (o still
        // holds the last one).
        {L"Set a = New Noisy : a.name = \"a\" : Set b = New Noisy : b.name = \"b\"\n"
         L"For Each o In Array(a, b) : Next : Set a = Nothing : Set b = Nothing\n"
         L"f = log & \"|\"",
         L"-a|"},
    };
    ExpectAll(cases, kForEach);
}

} // namespace
