#include "store/Numbers.h"
#include "store/tempModule.h"
#include "support/NonRegularFiles.h"
#include "support/OrdinaryUserFileAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

namespace {

// Parsed numbers are compared exactly: a decimal text names one double, and a
// fuzzy comparison would hide a digit lost on the way.
QByteArray mismatch(double actual, double expected)
{
    return QByteArray("got ") + QByteArray::number(actual, 'g', 17) + " expected "
           + QByteArray::number(expected, 'g', 17);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void writing_data();
    void writing();
    void resultsIgnoreProcessLocale();
    void fileExists_data();
    void fileExists();
};

// ParseDecimal: "," is the decimal sign and "." groups thousands, then the
// leading number. leadingNumber: "." is the decimal point, a comma ends the
// number. parseLocale: the whole text or no number (NaN here). isNumeric: 1 or
// 0, whether the whole value is a German number.
void TestNumbers::reading_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("expected");
    const double none = qQNaN();
    const struct { const char *name, *reader, *text; double expected; } rows[] = {
        {"decimal comma", "ParseDecimal", "10,5", 10.5},
        {"dot taken as thousands separator", "ParseDecimal", "10.5", 105.0},
        {"thousands dot and decimal comma", "ParseDecimal", "1.000,5", 1000.5},
        {"second comma ends the number", "ParseDecimal", "1,2,3", 1.2},
        {"dot after comma dropped", "ParseDecimal", "9,.5", 9.5},
        {"leading comma", "ParseDecimal", ",5", 0.5},
        {"empty text", "ParseDecimal", "", 0.0},
        {"letter after number", "ParseDecimal", "9,9x", 9.9},
        {"letter before number", "ParseDecimal", "x9", 0.0},
        {"two signs", "ParseDecimal", "+-3", 0.0},
        {"minus before comma", "ParseDecimal", "-,5", -0.5},
        {"blank after minus", "ParseDecimal", "- 3", -3.0},
        {"blank between digits", "ParseDecimal", "1 0", 10.0},
        {"tab before comma", "ParseDecimal", "9\t,5", 9.5},
        {"pasted line end", "ParseDecimal", "9,5\r\n", 9.5},
        {"D exponent", "ParseDecimal", "1D2", 100.0},
        {"comma mantissa, negative exponent", "ParseDecimal", "2,5E-1", 0.25},
        {"E without digits", "ParseDecimal", "1E", 1.0},
        {"exponent without mantissa", "ParseDecimal", "E2", 0.0},
        {"hexadecimal", "ParseDecimal", "&h1f", 31.0},
        {"octal stops at digit 8", "ParseDecimal", "&O18", 1.0},
        {"four hex digits are 16-bit", "ParseDecimal", "&HFFFF", -1.0},
        {"highest 16-bit value", "ParseDecimal", "&H7FFF", 32767.0},
        {"five hex digits are 32-bit", "ParseDecimal", "&H10000", 65536.0},
        {"eight hex digits are 32-bit", "ParseDecimal", "&HFFFFFFFF", -1.0},
        {"prefix without digits", "ParseDecimal", "&H", 0.0},
        {"leading: decimal point", "leadingNumber", "9.5", 9.5},
        {"leading: comma ends the number", "leadingNumber", "10,9", 10.0},
        {"leading: second dot ends the number", "leadingNumber", "1.000.5", 1.0},
        {"leading: blanks skipped", "leadingNumber", " 12 00 ", 1200.0},
        {"leading: exponent", "leadingNumber", "1.5E3", 1500.0},
        {"locale: blanks around", "parseLocale", "  2400 ", 2400.0},
        {"locale: thousands dot and comma", "parseLocale", "1.000,5", 1000.5},
        {"locale: negative", "parseLocale", "-2,5", -2.5},
        {"locale: blanks only", "parseLocale", "  ", none},
        {"locale: letter after number", "parseLocale", "9x", none},
        {"locale: two commas", "parseLocale", "1,2,3", none},
        {"numeric: decimal comma", "isNumeric", "10,5", 1},
        {"numeric: blanks around, sign", "isNumeric", " -3 ", 1},
        {"numeric: thousands dot and comma", "isNumeric", "1.000,5", 1},
        {"numeric: empty text", "isNumeric", "", 0},
        {"numeric: letter after number", "isNumeric", "9x", 0},
        {"numeric: blank and asterisk", "isNumeric", " *", 0},
        {"numeric: lone comma", "isNumeric", ",", 0},
        {"numeric: blank inside number", "isNumeric", "1 0", 0},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.reader << QVariant(QString::fromUtf8(row.text)) << row.expected;
    QTest::newRow("numeric: int") << "isNumeric" << QVariant(7) << 1.0;
    QTest::newRow("numeric: database Null number") << "isNumeric" << QVariant(QMetaType::fromType<double>()) << 0.0;
}

void TestNumbers::reading()
{
    QFETCH(QString, reader);
    QFETCH(QVariant, value);
    QFETCH(double, expected);
    const QString text = value.toString();
    double actual = 0.0;
    if (reader == QLatin1String("ParseDecimal"))
        actual = ParseDecimal(text);
    else if (reader == QLatin1String("leadingNumber"))
        actual = Numbers::leadingNumber(text);
    else if (reader == QLatin1String("parseLocale"))
        actual = Numbers::parseLocale(text).value_or(qQNaN());
    else
        actual = Numbers::isNumeric(value) ? 1 : 0;
    QVERIFY2(actual == expected || (qIsNaN(actual) && qIsNaN(expected)), mismatch(actual, expected).constData());
}

// numberText: at most 15 significant digits; singleText: single precision, at
// most seven; cellText: a cell's value as shown. Decimal comma, no grouping.
void TestNumbers::writing_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    const struct { const char *name, *writer; double value; const char *expected; } rows[] = {
        {"floating-point sum", "numberText", 98.69999999999999, "98,7"},
        {"sum just below a whole", "numberText", 98.99999999999999, "99"},
        {"negative zero", "numberText", -0.0, "0"},
        {"fraction without grouping", "numberText", 1234567.5, "1234567,5"},
        {"negative fraction", "numberText", -3.5, "-3,5"},
        {"fifteen significant digits", "numberText", 123456789.123456, "123456789,123456"},
        {"sixteenth digit rounded", "numberText", 0.12345678901234567, "0,123456789012346"},
        {"single: seven significant digits", "singleText", 1234.56789, "1234,568"},
        {"single: rounded to single before the digits", "singleText", 1234.5665, "1234,567"},
        {"single: rounding removes the fraction", "singleText", 1500.0005, "1500"},
        {"single: noise hidden", "singleText", 0.1, "0,1"},
        {"single: seven digits without grouping", "singleText", 1234567.0, "1234567"},
        {"single: negative window edge", "singleText", -120.0, "-120"},
        {"cell: floating-point sum", "cellText", 98.69999999999999, "98,7"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.writer << QVariant(row.value) << row.expected;
    QTest::newRow("cell: invalid variant") << "cellText" << QVariant() << "";
    QTest::newRow("cell: database Null number") << "cellText" << QVariant(QMetaType::fromType<double>()) << "";
    QTest::newRow("cell: negative int") << "cellText" << QVariant(-3) << "-3";
    QTest::newRow("cell: long long without grouping") << "cellText" << QVariant(qlonglong(1234567)) << "1234567";
    QTest::newRow("cell: text with dot unchanged") << "cellText" << QVariant(QStringLiteral("10.5")) << "10.5";
}

void TestNumbers::writing()
{
    QFETCH(QString, writer);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    if (writer == QLatin1String("numberText"))
        QCOMPARE(Numbers::numberText(value.toDouble()), expected);
    else if (writer == QLatin1String("singleText"))
        QCOMPARE(Numbers::singleText(value.toDouble()), expected);
    else
        QCOMPARE(Numbers::cellText(value), expected);
}

// The process's C locale and Qt's default locale may be set by the desktop;
// neither may change how numbers are read or written.
void TestNumbers::resultsIgnoreProcessLocale()
{
    const QByteArray previousC = std::setlocale(LC_NUMERIC, nullptr);
    const QLocale previousQt;
    // A German C locale where the machine has one, an English Qt default always.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    const QList<double> read{ParseDecimal(QStringLiteral("1.000,5")), Numbers::leadingNumber(QStringLiteral("9.5")),
                             Numbers::parseLocale(QStringLiteral("10,5")).value_or(qQNaN())};
    const QStringList written{Numbers::numberText(1234.5), Numbers::singleText(1234.5)};
    const bool numeric = Numbers::isNumeric(QStringLiteral("10,5"));
    std::setlocale(LC_NUMERIC, previousC.constData());
    QLocale::setDefault(previousQt);
    QCOMPARE(read, (QList<double>{1000.5, 9.5, 10.5}));
    QCOMPARE(written, (QStringList{"1234,5", "1234,5"}));
    QVERIFY(numeric);
}

void TestNumbers::fileExists_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("expected");
    QTest::newRow("three spaces") << "three spaces" << false;
    QTest::newRow("umlauts and blanks") << "umlauts" << true;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("link to missing file") << "broken link" << false;
    QTest::newRow("file without read permission") << "unreadable" << false;
    QTest::newRow("link to a file") << "link to a file" << true;
    // Opening any of these would wait or read without end: they count as missing.
    for (const char *kind : {"named pipe", "link to a named pipe", "socket", "character device"})
        QTest::newRow(kind) << kind << false;
}

