#include "support/NonRegularFiles.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace NonRegularFiles {

namespace {

bool makeSocket(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool makeLink(const QString &target, const QString &link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

} // namespace

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0;
}

bool make(const QString &kind, const QString &path)
{
    if (kind == QLatin1String("named pipe"))
        return makeFifo(path);
    if (kind == QLatin1String("link to a named pipe"))
        return makeFifo(path + QStringLiteral(".fifo")) && makeLink(path + QStringLiteral(".fifo"), path);
    if (kind == QLatin1String("socket"))
        return makeSocket(path);
    if (kind == QLatin1String("character device"))
        return makeLink(QStringLiteral("/dev/null"), path);
    return false;
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
