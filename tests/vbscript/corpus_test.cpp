// Long scripts as screen authors write them (classes, dictionaries, dates, RegExp checks,
// error handling, Execute and Eval), each beside the output the language gives for it. The
// whole output must match, with the fast paths on and off.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/base/text.h"
#include "vbscript/coerce.h"
#include "vbscript/engine.h"

using namespace vbs;

namespace {

// WScript.Echo: the arguments' values separated by spaces, one line per call.
class EchoHost : public Object {
public:
    explicit EchoHost(std::wstring& out) : m_out(out) {}

    Value Invoke(std::wstring_view name, Access, std::span<Value> args) override {
        if (FoldCase(name) != L"echo")
            RaiseError(err::NoSuchMember);
        for (std::size_t i = 0; i < args.size(); ++i) {
            const Value v = Dereference(args[i]);
            m_out += (i ? L" " : L"") + (v.IsNull() ? std::wstring(L"Null") : ToString(v));
        }
        m_out += L"\n";
        return Value();
    }

private:
    std::wstring& m_out;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What the script echoes, then the error that ended it, if any.
std::string Output(const std::string& source, bool fastPaths) {
    std::wstring out;
    Engine engine;
    engine.SetFastPaths(fastPaths);
    engine.AddNamedItem(L"WScript", Value::FromObject(new EchoHost(out)));
    SyntaxError error;
    if (!engine.AddCode(plat::FromUtf8(source), &error))
        out += L"error " + std::to_wstring(error.number) + L" line " + std::to_wstring(error.line) +
               L": " + error.description + L"\n";
    return plat::ToUtf8(out);
}

std::vector<std::filesystem::path> Scripts() {
    std::vector<std::filesystem::path> scripts;
    for (const auto& entry : std::filesystem::directory_iterator(ORVO_VBS_SCRIPT_CORPUS))
        if (entry.path().extension() == ".vbs")
            scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

TEST(ScriptCorpus, EachScriptPrintsWhatTheLanguageGives) {
    const auto scripts = Scripts();
    ASSERT_GE(scripts.size(), 5u) << "the corpus is missing";
    for (const auto& script : scripts) {
        auto expectedPath = script;
        expectedPath.replace_extension(".out");
        ASSERT_TRUE(std::filesystem::exists(expectedPath)) << expectedPath;
        const std::string source = ReadFile(script);
        const std::string expected = ReadFile(expectedPath);
        EXPECT_EQ(Output(source, true), expected) << script.filename();
        EXPECT_EQ(Output(source, false), expected) << script.filename() << " without fast paths";
    }
}

} // namespace
