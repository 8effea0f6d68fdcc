// What a script may ask about the engine running it: the name and version the language's
// own engine reports, so scripts that check them take the path written for it, and the
// locale it was given.
#include <span>

#include "vbscript/builtins.h"
#include "vbscript/coerce.h"
#include "vbscript/global_scope.h"
#include "vbscript/runtime.h"
#include "vbscript/script_error.h"

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

Value GetLocale(Runtime* runtime, std::span<Value>) {
    return Value::Long(runtime ? runtime->Locale() : Runtime::kDefaultLocale);
}

// Answers the locale it replaces; without an argument (or 0) the default comes back. A
// locale is a positive LCID or "en-us"; no other name is known.
Value SetLocale(Runtime* runtime, std::span<Value> a) {
    std::int32_t lcid = Runtime::kDefaultLocale;
    if (!a.empty() && !a[0].IsEmpty()) {
        if (a[0].IsNull())
            RaiseError(err::InvalidUseOfNull);
        double number;
        if (a[0].Type() == VarType::String && !ParseNumber(a[0].AsString(), number)) {
            if (FoldCase(a[0].AsString()) != L"en-us")
                RaiseError(err::InvalidCall);
        } else {
            lcid = ToLong(a[0]);
            if (lcid < 0)
                RaiseError(err::InvalidCall);
            if (lcid == 0)
                lcid = Runtime::kDefaultLocale;
        }
    }
    const Value previous = GetLocale(runtime, a);
    if (runtime)
        runtime->SetLocale(lcid);
    return previous;
}

const Builtin engineBuiltins[] = {
    {L"GetLocale", GetLocale, 0, 0},
    {L"SetLocale", SetLocale, 0, 1},
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
