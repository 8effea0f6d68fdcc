#include "platform/gui/test_clock.h"

#include <QCoreApplication>

#include <algorithm>
#include <map>
#include <memory>

namespace plat {

namespace {

struct ClockTimer {
    std::int64_t due = 0;
    std::int64_t period = 1;
    // Shared so that a tick that kills its own timer keeps running safely.
    std::shared_ptr<std::function<void()>> tick;
};

struct ClockState {
    bool running = false;
    std::int64_t now = 0;
    int lastId = 0;
    std::map<int, ClockTimer> timers;
};

ClockState& State() {
    static ClockState state;
    return state;
}

} // namespace

void TestClock::Start() {
    State().running = true;
}

void TestClock::Stop() {
    State().running = false;
}

bool TestClock::Running() {
    return State().running;
}

std::int64_t TestClock::Now() {
    return State().now;
}

int TestClock::AddTimer(unsigned periodMs, std::function<void()> tick) {
    ClockState& state = State();
    if (!tick)
        return 0;
    const std::int64_t period = std::max<std::int64_t>(periodMs, 1);
    const int id = ++state.lastId;
    state.timers[id] = ClockTimer{
        state.now + period, period, std::make_shared<std::function<void()>>(std::move(tick))};
    return id;
}

void TestClock::KillTimer(int id) {
    State().timers.erase(id);
}

std::size_t TestClock::TimerCount() {
    return State().timers.size();
}

void TestClock::Advance(int ms) {
    ClockState& state = State();
    const std::int64_t target = state.now + std::max(ms, 0);
    for (;;) {
        // The earliest due timer; of equals, the one started first.
        auto next = std::min_element(
            state.timers.begin(), state.timers.end(), [](const auto& a, const auto& b) {
                return a.second.due < b.second.due;
            });
        if (next == state.timers.end() || next->second.due > target)
            break;
        state.now = next->second.due;
        next->second.due += next->second.period;
        const std::shared_ptr<std::function<void()>> tick = next->second.tick;
        (*tick)();
        // What the tick set going (repaints, posted messages) happens before the next tick.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    state.now = target;
}

} // namespace plat
