// Instances of script classes that hold each other are freed: by CollectCycles while no
// script runs (asked for, or on the way out of a host call), and when the engine ends. What
// anything else still reaches is never touched, Class_Terminate runs once with every freed
// instance still whole, and a long chain is freed without deep recursion.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "vbscript/class_instance.h"
#include "vbscript/dictionary.h"
#include "vbscript/engine.h"

using namespace vbs;

namespace {

// A Node says goodbye through MsgBox, which writes to the engine's output here.
const std::wstring kNode = L"Class Node\n"
                           L" Public Name, Other, Kids, Parent, Items\n"
                           L" Private Sub Class_Terminate\n"
                           L"  MsgBox \"bye \" & Name\n"
                           L" End Sub\n"
                           L"End Class\n"
                           L"Function Named(n)\n"
                           L" Set Named = New Node\n"
                           L" Named.Name = n\n"
                           L"End Function\n";

// An engine whose MsgBox output is kept, one entry ended by ";" per message. The log is
// declared first so it outlives the engine, whose end still writes to it.
struct Session {
    std::wstring log;
    std::unique_ptr<Engine> engine = std::make_unique<Engine>();

    explicit Session(const std::wstring& source) {
        engine->GetRuntime().SetOutput([this](std::wstring_view text) {
            log += text;
            log += L";";
        });
        engine->SetCollectInterval(0); // collections in these tests are asked for
        SyntaxError error;
        EXPECT_TRUE(engine->AddCode(source, &error))
            << std::string(error.description.begin(), error.description.end());
    }
    Value Call(std::wstring_view name, std::span<Value> args = {}) {
        Value result;
        ScriptError error{};
        EXPECT_TRUE(engine->Call(name, args, &result, &error)) << error.number;
        return result;
    }
    std::size_t Live() const { return engine->LiveInstances(); }
};

// A host object with one property that keeps whatever the script sets.
class Shelf : public Object {
public:
    Value Invoke(std::wstring_view, Access access, std::span<Value> args) override {
        if (access == Access::Set || access == Access::Let) {
            held = args.back();
            return Value();
        }
        return held;
    }
    Value held;
};

struct CycleCase {
    const char* name;
    std::wstring build; // Sub Build leaves `instances` Nodes that only cycles keep
    std::size_t instances;
};

void PrintTo(const CycleCase& shape, std::ostream* out) {
    *out << shape.name;
}

class CycleShapes : public ::testing::TestWithParam<CycleCase> {};

TEST_P(CycleShapes, AreFreedWithTheirTerminateRunOnce) {
    Session s(kNode + GetParam().build);
    s.Call(L"Build");
    // Counting references alone frees none of them.
    EXPECT_EQ(s.Live(), GetParam().instances);
    EXPECT_EQ(s.log, L"");
    EXPECT_GE(s.engine->CollectCycles(), GetParam().instances);
    EXPECT_EQ(s.Live(), 0u);
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), L';'),
              static_cast<std::ptrdiff_t>(GetParam().instances));
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes,
    CycleShapes,
    ::testing::Values(
        CycleCase{"TwoInstances",
                  L"Sub Build\n Dim a, b\n Set a = Named(\"a\"): Set b = Named(\"b\")\n"
                  L" Set a.Other = b: Set b.Other = a\nEnd Sub\n",
                  2},
        CycleCase{
            "Itself", L"Sub Build\n Dim a\n Set a = Named(\"a\"): Set a.Other = a\nEnd Sub\n", 1},
        CycleCase{
            "ItselfInAnArrayMember",
            L"Sub Build\n Dim a\n Set a = Named(\"a\")\n a.Kids = Array(1, a, \"x\")\nEnd Sub\n",
            1},
        CycleCase{"ParentWithADictionaryOfChildren",
                  L"Sub Build\n Dim p, i, c\n Set p = Named(\"p\")\n"
                  L" Set p.Items = CreateObject(\"Scripting.Dictionary\")\n"
                  L" For i = 1 To 3\n  Set c = Named(\"c\" & i)\n  Set c.Parent = p\n"
                  L"  p.Items.Add c.Name, c\n Next\nEnd Sub\n",
                  4},
        CycleCase{"ChildrenInAnArrayOfArrays",
                  L"Sub Build\n Dim p, c1, c2\n Set p = Named(\"p\")\n"
                  L" Set c1 = Named(\"c1\"): Set c2 = Named(\"c2\")\n"
                  L" Set c1.Parent = p: Set c2.Parent = p\n"
                  L" p.Kids = Array(Array(c1), Array(c2))\nEnd Sub\n",
                  3},
        CycleCase{"ThroughADictionaryKeyAndAnArrayItem",
                  L"Sub Build\n Dim a, b, d\n Set a = Named(\"a\"): Set b = Named(\"b\")\n"
                  L" Set d = CreateObject(\"Scripting.Dictionary\")\n"
                  L" d.Add a, Array(b)\n Set b.Items = d\nEnd Sub\n",
                  2},
        CycleCase{"TwoCyclesJoinedByAChain",
                  L"Sub Build\n Dim a, b, c\n Set a = Named(\"a\"): Set b = Named(\"b\")\n"
                  L" Set c = Named(\"c\")\n Set a.Other = a: Set a.Kids = b\n"
                  L" Set b.Other = c: Set c.Other = b\nEnd Sub\n",
                  3}),
    [](const ::testing::TestParamInfo<CycleCase>& info) { return info.param.name; });

