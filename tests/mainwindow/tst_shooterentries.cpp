// Shooters taken over from the master list (NeuerSchuetze), found with the
// search box and deleted, checked through the test's own connection.
#include "DataSource.h"
#include "MainWindowSession.h"
#include "Recordset.h"
#include "RingtalError.h"
#include "tempModule.h"

#include <QLineEdit>

class tst_ShooterEntries : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_competition = std::make_unique<TestCompetition>(); }
    void cleanup();
    void takeOver_data();
    void takeOver();
    void search_data();
    void search();
    void deleting_data();
    void deleting();
    void deleteWithoutCurrentRowDoesNothing();

private:
    void openWindow();
    frmMain &window() { return m_session->window(); }
    ScriptedDialogs &dialogs() { return m_session->dialogs(); }
    Recordset *entryRows() { return window().findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    QString currentName() { return GetFieldValue(*entryRows(), QStringLiteral("Schuetze")).toString(); }
    void trigger(const QString &action) { window().findChild<QAction *>(action)->trigger(); }
    int rowCount() const { return m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(); }
    void addRanked(int startNr, const QString &name, int serie)
    {
        m_competition->addResult(startNr, name, QStringLiteral("V"), serie,
                                 QStringLiteral("0000%1").arg(serie, 2, 10, QLatin1Char('0')) + QString(22, '0'));
    }

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<MainWindowSession> m_session;
};

void tst_ShooterEntries::cleanup()
{
    m_session.reset();
    m_competition.reset();
}

void tst_ShooterEntries::openWindow()
{
    m_session = std::make_unique<MainWindowSession>(m_competition->path());
    window().show();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
}

void tst_ShooterEntries::takeOver_data()
{
    QTest::addColumn<QList<int>>("existing"); // start numbers already given, each with a result
    QTest::addColumn<QString>("handOver");
    QTest::addColumn<QString>("name"); // empty: refused, nothing added
    QTest::addColumn<QString>("club");
    QTest::addColumn<int>("startNr");

    QTest::newRow("first shooter gets 1, no club") << QList<int>{} << "Jörg Müller\t" << "Jörg Müller" << "" << 1;
    QTest::newRow("highest plus one, gaps stay") << QList<int>{3, 12, 5} << "Anna\tSV" << "Anna" << "SV" << 13;
    QTest::newRow("without club, second tab belongs to the club") << QList<int>{1} << "O'Brien\tSV\tNord"
                                                                  << "O'Brien" << "SV\tNord" << 2;
    QTest::newRow("rows without number count as none") << QList<int>{0} << "Anna\tSV" << "Anna" << "SV" << 1;
    QTest::newRow("no tab: refused") << QList<int>{1} << "Kein Tabulator" << "" << "" << 0;
    QTest::newRow("empty: refused") << QList<int>{1} << "" << "" << "" << 0;
}

// The new shooter has no result yet, so the grid shows him after the others, with the marker on him.
void tst_ShooterEntries::takeOver()
{
    QFETCH(QList<int>, existing);
    QFETCH(QString, handOver);
    QFETCH(QString, name);
    QFETCH(QString, club);
    QFETCH(int, startNr);
    for (int number : existing) {
        addRanked(number, QStringLiteral("Vorher %1").arg(number), 90 - number);
        if (number == 0)
            m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET StartNr = NULL"));
    }
    openWindow();
    if (name.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(RingtalError, window().setNeuerSchuetze(handOver));
        QCOMPARE(rowCount(), existing.size());
        return;
    }
    window().setNeuerSchuetze(handOver);
    const QList<QVariantMap> rows =
        m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse WHERE Schuetze = ?"), {name});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value("Verein").toString(), club);
    QCOMPARE(rows.first().value("StartNr").toInt(), startNr);
    QVERIFY(rows.first().value("Sortierung").isNull());
    QVERIFY(rows.first().value("Serie").isNull());
    QCOMPARE(currentName(), name);
    DataGrid *grid = m_session->entryGrid();
    QCOMPARE(entryRows()->position(), existing.size());
    QCOMPARE(grid->currentIndex().row(), existing.size());
    QCOMPARE(grid->columns(QStringLiteral("Schuetze")).text(), name);
}

void tst_ShooterEntries::search_data()
{
    QTest::addColumn<QString>("typed"); // "\b" is the backspace key
    QTest::addColumn<QString>("found"); // name of the current row afterwards

    QTest::newRow("start number") << "12" << "Zoe Zwölf";
    QTest::newRow("first of two with the same number") << "7" << "Bernd Sieben";
    QTest::newRow("name prefix") << "Zo" << "Zoe Zwölf";
    QTest::newRow("umlaut in lower case finds upper case") << "ärg" << "Ärger Anton";
    QTest::newRow("apostrophe is a character") << "O'B" << "O'Brien";
    QTest::newRow("pattern star") << "*wölf" << "Zoe Zwölf";
    QTest::newRow("pattern list") << "[AO]'" << "O'Brien";
    QTest::newRow("number with comma moves nothing") << "1,5" << "Anna Start";
    QTest::newRow("no match moves nothing") << "Xaver" << "Anna Start";
    QTest::newRow("the emptied box moves nothing") << "Ca\b\b" << "Carl Sieben";
}

