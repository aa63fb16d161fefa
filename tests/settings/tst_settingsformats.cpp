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

using ColourValue::Rgb;

Q_DECLARE_METATYPE(FontEntry)
Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(WindowGeometry)
Q_DECLARE_METATYPE(std::vector<ColumnState>)

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

// "left top width height | column widths", "-" for a value kept.
QString describe(const WindowEntry::Reading &reading)
{
    QStringList words(reading.centre, QStringLiteral("centre"));
    for (const std::optional<double> &edge : {reading.left, reading.top, reading.width, reading.height})
        words << (edge ? QString::number(*edge, 'g', 17) : QStringLiteral("-"));
    words << QStringLiteral("|");
    for (const double width : reading.columnWidths)
        words << QString::number(width, 'g', 17);
    return words.join(QLatin1Char(' '));
}

// The boxes shown, each given by its number ("13") or by its whole first line
// without "Fehler: " ("6 - Die Spaltenposition ...").
void compareBoxes(const ScriptedMessages &boxes, const QStringList &expected)
{
    QCOMPARE(boxes.boxes().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QString start = "Fehler|Fehler: " + expected.at(i) + (expected.at(i).contains(' ') ? '\n' + loadMessage : " - ");
        QVERIFY2(boxes.boxes().at(i).startsWith(start), qPrintable(boxes.boxes().at(i)));
    }
    QVERIFY(boxes.allAnswersUsed());
}

std::vector<ColumnState> columns(const QList<double> &widths)
{
    std::vector<ColumnState> list;
    for (const double width : widths)
        list.push_back(ColumnState{width, true, int(list.size())});
    return list;
}

} // namespace

class TestSettingsFormats : public QObject
{
    Q_OBJECT

private slots:
    // Every format's text comes back from the store character for character;
    // commas, quotes and a leading ";" must not turn it into a list.
    void storeKeepsTexts_data()
    {
        QTest::addColumn<QString>("stored"); // a null text: nothing stored
        QTest::newRow("nothing stored gives the default") << QString();
        QTest::newRow("an empty text is no default") << "";
        QTest::newRow("commas, quotes and semicolons") << ";Schrift, \"fein\";2 - 2400,5;";
    }

