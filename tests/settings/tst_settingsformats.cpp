// The texts the settings store keeps: font entry, colour value, grid layout,
// width list and window entry, written and read back, and what the readers do
// with texts the program never wrote.
#include "settings/ColourValue.h"
#include "settings/FontEntry.h"
#include "settings/FontEntryReader.h"
#include "settings/GridLayout.h"
#include "settings/SettingsStore.h"
#include "settings/WidthList.h"
#include "settings/WindowEntry.h"
#include "store/ErrorProtocol.h"
#include "support/ScriptedMessages.h"
#include "support/TestCompetition.h"

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
    return FontEntry{face, size, bold, italic, underline, strikeOut};
}

// Differs from every entry read below in every field, so that a field left
// alone shows as such.
FontEntry startFont()
{
    return font(QStringLiteral("Courier New"), 12, false, true, true, true);
}

QString describe(const FontEntry &entry)
{
    return QStringLiteral("\"%1\" %2 pt, bold %3 italic %4 underline %5 strike %6").arg(entry.face)
            .arg(entry.size, 0, 'g', 17).arg(entry.bold).arg(entry.italic).arg(entry.underline).arg(entry.strikeOut);
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
QList<int> boxNumbers(const ScriptedMessages &dialogs)
{
    static const QRegularExpression number(QStringLiteral("^Fehler: (\\d+) - "));
    QList<int> numbers;
    for (const ScriptedMessages::Shown &box : dialogs.shown())
        numbers.append(number.match(box.text).captured(1).toInt());
    return numbers;
}

void queue(ScriptedMessages &dialogs, const QList<int> &answers)
{
    for (const int answer : answers)
        dialogs.answer(static_cast<Dialogs::Answer>(answer));
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

// "left top width height | column widths", "-" for a value kept.
QString describe(const WindowEntry::Reading &reading)
{
    QStringList words;
    if (reading.centre)
        words << QStringLiteral("centre");
    for (const std::optional<double> &edge : {reading.left, reading.top, reading.width, reading.height})
        words << (edge ? QString::number(*edge, 'g', 17) : QStringLiteral("-"));
    words << QStringLiteral("|");
    for (const double width : reading.columnWidths)
        words << QString::number(width, 'g', 17);
    return words.join(QLatin1Char(' '));
}

// A font entry read with every failure answered by Ignore.
FontEntry readBack(const QString &text)
{
    ScriptedMessages dialogs;
    queue(dialogs, QList<int>(6, Ignore));
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    ErrorProtocol(loadMessage).run(reader.steps());
    return entry;
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
    void colourRgb_data();
    void colourRgb();
    void colourText_data();
    void colourText();
    void gridWrite_data();
    void gridWrite();
    void gridRead_data();
    void gridRead();
    void limitMessages_data();
    void limitMessages();
    void widthWrite_data();
    void widthWrite();
    void widthRead_data();
    void widthRead();
    void windowWrite_data();
    void windowWrite();
    void windowRead_data();
    void windowRead();
};

// Every format's text comes back from the store character for character; the
// commas, semicolons and leading ";" must not turn it into a list.
void TestSettingsFormats::storeKeepsTexts_data()
{
    QTest::addColumn<QString>("stored"); // a null text: nothing stored
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing stored gives the default") << QString() << "Vorgabe";
    QTest::newRow("an empty text is no default") << "" << "";
    QTest::newRow("grid layout") << "2 - 1440;1 - 0;0 - 2400,5;" << "2 - 1440;1 - 0;0 - 2400,5;";
    QTest::newRow("width list") << ";1234,5;600;" << ";1234,5;600;";
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

// "readsBack": the entry the reader makes of the written text, starting from
// startFont(); equal to the entry where the format keeps everything.
void TestSettingsFormats::fontWrite_data()
{
    QTest::addColumn<FontEntry>("entry");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<FontEntry>("readsBack");
    const FontEntry bold = font("Arial", 10, true, false, false, false);
    const FontEntry flags = font("Courier New", 12, true, true, true, true);
    const FontEntry fine = font(" Schrift, fein. ", 8.25, true, true, false, true);
    const FontEntry large = font("Arial", 1234.5, false, false, true, false);
    const FontEntry smallest = font("Arial", 0.0001, false, false, true, false);
    QTest::newRow("Arial 10 bold") << bold << "Arial;10;-1;0;0;0" << bold;
    QTest::newRow("every flag set") << flags << "Courier New;12;-1;-1;-1;-1" << flags;
    QTest::newRow("8.25 with decimal comma, face kept as it stands") << fine << " Schrift, fein. ;8,25;-1;-1;0;-1" << fine;
    QTest::newRow("no trailing zeros, no grouping") << large << "Arial;1234,5;0;0;-1;0" << large;
    QTest::newRow("smallest size") << smallest << "Arial;0,0001;0;0;-1;0" << smallest;
    QTest::newRow("fifth decimal rounded") << font("Arial", 7.00006, false, false, false, true) << "Arial;7,0001;0;0;0;-1"
                                           << font("Arial", 7.0001, false, false, false, true);
    QTest::newRow("size below four decimals is 0, which the reader refuses")
            << font("Arial", 0.00001, false, false, false, false) << "Arial;0;0;0;0;0"
            << font("Arial", 12, false, false, false, false);
}

void TestSettingsFormats::fontWrite()
{
    QFETCH(FontEntry, entry);
    QFETCH(QString, expected);
    QFETCH(FontEntry, readsBack);
    QCOMPARE(entry.toText(), expected);
    QCOMPARE(describe(readBack(expected)), describe(readsBack));
}

// "answers" to the boxes in order; none given: each failure is ignored, and
// the reader goes on with the next field, the failed field keeping the font's
// own value.
void TestSettingsFormats::fontRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("result");
    QTest::addColumn<FontEntry>("expected");
    const QList<int> nan{noNumber};
    const FontEntry sizeKept = font("Arial", 12, true, false, false, false);
    const auto row = [](const char *name, const char *text, const FontEntry &expected, const QList<int> &errors = {},
                        const QList<int> &answers = {}, bool result = true) {
        QTest::newRow(name) << QString(text) << errors << answers << result << expected;
    };
    row("any non-zero number is on", "Arial;10;1;2;-5;0,5", font("Arial", 10, true, true, true, true));
    row("blanks around numbers, face kept as it stands", " Schöne Schrift ; 9 ; -1 ;0;0; 0 ", font(" Schöne Schrift ", 9, true, false, false, false));
    row("size rounded to four decimals", "Arial;8,12346;0;0;0;0", font("Arial", 8.1235, false, false, false, false));
    row("largest size", "Arial;2048;0;0;0;0", font("Arial", 2048, false, false, false, false));
    row("empty text changes nothing", "", startFont());
    row("size is a word", "Arial;zehn;-1;0;0;0", sizeKept, nan);
    row("size with decimal point", "Arial;10.5;-1;0;0;0", sizeKept, nan);
    row("size NaN", "Arial;NaN;-1;0;0;0", sizeKept, nan);
    row("size zero", "Arial;0;-1;0;0;0", sizeKept, {badSize});
    row("size rounds to zero", "Arial;0,00004;-1;0;0;0", sizeKept, {badSize});
    row("size above 2048", "Arial;2049;-1;0;0;0", sizeKept, {badSize});
    row("flag is a word", "Arial;10;-1;ja;0;0", font("Arial", 10, true, true, false, false), nan);
    row("face name alone", "Arial", startFont(), {cut, cut, cut, cut, cut, noNumber});
    row("face and one more field", "Arial;0", font("Arial", 12, false, true, true, false), {cut, cut, cut, cut});
    row("only separators", ";;;;;", font("", 12, false, true, true, true), {noNumber, noNumber, noNumber, noNumber, noNumber});
    row("; after the last field", "Arial;10;-1;0;0;0;", font("Arial", 10, true, false, false, true), nan);
    row("; in the face name splits it", "A;B;10;0;0;0;0", font("A", 12, true, false, false, true), {noNumber, noNumber});
    row("abort at the size keeps the face", "Arial;zehn;-1;0;0;0", font("Arial", 12, false, true, true, true), nan, {Abort}, false);
    row("retry fails again, then ignore", "Arial;zehn;-1;0;0;0", sizeKept, {noNumber, noNumber}, {Retry, Ignore});
    row("ignore then abort", "Arial", startFont(), {cut, cut}, {Ignore, Abort}, false);
    row("abort at the last field keeps the others", "Arial;10;-1;0;0;x", font("Arial", 10, true, false, false, true), nan, {Abort}, false);
}

void TestSettingsFormats::fontRead()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, errors);
    QFETCH(QList<int>, answers);
    QFETCH(bool, result);
    QFETCH(FontEntry, expected);
    ScriptedMessages dialogs;
    queue(dialogs, answers.isEmpty() ? QList<int>(errors.size(), Ignore) : answers);
    FontEntry entry = startFont();
    FontEntryReader reader(text, entry);
    QCOMPARE(ErrorProtocol(loadMessage).run(reader.steps()), result);
    QCOMPARE(describe(entry), describe(expected));
    QCOMPARE(boxNumbers(dialogs), errors);
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.unexpected(), 0);
}

