// The error box and the steps of a command run under the error protocol.
#include "store/ErrorProtocol.h"
#include "support/ScriptedMessages.h"

#include <QtTest>

#include <new>

namespace {

// Placeholders and backslashes in what a box shows stay as they are.
const QString loadMessage = QStringLiteral("Fehler beim Laden von %1");
const QString notFound = QStringLiteral("Datei 'C:\\Wettkampf\\Ergebnis %2.wkd' nicht gefunden");
constexpr int Abort = 3, Retry = 4, Ignore = 5;

} // namespace

class TestErrorProtocol : public QObject
{
    Q_OBJECT

private slots:
    // A title given to the error box is kept; the answer comes back as its classic code.
    void errorBoxWithTitle()
    {
        ScriptedMessages boxes({Retry});
        const RingtalError error(13, QStringLiteral("Typen unverträglich"));
        QCOMPARE(int(ErrorBox(error, QStringLiteral("Fehler bei Schriftarten"), QStringLiteral("Schriftarten"))), Retry);
        QCOMPARE(boxes.boxes(), QStringList{"Schriftarten|Fehler: 13 - Typen unverträglich\nFehler bei Schriftarten"});
    }

    // A step fails as often as given (-1: always) before it succeeds, with the
    // program's own error or with a foreign one (out of memory); one box per
    // failure, "Fehler: number - description" with the message below and the
    // title "Fehler". A step is done once it ran without failing; Retry repeats
    // it, Ignore goes on, any other answer stops.
    void runSteps_data()
    {
        QTest::addColumn<QList<int>>("failures");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QList<int>>("attempts");
        QTest::addColumn<bool>("outOfMemory");
        const auto row = [](const char *name, const QList<int> &failures, const QList<int> &answers, bool result,
                            const QList<int> &attempts, bool outOfMemory = false) {
            QTest::newRow(name) << failures << answers << result << attempts << outOfMemory;
        };
        row("retry twice", {0, 2, 0}, {Retry, Retry}, true, {1, 3, 1});
        row("ignore goes on with the next step", {-1, 0}, {Ignore}, true, {1, 1});
        row("retry then abort keeps earlier steps done", {0, -1, 0}, {Retry, Abort}, false, {1, 2, 0});
        row("out of memory, ignored", {-1, 0}, {Ignore}, true, {1, 1}, true);
    }

    void runSteps()
    {
        QFETCH(QList<int>, failures);
        QFETCH(QList<int>, answers);
        QFETCH(bool, result);
        QFETCH(QList<int>, attempts);
        QFETCH(bool, outOfMemory);
        ScriptedMessages boxes(answers);
        QList<int> tried(failures.size(), 0);
        QList<bool> finished(failures.size(), false);
        QList<bool> done;
        std::vector<ErrorProtocol::Step> steps;
        for (int i = 0; i < failures.size(); ++i) {
            done << (failures[i] >= 0 && attempts[i] > failures[i]);
            steps.push_back([&, i] {
                if (++tried[i] <= failures[i] || failures[i] < 0) {
                    if (outOfMemory)
                        throw std::bad_alloc();
                    throw RingtalError(ErrorNumber::FileNotFound, notFound);
                }
                finished[i] = true;
            });
        }
        QCOMPARE(ErrorProtocol(loadMessage).run(steps), result);
        QCOMPARE(tried, attempts);
        QCOMPARE(finished, done);
        QVERIFY(boxes.allAnswersUsed());
        const QString error = outOfMemory ? QStringLiteral("5 - Unerwarteter Fehler: std::bad_alloc") : "53 - " + notFound;
        QCOMPARE(boxes.boxes(), QStringList(answers.size(), "Fehler|Fehler: " + error + '\n' + loadMessage));
    }
};

QTEST_GUILESS_MAIN(TestErrorProtocol)
#include "tst_errorprotocol.moc"