    void storeKeepsTexts()
    {
        QFETCH(QString, stored);
        TempSettings settings;
        if (!stored.isNull())
            SettingsStore::write(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2"), stored);
        QCOMPARE(SettingsStore::read(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2"), QStringLiteral("Vorgabe")),
                 stored.isNull() ? QStringLiteral("Vorgabe") : stored);
        QCOMPARE(settings.contains(QStringLiteral("Positionen"), QStringLiteral("TDBGrid2")), !stored.isNull());
    }

    // Each failure answered as given, else ignored: the reader goes on with
    // the next field, the failed field keeping the font's own value. A size
    // beyond its limits is told with the true limits: the font keeps four
    // decimals, so 0,0001 is its smallest size.
    void fontRead_data()
    {
        QTest::addColumn<FontEntry>("written"); // the entry the text is written from, or none
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *text, const char *expected, const QStringList &boxes = {},
                            const QList<int> &answers = {}, bool result = true) {
            QTest::newRow(name) << FontEntry() << QString(text) << boxes
                                << (answers.isEmpty() ? QList<int>(boxes.size(), Ignore) : answers) << result << QString(expected);
        };
        const auto written = [](const char *name, const FontEntry &entry, const char *text, const char *expected,
                                const QStringList &boxes = {}) {
            QTest::newRow(name) << entry << QString(text) << boxes << QList<int>(boxes.size(), Ignore) << true << QString(expected);
        };
        const QString limits = QStringLiteral(": Sie muss mindestens 0,0001 und höchstens 2048 Punkt betragen.");
        written("every flag set", {"Courier New", 12, true, true, true, true}, "Courier New;12;-1;-1;-1;-1", "Courier New|12|1111");
        written("8.25 with decimal comma, face kept as it stands", {" Schrift, fein. ", 8.25, true, true, false, true},
                " Schrift, fein. ;8,25;-1;-1;0;-1", " Schrift, fein. |8.25|1101");
        written("no trailing zeros, no grouping", {"Arial", 1234.5, false, false, true, false}, "Arial;1234,5;0;0;-1;0",
                "Arial|1234.5|0010");
        written("smallest size", {"Arial", 0.0001, false, false, true, false}, "Arial;0,0001;0;0;-1;0", "Arial|0.0001|0010");
        written("fifth decimal rounded", {"Arial", 7.00006, false, false, false, true}, "Arial;7,0001;0;0;0;-1", "Arial|7.0001|0001");
        written("size below four decimals is 0, which the reader refuses", {"Arial", 0.00001, false, false, false, false},
                "Arial;0;0;0;0;0", "Arial|12|0000", {"380 - Die Schriftgröße \"0\" ist zu klein" + limits});
        row("any non-zero number is on", "Arial;10;1;2;-5;0,5", "Arial|10|1111");
        row("blanks around numbers, face kept as it stands", " Schöne Schrift ; 9 ; -1 ;0;0; 0 ", " Schöne Schrift |9|1000");
        row("size rounded to four decimals", "Arial;8,12346;0;0;0;0", "Arial|8.1235|0000");
        row("largest size", "Arial;2048;0;0;0;0", "Arial|2048|0000");
        row("empty text changes nothing", "", "Courier New|12|0111");
        row("size with decimal point", "Arial;10.5;-1;0;0;0", "Arial|12|1000", {"13"});
        row("size NaN", "Arial;NaN;-1;0;0;0", "Arial|12|1000", {"13"});
        row("size zero", "Arial;0;-1;0;0;0", "Arial|12|1000", {"380 - Die Schriftgröße \"0\" ist zu klein" + limits});
        row("size rounds to zero", "Arial;0,00004;0;0;0;0", "Arial|12|0000",
            {"380 - Die Schriftgröße \"0,00004\" ist zu klein" + limits});
        row("negative size", "Arial;-10;0;0;0;0", "Arial|12|0000", {"380 - Die Schriftgröße \"-10\" ist zu klein" + limits});
        row("size above 2048", "Arial;2048,0001;0;0;0;0", "Arial|12|0000",
            {"380 - Die Schriftgröße \"2048,0001\" ist zu groß" + limits});
        row("flag is a word", "Arial;10;-1;ja;0;0", "Arial|10|1100", {"13"});
        row("face name alone", "Arial", "Courier New|12|0111", {"5", "5", "5", "5", "5", "13"});
        row("face and one more field", "Arial;0", "Arial|12|0110", {"5", "5", "5", "5"});
        row("; after the last field", "Arial;10;-1;0;0;0;", "Arial|10|1001", {"13"});
        row("abort at the size keeps the face", "Arial;zehn;-1;0;0;0", "Arial|12|0111", {"13"}, {Abort}, false);
        row("retry fails again, then ignore", "Arial;zehn;-1;0;0;0", "Arial|12|1000", {"13", "13"}, {Retry, Ignore});
        row("abort at the last field keeps the others", "Arial;10;-1;0;0;x", "Arial|10|1001", {"13"}, {Abort}, false);
    }

    void fontRead()
    {
        QFETCH(FontEntry, written);
        QFETCH(QString, text);
        QFETCH(QStringList, boxes);
        QFETCH(QList<int>, answers);
        QFETCH(bool, result);
        QFETCH(QString, expected);
        if (!written.face.isEmpty())
            QCOMPARE(written.toText(), text);
        ScriptedMessages shown(answers);
        // Differs from every entry read in every field, so that a field left alone shows as such.
        FontEntry entry{QStringLiteral("Courier New"), 12, false, true, true, true};
        FontEntryReader reader(text, entry);
        QCOMPARE(ErrorProtocol(loadMessage).run(reader.steps()), result);
        QCOMPARE(describe(entry), expected);
        compareBoxes(shown, boxes);
    }

    // 0x00BBGGRR, red in the lowest byte, components clamped to 0..255; a value
    // with the fourth byte set (a system colour) is no colour.
    void colourRgb_data()
    {
        QTest::addColumn<Rgb>("rgb");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("back"); // "red green blue" of toRgb, "-" for no colour
        QTest::newRow("red in the lowest byte: 0x563412") << Rgb{0x12, 0x34, 0x56} << 5649426 << "18 52 86";
        QTest::newRow("black") << Rgb{0, 0, 0} << 0 << "0 0 0";
        QTest::newRow("white") << Rgb{255, 255, 255} << 16777215 << "255 255 255";
        QTest::newRow("components clamped to 0..255") << Rgb{300, -5, 128} << 8388863 << "255 0 128";
        QTest::newRow("system colour 0x80000008") << Rgb{} << int(-2147483640) << "-";
        QTest::newRow("fourth byte set") << Rgb{} << 16777216 << "-";
    }

    void colourRgb()
    {
        QFETCH(Rgb, rgb);
        QFETCH(int, value);
        QFETCH(QString, back);
        const std::optional<Rgb> read = ColourValue::toRgb(value);
        QCOMPARE(read ? QStringLiteral("%1 %2 %3").arg(read->red).arg(read->green).arg(read->blue) : "-", back);
        if (read)
            QCOMPARE(ColourValue::fromRgb(rgb.red, rgb.green, rgb.blue), value);
    }

    // Written in decimal without grouping; read as a German number rounded
    // halves to even, within 32 bits; "written": toText gives the text back.
    void colourText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // "-" for no value
        QTest::addColumn<bool>("written");
        QTest::newRow("system colour") << "-2147483640" << "-2147483640" << true;
        QTest::newRow("lowest 32-bit value") << "-2147483648" << "-2147483648" << true;
        QTest::newRow("highest 32-bit value") << "2147483647" << "2147483647" << true;
        QTest::newRow("half rounds to even, down") << "12,5" << "12" << false;
        QTest::newRow("half rounds to even, up") << "13,5" << "14" << false;
        QTest::newRow("above 32 bits") << "2147483648" << "-" << false;
        QTest::newRow("below 32 bits") << "-2147483649" << "-" << false;
        QTest::newRow("hex notation") << "&HFF" << "-" << false;
    }

