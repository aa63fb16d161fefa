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

#include <QtTest>

// Writes a text of a format from a value, for the rows that read back what the program writes.
using Writer = std::function<QString()>;
Q_DECLARE_METATYPE(Writer)

namespace {

constexpr int Abort = 3, Retry = 4, Ignore = 5;
const QString loadMessage = QStringLiteral("Fehler beim Laden");

// "face|size|bold italic underline strikeOut" with the flags as 0 and 1.
QString describe(const FontEntry &entry)
{
    return QStringLiteral("%1|%2|%3%4%5%6").arg(entry.face).arg(entry.size, 0, 'g', 10).arg(entry.bold)
            .arg(entry.italic).arg(entry.underline).arg(entry.strikeOut);
}

// The grid layout's operations in order, one word each: "c2@0=2400" moves
// column 2 to display position 0 and makes it 2400 wide; "=hide" hides it,
// "=keep" leaves its width.
QString describe(const std::vector<GridLayout::Operation> &operations)
{
    using Change = GridLayout::Operation::Change;
    QStringList words;
    for (const GridLayout::Operation &op : operations)
        words << QStringLiteral("c%1@%2=%3").arg(op.column).arg(op.displayPosition).arg(
                op.change == Change::Hide ? "hide" : op.change == Change::KeepWidth ? "keep" : QString::number(op.width, 'g', 17));
    return words.join(QLatin1Char(' '));
}

QString numbers(const std::vector<double> &values)
{
    QStringList words;
    for (const double value : values)
        words << QString::number(value, 'g', 17);
    return words.join(QLatin1Char(' '));
}

// "left top width height | column widths", "-" for a value kept.
QString describe(const WindowEntry::Reading &reading)
{
    QStringList words(reading.centre, QStringLiteral("centre"));
    for (const std::optional<double> &edge : {reading.left, reading.top, reading.width, reading.height})
        words << (edge ? QString::number(*edge, 'g', 17) : QStringLiteral("-"));
    return (words << QStringLiteral("|") << numbers(reading.columnWidths)).join(QLatin1Char(' ')).trimmed();
}

} // namespace

