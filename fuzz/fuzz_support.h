#pragma once
// Small pieces shared by the fuzz targets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace orvo::fuzz {

// An invariant broken: stop so libFuzzer keeps the input.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Bytes as wide text; bytes from 0xF0 up stand for Hangul syllables so that characters
// outside Latin-1 are exercised too.
inline std::wstring Widen(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i)
        text.push_back(data[i] >= 0xF0 ? static_cast<wchar_t>(0xAC00 + data[i]) : data[i]);
    return text;
}

} // namespace orvo::fuzz
