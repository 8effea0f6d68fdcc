// vbsrun: runs VBScript files from the command line in one engine, the way the console
// script host does, with a "WScript" object for output, arguments and the exit code.
//
//   vbsrun [--max-steps N] [--max-depth N] [--no-fast-paths] file.vbs [more.vbs ...]
//          [-- arguments ...]
//
// Exit codes: the code given to WScript.Quit, 0 when the scripts end normally, 1 for a
// script error, 2 when the command line is wrong or a file cannot be read.
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/text.h"
#include "vbscript/engine.h"
#include "vbsrun/console_message_box.h"
#include "vbsrun/script_file.h"
#include "vbsrun/wscript_object.h"

namespace {

constexpr int kExitScriptError = 1;
constexpr int kExitCannotRun = 2;

struct CommandLine {
    std::vector<std::string> files;
    std::vector<std::wstring> arguments;
    vbs::Limits limits;
    bool fastPaths = true;
};

void Write(std::FILE* stream, std::wstring_view text) {
    const std::string bytes = plat::ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

void Usage(const char* problem) {
    std::fprintf(stderr,
                 "vbsrun: %s\nusage: vbsrun [--max-steps N] [--max-depth N] [--no-fast-paths] "
                 "file.vbs [more.vbs ...] [-- arguments ...]\n",
                 problem);
}

template <class Number> bool ParsePositive(const char* text, Number& out) {
    const std::string_view view(text);
    Number value{};
    const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (ec != std::errc() || end != view.data() + view.size() || value <= 0)
        return false;
    out = value;
    return true;
}

bool ParseCommandLine(int argc, char** argv, CommandLine& line) {
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--no-fast-paths") {
            line.fastPaths = false;
        } else if (arg == "--max-steps" || arg == "--max-depth") {
            const bool valid =
                i + 1 < argc &&
                (arg == "--max-steps" ? ParsePositive(argv[i + 1], line.limits.maxSteps)
                                      : ParsePositive(argv[i + 1], line.limits.maxDepth));
            if (!valid) {
                Usage((std::string(arg) + " needs a positive whole number").c_str());
                return false;
            }
            ++i;
        } else if (arg.starts_with("--")) {
            Usage(("unknown option " + std::string(arg)).c_str());
            return false;
        } else {
            line.files.emplace_back(arg);
        }
    }
    for (; i < argc; ++i)
        line.arguments.push_back(plat::FromUtf8(argv[i]));
    if (line.files.empty()) {
        Usage("no script file given");
        return false;
    }
    return true;
}

// Compile errors come from the parser and compiler: their numbers are the 1000s, and they
// know their column, which run-time errors do not.
bool IsCompileError(const vbs::SyntaxError& error) {
    return (error.number >= 1000 && error.number < 1100) || error.column > 0;
}

// A run-time error is reported at the start of its statement's line; 0 when the line is not
// known.
int StatementColumn(const vbs::SyntaxError& error) {
    if (error.line <= 0)
        return 0;
    const std::wstring_view sourceLine = error.sourceLine;
    const std::size_t first = sourceLine.find_first_not_of(L" \t");
    return first == std::wstring_view::npos ? 1 : static_cast<int>(first) + 1;
}

void ReportError(const std::string& file, const vbs::SyntaxError& error) {
    const bool compile = IsCompileError(error);
    const int column = compile ? error.column : StatementColumn(error);
    std::wstring message = plat::FromUtf8(file) + L"(" + std::to_wstring(error.line) + L", " +
                           std::to_wstring(column) + L") Microsoft VBScript " +
                           (compile ? L"compilation" : L"runtime") + L" error: " +
                           error.description + L"\n";
    if (!error.sourceLine.empty())
        message += error.sourceLine + L"\n";
    Write(stderr, message);
}

int Run(const CommandLine& line) {
    std::vector<std::wstring> sources(line.files.size());
    for (std::size_t i = 0; i < line.files.size(); ++i) {
        std::string problem;
        if (!orvo::ReadScriptFile(line.files[i], sources[i], problem)) {
            std::fprintf(
                stderr, "vbsrun: cannot read %s: %s\n", line.files[i].c_str(), problem.c_str());
            return kExitCannotRun;
        }
    }

    vbs::Engine engine;
    engine.SetLimits(line.limits.maxSteps, line.limits.maxDepth);
    if (!line.fastPaths)
        engine.SetFastPaths(false);
    const auto out = [](std::wstring_view text) { Write(stdout, text); };
    const auto err = [](std::wstring_view text) {
        std::fflush(stdout);
        Write(stderr, text);
    };
    engine.GetRuntime().SetOutput(out);
    engine.GetRuntime().SetMessageBox(
        [out](std::wstring_view text, int buttons, std::wstring_view) {
            out(std::wstring(text) + L"\n");
            return orvo::DefaultButtonAnswer(buttons);
        });
    auto* wscript = new orvo::WScriptObject(line.arguments, out, err);
    const vbs::Value wscriptValue = vbs::Value::FromObject(wscript);
    engine.AddNamedItem(L"WScript", wscriptValue);

    for (std::size_t i = 0; i < line.files.size(); ++i) {
        const std::filesystem::path path(line.files[i]);
        std::error_code ignored;
        const std::filesystem::path full = std::filesystem::absolute(path, ignored);
        wscript->SetScript(plat::FromUtf8(path.filename().string()),
                           plat::FromUtf8(full.lexically_normal().string()));
        vbs::SyntaxError error;
        const bool ran = engine.AddCode(sources[i], &error);
        if (wscript->QuitCode())
            return *wscript->QuitCode();
        if (!ran) {
            std::fflush(stdout);
            ReportError(line.files[i], error);
            return kExitScriptError;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    const int code = ParseCommandLine(argc, argv, line) ? Run(line) : kExitCannotRun;
    std::fflush(stdout);
    return code;
}
