// Conversions and subtypes, the logical operators on Booleans and whole numbers, With,
// Option Explicit, GetRef and leaving procedures early.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

TEST(ConversionSemantics, SubtypesAndConversions) {
    const Case cases[] = {
        {L"f = TypeName(CDbl(1)) & TypeName(CSng(1)) & TypeName(CCur(1)) & TypeName(CDate(1))",
         L"DoubleSingleCurrencyDate"},
        {L"f = TypeName(CStr(1)) & TypeName(CBool(1)) & TypeName(CByte(1)) & TypeName(CLng(1))",
         L"StringBooleanByteLong"},
        {L"f = VarType(Empty) & VarType(Null) & VarType(1) & VarType(100000) & VarType(1.5) & "
         L"VarType(\"a\") & VarType(True)",
         L"01235811"},
        {L"f = VarType(CCur(1)) & VarType(#1/1/2003#) & VarType(CByte(1)) & VarType(CSng(1))",
         L"67174"},
        {L"f = TypeName(Nothing) & TypeName(Empty) & TypeName(Null) & TypeName(unassigned)",
         L"NothingEmptyNullEmpty"},
        {L"f = CBool(0) & CBool(5) & CBool(\"True\") & CBool(\"false\") & CBool(\"1\")",
         L"FalseTrueTrueFalseTrue"},
        {L"f = CBool(\"abc\")", L"error 13"},
        {L"f = CInt(\"\")", L"error 13"},
        {L"f = CLng(\"1e3\") & \" \" & CDbl(\"-2.5\") & \" \" & CSng(1.5) * 2", L"1000 -2.5 3"},
        {L"f = CDate(37623) & \" \" & CStr(#1/2/2003 3:04:05 PM#) & \" \" & CStr(#3:04:05 PM#)",
         L"1/2/2003 1/2/2003 3:04:05 PM 3:04:05 PM"},
        {L"f = IsEmpty(unassigned) & IsObject(Nothing) & IsObject(1) & IsNull(Empty)",
         L"TrueTrueFalseFalse"},
        {L"f = Abs(-5) & Sgn(-3) & Sgn(0) & Sgn(2.5) & Int(-0.5) & Fix(-0.5)", L"5-101-10"},
        {L"f = Sqr(16) & \" \" & Exp(0) & \" \" & Log(1)", L"4 1 0"},
        {L"f = Sqr(-1)", L"error 5"},
        {L"f = Log(0)", L"error 5"},
        {L"f = TypeName(Abs(Null)) & TypeName(Int(Null))", L"NullNull"},
        {L"f = ScriptEngine & TypeName(ScriptEngineMajorVersion) & RGB(1, 1, 0)",
         L"VBScriptLong257"},
    };
    ExpectAll(cases);
}

TEST(ConversionSemantics, BooleanTextByteOfTrueAndNumbersAsDates) {
    const Case cases[] = {
        {L"f = CBool(\"#TRUE#\") & CBool(\"#false#\") & CBool(\" #True# \")", L"TrueFalseTrue"},
        {L"f = CBool(\"#TRUE\")", L"error 13"},
        {L"f = CByte(True) & \" \" & CByte(False) & \" \" & TypeName(CByte(True))", L"255 0 Byte"},
        {L"f = CByte(-1)", L"error 6"},
        {L"f = CDate(\"1\") & \" \" & CDate(\"0\") & \" \" & TypeName(CDate(\"2\"))",
         L"12/31/1899 12:00:00 AM Date"},
        {L"f = CDate(\"1.5\") & \" \" & CDate(\"1/2/2003\")", L"12/31/1899 12:00:00 PM 1/2/2003"},
        {L"f = CDate(\"abc\")", L"error 13"},
    };
    ExpectAll(cases);
}

