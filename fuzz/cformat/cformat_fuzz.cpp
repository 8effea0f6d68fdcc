// A display format and a value from one input: the first byte says where the format ends.
// Also feeds the input after that byte to GetColor, which shares the "bad text never crashes" rule.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"

#include "nubra/color.h"
#include "nubra/format.h"

using orvo::fuzz::Check;
using orvo::fuzz::Widen;

namespace {} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t formatLength = std::min<std::size_t>(data[0], size - 1);
    const std::wstring format = Widen(data + 1, formatLength);
    const std::wstring value = Widen(data + 1 + formatLength, size - 1 - formatLength);

    CFormat compiled(format);
    const std::wstring shown = compiled.GetString(value);
    // Compiled once, the format must give the same answer every time and after a copy.
    Check(compiled.GetString(value) == shown);
    const CFormat copy = compiled;
    Check(copy.GetString(value) == shown);
    compiled.SetFormat(value);
    compiled.GetString(format);

    COLORREF colour = 0xDEADBEEF;
    if (!GetColor(Widen(data + 1, size - 1), colour)) {
        Check(colour == 0xDEADBEEF);
    }
    return 0;
}
