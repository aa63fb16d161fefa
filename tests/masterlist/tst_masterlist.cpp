// The master list window beside an open competition: taking shooters over, finding them by name,
// the name order, deleting, importing from an Access list or a CSV file; the one window the main
// window shows, closing, and where it comes back. Both files are read back through connections of
// their own.
#include "mainwindow/MainWindowSession.h"
#include "masterlist/frmGesamt.h"
#include "store/DataSource.h"
#include "support/AccessFixtures.h"
#include "support/CheckConnection.h"
#include "support/TestMasterList.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>
#include <QtTest>
#include <memory>

class tst_MasterList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<TestMasterList> m_master;
    std::unique_ptr<MainWindowSession> m_session;
    QPointer<frmGesamt> m_list;

    void openMain(bool withCompetition = true)
    {
        m_session = std::make_unique<MainWindowSession>(withCompetition ? QVariant(m_competition->path()) : QVariant());
        m_session->window().show();
        QVERIFY(QTest::qWaitForWindowActive(&m_session->window()));
    }
    // Through the main window's menu; the main window is opened first when it is not yet.
    void openList()
    {
        if (!m_session)
            openMain();
        m_session->trigger(QStringLiteral("mnuEditGesamtliste"));
        m_list = findList();
        QVERIFY(m_list && QTest::qWaitForWindowActive(m_list));
    }
    static frmGesamt *findList() { return openedWindow<frmGesamt>(); }
    DataGrid *grid() const { return m_list->findChild<DataGrid *>(QStringLiteral("TDBGrid1")); }
    Recordset *rows() const { return m_list->findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    QString closeList()
    {
        m_list->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return QString();
    }

private slots:
    void init()
    {
        m_competition = std::make_unique<TestCompetition>();
        m_master = std::make_unique<TestMasterList>();
        frmGesamt::setMasterFolders(m_master->programFolder(), m_master->userFolder());
    }
    void cleanup()
    {
        m_session.reset(); // the main window takes the list window with it
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_list.isNull());
        frmGesamt::setMasterFolders(QString(), QString());
        m_master.reset();
        m_competition.reset();
    }

    // A user's work on the list as a script, run by GridInput::run on the list's grid beside the main
    // window. Before the windows open: "=name|club" is a shooter of the master list ("(null)" for
    // Null), "(no competition)", "(short names)" a list whose table takes names of up to 20
    // characters. Further steps: "<take over>" and "<close>" click the buttons, "<close list>" closes
    // the list's frame, "<activate list>" makes the main window active and then the list;
    // "!file:access" and "!file:csv:BYTES" answer the next open dialog with the Access master list or
    // a file of those bytes. Further checks: "?names a|b" the names shown; "?master a|x;b|y" the
    // master file; "?entered name|club" the competition's one new shooter, "?entered" none; "?ends
    // TEXT" the last box's end; "?row 2" the marker's row; "?tip TEXT" the search box's tooltip;
    // "?list open", "?list closed".
    void run(QStringList script)
    {
        // An empty piece is the empty text.
        const auto value = [](const QString &text) { return text == "(null)" ? QVariant() : QVariant(QString(text.isNull() ? "" : text)); };
        for (const QString &step : script) {
            if (step.startsWith(QLatin1Char('=')))
                m_master->addShooter(value(step.mid(1).section('|', 0, 0)), value(step.section('|', 1, 1)));
            if (step == QLatin1String("(short names)")) {
                QVERIFY(QFile::remove(m_master->path()));
                AccessFixtures::write(m_master->path(), QByteArray());
                CheckConnection::exec(m_master->path(), "CREATE TABLE Schuetzen (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                        "Schuetze TEXT CHECK (length(Schuetze) <= 20), Verein TEXT)");
            }
        }
        m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
        openMain(!script.contains(QStringLiteral("(no competition)")));
        openList();
        script.removeIf([](const QString &step) { return step.startsWith('=') || step.startsWith('('); });
        for (QString &step : script) {
            if (step == QLatin1String("!file:access"))
                step = "!file:" + AccessFixtures::path(AccessFixtures::MasterList);
            else if (step.startsWith(QLatin1String("!file:csv:")))
                step = "!file:" + AccessFixtures::write(m_master->root() + "/schützen.csv", step.mid(10).toUtf8());
        }
        const auto click = [this](const char *button) {
            return [this, button](const QString &) {
                QTest::mouseClick(m_list->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
                return QString();
            };
        };
        const std::vector<ScriptedDialogs::Shown> &boxes = m_session->dialogs().shown();
        GridInput::run(*m_session, *m_competition, script,
                       {{"<take over>", click("cmdUebernahme")},
                        {"<close>", click("cmdClose")},
                        {"<close list>", [this](const QString &) { return closeList(); }},
                        {"<activate list>", [this](const QString &) {
                             m_session->window().activateWindow();
                             const bool main = QTest::qWaitForWindowActive(&m_session->window());
                             m_list->activateWindow();
                             return QString(main && QTest::qWaitForWindowActive(m_list) ? "" : "not activated");
                         }},
                        {"?names", [this](const QString &) { return GridInput::columnTexts(grid(), QStringLiteral("Schuetze")).join('|'); }},
                        {"?master", [this](const QString &) { return m_master->shooters().join(';'); }},
                        {"?entered", [this](const QString &) {
                             const QList<QVariantMap> rows = m_competition->rows("SELECT Schuetze, Verein FROM Ergebnisse ORDER BY ID");
                             return rows.size() == 1 ? QString() // the first is there from the start
                                                     : rows.last().value("Schuetze").toString() + '|' + rows.last().value("Verein").toString();
                         }},
                        {"?ends", [&boxes](const QString &end) {
                             const QString text = boxes.empty() ? QString() : boxes.back().text;
                             return text.endsWith(end) ? end : text;
                         }},
                        {"?row", [this](const QString &) { return QString::number(grid()->currentIndex().row()); }},
                        {"?tip", [this](const QString &) { return m_list->findChild<QLineEdit *>(QStringLiteral("txtSuche"))->toolTip(); }},
                        {"?list", [this](const QString &) { return QString(!m_list.isNull() && m_list->isVisible() ? "open" : "closed"); }}},
                       grid());
    }

    void script_data()
    {
        QTest::addColumn<QStringList>("script");
        const QStringList three{"=Zander, Zoe|SV Nord", "=Müller, Jörg|SV Tell Ülzen", "=Berg, Anna|(null)"};
        const QString threeStored = QStringLiteral("Zander, Zoe|SV Nord;Müller, Jörg|SV Tell Ülzen;Berg, Anna|(null)");
        // Übernehmen hands the current shooter to the competition; the list stays open on its row and
        // unchanged; after a refusal the next shooter is taken over as ever.
        QTest::newRow("take over with club") << three + QStringList{"@1:Schuetze", "<take over>", "?entered Müller, Jörg|SV Tell Ülzen",
                                                                     "?row 1", "?list open", "?master " + threeStored, "?boxes 0"};
        QTest::newRow("take over with a Null club: name and tab") << three + QStringList{"@0:Schuetze", "<take over>",
                                                                                         "?entered Berg, Anna|", "?boxes 0"};
        QTest::newRow("typed into the list and taken over at once: kept in both")
            << QStringList{"=Berg, Anna|SV Alm", "@1:Schuetze", "Neu, Nina", "<Tab>", "SV Süd", "<take over>", "?entered Neu, Nina|SV Süd",
                           "?master Berg, Anna|SV Alm;Neu, Nina|SV Süd", "?row 1"};
        QTest::newRow("take over on the new-row line: nothing") << three + QStringList{"@3:Schuetze", "<take over>", "?entered", "?boxes 0"};
        QTest::newRow("take over without a competition: told")
            << three + QStringList{"(no competition)", "@0:Schuetze", "<take over>", "?entered", "?boxes 1", "?list open"};
        QTest::newRow("a name too long for the competition: told, the next one taken over")
            << QStringList{"=" + QString(300, 'M') + "|SV", "=Berg, Anna|SV", "@1:Schuetze", "<take over>", "?entered", "?boxes 1",
                           "@0:Schuetze", "<take over>", "?entered Berg, Anna|SV", "?boxes 1"};
        // Searching as the name is typed, letter case ignored (a plain vowel is no umlaut), from the
        // shooter without a name, whom no search finds; no match leaves the marker, marks the box and
        // refuses Übernehmen. Shown: (no name), Müller Jörg, Muller Paul, Mustermann, Zander.
        const QStringList names{"=Zander, Zoe|", "=Müller, Jörg|", "=(null)|Ohne Namen", "=Mustermann, Max|", "=Muller, Paul|",
                                "@0:Schuetze", "<activate list>"};
        QTest::newRow("search: no match leaves the marker")
            << names + QStringList{"zan", "x", "?on Zander, Zoe", "?tip Kein Schütze gefunden", "<take over>", "?entered", "?boxes 1",
                                   "?box Kein Schütze passt zur Suche"};
        QTest::newRow("search: an open bracket leaves the marker, deleting a letter searches again")
            << names + QStringList{"mus[", "?on Mustermann, Max", "?tip Kein Schütze gefunden", "<Backspace>", "?on Mustermann, Max",
                                   "?tip", "<Backspace>", "?on Muller, Paul"};
        QTest::newRow("search: the emptied box goes to the first shooter with a name")
            << names + QStringList{"zan", "<Backspace>", "<Backspace>", "<Backspace>", "?on Müller, Jörg", "?row 1", "?tip"};
        // In name order (letter case and accents ignored), the shooter without a name first; a typed
        // or renamed shooter keeps his place until F5 sorts again and goes to the first row.
        const QStringList order{"=Zander, Zoe|", "=becker, Otto|", "=(null)|Ohne Namen", "=Ärger, Anton|",
                                "?names |Ärger, Anton|becker, Otto|Zander, Zoe"};
        QTest::newRow("a typed shooter stays last until F5")
            << order + QStringList{"@4:Schuetze", "Bär, Bruno", "<Return>", "@0:Schuetze",
                                   "?names |Ärger, Anton|becker, Otto|Zander, Zoe|Bär, Bruno", "<F5>",
                                   "?names |Ärger, Anton|Bär, Bruno|becker, Otto|Zander, Zoe", "?row 0"};
        QTest::newRow("a renamed shooter keeps his place until F5")
            << order + QStringList{"@2:Schuetze", "Äbel, Otto", "<Return>", "@0:Schuetze", "?names |Ärger, Anton|Äbel, Otto|Zander, Zoe",
                                   "<F5>", "?names |Äbel, Otto|Ärger, Anton|Zander, Zoe", "?row 0"};
        // Deleting asks first; a club typed for Zander is stored before any question; the
        // competition, another file, is not touched. Nothing asked without a current row is the
        // result entry's row: both windows delete alike.
        const QStringList list{"=(null)|SV", "=Berg, Anna|SV Alm", "=Zander, Zoe|SV Nord", "@2:Verein", "SV Süd"};
        const QString everyone = QStringLiteral("(null)|SV;Berg, Anna|SV Alm;Zander, Zoe|SV Süd");
        QTest::newRow("delete one, Yes") << list + QStringList{"!Yes", "#mnuEditDeleteSchuetze",
                                                               "?box Soll der Schütze Zander, Zoe wirklich gelöscht werden?",
                                                               "?master (null)|SV;Berg, Anna|SV Alm", "?names |Berg, Anna", "?entered"};
        QTest::newRow("delete one, No") << list + QStringList{"@1:Schuetze", "!No", "#mnuEditDeleteSchuetze",
                                                              "?box Soll der Schütze Berg, Anna wirklich gelöscht werden?", "?master " + everyone};
        QTest::newRow("delete one without a name") << list + QStringList{"@0:Schuetze", "!Yes", "#mnuEditDeleteSchuetze",
                                                                         "?box Soll der Schütze  wirklich gelöscht werden?",
                                                                         "?master Berg, Anna|SV Alm;Zander, Zoe|SV Süd"};
        QTest::newRow("delete all, Yes") << list + QStringList{"!Yes", "#mnuEditDeleteAll",
                                                               "?box Sollen wirklich alle Schützen gelöscht werden?", "?master ",
                                                               "?names ", "?entered"};
        // Importing: a shooter with the same name and club as one listed (letter case counts, a Null
        // club is the empty club, blanks around a listed name do not count) is skipped, and the
        // summary tells the numbers. A failure is told and the list stays as it was: a third shooter
        // that fails after two were written takes them back.
        const QString access = "Jürgen Müßig|SV Grün-Weiß Öhringen;Anna Beispiel|SG Tell Ahlen;Zoë Ærø|(null);"
                               "Karl-Heinz O'Brien|SG Tell Ahlen;Ömer Yıldız|SV Grün-Weiß Öhringen";
        const QString nothing = QStringLiteral("?ends \nEs wurde nichts importiert; die Gesamtliste ist unverändert.");
        const auto summary = [](int added, int skipped) {
            return QStringLiteral("?box Hinzugefügt: %1\nÜbersprungen, weil schon in der Gesamtliste: %2").arg(added).arg(skipped);
        };
        QTest::newRow("import cancelled") << QStringList{"=Vorher|V", "!file:", "#mnuDateiImport", "?boxes 1", "?master Vorher|V"};
        QTest::newRow("import an Access master list") << QStringList{"!file:access", "#mnuDateiImport", "?master " + access,
                                                                     summary(5, 0), "?boxes 2", "?names Anna Beispiel|Jürgen Müßig|"
                                                                     "Karl-Heinz O'Brien|Ömer Yıldız|Zoë Ærø"};
        QTest::newRow("import: all listed already, nothing twice")
            << access.split(';').replaceInStrings(QRegularExpression("^"), "=") + QStringList{"!file:access", "#mnuDateiImport",
                                                                                              "?master " + access, summary(0, 5)};
        QTest::newRow("import: listed in another letter case is another shooter")
            << QStringList{"=anna beispiel|SG Tell Ahlen", "!file:access", "#mnuDateiImport", summary(5, 0)};
        QTest::newRow("import: listed without club as empty text") << QStringList{"=Zoë Ærø|", "!file:access", "#mnuDateiImport", summary(4, 1)};
        QTest::newRow("import: listed with blanks around the name")
            << QStringList{"= Karl-Heinz O'Brien |SG Tell Ahlen", "!file:access", "#mnuDateiImport", summary(4, 1)};
        QTest::newRow("import: the same shooter twice in the file")
            << QStringList{"!file:csv:Anna;SV\nAnna;SV\n", "#mnuDateiImport", "?master Anna|SV", summary(1, 1)};
        QTest::newRow("import: a club without a name")
            << QStringList{"!file:csv:;SV Alm\nAnna;SV\n", "#mnuDateiImport", "?master Anna|SV", summary(1, 0),
                           "?ends \nZeilen ohne Namen, nicht übernommen: 1"};
        QTest::newRow("import: a broken quote") << QStringList{"=Vorher|V", "!file:csv:Anna;SV\n\"Berta;SV\nCarla;SV\n",
                                                              "#mnuDateiImport", "?box Fehler: 321 - ", nothing, "?master Vorher|V"};
        QTest::newRow("import into a list whose table refuses long names")
            << QStringList{"(short names)", "=Vorher|V", "!file:csv:Anna;SV\nBerta;SV\nEin Name, der zu lang ist;SV\nDora;SV\n",
                           "#mnuDateiImport", "?box Fehler: ", nothing, "?master Vorher|V", "?names Vorher"};
        // A list closed by itself reads the file again when opened next; the main window takes the
        // list with it when it closes. A club typed into the list is stored either way.
        const QStringList two{"=Berg, Anna|SV Alm", "=Zander, Zoe|SV Nord"};
        QTest::newRow("closed by Schließen, a typed club stored")
            << two + QStringList{"@1:Verein", "SV Süd", "<close>", "?list closed", "?master Berg, Anna|SV Alm;Zander, Zoe|SV Süd"};
        QTest::newRow("closed by the menu") << two + QStringList{"#mnuDateiClose", "?list closed"};
        QTest::newRow("closed by the frame") << two + QStringList{"<close list>", "?list closed"};
        QTest::newRow("closed with the main window, a typed club stored")
            << two + QStringList{"@1:Verein", "SV Süd", "<close frame>", "?list closed", "?master Berg, Anna|SV Alm;Zander, Zoe|SV Süd"};
    }

    void script()
    {
        QFETCH(QStringList, script);
        run(script);
        if (QTest::currentTestFailed() || !QByteArray(QTest::currentDataTag()).startsWith("closed") || !m_session->window().isVisible())
            return;
        m_master->addShooter(QStringLiteral("Adler, Ada"), QVariant()); // by someone else while the list was closed
        openList();
        QVERIFY(rows()->rowCount() == 3 && GetFieldValue(*rows(), QStringLiteral("Schuetze")) == QStringLiteral("Adler, Ada"));
    }

    // A row the main window cannot store keeps it open, and the list with it.
    void mainWindowKeptOpenKeepsTheList()
    {
        m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
        openMain();
        GridInput::run(*m_session, *m_competition, {"@0:StartNr", "zwölf", "<Return>"});
        openList();
        GridInput::run(*m_session, *m_competition, {"<close frame>", "?open", "?boxes 1"});
        QVERIFY(m_list && m_list->isVisible());
    }

    void oneWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu item twice") << "menu";
        QTest::newRow("F4 twice, the main window active in between") << "F4";
        QTest::newRow("toolbar button while the list is minimised") << "button";
    }

    void oneWindow()
    {
        QFETCH(QString, how);
        openMain();
        frmMain &main = m_session->window();
        auto open = [&] {
            if (how == QLatin1String("F4"))
                QTest::keyClick(&main, Qt::Key_F4);
            else if (how == QLatin1String("button"))
                QTest::mouseClick(main.findChild<QToolBar *>()->widgetForAction(
                                      main.findChild<QAction *>(QStringLiteral("Toolbar1_Button7"))), Qt::LeftButton);
            else
                m_session->trigger(QStringLiteral("mnuEditGesamtliste"));
        };
        open();
        m_list = findList();
        QVERIFY(m_list && QTest::qWaitForWindowActive(m_list));
        if (how == QLatin1String("button"))
            m_list->showMinimized();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        open();
        QVERIFY(QTest::qWaitForWindowActive(m_list) && !m_list->isMinimized() && m_list->isVisible());
        int lists = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            lists += qobject_cast<frmGesamt *>(window) ? 1 : 0;
        QVERIFY(lists == 1 && findList() == m_list.data());
    }

    // Place and layout come back from the settings alone: the closed window is deleted. The window's
    // entry holds no column widths; a damaged entry is applied only as far as the screen goes, and
    // that is what closing stores.
    void positionAndLayoutComeBack()
    {
        openList();
        m_list->move(120, 80);
        m_list->resize(700, 500);
        grid()->columns(QStringLiteral("Verein")).setOrder(1);
        grid()->columns(QStringLiteral("Schuetze")).setWidth(2880);
        closeList();
        openList();
        QVERIFY(m_list->pos() == QPoint(120, 80) && m_list->size() == QSize(700, 500));
        QVERIFY(grid()->columns(QStringLiteral("Verein")).order() == 1 && grid()->columns(QStringLiteral("Schuetze")).width() == 2880.0);
        QVERIFY(!grid()->columns(QStringLiteral("ID")).isVisible());
        closeList();
        m_session->settings().write(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-"), QStringLiteral("99999999;").repeated(4));
        openList();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(QRect(m_list->pos(), m_list->size()), screen);
        closeList();
        const int twips = qRound(1440.0 / m_session->window().logicalDpiX());
        QCOMPARE(m_session->settings().read(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-")),
                 QStringLiteral("%1;%2;%3;%4;").arg(screen.x() * twips).arg(screen.y() * twips).arg(screen.width() * twips)
                     .arg(screen.height() * twips));
    }
};

QTEST_MAIN(tst_MasterList)
#include "tst_masterlist.moc"
