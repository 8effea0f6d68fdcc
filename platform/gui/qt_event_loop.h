#pragma once
// The event loop of a GUI process: plat::EventLoop over Qt's own loop, so posted tasks and
// timers are delivered by the same QApplication::exec() that delivers window events. Code
// above the loop sees only the EventLoop interface and runs unchanged on either loop.
#include <QObject>

#include <map>
#include <memory>

#include "platform/base/event_loop.h"

namespace plat {

// Lives on the thread that created it, which must run a Qt event loop (or call
// QCoreApplication::processEvents). Post is safe from any thread; the rest belongs to the
// loop's thread. Pending tasks and timers die with the loop, never run.
class QtEventLoop : public EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;

    // Tasks run in the order posted, on the loop's thread; a null task is ignored.
    void Post(Task task) override;
    // A period of 0 ticks each time the loop has processed its pending events, as a
    // zero-interval QTimer does. A null tick answers 0 and starts nothing.
    int SetTimer(unsigned periodMs, Task tick) override;
    void KillTimer(int id) override;
    void DropPosted() override;

    // Live timers, for callers that check they cleaned up.
    std::size_t TimerCount() const { return m_timers.size(); }

private:
    class Receiver;
    friend class Receiver;

    void Tick(int qtTimerId);
    int NewTimerId();

    struct Timer {
        int qtTimerId = 0;
        // Shared so that a tick that kills its own timer keeps running safely.
        std::shared_ptr<Task> tick;
        int clockId = 0; // a timer on the test clock (test_clock.h)
    };

    std::unique_ptr<Receiver> m_receiver;
    std::map<int, Timer> m_timers;
    std::map<int, int> m_idOfQtTimer;
    int m_lastTimerId = 0;
};

} // namespace plat
