// The main window's menus and toolbar: captions, shortcuts and order as
// designed, and every item, shortcut and button reaching its command, told
// by what the command visibly does. Unknown keys do nothing, failures of a
// button's command are dropped.
#include "mainwindow/CommandProbe.h"
#include "store/RingtalError.h"
#include "widgets/AppIcons.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

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

QImage picture(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

QToolBar *toolbar(frmMain &window)
{
    return window.findChild<QToolBar *>(QStringLiteral("Toolbar1"));
}

QAction *button(frmMain &window, const QString &key)
{
    for (QAction *action : toolbar(window)->actions()) {
        if (!action->isSeparator() && action->data().toString() == key)
            return action;
    }
    return nullptr;
}

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

private slots:
    void menus_data();
    void menus();
    void toolbarButtonsAndPictures();
    void commandReachesItsEffect_data();
    void commandReachesItsEffect();
    void otherKeysDoNothing();
    void buttonFailuresAreDropped();
};

void tst_Commands::menus_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items"); // "name|caption|shortcut"; no caption for a separator
    QTest::newRow("Datei, no access letter; Exportieren after the printer settings")
        << 0 << "mnuDatei" << "Datei"
        << QStringList{"mnuDateiNeu|&Neu...|Ctrl+N", "mnuDateiOpen|&Öffnen...|Ctrl+O", "mnuTemp1||",
                       "mnuPreviou|Seitenvorschau|Ctrl+P", "mnuDateiPrint|Drucken|",
                       "mnuDateiPrinterSetup|Drucker-Einstellungen...|", "mnuDateiExport|Exportieren...|",
                       "mnuTemp2||", "mnuDateiBezeichnung|Bezeichnung...|", "mnuTemp3||", "mnuDateiClose|&Schließen|"};
    QTest::newRow("Bearbeiten with B; capital L in the first delete, letter l in the second")
        << 1 << "mnuEdit" << "&Bearbeiten"
        << QStringList{"mnuEditUpdatePlaetze|&Aktualisieren|F5", "mnuEditTemp1||",
                       "mnuEditDelSchuetze|&Aktuellen Schützen Löschen|", "mnuEditDeleteAll|Alle Schützen &löschen|",
                       "mnuEditTemp2||", "mnuEditGesamtliste|&Gesamtliste|F4"};
    QTest::newRow("Ansicht, no access letter")
        << 2 << "mnuAnsicht" << "Ansicht"
        << QStringList{"mnuAnsSiegerliste|Schrift Siegerliste|", "mnuAnsTitelzeileFont|Schrift Titelzeile|",
                       "mnuAnsTemp1||", "mnuAnsEingabeFont|Schrift Eingabe|"};
    QTest::newRow("question mark last") << 3 << "mnuQuestion" << "?" << QStringList{"mnuInfo|Info...|"};
}

void tst_Commands::menus()
{
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    MainWindowSession session;
    const QList<QAction *> bar = session.window().menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QMenu *menu = bar.at(position)->menu();
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), name);
    QCOMPARE(menu->title(), caption);
    QStringList shown;
    for (const QAction *item : menu->actions()) {
        QCOMPARE(item->isSeparator(), item->text().isEmpty());
        shown << QStringList{item->objectName(), item->text(), item->shortcut().toString(QKeySequence::PortableText)}
                     .join(QLatin1Char('|'));
    }
    QCOMPARE(shown, items);
}

// A fixed strip of 360 twips at the top; buttons in a fixed order as
// "key|tooltip|picture", separators empty; nine pictures, every one drawn
// (the SVG engine is there) and unlike the others.
void tst_Commands::toolbarButtonsAndPictures()
{
    MainWindowSession session;
    session.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&session.window()));
    QToolBar *bar = toolbar(session.window());
    QVERIFY(!bar->isMovable() && !bar->isFloatable());
    QCOMPARE(session.window().toolBarArea(bar), Qt::TopToolBarArea);
    QCOMPARE(bar->height(), qRound(360 * bar->logicalDpiY() / 1440.0));
    QCOMPARE(bar->geometry().bottom() + 1, session.window().centralWidget()->y());

    const QStringList buttons{"exit||exit", "", "Öffnen|Öffnen|Open", "Neu|Neu|New", "Löschen|Löschen|Delete", "",
                              "Gesamtliste|Gesamtliste|Macro", "", "Drucken|Drucken|Print", "vorschau||vorschau",
                              "Aufsteigend sortieren|Aufsteigend sortieren|Sort Ascending"};
    const ImageList images = AppIcons::toolbarImages();
    const QList<QAction *> actions = bar->actions();
    QCOMPARE(actions.size(), buttons.size());
    for (int i = 0; i < buttons.size(); ++i) {
        QAction *action = actions.at(i);
        QCOMPARE(action->objectName(), QStringLiteral("Toolbar1_Button%1").arg(i + 1));
        QCOMPARE(action->isSeparator(), buttons.at(i).isEmpty());
        if (action->isSeparator())
            continue;
        // What the button would show on hovering: nothing where there is no tooltip.
        QCOMPARE(action->data().toString() + QLatin1Char('|') + action->toolTip(), buttons.at(i).section('|', 0, 1));
        QCOMPARE(picture(action->icon()), picture(images.image(buttons.at(i).section('|', 2))));
        QCOMPARE(qobject_cast<QToolButton *>(bar->widgetForAction(action))->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    QCOMPARE(images.keys(),
             QStringList({"exit", "New", "Delete", "Print", "Sort Ascending", "vorschau", "NOTE04", "Macro", "Open"}));
    QList<QImage> drawn;
    for (const QString &key : images.keys()) {
        const QImage image = picture(images.image(key));
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        }
        QVERIFY2(opaque > 20, qPrintable(key));
        QVERIFY2(!drawn.contains(image), qPrintable(key));
        drawn << image;
    }
}

