#pragma once
// The SEED block cipher (128-bit blocks and keys) in ECB mode, through libgcrypt. The key
// schedule is computed once per key, so encrypting a buffer is one library call.
#include <cstddef>
#include <cstdint>
#include <span>

struct gcry_cipher_handle; // libgcrypt's handle; its header stays out of ours

namespace orvo {

// The key the library ships with, shared with the peer that decrypts the data. The project
// INI file ("Comm" "SeedKey") replaces it per deployment.
inline constexpr wchar_t kBuiltInSeedKeyHex[] = L"6F72766F2D636F6D6D2D736565642D31";

class SeedCipher {
public:
    static constexpr std::size_t kBlockSize = 16;
    static constexpr std::size_t kKeySize = 16;

    explicit SeedCipher(std::span<const std::uint8_t, kKeySize> key);
    ~SeedCipher();
    SeedCipher(const SeedCipher&) = delete;
    SeedCipher& operator=(const SeedCipher&) = delete;

    void SetKey(std::span<const std::uint8_t, kKeySize> key);

    // In place, each block on its own. False (bytes untouched) for a length that is not a
    // multiple of the block size, and for everything when libgcrypt offers no SEED.
    bool Encrypt(std::span<std::uint8_t> bytes) const;
    bool Decrypt(std::span<std::uint8_t> bytes) const;

private:
    gcry_cipher_handle* m_handle = nullptr;
};

} // namespace orvo
