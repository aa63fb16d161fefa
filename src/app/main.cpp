#include "QtDialogs.h"
#include "RingtalApplication.h"
#include "frmMain.h"

int main(int argc, char *argv[])
{
    RingtalApplication app(argc, argv);
    RingtalApplication::loadQtTranslations();

    QtDialogs dialogs;
    Dialogs::install(&dialogs);

    int rc = 0;
    {
        frmMain window;
        window.show();
        rc = app.exec();
    }
    Dialogs::install(nullptr);
    return rc;
}
