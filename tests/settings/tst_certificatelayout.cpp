#include "settings/CertificateFields.h"
#include "settings/CertificateLayout.h"
#include "store/RingtalError.h"
#include "support/TestCompetition.h"

#include <QtTest>

namespace {

const Certificate Winner{QStringLiteral("Kreismeisterschaft"), QStringLiteral("Jugend"), QStringLiteral("2"),
                         QStringLiteral("Öztürk, Ayşe"),       QStringLiteral("SG Öhringen"), QStringLiteral("Öhringen I"),
                         QStringLiteral("95,5"),               QStringLiteral("07.06.2024")};

const QString Listed = QStringLiteral("{Wettkampf}, {Klasse}, {Platz}, {Name}, {Verein}, {Mannschaft}, {Ringe}, {Datum}");

// Every byte value once, so that nothing of a picture is lost on the way through text.
CertificateLayout withPicture()
{
    CertificateLayout layout = CertificateLayout::standard();
    layout.paper = CertificateLayout::Paper::A5;
    layout.landscape = true;
    layout.lines[1].text = QStringLiteral("Schießen „um den Pokal“ {Wettkampf}");
    layout.lines[1].align = CertificateLine::Align::Right;
    layout.lines[1].italic = true;
    layout.lines[1].topMm = 12.5;
    layout.lines[1].family = QStringLiteral("DejaVu Sans");
    for (int byte = 0; byte < 256; ++byte)
        layout.picture.bytes.append(char(byte));
    layout.picture.name = QStringLiteral("Vereinslogo Ü.png");
    layout.picture.leftMm = 150.25;
    layout.picture.heightMm = 0;
    layout.picture.widthMm = 35;
    return layout;
}

} // namespace

