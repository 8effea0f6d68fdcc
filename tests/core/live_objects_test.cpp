// The set of live objects answers exactly for the addresses in it, through growth and
// removals that close up probe runs (wrapping around the end of the table included).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>

#include "core/live_objects.h"

namespace {

const XDO* Address(std::uint64_t n) {
    return reinterpret_cast<const XDO*>(static_cast<std::uintptr_t>(n * 16 + 0x10000));
}

TEST(LiveObjects, AnswersLikeAnOrderedSetThroughAnyMixOfAddsAndRemoves) {
    std::mt19937_64 random(20261206);
    std::set<std::uint64_t> expected;
    for (int round = 0; round < 200000; ++round) {
        const std::uint64_t n = random() % 50000;
        if (random() % 3 == 0) {
            orvo::LiveObjects::Remove(Address(n));
            expected.erase(n);
        } else {
            orvo::LiveObjects::Add(Address(n));
            expected.insert(n);
        }
        const std::uint64_t probe = random() % 50000;
        ASSERT_EQ(orvo::LiveObjects::Contains(Address(probe)), expected.count(probe) != 0) << round;
    }
    for (std::uint64_t n = 0; n < 50000; ++n)
        ASSERT_EQ(orvo::LiveObjects::Contains(Address(n)), expected.count(n) != 0) << n;
    // Emptying it leaves no entry behind that a later probe could stop at or find.
    for (std::uint64_t n : expected)
        orvo::LiveObjects::Remove(Address(n));
    for (std::uint64_t n = 0; n < 50000; ++n)
        ASSERT_FALSE(orvo::LiveObjects::Contains(Address(n))) << n;
    EXPECT_FALSE(orvo::LiveObjects::Contains(nullptr));
}

} // namespace
