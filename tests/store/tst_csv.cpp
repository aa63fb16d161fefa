// The CSV reader and writer: encodings, separators, quoting, line ends, and
// the failures of broken files; which fields of the records an import of
// shooters takes, and the file kinds it tells apart.
#include "store/Csv.h"
#include "store/ShooterImport.h"
#include "support/AccessFixtures.h"
#include "support/NonRegularFiles.h"
#include "support/RaisedError.h"

#include <QTemporaryDir>
#include <QtTest>

using Records = QList<QStringList>;

class tst_Csv : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void importColumns_data();
    void importColumns();
    void importFileKinds_data();
    void importFileKinds();

private:
    QTemporaryDir m_dir;
};

// The bytes of a file decoded, then parsed. The separator is the one of ";"
// and "," that occurs more often outside quotes in the first record.
// "failedLine": the line a broken text is refused at, -1 for a binary file.
void tst_Csv::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding"); // "utf-8", "utf-8 with mark" or "windows-1252"
    QTest::addColumn<Records>("records");
    QTest::addColumn<int>("failedLine");
    const auto bytes = [](const char *name, const QByteArray &bytes, const char *encoding, const Records &records) {
        QTest::newRow(name) << bytes << QString(encoding) << records << 0;
    };
    const auto text = [](const char *name, const QString &text, const Records &records, int failedLine = 0) {
        QTest::newRow(name) << text.toUtf8() << QStringLiteral("utf-8") << records << failedLine;
    };
    bytes("utf-8 umlauts", "J\xC3\xBCrgen M\xC3\xBC\xC3\x9Fig;SV", "utf-8", {{"Jürgen Müßig", "SV"}});
    bytes("utf-8 with byte-order mark", "\xEF\xBB\xBF\xC3\x96mer;SV", "utf-8 with mark", {{"Ömer", "SV"}});
    bytes("bytes without a windows-1252 character", "a\x81" "b\x8D" "c\x8F" "d\x90" "e\x9D", "windows-1252",
          {{QStringLiteral("a\u0081b\u008Dc\u008Fd\u0090e\u009D")}});
    bytes("one stray byte in utf-8 text", "M\xC3\xBCller;Z\xF6llner", "windows-1252", {{"MÃ¼ller", "Zöllner"}});
    bytes("a byte-order mark keeps utf-8", "\xEF\xBB\xBFZ\xF6llner", "utf-8 with mark", {{QStringLiteral("Z\uFFFDllner")}});
    bytes("a second mark is text", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", "utf-8 with mark", {{QStringLiteral("\uFEFFa")}});
    QTest::newRow("one NUL at the end: binary") << QByteArray("Anna;SV\0", 8) << "utf-8" << Records{} << -1;
    text("more commas than semicolons", "a,b,c;d\n", {{"a", "b", "c;d"}});
    text("quoted semicolons do not count", "\"Meier; Hans\",SV\n", {{"Meier; Hans", "SV"}});
    text("doubled quotes keep the field quoted", "\"a\"\"b;c;d\",x\n", {{"a\"b;c;d", "x"}});
    text("a quote inside a plain field opens nothing", "O\"Brien,SV\n", {{"O\"Brien", "SV"}});
    text("only the first record decides", "a;b\nc,d,e,f\n", {{"a", "b"}, {"c,d,e,f"}});
    text("CR line ends", "a;b\rc;d\r", {{"a", "b"}, {"c", "d"}});
    text("line break inside quotes", "\"Zeile 1\r\nZeile 2\";x\r\ny;z", {{"Zeile 1\r\nZeile 2", "x"}, {"y", "z"}});
    text("empty fields", ";;\n", {{"", "", ""}});
    text("blanks after a closing quote", "\"a\"  ;b", {{"a", "b"}});
    text("blanks around plain fields stay", " a ; b ", {{" a ", " b "}});
    text("empty text", "", {});
    text("quote never closed", "a;\"b\nc;d\n", {}, 1);
    text("text after the closing quote", "\"Meier\" Hans;SV", {}, 1);
    text("line break inside quotes counts", "\"a\nb\"x;y", {}, 2);
}

void tst_Csv::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(Records, records);
    QFETCH(int, failedLine);
    Records read;
    Csv::Decoded decoded;
    const RaisedError raised = raisedError([&] { read = Csv::parse((decoded = Csv::decode(bytes)).text); });
    QCOMPARE(raised.number, failedLine ? 321 : 0);
    QVERIFY2(failedLine <= 0 || raised.description.contains(QStringLiteral("Zeile %1:").arg(failedLine)),
             qPrintable(raised.description));
    QCOMPARE(read, records);
    if (failedLine >= 0) {
        QCOMPARE(decoded.encoding == Csv::Encoding::Windows1252, encoding == "windows-1252");
        QCOMPARE(decoded.byteOrderMark, encoding == "utf-8 with mark");
    }
}