class tst_CertificateLayout : public QObject
{
    Q_OBJECT

private slots:
    void filling_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("filled");
        QTest::newRow("place and words") << "{Platz}. Platz" << "2. Platz";
        QTest::newRow("two fields in a line") << "{Name} ({Verein})" << "Öztürk, Ayşe (SG Öhringen)";
        QTest::newRow("rings with a decimal comma") << "{Ringe} Ringe" << "95,5 Ringe";
        QTest::newRow("every field") << "{Wettkampf}|{Klasse}|{Platz}|{Name}|{Verein}|{Mannschaft}|{Ringe}|{Datum}"
                                     << "Kreismeisterschaft|Jugend|2|Öztürk, Ayşe|SG Öhringen|Öhringen I|95,5|07.06.2024";
        QTest::newRow("no field") << "Urkunde" << "Urkunde";
        QTest::newRow("a field twice") << "{Platz}{Platz}" << "22";
        QTest::newRow("field names are case-sensitive, left as typed") << "{name}" << "{name}";
    }
    void filling()
    {
        QFETCH(QString, text);
        QFETCH(QString, filled);
        QCOMPARE(CertificateFields::fill(text, Winner), filled);
    }

    void emptyClassPrintsEmpty()
    {
        Certificate withoutClass = Winner;
        withoutClass.klasse.clear();
        QCOMPARE(CertificateFields::fill(QStringLiteral("Klasse: {Klasse}."), withoutClass), QStringLiteral("Klasse: ."));
    }

    void fieldProblems_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("problem"); // empty: none
        QTest::newRow("known fields") << "{Platz}. Platz für {Name}" << "";
        QTest::newRow("unknown field") << "{Vorname} {Name}"
                                       << "Das Feld {Vorname} gibt es nicht. Möglich sind: " + Listed + ".";
        QTest::newRow("wrong case") << "{platz}" << "Das Feld {platz} gibt es nicht. Möglich sind: " + Listed + ".";
        QTest::newRow("empty braces") << "{}" << "Das Feld {} gibt es nicht. Möglich sind: " + Listed + ".";
        QTest::newRow("unclosed brace") << "{Name" << "Die Klammer { wird nicht geschlossen.";
        QTest::newRow("brace opened again before closing") << "{Na{Name}" << "Die Klammer { wird nicht geschlossen.";
        QTest::newRow("closing brace alone")
                << "Name}" << "Die Klammer } schließt kein Feld. Felder stehen in Klammern: " + Listed + ".";
    }
    void fieldProblems()
    {
        QFETCH(QString, text);
        QFETCH(QString, problem);
        QCOMPARE(CertificateFields::problem(text).value_or(QString()), problem);
    }

    void roundTripThroughText()
    {
        const CertificateLayout layout = withPicture();
        QVERIFY(CertificateLayout::fromText(layout.toText()) == layout);
        QVERIFY(!(CertificateLayout::fromText(layout.toText()) == CertificateLayout::standard()));
    }

    void roundTripThroughSettings()
    {
        TempSettings settings;
        QVERIFY(CertificateLayout::stored() == CertificateLayout::standard());
        withPicture().store();
        QVERIFY(settings.read(QStringLiteral("Urkundenvorlage"), QStringLiteral("Vorlage")).contains("Ringtal-Urkundenvorlage"));
        QVERIFY(CertificateLayout::stored() == withPicture());
        settings.write(QStringLiteral("Urkundenvorlage"), QStringLiteral("Vorlage"), QStringLiteral("{kaputt"));
        QVERIFY(CertificateLayout::stored() == CertificateLayout::standard());
    }

    void standardFitsA4Portrait()
    {
        const CertificateLayout layout = CertificateLayout::standard();
        QCOMPARE(layout.paperMm(), QSizeF(210, 297));
        QCOMPARE(layout.lines.front().text, QStringLiteral("Urkunde"));
        QCOMPARE(layout.lines.back().text, QStringLiteral("{Datum}"));
        for (const CertificateLine &line : layout.lines)
            QVERIFY2(!CertificateFields::problem(line.text) && line.topMm < 280, qPrintable(line.text));
    }

    void brokenTexts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("said");
        const QByteArray good = CertificateLayout::standard().toText();
        QTest::newRow("no JSON") << QByteArray("PNG\x89 not a layout") << "kein JSON";
        QTest::newRow("a JSON list") << QByteArray("[1, 2]") << "kein JSON";
        QTest::newRow("another program's JSON") << QByteArray(R"({"Zeilen": []})") << "„Format“ fehlt";
        QTest::newRow("paper A3") << QByteArray(good).replace("\"A4\"", "\"A3\"") << "Das Papier „A3“ gibt es nicht";
        QTest::newRow("size as text") << QByteArray(good).replace("\"Groesse\": 48", "\"Groesse\": \"groß\"")
                                      << "Zeile 1: „Groesse“ ist keine Zahl";
        QTest::newRow("negative distance") << QByteArray(good).replace("\"Oben\": 70", "\"Oben\": -70")
                                           << "Zeile 2: „Oben“ ist keine Zahl";
        QTest::newRow("alignment unknown") << QByteArray(good).replace("\"links\"", "\"mittig\"")
                                           << "Zeile 8: Die Ausrichtung „mittig“ gibt es nicht";
        QTest::newRow("picture data damaged")
                << QByteArray(good).replace("\"Papier\"", "\"Bild\": {\"Daten\": \"@@@\"}, \"Papier\"")
                << "Die Daten des Bildes sind beschädigt";
        QTest::newRow("from a newer version") << QByteArray(good).replace("\"Version\": 1", "\"Version\": 2")
                                              << "neueren Version";
    }
    void brokenTexts()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, said);
        try {
            CertificateLayout::fromText(text);
            QFAIL("read as a layout");
        } catch (const RingtalError &error) {
            QVERIFY2(error.description().startsWith("Das ist keine Urkundenvorlage: ") && error.description().contains(said),
                     qPrintable(error.description()));
        }
    }
};

QTEST_GUILESS_MAIN(tst_CertificateLayout)
#include "tst_certificatelayout.moc"
