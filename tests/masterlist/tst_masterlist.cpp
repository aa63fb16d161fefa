// The master list window beside an open competition: taking shooters over,
// finding them by name, keeping the list in name order, deleting, importing
// from an Access list or a CSV file; the one window the main window shows,
// closing, and where it comes back. Both files are read back through connections of
// their own.
#include "grid/DataGrid.h"
#include "grid/GridModel.h"
#include "mainwindow/frmMain.h"
#include "masterlist/frmGesamt.h"
#include "store/DataSource.h"
#include "store/Recordset.h"
#include "store/tempModule.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/GuiTyping.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"
#include "support/TestMasterList.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QtTest>
#include <memory>

namespace {

const QString Name = QStringLiteral("Schuetze");
const QString Club = QStringLiteral("Verein");
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

// Typing with "\b" for the backspace key.
void typeWithBackspaces(const QString &text)
{
    const QStringList pieces = text.split(QLatin1Char('\b'));
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            GuiTyping::press(Qt::Key_Backspace);
        GuiTyping::typeText(pieces.at(i));
    }
}

} // namespace

class tst_MasterList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void takeOver_data();
    void takeOver();
    void search_data();
    void search();
    void nameOrder_data();
    void nameOrder();
    void deleting_data();
    void deleting();
    void importing_data();
    void importing();

    void oneWindow_data();
    void oneWindow();
    void closing_data();
    void closing();
    void positionAndLayoutComeBack();

private:
    void fillMaster(const QStringList &shooters) const;
    void openMain(bool withCompetition = true);
    // Through the main window's menu; the main window is opened first when it is not yet.
    void openList();
    DataGrid *grid() const { return control<DataGrid>(QStringLiteral("TDBGrid1")); }
    Recordset *rows() const { return control<DataSource>(QStringLiteral("Data1"))->recordset(); }
    QString currentName() const { return GetFieldValue(*rows(), Name).toString(); }
    QStringList shownNames() const;
    int rowOf(const QString &name) const { return int(shownNames().indexOf(name)); }
    void selectRow(int row, const QString &field = Name) const;
    void takeOverClick() const { QTest::mouseClick(control<QPushButton>(QStringLiteral("cmdUebernahme")), Qt::LeftButton); }
    template <typename T>
    T *control(const QString &name) const
    {
        return m_list->findChild<T *>(name);
    }
    static frmGesamt *findList();
    static void activate(QWidget *window)
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    QList<QVariantMap> competitionRows() const
    {
        return m_competition->rows(QStringLiteral("SELECT StartNr, Schuetze, Verein FROM Ergebnisse ORDER BY ID"));
    }
    std::size_t shownDialogs() const { return m_dialogs->shown().size(); }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<TestMasterList> m_master;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_main;
    QPointer<frmGesamt> m_list;
};

void tst_MasterList::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_master = std::make_unique<TestMasterList>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
    frmGesamt::setMasterFolders(m_master->programFolder(), m_master->userFolder());
}

void tst_MasterList::cleanup()
{
    m_main.reset(); // takes the list window with it
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_list.isNull());
    frmGesamt::setMasterFolders(QString(), QString());
    m_dialogs.reset();
    m_master.reset();
    m_competition.reset();
    m_settings.reset();
}

void tst_MasterList::fillMaster(const QStringList &shooters) const
{
    for (const QString &shooter : shooters)
        m_master->addShooter(nullable(shooter.section(QLatin1Char('|'), 0, 0)),
                             nullable(shooter.section(QLatin1Char('|'), 1, 1)));
}

void tst_MasterList::openMain(bool withCompetition)
{
    if (withCompetition)
        m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_main = std::make_unique<frmMain>();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
}

void tst_MasterList::openList()
{
    if (!m_main)
        openMain();
    m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"))->trigger();
    m_list = findList();
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
}

frmGesamt *tst_MasterList::findList()
{
    frmGesamt *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *list = qobject_cast<frmGesamt *>(window))
            found = list;
    }
    return found;
}

QStringList tst_MasterList::shownNames() const
{
    QStringList names;
    const GridModel *model = grid()->gridModel();
    const int column = grid()->columnIndex(Name);
    for (int row = 0; row < model->rowCount() - 1; ++row) // the last line is the new-row line
        names << model->data(model->index(row, column), Qt::DisplayRole).toString();
    return names;
}

