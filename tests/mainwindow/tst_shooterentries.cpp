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
    void takeOverWithoutTabAddsNothing();
    void takeOverMovesMarkerToNewShooter();
    void search_data();
    void search();
    void leavingSearchBoxClearsIt();
    void deleteCurrent_data();
    void deleteCurrent();
    void deleteWithoutCurrentRowDoesNothing();
    void deleteAll_data();
    void deleteAll();

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
    QTest::addColumn<QList<int>>("existing"); // start numbers already given
    QTest::addColumn<QString>("handOver");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("club");
    QTest::addColumn<int>("startNr");

    QTest::newRow("first shooter gets 1, no club") << QList<int>{} << "Jörg Müller\t" << "Jörg Müller" << "" << 1;
    QTest::newRow("highest plus one, gaps stay") << QList<int>{3, 12, 5} << "Anna\tSV" << "Anna" << "SV" << 13;
    QTest::newRow("without club, second tab belongs to the club") << QList<int>{1} << "O'Brien\tSV\tNord"
                                                                  << "O'Brien" << "SV\tNord" << 2;
    QTest::newRow("rows without number count as none") << QList<int>{0} << "Anna\tSV" << "Anna" << "SV" << 1;
}

void tst_ShooterEntries::takeOver()
{
    QFETCH(QList<int>, existing);
    QFETCH(QString, handOver);
    QFETCH(QString, name);
    QFETCH(QString, club);
    QFETCH(int, startNr);
    for (int number : existing) {
        m_competition->addResult(number, QStringLiteral("Vorher %1").arg(number), QStringLiteral("V"));
        if (number == 0)
            m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET StartNr = NULL"));
    }
    openWindow();
    window().setNeuerSchuetze(handOver);
    const QList<QVariantMap> rows =
        m_competition->rows(QStringLiteral("SELECT * FROM Ergebnisse WHERE Schuetze = ?"), {name});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value("Verein").toString(), club);
    QCOMPARE(rows.first().value("StartNr").toInt(), startNr);
    QVERIFY(rows.first().value("Sortierung").isNull());
    QVERIFY(rows.first().value("Serie").isNull());
    QCOMPARE(currentName(), name);
}

void tst_ShooterEntries::takeOverWithoutTabAddsNothing()
{
    openWindow();
    QVERIFY_THROWS_EXCEPTION(RingtalError, window().setNeuerSchuetze(QStringLiteral("Kein Tabulator")));
    QVERIFY_THROWS_EXCEPTION(RingtalError, window().setNeuerSchuetze(QString()));
    QCOMPARE(rowCount(), 0);
}

void tst_ShooterEntries::takeOverMovesMarkerToNewShooter()
{
    addRanked(1, QStringLiteral("Anna"), 90);
    addRanked(2, QStringLiteral("Bernd"), 80);
    openWindow();
    window().setNeuerSchuetze(QStringLiteral("Carla\tV"));
    window().setNeuerSchuetze(QStringLiteral("Dora\tV"));
    auto *grid = m_session->entryGrid();
    QCOMPARE(entryRows()->position(), 3); // appended after the rows with results
    QCOMPARE(grid->currentIndex().row(), 3);
    QCOMPARE(grid->columns(QStringLiteral("Schuetze")).text(), QStringLiteral("Dora"));
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT StartNr FROM Ergebnisse WHERE Schuetze = 'Dora'")).toInt(), 4);
}

void tst_ShooterEntries::search_data()
{
    QTest::addColumn<QString>("typed");
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
}

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
    GuiTyping::typeText(typed);
    QCOMPARE(currentName(), found);
    QCOMPARE(dialogs().shown().size(), size_t(0));
}

void tst_ShooterEntries::leavingSearchBoxClearsIt()
{
    addRanked(1, QStringLiteral("Anna"), 99);
    addRanked(2, QStringLiteral("Bernd"), 90);
    openWindow();
    auto *search = window().findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    search->setFocus();
    GuiTyping::typeText(QStringLiteral("Be"));
    QCOMPARE(currentName(), QStringLiteral("Bernd"));
    GuiTyping::press(Qt::Key_Backspace); // "B" still finds Bernd; the empty box moves nothing
    GuiTyping::press(Qt::Key_Backspace);
    QCOMPARE(currentName(), QStringLiteral("Bernd"));
    m_session->entryGrid()->setFocus();
    QVERIFY(search->text().isEmpty());
    QCOMPARE(currentName(), QStringLiteral("Bernd"));
}

void tst_ShooterEntries::deleteCurrent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("yes deletes") << "Anna Berg" << Dialogs::Answer::Yes << 1;
    QTest::newRow("no keeps") << "Anna Berg" << Dialogs::Answer::No << 2;
    QTest::newRow("shooter without name") << "" << Dialogs::Answer::Yes << 1;
}

void tst_ShooterEntries::deleteCurrent()
{
    QFETCH(QString, name);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, left);
    addRanked(1, name, 99);
    addRanked(2, QStringLiteral("Bernd"), 90);
    if (name.isEmpty())
        m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Schuetze = NULL WHERE StartNr = 1"));
    openWindow();
    dialogs().answer(answer);
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(dialogs().shown().size(), size_t(1));
    const ScriptedDialogs::Shown &question = dialogs().shown().front();
    QCOMPARE(question.title, QStringLiteral("Hinweis"));
    QCOMPARE(question.text, QStringLiteral("Soll der Schütze ") + name + QStringLiteral(" wirklich gelöscht werden?"));
    QCOMPARE(question.icon, Dialogs::Icon::Question);
    QCOMPARE(rowCount(), left);
    QCOMPARE(entryRows()->rowCount(), left);
    QCOMPARE(window().findChild<DataSource *>(QStringLiteral("Data2"))->recordset()->rowCount(), left);
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

void tst_ShooterEntries::deleteAll_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("left");
    QTest::newRow("yes empties the competition") << Dialogs::Answer::Yes << 0;
    QTest::newRow("no keeps everyone") << Dialogs::Answer::No << 3;
}

void tst_ShooterEntries::deleteAll()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, left);
    m_competition->setTitle(QStringLiteral("Kreismeisterschaft"));
    for (int i = 1; i <= 3; ++i)
        m_competition->addResult(i, QStringLiteral("S%1").arg(i), QStringLiteral("V"));
    openWindow();
    // A typed change is stored before the question, whatever the answer.
    DataGrid *grid = m_session->entryGrid();
    grid->setCurrentIndex(grid->model()->index(0, grid->columnIndex(QStringLiteral("Verein"))));
    grid->setFocus();
    GuiTyping::typeText(QStringLiteral("Neu"));
    GuiTyping::press(Qt::Key_Return);
    dialogs().answer(answer);
    trigger(QStringLiteral("mnuEditDeleteAll"));
    QCOMPARE(dialogs().shown().back().text, QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?"));
    QCOMPARE(rowCount(), left);
    if (left > 0)
        QCOMPARE(m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Verein = 'Neu'")).toInt(), 1);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
             QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(m_session->winnersGrid()->recordset()->rowCount(), left);
}

QTEST_MAIN(tst_ShooterEntries)
#include "tst_shooterentries.moc"
