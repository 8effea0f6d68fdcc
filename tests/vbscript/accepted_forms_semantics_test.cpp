// Forms the language accepts that look wrong at first sight, run to see they mean what the
// language means: loose statement ends, procedures in If blocks, Call on parenthesised
// callees, a variable or a function's own name as a statement, and the mistakes that pass
// compilation only to fail when they run.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

const std::wstring kDeclarations = LR"(
Dim log, depth
Class Runner : Public Default Function Go() : log = log & "go" : End Function : End Class
Class Plain : Public v, w End Class
Class Maker
  Public Function Make() : log = log & "made" End Function
  Public Property Get Count : Count = 2 End Property
End Class
Class Counter
  Public n
  Public Function Rec() : n = n + 1 : If n < 3 Then Rec
    Rec = n
  End Function
  Public Function Depth(k) : If k > 0 Then Depth = Depth(k - 1) + 1 Else Depth = 0
  End Function
End Class
Sub Note(s) : log = log & s End Sub
Function Twice(n) : Twice = n * 2 : log = log & "twice" & n End Function
If False Then
  Sub Hidden : log = log & "hidden" : End Sub
Else
  Function Shown() : Shown = "shown" : End Function
End If
)";

TEST(AcceptedForms, LooseStatementEnds) {
    const Case cases[] = {
        {L"If False Then f = 1 Else f = 2 End If", L"2"},
        {L"If True Then f = 1 End If\n f = f & \"!\"", L"1!"},
        {L"If True Then :\n f = \"block\"\n End If", L"block"},
        {L"If False Then : f = \"then\" : Else : f = \"else\"\n f = f & \"!\"", L"else!"},
        {L"If True Then\n f = \"a\" End If", L"a"},
        {L"Note \"x\" : f = Twice(2) & log & (New Maker).Count", L"4xtwice22"},
        {L"Select Case 2\nCase 1  f = \"one\"\nCase 2  f = \"two\"\nCase Else f = \"else\"\n"
         L"End Select",
         L"two"},
        {L"Set p = New Plain\n With p\n  .v = 1 : _\n  .w = 2\n  f = .v & _\n   .w\n End With",
         L"12"},
        {L"Set p = New Plain\n With p\n  .v = 3\n  f = Twice( _\n  .v)\n End With", L"6"},
        {L"Property = 3 : Dim Property : f = Property + 1", L"4"},
    };
    ExpectAll(cases, kDeclarations);
}

TEST(AcceptedForms, ProceduresAndCalls) {
    const Case cases[] = {
        // Declared whichever branch runs, as procedures are before any code.
        {L"Hidden : f = log & Shown()", L"hiddenshown"},
        {L"Call (New Maker).Make : f = log", L"made"},
        {L"Call (((Twice))) (21) : f = log", L"twice21"},
        {L"Call (Note)(\"n\") : f = log", L"n"},
        // A variable on its own invokes its default member.
        {L"Set r = New Runner : r : r : f = log", L"gogo"},
        {L"x = 5 : x", L"error 13"},
        {L"x = 5 : On Error Resume Next : x : f = Err.Number", L"13"},
        {L"Dim a(1) : a", L"error 13"},
        // Inside a function its own name as a statement calls it again.
        {L"depth = depth + 1 : If depth < 3 Then f\n f = depth", L"3"},
        {L"Set c = New Counter : f = c.Rec() & c.Depth(4)", L"34"},
    };
    ExpectAll(cases, kDeclarations);
}

TEST(AcceptedForms, MistakesFailWhenTheyRun) {
    const Case cases[] = {
        {L"Err.Raise", L"error 450"},
        {L"On Error Resume Next : Err.Raise : f = Err.Number", L"450"},
        {L"Err.Raise 1, 2, 3, 4, 5, 6", L"error 450"},
        {L".v = 1", L"error 505"},
        {L"f = .v", L"error 505"},
        {L"On Error Resume Next : .Go : f = Err.Number & Err.Description",
         L"505Invalid or unqualified reference"},
        {L"If False Then .v = 1 : Err.Raise\n f = \"not reached, so no error\"",
         L"not reached, so no error"},
    };
    ExpectAll(cases, kDeclarations);
}

} // namespace
