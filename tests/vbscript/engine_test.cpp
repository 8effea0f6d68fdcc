#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbscript/coerce.h"
#include "vbscript/engine.h"

using namespace vbs;

namespace {

// Runs `source`, then calls its Function f without arguments.
Value Result(const std::wstring& source) {
    Engine engine;
    SyntaxError syntax;
    EXPECT_TRUE(engine.AddCode(source, &syntax))
        << std::string(syntax.description.begin(), syntax.description.end());
    Value result;
    ScriptError error{};
    EXPECT_TRUE(engine.Call(L"f", {}, &result, &error)) << error.number;
    return result;
}

std::wstring Text(const std::wstring& source) {
    return ToString(Result(source));
}

// The run-time error number calling f ends with, 0 when it succeeds.
int ErrorOf(Engine& engine, const std::wstring& source) {
    SyntaxError syntax;
    EXPECT_TRUE(engine.AddCode(source, &syntax));
    ScriptError error{};
    Value result;
    return engine.Call(L"f", {}, &result, &error) ? 0 : error.number;
}
int ErrorOf(const std::wstring& source) {
    Engine engine;
    return ErrorOf(engine, source);
}

TEST(EngineLoops, AllFormsCountAndExit) {
    EXPECT_EQ(
        Text(L"Function f()\n For i = 10 To 1 Step -3: f = f & i & \",\": Next\nEnd Function"),
        L"10,7,4,1,");
    // The bounds are read once: changing them inside the loop does not matter.
    EXPECT_EQ(ToLong(Result(L"Function f()\n n = 3\n For i = 1 To n: n = 10: f = f + 1: Next\n"
                            L"End Function")),
              3);
    EXPECT_EQ(Text(L"Function f()\n i = 0\n Do While i < 3: i = i + 1: f = f & i: Loop\n"
                   L" Do: i = i - 1: f = f & i: Loop Until i = 0\n"
                   L" Do Until i = 2: i = i + 1: Loop\n Do: i = i + 1: Loop While i < 0\n"
                   L" While i < 5: i = i + 1: Wend\n f = f & i\nEnd Function"),
              L"1232105");
    EXPECT_EQ(Text(L"Function f()\n For i = 1 To 5\n  Do\n   If i = 2 Then Exit Do\n   f = f & i\n"
                   L"   Exit Do\n  Loop\n  If i = 4 Then Exit For\n Next\n f = f & \"/\" & i\n"
                   L"End Function"),
              L"134/4");
    EXPECT_EQ(Text(L"Function f()\n Dim a(2)\n a(0) = \"x\": a(1) = \"y\": a(2) = \"z\"\n"
                   L" For Each v In a: f = f & v: Next\nEnd Function"),
              L"xyz");
}

TEST(EngineSelect, ValuesListsRangesAndIs) {
    const std::wstring classify =
        L"Function c(x)\n Select Case x\n Case 1, 2: c = \"small\"\n Case 3 To 5: c = \"mid\"\n"
        L" Case \"a\": c = \"letter\"\n Case Is > 100: c = \"big\"\n Case Else: c = \"other\"\n"
        L" End Select\nEnd Function\n"
        L"Function f()\n f = c(2) & c(4) & c(101) & c(\"a\") & c(50)\nEnd Function";
    EXPECT_EQ(Text(classify), L"smallmidbigletterother");
}

TEST(EngineCalls, ByRefByValAndParentheses) {
    const std::wstring source =
        L"Sub Swap(a, b)\n t = a: a = b: b = t\nEnd Sub\n"
        L"Sub Bump(ByVal a, ByRef b)\n a = a + 1: b = b + 1\nEnd Sub\n"
        L"Function f()\n x = 1: y = 2\n Swap x, y\n Bump x, y\n Bump 0, (x)\n Call Bump(x, y)\n"
        L" f = x & y\nEnd Function";
    EXPECT_EQ(Text(source), L"23");

    Engine engine;
    ASSERT_TRUE(engine.AddCode(L"Sub Twice(n)\n n = n * 2\nEnd Sub", nullptr));
    std::vector<Value> args{Value::Long(21)};
    ASSERT_TRUE(engine.Call(L"twice", args, nullptr, nullptr));
    EXPECT_EQ(ToLong(args[0]), 42);
    ScriptError error{};
    EXPECT_FALSE(engine.Call(L"Twice", {}, nullptr, &error));
    EXPECT_EQ(error.number, 450);
    EXPECT_FALSE(engine.Call(L"Missing", {}, nullptr, &error));
    EXPECT_EQ(error.number, 35);
}

TEST(EngineCalls, ArrayElementsGoByReference) {
    // Elements of one- and two-dimensional arrays, in local, global and copied arrays.
    EXPECT_EQ(
        Text(L"Dim g(1)\nSub Swap(a, b)\n t = a: a = b: b = t\nEnd Sub\n"
             L"Sub Bump(ByVal a, ByRef b)\n a = a + 1: b = b + 1\nEnd Sub\n"
             L"Function f()\n Dim a(2), m(1, 1)\n a(0) = \"x\": a(2) = \"z\"\n Swap a(0), a(2)\n"
             L" m(1, 0) = 5: Bump m(1, 0), m(1, 0)\n g(1) = 1: Bump 0, g(1): Bump g(1), (g(1))\n"
             L" c = a: Swap c(0), c(1)\n"
             L" f = a(0) & a(2) & m(1, 0) & g(1) & \"|\" & c(1) & a(1)\nEnd Function"),
        L"zx62|z");
    // The callee sees its own writes through the array as well as through the parameter.
    EXPECT_EQ(Text(L"Dim a(1)\nSub Touch(x)\n x = 7: a(1) = a(1) & \"!\"\nEnd Sub\n"
                   L"Function f()\n Touch a(1)\n f = a(1)\nEnd Function"),
              L"7!");
    // While an element is out by reference its array cannot be re-dimensioned or erased.
    EXPECT_EQ(ErrorOf(L"Dim a()\nSub Grow(x)\n ReDim Preserve a(5)\nEnd Sub\n"
                      L"Function f()\n ReDim a(1)\n Grow a(0)\nEnd Function"),
              10);
    EXPECT_EQ(ErrorOf(L"Dim a()\nSub Drop(x)\n Erase a\nEnd Sub\n"
                      L"Function f()\n ReDim a(1)\n Drop a(0)\nEnd Function"),
              10);
    // ...but is free again once the call returns, also after an error, and when the element
    // went to a ByVal parameter.
    EXPECT_EQ(
        Text(L"Dim a()\nSub Fail(x)\n x = 1 / 0\nEnd Sub\nSub Grow(ByVal x)\n"
             L" ReDim Preserve a(3)\nEnd Sub\n"
             L"Function f()\n ReDim a(1)\n On Error Resume Next\n Fail a(0)\n"
             L" On Error GoTo 0\n ReDim Preserve a(2)\n Grow a(0)\n f = UBound(a)\nEnd Function"),
        L"3");
    // Replacing the whole array inside the call leaves the parameter writing to the old one.
    EXPECT_EQ(Text(L"Dim a\nSub Swap(x)\n a = Array(9, 9): x = 1\nEnd Sub\n"
                   L"Function f()\n a = Array(0, 0)\n Swap a(0)\n f = a(0) & a(1)\nEnd Function"),
              L"99");
    // A bad subscript is error 9; an object's default member goes by value.
    EXPECT_EQ(ErrorOf(L"Sub S(x)\nEnd Sub\nFunction f()\n Dim a(1)\n S a(2)\nEnd Function"), 9);
    EXPECT_EQ(Text(L"Sub Bump(x)\n x = x + 1\nEnd Sub\n"
                   L"Function f()\n Set d = CreateObject(\"Scripting.Dictionary\")\n d(\"k\") = 1\n"
                   L" Bump d(\"k\")\n f = d(\"k\")\nEnd Function"),
              L"1");
}

TEST(EngineCalls, RecursionAndScopesAcrossAddCode) {
    EXPECT_EQ(ToLong(Result(
                  L"Function fib(n)\n If n < 2 Then fib = n Else fib = fib(n - 1) + fib(n - 2)\n"
                  L"End Function\nFunction f()\n f = fib(20)\nEnd Function")),
              6765);
    Engine engine;
    ASSERT_TRUE(engine.AddCode(
        L"Dim total\ntotal = 5\nFunction f()\n f = Later(total)\nEnd Function", nullptr));
    EXPECT_FALSE(engine.HasFunction(L"Later"));
    ScriptError error{};
    EXPECT_FALSE(engine.Call(L"f", {}, nullptr, &error));
    EXPECT_EQ(error.number, 13);
    ASSERT_TRUE(engine.AddCode(L"Function Later(x)\n Later = x * total\nEnd Function", nullptr));
    EXPECT_TRUE(engine.HasFunction(L"LATER"));
    Value result;
    ASSERT_TRUE(engine.Call(L"F", {}, &result, &error));
    EXPECT_EQ(ToLong(result), 25);
}

TEST(EngineCalls, ScopesExitAndReplacement) {
    Engine engine;
    ASSERT_TRUE(engine.AddCode(
        L"g = \"global\"\n"
        L"Sub SetLocal\n g2 = 1\n Dim g\n g = \"shadow\"\nEnd Sub\n"
        L"Function Early(ByVal n)\n Early = \"set\"\n n = 0\n If n = 0 Then Exit Function\n"
        L" Early = \"late\"\nEnd Function\n"
        L"Function f()\n SetLocal\n f = g & g2 & Early(5)\nEnd Function",
        nullptr));
    Value result;
    ASSERT_TRUE(engine.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"globalset");
    std::vector<Value> args{Value::Long(5)};
    ASSERT_TRUE(engine.Call(L"Early", args, &result, nullptr));
    EXPECT_EQ(ToLong(args[0]), 5);
    ASSERT_TRUE(engine.AddCode(L"Function Early(n)\n Early = \"new\"\nEnd Function", nullptr));
    ASSERT_TRUE(engine.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"globalnew");
}

TEST(EngineArrays, DimReDimPreserveAndBounds) {
    EXPECT_EQ(Text(L"Function f()\n Dim g(1, 2)\n g(1, 2) = 7\n ReDim a(1)\n a(0) = 3: a(1) = 4\n"
                   L" ReDim Preserve a(2)\n a(2) = g(1, 2)\n f = a(0) & a(1) & a(2) & g(0, 0)\n"
                   L"End Function"),
              L"347");
    EXPECT_EQ(Text(L"Function f()\n ReDim g(1, 1)\n g(1, 0) = \"a\": g(1, 1) = \"b\"\n"
                   L" ReDim Preserve g(1, 2)\n g(1, 2) = \"c\"\n"
                   L" f = g(1, 0) & g(1, 1) & g(1, 2) & g(0, 2)\nEnd Function"),
              L"abc");
    EXPECT_EQ(ErrorOf(L"Function f()\n x = 1\n f = x(0)\nEnd Function"), 13);
}

TEST(EngineErrors, RuntimeErrorNumbersAndLines) {
    EXPECT_EQ(ErrorOf(L"Function f()\n f = 1 / 0\nEnd Function"), 11);
    EXPECT_EQ(ErrorOf(L"Function f()\n f = \"abc\" * 2\nEnd Function"), 13);
    EXPECT_EQ(ErrorOf(L"Sub s\nEnd Sub\nFunction f()\n s = 1\nEnd Function"), 501);

    Engine engine;
    SyntaxError failure;
    EXPECT_FALSE(engine.AddCode(L"x = 1\ny = x \\ 0\n", &failure));
    EXPECT_EQ(failure.number, 11);
    EXPECT_EQ(failure.line, 2);
    EXPECT_EQ(failure.sourceLine, L"y = x \\ 0");
    EXPECT_FALSE(engine.AddCode(L"If x Then\n", &failure));
    EXPECT_GT(failure.number, 1000);
}

TEST(EngineErrors, OnErrorResumeNextAndErr) {
    EXPECT_EQ(Text(L"Function f()\n On Error Resume Next\n x = 1 / 0\n f = Err.Number & \",\"\n"
                   L" Err.Clear\n f = f & Err.Number & \",\"\n Err.Raise 1234, \"me\", \"custom\"\n"
                   L" f = f & Err.Number & Err.Description & Err.Source\nEnd Function"),
              L"11,0,1234customme");
    // An error in a callee without a handler ends the callee and resumes in the caller.
    EXPECT_EQ(Text(L"Sub Fail\n x = \"a\" - 1\n failed = \"no\"\nEnd Sub\n"
                   L"Function f()\n On Error Resume Next\n Fail\n f = \"after \" & Err.Number\n"
                   L"End Function"),
              L"after 13");
    // A failing header resumes into the body; a failed For Each runs its body once.
    EXPECT_EQ(Text(L"Function f()\n On Error Resume Next\n If 1 / 0 Then f = \"in\"\n"
                   L" For Each v In 5: f = f & \"+\": Next\nEnd Function"),
              L"in+");
    // So does a loop test that fails on a later pass (While and Do While alike).
    EXPECT_EQ(Text(L"Function f()\n On Error Resume Next\n i = 0\n"
                   L" While 1 / (2 - i) > 0: i = i + 1: f = f & i: Wend\n j = 0\n"
                   L" Do While 1 / (1 - j) > 0: j = j + 1: f = f & \"j\" & j: Loop\nEnd Function"),
              L"123j1j2");
    // On Error GoTo 0 turns handling off again.
    EXPECT_EQ(ErrorOf(L"Function f()\n On Error Resume Next\n On Error GoTo 0\n f = 1 / 0\n"
                      L"End Function"),
              11);
    EXPECT_EQ(ErrorOf(L"Function f()\n Err.Raise 5\nEnd Function"), 5);
}

TEST(EngineLimits, DepthAndStepBudget) {
    Engine engine;
    engine.SetLimits(100'000, 50);
    const std::wstring deep = L"Function d(n)\n If n > 0 Then d = d(n - 1) + 1\nEnd Function\n"
                              L"Function f()\n f = d(DEPTH)\nEnd Function";
    auto withDepth = [&](int depth) {
        std::wstring source = deep;
        source.replace(source.find(L"DEPTH"), 5, std::to_wstring(depth));
        return source;
    };
    EXPECT_EQ(ErrorOf(engine, withDepth(40)), 0);
    EXPECT_EQ(ErrorOf(engine, withDepth(60)), 28);

    EXPECT_EQ(ErrorOf(engine, L"Function f()\n Do: Loop\nEnd Function"), kStepLimitError);
    // The budget is not an error a script can swallow.
    EXPECT_EQ(ErrorOf(engine,
                      L"Function f()\n On Error Resume Next\n Do: x = 1 / 0: Loop\n"
                      L"End Function"),
              kStepLimitError);
    // Each host call starts with a fresh budget.
    EXPECT_EQ(ErrorOf(engine, withDepth(10)), 0);
}

TEST(EngineOperators, ArithmeticKeepsTheLanguagesSubtypes) {
    const auto typeOf = [](const wchar_t* expression) {
        const Value v =
            Result(std::wstring(L"Function f()\n x = 32767: y = 2147483647: z = 0.5\n f = ") +
                   expression + L"\nEnd Function");
        return std::make_pair(v.Type(), ToDouble(v));
    };
    EXPECT_EQ(typeOf(L"x - 1"), std::make_pair(VarType::Integer, 32766.0));
    EXPECT_EQ(typeOf(L"x + 1"), std::make_pair(VarType::Long, 32768.0));
    EXPECT_EQ(typeOf(L"y + 1"), std::make_pair(VarType::Double, 2147483648.0));
    EXPECT_EQ(typeOf(L"x - z"), std::make_pair(VarType::Double, 32766.5));
    EXPECT_EQ(typeOf(L"x < y"), std::make_pair(VarType::Boolean, -1.0));
}

TEST(EngineOperators, LiteralComparisonAndConcat) {
    EXPECT_EQ(
        Text(L"Function f()\n x = \"10\"\n f = (x = 10) & (x = \"10\") & (-x = -10)\nEnd Function"),
        L"TrueTrueTrue");
    EXPECT_EQ(Text(L"Function f()\n For i = 1 To 3: s = s & i: Next\n f = s & Null\nEnd Function"),
              L"123");
    // Appending to itself: the operands see the value from before the statement.
    EXPECT_EQ(Text(L"Function f()\n s = \"ab\"\n s = s & \"-\" & s\n t = 1\n t = t & 2 & Null\n"
                   L" Dim a(0)\n On Error Resume Next\n t = t & a\n f = s & t\nEnd Function"),
              L"ab-ab12");
}

} // namespace
