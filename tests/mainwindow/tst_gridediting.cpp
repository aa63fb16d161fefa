#include "GridColumn.h"
#include "MainWindowSession.h"
#include "RingtalError.h"
#include "SampleShooters.h"

#include <QSignalSpy>

using namespace GridInput;
using namespace SampleShooters;

// Rows of the entry grid after loading the sample: 0 Anna Weiß (ID 3),
// 1 Bauer (ID 1), 2 Zeller (ID 4), 3 and 4 the two without key, 5 the new-row line.
class TestGridEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void afterColEdit_data();
    void afterColEdit();
    void typingOnNewRowLine_data();
    void typingOnNewRowLine();
    void pendingEdit_data();
    void pendingEdit();
    void storePendingEditFails_data();
    void storePendingEditFails();
    void leavingRowThatCannotBeStored_data();
    void leavingRowThatCannotBeStored();
    void enterAndTabMove_data();
    void enterAndTabMove();
    void wholeRowByKeyboard_data();
    void wholeRowByKeyboard();

private:
    // The sample competition (or an empty one) open in a shown window, the entry grid focused.
    bool open(bool withShooters = true);
    DataGrid *grid() const { return m_session->entryGrid(); }
    QList<QVariantMap> storedRows() const
    {
        return m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse ORDER BY ID"));
    }
    void checkStored(qint64 id, const QVariantMap &expected);

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;
};

void TestGridEditing::init()
{
    m_competition = std::make_unique<TestCompetition>();
    m_competition->setTitle(QStringLiteral("Vereinsmeisterschaft"));
}

void TestGridEditing::cleanup()
{
    m_session.reset();
    m_competition.reset();
}

bool TestGridEditing::open(bool withShooters)
{
    if (withShooters)
        addFive(*m_competition);
    m_session = std::make_unique<MainWindowSession>(m_competition->path());
    return m_session->showForTyping() && m_session->dialogs().shown().empty();
}

// ID 0 stands for the row added last.
void TestGridEditing::checkStored(qint64 id, const QVariantMap &expected)
{
    if (id == 0)
        id = m_competition->scalar(QStringLiteral("SELECT max(ID) FROM Ergebnisse")).toLongLong();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(stored(*m_competition, id, it.key()).toString(), it.value().toString());
}

void TestGridEditing::afterColEdit_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QList<int>>("expectedColumns");
    const int startNr = column(QStringLiteral("StartNr"));
    const int name = column(QStringLiteral("Schuetze"));
    const int ring1 = column(QStringLiteral("Ring1"));
    QTest::newRow("name typed and confirmed with Enter")
        << QStringList{"@0:Schuetze", "Neumann", "<Return>"} << QList<int>{name};
    QTest::newRow("ring typed and left with Tab") << QStringList{"@1:Ring1", "9,5", "<Tab>"} << QList<int>{ring1};
    QTest::newRow("start number typed on the new-row line")
        << QStringList{"@new:StartNr", "42", "<Return>"} << QList<int>{startNr};
    QTest::newRow("two cells of one row") << QStringList{"@0:StartNr", "5", "<Tab>", "Neumann", "<Return>"}
                                          << QList<int>{startNr, name};
    QTest::newRow("typed cell taken by moving to another row")
        << QStringList{"@0:Schuetze", "Neumann", "@2:Verein"} << QList<int>{name};
    QTest::newRow("typing given up with Escape") << QStringList{"@0:Schuetze", "Neumann", "<Esc>"} << QList<int>{};
    QTest::newRow("moving about without typing") << QStringList{"@0:Schuetze", "<Tab>", "<Down>", "@2:Ring3"}
                                                 << QList<int>{};
}

void TestGridEditing::afterColEdit()
{
    QFETCH(QStringList, script);
    QFETCH(QList<int>, expectedColumns);
    QVERIFY(open());
    QSignalSpy edits(grid(), &DataGrid::afterColEdit);
    play(grid(), script);
    QList<int> raised;
    for (const QList<QVariant> &arguments : edits)
        raised << arguments.at(0).toInt();
    QCOMPARE(raised, expectedColumns);

    // The program writing into cells of the same row raises nothing more.
    grid()->columns(QStringLiteral("Serie")).setValue(91.5);
    grid()->columns(QStringLiteral("Sortierung")).setValue(KeyLow);
    QCOMPARE(edits.count(), expectedColumns.size());
}

