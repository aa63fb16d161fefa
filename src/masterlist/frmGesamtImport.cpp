// Shooters imported into the master list from a master list of the older
// Access format or from a CSV file.
#include "masterlist/frmGesamt.h"

#include "grid/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "store/Recordset.h"
#include "store/ShooterImport.h"
#include "widgets/UiDialogs.h"

#include <QDir>

namespace {

QString chooseImportFile()
{
    UiDialogs::FileRequest request;
    request.title = QStringLiteral("Schützen importieren");
    request.folder = QDir::homePath() + QLatin1Char('/');
    request.filter = QStringLiteral("Gesamtliste oder CSV-Datei (*.mdb *.csv *.txt)|*.mdb;*.csv;*.txt|"
                                    "Alle Dateien (*.*)|*.*");
    request.mustExist = true;
    return UiDialogs::current().openFileName(request);
}

QString summary(const ShooterImport::Result &result)
{
    QString text = QStringLiteral("Hinzugefügt: %1\nÜbersprungen, weil schon in der Gesamtliste: %2")
                           .arg(result.added)
                           .arg(result.skipped);
    if (result.nameless > 0)
        text += QStringLiteral("\nZeilen ohne Namen, nicht übernommen: %1").arg(result.nameless);
    return text;
}

} // namespace

// The whole file is read before anything is written, and the shooters go in
// one transaction: an import that fails leaves the list as it was.
void frmGesamt::mnuDateiImport_Click()
{
    if (!storePendingEdit())
        return;
    if (!Data1->isOpen()) {
        Dialogs::current().message(QStringLiteral("Hinweis"),
                                   QStringLiteral("Die Gesamtliste ist nicht geöffnet; es kann nichts importiert "
                                                  "werden."),
                                   Dialogs::Icon::Information);
        return;
    }
    const QString path = chooseImportFile();
    Recordset *rs = Data1->recordset();
    if (path.isEmpty() || !rs)
        return;
    ShooterImport::Result result;
    try {
        result = ShooterImport::append(rs->database(), ShooterImport::readFile(path));
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Es wurde nichts importiert; die Gesamtliste ist unverändert."));
        return;
    }
    rereadList();
    Dialogs::current().message(QStringLiteral("Hinweis"), summary(result), Dialogs::Icon::Information);
}
