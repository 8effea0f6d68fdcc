// SEED decryption of arbitrary input, as Base64 text and as raw blocks: never reads outside
// the buffers, reports lengths that fit the data, and gives back what it encrypted.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "data/comm_man.h"
#include "fuzz_support.h"

using orvo::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    XCommMan& comm = XCommMan::Instance();

    const std::wstring text = orvo::fuzz::Widen(data, size);
    int length = -1;
    const std::wstring plain = comm.DecryptSEED(text.c_str(), &length);
    // Base64 gives 3 bytes for 4 characters, and at least one of them is padding.
    Check(length == -1 ? plain.empty() : length >= 0 && length < static_cast<int>(size));

    // An exactly sized copy, so that reading past the end is caught.
    std::vector<std::uint8_t> bytes(data, data + size);
    length = -1;
    comm.DecryptSEEDBin(bytes.data(), static_cast<int>(size), &length);
    if (length != -1)
        Check(size % 16 == 0 && length >= 0 && length < static_cast<int>(size) &&
              bytes.back() == 0);

    int sealedLength = -1;
    std::vector<std::uint8_t> sealed =
        comm.EncryptSEEDBin(data, static_cast<int>(size), &sealedLength);
    if (size == 0) {
        Check(sealed.empty() && sealedLength == -1);
        return 0;
    }
    Check(sealedLength == static_cast<int>(sealed.size()) && sealed.size() % 16 == 0 &&
          sealed.size() > size && sealed.size() <= size + 16);
    length = -1;
    comm.DecryptSEEDBin(sealed.data(), sealedLength, &length);
    Check(length == static_cast<int>(size) && std::memcmp(sealed.data(), data, size) == 0);
    return 0;
}
