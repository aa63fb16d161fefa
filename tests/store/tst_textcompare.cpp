// How texts compare: the search criterion (like patterns, letter case,
// umlauts, quoting) on its own and in a recordset, and texts ordered
// alphabetically through the comparison, the recordset and the data source.
#include "store/Criterion.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/TextOrder.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QtTest>

Q_DECLARE_METATYPE(TextOrder)

namespace {

const QString ByName = QStringLiteral("Select * from Ergebnisse order by Schuetze");

// Result rows given as "name|club|key|start number"; a field left out or
// "(null)" is Null, and an empty field an empty text.
void fill(const TestCompetition &tc, const QStringList &shooters)
{
    for (const QString &shooter : shooters) {
        QVariantList values;
        for (int field = 0; field < 4; ++field) {
            const QString text = shooter.section('|', field, field);
            const bool null = text == "(null)" || field > shooter.count('|');
            values << (null ? QVariant() : text.isEmpty() ? QVariant(QStringLiteral("")) : field == 3 ? QVariant(text.toInt()) : QVariant(text));
        }
        tc.exec(QStringLiteral("INSERT INTO Ergebnisse (Schuetze, Verein, Sortierung, StartNr) VALUES (?, ?, ?, ?)"), values);
    }
}

QStringList shownNames(const Recordset &rs)
{
    QStringList names;
    for (int row = 0; row < rs.rowCount(); ++row) {
        const QVariant v = rs.storedValue(row, rs.fieldIndex(QStringLiteral("Schuetze")));
        names << (v.isNull() ? QStringLiteral("(null)") : v.toString());
    }
    return names;
}

} // namespace

