// Typing results into the entry grid as a range officer does, places on F5,
// rows that cannot be stored; shooters taken over from the master list
// (NeuerSchuetze), found with the search box and deleted. What was stored is
// read back through the test's own connection.
#include "mainwindow/MainWindowSession.h"
#include "mainwindow/SampleShooters.h"
#include "store/DataSource.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"
#include "store/tempModule.h"
#include "support/OrdinaryUserFileAccess.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace GridInput;
using namespace SampleShooters;

namespace {

const QString Before = QStringLiteral("/ältere Sitzung/Kreis.wkd");

// Sort keys of the rules: series in six places, inner tens, counts of tens, nines, ...
const QString K95 = QStringLiteral("0000950203040201000000000000");
const QString K89 = QStringLiteral("0000890203040201000000000000");
const QString K89b = QStringLiteral("0000890103040201000000000000");
const QString K70 = QStringLiteral("0000700000000000000000000000");

} // namespace

// Rows of the entry grid after loading the sample: 0 Anna Weiß (ID 3),
// 1 Bauer (ID 1), 2 Zeller (ID 4), 3 and 4 the two without key, 5 the new-row line.
class tst_ResultEntry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wholeRowByKeyboard_data();
    void wholeRowByKeyboard();
    void enterAndTabMove_data();
    void enterAndTabMove();
    void deleteKey_data();
    void deleteKey();
    void typedValueNoted_data();
    void typedValueNoted();
    void typedNumberStandsRight_data();
    void typedNumberStandsRight();
    void stalePlaces_data();
    void stalePlaces();
    void rowThatCannotBeStored_data();
    void rowThatCannotBeStored();
    void winnersListIsReadOnly();
    void places_data();
    void places();
    void placesFailureIsReportedAndProgramGoesOn();
    void readOnlyCompetition();

    void takeOver_data();
    void takeOver();
    void search_data();
    void search();
    void deleting_data();
    void deleting();
    void deleteWithoutCurrentRowDoesNothing();

private:
    bool open(bool withShooters = true);
    DataGrid *grid() const { return m_session->entryGrid(); }
    QList<QVariantMap> storedRows() const { return m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse ORDER BY ID")); }
    void checkStored(qint64 id, const QVariantMap &expected);
    void pressF5() { QTest::keyClick(&m_session->window(), Qt::Key_F5); }
    Recordset *entryRows() { return m_session->window().findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    QString currentName() { return GetFieldValue(*entryRows(), QStringLiteral("Schuetze")).toString(); }
    void trigger(const QString &action) { m_session->window().findChild<QAction *>(action)->trigger(); }
    void addRanked(int startNr, const QString &name, int serie)
    {
        m_competition->addResult(startNr, name, QStringLiteral("V"), serie,
                                 QStringLiteral("0000%1").arg(serie, 2, 10, QLatin1Char('0')) + QString(22, '0'));
    }

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;
};

void tst_ResultEntry::init()
{
    m_competition = std::make_unique<TestCompetition>();
    m_competition->setTitle(QStringLiteral("Vereinsmeisterschaft"));
}

void tst_ResultEntry::cleanup()
{
    m_session.reset();
    m_competition.reset();
}

bool tst_ResultEntry::open(bool withShooters)
{
    if (withShooters)
        addFive(*m_competition);
    m_session = std::make_unique<MainWindowSession>(m_competition->path());
    return m_session->showForTyping() && m_session->dialogs().shown().empty();
}

// ID 0 stands for the row added last.
void tst_ResultEntry::checkStored(qint64 id, const QVariantMap &expected)
{
    if (id == 0)
        id = m_competition->scalar(QStringLiteral("SELECT max(ID) FROM Ergebnisse")).toLongLong();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QVariant value = stored(*m_competition, id, it.key());
        if (it.value().typeId() == QMetaType::Double) // a sum of tenths in binary
            QVERIFY2(qFuzzyCompare(value.toDouble(), it.value().toDouble()), qPrintable(it.key()));
        else
            QCOMPARE(value.toString(), it.value().toString());
    }
}

