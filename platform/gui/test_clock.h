#pragma once
// TestClock: time the program moves itself. While it runs, the timers of windows and of the
// Qt event loop started from then on tick only when it is advanced, in the order they fall
// due, with the window events their ticks cause handled in between. Replayed input then gives
// the same screens on any machine, however fast.
#include <cstdint>
#include <functional>

namespace plat {

class TestClock {
public:
    // From now on new timers wait for Advance. Timers already running stay on real time.
    static void Start();
    // New timers are real again; those started under the clock keep waiting for Advance.
    static void Stop();
    static bool Running();
    // Milliseconds since the clock started.
    static std::int64_t Now();
    // Moves the clock on by `ms`, ticking every timer that falls due on the way. A period of
    // 0 counts as 1 ms.
    static void Advance(int ms);

    // For the windows and the loop: a timer on the clock; its id (> 0).
    static int AddTimer(unsigned periodMs, std::function<void()> tick);
    // Unknown ids are ignored; a tick may kill its own timer.
    static void KillTimer(int id);
    static std::size_t TimerCount();
};

} // namespace plat
