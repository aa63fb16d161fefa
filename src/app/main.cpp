#include "QtDialogs.h"
#include "frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ringtal"));
    QCoreApplication::setApplicationName(QStringLiteral("Ringtal"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    // Qt's own buttons and dialogs speak German too ("Ja", "Abbrechen", ...).
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    QtDialogs dialogs;
    Dialogs::install(&dialogs);

    frmMain window;
    window.show();
    const int rc = app.exec();
    Dialogs::install(nullptr);
    return rc;
}
