#pragma once

#include <QString>
#include <optional>

// The server a club keeps for an event: where it is, which database, as whom.
struct ServerLogin
{
    QString host; // a name or address; a folder for the server's Unix socket
    int port = 5432;
    QString database;
    QString user;

    // How the kept password is found again: user@host:port/database.
    QString key() const;
    // "host, Datenbank database", as messages name the server.
    QString described() const;
    bool operator==(const ServerLogin &other) const;
};

// A competition on such a server, and the text that stands for it where a
// file path would ("Last", the data sources):
// postgresql://user@host:port/database?wettkampf=wk_3 (a socket folder as
// the query's host=). An earlier version reads it as a file that is not there.
struct ServerLocation
{
    ServerLogin login;
    QString competition; // the name of its schema on the server, "wk_" and a number

    QString toText() const;
    // None when the text is no server competition (a file path); a text that
    // only begins like one gives what could be read, checked when opened.
    static std::optional<ServerLocation> fromText(const QString &text);
    // A competition's schema name as the program gives them; anything else is
    // never written into a statement.
    static bool isCompetitionName(const QString &name);
};

// Passwords typed for a server, kept for this run of the program only and
// never written anywhere. Without one, the PostgreSQL password file
// (~/.pgpass) is asked by the client library itself.
namespace ServerPasswords {

void remember(const ServerLogin &login, const QString &password);
std::optional<QString> of(const ServerLogin &login);
void forget(const ServerLogin &login);

} // namespace ServerPasswords
