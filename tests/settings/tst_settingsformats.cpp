// The texts the settings store keeps: font entry, colour value, grid layout,
// width list and window entry, written and read back, and what the readers do
// with texts the program never wrote.
#include "ColourValue.h"
#include "ErrorProtocol.h"
#include "FontEntry.h"
#include "FontEntryReader.h"
#include "GridLayout.h"
#include "ScriptedDialogs.h"
#include "SettingsStore.h"
#include "TestCompetition.h"
#include "WidthList.h"
#include "WindowEntry.h"

#include <QRegularExpression>
#include <QtTest>

using ColourValue::Rgb;

Q_DECLARE_METATYPE(FontEntry)
Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(WindowGeometry)
Q_DECLARE_METATYPE(std::vector<ColumnState>)

namespace {

constexpr int cut = 5;        // invalid procedure call
constexpr int overflow = 6;
constexpr int noNumber = 13;  // type mismatch
constexpr int badSize = 380;  // invalid property value
constexpr int Abort = 3, Retry = 4, Ignore = 5;

const QString loadMessage = QStringLiteral("Fehler beim Laden");

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

// The grid layout's operations in order, one word each: "c2@0=2400" moves
// column 2 to display position 0 and makes it 2400 wide; "=hide" hides it,
// "=keep" leaves its width.
QString describe(const std::vector<GridLayout::Operation> &operations)
{
    QStringList words;
    for (const GridLayout::Operation &operation : operations) {
        QString change = QString::number(operation.width, 'g', 17);
        if (operation.change == GridLayout::Operation::Change::Hide)
            change = QStringLiteral("hide");
        else if (operation.change == GridLayout::Operation::Change::KeepWidth)
            change = QStringLiteral("keep");
        words << QStringLiteral("c%1@%2=%3").arg(operation.column).arg(operation.displayPosition).arg(change);
    }
    return words.join(QLatin1Char(' '));
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

void queue(ScriptedDialogs &dialogs, const QList<int> &answers)
{
    for (const int answer : answers)
        dialogs.answer(static_cast<Dialogs::Answer>(answer));
}

QList<int> ignoreEach(const QList<int> &errors)
{
    return QList<int>(errors.size(), Ignore);
}

GridLayout::Reading readLayout(const QString &text, int columnCount)
{
    const ErrorProtocol protocol(loadMessage);
    return GridLayout::fromText(text, columnCount,
                                [&protocol](const std::function<void()> &step) { return protocol.runStep(step); });
}

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

// An empty variant stands for a value left as it is.
QVariant asVariant(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

// A value the colour reader cannot give back; the window keeps its own.
constexpr qint64 noValue = qint64(1) << 40;

} // namespace

class TestSettingsFormats : public QObject
{
    Q_OBJECT

private slots:
    void storeKeepsTexts_data();
    void storeKeepsTexts();

    void fontWrite_data();
    void fontWrite();
    void fontRead_data();
    void fontRead();
    void fontAnswers_data();
    void fontAnswers();
    void fontRoundTrip();

    void colourFromRgb_data();
    void colourFromRgb();
    void colourToRgb_data();
    void colourToRgb();
    void colourText_data();
    void colourText();

    void gridWrite_data();
    void gridWrite();
    void gridRead_data();
    void gridRead();
    void gridAnswers_data();
    void gridAnswers();
    void gridRoundTrip_data();
    void gridRoundTrip();

    void widthWrite_data();
    void widthWrite();
    void widthRead_data();
    void widthRead();
    void widthRoundTrip();

    void windowWrite_data();
    void windowWrite();
    void windowRead_data();
    void windowRead();
    void windowRoundTrip();
};

// ---------------------------------------------------------------- store

// Every format's text comes back from the store character for character; the
// commas, semicolons and leading ";" must not turn it into a list.
void TestSettingsFormats::storeKeepsTexts_data()
{
    QTest::addColumn<QString>("stored"); // a null text: nothing stored
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing stored gives the default") << QString() << "Vorgabe";
    QTest::newRow("an empty text is no default") << "" << "";
    QTest::newRow("font entry") << "Arial;8,25;0;0;0;-1" << "Arial;8,25;0;0;0;-1";
    QTest::newRow("system colour") << "-2147483640" << "-2147483640";
    QTest::newRow("grid layout") << "2 - 1440;1 - 0;0 - 2400,5;" << "2 - 1440;1 - 0;0 - 2400,5;";
    QTest::newRow("width list") << ";1234,5;600;" << ";1234,5;600;";
    QTest::newRow("window entry") << "1200;900;9000;6000;1234,5;" << "1200;900;9000;6000;1234,5;";
    QTest::newRow("face with comma and quote") << "Schrift, \"fein\";9;0;0;0;0" << "Schrift, \"fein\";9;0;0;0;0";
}

void TestSettingsFormats::storeKeepsTexts()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    TempSettings settings;
    if (!stored.isNull())
        SettingsStore::write(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2"), stored);
    QCOMPARE(SettingsStore::read(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2"), QStringLiteral("Vorgabe")),
             expected);
    QCOMPARE(settings.contains(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2")), !stored.isNull());
}

// ---------------------------------------------------------------- font entry

void TestSettingsFormats::fontWrite_data()
{
    QTest::addColumn<FontEntry>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Arial 10 bold") << font("Arial", 10, true, false, false, false) << "Arial;10;-1;0;0;0";
    QTest::newRow("8.25 with decimal comma")
            << font("Times New Roman", 8.25, false, true, false, false) << "Times New Roman;8,25;0;-1;0;0";
    QTest::newRow("every flag set") << font("Courier New", 12, true, true, true, true) << "Courier New;12;-1;-1;-1;-1";
    QTest::newRow("no trailing zeros, no grouping") << font("Arial", 1234.5, false, false, true, false)
                                                    << "Arial;1234,5;0;0;-1;0";
    QTest::newRow("fifth decimal rounded") << font("Arial", 7.00006, false, false, false, true) << "Arial;7,0001;0;0;0;-1";
    QTest::newRow("size below four decimals is 0") << font("Arial", 0.00001, false, false, false, false)
                                                   << "Arial;0;0;0;0;0";
}

void TestSettingsFormats::fontWrite()
{
    QFETCH(FontEntry, entry);
    QFETCH(QString, expected);
    QCOMPARE(entry.toText(), expected);
}

// Every failure is answered with Ignore: the reader goes on with the next
// field, and a field that failed leaves the font's own value.
void TestSettingsFormats::fontRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FontEntry>("expected");
    QTest::addColumn<QList<int>>("errors");
    QTest::newRow("Arial 10 bold") << "Arial;10;-1;0;0;0" << font("Arial", 10, true, false, false, false) << QList<int>{};
    QTest::newRow("8,25 read as 8.25") << "Times New Roman;8,25;0;-1;0;0"
                                       << font("Times New Roman", 8.25, false, true, false, false) << QList<int>{};
    QTest::newRow("any non-zero number is on") << "Arial;10;1;2;-5;0,5" << font("Arial", 10, true, true, true, true)
                                               << QList<int>{};
    QTest::newRow("blanks around numbers, face kept as it stands")
            << " Schöne Schrift ; 9 ; -1 ;0;0; 0 " << font(" Schöne Schrift ", 9, true, false, false, false) << QList<int>{};
    QTest::newRow("size rounded to four decimals") << "Arial;8,12346;0;0;0;0"
                                                   << font("Arial", 8.1235, false, false, false, false) << QList<int>{};
    QTest::newRow("largest size") << "Arial;2048;0;0;0;0" << font("Arial", 2048, false, false, false, false)
                                  << QList<int>{};
    QTest::newRow("empty face taken") << ";10;0;0;0;0" << font("", 10, false, false, false, false) << QList<int>{};
    QTest::newRow("empty text changes nothing") << "" << startFont() << QList<int>{};

    const FontEntry sizeKept = font("Arial", 12, true, false, false, false);
    QTest::newRow("size is a word") << "Arial;zehn;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size with decimal point") << "Arial;10.5;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size NaN") << "Arial;NaN;-1;0;0;0" << sizeKept << QList<int>{noNumber};
    QTest::newRow("size zero") << "Arial;0;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("size rounds to zero") << "Arial;0,00004;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("size above 2048") << "Arial;2049;-1;0;0;0" << sizeKept << QList<int>{badSize};
    QTest::newRow("flag is a word") << "Arial;10;-1;ja;0;0" << font("Arial", 10, true, true, false, false)
                                    << QList<int>{noNumber};

    // Each cut without ";" fails, and the text stays whole for the next field.
    QTest::newRow("face name alone") << "Arial" << startFont() << QList<int>{cut, cut, cut, cut, cut, noNumber};
    QTest::newRow("face and one more field") << "Arial;0" << font("Arial", 12, false, true, true, false)
                                             << QList<int>{cut, cut, cut, cut};
    QTest::newRow("only separators") << ";;;;;" << font("", 12, false, true, true, true)
                                     << QList<int>{noNumber, noNumber, noNumber, noNumber, noNumber};
    QTest::newRow("; after the last field") << "Arial;10;-1;0;0;0;" << font("Arial", 10, true, false, false, true)
                                            << QList<int>{noNumber};
    QTest::newRow("; in the face name splits it") << "A;B;10;0;0;0;0" << font("A", 12, true, false, false, true)
                                                  << QList<int>{noNumber, noNumber};
}

void TestSettingsFormats::fontRead()
{
    QFETCH(QString, text);
    QFETCH(FontEntry, expected);
    QFETCH(QList<int>, errors);
    ScriptedDialogs dialogs;
    queue(dialogs, ignoreEach(errors));
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QVERIFY(ErrorProtocol(loadMessage).run(reader.steps()));
    QVERIFY2(entry == expected, describe(entry));
    QCOMPARE(boxNumbers(dialogs), errors);
    QCOMPARE(dialogs.unexpected(), 0);
}

void TestSettingsFormats::fontAnswers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<FontEntry>("expected");
    QTest::newRow("abort at the size keeps the face")
            << "Arial;zehn;-1;0;0;0" << QList<int>{Abort} << false << font("Arial", 12, false, true, true, true);
    QTest::newRow("retry fails again, then ignore") << "Arial;zehn;-1;0;0;0" << QList<int>{Retry, Ignore} << true
                                                    << font("Arial", 12, true, false, false, false);
    QTest::newRow("ignore then abort") << "Arial" << QList<int>{Ignore, Abort} << false << startFont();
    QTest::newRow("abort at the last field keeps the others")
            << "Arial;10;-1;0;0;x" << QList<int>{Abort} << false << font("Arial", 10, true, false, false, true);
}

void TestSettingsFormats::fontAnswers()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, answers);
    QFETCH(bool, expectedResult);
    QFETCH(FontEntry, expected);
    ScriptedDialogs dialogs;
    queue(dialogs, answers);
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QCOMPARE(ErrorProtocol(loadMessage).run(reader.steps()), expectedResult);
    QVERIFY2(entry == expected, describe(entry));
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.shown().size(), std::size_t(answers.size()));
}

