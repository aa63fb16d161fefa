#include "scoring/Ranking.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "support/RecordsetChecks.h"
#include "support/TestCompetition.h"

#include <QtTest>

using namespace RecordsetChecks;

namespace {

// Keys as the score computation writes them: total, then counts; a > b > c.
const QString A = "000095" "03" + QString(20, '0');
const QString B = "000090" "01" + QString(20, '0');
const QString C = "000085" "00" + QString(20, '0');

using Places = QMap<QString, int>;

// Place per name as the file holds it, read past the program; Null as -1.
Places storedPlaces(const TestCompetition &tc)
{
    Places places;
    for (const QVariantMap &row : tc.rows(QStringLiteral("SELECT Schuetze, Platz FROM Ergebnisse")))
        places.insert(row.value("Schuetze").toString(), row.value("Platz").isNull() ? -1 : row.value("Platz").toInt());
    return places;
}

} // namespace

class TestRanking : public QObject
{
    Q_OBJECT

private slots:
    // Shooters as fill() takes them: "name|club|key", no key for no result.
    void storesPlaces_data()
    {
        QTest::addColumn<QStringList>("shooters");
        QTest::addColumn<QString>("groupColumn");
        QTest::addColumn<Places>("places");
        QTest::newRow("whole field: ties share, the next skips, no result no place")
            << QStringList{"Adler|X|" + A, "Bach|Y|" + B, "Cramer|X|" + B, "Dorn|Y|" + C, "Eck|Y"} << QString()
            << Places{{"Adler", 1}, {"Bach", 2}, {"Cramer", 2}, {"Dorn", 4}, {"Eck", -1}};
        QTest::newRow("each group from place 1")
            << QStringList{"Adler|X|" + A, "Cramer|X|" + B, "Dorn|Y|" + C, "Eck|Y|" + C, "Bach|Y|" + B}
            << QStringLiteral("Verein") << Places{{"Adler", 1}, {"Bach", 1}, {"Cramer", 2}, {"Dorn", 2}, {"Eck", 2}};
        QTest::newRow("a group without results has no places")
            << QStringList{"Adler|X|" + A, "Bach|Y", "Cramer|Y|" + QString(28, '0')} << QStringLiteral("Verein")
            << Places{{"Adler", 1}, {"Bach", -1}, {"Cramer", -1}};
    }

    // The rows need not be in key order: a shooter typed after the query ran
    // stands at the end of the set and still gets its place among the others.
    void storesPlaces()
    {
        QFETCH(QStringList, shooters);
        QFETCH(QString, groupColumn);
        QFETCH(Places, places);
        TestCompetition tc;
        fill(tc, shooters.mid(0, shooters.size() - 1));
        const auto rs = Database::open(tc.path())->openRecordset(ByKey);
        const QStringList late = shooters.last().split('|');
        rs->addNew();
        rs->setValue("Schuetze", late.at(0));
        rs->setValue("Verein", late.at(1));
        if (late.size() > 2)
            rs->setValue("Sortierung", late.at(2));
        rs->update();
        const Ranking::Scope scope{groupColumn};
        const bool anyPlace = places.values() != QList<int>(places.size(), -1);
        QCOMPARE(Ranking::placesAreCurrent(*rs, scope), !anyPlace);
        Ranking::storePlaces(*rs, scope);
        QCOMPARE(storedPlaces(tc), places);
        QVERIFY(Ranking::placesAreCurrent(*rs, scope));
        // The places of one scope are stale in the other as soon as groups differ.
        if (!groupColumn.isEmpty() && places.values().contains(2))
            QVERIFY(!Ranking::placesAreCurrent(*rs, {}));
    }

    // More rows than one write batch holds, the last write refused by the file
    // (a unique index on the place meets the tie at the end): a half-ranked list
    // would be wrong on paper, so no place is kept.
    void failedWriteKeepsNoPlace()
    {
        TestCompetition tc;
        QStringList shooters;
        for (int i = 0; i < 200; ++i)
            shooters << QStringLiteral("S%1|X|%2").arg(i).arg(1000 - std::min(i, 198), 6, 10, QLatin1Char('0'))
                            + QString(22, '0');
        fill(tc, shooters);
        tc.exec("CREATE UNIQUE INDEX OnePerPlace ON Ergebnisse (Platz)");
        const auto db = Database::open(tc.path());
        const auto rs = db->openRecordset(ByKey);
        QVERIFY(raisedError([&] { Ranking::storePlaces(*rs); }).number != 0);
        QVERIFY(!db->inTransaction());
        QCOMPARE(tc.scalar("SELECT count(*) FROM Ergebnisse WHERE Platz IS NOT NULL").toInt(), 0);
    }

    void missingGroupColumnIsAnError()
    {
        TestCompetition tc;
        fill(tc, {"Adler|X|" + A});
        const auto rs = Database::open(tc.path())->openRecordset(ByKey);
        const RaisedError error = raisedError([&] { Ranking::storePlaces(*rs, {QStringLiteral("Gruppe")}); });
        QCOMPARE(error.number, 3265);
        QVERIFY(error.description.contains("Gruppe"));
        QVERIFY(tc.scalar("SELECT Platz FROM Ergebnisse").isNull());
    }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
