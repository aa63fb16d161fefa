// The main window's menus, shortcuts and toolbar reach their commands, told by what the command
// visibly does. Unknown button keys do nothing; failures of a button's command are dropped.
#include "mainwindow/CommandProbe.h"
#include "store/RingtalError.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

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
    void commandReachesItsEffect_data()
    {
        QTest::addColumn<QString>("how");    // "menu": chosen with the mouse from its menu; "key"; "button"
        QTest::addColumn<QString>("target"); // menu item, key sequence or button key
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QString>("asked"); // the first dialog's text; empty: not checked
        QTest::newRow("menu New") << "menu" << "mnuDateiNeu" << "save" << "";
        QTest::newRow("menu delete all") << "menu" << "mnuEditDeleteAll" << "question"
                                         << "Sollen wirklich alle Schützen gelöscht werden?";
        QTest::newRow("menu Info, modal") << "menu" << "mnuInfo" << "frmInfo" << "";
        QTest::newRow("key Ctrl+P: asked to rank first") << "key" << "Ctrl+P" << "question,progress; preview" << "";
        QTest::newRow("key F4") << "key" << "F4" << "master list" << "";
        QTest::newRow("key F5") << "key" << "F5" << "places 1,2,3" << "";
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
            auto *action = probe.window().findChild<QAction *>(target);
            auto *menu = qobject_cast<QMenu *>(action->parent());
            menu->popup(probe.window().mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
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

    // Keys that only look like a button's, and a separator's, do nothing.
    void otherKeysDoNothing()
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
    }

    // The menu's command lets the failure go to its caller; the toolbar's click drops it, after the
    // command ran up to the failure.
    void buttonFailuresAreDropped()
    {
        CommandProbe probe;
        QVERIFY(probe.session().showForTyping());
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