void TestSettingsFormats::fontRoundTrip()
{
    ScriptedDialogs dialogs;
    for (const FontEntry &entry : {font(" Schrift, fein. ", 8.25, true, true, false, true),
                                   font("Arial", 0.0001, false, false, true, false)}) {
        FontEntry back = startFont();
        FontEntryReader reader(entry.toText(), back);
        QVERIFY(ErrorProtocol(loadMessage).run(reader.steps()));
        QVERIFY2(back == entry, describe(back));
    }
    QVERIFY(dialogs.shown().empty());
}

// ---------------------------------------------------------------- colour value

// 0x00BBGGRR: red in the lowest byte.
void TestSettingsFormats::colourFromRgb_data()
{
    QTest::addColumn<Rgb>("rgb");
    QTest::addColumn<int>("expected");
    QTest::newRow("red in the lowest byte") << Rgb{255, 0, 0} << 255;
    QTest::newRow("green in the second byte") << Rgb{0, 255, 0} << 65280;
    QTest::newRow("blue in the third byte") << Rgb{0, 0, 255} << 16711680;
    QTest::newRow("components clamped to 0..255") << Rgb{300, -5, 128} << 8388863;
}

void TestSettingsFormats::colourFromRgb()
{
    QFETCH(Rgb, rgb);
    QFETCH(int, expected);
    QCOMPARE(ColourValue::fromRgb(rgb.red, rgb.green, rgb.blue), expected);
}