// ---------------------------------------------------------------- colour value

// 0x00BBGGRR, red in the lowest byte; a value with the fourth byte set (a
// system colour) is no colour. "back" is what the value gives back.
void TestSettingsFormats::colourRgb_data()
{
    QTest::addColumn<Rgb>("rgb");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("isColour");
    QTest::addColumn<Rgb>("back");
    QTest::newRow("red in the lowest byte: 0x563412") << Rgb{0x12, 0x34, 0x56} << 5649426 << true << Rgb{0x12, 0x34, 0x56};
    QTest::newRow("black") << Rgb{0, 0, 0} << 0 << true << Rgb{0, 0, 0};
    QTest::newRow("white") << Rgb{255, 255, 255} << 16777215 << true << Rgb{255, 255, 255};
    QTest::newRow("components clamped to 0..255") << Rgb{300, -5, 128} << 8388863 << true << Rgb{255, 0, 128};
    QTest::newRow("system colour 0x80000008") << Rgb{} << int(-2147483640) << false << Rgb{};
    QTest::newRow("fourth byte set") << Rgb{} << 16777216 << false << Rgb{};
}

void TestSettingsFormats::colourRgb()
{
    QFETCH(Rgb, rgb);
    QFETCH(int, value);
    QFETCH(bool, isColour);
    QFETCH(Rgb, back);
    const std::optional<Rgb> read = ColourValue::toRgb(value);
    QCOMPARE(read.has_value(), isColour);
    if (!isColour)
        return;
    QCOMPARE(ColourValue::fromRgb(rgb.red, rgb.green, rgb.blue), value);
    QCOMPARE(*read, back);
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

// "readsBack": the grid layout's operations for the written text on a grid of
// as many columns.
void TestSettingsFormats::gridWrite_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("readsBack");
    QTest::newRow("reverse order, second hidden") << std::vector<ColumnState>{{1440, true, 2}, {600, false, 1}, {2400, true, 0}}
                                                  << "2 - 1440;1 - 0;0 - 2400;" << "c0@2=1440 c1@1=hide c2@0=2400";
    QTest::newRow("grid without columns") << std::vector<ColumnState>{} << "" << "";
    QTest::newRow("seven significant digits, decimal comma, read in single precision")
            << std::vector<ColumnState>{{12345.678, true, 0}} << "0 - 12345,68;"
            << "c0@0=" + QString::number(double(12345.68f), 'g', 17);
    QTest::newRow("shuffled with fractions")
            << std::vector<ColumnState>{{900.5, true, 1}, {1234.5, true, 3}, {2000, false, 0}, {0.25, true, 2}}
            << "1 - 900,5;3 - 1234,5;0 - 0;2 - 0,25;" << "c1@3=1234.5 c3@2=0.25 c0@1=900.5 c2@0=hide";
    QTest::newRow("visible column 0 wide comes back hidden") << std::vector<ColumnState>{{0, true, 0}, {800, true, 1}}
                                                             << "0 - 0;1 - 800;" << "c1@1=800 c0@0=hide";
}

