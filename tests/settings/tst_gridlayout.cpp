#include "ErrorProtocol.h"
#include "GridLayout.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "TestCompetition.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(std::vector<ColumnState>)

namespace {

const QString loadMessage = QStringLiteral("Fehler beim Laden des Grid-Konfiguration.");

constexpr int noNumber = ErrorNumber::TypeMismatch;
constexpr int overflow = ErrorNumber::Overflow;

// The operations in order, one word each: "c2@0=2400" moves column 2 to
// display position 0 and makes it 2400 wide; "=hide" hides it, "=keep"
// leaves its width.
QString describe(const std::vector<GridLayout::Operation> &operations)
{
    QStringList words;
    for (const GridLayout::Operation &operation : operations) {
        QString change;
        switch (operation.change) {
        case GridLayout::Operation::Change::SetWidth:
            change = QString::number(operation.width, 'g', 17);
            break;
        case GridLayout::Operation::Change::Hide:
            change = QStringLiteral("hide");
            break;
        case GridLayout::Operation::Change::KeepWidth:
            change = QStringLiteral("keep");
            break;
        }
        words << QStringLiteral("c%1@%2=%3").arg(operation.column).arg(operation.displayPosition).arg(change);
    }
    return words.join(QLatin1Char(' '));
}

QList<int> boxNumbers(const ScriptedDialogs &dialogs)
{
    static const QRegularExpression number(QStringLiteral("^Fehler: (\\d+) - "));
    QList<int> numbers;
    for (const ScriptedDialogs::Shown &box : dialogs.shown())
        numbers.append(number.match(box.text).captured(1).toInt());
    return numbers;
}

bool everyBoxHasMessage(const ScriptedDialogs &dialogs)
{
    for (const ScriptedDialogs::Shown &box : dialogs.shown()) {
        if (box.kind != QLatin1String("error") || !box.text.endsWith(QLatin1Char('\n') + loadMessage))
            return false;
    }
    return true;
}

GridLayout::Reading readUnderProtocol(const QString &text, int columnCount)
{
    const ErrorProtocol protocol(loadMessage);
    return GridLayout::fromText(text, columnCount,
                                [&protocol](const std::function<void()> &step) { return protocol.runStep(step); });
}

} // namespace

class TestGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void writeLayout_data();
    void writeLayout();

    void readWellFormed_data();
    void readWellFormed() { checkRead(); }
    void readPieceCountAgainstColumns_data();
    void readPieceCountAgainstColumns() { checkRead(); }
    void readPositionValues_data();
    void readPositionValues() { checkRead(); }
    void readWidthValues_data();
    void readWidthValues() { checkRead(); }
    void readTextsNeverWritten_data();
    void readTextsNeverWritten() { checkRead(); }

    void answersToFailures_data();
    void answersToFailures();
    void roundTrip_data();
    void roundTrip();
    void throughTheStore_data();
    void throughTheStore();

private:
    void addReadColumns();
    void checkRead();
};

void TestGridLayout::writeLayout_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("reverse order, second hidden")
            << std::vector<ColumnState>{{1440, true, 2}, {600, false, 1}, {2400, true, 0}}
            << "2 - 1440;1 - 0;0 - 2400;";
    QTest::newRow("grid without columns") << std::vector<ColumnState>{} << "";
    QTest::newRow("decimal comma") << std::vector<ColumnState>{{1234.5, true, 0}} << "0 - 1234,5;";
    QTest::newRow("visible column 0 wide") << std::vector<ColumnState>{{0, true, 0}} << "0 - 0;";
    QTest::newRow("two-digit position") << std::vector<ColumnState>{{900, true, 12}} << "12 - 900;";
    QTest::newRow("seven significant digits") << std::vector<ColumnState>{{12345.678, true, 0}} << "0 - 12345,68;";
}

void TestGridLayout::writeLayout()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    QCOMPARE(GridLayout::toText(grid), expected);
}

void TestGridLayout::addReadColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("expectedErrors");
}

void TestGridLayout::readWellFormed_data()
{
    addReadColumns();
    QTest::newRow("reverse order, second hidden")
            << "2 - 1440;1 - 0;0 - 2400;" << 3 << "c0@2=1440 c1@1=hide c2@0=2400" << QList<int>{};
    QTest::newRow("designed order") << "0 - 600;1 - 2400;2 - 1500;" << 3 << "c2@2=1500 c1@1=2400 c0@0=600"
                                    << QList<int>{};
    QTest::newRow("hidden column hidden again") << "0 - 1000;1 - 0;" << 2 << "c1@1=hide c0@0=1000" << QList<int>{};
    QTest::newRow("two columns on one position, collection order")
            << "1 - 500;1 - 700;0 - 900;" << 3 << "c0@1=500 c1@1=700 c2@0=900" << QList<int>{};
}