void tst_MasterList::selectRow(int row, const QString &field) const
{
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(row, grid()->columnIndex(field)));
}

// ---------------------------------------------------------------- take-over

void tst_MasterList::takeOver_data()
{
    QTest::addColumn<QStringList>("shooters"); // "name|club" in the master list
    QTest::addColumn<bool>("competition");     // a competition is open
    QTest::addColumn<QString>("pick"); // empty: the marker on the new-row line; "+name|club": typed there
    QTest::addColumn<QList<int>>("startNrs");  // already in the competition
    QTest::addColumn<QString>("club");         // as the competition receives it
    QTest::addColumn<int>("startNr");          // 0: nothing taken over
    QTest::addColumn<int>("messages");         // telling why nothing was taken over

    const QStringList three{"Zander, Zoe|SV Nord", "Müller, Jörg|SV Tell Ülzen", "Berg, Anna|(null)"};
    QTest::newRow("with club") << three << true << "Müller, Jörg" << QList<int>{} << "SV Tell Ülzen" << 1 << 0;
    QTest::newRow("Null club: name and tab") << three << true << "Berg, Anna" << QList<int>{} << "" << 1 << 0;
    QTest::newRow("last row of the list") << three << true << "Zander, Zoe" << QList<int>{} << "SV Nord" << 1 << 0;
    QTest::newRow("apostrophe and accents") << QStringList{"O'Brien, Seán|Åsa Skytteklubb"} << true << "O'Brien, Seán"
                                            << QList<int>{} << "Åsa Skytteklubb" << 1 << 0;
    QTest::newRow("next start number after the highest")
        << three << true << "Müller, Jörg" << QList<int>{4, 17, 9} << "SV Tell Ülzen" << 18 << 0;
    // Kept in the list as well as entered into the competition.
    QTest::newRow("typed into the list and taken over at once")
        << QStringList{"Berg, Anna|SV Alm"} << true << "+Neu, Nina|SV Süd" << QList<int>{} << "SV Süd" << 1 << 0;
    QTest::newRow("marker on the new-row line: nothing") << three << true << "" << QList<int>{} << "" << 0 << 0;
    QTest::newRow("empty list: nothing") << QStringList{} << true << "" << QList<int>{} << "" << 0 << 0;
    QTest::newRow("no competition open: told") << three << false << "Berg, Anna" << QList<int>{} << "" << 0 << 1;
    const QString longName(300, QLatin1Char('M'));
    QTest::newRow("name too long for the competition: told") << QStringList{longName + "|SV", "Berg, Anna|SV"} << true << longName
                                                             << QList<int>{} << "" << 0 << 1;
}

void tst_MasterList::takeOver()
{
    QFETCH(QStringList, shooters);
    QFETCH(bool, competition);
    QFETCH(QString, pick);
    QFETCH(QList<int>, startNrs);
    QFETCH(QString, club);
    QFETCH(int, startNr);
    QFETCH(int, messages);
    fillMaster(shooters);
    for (int number : startNrs)
        m_competition->addResult(number, QStringLiteral("Vorher %1").arg(number), QStringLiteral("V"));
    const QStringList masterBefore = m_master->shooters();
    openMain(competition);
    openList();
    const bool typed = pick.startsWith(QLatin1Char('+'));
    const int row = pick.isEmpty() || typed ? int(shooters.size()) : rowOf(pick);
    selectRow(row);
    if (typed) {
        pick = pick.mid(1).section(QLatin1Char('|'), 0, 0);
        GuiTyping::typeText(pick);
        GuiTyping::press(Qt::Key_Tab);
        GuiTyping::typeText(club);
    }
    takeOverClick();

    const QList<QVariantMap> added = m_competition->rows(
        QStringLiteral("SELECT StartNr, Verein FROM Ergebnisse WHERE Schuetze = ?"), {pick});
    QCOMPARE(added.size(), startNr == 0 ? 0 : 1);
    QCOMPARE(competitionRows().size(), startNrs.size() + added.size());
    if (startNr != 0) {
        QCOMPARE(added.first().value(Club).toString(), club);
        QCOMPARE(added.first().value(QStringLiteral("StartNr")).toInt(), startNr);
    }
    // The list stays open on its row and is not changed.
    QVERIFY(m_list && m_list->isVisible());
    QCOMPARE(grid()->currentIndex().row(), row);
    QCOMPARE(m_master->shooters(), typed ? masterBefore + QStringList{pick + QLatin1Char('|') + club} : masterBefore);
    QCOMPARE(shownDialogs(), size_t(messages));
    if (messages > 0 && competition) { // the next shooter is taken over as ever
        m_dialogs->clear();
        selectRow(rowOf(QStringLiteral("Berg, Anna")));
        takeOverClick();
        QCOMPARE(competitionRows().size(), startNrs.size() + 1);
        QCOMPARE(shownDialogs(), size_t(0));
    }
}

