// The RegExp object as scripts use it: its properties and their defaults, Test, Execute and
// Replace with and without Global, the pattern rules PCRE2 is set up for, and the errors a
// bad or runaway pattern gives.
#include <chrono>

#include "semantics_case.h"

namespace {

using semantics::Case;
using semantics::ExpectAll;

// Every body starts with a fresh `r`.
const wchar_t* const kPrelude = L"Dim r";

std::wstring WithRegExp(const wchar_t* body) {
    return std::wstring(L"Set r = New RegExp\n") + body;
}

template <std::size_t N> void ExpectAllWithRegExp(const Case (&cases)[N]) {
    for (const Case& c : cases) {
        const std::wstring body = WithRegExp(c.body);
        const std::wstring fast = semantics::Answer(kPrelude, body, true);
        EXPECT_EQ(semantics::Narrow(fast), semantics::Narrow(c.expected))
            << semantics::Narrow(c.body);
        EXPECT_EQ(semantics::Narrow(semantics::Answer(kPrelude, body, false)),
                  semantics::Narrow(fast))
            << "without fast paths: " << semantics::Narrow(c.body);
    }
}

TEST(RegExpSemantics, PropertiesAndTheirDefaults) {
    ExpectAllWithRegExp({
        {L"f = \"[\" & r.Pattern & \"]\" & r.IgnoreCase & r.Global & r.Multiline & TypeName(r)",
         L"[]FalseFalseFalseIRegExp2"},
        {L"r.Pattern = 12 : r.Global = 1 : r.IgnoreCase = \"True\" : r.MULTILINE = -1\n"
         L"f = r.pattern & r.Global & r.IgnoreCase & r.Multiline",
         L"12TrueTrueTrue"},
        {L"Set q = New regexp : q.Pattern = \"a\" : f = r.Pattern & \"|\" & q.Pattern", L"|a"},
        {L"f = r.Nothing", L"error 438"},
        {L"r.Test = 1", L"error 450"},
        {L"f = r.Test()", L"error 450"},
        {L"f = r.Replace(\"a\")", L"error 450"},
    });
    // A script's own class of the name is the one New makes.
    const Case own[] = {{L"Set r = New RegExp : f = r.Own", L"mine"}};
    ExpectAll(own,
              L"Class RegExp\nPublic Own\nSub Class_Initialize : Own = \"mine\" : End Sub\n"
              L"End Class");
}

TEST(RegExpSemantics, TestFollowsThePatternAndItsOptions) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"^\\d{3}-\\d{4}$\"\n"
         L"f = r.Test(\"555-1234\") & r.Test(\"555-12345\") & r.Test(\"x555-1234\")",
         L"TrueFalseFalse"},
        // The compiled pattern is dropped when the pattern or a flag changes.
        {L"r.Pattern = \"abc\" : a = r.Test(\"xABCx\") : r.IgnoreCase = True\n"
         L"b = r.Test(\"xABCx\") : r.Pattern = \"z\" : f = a & b & r.Test(\"xABCx\")",
         L"FalseTrueFalse"},
        {L"r.Pattern = \"ÄΣ\" : r.IgnoreCase = True : f = r.Test(\"xäσ\") & r.Test(\"ÄS\")",
         L"TrueFalse"},
        {L"f = r.Test(\"\") & r.Test(\"abc\")", L"TrueTrue"},
        {L"r.Pattern = \"a.b\" : f = r.Test(\"a\" & vbLf & \"b\") & r.Test(\"a-b\")", L"FalseTrue"},
        // \w and \d stay ASCII, \u and \x read code points.
        {L"r.Pattern = \"^\\w+$\" : f = r.Test(\"삼성\") & r.Test(\"ab_1\")", L"FalseTrue"},
        {L"r.Pattern = \"\\u00e9\\x41\" : f = r.Test(\"éA\")", L"True"},
        {L"r.Pattern = \"(a)?b\\1c\" : f = r.Test(\"bc\")", L"True"},
    });
}

TEST(RegExpSemantics, MultilineDecidesWhereLinesBeginAndEnd) {
    ExpectAllWithRegExp({
        {L"s = \"a\" & vbLf & \"b\" & vbLf & \"c\" : r.Pattern = \"^b$\" : a = r.Test(s)\n"
         L"r.Multiline = True : f = a & r.Test(s)",
         L"FalseTrue"},
        {L"r.Pattern = \"b$\" : a = r.Test(\"ab\" & vbLf) : r.Multiline = True\n"
         L"f = a & r.Test(\"ab\" & vbLf) & r.Test(\"ab\" & vbCrLf & \"c\")",
         L"FalseTrueTrue"},
        {L"r.Pattern = \"^\\w\" : r.Global = True : r.Multiline = True\n"
         L"For Each m In r.Execute(\"one\" & vbCrLf & \"two\" & vbCr & \"three\")\n"
         L"f = f & m & m.FirstIndex : Next",
         L"o0t5t9"},
    });
}

