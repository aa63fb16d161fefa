#include "ErrorProtocol.h"
#include "FontEntry.h"
#include "FontEntryReader.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "TestCompetition.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(FontEntry)

namespace {

const QString loadMessage = QStringLiteral("Fehler beim Laden der Schriftarten Ergebnisse!");

constexpr int cut = ErrorNumber::InvalidProcedureCall;
constexpr int noNumber = ErrorNumber::TypeMismatch;
constexpr int badSize = ErrorNumber::InvalidPropertyValue;

FontEntry font(const QString &face, double size, bool bold, bool italic, bool underline, bool strikeOut)
{
    FontEntry entry;
    entry.face = face;
    entry.size = size;
    entry.bold = bold;
    entry.italic = italic;
    entry.underline = underline;
    entry.strikeOut = strikeOut;
    return entry;
}

// Differs from every entry read below in every field, so that a field left
// alone shows as such.
FontEntry startFont()
{
    return font(QStringLiteral("Courier New"), 12, false, true, true, true);
}

QByteArray describe(const FontEntry &entry)
{
    return QStringLiteral("\"%1\" %2 pt, bold %3 italic %4 underline %5 strike %6")
            .arg(entry.face)
            .arg(entry.size, 0, 'g', 17)
            .arg(entry.bold)
            .arg(entry.italic)
            .arg(entry.underline)
            .arg(entry.strikeOut)
            .toUtf8();
}

// The error numbers of the boxes shown, in order ("Fehler: 13 - ...").
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

} // namespace

class TestFontEntry : public QObject
{
    Q_OBJECT

private slots:
    void writeEntry_data();
    void writeEntry();

    void readWellFormed_data();
    void readWellFormed() { checkRead(); }
    void readFieldFontCannotTake_data();
    void readFieldFontCannotTake() { checkRead(); }
    void readMissingSeparators_data();
    void readMissingSeparators() { checkRead(); }

    void stepCount_data();
    void stepCount();
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

void TestFontEntry::writeEntry_data()
{
    QTest::addColumn<FontEntry>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Arial 10 bold") << font("Arial", 10, true, false, false, false) << "Arial;10;-1;0;0;0";
    QTest::newRow("8.25 with decimal comma")
            << font("Times New Roman", 8.25, false, true, false, false) << "Times New Roman;8,25;0;-1;0;0";
    QTest::newRow("every flag set") << font("Courier New", 12, true, true, true, true) << "Courier New;12;-1;-1;-1;-1";
    QTest::newRow("underline and strike-through only")
            << font("Arial", 10, false, false, true, true) << "Arial;10;0;0;-1;-1";
    QTest::newRow("trailing zeros left out") << font("Arial", 10.5, false, false, false, false) << "Arial;10,5;0;0;0;0";
    QTest::newRow("four decimals kept") << font("Arial", 9.1234, false, false, false, false) << "Arial;9,1234;0;0;0;0";
    QTest::newRow("fifth decimal rounded")
            << font("Arial", 7.00006, false, false, false, false) << "Arial;7,0001;0;0;0;0";
    QTest::newRow("no digit grouping") << font("Arial", 1234.5, false, false, false, false) << "Arial;1234,5;0;0;0;0";
    QTest::newRow("size below four decimals is 0")
            << font("Arial", 0.00001, false, false, false, false) << "Arial;0;0;0;0;0";
    QTest::newRow("umlaut and blank in face")
            << font("Schöne Schrift", 11, false, false, false, false) << "Schöne Schrift;11;0;0;0;0";
}

void TestFontEntry::writeEntry()
{
    QFETCH(FontEntry, entry);
    QFETCH(QString, expected);
    QCOMPARE(entry.toText(), expected);
}

void TestFontEntry::addReadColumns()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FontEntry>("expected");
    QTest::addColumn<QList<int>>("expectedErrors");
}

