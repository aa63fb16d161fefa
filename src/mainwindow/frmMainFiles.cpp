// The competition file commands of the main window: new, open, title, and
// the competitions on a server.
#include "mainwindow/frmMain.h"

#include "store/AccessFile.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "grid/DataGrid.h"
#include "server/frmServer.h"
#include "store/Recordset.h"
#include "store/ServerCompetitions.h"
#include "store/ServerDatabase.h"
#include "store/ServerLocation.h"
#include "store/tempModule.h"
#include "widgets/PasswordPrompt.h"
#include "widgets/UiDialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QString programFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QString templateFile()
{
    const QString path = programFolder() + QStringLiteral("wkvorlage.mdb");
    if (!QFileInfo::exists(path))
        throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei nicht gefunden: Die Vorlage '%1' fehlt.").arg(path));
    return path;
}

} // namespace

void frmMain::mnuDateiNeu_Click()
{
    QString chosen;
    bool proceed = true;
    const ErrorProtocol protocol(QStringLiteral("Fehler beim Erstellen eines neuen Wettkampfs"));
    const bool completed = protocol.run({
        [&] {
            UiDialogs::FileRequest request;
            request.title = QStringLiteral("Bitte neuen Wettkampfnamen wählen:");
            request.folder = programFolder();
            request.filter = QStringLiteral("Access 2000 Datenbank (*.wkd)|*.wkd|Alle Dateien(*.*)|*.*");
            request.defaultSuffix = QStringLiteral("wkd");
            request.confirmOverwrite = true;
            chosen = UiDialogs::current().saveFileName(request);
            proceed = !chosen.isEmpty();
        },
    });
    if (!completed || !proceed)
        return;
    if (chosen == m_competitionPath
        && Dialogs::current().question(QStringLiteral("Hinweis"),
                                       QStringLiteral("Soll der geöffnete Wettkampf wirklich gelöscht werden?"),
                                       Dialogs::Icon::Exclamation)
               != Dialogs::Answer::Yes)
        return;
    protocol.run({
        [&] {
            // The open file is released first, so that it can be deleted and made anew.
            if (sameFile(chosen, m_competitionPath)) {
                Data1->close();
                Data2->close();
            }
            m_competitionPath = chosen;
        },
        [&] {
            if (FileExists(m_competitionPath) && !QFile::remove(m_competitionPath))
                throw RingtalError(ErrorNumber::PathFileAccess,
                                   QStringLiteral("Die Datei '%1' kann nicht gelöscht werden.").arg(m_competitionPath));
        },
        [&] {
            if (!QFile::copy(templateFile(), m_competitionPath))
                throw RingtalError(ErrorNumber::PathFileAccess,
                                   QStringLiteral("Die Vorlage kann nicht nach '%1' kopiert werden.")
                                       .arg(m_competitionPath));
            // An installed template may be read-only; the new competition must not be.
            QFile::setPermissions(m_competitionPath,
                                  QFile::permissions(m_competitionPath) | QFile::WriteOwner | QFile::ReadOwner);
        },
        [&] { LoadCompetition(m_competitionPath); },
    });
}

void frmMain::mnuDateiOpen_Click()
{
    // Every failure, a cancelled dialog included, ends the command silently;
    // a file that is no competition is reported by the loading itself.
    try {
        UiDialogs::FileRequest request;
        request.folder = programFolder();
        request.filter = QStringLiteral("Ringtal Wettkämpfe (*.wkd)|*.wkd|Alle Dateien (*.*)|*.*");
        request.mustExist = true;
        const QString chosen = UiDialogs::current().openFileName(request);
        if (!chosen.isEmpty())
            openCompetitionFile(chosen);
    } catch (const std::exception &) {
    }
}

void frmMain::openCompetitionFile(const QString &path)
{
    try {
        // A competition of the older Access format is taken over into a new file, never opened in place.
        if (AccessFile::hasAccessHeader(path)) {
            takeOverAccessCompetition(path);
            return;
        }
        // The path becomes the window's only once loading has run through; an
        // aborted load leaves the window on the competition it shows.
        LoadCompetition(path);
    } catch (const std::exception &) {
    }
}

// Commands that need an open competition say so instead of doing nothing.
bool frmMain::competitionIsOpen()
{
    if (!m_competitionPath.isEmpty())
        return true;
    Dialogs::current().message(QStringLiteral("Hinweis"),
                               QStringLiteral("Es ist kein Wettkampf geöffnet. Bitte zuerst einen Wettkampf "
                                              "anlegen oder öffnen."),
                               Dialogs::Icon::Information);
    return false;
}

