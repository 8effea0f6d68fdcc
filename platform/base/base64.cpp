#include "platform/base/base64.h"

#include <array>

namespace plat {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kInvalid = 0xFF;

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    table.fill(kInvalid);
    for (std::uint8_t i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}
constexpr std::array<std::uint8_t, 256> kDecode = MakeDecodeTable();

} // namespace

std::string EncodeBase64(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        text.push_back(kAlphabet[group >> 18]);
        text.push_back(kAlphabet[group >> 12 & 0x3F]);
        text.push_back(kAlphabet[group >> 6 & 0x3F]);
        text.push_back(kAlphabet[group & 0x3F]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        const std::uint32_t group = bytes[i] << 16 | (rest == 2 ? bytes[i + 1] << 8 : 0);
        text.push_back(kAlphabet[group >> 18]);
        text.push_back(kAlphabet[group >> 12 & 0x3F]);
        text.push_back(rest == 2 ? kAlphabet[group >> 6 & 0x3F] : '=');
        text.push_back('=');
    }
    return text;
}

bool DecodeBase64(std::string_view text, std::vector<std::uint8_t>& out) {
    out.clear();
    if (text.size() % 4 != 0)
        return false;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=')
        padding = text[text.size() - 2] == '=' ? 2 : 1;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const std::size_t digits = last ? 4 - padding : 4;
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const std::uint8_t value =
                j < digits ? kDecode[static_cast<unsigned char>(text[i + j])] : 0;
            if (value == kInvalid) {
                out.clear();
                return false;
            }
            group = group << 6 | value;
        }
        // A non-canonical encoding carries bits the padding drops: a sign of corruption.
        if ((digits == 3 && (group & 0xFF) != 0) || (digits == 2 && (group & 0xFFFF) != 0)) {
            out.clear();
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(group >> 16));
        if (digits > 2)
            out.push_back(static_cast<std::uint8_t>(group >> 8));
        if (digits > 3)
            out.push_back(static_cast<std::uint8_t>(group));
    }
    return true;
}

} // namespace plat