void tst_ResultEntry::wholeRowByKeyboard_data()
{
    QTest::addColumn<bool>("withShooters");
    QTest::addColumn<QString>("between");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("cells"); // StartNr, Schuetze, Verein, Innenzehner, Ring1 to Ring10
    QTest::addColumn<QVariantMap>("expected");
    // 10,4 counts as a ten, 7,5 as a seven: 89,8 with four tens, three nines, an eight, a seven, a six.
    QTest::newRow("Tab between cells, Enter after the last ring")
        << true << "<Tab>" << "<Return>"
        << QStringList{"17", "Müller, Hans", "SV Grün-Weiß", "2", "10,4", "9", "8", "10", "7,5", "9", "10", "6", "9,9", "10"}
        << QVariantMap{{"StartNr", 17}, {"Schuetze", "Müller, Hans"}, {"Verein", "SV Grün-Weiß"}, {"Innenzehner", 2},
                       {"Ring1", 10.4}, {"Ring5", 7.5}, {"Ring9", 9.9}, {"Ring10", 10}, {"Serie", 89.8},
                       {"Sortierung", "000089:8000" "02" "0403010101" "0000000000"}};
    QTest::newRow("empty competition, Enter between, Tab after; star and plus are tens, empty rings zero")
        << false << "<Return>" << "<Tab>"
        << QStringList{"5", "Jörg Müller", "SV Tell", "", "10", "*", "9", "+", "8", "", "", "", "", ""}
        << QVariantMap{{"StartNr", 5}, {"Schuetze", "Jörg Müller"}, {"Ring2", 10}, {"Ring4", 10}, {"Ring6", 0},
                       {"Serie", 47}, {"Sortierung", "000047" "00" "0301010000" "0000000000"}};
    QTest::newRow("eleven, a dot and letters are no rings")
        << true << "<Tab>" << "<Tab>"
        << QStringList{"8", "Kurz", "SV", "1", "10,9", "9,5", "11", "9.5", "x", "10", "10", "10", "10", "10"}
        << QVariantMap{{"Ring1", 10.9}, {"Ring2", 9.5}, {"Ring3", 0}, {"Ring4", 0}, {"Ring5", 0}, {"Serie", 70.4},
                       {"Sortierung", "000070:4000" "01" "0601000000" "0000000000"}};
}

// From the first row down to the new-row line, which starts at the start
// number; then every cell typed, Tab and Enter passing over the total; leaving the last ring goes on to where typing began
// in the next row, which stores this one. That new-row line stays untouched:
// F5 must not store it as an empty shooter.
void tst_ResultEntry::wholeRowByKeyboard()
{
    QFETCH(bool, withShooters);
    QFETCH(QString, between);
    QFETCH(QString, after);
    QFETCH(QStringList, cells);
    QFETCH(QVariantMap, expected);
    QVERIFY(open(withShooters));
    const int rows = rowCount(*m_competition);
    QStringList script;
    for (int i = 0; i < rows; ++i)
        script << "<Down>";
    for (int i = 0; i < cells.size(); ++i) {
        if (!cells.at(i).isEmpty())
            script << cells.at(i);
        script << (i + 1 < cells.size() ? between : after);
    }
    play(grid(), script);

    QCOMPARE(rowCount(*m_competition), rows + 1);
    QCOMPARE(grid()->currentIndex().row(), newRowLine(grid()));
    QCOMPARE(fields().value(grid()->currentIndex().column()), QStringLiteral("StartNr"));
    QCOMPARE(cellText(grid(), rows, QStringLiteral("Schuetze")), cells.at(1));
    checkStored(0, expected);
    pressF5();
    QCOMPARE(rowCount(*m_competition), rows + 1);
    QVERIFY(m_session->dialogs().shown().empty());
}

void tst_ResultEntry::enterAndTabMove_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("expectedRow");
    QTest::addColumn<QString>("expectedField");
    QTest::addColumn<QList<int>>("answers"); // to questions the script must raise, in order
    QTest::addColumn<QVariant>("pending");   // the row still holds typed values; invalid: not checked
    const QList<int> none;
    const int yes = int(Dialogs::Answer::Yes);
    const int no = int(Dialogs::Answer::No);
    QTest::newRow("Enter on a cell") << QStringList{"@0:StartNr", "<Return>"} << 0 << "Schuetze" << none << QVariant();
    QTest::newRow("keypad Enter after typing") << QStringList{"@0:StartNr", "5", "<Enter>"} << 0 << "Schuetze" << none << QVariant();
    QTest::newRow("Tab after typing") << QStringList{"@0:StartNr", "5", "<Tab>"} << 0 << "Schuetze" << none << QVariant();
    QTest::newRow("Enter on the last ring goes to the next row") << QStringList{"@0:Ring10", "<Return>"} << 1 << "StartNr" << none << QVariant();
    QTest::newRow("after the last ring on to where typing began")
        << QStringList{"@0:Ring9", "9", "<Tab>", "8", "<Tab>"} << 1 << "Ring9" << none << QVariant();
    QTest::newRow("where typing began in an earlier row counts no more")
        << QStringList{"@0:Ring9", "9", "@1:Ring10", "<Tab>"} << 2 << "StartNr" << none << QVariant();
    QTest::newRow("Down while typing goes straight down") << QStringList{"@0:Schuetze", "Neumann", "<Down>"} << 1 << "Schuetze" << none << QVariant();
    QTest::newRow("Up while typing goes straight up") << QStringList{"@2:Ring3", "9", "<Up>"} << 1 << "Ring3" << none << QVariant();
    QTest::newRow("Tab passes over the total") << QStringList{"@0:Verein", "<Tab>"} << 0 << "Innenzehner" << none << QVariant();
    QTest::newRow("Shift+Tab passes over the place back to the row before")
        << QStringList{"@1:StartNr", "<Backtab>"} << 0 << "Ring10" << none << QVariant();
    QTest::newRow("after the last shooter a new row starts at the start number")
        << QStringList{"@4:Ring10", "<Return>"} << 5 << "StartNr" << none << QVariant();
    QTest::newRow("down into the new-row line from the place column")
        << QStringList{"@4:Platz", "<Down>"} << 5 << "StartNr" << none << QVariant();
    // Escape once gives up the open cell, a second time the row: typed values are asked about.
    QTest::newRow("Escape gives the row up and keeps the column")
        << QStringList{"@0:Ring3", "9", "<Return>", "<Esc>"} << 0 << "Ring4" << QList<int>{yes} << QVariant(false);
    QTest::newRow("Escape twice on a typed new row, answered No, keeps it")
        << QStringList{"@new:StartNr", "12", "<Tab>", "Kurz", "<Esc>", "<Esc>"} << 5 << "Schuetze" << QList<int>{no}
        << QVariant(true);
    QTest::newRow("Escape on a row without typed values asks nothing")
        << QStringList{"@0:Ring3", "9", "<Esc>", "<Esc>"} << 0 << "Ring3" << none << QVariant(false);
}

