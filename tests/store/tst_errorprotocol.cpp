#include "ErrorProtocol.h"
#include "ScriptedDialogs.h"

#include <QRegularExpression>
#include <QtTest>

#include <new>
#include <stdexcept>

namespace {

const QString loadMessage = QStringLiteral("Fehler beim Laden eines Wettkampfs");

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

constexpr int always = -1;

void queueAnswers(ScriptedDialogs &dialogs, const QList<int> &answers)
{
    for (const int answer : answers)
        dialogs.answer(static_cast<Dialogs::Answer>(answer));
}

} // namespace

class TestErrorProtocol : public QObject
{
    Q_OBJECT

private slots:
    void errorBoxText_data();
    void errorBoxText();
    void errorBoxAnswer_data();
    void errorBoxAnswer();

    void runSteps_data();
    void runSteps();
    void boxShowsForeignError_data();
    void boxShowsForeignError();
};

void TestErrorProtocol::errorBoxText_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<QString>("expectedText");
    QTest::newRow("no title gives Fehler")
        << 53 << "Datei nicht gefunden" << loadMessage << QString() << "Fehler"
        << "Fehler: 53 - Datei nicht gefunden\nFehler beim Laden eines Wettkampfs";
    QTest::newRow("given title kept")
        << 13 << "Typen unverträglich" << "Fehler beim Laden der Schriftarten Ergebnisse!" << "Schriftarten"
        << "Schriftarten" << "Fehler: 13 - Typen unverträglich\nFehler beim Laden der Schriftarten Ergebnisse!";
    QTest::newRow("percent placeholders and backslashes stay as typed")
        << 3024 << "Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden" << "Fehler bei 100 %1" << QString() << "Fehler"
        << "Fehler: 3024 - Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden\nFehler bei 100 %1";
}

void TestErrorProtocol::errorBoxText()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, expectedTitle);
    QFETCH(QString, expectedText);
    ScriptedDialogs dialogs;
    dialogs.answer(Dialogs::Answer::Abort);
    ErrorBox(RingtalError(number, description), message, title);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    QCOMPARE(dialogs.shown().front().kind, QStringLiteral("error"));
    QCOMPARE(dialogs.shown().front().title, expectedTitle);
    QCOMPARE(dialogs.shown().front().text, expectedText);
}

void TestErrorProtocol::errorBoxAnswer_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("expectedCode");
    QTest::newRow("abort is 3") << Dialogs::Answer::Abort << 3;
    QTest::newRow("retry is 4") << Dialogs::Answer::Retry << 4;
    QTest::newRow("ignore is 5") << Dialogs::Answer::Ignore << 5;
}

void TestErrorProtocol::errorBoxAnswer()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, expectedCode);
    ScriptedDialogs dialogs;
    dialogs.answer(answer);
    const Dialogs::Answer returned = ErrorBox(RingtalError(53, QStringLiteral("Datei nicht gefunden")), loadMessage);
    QCOMPARE(static_cast<int>(returned), expectedCode);
    QCOMPARE(dialogs.unexpected(), 0);
}

void TestErrorProtocol::runSteps_data()
{
    QTest::addColumn<QList<int>>("failures");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<QList<int>>("expectedAttempts");
    QTest::addColumn<QList<bool>>("expectedDone");
    const int abort = 3, retry = 4, ignore = 5, cancel = 2;
    QTest::newRow("all steps succeed") << QList<int>{0, 0, 0} << QList<int>{} << true
                                       << QList<int>{1, 1, 1} << QList<bool>{true, true, true};
    QTest::newRow("retry twice") << QList<int>{0, 2, 0} << QList<int>{retry, retry} << true
                                 << QList<int>{1, 3, 1} << QList<bool>{true, true, true};
    QTest::newRow("ignore goes on with the next step") << QList<int>{0, always, 0} << QList<int>{ignore} << true
                                                       << QList<int>{1, 1, 1} << QList<bool>{true, false, true};
    QTest::newRow("abort keeps earlier steps done") << QList<int>{0, always, 0} << QList<int>{abort} << false
                                                    << QList<int>{1, 1, 0} << QList<bool>{true, false, false};
    QTest::newRow("retry then abort") << QList<int>{0, always, 0} << QList<int>{retry, abort} << false
                                      << QList<int>{1, 2, 0} << QList<bool>{true, false, false};
    QTest::newRow("other answer ends like abort") << QList<int>{0, always, 0} << QList<int>{cancel} << false
                                                  << QList<int>{1, 1, 0} << QList<bool>{true, false, false};
}

void TestErrorProtocol::runSteps()
{
    QFETCH(QList<int>, failures);
    QFETCH(QList<int>, answers);
    QFETCH(bool, expectedResult);
    QFETCH(QList<int>, expectedAttempts);
    QFETCH(QList<bool>, expectedDone);
    ScriptedDialogs dialogs;
    queueAnswers(dialogs, answers);
    std::vector<Step> steps(std::size_t(failures.size()));
    std::vector<ErrorProtocol::Step> calls;
    for (int i = 0; i < failures.size(); ++i) {
        steps[std::size_t(i)].failures = failures[i];
        calls.push_back([&steps, i] { steps[std::size_t(i)](); });
    }
    const bool result = ErrorProtocol(loadMessage).run(calls);
    QCOMPARE(result, expectedResult);
    for (int i = 0; i < failures.size(); ++i) {
        QCOMPARE(steps[std::size_t(i)].attempts, expectedAttempts[i]);
        QCOMPARE(steps[std::size_t(i)].done, expectedDone[i]);
    }
    // One box per queued answer, each the standard box for the failed step.
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.unexpected(), 0);
    QCOMPARE(dialogs.shown().size(), std::size_t(answers.size()));
    for (const ScriptedDialogs::Shown &box : dialogs.shown()) {
        QCOMPARE(box.title, QStringLiteral("Fehler"));
        QCOMPARE(box.text, QStringLiteral("Fehler: 53 - Datei nicht gefunden\n") + loadMessage);
    }
}

void TestErrorProtocol::boxShowsForeignError_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("failureText");
    QTest::newRow("runtime error with umlauts") << "runtime" << "Schriftart »Größe« ungültig";
    QTest::newRow("out of memory") << "memory" << "std::bad_alloc";
}

void TestErrorProtocol::boxShowsForeignError()
{
    QFETCH(QString, kind);
    QFETCH(QString, failureText);
    ScriptedDialogs dialogs;
    dialogs.answer(Dialogs::Answer::Ignore);
    const QByteArray what = failureText.toUtf8();
    bool nextStepRan = false;
    const auto failing = [&] {
        if (kind == QLatin1String("runtime"))
            throw std::runtime_error(what.toStdString());
        throw std::bad_alloc();
    };
    bool result = false;
    try {
        result = ErrorProtocol(loadMessage).run({failing, [&] { nextStepRan = true; }});
    } catch (...) {
        QFAIL("a foreign exception escaped the error protocol");
    }
    QVERIFY(result);
    QVERIFY(nextStepRan);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    const QString text = dialogs.shown().front().text;
    const QRegularExpression shape(QStringLiteral("^Fehler: [1-9][0-9]* - (.+)\n")
                                   + QRegularExpression::escape(loadMessage) + "$");
    const QRegularExpressionMatch match = shape.match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    QVERIFY2(match.captured(1).contains(failureText), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestErrorProtocol)
#include "tst_errorprotocol.moc"
