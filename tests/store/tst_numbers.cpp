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
    // ParseDecimal: "," is the decimal sign and "." groups thousands, then the
    // leading number. leadingNumber: "." is the decimal point, a comma ends it.
    // parseLocale: the whole text or no number (NaN here). isNumeric: 1 or 0.
    void reading_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<double>("expected");
        const struct { const char *name, *reader, *text; double expected; } rows[] = {
            {"dot taken as thousands separator", "ParseDecimal", "10.5", 105.0},
            {"thousands dot and decimal comma", "ParseDecimal", "1.000,5", 1000.5},
            {"second comma ends the number", "ParseDecimal", "1,2,3", 1.2},
            {"minus before comma", "ParseDecimal", "-,5", -0.5},
            {"empty text", "ParseDecimal", "", 0.0},
            {"letter after number", "ParseDecimal", "9,9x", 9.9},
            {"two signs", "ParseDecimal", "+-3", 0.0},
            {"blank between digits", "ParseDecimal", "1 0", 10.0},
            {"tab before comma", "ParseDecimal", "9\t,5", 9.5},
            {"D exponent", "ParseDecimal", "1D2", 100.0},
            {"comma mantissa, negative exponent", "ParseDecimal", "2,5E-1", 0.25},
            {"E without digits", "ParseDecimal", "1E", 1.0},
            {"hexadecimal", "ParseDecimal", "&h1f", 31.0},
            {"octal stops at digit 8", "ParseDecimal", "&O18", 1.0},
            {"four hex digits are 16-bit", "ParseDecimal", "&HFFFF", -1.0},
            {"highest 16-bit value", "ParseDecimal", "&H7FFF", 32767.0},
            {"five hex digits are 32-bit", "ParseDecimal", "&H10000", 65536.0},
            {"eight hex digits are 32-bit", "ParseDecimal", "&HFFFFFFFF", -1.0},
            {"leading: comma ends the number", "leadingNumber", "10,9", 10.0},
            {"locale: blanks around", "parseLocale", "  2400 ", 2400.0},
            {"locale: thousands dot and comma", "parseLocale", "1.000,5", 1000.5},
            {"locale: blanks only", "parseLocale", "  ", qQNaN()},
            {"locale: letter after number", "parseLocale", "9x", qQNaN()},
            {"numeric: thousands dot and comma", "isNumeric", "1.000,5", 1},
            {"numeric: blank inside number", "isNumeric", "1 0", 0},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << row.reader << QVariant(QString::fromUtf8(row.text)) << row.expected;
        QTest::newRow("numeric: int") << "isNumeric" << QVariant(7) << 1.0;
        QTest::newRow("numeric: database Null number") << "isNumeric" << QVariant(QMetaType::fromType<double>()) << 0.0;
    }

    void reading()
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
        // Exactly: a decimal text names one double, and a fuzzy comparison would hide a lost digit.
        QVERIFY2(actual == expected || (qIsNaN(actual) && qIsNaN(expected)),
                 QByteArray::number(actual, 'g', 17).constData());
    }

    // numberText: at most 15 significant digits; singleText: single precision,
    // at most seven; cellText: a cell's value as shown. Decimal comma, no grouping.
    void writing_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("floating-point sum") << "numberText" << QVariant(98.69999999999999) << "98,7";
        QTest::newRow("whole number") << "numberText" << QVariant(89.0) << "89";
        QTest::newRow("negative zero") << "numberText" << QVariant(-0.0) << "0";
        QTest::newRow("fraction without grouping") << "numberText" << QVariant(1234567.5) << "1234567,5";
        QTest::newRow("sixteenth digit rounded") << "numberText" << QVariant(0.12345678901234567) << "0,123456789012346";
        QTest::newRow("single: seven significant digits") << "singleText" << QVariant(1234.56789) << "1234,568";
        QTest::newRow("single: rounded to single first") << "singleText" << QVariant(1234.5665) << "1234,567";
        QTest::newRow("cell: floating-point sum") << "cellText" << QVariant(98.69999999999999) << "98,7";
        QTest::newRow("cell: invalid variant") << "cellText" << QVariant() << "";
        QTest::newRow("cell: database Null number") << "cellText" << QVariant(QMetaType::fromType<double>()) << "";
        QTest::newRow("cell: text with dot unchanged") << "cellText" << QVariant(QStringLiteral("10.5")) << "10.5";
    }

    void writing()
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

    // The desktop may set the C locale and Qt's default locale; neither may
    // change how numbers are read or written.
    void resultsIgnoreProcessLocale()
    {
        const QByteArray previousC = std::setlocale(LC_NUMERIC, nullptr);
        const QLocale previousQt;
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where the machine has it
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

    // Every situation in one folder, the working folder for the blank name.
    void fileExists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("expected");
        QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755)));
        const auto file = [this](const QString &name, QFileDevice::Permissions permissions = {}) {
            QFile made(m_dir.filePath(name));
            QDir().mkpath(QFileInfo(made).path());
            made.open(QIODevice::WriteOnly);
            made.setPermissions(permissions ? permissions : QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            return made.fileName();
        };
        // A file of that name exists, so only the blank check can give false.
        QTest::newRow("three spaces") << QFileInfo(file(QStringLiteral("   "))).fileName() << false;
        QTest::newRow("umlauts and blanks") << file(QStringLiteral("Kreis Öhringen/Schützen Ärger ß.wkd")) << true;
        QDir(m_dir.path()).mkdir(QStringLiteral("Ordner.wkd"));
        QTest::newRow("folder") << m_dir.filePath(QStringLiteral("Ordner.wkd")) << false;
        QTest::newRow("file without read permission") << file(QStringLiteral("gesperrt.wkd"), QFile::WriteOwner) << false;
        const QString link = m_dir.filePath(QStringLiteral("verweis.wkd"));
        QFile::link(file(QStringLiteral("ziel.wkd")), link);
        QTest::newRow("link to a file") << link << true;
        // Opening it would wait for a writer for ever.
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.wkd"));
        QTest::newRow("named pipe") << (NonRegularFiles::makeFifo(pipe) ? pipe : QString()) << false;
    }

    // Unreadable files are checked as an ordinary user, since root reads them.
    void fileExists()
    {
        QFETCH(QString, path);
        QFETCH(bool, expected);
        QVERIFY(!path.isEmpty());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        bool actual = false;
        bool rootNotDropped = false;
        {
            OrdinaryUserFileAccess access;
            rootNotDropped = access.rootNotDropped();
            const HangGuard guard(QStringLiteral("FileExists on ") + path);
            actual = FileExists(path);
        }
        QDir::setCurrent(previous);
        if (rootNotDropped && QTest::currentDataTag() == QByteArray("file without read permission"))
            QSKIP("running as root without the right to check files as another user");
        QCOMPARE(actual, expected);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