void TestGridEditing::typingOnNewRowLine_data()
{
    QTest::addColumn<bool>("withShooters");
    QTest::addColumn<QStringList>("typing");
    QTest::addColumn<QStringList>("leaving");
    QTest::addColumn<int>("expectedCurrentRow");
    QTest::addColumn<QVariantMap>("expected");
    const QStringList typing{"@new:StartNr", "42", "<Tab>", "Kurz", "<Tab>", "SG Hubertus"};
    const QVariantMap expected{{"StartNr", 42}, {"Schuetze", "Kurz"}, {"Verein", "SG Hubertus"}};
    QTest::newRow("left with the Up arrow") << true << typing << QStringList{"<Up>"} << 4 << expected;
    QTest::newRow("left with the Down arrow onto the new-row line")
        << true << typing << QStringList{"<Down>"} << 6 << expected;
    QTest::newRow("left with a click on the first row") << true << typing << QStringList{"@0:Verein"} << 0 << expected;
    QTest::newRow("first row of an empty competition") << false << typing << QStringList{"<Down>"} << 1 << expected;
    QTest::newRow("only a ring typed, confirmed, then left")
        << true << QStringList{"@new:Ring1", "10,4", "<Return>"} << QStringList{"<Up>"} << 4
        << QVariantMap{{"Ring1", 10.4}, {"Schuetze", QString()}};
}

void TestGridEditing::typingOnNewRowLine()
{
    QFETCH(bool, withShooters);
    QFETCH(QStringList, typing);
    QFETCH(QStringList, leaving);
    QFETCH(int, expectedCurrentRow);
    QFETCH(QVariantMap, expected);
    QVERIFY(open(withShooters));
    const int before = rowCount(*m_competition);
    const int line = newRowLine(grid());
    QCOMPARE(line, before);

    play(grid(), typing);
    // A new row stands where the new-row line was, a fresh new-row line below it; nothing stored yet.
    QCOMPARE(grid()->model()->rowCount(), before + 2);
    QCOMPARE(newRowLine(grid()), before + 1);
    QCOMPARE(cellText(grid(), before + 1, QStringLiteral("StartNr")), QString());
    QCOMPARE(rowCount(*m_competition), before);

    play(grid(), leaving);
    QCOMPARE(rowCount(*m_competition), before + 1);
    QCOMPARE(grid()->currentIndex().row(), expectedCurrentRow);
    QVERIFY(!grid()->hasPendingEdit());
    checkStored(0, expected);
    QVERIFY(m_session->dialogs().shown().empty());
}

void TestGridEditing::pendingEdit_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<bool>("expectedPending");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QVariantMap>("expectedAfterStore");
    QTest::addColumn<int>("expectedRows");
    const QVariantMap unchanged{{"Schuetze", "Anna Weiß"}, {"StartNr", 1}};
    QTest::newRow("nothing typed") << QStringList{"@0:Schuetze"} << false << qint64(3) << unchanged << 5;
    QTest::newRow("cell editor still open") << QStringList{"@0:Schuetze", "Neumann"} << true << qint64(3)
                                            << QVariantMap{{"Schuetze", "Neumann"}, {"StartNr", 1}} << 5;
    QTest::newRow("cell confirmed, row not left") << QStringList{"@0:Schuetze", "Neumann", "<Return>"} << true
                                                  << qint64(3) << QVariantMap{{"Schuetze", "Neumann"}} << 5;
    QTest::newRow("typing given up with Escape")
        << QStringList{"@0:Schuetze", "Neumann", "<Esc>"} << false << qint64(3) << unchanged << 5;
    QTest::newRow("confirmed cell, then the row given up with Escape")
        << QStringList{"@0:Schuetze", "Neumann", "<Return>", "<Esc>"} << false << qint64(3) << unchanged << 5;
    QTest::newRow("start on the new-row line") << QStringList{"@new:StartNr", "42"} << true << qint64(0)
                                               << QVariantMap{{"StartNr", 42}} << 6;
    QTest::newRow("row already stored by leaving it")
        << QStringList{"@0:Schuetze", "Neumann", "@1:Schuetze"} << false << qint64(3)
        << QVariantMap{{"Schuetze", "Neumann"}} << 5;
}