// ---------------------------------------------------------------- search and order

void tst_MasterList::search_data()
{
    QTest::addColumn<QString>("typed"); // "\b" is the backspace key
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("matches"); // else the box is marked and the take-over refused

    QTest::newRow("lower case finds upper case") << "zan" << "Zander, Zoe" << true;
    QTest::newRow("upper case finds lower case") << "MÜLLER, A" << "müller, anna" << true;
    QTest::newRow("umlaut in lower case finds upper case") << "ärg" << "Ärger, Anton" << true;
    QTest::newRow("plain vowel does not match an umlaut") << "mu" << "Muller, Paul" << true;
    QTest::newRow("apostrophe is a character") << "o'b" << "O'Brien, Sean" << true;
    QTest::newRow("pattern star takes effect") << "*ute" << "Arnold, Ute" << true;
    QTest::newRow("no match leaves the marker") << "zx" << "Zander, Zoe" << false;
    QTest::newRow("open bracket leaves the marker") << "mus[" << "Mustermann, Max" << false;
    QTest::newRow("deleting a letter searches again") << "mus\b" << "Muller, Paul" << true;
    QTest::newRow("empty box: first shooter with a name") << "zan\b\b\b" << "Ärger, Anton" << true;
}

void tst_MasterList::search()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    QFETCH(bool, matches);
    fillMaster({"Zander, Zoe|", "Müller, Jörg|", "müller, anna|", "Ärger, Anton|", "Arnold, Ute|",
                "O'Brien, Sean|", "(null)|Ohne Namen", "Mustermann, Max|", "Muller, Paul|"});
    openList();
    selectRow(0); // the shooter without a name, whom no search finds
    activate(m_main.get()); // the search box has the focus whenever the list becomes active
    activate(m_list);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(QStringLiteral("txtSuche")));
    typeWithBackspaces(typed);
    QCOMPARE(currentName(), found);
    QCOMPARE(grid()->currentIndex().row(), rowOf(found));
    QCOMPARE(shownDialogs(), size_t(0));
    auto *box = control<QLineEdit>(QStringLiteral("txtSuche"));
    QCOMPARE(box->toolTip(), matches ? QString() : QStringLiteral("Kein Schütze gefunden"));
    if (!matches) {
        takeOverClick();
        QCOMPARE(shownDialogs(), size_t(1));
        QVERIFY(m_dialogs->shown().front().text.startsWith(QStringLiteral("Kein Schütze passt zur Suche")));
    }
}

void tst_MasterList::nameOrder_data()
{
    QTest::addColumn<QString>("change"); // "type": a shooter typed in; "rename": a name changed
    QTest::addColumn<QStringList>("beforeF5");
    QTest::addColumn<QStringList>("afterF5");

    QTest::newRow("as opened") << "" << QStringList{"", "Ärger, Anton", "becker, Otto", "Zander, Zoe"}
                               << QStringList{"", "Ärger, Anton", "becker, Otto", "Zander, Zoe"};
    QTest::newRow("typed shooter stays last until F5")
        << "type" << QStringList{"", "Ärger, Anton", "becker, Otto", "Zander, Zoe", "Bär, Bruno"}
        << QStringList{"", "Ärger, Anton", "Bär, Bruno", "becker, Otto", "Zander, Zoe"};
    QTest::newRow("renamed shooter keeps his place until F5")
        << "rename" << QStringList{"", "Ärger, Anton", "Äbel, Otto", "Zander, Zoe"}
        << QStringList{"", "Äbel, Otto", "Ärger, Anton", "Zander, Zoe"};
}

