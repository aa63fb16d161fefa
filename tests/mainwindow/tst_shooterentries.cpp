// Taking shooters over, finding them with the search box and deleting them.
#include "DataGrid.h"
#include "DataSource.h"
#include "GuiTyping.h"
#include "Recordset.h"
#include "RingtalError.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"
#include "tempModule.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>
#include <memory>

class tst_ShooterEntries : public QObject
{
    Q_OBJECT

private slots:
    void init();
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
    Recordset *entryRows() const { return m_window->findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    QString currentName() const { return GetFieldValue(*entryRows(), QStringLiteral("Schuetze")).toString(); }
    void trigger(const QString &action) { m_window->findChild<QAction *>(action)->trigger(); }
    int rowCount() const { return m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(); }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void tst_ShooterEntries::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>();
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void tst_ShooterEntries::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_competition.reset();
    m_settings.reset();
}

void tst_ShooterEntries::openWindow()
{
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void tst_ShooterEntries::takeOver_data()
{
    QTest::addColumn<QList<int>>("existing"); // start numbers already given
    QTest::addColumn<QString>("handOver");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("club");
    QTest::addColumn<int>("startNr");

    QTest::newRow("first shooter gets 1") << QList<int>{} << "Jörg Müller\tSV Tell" << "Jörg Müller" << "SV Tell" << 1;
    QTest::newRow("highest plus one, gaps stay") << QList<int>{3, 12, 5} << "Anna\tSV" << "Anna" << "SV" << 13;
    QTest::newRow("without club") << QList<int>{1} << "Anna Berg\t" << "Anna Berg" << "" << 2;
    QTest::newRow("second tab belongs to the club") << QList<int>{} << "O'Brien\tSV\tNord" << "O'Brien"
                                                    << "SV\tNord" << 1;
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
    m_window->setNeuerSchuetze(handOver);
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
    QVERIFY_THROWS_EXCEPTION(RingtalError, m_window->setNeuerSchuetze(QStringLiteral("Kein Tabulator")));
    QVERIFY_THROWS_EXCEPTION(RingtalError, m_window->setNeuerSchuetze(QString()));
    QCOMPARE(rowCount(), 0);
}

void tst_ShooterEntries::takeOverMovesMarkerToNewShooter()
{
    m_competition->addResult(1, QStringLiteral("Anna"), QStringLiteral("V"), 90, QStringLiteral("0000900000000000000000000000"));
    m_competition->addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"), 80, QStringLiteral("0000800000000000000000000000"));
    openWindow();
    m_window->setNeuerSchuetze(QStringLiteral("Carla\tV"));
    m_window->setNeuerSchuetze(QStringLiteral("Dora\tV"));
    auto *grid = m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
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
    QTest::newRow("letter case ignored") << "jörg" << "Jörg Müller";
    QTest::newRow("umlaut in lower case finds upper case") << "ärg" << "Ärger Anton";
    QTest::newRow("apostrophe is a character") << "O'B" << "O'Brien";
    QTest::newRow("pattern star") << "*wölf" << "Zoe Zwölf";
    QTest::newRow("pattern question mark") << "B?rnd" << "Bernd Sieben";
    QTest::newRow("pattern list") << "[AO]'" << "O'Brien";
    QTest::newRow("number with comma moves nothing") << "1,5" << "Anna Start";
    QTest::newRow("no match moves nothing") << "Xaver" << "Anna Start";
}

void tst_ShooterEntries::search()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    const QString best = QStringLiteral("0000990000000000000000000000");
    m_competition->addResult(1, QStringLiteral("Anna Start"), QStringLiteral("V"), 99, best);
    m_competition->addResult(7, QStringLiteral("Bernd Sieben"), QStringLiteral("V"), 90, QStringLiteral("0000900000000000000000000000"));
    m_competition->addResult(7, QStringLiteral("Carl Sieben"), QStringLiteral("V"), 80, QStringLiteral("0000800000000000000000000000"));
    m_competition->addResult(12, QStringLiteral("Zoe Zwölf"), QStringLiteral("V"), 70, QStringLiteral("0000700000000000000000000000"));
    m_competition->addResult(3, QStringLiteral("Jörg Müller"), QStringLiteral("V"), 60, QStringLiteral("0000600000000000000000000000"));
    m_competition->addResult(4, QStringLiteral("Ärger Anton"), QStringLiteral("V"), 50, QStringLiteral("0000500000000000000000000000"));
    m_competition->addResult(5, QStringLiteral("O'Brien"), QStringLiteral("V"));
    openWindow();
    auto *search = m_window->findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    search->setFocus();
    GuiTyping::typeText(typed);
    QCOMPARE(currentName(), found);
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
}

void tst_ShooterEntries::leavingSearchBoxClearsIt()
{
    m_competition->addResult(1, QStringLiteral("Anna"), QStringLiteral("V"), 99, QStringLiteral("0000990000000000000000000000"));
    m_competition->addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"), 90, QStringLiteral("0000900000000000000000000000"));
    openWindow();
    auto *search = m_window->findChild<QLineEdit *>(QStringLiteral("txtSuche"));
    search->setFocus();
    GuiTyping::typeText(QStringLiteral("Be"));
    QCOMPARE(currentName(), QStringLiteral("Bernd"));
    GuiTyping::press(Qt::Key_Backspace); // "B" still finds Bernd; the empty box moves nothing
    GuiTyping::press(Qt::Key_Backspace);
    QCOMPARE(currentName(), QStringLiteral("Bernd"));
    m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"))->setFocus();
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
    m_competition->addResult(1, name, QStringLiteral("V"), 99, QStringLiteral("0000990000000000000000000000"));
    m_competition->addResult(2, QStringLiteral("Bernd"), QStringLiteral("V"), 90, QStringLiteral("0000900000000000000000000000"));
    if (name.isEmpty())
        m_competition->exec(QStringLiteral("UPDATE Ergebnisse SET Schuetze = NULL WHERE StartNr = 1"));
    openWindow();
    m_dialogs->answer(answer);
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    const ScriptedDialogs::Shown &question = m_dialogs->shown().front();
    QCOMPARE(question.title, QStringLiteral("Hinweis"));
    QCOMPARE(question.text, QStringLiteral("Soll der Schütze ") + name + QStringLiteral(" wirklich gelöscht werden?"));
    QCOMPARE(question.icon, Dialogs::Icon::Question);
    QCOMPARE(rowCount(), left);
    QCOMPARE(entryRows()->rowCount(), left);
    QCOMPARE(m_window->findChild<DataSource *>(QStringLiteral("Data2"))->recordset()->rowCount(), left);
}

void tst_ShooterEntries::deleteWithoutCurrentRowDoesNothing()
{
    openWindow(); // an empty competition: only the new-row line
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
    m_competition->addResult(1, QStringLiteral("Anna"), QStringLiteral("V"));
    m_window->close();
    m_window.reset();
    openWindow();
    auto *grid = m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    grid->setCurrentIndex(grid->model()->index(1, grid->columnIndex(QStringLiteral("Schuetze")))); // new-row line
    trigger(QStringLiteral("mnuEditDelSchuetze"));
    QCOMPARE(m_dialogs->shown().size(), size_t(0));
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
    auto *grid = m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    grid->setCurrentIndex(grid->model()->index(0, grid->columnIndex(QStringLiteral("Verein"))));
    grid->setFocus();
    GuiTyping::typeText(QStringLiteral("Neu"));
    GuiTyping::press(Qt::Key_Return);
    m_dialogs->answer(answer);
    trigger(QStringLiteral("mnuEditDeleteAll"));
    QCOMPARE(m_dialogs->shown().back().text, QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?"));
    QCOMPARE(rowCount(), left);
    if (left > 0)
        QCOMPARE(m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse WHERE Verein = 'Neu'")).toInt(), 1);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT Bezeichnung FROM Wettkampf")).toString(),
             QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid2"))->recordset()->rowCount(), left);
}

QTEST_MAIN(tst_ShooterEntries)
#include "tst_shooterentries.moc"
