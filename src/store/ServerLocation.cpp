#include "store/ServerLocation.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

namespace {

const QString Scheme = QStringLiteral("postgresql");
constexpr int StandardPort = 5432;

QMutex g_passwordsLock;
QHash<QString, QString> &passwords()
{
    static QHash<QString, QString> kept;
    return kept;
}

} // namespace

QString ServerLogin::key() const
{
    return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

QString ServerLogin::described() const
{
    return QStringLiteral("%1, Datenbank %2").arg(host.isEmpty() ? QStringLiteral("localhost") : host, database);
}

bool ServerLogin::operator==(const ServerLogin &other) const
{
    return host == other.host && port == other.port && database == other.database && user == other.user;
}

bool ServerLocation::isCompetitionName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("\\Awk_[1-9][0-9]{0,8}\\z"));
    return pattern.match(name).hasMatch();
}

QString ServerLocation::toText() const
{
    QUrl url;
    url.setScheme(Scheme);
    url.setUserName(login.user);
    QUrlQuery query;
    // A socket folder is no host name a URL may hold.
    if (login.host.startsWith(QLatin1Char('/'))) {
        url.setHost(QString());
        query.addQueryItem(QStringLiteral("host"), QString::fromLatin1(QUrl::toPercentEncoding(login.host)));
        query.addQueryItem(QStringLiteral("port"), QString::number(login.port));
    } else {
        url.setHost(login.host);
        url.setPort(login.port);
    }
    url.setPath(QLatin1Char('/') + login.database);
    query.addQueryItem(QStringLiteral("wettkampf"), competition);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

std::optional<ServerLocation> ServerLocation::fromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(Scheme + QStringLiteral("://"), Qt::CaseInsensitive))
        return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    const QUrlQuery query(url);
    ServerLocation location;
    location.login.user = url.userName(QUrl::FullyDecoded);
    location.login.host = url.host(QUrl::FullyDecoded);
    location.login.port = url.port(StandardPort);
    if (query.hasQueryItem(QStringLiteral("host")))
        location.login.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (query.hasQueryItem(QStringLiteral("port")))
        location.login.port = query.queryItemValue(QStringLiteral("port")).toInt();
    location.login.database = url.path(QUrl::FullyDecoded).mid(1);
    location.competition = query.queryItemValue(QStringLiteral("wettkampf"), QUrl::FullyDecoded);
    return location;
}

void ServerPasswords::remember(const ServerLogin &login, const QString &password)
{
    const QMutexLocker lock(&g_passwordsLock);
    passwords().insert(login.key(), password);
}

std::optional<QString> ServerPasswords::of(const ServerLogin &login)
{
    const QMutexLocker lock(&g_passwordsLock);
    const auto found = passwords().constFind(login.key());
    if (found == passwords().constEnd())
        return std::nullopt;
    return *found;
}

void ServerPasswords::forget(const ServerLogin &login)
{
    const QMutexLocker lock(&g_passwordsLock);
    passwords().remove(login.key());
}
