#include "store/ErrorProtocol.h"
#include "support/AnsweredBoxes.h"

#include <QRegularExpression>
#include <QtTest>

#include <new>
#include <stdexcept>

namespace {

const QString loadMessage = QStringLiteral("Fehler beim Laden eines Wettkampfs");
constexpr int Cancel = 2, Abort = 3, Retry = 4, Ignore = 5;

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

// "Fehler: number - description", the message below, the title "Fehler"
// unless one is given; the answer comes back as its classic code.
void TestErrorProtocol::errorBox_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no title gives Fehler, abort is 3") << "Datei nicht gefunden" << QString() << Abort
        << "Fehler|Fehler: 53 - Datei nicht gefunden\nFehler bei 100 %1";
    QTest::newRow("given title kept, retry is 4") << "Typen unverträglich" << "Schriftarten" << Retry
        << "Schriftarten|Fehler: 53 - Typen unverträglich\nFehler bei 100 %1";
    QTest::newRow("percent placeholders and backslashes stay as typed, ignore is 5")
        << "Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden" << QString() << Ignore
        << "Fehler|Fehler: 53 - Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden\nFehler bei 100 %1";
}

void TestErrorProtocol::errorBox()
{
    QFETCH(QString, description);
    QFETCH(QString, title);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    AnsweredBoxes boxes({answer});
    QCOMPARE(int(ErrorBox(RingtalError(53, description), QStringLiteral("Fehler bei 100 %1"), title)), answer);
    QCOMPARE(boxes.shown(), QStringList{shown});
}

// A step fails as often as given (-1: always) before it succeeds.
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
    QTest::newRow("ignore goes on with the next step") << QList<int>{0, -1, 0} << QList<int>{Ignore} << true
                                                       << QList<int>{1, 1, 1} << QList<bool>{true, false, true};
    QTest::newRow("retry then abort keeps earlier steps done") << QList<int>{0, -1, 0} << QList<int>{Retry, Abort}
        << false << QList<int>{1, 2, 0} << QList<bool>{true, false, false};
    QTest::newRow("other answer ends like abort") << QList<int>{0, -1, 0} << QList<int>{Cancel} << false
                                                  << QList<int>{1, 1, 0} << QList<bool>{true, false, false};
}

void TestErrorProtocol::runSteps()
{
    QFETCH(QList<int>, failures);
    QFETCH(QList<int>, answers);
    QFETCH(bool, expectedResult);
    QFETCH(QList<int>, expectedAttempts);
    QFETCH(QList<bool>, expectedDone);
    AnsweredBoxes boxes(answers);
    QList<int> attempts(failures.size(), 0);
    QList<bool> done(failures.size(), false);
    std::vector<ErrorProtocol::Step> steps;
    for (int i = 0; i < failures.size(); ++i) {
        steps.push_back([&, i] {
            if (++attempts[i] <= failures[i] || failures[i] < 0)
                throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei nicht gefunden"));
            done[i] = true;
        });
    }
    QCOMPARE(ErrorProtocol(loadMessage).run(steps), expectedResult);
    QCOMPARE(attempts, expectedAttempts);
    QCOMPARE(done, expectedDone);
    // One standard box per answer.
    QVERIFY(boxes.allAnswersUsed());
    QCOMPARE(boxes.shown(), QStringList(answers.size(), "Fehler|Fehler: 53 - Datei nicht gefunden\n" + loadMessage));
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
    AnsweredBoxes boxes({Ignore});
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
    QCOMPARE(boxes.shown().size(), 1);
    const QString text = boxes.shown().front();
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Fehler\\|Fehler: [1-9][0-9]* - (.+)\n")
                                                             + QRegularExpression::escape(loadMessage) + "$")
                                                  .match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    QVERIFY2(match.captured(1).contains(failureText.isEmpty() ? QStringLiteral("std::bad_alloc") : failureText),
             qPrintable(text));
}

QTEST_GUILESS_MAIN(TestErrorProtocol)
#include "tst_errorprotocol.moc"
