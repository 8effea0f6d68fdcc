// The same small programs in our VBScript engine and in Lua 5.4, a reference interpreter
// measured in the same run: each ratio is our time over Lua's.
#include <lua.hpp>

#include <memory>
#include <string>

#include "nubra/ixo.h"
#include "ratio_main.h"
#include "vbscript/engine.h"
#include "vbscript/host_object.h"

namespace {

// Each program is a function named run in both languages.
struct Program {
    const char* name;
    const wchar_t* vbscript;
    const char* lua;
};

const Program kPrograms[] = {
    {"NumericLoop",
     L"Function run()\n Dim i, s\n s = 0\n For i = 1 To 10000000\n  s = s + i\n Next\n run = "
     L"s\nEnd Function\n",
     "function run() local s = 0 for i = 1, 10000000 do s = s + i end return s end"},
    {"StringBuilding",
     L"Function run()\n Dim i, s\n s = \"\"\n For i = 1 To 200000\n  s = s & \"ab\"\n Next\n run = "
     L"Len(s)\nEnd Function\n",
     "function run() local t = {} for i = 1, 200000 do t[#t + 1] = 'ab' end return "
     "#table.concat(t) end"},
    {"Fibonacci",
     L"Function fib(n)\n If n < 2 Then\n  fib = n\n Else\n  fib = fib(n - 1) + fib(n - 2)\n End "
     L"If\nEnd Function\n"
     L"Function run()\n run = fib(25)\nEnd Function\n",
     "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end "
     "function run() return fib(25) end"},
    {"ArraySort",
     L"Function run()\n Dim a(2999), i, j, t, seed\n seed = 12345\n For i = 0 To 2999\n"
     L"  seed = (seed * 1103 + 12345) Mod 65536\n  a(i) = seed\n Next\n"
     L" For i = 1 To 2999\n  t = a(i)\n  j = i - 1\n  Do While j >= 0\n   If a(j) <= t Then Exit "
     L"Do\n"
     L"   a(j + 1) = a(j)\n   j = j - 1\n  Loop\n  a(j + 1) = t\n Next\n run = a(0)\nEnd "
     L"Function\n",
     "function run() local a = {} local seed = 12345 for i = 0, 2999 do seed = (seed * 1103 + "
     "12345) % 65536 "
     "a[i] = seed end for i = 1, 2999 do local t = a[i] local j = i - 1 while j >= 0 do if a[j] <= "
     "t then "
     "break end a[j + 1] = a[j] j = j - 1 end a[j + 1] = t end return a[0] end"},
};

// Adds `source` to `engine` and times calls of its Function run.
void TimeVbscript(benchmark::State& state, vbs::Engine& engine, const wchar_t* source) {
    engine.SetLimits(UINT64_MAX / 2, 1000);
    vbs::SyntaxError error;
    if (!engine.AddCode(source, &error)) {
        state.SkipWithError("the script does not compile");
        return;
    }
    for (auto _ : state) {
        vbs::Value result;
        vbs::ScriptError failure;
        if (!engine.Call(L"run", {}, &result, &failure)) {
            state.SkipWithError("the script failed");
            return;
        }
        benchmark::DoNotOptimize(result);
    }
}

// Loads `source` into `lua` and times calls of its function run.
void TimeLua(benchmark::State& state, lua_State* lua, const char* source) {
    if (luaL_dostring(lua, source) != LUA_OK) {
        state.SkipWithError("the Lua program does not load");
        return;
    }
    for (auto _ : state) {
        lua_getglobal(lua, "run");
        if (lua_pcall(lua, 0, 1, 0) != LUA_OK) {
            state.SkipWithError("the Lua program failed");
            return;
        }
        lua_pop(lua, 1);
    }
}

using LuaState = std::unique_ptr<lua_State, void (*)(lua_State*)>;

LuaState NewLua() {
    LuaState lua(luaL_newstate(), lua_close);
    luaL_openlibs(lua.get());
    return lua;
}

void RunVbscript(benchmark::State& state, const Program& program) {
    vbs::Engine engine;
    TimeVbscript(state, engine, program.vbscript);
}

void RunLua(benchmark::State& state, const Program& program) {
    LuaState lua = NewLua();
    TimeLua(state, lua.get(), program.lua);
}

// Calls through a host object: a script calling a published method by name, against Lua
// calling a C function of a host table the same number of times.
class Tally : public IXO {
    ORVO_DISPATCH_MAP()

public:
    int Add(int n) { return total += n; }
    int total = 0;
};

ORVO_DISPATCH(Tally, IXO, ORVO_METHOD(Add))

constexpr int kHostCalls = 100000;

void HostCallsVbscript(benchmark::State& state) {
    Tally tally;
    vbs::Engine engine;
    engine.AddNamedItem(L"Tally", vbs::HostValue(&tally));
    TimeVbscript(state,
                 engine,
                 L"Function run()\n For i = 1 To 100000\n  Tally.Add 1\n Next\n"
                 L" run = Tally.Add(0)\nEnd Function\n");
}

int LuaTallyAdd(lua_State* lua) {
    auto* total = static_cast<int*>(lua_touserdata(lua, lua_upvalueindex(1)));
    *total += static_cast<int>(luaL_checkinteger(lua, 1));
    lua_pushinteger(lua, *total);
    return 1;
}

void HostCallsLua(benchmark::State& state) {
    int total = 0;
    LuaState lua = NewLua();
    lua_newtable(lua.get());
    lua_pushlightuserdata(lua.get(), &total);
    lua_pushcclosure(lua.get(), LuaTallyAdd, 1);
    lua_setfield(lua.get(), -2, "add");
    lua_setglobal(lua.get(), "tally");
    TimeLua(state,
            lua.get(),
            "function run() for i = 1, 100000 do tally.add(1) end return tally.add(0) end");
}

// The dispatch by name itself, called from C++ as often as the script calls it.
void HostCallsDirect(benchmark::State& state) {
    Tally tally;
    for (auto _ : state) {
        for (int i = 0; i < kHostCalls; ++i) {
            orvo::DispVariant args[1] = {orvo::DispVariant(std::int32_t{1})};
            orvo::DispVariant result;
            tally.Invoke(L"Add", orvo::InvokeMethod, args, result);
            benchmark::DoNotOptimize(result);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> ratios;
    for (const Program& p : kPrograms) {
        const std::string ours = std::string("VBScript/") + p.name;
        const std::string lua = std::string("Lua/") + p.name;
        benchmark::RegisterBenchmark(ours.c_str(), [&p](benchmark::State& s) {
            RunVbscript(s, p);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(lua.c_str(), [&p](benchmark::State& s) {
            RunLua(s, p);
        })->Unit(benchmark::kMillisecond);
        ratios.emplace_back(ours, lua);
    }
    benchmark::RegisterBenchmark("VBScript/HostCalls", HostCallsVbscript)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Lua/HostCalls", HostCallsLua)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Direct/HostCalls", HostCallsDirect)
        ->Unit(benchmark::kMillisecond);
    ratios.emplace_back("VBScript/HostCalls", "Lua/HostCalls");
    ratios.emplace_back("VBScript/HostCalls", "Direct/HostCalls");
    return orvo::bench::RunWithRatios(argc, argv, ratios);
}
