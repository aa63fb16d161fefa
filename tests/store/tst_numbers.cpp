#include "Numbers.h"
#include "tempModule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Parsed numbers are compared exactly: a decimal text names one double, and a
// fuzzy comparison would hide a digit lost on the way.
QByteArray mismatch(double actual, double expected)
{
    return QByteArray("got ") + QByteArray::number(actual, 'g', 17) + " expected "
           + QByteArray::number(expected, 'g', 17);
}

void addNumberColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
}

} // namespace

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void parseDecimalSeparators_data();
    void parseDecimalSeparators() { checkParseDecimal(); }
    void parseDecimalWithoutNumber_data();
    void parseDecimalWithoutNumber() { checkParseDecimal(); }
    void parseDecimalSigns_data();
    void parseDecimalSigns() { checkParseDecimal(); }
    void parseDecimalBlanks_data();
    void parseDecimalBlanks() { checkParseDecimal(); }
    void parseDecimalExponent_data();
    void parseDecimalExponent() { checkParseDecimal(); }
    void parseDecimalRadix_data();
    void parseDecimalRadix() { checkParseDecimal(); }

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

private:
    void checkParseDecimal();
};

void TestNumbers::checkParseDecimal()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double actual = ParseDecimal(text);
    QVERIFY2(actual == expected, mismatch(actual, expected).constData());
}

void TestNumbers::parseDecimalSeparators_data()
{
    addNumberColumns();
    QTest::newRow("decimal comma") << "10,5" << 10.5;
    QTest::newRow("dot taken as thousands separator") << "10.5" << 105.0;
    QTest::newRow("thousands dot and decimal comma") << "1.000,5" << 1000.5;
    QTest::newRow("two thousands dots") << "1.234.567" << 1234567.0;
    QTest::newRow("second comma ends the number") << "1,2,3" << 1.2;
    QTest::newRow("dot after comma dropped") << "9,.5" << 9.5;
    QTest::newRow("leading comma") << ",5" << 0.5;
    QTest::newRow("trailing comma") << "5," << 5.0;
    QTest::newRow("whole ring value") << "10" << 10.0;
}

void TestNumbers::parseDecimalWithoutNumber_data()
{
    addNumberColumns();
    QTest::newRow("empty text") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("letter after number") << "9,9x" << 9.9;
    QTest::newRow("letter before number") << "x9" << 0.0;
    QTest::newRow("lone plus") << "+" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("lone comma") << "," << 0.0;
    QTest::newRow("lone dot") << "." << 0.0;
    QTest::newRow("two signs") << "+-3" << 0.0;
    QTest::newRow("minus after number") << "5-" << 5.0;
    QTest::newRow("asterisk") << "*" << 0.0;
}

void TestNumbers::parseDecimalSigns_data()
{
    addNumberColumns();
    QTest::newRow("negative whole") << "-3" << -3.0;
    QTest::newRow("explicit plus") << "+7" << 7.0;
    QTest::newRow("negative with comma") << "-2,5" << -2.5;
    QTest::newRow("blank after minus") << "- 3" << -3.0;
    QTest::newRow("minus before comma") << "-,5" << -0.5;
}

void TestNumbers::parseDecimalBlanks_data()
{
    addNumberColumns();
    QTest::newRow("blank between digits") << "1 0" << 10.0;
    QTest::newRow("blanks around") << "  10,5  " << 10.5;
    QTest::newRow("blank after comma") << "10, 5" << 10.5;
    QTest::newRow("tab before comma") << "9\t,5" << 9.5;
    QTest::newRow("line feed between digits") << "1\n0" << 10.0;
    QTest::newRow("leading tab and line feed") << "\t\n8,5" << 8.5;
    QTest::newRow("pasted line end") << "9,5\r\n" << 9.5;
    QTest::newRow("blanks around exponent letter") << "1 E 2" << 100.0;
    QTest::newRow("blanks only") << "   " << 0.0;
}

