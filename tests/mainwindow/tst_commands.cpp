// The main window's menus, shortcuts and toolbar reach their commands, told by what the command
// visibly does. Unknown button keys do nothing; failures of a button's command are dropped.
#include "mainwindow/MainWindowSession.h"
#include "masterlist/frmGesamt.h"
#include "store/RingtalError.h"
#include "support/TestMasterList.h"

#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

namespace {

// Tells which command of the main window ran by what it visibly did: the dialogs it asked (none is
// answered, so each is cancelled or answered No), the modal window it showed (closed at once, as a
// user would), the windows it opened, the places it wrote, the window closed. One probe serves one
// run of the window over three shooters without places and a master list of its own.
class CommandProbe
{
public:
    CommandProbe()
    {
        m_competition.setTitle(QStringLiteral("Kreismeisterschaft"));
        m_competition.addResult(7, "Berg, Anna", "SV Alm", 95, "0000950300000000000000000000");
        m_competition.addResult(3, "Öztürk, Ayşe", "SG Öhringen", 93, "0000930100000000000000000000");
        m_competition.addResult(5, "Zander, Zoe", "SV Nord", 88, "0000880000000000000000000000");
        frmGesamt::setMasterFolders(m_master.programFolder(), m_master.userFolder());
        m_session = std::make_unique<MainWindowSession>(m_competition.path());
        QObject::connect(&m_modalWatch, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                m_modals << modal->objectName();
                qobject_cast<QDialog *>(modal) ? qobject_cast<QDialog *>(modal)->reject() : void(modal->close());
            }
        });
        m_modalWatch.start(10);
    }
    ~CommandProbe()
    {
        m_modalWatch.stop();
        m_session.reset(); // with the windows it owns
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmGesamt::setMasterFolders(QString(), QString());
    }
    MainWindowSession &session() { return *m_session; }
    frmMain &window() { return m_session->window(); }
    QString firstText() const { return m_session->dialogs().shown().empty() ? QString() : m_session->dialogs().shown().front().text; }

    // What the command did, in a fixed order: the kinds of dialogs asked, the modal windows shown,
    // "preview" and "master list" for the windows open, "closed", and the places stored best first.
    // Empty when nothing happened.
    QString seen()
    {
        QCoreApplication::processEvents();
        QStringList seen, kinds, places;
        for (const ScriptedDialogs::Shown &shown : m_session->dialogs().shown())
            kinds << shown.kind;
        seen << kinds.join(QLatin1Char(',')) << m_modals;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && (widget->objectName() == "PrintPreviewWindow" || widget->objectName() == "frmGesamt"))
                seen << (widget->objectName() == "frmGesamt" ? QStringLiteral("master list") : QStringLiteral("preview"));
        }
        seen << (window().isVisible() ? QString() : QStringLiteral("closed"));
        for (const QVariantMap &row : m_competition.rows("SELECT Platz FROM Ergebnisse ORDER BY Sortierung DESC"))
            places << row.value(QStringLiteral("Platz")).toString();
        seen << (places.join(QString()).isEmpty() ? QString() : QStringLiteral("places ") + places.join(QLatin1Char(',')));
        seen.removeAll(QString());
        return seen.join(QStringLiteral("; "));
    }

private:
    TestCompetition m_competition;
    TestMasterList m_master;
    std::unique_ptr<MainWindowSession> m_session;
    QTimer m_modalWatch;
    QStringList m_modals;
};

// A question that fails, as a broken dialog or a lost display would.
class FailingQuestion : public ScriptedDialogs
{
public:
    Answer question(const QString &title, const QString &text, Icon icon) override
    {
        ScriptedDialogs::question(title, text, icon);
        throw RingtalError(ErrorNumber::InvalidProcedureCall, QStringLiteral("Ungültiger Prozeduraufruf"));
    }
};

QToolBar *toolbar(frmMain &window)
{
    return window.findChild<QToolBar *>(QStringLiteral("Toolbar1"));
}

// The menu items and the toolbar's buttons, separators left out.
QList<QAction *> commands(frmMain &window)
{
    QList<QAction *> all;
    for (QAction *action : window.menuBar()->actions() + toolbar(window)->actions())
        all += action->menu() ? action->menu()->actions() : QList<QAction *>{action};
    all.removeIf([](QAction *action) { return action->isSeparator(); });
    return all;
}

void clickButton(frmMain &window, const QString &key)
{
    for (QAction *action : toolbar(window)->actions()) {
        if (!action->isSeparator() && action->data().toString() == key)
            QTest::mouseClick(toolbar(window)->widgetForAction(action), Qt::LeftButton);
    }
}

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

