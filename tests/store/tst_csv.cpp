// The CSV reader and writer: encodings, separators, quoting, line ends, and
// the failures of broken files; which fields of a file an import of shooters
// takes, and the file kinds it tells apart.
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
    // The bytes of a file decoded, then parsed. The separator is the one of ";"
    // and "," that occurs more often outside quotes in the first record.
    // "failedLine": the line a broken text is refused at, -1 for a binary file.
    // Records are written with a byte-order mark, ";" and CR LF ("written":
    // as these bytes) and read back as written.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding"); // "utf-8", "utf-8 with mark" or "windows-1252"
        QTest::addColumn<Records>("records");
        QTest::addColumn<int>("failedLine");
        QTest::addColumn<bool>("written");
        const auto bytes = [](const char *name, const QByteArray &bytes, const char *encoding, const Records &records) {
            QTest::newRow(name) << bytes << QString(encoding) << records << 0 << false;
        };
        const auto text = [](const char *name, const QString &text, const Records &records, int failedLine = 0) {
            QTest::newRow(name) << text.toUtf8() << QStringLiteral("utf-8") << records << failedLine << false;
        };
        // Without bytes only read back.
        const auto written = [](const char *name, const Records &records, const QByteArray &bytes = QByteArray()) {
            QTest::newRow(name) << (bytes.isNull() ? Csv::write(records) : bytes) << QStringLiteral("utf-8 with mark")
                                << records << 0 << !bytes.isNull();
        };
        bytes("utf-8 umlauts", "J\xC3\xBCrgen M\xC3\xBC\xC3\x9Fig;SV", "utf-8", {{"Jürgen Müßig", "SV"}});
        bytes("bytes without a windows-1252 character", "a\x81" "b\x8D" "c\x8F" "d\x90" "e\x9D", "windows-1252",
              {{QStringLiteral("a\u0081b\u008Dc\u008Fd\u0090e\u009D")}});
        bytes("one stray byte in utf-8 text", "M\xC3\xBCller;Z\xF6llner", "windows-1252", {{"MÃ¼ller", "Zöllner"}});
        bytes("windows-1252 signs above 0x7F", "\x80 \x84Tell\x93", "windows-1252", {{"€ „Tell“"}});
        bytes("a byte-order mark keeps utf-8", "\xEF\xBB\xBFZ\xF6llner", "utf-8 with mark", {{QStringLiteral("Z\uFFFDllner")}});
        bytes("a second mark is text", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", "utf-8 with mark", {{QStringLiteral("\uFEFFa")}});
        QTest::newRow("one NUL at the end: binary") << QByteArray("Anna;SV\0", 8) << "utf-8" << Records{} << -1 << false;
        text("more commas than semicolons", "a,b,c;d\n", {{"a", "b", "c;d"}});
        text("quoted semicolons do not count", "\"Meier; Hans\",SV\n", {{"Meier; Hans", "SV"}});
        text("doubled quotes keep the field quoted", "\"a\"\"b;c;d\",x\n", {{"a\"b;c;d", "x"}});
        text("a quote inside a plain field opens nothing", "O\"Brien,SV\n", {{"O\"Brien", "SV"}});
        text("only the first record decides", "a;b\nc,d,e,f\n", {{"a", "b"}, {"c,d,e,f"}});
        text("CR line ends", "a;b\rc;d\r", {{"a", "b"}, {"c", "d"}});
        text("line break inside quotes", "\"Zeile 1\r\nZeile 2\";x\r\ny;z", {{"Zeile 1\r\nZeile 2", "x"}, {"y", "z"}});
        text("blanks after a closing quote", "\"a\"  ;b", {{"a", "b"}});
        text("quote never closed", "a;\"b\nc;d\n", {}, 1);
        text("text after the closing quote", "\"Meier\" Hans;SV", {}, 1);
        text("line break inside quotes counts", "\"a\nb\"x;y", {}, 2);
        written("written: mark, separators, CR LF", {{"Platz", "Schuetze"}, {"1", "Zoë"}},
                "\xEF\xBB\xBFPlatz;Schuetze\r\n1;Zo\xC3\xAB\r\n");
        written("written: quoted for a comma and a doubled quote, not for blanks", {{"98,7", "Karl \"Kalle\"", " a "}},
                "\xEF\xBB\xBF\"98,7\";\"Karl \"\"Kalle\"\"\"; a \r\n");
        written("written: nothing but the mark", {}, "\xEF\xBB\xBF");
        written("read back: quotes, semicolons and apostrophes", {{"Karl \"Kalle\" O'Brien", "\""}, {"\"\"", "a;b'"}});
        written("read back: line breaks inside fields", {{"a\r\nb", "c\nd"}, {"e\rf", ""}});
        written("read back: empty fields and records", {{"", ""}, {""}, {"x"}});
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(Records, records);
        QFETCH(int, failedLine);
        QFETCH(bool, written);
        if (written)
            QCOMPARE(Csv::write(records), bytes);
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

    // Shooters as "name|club" from a file: the first bytes decide, an Access
    // header is read as a master list, all else as CSV. Name and club by
    // heading or the first two fields, trimmed; a club without a name is
    // counted ("nameless").
    void import_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("shooters");
        QTest::addColumn<int>("nameless");
        const auto csv = [this](const char *name, const QByteArray &bytes, const QStringList &shooters, int nameless = 0) {
            QTest::newRow(name) << AccessFixtures::write(m_dir.filePath(name), bytes) << 0 << shooters << nameless;
        };
        csv("no heading: the first record is a shooter", "Anna;SV Alm\nBerta;SG Tell\n", {"Anna|SV Alm", "Berta|SG Tell"});
        csv("club heading alone: the name is the first other column", "Club;Vorname\nSV Alm;Anna\n", {"Anna|SV Alm"});
        csv("name heading alone: the club follows it", "Nr;Name;Ort\n7;Anna;Alm\n", {"Anna|Alm"});
        csv("columns of an exported winners list", "Platz;StartNr;Schuetze;Verein;Serie\n1;4;Anna;SV Alm;\"98,7\"\n",
            {"Anna|SV Alm"});
        csv("blank records left out", "\n;\n ; \nAnna;\n", {"Anna|"});
        csv("a club without a name is counted", ";SV Alm\nAnna;SV Alm\n", {"Anna|SV Alm"}, 1);
        csv("CSV named .mdb", "Anna;SV\n", {"Anna|SV"});
        QTest::newRow("Access master list named .csv")
            << AccessFixtures::write(m_dir.filePath("liste.csv"), AccessFixtures::bytes(AccessFixtures::MasterList)) << 0
            << QStringList{"Jürgen Müßig|SV Grün-Weiß Öhringen", "Anna Beispiel|SG Tell Ahlen", "Zoë Ærø|",
                           "Karl-Heinz O'Brien|SG Tell Ahlen", "Ömer Yıldız|SV Grün-Weiß Öhringen"} << 0;
        QTest::newRow("empty file") << AccessFixtures::write(m_dir.filePath("leer.csv"), QByteArray()) << 321 << QStringList{} << 0;
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("fehlt.csv")) << 53 << QStringList{} << 0;
        // No file to read at all, not an empty one; reading it would wait for a writer.
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.csv"));
        QTest::newRow("named pipe") << (NonRegularFiles::makeFifo(pipe) ? pipe : QString()) << 75 << QStringList{} << 0;
    }

    void import()
    {
        QFETCH(QString, path);
        QFETCH(int, number);
        QFETCH(QStringList, shooters);
        QFETCH(int, nameless);
        QVERIFY(!path.isEmpty());
        ShooterImport::Batch batch;
        const HangGuard guard(QStringLiteral("Importing ") + path);
        QCOMPARE(raisedError([&] { batch = ShooterImport::readFile(path); }).number, number);
        QStringList shown;
        for (const ShooterImport::Shooter &shooter : batch.shooters)
            shown << shooter.name + QLatin1Char('|') + shooter.club;
        QCOMPARE(shown, shooters);
        QCOMPARE(batch.nameless, nameless);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_Csv)
#include "tst_csv.moc"