// Each row builds its situation in a folder of its own; unreadable files are
// checked as an ordinary user, since root reads them.
void TestNumbers::fileExists()
{
    QFETCH(QString, situation);
    QFETCH(bool, expected);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QVERIFY(QFile::setPermissions(temp.path(), QFileDevice::Permissions(0x7755)));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(temp.path()));
    QString path = temp.filePath(QStringLiteral("wettkampf.wkd"));
    bool built = true;
    if (situation == QLatin1String("three spaces")) {
        // A file of that name exists, so only the blank check can give false.
        path = QStringLiteral("   ");
        built = writeFile(path, "x");
    } else if (situation == QLatin1String("umlauts")) {
        path = temp.filePath(QStringLiteral("Kreismeisterschaft Öhringen/Schützen Ärger ß.wkd"));
        built = QDir().mkpath(QFileInfo(path).path()) && writeFile(path, "x");
    } else if (situation == QLatin1String("folder")) {
        built = QDir().mkpath(path);
    } else if (situation == QLatin1String("broken link")) {
        built = QFile::link(temp.filePath(QStringLiteral("ziel.wkd")), path);
    } else if (situation == QLatin1String("unreadable")) {
        built = writeFile(path, "x") && QFile::setPermissions(path, QFileDevice::WriteOwner);
    } else if (situation == QLatin1String("link to a file")) {
        built = writeFile(temp.filePath(QStringLiteral("ziel.wkd")), "x")
                && QFile::link(temp.filePath(QStringLiteral("ziel.wkd")), path);
    } else {
        built = NonRegularFiles::make(situation, path);
    }
    bool actual = false;
    bool rootNotDropped = false;
    {
        OrdinaryUserFileAccess access;
        rootNotDropped = access.rootNotDropped();
        const HangGuard guard(QStringLiteral("FileExists on a ") + situation);
        actual = FileExists(path);
    }
    QDir::setCurrent(previous);
    QVERIFY2(built, "could not build the files of this row");
    if (rootNotDropped && situation == QLatin1String("unreadable"))
        QSKIP("running as root without the right to check files as another user");
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
