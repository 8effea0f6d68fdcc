// Forms the language accepts that look wrong at first sight, run to see they mean what the
// language means: loose statement ends, procedures in If blocks and Call on parenthesised
// callees.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

const std::wstring kDeclarations = LR"(
Dim log
Class Plain : Public v, w End Class
Class Maker
  Public Function Make() : log = log & "made" End Function
  Public Property Get Count : Count = 2 End Property
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
        {L"If True Then\n f = \"a\" End If", L"a"},
        {L"Note \"x\" : f = Twice(2) & log & (New Maker).Count", L"4xtwice22"},
        {L"Select Case 2\nCase 1  f = \"one\"\nCase 2  f = \"two\"\nCase Else f = \"else\"\n"
         L"End Select",
         L"two"},
        {L"Select Case 7\nCase 1  f = \"one\"\nCase Else f = \"else\"\nEnd Select", L"else"},
        {L"Set p = New Plain\n With p\n  .v = 1 : _\n  .w = 2\n  f = .v & _\n   .w\n End With",
         L"12"},
        {L"Set p = New Plain\n With p\n  .v = 3\n  f = Twice( _\n  .v)\n End With", L"6"},
        {L"Property = 3 : Dim Property : f = Property + 1", L"4"},
        {L"f = (3 => 2) & (2 =< 1) & (1 >< 2) & (2 >< 2)", L"TrueFalseTrueFalse"},
        {L"f = 1e-94938484 & TypeName(1e-400)", L"0Double"},
    };
    ExpectAll(cases, kDeclarations);
}

TEST(AcceptedForms, ProceduresInIfBlocksAndCalls) {
    const Case cases[] = {
        // Declared whichever branch runs, as procedures are before any code.
        {L"Hidden : f = log & Shown()", L"hiddenshown"},
        {L"Call (New Maker).Make : f = log", L"made"},
        {L"Call (((Twice))) (21) : f = log", L"twice21"},
        {L"Call (Note)(\"n\") : f = log", L"n"},
    };
    ExpectAll(cases, kDeclarations);
}

} // namespace