void tst_ResultEntry::enterAndTabMove()
{
    QFETCH(QStringList, script);
    QFETCH(int, expectedRow);
    QFETCH(QString, expectedField);
    QFETCH(QList<int>, answers);
    QFETCH(QVariant, pending);
    QVERIFY(open());
    for (const int answer : answers)
        m_session->dialogs().answer(Dialogs::Answer(answer));
    play(grid(), script);
    QCoreApplication::processEvents();
    QCOMPARE(grid()->currentIndex().row(), expectedRow);
    QCOMPARE(fields().value(grid()->currentIndex().column()), expectedField);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(answers.size()));
    QVERIFY(m_session->dialogs().allAnswersUsed());
    for (const ScriptedDialogs::Shown &shown : m_session->dialogs().shown())
        QCOMPARE(shown.text, QStringLiteral("Sollen die Eingaben in dieser Zeile verworfen werden?"));
    if (pending.isValid())
        QCOMPARE(grid()->hasPendingEdit(), pending.toBool());
}

// Del empties the current cell as typing would: the row is computed again,
// stored when left, and Escape gives it back.
void tst_ResultEntry::deleteKey_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QVariantMap>("expected"); // the shooter's stored row
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("answers"); // to the question before typed values are given up
    QTest::newRow("name emptied") << QStringList{"@0:Schuetze", "<Del>", "<Down>"}
                                  << QVariantMap{{"Schuetze", ""}, {"Serie", 27.0}} << 1 << QList<int>{};
    QTest::newRow("a shot emptied counts as a miss") << QStringList{"@0:Ring2", "<Del>", "<Down>"}
                                                     << QVariantMap{{"Ring2", 0.0}, {"Serie", 18.0}} << 1
                                                     << QList<int>{};
    QTest::newRow("Escape gives the shot back") << QStringList{"@0:Ring2", "<Del>", "<Esc>", "<Down>"}
                                                << QVariantMap{{"Ring2", 9.0}, {"Serie", 27.0}} << 1
                                                << QList<int>{int(Dialogs::Answer::Yes)};
    QTest::newRow("Escape answered No keeps the emptied shot") << QStringList{"@0:Ring2", "<Del>", "<Esc>", "<Down>"}
                                                               << QVariantMap{{"Ring2", 0.0}, {"Serie", 18.0}} << 1
                                                               << QList<int>{int(Dialogs::Answer::No)};
    QTest::newRow("an empty cell of the new-row line starts no row")
        << QStringList{"@new:StartNr", "<Del>", "<Up>"} << QVariantMap{{"Schuetze", "Anna Berg"}} << 1 << QList<int>{};
}

void tst_ResultEntry::deleteKey()
{
    QFETCH(QStringList, script);
    QFETCH(QVariantMap, expected);
    QFETCH(int, rows);
    QFETCH(QList<int>, answers);
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("SV Tell"), 27,
                             QStringLiteral("0000270000030000000000000000"), {9, 9, 9});
    QVERIFY(open(false));
    for (const int answer : answers)
        m_session->dialogs().answer(Dialogs::Answer(answer));
    play(grid(), script);
    QCOMPARE(rowCount(*m_competition), rows);
    checkStored(1, expected);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(answers.size()));
    QVERIFY(m_session->dialogs().allAnswersUsed());
}

// A typed value that counts as something else, or a start number another
// shooter has, is stored as the rules say, but the cell is marked with a note
// and the status bar says it until the row is left.
void tst_ResultEntry::typedValueNoted_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("status"); // empty: no note
    const QString zero = QStringLiteral("Ring3: „%1“ ist kein gültiger Wert und zählt 0");
    QTest::newRow("eleven") << QStringList{"@0:Ring3", "11", "<Tab>"} << 0 << "Ring3" << zero.arg("11");
    QTest::newRow("minus three") << QStringList{"@0:Ring3", "-3", "<Tab>"} << 0 << "Ring3" << zero.arg("-3");
    QTest::newRow("a letter") << QStringList{"@0:Ring3", "x", "<Tab>"} << 0 << "Ring3" << zero.arg("x");
    QTest::newRow("a dot instead of the comma") << QStringList{"@0:Ring3", "9.5", "<Tab>"} << 0 << "Ring3"
                                                << zero.arg("9.5");
    QTest::newRow("decimal comma is a ring") << QStringList{"@0:Ring3", "10,9", "<Tab>"} << 0 << "Ring3" << "";
    QTest::newRow("star is a ten") << QStringList{"@0:Ring3", "*", "<Tab>"} << 0 << "Ring3" << "";
    QTest::newRow("typed again as a ring, the mark goes")
        << QStringList{"@0:Ring3", "11", "<Tab>", "<Backtab>", "9", "<Tab>"} << 0 << "Ring3" << "";
    QTest::newRow("start number of another shooter") << QStringList{"@0:StartNr", "5", "<Tab>"} << 0 << "StartNr"
                                                     << "Die Startnummer 5 hat schon Zeller.";
    QTest::newRow("new shooter with a start number given") << QStringList{"@new:StartNr", "3", "<Tab>", "Neu"} << 5
                                                           << "StartNr" << "Die Startnummer 3 hat schon Bauer.";
    QTest::newRow("a free start number") << QStringList{"@0:StartNr", "6", "<Tab>"} << 0 << "StartNr" << "";
}

