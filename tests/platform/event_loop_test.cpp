#include "platform/base/event_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

namespace {

using plat::EventLoop;
using plat::QueueEventLoop;

class EventLoopTest : public ::testing::Test {
protected:
    std::int64_t now = 1000;
    QueueEventLoop loop{[this] { return now; }};
    std::string log;
};

TEST_F(EventLoopTest, TasksRunInOrderAndTasksPostedWhilePumpingWaitForTheNextPump) {
    loop.Post([this] {
        log += 'a';
        loop.Post([this] { log += 'c'; });
    });
    loop.Post([this] { log += 'b'; });
    EXPECT_EQ(loop.Pending(), 2u);
    EXPECT_EQ(loop.Pump(), 2u);
    EXPECT_EQ(log, "ab");
    EXPECT_EQ(loop.Pending(), 1u);
    EXPECT_EQ(loop.Pump(), 1u);
    EXPECT_EQ(log, "abc");
    EXPECT_EQ(loop.Pump(), 0u);
}

TEST_F(EventLoopTest, DroppedTasksAreDestroyedUnrunButTimersStay) {
    auto state = std::make_shared<int>(0);
    loop.Post([state] { ++*state; });
    loop.Post([state] { ++*state; });
    loop.SetTimer(10, [this] { log += 't'; });
    loop.DropPosted();
    EXPECT_EQ(loop.Pending(), 0u);
    EXPECT_EQ(state.use_count(), 1);
    now += 10;
    EXPECT_EQ(loop.Pump(), 1u);
    EXPECT_EQ(log, "t");
    EXPECT_EQ(*state, 0);
}

TEST_F(EventLoopTest, TimersTickOncePerDuePeriodAndLateTimersAreRescheduledFromNow) {
    EXPECT_EQ(loop.NextTimerDue(), -1);
    const int id = loop.SetTimer(100, [this] { log += 't'; });
    EXPECT_GT(id, 0);
    EXPECT_EQ(loop.NextTimerDue(), 1100);
    now = 1099;
    EXPECT_EQ(loop.Pump(), 0u);
    now = 1100;
    EXPECT_EQ(loop.Pump(), 1u);
    EXPECT_EQ(loop.Pump(), 0u) << "one tick per period";
    now = 1550;
    EXPECT_EQ(loop.Pump(), 1u) << "missed periods are not caught up";
    EXPECT_EQ(loop.NextTimerDue(), 1650);
    EXPECT_EQ(log, "tt");
    loop.KillTimer(id);
    loop.KillTimer(id);
    loop.KillTimer(12345);
    now = 5000;
    EXPECT_EQ(loop.Pump(), 0u);
    EXPECT_EQ(loop.NextTimerDue(), -1);
    EXPECT_EQ(loop.SetTimer(10, {}), 0) << "a timer without a tick is refused";
    loop.SetTimer(0, [] {});
    EXPECT_EQ(loop.NextTimerDue(), 5001) << "a zero period must not spin the loop";
}

TEST_F(EventLoopTest, TicksMayKillTimersSetTimersAndPostWhileTheLoopIterates) {
    int self = 0;
    int victim = 0;
    self = loop.SetTimer(10, [&] {
        log += 's';
        loop.KillTimer(self);
        loop.KillTimer(victim);
        loop.SetTimer(10, [this] { log += 'n'; });
        loop.Post([this] { log += 'p'; });
    });
    victim = loop.SetTimer(10, [this] { log += 'v'; });
    EXPECT_NE(self, victim);
    now += 10;
    EXPECT_EQ(loop.Pump(), 1u)
        << "a timer killed by an earlier tick of the same pump must not tick";
    EXPECT_EQ(log, "s");
    now += 10;
    EXPECT_EQ(loop.Pump(), 2u);
    EXPECT_EQ(log, "spn");
}

TEST(EventLoopLifetimeTest, DestroyingALoopDropsPendingWorkAndUninstallsIt) {
    auto state = std::make_shared<int>(0);
    // Destroying this capture posts again, as objects going away often do.
    struct PostsWhenDestroyed {
        std::shared_ptr<int> state;
        ~PostsWhenDestroyed() {
            EventLoop::Current()->Post([s = state] { ++*s; });
        }
    };
    {
        QueueEventLoop loop;
        EventLoop::Install(&loop);
        EXPECT_EQ(EventLoop::Current(), &loop);
        auto guard = std::make_shared<PostsWhenDestroyed>();
        guard->state = state;
        loop.Post([guard] {});
        loop.SetTimer(1, [state] { ++*state; });
    }
    EXPECT_EQ(*state, 0) << "dropped work never runs";
    EXPECT_EQ(state.use_count(), 1) << "captured state is released";
    EXPECT_EQ(EventLoop::Current(), nullptr);
}

TEST_F(EventLoopTest, RunReturnsAfterQuitFromATaskOrATickAndAnEarlierQuitDoesNotCount) {
    EventLoop::Install(&loop);
    loop.Quit();
    loop.Post([this] {
        log += 'a';
        EventLoop::Current()->Post([this] {
            log += 'b';
            loop.Quit();
            loop.Post([this] { log += 'x'; });
        });
    });
    loop.Run();
    EXPECT_EQ(log, "ab");
    EventLoop::Install(nullptr);

    // A task moves the clock so the timer is due in the same pump; its tick ends the loop.
    loop.SetTimer(50, [this] {
        log += 't';
        loop.Quit();
    });
    loop.Post([this] { now += 50; });
    loop.Run();
    EXPECT_EQ(log, "abxt");
}

TEST_F(EventLoopTest, PostFromAnotherThreadWakesRun) {
    std::thread poster([this] { loop.Post([this] { loop.Quit(); }); });
    loop.Run();
    poster.join();
    EXPECT_EQ(loop.Pending(), 0u);
}

} // namespace