TEST(CycleCollection, DictionariesOnCyclesOfTheirOwnAreFreedToo) {
    Session s(kNode + L"Function Ring()\n Dim d, e\n"
                      L" Set d = CreateObject(\"Scripting.Dictionary\")\n"
                      L" Set e = CreateObject(\"Scripting.Dictionary\")\n"
                      L" d.Add \"self\", d: d.Add \"e\", e: e.Add d, Array(d, Named(\"n\"))\n"
                      L" Set Ring = e\nEnd Function\n"
                      L"Sub Build\n Ring\nEnd Sub\n");
    s.Call(L"Build");
    EXPECT_EQ(s.Live(), 1u);
    EXPECT_EQ(s.engine->CollectCycles(), 3u); // two dictionaries and the Node they held
    EXPECT_EQ(s.log, L"bye n;");
    EXPECT_EQ(s.Live(), 0u);

    // Held by the host, the ring stays until it lets go.
    Value held = s.Call(L"Ring");
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
    EXPECT_EQ(static_cast<Dictionary*>(held.AsObject())->Count(), 1u);
    held = Value();
    EXPECT_EQ(s.engine->CollectCycles(), 3u);
    EXPECT_EQ(s.log, L"bye n;bye n;");
}

TEST(CycleCollection, TerminateHandlersSeeEveryFreedInstanceWhole) {
    Session s(L"Class Node\n Public Name, Other\n"
              L" Private Sub Class_Terminate\n  MsgBox Name & \" sees \" & Other.Name\n"
              L"  Set Other = Nothing\n End Sub\nEnd Class\n"
              L"Sub Build\n Dim a, b\n Set a = New Node: a.Name = \"a\"\n"
              L" Set b = New Node: b.Name = \"b\"\n Set a.Other = b: Set b.Other = a\nEnd Sub\n");
    s.Call(L"Build");
    s.Call(L"Build");
    EXPECT_EQ(s.engine->CollectCycles(), 4u);
    // Oldest first; a's handler cutting its link does not free b under b's own handler.
    EXPECT_EQ(s.log, L"a sees b;b sees a;a sees b;b sees a;");
    EXPECT_EQ(s.Live(), 0u);
}

