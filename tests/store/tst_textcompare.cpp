// How texts compare: the search criterion of a recordset (like patterns,
// letter case, umlauts, quoting), and texts ordered alphabetically through the
// comparison, the recordset and the data source on a master list.
#include "store/Criterion.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"
#include "store/TextOrder.h"
#include "support/RaisedError.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"
#include "support/TestMasterList.h"

#include <QtTest>

using namespace RecordsetChecks;

Q_DECLARE_METATYPE(TextOrder)

namespace {

// Set order (Sortierung desc) and the ID each row gets from its insertion:
//   0 Müller     ID 3  StartNr 7   SSV Tal
//   1 Ährenfeld  ID 5  StartNr 12  SV 1920 Musterstadt
//   2 O'Brien    ID 4  StartNr 3   SSV Tal
//   3 Becker     ID 1  StartNr 12  SV 1920 Musterstadt
//   4 öztürk     ID 2  StartNr 20  SG Öhringen
//   5 Mahler     ID 6  no start number, no club, no key
// Becker has the lowest ID of the two start numbers 12, so table order and
// set order give different answers.
void fill(const TestCompetition &tc)
{
    const QString add =
        QStringLiteral("INSERT INTO Ergebnisse (StartNr, Schuetze, Verein, Sortierung) VALUES (?, ?, ?, ?)");
    tc.exec(add, {12, "Becker", "SV 1920 Musterstadt", "0920"});
    tc.exec(add, {20, "öztürk", "SG Öhringen", "0910"});
    tc.exec(add, {7, "Müller", "SSV Tal", "0950"});
    tc.exec(add, {3, "O'Brien", "SSV Tal", "0930"});
    tc.exec(add, {12, "Ährenfeld", "SV 1920 Musterstadt", "0940"});
    tc.exec(add, {QVariant(), "Mahler", QVariant(), QVariant()});
}


const QString ByName = QStringLiteral("Select * from Schuetzen order by Schuetze");

QVariant nullable(const QString &text)
{
    if (text == QLatin1String("(null)"))
        return QVariant();
    // Qt stores a null text as Null; an empty name must arrive as an empty text.
    return text.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// Shooters given as "name|club"; "(null)" stands for a Null field.
void fill(const TestMasterList &list, const QStringList &shooters)
{
    for (const QString &shooter : shooters)
        list.addShooter(nullable(shooter.section(QLatin1Char('|'), 0, 0)),
                        nullable(shooter.section(QLatin1Char('|'), 1, 1)));
}

QStringList shownNames(const Recordset &rs)
{
    QStringList names;
    const int field = rs.fieldIndex(QStringLiteral("Schuetze"));
    for (int row = 0; row < rs.rowCount(); ++row) {
        const QVariant v = rs.storedValue(row, field);
        names << (v.isNull() ? QStringLiteral("(null)") : v.toString());
    }
    return names;
}

int sign(int value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

} // namespace

class TestTextCompare : public QObject
{
    Q_OBJECT

private slots:
    void findFirst_data();
    void findFirst();
    void likeMatches_data();
    void likeMatches();
    void likePrefixText_data();
    void likePrefixText();
    void compare_data();
    void compare();
    void recordsetOrder_data();
    void recordsetOrder();
    void dataSourceOrder_data();
    void dataSourceOrder();
};

void TestTextCompare::findFirst_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected"); // -1: no match, -2: no valid criterion; the position stays either way

    QTest::newRow("lowest ID is not the first row") << "ID = 1" << 0 << 3;
    QTest::newRow("ID that is not there") << "ID = 99" << 2 << -1;
    QTest::newRow("start number: first in set order, not lowest ID") << "StartNr = 12" << 4 << 1;
    QTest::newRow("search starts at the first row, not at the current") << "StartNr = 7" << 4 << 0;
    QTest::newRow("start number with leading zero") << "StartNr = 012" << 0 << 1;
    QTest::newRow("null start number is not 0") << "StartNr = 0" << 1 << -1;
    QTest::newRow("lower-case umlaut pattern finds capital") << "Schuetze like 'mü*'" << 3 << 0;
    QTest::newRow("keywords in any case") << "schuetze LIKE 'BECKER*'" << 0 << 3;
    QTest::newRow("apostrophe quoted by likePrefix") << Criterion::likePrefix("Schuetze", "O'B") << 0 << 2;
    QTest::newRow("star in the middle, first in set order") << "Schuetze like 'M*er'" << 5 << 0;
    QTest::newRow("question mark is one character") << "Schuetze like 'M?ller'" << 5 << 0;
    QTest::newRow("question mark needs a character") << "Schuetze like 'Becker?'" << 0 << -1;
    QTest::newRow("no star: the whole text must match") << "Schuetze like 'Müll'" << 2 << -1;
    QTest::newRow("hash is a digit") << "Verein like 'SV ####*'" << 0 << 1;
    QTest::newRow("range skips Ä") << "Schuetze like '[a-c]*'" << 0 << 3;
    QTest::newRow("negated list with umlaut ignores case") << "Schuetze like '[!mä]*'" << 0 << 2;
    QTest::newRow("list of capitals matches lower case") << "Schuetze like '[ÖX]*'" << 0 << 4;
    QTest::newRow("decimal comma in a number") << "StartNr = 1,5" << 2 << -2;
    QTest::newRow("unterminated quote") << "Schuetze like 'Mü*" << 2 << -2;
    QTest::newRow("apostrophe inserted as typed") << "Schuetze like 'O'Brien*'" << 2 << -2;
    QTest::newRow("unterminated character list") << "Schuetze like '[a-c*'" << 2 << -2;
}

void TestTextCompare::findFirst()
{
    QFETCH(QString, criterion);
    QFETCH(int, start);
    QFETCH(int, expected);

    TestCompetition tc;
    fill(tc);
    auto db = Database::open(tc.path());
    auto rs = db->openRecordset(ByKey);
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

void TestTextCompare::likeMatches_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");

    QTest::newRow("prefix, capital umlaut in the value") << "Schuetze like 'ü*'" << QVariant("Übel") << true;
    QTest::newRow("prefix longer than the value") << "Schuetze like 'Müllers*'" << QVariant("Müller") << false;
    QTest::newRow("prefix, first letter in the other case") << "Schuetze like 'mÜL*'" << QVariant("Müller") << true;
    QTest::newRow("long s folds to s") << "Schuetze like 'St*'" << QVariant("ſtraße") << true;
    QTest::newRow("null value") << "Schuetze like '*'" << QVariant() << false;
    QTest::newRow("empty text matches a lone star") << "Schuetze like '*'" << QVariant("") << true;
    QTest::newRow("doubled apostrophe is one") << "Schuetze like 'd''Arc*'" << QVariant("d'Arcy") << true;
    QTest::newRow("dot is no pattern character") << "Verein like 'S.V?Tal'" << QVariant("SSV Tal") << false;
    QTest::newRow("plus is no pattern character") << "Verein like 'A+?'" << QVariant("AAA") << false;
    QTest::newRow("hash on a number") << "StartNr like '1#'" << QVariant(qint64(12)) << true;
    QTest::newRow("hash needs exactly one digit") << "StartNr like '1#'" << QVariant(qint64(123)) << false;
    QTest::newRow("range end included") << "Schuetze like '[a-c]*'" << QVariant("Cramer") << true;
    QTest::newRow("number with decimal point") << "Serie = 98.5" << QVariant(98.5) << true;
}

void TestTextCompare::likeMatches()
{
    QFETCH(QString, criterion);
    QFETCH(QVariant, value);
    QFETCH(bool, expected);

    bool matched = false;
    QCOMPARE(raisedNumber([&] { matched = Criterion::parse(criterion).matches(value); }), 0);
    QCOMPARE(matched, expected);
}

void TestTextCompare::likePrefixText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("apostrophe doubled") << "O'B" << "Schuetze like 'O''B*'";
    QTest::newRow("empty text") << "" << "Schuetze like '*'";
    QTest::newRow("pattern characters kept") << "M?[a-c]#" << "Schuetze like 'M?[a-c]#*'";
}

