// Every script we have, run with the fast paths on and off: what it echoes, the errors it
// ends with (number, text, line), what its procedures answer and what its variables hold
// afterwards must be the same. A difference is a bug in a fast path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/base/text.h"
#include "vbscript/coerce.h"
#include "vbscript/engine.h"
#include "vbscript/parser.h"

using namespace vbs;

namespace {

// The WScript members the scripts use: Echo and Quit, StdOut, and no arguments.
class Console : public Object {
public:
    explicit Console(std::wstring& out) : m_out(out) {}

    Value Invoke(std::wstring_view name, Access, std::span<Value> args) override {
        const std::wstring member = FoldCase(name);
        if (member == L"echo" || member == L"write" || member == L"writeline") {
            for (std::size_t i = 0; i < args.size(); ++i) {
                const Value v = Dereference(args[i]);
                m_out += (i ? L" " : L"") + (v.IsNull() ? std::wstring(L"Null") : ToString(v));
            }
            if (member != L"write")
                m_out += L"\n";
            return Value();
        }
        if (member == L"quit")
            throw ScriptError{7001, L"Quit", true};
        if (member == L"stdout")
            return Value::FromObject(new Console(m_out));
        if (member == L"arguments" || member == L"count")
            return member == L"count" ? Value::Long(0) : Value::FromObject(new Console(m_out));
        RaiseError(err::NoSuchMember);
    }
    std::vector<Value> Items() override { return {}; }

private:
    std::wstring& m_out;
};

constexpr int kStepLimit = 100'000;

std::wstring Failure(int number, const std::wstring& description, int line) {
    return L"error " + std::to_wstring(number) + L" '" + description + L"' line " +
           std::to_wstring(line) + L"\n";
}

// Runs `source` and what can be asked of it afterwards, as a transcript. A run that meets
// the step limit stops there: how far a loop got before it differs between the modes.
std::wstring Transcript(const std::wstring& source, bool fast) {
    Engine engine;
    engine.SetFastPaths(fast);
    engine.SetLimits(kStepLimit, 200);
    std::wstring out;
    engine.GetRuntime().SetOutput(
        [&](std::wstring_view text) { out += std::wstring(text) + L"\n"; });
    engine.AddNamedItem(L"WScript", Value::FromObject(new Console(out)));
    const auto stopped = [&](int number) { return number == 7000 || number == 7001; };

    SyntaxError syntax;
    if (!engine.AddCode(source, &syntax)) {
        if (stopped(syntax.number))
            return L"stopped " + std::to_wstring(syntax.number);
        out += Failure(syntax.number, syntax.description, syntax.line);
    }
    // The procedures the fuzz target calls, with whole-number arguments.
    for (const wchar_t* name : {L"main", L"f", L"test", L"run"}) {
        const int count = engine.ParameterCount(name);
        if (count < 0)
            continue;
        std::vector<Value> args(static_cast<std::size_t>(count), Value::Long(3));
        Value result;
        ScriptError error{};
        out += std::wstring(name) + L": ";
        if (!engine.Call(name, args, &result, &error)) {
            if (stopped(error.number))
                return out + L"stopped " + std::to_wstring(error.number);
            out += Failure(error.number, error.description, error.line);
            continue;
        }
        out +=
            TypeName(result) + L" " + (result.Type() == VarType::Object ? L"" : ToString(result));
        for (const Value& arg : args)
            out += L" / " + TypeName(arg) + L" " + ToString(arg);
        out += L"\n";
    }
    // Every name the script mentions, read back as a global.
    if (!engine.AddCode(
            L"Function ProbeValue(v)\n On Error Resume Next\n ProbeValue = TypeName(v)\n"
            L" If IsArray(v) Then\n  For Each e In v : ProbeValue = ProbeValue & \" \" & e : Next\n"
            L" ElseIf Not IsObject(v) Then\n  ProbeValue = ProbeValue & \" \" & CStr(v)\n End If\n"
            L" If Err.Number <> 0 Then ProbeValue = ProbeValue & \" !\" & Err.Number\nEnd "
            L"Function\n",
            &syntax))
        return out + L"probe does not compile";
    std::set<std::wstring> names;
    const std::wregex word(L"[A-Za-z][A-Za-z0-9_]*");
    for (auto it = std::wsregex_iterator(source.begin(), source.end(), word);
         it != std::wsregex_iterator();
         ++it)
        names.insert(FoldCase(it->str()));
    for (const std::wstring& name : names) {
        out += name + L"=";
        if (!engine.AddCode(L"WScript.Echo ProbeValue(" + name + L")", &syntax)) {
            if (stopped(syntax.number))
                return out + L"stopped " + std::to_wstring(syntax.number);
            out += Failure(syntax.number, syntax.description, syntax.line);
        }
    }
    return out;
}

// The script files' text: UTF-8 with or without a byte order mark, or UTF-16LE with one.
std::wstring ReadScript(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return text;
    }
    std::string_view view(bytes);
    if (view.starts_with("\xEF\xBB\xBF"))
        view.remove_prefix(3);
    return plat::FromUtf8(view);
}

