// The application as a whole: German texts from Qt itself, and a failure
// escaping a command shown as a message instead of ending the program.
#include "RingtalApplication.h"
#include "RingtalError.h"
#include "ScriptedDialogs.h"

#include <QtTest>

namespace {

class FailingReceiver : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw RingtalError(ErrorNumber::ReadOnly, QStringLiteral("Die Datei ist schreibgeschützt."));
        return QObject::event(event);
    }
};

} // namespace

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void qtSpeaksGerman_data();
    void qtSpeaksGerman();
    void escapedFailureIsShownNotFatal();
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

void tst_Application::escapedFailureIsShownNotFatal()
{
    ScriptedDialogs dialogs;
    FailingReceiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    QCOMPARE(dialogs.shown().size(), size_t(1));
    QCOMPARE(dialogs.shown().front().text, QStringLiteral("Fehler: 3027 - Die Datei ist schreibgeschützt."));
}

int main(int argc, char **argv)
{
    RingtalApplication app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