void TestSettingsFormats::colourToRgb_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("isColour");
    QTest::addColumn<Rgb>("expected");
    QTest::newRow("black") << 0 << true << Rgb{0, 0, 0};
    QTest::newRow("mixed 0x563412") << 5649426 << true << Rgb{0x12, 0x34, 0x56};
    QTest::newRow("white") << 16777215 << true << Rgb{255, 255, 255};
    QTest::newRow("system colour 0x80000008") << int(-2147483640) << false << Rgb{};
    QTest::newRow("fourth byte set") << 16777216 << false << Rgb{};
}

void TestSettingsFormats::colourToRgb()
{
    QFETCH(int, value);
    QFETCH(bool, isColour);
    QFETCH(Rgb, expected);
    const std::optional<Rgb> rgb = ColourValue::toRgb(value);
    QCOMPARE(rgb.has_value(), isColour);
    if (isColour)
        QCOMPARE(*rgb, expected);
}

// Written in decimal without grouping; read as a German number rounded halves
// to even, within 32 bits.
void TestSettingsFormats::colourText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<bool>("written"); // toText gives the text back from the value
    QTest::newRow("white") << "16777215" << qint64(16777215) << true;
    QTest::newRow("system colour") << "-2147483640" << qint64(-2147483640) << true;
    QTest::newRow("lowest 32-bit value") << "-2147483648" << qint64(-2147483648LL) << true;
    QTest::newRow("highest 32-bit value") << "2147483647" << qint64(2147483647) << true;
    QTest::newRow("blanks around") << " 255 " << qint64(255) << false;
    QTest::newRow("half rounds to even, down") << "12,5" << qint64(12) << false;
    QTest::newRow("half rounds to even, up") << "13,5" << qint64(14) << false;
    QTest::newRow("above 32 bits") << "2147483648" << noValue << false;
    QTest::newRow("below 32 bits") << "-2147483649" << noValue << false;
    QTest::newRow("a word") << "rot" << noValue << false;
    QTest::newRow("empty") << "" << noValue << false;
    QTest::newRow("hex notation") << "&HFF" << noValue << false;
}

