#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// A limit on one step of a test that calls into a back end which can block
// without a timeout of its own (the media player's Open, Play, Stop, its
// creation and destruction). When the step has not returned in time, the
// test process ends at once with a message naming what it waited for, and
// QtTest's crash handler prints every thread's stack (when gdb is
// installed), which shows what the back end was doing.
class StepLimit final
{
public:
    StepLimit(std::chrono::seconds limit, const QString &what);
    ~StepLimit();
    StepLimit(const StepLimit &) = delete;
    StepLimit &operator=(const StepLimit &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_returned;
    bool m_done = false;
    std::thread m_watchdog;
};
