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
    void decode_data();
    void decode();
    void parse_data();
    void parse();
    void write_data();
    void write();
    void importColumns_data();
    void importColumns();
    void importFileKinds_data();
    void importFileKinds();

private:
    QTemporaryDir m_dir;
};

// "encoding": "utf-8", "utf-8 with mark", "windows-1252", or "refused".
void tst_Csv::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("utf-8 umlauts") << QByteArray("J\xC3\xBCrgen M\xC3\xBC\xC3\x9Fig;SV") << "Jürgen Müßig;SV" << "utf-8";
    QTest::newRow("utf-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF\xC3\x96mer;SV") << "Ömer;SV"
                                                << "utf-8 with mark";
    QTest::newRow("bytes without a windows-1252 character") << QByteArray("a\x81" "b\x8D" "c\x8F" "d\x90" "e\x9D")
        << QStringLiteral("a\u0081b\u008Dc\u008Fd\u0090e\u009D") << "windows-1252";
    QTest::newRow("one stray byte in utf-8 text") << QByteArray("M\xC3\xBCller;Z\xF6llner")
                                                  << QString::fromUtf8("MÃ¼ller;Zöllner") << "windows-1252";
    QTest::newRow("a byte-order mark keeps utf-8") << QByteArray("\xEF\xBB\xBFZ\xF6llner") << QStringLiteral("Z\uFFFDllner")
                                                   << "utf-8 with mark";
    QTest::newRow("a second mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a") << QStringLiteral("\uFEFFa")
                                           << "utf-8 with mark";
    QTest::newRow("one NUL at the end: binary") << QByteArray("Anna;SV\0", 8) << QString() << "refused";
}

void tst_Csv::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, encoding);
    Csv::Decoded decoded;
    QCOMPARE(raisedError([&] { decoded = Csv::decode(bytes); }).number, encoding == "refused" ? 321 : 0);
    if (encoding == "refused")
        return;
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding == Csv::Encoding::Windows1252, encoding == "windows-1252");
    QCOMPARE(decoded.byteOrderMark, encoding == "utf-8 with mark");
}

// The separator is the one of ";" and "," that occurs more often outside
// quotes in the first record.
void tst_Csv::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Records>("records");
    QTest::addColumn<int>("failedLine"); // 0: the text is read
    QTest::newRow("more commas than semicolons") << "a,b,c;d\n" << Records{{"a", "b", "c;d"}} << 0;
    QTest::newRow("quoted semicolons do not count") << "\"Meier; Hans\",SV\n" << Records{{"Meier; Hans", "SV"}} << 0;
    QTest::newRow("doubled quotes keep the field quoted") << "\"a\"\"b;c;d\",x\n" << Records{{"a\"b;c;d", "x"}} << 0;
    QTest::newRow("a quote inside a plain field opens nothing") << "O\"Brien,SV\n" << Records{{"O\"Brien", "SV"}} << 0;
    QTest::newRow("only the first record decides") << "a;b\nc,d,e,f\n" << Records{{"a", "b"}, {"c,d,e,f"}} << 0;
    QTest::newRow("CR line ends") << "a;b\rc;d\r" << Records{{"a", "b"}, {"c", "d"}} << 0;
    QTest::newRow("line break inside quotes") << "\"Zeile 1\r\nZeile 2\";x\r\ny;z"
                                              << Records{{"Zeile 1\r\nZeile 2", "x"}, {"y", "z"}} << 0;
    QTest::newRow("empty fields") << ";;\n" << Records{{"", "", ""}} << 0;
    QTest::newRow("blanks after a closing quote") << "\"a\"  ;b" << Records{{"a", "b"}} << 0;
    QTest::newRow("blanks around plain fields stay") << " a ; b " << Records{{" a ", " b "}} << 0;
    QTest::newRow("empty text") << "" << Records{} << 0;
    QTest::newRow("quote never closed") << "a;\"b\nc;d\n" << Records{} << 1;
    QTest::newRow("text after the closing quote") << "\"Meier\" Hans;SV" << Records{} << 1;
    QTest::newRow("line break inside quotes counts") << "\"a\nb\"x;y" << Records{} << 2;
}

void tst_Csv::parse()
{
    QFETCH(QString, text);
    QFETCH(Records, records);
    QFETCH(int, failedLine);
    Records read;
    const RaisedError raised = raisedError([&] { read = Csv::parse(text); });
    QCOMPARE(raised.number, failedLine ? 321 : 0);
    QVERIFY2(!failedLine || raised.description.contains(QStringLiteral("Zeile %1:").arg(failedLine)),
             qPrintable(raised.description));
    QCOMPARE(read, records);
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
