#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "gui/pump.h"
#include "platform/gui/qt_event_loop.h"
#include "platform/gui/registered_message.h"

using plat::QtEventLoop;

TEST(QtEventLoop, PostedTasksRunLaterInOrderEvenFromOtherThreads) {
    QtEventLoop loop;
    std::vector<int> order;
    loop.Post([&] { order.push_back(1); });
    loop.Post([&] { order.push_back(2); });
    loop.Post({}); // ignored
    std::thread::id ranOn;
    std::thread poster([&] { loop.Post([&] { ranOn = std::this_thread::get_id(); }); });
    poster.join();
    loop.Post([&] { order.push_back(3); });
    EXPECT_TRUE(order.empty()); // nothing runs inside Post
    Pump();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(QtEventLoop, DestroyingTheLoopDropsPendingTasksAndTimersUnrunAndUninstallsIt) {
    auto captured = std::make_shared<int>(0);
    bool ran = false;
    {
        QtEventLoop loop;
        plat::EventLoop::Install(&loop);
        EXPECT_EQ(plat::EventLoop::Current(), &loop);
        plat::EventLoop::Current()->Post([captured, &ran] { ran = true; });
        loop.SetTimer(0, [captured, &ran] { ran = true; });
        EXPECT_EQ(captured.use_count(), 3);
    }
    EXPECT_EQ(plat::EventLoop::Current(), nullptr);
    Pump();
    EXPECT_FALSE(ran);
    EXPECT_EQ(captured.use_count(), 1);
}

TEST(QtEventLoop, DroppedTasksAreDestroyedUnrunAndTheLoopGoesOn) {
    QtEventLoop loop;
    auto state = std::make_shared<int>(0);
    loop.Post([state] { ++*state; });
    loop.Post([state] { ++*state; });
    const int timer = loop.SetTimer(0, [] {});
    EXPECT_EQ(state.use_count(), 3);
    loop.DropPosted();
    EXPECT_EQ(state.use_count(), 1) << "their captures are gone";
    Pump();
    EXPECT_EQ(*state, 0);
    loop.Post([state] { ++*state; });
    Pump();
    EXPECT_EQ(*state, 1) << "tasks posted after run";
    EXPECT_EQ(loop.TimerCount(), 1u) << "timers are not posted tasks";
    loop.KillTimer(timer);
}

TEST(QtEventLoop, ATickMayKillItsOwnTimerAndOthersKeepTicking) {
    QtEventLoop loop;
    int selfKilling = 0;
    int steady = 0;
    int selfKillingId = 0;
    selfKillingId = loop.SetTimer(0, [&] {
        if (++selfKilling == 3)
            loop.KillTimer(selfKillingId);
    });
    const int steadyId = loop.SetTimer(0, [&] { ++steady; });
    ASSERT_GT(selfKillingId, 0);
    ASSERT_GT(steadyId, 0);
    EXPECT_NE(selfKillingId, steadyId);
    ASSERT_TRUE(PumpUntil([&] { return steady >= 10; }));
    EXPECT_EQ(selfKilling, 3);
    EXPECT_EQ(loop.TimerCount(), 1u);
    loop.KillTimer(steadyId);
    const int after = steady;
    Pump();
    EXPECT_EQ(steady, after);
    EXPECT_EQ(loop.TimerCount(), 0u);
}

TEST(QtEventLoop, UnknownTimerIdsAndNullTicksAreIgnored) {
    QtEventLoop loop;
    int ticks = 0;
    const int id = loop.SetTimer(0, [&] { ++ticks; });
    EXPECT_EQ(loop.SetTimer(0, {}), 0);
    loop.KillTimer(0);
    loop.KillTimer(-5);
    loop.KillTimer(id + 1000);
    EXPECT_EQ(loop.TimerCount(), 1u);
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }));
    loop.KillTimer(id);
    loop.KillTimer(id); // twice is harmless
    EXPECT_EQ(loop.TimerCount(), 0u);
}

TEST(RegisteredMessage, OneIdPerNameWithoutCaseInTheRegisteredRange) {
    const unsigned post = plat::RegisterWindowMessage(L"Orvo.Test.PostMsg");
    const unsigned event = plat::RegisterWindowMessage(L"Orvo.Test.PostEvt");
    EXPECT_GE(post, plat::kFirstRegisteredMessage);
    EXPECT_LE(post, plat::kLastRegisteredMessage);
    EXPECT_GE(event, plat::kFirstRegisteredMessage);
    EXPECT_NE(post, event);
    EXPECT_EQ(plat::RegisterWindowMessage(L"orvo.test.postmsg"), post);
    EXPECT_EQ(plat::RegisterWindowMessage(L"ORVO.TEST.POSTEVT"), event);
    EXPECT_EQ(plat::RegisterWindowMessage(L""), 0u);
}

TEST(RegisteredMessage, SameIdsFromManyThreads) {
    std::vector<unsigned> ids(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < ids.size(); ++i)
        threads.emplace_back(
            [&ids, i] { ids[i] = plat::RegisterWindowMessage(L"Orvo.Test.Race"); });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_NE(ids[0], 0u);
    EXPECT_EQ(std::set<unsigned>(ids.begin(), ids.end()).size(), 1u);
}