void TestNumbers::parseDecimalExponent_data()
{
    addNumberColumns();
    QTest::newRow("E exponent") << "1E2" << 100.0;
    QTest::newRow("D exponent") << "1D2" << 100.0;
    QTest::newRow("lower-case e") << "1e2" << 100.0;
    QTest::newRow("lower-case d") << "1d2" << 100.0;
    QTest::newRow("comma mantissa") << "2,5E1" << 25.0;
    QTest::newRow("negative exponent") << "5E-1" << 0.5;
    QTest::newRow("exponent with plus") << "5E+1" << 50.0;
    QTest::newRow("E without digits") << "1E" << 1.0;
    QTest::newRow("E with sign only") << "1E-" << 1.0;
    QTest::newRow("E followed by a letter") << "1Ex" << 1.0;
    QTest::newRow("exponent without mantissa") << "E2" << 0.0;
    QTest::newRow("comma after exponent ends it") << "1E2,5" << 100.0;
}

void TestNumbers::parseDecimalRadix_data()
{
    addNumberColumns();
    QTest::newRow("hexadecimal") << "&H1F" << 31.0;
    QTest::newRow("lower-case hexadecimal") << "&h1f" << 31.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("four hex digits are 16-bit") << "&HFFFF" << -1.0;
    QTest::newRow("lowest 16-bit value") << "&H8000" << -32768.0;
    QTest::newRow("highest 16-bit value") << "&H7FFF" << 32767.0;
    QTest::newRow("five hex digits are 32-bit") << "&H10000" << 65536.0;
    QTest::newRow("eight hex digits are 32-bit") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex stops at non-hex letter") << "&H1G" << 1.0;
    QTest::newRow("octal stops at digit 8") << "&O18" << 1.0;
    QTest::newRow("prefix without digits") << "&H" << 0.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("blank inside hex") << "&H 1F" << 31.0;
}

void TestNumbers::leadingNumber_data()
{
    addNumberColumns();
    QTest::newRow("decimal point") << "9.5" << 9.5;
    QTest::newRow("comma ends the number") << "10,9" << 10.0;
    QTest::newRow("comma ends nine and a half") << "9,5" << 9.0;
    QTest::newRow("second dot ends the number") << "1.000.5" << 1.0;
    QTest::newRow("blanks skipped") << " 12 00 " << 1200.0;
    QTest::newRow("negative window edge") << "-120" << -120.0;
    QTest::newRow("leading dot") << ".5" << 0.5;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
    QTest::newRow("hexadecimal") << "&H10" << 16.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty text") << "" << 0.0;
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double actual = Numbers::leadingNumber(text);
    QVERIFY2(actual == expected, mismatch(actual, expected).constData());
}

void TestNumbers::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole total") << 89.0 << "89";
    QTest::newRow("floating-point sum") << 98.69999999999999 << "98,7";
    QTest::newRow("sum of two tenth rings") << 21.700000000000003 << "21,7";
    QTest::newRow("sum of tenths") << 0.30000000000000004 << "0,3";
    QTest::newRow("sum just above a whole") << 89.00000000000001 << "89";
    QTest::newRow("sum just below a whole") << 98.99999999999999 << "99";
    QTest::newRow("decimal comma") << 10.4 << "10,4";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole number without grouping") << 1234567.0 << "1234567";
    QTest::newRow("fraction without grouping") << 1234567.5 << "1234567,5";
    QTest::newRow("negative fraction") << -3.5 << "-3,5";
    QTest::newRow("negative whole") << -89.0 << "-89";
    QTest::newRow("fifteen significant digits") << 123456789.123456 << "123456789,123456";
    QTest::newRow("sixteenth digit rounded") << 0.12345678901234567 << "0,123456789012346";
}

void TestNumbers::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Numbers::numberText(value), expected);
}