void TestSettingsFormats::colourText()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QFETCH(bool, written);
    const std::optional<qint32> value = ColourValue::fromText(text);
    QCOMPARE(value ? qint64(*value) : noValue, expected);
    if (written)
        QCOMPARE(ColourValue::toText(qint32(expected)), text);
}

// ---------------------------------------------------------------- grid layout

void TestSettingsFormats::gridWrite_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("reverse order, second hidden")
            << std::vector<ColumnState>{{1440, true, 2}, {600, false, 1}, {2400, true, 0}} << "2 - 1440;1 - 0;0 - 2400;";
    QTest::newRow("grid without columns") << std::vector<ColumnState>{} << "";
    QTest::newRow("decimal comma") << std::vector<ColumnState>{{1234.5, true, 0}} << "0 - 1234,5;";
    QTest::newRow("seven significant digits") << std::vector<ColumnState>{{12345.678, true, 12}} << "12 - 12345,68;";
}

void TestSettingsFormats::gridWrite()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    QCOMPARE(GridLayout::toText(grid), expected);
}

void TestSettingsFormats::gridRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("errors");
    const QList<int> none;
    QTest::newRow("reverse order, second hidden") << "2 - 1440;1 - 0;0 - 2400;" << 3 << "c0@2=1440 c1@1=hide c2@0=2400"
                                                  << none;
    QTest::newRow("two columns on one position, collection order")
            << "1 - 500;1 - 700;0 - 900;" << 3 << "c0@1=500 c1@1=700 c2@0=900" << none;
    QTest::newRow("fewer pieces: the rest go to 0 and hide")
            << "1 - 1000;0 - 2000;" << 4 << "c0@1=1000 c1@0=2000 c2@0=hide c3@0=hide" << none;
    QTest::newRow("more pieces than columns") << "1 - 1000;0 - 2000;2 - 3000;" << 2 << "c0@1=1000 c1@0=2000" << none;
    QTest::newRow("extra piece that is no number is silent") << "1 - 1000;0 - 2000;x - y;" << 2
                                                             << "c0@1=1000 c1@0=2000" << none;
    QTest::newRow("grid without columns") << "0 - 1000;1 - 2000;" << 0 << "" << none;

    QTest::newRow("position equal to the column count is never applied") << "2 - 1000;0 - 2000;" << 2 << "c1@0=2000"
                                                                         << none;
    QTest::newRow("position above the column count stores nothing") << "5 - 1000;0 - 2000;" << 2
                                                                     << "c0@0=hide c1@0=2000" << none;
    QTest::newRow("position with decimal comma") << "1,0 - 1000;0 - 2000;" << 2 << "c0@1=1000 c1@0=2000" << none;
    QTest::newRow("failed position keeps the one before") << "1 - 1000;x - 2000;" << 2 << "c0@1=1000 c1@1=2000"
                                                          << QList<int>{noNumber};
    QTest::newRow("negative position is cut at its sign") << "-1 - 1000;" << 1 << "c0@0=hide"
                                                          << QList<int>{noNumber, noNumber};
    QTest::newRow("huge position overflows") << "1E+20 - 100;" << 1 << "c0@0=100" << QList<int>{overflow};

    QTest::newRow("German decimal width") << "0 - 1234,5;" << 1 << "c0@0=1234.5" << none;
    QTest::newRow("width with decimal point is no number") << "0 - 1234.5;" << 1 << "c0@0=hide" << QList<int>{noNumber};
    QTest::newRow("failed width keeps the one before") << "1 - 1000;0 - breit;" << 2 << "c0@1=1000 c1@0=1000"
                                                       << QList<int>{noNumber};
    QTest::newRow("negative width hides") << "0 - -5;" << 1 << "c0@0=hide" << none;
    QTest::newRow("single precision") << "0 - 16777217;" << 1 << "c0@0=16777216" << none;
    QTest::newRow("positive width below single precision is set as 0") << "0 - 1E-300;" << 1 << "c0@0=0" << none;
    QTest::newRow("width beyond single precision is refused") << "0 - 1E+300;" << 1 << "c0@0=keep"
                                                              << QList<int>{overflow};

    QTest::newRow("no ; at all: every column to 0 and hidden") << "0 - 1000" << 3 << "c0@0=hide c1@0=hide c2@0=hide"
                                                               << none;
    QTest::newRow("tail without ; repeats the piece before") << "0 - 1440;1 - 2400" << 2 << "c0@0=1440 c1@0=1440"
                                                             << none;
    QTest::newRow("empty piece repeats the values before") << "1 - 500;;" << 2 << "c0@1=500 c1@1=500" << none;
    QTest::newRow("leading ; gives an empty first piece") << ";1 - 500;" << 2 << "c1@1=500 c0@0=hide" << none;
}

