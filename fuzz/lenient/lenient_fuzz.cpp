// Feeds arbitrary bytes to the lenient conversions, the code-page and UTF-8 converters and
// the printf forms (the bytes as the format). Besides crashes it checks the round trips
// that must hold for any input.
#include "platform/base/codepage.h"
#include "platform/base/format.h"
#include "platform/base/lenient.h"
#include "platform/base/text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void Numbers(const std::wstring& text) {
    const int small = plat::_wtoi(text);
    const std::int64_t big = plat::_wtoi64(text);
    // Both read the same digits; the narrow one saturates.
    Check(big > INT32_MAX   ? small == INT32_MAX
          : big < INT32_MIN ? small == INT32_MIN
                            : small == big);
    Check(plat::_wtoi(text.c_str()) == plat::_wtoi(std::wstring_view(text.c_str())));
    (void)plat::_wtof(text);
    (void)plat::_wtof(text.c_str());
    unsigned scanned = 0;
    (void)plat::ScanUnsigned(text, scanned);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::wstring fromUtf8 = plat::FromUtf8(bytes);
    // Decoded text holds only scalar values, so it survives UTF-8 unchanged.
    Check(plat::FromUtf8(plat::ToUtf8(fromUtf8)) == fromUtf8);

    const std::wstring fromAnsi = plat::FromAnsi(bytes);
    const std::string ansi = plat::ToAnsi(fromAnsi);
    (void)plat::FromAnsi(ansi);
    (void)plat::DecodeBytes(bytes, "EUC-KR");

    Numbers(fromUtf8);
    Numbers(fromAnsi);

    const std::string narrow = "\xC7\xD1";
    const std::wstring formatted = plat::Format(fromUtf8,
                                                42,
                                                -7,
                                                3.25,
                                                L"text",
                                                narrow,
                                                static_cast<const void*>(data),
                                                L'x',
                                                1e300,
                                                UINT64_MAX,
                                                -0.0);
    (void)formatted;
    return 0;
}