TEST(RegExpSemantics, ExecuteListsMatchesWithTheirPlaces) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"\\d+\" : Set m = r.Execute(\"a12b345c6\")\n"
         L"f = m.Count & \":\" & m(0) & \"@\" & m(0).FirstIndex & \",\" & m(0).Length",
         L"1:12@1,2"},
        {L"r.Pattern = \"\\d+\" : r.Global = True : Set m = r.Execute(\"a12b345c6\")\n"
         L"f = m.Count & m(1).Value & m.Item(2).FirstIndex",
         L"33458"},
        {L"r.Pattern = \"\\d+\" : r.Global = True\n"
         L"For Each x In r.Execute(\"a12b345c6\") : f = f & x.FirstIndex & \"=\" & x & \";\" : "
         L"Next",
         L"1=12;4=345;8=6;"},
        {L"r.Pattern = \"z\" : Set m = r.Execute(\"abc\") : f = m.Count\n"
         L"For Each x In m : f = \"walked\" : Next",
         L"0"},
        {L"r.Pattern = \"z\" : f = r.Execute(\"abc\")(0)", L"error 5"},
        {L"r.Pattern = \"b\" : Set m = r.Execute(\"abc\") : f = m(-1)", L"error 5"},
        {L"r.Pattern = \"b\" : Set m = r.Execute(\"abc\")\n"
         L"f = TypeName(m) & TypeName(m(0)) & TypeName(m(0).SubMatches)",
         L"IMatchCollection2IMatch2ISubMatches"},
        // Matches keep what was found after the RegExp changes.
        {L"r.Pattern = \"b+\" : Set m = r.Execute(\"abbc\") : r.Pattern = \"z\" : f = m(0) & "
         L"m.Count",
         L"bb1"},
        {L"r.Pattern = \"전자\" : s = \"삼성전자\" : Set m = r.Execute(s)\n"
         L"f = m(0).FirstIndex & (InStr(s, \"전자\") - 1) & m(0).Length",
         L"222"},
        {L"r.Pattern = \"b\" : f = r.Execute(\"a\" & Chr(0) & \"b\")(0).FirstIndex", L"2"},
    });
}

TEST(RegExpSemantics, SubMatchesHoldGroupsAndEmptyForUnmatched) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"(\\w+)@(\\w+)(\\.com)?\" : Set m = r.Execute(\"mail bob@example "
         L"now\")(0)\n"
         L"f = m.SubMatches.Count & m.SubMatches(0) & m.SubMatches.Item(1) & "
         L"TypeName(m.SubMatches(2)) & m",
         L"3bobexampleEmptybob@example"},
        {L"r.Pattern = \"(a)(x)?(c)\" : Set m = r.Execute(\"abac\")(0)\n"
         L"For Each g In m.SubMatches : f = f & \"[\" & g & \"]\" & IsEmpty(g) : Next",
         L"[a]False[]True[c]False"},
        {L"r.Pattern = \"abc\" : f = r.Execute(\"abc\")(0).SubMatches.Count", L"0"},
        {L"r.Pattern = \"(a)\" : f = r.Execute(\"a\")(0).SubMatches(1)", L"error 5"},
        {L"r.Pattern = \"(a)\" : Set m = r.Execute(\"a\")(0) : f = m.SubMatches Is m.SubMatches",
         L"True"},
    });
}

TEST(RegExpSemantics, ReplaceFirstOrEveryMatch) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"o\" : a = r.Replace(\"foo boo\", \"0\") : r.Global = True\n"
         L"f = a & \"|\" & r.Replace(\"foo boo\", \"0\")",
         L"f0o boo|f00 b00"},
        {L"r.Pattern = \"삼성(\\S+)\" : r.Global = True\n"
         L"f = r.Replace(\"삼성전자 삼성물산 LG\", \"[$1]\")",
         L"[전자] [물산] LG"},
        {L"r.Pattern = \"z\" : f = r.Replace(\"abc\", \"$&$&\")", L"abc"},
        {L"r.Pattern = \"B\" : r.IgnoreCase = True : r.Global = True\n"
         L"f = r.Replace(\"abcb\", \"-\")",
         L"a-c-"},
    });
}

