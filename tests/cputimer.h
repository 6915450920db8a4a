#pragma once

#include <QtGlobal>

#include <ctime>

/**
 * Measures the processor time the test process spends, not the wall clock, so that a bound on how
 * long some work takes holds however busy the machine is with other programs.
 */
class CpuTimer
{
public:
    CpuTimer()
        : m_start(std::clock())
    {
    }
    qint64 elapsed() const { return qint64(std::clock() - m_start) * 1000 / CLOCKS_PER_SEC; }

private:
    std::clock_t m_start;
};
