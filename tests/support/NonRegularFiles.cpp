#include "support/NonRegularFiles.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace NonRegularFiles {

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0;
}

bool make(const QString &kind, const QString &path)
{
    return kind == QLatin1String("named pipe") && makeFifo(path);
}

} // namespace NonRegularFiles

HangGuard::HangGuard(const QString &what, std::chrono::seconds limit)
    : m_watchdog([this, message = what.toLocal8Bit(), limit] {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_done.wait_for(lock, limit, [this] { return m_finished; }))
            return;
        std::fprintf(stderr, "FAIL!  : %s did not come back within %lld s: it blocks\n", message.constData(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    })
{
}

HangGuard::~HangGuard()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    m_done.notify_one();
    m_watchdog.join();
}
