#pragma once

#include "store/ServerLocation.h"

#include <QString>
#include <QTemporaryDir>

// A throwaway PostgreSQL cluster for one test program: made with initdb in a
// temporary folder, started with pg_ctl listening on a Unix socket in that
// folder only (no TCP port), stopped and removed with the object. Every wait
// is bounded. Run as root, the server runs as the system's "postgres" user,
// since PostgreSQL refuses to run as root.
class TestServer
{
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    bool isRunning() const { return m_running; }
    // Why it is not running, with what the tools said.
    const QString &failure() const { return m_failure; }

    // The club's database, its owner without a password (trust on the socket).
    ServerLogin login() const;
    // A user the server asks a password of (scram-sha-256): Password.
    ServerLogin passwordLogin() const;
    static constexpr const char *Password = "Schießstand 10";

    // For a server that goes away and comes back; true when it did.
    bool stop();
    bool start();

private:
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);
    bool setUp();

    QTemporaryDir m_folder;
    QString m_bin;
    QString m_runAs;
    bool m_running = false;
    QString m_failure;
};
