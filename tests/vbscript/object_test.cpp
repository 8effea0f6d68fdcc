#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "nubra/ixo.h"
#include "vbscript/coerce.h"
#include "vbscript/engine.h"
#include "vbscript/host_object.h"

using namespace vbs;

namespace {

// A host object as the framework publishes them: methods and properties by name.
class Gauge : public IXO {
    ORVO_DISPATCH_MAP()

public:
    const wchar_t* GetIXOKey() const override { return L"Gauge"; }
    int Add(int n) { return level += n; }
    int Split(int whole, int& half) {
        half = whole / 2;
        return whole - half;
    }
    // Six arguments: more than a call keeps on the stack.
    int Spread(int a, int b, int c, int d, int e, int& sum) {
        sum = a + b + c + d + e;
        return 6;
    }
    IXO* Self() { return this; }
    std::wstring Caption() const { return caption; }
    void SetCaption(const std::wstring& v) { caption = v; }

    int level = 0;
    std::wstring caption;
};

ORVO_DISPATCH(Gauge,
              IXO,
              ORVO_METHOD(Add),
              ORVO_METHOD(Split),
              ORVO_METHOD(Spread),
              ORVO_METHOD(Self),
              ORVO_PROPERTY_AS(level, Level),
              ORVO_PROPERTY_EX(Caption, SetCaption, Caption))

// Adds `source` and calls its Function f; the value as text, or "error N".
std::wstring Script(Engine& engine, const std::wstring& source) {
    SyntaxError syntax;
    if (!engine.AddCode(source, &syntax))
        return L"error " + std::to_wstring(syntax.number) + L" " + syntax.description;
    Value result;
    ScriptError error{};
    if (!engine.Call(L"f", {}, &result, &error))
        return L"error " + std::to_wstring(error.number);
    return ToString(result);
}
std::wstring Script(const std::wstring& source) {
    Engine engine;
    return Script(engine, source);
}

TEST(ScriptClasses, FieldsMethodsPropertiesAndLifetime) {
    const std::wstring account =
        L"Dim log\n"
        L"Class Account\n"
        L" Private m_balance\n Public Owner\n Dim history(2)\n"
        L" Private Sub Class_Initialize(): m_balance = 100: log = log & \"i\": End Sub\n"
        L" Private Sub Class_Terminate(): log = log & \"t\" & m_balance: End Sub\n"
        L" Public Property Get Balance(): Balance = m_balance: End Property\n"
        L" Public Property Let Balance(v)\n  If v < 0 Then Err.Raise 5\n  m_balance = v\n"
        L" End Property\n"
        L" Public Function Deposit(n): Balance = Balance + n: Deposit = Me.Balance: End Function\n"
        L" Public Default Function Describe(): Describe = Owner & \":\" & m_balance: End Function\n"
        L"End Class\n";
    EXPECT_EQ(Script(account + L"Function f()\n Set a = New Account\n a.Owner = \"kim\"\n"
                               L" a.Deposit 5: x = a.Deposit(10)\n a.Balance = a.Balance * 2\n"
                               L" f = x & \"/\" & a.Balance & \"/\" & a() & \"/\" & TypeName(a)\n"
                               L"End Function"),
              L"115/230/kim:230/Account");
    // Class_Terminate runs when the last reference goes, before the next statement.
    EXPECT_EQ(Script(account + L"Function f()\n Set a = New Account: Set b = a\n Set a = Nothing\n"
                               L" log = log & \"-\"\n Set b = Nothing\n f = log\nEnd Function"),
              L"i-t100");
    // Private members are not reachable from outside; a Property Let validates.
    EXPECT_EQ(
        Script(account + L"Function f()\n Set a = New Account\n x = a.m_balance\nEnd Function"),
        L"error 438");
    EXPECT_EQ(Script(account +
                     L"Function f()\n Set a = New Account\n On Error Resume Next\n"
                     L" a.Balance = -1\n f = Err.Number & \"/\" & a.Balance\nEnd Function"),
              L"5/100");
    // Objects are shared by reference, Is compares identity.
    EXPECT_EQ(Script(account +
                     L"Function f()\n Set a = New Account: Set b = a: Set c = New Account\n"
                     L" b.Owner = \"lee\"\n f = a.Owner & (a Is b) & (a Is c) & "
                     L"(Nothing Is Nothing)\nEnd Function"),
              L"leeTrueFalseTrue");
}

TEST(ScriptClasses, SetAndLetRules) {
    // Set needs an object; a member of what is no object, Nothing included, fails.
    EXPECT_EQ(Script(L"Function f()\n Set x = 5\nEnd Function"), L"error 424");
    EXPECT_EQ(Script(L"Function f()\n Dim o: Set o = Nothing\n o.Go\nEnd Function"), L"error 424");
    EXPECT_EQ(Script(L"Function f()\n Set o = Nothing\n f = o.Value\nEnd Function"), L"error 424");
    EXPECT_EQ(Script(L"Function f()\n Set o = Nothing\n o.Value = 1\nEnd Function"), L"error 424");
    EXPECT_EQ(Script(L"Function f()\n x = 3\n x.Go\nEnd Function"), L"error 424");
    // A Function returns an object with Set; arrays hold objects with Set too.
    EXPECT_EQ(Script(L"Class C: Public V: End Class\n"
                     L"Function Make(v): Set Make = New C: Make.V = v: End Function\n"
                     L"Function f()\n Dim a(1)\n Set a(1) = Make(7)\n f = a(1).V + Make(1).V\n"
                     L"End Function"),
              L"8");
}

TEST(ScriptWith, MembersOfTheWithObject) {
    EXPECT_EQ(Script(L"Class P: Public X, Y: Public Function Sum(): Sum = X + Y: End Function\n"
                     L"End Class\nFunction f()\n Set p = New P\n With p\n  .X = 2: .Y = 5\n"
                     L"  f = .Sum()\n End With\nEnd Function"),
              L"7");
    // Outside With a leading dot compiles, and fails only when it runs.
    EXPECT_EQ(Script(L"Sub s()\n .X = 1\nEnd Sub\nFunction f()\n f = \"ok\"\nEnd Function"), L"ok");
    EXPECT_EQ(Script(L"Function f()\n .X = 1\nEnd Function"), L"error 505");
}

TEST(HostObjects, CallsPropertiesByRefAndIdentity) {
    auto gauge = std::make_unique<Gauge>();
    Engine engine;
    engine.AddNamedItem(L"Meter", HostValue(gauge.get()));
    EXPECT_EQ(Script(engine,
                     L"Function f()\n meter.Add 5\n n = Meter.Add(2)\n"
                     L" Meter.Caption = \"on\" & n\n Meter.Level = Meter.Level * 10\n"
                     L" r = Meter.Split(9, h)\n"
                     L" f = Meter.Caption & \"/\" & Meter.Level & \"/\" & r & h & \"/\" & "
                     L"(Meter.Self() Is Meter) & TypeName(Meter)\nEnd Function"),
              L"on7/70/54/TrueGauge");
    EXPECT_EQ(gauge->caption, L"on7");
    // Many arguments, one written back; members called in turn under any spelling.
    EXPECT_EQ(Script(engine,
                     L"Function f()\n n = Meter.Spread(1, 2, 3, 4, 5, s)\n Meter.Level = 0\n"
                     L" For i = 1 To 3\n  a = a & METER.add(i) & meter.Split(i * 2, h) & h\n"
                     L"  Meter.Level = 0\n Next\n f = n & \"/\" & s & \"/\" & a\nEnd Function"),
              L"6/15/111222333");
    EXPECT_EQ(Script(engine, L"Function f()\n Meter.Nope 1\nEnd Function"), L"error 438");
    EXPECT_EQ(Script(engine, L"Function f()\n Meter.Add 1, 2\nEnd Function"), L"error 450");
    EXPECT_EQ(Script(engine, L"Function f()\n Meter.Add \"x\"\nEnd Function"), L"error 13");

    // A script keeping the object after the host destroyed it gets an error, not a crash.
    ASSERT_EQ(Script(engine, L"Dim kept\nSet kept = Meter\nFunction f(): f = 1: End Function"),
              L"1");
    gauge.reset();
    EXPECT_EQ(Script(engine,
                     L"Function f()\n On Error Resume Next\n kept.Add 1\n"
                     L" f = Err.Number\nEnd Function"),
              L"424");
    EXPECT_TRUE(engine.RemoveNamedItem(L"METER"));
    EXPECT_EQ(Script(engine, L"Function f(): f = IsEmpty(Meter): End Function"), L"True");
}

TEST(HostObjects, NamedItemsAddedAfterTheScript) {
    Gauge gauge;
    Engine engine;
    // Option Explicit still lets a procedure read a name the host provides later.
    ASSERT_EQ(Script(engine,
                     L"Option Explicit\nFunction f(): f = 0: End Function\n"
                     L"Function g(): g = Late.Add(4): End Function"),
              L"0");
    engine.AddNamedItem(L"late", HostValue(&gauge));
    Value result;
    ScriptError error{};
    ASSERT_TRUE(engine.Call(L"g", {}, &result, &error)) << error.number;
    EXPECT_EQ(ToLong(result), 4);
    EXPECT_EQ(Script(engine, L"Option Explicit\nFunction f(): f = Unknown: End Function"),
              L"error 500");
}

TEST(DynamicCode, EvalExecuteAndGetRef) {
    EXPECT_EQ(Script(L"Dim g: g = 4\nFunction f(): f = Eval(\"g * 2 + 1\") & Eval(\"g = 4\"): "
                     L"End Function"),
              L"9True");
    EXPECT_EQ(
        Script(L"Function f()\n ExecuteGlobal \"Function Twice(x): Twice = x * 2: End "
               L"Function\"\n Execute \"counter = 41\"\n f = Twice(counter + 1)\nEnd Function"),
        L"84");
    EXPECT_EQ(Script(L"Function Sq(x): Sq = x * x: End Function\n"
                     L"Function f()\n Set r = GetRef(\"sq\")\n f = r(7)\nEnd Function"),
              L"49");
    // A procedure that replaces itself while running finishes its own old code.
    EXPECT_EQ(Script(L"Function f()\n ExecuteGlobal \"Function f(): f = 2: End Function\"\n"
                     L" f = 1\nEnd Function"),
              L"1");
}

TEST(DynamicCode, EvalAndExecuteSeeTheCallersScope) {
    // Locals, ByVal and ByRef parameters are read and written; ByRef writes reach the caller.
    EXPECT_EQ(
        Script(
            L"Dim g: g = 100\n"
            L"Function Calc(a, ByVal b)\n Dim n: n = 5\n Calc = Eval(\"a * 10 + b + n + g\")\n"
            L" Execute \"n = n + 1: a = 42: b = 0\"\n Calc = Calc & \",\" & n & b\nEnd Function\n"
            L"Function f()\n x = 1\n f = Calc(x, 2) & \",\" & x\nEnd Function"),
        L"117,60,42");
    // New names Execute assigns are locals of the call; ExecuteGlobal does not see locals.
    EXPECT_EQ(Script(L"Sub S()\n Dim hidden: hidden = 1\n Execute \"made = hidden + 1\"\n"
                     L" ExecuteGlobal \"seen = IsEmpty(hidden)\"\nEnd Sub\n"
                     L"Function f()\n S\n f = IsEmpty(made) & seen\nEnd Function"),
              L"TrueTrue");
    // Inside a class: private fields and methods, and Me.
    EXPECT_EQ(
        Script(L"Class K\n Private secret\n Private Sub Class_Initialize(): secret = 3: End Sub\n"
               L" Private Function Twice(v): Twice = v * 2: End Function\n"
               L" Function Peek(n): Peek = Eval(\"secret * n + Twice(n)\"): End Function\n"
               L" Sub Poke(): Execute \"secret = secret + Me.Peek(1)\": End Sub\nEnd Class\n"
               L"Function f()\n Set k = New K\n k.Poke\n f = k.Peek(1)\nEnd Function"),
        L"10");
    // Inside a function its name with arguments is still a call; runaway nesting is error 28.
    EXPECT_EQ(
        Script(L"Function Fact(n)\n If n <= 1 Then Fact = 1 Else Fact = n * Eval(\"Fact(n - 1)\")\n"
               L"End Function\nFunction f(): f = Fact(6): End Function"),
        L"720");
    EXPECT_EQ(Script(L"Function Deeper(n): Deeper = Eval(\"Deeper(n + 1)\"): End Function\n"
                     L"Function f(): f = Deeper(1): End Function"),
              L"error 28");
    // An error inside the text is the caller's to handle.
    EXPECT_EQ(Script(L"Function f()\n On Error Resume Next\n n = 1\n Execute \"n = n / 0\"\n"
                     L" f = Err.Number & \",\" & n\nEnd Function"),
              L"11,1");
}

TEST(ClassDefaults, AnInstanceUsedAsAValueIsItsDefaultProperty) {
    const std::wstring money =
        L"Class Money\n Private m_v\n Public Default Property Get Amount: Amount = m_v: End "
        L"Property\n Public Property Let Amount(v): m_v = v: End Property\nEnd Class\n"
        L"Class Plain\nEnd Class\n";
    // Operators (fused and on the stack), Let, conditions, Select Case and built-ins.
    EXPECT_EQ(Script(money +
                     L"Function f()\n Set a = New Money: a.Amount = 40\n"
                     L" Set b = New Money: b.Amount = 2\n x = a: y = a + 1\n"
                     L" f = x & TypeName(x) & \",\" & (a + b) & \",\" & (a * b - 1) & \",\" & "
                     L"-a & \",\" & (a > b) & \",\" & Len(a) & CStr(b) & \",\" & y\n"
                     L" If a = 40 Then f = f & \",eq\"\n If b Then f = f & \",true\"\n"
                     L" Select Case a\n Case 40: f = f & \",case\"\n End Select\n"
                     L" Dim arr(0): arr(0) = a: f = f & \",\" & TypeName(arr(0))\nEnd Function"),
              L"40Integer,42,79,-40,True,22,41,eq,true,case,Integer");
    // The operators without a fast form resolve instances too, all but Is.
    EXPECT_EQ(
        Script(money +
               L"Function f()\n Set a = New Money: a.Amount = 40\n"
               L" Set b = New Money: b.Amount = 8\n"
               L" f = (a / b) & \",\" & (a \\ b) & \",\" & (a Mod 3) & \",\" & (b ^ 2) & "
               L"\",\" & (a And b) & \",\" & (a Or b) & \",\" & (a Xor b) & \",\" & (Not b) & "
               L"\",\" & (a & b) & \",\" & (a Is b)\nEnd Function"),
        L"5,5,1,64,8,40,32,-9,408,False");
    // The object itself where the object is asked about or kept.
    EXPECT_EQ(Script(money +
                     L"Function f()\n Set a = New Money: a.Amount = 1\n"
                     L" Set d = CreateObject(\"Scripting.Dictionary\"): d.Add \"k\", a\n"
                     L" f = TypeName(a) & IsObject(a) & TypeName(d(\"k\")) & (a Is d(\"k\"))\n"
                     L"End Function"),
              L"MoneyTrueMoneyTrue");
    // No default property: 438, trappable; an error inside the property reaches the caller.
    EXPECT_EQ(Script(money +
                     L"Function f()\n On Error Resume Next\n Set p = New Plain\n"
                     L" x = p: f = Err.Number: Err.Clear\n x = p + 1: f = f & \",\" & Err.Number\n"
                     L"End Function"),
              L"438,438");
    EXPECT_EQ(
        Script(L"Class Bad\n Public Default Function V(): V = 1 / 0: End Function\nEnd Class\n"
               L"Function f()\n On Error Resume Next\n Set o = New Bad\n x = o + 1\n"
               L" f = Err.Number & \",\" & IsEmpty(x)\nEnd Function"),
        L"11,True");
    // A property that uses itself as a value runs out of stack, not the process.
    EXPECT_EQ(Script(L"Class Selfish\n Public Default Property Get V: V = Me + 1: End Property\n"
                     L"End Class\nFunction f()\n Set o = New Selfish\n f = o * 2\nEnd Function"),
              L"error 28");
}

TEST(NamedConstants, ReadLikeLiteralsAndPassByValue) {
    // MsgBox without a box answers OK (1).
    EXPECT_EQ(Script(L"Sub Touch(x): x = 1: End Sub\n"
                     L"Function f()\n Touch vbCrLf\n f = Len(\"a\" & vbCrLf & \"b\") & VbTab & "
                     L"vbTextCompare & (vbObjectError + 1) & VarType(vbLong) & "
                     L"MsgBox(\"q\", vbYesNo)\nEnd Function"),
              L"4\t1-2147221503"
              L"21");
}

} // namespace