void tst_ResultEntry::typedValueNoted()
{
    QFETCH(QStringList, script);
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QString, status);
    QVERIFY(open());
    play(grid(), script);
    const QModelIndex cell = grid()->model()->index(row, column(field));
    QCOMPARE(cell.data(Qt::BackgroundRole).isValid(), !status.isEmpty());
    if (!status.isEmpty()) {
        QCOMPARE(m_session->window().statusBar()->currentMessage(), status);
        QVERIFY(!cell.data(Qt::ToolTipRole).toString().isEmpty());
    }
    // Leaving the row stores it as typed, and the mark goes.
    play(grid(), {row == 0 ? "<Down>" : "<Up>"});
    QVERIFY(!grid()->hasPendingEdit());
    QVERIFY(!grid()->model()->index(row, column(field)).data(Qt::BackgroundRole).isValid());
    QVERIFY(m_session->dialogs().shown().empty());
}

// A number stands where it will be shown while it is typed; a name stays left.
void tst_ResultEntry::typedNumberStandsRight_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<bool>("right");
    QTest::newRow("a shot") << "@0:Ring1" << true;
    QTest::newRow("start number of a new row") << "@new:StartNr" << true;
    QTest::newRow("a name") << "@0:Schuetze" << false;
}

void tst_ResultEntry::typedNumberStandsRight()
{
    QFETCH(QString, cell);
    QFETCH(bool, right);
    QVERIFY(open());
    play(grid(), {cell, "9"});
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(bool(editor->alignment() & Qt::AlignRight), right);
}

// Three ranked shooters: A 90, B 80, C 70 with places 1, 2, 3 (rows 0 to 2).
// A change after the ranking is noticed on the winners list, and printing asks
// whether to rank first; what is printed is the stored rows either way.
void tst_ResultEntry::stalePlaces_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<bool>("stale");
    QTest::addColumn<int>("answer"); // to the question before printing
    QTest::addColumn<QList<int>>("places"); // by start number, afterwards
    QStringList tenTens{"@2:Ring1"};
    for (int shot = 0; shot < 10; ++shot)
        tenTens << "10" << "<Tab>";
    tenTens << "<Up>";
    QTest::newRow("ranked: no notice, nothing asked") << QStringList{} << false << 0 << QList<int>{1, 2, 3};
    QTest::newRow("a raised total, Yes ranks before printing")
        << tenTens << true << int(Dialogs::Answer::Yes) << QList<int>{2, 3, 1};
    QTest::newRow("a raised total, No prints the old places") << tenTens << true << int(Dialogs::Answer::No)
                                                              << QList<int>{1, 2, 3};
    QTest::newRow("a shooter without a result changes no place")
        << QStringList{"@new:Schuetze", "Neu", "<Up>"} << false << 0 << QList<int>{1, 2, 3, 0};
}

