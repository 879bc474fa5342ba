#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the thread that installed it, so that
// a stop request ends every wait the way the Cancel button does. Without it the three signals
// keep their default action.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    // The process-wide instance, made and installed on first call (from the UI thread).
    static StopSignals* install();
    // Number of stop requests received so far.
    int count() const { return m_iCount; }

Q_SIGNALS:
    // iCount: 1 for the first request, 2 for the second, ...
    void signalStop(int iCount);

private:
    StopSignals();
    void readPipe();

    QSocketNotifier* m_pNotifier = nullptr;
    int m_iCount = 0;
};