TEST(RegExpSemantics, ReplacementDollarForms) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"(\\w+) (\\w+)\" : f = r.Replace(\"hello big world\", \"$2 $1\")",
         L"big hello world"},
        {L"r.Pattern = \"b\" : f = r.Replace(\"abc\", \"[$&]\")", L"a[b]c"},
        {L"r.Pattern = \"b\" : f = r.Replace(\"abc\", \"<$`|$'>\")", L"a<a|c>c"},
        {L"r.Pattern = \"b\" : f = r.Replace(\"abc\", \"$$1\")", L"a$1c"},
        // A `$` that names nothing is kept as it is.
        {L"r.Pattern = \"(b)\" : f = r.Replace(\"abc\", \"$2$0$x$\")", L"a$2$0$x$c"},
        {L"r.Pattern = \"(x)?b\" : f = r.Replace(\"abc\", \"[$1]\")", L"a[]c"},
        {L"r.Pattern = \"b\" : s = String(20, \"a\") & \"b\" & String(30, \"c\")\n"
         L"t = r.Replace(s, \"$'$`\") : f = Len(t) & (t = String(20, \"a\") & String(30, \"c\") & "
         L"String(20, \"a\") & String(30, \"c\"))",
         L"100True"},
        // Two digits when that group exists, else one digit and the next is text.
        {L"r.Pattern = \"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\"\n"
         L"f = r.Replace(\"abcdefghij\", \"$10-$1-$01-$11\")",
         L"j-a-a-a1"},
    });
}

TEST(RegExpSemantics, EmptyMatchesMoveOn) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"x*\" : r.Global = True : f = r.Replace(\"abc\", \"-\")", L"-a-b-c-"},
        {L"r.Pattern = \"x*\" : f = r.Replace(\"abc\", \"-\")", L"-abc"},
        {L"r.Pattern = \"a*\" : r.Global = True : f = r.Replace(\"aab\", \"-\")", L"--b-"},
        {L"r.Pattern = \"\\b\" : r.Global = True : f = r.Replace(\"ab cd\", \"|\")", L"|ab| |cd|"},
        {L"r.Pattern = \"x*\" : r.Global = True\n"
         L"For Each m In r.Execute(\"abc\") : f = f & m.FirstIndex & m.Length : Next",
         L"00102030"},
        {L"r.Pattern = \"\" : r.Global = True : f = r.Execute(\"\").Count", L"1"},
    });
}

TEST(RegExpSemantics, BadPatternsAndTextGiveScriptErrors) {
    ExpectAllWithRegExp({
        {L"r.Pattern = \"a(b\" : f = r.Test(\"ab\")", L"error 5017"},
        {L"r.Pattern = \"*\" : f = r.Execute(\"\")", L"error 5017"},
        {L"r.Pattern = \"[z-a]\" : f = r.Replace(\"a\", \"b\")", L"error 5017"},
        // The pattern is read when it is used, not when it is set.
        {L"r.Pattern = \"(\" : f = r.Pattern", L"("},
        {L"r.Pattern = \"(\" : On Error Resume Next : x = r.Test(\"a\")\n"
         L"f = Err.Number & Err.Description : On Error GoTo 0 : r.Pattern = \"a\" : f = f & "
         L"r.Test(\"a\")",
         L"5017Syntax error in regular expressionTrue"},
        {L"r.Pattern = \"a\" & ChrW(&HD800) : f = r.Test(\"a\")", L"error 5017"},
        // A lone surrogate in the text is a barrier no match crosses.
        {L"r.Pattern = \".\" : r.Global = True : f = r.Execute(\"a\" & ChrW(&HD800) & \"b\").Count",
         L"2"},
        {L"r.Pattern = \"a\" : f = r.Test(Null)", L"error 94"},
    });
}

TEST(RegExpSemantics, RunawayBacktrackingStopsWithAnErrorQuickly) {
    const auto start = std::chrono::steady_clock::now();
    ExpectAllWithRegExp({
        {L"r.Pattern = \"^(a+)+$\" : f = r.Test(String(5000, \"a\") & \"!\")", L"error 28"},
        // PCRE2 sees there is no "b" to find before it backtracks at all.
        {L"r.Pattern = \"(a+)+b\" : f = r.Test(String(5000, \"a\"))", L"False"},
        {L"r.Pattern = \"(a|aa)+c\" : r.Global = True : f = r.Replace(String(60, \"a\") & \"c\", "
         L"\"x\")",
         L"x"},
        {L"r.Pattern = \"(x+x+)+y\" : f = r.Test(String(40, \"x\") & \"y\" & String(40, \"x\"))",
         L"True"},
        {L"r.Pattern = \"(\\w+\\s?)*$\" : r.Global = True : On Error Resume Next\n"
         L"Set m = r.Execute(String(40, \"a\") & \"!\") : f = Err.Number",
         L"28"},
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
