// New, Open and the competition title, with scripted file dialogs.
#include "DataGrid.h"
#include "DataSource.h"
#include "Recordset.h"
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QtTest>
#include <memory>

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newAsksWithTheCompetitionDialog();
    void newCancelledChangesNothing();
    void newCreatesAndLoadsACopyOfTheTemplate();
    void newOnTheOpenCompetition_data();
    void newOnTheOpenCompetition();
    void openCancelledChangesNothing();
    void openLoadsTheChosenFile();
    void openForeignFileReportsIt();
    void title_data();
    void title();
    void titleWithoutCompetitionSaysSo();

private:
    void openWindow(const QString &last);
    void trigger(const QString &action) { m_window->findChild<QAction *>(action)->trigger(); }
    QString label() const { return m_window->findChild<QLabel *>(QStringLiteral("Label1"))->text(); }
    int shownRows(const char *source) const
    {
        return m_window->findChild<DataSource *>(QLatin1String(source))->recordset()->rowCount();
    }

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_window;
};

void tst_FileCommands::init()
{
    m_settings = std::make_unique<TempSettings>();
    m_competition = std::make_unique<TestCompetition>(QStringLiteral("Kreis Meisterschaft ä.wkd"));
    m_competition->setTitle(QStringLiteral("Kreismeisterschaft"));
    m_competition->addResult(1, QStringLiteral("Anna"), QStringLiteral("V"), 90, QStringLiteral("0000900000000000000000000000"));
    m_dialogs = std::make_unique<ScriptedDialogs>();
}

void tst_FileCommands::cleanup()
{
    m_window.reset();
    m_dialogs.reset();
    m_competition.reset();
    m_settings.reset();
}

void tst_FileCommands::openWindow(const QString &last)
{
    m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), last);
    m_window = std::make_unique<frmMain>();
}

