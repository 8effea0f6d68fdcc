#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nubra/ixo.h"
#include "vbscript/coerce.h"
#include "vbscript/engine.h"
#include "vbscript/host_object.h"

using namespace vbs;

namespace {

// A host object as a screen registers it: a few methods and properties by name. Spawn
// registers another named item from inside a script call, as building a sub-screen does.
class Lamp : public IXO {
    ORVO_DISPATCH_MAP()

public:
    const wchar_t* GetIXOKey() const override { return L"Lamp"; }
    int Add(int n) { return level += n; }
    bool IsSame(IXO* other) { return other == this; }
    int Spawn(const std::wstring& name) {
        engine->AddNamedItem(name, HostValue(spawned));
        return 1;
    }

    int level = 0;
    std::wstring caption;
    Engine* engine = nullptr;
    Lamp* spawned = nullptr;
};

ORVO_DISPATCH(Lamp,
              IXO,
              ORVO_METHOD(Add),
              ORVO_METHOD(IsSame),
              ORVO_METHOD(Spawn),
              ORVO_PROPERTY_AS(level, Level),
              ORVO_PROPERTY_AS(caption, Caption))

// A collection the host hands to scripts, for For Each.
class Bag : public Object {
public:
    std::vector<Value> Items() override {
        return {Value::String(L"a"), Value::String(L"b"), Value::String(L"c")};
    }
};

// Shared by every case: procedures that report what their parameter received, and a class
// whose method is the first to use the item.
const std::wstring kHelpers =
    L"Dim seen\n"
    L"Sub TakeRef(x) : seen = TypeName(x) : End Sub\n"
    L"Sub TakeVal(ByVal x) : seen = TypeName(x) : End Sub\n"
    L"Function KindOf(x) : KindOf = TypeName(x) : End Function\n"
    L"Sub Fill(x) : x = 42 : End Sub\n"
    L"Class Holder\n"
    L" Public Function Kind() : TakeRef Box2 : Kind = seen & \"/\" & Box2.Level : End Function\n"
    L"End Class\n"
    L"Class Count : Public Default Property Get N : N = 5 : End Property : End Class\n";

struct Case {
    const char* what;
    const wchar_t* body; // sets r; Box1 and Box2 are Lamps, Bag a collection
    const wchar_t* expected;
};

const Case kFirstUses[] = {
    {"ByRef argument", L"TakeRef Box2 : r = seen", L"Lamp"},
    {"ByVal argument", L"TakeVal Box2 : r = seen", L"Lamp"},
    {"argument of a function", L"r = KindOf(Box2)", L"Lamp"},
    {"parenthesised argument", L"TakeRef (Box2) : r = seen", L"Lamp"},
    {"argument with Call", L"Call TakeRef(Box2) : r = seen", L"Lamp"},
    {"argument, then used again",
     L"TakeRef Box2 : Box2.Add 3 : r = seen & \"/\" & Box2.Level",
     L"Lamp/3"},
    {"argument of a host method",
     L"r = Box1.IsSame(Box2) & \"/\" & Box2.IsSame(Box2)",
     L"False/True"},
    // A script instance reaches the host as its default property's value.
    {"instance with a default, to a host method",
     L"Set c = New Count : r = Box2.Add(c) & \"/\" & Box2.Add(c)",
     L"5/10"},
    {"right of Set", L"Set o = Box2 : o.Add 2 : r = TypeName(o) & \"/\" & Box2.Level", L"Lamp/2"},
    {"With", L"With Box2 : .Caption = \"w\" : r = .Caption : End With", L"w"},
    {"For Each", L"For Each v In Bag : r = r & v : Next", L"abc"},
    {"member call target", L"r = Box2.Add(2) & \"/\" & Box2.Add(3)", L"2/5"},
    {"member call statement", L"Box2.Add 4 : r = Box2.Level", L"4"},
    {"property assignment", L"Box2.Caption = \"m\" : r = Box2.Caption", L"m"},
    {"left of Is", L"r = (Box2 Is Nothing) & \"/\" & (Box2 Is Box1)", L"False/False"},
    {"right of Is", L"Set o = Box1 : r = (o Is Box2) & \"/\" & (Nothing Is Box2)", L"False/False"},
    {"both sides of Is", L"r = Box2 Is Box2", L"True"},
    {"inside Eval", L"r = TypeName(Eval(\"Box2\"))", L"Lamp"},
    {"inside Execute", L"Execute \"TakeRef Box2\" : r = seen", L"Lamp"},
    {"in a class method", L"Set h = New Holder : Box2.Add 1 : r = h.Kind()", L"Lamp/1"},
    // A name nobody provides is a variable of its own that the callee fills in.
    {"undeclared ByRef argument", L"Fill q : r = q", L"42"},
};

enum class When { ProcedureBeforeItems, ProcedureAfterItems, GlobalCode };

struct Fixture {
    Engine engine;
    Lamp box1, box2;

    void AddItems() {
        engine.AddNamedItem(L"Box1", HostValue(&box1));
        engine.AddNamedItem(L"Box2", HostValue(&box2));
        engine.AddNamedItem(L"Bag", Value::FromObject(new Bag()));
    }

