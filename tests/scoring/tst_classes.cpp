#include "scoring/Classes.h"
#include "store/Database.h"
#include "support/RaisedError.h"
#include "support/TestCompetition.h"

#include <QtTest>

namespace {

ClassDef def(const QString &name, std::optional<int> from = {}, std::optional<int> to = {},
             const QString &sex = QStringLiteral("beide"))
{
    return {QVariant(), name, from, to, sex};
}

// Class per shooter, as the file holds it; no class as "-".
QMap<QString, QString> classOfShooters(const TestCompetition &tc)
{
    QMap<QString, QString> classes;
    for (const QVariantMap &row : tc.rows("SELECT Schuetze, Klasse FROM Ergebnisse"))
        classes.insert(row.value("Schuetze").toString(),
                       row.value("Klasse").isNull() ? QStringLiteral("-") : row.value("Klasse").toString());
    return classes;
}

QStringList names(const std::vector<ClassDef> &classes)
{
    QStringList list;
    for (const ClassDef &c : classes)
        list << c.name;
    return list;
}

const QString Long = QString(200, QLatin1Char('x'));

} // namespace

using Edit = std::function<void(std::vector<ClassDef> &)>;
Q_DECLARE_METATYPE(Edit)

class TestClasses : public QObject
{
    Q_OBJECT

private slots:
    void proposed_data();
    void proposed();
    void store_data();
    void store();
    void failedStoreChangesNothing();
    void arrange_data();
    void arrange();
};

void TestClasses::proposed_data()
{
    QTest::addColumn<QVariant>("year");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("proposed");

    // Luftgewehr first: a discipline is never proposed, whoever comes.
    QTest::newRow("the youngest by year") << QVariant(2012) << "m" << "Schüler";
    QTest::newRow("the year range includes its ends") << QVariant(2005) << "w" << "Jugend";
    QTest::newRow("by sex where the years say nothing") << QVariant(1980) << "w" << "Damen";
    QTest::newRow("sex written in capitals") << QVariant(1980) << "M" << "Herren";
    QTest::newRow("unknown sex: no class that asks for one") << QVariant(1980) << "" << "";
    QTest::newRow("unknown year: a class of sex alone") << QVariant() << "w" << "Damen";
    QTest::newRow("older than every range") << QVariant(1940) << "m" << "Herren";
}

void TestClasses::proposed()
{
    QFETCH(QVariant, year);
    QFETCH(QString, sex);
    QFETCH(QString, proposed);
    const std::vector<ClassDef> classes{def("Luftgewehr"), def("Schüler", 2010, 2016), def("Jugend", 2005, 2009),
                                        def("Damen", {}, {}, "w"), def("Herren", {}, {}, "m")};
    QCOMPARE(Classes::proposed(classes, year, sex), proposed);
}

void TestClasses::store_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("shooters"); // Anna, Bert, Cora

    QTest::newRow("renamed: the shooters go along")
        << Edit([](auto &c) { c[0].name = "Damen I"; }) << QStringList{"Damen I", "Herren"} << "Damen I,Herren,-";
    QTest::newRow("two classes swap their names")
        << Edit([](auto &c) { std::swap(c[0].name, c[1].name); }) << QStringList{"Herren", "Damen"} << "Herren,Damen,-";
    QTest::newRow("removed: its shooters in no class")
        << Edit([](auto &c) { c.erase(c.begin()); }) << QStringList{"Herren"} << "-,Herren,-";
    QTest::newRow("moved up, one added, signs kept as typed")
        << Edit([](auto &c) {
               std::swap(c[0], c[1]);
               c.push_back(def("O'Neill \"Jr.\"; Gäste"));
               c.push_back(def(Long));
           })
        << QStringList{"Herren", "Damen", "O'Neill \"Jr.\"; Gäste", Long} << "Damen,Herren,-";
}

void TestClasses::store()
{
    QFETCH(Edit, edit);
    QFETCH(QStringList, listed);
    QFETCH(QString, shooters);

    TestCompetition tc;
    tc.addResult(1, "Anna", "SV");
    tc.addResult(2, "Bert", "SV");
    tc.addResult(3, "Cora", "SV");
    tc.exec("UPDATE Ergebnisse SET Klasse = 'Damen' WHERE Schuetze = 'Anna'");
    tc.exec("UPDATE Ergebnisse SET Klasse = 'Herren' WHERE Schuetze = 'Bert'");
    const auto db = Database::open(tc.path());
    Classes::store(*db, {}, {def("Damen", 1950, 2008, "w"), def("Herren")});
    const std::vector<ClassDef> before = Classes::read(*db);
    QCOMPARE(before.size(), size_t(2));
    QCOMPARE(before[0].yearTo, std::optional<int>(2008));
    QCOMPARE(before[0].sex, QStringLiteral("w"));
    QCOMPARE(Classes::shootersIn(*db, "Damen"), 1);

    std::vector<ClassDef> after = before;
    edit(after);
    Classes::store(*db, before, after);
    QCOMPARE(names(Classes::read(*db)), listed);
    const QMap<QString, QString> classes = classOfShooters(tc);
    QCOMPARE(QStringList({classes["Anna"], classes["Bert"], classes["Cora"]}).join(','), shooters);
}

// A rule of the file refuses the list at its last class: neither the list
// nor a shooter's class may change halfway.
void TestClasses::failedStoreChangesNothing()
{
    TestCompetition tc;
    tc.addResult(1, "Anna", "SV");
    tc.exec("UPDATE Ergebnisse SET Klasse = 'Damen'");
    const auto db = Database::open(tc.path());
    Classes::store(*db, {}, {def("Damen"), def("Herren")});
    tc.exec("CREATE UNIQUE INDEX OneName ON Klassen (Name)");
    const std::vector<ClassDef> before = Classes::read(*db);
    std::vector<ClassDef> after = before;
    after[0].name = "Frauen";
    after.push_back(def("Herren"));
    QVERIFY(raisedError([&] { Classes::store(*db, before, after); }).number != 0);
    QCOMPARE(names(Classes::read(*db)), QStringList({"Damen", "Herren"}));
    QCOMPARE(classOfShooters(tc)["Anna"], QStringLiteral("Damen"));
}

void TestClasses::arrange_data()
{
    QTest::addColumn<QStringList>("classOfRows"); // rows best first
    QTest::addColumn<QString>("lines");           // heading: rows | ...

    QTest::newRow("no class at all: one list without a heading") << QStringList{"", "", ""} << ":0,1,2";
    QTest::newRow("the list's order, classes it lacks by name, then without class")
        << QStringList{"Herren", "", "Damen", "Gäste", "Herren", "Aktive"}
        << "Damen:2|Herren:0,4|Aktive:5|Gäste:3|Ohne Klasse:1";
    QTest::newRow("a class without shooters has no heading") << QStringList{"Herren"} << "Herren:0";
}

void TestClasses::arrange()
{
    QFETCH(QStringList, classOfRows);
    QFETCH(QString, lines);
    QString text;
    bool firstOfGroup = true;
    for (const Classes::Line &line : Classes::arrange(classOfRows, {def("Jugend"), def("Damen"), def("Herren")})) {
        if (line.row < 0) {
            text += (text.isEmpty() ? "" : "|") + line.heading + ':';
            firstOfGroup = true;
        } else {
            text += (text.isEmpty() ? ":" : firstOfGroup ? "" : ",") + QString::number(line.row);
            firstOfGroup = false;
        }
    }
    QCOMPARE(text, lines);
}

QTEST_GUILESS_MAIN(TestClasses)
#include "tst_classes.moc"
