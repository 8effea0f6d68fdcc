// Numbers as the language computes them: the subtype a result takes, where Integer becomes
// Long and Long becomes Double, what overflows (error 6), rounding to even, and the
// operators on Empty, Null and text, and the sequence Rnd gives.
#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

TEST(NumericSemantics, ResultSubtypesAndPromotion) {
    const Case cases[] = {
        {L"f = TypeName(1 + 1)", L"Integer"},
        {L"f = TypeName(32767 + 1)", L"Long"},
        {L"f = TypeName(-32768 - 1)", L"Long"},
        {L"f = TypeName(200 * 200)", L"Long"},
        {L"f = TypeName(2147483647 + 1) & \" \" & (2147483647 + 1)", L"Double 2147483648"},
        {L"f = TypeName(65536 * 65536)", L"Double"},
        {L"f = TypeName(CByte(1) + CByte(1))", L"Byte"},
        {L"f = TypeName(CByte(200) + CByte(100)) & (CByte(200) + CByte(100))", L"Integer300"},
        {L"f = TypeName(CByte(1) + 1)", L"Integer"},
        {L"f = TypeName(1 + 1.5)", L"Double"},
        {L"f = TypeName(10 / 5) & (10 / 4)", L"Double2.5"},
        {L"f = TypeName(10 \\ 3) & (10 \\ 3)", L"Integer3"},
        {L"f = TypeName(100000 \\ 3)", L"Long"},
        {L"f = TypeName(2 ^ 2) & (2 ^ 10)", L"Double1024"},
        {L"f = TypeName(True + True) & (True + True)", L"Integer-2"},
        {L"f = TypeName(CCur(1) + 1)", L"Currency"},
        {L"f = TypeName(\"1\" + 1) & (\"1\" + 1)", L"Double2"},
        {L"f = \"1\" + \"1\"", L"11"},
        {L"f = TypeName(&HFFFF) & &HFFFF & \"/\" & &HFFFF&", L"Integer-1/65535"},
        {L"f = &H7FFFFFFF & \"/\" & &O17 & \"/\" & &H8000", L"2147483647/15/-32768"},
    };
    ExpectAll(cases);
}

TEST(NumericSemantics, SubtypesOfLogicHexConstantsAndRound) {
    const Case cases[] = {
        {L"f = TypeName(Empty And Empty) & TypeName(Not Empty) & (Not Empty)", L"LongLong-1"},
        {L"f = TypeName(Empty Or CByte(1)) & TypeName(Empty Xor True) & TypeName(1 And 1)",
         L"LongLongInteger"},
        {L"f = TypeName(&h10&) & &h10& & TypeName(&H7FFF&) & TypeName(&H8000&) & &H8000&",
         L"Integer16IntegerLong32768"},
        {L"f = TypeName(vbRed) & TypeName(vbBlack) & TypeName(vbWhite) & TypeName(vbYes)",
         L"LongLongLongInteger"},
        {L"f = TypeName(Round(True)) & Round(True) & TypeName(Round(False, 2))",
         L"BooleanTrueBoolean"},
    };
    ExpectAll(cases);
}

TEST(NumericSemantics, OverflowAndDivision) {
    const Case cases[] = {
        {L"f = CInt(32767.4)", L"32767"},
        {L"f = CInt(32768)", L"error 6"},
        {L"f = CInt(-32769)", L"error 6"},
        {L"f = CLng(2147483648)", L"error 6"},
        {L"f = CByte(256)", L"error 6"},
        {L"f = CByte(-1)", L"error 6"},
        {L"f = 5 / 0", L"error 11"},
        {L"f = 5 \\ 0", L"error 11"},
        {L"f = 5 Mod 0", L"error 11"},
        {L"x = 1E+308 : f = x * 10", L"error 6"},
        {L"f = 7 Mod 3 & \" \" & -7 Mod 3 & \" \" & 7 Mod -3", L"1 -1 1"},
        {L"f = -7 \\ 2 & \" \" & 7.5 \\ 2 & \" \" & 6.5 \\ 2", L"-3 4 3"},
        {L"f = 7.5 Mod 2 & \" \" & 6.5 Mod 4", L"0 2"},
        {L"f = (-8) ^ (1 / 3)", L"error 5"},
        {L"f = 2 ^ -1", L"0.5"},
        // Negation binds tighter than ^.
        {L"f = -2 ^ 2 & \" \" & -3 ^ 2 * 2 & \" \" & 2 ^ -2 ^ 2", L"4 18 0.0625"},
        {L"x = 3 : f = -x ^ 2 - (-x) ^ 3", L"36"},
        {L"f = 2 + 3 * 4 ^ 2 / 8 \\ 2 Mod 4", L"5"},
    };
    ExpectAll(cases);
}