TEST(CycleCollection, AnInstanceATerminateStoresIsKeptWithWhatItReaches) {
    Session s(kNode +
              L"Dim keep\n"
              L"Class Phoenix\n Public Name, Other\n"
              L" Private Sub Class_Terminate\n  MsgBox \"bye \" & Name\n"
              L"  Set keep = Me\n End Sub\nEnd Class\n"
              L"Sub Build\n Dim a, b\n Set a = New Phoenix: a.Name = \"a\"\n"
              L" Set b = Named(\"b\")\n Set a.Other = b: Set b.Other = a\nEnd Sub\n"
              L"Function Check()\n Check = keep.Name & keep.Other.Name & keep.Other.Other.Name\n"
              L"End Function\n"
              L"Sub Drop\n Set keep = Nothing\nEnd Sub\n");
    s.Call(L"Build");
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
    EXPECT_EQ(s.log, L"bye a;bye b;");
    EXPECT_EQ(s.Live(), 2u);
    EXPECT_EQ(s.Call(L"Check").AsString(), L"aba");
    s.Call(L"Drop");
    // Class_Terminate runs once: the second time round they just go.
    EXPECT_EQ(s.engine->CollectCycles(), 2u);
    EXPECT_EQ(s.log, L"bye a;bye b;");
    EXPECT_EQ(s.Live(), 0u);
}

TEST(CycleCollection, NeverFreesWhatTheScriptOrTheHostStillReaches) {
    Session s(kNode + L"Dim g\n"
                      L"Function Make()\n Dim a, b\n Set a = Named(\"a\"): Set b = Named(\"b\")\n"
                      L" Set a.Other = b: Set b.Other = a\n Set Make = a\nEnd Function\n"
                      L"Sub KeepInGlobal\n Set g = Make()\nEnd Sub\n"
                      L"Sub DropGlobal\n Set g = Nothing\nEnd Sub\n"
                      L"Sub PutOnShelf\n Set Shelf.Item = Make()\nEnd Sub\n"
                      L"Sub FillHostDictionary(d)\n Dim a\n Set a = Make()\n"
                      L" d.Add \"a\", a\n Set a.Other.Items = d\nEnd Sub\n"
                      L"Function PartnerOf(o)\n PartnerOf = o.Other.Name\nEnd Function\n");
    auto* shelf = new Shelf;
    s.engine->AddNamedItem(L"Shelf", Value::FromObject(shelf));

    s.Call(L"KeepInGlobal");
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
    EXPECT_EQ(s.Live(), 2u);
    s.Call(L"DropGlobal");
    EXPECT_EQ(s.engine->CollectCycles(), 2u);

    // A value the host keeps from a call.
    Value held = s.Call(L"Make");
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
    EXPECT_EQ(s.Call(L"PartnerOf", std::span(&held, 1)).AsString(), L"b");
    held = Value();
    EXPECT_EQ(s.engine->CollectCycles(), 2u);

    // A host object's property.
    s.Call(L"PutOnShelf");
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
    EXPECT_EQ(s.Call(L"PartnerOf", std::span(&shelf->held, 1)).AsString(), L"b");
    shelf->held = Value();
    EXPECT_EQ(s.engine->CollectCycles(), 2u);

    // A dictionary the host owns, which the cycle also reaches.
    Value dictionary = Value::FromObject(new Dictionary);
    s.Call(L"FillHostDictionary", std::span(&dictionary, 1));
    EXPECT_EQ(s.engine->CollectCycles(), 0u);
    EXPECT_EQ(s.Live(), 2u);
    dictionary = Value();
    EXPECT_EQ(s.engine->CollectCycles(), 3u);
    EXPECT_EQ(s.Live(), 0u);
    EXPECT_EQ(s.log, L"bye a;bye b;bye a;bye b;bye a;bye b;bye a;bye b;");
}

// Asked for from inside a running script (a host method called back), a collection does
// nothing: the running procedures' locals, With objects and For Each snapshots stay whole.
class Collector : public Object {
public:
    explicit Collector(Engine& engine) : m_engine(engine) {}
    Value Invoke(std::wstring_view, Access, std::span<Value>) override {
        return Value::Long(static_cast<std::int32_t>(m_engine.CollectCycles()));
    }

private:
    Engine& m_engine;
};

