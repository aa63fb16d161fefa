#include "Numbers.h"
#include "OrdinaryUserFileAccess.h"
#include "tempModule.h"

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
    void numberText_data();
    void numberText();
    void singleText_data();
    void singleText();
    void cellText_data();
    void cellText();
    void isNumeric_data();
    void isNumeric();
    void resultsIgnoreProcessLocale_data();
    void resultsIgnoreProcessLocale();
    void fileExists_data();
    void fileExists();
};

// ParseDecimal: "," is the decimal sign and "." groups thousands, then the
// leading number. leadingNumber: "." is the decimal point, a comma ends the
// number. parseLocale: the whole text or no number (NaN here).
void TestNumbers::reading_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("text");
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
        {"asterisk", "ParseDecimal", "*", 0.0},
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
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.reader << QString::fromUtf8(row.text) << row.expected;
}

void TestNumbers::reading()
{
    QFETCH(QString, reader);
    QFETCH(QString, text);
    QFETCH(double, expected);
    double actual = 0.0;
    if (reader == QLatin1String("ParseDecimal"))
        actual = ParseDecimal(text);
    else if (reader == QLatin1String("leadingNumber"))
        actual = Numbers::leadingNumber(text);
    else
        actual = Numbers::parseLocale(text).value_or(qQNaN());
    QVERIFY2(actual == expected || (qIsNaN(actual) && qIsNaN(expected)), mismatch(actual, expected).constData());
}

// At most 15 significant digits, decimal comma, no grouping.
void TestNumbers::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("floating-point sum") << 98.69999999999999 << "98,7";
    QTest::newRow("sum just below a whole") << 98.99999999999999 << "99";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction without grouping") << 1234567.5 << "1234567,5";
    QTest::newRow("negative fraction") << -3.5 << "-3,5";
    QTest::newRow("fifteen significant digits") << 123456789.123456 << "123456789,123456";
    QTest::newRow("sixteenth digit rounded") << 0.12345678901234567 << "0,123456789012346";
}

void TestNumbers::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Numbers::numberText(value), expected);
}

// Single precision, at most seven significant digits.
void TestNumbers::singleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("width with a half") << 1234.5 << "1234,5";
    QTest::newRow("seven significant digits") << 1234.56789 << "1234,568";
    QTest::newRow("rounded to single before the digits") << 1234.5665 << "1234,567";
    QTest::newRow("single rounding removes the fraction") << 1500.0005 << "1500";
    QTest::newRow("single noise hidden") << 0.1 << "0,1";
    QTest::newRow("seven digits without grouping") << 1234567.0 << "1234567";
    QTest::newRow("negative window edge") << -120.0 << "-120";
}

void TestNumbers::singleText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Numbers::singleText(value), expected);
}

void TestNumbers::cellText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("invalid variant") << QVariant() << "";
    QTest::newRow("database Null number") << QVariant(QMetaType::fromType<double>()) << "";
    QTest::newRow("floating-point sum") << QVariant(98.69999999999999) << "98,7";
    QTest::newRow("negative int") << QVariant(-3) << "-3";
    QTest::newRow("long long without grouping") << QVariant(qlonglong(1234567)) << "1234567";
    QTest::newRow("text with dot unchanged") << QVariant(QStringLiteral("10.5")) << "10.5";
}

void TestNumbers::cellText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QCOMPARE(Numbers::cellText(value), expected);
}

void TestNumbers::isNumeric_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("int") << QVariant(7) << true;
    QTest::newRow("decimal comma") << QVariant(QStringLiteral("10,5")) << true;
    QTest::newRow("blanks around, sign") << QVariant(QStringLiteral(" -3 ")) << true;
    QTest::newRow("thousands dot and comma") << QVariant(QStringLiteral("1.000,5")) << true;
    QTest::newRow("empty text") << QVariant(QStringLiteral("")) << false;
    QTest::newRow("blanks only") << QVariant(QStringLiteral("   ")) << false;
    QTest::newRow("letter after number") << QVariant(QStringLiteral("9x")) << false;
    QTest::newRow("blank and asterisk") << QVariant(QStringLiteral(" *")) << false;
    QTest::newRow("lone comma") << QVariant(QStringLiteral(",")) << false;
    QTest::newRow("two commas") << QVariant(QStringLiteral("1,2,3")) << false;
    QTest::newRow("blank inside number") << QVariant(QStringLiteral("1 0")) << false;
    QTest::newRow("database Null number") << QVariant(QMetaType::fromType<double>()) << false;
}

