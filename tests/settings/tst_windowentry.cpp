#include "SettingsStore.h"
#include "TestCompetition.h"
#include "WindowEntry.h"

#include <QtTest>

Q_DECLARE_METATYPE(WindowGeometry)

namespace {

// An empty variant stands for a value left as it is.
QVariant asVariant(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

QList<double> asList(const std::vector<double> &widths)
{
    return QList<double>(widths.begin(), widths.end());
}

std::vector<ColumnState> columns(const QList<double> &widths)
{
    std::vector<ColumnState> list;
    for (const double width : widths)
        list.push_back(ColumnState{width, true, int(list.size())});
    return list;
}

const QVariant kept;

} // namespace

class TestWindowEntry : public QObject
{
    Q_OBJECT

private slots:
    void writeEntry_data();
    void writeEntry();

    void readWellFormed_data();
    void readWellFormed() { checkRead(); }
    void readSizes_data();
    void readSizes() { checkRead(); }
    void readEdges_data();
    void readEdges() { checkRead(); }
    void readColumnWidths_data();
    void readColumnWidths() { checkRead(); }
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

void TestWindowEntry::writeEntry_data()
{
    QTest::addColumn<WindowGeometry>("window");
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<QString>("expected");
    QTest::newRow("main window with three columns")
            << WindowGeometry{1200, 900, 9000, 6000} << QList<double>{600, 2400, 1500}
            << "1200;900;9000;6000;600;2400;1500;";
    QTest::newRow("window without grid") << WindowGeometry{1200, 900, 9000, 6000} << QList<double>{}
                                         << "1200;900;9000;6000;";
    QTest::newRow("decimal comma") << WindowGeometry{1234.5, 0, 9000.25, 6000} << QList<double>{1234.5}
                                   << "1234,5;0;9000,25;6000;1234,5;";
    QTest::newRow("left of the primary screen")
            << WindowGeometry{-7680, -15, 9000, 6000} << QList<double>{} << "-7680;-15;9000;6000;";
    QTest::newRow("seven significant digits")
            << WindowGeometry{12345.678, 900, 9000, 6000} << QList<double>{} << "12345,68;900;9000;6000;";
}

void TestWindowEntry::writeEntry()
{
    QFETCH(WindowGeometry, window);
    QFETCH(QList<double>, widths);
    QFETCH(QString, expected);
    QCOMPARE(WindowEntry::toText(window, columns(widths)), expected);
}

void TestWindowEntry::addReadColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QVariant>("left");
    QTest::addColumn<QVariant>("top");
    QTest::addColumn<QVariant>("width");
    QTest::addColumn<QVariant>("height");
    QTest::addColumn<QList<double>>("widths");
}

void TestWindowEntry::readWellFormed_data()
{
    addReadColumns();
    QTest::newRow("main window with three columns")
            << "1200;900;9000;6000;600;2400;1500;" << 3 << false << QVariant(1200.0) << QVariant(900.0)
            << QVariant(9000.0) << QVariant(6000.0) << QList<double>{600, 2400, 1500};
    QTest::newRow("nothing stored centres the window")
            << "" << 3 << true << kept << kept << kept << kept << QList<double>{};
    QTest::newRow("window without grid") << "1200;900;9000;6000;" << 0 << false << QVariant(1200.0) << QVariant(900.0)
                                         << QVariant(9000.0) << QVariant(6000.0) << QList<double>{};
    QTest::newRow("no grid passed for an entry with widths")
            << "1200;900;9000;6000;600;2400;" << 0 << false << QVariant(1200.0) << QVariant(900.0) << QVariant(9000.0)
            << QVariant(6000.0) << QList<double>{};
}

void TestWindowEntry::readSizes_data()
{
    addReadColumns();
    QTest::newRow("width 0 keeps the width") << "1200;900;0;6000;" << 0 << false << QVariant(1200.0) << QVariant(900.0)
                                             << kept << QVariant(6000.0) << QList<double>{};
    QTest::newRow("negative height keeps the height") << "1200;900;9000;-50;" << 0 << false << QVariant(1200.0)
                                                      << QVariant(900.0) << QVariant(9000.0) << kept << QList<double>{};
    QTest::newRow("empty height keeps the height") << "1200;900;9000;;" << 2 << false << QVariant(1200.0)
                                                   << QVariant(900.0) << QVariant(9000.0) << kept << QList<double>{};
    QTest::newRow("word as width keeps the width") << "1200;900;breit;6000;" << 0 << false << QVariant(1200.0)
                                                   << QVariant(900.0) << kept << QVariant(6000.0) << QList<double>{};
    QTest::newRow("positive width below single precision becomes 0")
            << "1200;900;1E-300;6000;" << 0 << false << QVariant(1200.0) << QVariant(900.0) << QVariant(0.0)
            << QVariant(6000.0) << QList<double>{};
    QTest::newRow("width with decimal comma cut at the comma")
            << "1200;900;9000,75;6000,5;" << 0 << false << QVariant(1200.0) << QVariant(900.0) << QVariant(9000.0)
            << QVariant(6000.0) << QList<double>{};
}

void TestWindowEntry::readEdges_data()
{
    addReadColumns();
    QTest::newRow("left 1234,5 read as 1234")
            << "1234,5;900;9000;6000;" << 0 << false << QVariant(1234.0) << QVariant(900.0) << QVariant(9000.0)
            << QVariant(6000.0) << QList<double>{};
    QTest::newRow("left and top applied when 0 or negative")
            << "-300;0;9000;6000;" << 0 << false << QVariant(-300.0) << QVariant(0.0) << QVariant(9000.0)
            << QVariant(6000.0) << QList<double>{};
    QTest::newRow("words read as 0") << "links;oben;9000;6000;" << 0 << false << QVariant(0.0) << QVariant(0.0)
                                     << QVariant(9000.0) << QVariant(6000.0) << QList<double>{};
    QTest::newRow("NaN and inf read as 0") << "NaN;inf;9000;6000;" << 0 << false << QVariant(0.0) << QVariant(0.0)
                                           << QVariant(9000.0) << QVariant(6000.0) << QList<double>{};
    QTest::newRow("single precision") << "16777217;900;9000;6000;" << 0 << false << QVariant(16777216.0)
                                      << QVariant(900.0) << QVariant(9000.0) << QVariant(6000.0) << QList<double>{};
    QTest::newRow("blanks inside the number")
            << " 1 200 ;900;9000;6000;" << 0 << false << QVariant(1200.0) << QVariant(900.0) << QVariant(9000.0)
            << QVariant(6000.0) << QList<double>{};
}

void TestWindowEntry::readColumnWidths_data()
{
    addReadColumns();
    const QVariant left(1200.0), top(900.0), width(9000.0), height(6000.0);
    QTest::newRow("column 1234,5 read as 1234.5")
            << "1200;900;9000;6000;1234,5;" << 1 << false << left << top << width << height << QList<double>{1234.5};
    QTest::newRow("more fields than columns") << "1200;900;9000;6000;600;2400;1500;" << 2 << false << left << top
                                              << width << height << QList<double>{600, 2400};
    QTest::newRow("fewer fields than columns") << "1200;900;9000;6000;600;2400;1500;" << 5 << false << left << top
                                               << width << height << QList<double>{600, 2400, 1500};
    QTest::newRow("empty column field reads 0")
            << "1200;900;9000;6000;;2400;" << 2 << false << left << top << width << height << QList<double>{0, 2400};
    QTest::newRow("negative column width as read")
            << "1200;900;9000;6000;-600;" << 1 << false << left << top << width << height << QList<double>{-600};
}

void TestWindowEntry::readTextsNeverWritten_data()
{
    addReadColumns();
    const QVariant left(1200.0), top(900.0), width(9000.0), height(6000.0);
    QTest::newRow("no ; at all") << "1200" << 3 << false << kept << kept << kept << kept << QList<double>{};
    QTest::newRow("width without ;") << "1200;900;9000" << 3 << false << left << top << kept << kept << QList<double>{};
    QTest::newRow("height without ;") << "1200;900;9000;6000" << 3 << false << left << top << width << kept
                                      << QList<double>{};
    QTest::newRow("column field without ;")
            << "1200;900;9000;6000;600;2400" << 3 << false << left << top << width << height << QList<double>{600};
    QTest::newRow("one character after the last ;")
            << "1200;900;9000;6000;600;5" << 3 << false << left << top << width << height << QList<double>{600};
    QTest::newRow("; alone after the last column is no field")
            << "1200;900;9000;6000;600;;" << 2 << false << left << top << width << height << QList<double>{600};
    QTest::newRow("left beyond single precision")
            << "1E+39;900;9000;6000;" << 0 << false << kept << kept << kept << kept << QList<double>{};
    QTest::newRow("width beyond single precision")
            << "1200;900;1E+300;6000;" << 0 << false << left << top << kept << kept << QList<double>{};
    QTest::newRow("column beyond single precision") << "1200;900;9000;6000;600;1E+39;1500;" << 3 << false << left << top
                                                    << width << height << QList<double>{600};
}

void TestWindowEntry::checkRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(bool, centre);
    QFETCH(QVariant, left);
    QFETCH(QVariant, top);
    QFETCH(QVariant, width);
    QFETCH(QVariant, height);
    QFETCH(QList<double>, widths);
    const WindowEntry::Reading reading = WindowEntry::fromText(text, columnCount);
    QCOMPARE(reading.centre, centre);
    QCOMPARE(asVariant(reading.left), left);
    QCOMPARE(asVariant(reading.top), top);
    QCOMPARE(asVariant(reading.width), width);
    QCOMPARE(asVariant(reading.height), height);
    QCOMPARE(asList(reading.columnWidths), widths);
}

