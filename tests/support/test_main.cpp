// The main of every test program above the registry: each test case must leave the registry
// as it found it. A case that does not is named with what it changed, the registry is put
// back for the next case, and the program fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "nubra/dispatch_map.h"
#include "nubra/registry_snapshot.h"
#include "platform/base/text.h"

namespace {

class RegistryGuard : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override {
        m_before = orvo::RegistrySnapshot::Take();
    }

    void OnTestEnd(const testing::TestInfo& info) override {
        const auto differences = m_before.Differences();
        if (differences.empty())
            return;
        ++m_leaks;
        std::cerr << "[ REGISTRY ] " << info.test_suite_name() << "." << info.name()
                  << " left the registry changed:\n";
        for (const auto& line : differences)
            std::cerr << "             " << plat::ToUtf8(line) << "\n";
        m_before.Restore();
    }

    int Leaks() const { return m_leaks; }

private:
    orvo::RegistrySnapshot m_before;
    int m_leaks = 0;
};

// Every class linked into this program publishes each name once: a second declaration would
// silently lose to the first.
TEST(DispatchMaps, NoClassDeclaresANameTwice) {
    for (const auto& duplicate : orvo::DispatchMap::DuplicatesOfEveryMap())
        ADD_FAILURE() << "declared twice: " << plat::ToUtf8(duplicate);
}

} // namespace

int main(int argc, char** argv) {
    // Fixtures are found from the source tree, and Qt never needs a display.
    ::setenv("ORVO_FIXTURES", ORVO_FIXTURES_DIR, 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    auto* guard = new RegistryGuard(); // owned by GoogleTest once appended
    testing::UnitTest::GetInstance()->listeners().Append(guard);
    const int result = RUN_ALL_TESTS();
    return result != 0 || guard->Leaks() != 0 ? 1 : 0;
}
