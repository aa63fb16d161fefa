#pragma once

#include <QString>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Named pipes where a file is expected. Opening a named pipe waits for a
// writer, so a check that opens one never comes back: such checks run under
// a HangGuard, which turns the hang into a failure.
namespace NonRegularFiles {

bool makeFifo(const QString &path);

// Builds the kind named at the path: "named pipe", the one kind that would
// hang a reader; sockets and devices are refused by the same regular-file
// check. False for another kind.
bool make(const QString &kind, const QString &path);

} // namespace NonRegularFiles

// While a guard lives, the test program ends with a failure message once the
// limit has passed: a check that blocks fails the run instead of hanging it.
class HangGuard
{
public:
    explicit HangGuard(const QString &what, std::chrono::seconds limit = std::chrono::seconds(30));
    ~HangGuard();
    HangGuard(const HangGuard &) = delete;
    HangGuard &operator=(const HangGuard &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_watchdog; // last: it starts once the members above exist
};