void TestNumbers::singleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("width with a half") << 1234.5 << "1234,5";
    QTest::newRow("quarter") << 8.25 << "8,25";
    QTest::newRow("whole twips") << 1440.0 << "1440";
    QTest::newRow("seven significant digits") << 1234.56789 << "1234,568";
    QTest::newRow("rounded to single before the digits") << 1234.5665 << "1234,567";
    QTest::newRow("single rounding removes the fraction") << 1500.0005 << "1500";
    QTest::newRow("seventh of an inch") << 1440.0 / 7.0 << "205,7143";
    QTest::newRow("single noise hidden") << 0.1 << "0,1";
    QTest::newRow("seven digits without grouping") << 1234567.0 << "1234567";
    QTest::newRow("negative window edge") << -120.0 << "-120";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
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
    QTest::newRow("database Null text") << QVariant(QMetaType::fromType<QString>()) << "";
    QTest::newRow("double with fraction") << QVariant(10.4) << "10,4";
    QTest::newRow("whole double") << QVariant(89.0) << "89";
    QTest::newRow("floating-point sum") << QVariant(98.69999999999999) << "98,7";
    QTest::newRow("int") << QVariant(7) << "7";
    QTest::newRow("negative int") << QVariant(-3) << "-3";
    QTest::newRow("long long without grouping") << QVariant(qlonglong(1234567)) << "1234567";
    QTest::newRow("text with dot unchanged") << QVariant(QStringLiteral("10.5")) << "10.5";
    QTest::newRow("text with comma unchanged") << QVariant(QStringLiteral("9,5")) << "9,5";
    QTest::newRow("text with umlaut") << QVariant(QStringLiteral("Müller")) << "Müller";
    QTest::newRow("empty text") << QVariant(QString()) << "";
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
    QTest::newRow("double") << QVariant(10.5) << true;
    QTest::newRow("int") << QVariant(7) << true;
    QTest::newRow("zero") << QVariant(0) << true;
    QTest::newRow("long long") << QVariant(qlonglong(-12)) << true;
    QTest::newRow("decimal comma") << QVariant(QStringLiteral("10,5")) << true;
    QTest::newRow("blanks around") << QVariant(QStringLiteral(" 7 ")) << true;
    QTest::newRow("negative") << QVariant(QStringLiteral("-3")) << true;
    QTest::newRow("plus sign") << QVariant(QStringLiteral("+3")) << true;
    QTest::newRow("thousands dot") << QVariant(QStringLiteral("1.000")) << true;
    QTest::newRow("thousands dot and comma") << QVariant(QStringLiteral("1.000,5")) << true;
    QTest::newRow("empty text") << QVariant(QStringLiteral("")) << false;
    QTest::newRow("blanks only") << QVariant(QStringLiteral("   ")) << false;
    QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << false;
    QTest::newRow("letter after number") << QVariant(QStringLiteral("9x")) << false;
    QTest::newRow("asterisk") << QVariant(QStringLiteral("*")) << false;
    QTest::newRow("blank and asterisk") << QVariant(QStringLiteral(" *")) << false;
    QTest::newRow("lone plus") << QVariant(QStringLiteral("+")) << false;
    QTest::newRow("lone minus") << QVariant(QStringLiteral("-")) << false;
    QTest::newRow("lone comma") << QVariant(QStringLiteral(",")) << false;
    QTest::newRow("two commas") << QVariant(QStringLiteral("1,2,3")) << false;
    QTest::newRow("blank inside number") << QVariant(QStringLiteral("1 0")) << false;
    QTest::newRow("Null") << QVariant() << false;
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
    QTest::newRow("whole width") << "1440" << true << 1440.0;
    QTest::newRow("blanks around") << "  2400 " << true << 2400.0;
    QTest::newRow("thousands dot") << "1.000" << true << 1000.0;
    QTest::newRow("thousands dot and comma") << "1.000,5" << true << 1000.5;
    QTest::newRow("negative") << "-2,5" << true << -2.5;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("empty text") << "" << false << 0.0;
    QTest::newRow("blanks only") << "  " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("letter after number") << "9x" << false << 0.0;
    QTest::newRow("lone minus") << "-" << false << 0.0;
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

