#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "vbscript/builtins.h"
#include "vbscript/clock.h"
#include "vbscript/coerce.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"

using namespace vbs;

namespace {

Value S(const wchar_t* text) {
    return Value::String(text);
}
Value I(std::int16_t v) {
    return Value::Integer(v);
}
Value D(double v) {
    return Value::Double(v);
}

Value Call(const wchar_t* name, std::initializer_list<Value> args) {
    const Builtin* builtin = FindBuiltin(name);
    EXPECT_NE(builtin, nullptr) << "no built-in";
    std::vector<Value> list(args);
    static Runtime runtime; // Rnd's state lives there
    return builtin->function(&runtime, list);
}

std::wstring Text(const wchar_t* name, std::initializer_list<Value> args) {
    return ToString(Call(name, args));
}

double Number(const wchar_t* name, std::initializer_list<Value> args) {
    return ToDouble(Call(name, args));
}

int ErrorOf(const wchar_t* name, std::initializer_list<Value> args) {
    try {
        Call(name, args);
    } catch (const ScriptError& e) {
        return e.number;
    }
    return 0;
}

Value Date(const wchar_t* text) {
    return Value::Date(ToDate(S(text)));
}

} // namespace

TEST(VbsBuiltins, LookupIgnoresCaseAndKnowsArity) {
    ASSERT_NE(FindBuiltin(L"ucase"), nullptr);
    EXPECT_EQ(FindBuiltin(L"ucase"), FindBuiltin(L"UCASE"));
    EXPECT_EQ(FindBuiltin(L"NoSuchThing"), nullptr);
    EXPECT_EQ(FindBuiltin(L""), nullptr);
    EXPECT_EQ(FindBuiltin(L"Mid")->minArgs, 2);
    EXPECT_EQ(FindBuiltin(L"Array")->maxArgs, -1);
}