void TestTextCompare::likePrefixText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Criterion::likePrefix(QStringLiteral("Schuetze"), text), expected);
}

// ---------------------------------------------------------------- text order

void TestTextCompare::compare_data()
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

void TestTextCompare::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(sign(compareAlphabetically(a.toUtf8(), b.toUtf8())), expected);
    QCOMPARE(sign(compareAlphabetically(b.toUtf8(), a.toUtf8())), -expected);
}

void TestTextCompare::recordsetOrder_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<TextOrder>("order");
    QTest::addColumn<QStringList>("shooters");
    QTest::addColumn<QStringList>("expected");

    const QStringList mixed{"müller|", "Zander|", "adler|", "Ärger|", "Bauer|"};
    QTest::newRow("exact: upper case first, umlauts after z")
        << ByName << TextOrder::Exact << mixed << QStringList{"Bauer", "Zander", "adler", "müller", "Ärger"};
    QTest::newRow("alphabetical: case ignored, Ä as A")
        << ByName << TextOrder::Alphabetical << mixed << QStringList{"adler", "Ärger", "Bauer", "müller", "Zander"};
    QTest::newRow("alphabetical: Null name first, then the empty name")
        << ByName << TextOrder::Alphabetical << QStringList{"Berta|", "(null)|", "|", "anna|"}
        << QStringList{"(null)", "", "anna", "Berta"};
    QTest::newRow("alphabetical: same name in character-code order")
        << ByName << TextOrder::Alphabetical << QStringList{"anna|", "Anna|", "ANNA|"}
        << QStringList{"ANNA", "Anna", "anna"};
    QTest::newRow("alphabetical: two terms, each alphabetical")
        << QStringLiteral("Select * from Schuetzen order by Verein, Schuetze") << TextOrder::Alphabetical
        << QStringList{"Otto|SV Ülzen", "berta|SV Alm", "Anton|SV Ülzen", "Carl|SV Alm"}
        << QStringList{"berta", "Carl", "Anton", "Otto"};
    QTest::newRow("alphabetical: numbers keep their numeric order")
        << QStringLiteral("Select * from Schuetzen order by ID desc") << TextOrder::Alphabetical
        << QStringList{"a|", "b|", "c|", "d|", "e|", "f|", "g|", "h|", "i|", "j|"}
        << QStringList{"j", "i", "h", "g", "f", "e", "d", "c", "b", "a"};
}

