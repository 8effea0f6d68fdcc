#include "platform/base/heap_policy.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ORVO_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVO_OWN_ALLOCATOR 1
#endif
#endif

namespace {

// Blocks too big for glibc's small-block lists and too small to be mapped on their own: freed,
// they merge into the top of the heap, which glibc would hand back to the kernel.
TEST(HeapPolicyTest, FreedMemoryStaysWithTheProcess) {
#if defined(ORVO_OWN_ALLOCATOR)
    GTEST_SKIP() << "the sanitizer's allocator takes no glibc settings";
#else
    plat::SetHeapPolicy();
    std::vector<void*> blocks(2000);
    for (void*& block : blocks)
        block = std::malloc(16 * 1024);
    const auto* grown = static_cast<const char*>(sbrk(0));
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it)
        std::free(*it);
    const auto* after = static_cast<const char*>(sbrk(0));
    EXPECT_EQ(after, grown) << "the heap shrank by " << (grown - after) << " bytes";
#endif
}

// More small blocks than the per-thread cache holds: freed, none waits in a fast list.
TEST(HeapPolicyTest, SmallBlocksAreMergedWhenFreed) {
#if defined(ORVO_OWN_ALLOCATOR)
    GTEST_SKIP() << "the sanitizer's allocator takes no glibc settings";
#else
    plat::SetHeapPolicy();
    std::vector<void*> blocks(200);
    for (void*& block : blocks)
        block = std::malloc(48);
    for (void* block : blocks)
        std::free(block);
    EXPECT_EQ(mallinfo2().smblks, 0u);
#endif
}

} // namespace
