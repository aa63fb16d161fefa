#pragma once

#include <QByteArray>
#include <QString>

// The Access files of the shared fixtures (read where they are, never copied
// into the repository), and damaged copies of them that a test makes in its
// own folder.
namespace AccessFixtures {

inline const QString Competition = QStringLiteral("legacy-competition.wkd");
inline const QString MasterList = QStringLiteral("legacy-schuetzen.mdb");

QString path(const QString &fixture);
QByteArray bytes(const QString &fixture);

// Writes the bytes to the file and returns its path.
QString write(const QString &path, const QByteArray &bytes);

// A copy of the fixture with the bytes that occur exactly once in it
// replaced; an empty path when they occur less or more often.
QString patchedCopy(const QString &fixture, const QByteArray &find, const QByteArray &replace, const QString &target);

// A damaged or foreign file of the kind named, made at `target`:
// "cut inside a page", "last page missing", "catalog missing" (cuts of the
// fixture), "empty file", "text file",
// "duplicate IDs" (the competition with the second row's ID set to 1),
// "other table" (the master list where a competition is expected and the
// other way round), or a kind of NonRegularFiles::make. Returns the path; empty
// for an unknown kind.
QString damagedCopy(const QString &kind, const QString &fixture, const QString &target);

} // namespace AccessFixtures