TEST(ConversionSemantics, LogicalOperatorsAreBitwiseOnNumbers) {
    const Case cases[] = {
        {L"f = (5 And 3) & (5 Or 3) & (5 Xor 3)", L"176"},
        {L"f = (Not 0) & \" \" & (Not -1) & \" \" & (Not 5)", L"-1 0 -6"},
        {L"f = (True And False) & (True Or False) & (True Xor True)", L"FalseTrueFalse"},
        {L"f = (True Eqv True) & (False Imp False) & (True Imp False)", L"TrueTrueFalse"},
        {L"f = (12 Eqv 10) & \" \" & (12 Imp 10)", L"-7 -5"},
        {L"f = Not 1 = 2", L"True"},
        {L"f = 1 < 2 And 3 > 4 Or True", L"True"},
        {L"f = TypeName(True And True) & TypeName(1 And 1) & TypeName(100000 Or 1)",
         L"BooleanIntegerLong"},
        {L"f = \"a\" And 1", L"error 13"},
    };
    ExpectAll(cases);
}

TEST(ConversionSemantics, LocaleAndNamedConstants) {
    const Case cases[] = {
        {L"f = TypeName(GetLocale) & GetLocale()", L"Long1033"},
        {L"f = SetLocale(1031) & \" \" & GetLocale()", L"1033 1031"},
        {L"SetLocale 1036 : f = SetLocale(0) & \" \" & SetLocale() & \" \" & GetLocale",
         L"1036 1033 1033"},
        {L"SetLocale \"1031\" : f = SetLocale(\"EN-US\") & \" \" & GetLocale", L"1031 1033"},
        {L"f = SetLocale(-1)", L"error 5"},
        {L"f = SetLocale(\"xx-yy\")", L"error 5"},
        {L"f = SetLocale(Null)", L"error 94"},
        {L"f = vbUseSystem & vbBinaryCompare & vbTextCompare & vbDatabaseCompare", L"0012"},
        {L"f = vbOKOnly & vbOKCancel & vbAbortRetryIgnore & vbYesNoCancel & vbYesNo & "
         L"vbRetryCancel & \" \" & vbCritical & vbQuestion & vbExclamation & vbInformation",
         L"012345 16324864"},
        {L"f = vbDefaultButton1 & \" \" & vbDefaultButton2 & vbDefaultButton3 & vbDefaultButton4 "
         L"& \" \" & vbApplicationModal & vbSystemModal",
         L"0 256512768 04096"},
        {L"f = vbOK & vbCancel & vbAbort & vbRetry & vbIgnore & vbYes & vbNo", L"1234567"},
    };
    ExpectAll(cases);
}

const std::wstring kHelpers = LR"(
Function Twice(n) : Twice = n * 2 : End Function
Function Early(n)
  Early = "start"
  If n > 0 Then Exit Function
  Early = "end"
End Function
Sub Skip(ByRef log)
  log = log & "a"
  Exit Sub
  log = log & "b"
End Sub
Function Deep(n) : Deep = Deep(n + 1) : End Function
)";

TEST(ConversionSemantics, WithGetRefAndEarlyExits) {
    const Case cases[] = {
        {L"Set d = CreateObject(\"Scripting.Dictionary\")\nWith d : .Add \"a\", 1 : .Add \"b\", 2 "
         L": "
         L"f = .Count & .Item(\"b\") : End With",
         L"22"},
        {L"Set d = CreateObject(\"Scripting.Dictionary\") : d.Add \"k\", "
         L"CreateObject(\"Scripting.Dictionary\")\n"
         L"With d : With .Item(\"k\") : .Add 1, \"in\" : End With : f = .Item(\"k\").Item(1) : End "
         L"With",
         L"in"},
        {L"With 5 : End With", L"error 424"},
        {L"Set r = GetRef(\"Twice\") : f = r(4) & TypeName(r)", L"8Object"},
        {L"Set r = GetRef(\"Nope\")", L"error 5"},
        {L"f = Early(1) & \"/\" & Early(0)", L"start/end"},
        {L"s = \"\" : Skip s : f = s", L"a"},
        {L"f = Deep(1)", L"error 28"},
    };
    ExpectAll(cases, kHelpers);
}

TEST(ConversionSemantics, OptionExplicit) {
    const Case cases[] = {
        {L"Dim x : x = 1 : f = x", L"1"},
        {L"y = 1 : f = y", L"error 500"},
        {L"f = undeclared", L"error 500"},
        {L"Dim x : ReDim x(2) : f = UBound(x)", L"2"},
        {L"f = g", L"ok"},
    };
    ExpectAll(cases, L"Option Explicit\nDim g\ng = \"ok\"\n");
}

} // namespace
