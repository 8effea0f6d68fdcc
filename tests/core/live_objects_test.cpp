// The set of live objects answers exactly for the addresses in it, through growth and
// removals that close up probe runs (wrapping around the end of the table included).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>

#include "core/live_objects.h"

namespace {

// Adds, removals and lookups in random order over `count` addresses `spacing` bytes apart,
// checked against an ordered set after every step; then the set is emptied.
void Exercise(std::uint64_t spacing, std::uint64_t count, std::uint64_t seed) {
    auto address = [spacing](std::uint64_t n) {
        return reinterpret_cast<const XDO*>(static_cast<std::uintptr_t>(n * spacing + 0x10000));
    };
    std::mt19937_64 random(seed);
    std::set<std::uint64_t> expected;
    for (int round = 0; round < 200000; ++round) {
        const std::uint64_t n = random() % count;
        if (random() % 3 == 0) {
            orvo::LiveObjects::Remove(address(n));
            expected.erase(n);
        } else {
            orvo::LiveObjects::Add(address(n));
            expected.insert(n);
        }
        const std::uint64_t probe = random() % count;
        ASSERT_EQ(orvo::LiveObjects::Contains(address(probe)), expected.count(probe) != 0) << round;
    }
    for (std::uint64_t n = 0; n < count; ++n)
        ASSERT_EQ(orvo::LiveObjects::Contains(address(n)), expected.count(n) != 0) << n;
    // Emptying it leaves no entry behind that a later probe could stop at or find.
    for (std::uint64_t n : expected)
        orvo::LiveObjects::Remove(address(n));
    for (std::uint64_t n = 0; n < count; ++n)
        ASSERT_FALSE(orvo::LiveObjects::Contains(address(n))) << n;
}

TEST(LiveObjects, AnswersLikeAnOrderedSetThroughAnyMixOfAddsAndRemoves) {
    // As close together as objects can be, within one megabyte: neighbouring homes, so probe
    // runs are long and merge.
    Exercise(orvo::LiveObjects::kBytesPerSlot, 8000, 20261206);
    // Spread like a page's objects over many megabytes, whose runs meet at scrambled places.
    Exercise(800, 50000, 20261208);
    EXPECT_FALSE(orvo::LiveObjects::Contains(nullptr));
}

} // namespace