void TestWindowEntry::roundTrip_data()
{
    QTest::addColumn<WindowGeometry>("window");
    QTest::addColumn<QList<double>>("widths");
    QTest::newRow("main window with three columns")
            << WindowGeometry{1200, 900, 9000, 6000} << QList<double>{600, 2400, 1500};
    QTest::newRow("master list window without grid") << WindowGeometry{-7680, 15, 12000, 8000} << QList<double>{};
    QTest::newRow("fractional column widths") << WindowGeometry{0, 0, 4800, 3600} << QList<double>{1234.5, 0.25};
}

void TestWindowEntry::roundTrip()
{
    QFETCH(WindowGeometry, window);
    QFETCH(QList<double>, widths);
    const WindowEntry::Reading reading =
            WindowEntry::fromText(WindowEntry::toText(window, columns(widths)), int(widths.size()));
    QVERIFY(!reading.centre);
    QCOMPARE(asVariant(reading.left), QVariant(window.left));
    QCOMPARE(asVariant(reading.top), QVariant(window.top));
    QCOMPARE(asVariant(reading.width), QVariant(window.width));
    QCOMPARE(asVariant(reading.height), QVariant(window.height));
    QCOMPARE(asList(reading.columnWidths), widths);
}

void TestWindowEntry::throughTheStore_data()
{
    QTest::addColumn<QString>("stored"); // a null text: nothing stored
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QList<double>>("widths");
    QTest::newRow("nothing stored centres the window") << QString() << true << QList<double>{};
    QTest::newRow("decimal comma survives the store") << "1200;900;9000;6000;1234,5;" << false << QList<double>{1234.5};
}

void TestWindowEntry::throughTheStore()
{
    QFETCH(QString, stored);
    QFETCH(bool, centre);
    QFETCH(QList<double>, widths);
    TempSettings settings;
    const QString section = QStringLiteral("Positionen");
    const QString key = QStringLiteral("frmMain-");
    if (!stored.isNull())
        SettingsStore::write(section, key, stored);
    const WindowEntry::Reading reading = WindowEntry::fromText(SettingsStore::read(section, key, QString()), 1);
    QCOMPARE(reading.centre, centre);
    QCOMPARE(asList(reading.columnWidths), widths);
}

QTEST_GUILESS_MAIN(TestWindowEntry)
#include "tst_windowentry.moc"
