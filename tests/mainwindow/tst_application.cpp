// Qt's own buttons and dialogs speak German.
#include "RingtalApplication.h"

#include <QtTest>


class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void qtSpeaksGerman_data();
    void qtSpeaksGerman();
};

void tst_Application::qtSpeaksGerman_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    QTest::newRow("yes") << "&Yes" << "&Ja";
    QTest::newRow("no") << "&No" << "&Nein";
    QTest::newRow("cancel") << "Cancel" << "Abbrechen";
    QTest::newRow("retry") << "Retry" << "Wiederholen";
    QTest::newRow("ignore") << "Ignore" << "Ignorieren";
    QTest::newRow("abort") << "Abort" << "Abbrechen";
}

void tst_Application::qtSpeaksGerman()
{
    QFETCH(QString, english);
    QFETCH(QString, german);
    static const bool loaded = RingtalApplication::loadQtTranslations();
    QVERIFY2(loaded, "Qt's German translations (qtbase_de.qm) are not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", english.toLatin1().constData()), german);
}

int main(int argc, char **argv)
{
    RingtalApplication app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