class TestSettingsFormats : public QObject
{
    Q_OBJECT

private slots:
    // The text of a format ("font", "grid N", "widths N", "window N" for N
    // columns, "colour") read, first written from a value where the program
    // writes it; the store gives every text back as it was. The font entry and
    // the grid layout report what they cannot read; each failure is answered as
    // given, else ignored, and the reader goes on, the failed field keeping its
    // value ("completed": false after Abort). A font size beyond its limits is
    // told with the true limits: four decimals make 0,0001 the smallest size.
    void read_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<Writer>("write");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *format, const char *text, const QString &expected,
                            const QStringList &boxes = {}, const QList<int> &answers = {}, bool completed = true) {
            QTest::newRow(name) << QString(format) << Writer() << QString(text) << boxes
                                << (answers.isEmpty() ? QList<int>(boxes.size(), Ignore) : answers) << completed << expected;
        };
        const auto written = [](const char *name, const char *format, const Writer &write, const char *text,
                                const QString &expected) {
            QTest::newRow(name) << QString(format) << write << QString(text) << QStringList() << QList<int>() << true << expected;
        };
        row("store: nothing stored gives the default", "store", nullptr, "Vorgabe, none stored");
        row("store: an empty text is no default", "store", "", "");
        row("store: commas, quotes, semicolons", "store", ";Schrift, \"fein\";2 - 2400,5;", ";Schrift, \"fein\";2 - 2400,5;");
        const QString limits = QStringLiteral(": Sie muss mindestens 0,0001 und höchstens 2048 Punkt betragen.");
        const auto font = [](const FontEntry &entry) { return [entry] { return entry.toText(); }; };
        written("font: every flag, a whole size without a comma", "font", font({"Arial", 12, true, true, true, true}),
                "Arial;12;-1;-1;-1;-1", "Arial|12|1111");
        written("font: four decimals rounded, no zeros after them, no grouping, face kept as it stands", "font",
                font({" Schrift, fein. ", 1234.49996, true, true, false, true}), " Schrift, fein. ;1234,5;-1;-1;0;-1",
                " Schrift, fein. |1234.5|1101");
        row("font: smallest size", "font", "Arial;0,0001;0;0;-1;0", "Arial|0.0001|0010");
        row("font: any non-zero number is on", "font", "Arial;10;1;2;-5;0,5", "Arial|10|1111");
        row("font: size rounded to four decimals", "font", "Arial;8,12346;0;0;0;0", "Arial|8.1235|0000");
        row("font: largest size", "font", "Arial;2048;0;0;0;0", "Arial|2048|0000");
        row("font: empty text changes nothing", "font", "", "Courier New|12|0111");
        row("font: size NaN", "font", "Arial;NaN;-1;0;0;0", "Arial|12|1000", {"13"});
        row("font: size rounds to zero", "font", "Arial;0,00004;0;0;0;0", "Arial|12|0000", {"380 - Die Schriftgröße "
            "\"0,00004\" ist zu klein" + limits});
        row("font: size above 2048", "font", "Arial;2048,0001;0;0;0;0", "Arial|12|0000",
            {"380 - Die Schriftgröße \"2048,0001\" ist zu groß" + limits});
        row("font: face name alone", "font", "Arial", "Courier New|12|0111", {"5", "5", "5", "5", "5", "13"});
        row("font: ; after the last field", "font", "Arial;10;-1;0;0;0;", "Arial|10|1001", {"13"});
        row("font: abort at the size keeps the face", "font", "Arial;zehn;-1;0;0;0", "Arial|12|0111", {"13"}, {Abort}, false);
        row("font: retry fails again, ignore", "font", "Arial;zehn;-1;0;0;0", "Arial|12|1000", {"13", "13"}, {Retry, Ignore});
        // "position - width;" per column in collection order, 0 for hidden.
        const auto grid = [](const std::vector<ColumnState> &columns) { return [columns] { return GridLayout::toText(columns); }; };
        written("grid: reverse order, second hidden", "grid 3", grid({{1440, true, 2}, {600, false, 1}, {2400, true, 0}}),
                "2 - 1440;1 - 0;0 - 2400;", "c0@2=1440 c1@1=hide c2@0=2400");
        written("grid: seven digits, decimal comma, read as single", "grid 1", grid({{12345.678, true, 0}}), "0 - 12345,68;",
                "c0@0=" + QString::number(double(12345.68f), 'g', 17));
        row("grid: two columns on one position, in order", "grid 3", "1 - 500;1 - 700;0 - 900;", "c0@1=500 c1@1=700 c2@0=900");
        row("grid: fewer pieces: the rest hidden at 0", "grid 4", "1 - 1000;0 - 2000;", "c0@1=1000 c1@0=2000 c2@0=hide c3@0=hide");
        row("grid: more pieces than columns, one no number", "grid 2", "1 - 1000;0 - 2000;x - y;", "c0@1=1000 c1@0=2000");
        row("grid: position equal to the column count not applied", "grid 2", "2 - 1000;0 - 2000;", "c1@0=2000");
        row("grid: position above the column count", "grid 2", "5 - 1000;0 - 2000;", "c0@0=hide c1@0=2000");
        row("grid: failed position keeps the one before", "grid 2", "1 - 1000;x - 2000;", "c0@1=1000 c1@1=2000", {"13"});
        row("grid: negative position is cut at its sign", "grid 1", "-1 - 1000;", "c0@0=hide", {"13", "13"});
        row("grid: huge position overflows", "grid 1", "1E+20 - 100;", "c0@0=100",
            {"6 - Die Spaltenposition \"1E+20\" liegt außerhalb des Zahlenbereichs von -2147483648 bis 2147483647."});
        row("grid: negative width hides", "grid 1", "0 - -5;", "c0@0=hide");
        row("grid: single precision", "grid 1", "0 - 16777217;", "c0@0=16777216");
        row("grid: positive width below single precision is 0", "grid 1", "0 - 1E-300;", "c0@0=0");
        row("grid: width beyond single precision is refused", "grid 1", "0 - 1E+300;", "c0@0=keep",
            {"6 - Die Spaltenbreite 1E+300 ist zu groß: Sie darf höchstens 3,402823E+38 betragen."});
        row("grid: no ; at all: every column to 0 and hidden", "grid 3", "0 - 1000", "c0@0=hide c1@0=hide c2@0=hide");
        row("grid: tail without ; repeats the piece before", "grid 2", "0 - 1440;1 - 2400", "c0@0=1440 c1@0=1440");
        row("grid: empty piece repeats the values before", "grid 2", "1 - 500;;", "c0@1=500 c1@1=500");
        row("grid: nothing stored leaves the grid alone", "grid 2", "", "");
        row("grid: abort while reading applies nothing", "grid 2", "0 - breit;1 - 1000;", "", {"13"}, {Abort}, false);
        row("grid: retry fails again, ignore keeps the width before", "grid 2", "1 - 1000;0 - breit;", "c0@1=1000 c1@0=1000",
            {"13", "13"}, {Retry, Ignore});
        row("grid: abort on a width keeps the moves before", "grid 2", "1 - 1000;0 - 1E+300;", "c0@1=1000 c1@0=keep", {"6"},
            {Abort}, false);
        // The widths in collection order, hidden columns too; the window entry's edges cut at a decimal comma.
        written("widths: in order, hidden kept, decimal comma, 0", "widths 4",
                [] { return WidthList::toText({{600, true, 2}, {1234.5, false, 0}, {0, true, 1}, {0.25, true, 3}}); },
                ";600;1234,5;0;0,25;", "600 1234.5 0 0.25");
        row("widths: more fields than columns", "widths 2", ";600;2400;1500;", "600 2400");
        row("widths: fewer fields than columns", "widths 5", ";600;2400;1500;", "600 2400 1500");
        row("widths: decimal point read too", "widths 1", ";1234.5;", "1234.5");
        row("widths: single precision", "widths 2", ";0,1;16777217;", QString::number(double(0.1f), 'g', 17) + " 16777216");
        row("widths: word reads 0", "widths 2", ";breit;2400;", "0 2400");
        row("widths: no leading ;", "widths 2", "600;2400;", "600 2400");
        row("widths: no ; at all", "widths 2", "600", "");
        row("widths: ; alone after the last field is no field", "widths 2", ";600;;", "600");
        row("widths: width beyond single precision stops", "widths 3", ";600;1E+39;1500;", "600");
        written("window: decimal comma, left of the primary screen, three columns", "window 3",
                [] { return WindowEntry::toText({-7680.5, -15, 9000.25, 6000}, {{600, true, 0}, {2400, true, 1}, {1500, true, 2}}); },
                "-7680,5;-15;9000,25;6000;600;2400;1500;", "-7680 -15 9000 6000 | 600 2400 1500");
        row("window: nothing stored centres the window", "window 3", "", "centre - - - - |");
        row("window: width 0 keeps the width", "window 0", "1200;900;0;6000;", "1200 900 - 6000 |");
        row("window: width below single precision is 0", "window 0", "1200;900;1E-300;6000;", "1200 900 0 6000 |");
        row("window: left and top applied when 0 or negative", "window 0", "-300;0;9000;6000;", "-300 0 9000 6000 |");
        row("window: single precision, blanks inside", "window 0", " 16 777 217 ;900;9000;6000;", "16777216 900 9000 6000 |");
        row("window: width without ;", "window 3", "1200;900;9000", "1200 900 - - |");
        row("window: left beyond single precision", "window 0", "1E+39;900;9000;6000;", "- - - - |");
        row("window: width beyond single precision", "window 0", "1200;900;1E+300;6000;", "1200 900 - - |");
        // 0x00BBGGRR, red in the lowest byte, written in decimal without grouping and read as a German number rounded
        // halves to even, within 32 bits; a value with the fourth byte set (a system colour) is no colour ("-").
        row("colour: red in the lowest byte, 0x563412", "colour", "5649426", "5649426 18 52 86");
        row("colour: black", "colour", "0", "0 0 0 0");
        row("colour: white", "colour", "16777215", "16777215 255 255 255");
        row("colour: fourth byte set", "colour", "16777216", "16777216 -");
        row("colour: lowest 32-bit value", "colour", "-2147483648", "-2147483648 -");
        row("colour: highest 32-bit value", "colour", "2147483647", "2147483647 -");
        row("colour: half rounds to even, down", "colour", "12,5", "12 12 0 0");
        row("colour: half rounds to even, up", "colour", "13,5", "14 14 0 0");
        row("colour: above 32 bits", "colour", "2147483648", "-");
        row("colour: below 32 bits", "colour", "-2147483649", "-");
        row("colour: hex notation", "colour", "&HFF", "-");
    }

    void read()
    {
        QFETCH(QString, format);
        QFETCH(Writer, write);
        QFETCH(QString, text);
        QFETCH(QStringList, boxes);
        QFETCH(QList<int>, answers);
        QFETCH(bool, completed);
        QFETCH(QString, expected);
        if (write)
            QCOMPARE(write(), text);
        ScriptedMessages shown(answers);
        const ErrorProtocol protocol(loadMessage);
        const int columnCount = format.section(QLatin1Char(' '), 1).toInt();
        bool done = true;
        QString read;
        if (format == QLatin1String("font")) {
            // Differs from every entry read in every field, so that a field left alone shows as such.
            FontEntry entry{QStringLiteral("Courier New"), 12, false, true, true, true};
            FontEntryReader reader(text, entry);
            done = protocol.run(reader.steps());
            read = describe(entry);
        } else if (format.startsWith(QLatin1String("grid"))) {
            const GridLayout::Reading reading = GridLayout::fromText(
                    text, columnCount, [&](const std::function<void()> &step) { return protocol.runStep(step); });
            QCOMPARE(reading.stored, !text.isEmpty());
            done = !reading.aborted;
            read = describe(reading.operations);
        } else if (format.startsWith(QLatin1String("widths"))) {
            read = numbers(WidthList::fromText(text, columnCount));
        } else if (format == QLatin1String("store")) {
            const TempSettings settings;
            const QString section = QStringLiteral("Positionen"), key = QStringLiteral("TDBGrid2");
            if (!text.isNull())
                SettingsStore::write(section, key, text);
            read = SettingsStore::read(section, key, QStringLiteral("Vorgabe")) + (settings.contains(section, key) ? "" : ", none stored");
        } else if (format == QLatin1String("colour")) {
            const std::optional<qint32> value = ColourValue::fromText(text);
            const std::optional<ColourValue::Rgb> rgb = value ? ColourValue::toRgb(*value) : std::nullopt;
            read = !value ? QStringLiteral("-") : ColourValue::toText(*value) + ' '
                   + (rgb ? QStringLiteral("%1 %2 %3").arg(rgb->red).arg(rgb->green).arg(rgb->blue) : QStringLiteral("-"));
            if (rgb)
                QCOMPARE(ColourValue::fromRgb(rgb->red, rgb->green, rgb->blue), *value);
        } else {
            read = describe(WindowEntry::fromText(text, columnCount));
        }
        QCOMPARE(read, expected);
        QCOMPARE(done, completed);
        // Each box given by its number ("13") or by its whole first line without "Fehler: ".
        QCOMPARE(shown.boxes().size(), boxes.size());
        for (int i = 0; i < boxes.size(); ++i) {
            const QString start = "Fehler|Fehler: " + boxes.at(i) + (boxes.at(i).contains(' ') ? '\n' + loadMessage : " - ");
            QVERIFY2(shown.boxes().at(i).startsWith(start), qPrintable(shown.boxes().at(i)));
        }
        QVERIFY(shown.allAnswersUsed());
    }

    // Components outside 0..255 are clamped.
    void colourComponentsClamped() { QCOMPARE(ColourValue::fromRgb(300, -5, 128), ColourValue::fromRgb(255, 0, 128)); }
};

QTEST_GUILESS_MAIN(TestSettingsFormats)
#include "tst_settingsformats.moc"
