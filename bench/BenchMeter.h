#pragma once

#include <QElapsedTimer>

#include <sys/resource.h>

// Wall time and the CPU time of child processes (the external tools) over a stretch of work.
struct Cost
{
    double wall = 0;
    double cpu = 0;
    Cost& operator+=(const Cost& other)
    {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

// User + system time of the child processes that have ended so far.
inline double childCpuSeconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_CHILDREN, &usage) != 0)
        return 0;
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class Meter
{
public:
    Meter() : m_dCpuStart(childCpuSeconds()) { m_timer.start(); }
    Cost elapsed() const { return Cost{double(m_timer.nsecsElapsed()) / 1e9, childCpuSeconds() - m_dCpuStart}; }

private:
    QElapsedTimer m_timer;
    double m_dCpuStart;
};
