#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks) for binary data carried
// in text, such as the encrypted texts exchanged with the trading server.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

std::string EncodeBase64(std::span<const std::uint8_t> bytes);

// Only the canonical form is accepted: a length that is a multiple of 4, alphabet
// characters, "=" only as the last one or two, unused bits zero. False leaves `out` empty.
bool DecodeBase64(std::string_view text, std::vector<std::uint8_t>& out);

} // namespace plat