private slots:
    // Which command a menu item runs is seen by every test that runs it by its name; here a shortcut,
    // the buttons, and the modal windows no other test opens through the menu.
    void commandReachesItsEffect_data()
    {
        QTest::addColumn<QString>("how");    // "menu": the item by its name; "key"; "button"
        QTest::addColumn<QString>("target"); // menu item, key sequence or button key
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QString>("asked"); // the first dialog's text; empty: not checked
        QTest::newRow("menu Info, modal") << "menu" << "mnuInfo" << "frmInfo" << "";
        QTest::newRow("menu printer settings, modal") << "menu" << "mnuDateiPrinterSetup" << "frmPrinterSetup" << "";
        QTest::newRow("menu certificates: asked to rank first, modal") << "menu" << "mnuDateiUrkunden"
                                                                       << "question; frmUrkunden" << "";
        QTest::newRow("key Ctrl+P: asked to rank first") << "key" << "Ctrl+P" << "question,progress; preview" << "";
        QTest::newRow("button exit") << "button" << "exit" << "closed" << "";
        QTest::newRow("button Löschen: the current shooter") << "button" << "Löschen" << "question"
                                                             << "Soll der Schütze Berg, Anna wirklich gelöscht werden?";
        QTest::newRow("button Drucken") << "button" << "Drucken" << "question,print" << "";
    }

    void commandReachesItsEffect()
    {
        QFETCH(QString, how);
        QFETCH(QString, target);
        QFETCH(QString, seen);
        QFETCH(QString, asked);
        CommandProbe probe;
        QVERIFY(probe.session().showForTyping());
        if (how == QLatin1String("menu")) {
            probe.session().trigger(target);
        } else if (how == QLatin1String("key")) {
            const QKeyCombination key = QKeySequence(target)[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else {
            clickButton(probe.window(), target);
        }
        QCOMPARE(probe.seen(), seen);
        if (!asked.isEmpty())
            QCOMPARE(probe.firstText(), asked);
    }

    // Every menu item and button is enabled and does something; the buttons show a picture each,
    // drawn (the SVG engine is there) and unlike the others, in a fixed strip of 360 twips.
    void everyCommandRuns()
    {
        int count = int(commands(CommandProbe().window()).size());
        QList<QImage> pictures;
        for (int i = 0; i < count; ++i) {
            CommandProbe probe;
            QVERIFY(probe.session().showForTyping());
            QToolBar *bar = toolbar(probe.window());
            QCOMPARE(bar->height(), qRound(360 * bar->logicalDpiY() / 1440.0));
            QAction *action = commands(probe.window()).at(i);
            const QString name = action->objectName();
            QVERIFY2(action->isEnabled(), qPrintable(name));
            if (action->parent() == bar) {
                const QImage image = action->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
                const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
                QVERIFY2(std::count_if(pixels, pixels + 256, [](QRgb p) { return qAlpha(p) > 128; }) > 20
                             && !pictures.contains(image), qPrintable(name));
                pictures << image;
                QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
            } else {
                action->trigger();
            }
            QVERIFY2(!probe.seen().isEmpty(), qPrintable(name));
        }
        QCOMPARE(pictures.size(), 8);
    }

    // Keys that only look like a button's, and a separator's, do nothing. The menu's command lets a
    // failure go to its caller; the toolbar's click drops it, after the command ran up to the failure.
    void buttonClicks()
    {
        CommandProbe probe;
        QVERIFY(probe.session().showForTyping());
        for (const QString key : {"öffnen", "Open", "Aufsteigend Sortieren", "Löschen ", ""}) {
            QAction foreign;
            foreign.setData(key);
            probe.window().Toolbar1_ButtonClick(&foreign);
        }
        emit toolbar(probe.window())->actionTriggered(toolbar(probe.window())->actions().at(1));
        QCOMPARE(probe.seen(), QString());
        {
            FailingQuestion failing;
            QVERIFY_THROWS_EXCEPTION(RingtalError, probe.window().mnuEditDelSchuetze_Click());
        }
        FailingQuestion failing;
        clickButton(probe.window(), QStringLiteral("Löschen"));
        QCOMPARE(failing.shown().size(), size_t(1));
        QCOMPARE(failing.shown().front().kind, QStringLiteral("question"));
        QVERIFY(probe.window().isVisible());
        QCOMPARE(probe.session().entryGrid()->model()->rowCount(), 4); // three shooters and the new-row line
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