void TestSettingsFormats::gridRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(QString, expected);
    QFETCH(QList<int>, errors);
    ScriptedDialogs dialogs;
    queue(dialogs, ignoreEach(errors));
    const GridLayout::Reading reading = readLayout(text, columnCount);
    QVERIFY(reading.stored);
    QVERIFY(!reading.aborted);
    QCOMPARE(describe(reading.operations), expected);
    QCOMPARE(boxNumbers(dialogs), errors);
    QCOMPARE(dialogs.unexpected(), 0);
}

void TestSettingsFormats::gridAnswers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("aborted");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing stored leaves the grid alone") << "" << QList<int>{} << false << "";
    QTest::newRow("abort while reading applies nothing") << "0 - breit;1 - 1000;" << QList<int>{Abort} << true << "";
    QTest::newRow("retry fails again, then ignore")
            << "1 - 1000;0 - breit;" << QList<int>{Retry, Ignore} << false << "c0@1=1000 c1@0=1000";
    QTest::newRow("abort on a width keeps the moves before it")
            << "1 - 1000;0 - 1E+300;" << QList<int>{Abort} << true << "c0@1=1000 c1@0=keep";
    QTest::newRow("abort at the position skips the width") << "0 - 1000;x - breit;" << QList<int>{Abort} << true << "";
}