    // Runs `body` as the procedure f (compiled before or after the items exist) or as
    // global code, and answers r as text, or "error N".
    std::wstring Run(const std::wstring& body, When when) {
        std::wstring source = kHelpers;
        if (when == When::GlobalCode)
            source += body + L"\nFunction f() : f = r : End Function\n";
        else
            source += L"Function f()\n" + body + L"\nf = r\nEnd Function\n";
        if (when != When::ProcedureAfterItems)
            AddItems();
        SyntaxError syntax;
        if (!engine.AddCode(source, &syntax))
            return L"error " + std::to_wstring(syntax.number);
        if (when == When::ProcedureAfterItems)
            AddItems();
        Value result;
        ScriptError error{};
        if (!engine.Call(L"f", {}, &result, &error))
            return L"error " + std::to_wstring(error.number);
        return ToString(result);
    }
};

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(NamedItems, FoundHoweverTheyFirstAppear) {
    for (When when : {When::ProcedureBeforeItems, When::ProcedureAfterItems, When::GlobalCode}) {
        for (const Case& c : kFirstUses) {
            Fixture fixture;
            EXPECT_EQ(Narrow(fixture.Run(c.body, when)), Narrow(c.expected))
                << c.what << " (mode " << static_cast<int>(when) << ")";
        }
    }
}

TEST(NamedItems, ARegistrationDuringACallReachesTheRunningProcedure) {
    Fixture fixture;
    Lamp box3;
    box3.level = 9;
    fixture.box1.engine = &fixture.engine;
    fixture.box1.spawned = &box3;
    ASSERT_TRUE(fixture.engine.AddCode(kHelpers +
                                           L"Function f()\n Box1.Spawn \"Box3\"\n TakeRef Box3\n"
                                           L" f = seen & \"/\" & Box3.Level\nEnd Function\n",
                                       nullptr));
    fixture.AddItems();
    Value result;
    ASSERT_TRUE(fixture.engine.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"Lamp/9");
}

TEST(NamedItems, OptionExplicitCountsThemAsDeclared) {
    Fixture fixture;
    ASSERT_TRUE(fixture.engine.AddCode(kHelpers + L"Option Explicit\n"
                                                  L"Function f() : TakeRef Box2 : f = seen : "
                                                  L"End Function\n"
                                                  L"Function g() : g = TypeName(Box9) : End "
                                                  L"Function\n",
                                       nullptr));
    fixture.AddItems();
    Value result;
    ScriptError error{};
    ASSERT_TRUE(fixture.engine.Call(L"f", {}, &result, &error)) << error.number;
    EXPECT_EQ(ToString(result), L"Lamp");
    EXPECT_FALSE(fixture.engine.Call(L"g", {}, &result, &error));
    EXPECT_EQ(error.number, 500);
}

TEST(NamedItems, ARemovedItemReadsEmptyAndComesBack) {
    Fixture fixture;
    ASSERT_TRUE(fixture.engine.AddCode(
        kHelpers + L"Function f() : TakeRef Box2 : f = seen : End Function\n", nullptr));
    fixture.AddItems();
    Value result;
    ASSERT_TRUE(fixture.engine.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"Lamp");
    EXPECT_TRUE(fixture.engine.RemoveNamedItem(L"box2"));
    ASSERT_TRUE(fixture.engine.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"Empty");
    fixture.engine.AddNamedItem(L"BOX2", HostValue(&fixture.box1));
    ASSERT_TRUE(fixture.engine.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"Lamp");
}

// Which variable an undeclared name is depends on what is declared, never on which other
// procedures happen to use the same name.
TEST(ImplicitNames, StayLocalUntilAGlobalOfThatNameIsDeclared) {
    Engine engine;
    ASSERT_TRUE(engine.AddCode(L"Function Reader() : Reader = TypeName(x) : End Function\n"
                               L"Function Writer() : x = 5 : Writer = x : End Function\n"
                               L"Sub SetLater() : later = 7 : End Sub\n"
                               L"Function Caller() : Fill q : Caller = q : End Function\n"
                               L"Sub Fill(v) : v = \"filled\" : End Sub\n"
                               L"Function Peek() : Peek = TypeName(q) : End Function\n",
                               nullptr));
    const auto call = [&](const wchar_t* name) {
        Value result;
        ScriptError error{};
        EXPECT_TRUE(engine.Call(name, {}, &result, &error)) << error.number;
        return ToString(result);
    };
    EXPECT_EQ(call(L"Writer"), L"5");
    EXPECT_EQ(call(L"Reader"), L"Empty") << "Writer's x is its own";
    EXPECT_EQ(call(L"Caller"), L"filled");
    EXPECT_EQ(call(L"Peek"), L"Empty") << "Caller's q is its own";

    // A later script declares "later" and "x": the earlier procedures now use the globals.
    ASSERT_TRUE(engine.AddCode(L"Dim later\nx = \"global\"\n"
                               L"Function GetLater() : GetLater = later : End Function\n",
                               nullptr));
    EXPECT_EQ(call(L"Reader"), L"String");
    EXPECT_EQ(call(L"Writer"), L"5");
    EXPECT_EQ(call(L"Reader"), L"Integer") << "Writer assigned the global";
    ASSERT_TRUE(engine.Call(L"SetLater", {}, nullptr, nullptr));
    EXPECT_EQ(call(L"GetLater"), L"7");
}

} // namespace
