// The program's own application object: Qt's texts in German, the settings
// store's names, and the last guard that turns an escaped failure into a
// message instead of ending the program.
#include "mainwindow/RingtalApplication.h"
#include "store/RingtalError.h"
#include "support/ScriptedDialogs.h"

#include <QEvent>
#include <QLocale>
#include <QtTest>

#include <new>
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
        if (kind == QLatin1String("bad_alloc"))
            throw std::bad_alloc();
        ++delivered;
        return true;
    }
};

} // namespace

class tst_Application : public QObject
{
    Q_OBJECT

private slots:
    void qtSpeaksGerman_data();
    void qtSpeaksGerman();
    void identity();
    void failureInEventBecomesMessage_data();
    void failureInEventBecomesMessage();
};

void tst_Application::qtSpeaksGerman_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    QTest::newRow("yes") << "&Yes" << "&Ja";
    QTest::newRow("cancel") << "Cancel" << "Abbrechen";
    QTest::newRow("retry") << "Retry" << "Wiederholen";
    QTest::newRow("ignore") << "Ignore" << "Ignorieren";
}

void tst_Application::qtSpeaksGerman()
{
    QFETCH(QString, english);
    QFETCH(QString, german);
    static const bool loaded = RingtalApplication::loadQtTranslations();
    QVERIFY2(loaded, "Qt's German translations (qtbase_de.qm) are not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", english.toLatin1().constData()), german);
}

void tst_Application::identity()
{
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Ringtal"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Ringtal"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
}

void tst_Application::failureInEventBecomesMessage_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("expectedStart");
    QTest::addColumn<QString>("expectedPart");
    QTest::newRow("the program's own error") << "own" << "Fehler: 53 - " << "Datei 'Kreis Süd.wkd' nicht gefunden";
    QTest::newRow("a standard library error") << "runtime" << "Fehler: " << "Speicher kaputt";
    QTest::newRow("memory exhausted") << "bad_alloc" << "Fehler: " << "";
}

void tst_Application::failureInEventBecomesMessage()
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
    const ScriptedDialogs::Shown &shown = dialogs.shown().front();
    QCOMPARE(shown.kind, QStringLiteral("message"));
    QCOMPARE(shown.title, QStringLiteral("Fehler"));
    QVERIFY2(shown.text.startsWith(expectedStart) && shown.text.contains(expectedPart), qPrintable(shown.text));
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
    tst_Application test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
