#pragma once
// Drives Qt's loop without waiting: each pass handles what is pending now, deferred deletes
// included. Bounded by passes, never by time.
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

inline void PumpOnce() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Passes until `done` answers true; false when it never did within `maxPasses`.
template <class Predicate> bool PumpUntil(Predicate&& done, int maxPasses = 1000) {
    for (int pass = 0; pass < maxPasses; ++pass) {
        if (done())
            return true;
        PumpOnce();
    }
    return done();
}

inline void Pump(int passes = 5) {
    for (int pass = 0; pass < passes; ++pass)
        PumpOnce();
}