// Written with a byte-order mark, ";" and CR LF, and read back as written.
void tst_Csv::write_data()
{
    QTest::addColumn<Records>("records");
    QTest::addColumn<QByteArray>("bytes"); // null: only read back
    QTest::newRow("mark, separators, CR LF")
        << Records{{"Platz", "Schuetze"}, {"1", "Zoë"}} << QByteArray("\xEF\xBB\xBFPlatz;Schuetze\r\n1;Zo\xC3\xAB\r\n");
    QTest::newRow("quoted: a comma, a doubled quote; blanks are not")
        << Records{{"98,7", "Karl \"Kalle\"", " a "}} << QByteArray("\xEF\xBB\xBF\"98,7\";\"Karl \"\"Kalle\"\"\"; a \r\n");
    QTest::newRow("nothing but the mark") << Records{} << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("quotes, semicolons and apostrophes")
        << Records{{"Karl \"Kalle\" O'Brien", "\""}, {"\"\"", "a;b'"}} << QByteArray();
    QTest::newRow("line breaks inside fields") << Records{{"a\r\nb", "c\nd"}, {"e\rf", ""}} << QByteArray();
    QTest::newRow("empty fields and records") << Records{{"", ""}, {""}, {"x"}} << QByteArray();
    QTest::newRow("a first field that starts with the mark") << Records{{QStringLiteral("\uFEFF"), "x"}} << QByteArray();
}

void tst_Csv::write()
{
    QFETCH(Records, records);
    QFETCH(QByteArray, bytes);
    const QByteArray written = Csv::write(records);
    if (!bytes.isNull())
        QCOMPARE(written, bytes);
    const Csv::Decoded decoded = Csv::decode(written);
    QVERIFY(decoded.byteOrderMark);
    QCOMPARE(Csv::parse(decoded.text), records);
}

// Shooters as "name|club".
void tst_Csv::importColumns_data()
{
    QTest::addColumn<Records>("records");
    QTest::addColumn<QStringList>("shooters");
    QTest::addColumn<int>("nameless");
    QTest::newRow("no heading: the first record is a shooter")
        << Records{{"Anna", "SV Alm"}, {"Berta", "SG Tell"}} << QStringList{"Anna|SV Alm", "Berta|SG Tell"} << 0;
    QTest::newRow("club heading alone: the name is the first other column")
        << Records{{"Club", "Vorname"}, {"SV Alm", "Anna"}} << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("name heading alone: the club follows it")
        << Records{{"Nr", "Name", "Ort"}, {"7", "Anna", "Alm"}} << QStringList{"Anna|Alm"} << 0;
    QTest::newRow("columns of an exported winners list")
        << Records{{"Platz", "StartNr", "Schuetze", "Verein", "Serie"}, {"1", "4", "Anna", "SV Alm", "98,7"}}
        << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("blanks trimmed") << Records{{"  Anna  ", "\tSV Alm "}} << QStringList{"Anna|SV Alm"} << 0;
    QTest::newRow("blank records left out") << Records{{""}, {"", ""}, {" ", " "}, {"Anna", ""}}
                                            << QStringList{"Anna|"} << 0;
    QTest::newRow("a club without a name is counted") << Records{{"", "SV Alm"}, {"Anna", "SV Alm"}}
                                                      << QStringList{"Anna|SV Alm"} << 1;
    QTest::newRow("nothing") << Records{} << QStringList{} << 0;
}

void tst_Csv::importColumns()
{
    QFETCH(Records, records);
    QFETCH(QStringList, shooters);
    QFETCH(int, nameless);
    const ShooterImport::Batch batch = ShooterImport::fromRecords(records);
    QStringList shown;
    for (const ShooterImport::Shooter &shooter : batch.shooters)
        shown << shooter.name + QLatin1Char('|') + shooter.club;
    QCOMPARE(shown, shooters);
    QCOMPARE(batch.nameless, nameless);
}

// The first bytes decide: an Access header is read as a master list, all
// else as CSV.
void tst_Csv::importFileKinds_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("shooters");
    const QString folder = m_dir.path() + QLatin1Char('/');
    QTest::newRow("Access master list named .csv")
        << AccessFixtures::write(folder + QStringLiteral("liste.csv"), AccessFixtures::bytes(AccessFixtures::MasterList))
        << 0 << 5;
    QTest::newRow("CSV named .mdb") << AccessFixtures::write(folder + QStringLiteral("liste.mdb"), "Anna;SV\n") << 0 << 1;
    QTest::newRow("empty file") << AccessFixtures::write(folder + QStringLiteral("leer.csv"), QByteArray()) << 321 << 0;
    QTest::newRow("broken quote") << AccessFixtures::write(folder + QStringLiteral("kaputt.csv"), "\"Anna;SV\n") << 321
                                  << 0;
    QTest::newRow("missing file") << folder + QStringLiteral("fehlt.csv") << 53 << 0;
    // No file to read at all, not an empty one; reading it would wait for a writer.
    const QString pipe = folder + QStringLiteral("pipe.csv");
    QTest::newRow("named pipe") << (NonRegularFiles::makeFifo(pipe) ? pipe : QString()) << 75 << 0;
}

void tst_Csv::importFileKinds()
{
    QFETCH(QString, path);
    QFETCH(int, number);
    QFETCH(int, shooters);
    QVERIFY(!path.isEmpty());
    ShooterImport::Batch batch;
    const HangGuard guard(QStringLiteral("Importing ") + path);
    QCOMPARE(raisedError([&] { batch = ShooterImport::readFile(path); }).number, number);
    QCOMPARE(batch.shooters.size(), shooters);
}

QTEST_GUILESS_MAIN(tst_Csv)
#include "tst_csv.moc"
