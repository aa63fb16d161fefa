#include "scoring/RankAssignment.h"
#include "scoring/Teams.h"
#include "scoring/Classes.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "support/TestCompetition.h"

#include <QtTest>

namespace {

// "class/team/total/inner tens/tens" per shooter, ";" between shooters; the
// key ranks by total, then inner tens, then tens, as the first rule does.
std::vector<Teams::Shooter> shooters(const QString &text)
{
    std::vector<Teams::Shooter> list;
    for (const QString &entry : text.split(QLatin1Char(';'))) {
        const QStringList parts = entry.split(QLatin1Char('/'));
        Teams::Shooter shooter;
        shooter.row = int(list.size());
        shooter.klasse = parts.at(0);
        shooter.team = parts.at(1);
        shooter.total = parts.at(2).toDouble();
        shooter.innerTens = parts.at(3).toInt();
        shooter.counts[10] = parts.at(4).toInt();
        shooter.counts[9] = 10 - shooter.counts[10];
        shooter.key = shooter.total == 0 ? QString() : QStringLiteral("%1%2%3").arg(int(shooter.total * 10), 6, 10, QLatin1Char('0'))
                                                           .arg(shooter.innerTens, 2, 10, QLatin1Char('0'))
                                                           .arg(shooter.counts[10], 2, 10, QLatin1Char('0'));
        list.push_back(shooter);
    }
    return list;
}

// "place name total [rows]" per team, "-" for no place, "|" between teams.
QString shown(const std::vector<Teams::Team> &teams)
{
    QStringList lines;
    for (const Teams::Team &team : teams) {
        QStringList rows;
        for (const int row : team.counted)
            rows << QString::number(row);
        lines << QStringLiteral("%1 %2%3 %4 [%5]")
                     .arg(team.place == RankAssignment::NoPlace ? QStringLiteral("-") : QString::number(team.place),
                          team.klasse.isEmpty() ? QString() : team.klasse + QLatin1Char(':'), team.name)
                     .arg(team.total)
                     .arg(rows.join(QLatin1Char(',')));
    }
    return lines.join(QLatin1Char('|'));
}

} // namespace

Q_DECLARE_METATYPE(TieRule)

class TestTeams : public QObject
{
    Q_OBJECT

private slots:
    void rank_data();
    void rank();
    void shootersOfRows();
    void storedCounted_data();
    void storedCounted();
    void storeCounted();
};

void TestTeams::rank_data()
{
    QTest::addColumn<QString>("shooters");
    QTest::addColumn<int>("counted");
    QTest::addColumn<TieRule>("rule");
    QTest::addColumn<QString>("teams");

    QTest::newRow("best 3 of 5")
        << "/A/91/0/1;/A/95/0/5;/A/93/0/3;/A/90/0/0;/A/94/0/4" << 3 << TieRule::InnerTensFirst << "1 A 282 [1,4,2]";
    QTest::newRow("a team of 2 when 3 count: after the complete ones, without a place")
        << "/Zwei/99/0/9;/Zwei/98/0/8;/Drei/90/0/0;/Drei/90/0/0;/Drei/90/0/0" << 3 << TieRule::InnerTensFirst
        << "1 Drei 270 [2,3,4]|- Zwei 197 [0,1]";
    QTest::newRow("a shooter without a result counts for no team")
        << "/A/95/0/5;/A/0/0/0;/A/94/0/4" << 3 << TieRule::InnerTensFirst << "- A 189 [0,2]";
    QTest::newRow("0 counts every member") << "/A/91/0/1;/A/95/0/5;/A/93/0/3;/A/90/0/0" << 0
                                           << TieRule::InnerTensFirst << "1 A 369 [1,2,0,3]";
    // 282 each: Nord has more inner tens (3 to 2), Süd more tens (12 to 9).
    QTest::newRow("first rule: the counted shooters' inner tens decide")
        << "/Nord/95/1/5;/Nord/94/1/2;/Nord/93/1/2;/Süd/95/0/4;/Süd/94/1/4;/Süd/93/1/4" << 3
        << TieRule::InnerTensFirst << "1 Nord 282 [0,1,2]|2 Süd 282 [3,4,5]";
    QTest::newRow("DSB rule: the counted shooters' tens decide")
        << "/Nord/95/1/5;/Nord/94/1/2;/Nord/93/1/2;/Süd/95/0/4;/Süd/94/1/4;/Süd/93/1/4" << 3 << TieRule::CountsFirst
        << "1 Süd 282 [3,4,5]|2 Nord 282 [0,1,2]";
    QTest::newRow("still equal: the same place, the next skips")
        << "/A/95/1/5;/B/95/1/5;/C/94/0/4" << 1 << TieRule::CountsFirst << "1 A 95 [0]|1 B 95 [1]|3 C 94 [2]";
    QTest::newRow("teams of equal name in two classes")
        << "Herren/SV Tell/95/0/5;Damen/SV Tell/97/0/7;Herren/SV Tell/93/0/3;Damen/SV Tell/90/0/0" << 2
        << TieRule::InnerTensFirst << "1 Herren:SV Tell 188 [0,2]|1 Damen:SV Tell 187 [1,3]";
    QTest::newRow("letter case and blanks around the name ignored")
        << "/SV Tell I/95/0/5;/ sv tell i /94/0/4;/SV Tell II/96/0/6" << 2 << TieRule::InnerTensFirst
        << "1 SV Tell I 189 [0,1]|- SV Tell II 96 [2]";
    QTest::newRow("without a team text no team") << "/ /95/0/5;//94/0/4" << 1 << TieRule::InnerTensFirst << "";
}