void TestGridEditing::pendingEdit()
{
    QFETCH(QStringList, script);
    QFETCH(bool, expectedPending);
    QFETCH(qint64, id);
    QFETCH(QVariantMap, expectedAfterStore);
    QFETCH(int, expectedRows);
    QVERIFY(open());
    play(grid(), script);
    QCOMPARE(grid()->hasPendingEdit(), expectedPending);
    grid()->storePendingEdit();
    QVERIFY(!grid()->hasPendingEdit());
    QCOMPARE(rowCount(*m_competition), expectedRows);
    checkStored(id, expectedAfterStore);
    QVERIFY(m_session->dialogs().shown().empty());
}

void TestGridEditing::storePendingEditFails_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters in the start number") << QStringList{"@0:StartNr", "1a"} << "StartNr" << "1a";
    QTest::newRow("start number beyond a long integer") << QStringList{"@1:StartNr", "3000000000", "<Return>"}
                                                        << "StartNr" << "3000000000";
    // A word in a ring cell is made 0 by the score computation; the inner
    // tens are only read by it, so a word there reaches the table as typed.
    QTest::newRow("word for the inner tens") << QStringList{"@2:Innenzehner", "zehn", "<Tab>"} << "Innenzehner" << "zehn";
    QTest::newRow("letters for the inner tens on the new-row line")
        << QStringList{"@new:Schuetze", "Kurz", "<Tab>", "<Tab>", "<Tab>", "zwei"} << "Innenzehner" << "zwei";
}

void TestGridEditing::storePendingEditFails()
{
    QFETCH(QStringList, script);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QVERIFY(open());
    const QList<QVariantMap> before = storedRows();
    play(grid(), script);
    const int row = grid()->currentIndex().row();

    int failure = 0;
    try {
        grid()->storePendingEdit();
    } catch (const RingtalError &error) {
        failure = error.number();
    }
    QVERIFY2(failure != 0, "a value that does not fit its field was stored without complaint");
    QCOMPARE(storedRows(), before);
    QVERIFY(grid()->hasPendingEdit());
    QCOMPARE(cellText(grid(), row, field), typed);
}

void TestGridEditing::leavingRowThatCannotBeStored_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("editedRow");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters in the start number, then Down")
        << QStringList{"@1:StartNr", "3b", "<Return>", "<Down>"} << 1 << "StartNr" << "3b";
    QTest::newRow("word for the inner tens, then a click on another row")
        << QStringList{"@0:Innenzehner", "neun", "<Return>", "@3:Verein"} << 0 << "Innenzehner" << "neun";
    QTest::newRow("new row with a word for the inner tens, then Up")
        << QStringList{"@new:Schuetze", "Kurz", "<Tab>", "<Tab>", "<Tab>", "acht", "<Return>", "<Up>"} << 5
        << "Innenzehner" << "acht";
}

void TestGridEditing::leavingRowThatCannotBeStored()
{
    QFETCH(QStringList, script);
    QFETCH(int, editedRow);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QVERIFY(open());
    const QList<QVariantMap> before = storedRows();
    play(grid(), script);
    QCoreApplication::processEvents();

    QCOMPARE(m_session->dialogs().shown().size(), std::size_t(1));
    QCOMPARE(m_session->dialogs().shown().front().title, QStringLiteral("Fehler"));
    QVERIFY(m_session->dialogs().shown().front().text.startsWith(QStringLiteral("Fehler: ")));
    QCOMPARE(storedRows(), before);
    // Back on the row in edit, with what was typed.
    QTRY_COMPARE(grid()->currentIndex().row(), editedRow);
    QCOMPARE(cellText(grid(), editedRow, field), typed);
    QVERIFY(grid()->hasPendingEdit());
}

