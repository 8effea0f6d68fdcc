// The same small programs in our VBScript engine and in Lua 5.4, a reference interpreter
// measured in the same run: each ratio is our time over Lua's.
#include <lua.hpp>

#include <memory>
#include <string>

#include "ratio_main.h"
#include "vbscript/engine.h"

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

void RunVbscript(benchmark::State& state, const Program& program) {
    vbs::Engine engine;
    engine.SetLimits(UINT64_MAX / 2, 1000);
    vbs::SyntaxError error;
    if (!engine.AddCode(program.vbscript, &error)) {
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

void RunLua(benchmark::State& state, const Program& program) {
    std::unique_ptr<lua_State, void (*)(lua_State*)> lua(luaL_newstate(), lua_close);
    luaL_openlibs(lua.get());
    if (luaL_dostring(lua.get(), program.lua) != LUA_OK) {
        state.SkipWithError("the Lua program does not load");
        return;
    }
    for (auto _ : state) {
        lua_getglobal(lua.get(), "run");
        if (lua_pcall(lua.get(), 0, 1, 0) != LUA_OK) {
            state.SkipWithError("the Lua program failed");
            return;
        }
        lua_pop(lua.get(), 1);
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
    return orvo::bench::RunWithRatios(argc, argv, ratios);
}