void TestGridLayout::readPieceCountAgainstColumns_data()
{
    addReadColumns();
    QTest::newRow("fewer pieces: the rest go to 0 and hide")
            << "1 - 1000;0 - 2000;" << 4 << "c0@1=1000 c1@0=2000 c2@0=hide c3@0=hide" << QList<int>{};
    QTest::newRow("more pieces than columns")
            << "1 - 1000;0 - 2000;2 - 3000;3 - 4000;" << 2 << "c0@1=1000 c1@0=2000" << QList<int>{};
    QTest::newRow("extra piece that is no number is silent")
            << "1 - 1000;0 - 2000;x - y;z - w;" << 2 << "c0@1=1000 c1@0=2000" << QList<int>{};
    QTest::newRow("grid without columns") << "0 - 1000;1 - 2000;" << 0 << "" << QList<int>{};
}

void TestGridLayout::readPositionValues_data()
{
    addReadColumns();
    QTest::newRow("position equal to the column count is never applied")
            << "2 - 1000;0 - 2000;" << 2 << "c1@0=2000" << QList<int>{};
    QTest::newRow("position above the column count stores nothing")
            << "5 - 1000;0 - 2000;" << 2 << "c0@0=hide c1@0=2000" << QList<int>{};
    QTest::newRow("blanks around the numbers")
            << "  1 -  2000 ;0 - 1000;" << 2 << "c0@1=2000 c1@0=1000" << QList<int>{};
    QTest::newRow("position with decimal comma")
            << "1,0 - 1000;0 - 2000;" << 2 << "c0@1=1000 c1@0=2000" << QList<int>{};
    QTest::newRow("failed position keeps the one before")
            << "1 - 1000;x - 2000;" << 2 << "c0@1=1000 c1@1=2000" << QList<int>{noNumber};
    QTest::newRow("negative position is cut at its sign")
            << "-1 - 1000;" << 1 << "c0@0=hide" << QList<int>{noNumber, noNumber};
    QTest::newRow("huge position overflows") << "1E+20 - 100;" << 1 << "c0@0=100" << QList<int>{overflow};
}

void TestGridLayout::readWidthValues_data()
{
    addReadColumns();
    QTest::newRow("German decimal width") << "0 - 1234,5;" << 1 << "c0@0=1234.5" << QList<int>{};
    QTest::newRow("width with decimal point is no number") << "0 - 1234.5;" << 1 << "c0@0=hide" << QList<int>{noNumber};
    QTest::newRow("word as width") << "0 - breit;" << 1 << "c0@0=hide" << QList<int>{noNumber};
    QTest::newRow("failed width keeps the one before")
            << "1 - 1000;0 - breit;" << 2 << "c0@1=1000 c1@0=1000" << QList<int>{noNumber};
    QTest::newRow("NaN width") << "0 - NaN;" << 1 << "c0@0=hide" << QList<int>{noNumber};
    QTest::newRow("negative width hides") << "0 - -5;" << 1 << "c0@0=hide" << QList<int>{};
    QTest::newRow("single precision") << "0 - 16777217;" << 1 << "c0@0=16777216" << QList<int>{};
    QTest::newRow("positive width below single precision is set as 0")
            << "0 - 1E-300;" << 1 << "c0@0=0" << QList<int>{};
    QTest::newRow("width beyond single precision is refused")
            << "0 - 1E+300;" << 1 << "c0@0=keep" << QList<int>{overflow};
}

void TestGridLayout::readTextsNeverWritten_data()
{
    addReadColumns();
    QTest::newRow("no ; at all: every column to 0 and hidden")
            << "0 - 1000" << 3 << "c0@0=hide c1@0=hide c2@0=hide" << QList<int>{};
    QTest::newRow("tail without ; repeats the piece before")
            << "0 - 1440;1 - 2400" << 2 << "c0@0=1440 c1@0=1440" << QList<int>{};
    QTest::newRow("empty piece repeats the values before") << "1 - 500;;" << 2 << "c0@1=500 c1@1=500" << QList<int>{};
    QTest::newRow("piece without - repeats the values before")
            << "1 - 500;abc;" << 2 << "c0@1=500 c1@1=500" << QList<int>{};
    QTest::newRow("leading ; gives an empty first piece") << ";1 - 500;" << 2 << "c1@1=500 c0@0=hide" << QList<int>{};
    QTest::newRow("dash alone") << "-;" << 1 << "c0@0=hide" << QList<int>{noNumber, noNumber};
}

