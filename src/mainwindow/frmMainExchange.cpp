// Data in and out of the main window: competitions of the older Access
// format taken over into new files, the winners list exported as CSV.
#include "mainwindow/frmMain.h"

#include "grid/DataGrid.h"
#include "printing/PrintTable.h"
#include "store/AccessFile.h"
#include "store/CompetitionTakeOver.h"
#include "store/Csv.h"
#include "store/DataSource.h"
#include "store/Dialogs.h"
#include "store/FileKind.h"
#include "store/RingtalError.h"
#include "store/ServerDatabase.h"
#include "widgets/UiDialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString CompetitionFilter = QStringLiteral("Ringtal Wettkämpfe (*.wkd)|*.wkd|Alle Dateien (*.*)|*.*");
const QString CsvFilter = QStringLiteral("CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*");

bool confirmTakeOver(const QString &accessPath)
{
    const QString text = QStringLiteral("'%1' ist ein Wettkampf im älteren Access-Format. Soll er in einen neuen "
                                        "Wettkampf übernommen werden? Die Access-Datei selbst bleibt unverändert.")
                                 .arg(QFileInfo(accessPath).fileName());
    return Dialogs::current().question(QStringLiteral("Hinweis"), text, Dialogs::Icon::Question)
           == Dialogs::Answer::Yes;
}

QString chooseTakeOverTarget(const QString &accessPath)
{
    UiDialogs::FileRequest request;
    request.title = QStringLiteral("Übernommenen Wettkampf speichern unter");
    request.folder = QFileInfo(accessPath).absolutePath() + QLatin1Char('/');
    request.fileName = CompetitionTakeOver::proposedFileName(accessPath);
    request.filter = CompetitionFilter;
    request.defaultSuffix = QStringLiteral("wkd");
    request.confirmOverwrite = true;
    return UiDialogs::current().saveFileName(request);
}

QVector<QStringList> listRecords(const PrintTable &table)
{
    QVector<QStringList> records;
    QStringList heading;
    for (const PrintTable::Column &column : std::as_const(table.columns))
        heading << column.caption;
    records << heading;
    for (int row = 0; row < table.rowCount; ++row) {
        QStringList texts;
        for (int column = 0; column < table.columns.size(); ++column)
            texts << table.text(row, column);
        // A class's heading line stands in the first field, as on paper.
        if (!table.heading(row).isEmpty() && !texts.isEmpty())
            texts.first() = table.heading(row);
        records << texts;
    }
    return records;
}

// A slip in the file dialog must not turn a competition or a master list
// into a spreadsheet file.
bool isDatabase(const QString &path)
{
    QFile file(path);
    return AccessFile::hasAccessHeader(path)
           || (file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16));
}

PrintTable winnersListTable(DataGrid &grid)
{
    PrintTable table = PrintTable::layoutOf(grid);
    table.appendRows(grid, 0, PrintTable::printableRows(grid));
    return table;
}

// listName as the messages name it ("Siegerliste").
void writeFile(const QString &path, const QByteArray &bytes, const QString &listName)
{
    // Looking at a named pipe's first bytes would wait for a writer, and
    // saving would put a file in the place of a pipe, socket or device.
    if (QFileInfo::exists(path) && !FileKind::isRegular(path))
        throw FileKind::notRegular(path);
    if (isDatabase(path))
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Die Datei '%1' ist eine Datenbank; sie wird nicht durch die %2 "
                                          "ersetzt.")
                                   .arg(path, listName));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw RingtalError(
                ErrorNumber::PathFileAccess,
                QStringLiteral("Fehler beim Zugriff auf Pfad/Datei: '%1' kann nicht geschrieben werden.").arg(path));
}

} // namespace

// The Access file is only read; the competition is built in a new file,
// which is then loaded like any other.
void frmMain::takeOverAccessCompetition(const QString &accessPath)
{
    if (!confirmTakeOver(accessPath))
        return;
    const QString target = chooseTakeOverTarget(accessPath);
    if (target.isEmpty() || !storePendingEntry())
        return;
    try {
        CompetitionTakeOver::intoNewFile(
                accessPath, QCoreApplication::applicationDirPath() + QStringLiteral("/wkvorlage.mdb"), target);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Der Wettkampf wurde nicht übernommen; die Access-Datei ist "
                                              "unverändert."));
        return;
    }
    // The new file may have replaced the open competition, whose connection
    // still reads the file that was there before.
    Data1->close();
    Data2->close();
    m_competitionPath = target;
    LoadCompetition(m_competitionPath);
}

// The list of the tab shown, as shown, so that what a spreadsheet shows
// matches the screen and the printout: the team list on its tab, the
// winners list on every other.
void frmMain::mnuDateiExport_Click()
{
    const bool teams = onTeamTab();
    if (!competitionIsOpen() || !(teams ? teamListReady() : winnersListReady()))
        return;
    const QString listName = teams ? QStringLiteral("Mannschaftsliste") : QStringLiteral("Siegerliste");
    const QFileInfo competition(m_competitionPath);
    // A competition on a server has no folder of its own: the user's is proposed, with its name.
    const auto *server = dynamic_cast<const ServerDatabase *>(Data1->database().get());
    UiDialogs::FileRequest request;
    request.title = listName + QStringLiteral(" exportieren");
    request.folder = (server ? QDir::homePath() : competition.absolutePath()) + QLatin1Char('/');
    request.fileName = (server ? server->name() : competition.completeBaseName())
                     + (teams ? QStringLiteral(" Mannschaften.csv") : QStringLiteral(".csv"));
    request.filter = CsvFilter;
    request.defaultSuffix = QStringLiteral("csv");
    request.confirmOverwrite = true;
    const QString target = UiDialogs::current().saveFileName(request);
    if (target.isEmpty())
        return;
    try {
        writeFile(target, Csv::write(listRecords(teams ? teamListTable() : winnersListTable(*TDBGrid2))), listName);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die %1 wurde nicht exportiert.").arg(listName));
    }
}