void tst_ResultEntry::stalePlaces()
{
    QFETCH(QStringList, script);
    QFETCH(bool, stale);
    QFETCH(int, answer);
    QFETCH(QList<int>, places);
    addRanked(1, QStringLiteral("A"), 90);
    addRanked(2, QStringLiteral("B"), 80);
    addRanked(3, QStringLiteral("C"), 70);
    m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Platz = StartNr"));
    QVERIFY(open(false));
    play(grid(), script);
    auto *notice = m_session->window().findChild<QLabel *>(QStringLiteral("lblPlaetzeNichtAktuell"));
    m_session->window().findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    QCOMPARE(notice->isVisible(), stale);
    QCOMPARE(notice->text(), QStringLiteral("Plätze nicht aktuell – Aktualisieren mit F5"));
    if (answer != 0)
        m_session->dialogs().answer(Dialogs::Answer(answer));
    m_session->dialogs().answerPrint(QString());
    trigger(QStringLiteral("mnuDateiPrint"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(stale ? 2 : 1));
    QVERIFY(m_session->dialogs().allAnswersUsed());
    QList<int> stored;
    for (const QVariantMap &row : m_competition->rows(QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY ID")))
        stored << row.value(QStringLiteral("Platz")).toInt();
    QCOMPARE(stored, places);
    QCOMPARE(notice->isVisible(), stale && answer == int(Dialogs::Answer::No));
    // The list on paper is the stored rows, best first, whatever was answered.
    if (stale)
        QCOMPARE(cellText(m_session->winnersGrid(), 0, QStringLiteral("Serie")), QStringLiteral("100"));
}

void tst_ResultEntry::rowThatCannotBeStored_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("leave"); // a key, a click, or "close menu" / "close frame"
    QTest::addColumn<int>("editedRow");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("correction");
    QTest::addColumn<qint64>("id"); // 0: the new row
    QTest::newRow("letters in the start number, then Down")
        << QStringList{"@1:StartNr", "3b", "<Return>"} << "<Down>" << 1 << "StartNr" << "3b" << 13 << "3" << qint64(1);
    QTest::newRow("start number beyond a long integer, closed by the menu")
        << QStringList{"@1:StartNr", "3000000000", "<Return>"} << "close menu" << 1 << "StartNr" << "3000000000"
        << 3349 << "99" << qint64(1);
    QTest::newRow("letters in the start number, editor open, closed by the window frame")
        << QStringList{"@0:StartNr", "zwölf"} << "close frame" << 0 << "StartNr" << "zwölf" << 13 << "12" << qint64(3);
    // The inner tens are only read by the score computation, so a word there reaches the table as typed.
    QTest::newRow("word for the inner tens, then a click on another row")
        << QStringList{"@0:Innenzehner", "neun", "<Return>"} << "@3:Verein" << 0 << "Innenzehner" << "neun" << 13
        << "9" << qint64(3);
    QTest::newRow("new row with a word for the inner tens, then Up")
        << QStringList{"@new:Schuetze", "Kurz", "<Tab>", "<Tab>", "acht", "<Return>"} << "<Up>" << 5
        << "Innenzehner" << "acht" << 13 << "8" << qint64(0);
}

// However the row is left, the user is told once, nothing is stored, the row
// stays in edit with what was typed and the window stays open; corrected, it is stored.
void tst_ResultEntry::rowThatCannotBeStored()
{
    QFETCH(QStringList, script);
    QFETCH(QString, leave);
    QFETCH(int, editedRow);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, number);
    QFETCH(QString, correction);
    QFETCH(qint64, id);
    QVERIFY(open());
    m_session->settings().write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), Before);
    const QList<QVariantMap> before = storedRows();
    const bool closing = leave.startsWith(QLatin1String("close "));
    auto leaveRow = [&] {
        if (closing)
            return m_session->close(leave.mid(6));
        play(grid(), {leave});
        QCoreApplication::processEvents();
        return false;
    };
    play(grid(), script);
    QVERIFY2(!leaveRow(), "the window closed although the typed row could not be stored");

    QCOMPARE(m_session->dialogs().shown().size(), std::size_t(1));
    const ScriptedDialogs::Shown &box = m_session->dialogs().shown().front();
    QCOMPARE(box.title, QStringLiteral("Fehler"));
    QVERIFY2(box.text.startsWith(QStringLiteral("Fehler: %1 - ").arg(number)), qPrintable(box.text));
    QCOMPARE(storedRows(), before);
    QTRY_COMPARE(grid()->currentIndex().row(), editedRow);
    QCOMPARE(cellText(grid(), editedRow, field), typed);
    QVERIFY(grid()->hasPendingEdit());
    QVERIFY(m_session->window().isVisible());
    QCOMPARE(m_session->last(), Before);

    play(grid(), {QStringLiteral("@%1:%2").arg(editedRow).arg(field), correction, "<Return>"});
    QCOMPARE(leaveRow(), closing);
    QCOMPARE(m_session->dialogs().shown().size(), std::size_t(1));
    checkStored(id, {{field, correction}});
    if (closing)
        QCOMPARE(m_session->last(), m_competition->path());
}

// The winners list is a view of the ranking: an edit there would be stored
// without its total, so nothing can be typed, added or deleted in it.
void tst_ResultEntry::winnersListIsReadOnly()
{
    QVERIFY(open());
    const QList<QVariantMap> before = storedRows();
    auto *tabs = m_session->window().findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    tabs->setCurrentIndex(1);
    DataGrid *winners = m_session->winnersGrid();
    winners->setFocus();
    QCOMPARE(winners->model()->rowCount(), 5); // no new-row line
    QVERIFY(!winners->model()->setData(winners->model()->index(0, column(QStringLiteral("Ring1"))), QStringLiteral("9")));
    play(winners, {"@0:Ring1", "9", "<Return>", "<Del>", "@4:Schuetze", "Neu", "<Down>"});
    QVERIFY(!winners->hasPendingEdit());
    m_session->dialogs().answer(Dialogs::Answer::Yes);
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    trigger(QStringLiteral("mnuEditDeleteAll"));
    QCOMPARE(storedRows(), before);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(2)); // both refused with a notice
    QCOMPARE(m_session->dialogs().shown().front().kind, QStringLiteral("message"));
}