void TestNumbers::resultsIgnoreProcessLocale_data()
{
    // The process's C locale and Qt's default locale may be set by the desktop;
    // neither may change how numbers are read or written.
    QTest::addColumn<QByteArray>("cLocale");
    QTest::addColumn<QString>("qtDefault");
    QTest::newRow("C locale German UTF-8") << QByteArray("de_DE.UTF-8") << QString();
    QTest::newRow("C locale German") << QByteArray("de_DE") << QString();
    QTest::newRow("Qt default English") << QByteArray() << QStringLiteral("en_US");
    QTest::newRow("Qt default French") << QByteArray() << QStringLiteral("fr_FR");
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
    QTest::newRow("empty path") << "empty" << false;
    QTest::newRow("existing file") << "file" << true;
    QTest::newRow("empty existing file") << "empty file" << true;
    QTest::newRow("read-only file") << "read-only" << true;
    QTest::newRow("umlauts and blanks") << "umlauts" << true;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("missing folder in path") << "missing folder" << false;
    QTest::newRow("link to missing file") << "broken link" << false;
    QTest::newRow("file without read permission") << "unreadable" << false;
}

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Builds a row's situation in the current folder and returns the path to test;
// a null text when it cannot be built.
QString prepareFile(const QString &situation)
{
    if (situation == QLatin1String("three spaces")) {
        // A file of that name exists, so only the blank check can give false.
        return writeFile(QStringLiteral("   "), "x") ? QStringLiteral("   ") : QString();
    }
    QString path = QDir::current().absoluteFilePath(QStringLiteral("wettkampf.wkd"));
    if (situation == QLatin1String("file"))
        return writeFile(path, "SQLite format 3") ? path : QString();
    if (situation == QLatin1String("empty file"))
        return writeFile(path, QByteArray()) ? path : QString();
    if (situation == QLatin1String("read-only")) {
        const bool built = writeFile(path, "x") && QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
        return built ? path : QString();
    }
    if (situation == QLatin1String("unreadable"))
        return writeFile(path, "x") && QFile::setPermissions(path, QFileDevice::Permissions()) ? path : QString();
    const QString folder = QDir::current().absoluteFilePath(QStringLiteral("Kreismeisterschaft Öhringen"));
    path = folder + QStringLiteral("/Schützen Ärger ß.wkd");
    return QDir().mkpath(folder) && writeFile(path, "x") ? path : QString();
}

QString prepareOtherPath(const QString &situation)
{
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("wettkampf.wkd"));
    if (situation == QLatin1String("folder"))
        return QDir().mkpath(path) ? path : QString();
    if (situation == QLatin1String("missing"))
        return path;
    if (situation == QLatin1String("missing folder"))
        return QDir::current().absoluteFilePath(QStringLiteral("kein Ordner/wettkampf.wkd"));
    if (situation == QLatin1String("broken link"))
        return QFile::link(QDir::current().absoluteFilePath(QStringLiteral("ziel.wkd")), path) ? path : QString();
    return QStringLiteral("");
}

QString preparePath(const QString &situation)
{
    static const QStringList others = {QStringLiteral("empty"), QStringLiteral("folder"), QStringLiteral("missing"),
                                       QStringLiteral("missing folder"), QStringLiteral("broken link")};
    return others.contains(situation) ? prepareOtherPath(situation) : prepareFile(situation);
}

// Root opens any file whatever its permissions, so a row that needs an
// unreadable file cannot be built there.
bool readsDespitePermissions(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

void TestNumbers::fileExists()
{
    QFETCH(QString, situation);
    QFETCH(bool, expected);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(temp.path()));
    const QString path = preparePath(situation);
    const bool unbuildable = situation == QLatin1String("unreadable") && readsDespitePermissions(path);
    const bool actual = !path.isNull() && !unbuildable && FileExists(path);
    QDir::setCurrent(previous);
    QVERIFY2(!path.isNull(), "could not build the files of this row");
    if (unbuildable)
        QSKIP("this process reads files without read permission (running as root), so the row cannot be built");
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
