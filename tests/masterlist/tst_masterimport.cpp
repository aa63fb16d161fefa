// "Importieren..." of the master list window: shooters from an Access master
// list or a CSV file appended, shooters already listed skipped, and files
// that cannot be read leaving the list as it was.
#include "AccessFixtures.h"
#include "CheckConnection.h"
#include "DataGrid.h"
#include "GridModel.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "TestMasterList.h"
#include "frmGesamt.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QtTest>
#include <memory>

namespace {

const QString NothingImported = QStringLiteral("Es wurde nichts importiert; die Gesamtliste ist unverändert.");

// mdb-export legacy-schuetzen.mdb Schuetzen, in its order.
const QStringList AccessShooters{
    QStringLiteral("Jürgen Müßig|SV Grün-Weiß Öhringen"), QStringLiteral("Anna Beispiel|SG Tell Ahlen"),
    QStringLiteral("Zoë Ærø|(null)"), QStringLiteral("Karl-Heinz O'Brien|SG Tell Ahlen"),
    QStringLiteral("Ömer Yıldız|SV Grün-Weiß Öhringen")};

QString summary(int added, int skipped)
{
    return QStringLiteral("Hinzugefügt: %1\nÜbersprungen, weil schon in der Gesamtliste: %2").arg(added).arg(skipped);
}

// "(null)" stands for Null; an empty piece for the empty text, which a
// null QString would not bind as.
QVariant nullable(const QString &text)
{
    if (text == QLatin1String("(null)"))
        return QVariant();
    return text.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace

class tst_MasterImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogCancelled();
    void accessMasterList();
    void listedShootersAreSkipped_data();
    void listedShootersAreSkipped();
    void importingTwiceAddsNothing();
    void csvFiles_data();
    void csvFiles();
    void unreadableFiles_data();
    void unreadableFiles();
    void failedWriteLeavesTheList();

private:
    void fill(const QStringList &shooters) const;
    void openList();
    void importFile(const QString &path);
    QString csv(const QByteArray &bytes) const;
    int shownRows() const { return m_list->findChild<DataGrid *>()->gridModel()->rowCount() - 1; }
    const ScriptedDialogs::Shown &lastShown() const { return m_dialogs->shown().back(); }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestMasterList> m_master;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmGesamt> m_list;
};

void tst_MasterImport::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_master = std::make_unique<TestMasterList>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    frmGesamt::setMasterFolders(m_master->programFolder(), m_master->userFolder());
}

void tst_MasterImport::cleanup()
{
    if (m_list)
        m_list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_list.isNull());
    frmGesamt::setMasterFolders(QString(), QString());
    m_dialogs.reset();
    m_master.reset();
    m_settings.reset();
}

void tst_MasterImport::fill(const QStringList &shooters) const
{
    for (const QString &shooter : shooters)
        m_master->addShooter(nullable(shooter.section(QLatin1Char('|'), 0, 0)),
                             nullable(shooter.section(QLatin1Char('|'), 1, 1)));
}

void tst_MasterImport::openList()
{
    m_list = new frmGesamt(nullptr);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list));
}

void tst_MasterImport::importFile(const QString &path)
{
    m_dialogs->answerFile(path);
    m_list->findChild<QAction *>(QStringLiteral("mnuDateiImport"))->trigger();
}

QString tst_MasterImport::csv(const QByteArray &bytes) const
{
    return AccessFixtures::write(m_master->root() + QStringLiteral("/schützen.csv"), bytes);
}

void tst_MasterImport::dialogCancelled()
{
    fill({QStringLiteral("Vorher|V")});
    openList();
    importFile(QString());
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(lastShown().kind, QStringLiteral("open"));
    QVERIFY(lastShown().request.mustExist);
    QVERIFY(lastShown().request.filter.contains(QStringLiteral("*.mdb")));
    QVERIFY(lastShown().request.filter.contains(QStringLiteral("*.csv")));
    QCOMPARE(m_master->shooters(), QStringList{QStringLiteral("Vorher|V")});
}

void tst_MasterImport::accessMasterList()
{
    openList();
    importFile(AccessFixtures::path(AccessFixtures::MasterList));
    QCOMPARE(m_master->shooters(), AccessShooters);
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QCOMPARE(lastShown().title, QStringLiteral("Hinweis"));
    QCOMPARE(lastShown().text, summary(5, 0));
    QCOMPARE(shownRows(), 5);
    QCOMPARE(CheckConnection::scalar(m_master->path(), QStringLiteral("SELECT count(*) FROM Schuetzen WHERE Verein IS NULL"))
                     .toInt(),
             1);
}

void tst_MasterImport::listedShootersAreSkipped_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<int>("added");

    QTest::newRow("same name and club") << "Anna Beispiel|SG Tell Ahlen" << 4;
    QTest::newRow("other letter case") << "anna beispiel|SG Tell Ahlen" << 5;
    QTest::newRow("no club, empty text in the list") << "Zoë Ærø|" << 4;
    QTest::newRow("blanks around the listed name") << " Karl-Heinz O'Brien |SG Tell Ahlen" << 4;
}

void tst_MasterImport::listedShootersAreSkipped()
{
    QFETCH(QString, listed);
    QFETCH(int, added);
    fill({listed});
    openList();
    importFile(AccessFixtures::path(AccessFixtures::MasterList));
    QCOMPARE(lastShown().text, summary(added, 5 - added));
    QCOMPARE(m_master->shooters().size(), 1 + added);
    QCOMPARE(m_master->shooters().front(), listed);
}