// Leaving the box empties it and leaves the marker where the search put it.
void tst_ShooterEntries::search()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    addRanked(1, QStringLiteral("Anna Start"), 99);
    addRanked(7, QStringLiteral("Bernd Sieben"), 90);
    addRanked(7, QStringLiteral("Carl Sieben"), 80);
    addRanked(12, QStringLiteral("Zoe Zwölf"), 70);
    addRanked(4, QStringLiteral("Ärger Anton"), 50);
    m_competition->addResult(5, QStringLiteral("O'Brien"), QStringLiteral("V"));
    openWindow();
    auto *search = window().findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    search->setFocus();
    const QStringList pieces = typed.split(QLatin1Char('\b'));
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            GuiTyping::press(Qt::Key_Backspace);
        GuiTyping::typeText(pieces.at(i));
    }
    QCOMPARE(currentName(), found);
    m_session->entryGrid()->setFocus();
    QVERIFY(search->text().isEmpty());
    QCOMPARE(currentName(), found);
    QCOMPARE(dialogs().shown().size(), size_t(0));
}

void tst_ShooterEntries::deleting_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name"); // of the current row
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("left");
    const QString one = QStringLiteral("mnuEditDelSchuetze");
    const QString all = QStringLiteral("mnuEditDeleteAll");
    const QString askAll = QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?");
    QTest::newRow("current, yes") << one << "Anna Berg" << Dialogs::Answer::Yes
                                  << "Soll der Schütze Anna Berg wirklich gelöscht werden?" << 2;
    QTest::newRow("current, no") << one << "Anna Berg" << Dialogs::Answer::No
                                 << "Soll der Schütze Anna Berg wirklich gelöscht werden?" << 3;
    QTest::newRow("current without name") << one << "" << Dialogs::Answer::Yes
                                          << "Soll der Schütze  wirklich gelöscht werden?" << 2;
    QTest::newRow("all, yes empties the competition") << all << "Anna Berg" << Dialogs::Answer::Yes << askAll << 0;
    QTest::newRow("all, no keeps everyone") << all << "Anna Berg" << Dialogs::Answer::No << askAll << 3;
}

// A club typed into the last row is stored before the question, whatever the answer.
void tst_ShooterEntries::deleting()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QString, question);
    QFETCH(int, left);
    m_competition->setTitle(QStringLiteral("Kreismeisterschaft"));
    addRanked(1, name, 99);
    addRanked(2, QStringLiteral("Bernd"), 90);
    addRanked(3, QStringLiteral("Carla"), 80);
    if (name.isEmpty())
        m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Schuetze = NULL WHERE StartNr = 1"));
    openWindow();
    DataGrid *grid = m_session->entryGrid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, grid->columnIndex(QStringLiteral("Verein"))));
    GuiTyping::typeText(QStringLiteral("Neu"));
    GuiTyping::press(Qt::Key_Return);
    grid->setCurrentIndex(grid->model()->index(0, grid->columnIndex(QStringLiteral("Verein"))));
    dialogs().answer(answer);
    trigger(command);
    QCOMPARE(dialogs().shown().size(), size_t(1));
    const ScriptedDialogs::Shown &shown = dialogs().shown().front();
    QCOMPARE(shown.title, QStringLiteral("Hinweis"));
    QCOMPARE(shown.text, question);
    QCOMPARE(shown.icon, Dialogs::Icon::Question);
    QCOMPARE(rowCount(), left);
    QCOMPARE(entryRows()->rowCount(), left);
    QCOMPARE(m_session->winnersGrid()->recordset()->rowCount(), left);
    if (left > 0)
        QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Verein FROM Ergebnisse WHERE StartNr = 3")).toString(),
                 QStringLiteral("Neu"));
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
             QStringLiteral("Kreismeisterschaft"));
}

void tst_ShooterEntries::deleteWithoutCurrentRowDoesNothing()
{
    openWindow(); // an empty competition: only the new-row line
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(dialogs().shown().size(), size_t(0));
    m_competition->addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    m_session.reset();
    openWindow();
    DataGrid *grid = m_session->entryGrid();
    grid->setCurrentIndex(grid->model()->index(1, grid->columnIndex(QStringLiteral("Schuetze")))); // new-row line
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(dialogs().shown().size(), size_t(0));
    QCOMPARE(rowCount(), 1);
}

QTEST_MAIN(tst_ShooterEntries)
#include "tst_shooterentries.moc"
