// The string built-ins at and beyond the edges of their arguments: error 5 where the
// language refuses, Null passed through, empty results where it allows.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

TEST(StringSemantics, OutOfRangeArgumentsAreError5) {
    const Case cases[] = {
        {L"f = Mid(\"abc\", 0)", L"error 5"},
        {L"f = Mid(\"abc\", 2, -1)", L"error 5"},
        {L"f = Left(\"abc\", -1)", L"error 5"},
        {L"f = Right(\"abc\", -1)", L"error 5"},
        {L"f = InStr(0, \"abc\", \"b\")", L"error 5"},
        {L"f = Space(-1)", L"error 5"},
        {L"f = String(-1, \"a\")", L"error 5"},
        {L"f = Asc(\"\")", L"error 5"},
        {L"f = Chr(-1)", L"error 5"},
        {L"f = Replace(\"abc\", \"a\", \"b\", 0)", L"error 5"},
        {L"f = InStrRev(\"abc\", \"b\", 0)", L"error 5"},
        {L"f = StrComp(\"a\", \"b\", 5)", L"error 5"},
    };
    ExpectAll(cases);
}

TEST(StringSemantics, NullArgumentsThatAreErrors) {
    const Case cases[] = {
        {L"f = Mid(\"abc\", Null)", L"error 94"},
        {L"f = Mid(\"abc\", 1, Null)", L"error 94"},
        {L"f = DateSerial(Null, 1, 1)", L"error 94"},
        {L"f = DateSerial(2000, 1, Null)", L"error 94"},
        {L"f = TimeSerial(Null, 0, 0)", L"error 94"},
        {L"f = TimeSerial(1, Null, 1)", L"error 94"},
        {L"f = Space(Null)", L"error 94"},
        {L"f = InStrRev(Null, \"a\")", L"error 94"},
        {L"f = InStrRev(\"abc\", Null)", L"error 94"},
        {L"f = Replace(Null, \"a\", \"b\")", L"error 94"},
        {L"f = Replace(\"abc\", Null, \"b\")", L"error 94"},
        {L"f = FormatNumber(Null)", L"error 13"},
        {L"f = IsNull(InStr(Null, \"a\")) & IsNull(Left(Null, 1))", L"TrueTrue"},
    };
    ExpectAll(cases);
}

TEST(StringSemantics, CallCannotRunAConversion) {
    const Case cases[] = {
        {L"Call CInt(1)", L"error 458"},
        {L"Call CStr(\"a\")", L"error 458"},
        {L"On Error Resume Next\nCall CDbl(1) : f = Err.Number & \" \" & CInt(\"2\")", L"458 2"},
    };
    ExpectAll(cases);
}

TEST(StringSemantics, EdgesTheLanguageAllows) {
    const Case cases[] = {
        {L"f = \"[\" & Mid(\"abc\", 5) & \"]\" & Mid(\"abc\", 2) & Mid(\"abc\", 2, 10)", L"[]bcbc"},
        {L"f = \"[\" & Left(\"abc\", 0) & \"]\" & Left(\"abc\", 10) & Right(\"abc\", 10)",
         L"[]abcabc"},
        {L"f = InStr(\"abc\", \"\") & InStr(\"abc\", \"d\") & InStr(2, \"abab\", \"a\")", L"103"},
        {L"f = InStr(1, \"ABC\", \"b\", 1) & InStr(1, \"ABC\", \"b\", 0)", L"20"},
        {L"f = InStrRev(\"abcabc\", \"b\") & InStrRev(\"abcabc\", \"b\", 4)", L"52"},
        {L"f = String(3, \"ab\") & String(2, 65) & Space(2) & \"|\"", L"aaaAA  |"},
        {L"f = Replace(\"aaa\", \"a\", \"b\", 2) & \"/\" & Replace(\"aaa\", \"a\", \"b\", 1, 2)",
         L"bb/bba"},
        {L"f = Replace(\"abc\", \"\", \"x\") & Replace(\"aBc\", \"b\", \"x\", 1, -1, 1)",
         L"abcaxc"},
        {L"f = Len(123) & Len(\"\") & Len(1.5)", L"303"},
        {L"f = \"[\" & Trim(\"  a b  \") & \"][\" & LTrim(\" a \") & \"][\" & RTrim(\" a \") & "
         L"\"]\"",
         L"[a b][a ][ a]"},
        {L"f = UCase(\"aBc\") & LCase(\"AbC\") & StrReverse(\"abc\")", L"ABCabccba"},
        {L"a = Split(\"a,b,,c\", \",\") : f = UBound(a) & a(3) & \"[\" & a(2) & \"]\"", L"3c[]"},
        {L"a = Split(\"\") : f = UBound(a)", L"-1"},
        {L"a = Split(\"a-b-c\", \"-\", 2) : f = UBound(a) & a(1)", L"1b-c"},
        {L"f = Join(Array(1, \"x\", 2.5), \"-\") & Join(Array()) & Join(Array(\"a\", \"b\"))",
         L"1-x-2.5a b"},
        {L"f = Asc(\"A\") & Chr(66) & AscW(\"a\") & ChrW(67)", L"65B97C"},
        {L"f = CStr(1.5) & CStr(True) & CStr(-0.25) & CStr(1E+20)", L"1.5True-0.251E+20"},
        {L"f = LCase(Null) & Len(Null) & \"|\" & TypeName(Mid(Null, 1)) & TypeName(Left(Null, 1))",
         L"|NullNull"},
        {L"f = TypeName(Len(Null)) & TypeName(UCase(Null)) & TypeName(Trim(Null))",
         L"NullNullNull"},
        {L"f = Hex(255) & Oct(8) & Hex(-1)", L"FF10FFFF"},
        {L"f = CStr(CDbl(\"1.5\")) & CStr(CLng(\"&H10\"))", L"1.516"},
        {L"f = CDbl(\"abc\")", L"error 13"},
        {L"f = IsNumeric(\"1.5\") & IsNumeric(\"a\") & IsNumeric(Empty) & IsNumeric(\" 2 \")",
         L"TrueFalseTrueTrue"},
    };
    ExpectAll(cases);
}

} // namespace
