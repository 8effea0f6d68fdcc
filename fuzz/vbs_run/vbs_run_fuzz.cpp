// Arbitrary scripts run under small limits: whatever they do, the engine answers with a
// result or a script error, within its step budget, without crashing.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "platform/base/text.h"
#include "vbscript/engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring source =
        plat::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    vbs::Engine engine;
    engine.SetLimits(20000, 64);
    vbs::SyntaxError error;
    if (!engine.AddCode(source, &error))
        orvo::fuzz::Check(!error.description.empty());
    // Procedures the script declared are called the way markup calls them.
    for (const wchar_t* name : {L"main", L"f", L"test"}) {
        if (!engine.HasFunction(name))
            continue;
        vbs::Value argument = vbs::Value::Long(3);
        vbs::Value result;
        vbs::ScriptError failure;
        engine.Call(name, std::span<vbs::Value>(&argument, 1), &result, &failure);
    }
    return 0;
}