void TestTextCompare::recordsetOrder()
{
    QFETCH(QString, sql);
    QFETCH(TextOrder, order);
    QFETCH(QStringList, shooters);
    QFETCH(QStringList, expected);
    TestMasterList list;
    fill(list, shooters);
    const std::shared_ptr<Database> db = Database::open(list.path());
    const std::unique_ptr<Recordset> rs = db->openRecordset(sql, order);
    QCOMPARE(shownNames(*rs), expected);
    rs->requery();
    QCOMPARE(shownNames(*rs), expected);
}

void TestTextCompare::dataSourceOrder_data()
{
    QTest::addColumn<bool>("alphabetical");
    QTest::addColumn<QString>("added"); // a name added through the recordset before the refresh
    QTest::addColumn<QStringList>("beforeRefresh");
    QTest::addColumn<QStringList>("afterRefresh");

    QTest::newRow("alphabetical when asked")
        << true << "" << QStringList{"adler", "Ärger", "Bauer"} << QStringList{"adler", "Ärger", "Bauer"};
    QTest::newRow("a new name stays last until the refresh sorts it in")
        << true << "ängstlich" << QStringList{"adler", "Ärger", "Bauer", "ängstlich"}
        << QStringList{"adler", "ängstlich", "Ärger", "Bauer"};
}

void TestTextCompare::dataSourceOrder()
{
    QFETCH(bool, alphabetical);
    QFETCH(QString, added);
    QFETCH(QStringList, beforeRefresh);
    QFETCH(QStringList, afterRefresh);
    TestMasterList list;
    fill(list, {"Ärger|", "Bauer|", "adler|"});
    DataSource source;
    source.setDatabaseName(list.path());
    source.setRecordSource(ByName);
    if (alphabetical)
        source.setTextOrder(TextOrder::Alphabetical);
    source.refresh();
    if (!added.isEmpty()) {
        source.recordset()->addNew();
        source.recordset()->setValue(QStringLiteral("Schuetze"), added);
        source.recordset()->update();
    }
    QCOMPARE(shownNames(*source.recordset()), beforeRefresh);
    source.refresh();
    QCOMPARE(shownNames(*source.recordset()), afterRefresh);
    QCOMPARE(TestMasterList::count(list.path()), afterRefresh.size());
}

QTEST_MAIN(TestTextCompare)
#include "tst_textcompare.moc"