void TestFontEntry::readWellFormed_data()
{
    addReadColumns();
    QTest::newRow("Arial 10 bold") << "Arial;10;-1;0;0;0" << font("Arial", 10, true, false, false, false)
                                   << QList<int>{};
    QTest::newRow("8,25 read as 8.25") << "Times New Roman;8,25;0;-1;0;0"
                                       << font("Times New Roman", 8.25, false, true, false, false) << QList<int>{};
    QTest::newRow("every flag on") << "Arial;10;-1;-1;-1;-1" << font("Arial", 10, true, true, true, true)
                                   << QList<int>{};
    QTest::newRow("every flag off") << "Arial;10;0;0;0;0" << font("Arial", 10, false, false, false, false)
                                    << QList<int>{};
    QTest::newRow("any non-zero number is on")
            << "Arial;10;1;2;-5;0,5" << font("Arial", 10, true, true, true, true) << QList<int>{};
    QTest::newRow("umlaut and blanks in face kept")
            << " Schöne Schrift ;9;0;0;0;0" << font(" Schöne Schrift ", 9, false, false, false, false) << QList<int>{};
    QTest::newRow("blanks around numbers")
            << "Arial; 9 ; -1 ;0;0; 0 " << font("Arial", 9, true, false, false, false) << QList<int>{};
    QTest::newRow("size rounded to four decimals")
            << "Arial;8,12346;0;0;0;0" << font("Arial", 8.1235, false, false, false, false) << QList<int>{};
    QTest::newRow("largest size") << "Arial;2048;0;0;0;0" << font("Arial", 2048, false, false, false, false)
                                  << QList<int>{};
    QTest::newRow("empty face taken as it stands")
            << ";10;0;0;0;0" << font("", 10, false, false, false, false) << QList<int>{};
    QTest::newRow("empty text changes nothing") << "" << startFont() << QList<int>{};
}

void TestFontEntry::readFieldFontCannotTake_data()
{
    addReadColumns();
    const FontEntry sizeKept = font("Arial", 12, true, false, false, false);
    QTest::newRow("size is a word") << "Arial;zehn;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size with decimal point") << "Arial;10.5;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size empty") << "Arial;;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size NaN") << "Arial;NaN;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size infinite") << "Arial;inf;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size zero") << "Arial;0;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("size rounds to zero") << "Arial;0,00004;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("size negative") << "Arial;-10;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("size above 2048") << "Arial;2049;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("size huge") << "Arial;1E+300;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("flag is a word") << "Arial;10;-1;ja;0;0" << font("Arial", 10, true, true, false, false)
                                    << QList<int>{noNumber};
    QTest::newRow("flag empty") << "Arial;10;-1;0;;0" << font("Arial", 10, true, false, true, false)
                                << QList<int>{noNumber};
}

void TestFontEntry::readMissingSeparators_data()
{
    addReadColumns();
    // Each cut without ";" fails, and the text stays whole for the next field.
    QTest::newRow("face name alone") << "Arial" << startFont() << QList<int>{cut, cut, cut, cut, cut, noNumber};
    QTest::newRow("face and one more field")
            << "Arial;0" << font("Arial", 12, false, true, true, false) << QList<int>{cut, cut, cut, cut};
    QTest::newRow("single separator") << ";" << font("", 12, false, true, true, true)
                                      << QList<int>{cut, cut, cut, cut, noNumber};
    QTest::newRow("only separators") << ";;;;;" << font("", 12, false, true, true, true)
                                     << QList<int>{noNumber, noNumber, noNumber, noNumber, noNumber};
    QTest::newRow("; after the last field")
            << "Arial;10;-1;0;0;0;" << font("Arial", 10, true, false, false, true) << QList<int>{noNumber};
    QTest::newRow("seventh field") << "Arial;10;-1;0;0;0;0" << font("Arial", 10, true, false, false, true)
                                   << QList<int>{noNumber};
    QTest::newRow("; in the face name splits it")
            << "A;B;10;0;0;0;0" << font("A", 12, true, false, false, true) << QList<int>{noNumber, noNumber};
}

void TestFontEntry::checkRead()
{
    QFETCH(QString, text);
    QFETCH(FontEntry, expected);
    QFETCH(QList<int>, expectedErrors);
    ScriptedDialogs dialogs;
    for (int i = 0; i < expectedErrors.size(); ++i)
        dialogs.answer(Dialogs::Answer::Ignore);
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QVERIFY(ErrorProtocol(loadMessage).run(reader.steps()));
    QVERIFY2(entry == expected, describe(entry));
    QCOMPARE(boxNumbers(dialogs), expectedErrors);
    QVERIFY(everyBoxHasMessage(dialogs));
    QCOMPARE(dialogs.unexpected(), 0);
}

void TestFontEntry::stepCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("nothing stored") << "" << 0;
    QTest::newRow("face name alone") << "Arial" << 16;
    QTest::newRow("complete entry") << "Arial;10;-1;0;0;0" << 16;
    QTest::newRow("too many fields") << "Arial;10;-1;0;0;0;0;0" << 16;
}