TEST(NumericSemantics, RoundingToEven) {
    const Case cases[] = {
        {L"f = CInt(2.5) & CInt(3.5) & CInt(-2.5) & CInt(-3.5)", L"24-2-4"},
        {L"f = CLng(0.5) & CLng(1.5) & CLng(2.5)", L"022"},
        {L"f = CByte(254.5) & \" \" & CByte(253.5)", L"254 254"},
        {L"f = CInt(\"3.5\") & CInt(\" 4.5 \")", L"44"},
        {L"f = Round(2.5) & Round(3.5) & Round(0.5)", L"240"},
        {L"f = Round(1.25, 1) & \" \" & Round(1.35, 1)", L"1.2 1.4"},
        {L"f = Int(-2.5) & Fix(-2.5) & Int(2.5) & Fix(2.5)", L"-3-222"},
        {L"f = 5.5 \\ 1 & 6.5 \\ 1", L"66"},
        {L"Dim a(5) : a(2) = \"two\" : a(4) = \"four\" : f = a(2.5) & a(3.5)", L"twofour"},
    };
    ExpectAll(cases);
}

TEST(NumericSemantics, EmptyAndNullInArithmetic) {
    const Case cases[] = {
        {L"f = TypeName(Empty + 1) & (Empty + 1)", L"Integer1"},
        {L"f = TypeName(Empty + Empty) & (Empty + Empty)", L"Integer0"},
        {L"f = Empty * 5 & \" \" & Empty - 2", L"0 -2"},
        {L"f = TypeName(Empty & Empty) & Len(Empty & Empty)", L"String0"},
        {L"f = \"a\" & Empty & \"b\"", L"ab"},
        {L"f = Empty / 1", L"0"},
        {L"f = 1 / Empty", L"error 11"},
        {L"f = TypeName(Null + 1)", L"Null"},
        {L"f = TypeName(1 - Null) & TypeName(Null * 0) & TypeName(Null \\ 1)", L"NullNullNull"},
        {L"f = Null & \"a\" & Null", L"a"},
        {L"f = TypeName(Null & Null)", L"Null"},
        {L"f = TypeName(-Null) & TypeName(Not Null)", L"NullNull"},
        {L"f = (Null And False) & \" \" & (Null Or True)", L"False True"},
        {L"f = TypeName(Null And True) & TypeName(Null Or False)", L"NullNull"},
        {L"f = TypeName(Null = Null) & TypeName(Null <> 1)", L"NullNull"},
        {L"f = IsNull(Null + 1) & IsEmpty(Empty + Empty)", L"TrueFalse"},
        {L"f = 1 / Null", L"Null"},
        {L"f = CInt(Null)", L"error 94"},
        {L"f = CStr(Null)", L"error 94"},
        {L"x = Null : If x Then f = \"then\" Else f = \"else\"", L"else"},
        {L"f = \"a\" + 1", L"error 13"},
        {L"f = Array(1) + 1", L"error 13"},
    };
    ExpectAll(cases);
}

