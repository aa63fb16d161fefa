#include "store/ErrorProtocol.h"
#include "support/ScriptedMessages.h"

#include <QRegularExpression>
#include <QtTest>

#include <new>
#include <stdexcept>

namespace {

const QString loadMessage = QStringLiteral("Fehler beim Laden eines Wettkampfs");
constexpr int Cancel = 2, Abort = 3, Retry = 4, Ignore = 5;
constexpr int always = -1;

// A step that fails a given number of times before it succeeds (-1: always),
// counting its attempts and whether it got done.
struct Step
{
    int failures = 0;
    int attempts = 0;
    bool done = false;

    void operator()()
    {
        ++attempts;
        if (failures < 0 || attempts <= failures)
            throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei nicht gefunden"));
        done = true;
    }
};

} // namespace

class TestErrorProtocol : public QObject
{
    Q_OBJECT

private slots:
    void errorBox_data();
    void errorBox();
    void runSteps_data();
    void runSteps();
    void boxShowsForeignError_data();
    void boxShowsForeignError();
};

// The box: "Fehler: number - description", the message below, the title
// "Fehler" unless one is given; the answer comes back as its classic code.
void TestErrorProtocol::errorBox_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<QString>("expectedText");
    QTest::newRow("no title gives Fehler, abort is 3")
        << 53 << "Datei nicht gefunden" << loadMessage << QString() << Abort << "Fehler"
        << "Fehler: 53 - Datei nicht gefunden\nFehler beim Laden eines Wettkampfs";
    QTest::newRow("given title kept, retry is 4")
        << 13 << "Typen unverträglich" << "Fehler beim Laden der Schriftarten Ergebnisse!" << "Schriftarten" << Retry
        << "Schriftarten" << "Fehler: 13 - Typen unverträglich\nFehler beim Laden der Schriftarten Ergebnisse!";
    QTest::newRow("percent placeholders and backslashes stay as typed, ignore is 5")
        << 3024 << "Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden" << "Fehler bei 100 %1" << QString() << Ignore
        << "Fehler" << "Fehler: 3024 - Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden\nFehler bei 100 %1";
}

void TestErrorProtocol::errorBox()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(int, answer);
    QFETCH(QString, expectedTitle);
    QFETCH(QString, expectedText);
    ScriptedMessages dialogs;
    dialogs.answer(static_cast<Dialogs::Answer>(answer));
    QCOMPARE(int(ErrorBox(RingtalError(number, description), message, title)), answer);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    QCOMPARE(dialogs.shown().front().kind, QStringLiteral("error"));
    QCOMPARE(dialogs.shown().front().title, expectedTitle);
    QCOMPARE(dialogs.shown().front().text, expectedText);
}

void TestErrorProtocol::runSteps_data()
{
    QTest::addColumn<QList<int>>("failures");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<QList<int>>("expectedAttempts");
    QTest::addColumn<QList<bool>>("expectedDone");
    QTest::newRow("all steps succeed") << QList<int>{0, 0, 0} << QList<int>{} << true
                                       << QList<int>{1, 1, 1} << QList<bool>{true, true, true};
    QTest::newRow("retry twice") << QList<int>{0, 2, 0} << QList<int>{Retry, Retry} << true
                                 << QList<int>{1, 3, 1} << QList<bool>{true, true, true};
    QTest::newRow("ignore goes on with the next step") << QList<int>{0, always, 0} << QList<int>{Ignore} << true
                                                       << QList<int>{1, 1, 1} << QList<bool>{true, false, true};
    QTest::newRow("retry then abort keeps earlier steps done") << QList<int>{0, always, 0} << QList<int>{Retry, Abort}
                                                               << false << QList<int>{1, 2, 0}
                                                               << QList<bool>{true, false, false};
    QTest::newRow("other answer ends like abort") << QList<int>{0, always, 0} << QList<int>{Cancel} << false
                                                  << QList<int>{1, 1, 0} << QList<bool>{true, false, false};
}

void TestErrorProtocol::runSteps()
{
    QFETCH(QList<int>, failures);
    QFETCH(QList<int>, answers);
    QFETCH(bool, expectedResult);
    QFETCH(QList<int>, expectedAttempts);
    QFETCH(QList<bool>, expectedDone);
    ScriptedMessages dialogs;
    for (const int answer : answers)
        dialogs.answer(static_cast<Dialogs::Answer>(answer));
    std::vector<Step> steps(std::size_t(failures.size()));
    std::vector<ErrorProtocol::Step> calls;
    for (int i = 0; i < failures.size(); ++i) {
        steps[std::size_t(i)].failures = failures[i];
        calls.push_back([&steps, i] { steps[std::size_t(i)](); });
    }
    QCOMPARE(ErrorProtocol(loadMessage).run(calls), expectedResult);
    for (int i = 0; i < failures.size(); ++i) {
        QCOMPARE(steps[std::size_t(i)].attempts, expectedAttempts[i]);
        QCOMPARE(steps[std::size_t(i)].done, expectedDone[i]);
    }
    // One box per queued answer, each the standard box for the failed step.
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.unexpected(), 0);
    QCOMPARE(dialogs.shown().size(), std::size_t(answers.size()));
    for (const ScriptedMessages::Shown &box : dialogs.shown())
        QCOMPARE(box.text, QStringLiteral("Fehler: 53 - Datei nicht gefunden\n") + loadMessage);
}

void TestErrorProtocol::boxShowsForeignError_data()
{
    QTest::addColumn<QString>("failureText"); // empty: out of memory
    QTest::newRow("runtime error with umlauts") << "Schriftart »Größe« ungültig";
    QTest::newRow("out of memory") << "";
}

void TestErrorProtocol::boxShowsForeignError()
{
    QFETCH(QString, failureText);
    ScriptedMessages dialogs;
    dialogs.answer(Dialogs::Answer::Ignore);
    bool nextStepRan = false;
    const auto failing = [&] {
        if (!failureText.isEmpty())
            throw std::runtime_error(failureText.toUtf8().toStdString());
        throw std::bad_alloc();
    };
    bool result = false;
    try {
        result = ErrorProtocol(loadMessage).run({failing, [&] { nextStepRan = true; }});
    } catch (...) {
        QFAIL("a foreign exception escaped the error protocol");
    }
    QVERIFY(result && nextStepRan);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    const QString text = dialogs.shown().front().text;
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Fehler: [1-9][0-9]* - (.+)\n")
                                                             + QRegularExpression::escape(loadMessage) + "$")
                                                  .match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    QVERIFY2(match.captured(1).contains(failureText.isEmpty() ? QStringLiteral("std::bad_alloc") : failureText),
             qPrintable(text));
}

QTEST_GUILESS_MAIN(TestErrorProtocol)
#include "tst_errorprotocol.moc"
