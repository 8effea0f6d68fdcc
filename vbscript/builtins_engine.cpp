// What a script may ask about the engine running it: the name and version the language's
// own engine reports, so scripts that check them take the path written for it.
#include <span>

#include "vbscript/builtins.h"

namespace vbs {
namespace {

constexpr std::int32_t kMajorVersion = 5;
constexpr std::int32_t kMinorVersion = 8;
constexpr std::int32_t kBuildVersion = 16384;

Value ScriptEngine(Runtime*, std::span<Value>) {
    return Value::String(L"VBScript");
}

template <std::int32_t Number> Value Version(Runtime*, std::span<Value>) {
    return Value::Long(Number);
}

const Builtin engineBuiltins[] = {
    {L"ScriptEngine", ScriptEngine, 0, 0},
    {L"ScriptEngineBuildVersion", Version<kBuildVersion>, 0, 0},
    {L"ScriptEngineMajorVersion", Version<kMajorVersion>, 0, 0},
    {L"ScriptEngineMinorVersion", Version<kMinorVersion>, 0, 0},
};

} // namespace

std::span<const Builtin> EngineBuiltins() {
    return engineBuiltins;
}

} // namespace vbs