TEST(NumericSemantics, ComparingNumbersAndText) {
    const Case cases[] = {
        {L"f = (\"10\" < \"9\") & (10 < 9)", L"TrueFalse"},
        {L"f = (\"abc\" = \"ABC\") & (\"abc\" < \"abd\")", L"FalseTrue"},
        {L"f = (Empty = 0) & (Empty = \"\") & (Empty < 1)", L"TrueTrueTrue"},
        {L"x = Empty : y = 0 : f = (x = y) & (x = \"\")", L"TrueTrue"},
        {L"f = (1 = 1.0) & (CByte(3) = 3) & (True = -1)", L"TrueTrueTrue"},
        {L"f = (#1/1/2003# < #1/2/2003#) & (#1/2/2003# = 37623)", L"TrueTrue"},
        {L"x = 10 : y = \"9\" : f = (x < y)", L"True"},
        // A string variable against a numeric literal compares as text.
        {L"x = \"10\" : f = (x > 9) & (x = 10)", L"FalseTrue"},
        {L"x = 2147483647 : y = 2147483647.5 : f = (x < y)", L"True"},
        {L"f = StrComp(\"a\", \"A\") & StrComp(\"a\", \"A\", 1) & StrComp(\"b\", \"a\")", L"101"},
        {L"f = (Array(1) = 1)", L"error 13"},
        // Two literals: the text is read as the other's kind.
        {L"f = (\"True\" = True) & (\"010\" = 10) & (#1/2/2003# = \"1/2/2003\")", L"TrueTrueTrue"},
        {L"f = (\"abc\" = 5)", L"error 13"},
        {L"f = (False = \"no\")", L"error 13"},
        // One literal: text against text, whichever side holds the number.
        {L"n = 10 : f = (\"010\" = n) & (\"10\" = n) & (n = \"10\") & (\"9\" < n)",
         L"FalseTrueTrueFalse"},
        {L"t = True : f = (\"True\" = t) & (\"-1\" = t)", L"TrueFalse"},
        {L"n = 10 : If \"010\" = n Then f = \"same\" Else f = \"differ\"", L"differ"},
        {L"n = 10 : Select Case n : Case \"010\" : f = \"number\" : Case \"10\" : f = \"text\" : "
         L"End Select",
         L"text"},
    };
    ExpectAll(cases);
}

// Every engine starts the language's generator afresh, so a script that never calls
// Randomize sees the language's own first numbers.
TEST(NumericSemantics, RndSequence) {
    const Case cases[] = {
        {L"f = Rnd & \" \" & Rnd & \" \" & Rnd", L"0.7055475 0.533424 0.5795186"},
        {L"f = TypeName(Rnd)", L"Single"},
        {L"a = Rnd : f = (Rnd(0) = a) & \" \" & (Rnd(0) = a) & \" \" & Rnd", L"True True 0.533424"},
        {L"f = Rnd(5) & \" \" & Rnd(1)", L"0.7055475 0.533424"},
        {L"f = Rnd(-1) & \" \" & Rnd(-1)", L"0.224007 0.224007"},
        // A negative argument restarts from its Single bits: -1 and CDbl(-1) are the same number.
        {L"x = Rnd(-1) : a = Rnd : y = Rnd(CDbl(-1)) : f = (Rnd = a) & (x = y)", L"TrueTrue"},
        {L"f = (Rnd(-1) = Rnd(-2))", L"False"},
        // Rnd(-1) then Randomize n repeats a sequence; Randomize n alone does not.
        {L"x = Rnd(-1) : Randomize 42 : a = Rnd : b = Rnd\n"
         L"x = Rnd(-1) : Randomize 42 : f = (Rnd = a) & (Rnd = b)",
         L"TrueTrue"},
        {L"Randomize 42 : a = Rnd : Randomize 42 : f = (Rnd = a)", L"False"},
        {L"x = Rnd(-1) : Randomize 42 : a = Rnd : x = Rnd(-1) : Randomize 43 : f = (Rnd = a)",
         L"False"},
        {L"Randomize : a = Rnd : f = (a >= 0 And a < 1)", L"True"},
        {L"f = Rnd(\"x\")", L"error 13"},
        {L"Randomize \"x\"", L"error 13"},
    };
    ExpectAll(cases);
}

} // namespace