std::vector<std::filesystem::path> ScriptsIn(const char* folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() != ".out")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// `mustParse`: the scripts are meant to run, so one that does not parse tests nothing.
void ExpectSameBothWays(const char* folder, bool mustParse = false) {
    const auto files = ScriptsIn(folder);
    ASSERT_FALSE(files.empty()) << "no scripts in " << folder;
    for (const auto& file : files) {
        const std::wstring source = ReadScript(file);
        if (mustParse) {
            const ParseResult parsed = Parse(source);
            EXPECT_FALSE(parsed.error) << file.string() << " line " << parsed.error->line;
        }
        const std::wstring fast = Transcript(source, true);
        const std::wstring plain = Transcript(source, false);
        EXPECT_EQ(plat::ToUtf8(fast), plat::ToUtf8(plain)) << file.string();
    }
}

TEST(FastPathDifferential, RunFuzzCorpus) {
    ExpectSameBothWays(ORVO_VBS_RUN_CORPUS);
}

TEST(FastPathDifferential, ParseFuzzCorpus) {
    ExpectSameBothWays(ORVO_VBS_PARSE_CORPUS);
}

TEST(FastPathDifferential, VbsrunScripts) {
    ExpectSameBothWays(ORVO_VBSRUN_SCRIPTS);
}

TEST(FastPathDifferential, FastPathEdges) {
    ExpectSameBothWays(ORVO_VBS_FAST_PATH_SCRIPTS, true);
}

// The comparison itself must see what a script does: a transcript that missed the echoes,
// the errors or the variables would make every comparison above pass.
TEST(FastPathDifferential, TranscriptsShowOutputErrorsAndVariables) {
    const std::wstring transcript = Transcript(
        L"WScript.Echo \"hi\", 1 + 1\nx = 32767 + 1\nFunction f(n) : n = n * 2 : f = 1 / 0 : "
        L"End Function\nSub main(a) : a = a & \"!\" : End Sub\n",
        true);
    for (const wchar_t* expected : {L"hi 2\n",
                                    L"x=Long 32768\n",
                                    L"f: error 11 'Division by zero' line 3\n",
                                    L"main: Empty  / String 3!\n"})
        EXPECT_NE(transcript.find(expected), std::wstring::npos)
            << plat::ToUtf8(expected) << " in\n"
            << plat::ToUtf8(transcript);
}

TEST(FastPathDifferential, TheSwitchChangesTheCodeNotTheResult) {
    // Both ways give the same answer; only the off way is allowed to take longer.
    const std::wstring loop =
        L"Function f()\n i = 0\n Do While i < 30000 : i = i + 1 : s = s + i : "
        L"Loop\n f = s\nEnd Function\n";
    EXPECT_EQ(Transcript(loop, true), Transcript(loop, false));
    // Off, the loop needs more steps, so the fused forms are really gone: each pass takes a
    // test and a jump back instead of one compare-and-jump.
    Engine fast, plain;
    fast.SetFastPaths(true); // whatever ORVO_VBS_NO_FAST_PATHS says for the whole run
    plain.SetFastPaths(false);
    for (Engine* engine : {&fast, &plain}) {
        engine->SetLimits(45000, 100);
        ASSERT_TRUE(engine->AddCode(loop, nullptr));
    }
    Value result;
    EXPECT_TRUE(fast.Call(L"f", {}, &result, nullptr));
    EXPECT_EQ(ToString(result), L"450015000");
    ScriptError error{};
    EXPECT_FALSE(plain.Call(L"f", {}, &result, &error));
    EXPECT_EQ(error.number, 7000);
}

TEST(FastPathDifferential, EnvironmentTurnsThemOff) {
    ASSERT_EQ(setenv("ORVO_VBS_NO_FAST_PATHS", "1", 1), 0);
    Engine off;
    ASSERT_EQ(setenv("ORVO_VBS_NO_FAST_PATHS", "0", 1), 0);
    Engine on;
    ASSERT_EQ(unsetenv("ORVO_VBS_NO_FAST_PATHS"), 0);
    Engine unset;
    EXPECT_FALSE(off.FastPaths());
    EXPECT_TRUE(on.FastPaths());
    EXPECT_TRUE(unset.FastPaths());
}

} // namespace
