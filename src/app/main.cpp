#include "mainwindow/RingtalApplication.h"
#include "mainwindow/frmMain.h"
#include "store/ServerLocation.h"
#include "widgets/QtDialogs.h"

#include <QFileInfo>

int main(int argc, char *argv[])
{
    RingtalApplication app(argc, argv);
    RingtalApplication::loadQtTranslations();

    QtDialogs dialogs;
    QtDialogs::installSeam(&dialogs);

    int rc = 0;
    {
        frmMain window;
        window.show();
        // A competition named on the command line (a double-click on a .wkd
        // file, or a server competition's postgresql:// text) is opened over
        // the last one, as if chosen with Open.
        const QStringList arguments = QCoreApplication::arguments();
        if (arguments.size() > 1)
            window.openCompetitionFile(ServerLocation::fromText(arguments.at(1)) ? arguments.at(1)
                                                                                   : QFileInfo(arguments.at(1)).absoluteFilePath());
        rc = app.exec();
    }
    QtDialogs::installSeam(nullptr);
    return rc;
}