void TestSettingsFormats::gridWrite()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    QFETCH(QString, readsBack);
    QCOMPARE(GridLayout::toText(grid), expected);
    ScriptedMessages dialogs;
    const GridLayout::Reading reading = readLayout(expected, int(grid.size()));
    QVERIFY(!reading.aborted);
    QCOMPARE(describe(reading.operations), readsBack);
    QVERIFY(dialogs.shown().empty());
}

// "answers" as for the font entry: none given, each failure is ignored.
void TestSettingsFormats::gridRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("aborted");
    QTest::addColumn<QString>("expected");
    const QList<int> nan{noNumber};
    const auto row = [](const char *name, const char *text, int columnCount, const char *expected,
                        const QList<int> &errors = {}, const QList<int> &answers = {}, bool aborted = false) {
        QTest::newRow(name) << QString(text) << columnCount << errors << answers << aborted << QString(expected);
    };
    row("two columns on one position, collection order", "1 - 500;1 - 700;0 - 900;", 3, "c0@1=500 c1@1=700 c2@0=900");
    row("fewer pieces: the rest go to 0 and hide", "1 - 1000;0 - 2000;", 4, "c0@1=1000 c1@0=2000 c2@0=hide c3@0=hide");
    row("more pieces than columns", "1 - 1000;0 - 2000;2 - 3000;", 2, "c0@1=1000 c1@0=2000");
    row("extra piece that is no number is silent", "1 - 1000;0 - 2000;x - y;", 2, "c0@1=1000 c1@0=2000");
    row("grid without columns", "0 - 1000;1 - 2000;", 0, "");
    row("position equal to the column count is never applied", "2 - 1000;0 - 2000;", 2, "c1@0=2000");
    row("position above the column count stores nothing", "5 - 1000;0 - 2000;", 2, "c0@0=hide c1@0=2000");
    row("position with decimal comma", "1,0 - 1000;0 - 2000;", 2, "c0@1=1000 c1@0=2000");
    row("failed position keeps the one before", "1 - 1000;x - 2000;", 2, "c0@1=1000 c1@1=2000", nan);
    row("negative position is cut at its sign", "-1 - 1000;", 1, "c0@0=hide", QList<int>{noNumber, noNumber});
    row("huge position overflows", "1E+20 - 100;", 1, "c0@0=100", QList<int>{overflow});
    row("width with decimal point is no number", "0 - 1234.5;", 1, "c0@0=hide", nan);
    row("negative width hides", "0 - -5;", 1, "c0@0=hide");
    row("single precision", "0 - 16777217;", 1, "c0@0=16777216");
    row("positive width below single precision is set as 0", "0 - 1E-300;", 1, "c0@0=0");
    row("width beyond single precision is refused", "0 - 1E+300;", 1, "c0@0=keep", QList<int>{overflow});
    row("no ; at all: every column to 0 and hidden", "0 - 1000", 3, "c0@0=hide c1@0=hide c2@0=hide");
    row("tail without ; repeats the piece before", "0 - 1440;1 - 2400", 2, "c0@0=1440 c1@0=1440");
    row("empty piece repeats the values before", "1 - 500;;", 2, "c0@1=500 c1@1=500");
    row("leading ; gives an empty first piece", ";1 - 500;", 2, "c1@1=500 c0@0=hide");
    row("nothing stored leaves the grid alone", "", 2, "");
    row("abort while reading applies nothing", "0 - breit;1 - 1000;", 2, "", nan, QList<int>{Abort}, true);
    row("retry fails again, then ignore keeps the width before", "1 - 1000;0 - breit;", 2, "c0@1=1000 c1@0=1000", QList<int>{noNumber, noNumber}, QList<int>{Retry, Ignore});
    row("abort on a width keeps the moves before it", "1 - 1000;0 - 1E+300;", 2, "c0@1=1000 c1@0=keep", QList<int>{overflow}, QList<int>{Abort}, true);
    row("abort at the position skips the width", "0 - 1000;x - breit;", 2, "", nan, QList<int>{Abort}, true);
}