void tst_Commands::commandReachesItsEffect_data()
{
    QTest::addColumn<QString>("how");    // "menu": chosen with the mouse from its menu; "key"; "button"
    QTest::addColumn<QString>("target"); // menu item, key sequence or button key
    QTest::addColumn<QString>("effect");
    const QList<std::pair<const char *, const char *>> items{
        {"mnuDateiNeu", "new"},          {"mnuDateiOpen", "open"},           {"mnuPreviou", "preview"},
        {"mnuDateiPrint", "print"},      {"mnuDateiPrinterSetup", "printer setup"},
        {"mnuDateiBezeichnung", "title"}, {"mnuDateiClose", "close"},        {"mnuEditUpdatePlaetze", "places"},
        {"mnuEditDelSchuetze", "delete one"}, {"mnuEditDeleteAll", "delete all"},
        {"mnuEditGesamtliste", "master list"}, {"mnuAnsSiegerliste", "font winners"},
        {"mnuAnsTitelzeileFont", "font title"}, {"mnuAnsEingabeFont", "font entry"}, {"mnuInfo", "about"}};
    for (const auto &[item, effect] : items)
        QTest::addRow("menu %s", item) << "menu" << item << effect;
    const QList<std::pair<const char *, const char *>> keys{
        {"Ctrl+N", "new"}, {"Ctrl+O", "open"}, {"Ctrl+P", "preview"}, {"F5", "places"}, {"F4", "master list"}};
    for (const auto &[key, effect] : keys)
        QTest::addRow("key %s", key) << "key" << key << effect;
    const QList<std::pair<const char *, const char *>> buttons{
        {"exit", "close"},        {"Öffnen", "open"},   {"Neu", "new"},       {"Löschen", "delete one"},
        {"Gesamtliste", "master list"}, {"Drucken", "print"}, {"vorschau", "preview"},
        {"Aufsteigend sortieren", "places"}};
    for (const auto &[key, effect] : buttons)
        QTest::addRow("button %s", key) << "button" << QString::fromUtf8(key) << effect;
}

void tst_Commands::commandReachesItsEffect()
{
    QFETCH(QString, how);
    QFETCH(QString, target);
    QFETCH(QString, effect);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    probe.prepare(effect);
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
        QAction *action = button(probe.window(), target);
        QVERIFY(action);
        QTest::mouseClick(toolbar(probe.window())->widgetForAction(action), Qt::LeftButton);
    }
    QCOMPARE(probe.check(effect), QString());
}

// Keys that only look like a button's, and a separator's, do nothing.
void tst_Commands::otherKeysDoNothing()
{
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    for (const QString key : {"öffnen", "Open", "Aufsteigend Sortieren", "Löschen ", ""}) {
        QAction foreign;
        foreign.setData(key);
        probe.window().Toolbar1_ButtonClick(&foreign);
    }
    emit toolbar(probe.window())->actionTriggered(toolbar(probe.window())->actions().at(1));
    QCOMPARE(probe.check(QStringLiteral("nothing")), QString());
}

// The menu's command lets the failure go to its caller; the toolbar's click
// drops it, after the command ran up to the failure.
void tst_Commands::buttonFailuresAreDropped()
{
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    {
        FailingQuestion failing;
        QVERIFY_THROWS_EXCEPTION(RingtalError, probe.window().mnuEditDelSchuetze_Click());
    }
    FailingQuestion failing;
    QTest::mouseClick(toolbar(probe.window())->widgetForAction(button(probe.window(), QStringLiteral("Löschen"))),
                      Qt::LeftButton);
    QCOMPARE(failing.shown().size(), size_t(1));
    QCOMPARE(failing.shown().front().kind, QStringLiteral("question"));
    QVERIFY(probe.window().isVisible());
    QCOMPARE(probe.session().entryGrid()->model()->rowCount(), 4); // three shooters and the new-row line
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
