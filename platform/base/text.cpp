#include "platform/base/text.h"

#include <cstdint>

namespace plat {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length and minimum code point of a sequence started by `lead`, or 0 when `lead` cannot
// start one.
int SequenceLength(unsigned char lead, std::uint32_t& minimum) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        minimum = 0x80;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        minimum = 0x800;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        minimum = 0x10000;
        return 4;
    }
    return 0;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::wstring FromUtf8(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        std::uint32_t minimum = 0;
        const int length = SequenceLength(lead, minimum);
        bool valid = length > 0 && i + length <= utf8.size();
        std::uint32_t c = 0;
        if (valid) {
            c = lead & (0x7F >> length);
            for (int k = 1; k < length && valid; ++k) {
                const auto b = static_cast<unsigned char>(utf8[i + k]);
                valid = IsContinuation(b);
                c = (c << 6) | (b & 0x3F);
            }
            valid = valid && c >= minimum && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        }
        if (valid) {
            out += static_cast<wchar_t>(c);
            i += length;
        } else {
            // Only the lead byte is consumed, so a good sequence after it still decodes.
            out += kReplacement;
            ++i;
        }
    }
    return out;
}

std::string ToUtf8(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (const wchar_t w : wide) {
        auto c = static_cast<std::uint32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace plat