void TestGridLayout::checkRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(QString, expected);
    QFETCH(QList<int>, expectedErrors);
    ScriptedDialogs dialogs;
    for (int i = 0; i < expectedErrors.size(); ++i)
        dialogs.answer(Dialogs::Answer::Ignore);
    const GridLayout::Reading reading = readUnderProtocol(text, columnCount);
    QVERIFY(reading.stored);
    QVERIFY(!reading.aborted);
    QCOMPARE(describe(reading.operations), expected);
    QCOMPARE(boxNumbers(dialogs), expectedErrors);
    QVERIFY(everyBoxHasMessage(dialogs));
    QCOMPARE(dialogs.unexpected(), 0);
}

void TestGridLayout::answersToFailures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("expectedAborted");
    QTest::addColumn<QString>("expected");
    const int abort = 3, retry = 4, ignore = 5;
    QTest::newRow("abort while reading applies nothing") << "0 - breit;1 - 1000;" << QList<int>{abort} << true << "";
    QTest::newRow("retry fails again, then ignore")
            << "1 - 1000;0 - breit;" << QList<int>{retry, ignore} << false << "c0@1=1000 c1@0=1000";
    QTest::newRow("abort on a width keeps the moves before it")
            << "1 - 1000;0 - 1E+300;" << QList<int>{abort} << true << "c0@1=1000 c1@0=keep";
    QTest::newRow("abort at the position skips the width") << "0 - 1000;x - breit;" << QList<int>{abort} << true << "";
    QTest::newRow("ignore position, abort width") << "0 - 1000;x - breit;" << QList<int>{ignore, abort} << true << "";
}

void TestGridLayout::answersToFailures()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, answers);
    QFETCH(bool, expectedAborted);
    QFETCH(QString, expected);
    ScriptedDialogs dialogs;
    for (const int answer : answers)
        dialogs.answer(static_cast<Dialogs::Answer>(answer));
    const GridLayout::Reading reading = readUnderProtocol(text, 2);
    QVERIFY(reading.stored);
    QCOMPARE(reading.aborted, expectedAborted);
    QCOMPARE(describe(reading.operations), expected);
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.unexpected(), 0);
    QCOMPARE(dialogs.shown().size(), std::size_t(answers.size()));
}

void TestGridLayout::roundTrip_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("reverse order, second hidden")
            << std::vector<ColumnState>{{1440, true, 2}, {600, false, 1}, {2400, true, 0}}
            << "c0@2=1440 c1@1=hide c2@0=2400";
    QTest::newRow("shuffled with fractions")
            << std::vector<ColumnState>{{900.5, true, 1}, {1234.5, true, 3}, {2000, false, 0}, {0.25, true, 2}}
            << "c1@3=1234.5 c3@2=0.25 c0@1=900.5 c2@0=hide";
    QTest::newRow("visible column 0 wide comes back hidden")
            << std::vector<ColumnState>{{0, true, 0}, {800, true, 1}} << "c1@1=800 c0@0=hide";
}

void TestGridLayout::roundTrip()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    ScriptedDialogs dialogs;
    const GridLayout::Reading reading = readUnderProtocol(GridLayout::toText(grid), int(grid.size()));
    QVERIFY(!reading.aborted);
    QCOMPARE(describe(reading.operations), expected);
    QVERIFY(dialogs.shown().empty());
}

void TestGridLayout::throughTheStore_data()
{
    QTest::addColumn<QString>("stored"); // a null text: nothing stored
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<bool>("expectedStored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing stored leaves the grid alone") << QString() << 3 << false << "";
    QTest::newRow("grid without columns saved as empty text") << "" << 0 << false << "";
    QTest::newRow("layout survives the store")
            << "2 - 1440;1 - 0;0 - 2400,5;" << 3 << true << "c0@2=1440 c1@1=hide c2@0=2400.5";
}

void TestGridLayout::throughTheStore()
{
    QFETCH(QString, stored);
    QFETCH(int, columnCount);
    QFETCH(bool, expectedStored);
    QFETCH(QString, expected);
    TempSettings settings;
    const QString section = QStringLiteral("Allgemein");
    const QString key = QStringLiteral("Grid-Layout-TDBGrid1");
    if (!stored.isNull())
        SettingsStore::write(section, key, stored);
    ScriptedDialogs dialogs;
    const GridLayout::Reading reading = readUnderProtocol(SettingsStore::read(section, key, QString()), columnCount);
    QCOMPARE(reading.stored, expectedStored);
    QCOMPARE(describe(reading.operations), expected);
    QVERIFY(dialogs.shown().empty());
}

QTEST_GUILESS_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