void tst_FileCommands::newAsksWithTheCompetitionDialog()
{
    openWindow(QString());
    trigger(QStringLiteral("mnuDateiNeu"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    const ScriptedDialogs::Shown &dialog = m_dialogs->shown().front();
    QCOMPARE(dialog.kind, QStringLiteral("save"));
    QCOMPARE(dialog.request.title, QStringLiteral("Bitte neuen Wettkampfnamen wählen:"));
    QCOMPARE(dialog.request.filter, QStringLiteral("Access 2000 Datenbank (*.wkd)|*.wkd|Alle Dateien(*.*)|*.*"));
    QCOMPARE(dialog.request.defaultSuffix, QStringLiteral("wkd"));
    QCOMPARE(dialog.request.folder, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    QVERIFY(dialog.request.confirmOverwrite);
    QVERIFY(dialog.request.fileName.isEmpty());
}

void tst_FileCommands::newCancelledChangesNothing()
{
    openWindow(m_competition->path());
    m_dialogs->answerFile(QString());
    trigger(QStringLiteral("mnuDateiNeu"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
    QCOMPARE(shownRows("Data1"), 1);
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
}

void tst_FileCommands::newCreatesAndLoadsACopyOfTheTemplate()
{
    openWindow(m_competition->path());
    const QString target = m_competition->folder() + QStringLiteral("/Neuer Wettkampf #2.wkd");
    m_dialogs->answerFile(target);
    trigger(QStringLiteral("mnuDateiNeu"));
    QVERIFY(QFile::exists(target));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Ringtal") + target);
    QCOMPARE(shownRows("Data1"), 0);
    QCOMPARE(shownRows("Data2"), 0);
    QVERIFY(m_window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"))->isEnabled());
    // The template holds no title, so the previous one stays shown.
    QCOMPARE(label(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    m_window->close();
    QCOMPARE(m_settings->read(QStringLiteral("Wettkampf"), QStringLiteral("Last")), target);
}

void tst_FileCommands::newOnTheOpenCompetition_data()
{
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<int>("rows");
    QTest::newRow("no keeps the competition") << Dialogs::Answer::No << 1;
    QTest::newRow("yes makes it anew") << Dialogs::Answer::Yes << 0;
}

void tst_FileCommands::newOnTheOpenCompetition()
{
    QFETCH(Dialogs::Answer, answer);
    QFETCH(int, rows);
    openWindow(m_competition->path());
    m_dialogs->answerFile(m_competition->path());
    m_dialogs->answer(answer);
    trigger(QStringLiteral("mnuDateiNeu"));
    QCOMPARE(m_dialogs->shown().size(), size_t(2));
    const ScriptedDialogs::Shown &question = m_dialogs->shown().back();
    QCOMPARE(question.title, QStringLiteral("Hinweis"));
    QCOMPARE(question.text, QStringLiteral("Soll der geöffnete Wettkampf wirklich gelöscht werden?"));
    QCOMPARE(question.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(m_competition->scalar(QStringLiteral("SELECT count(*) FROM Ergebnisse")).toInt(), rows);
    QCOMPARE(shownRows("Data1"), rows);
    QCOMPARE(shownRows("Data2"), rows);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
}

void tst_FileCommands::openCancelledChangesNothing()
{
    openWindow(QString());
    m_dialogs->answerFile(QString());
    trigger(QStringLiteral("mnuDateiOpen"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Ringtal"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    const ScriptedDialogs::Shown &dialog = m_dialogs->shown().front();
    QCOMPARE(dialog.kind, QStringLiteral("open"));
    QCOMPARE(dialog.request.filter, QStringLiteral("Ringtal Wettkämpfe (*.wkd)|*.wkd|Alle Dateien (*.*)|*.*"));
    QVERIFY(dialog.request.title.isEmpty());
    QVERIFY(dialog.request.defaultSuffix.isEmpty());
    QVERIFY(dialog.request.mustExist);
}

void tst_FileCommands::openLoadsTheChosenFile()
{
    openWindow(QString());
    m_dialogs->answerFile(m_competition->path());
    trigger(QStringLiteral("mnuDateiOpen"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Ringtal") + m_competition->path());
    QCOMPARE(label(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(shownRows("Data1"), 1);
}

void tst_FileCommands::openForeignFileReportsIt()
{
    openWindow(m_competition->path());
    const QString foreign = m_competition->folder() + QStringLiteral("/notiz.wkd");
    QFile text(foreign);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Dies ist keine Datenbank, nur ein Text.\n");
    text.close();
    m_dialogs->answerFile(foreign);
    m_dialogs->answer(Dialogs::Answer::Abort);
    trigger(QStringLiteral("mnuDateiOpen"));
    QCOMPARE(m_dialogs->shown().back().kind, QStringLiteral("error"));
    QVERIFY(m_dialogs->shown().back().text.startsWith(QStringLiteral("Fehler: 3343 - ")));
    QVERIFY(m_dialogs->shown().back().text.endsWith(QStringLiteral("\nFehler beim Laden eines Wettkampfs")));
    // Aborted early: the open competition is still shown, and it is still the one the window works on.
    QCOMPARE(shownRows("Data1"), 1);
    QCOMPARE(label(), QStringLiteral("Kreismeisterschaft"));
    QCOMPARE(m_window->CompetitionPath(), m_competition->path());
    m_window->close();
    QCOMPARE(m_settings->read(QStringLiteral("Wettkampf"), QStringLiteral("Last")), m_competition->path());
}

void tst_FileCommands::title_data()
{
    QTest::addColumn<bool>("emptyTable");
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first title adds the row") << true << std::optional<QString>(QStringLiteral("Pokal 2026")) << "Pokal 2026";
    QTest::newRow("later title changes the row") << false << std::optional<QString>(QStringLiteral("Pokal's Ü")) << "Pokal's Ü";
    QTest::newRow("cancel keeps the title") << false << std::optional<QString>() << "Kreismeisterschaft";
    QTest::newRow("empty answer keeps the title") << false << std::optional<QString>(QString()) << "Kreismeisterschaft";
}

void tst_FileCommands::title()
{
    QFETCH(bool, emptyTable);
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, stored);
    if (emptyTable)
        m_competition->exec(QStringLiteral("DELETE FROM Wettkampf"));
    openWindow(m_competition->path());
    m_dialogs->answerText(answer);
    trigger(QStringLiteral("mnuDateiBezeichnung"));
    QCOMPARE(m_dialogs->shown().front().kind, QStringLiteral("input"));
    QCOMPARE(m_dialogs->shown().front().text, QStringLiteral("Bitte Wettkampfbezeichnung eingeben"));
    const QList<QVariantMap> rows = m_competition->rows(QStringLiteral("SELECT Bezeichnung FROM Wettkampf"));
    QCOMPARE(rows.size(), 1); // never a second title row
    QCOMPARE(rows.first().value("Bezeichnung").toString(), stored);
    if (answer && !answer->isEmpty())
        QCOMPARE(label(), stored);
}

void tst_FileCommands::titleWithoutCompetitionSaysSo()
{
    openWindow(QString());
    trigger(QStringLiteral("mnuDateiBezeichnung"));
    QCOMPARE(m_dialogs->shown().size(), size_t(1));
    QCOMPARE(m_dialogs->shown().front().kind, QStringLiteral("message"));
    QVERIFY(m_dialogs->shown().front().text.contains(QStringLiteral("kein Wettkampf geöffnet")));
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