void frmMain::mnuDateiBezeichnung_Click()
{
    if (!competitionIsOpen())
        return;
    const std::optional<QString> title =
        UiDialogs::current().inputText(QStringLiteral("Bitte Wettkampfbezeichnung eingeben"), QString());
    if (!title || title->isEmpty())
        return;
    try {
        {
            const std::shared_ptr<Database> database = Database::open(m_competitionPath);
            const std::unique_ptr<Recordset> row = database->openRecordset(QStringLiteral("Select * from Wettkampf"));
            if (row->rowCount() == 0)
                row->addNew();
            else
                row->edit();
            row->setValue(QStringLiteral("Bezeichnung"), *title);
            row->update();
        }
        ShowTitle();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Wettkampfbezeichnung konnte nicht gespeichert werden."));
    }
}

bool frmMain::serverLoginReady(const QString &location)
{
    const std::optional<ServerLocation> server = ServerLocation::fromText(location);
    if (!server)
        return true;
    try {
        return withPassword(server->login, [&] { Database::open(location); });
    } catch (const std::exception &) {
        return true; // loading it tells what is wrong
    }
}

void frmMain::mnuDateiServer_Click()
{
    const std::shared_ptr<Database> open = Data1->database();
    frmServer dialog(open && !open->isServer(), this);
    if (dialog.exec() == QDialog::Accepted)
        carryOutServerChoice(dialog.choice());
}

void frmMain::carryOutServerChoice(const frmServer::Choice &choice)
{
    ServerLocation location;
    location.login = choice.login;
    location.competition = choice.competition;
    try {
        if (choice.action == frmServer::Action::New || choice.action == frmServer::Action::CopyOpen) {
            // What is typed into the open competition goes with it.
            if (choice.action == frmServer::Action::CopyOpen && TDBGrid1->hasPendingEdit())
                TDBGrid1->storePendingEdit();
            const std::shared_ptr<Database> layout = Database::open(templateFile());
            const std::shared_ptr<Database> rows = choice.action == frmServer::Action::New ? layout : Data1->database();
            if (!rows)
                throw RingtalError(ErrorNumber::NoCurrentRecord, QStringLiteral("Es ist kein Wettkampf geöffnet."));
            if (!withPassword(choice.login,
                              [&] { location = ServerCompetitions::create(choice.login, choice.name, *layout, *rows); }))
                return;
        }
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Wettkampf wurde nicht auf dem Server angelegt."));
        return;
    }
    if (choice.action != frmServer::Action::None)
        LoadCompetition(location.toText());
}

void frmMain::mnuDateiAlsDatei_Click()
{
    if (!competitionIsOpen())
        return;
    const std::shared_ptr<Database> server = Data1->database();
    if (!server || !server->isServer()) {
        Dialogs::current().message(QStringLiteral("Hinweis"),
                                   QStringLiteral("Der geöffnete Wettkampf ist schon eine Datei: %1").arg(m_competitionPath),
                                   Dialogs::Icon::Information);
        return;
    }
    try {
        if (TDBGrid1->hasPendingEdit())
            TDBGrid1->storePendingEdit();
        UiDialogs::FileRequest request;
        request.title = QStringLiteral("Wettkampf als Datei speichern");
        request.folder = programFolder();
        if (const auto *named = dynamic_cast<const ServerDatabase *>(server.get()))
            request.fileName = named->name() + QStringLiteral(".wkd");
        request.filter = QStringLiteral("Ringtal Wettkämpfe (*.wkd)|*.wkd|Alle Dateien (*.*)|*.*");
        request.defaultSuffix = QStringLiteral("wkd");
        request.confirmOverwrite = true;
        const QString chosen = UiDialogs::current().saveFileName(request);
        if (chosen.isEmpty())
            return;
        ServerCompetitions::saveAsFile(*server, templateFile(), chosen);
        Dialogs::current().message(QStringLiteral("Hinweis"),
                                   QStringLiteral("Der Wettkampf wurde in die Datei '%1' geschrieben. Geöffnet bleibt der "
                                                  "Wettkampf auf dem Server.")
                                           .arg(chosen),
                                   Dialogs::Icon::Information);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Wettkampf wurde nicht als Datei gespeichert."));
    }
}