void tst_ResultEntry::places_data()
{
    QTest::addColumn<QStringList>("keys"); // in insertion order; empty = no key
    QTest::addColumn<QStringList>("typed"); // before F5, the row not left
    QTest::addColumn<QList<int>>("places");
    const QStringList none;
    QTest::newRow("tie shares a place, the next skips") << QStringList{K89, K95, K70, K89} << none << QList<int>{2, 1, 4, 2};
    QTest::newRow("equal totals, inner tens decide") << QStringList{K89b, K89} << none << QList<int>{2, 1};
    // A shooter without a result has no place (0: Null).
    QTest::newRow("shooters without key get no place")
        << QStringList{QString(), K95, QString(), K89} << none << QList<int>{0, 1, 0, 2};
    QTest::newRow("nobody has a key") << QStringList{QString(), QString()} << none << QList<int>{0, 0};
    QTest::newRow("no shooters") << QStringList{} << none << QList<int>{};
    // Six tens typed for the second, who has no key yet: the pending row is stored and scored first.
    QTest::newRow("a typed row is stored before the places")
        << QStringList{QStringLiteral("0000500000000000000000000000"), QString()}
        << QStringList{"@1:Ring1", "10", "<Return>", "10", "<Return>", "10", "<Return>", "10", "<Return>", "10",
                       "<Return>", "10"}
        << QList<int>{2, 1};
}

