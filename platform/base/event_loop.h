#pragma once
// The loop that delivers posted work and timers on the UI thread. Callers only see the
// EventLoop interface, so the GUI can install a loop driven by its toolkit while headless
// runs and tests use QueueEventLoop, pumped explicitly against a clock they control.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace plat {

class EventLoop {
public:
    using Task = std::function<void()>;

    EventLoop() = default;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;
    // Uninstalls the loop when it is the current one, so Current() never dangles.
    virtual ~EventLoop();

    // Runs `task` later on the loop's thread, after every task posted before it.
    virtual void Post(Task task) = 0;
    // Calls `tick` every `periodMs` milliseconds until killed; answers the timer's id (> 0).
    virtual int SetTimer(unsigned periodMs, Task tick) = 0;
    // Unknown ids are ignored; a tick may kill its own timer.
    virtual void KillTimer(int id) = 0;
    // Destroys every posted task not yet run, without running it. A module about to be
    // unloaded calls this first: the tasks it posted hold its code.
    virtual void DropPosted() = 0;

    // The loop of the process, installed by the host (or a test); null when none.
    static EventLoop* Current();
    // Null uninstalls.
    static void Install(EventLoop* loop);
};

// Headless loop: a FIFO queue and timers on a millisecond clock that callers may replace.
// Post is safe from any thread; everything else belongs to the thread that pumps.
class QueueEventLoop : public EventLoop {
public:
    using Clock = std::function<std::int64_t()>;

    // Without a clock, the steady clock.
    explicit QueueEventLoop(Clock clock = {});
    // Pending tasks and timers are dropped: their captured state is destroyed, never run.
    ~QueueEventLoop() override;

    void Post(Task task) override;
    // A period of 0 counts as 1 ms, so a timer can never keep the loop from sleeping.
    int SetTimer(unsigned periodMs, Task tick) override;
    void KillTimer(int id) override;
    void DropPosted() override;

    // Runs every task queued before the call (tasks posted meanwhile wait for the next call),
    // then every timer due at the clock's time. A timer that is several periods late ticks
    // once and is rescheduled from now. Answers how many tasks and ticks ran.
    std::size_t Pump();
    // Tasks waiting in the queue.
    std::size_t Pending() const;
    // The clock time at which the earliest timer is due; -1 when there is no timer.
    std::int64_t NextTimerDue() const;

    // Pumps until Quit(), sleeping until the next timer is due or a task is posted. Each Run
    // starts afresh: a Quit() before it has no effect on it.
    void Run();
    // Ends Run() once the current Pump() has finished its work.
    void Quit();

private:
    struct Timer {
        unsigned periodMs = 0;
        std::int64_t due = 0;
        // Shared so that a tick that kills its own timer keeps running safely.
        std::shared_ptr<Task> tick;
    };

    std::size_t RunDueTimers();
    std::int64_t EarliestDueLocked() const;
    int NewTimerIdLocked();

    Clock m_clock;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_tasks;
    std::map<int, Timer> m_timers;
    int m_lastTimerId = 0;
    bool m_quit = false;
};

} // namespace plat