void TestNumbers::isNumeric()
{
    QFETCH(QVariant, value);
    QFETCH(bool, expected);
    QCOMPARE(Numbers::isNumeric(value), expected);
}

// The process's C locale and Qt's default locale may be set by the desktop;
// neither may change how numbers are read or written.
void TestNumbers::resultsIgnoreProcessLocale_data()
{
    QTest::addColumn<QByteArray>("cLocale");
    QTest::addColumn<QString>("qtDefault");
    QTest::newRow("C locale German") << QByteArray("de_DE.UTF-8") << QString();
    QTest::newRow("Qt default English") << QByteArray() << QStringLiteral("en_US");
}

void TestNumbers::resultsIgnoreProcessLocale()
{
    QFETCH(QByteArray, cLocale);
    QFETCH(QString, qtDefault);
    const QByteArray previousC = std::setlocale(LC_NUMERIC, nullptr);
    const QLocale previousQt;
    if (!cLocale.isEmpty() && !std::setlocale(LC_NUMERIC, cLocale.constData()))
        QSKIP(QByteArray("C locale " + cLocale + " is not installed on this machine").constData());
    if (!qtDefault.isEmpty())
        QLocale::setDefault(QLocale(qtDefault));

    const double decimal = ParseDecimal(QStringLiteral("1.000,5"));
    const double leading = Numbers::leadingNumber(QStringLiteral("9.5"));
    const std::optional<double> located = Numbers::parseLocale(QStringLiteral("10,5"));
    const QString written = Numbers::numberText(1234.5);
    const QString single = Numbers::singleText(1234.5);
    const bool numeric = Numbers::isNumeric(QStringLiteral("10,5"));

    std::setlocale(LC_NUMERIC, previousC.constData());
    QLocale::setDefault(previousQt);
    QVERIFY2(decimal == 1000.5, mismatch(decimal, 1000.5).constData());
    QVERIFY2(leading == 9.5, mismatch(leading, 9.5).constData());
    QVERIFY(located.has_value());
    QVERIFY2(*located == 10.5, mismatch(*located, 10.5).constData());
    QCOMPARE(written, QStringLiteral("1234,5"));
    QCOMPARE(single, QStringLiteral("1234,5"));
    QVERIFY(numeric);
}

void TestNumbers::fileExists_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<bool>("expected");
    QTest::newRow("three spaces") << "three spaces" << false;
    QTest::newRow("empty existing file") << "file" << true;
    QTest::newRow("umlauts and blanks") << "umlauts" << true;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("link to missing file") << "broken link" << false;
    QTest::newRow("file without read permission") << "unreadable" << false;
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
    } else if (situation == QLatin1String("file")) {
        built = writeFile(path, QByteArray());
    } else if (situation == QLatin1String("umlauts")) {
        path = temp.filePath(QStringLiteral("Kreismeisterschaft Öhringen/Schützen Ärger ß.wkd"));
        built = QDir().mkpath(QFileInfo(path).path()) && writeFile(path, "x");
    } else if (situation == QLatin1String("folder")) {
        built = QDir().mkpath(path);
    } else if (situation == QLatin1String("broken link")) {
        built = QFile::link(temp.filePath(QStringLiteral("ziel.wkd")), path);
    } else if (situation == QLatin1String("unreadable")) {
        built = writeFile(path, "x") && QFile::setPermissions(path, QFileDevice::WriteOwner);
    }
    bool actual = false;
    bool rootNotDropped = false;
    {
        OrdinaryUserFileAccess access;
        rootNotDropped = access.rootNotDropped();
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
