#include "vbsrun/script_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/base/text.h"

namespace orvo {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr wchar_t kReplacement = 0xFFFD;

std::wstring FromUtf16Le(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        text += unit >= 0xD800 && unit < 0xE000 ? kReplacement : static_cast<wchar_t>(unit);
    }
    if (i < bytes.size()) // an odd byte at the end
        text += kReplacement;
    return text;
}

} // namespace

std::wstring DecodeScriptText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeMark))
        return FromUtf16Le(bytes.substr(kUtf16LeMark.size()));
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    return plat::FromUtf8(bytes);
}

bool ReadScriptFile(const std::string& path, std::wstring& text, std::string& problem) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        problem = "it is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problem = std::strerror(errno);
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        problem = "read error";
        return false;
    }
    text = DecodeScriptText(bytes);
    return true;
}

} // namespace orvo
