#include "platform/gui/qt_event_loop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>

#include <climits>
#include <utility>

#include "platform/gui/test_clock.h"

namespace plat {

namespace {

// Carries one posted task. Qt keeps posted events to one receiver in order, and drops them
// unrun when the receiver is destroyed, which is what the interface promises.
class TaskEvent : public QEvent {
public:
    explicit TaskEvent(EventLoop::Task task) : QEvent(Type()), m_task(std::move(task)) {}
    static QEvent::Type Type() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    void Run() { m_task(); }

private:
    EventLoop::Task m_task;
};

} // namespace

class QtEventLoop::Receiver : public QObject {
public:
    explicit Receiver(QtEventLoop& loop) : m_loop(loop) {}

protected:
    bool event(QEvent* event) override {
        if (event->type() == TaskEvent::Type()) {
            static_cast<TaskEvent*>(event)->Run();
            return true;
        }
        return QObject::event(event);
    }
    void timerEvent(QTimerEvent* event) override { m_loop.Tick(event->timerId()); }

private:
    QtEventLoop& m_loop;
};

QtEventLoop::QtEventLoop() : m_receiver(std::make_unique<Receiver>(*this)) {}

QtEventLoop::~QtEventLoop() {
    // Stop the timers while the receiver still exists; its destruction drops posted tasks.
    for (const auto& [id, timer] : m_timers) {
        if (timer.clockId)
            TestClock::KillTimer(timer.clockId);
        else
            m_receiver->killTimer(timer.qtTimerId);
    }
    m_timers.clear();
    m_receiver.reset();
}

void QtEventLoop::Post(Task task) {
    if (!task)
        return;
    QCoreApplication::postEvent(m_receiver.get(), new TaskEvent(std::move(task)));
}

void QtEventLoop::DropPosted() {
    QCoreApplication::removePostedEvents(m_receiver.get(), TaskEvent::Type());
}

int QtEventLoop::SetTimer(unsigned periodMs, Task tick) {
    if (!tick)
        return 0;
    if (TestClock::Running()) {
        const int id = NewTimerId();
        m_timers[id] = Timer{0, nullptr, TestClock::AddTimer(periodMs, std::move(tick))};
        return id;
    }
    const int interval = periodMs > static_cast<unsigned>(INT_MAX) ? INT_MAX : int(periodMs);
    const int qtTimerId = m_receiver->startTimer(interval, Qt::PreciseTimer);
    if (qtTimerId == 0)
        return 0;
    const int id = NewTimerId();
    m_timers[id] = Timer{qtTimerId, std::make_shared<Task>(std::move(tick))};
    m_idOfQtTimer[qtTimerId] = id;
    return id;
}

void QtEventLoop::KillTimer(int id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    if (it->second.clockId) {
        TestClock::KillTimer(it->second.clockId);
        m_timers.erase(it);
        return;
    }
    m_receiver->killTimer(it->second.qtTimerId);
    m_idOfQtTimer.erase(it->second.qtTimerId);
    // Released after the maps are consistent: its captures may set or kill timers.
    std::shared_ptr<Task> tick = std::move(it->second.tick);
    m_timers.erase(it);
}

void QtEventLoop::Tick(int qtTimerId) {
    auto found = m_idOfQtTimer.find(qtTimerId);
    if (found == m_idOfQtTimer.end())
        return;
    const std::shared_ptr<Task> tick = m_timers.at(found->second).tick;
    (*tick)();
}

int QtEventLoop::NewTimerId() {
    do {
        m_lastTimerId = m_lastTimerId == INT_MAX ? 1 : m_lastTimerId + 1;
    } while (m_timers.count(m_lastTimerId) != 0);
    return m_lastTimerId;
}

} // namespace plat
