// Input scripts: any bytes as UTF-8 text, parsed into steps or refused with a line number.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/text.h"
#include "shell/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text =
        plat::FromUtf8(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<orvo::InputStep> steps;
    std::wstring error;
    const bool parsed = orvo::InputScript::Parse(text, steps, error);
    // Refused scripts name their line; accepted ones keep their lines in order.
    if (!parsed && (error.rfind(L"line ", 0) != 0 || !steps.empty()))
        __builtin_trap();
    int last = 0;
    for (const orvo::InputStep& step : steps) {
        if (step.line <= last)
            __builtin_trap();
        last = step.line;
    }
    return 0;
}