void TestSettingsFormats::gridAnswers()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, answers);
    QFETCH(bool, aborted);
    QFETCH(QString, expected);
    ScriptedDialogs dialogs;
    queue(dialogs, answers);
    const GridLayout::Reading reading = readLayout(text, 2);
    QCOMPARE(reading.stored, !text.isEmpty());
    QCOMPARE(reading.aborted, aborted);
    QCOMPARE(describe(reading.operations), expected);
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.shown().size(), std::size_t(answers.size()));
}

void TestSettingsFormats::gridRoundTrip_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shuffled with fractions")
            << std::vector<ColumnState>{{900.5, true, 1}, {1234.5, true, 3}, {2000, false, 0}, {0.25, true, 2}}
            << "c1@3=1234.5 c3@2=0.25 c0@1=900.5 c2@0=hide";
    QTest::newRow("visible column 0 wide comes back hidden") << std::vector<ColumnState>{{0, true, 0}, {800, true, 1}}
                                                             << "c1@1=800 c0@0=hide";
}

void TestSettingsFormats::gridRoundTrip()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    ScriptedDialogs dialogs;
    const GridLayout::Reading reading = readLayout(GridLayout::toText(grid), int(grid.size()));
    QVERIFY(!reading.aborted);
    QCOMPARE(describe(reading.operations), expected);
    QVERIFY(dialogs.shown().empty());
}

// ---------------------------------------------------------------- width list

void TestSettingsFormats::widthWrite_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no columns") << columns({}) << ";";
    QTest::newRow("decimal comma") << columns({1234.5}) << ";1234,5;";
    QTest::newRow("collection order, hidden column keeps its width")
            << std::vector<ColumnState>{{600, true, 2}, {2400, false, 0}, {1500, true, 1}} << ";600;2400;1500;";
}

void TestSettingsFormats::widthWrite()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    QCOMPARE(WidthList::toText(grid), expected);
}

void TestSettingsFormats::widthRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("three columns") << ";600;2400;1500;" << 3 << QList<double>{600, 2400, 1500};
    QTest::newRow("nothing stored") << "" << 3 << QList<double>{};
    QTest::newRow("grid without columns saved") << ";" << 3 << QList<double>{};
    QTest::newRow("no grid") << ";600;2400;1500;" << 0 << QList<double>{};
    QTest::newRow("width 0 is applied") << ";0;2400;" << 2 << QList<double>{0, 2400};
    QTest::newRow("more fields than columns") << ";600;2400;1500;" << 2 << QList<double>{600, 2400};
    QTest::newRow("fewer fields than columns") << ";600;2400;1500;" << 5 << QList<double>{600, 2400, 1500};
    QTest::newRow("1234,5 read as 1234.5") << ";1234,5;" << 1 << QList<double>{1234.5};
    QTest::newRow("decimal point read too") << ";1234.5;" << 1 << QList<double>{1234.5};
    QTest::newRow("single precision") << ";0,1;16777217;" << 2 << QList<double>{double(0.1f), 16777216};
    QTest::newRow("negative width as read") << ";-600;" << 1 << QList<double>{-600};
    QTest::newRow("word reads 0") << ";breit;2400;" << 2 << QList<double>{0, 2400};
    QTest::newRow("number and a word reads the number") << ";600px;" << 1 << QList<double>{600};
    QTest::newRow("no leading ;") << "600;2400;" << 2 << QList<double>{600, 2400};
    QTest::newRow("two leading ;") << ";;600;" << 2 << QList<double>{0, 600};
    QTest::newRow("no ; at all") << "600" << 2 << QList<double>{};
    QTest::newRow("one character after the last ;") << ";600;5" << 3 << QList<double>{600};
    QTest::newRow("; alone after the last field is no field") << ";600;;" << 2 << QList<double>{600};
    QTest::newRow("width beyond single precision stops") << ";600;1E+39;1500;" << 3 << QList<double>{600};
}

