// Scripts as anyone might write them: any bytes read as UTF-8, parsed and dumped. A failure
// must name a real position; a success must survive dumping at any depth it allowed.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "platform/base/text.h"
#include "vbscript/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring source =
        plat::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    vbs::ParseOptions small;
    small.maxDepth = 64;
    for (const vbs::ParseOptions& options : {vbs::ParseOptions{}, small}) {
        vbs::ParseResult result = vbs::Parse(source, options);
        orvo::fuzz::Check(result.program != nullptr || result.error.has_value());
        if (result.program) {
            vbs::Dump(*result.program);
            continue;
        }
        const vbs::SyntaxError& error = *result.error;
        orvo::fuzz::Check(error.line >= 1 && error.column >= 1 && !error.description.empty());
        orvo::fuzz::Check(error.sourceLine.find(L'\n') == std::wstring::npos);
    }
    return 0;
}