// Every row starts with a stale place 1; pressing F5 again gives the same places.
void tst_ResultEntry::places()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, places);
    for (int i = 0; i < keys.size(); ++i)
        m_competition->addResult(i + 1, QStringLiteral("S%1").arg(i + 1), QStringLiteral("V"), QVariant(), keys.at(i));
    m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Platz = 1"));
    QVERIFY(open(false));
    play(grid(), typed);
    QCOMPARE(grid()->hasPendingEdit(), !typed.isEmpty());
    for (int run = 0; run < 2; ++run) {
        pressF5();
        QList<int> stored;
        for (const QVariantMap &row : m_competition->rows(QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY StartNr")))
            stored << row.value(QStringLiteral("Platz")).toInt();
        QCOMPARE(stored, places);
    }
    QVERIFY(m_session->dialogs().shown().empty());
    if (places.contains(1)) { // both grids show the new places, best first
        QCOMPARE(cellText(m_session->winnersGrid(), 0, QStringLiteral("Platz")), QStringLiteral("1"));
        QCOMPARE(cellText(grid(), 0, QStringLiteral("Platz")), QStringLiteral("1"));
    }
}

void tst_ResultEntry::placesFailureIsReportedAndProgramGoesOn()
{
    m_competition->addResult(1, QStringLiteral("Anna Berg"), QStringLiteral("V"), 50, QStringLiteral("0000500000000000000000000000"));
    QVERIFY(open(false));
    {
        // Another program holds the file locked: writing the places fails.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        other.setDatabaseName(m_competition->path());
        QVERIFY(other.open());
        QSqlQuery lock(other);
        QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        pressF5();
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(1));
    QVERIFY(m_session->dialogs().shown().front().text.startsWith(QStringLiteral("Fehler: ")));
    QVERIFY(m_session->dialogs().shown().front().text.contains(QStringLiteral("Plätze")));
    QVERIFY(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse")).isNull());
    pressF5();
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Platz FROM Ergebnisse")).toInt(), 1);
}

// A competition the user may read but not write: it is shown with a notice at
// once; places and a typed row are refused with the database's message, and
// the file stays as it was.
void tst_ResultEntry::readOnlyCompetition()
{
    addFive(*m_competition);
    QVERIFY(QFile::setPermissions(m_competition->folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                | QFile::ReadOther | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(m_competition->path(), QFile::ReadOwner | QFile::ReadOther));
    const QList<QVariantMap> before = storedRows();
    m_session = std::make_unique<MainWindowSession>();
    {
        OrdinaryUserFileAccess access;
        if (access.rootNotDropped())
            QSKIP("running as root without the right to use files as another user");
        m_session->dialogs().answerFile(m_competition->path());
        m_session->window().findChild<QAction *>(QStringLiteral("mnuDateiOpen"))->trigger();
        QVERIFY(m_session->showForTyping());
        QCOMPARE(m_session->window().CompetitionPath(), m_competition->path());
        QCOMPARE(cellText(grid(), 0, QStringLiteral("Schuetze")), QStringLiteral("Anna Weiß"));
        pressF5();
        grid()->setFocus();
        play(grid(), {"@0:Schuetze", "Neumann", "<Return>", "<Down>"});
        QCoreApplication::processEvents();
        // The open dialog, the notice at once, then places and the row refused.
        QCOMPARE(m_session->dialogs().shown().size(), std::size_t(4));
        QVERIFY(m_session->dialogs().shown().at(1).text.contains(QStringLiteral("schreibgeschützt")));
        for (std::size_t i = 2; i < 4; ++i)
            QVERIFY2(m_session->dialogs().shown().at(i).text.startsWith(QStringLiteral("Fehler: 3027 - ")),
                     qPrintable(m_session->dialogs().shown().at(i).text));
        QVERIFY(grid()->hasPendingEdit());
        m_session->dialogs().answer(Dialogs::Answer::Yes); // give the typed row up
        play(grid(), {"<Esc>"});
    }
    QCOMPARE(storedRows(), before);
    QVERIFY(m_session->closeByMenu());
}

// ---------------------------------------------------------------- shooter entries

void tst_ResultEntry::takeOver_data()
{
    QTest::addColumn<QList<int>>("existing"); // start numbers already given, each with a result
    QTest::addColumn<QString>("handOver");
    QTest::addColumn<QString>("name"); // empty: refused, nothing added
    QTest::addColumn<QString>("club");
    QTest::addColumn<int>("startNr");
    QTest::addColumn<int>("answer"); // to the question about a shooter already entered; 0: not asked

    QTest::newRow("first shooter gets 1, no club") << QList<int>{} << "Jörg Müller\t" << "Jörg Müller" << "" << 1 << 0;
    QTest::newRow("highest plus one, gaps stay") << QList<int>{3, 12, 5} << "Anna\tSV" << "Anna" << "SV" << 13 << 0;
    QTest::newRow("without club, second tab belongs to the club") << QList<int>{1} << "O'Brien\tSV\tNord"
                                                                  << "O'Brien" << "SV\tNord" << 2 << 0;
    QTest::newRow("rows without number count as none") << QList<int>{0} << "Anna\tSV" << "Anna" << "SV" << 1 << 0;
    QTest::newRow("no tab: refused") << QList<int>{1} << "Kein Tabulator" << "" << "" << 0 << 0;
    QTest::newRow("empty: refused") << QList<int>{1} << "" << "" << "" << 0 << 0;
    QTest::newRow("name longer than the field: refused") << QList<int>{1} << QString(256, 'M') + "\tSV" << "" << ""
                                                         << 0 << 0;
    // Letter case and surrounding blanks make no other shooter.
    QTest::newRow("already entered, Yes takes over again") << QList<int>{3} << " vorher 3\tv" << " vorher 3" << "v"
                                                           << 4 << int(Dialogs::Answer::Yes);
    QTest::newRow("already entered, No adds nothing") << QList<int>{3} << " vorher 3\tv" << " vorher 3" << "v" << 0
                                                      << int(Dialogs::Answer::No);
    QTest::newRow("same name in another club is asked nothing") << QList<int>{3} << "Vorher 3\tSV" << "Vorher 3"
                                                                << "SV" << 4 << 0;
}

// The new shooter has no result yet, so the grid shows him after the others, with the marker on him.
void tst_ResultEntry::takeOver()
{
    QFETCH(QList<int>, existing);
    QFETCH(QString, handOver);
    QFETCH(QString, name);
    QFETCH(QString, club);
    QFETCH(int, startNr);
    QFETCH(int, answer);
    for (int number : existing) {
        addRanked(number, QStringLiteral("Vorher %1").arg(number), 90 - number);
        if (number == 0)
            m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET StartNr = NULL"));
    }
    QVERIFY(open(false));
    if (name.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(RingtalError, m_session->window().setNeuerSchuetze(handOver));
        QCOMPARE(rowCount(*m_competition), existing.size());
        // Nothing half-added stays in the grid, and the next take-over works.
        QCOMPARE(m_session->entryGrid()->model()->rowCount(), existing.size() + 1);
        m_session->window().setNeuerSchuetze(QStringLiteral("Danach\tSV"));
        QCOMPARE(rowCount(*m_competition), existing.size() + 1);
        return;
    }
    if (answer != 0)
        m_session->dialogs().answer(Dialogs::Answer(answer));
    m_session->window().setNeuerSchuetze(handOver);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(answer != 0 ? 1 : 0));
    const QList<QVariantMap> rows =
        m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse WHERE Schuetze = ? AND Verein = ?"), {name, club});
    if (startNr == 0) {
        QVERIFY(rows.isEmpty());
        QCOMPARE(rowCount(*m_competition), existing.size());
        return;
    }
    QCOMPARE(rows.size(), 1);
    const QString who = club.isEmpty() ? QStringLiteral("„%1“").arg(name) : QStringLiteral("„%1“ (%2)").arg(name, club);
    QCOMPARE(m_session->window().statusBar()->currentMessage(),
             who + QStringLiteral(" übernommen mit Startnummer %1").arg(startNr));
    QCOMPARE(rows.first().value("Verein").toString(), club);
    QCOMPARE(rows.first().value("StartNr").toInt(), startNr);
    QVERIFY(rows.first().value("Sortierung").isNull());
    QVERIFY(rows.first().value("Serie").isNull());
    QCOMPARE(currentName(), name);
    DataGrid *grid = m_session->entryGrid();
    QCOMPARE(entryRows()->position(), existing.size());
    QCOMPARE(grid->currentIndex().row(), existing.size());
    QCOMPARE(grid->columns(QStringLiteral("Schuetze")).text(), name);
}

void tst_ResultEntry::search_data()
{
    QTest::addColumn<QString>("typed"); // "\b" is the backspace key
    QTest::addColumn<QString>("found"); // name of the current row afterwards

    QTest::newRow("start number") << "12" << "Zoe Zwölf";
    QTest::newRow("first of two with the same number") << "7" << "Bernd Sieben";
    QTest::newRow("name prefix") << "Zo" << "Zoe Zwölf";
    QTest::newRow("umlaut in lower case finds upper case") << "ärg" << "Ärger Anton";
    QTest::newRow("apostrophe is a character") << "O'B" << "O'Brien";
    QTest::newRow("pattern star") << "*wölf" << "Zoe Zwölf";
    QTest::newRow("pattern list") << "[AO]'" << "O'Brien";
    QTest::newRow("number with comma moves nothing") << "1,5" << "Anna Start";
    QTest::newRow("no match moves nothing") << "Xaver" << "Anna Start";
    QTest::newRow("the emptied box moves nothing") << "Ca\b\b" << "Carl Sieben";
}

// Leaving the box empties it and leaves the marker where the search put it.
void tst_ResultEntry::search()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    addRanked(1, QStringLiteral("Anna Start"), 99);
    addRanked(7, QStringLiteral("Bernd Sieben"), 90);
    addRanked(7, QStringLiteral("Carl Sieben"), 80);
    addRanked(12, QStringLiteral("Zoe Zwölf"), 70);
    addRanked(4, QStringLiteral("Ärger Anton"), 50);
    m_competition->addResult(5, QStringLiteral("O'Brien"), QStringLiteral("V"));
    QVERIFY(open(false));
    auto *search = m_session->window().findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    search->setFocus();
    const QStringList pieces = typed.split(QLatin1Char('\b'));
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            GuiTyping::press(Qt::Key_Backspace);
        GuiTyping::typeText(pieces.at(i));
    }
    QCOMPARE(currentName(), found);
    m_session->entryGrid()->setFocus();
    QVERIFY(search->text().isEmpty());
    QCOMPARE(currentName(), found);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(0));
}