class TestTextCompare : public QObject
{
    Q_OBJECT

private slots:
    // In set order (Sortierung desc), with the ID each row gets from its insertion:
    //   0 Müller ID 3, StartNr 7; 1 Ährenfeld ID 5, 12; 2 O'Brien ID 4, 3;
    //   3 Becker ID 1, 12; 4 öztürk ID 2, 20; 5 Mahler ID 6, no start number.
    // Becker has the lowest ID of the two start numbers 12, so table order and
    // set order give different answers. "expected": -1 no match, -2 no valid
    // criterion; the position stays either way.
    void findFirst_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("lowest ID is not the first row") << "ID = 1" << 0 << 3;
        QTest::newRow("ID that is not there") << "ID = 99" << 2 << -1;
        QTest::newRow("start number: first in set order, not lowest ID") << "StartNr = 12" << 4 << 1;
        QTest::newRow("search starts at the first row, not at the current") << "StartNr = 7" << 4 << 0;
        QTest::newRow("null start number is not 0") << "StartNr = 0" << 1 << -1;
        QTest::newRow("apostrophe quoted by likePrefix") << Criterion::likePrefix("Schuetze", "O'B") << 0 << 2;
        QTest::newRow("lower-case umlaut prefix finds capital") << "Schuetze like 'mü*'" << 3 << 0;
        QTest::newRow("star in the middle, first in set order") << "Schuetze like 'M*er'" << 5 << 0;
        QTest::newRow("unterminated quote") << "Schuetze like 'Mü*" << 2 << -2;
    }

    void findFirst()
    {
        QFETCH(QString, criterion);
        QFETCH(int, start);
        QFETCH(int, expected);
        TestCompetition tc;
        fill(tc, {"Becker|SV 1920 Musterstadt|0920|12", "öztürk|SG Öhringen|0910|20", "Müller|SSV Tal|0950|7",
                  "O'Brien|SSV Tal|0930|3", "Ährenfeld|SV 1920 Musterstadt|0940|12", "Mahler|(null)|(null)|(null)"});
        auto rs = Database::open(tc.path())->openRecordset(RecordsetChecks::ByKey);
        rs->moveTo(start);
        const RaisedError raised = raisedError([&] { rs->findFirst(criterion); });
        QCOMPARE(raised.number, expected == -2 ? 3077 : 0);
        if (expected == -2)
            QVERIFY2(raised.description.startsWith(QStringLiteral("Syntaxfehler in Suchbedingung: ")),
                     qPrintable(raised.description));
        else
            QCOMPARE(rs->noMatch(), expected == -1);
        QCOMPARE(rs->position(), expected < 0 ? start : expected);
        QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    }

    // "*" any rest, "?" one character, "#" one digit, "[a-z]" and "[!ab]" one
    // character of or not of a list, letter case ignored; "matches": 1 or 0,
    // -1 for a criterion that is none (error 3077).
    void matches_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("matches");
        const auto row = [](const char *name, const char *criterion, const QVariant &value, int matches) {
            QTest::newRow(name) << QString::fromUtf8(criterion) << value << matches;
        };
        row("prefix, capital umlaut in the value", "Schuetze like 'ü*'", "Übel", 1);
        row("prefix, first letter in the other case", "Schuetze like 'mÜL*'", "Müller", 1);
        row("keywords in any case", "schuetze LIKE 'BECKER*'", "Becker", 1);
        row("long s folds to s", "Schuetze like 'St*'", "ſtraße", 1);
        row("null value", "Schuetze like '*'", QVariant(), 0);
        row("empty text matches a lone star", "Schuetze like '*'", "", 1);
        row("doubled apostrophe is one", "Schuetze like 'd''Arc*'", "d'Arcy", 1);
        row("question mark is one character", "Schuetze like 'M?ller'", "Müller", 1);
        row("question mark needs a character", "Schuetze like 'Becker?'", "Becker", 0);
        row("no star: the whole text must match", "Schuetze like 'Müll'", "Müller", 0);
        row("dot is no pattern character", "Verein like 'S.V?Tal'", "SSV Tal", 0);
        row("hash is a digit", "Verein like 'SV ####*'", "SV 1920 Musterstadt", 1);
        row("hash on a number", "StartNr like '1#'", qint64(12), 1);
        row("range end included", "Schuetze like '[a-c]*'", "Cramer", 1);
        row("range skips Ä", "Schuetze like '[a-c]*'", "Ährenfeld", 0);
        row("negated list with umlaut ignores case", "Schuetze like '[!mä]*'", "Ährenfeld", 0);
        row("list of capitals matches lower case", "Schuetze like '[ÖX]*'", "öztürk", 1);
        row("start number with leading zero", "StartNr = 012", qint64(12), 1);
        row("number with decimal point", "Serie = 98.5", 98.5, 1);
        row("decimal comma in a number", "StartNr = 1,5", qint64(1), -1);
        row("apostrophe inserted as typed", "Schuetze like 'O'Brien*'", "O'Brien", -1);
        row("unterminated character list", "Schuetze like '[a-c*'", "a", -1);
        // likePrefix quotes the text so that an apostrophe is a character; pattern characters keep their meaning.
        QTest::newRow("likePrefix: apostrophe") << Criterion::likePrefix("Schuetze", "O'B") << QVariant("O'Brien") << 1;
        QTest::newRow("likePrefix: empty text") << Criterion::likePrefix("Schuetze", "") << QVariant("x") << 1;
        QTest::newRow("likePrefix: pattern characters") << Criterion::likePrefix("Schuetze", "M?[a-c]#") << QVariant("Mxb1z") << 1;
    }

    void matches()
    {
        QFETCH(QString, criterion);
        QFETCH(QVariant, value);
        QFETCH(int, matches);
        bool matched = false;
        QCOMPARE(raisedNumber([&] { matched = Criterion::parse(criterion).matches(value); }), matches < 0 ? 3077 : 0);
        QCOMPARE(matched, matches == 1);
    }

    void compare_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("expected"); // -1: a first, 0: equal, 1: b first
        QTest::newRow("letter case ignored") << "anna" << "Berta" << -1;
        QTest::newRow("umlaut as its plain vowel") << "Äpfel" << "Apfelbaum" << -1;
        QTest::newRow("ß as ss") << "Strassburg" << "Straße" << -1;
        QTest::newRow("capital sharp s as ss") << "STRAẞE" << "Strasser" << -1;
        QTest::newRow("accent ignored") << "Émile" << "Ernst" << -1;
        QTest::newRow("same first byte, different letters") << "Ãb" << "äa" << 1;
        QTest::newRow("common start, then ß against ss") << "Maßstab" << "Masse" << 1;
        QTest::newRow("blank before hyphen") << "Müller Anna" << "Müller-Lüdenscheidt" << -1;
        QTest::newRow("tie: plain letter before umlaut") << "Muller" << "Müller" << -1;
        QTest::newRow("tie: upper case before lower case") << "anna" << "Anna" << 1;
        QTest::newRow("tie: ss before ß") << "Straße" << "Strasse" << 1;
        QTest::newRow("empty before everything") << "" << " " << -1;
        QTest::newRow("digits as exactly") << "0000990000" << "0000900000" << 1;
    }

    void compare()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, expected);
        const auto sign = [](int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; };
        QCOMPARE(sign(compareAlphabetically(a.toUtf8(), b.toUtf8())), expected);
        QCOMPARE(sign(compareAlphabetically(b.toUtf8(), a.toUtf8())), -expected);
    }

    // Null and empty keys last, texts by their characters even when they hold
    // digits, numbers by value; alphabetically as people look names up.
    void recordsetOrder_data()
    {
        QTest::addColumn<QString>("orderBy");
        QTest::addColumn<TextOrder>("order");
        QTest::addColumn<QStringList>("shooters");
        QTest::addColumn<QStringList>("expected");
        const QStringList mixed{"müller", "Zander", "adler", "Ärger", "Bauer"};
        QTest::newRow("exact: keys as texts, the empty key after all keys, then the null key")
            << "Sortierung desc" << TextOrder::Exact << QStringList{"Neu|", "Leer||", "Zehn||10", "Neun||9"}
            << QStringList{"Neun", "Zehn", "Leer", "Neu"};
        QTest::newRow("exact: upper case first, umlauts after z")
            << "Schuetze" << TextOrder::Exact << mixed << QStringList{"Bauer", "Zander", "adler", "müller", "Ärger"};
        QTest::newRow("alphabetical: case ignored, Ä as A")
            << "Schuetze" << TextOrder::Alphabetical << mixed << QStringList{"adler", "Ärger", "Bauer", "müller", "Zander"};
        QTest::newRow("alphabetical: Null name first, then the empty name")
            << "Schuetze" << TextOrder::Alphabetical << QStringList{"Berta", "(null)", "", "anna"}
            << QStringList{"(null)", "", "anna", "Berta"};
        QTest::newRow("alphabetical: two terms, each alphabetical")
            << "Verein, Schuetze" << TextOrder::Alphabetical
            << QStringList{"Otto|SV Ülzen", "berta|SV Alm", "Anton|SV Ülzen", "Carl|SV Alm"}
            << QStringList{"berta", "Carl", "Anton", "Otto"};
        QTest::newRow("alphabetical: numbers by value, zero before null")
            << "StartNr desc" << TextOrder::Alphabetical << QStringList{"Zwei|||2", "Ohne", "Zehn|||10", "Null|||0", "Neun|||9"}
            << QStringList{"Zehn", "Neun", "Zwei", "Null", "Ohne"};
    }

    void recordsetOrder()
    {
        QFETCH(QString, orderBy);
        QFETCH(TextOrder, order);
        QFETCH(QStringList, shooters);
        QFETCH(QStringList, expected);
        TestCompetition tc;
        fill(tc, shooters);
        const std::unique_ptr<Recordset> rs
            = Database::open(tc.path())->openRecordset("Select * from Ergebnisse order by " + orderBy, order);
        QCOMPARE(shownNames(*rs), expected);
        rs->requery();
        QCOMPARE(shownNames(*rs), expected);
    }

    // Alphabetical when asked; a new name stays last until the refresh sorts it in.
    void dataSourceOrder()
    {
        TestCompetition tc;
        fill(tc, {"Ärger", "Bauer", "adler"});
        DataSource source;
        source.setDatabaseName(tc.path());
        source.setRecordSource(ByName);
        source.setTextOrder(TextOrder::Alphabetical);
        source.refresh();
        QCOMPARE(shownNames(*source.recordset()), (QStringList{"adler", "Ärger", "Bauer"}));
        source.recordset()->addNew();
        source.recordset()->setValue(QStringLiteral("Schuetze"), QStringLiteral("ängstlich"));
        source.recordset()->update();
        QCOMPARE(shownNames(*source.recordset()), (QStringList{"adler", "Ärger", "Bauer", "ängstlich"}));
        source.refresh();
        QCOMPARE(shownNames(*source.recordset()), (QStringList{"adler", "ängstlich", "Ärger", "Bauer"}));
        QCOMPARE(tc.scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), 4);
    }
};

QTEST_GUILESS_MAIN(TestTextCompare)
#include "tst_textcompare.moc"