void TestSettingsFormats::gridRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(QList<int>, errors);
    QFETCH(QList<int>, answers);
    QFETCH(bool, aborted);
    QFETCH(QString, expected);
    ScriptedMessages dialogs;
    queue(dialogs, answers.isEmpty() ? QList<int>(errors.size(), Ignore) : answers);
    const GridLayout::Reading reading = readLayout(text, columnCount);
    QCOMPARE(reading.stored, !text.isEmpty());
    QCOMPARE(reading.aborted, aborted);
    QCOMPARE(describe(reading.operations), expected);
    QCOMPARE(boxNumbers(dialogs), errors);
    QVERIFY(dialogs.allAnswersUsed());
    QCOMPARE(dialogs.unexpected(), 0);
}

// A value beyond its limits is told with its own cause and the true limits:
// the font keeps four decimals, so 0,0001 is its smallest size.
void TestSettingsFormats::limitMessages_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString sizeLimits = QStringLiteral("mindestens 0,0001 und höchstens 2048 Punkt betragen.");
    const auto size = [&](const char *name, const char *field, const char *cause) {
        QTest::newRow(name) << "font" << QStringLiteral("Arial;%1;0;0;0;0").arg(field)
                            << QStringLiteral("Fehler: 380 - Die Schriftgröße \"%1\" ist zu %2: Sie muss ")
                                       .arg(field, cause) + sizeLimits;
    };
    size("font size zero", "0", "klein");
    size("font size rounding to zero", "0,00004", "klein");
    size("negative font size", "-10", "klein");
    size("font size above 2048", "2048,0001", "groß");
    QTest::newRow("column position beyond 32 bits")
            << "layout" << "1E+20 - 100;"
            << "Fehler: 6 - Die Spaltenposition \"1E+20\" liegt außerhalb des Zahlenbereichs von -2147483648 bis "
               "2147483647.";
    QTest::newRow("column width beyond single precision")
            << "layout" << "0 - 1E+300;"
            << "Fehler: 6 - Die Spaltenbreite 1E+300 ist zu groß: Sie darf höchstens 3,402823E+38 betragen.";
}

