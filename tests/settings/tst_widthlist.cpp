#include "SettingsStore.h"
#include "TestCompetition.h"
#include "WidthList.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<ColumnState>)

namespace {

std::vector<ColumnState> columns(const QList<double> &widths)
{
    std::vector<ColumnState> list;
    for (const double width : widths)
        list.push_back(ColumnState{width, true, int(list.size())});
    return list;
}

QList<double> asList(const std::vector<double> &widths)
{
    return QList<double>(widths.begin(), widths.end());
}

} // namespace

class TestWidthList : public QObject
{
    Q_OBJECT

private slots:
    void writeList_data();
    void writeList();

    void readWellFormed_data();
    void readWellFormed() { checkRead(); }
    void readFieldCountAgainstColumns_data();
    void readFieldCountAgainstColumns() { checkRead(); }
    void readNumbers_data();
    void readNumbers() { checkRead(); }
    void readTextsNeverWritten_data();
    void readTextsNeverWritten() { checkRead(); }

    void roundTrip_data();
    void roundTrip();
    void throughTheStore_data();
    void throughTheStore();

private:
    void addReadColumns();
    void checkRead();
};

void TestWidthList::writeList_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("three columns") << columns({600, 2400, 1500}) << ";600;2400;1500;";
    QTest::newRow("no columns") << columns({}) << ";";
    QTest::newRow("decimal comma") << columns({1234.5}) << ";1234,5;";
    QTest::newRow("seven significant digits") << columns({12345.678}) << ";12345,68;";
    QTest::newRow("hidden column keeps its width")
            << std::vector<ColumnState>{{600, true, 0}, {2400, false, 1}} << ";600;2400;";
    QTest::newRow("collection order, not display order")
            << std::vector<ColumnState>{{600, true, 2}, {2400, true, 0}, {1500, true, 1}} << ";600;2400;1500;";
}

void TestWidthList::writeList()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    QCOMPARE(WidthList::toText(grid), expected);
}

void TestWidthList::addReadColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QList<double>>("expected");
}

void TestWidthList::readWellFormed_data()
{
    addReadColumns();
    QTest::newRow("three columns") << ";600;2400;1500;" << 3 << QList<double>{600, 2400, 1500};
    QTest::newRow("nothing stored") << "" << 3 << QList<double>{};
    QTest::newRow("grid without columns saved") << ";" << 3 << QList<double>{};
    QTest::newRow("no grid") << ";600;2400;1500;" << 0 << QList<double>{};
    QTest::newRow("width 0 is applied") << ";0;2400;" << 2 << QList<double>{0, 2400};
}

void TestWidthList::readFieldCountAgainstColumns_data()
{
    addReadColumns();
    QTest::newRow("more fields than columns") << ";600;2400;1500;" << 2 << QList<double>{600, 2400};
    QTest::newRow("fewer fields than columns") << ";600;2400;1500;" << 5 << QList<double>{600, 2400, 1500};
}

void TestWidthList::readNumbers_data()
{
    addReadColumns();
    QTest::newRow("1234,5 read as 1234.5") << ";1234,5;" << 1 << QList<double>{1234.5};
    QTest::newRow("decimal point read too") << ";1234.5;" << 1 << QList<double>{1234.5};
    QTest::newRow("exponent with comma") << ";1,5E3;" << 1 << QList<double>{1500};
    QTest::newRow("blanks around") << "; 600 ;" << 1 << QList<double>{600};
    QTest::newRow("single precision") << ";0,1;16777217;" << 2 << QList<double>{double(0.1f), 16777216};
    QTest::newRow("negative width as read") << ";-600;" << 1 << QList<double>{-600};
    QTest::newRow("word reads 0") << ";breit;2400;" << 2 << QList<double>{0, 2400};
    QTest::newRow("NaN and inf read 0") << ";NaN;inf;" << 2 << QList<double>{0, 0};
    QTest::newRow("number and a word reads the number") << ";600px;" << 1 << QList<double>{600};
}

void TestWidthList::readTextsNeverWritten_data()
{
    addReadColumns();
    QTest::newRow("no leading ;") << "600;2400;" << 2 << QList<double>{600, 2400};
    QTest::newRow("two leading ;") << ";;600;" << 2 << QList<double>{0, 600};
    QTest::newRow("no ; at all") << "600" << 2 << QList<double>{};
    QTest::newRow("last field without ;") << ";600;2400" << 3 << QList<double>{600};
    QTest::newRow("one character after the last ;") << ";600;5" << 3 << QList<double>{600};
    QTest::newRow("; alone after the last field is no field") << ";600;;" << 2 << QList<double>{600};
    QTest::newRow("width beyond single precision stops") << ";600;1E+39;1500;" << 3 << QList<double>{600};
}

void TestWidthList::checkRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(QList<double>, expected);
    QCOMPARE(asList(WidthList::fromText(text, columnCount)), expected);
}

void TestWidthList::roundTrip_data()
{
    QTest::addColumn<QList<double>>("widths");
    QTest::newRow("three columns") << QList<double>{600, 2400, 1500};
    QTest::newRow("fractions single holds") << QList<double>{1234.5, 0.25, 99999.5};
    QTest::newRow("zero width") << QList<double>{0, 1440};
}

void TestWidthList::roundTrip()
{
    QFETCH(QList<double>, widths);
    const QString text = WidthList::toText(columns(widths));
    QCOMPARE(asList(WidthList::fromText(text, int(widths.size()))), widths);
}

void TestWidthList::throughTheStore_data()
{
    QTest::addColumn<QString>("stored"); // a null text: nothing stored
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("nothing stored") << QString() << QList<double>{};
    QTest::newRow("decimal comma survives the store") << ";1234,5;600;" << QList<double>{1234.5, 600};
}

void TestWidthList::throughTheStore()
{
    QFETCH(QString, stored);
    QFETCH(QList<double>, expected);
    TempSettings settings;
    const QString section = QStringLiteral("Positionen");
    const QString key = QStringLiteral("TDBGrid2");
    if (!stored.isNull())
        SettingsStore::write(section, key, stored);
    QCOMPARE(asList(WidthList::fromText(SettingsStore::read(section, key, QString()), 2)), expected);
}

QTEST_GUILESS_MAIN(TestWidthList)
#include "tst_widthlist.moc"