void TestTeams::rank()
{
    QFETCH(QString, shooters);
    QFETCH(int, counted);
    QFETCH(TieRule, rule);
    QFETCH(QString, teams);
    QCOMPARE(shown(Teams::rank(::shooters(shooters), counted, rule)), teams);
}

// From the file's rows: X and Y tie on 180 and no inner tens; Y's four tens
// in the shots decide. Jugend comes first, as the class list has it, though
// its row comes last.
void TestTeams::shootersOfRows()
{
    TestCompetition tc;
    tc.exec("INSERT INTO Klassen (Reihenfolge, Name) VALUES (1, 'Jugend'), (2, 'Damen')");
    const QVariantList nines{9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    const QVariantList tens{10, 10, 8, 9, 9, 9, 9, 9, 9, 8};
    const QList<std::tuple<QString, QString, QVariantList>> rows{
        {"Damen", "X", nines}, {"Damen", "X", nines}, {"Damen", "Y", tens}, {"Damen", "Y", tens}, {"Jugend", "Z", nines}};
    int startNr = 0;
    for (const auto &[klasse, team, shots] : rows) {
        tc.addResult(++startNr, "S", "SV", 90, "000090" + QString(22, '0'), shots);
        tc.exec("UPDATE Ergebnisse SET Klasse = ?, Mannschaft = ?, Innenzehner = 0 WHERE StartNr = ?", {klasse, team, startNr});
    }
    const auto db = Database::open(tc.path());
    const std::unique_ptr<Recordset> set = db->openRecordset("Select * from Ergebnisse order by StartNr");
    const std::vector<ClassDef> classes = Classes::read(*db);
    QCOMPARE(shown(Teams::rank(Teams::shootersOf(*set, classes), 2, TieRule::CountsFirst)),
             QStringLiteral("- Jugend:Z 90 [4]|1 Damen:Y 180 [2,3]|2 Damen:X 180 [0,1]"));
}

void TestTeams::storedCounted_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<int>("counted");

    QTest::newRow("none stored: three") << "" << 3;
    QTest::newRow("a file of an earlier version") << "DROP TABLE Einstellungen" << 3;
    QTest::newRow("five") << "INSERT INTO Einstellungen VALUES ('Mannschaft', ' 5 ')" << 5;
    QTest::newRow("all members") << "INSERT INTO Einstellungen VALUES ('Mannschaft', '0')" << 0;
    QTest::newRow("a negative number") << "INSERT INTO Einstellungen VALUES ('Mannschaft', '-2')" << 3;
    QTest::newRow("no number") << "INSERT INTO Einstellungen VALUES ('Mannschaft', 'drei')" << 3;
}

void TestTeams::storedCounted()
{
    QFETCH(QString, setUp);
    QFETCH(int, counted);
    TestCompetition tc;
    if (!setUp.isEmpty())
        tc.exec(setUp);
    QCOMPARE(Teams::storedCounted(*Database::open(tc.path())), counted);
}

// What is stored is read back, and the tie rule beside it stays.
void TestTeams::storeCounted()
{
    TestCompetition tc;
    tc.exec("INSERT INTO Einstellungen VALUES ('Wertung', '2')");
    const auto db = Database::open(tc.path());
    Teams::storeCounted(*db, 4);
    Teams::storeCounted(*db, 5);
    QCOMPARE(Teams::storedCounted(*db), 5);
    QCOMPARE(tc.scalar("SELECT Wert FROM Einstellungen WHERE Name = 'Wertung'").toString(), QStringLiteral("2"));
}

QTEST_GUILESS_MAIN(TestTeams)
#include "tst_teams.moc"
