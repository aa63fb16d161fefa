#include "mainwindow/RingtalApplication.h"

#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "widgets/AppIcons.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

RingtalApplication::RingtalApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Ringtal"));
    setApplicationName(QStringLiteral("Ringtal"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setWindowIcon(AppIcons::windowIcon());
    // The desktop matches the running program to its installed entry by this name.
    setDesktopFileName(QStringLiteral("ringtal"));
    // The designed fonts are the classic Windows ones; elsewhere a similar face stands in.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Liberation Sans")});
}

bool RingtalApplication::loadQtTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool RingtalApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &failure) {
        reportFailure(failure);
    }
    return false;
}
