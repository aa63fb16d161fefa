// Texts ordered alphabetically: the comparison, and "order by" through the
// recordset and the data source on a master list.
#include "DataSource.h"
#include "Database.h"
#include "Recordset.h"
#include "TestMasterList.h"
#include "TextOrder.h"

#include <QtTest>

Q_DECLARE_METATYPE(TextOrder)

namespace {

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

class tst_TextOrder : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void recordsetOrder_data();
    void recordsetOrder();
    void dataSourceOrder_data();
    void dataSourceOrder();
};

void tst_TextOrder::compare_data()
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

void tst_TextOrder::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(sign(compareAlphabetically(a.toUtf8(), b.toUtf8())), expected);
    QCOMPARE(sign(compareAlphabetically(b.toUtf8(), a.toUtf8())), -expected);
}

void tst_TextOrder::recordsetOrder_data()
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

void tst_TextOrder::recordsetOrder()
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

void tst_TextOrder::dataSourceOrder_data()
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

void tst_TextOrder::dataSourceOrder()
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

QTEST_MAIN(tst_TextOrder)
#include "tst_textorder.moc"
