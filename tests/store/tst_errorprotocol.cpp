#include "store/ErrorProtocol.h"
#include "support/ScriptedMessages.h"

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
    // "Fehler: number - description", the message below, the title "Fehler"
    // unless one is given; the answer comes back as its classic code.
    void errorBox_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no title gives Fehler, abort is 3") << "Datei nicht gefunden" << QString() << Abort
                                                           << "Fehler|Fehler: 53 - Datei nicht gefunden\nFehler bei %1";
        QTest::newRow("given title kept, retry is 4") << "Typen unverträglich" << "Schriftarten" << Retry
                                                      << "Schriftarten|Fehler: 53 - Typen unverträglich\nFehler bei %1";
        QTest::newRow("percent placeholders and backslashes stay as typed, ignore is 5")
            << "Datei 'C:\\Wettkampf\\Ergebnis %2.wkd'" << QString() << Ignore
            << "Fehler|Fehler: 53 - Datei 'C:\\Wettkampf\\Ergebnis %2.wkd'\nFehler bei %1";
    }

    void errorBox()
    {
        QFETCH(QString, description);
        QFETCH(QString, title);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        ScriptedMessages boxes({answer});
        QCOMPARE(int(ErrorBox(RingtalError(53, description), QStringLiteral("Fehler bei %1"), title)), answer);
        QCOMPARE(boxes.boxes(), QStringList{shown});
    }

    // A step fails as often as given (-1: always) before it succeeds; one
    // standard box per failure.
    void runSteps_data()
    {
        QTest::addColumn<QList<int>>("failures");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QList<int>>("attempts");
        QTest::addColumn<QList<bool>>("done");
        QTest::newRow("all steps succeed") << QList<int>{0, 0} << QList<int>{} << true << QList<int>{1, 1}
                                           << QList<bool>{true, true};
        QTest::newRow("retry twice") << QList<int>{0, 2, 0} << QList<int>{Retry, Retry} << true << QList<int>{1, 3, 1}
                                     << QList<bool>{true, true, true};
        QTest::newRow("ignore goes on with the next step") << QList<int>{-1, 0} << QList<int>{Ignore} << true
                                                           << QList<int>{1, 1} << QList<bool>{false, true};
        QTest::newRow("retry then abort keeps earlier steps done") << QList<int>{0, -1, 0} << QList<int>{Retry, Abort}
            << false << QList<int>{1, 2, 0} << QList<bool>{true, false, false};
        QTest::newRow("other answer ends like abort") << QList<int>{-1, 0} << QList<int>{Cancel} << false
                                                      << QList<int>{1, 0} << QList<bool>{false, false};
    }

    void runSteps()
    {
        QFETCH(QList<int>, failures);
        QFETCH(QList<int>, answers);
        QFETCH(bool, result);
        QFETCH(QList<int>, attempts);
        QFETCH(QList<bool>, done);
        ScriptedMessages boxes(answers);
        QList<int> tried(failures.size(), 0);
        QList<bool> finished(failures.size(), false);
        std::vector<ErrorProtocol::Step> steps;
        for (int i = 0; i < failures.size(); ++i) {
            steps.push_back([&, i] {
                if (++tried[i] <= failures[i] || failures[i] < 0)
                    throw RingtalError(ErrorNumber::FileNotFound, QStringLiteral("Datei nicht gefunden"));
                finished[i] = true;
            });
        }
        QCOMPARE(ErrorProtocol(loadMessage).run(steps), result);
        QCOMPARE(tried, attempts);
        QCOMPARE(finished, done);
        QVERIFY(boxes.allAnswersUsed());
        QCOMPARE(boxes.boxes(), QStringList(answers.size(), "Fehler|Fehler: 53 - Datei nicht gefunden\n" + loadMessage));
    }

    // A foreign exception is shown in the box like the program's own errors,
    // and Ignore goes on with the next step.
    void boxShowsForeignError_data()
    {
        QTest::addColumn<QString>("failure"); // empty: out of memory
        QTest::newRow("runtime error with umlauts") << "Schriftart »Größe« ungültig";
        QTest::newRow("out of memory") << "";
    }

    void boxShowsForeignError()
    {
        QFETCH(QString, failure);
        ScriptedMessages boxes({Ignore});
        bool result = false;
        bool nextStepRan = false;
        const auto failing = [&] {
            if (failure.isEmpty())
                throw std::bad_alloc();
            throw std::runtime_error(failure.toStdString());
        };
        try {
            result = ErrorProtocol(loadMessage).run({failing, [&] { nextStepRan = true; }});
        } catch (...) {
            QFAIL("a foreign exception escaped the error protocol");
        }
        QVERIFY(result && nextStepRan);
        const QString what = QRegularExpression::escape(failure.isEmpty() ? QStringLiteral("std::bad_alloc") : failure);
        const QRegularExpression box("^Fehler\\|Fehler: [1-9][0-9]* - .*" + what + ".*\n" + loadMessage + "$");
        QVERIFY2(boxes.boxes().size() == 1 && box.match(boxes.boxes().front()).hasMatch(), qPrintable(boxes.boxes().join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestErrorProtocol)
#include "tst_errorprotocol.moc"