void TestSettingsFormats::limitMessages()
{
    QFETCH(QString, reader);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ScriptedMessages dialogs;
    queue(dialogs, {Ignore});
    FontEntry entry = startFont();
    FontEntryReader fontReader(text, entry);
    if (reader == QLatin1String("font"))
        ErrorProtocol(loadMessage).run(fontReader.steps());
    else
        readLayout(text, 1);
    QCOMPARE(dialogs.shown().size(), std::size_t(1));
    QCOMPARE(dialogs.shown().front().text, message + QLatin1Char('\n') + loadMessage);
}

// ---------------------------------------------------------------- width list

// "readsBack": the widths read from the written text for as many columns.
void TestSettingsFormats::widthWrite_data()
{
    QTest::addColumn<std::vector<ColumnState>>("grid");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<double>>("readsBack");
    QTest::newRow("no columns") << columns({}) << ";" << QList<double>{};
    QTest::newRow("decimal comma, width 0") << columns({1234.5, 0, 0.25, 99999.5}) << ";1234,5;0;0,25;99999,5;"
                                            << QList<double>{1234.5, 0, 0.25, 99999.5};
    QTest::newRow("collection order, hidden column keeps its width")
            << std::vector<ColumnState>{{600, true, 2}, {2400, false, 0}, {1500, true, 1}} << ";600;2400;1500;"
            << QList<double>{600, 2400, 1500};
}

void TestSettingsFormats::widthWrite()
{
    QFETCH(std::vector<ColumnState>, grid);
    QFETCH(QString, expected);
    QFETCH(QList<double>, readsBack);
    QCOMPARE(WidthList::toText(grid), expected);
    QCOMPARE(asList(WidthList::fromText(expected, int(grid.size()))), readsBack);
}

void TestSettingsFormats::widthRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("nothing stored") << "" << 3 << QList<double>{};
    QTest::newRow("grid without columns saved") << ";" << 3 << QList<double>{};
    QTest::newRow("no grid") << ";600;2400;1500;" << 0 << QList<double>{};
    QTest::newRow("more fields than columns") << ";600;2400;1500;" << 2 << QList<double>{600, 2400};
    QTest::newRow("fewer fields than columns") << ";600;2400;1500;" << 5 << QList<double>{600, 2400, 1500};
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

// ---------------------------------------------------------------- window entry

