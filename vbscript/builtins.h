#pragma once
// The language's built-in functions, looked up by name (without case) when the compiler
// meets a name that no script declares. Each takes its arguments already evaluated (and
// dereferenced where the function wants values) and throws ScriptError for bad ones.
#include <span>
#include <string_view>

#include "vbscript/value.h"

namespace vbs {

class Runtime; // what a built-in may ask of the running engine (MsgBox, Err, time)

// `runtime` is null when a caller has no engine (tests); only functions that need the
// engine look at it.
using BuiltinFunction = Value (*)(Runtime* runtime, std::span<Value> args);

struct Builtin {
    const wchar_t* name;
    BuiltinFunction function;
    int minArgs;
    int maxArgs; // -1: any number
};

// Null when the language has no built-in of that name.
const Builtin* FindBuiltin(std::wstring_view name);

} // namespace vbs