void TestFontEntry::stepCount()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QCOMPARE(int(reader.steps().size()), expected);
    QVERIFY2(entry == startFont(), "listing the steps must not read anything");
}

void TestFontEntry::answersToFailures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<FontEntry>("expected");
    const int abort = 3, retry = 4, ignore = 5;
    QTest::newRow("abort at the size keeps the face")
            << "Arial;zehn;-1;0;0;0" << QList<int>{abort} << false << font("Arial", 12, false, true, true, true);
    QTest::newRow("retry fails again, then ignore") << "Arial;zehn;-1;0;0;0" << QList<int>{retry, ignore} << true
                                                    << font("Arial", 12, true, false, false, false);
    QTest::newRow("abort on the first cut changes nothing") << "Arial" << QList<int>{abort} << false << startFont();
    QTest::newRow("ignore then abort") << "Arial" << QList<int>{ignore, abort} << false << startFont();
    QTest::newRow("ignore each of six failures")
            << "Arial" << QList<int>{ignore, ignore, ignore, ignore, ignore, ignore} << true << startFont();
    QTest::newRow("abort at the last field keeps the others")
            << "Arial;10;-1;0;0;x" << QList<int>{abort} << false << font("Arial", 10, true, false, false, true);
}

void TestFontEntry::answersToFailures()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, answers);
    QFETCH(bool, expectedResult);
    QFETCH(FontEntry, expected);
    ScriptedDialogs dialogs;
    for (const int answer : answers)
        dialogs.answer(static_cast<Dialogs::Answer>(answer));
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QCOMPARE(ErrorProtocol(loadMessage).run(reader.steps()), expectedResult);
    QVERIFY2(entry == expected, describe(entry));
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.unexpected(), 0);
    QCOMPARE(dialogs.shown().size(), std::size_t(answers.size()));
}

void TestFontEntry::roundTrip_data()
{
    QTest::addColumn<FontEntry>("entry");
    QTest::newRow("Arial 10 bold") << font("Arial", 10, true, false, false, false);
    QTest::newRow("8.25 points") << font("Times New Roman", 8.25, false, true, true, false);
    QTest::newRow("smallest size") << font("Arial", 0.0001, false, false, false, true);
    QTest::newRow("largest size") << font("Arial", 2048, true, true, true, true);
    QTest::newRow("four decimals") << font("Arial", 11.3333, false, false, false, false);
    QTest::newRow("comma, dot and blanks in face") << font(" Schrift, fein. ", 9, false, true, false, true);
}

void TestFontEntry::roundTrip()
{
    QFETCH(FontEntry, entry);
    ScriptedDialogs dialogs;
    FontEntry back = startFont();
    FontEntryReader reader(entry.toText(), back);
    QVERIFY(ErrorProtocol(loadMessage).run(reader.steps()));
    QVERIFY2(back == entry, describe(back));
    QVERIFY(dialogs.shown().empty());
}

void TestFontEntry::throughTheStore_data()
{
    QTest::addColumn<QString>("stored"); // a null text: nothing stored
    QTest::addColumn<FontEntry>("expected");
    QTest::newRow("nothing stored leaves the font") << QString() << startFont();
    QTest::newRow("Arial 10 bold") << "Arial;10;-1;0;0;0" << font("Arial", 10, true, false, false, false);
    QTest::newRow("decimal comma survives the store")
            << "Arial;8,25;0;0;0;-1" << font("Arial", 8.25, false, false, false, true);
}

void TestFontEntry::throughTheStore()
{
    QFETCH(QString, stored);
    QFETCH(FontEntry, expected);
    TempSettings settings;
    const QString section = QStringLiteral("Allgemein");
    const QString key = QStringLiteral("Font-Dateneingabe");
    if (!stored.isNull())
        SettingsStore::write(section, key, stored);
    const QString text = SettingsStore::read(section, key, QString());
    QCOMPARE(text, stored.isNull() ? QString() : stored);
    ScriptedDialogs dialogs;
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QVERIFY(ErrorProtocol(loadMessage).run(reader.steps()));
    QVERIFY2(entry == expected, describe(entry));
    QVERIFY(dialogs.shown().empty());
}

QTEST_GUILESS_MAIN(TestFontEntry)
#include "tst_fontentry.moc"