    void colourText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(bool, written);
        const std::optional<qint32> value = ColourValue::fromText(text);
        QCOMPARE(value ? QString::number(*value) : QStringLiteral("-"), expected);
        if (written)
            QCOMPARE(ColourValue::toText(*value), text);
    }

    // Failures answered as given, else ignored, as for the font entry.
    void gridRead_data()
    {
        QTest::addColumn<std::vector<ColumnState>>("written"); // the columns the text is written from, or none
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("aborted");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *text, int columnCount, const char *expected,
                            const QStringList &boxes = {}, const QList<int> &answers = {}, bool aborted = false) {
            QTest::newRow(name) << std::vector<ColumnState>() << QString(text) << columnCount << boxes
                                << (answers.isEmpty() ? QList<int>(boxes.size(), Ignore) : answers) << aborted << QString(expected);
        };
        const auto written = [](const char *name, const std::vector<ColumnState> &grid, const char *text, const QString &expected) {
            QTest::newRow(name) << grid << QString(text) << int(grid.size()) << QStringList() << QList<int>() << false << expected;
        };
        written("reverse order, second hidden", {{1440, true, 2}, {600, false, 1}, {2400, true, 0}}, "2 - 1440;1 - 0;0 - 2400;",
                "c0@2=1440 c1@1=hide c2@0=2400");
        written("seven significant digits, decimal comma, read in single precision", {{12345.678, true, 0}}, "0 - 12345,68;",
                "c0@0=" + QString::number(double(12345.68f), 'g', 17));
        written("visible column 0 wide comes back hidden", {{0, true, 0}, {800, true, 1}}, "0 - 0;1 - 800;", "c1@1=800 c0@0=hide");
        row("two columns on one position, collection order", "1 - 500;1 - 700;0 - 900;", 3, "c0@1=500 c1@1=700 c2@0=900");
        row("fewer pieces: the rest go to 0 and hide", "1 - 1000;0 - 2000;", 4, "c0@1=1000 c1@0=2000 c2@0=hide c3@0=hide");
        row("more pieces than columns, the extra one no number", "1 - 1000;0 - 2000;x - y;", 2, "c0@1=1000 c1@0=2000");
        row("position equal to the column count is never applied", "2 - 1000;0 - 2000;", 2, "c1@0=2000");
        row("position above the column count stores nothing", "5 - 1000;0 - 2000;", 2, "c0@0=hide c1@0=2000");
        row("failed position keeps the one before", "1 - 1000;x - 2000;", 2, "c0@1=1000 c1@1=2000", {"13"});
        row("negative position is cut at its sign", "-1 - 1000;", 1, "c0@0=hide", {"13", "13"});
        row("huge position overflows", "1E+20 - 100;", 1, "c0@0=100",
            {"6 - Die Spaltenposition \"1E+20\" liegt außerhalb des Zahlenbereichs von -2147483648 bis 2147483647."});
        row("negative width hides", "0 - -5;", 1, "c0@0=hide");
        row("single precision", "0 - 16777217;", 1, "c0@0=16777216");
        row("positive width below single precision is set as 0", "0 - 1E-300;", 1, "c0@0=0");
        row("width beyond single precision is refused", "0 - 1E+300;", 1, "c0@0=keep",
            {"6 - Die Spaltenbreite 1E+300 ist zu groß: Sie darf höchstens 3,402823E+38 betragen."});
        row("no ; at all: every column to 0 and hidden", "0 - 1000", 3, "c0@0=hide c1@0=hide c2@0=hide");
        row("tail without ; repeats the piece before", "0 - 1440;1 - 2400", 2, "c0@0=1440 c1@0=1440");
        row("empty piece repeats the values before", "1 - 500;;", 2, "c0@1=500 c1@1=500");
        row("nothing stored leaves the grid alone", "", 2, "");
        row("abort while reading applies nothing", "0 - breit;1 - 1000;", 2, "", {"13"}, {Abort}, true);
        row("retry fails again, then ignore keeps the width before", "1 - 1000;0 - breit;", 2, "c0@1=1000 c1@0=1000",
            {"13", "13"}, {Retry, Ignore});
        row("abort on a width keeps the moves before it", "1 - 1000;0 - 1E+300;", 2, "c0@1=1000 c1@0=keep", {"6"}, {Abort}, true);
    }

    void gridRead()
    {
        QFETCH(std::vector<ColumnState>, written);
        QFETCH(QString, text);
        QFETCH(int, columnCount);
        QFETCH(QStringList, boxes);
        QFETCH(QList<int>, answers);
        QFETCH(bool, aborted);
        QFETCH(QString, expected);
        if (!written.empty())
            QCOMPARE(GridLayout::toText(written), text);
        ScriptedMessages shown(answers);
        const ErrorProtocol protocol(loadMessage);
        const GridLayout::Reading reading = GridLayout::fromText(
                text, columnCount, [&](const std::function<void()> &step) { return protocol.runStep(step); });
        QCOMPARE(reading.stored, !text.isEmpty());
        QCOMPARE(reading.aborted, aborted);
        QCOMPARE(describe(reading.operations), expected);
        compareBoxes(shown, boxes);
    }

    // A list written from columns reads back their widths, in collection order,
    // hidden columns too.
    void widthRead_data()
    {
        QTest::addColumn<std::vector<ColumnState>>("written"); // the columns the text is written from, or none
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<QList<double>>("expected");
        const std::vector<ColumnState> none;
        QTest::newRow("written: decimal comma, width 0") << columns({1234.5, 0, 0.25, 99999.5}) << ";1234,5;0;0,25;99999,5;" << 4
                                                         << QList<double>{1234.5, 0, 0.25, 99999.5};
        QTest::newRow("written: collection order, hidden column keeps its width")
            << std::vector<ColumnState>{{600, true, 2}, {2400, false, 0}, {1500, true, 1}} << ";600;2400;1500;" << 3
            << QList<double>{600, 2400, 1500};
        QTest::newRow("nothing stored") << none << "" << 3 << QList<double>{};
        QTest::newRow("no grid") << none << ";600;2400;1500;" << 0 << QList<double>{};
        QTest::newRow("more fields than columns") << none << ";600;2400;1500;" << 2 << QList<double>{600, 2400};
        QTest::newRow("fewer fields than columns") << none << ";600;2400;1500;" << 5 << QList<double>{600, 2400, 1500};
        QTest::newRow("decimal point read too") << none << ";1234.5;" << 1 << QList<double>{1234.5};
        QTest::newRow("single precision") << none << ";0,1;16777217;" << 2 << QList<double>{double(0.1f), 16777216};
        QTest::newRow("word reads 0") << none << ";breit;2400;" << 2 << QList<double>{0, 2400};
        QTest::newRow("no leading ;") << none << "600;2400;" << 2 << QList<double>{600, 2400};
        QTest::newRow("no ; at all") << none << "600" << 2 << QList<double>{};
        QTest::newRow("one character after the last ;") << none << ";600;5" << 3 << QList<double>{600};
        QTest::newRow("; alone after the last field is no field") << none << ";600;;" << 2 << QList<double>{600};
        QTest::newRow("width beyond single precision stops") << none << ";600;1E+39;1500;" << 3 << QList<double>{600};
    }

    void widthRead()
    {
        QFETCH(std::vector<ColumnState>, written);
        QFETCH(QString, text);
        QFETCH(int, columnCount);
        QFETCH(QList<double>, expected);
        if (!written.empty())
            QCOMPARE(WidthList::toText(written), text);
        const std::vector<double> widths = WidthList::fromText(text, columnCount);
        QCOMPARE(QList<double>(widths.begin(), widths.end()), expected);
    }

    // An entry written from a window and its columns: the edges read back cut
    // at a decimal comma, the column widths whole.
    void windowRead_data()
    {
        QTest::addColumn<WindowGeometry>("window"); // the window the text is written from, or none
        QTest::addColumn<QList<double>>("widths");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<QString>("expected");
        QTest::newRow("written: main window with three columns") << WindowGeometry{1200, 900, 9000, 6000}
            << QList<double>{600, 2400, 1500} << "1200;900;9000;6000;600;2400;1500;" << 3 << "1200 900 9000 6000 | 600 2400 1500";
        QTest::newRow("written: decimal comma") << WindowGeometry{1234.5, 0, 9000.25, 6000} << QList<double>{1234.5}
                                                << "1234,5;0;9000,25;6000;1234,5;" << 1 << "1234 0 9000 6000 | 1234.5";
        QTest::newRow("written: left of the primary screen, no grid") << WindowGeometry{-7680, -15, 9000, 6000}
            << QList<double>{} << "-7680;-15;9000;6000;" << 0 << "-7680 -15 9000 6000 |";
        const auto row = [](const char *name, const char *text, int columnCount, const char *expected) {
            QTest::newRow(name) << WindowGeometry{} << QList<double>{} << QString(text) << columnCount << QString(expected);
        };
        row("nothing stored centres the window", "", 3, "centre - - - - |");
        row("no grid passed for an entry with widths", "1200;900;9000;6000;600;2400;", 0, "1200 900 9000 6000 |");
        row("width 0 keeps the width", "1200;900;0;6000;", 0, "1200 900 - 6000 |");
        row("positive width below single precision becomes 0", "1200;900;1E-300;6000;", 0, "1200 900 0 6000 |");
        row("left and top applied when 0 or negative", "-300;0;9000;6000;", 0, "-300 0 9000 6000 |");
        row("single precision, blanks inside the number", " 16 777 217 ;900;9000;6000;", 0, "16777216 900 9000 6000 |");
        row("no ; at all", "1200", 3, "- - - - |");
        row("width without ;", "1200;900;9000", 3, "1200 900 - - |");
        row("left beyond single precision", "1E+39;900;9000;6000;", 0, "- - - - |");
        row("width beyond single precision", "1200;900;1E+300;6000;", 0, "1200 900 - - |");
    }

    void windowRead()
    {
        QFETCH(WindowGeometry, window);
        QFETCH(QList<double>, widths);
        QFETCH(QString, text);
        QFETCH(int, columnCount);
        QFETCH(QString, expected);
        if (window.width > 0)
            QCOMPARE(WindowEntry::toText(window, columns(widths)), text);
        QCOMPARE(describe(WindowEntry::fromText(text, columnCount)), expected);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFormats)
#include "tst_settingsformats.moc"
