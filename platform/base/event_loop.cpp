#include "platform/base/event_loop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <utility>
#include <vector>

namespace plat {

namespace {

std::atomic<EventLoop*> g_current{nullptr};

std::int64_t SteadyNowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

EventLoop::~EventLoop() {
    EventLoop* self = this;
    g_current.compare_exchange_strong(self, nullptr);
}

EventLoop* EventLoop::Current() {
    return g_current.load();
}

void EventLoop::Install(EventLoop* loop) {
    g_current.store(loop);
}

QueueEventLoop::QueueEventLoop(Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(&SteadyNowMs)) {}

QueueEventLoop::~QueueEventLoop() {
    // A dropped task may own objects whose destructors post again: empty the queue outside
    // the lock until nothing comes back.
    for (;;) {
        std::deque<Task> tasks;
        std::map<int, Timer> timers;
        {
            std::lock_guard lock(m_mutex);
            tasks.swap(m_tasks);
            timers.swap(m_timers);
        }
        if (tasks.empty() && timers.empty())
            break;
    }
}

void QueueEventLoop::DropPosted() {
    // Outside the lock: a dropped task's state may post again, and that task stays.
    std::deque<Task> tasks;
    {
        std::lock_guard lock(m_mutex);
        tasks.swap(m_tasks);
    }
}

void QueueEventLoop::Post(Task task) {
    if (!task)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_wake.notify_one();
}

int QueueEventLoop::SetTimer(unsigned periodMs, Task tick) {
    if (!tick)
        return 0;
    const std::int64_t now = m_clock();
    std::lock_guard lock(m_mutex);
    Timer timer;
    timer.periodMs = std::max(periodMs, 1u);
    timer.due = now + timer.periodMs;
    timer.tick = std::make_shared<Task>(std::move(tick));
    const int id = NewTimerIdLocked();
    m_timers.emplace(id, std::move(timer));
    return id;
}

void QueueEventLoop::KillTimer(int id) {
    std::shared_ptr<Task> tick; // released outside the lock: its captures may use the loop
    std::lock_guard lock(m_mutex);
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    tick = std::move(it->second.tick);
    m_timers.erase(it);
}

std::size_t QueueEventLoop::Pump() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_tasks);
    }
    std::size_t ran = 0;
    while (!batch.empty()) {
        Task task = std::move(batch.front());
        batch.pop_front();
        task();
        ++ran;
    }
    return ran + RunDueTimers();
}

std::size_t QueueEventLoop::RunDueTimers() {
    const std::int64_t now = m_clock();
    struct DueTick {
        std::int64_t due;
        int id;
        std::shared_ptr<Task> tick;
    };
    std::vector<DueTick> due;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [id, timer] : m_timers) {
            if (timer.due <= now)
                due.push_back({timer.due, id, timer.tick});
        }
    }
    std::stable_sort(
        due.begin(), due.end(), [](const DueTick& a, const DueTick& b) { return a.due < b.due; });
    std::size_t ran = 0;
    for (const DueTick& entry : due) {
        {
            std::lock_guard lock(m_mutex);
            auto it = m_timers.find(entry.id);
            // An earlier tick may have killed this timer, or killed it and reused the id.
            if (it == m_timers.end() || it->second.tick != entry.tick)
                continue;
            it->second.due = now + it->second.periodMs;
        }
        (*entry.tick)();
        ++ran;
    }
    return ran;
}

std::size_t QueueEventLoop::Pending() const {
    std::lock_guard lock(m_mutex);
    return m_tasks.size();
}

std::int64_t QueueEventLoop::NextTimerDue() const {
    std::lock_guard lock(m_mutex);
    return EarliestDueLocked();
}

std::int64_t QueueEventLoop::EarliestDueLocked() const {
    std::int64_t earliest = -1;
    for (const auto& [id, timer] : m_timers) {
        if (earliest < 0 || timer.due < earliest)
            earliest = timer.due;
    }
    return earliest;
}

int QueueEventLoop::NewTimerIdLocked() {
    do {
        m_lastTimerId = m_lastTimerId == INT_MAX ? 1 : m_lastTimerId + 1;
    } while (m_timers.count(m_lastTimerId) != 0);
    return m_lastTimerId;
}

void QueueEventLoop::Run() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = false;
    }
    for (;;) {
        Pump();
        const std::int64_t now = m_clock();
        std::unique_lock lock(m_mutex);
        if (m_quit)
            return;
        const auto woken = [this] { return m_quit || !m_tasks.empty(); };
        if (!m_tasks.empty())
            continue;
        const std::int64_t due = EarliestDueLocked();
        if (due < 0)
            m_wake.wait(lock, woken);
        else if (due > now)
            m_wake.wait_for(lock, std::chrono::milliseconds(due - now), woken);
        if (m_quit)
            return;
    }
}

void QueueEventLoop::Quit() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
}

} // namespace plat