void TestSettingsFormats::widthRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(QList<double>, expected);
    QCOMPARE(asList(WidthList::fromText(text, columnCount)), expected);
}

void TestSettingsFormats::widthRoundTrip()
{
    const QList<double> widths{1234.5, 0, 0.25, 99999.5};
    QCOMPARE(asList(WidthList::fromText(WidthList::toText(columns(widths)), int(widths.size()))), widths);
}

// ---------------------------------------------------------------- window entry

void TestSettingsFormats::windowWrite_data()
{
    QTest::addColumn<WindowGeometry>("window");
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<QString>("expected");
    QTest::newRow("main window with three columns") << WindowGeometry{1200, 900, 9000, 6000}
                                                    << QList<double>{600, 2400, 1500}
                                                    << "1200;900;9000;6000;600;2400;1500;";
    QTest::newRow("decimal comma") << WindowGeometry{1234.5, 0, 9000.25, 6000} << QList<double>{1234.5}
                                   << "1234,5;0;9000,25;6000;1234,5;";
    QTest::newRow("left of the primary screen, no grid") << WindowGeometry{-7680, -15, 9000, 6000} << QList<double>{}
                                                         << "-7680;-15;9000;6000;";
}

void TestSettingsFormats::windowWrite()
{
    QFETCH(WindowGeometry, window);
    QFETCH(QList<double>, widths);
    QFETCH(QString, expected);
    QCOMPARE(WindowEntry::toText(window, columns(widths)), expected);
}

