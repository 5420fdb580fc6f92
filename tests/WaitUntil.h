// Runs the event loop until a condition holds or the time is up: for bus
// traffic and window events that arrive asynchronously.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace orbistat::test {

template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Lets queued work run for a while (to see that nothing more happens).
inline void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace orbistat::test
