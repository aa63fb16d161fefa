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
    void parseDecimal_data();
    void parseDecimal();
    void leadingNumber_data();
    void leadingNumber();
    void numberText_data();
    void numberText();
    void singleText_data();
    void singleText();
    void cellText_data();
    void cellText();
    void isNumeric_data();
    void isNumeric();
    void parseLocale_data();
    void parseLocale();
    void resultsIgnoreProcessLocale_data();
    void resultsIgnoreProcessLocale();
    void fileExists_data();
    void fileExists();
};

// "," is the decimal sign and "." groups thousands; then the leading number.
void TestNumbers::parseDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal comma") << "10,5" << 10.5;
    QTest::newRow("dot taken as thousands separator") << "10.5" << 105.0;
    QTest::newRow("thousands dot and decimal comma") << "1.000,5" << 1000.5;
    QTest::newRow("second comma ends the number") << "1,2,3" << 1.2;
    QTest::newRow("dot after comma dropped") << "9,.5" << 9.5;
    QTest::newRow("leading comma") << ",5" << 0.5;
    QTest::newRow("empty text") << "" << 0.0;
    QTest::newRow("letter after number") << "9,9x" << 9.9;
    QTest::newRow("letter before number") << "x9" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("two signs") << "+-3" << 0.0;
    QTest::newRow("asterisk") << "*" << 0.0;
    QTest::newRow("minus before comma") << "-,5" << -0.5;
    QTest::newRow("blank after minus") << "- 3" << -3.0;
    QTest::newRow("blank between digits") << "1 0" << 10.0;
    QTest::newRow("tab before comma") << "9\t,5" << 9.5;
    QTest::newRow("pasted line end") << "9,5\r\n" << 9.5;
    QTest::newRow("D exponent") << "1D2" << 100.0;
    QTest::newRow("comma mantissa, negative exponent") << "2,5E-1" << 0.25;
    QTest::newRow("E without digits") << "1E" << 1.0;
    QTest::newRow("exponent without mantissa") << "E2" << 0.0;
    QTest::newRow("hexadecimal") << "&h1f" << 31.0;
    QTest::newRow("octal stops at digit 8") << "&O18" << 1.0;
    QTest::newRow("four hex digits are 16-bit") << "&HFFFF" << -1.0;
    QTest::newRow("highest 16-bit value") << "&H7FFF" << 32767.0;
    QTest::newRow("five hex digits are 32-bit") << "&H10000" << 65536.0;
    QTest::newRow("eight hex digits are 32-bit") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("prefix without digits") << "&H" << 0.0;
}

void TestNumbers::parseDecimal()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double actual = ParseDecimal(text);
    QVERIFY2(actual == expected, mismatch(actual, expected).constData());
}

// "." is the decimal point here; a comma ends the number.
void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal point") << "9.5" << 9.5;
    QTest::newRow("comma ends the number") << "10,9" << 10.0;
    QTest::newRow("second dot ends the number") << "1.000.5" << 1.0;
    QTest::newRow("blanks skipped") << " 12 00 " << 1200.0;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
    QTest::newRow("letters") << "abc" << 0.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double actual = Numbers::leadingNumber(text);
    QVERIFY2(actual == expected, mismatch(actual, expected).constData());
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

void TestNumbers::parseLocale_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal comma") << "10,5" << true << 10.5;
    QTest::newRow("blanks around") << "  2400 " << true << 2400.0;
    QTest::newRow("thousands dot and comma") << "1.000,5" << true << 1000.5;
    QTest::newRow("negative") << "-2,5" << true << -2.5;
    QTest::newRow("blanks only") << "  " << false << 0.0;
    QTest::newRow("letter after number") << "9x" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
}

void TestNumbers::parseLocale()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, expected);
    const std::optional<double> actual = Numbers::parseLocale(text);
    QCOMPARE(actual.has_value(), isNumber);
    if (isNumber)
        QVERIFY2(*actual == expected, mismatch(*actual, expected).constData());
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