// "edges" are left, top, width and height; an empty variant is a value kept.
void TestSettingsFormats::windowRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<bool>("centre");
    QTest::addColumn<QVariantList>("edges");
    QTest::addColumn<QList<double>>("widths");
    const QVariant k; // kept
    const QVariant l(1200.0), t(900.0), w(9000.0), h(6000.0);
    QTest::newRow("main window with three columns")
            << "1200;900;9000;6000;600;2400;1500;" << 3 << false << QVariantList{l, t, w, h}
            << QList<double>{600, 2400, 1500};
    QTest::newRow("nothing stored centres the window") << "" << 3 << true << QVariantList{k, k, k, k} << QList<double>{};
    QTest::newRow("no grid passed for an entry with widths") << "1200;900;9000;6000;600;2400;" << 0 << false
                                                             << QVariantList{l, t, w, h} << QList<double>{};
    QTest::newRow("width 0 keeps the width") << "1200;900;0;6000;" << 0 << false << QVariantList{l, t, k, h}
                                             << QList<double>{};
    QTest::newRow("negative height keeps the height") << "1200;900;9000;-50;" << 0 << false
                                                      << QVariantList{l, t, w, k} << QList<double>{};
    QTest::newRow("word as width keeps the width") << "1200;900;breit;6000;" << 0 << false << QVariantList{l, t, k, h}
                                                   << QList<double>{};
    QTest::newRow("positive width below single precision becomes 0")
            << "1200;900;1E-300;6000;" << 0 << false << QVariantList{l, t, QVariant(0.0), h} << QList<double>{};
    QTest::newRow("sizes with decimal comma cut at the comma") << "1200;900;9000,75;6000,5;" << 0 << false
                                                               << QVariantList{l, t, w, h} << QList<double>{};
    QTest::newRow("left 1234,5 read as 1234") << "1234,5;900;9000;6000;" << 0 << false
                                              << QVariantList{QVariant(1234.0), t, w, h} << QList<double>{};
    QTest::newRow("left and top applied when 0 or negative") << "-300;0;9000;6000;" << 0 << false
                                                             << QVariantList{QVariant(-300.0), QVariant(0.0), w, h}
                                                             << QList<double>{};
    QTest::newRow("words read as 0") << "links;oben;9000;6000;" << 0 << false
                                     << QVariantList{QVariant(0.0), QVariant(0.0), w, h} << QList<double>{};
    QTest::newRow("single precision, blanks inside the number") << " 16 777 217 ;900;9000;6000;" << 0 << false
                                                                << QVariantList{QVariant(16777216.0), t, w, h}
                                                                << QList<double>{};
    QTest::newRow("column 1234,5 read as 1234.5") << "1200;900;9000;6000;1234,5;" << 1 << false
                                                  << QVariantList{l, t, w, h} << QList<double>{1234.5};
    QTest::newRow("more fields than columns") << "1200;900;9000;6000;600;2400;1500;" << 2 << false
                                              << QVariantList{l, t, w, h} << QList<double>{600, 2400};
    QTest::newRow("fewer fields than columns") << "1200;900;9000;6000;600;2400;1500;" << 5 << false
                                               << QVariantList{l, t, w, h} << QList<double>{600, 2400, 1500};
    QTest::newRow("no ; at all") << "1200" << 3 << false << QVariantList{k, k, k, k} << QList<double>{};
    QTest::newRow("width without ;") << "1200;900;9000" << 3 << false << QVariantList{l, t, k, k} << QList<double>{};
    QTest::newRow("column field without ;") << "1200;900;9000;6000;600;2400" << 3 << false
                                            << QVariantList{l, t, w, h} << QList<double>{600};
    QTest::newRow("; alone after the last column is no field") << "1200;900;9000;6000;600;;" << 2 << false
                                                               << QVariantList{l, t, w, h} << QList<double>{600};
    QTest::newRow("left beyond single precision") << "1E+39;900;9000;6000;" << 0 << false
                                                  << QVariantList{k, k, k, k} << QList<double>{};
    QTest::newRow("width beyond single precision") << "1200;900;1E+300;6000;" << 0 << false
                                                   << QVariantList{l, t, k, k} << QList<double>{};
    QTest::newRow("column beyond single precision") << "1200;900;9000;6000;600;1E+39;1500;" << 3 << false
                                                    << QVariantList{l, t, w, h} << QList<double>{600};
}

void TestSettingsFormats::windowRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(bool, centre);
    QFETCH(QVariantList, edges);
    QFETCH(QList<double>, widths);
    const WindowEntry::Reading reading = WindowEntry::fromText(text, columnCount);
    QCOMPARE(reading.centre, centre);
    QCOMPARE(asVariant(reading.left), edges.at(0));
    QCOMPARE(asVariant(reading.top), edges.at(1));
    QCOMPARE(asVariant(reading.width), edges.at(2));
    QCOMPARE(asVariant(reading.height), edges.at(3));
    QCOMPARE(asList(reading.columnWidths), widths);
}

void TestSettingsFormats::windowRoundTrip()
{
    const WindowGeometry window{-7680, 15, 12000, 8000};
    const QList<double> widths{1234.5, 0.25};
    const WindowEntry::Reading reading =
            WindowEntry::fromText(WindowEntry::toText(window, columns(widths)), int(widths.size()));
    QVERIFY(!reading.centre);
    QCOMPARE(asVariant(reading.left), QVariant(window.left));
    QCOMPARE(asVariant(reading.top), QVariant(window.top));
    QCOMPARE(asVariant(reading.width), QVariant(window.width));
    QCOMPARE(asVariant(reading.height), QVariant(window.height));
    QCOMPARE(asList(reading.columnWidths), widths);
}

QTEST_GUILESS_MAIN(TestSettingsFormats)
#include "tst_settingsformats.moc"