TEST(CycleCollection, WaitsWhileScriptCodeRuns) {
    Session s(kNode + L"Function Run()\n Dim a, d, k, freed\n"
                      L" Set d = CreateObject(\"Scripting.Dictionary\")\n"
                      L" With Named(\"w\")\n"
                      L"  Set a = Named(\"a\"): Set a.Other = a: d.Add \"a\", a: Set a = Nothing\n"
                      L"  For Each k In d.Keys\n   Set d.Item(k).Items = d: Set d = Nothing\n"
                      L"   freed = Collector.Run()\n   Run = freed & .Name\n  Next\n End With\n"
                      L"End Function\n");
    s.engine->AddNamedItem(L"Collector", Value::FromObject(new Collector(*s.engine)));
    EXPECT_EQ(s.Call(L"Run").AsString(), L"0w");
    EXPECT_EQ(s.log, L"bye w;");
    EXPECT_EQ(s.Live(), 1u); // a, on cycles through its dictionary and itself
    EXPECT_EQ(s.engine->CollectCycles(), 2u);
    EXPECT_EQ(s.log, L"bye w;bye a;");
}

TEST(CycleCollection, KeepsTheErrObjectAndDropsErrorsOfTerminateHandlers) {
    Session s(L"Class Faulty\n Public Other\n"
              L" Private Sub Class_Terminate\n  MsgBox \"in\"\n  Err.Raise 5\n  MsgBox \"after\"\n"
              L" End Sub\nEnd Class\n"
              L"Sub Build\n Dim a, b\n Set a = New Faulty: Set b = New Faulty\n"
              L" Set a.Other = b: Set b.Other = a\nEnd Sub\n");
    s.Call(L"Build");
    s.engine->GetRuntime().Err().number = 11;
    EXPECT_EQ(s.engine->CollectCycles(), 2u);
    EXPECT_EQ(s.log, L"in;in;");
    EXPECT_EQ(s.engine->GetRuntime().Err().number, 11);
}

TEST(CycleCollection, HostCallsCollectOnTheirWayOutAtTheIntervalSet) {
    const std::wstring tick = kNode +
                              L"Sub Tick\n Dim a, b\n Set a = Named(\"a\"): Set b = Named(\"b\")\n"
                              L" Set a.Other = b: Set b.Other = a\nEnd Sub\n";
    Session paced(tick);
    paced.engine->SetCollectInterval(50);
    std::size_t most = 0;
    for (int i = 0; i < 500; ++i) {
        paced.Call(L"Tick");
        most = std::max(most, paced.Live());
    }
    EXPECT_LE(most, 50u);
    EXPECT_GE(std::count(paced.log.begin(), paced.log.end(), L';'), 900);

    Session unpaced(tick);
    for (int i = 0; i < 500; ++i)
        unpaced.Call(L"Tick");
    EXPECT_EQ(unpaced.Live(), 1000u);
}