void tst_MasterList::nameOrder()
{
    QFETCH(QString, change);
    QFETCH(QStringList, beforeF5);
    QFETCH(QStringList, afterF5);
    fillMaster({"Zander, Zoe|", "becker, Otto|", "(null)|Ohne Namen", "Ärger, Anton|"});
    openList();
    if (change == QLatin1String("type")) {
        selectRow(4);
        GuiTyping::typeText(QStringLiteral("Bär, Bruno"));
        GuiTyping::press(Qt::Key_Return);
        selectRow(0); // leaving the row stores it
    } else if (change == QLatin1String("rename")) {
        selectRow(2);
        GuiTyping::typeText(QStringLiteral("Äbel, Otto"));
        GuiTyping::press(Qt::Key_Return);
        selectRow(0);
    }
    QCOMPARE(shownNames(), beforeF5);
    QCOMPARE(TestMasterList::count(m_master->path()), beforeF5.size());
    QTest::keyClick(m_list, Qt::Key_F5);
    QCOMPARE(shownNames(), afterF5);
    QCOMPARE(rows()->position(), 0);
}

// ---------------------------------------------------------------- deleting

void tst_MasterList::deleting_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("row");        // the current row; 3 is the new-row line
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QString>("question"); // empty: none asked
    QTest::addColumn<QStringList>("left");
    const QString one = QStringLiteral("mnuEditDeleteSchuetze");
    const QString all = QStringLiteral("mnuEditDeleteAll");
    const QString askAll = QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?");
    // Shown in name order: (no name), Berg, Zander; a club typed for Zander is stored before any question.
    QTest::newRow("one, yes") << one << 2 << Dialogs::Answer::Yes
                              << "Soll der Schütze Zander, Zoe wirklich gelöscht werden?"
                              << QStringList{"(null)|SV", "Berg, Anna|SV Alm"};
    QTest::newRow("one, no") << one << 1 << Dialogs::Answer::No << "Soll der Schütze Berg, Anna wirklich gelöscht werden?"
                             << QStringList{"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
    QTest::newRow("one without a name") << one << 0 << Dialogs::Answer::Yes
                                        << "Soll der Schütze  wirklich gelöscht werden?"
                                        << QStringList{"Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
    QTest::newRow("one on the new-row line: nothing") << one << 3 << Dialogs::Answer::Yes << ""
                                                     << QStringList{"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
    QTest::newRow("all, yes") << all << 1 << Dialogs::Answer::Yes << askAll << QStringList{};
    QTest::newRow("all, no") << all << 1 << Dialogs::Answer::No << askAll
                             << QStringList{"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Süd"};
}

void tst_MasterList::deleting()
{
    QFETCH(QString, command);
    QFETCH(int, row);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    fillMaster({"(null)|SV", "Berg, Anna|SV Alm", "Zander, Zoe|SV Nord"});
    m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
    openList();
    selectRow(2, Club);
    GuiTyping::typeText(QStringLiteral("SV Süd")); // the editor is still open
    if (row != 2)
        selectRow(row);
    m_dialogs->answer(answer);
    control<QAction>(command)->trigger();
    QCOMPARE(shownDialogs(), size_t(question.isEmpty() ? 0 : 1));
    if (!question.isEmpty()) {
        const ScriptedDialogs::Shown &shown = m_dialogs->shown().front();
        QCOMPARE(shown.kind, QStringLiteral("question"));
        QCOMPARE(shown.title, QStringLiteral("Hinweis"));
        QCOMPARE(shown.text, question);
        QCOMPARE(shown.icon, Dialogs::Icon::Question);
    }
    QCOMPARE(m_master->shooters(), left);
    QCOMPARE(grid()->model()->rowCount(), left.size() + 1); // the new-row line stays
    QCOMPARE(competitionRows().size(), 1);                  // the competition is another file
}

// ---------------------------------------------------------------- importing

void tst_MasterList::importing_data()
{
    QTest::addColumn<QStringList>("listed"); // before the import
    QTest::addColumn<QString>("source");     // "access", "csv", "cancelled", or a damaged kind of file
    QTest::addColumn<QByteArray>("bytes");   // of a CSV file
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("message"); // "Fehler: N": an error ending with NothingImported; empty: none

    const QStringList none;
    const QStringList vorher{"Vorher|V"};
    QTest::newRow("dialog cancelled") << vorher << "cancelled" << QByteArray() << vorher << "";
    QTest::newRow("Access master list") << none << "access" << QByteArray() << AccessShooters << summary(5, 0);
    QTest::newRow("all listed already: nothing twice") << AccessShooters << "access" << QByteArray() << AccessShooters
                                                       << summary(0, 5);
    auto skipping = [](const QString &listed, int skipped) {
        QStringList after{listed};
        for (int i = 0; i < AccessShooters.size(); ++i)
            after << (i == skipped ? QStringList() : QStringList{AccessShooters.at(i)});
        return after;
    };
    QTest::newRow("listed: same name and club") << QStringList{"Anna Beispiel|SG Tell Ahlen"} << "access" << QByteArray()
                                                << skipping("Anna Beispiel|SG Tell Ahlen", 1) << summary(4, 1);
    QTest::newRow("listed in other letter case is another shooter")
        << QStringList{"anna beispiel|SG Tell Ahlen"} << "access" << QByteArray()
        << skipping("anna beispiel|SG Tell Ahlen", -1) << summary(5, 0);
    QTest::newRow("listed without club as empty text") << QStringList{"Zoë Ærø|"} << "access" << QByteArray()
                                                       << skipping("Zoë Ærø|", 2) << summary(4, 1);
    QTest::newRow("listed with blanks around the name")
        << QStringList{" Karl-Heinz O'Brien |SG Tell Ahlen"} << "access" << QByteArray()
        << skipping(" Karl-Heinz O'Brien |SG Tell Ahlen", 3) << summary(4, 1);

    QTest::newRow("utf-8, heading, semicolons")
        << none << "csv"
        << QString::fromUtf8("Schütze;Verein\r\nJürgen Müßig;SV Grün-Weiß\r\nKarl-Heinz O'Brien;SG Tell\r\n").toUtf8()
        << QStringList{"Jürgen Müßig|SV Grün-Weiß", "Karl-Heinz O'Brien|SG Tell"} << summary(2, 0);
    QTest::newRow("utf-8 with byte-order mark, no heading")
        << none << "csv" << QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("Zoë Ærø;\r\nÖmer Yıldız;SV Öhringen\r\n").toUtf8()
        << QStringList{"Zoë Ærø|(null)", "Ömer Yıldız|SV Öhringen"} << summary(2, 0);
    QTest::newRow("an exported winners list")
        << none << "csv"
        << QByteArray("\xEF\xBB\xBFPlatz;StartNr;Schuetze;Verein;Serie\r\n1;4;Anna;SV Alm;\"98,7\"\r\n2;1;Berta;;95\r\n")
        << QStringList{"Anna|SV Alm", "Berta|(null)"} << summary(2, 0);
    QTest::newRow("blanks around fields, blank lines") << none << "csv" << QByteArray(" Anna ; SV Alm \n\n;\nBerta;\n")
                                                       << QStringList{"Anna|SV Alm", "Berta|(null)"} << summary(2, 0);
    QTest::newRow("the same shooter twice in the file")
        << none << "csv" << QByteArray("Anna;SV\nAnna;SV\n") << QStringList{"Anna|SV"} << summary(1, 1);
    QTest::newRow("a club without a name") << none << "csv" << QByteArray(";SV Alm\nAnna;SV\n") << QStringList{"Anna|SV"}
                                           << summary(1, 0) + QStringLiteral("\nZeilen ohne Namen, nicht übernommen: 1");
    QTest::newRow("a heading alone") << none << "csv" << QByteArray("Schuetze;Verein\r\n") << none << summary(0, 0);

    QTest::newRow("broken quote") << vorher << "csv" << QByteArray("Anna;SV\n\"Berta;SV\nCarla;SV\n") << vorher
                                  << "Fehler: 321";
    QTest::newRow("empty file") << vorher << "csv" << QByteArray() << vorher << "Fehler: 321";
    QTest::newRow("competition instead of a master list") << vorher << "other table" << QByteArray() << vorher
                                                          << "Fehler: 3078";
    QTest::newRow("master list without its last page") << vorher << "last page missing" << QByteArray() << vorher
                                                       << "Fehler: 3343";
    QTest::newRow("the program's own database file") << vorher << "sqlite" << QByteArray() << vorher << "Fehler: 321";
    // The third shooter fails after two were written; the transaction takes them back.
    QTest::newRow("list whose table refuses long names")
        << vorher << "csv" << QByteArray("Anna;SV\nBerta;SV\nEin Name, der zu lang ist;SV\nDora;SV\n") << vorher
        << "Fehler: ";
}

void tst_MasterList::importing()
{
    QFETCH(QStringList, listed);
    QFETCH(QString, source);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, after);
    QFETCH(QString, message);
    if (QTest::currentDataTag() == QLatin1String("list whose table refuses long names")) {
        QVERIFY(QFile::remove(m_master->path()));
        AccessFixtures::write(m_master->path(), QByteArray());
        CheckConnection::exec(m_master->path(),
                              QStringLiteral("CREATE TABLE Schuetzen (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                             "Schuetze TEXT CHECK (length(Schuetze) <= 20), Verein TEXT)"));
    }
    fillMaster(listed);
    QString path;
    if (source == QLatin1String("csv"))
        path = AccessFixtures::write(m_master->root() + QStringLiteral("/schützen.csv"), bytes);
    else if (source == QLatin1String("access"))
        path = AccessFixtures::path(AccessFixtures::MasterList);
    else if (source == QLatin1String("sqlite"))
        path = TestCompetition::templatePath();
    else if (source != QLatin1String("cancelled"))
        path = AccessFixtures::damagedCopy(source, AccessFixtures::MasterList, m_master->root() + QStringLiteral("/alt.mdb"));
    QCOMPARE(path.isEmpty(), source == QLatin1String("cancelled"));
    openList();
    m_dialogs->answerFile(path);
    control<QAction>(QStringLiteral("mnuDateiImport"))->trigger();

    QCOMPARE(m_master->shooters(), after);
    QCOMPARE(shownNames().size(), after.size());
    const ScriptedDialogs::Shown &open = m_dialogs->shown().front();
    QCOMPARE(open.kind, QStringLiteral("open"));
    QVERIFY(open.request.mustExist);
    QVERIFY(open.request.filter.contains(QStringLiteral("*.mdb")) && open.request.filter.contains(QStringLiteral("*.csv")));
    QCOMPARE(shownDialogs(), size_t(message.isEmpty() ? 1 : 2));
    if (message.isEmpty())
        return;
    const ScriptedDialogs::Shown &shown = m_dialogs->shown().back();
    QCOMPARE(shown.kind, QStringLiteral("message"));
    if (message.startsWith(QLatin1String("Fehler: "))) {
        QCOMPARE(shown.title, QStringLiteral("Fehler"));
        const QString start = message.endsWith(QLatin1Char(' ')) ? message : message + QStringLiteral(" - ");
        QVERIFY2(shown.text.startsWith(start), qPrintable(shown.text));
        QVERIFY(shown.text.endsWith(QLatin1Char('\n') + NothingImported));
    } else {
        QCOMPARE(shown.title, QStringLiteral("Hinweis"));
        QCOMPARE(shown.text, message);
    }
}

void tst_MasterList::oneWindow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu item twice") << "menu";
    QTest::newRow("F4 twice, the main window active in between") << "F4";
    QTest::newRow("toolbar button while the list is minimised") << "button";
}

void tst_MasterList::oneWindow()
{
    QFETCH(QString, how);
    openMain();
    QAction *item = m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"));
    auto open = [&] {
        if (how == QLatin1String("F4"))
            QTest::keyClick(m_main.get(), Qt::Key_F4);
        else if (how == QLatin1String("button"))
            QTest::mouseClick(m_main->findChild<QToolBar *>()->widgetForAction(
                                  m_main->findChild<QAction *>(QStringLiteral("Toolbar1_Button7"))),
                              Qt::LeftButton);
        else
            item->trigger();
    };
    open();
    m_list = findList();
    QVERIFY(m_list);
    QVERIFY(QTest::qWaitForWindowActive(m_list));
    if (how == QLatin1String("button")) {
        m_list->showMinimized();
        QVERIFY(m_list->isMinimized());
    }
    activate(m_main.get());
    open();
    QVERIFY(QTest::qWaitForWindowActive(m_list));
    QVERIFY(!m_list->isMinimized());
    int lists = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        lists += qobject_cast<frmGesamt *>(window) ? 1 : 0;
    QCOMPARE(lists, 1);
    QCOMPARE(findList(), m_list.data());
    QVERIFY(m_list->isVisible());
}

void tst_MasterList::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("typedInList"); // a club typed into the list, not yet stored
    QTest::newRow("button Schließen, a typed club is stored") << "button" << true;
    QTest::newRow("menu Schließen") << "menu" << false;
    QTest::newRow("window frame") << "frame" << false;
    QTest::newRow("with the main window, a typed club is stored") << "main" << true;
    QTest::newRow("a main window that stays open keeps the list") << "main kept open" << false;
}

