// The test clock: timers started while it runs tick only as it advances, in due order, window
// timers and loop timers alike; killed and dead ones never tick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/pump.h"
#include "platform/gui/qt_event_loop.h"
#include "platform/gui/test_clock.h"
#include "platform/gui/window.h"

namespace {

struct TickLog : plat::WindowHandler {
    std::vector<std::string>* log = nullptr;
    std::string name;
    bool OnTimer(plat::Window& window, int id) override {
        log->push_back(name + std::to_string(id) + "@" + std::to_string(plat::TestClock::Now()));
        if (id == 9)
            window.KillTimer(9); // a tick that ends its own timer
        return true;
    }
};

class TestClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        start = plat::TestClock::Now();
        plat::TestClock::Start();
    }
    void TearDown() override {
        plat::TestClock::Stop();
        EXPECT_EQ(plat::TestClock::TimerCount(), 0u) << "every timer went with its owner";
    }
    std::string At(const std::string& what, int ms) const {
        return what + "@" + std::to_string(start + ms);
    }
    std::int64_t start = 0;
};

TEST_F(TestClockTest, WindowAndLoopTimersTickInDueOrderOnlyWhenAdvanced) {
    std::vector<std::string> log;
    plat::Window window(plat::WindowKind::TopLevel);
    TickLog handler;
    handler.log = &log;
    handler.name = "w";
    window.SetHandler(&handler);
    plat::QtEventLoop loop;
    ASSERT_TRUE(window.SetTimer(1, 30));
    ASSERT_TRUE(window.SetTimer(9, 10));
    const int loopTimer =
        loop.SetTimer(50, [&] { log.push_back("loop@" + std::to_string(plat::TestClock::Now())); });
    ASSERT_GT(loopTimer, 0);
    Pump(3);
    EXPECT_TRUE(log.empty()) << "real time does not move the clock";

    plat::TestClock::Advance(100);
    EXPECT_EQ(log,
              (std::vector<std::string>{At("w9", 10),
                                        At("w1", 30),
                                        At("loop", 50),
                                        At("w1", 60),
                                        At("w1", 90),
                                        At("loop", 100)}));
    EXPECT_EQ(plat::TestClock::Now(), start + 100);

    log.clear();
    window.KillTimer(1);
    loop.KillTimer(loopTimer);
    plat::TestClock::Advance(100);
    EXPECT_TRUE(log.empty());
}

TEST_F(TestClockTest, ADeadWindowTakesItsTimersAlong) {
    std::vector<std::string> log;
    TickLog handler;
    handler.log = &log;
    {
        plat::Window window(plat::WindowKind::TopLevel);
        window.SetHandler(&handler);
        window.SetTimer(2, 5);
        plat::QtEventLoop loop;
        loop.SetTimer(5, [&] { log.push_back("loop"); });
    }
    plat::TestClock::Advance(50);
    EXPECT_TRUE(log.empty());
}

TEST_F(TestClockTest, TimersStartedBeforeTheClockStayOnRealTime) {
    plat::TestClock::Stop();
    plat::Window window(plat::WindowKind::TopLevel);
    std::vector<std::string> log;
    TickLog handler;
    handler.log = &log;
    window.SetHandler(&handler);
    window.SetTimer(3, 0);
    plat::TestClock::Start();
    EXPECT_EQ(plat::TestClock::TimerCount(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !log.empty(); }));
    window.KillTimer(3);
}

} // namespace
