// SEED encryption of 1 MB through "CommMan" ("EncryptSEEDBin": a padded copy, encrypted),
// reported with libgcrypt's own ECB encryption of the same buffer for scale.
#include <gcrypt.h>

#include <cstdint>
#include <vector>

#include "data/comm_man.h"
#include "ratio_main.h"

namespace {

constexpr int kSize = 1 << 20;

const std::vector<unsigned char>& Buffer() {
    static const std::vector<unsigned char> buffer = [] {
        std::vector<unsigned char> b(kSize);
        for (int i = 0; i < kSize; ++i)
            b[i] = static_cast<unsigned char>(i * 31 + 7);
        return b;
    }();
    return buffer;
}

void BM_GcryptSeedEcb(benchmark::State& state) {
    XCommMan::Instance(); // liborvo has initialised libgcrypt by now
    gcry_cipher_hd_t handle = nullptr;
    if (gcry_cipher_open(&handle, GCRY_CIPHER_SEED, GCRY_CIPHER_MODE_ECB, 0) != 0) {
        state.SkipWithError("SEED unavailable");
        return;
    }
    const unsigned char key[16] = {}; // SEED's speed does not depend on the key
    gcry_cipher_setkey(handle, key, sizeof key);
    const std::vector<unsigned char>& in = Buffer();
    std::vector<unsigned char> out(in.size());
    for (auto _ : state) {
        gcry_cipher_encrypt(handle, out.data(), out.size(), in.data(), in.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kSize);
    gcry_cipher_close(handle);
}
BENCHMARK(BM_GcryptSeedEcb)->Unit(benchmark::kMillisecond);

void BM_EncryptSEEDBin(benchmark::State& state) {
    XCommMan& comm = XCommMan::Instance();
    const std::vector<unsigned char>& in = Buffer();
    for (auto _ : state) {
        int length = 0;
        std::vector<unsigned char> sealed = comm.EncryptSEEDBin(in.data(), kSize, &length);
        benchmark::DoNotOptimize(sealed.data());
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_EncryptSEEDBin)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return orvo::bench::RunWithRatios(argc, argv, {{"BM_EncryptSEEDBin", "BM_GcryptSeedEcb"}});
}
