// The program's own application object: Qt's texts in German, the settings store's names, and the
// last guard that turns an escaped failure into a message instead of ending the program.
#include "mainwindow/RingtalApplication.h"
#include "store/RingtalError.h"
#include "support/ScriptedDialogs.h"

#include <QLocale>
#include <QtTest>
#include <stdexcept>
#include <utility>

namespace {

// An object whose next event fails the way a command can fail.
class FailingReceiver : public QObject
{
public:
    QString failure;
    int delivered = 0;

    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        const QString kind = std::exchange(failure, QString());
        if (kind == QLatin1String("own"))
            throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei 'Kreis Süd.wkd' nicht gefunden"));
        if (kind == QLatin1String("runtime"))
            throw std::runtime_error("Speicher kaputt");
        return ++delivered;
    }
};

} // namespace

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void germanAndNamed()
    {
        QVERIFY2(RingtalApplication::loadQtTranslations(), "Qt's German translations (qtbase_de.qm) are not installed");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Retry"), QStringLiteral("Wiederholen")); // one stands for the file
        QVERIFY(QCoreApplication::organizationName() == "Ringtal" && QCoreApplication::applicationName() == "Ringtal");
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }

    void failureInEventBecomesMessage_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("expected"); // the message starts "Fehler: " and holds this
        QTest::newRow("the program's own error") << "own" << "Fehler: 53 - Datei 'Kreis Süd.wkd' nicht gefunden";
        // Any other failure, exhausted memory too, is caught as the standard library's.
        QTest::newRow("a standard library error") << "runtime" << "Speicher kaputt";
    }

    // One message; the program goes on and the next events, posted ones too, arrive as usual.
    void failureInEventBecomesMessage()
    {
        QFETCH(QString, failure);
        QFETCH(QString, expected);
        ScriptedDialogs dialogs;
        FailingReceiver receiver;
        receiver.failure = failure;
        QEvent failing(QEvent::User), next(QEvent::User);
        QCoreApplication::sendEvent(&receiver, &failing);
        QCoreApplication::sendEvent(&receiver, &next);
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(receiver.delivered, 2);
        QCOMPARE(dialogs.shown().size(), std::size_t(1));
        const ScriptedDialogs::Shown &shown = dialogs.shown().front();
        QVERIFY(shown.kind == "message" && shown.title == "Fehler");
        QVERIFY2(shown.text.startsWith("Fehler: ") && shown.text.contains(expected), qPrintable(shown.text));
    }
};

int main(int argc, char *argv[])
{
    RingtalApplication app(argc, argv);
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