// A list closed by itself reads the file again when it is opened next; the
// main window takes the list with it when it closes.
void tst_MasterList::closing()
{
    QFETCH(QString, how);
    QFETCH(bool, typedInList);
    fillMaster({"Berg, Anna|SV Alm", "Zander, Zoe|SV Nord"});
    m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
    openMain();
    const bool listStays = how == QLatin1String("main kept open");
    if (listStays) { // a row the main window cannot store
        auto *entry = m_main->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
        entry->setFocus();
        entry->setCurrentIndex(entry->model()->index(0, entry->columnIndex(QStringLiteral("StartNr"))));
        GuiTyping::typeText(QStringLiteral("zwölf"));
        GuiTyping::press(Qt::Key_Return);
    }
    openList();
    if (typedInList) {
        selectRow(1, Club);
        GuiTyping::typeText(QStringLiteral("SV Süd"));
    }
    if (how == QLatin1String("button"))
        QTest::mouseClick(control<QPushButton>(QStringLiteral("cmdClose")), Qt::LeftButton);
    else if (how == QLatin1String("menu"))
        control<QAction>(QStringLiteral("mnuDateiClose"))->trigger();
    else if (how == QLatin1String("frame"))
        m_list->close();
    else
        m_main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(!m_list.isNull() && m_list->isVisible(), listStays);
    QCOMPARE(m_main->isVisible(), how != QLatin1String("main"));
    const QString zander = typedInList ? QStringLiteral("Zander, Zoe|SV Süd") : QStringLiteral("Zander, Zoe|SV Nord");
    QCOMPARE(m_master->shooters(), (QStringList{"Berg, Anna|SV Alm", zander}));
    if (listStays || !m_main->isVisible())
        return;
    // Written by someone else while the list was closed: the new window reads it.
    m_master->addShooter(QStringLiteral("Adler, Ada"), QVariant());
    openList();
    QCOMPARE(rows()->rowCount(), 3);
    QCOMPARE(currentName(), QStringLiteral("Adler, Ada"));
}

