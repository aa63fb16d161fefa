#include "support/TestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QVersionNumber>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int Port = 5432;
constexpr int ToolMilliseconds = 60000;
const char *const Owner = "ringtal";
const char *const Cashier = "kasse";

// The newest server installed (Debian keeps each major version in its own folder).
QString serverBin()
{
    QString best;
    QVersionNumber newest;
    for (const QString &version : QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(version);
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (QFile::exists(bin + QStringLiteral("/pg_ctl")) && number > newest) {
            newest = number;
            best = bin;
        }
    }
    return best;
}

bool append(const QString &path, const QByteArray &text, bool replace = false)
{
    QFile file(path);
    if (!file.open(replace ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::Append))
        return false;
    return file.write(text) == text.size();
}

} // namespace

TestServer::TestServer()
    : m_folder(QDir::tempPath() + QStringLiteral("/ringtal-pg-XXXXXX"))
    , m_bin(serverBin())
{
    m_running = setUp();
}

TestServer::~TestServer()
{
    if (m_running)
        run(m_bin + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")), QStringLiteral("-m"), QStringLiteral("immediate"),
             QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"), QStringLiteral("stop")});
}

bool TestServer::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const bool asServer = !m_runAs.isEmpty() && !program.endsWith(QLatin1String("/psql"));
    if (asServer)
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), m_runAs, QStringLiteral("--"), program} + arguments);
    else
        process.start(program, arguments);
    const bool finished = process.waitForFinished(ToolMilliseconds);
    if (!finished)
        process.kill();
    const QString said = QString::fromLocal8Bit(process.readAll());
    if (output)
        *output = said;
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    m_failure = QStringLiteral("%1 %2 failed: %3").arg(program, arguments.join(QLatin1Char(' ')), said);
    return false;
}

bool TestServer::setUp()
{
    if (m_bin.isEmpty()) {
        m_failure = QStringLiteral("no PostgreSQL server is installed (/usr/lib/postgresql/*/bin/pg_ctl)");
        return false;
    }
    if (!m_folder.isValid()) {
        m_failure = QStringLiteral("no temporary folder");
        return false;
    }
    if (::geteuid() == 0) {
        const passwd *user = ::getpwnam("postgres");
        if (!user || ::chown(QFile::encodeName(m_folder.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            m_failure = QStringLiteral("running as root, but there is no user \"postgres\" to run the server as");
            return false;
        }
        m_runAs = QStringLiteral("postgres");
    }
    const QString data = m_folder.filePath(QStringLiteral("data"));
    if (!run(m_bin + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), data, QStringLiteral("-U"), QLatin1String(Owner), QStringLiteral("-A"), QStringLiteral("trust"),
              QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-locale"), QStringLiteral("-N")}))
        return false;
    // The socket in the test's own folder and no TCP port at all; durability is not needed.
    const QByteArray settings = QStringLiteral("\nlisten_addresses = ''\nunix_socket_directories = '%1'\nport = %2\n"
                                               "fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n")
                                        .arg(m_folder.path())
                                        .arg(Port)
                                        .toUtf8();
    const QByteArray access = QStringLiteral("local all %1 scram-sha-256\nlocal all all trust\n").arg(QLatin1String(Cashier)).toUtf8();
    if (!append(data + QStringLiteral("/postgresql.conf"), settings)
        || !append(data + QStringLiteral("/pg_hba.conf"), access, true)) {
        m_failure = QStringLiteral("the cluster's settings could not be written");
        return false;
    }
    if (!start())
        return false;
    const QString sql = QStringLiteral("CREATE DATABASE ringtal; \\c ringtal\nCREATE ROLE %1 LOGIN PASSWORD '%2'; "
                                       "GRANT %3 TO %1;")
                                .arg(QLatin1String(Cashier), QString::fromUtf8(Password), QLatin1String(Owner));
    const QString script = m_folder.filePath(QStringLiteral("setup.sql"));
    if (!append(script, sql.toUtf8(), true))
        return false;
    return run(m_bin + QStringLiteral("/psql"),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                QStringLiteral("-h"), m_folder.path(), QStringLiteral("-p"), QString::number(Port), QStringLiteral("-U"),
                QLatin1String(Owner), QStringLiteral("-d"), QStringLiteral("postgres"), QStringLiteral("-f"), script});
}

bool TestServer::start()
{
    m_running = run(m_bin + QStringLiteral("/pg_ctl"),
                    {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")), QStringLiteral("-l"),
                     m_folder.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
                     QStringLiteral("30"), QStringLiteral("start")});
    return m_running;
}

bool TestServer::stop()
{
    const bool stopped = run(m_bin + QStringLiteral("/pg_ctl"),
                             {QStringLiteral("-D"), m_folder.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                              QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"),
                              QStringLiteral("stop")});
    m_running = m_running && !stopped;
    return stopped;
}

ServerLogin TestServer::login() const
{
    ServerLogin login;
    login.host = m_folder.path();
    login.port = Port;
    login.database = QStringLiteral("ringtal");
    login.user = QLatin1String(Owner);
    return login;
}

ServerLogin TestServer::passwordLogin() const
{
    ServerLogin login = this->login();
    login.user = QLatin1String(Cashier);
    return login;
}
