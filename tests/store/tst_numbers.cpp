#include "store/Numbers.h"
#include "store/tempModule.h"
#include "support/NonRegularFiles.h"
#include "support/OrdinaryUserFileAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    // The desktop may set the C locale and Qt's default locale: every row runs
    // under a German C locale (where the machine has one) and an English Qt
    // default, and neither may change how numbers are read or written.
    void initTestCase()
    {
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    }

    // ParseDecimal: "," is the decimal sign and "." groups thousands, then the
    // leading number. leadingNumber: "." is the decimal point, a comma ends it.
    // parseLocale: the whole text or no number (Null). numberText: at most 15
    // significant digits; singleText: single precision, at most seven;
    // cellText: a cell's value as shown. Decimal comma, no grouping.
    // FileExists: a regular file (links followed) this user may read; every
    // situation in one folder, the working folder for the blank name, where a
    // file "   " exists, so only the blank check can give false.
    void functions_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char *name, const char *function, const QVariant &input, const QVariant &expected) {
            QTest::newRow(name) << function << input << expected;
        };
        row("thousands dot and decimal comma", "ParseDecimal", "1.000,5", 1000.5);
        row("second comma ends the number", "ParseDecimal", "1,2,3", 1.2);
        row("minus before comma", "ParseDecimal", "-,5", -0.5);
        row("empty text", "ParseDecimal", "", 0.0);
        row("two signs", "ParseDecimal", "+-3", 0.0);
        row("blank between digits", "ParseDecimal", "1 0", 10.0);
        row("D exponent", "ParseDecimal", "1D2", 100.0);
        row("comma mantissa, negative exponent", "ParseDecimal", "2,5E-1", 0.25);
        row("E without digits", "ParseDecimal", "1E", 1.0);
        row("hexadecimal", "ParseDecimal", "&h1f", 31.0);
        row("octal stops at digit 8", "ParseDecimal", "&O18", 1.0);
        row("four hex digits are 16-bit", "ParseDecimal", "&HFFFF", -1.0);
        row("highest 16-bit value", "ParseDecimal", "&H7FFF", 32767.0);
        row("five hex digits are 32-bit", "ParseDecimal", "&H10000", 65536.0);
        row("eight hex digits are 32-bit", "ParseDecimal", "&HFFFFFFFF", -1.0);
        row("leading: comma ends the number", "leadingNumber", "10,9", 10.0);
        row("locale: blanks around", "parseLocale", "  2400 ", 2400.0);
        row("locale: thousands dot and comma", "parseLocale", "1.000,5", 1000.5);
        row("locale: blanks only", "parseLocale", "  ", QVariant());
        row("locale: a decimal point is no decimal sign", "parseLocale", "10.5", QVariant());
        row("locale: letter after number", "parseLocale", "9x", QVariant());
        row("numeric: blank inside number", "isNumeric", "1 0", false);
        row("numeric: int", "isNumeric", 7, true);
        row("numeric: database Null number", "isNumeric", QVariant(QMetaType::fromType<double>()), false);
        row("floating-point sum", "numberText", 98.69999999999999, "98,7");
        row("whole number", "numberText", 89.0, "89");
        row("negative zero", "numberText", -0.0, "0");
        row("fraction without grouping", "numberText", 1234567.5, "1234567,5");
        row("sixteenth digit rounded", "numberText", 0.12345678901234567, "0,123456789012346");
        row("single: seven significant digits", "singleText", 1234.56789, "1234,568");
        row("single: rounded to single first", "singleText", 1234.5665, "1234,567");
        row("cell: database Null number", "cellText", QVariant(QMetaType::fromType<double>()), "");
        row("cell: text with dot unchanged", "cellText", "10.5", "10.5");
        row("cell: a truth value as -1", "cellText", true, "-1");
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755)));
        const QDir dir(m_dir.path());
        const auto file = [&](const QString &name, QFileDevice::Permissions permissions = QFile::ReadOwner | QFile::ReadOther) {
            QFile made(dir.filePath(name));
            dir.mkpath(QFileInfo(made).path());
            QVERIFY(made.open(QIODevice::WriteOnly) && made.setPermissions(permissions));
        };
        file(QStringLiteral("   "));
        file(QStringLiteral("Kreis Öhringen/Schützen Ärger ß.wkd"));
        file(QStringLiteral("gesperrt.wkd"), QFile::WriteOwner);
        QFile::link(dir.filePath(QStringLiteral("   ")), dir.filePath(QStringLiteral("verweis.wkd")));
        // Opening it would wait for a writer for ever.
        NonRegularFiles::makeFifo(dir.filePath(QStringLiteral("pipe.wkd")));
        row("file: three spaces", "FileExists", "   ", false);
        row("file: umlauts and blanks", "FileExists", dir.filePath(QStringLiteral("Kreis Öhringen/Schützen Ärger ß.wkd")), true);
        row("file: without read permission", "FileExists", dir.filePath(QStringLiteral("gesperrt.wkd")), false);
        row("file: link to a file", "FileExists", dir.filePath(QStringLiteral("verweis.wkd")), true);
        row("file: named pipe", "FileExists", dir.filePath(QStringLiteral("pipe.wkd")), false);
    }

    void functions()
    {
        QFETCH(QString, function);
        QFETCH(QVariant, input);
        QFETCH(QVariant, expected);
        const QString text = input.toString();
        // Unreadable files are checked as an ordinary user, since root reads them.
        const auto fileExists = [&] {
            const QString previous = QDir::currentPath();
            QDir::setCurrent(m_dir.path());
            std::optional<OrdinaryUserFileAccess> access(std::in_place);
            const bool unchecked = access->rootNotDropped() && text.endsWith(QLatin1String("gesperrt.wkd"));
            const HangGuard guard(QStringLiteral("FileExists on ") + text);
            const bool exists = FileExists(text);
            access.reset();
            QDir::setCurrent(previous);
            return unchecked ? QVariant() : QVariant(exists);
        };
        const std::map<QString, std::function<QVariant()>> functions{
            {"ParseDecimal", [&] { return ParseDecimal(text); }},
            {"leadingNumber", [&] { return Numbers::leadingNumber(text); }},
            {"parseLocale", [&] { return Numbers::parseLocale(text) ? QVariant(*Numbers::parseLocale(text)) : QVariant(); }},
            {"isNumeric", [&] { return Numbers::isNumeric(input); }},
            {"numberText", [&] { return Numbers::numberText(input.toDouble()); }},
            {"singleText", [&] { return Numbers::singleText(input.toDouble()); }},
            {"cellText", [&] { return Numbers::cellText(input); }}, {"FileExists", fileExists}};
        const QVariant actual = functions.at(function)();
        if (function == QLatin1String("FileExists") && !actual.isValid())
            QSKIP("running as root without the right to check files as another user");
        // Exactly: a decimal text names one double, and a fuzzy comparison would hide a lost digit.
        QCOMPARE(actual.typeId(), expected.typeId());
        QVERIFY2(expected.typeId() == QMetaType::Double ? actual.toDouble() == expected.toDouble() : actual == expected,
                 QByteArray::number(actual.toDouble(), 'g', 17) + ' ' + actual.toString().toUtf8());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