// "readsBack": the reading of the written text, as describe() shows it.
void TestSettingsFormats::windowWrite_data()
{
    QTest::addColumn<WindowGeometry>("window");
    QTest::addColumn<QList<double>>("widths");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("readsBack");
    QTest::newRow("main window with three columns")
            << WindowGeometry{1200, 900, 9000, 6000} << QList<double>{600, 2400, 1500}
            << "1200;900;9000;6000;600;2400;1500;" << "1200 900 9000 6000 | 600 2400 1500";
    QTest::newRow("decimal comma: edges read back cut at the comma, columns whole")
            << WindowGeometry{1234.5, 0, 9000.25, 6000} << QList<double>{1234.5}
            << "1234,5;0;9000,25;6000;1234,5;" << "1234 0 9000 6000 | 1234.5";
    QTest::newRow("left of the primary screen, no grid") << WindowGeometry{-7680, -15, 9000, 6000} << QList<double>{}
                                                         << "-7680;-15;9000;6000;" << "-7680 -15 9000 6000 |";
}

void TestSettingsFormats::windowWrite()
{
    QFETCH(WindowGeometry, window);
    QFETCH(QList<double>, widths);
    QFETCH(QString, expected);
    QFETCH(QString, readsBack);
    QCOMPARE(WindowEntry::toText(window, columns(widths)), expected);
    QCOMPARE(describe(WindowEntry::fromText(expected, int(widths.size()))), readsBack);
}

void TestSettingsFormats::windowRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columnCount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing stored centres the window") << "" << 3 << "centre - - - - |";
    QTest::newRow("no grid passed for an entry with widths") << "1200;900;9000;6000;600;2400;" << 0
                                                             << "1200 900 9000 6000 |";
    QTest::newRow("width 0 keeps the width") << "1200;900;0;6000;" << 0 << "1200 900 - 6000 |";
    QTest::newRow("negative height keeps the height") << "1200;900;9000;-50;" << 0 << "1200 900 9000 - |";
    QTest::newRow("word as width keeps the width") << "1200;900;breit;6000;" << 0 << "1200 900 - 6000 |";
    QTest::newRow("positive width below single precision becomes 0") << "1200;900;1E-300;6000;" << 0
                                                                      << "1200 900 0 6000 |";
    QTest::newRow("left and top applied when 0 or negative") << "-300;0;9000;6000;" << 0 << "-300 0 9000 6000 |";
    QTest::newRow("words read as 0") << "links;oben;9000;6000;" << 0 << "0 0 9000 6000 |";
    QTest::newRow("single precision, blanks inside the number") << " 16 777 217 ;900;9000;6000;" << 0
                                                                << "16777216 900 9000 6000 |";
    QTest::newRow("more fields than columns") << "1200;900;9000;6000;600;2400;1500;" << 2
                                              << "1200 900 9000 6000 | 600 2400";
    QTest::newRow("fewer fields than columns") << "1200;900;9000;6000;600;2400;1500;" << 5
                                               << "1200 900 9000 6000 | 600 2400 1500";
    QTest::newRow("no ; at all") << "1200" << 3 << "- - - - |";
    QTest::newRow("width without ;") << "1200;900;9000" << 3 << "1200 900 - - |";
    QTest::newRow("column field without ;") << "1200;900;9000;6000;600;2400" << 3 << "1200 900 9000 6000 | 600";
    QTest::newRow("; alone after the last column is no field") << "1200;900;9000;6000;600;;" << 2
                                                               << "1200 900 9000 6000 | 600";
    QTest::newRow("left beyond single precision") << "1E+39;900;9000;6000;" << 0 << "- - - - |";
    QTest::newRow("width beyond single precision") << "1200;900;1E+300;6000;" << 0 << "1200 900 - - |";
    QTest::newRow("column beyond single precision") << "1200;900;9000;6000;600;1E+39;1500;" << 3
                                                    << "1200 900 9000 6000 | 600";
}

void TestSettingsFormats::windowRead()
{
    QFETCH(QString, text);
    QFETCH(int, columnCount);
    QFETCH(QString, expected);
    QCOMPARE(describe(WindowEntry::fromText(text, columnCount)), expected);
}

QTEST_GUILESS_MAIN(TestSettingsFormats)
#include "tst_settingsformats.moc"
