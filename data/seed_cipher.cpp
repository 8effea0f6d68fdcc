#include "data/seed_cipher.h"

#include <gcrypt.h>

#include <cstdio>

namespace orvo {

namespace {

// A host that uses libgcrypt itself initialises it first, with its own settings; otherwise
// we do, without secure memory: the key lives in the binary anyway.
void InitializeLibrary() {
    static const bool s_initialized = [] {
        if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
            gcry_check_version(nullptr);
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        }
        return true;
    }();
    (void)s_initialized;
}

// Opening SEED in ECB mode fails only when libgcrypt was built without SEED or is in FIPS
// mode. The cipher then refuses every buffer, so nothing is ever sent in clear text.
void Report(const char* what, gcry_error_t error) {
    std::fprintf(stderr, "orvo: SEED cipher unavailable (%s: %s)\n", what, gcry_strerror(error));
}

} // namespace

SeedCipher::SeedCipher(std::span<const std::uint8_t, kKeySize> key) {
    InitializeLibrary();
    gcry_cipher_hd_t handle = nullptr;
    if (gcry_error_t error = gcry_cipher_open(&handle, GCRY_CIPHER_SEED, GCRY_CIPHER_MODE_ECB, 0)) {
        Report("open", error);
        return;
    }
    m_handle = handle;
    SetKey(key);
}

SeedCipher::~SeedCipher() {
    if (m_handle)
        gcry_cipher_close(m_handle);
}

void SeedCipher::SetKey(std::span<const std::uint8_t, kKeySize> key) {
    if (!m_handle)
        return;
    if (gcry_error_t error = gcry_cipher_setkey(m_handle, key.data(), key.size())) {
        Report("setkey", error);
        gcry_cipher_close(m_handle);
        m_handle = nullptr;
    }
}

bool SeedCipher::Encrypt(std::span<std::uint8_t> bytes) const {
    if (!m_handle || bytes.size() % kBlockSize != 0)
        return false;
    if (bytes.empty())
        return true;
    // A null input means in place.
    return gcry_cipher_encrypt(m_handle, bytes.data(), bytes.size(), nullptr, 0) == 0;
}

bool SeedCipher::Decrypt(std::span<std::uint8_t> bytes) const {
    if (!m_handle || bytes.size() % kBlockSize != 0)
        return false;
    if (bytes.empty())
        return true;
    return gcry_cipher_decrypt(m_handle, bytes.data(), bytes.size(), nullptr, 0) == 0;
}

} // namespace orvo