void tst_ResultEntry::deleting_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name"); // of the current row
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("left");
    const QString one = QStringLiteral("mnuEditDelSchuetze");
    const QString all = QStringLiteral("mnuEditDeleteAll");
    const QString askAll = QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?");
    QTest::newRow("current, yes") << one << "Anna Berg" << Dialogs::Answer::Yes
                                  << "Soll der Schütze Anna Berg wirklich gelöscht werden?" << 2;
    QTest::newRow("current, no") << one << "Anna Berg" << Dialogs::Answer::No
                                 << "Soll der Schütze Anna Berg wirklich gelöscht werden?" << 3;
    QTest::newRow("current without name") << one << "" << Dialogs::Answer::Yes
                                          << "Soll der Schütze  wirklich gelöscht werden?" << 2;
    QTest::newRow("all, yes empties the competition") << all << "Anna Berg" << Dialogs::Answer::Yes << askAll << 0;
    QTest::newRow("all, no keeps everyone") << all << "Anna Berg" << Dialogs::Answer::No << askAll << 3;
}

// A club typed into the last row is stored before the question, whatever the answer.
void tst_ResultEntry::deleting()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QString, question);
    QFETCH(int, left);
    addRanked(1, name, 99);
    addRanked(2, QStringLiteral("Bernd"), 90);
    addRanked(3, QStringLiteral("Carla"), 80);
    if (name.isEmpty())
        m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Schuetze = NULL WHERE StartNr = 1"));
    QVERIFY(open(false));
    DataGrid *grid = m_session->entryGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, grid->columnIndex(QStringLiteral("Verein"))));
    GuiTyping::typeText(QStringLiteral("Neu"));
    GuiTyping::press(Qt::Key_Return);
    grid->setCurrentIndex(grid->model()->index(0, grid->columnIndex(QStringLiteral("Verein"))));
    m_session->dialogs().answer(answer);
    trigger(command);
    QCOMPARE(m_session->dialogs().shown().size(), size_t(1));
    const ScriptedDialogs::Shown &shown = m_session->dialogs().shown().front();
    QCOMPARE(shown.title, QStringLiteral("Hinweis"));
    QCOMPARE(shown.text, question);
    QCOMPARE(shown.icon, Dialogs::Icon::Question);
    QCOMPARE(rowCount(*m_competition), left);
    QCOMPARE(entryRows()->rowCount(), left);
    QCOMPARE(m_session->winnersGrid()->recordset()->rowCount(), left);
    if (left > 0)
        QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Verein FROM Ergebnisse WHERE StartNr = 3")).toString(),
                 QStringLiteral("Neu"));
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
             QStringLiteral("Vereinsmeisterschaft"));
}

void tst_ResultEntry::deleteWithoutCurrentRowDoesNothing()
{
    QVERIFY(open(false)); // an empty competition: only the new-row line
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(0));
    m_competition->addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    m_session.reset();
    QVERIFY(open(false));
    DataGrid *grid = m_session->entryGrid();
    grid->setCurrentIndex(grid->model()->index(1, grid->columnIndex(QStringLiteral("Schuetze")))); // new-row line
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(m_session->dialogs().shown().size(), size_t(0));
    QCOMPARE(rowCount(*m_competition), 1);
}

QTEST_MAIN(tst_ResultEntry)
#include "tst_resultentry.moc"