TEST(CycleCollection, LongChainsAndRingsAreFreedWithoutDeepRecursion) {
    Session s(L"Class Link\n Public NextLink\nEnd Class\n"
              L"Dim head\n"
              L"Sub Build(n)\n Dim i, l\n Set head = Nothing\n"
              L" For i = 1 To n\n  Set l = New Link: Set l.NextLink = head: Set head = l\n Next\n"
              L"End Sub\n"
              L"Sub Ring\n Dim tail\n Set tail = head\n"
              L" Do Until tail.NextLink Is Nothing: Set tail = tail.NextLink: Loop\n"
              L" Set tail.NextLink = head\nEnd Sub\n"
              L"Sub Drop\n Set head = Nothing\nEnd Sub\n");
    Value count = Value::Long(100'000);
    s.Call(L"Build", std::span(&count, 1));
    EXPECT_EQ(s.Live(), 100'000u);
    s.Call(L"Drop");
    EXPECT_EQ(s.Live(), 0u);

    s.Call(L"Build", std::span(&count, 1));
    s.Call(L"Ring");
    s.Call(L"Drop");
    EXPECT_EQ(s.Live(), 100'000u);
    EXPECT_EQ(s.engine->CollectCycles(), 100'000u);
    EXPECT_EQ(s.Live(), 0u);
}

// ---- the end of an engine ---------------------------------------------------------------

TEST(EngineEnd, ReleasesGlobalsInOrderThenCyclesRunningEachTerminate) {
    const std::size_t before = ClassInstance::LiveCount();
    std::wstring log;
    {
        Session s(kNode + L"Dim x, y, ring\n"
                          L"Set x = Named(\"x\"): Set y = Named(\"y\")\n"
                          L"Set ring = Named(\"r1\"): Set ring.Other = Named(\"r2\")\n"
                          L"Set ring.Other.Other = ring\n"
                          L"Set x.Other = x\n"
                          L"Dim d\nSet d = CreateObject(\"Scripting.Dictionary\")\n"
                          L"d.Add \"d\", Named(\"d\"): d.Add \"self\", d\n");
        EXPECT_EQ(s.Live(), 5u);
        EXPECT_EQ(ClassInstance::LiveCount(), before + 5);
        s.engine.reset();
        log = s.log;
    }
    // y goes with its global; x (on a cycle with itself), the ring and the one a dictionary
    // on a cycle of its own holds wait for the collector.
    EXPECT_EQ(log, L"bye y;bye x;bye r1;bye r2;bye d;");
    EXPECT_EQ(ClassInstance::LiveCount(), before);
}

TEST(EngineEnd, TerminateHandlersReachNamedItemsAndTheirErrorsAreDropped) {
    auto* shelf = new Shelf;
    Value keepShelf = Value::FromObject(shelf);
    const std::size_t before = ClassInstance::LiveCount();
    Session s(L"Dim a, b\n"
              L"Class Note\n Public Name, Other\n"
              L" Private Sub Class_Terminate\n  Shelf.Item = Shelf.Item & Name\n"
              L"  Err.Raise 9\n  Shelf.Item = \"unreached\"\n End Sub\nEnd Class\n"
              L"Set a = New Note: a.Name = \"a\"\n"
              L"Set b = New Note: b.Name = \"b\": Set b.Other = b\n");
    s.engine->AddNamedItem(L"Shelf", keepShelf);
    shelf->held = Value::String(L">");
    s.engine.reset();
    EXPECT_EQ(shelf->held.AsString(), L">ab");
    EXPECT_EQ(ClassInstance::LiveCount(), before);
}

TEST(EngineEnd, ResurrectionAndEndlessMakingEndWithoutLeaks) {
    const std::size_t before = ClassInstance::LiveCount();
    Session resurrect(kNode + L"Dim keep\n"
                              L"Class Phoenix\n Public Other\n"
                              L" Private Sub Class_Terminate\n  MsgBox \"again\"\n"
                              L"  Set keep = Me\n  Set keep.Other = Me\n End Sub\nEnd Class\n"
                              L"Set keep = New Phoenix\n");
    resurrect.engine.reset();
    EXPECT_EQ(resurrect.log, L"again;");

    Session breed(L"Dim keep, made\n"
                  L"Class Breeder\n Public Other\n"
                  L" Private Sub Class_Terminate\n  made = made + 1\n"
                  L"  Set keep = New Breeder: Set keep.Other = keep\n End Sub\nEnd Class\n"
                  L"Set keep = New Breeder\n");
    breed.engine.reset();
    EXPECT_EQ(ClassInstance::LiveCount(), before);
}

TEST(EngineEnd, WhatTheHostStillHoldsOutlivesItEmptied) {
    const std::size_t before = ClassInstance::LiveCount();
    Session s(kNode + L"Function Make()\n Dim a, b\n Set a = Named(\"a\"): Set b = Named(\"b\")\n"
                      L" Set a.Other = b: Set b.Other = a\n Set Make = a\nEnd Function\n");
    Value held = s.Call(L"Make");
    s.engine.reset();
    // Not freed, so no Class_Terminate; its partner, only it reached, is gone.
    EXPECT_EQ(s.log, L"");
    EXPECT_EQ(ClassInstance::LiveCount(), before + 1);
    EXPECT_EQ(TypeName(held), L"Node");
    held = Value();
    EXPECT_EQ(ClassInstance::LiveCount(), before);
}

} // namespace
