// The same small programs in our VBScript engine and in Lua 5.4, a reference interpreter
// measured in the same run: each ratio is our time over Lua's. RegExp's Test and Replace
// over a megabyte of text are measured against PCRE2 called from C++ the same way.
#define PCRE2_CODE_UNIT_WIDTH 32
#include <lua.hpp>
#include <pcre2.h>

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
    // Script classes: making and dropping instances, calling methods and properties, and
    // building and walking a linked list whose nodes are freed when run returns.
    {"ClassCreation",
     L"Class Point\n Public X, Y\nEnd Class\n"
     L"Function run()\n Dim i, p, s\n s = 0\n For i = 1 To 100000\n  Set p = New Point\n"
     L"  p.X = i\n  s = s + p.X\n Next\n run = s\nEnd Function\n",
     "local Point = {} Point.__index = Point "
     "function run() local s = 0 for i = 1, 100000 do local p = setmetatable({}, Point) "
     "p.x = i s = s + p.x end return s end"},
    {"MemberCalls",
     L"Class Counter\n Private m_n\n Private Sub Class_Initialize\n  m_n = 0\n End Sub\n"
     L" Public Sub Add(k)\n  m_n = m_n + k\n End Sub\n"
     L" Public Property Get Total\n  Total = m_n\n End Property\nEnd Class\n"
     L"Function run()\n Dim c, i\n Set c = New Counter\n For i = 1 To 200000\n  c.Add i\n"
     L" Next\n run = c.Total\nEnd Function\n",
     "local Counter = {} Counter.__index = Counter "
     "function Counter:add(k) self.n = self.n + k end "
     "function run() local c = setmetatable({n = 0}, Counter) for i = 1, 200000 do c:add(i) end "
     "return c.n end"},
    {"LinkedList",
     L"Class Node\n Public Value, NextNode\nEnd Class\n"
     L"Function run()\n Dim head, n, i, s\n Set head = Nothing\n For i = 1 To 20000\n"
     L"  Set n = New Node\n  n.Value = i\n  Set n.NextNode = head\n  Set head = n\n Next\n"
     L" s = 0\n Set n = head\n Do While Not n Is Nothing\n  s = s + n.Value\n"
     L"  Set n = n.NextNode\n Loop\n run = s\nEnd Function\n",
     "function run() local head = nil for i = 1, 20000 do head = {value = i, nextNode = head} end "
     "local s = 0 local n = head while n do s = s + n.value n = n.nextNode end return s end"},
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

// A megabyte of order log lines; the one line Test looks for comes last, so both sides scan
// it all.
std::wstring OrderLog() {
    std::wstring text;
    const wchar_t* names[] = {L"삼성전자", L"SK하이닉스", L"LG화학", L"NAVER"};
    for (int i = 0; text.size() < 1'000'000; ++i) {
        const int code = 100000 + (i * 7919) % 900000;
        text += std::to_wstring(code) + L" " + names[i % 4] + (i % 3 ? L" BUY " : L" SELL ") +
                std::to_wstring(10 + i % 90) + L" @ " + std::to_wstring(50000 + i % 1000) + L"\n";
    }
    return text + L"REJECT 999999\n";
}

const wchar_t* const kTestPattern = L"REJECT \\d{6}";
const wchar_t* const kReplacePattern = L"(\\d{6}) (\\S+) (BUY|SELL)";
// The direct side spells this out in C++.
const wchar_t* const kReplacement = L"$3 $2 ($1)";

// The script's RegExp is made and given its pattern once, like the compiled pattern on the
// C++ side; each run is one call.
void RegExpVbscript(benchmark::State& state, const wchar_t* pattern, const std::wstring& call) {
    vbs::Engine engine;
    engine.AddNamedItem(L"Log", vbs::Value::String(OrderLog()));
    const std::wstring source = std::wstring(L"Dim re\nSet re = New RegExp\nre.Global = True\n") +
                                L"re.Pattern = \"" + pattern + L"\"\nFunction run()\n run = " +
                                call + L"\nEnd Function\n";
    TimeVbscript(state, engine, source.c_str());
}

void RegExpTestVbscript(benchmark::State& state) {
    RegExpVbscript(state, kTestPattern, L"re.Test(Log)");
}

void RegExpReplaceVbscript(benchmark::State& state) {
    RegExpVbscript(
        state, kReplacePattern, std::wstring(L"Len(re.Replace(Log, \"") + kReplacement + L"\"))");
}

// The pattern compiled once with JIT, as the RegExp keeps it, and with its way of taking
// text that may not be valid UTF (without it PCRE2 checks the whole subject on every call).
struct Compiled {
    pcre2_code_32* code;
    pcre2_match_data_32* match;
    explicit Compiled(const wchar_t* pattern) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        code = pcre2_compile_32(reinterpret_cast<PCRE2_SPTR32>(pattern),
                                PCRE2_ZERO_TERMINATED,
                                PCRE2_UTF | PCRE2_MATCH_INVALID_UTF,
                                &error,
                                &offset,
                                nullptr);
        pcre2_jit_compile_32(code, PCRE2_JIT_COMPLETE);
        match = pcre2_match_data_create_from_pattern_32(code, nullptr);
    }
    ~Compiled() {
        pcre2_match_data_free_32(match);
        pcre2_code_free_32(code);
    }
};

void RegExpTestDirect(benchmark::State& state) {
    const std::wstring text = OrderLog();
    Compiled re(kTestPattern);
    for (auto _ : state) {
        const int rc = pcre2_match_32(re.code,
                                      reinterpret_cast<PCRE2_SPTR32>(text.data()),
                                      text.size(),
                                      0,
                                      0,
                                      re.match,
                                      nullptr);
        benchmark::DoNotOptimize(rc);
    }
}

// Every match in turn and its groups appended by hand, as a C++ program would write it with
// no script around it (faster than pcre2_substitute, which reads the replacement per match).
void RegExpReplaceDirect(benchmark::State& state) {
    const std::wstring text = OrderLog();
    Compiled re(kReplacePattern);
    const auto subject = reinterpret_cast<PCRE2_SPTR32>(text.data());
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_32(re.match);
    const auto group = [&](int n) {
        return std::wstring_view(text).substr(ovector[2 * n], ovector[2 * n + 1] - ovector[2 * n]);
    };
    for (auto _ : state) {
        std::wstring out;
        std::size_t from = 0;
        while (pcre2_match_32(re.code, subject, text.size(), from, 0, re.match, nullptr) > 0) {
            out.append(text, from, ovector[0] - from);
            out.append(group(3)).append(L" ").append(group(2)).append(L" (").append(group(1));
            out.append(L")");
            from = ovector[1];
        }
        out.append(text, from);
        benchmark::DoNotOptimize(out.size());
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
    benchmark::RegisterBenchmark("VBScript/RegExpTest", RegExpTestVbscript)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Direct/RegExpTest", RegExpTestDirect)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("VBScript/RegExpReplace", RegExpReplaceVbscript)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Direct/RegExpReplace", RegExpReplaceDirect)
        ->Unit(benchmark::kMillisecond);
    ratios.emplace_back("VBScript/RegExpTest", "Direct/RegExpTest");
    ratios.emplace_back("VBScript/RegExpReplace", "Direct/RegExpReplace");
    return orvo::bench::RunWithRatios(argc, argv, ratios);
}
