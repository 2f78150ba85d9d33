#pragma once

#include <ctime>
#include <QtGlobal>

namespace avatello::test {

// The processor time this process has used, in milliseconds. A bound on it is a bound on the
// work done: unlike the wall clock it does not grow while the process waits for a busy core.
inline qint64 cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// Measures the processor time from its construction.
class CpuTimer
{
public:
    qint64 elapsed() const { return cpuMilliseconds() - start_; }

private:
    qint64 start_ = cpuMilliseconds();
};

} // namespace avatello::test
