#include "RingtalApplication.h"
#include "RingtalError.h"
#include "ScriptedDialogs.h"

#include <QEvent>
#include <QLocale>
#include <QtTest>

#include <new>
#include <utility>
#include <stdexcept>

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
        if (kind == QLatin1String("bad_alloc"))
            throw std::bad_alloc();
        ++delivered;
        return true;
    }
};

} // namespace

// The application object itself, so the tests run under the program's own one.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void identity_data();
    void identity();
    void failureInEventBecomesMessage_data();
    void failureInEventBecomesMessage();
};

void TestApplication::identity_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("expected");
    QTest::newRow("organisation names the settings store") << "organization" << "Ringtal";
    QTest::newRow("application names the settings store") << "application" << "Ringtal";
    QTest::newRow("numbers in German") << "decimal point" << ",";
}

void TestApplication::identity()
{
    QFETCH(QString, property);
    QFETCH(QString, expected);
    QString actual;
    if (property == QLatin1String("organization"))
        actual = QCoreApplication::organizationName();
    else if (property == QLatin1String("application"))
        actual = QCoreApplication::applicationName();
    else
        actual = QLocale().decimalPoint();
    QCOMPARE(actual, expected);
}

void TestApplication::failureInEventBecomesMessage_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("expectedStart");
    QTest::addColumn<QString>("expectedPart");
    QTest::newRow("the program's own error") << "own" << "Fehler: 53 - "
                                             << "Datei 'Kreis Süd.wkd' nicht gefunden";
    QTest::newRow("a standard library error") << "runtime" << "Fehler: " << "Speicher kaputt";
    QTest::newRow("memory exhausted") << "bad_alloc" << "Fehler: " << "";
}

void TestApplication::failureInEventBecomesMessage()
{
    QFETCH(QString, failure);
    QFETCH(QString, expectedStart);
    QFETCH(QString, expectedPart);
    ScriptedDialogs dialogs;
    FailingReceiver receiver;
    receiver.failure = failure;

    QEvent failing(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &failing);

    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    QCOMPARE(dialogs.shown().front().kind, QStringLiteral("message"));
    QCOMPARE(dialogs.shown().front().title, QStringLiteral("Fehler"));
    QVERIFY2(dialogs.shown().front().text.startsWith(expectedStart), qPrintable(dialogs.shown().front().text));
    QVERIFY2(dialogs.shown().front().text.contains(expectedPart), qPrintable(dialogs.shown().front().text));
    // The program goes on: the next event arrives as usual, posted ones too.
    QEvent next(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &next);
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    QCOMPARE(receiver.delivered, 2);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
}

int main(int argc, char *argv[])
{
    RingtalApplication app(argc, argv);
    TestApplication test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_applicationguard.moc"
