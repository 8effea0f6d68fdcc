#pragma once
// Table-driven language cases: a Function f's body, and what f answers (as text) or the
// error number it fails with ("error N"). Every case runs in a fresh engine, with the fast
// paths on and off, which must agree.
#include <gtest/gtest.h>

#include <string>

#include "vbscript/coerce.h"
#include "vbscript/engine.h"

namespace semantics {

struct Case {
    const wchar_t* body;     // statements of Function f; f = ... gives the answer
    const wchar_t* expected; // f's value as CStr shows it, or "error N"
};

// `prelude`: procedures and classes the bodies use.
inline std::wstring Answer(const std::wstring& prelude, const std::wstring& body, bool fast) {
    vbs::Engine engine;
    engine.SetFastPaths(fast);
    engine.SetLimits(1'000'000, 200);
    vbs::SyntaxError syntax;
    if (!engine.AddCode(prelude + L"\nFunction f()\n" + body + L"\nEnd Function\n", &syntax))
        return L"error " + std::to_wstring(syntax.number);
    vbs::Value result;
    vbs::ScriptError error{};
    if (!engine.Call(L"f", {}, &result, &error))
        return L"error " + std::to_wstring(error.number);
    if (result.IsNull())
        return L"Null";
    if (result.Type() == vbs::VarType::Object || result.Type() == vbs::VarType::Array)
        return vbs::TypeName(result);
    return vbs::ToString(result);
}

inline std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

template <std::size_t N> void ExpectAll(const Case (&cases)[N], const std::wstring& prelude = L"") {
    for (const Case& c : cases) {
        const std::wstring fast = Answer(prelude, c.body, true);
        EXPECT_EQ(Narrow(fast), Narrow(c.expected)) << Narrow(c.body);
        EXPECT_EQ(Narrow(Answer(prelude, c.body, false)), Narrow(fast))
            << "without fast paths: " << Narrow(c.body);
    }
}

} // namespace semantics