TEST(VbsBuiltins, Substrings) {
    EXPECT_EQ(Text(L"Mid", {S(L"abc"), I(2)}), L"bc");
    EXPECT_EQ(Text(L"Mid", {S(L"abcdef"), I(2), I(3)}), L"bcd");
    EXPECT_EQ(Text(L"Mid", {S(L"abc"), I(9)}), L"");
    EXPECT_EQ(Text(L"Left", {S(L"abc"), I(5)}), L"abc");
    EXPECT_EQ(Text(L"Right", {S(L"abc"), I(2)}), L"bc");
    EXPECT_EQ(Number(L"Len", {I(123)}), 3);
    EXPECT_TRUE(Call(L"Len", {Value::Null()}).IsNull());
    EXPECT_TRUE(Call(L"Left", {Value::Null(), I(1)}).IsNull());
    EXPECT_EQ(ErrorOf(L"Mid", {S(L"abc"), I(0)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"Left", {S(L"abc"), I(-1)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"Left", {S(L"abc"), S(L"x")}), err::TypeMismatch);
    EXPECT_EQ(Text(L"Trim", {S(L"  a b \t ")}), L"a b \t");
    EXPECT_EQ(Text(L"UCase", {S(L"aBc")}), L"ABC");
    EXPECT_EQ(Text(L"StrReverse", {S(L"abc")}), L"cba");
    EXPECT_EQ(Text(L"String", {I(3), S(L"xy")}), L"xxx");
    EXPECT_EQ(Text(L"String", {I(2), I(65 + 256)}), L"AA");
    EXPECT_EQ(Text(L"Space", {I(2)}), L"  ");
    EXPECT_EQ(ErrorOf(L"Space", {Value::Long(2000000000)}), 7);
}

TEST(VbsBuiltins, Searching) {
    EXPECT_EQ(Number(L"InStr", {S(L"aBc"), S(L"b")}), 0);
    EXPECT_EQ(Number(L"InStr", {I(1), S(L"aBc"), S(L"b"), I(1)}), 2);
    EXPECT_EQ(Number(L"InStr", {I(3), S(L"abab"), S(L"ab")}), 3);
    EXPECT_EQ(Number(L"InStr", {I(2), S(L"abc"), S(L"")}), 2);
    EXPECT_TRUE(Call(L"InStr", {S(L"abc"), Value::Null()}).IsNull());
    EXPECT_EQ(ErrorOf(L"InStr", {I(0), S(L"a"), S(L"a")}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"InStr", {I(1), S(L"a"), S(L"a"), I(3)}), err::InvalidCall);
    EXPECT_EQ(Number(L"InStrRev", {S(L"abcabc"), S(L"bc")}), 5);
    EXPECT_EQ(Number(L"InStrRev", {S(L"abcabc"), S(L"bc"), I(4)}), 2);
    EXPECT_EQ(Number(L"InStrRev", {S(L"ABC"), S(L"b"), I(-1), I(1)}), 2);
    EXPECT_EQ(Number(L"StrComp", {S(L"abc"), S(L"ABC")}), 1);
    EXPECT_EQ(Number(L"StrComp", {S(L"abc"), S(L"ABC"), I(1)}), 0);
    EXPECT_EQ(Number(L"StrComp", {S(L"ab"), S(L"abc")}), -1);
    EXPECT_EQ(Text(L"Replace", {S(L"aXbxc"), S(L"x"), S(L"-")}), L"aXb-c");
    EXPECT_EQ(Text(L"Replace", {S(L"aXbxc"), S(L"x"), S(L"-"), I(1), I(-1), I(1)}), L"a-b-c");
    EXPECT_EQ(Text(L"Replace", {S(L"abab"), S(L"a"), S(L"z"), I(2), I(1)}), L"bzb");
}

TEST(VbsBuiltins, SplitJoinFilter) {
    const Value parts = Call(L"Split", {S(L"a,,b"), S(L",")});
    EXPECT_EQ(Number(L"UBound", {parts}), 2);
    EXPECT_EQ(Text(L"Join", {parts, S(L"+")}), L"a++b");
    EXPECT_EQ(Text(L"Join", {Call(L"Split", {S(L"a b c"), S(L" "), I(2)})}), L"a b c");
    EXPECT_EQ(Number(L"UBound", {Call(L"Split", {S(L"a b c"), S(L" "), I(2)})}), 1);
    EXPECT_EQ(Number(L"UBound", {Call(L"Split", {S(L"")})}), -1);
    EXPECT_EQ(Number(L"UBound", {Call(L"Split", {S(L"aXb"), S(L"x"), I(-1), I(1)})}), 1);
    const Value kept = Call(L"Filter",
                            {Call(L"Array", {S(L"Apple"), S(L"pear"), S(L"fig")}),
                             S(L"P"),
                             Value::Boolean(true),
                             I(1)});
    EXPECT_EQ(Text(L"Join", {kept, S(L",")}), L"Apple,pear");
    EXPECT_EQ(ErrorOf(L"Join", {S(L"abc")}), err::TypeMismatch);
    EXPECT_EQ(ErrorOf(L"Split", {S(L"a"), S(L","), I(-2)}), err::InvalidCall);
}

TEST(VbsBuiltins, CharacterCodes) {
    EXPECT_EQ(Number(L"Asc", {S(L"A")}), 65);
    EXPECT_EQ(Number(L"AscW", {S(L"\xFFFF")}), -1);
    EXPECT_EQ(Text(L"Chr", {I(66)}), L"B");
    EXPECT_EQ(Text(L"ChrW", {I(-1)}), L"\xFFFF");
    EXPECT_EQ(ErrorOf(L"Asc", {S(L"")}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"Chr", {I(256)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"Chr", {Value::Null()}), err::InvalidUseOfNull);
}

TEST(VbsBuiltins, ConversionsAndRadix) {
    EXPECT_EQ(Call(L"CInt", {D(2.5)}).AsInteger(), 2);
    EXPECT_EQ(Call(L"CLng", {S(L"1,000")}).AsLong(), 1000);
    EXPECT_EQ(ErrorOf(L"CByte", {I(256)}), err::Overflow);
    EXPECT_EQ(ErrorOf(L"CDbl", {S(L"abc")}), err::TypeMismatch);
    EXPECT_EQ(Text(L"Hex", {I(-1)}), L"FFFF");
    EXPECT_EQ(Text(L"Hex", {Value::Long(-1)}), L"FFFFFFFF");
    EXPECT_EQ(Text(L"Hex", {D(254.6)}), L"FF");
    EXPECT_EQ(Text(L"Oct", {I(8)}), L"10");
    EXPECT_TRUE(Call(L"Hex", {Value::Null()}).IsNull());
    EXPECT_EQ(ErrorOf(L"Hex", {D(1e12)}), err::Overflow);
}

TEST(VbsBuiltins, WholePartsKeepTheSubtype) {
    EXPECT_EQ(Number(L"Int", {D(-2.5)}), -3);
    EXPECT_EQ(Number(L"Fix", {D(-2.5)}), -2);
    EXPECT_EQ(Call(L"Int", {Value::Currency(-15000)}).AsCurrency(), -20000);
    EXPECT_EQ(Call(L"Fix", {Value::Currency(-15000)}).AsCurrency(), -10000);
    EXPECT_EQ(Call(L"Int", {S(L"2.5")}).Type(), VarType::Double);
    EXPECT_EQ(Call(L"Abs", {I(-32768)}).Type(), VarType::Long);
    EXPECT_EQ(Number(L"Abs", {I(-32768)}), 32768);
    EXPECT_EQ(Number(L"Sgn", {D(-0.1)}), -1);
    EXPECT_EQ(ErrorOf(L"Sgn", {Value::Null()}), err::InvalidUseOfNull);
}

TEST(VbsBuiltins, SubtypeQuestions) {
    EXPECT_TRUE(Call(L"IsNumeric", {S(L" 1e3 ")}).AsBoolean());
    EXPECT_FALSE(Call(L"IsNumeric", {S(L"1a")}).AsBoolean());
    EXPECT_TRUE(Call(L"IsNumeric", {Value()}).AsBoolean());
    EXPECT_TRUE(Call(L"IsDate", {S(L"2/29/2000")}).AsBoolean());
    EXPECT_FALSE(Call(L"IsDate", {S(L"2/30/2000")}).AsBoolean());
    EXPECT_TRUE(Call(L"IsObject", {Value::Nothing()}).AsBoolean());
    EXPECT_TRUE(Call(L"IsArray", {Call(L"Array", {})}).AsBoolean());
    EXPECT_EQ(Number(L"VarType", {Call(L"Array", {})}), 8204);
    EXPECT_EQ(Text(L"TypeName", {D(1)}), L"Double");
}

TEST(VbsBuiltins, MathAndRounding) {
    EXPECT_EQ(Number(L"Round", {D(2.5)}), 2);
    EXPECT_EQ(Number(L"Round", {D(3.5)}), 4);
    EXPECT_EQ(Number(L"Round", {D(-2.5)}), -2);
    EXPECT_EQ(Number(L"Round", {D(1.005), I(2)}), 1);
    EXPECT_EQ(Number(L"Round", {D(1.2345), I(3)}), 1.234);
    EXPECT_EQ(Call(L"Round", {Value::Currency(25000), I(0)}).AsCurrency(), 20000);
    EXPECT_EQ(Call(L"Round", {Value::Currency(-15000), I(0)}).AsCurrency(), -20000);
    EXPECT_EQ(ErrorOf(L"Round", {D(1), I(-1)}), err::InvalidCall);
    EXPECT_EQ(Number(L"Sqr", {I(16)}), 4);
    EXPECT_EQ(ErrorOf(L"Sqr", {I(-1)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"Log", {I(0)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"Exp", {I(1000)}), err::Overflow);
    EXPECT_DOUBLE_EQ(Number(L"Atn", {I(1)}) * 4, 3.141592653589793);
    EXPECT_TRUE(Call(L"Sin", {Value::Null()}).IsNull());
}

TEST(VbsBuiltins, ColoursAndTheEngineName) {
    // Red in the low byte, blue in the high one; parts above 255 are 255, halves round to even.
    EXPECT_EQ(Call(L"RGB", {I(255), I(0), I(0)}).Type(), VarType::Long);
    EXPECT_EQ(Number(L"RGB", {I(255), I(0), I(0)}), 0xFF);
    EXPECT_EQ(Number(L"RGB", {I(0), I(0), I(255)}), 0xFF0000);
    EXPECT_EQ(Number(L"RGB", {I(300), D(2.5), S(L"1")}), 0x0102FF);
    EXPECT_EQ(ErrorOf(L"RGB", {I(0), I(-1), I(0)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"RGB", {Value::Null(), I(0), I(0)}), err::InvalidUseOfNull);
    // Scripts that ask which engine runs them must find the one they were written for.
    EXPECT_EQ(Text(L"ScriptEngine", {}), L"VBScript");
    EXPECT_GE(Number(L"ScriptEngineMajorVersion", {}), 5);
    EXPECT_EQ(Call(L"ScriptEngineMinorVersion", {}).Type(), VarType::Long);
    EXPECT_GT(Number(L"ScriptEngineBuildVersion", {}), 0);
}

TEST(VbsBuiltins, RndFollowsTheLanguageSequence) {
    EXPECT_FLOAT_EQ(ToSingle(Call(L"Rnd", {I(-1)})), 0.224007f);
    Call(L"Randomize", {D(42)});
    const float first = ToSingle(Call(L"Rnd", {}));
    EXPECT_EQ(ToSingle(Call(L"Rnd", {I(0)})), first);
    Call(L"Rnd", {I(-1)});
    Call(L"Randomize", {D(42)});
    EXPECT_EQ(ToSingle(Call(L"Rnd", {})), first);
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 1.0f);
}

TEST(VbsBuiltins, ArrayBounds) {
    const Array::Bound bounds[] = {{1, 3}, {0, 5}};
    const Value grid = Value::FromArray(Array::Create(bounds));
    EXPECT_EQ(Number(L"UBound", {grid}), 3);
    EXPECT_EQ(Number(L"UBound", {grid, I(2)}), 4);
    EXPECT_EQ(Number(L"LBound", {grid}), 1);
    EXPECT_EQ(ErrorOf(L"UBound", {grid, I(3)}), err::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf(L"UBound", {S(L"x")}), err::TypeMismatch);
    EXPECT_EQ(Text(L"Join", {Call(L"Array", {I(1), S(L"b")}), S(L"")}), L"1b");
}

TEST(VbsBuiltins, DateConstructionAndParts) {
    EXPECT_EQ(Text(L"DateSerial", {I(2000), I(2), I(30)}), L"3/1/2000");
    EXPECT_EQ(Text(L"DateSerial", {I(99), I(13), I(0)}), L"12/31/1999");
    EXPECT_EQ(Text(L"TimeSerial", {I(25), I(-1), I(0)}), L"12/31/1899 12:59:00 AM");
    EXPECT_EQ(Text(L"TimeSerial", {I(-1), I(0), I(0)}), L"12/29/1899 11:00:00 PM");
    EXPECT_EQ(ErrorOf(L"DateSerial", {I(10000), I(1), I(1)}), err::InvalidCall);
    const Value moment = Date(L"3/4/2001 13:05:09");
    EXPECT_EQ(Number(L"Year", {moment}), 2001);
    EXPECT_EQ(Number(L"Month", {moment}), 3);
    EXPECT_EQ(Number(L"Day", {moment}), 4);
    EXPECT_EQ(Number(L"Hour", {moment}), 13);
    EXPECT_EQ(Number(L"Minute", {moment}), 5);
    EXPECT_EQ(Number(L"Second", {S(L"1:05:09 PM")}), 9);
    EXPECT_EQ(Number(L"Weekday", {moment}), 1); // a Sunday
    EXPECT_EQ(Number(L"Weekday", {moment, I(2)}), 7);
    EXPECT_EQ(Text(L"DateValue", {moment}), L"3/4/2001");
    EXPECT_EQ(Text(L"TimeValue", {moment}), L"1:05:09 PM");
    EXPECT_EQ(Text(L"WeekdayName", {I(1), Value::Boolean(true), I(2)}), L"Mon");
    EXPECT_EQ(Text(L"MonthName", {I(12)}), L"December");
    EXPECT_EQ(ErrorOf(L"MonthName", {I(13)}), err::InvalidCall);
    EXPECT_TRUE(Call(L"Year", {Value::Null()}).IsNull());
}

TEST(VbsBuiltins, DateArithmetic) {
    EXPECT_EQ(Text(L"DateAdd", {S(L"m"), I(1), S(L"1/31/2000")}), L"2/29/2000");
    EXPECT_EQ(Text(L"DateAdd", {S(L"yyyy"), I(-1), S(L"2/29/2000")}), L"2/28/1999");
    EXPECT_EQ(Text(L"DateAdd", {S(L"h"), I(-2), S(L"1/1/2000 1:00")}), L"12/31/1999 11:00:00 PM");
    EXPECT_EQ(Text(L"DateAdd", {S(L"ww"), I(1), S(L"12/28/1999")}), L"1/4/2000");
    EXPECT_EQ(ErrorOf(L"DateAdd", {S(L"x"), I(1), S(L"1/1/2000")}), err::InvalidCall);
    EXPECT_EQ(Number(L"DateDiff", {S(L"d"), S(L"1/1/2000"), S(L"3/1/2000")}), 60);
    EXPECT_EQ(Number(L"DateDiff", {S(L"d"), S(L"3/1/2000"), S(L"1/1/2000")}), -60);
    EXPECT_EQ(Number(L"DateDiff", {S(L"yyyy"), S(L"12/31/1999"), S(L"1/1/2000")}), 1);
    EXPECT_EQ(Number(L"DateDiff", {S(L"m"), S(L"1/31/2000"), S(L"2/1/2000")}), 1);
    EXPECT_EQ(Number(L"DateDiff", {S(L"h"), S(L"1/1/2000 0:59"), S(L"1/1/2000 1:00")}), 1);
    // 1/1/2000 was a Saturday: one Sunday lies between it and 1/3.
    EXPECT_EQ(Number(L"DateDiff", {S(L"ww"), S(L"1/1/2000"), S(L"1/3/2000")}), 1);
    EXPECT_EQ(Number(L"DateDiff", {S(L"w"), S(L"1/1/2000"), S(L"1/3/2000")}), 0);
    EXPECT_EQ(Number(L"DatePart", {S(L"y"), S(L"3/1/2000")}), 61);
    EXPECT_EQ(Number(L"DatePart", {S(L"q"), S(L"8/1/2000")}), 3);
    EXPECT_EQ(Number(L"DatePart", {S(L"ww"), S(L"1/2/2000")}), 2);
    EXPECT_EQ(Number(L"DatePart", {S(L"ww"), S(L"1/2/2000"), I(1), I(3)}), 1);
    EXPECT_EQ(Number(L"DatePart", {S(L"ww"), S(L"1/1/2000"), I(2), I(2)}), 52);
}

TEST(VbsBuiltins, ClockFunctionsReadTheTestClock) {
    SetClockForTests([] { return ToDate(Value::String(L"7/4/2010 6:30:15 PM")); });
    EXPECT_EQ(Text(L"Now", {}), L"7/4/2010 6:30:15 PM");
    EXPECT_EQ(Text(L"Date", {}), L"7/4/2010");
    EXPECT_EQ(Text(L"Time", {}), L"6:30:15 PM");
    EXPECT_FLOAT_EQ(ToSingle(Call(L"Timer", {})), 66615.0f);
    SetClockForTests(nullptr);
}

TEST(VbsBuiltins, NumberFormats) {
    EXPECT_EQ(Text(L"FormatNumber", {D(1234.5), I(2)}), L"1,234.50");
    EXPECT_EQ(Text(L"FormatNumber", {D(1234567.891)}), L"1,234,567.89");
    EXPECT_EQ(Text(L"FormatNumber", {D(0.125), I(2)}), L"0.13");
    EXPECT_EQ(Text(L"FormatNumber", {D(-0.5), I(1), I(0)}), L"-.5");
    EXPECT_EQ(Text(L"FormatNumber", {D(-1234.5), I(0), I(-2), I(-1), I(0)}), L"(1235)");
    EXPECT_EQ(Text(L"FormatNumber", {D(-0.001), I(2)}), L"0.00");
    EXPECT_EQ(Text(L"FormatNumber", {D(999.996), I(2)}), L"1,000.00");
    EXPECT_EQ(Text(L"FormatNumber", {D(1e20), I(0)}), L"100,000,000,000,000,000,000");
    EXPECT_EQ(Text(L"FormatPercent", {D(0.5)}), L"50.00%");
    EXPECT_EQ(Text(L"FormatCurrency", {D(-1234.5)}), L"($1,234.50)");
    EXPECT_EQ(Text(L"FormatCurrency", {D(3), I(0), I(-2), I(0)}), L"$3");
    EXPECT_EQ(ErrorOf(L"FormatNumber", {D(1), I(-2)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"FormatNumber", {D(1), I(2), I(5)}), err::InvalidCall);
    EXPECT_EQ(ErrorOf(L"FormatNumber", {S(L"x")}), err::TypeMismatch);
}

TEST(VbsBuiltins, DateFormats) {
    const Value moment = Date(L"1/1/2000 13:05:09");
    EXPECT_EQ(Text(L"FormatDateTime", {moment}), L"1/1/2000 1:05:09 PM");
    EXPECT_EQ(Text(L"FormatDateTime", {moment, I(1)}), L"Saturday, January 1, 2000");
    EXPECT_EQ(Text(L"FormatDateTime", {moment, I(2)}), L"1/1/2000");
    EXPECT_EQ(Text(L"FormatDateTime", {moment, I(3)}), L"1:05:09 PM");
    EXPECT_EQ(Text(L"FormatDateTime", {moment, I(4)}), L"13:05");
    EXPECT_EQ(Text(L"FormatDateTime", {D(0), I(2)}), L"12/30/1899");
    EXPECT_EQ(ErrorOf(L"FormatDateTime", {moment, I(5)}), err::InvalidCall);
}
