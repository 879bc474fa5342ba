#pragma once

#include <QElapsedTimer>
#include <QTest>

#include <functional>

// Runs the event loop until fnDone() holds or iMs have passed; false on time-out.
inline bool waitUntil(const std::function<bool()>& fnDone, int iMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!fnDone()) {
        if (timer.elapsed() > iMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}
