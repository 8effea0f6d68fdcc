#include "platform/base/heap_policy.h"

#include <cstdlib> // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plat {

void SetHeapPolicy() {
#if defined(__GLIBC__)
    // Fixed values also stop glibc from adjusting them on its own as blocks come and go.
    constexpr int kTrimAbove = 512 * 1024 * 1024;
    constexpr int kMapAbove = 32 * 1024 * 1024; // glibc's own ceiling for this setting
    mallopt(M_TRIM_THRESHOLD, kTrimAbove);
    mallopt(M_MMAP_THRESHOLD, kMapAbove);
    mallopt(M_MXFAST, 0);
#endif
}

} // namespace plat