void tst_MasterList::positionAndLayoutComeBack()
{
    openList();
    m_list->move(120, 80);
    m_list->resize(700, 500);
    auto *grid = control<DataGrid>(QStringLiteral("TDBGrid1"));
    grid->columns(QStringLiteral("Verein")).setOrder(1);
    grid->columns(QStringLiteral("Schuetze")).setWidth(2880);
    m_list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString entry = m_settings->read(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-"));
    QCOMPARE(entry.count(QLatin1Char(';')), 4); // no column widths in this window's entry
    QVERIFY(!m_settings->read(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-Gesamt")).isEmpty());

    openList();
    QCOMPARE(m_list->pos(), QPoint(120, 80));
    QCOMPARE(m_list->size(), QSize(700, 500));
    grid = control<DataGrid>(QStringLiteral("TDBGrid1"));
    QCOMPARE(grid->columns(QStringLiteral("Verein")).order(), 1);
    QCOMPARE(grid->columns(QStringLiteral("Schuetze")).width(), 2880.0);
    QVERIFY(!grid->columns(QStringLiteral("ID")).isVisible());

    // A damaged entry is applied only as far as the screen goes, and that is what closing stores.
    m_list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_settings->write(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-"),
                      QStringLiteral("99999999;").repeated(4));
    openList();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(QRect(m_list->pos(), m_list->size()), screen);
    m_list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int twipsPerPixel = qRound(1440.0 / m_main->logicalDpiX());
    QCOMPARE(m_settings->read(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-")),
             QStringLiteral("%1;%2;%3;%4;").arg(screen.x() * twipsPerPixel).arg(screen.y() * twipsPerPixel)
                     .arg(screen.width() * twipsPerPixel).arg(screen.height() * twipsPerPixel));
}

QTEST_MAIN(tst_MasterList)
#include "tst_masterlist.moc"