void tst_MasterImport::importingTwiceAddsNothing()
{
    openList();
    importFile(AccessFixtures::path(AccessFixtures::MasterList));
    importFile(AccessFixtures::path(AccessFixtures::MasterList));
    QCOMPARE(lastShown().text, summary(0, 5));
    QCOMPARE(m_master->shooters(), AccessShooters);
}

void tst_MasterImport::csvFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shooters");
    QTest::addColumn<QString>("message");

    QTest::newRow("utf-8, heading, semicolons")
        << QString::fromUtf8("Schütze;Verein\r\nJürgen Müßig;SV Grün-Weiß\r\nKarl-Heinz O'Brien;SG Tell\r\n").toUtf8()
        << QStringList{"Jürgen Müßig|SV Grün-Weiß", "Karl-Heinz O'Brien|SG Tell"} << summary(2, 0);
    QTest::newRow("utf-8 with byte-order mark, no heading")
        << QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("Zoë Ærø;\r\nÖmer Yıldız;SV Öhringen\r\n").toUtf8()
        << QStringList{"Zoë Ærø|(null)", "Ömer Yıldız|SV Öhringen"} << summary(2, 0);
    QTest::newRow("windows-1252, commas, heading")
        << QByteArray("Name,Verein\nJ\xFCrgen M\xFC\xDFig,SV Gr\xFCn-Wei\xDF\n")
        << QStringList{"Jürgen Müßig|SV Grün-Weiß"} << summary(1, 0);
    QTest::newRow("quotes and a semicolon inside names") << QByteArray("\"Karl \"\"Kalle\"\"; Huber\";\"SG \"\"Tell\"\"\"\n")
                                         << QStringList{"Karl \"Kalle\"; Huber|SG \"Tell\""} << summary(1, 0);
    QTest::newRow("an exported winners list")
        << QByteArray("\xEF\xBB\xBFPlatz;StartNr;Schuetze;Verein;Serie\r\n1;4;Anna;SV Alm;\"98,7\"\r\n2;1;Berta;;95\r\n")
        << QStringList{"Anna|SV Alm", "Berta|(null)"} << summary(2, 0);
    QTest::newRow("blanks around fields, blank lines") << QByteArray(" Anna ; SV Alm \n\n;\nBerta;\n")
                                                       << QStringList{"Anna|SV Alm", "Berta|(null)"} << summary(2, 0);
    QTest::newRow("the same shooter twice in the file") << QByteArray("Anna;SV\nAnna;SV\n") << QStringList{"Anna|SV"}
                                                        << summary(1, 1);
    QTest::newRow("a club without a name")
        << QByteArray(";SV Alm\nAnna;SV\n") << QStringList{"Anna|SV"}
        << summary(1, 0) + QStringLiteral("\nZeilen ohne Namen, nicht übernommen: 1");
    QTest::newRow("a heading alone") << QByteArray("Schuetze;Verein\r\n") << QStringList{} << summary(0, 0);
}

void tst_MasterImport::csvFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shooters);
    QFETCH(QString, message);
    openList();
    importFile(csv(bytes));
    QCOMPARE(m_master->shooters(), shooters);
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QCOMPARE(lastShown().text, message);
    QCOMPARE(shownRows(), shooters.size());
}

void tst_MasterImport::unreadableFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("number");

    QTest::newRow("broken quote") << "" << QByteArray("Anna;SV\n\"Berta;SV\nCarla;SV\n") << 321;
    QTest::newRow("empty file") << "empty file" << QByteArray() << 321;
    QTest::newRow("competition instead of a master list") << "other table" << QByteArray() << 3078;
    QTest::newRow("master list without its last page") << "last page missing" << QByteArray() << 3343;
    QTest::newRow("the program's own database file") << "sqlite" << QByteArray() << 321;
}

void tst_MasterImport::unreadableFiles()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, number);
    fill({QStringLiteral("Vorher|V")});
    QString path;
    if (kind.isEmpty())
        path = csv(bytes);
    else if (kind == QLatin1String("sqlite"))
        path = TestCompetition::templatePath();
    else
        path = AccessFixtures::damagedCopy(kind, AccessFixtures::MasterList, m_master->root() + QStringLiteral("/alt.mdb"));
    QVERIFY(!path.isEmpty());
    openList();
    importFile(path);
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QCOMPARE(lastShown().title, QStringLiteral("Fehler"));
    QVERIFY2(lastShown().text.startsWith(QStringLiteral("Fehler: %1 - ").arg(number)), qPrintable(lastShown().text));
    QVERIFY(lastShown().text.endsWith(QLatin1Char('\n') + NothingImported));
    QCOMPARE(m_master->shooters(), QStringList{QStringLiteral("Vorher|V")});
    QCOMPARE(shownRows(), 1);
}

// A list whose table refuses long names: the third shooter fails after two
// were written, and the transaction takes them back.
void tst_MasterImport::failedWriteLeavesTheList()
{
    QVERIFY(QFile::remove(m_master->path()));
    AccessFixtures::write(m_master->path(), QByteArray());
    CheckConnection::exec(m_master->path(), QStringLiteral("CREATE TABLE Schuetzen (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                           "Schuetze TEXT CHECK (length(Schuetze) <= 20), Verein TEXT)"));
    fill({QStringLiteral("Vorher|V")});
    openList();
    importFile(csv("Anna;SV\nBerta;SV\nEin Name, der zu lang ist;SV\nDora;SV\n"));
    QCOMPARE(lastShown().kind, QStringLiteral("message"));
    QVERIFY(lastShown().text.endsWith(QLatin1Char('\n') + NothingImported));
    QCOMPARE(m_master->shooters(), QStringList{QStringLiteral("Vorher|V")});
    QCOMPARE(shownRows(), 1);
}

QTEST_MAIN(tst_MasterImport)
#include "tst_masterimport.moc"