void TestGridEditing::enterAndTabMove_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("expectedRow");
    QTest::addColumn<QString>("expectedField");
    QTest::newRow("Enter on a cell") << QStringList{"@0:StartNr", "<Return>"} << 0 << "Schuetze";
    QTest::newRow("keypad Enter on a cell") << QStringList{"@0:StartNr", "<Enter>"} << 0 << "Schuetze";
    QTest::newRow("Tab on a cell") << QStringList{"@0:StartNr", "<Tab>"} << 0 << "Schuetze";
    QTest::newRow("Enter after typing") << QStringList{"@0:StartNr", "5", "<Return>"} << 0 << "Schuetze";
    QTest::newRow("keypad Enter after typing") << QStringList{"@0:StartNr", "5", "<Enter>"} << 0 << "Schuetze";
    QTest::newRow("Tab after typing") << QStringList{"@0:StartNr", "5", "<Tab>"} << 0 << "Schuetze";
    QTest::newRow("three times Enter") << QStringList{"@1:Verein", "<Return>", "<Return>", "<Return>"} << 1
                                       << "Ring1";
    QTest::newRow("Enter on the last ring goes to the next row")
        << QStringList{"@0:Ring10", "<Return>"} << 1 << "Platz";
    QTest::newRow("Tab after typing the last ring goes to the next row")
        << QStringList{"@2:Ring10", "9", "<Tab>"} << 3 << "Platz";
    QTest::newRow("Down while typing goes straight down") << QStringList{"@0:Schuetze", "Neumann", "<Down>"} << 1
                                                           << "Schuetze";
    QTest::newRow("Up while typing goes straight up") << QStringList{"@2:Ring3", "9", "<Up>"} << 1 << "Ring3";
    QTest::newRow("click on another row while typing")
        << QStringList{"@0:Schuetze", "Neumann", "@2:Verein"} << 2 << "Verein";
}

void TestGridEditing::enterAndTabMove()
{
    QFETCH(QStringList, script);
    QFETCH(int, expectedRow);
    QFETCH(QString, expectedField);
    QVERIFY(open());
    play(grid(), script);
    QCOMPARE(grid()->currentIndex().row(), expectedRow);
    QCOMPARE(fields().value(grid()->currentIndex().column()), expectedField);
    QVERIFY(m_session->dialogs().shown().empty());
}

void TestGridEditing::wholeRowByKeyboard_data()
{
    QTest::addColumn<bool>("withShooters");
    QTest::addColumn<QString>("between");
    QTest::addColumn<QString>("after");
    QTest::newRow("Tab between cells, Enter after the last ring") << true << "<Tab>" << "<Return>";
    QTest::newRow("Enter between cells, Tab after the last ring") << true << "<Return>" << "<Tab>";
    QTest::newRow("first row of an empty competition") << false << "<Tab>" << "<Tab>";
}

void TestGridEditing::wholeRowByKeyboard()
{
    QFETCH(bool, withShooters);
    QFETCH(QString, between);
    QFETCH(QString, after);
    QVERIFY(open(withShooters));
    const int rows = rowCount(*m_competition);
    // From the first row down to the new-row line, then right past the place column.
    QStringList script;
    for (int i = 0; i < rows; ++i)
        script << "<Down>";
    script << "<Tab>";
    const QStringList cells{"17", "Müller, Hans", "SV Grün-Weiß", "", "2", "10,4", "9", "8", "10",
                            "7,5", "9", "10", "6", "9,9", "10"};
    for (int i = 0; i < cells.size(); ++i) {
        if (!cells.at(i).isEmpty())
            script << cells.at(i);
        script << (i + 1 < cells.size() ? between : after);
    }
    play(grid(), script);

    QCOMPARE(rowCount(*m_competition), rows + 1);
    QCOMPARE(grid()->currentIndex().row(), newRowLine(grid()));
    QCOMPARE(fields().value(grid()->currentIndex().column()), QStringLiteral("Platz"));
    QCOMPARE(cellText(grid(), rows, QStringLiteral("Schuetze")), QStringLiteral("Müller, Hans"));
    QCOMPARE(cellText(grid(), rows, QStringLiteral("Ring1")), QStringLiteral("10,4"));
    checkStored(0, {{"StartNr", 17},
                     {"Schuetze", "Müller, Hans"},
                     {"Verein", "SV Grün-Weiß"},
                     {"Innenzehner", 2},
                     {"Ring1", 10.4},
                     {"Ring2", 9.0},
                     {"Ring3", 8.0},
                     {"Ring4", 10.0},
                     {"Ring5", 7.5},
                     {"Ring6", 9.0},
                     {"Ring7", 10.0},
                     {"Ring8", 6.0},
                     {"Ring9", 9.9},
                     {"Ring10", 10.0}});
    QVERIFY(m_session->dialogs().shown().empty());
}

QTEST_MAIN(TestGridEditing)
#include "tst_gridediting.moc"
