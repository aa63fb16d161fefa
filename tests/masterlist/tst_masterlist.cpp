// The master list window beside an open competition: taking shooters over, finding them by name,
// the name order, deleting, importing from an Access list or a CSV file; the one window the main
// window shows, closing, and where it comes back. Both files are read back through connections of
// their own.
#include "grid/DataGrid.h"
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
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>
#include <QtTest>
#include <functional>
#include <memory>

class tst_MasterList : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<TestCompetition> m_competition;
    std::unique_ptr<TestMasterList> m_master;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmMain> m_main;
    QPointer<frmGesamt> m_list;

    // "name|club", "(null)" for Null and an empty piece for the empty text.
    void fillMaster(const QStringList &shooters) const
    {
        const auto value = [](const QString &text) { return text == "(null)" ? QVariant() : QVariant(QString(text.isNull() ? "" : text)); };
        for (const QString &shooter : shooters)
            m_master->addShooter(value(shooter.section('|', 0, 0)), value(shooter.section('|', 1, 1)));
    }
    void openMain(bool withCompetition = true)
    {
        if (withCompetition)
            m_settings->write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competition->path());
        m_main = std::make_unique<frmMain>();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    }
    // Through the main window's menu; the main window is opened first when it is not yet.
    void openList()
    {
        if (!m_main)
            openMain();
        m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"))->trigger();
        m_list = findList();
        QVERIFY(m_list && QTest::qWaitForWindowActive(m_list));
    }
    static frmGesamt *findList()
    {
        frmGesamt *found = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            found = qobject_cast<frmGesamt *>(window) ? qobject_cast<frmGesamt *>(window) : found;
        return found;
    }
    DataGrid *grid() const { return m_list->findChild<DataGrid *>(QStringLiteral("TDBGrid1")); }
    Recordset *rows() const { return m_list->findChild<DataSource *>(QStringLiteral("Data1"))->recordset(); }
    QString currentName() const { return GetFieldValue(*rows(), QStringLiteral("Schuetze")).toString(); }
    QStringList shownNames() const // the last line is the new-row line
    {
        QStringList names;
        for (int row = 0; row < grid()->model()->rowCount() - 1; ++row)
            names << grid()->model()->index(row, grid()->columnIndex(QStringLiteral("Schuetze"))).data().toString();
        return names;
    }
    void selectRow(int row, const QString &field = QStringLiteral("Schuetze")) const
    {
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(row, grid()->columnIndex(field)));
    }
    void click(const char *button) const { QTest::mouseClick(m_list->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton); }
    QList<QVariantMap> competitionRows() const
    {
        return m_competition->rows(QStringLiteral("SELECT StartNr, Schuetze, Verein FROM Ergebnisse ORDER BY ID"));
    }
    size_t shownDialogs() const { return m_dialogs->shown().size(); }
    void closeList()
    {
        m_list->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_competition = std::make_unique<TestCompetition>();
        m_master = std::make_unique<TestMasterList>();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        frmGesamt::setMasterFolders(m_master->programFolder(), m_master->userFolder());
    }
    void cleanup()
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

    // A user's work on the list as a script. Before the windows open: "=name|club" is a shooter of
    // the master list ("(null)" for Null), "(no competition)", "(short names)" a list whose table
    // takes names of up to 20 characters. Steps: "@2:Verein" puts the marker on a cell; text is
    // typed; "<Tab>", "<Return>", "<Backspace>", "<F5>" are keys; "<take over>" and "<close>" click
    // the buttons, "<close frame>" and "<close main>" close the list's or the main window's frame;
    // "<activate>" makes the main window active and then the list; "#mnu…" runs a menu command;
    // "!Yes", "!No" answer the next question, "!file:access", "!file:csv:BYTES", "!file:" the next
    // open dialog. Checks: "?names a|b" the names shown; "?master a|x;b|y" the master file;
    // "?entered name|club" the competition's one new shooter, "?entered" none; "?boxes 1"; "?box
    // TEXT" and "?ends TEXT" the last box's text; "?on name" the current shooter; "?row 2" the
    // marker's row; "?tip TEXT" the search box's tooltip; "?open", "?closed" the list window.
    void run(QStringList script)
    {
        for (const QString &step : script) {
            if (step.startsWith(QLatin1Char('=')))
                fillMaster({step.mid(1)});
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
        static const QHash<QString, Qt::Key> keys{{"<Tab>", Qt::Key_Tab}, {"<Return>", Qt::Key_Return}, {"<Backspace>", Qt::Key_Backspace}};
        const QHash<QString, std::function<QString()>> shown{
            {"?names", [&] { return shownNames().join('|'); }},
            {"?master", [&] { return m_master->shooters().join(';'); }},
            {"?boxes", [&] { return QString::number(qsizetype(m_dialogs->shown().size())); }},
            {"?on", [&] { return currentName(); }},
            {"?row", [&] { return QString::number(grid()->currentIndex().row()); }},
            {"?tip", [&] { return m_list->findChild<QLineEdit *>(QStringLiteral("txtSuche"))->toolTip(); }},
            {"?entered", [&] {
                 const QList<QVariantMap> rows = competitionRows(); // the first is there from the start
                 return rows.size() == 1 ? QString() : rows.last().value("Schuetze").toString() + '|' + rows.last().value("Verein").toString();
             }},
            {"?box", [&] { return m_dialogs->shown().empty() ? QString() : m_dialogs->shown().back().text; }},
            {"?ends", [&] { return m_dialogs->shown().empty() ? QString() : m_dialogs->shown().back().text; }},
            {"?open", [&] { return QString(!m_list.isNull() && m_list->isVisible() ? "" : "closed"); }},
            {"?closed", [&] { return QString(!m_list.isNull() && m_list->isVisible() ? "open" : ""); }}};
        for (const QString &step : script) {
            const QString key = step.section(QLatin1Char(' '), 0, 0), arg = step.section(QLatin1Char(' '), 1);
            if (keys.contains(step)) {
                GuiTyping::press(keys.value(step));
            } else if (step == QLatin1String("<F5>")) {
                QTest::keyClick(m_list, Qt::Key_F5);
            } else if (step == QLatin1String("<take over>") || step == QLatin1String("<close>")) {
                click(step == QLatin1String("<close>") ? "cmdClose" : "cmdUebernahme");
            } else if (step == QLatin1String("<close frame>") || step == QLatin1String("<close main>")) {
                (step == QLatin1String("<close main>") ? static_cast<QWidget *>(m_main.get()) : m_list.data())->close();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            } else if (step == QLatin1String("<activate>")) {
                m_main->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
                m_list->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(m_list));
            } else if (step.startsWith(QLatin1Char('@'))) {
                selectRow(step.mid(1).section(':', 0, 0).toInt(), step.section(':', 1));
            } else if (step.startsWith(QLatin1Char('#'))) {
                m_list->findChild<QAction *>(step.mid(1))->trigger();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            } else if (step.startsWith(QLatin1String("!file:"))) {
                const QString file = step.mid(6);
                m_dialogs->answerFile(file == "access" ? AccessFixtures::path(AccessFixtures::MasterList)
                                      : file.isEmpty() ? QString()
                                                       : AccessFixtures::write(m_master->root() + "/schützen.csv", file.mid(4).toUtf8()));
            } else if (step.startsWith(QLatin1Char('!'))) {
                m_dialogs->answer(step == QLatin1String("!Yes") ? Dialogs::Answer::Yes : Dialogs::Answer::No);
            } else if (!step.startsWith(QLatin1Char('?'))) {
                GuiTyping::typeText(step);
            } else {
                QVERIFY2(shown.contains(key), qPrintable(step + " is no check"));
                const QString seen = shown.value(key)();
                const bool good = key == "?box" ? seen.startsWith(arg) : key == "?ends" ? seen.endsWith(arg) : seen == arg;
                QVERIFY2(good, qPrintable(step + QStringLiteral(" - ") + seen));
            }
        }
    }

    void script_data()
    {
        QTest::addColumn<QStringList>("script");
        const QStringList three{"=Zander, Zoe|SV Nord", "=Müller, Jörg|SV Tell Ülzen", "=Berg, Anna|(null)"};
        const QString threeStored = QStringLiteral("Zander, Zoe|SV Nord;Müller, Jörg|SV Tell Ülzen;Berg, Anna|(null)");
        // Übernehmen hands the current shooter to the competition; the list stays open on its row and
        // unchanged; after a refusal the next shooter is taken over as ever.
        QTest::newRow("take over with club") << three + QStringList{"@1:Schuetze", "<take over>", "?entered Müller, Jörg|SV Tell Ülzen",
                                                                     "?row 1", "?open", "?master " + threeStored, "?boxes 0"};
        QTest::newRow("take over with a Null club: name and tab") << three + QStringList{"@0:Schuetze", "<take over>",
                                                                                         "?entered Berg, Anna|", "?boxes 0"};
        QTest::newRow("typed into the list and taken over at once: kept in both")
            << QStringList{"=Berg, Anna|SV Alm", "@1:Schuetze", "Neu, Nina", "<Tab>", "SV Süd", "<take over>", "?entered Neu, Nina|SV Süd",
                           "?master Berg, Anna|SV Alm;Neu, Nina|SV Süd", "?row 1"};
        QTest::newRow("take over on the new-row line: nothing") << three + QStringList{"@3:Schuetze", "<take over>", "?entered", "?boxes 0"};
        QTest::newRow("take over without a competition: told")
            << three + QStringList{"(no competition)", "@0:Schuetze", "<take over>", "?entered", "?boxes 1", "?open"};
        QTest::newRow("a name too long for the competition: told, the next one taken over")
            << QStringList{"=" + QString(300, 'M') + "|SV", "=Berg, Anna|SV", "@1:Schuetze", "<take over>", "?entered", "?boxes 1",
                           "@0:Schuetze", "<take over>", "?entered Berg, Anna|SV", "?boxes 1"};
        // Searching as the name is typed, letter case ignored (a plain vowel is no umlaut), from the
        // shooter without a name, whom no search finds; no match leaves the marker, marks the box and
        // refuses Übernehmen. Shown: (no name), Müller Jörg, Muller Paul, Mustermann, Zander.
        const QStringList names{"=Zander, Zoe|", "=Müller, Jörg|", "=(null)|Ohne Namen", "=Mustermann, Max|", "=Muller, Paul|",
                                "@0:Schuetze", "<activate>"};
        QTest::newRow("search: lower case finds upper case") << names + QStringList{"zan", "?on Zander, Zoe", "?row 4", "?tip"};
        QTest::newRow("search: no match leaves the marker")
            << names + QStringList{"zan", "x", "?on Zander, Zoe", "?tip Kein Schütze gefunden", "<take over>", "?entered", "?boxes 1",
                                   "?box Kein Schütze passt zur Suche"};
        QTest::newRow("search: an open bracket leaves the marker") << names + QStringList{"mus[", "?on Mustermann, Max", "?tip Kein Schütze gefunden"};
        QTest::newRow("search: deleting a letter searches again")
            << names + QStringList{"mus[", "<Backspace>", "?on Mustermann, Max", "?tip", "<Backspace>", "?on Muller, Paul"};
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
        // competition, another file, is not touched.
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
        QTest::newRow("delete on the new-row line: nothing") << list + QStringList{"@3:Schuetze", "!Yes", "#mnuEditDeleteSchuetze",
                                                                                   "?boxes 0", "?master " + everyone};
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
        QTest::newRow("import: listed with the same name and club")
            << QStringList{"=Anna Beispiel|SG Tell Ahlen", "!file:access", "#mnuDateiImport", summary(4, 1)};
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
            << two + QStringList{"@1:Verein", "SV Süd", "<close>", "?closed", "?master Berg, Anna|SV Alm;Zander, Zoe|SV Süd"};
        QTest::newRow("closed by the menu") << two + QStringList{"#mnuDateiClose", "?closed"};
        QTest::newRow("closed by the frame") << two + QStringList{"<close frame>", "?closed"};
        QTest::newRow("closed with the main window, a typed club stored")
            << two + QStringList{"@1:Verein", "SV Süd", "<close main>", "?closed", "?master Berg, Anna|SV Alm;Zander, Zoe|SV Süd"};
    }

    void script()
    {
        QFETCH(QStringList, script);
        run(script);
        if (QTest::currentTestFailed() || !QByteArray(QTest::currentDataTag()).startsWith("closed") || !m_main->isVisible())
            return;
        m_master->addShooter(QStringLiteral("Adler, Ada"), QVariant()); // by someone else while the list was closed
        openList();
        QVERIFY(rows()->rowCount() == 3 && currentName() == QStringLiteral("Adler, Ada"));
    }

    // A row the main window cannot store keeps it open, and the list with it.
    void mainWindowKeptOpenKeepsTheList()
    {
        m_competition->addResult(1, QStringLiteral("Im Wettkampf"), QStringLiteral("V"));
        openMain();
        auto *entry = m_main->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
        entry->setFocus();
        entry->setCurrentIndex(entry->model()->index(0, entry->columnIndex(QStringLiteral("StartNr"))));
        GuiTyping::typeText(QStringLiteral("zwölf"));
        GuiTyping::press(Qt::Key_Return);
        openList();
        m_main->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(m_main->isVisible() && m_list && m_list->isVisible());
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
        auto open = [&] {
            if (how == QLatin1String("F4"))
                QTest::keyClick(m_main.get(), Qt::Key_F4);
            else if (how == QLatin1String("button"))
                QTest::mouseClick(m_main->findChild<QToolBar *>()->widgetForAction(
                                      m_main->findChild<QAction *>(QStringLiteral("Toolbar1_Button7"))), Qt::LeftButton);
            else
                m_main->findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"))->trigger();
        };
        open();
        m_list = findList();
        QVERIFY(m_list && QTest::qWaitForWindowActive(m_list));
        if (how == QLatin1String("button"))
            m_list->showMinimized();
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        open();
        QVERIFY(QTest::qWaitForWindowActive(m_list) && !m_list->isMinimized() && m_list->isVisible());
        int lists = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            lists += qobject_cast<frmGesamt *>(window) ? 1 : 0;
        QVERIFY(lists == 1 && findList() == m_list.data());
    }

    // The window's entry holds no column widths; a damaged entry is applied only as far as the
    // screen goes, and that is what closing stores.
    void positionAndLayoutComeBack()
    {
        openList();
        m_list->move(120, 80);
        m_list->resize(700, 500);
        grid()->columns(QStringLiteral("Verein")).setOrder(1);
        grid()->columns(QStringLiteral("Schuetze")).setWidth(2880);
        closeList();
        QCOMPARE(m_settings->read(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-")).count(QLatin1Char(';')), 4);
        QVERIFY(!m_settings->read(QStringLiteral("Allgemein"), QStringLiteral("Grid-Layout-Gesamt")).isEmpty());
        openList();
        QVERIFY(m_list->pos() == QPoint(120, 80) && m_list->size() == QSize(700, 500));
        QVERIFY(grid()->columns(QStringLiteral("Verein")).order() == 1 && grid()->columns(QStringLiteral("Schuetze")).width() == 2880.0);
        QVERIFY(!grid()->columns(QStringLiteral("ID")).isVisible());
        closeList();
        m_settings->write(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-"), QStringLiteral("99999999;").repeated(4));
        openList();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(QRect(m_list->pos(), m_list->size()), screen);
        closeList();
        const int twips = qRound(1440.0 / m_main->logicalDpiX());
        QCOMPARE(m_settings->read(QStringLiteral("Positionen"), QStringLiteral("frmGesamt-")),
                 QStringLiteral("%1;%2;%3;%4;").arg(screen.x() * twips).arg(screen.y() * twips).arg(screen.width() * twips)
                     .arg(screen.height() * twips));
    }
};

QTEST_MAIN(tst_MasterList)
#include "tst_masterlist.moc"
