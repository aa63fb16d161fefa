// The main window's menus: names, captions, shortcuts, separators and order,
// nothing switched off, and every item and shortcut reaching its command.
#include "CommandProbe.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class tst_Menus : public QObject
{
    Q_OBJECT

private slots:
    void topLevelMenus_data();
    void topLevelMenus();
    void menuItems_data();
    void menuItems();
    void menuLengths_data();
    void menuLengths();
    void nothingDisabledOrHidden_data();
    void nothingDisabledOrHidden();
    void itemReachesItsCommand_data();
    void itemReachesItsCommand();
    void shortcutReachesItsCommand_data();
    void shortcutReachesItsCommand();

private:
    static QList<QMenu *> menus(frmMain &window);
};

QList<QMenu *> tst_Menus::menus(frmMain &window)
{
    QList<QMenu *> result;
    for (QAction *action : window.menuBar()->actions())
        result << action->menu();
    return result;
}

void tst_Menus::topLevelMenus_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Datei, no access letter") << 0 << "mnuDatei"
                                             << "Datei";
    QTest::newRow("Bearbeiten with B") << 1 << "mnuEdit"
                                       << "&Bearbeiten";
    QTest::newRow("Ansicht, no access letter") << 2 << "mnuAnsicht"
                                               << "Ansicht";
    QTest::newRow("question mark last") << 3 << "mnuQuestion"
                                        << "?";
}

void tst_Menus::topLevelMenus()
{
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    MainWindowSession session;
    const QList<QMenu *> all = menus(session.window());
    QCOMPARE(all.size(), 4);
    QVERIFY(all.at(position));
    QCOMPARE(all.at(position)->objectName(), name);
    QCOMPARE(all.at(position)->title(), caption);
}

void tst_Menus::menuItems_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // empty for a separator
    QTest::addColumn<QKeySequence>("shortcut");
    const QKeySequence none;
    QTest::newRow("Datei 1 Neu, Ctrl+N") << "mnuDatei" << 0 << "mnuDateiNeu"
                                         << "&Neu..." << QKeySequence(Qt::CTRL | Qt::Key_N);
    QTest::newRow("Datei 2 Öffnen, Ctrl+O") << "mnuDatei" << 1 << "mnuDateiOpen"
                                            << "&Öffnen..." << QKeySequence(Qt::CTRL | Qt::Key_O);
    QTest::newRow("Datei 3 separator") << "mnuDatei" << 2 << "mnuTemp1"
                                       << "" << none;
    QTest::newRow("Datei 4 Seitenvorschau, Ctrl+P") << "mnuDatei" << 3 << "mnuPreviou"
                                                    << "Seitenvorschau" << QKeySequence(Qt::CTRL | Qt::Key_P);
    QTest::newRow("Datei 5 Drucken") << "mnuDatei" << 4 << "mnuDateiPrint"
                                     << "Drucken" << none;
    QTest::newRow("Datei 6 Drucker-Einstellungen") << "mnuDatei" << 5 << "mnuDateiPrinterSetup"
                                                   << "Drucker-Einstellungen..." << none;
    // Added after the printer settings; every item of the classic menu keeps its order.
    QTest::newRow("Datei 6a Exportieren") << "mnuDatei" << 6 << "mnuDateiExport"
                                          << "Exportieren..." << none;
    QTest::newRow("Datei 7 separator") << "mnuDatei" << 7 << "mnuTemp2"
                                       << "" << none;
    QTest::newRow("Datei 8 Bezeichnung") << "mnuDatei" << 8 << "mnuDateiBezeichnung"
                                         << "Bezeichnung..." << none;
    QTest::newRow("Datei 9 separator") << "mnuDatei" << 9 << "mnuTemp3"
                                       << "" << none;
    QTest::newRow("Datei 10 Schließen") << "mnuDatei" << 10 << "mnuDateiClose"
                                        << "&Schließen" << none;
    QTest::newRow("Bearbeiten 1 Aktualisieren, F5") << "mnuEdit" << 0 << "mnuEditUpdatePlaetze"
                                                    << "&Aktualisieren" << QKeySequence(Qt::Key_F5);
    QTest::newRow("Bearbeiten 2 separator") << "mnuEdit" << 1 << "mnuEditTemp1"
                                            << "" << none;
    QTest::newRow("Bearbeiten 3 Schützen löschen, capital L") << "mnuEdit" << 2 << "mnuEditDelSchuetze"
                                                              << "&Aktuellen Schützen Löschen" << none;
    QTest::newRow("Bearbeiten 4 alle löschen, letter l") << "mnuEdit" << 3 << "mnuEditDeleteAll"
                                                         << "Alle Schützen &löschen" << none;
    QTest::newRow("Bearbeiten 5 separator") << "mnuEdit" << 4 << "mnuEditTemp2"
                                            << "" << none;
    QTest::newRow("Bearbeiten 6 Gesamtliste, F4") << "mnuEdit" << 5 << "mnuEditGesamtliste"
                                                  << "&Gesamtliste" << QKeySequence(Qt::Key_F4);
    QTest::newRow("Ansicht 1 Schrift Siegerliste") << "mnuAnsicht" << 0 << "mnuAnsSiegerliste"
                                                   << "Schrift Siegerliste" << none;
    QTest::newRow("Ansicht 2 Schrift Titelzeile") << "mnuAnsicht" << 1 << "mnuAnsTitelzeileFont"
                                                  << "Schrift Titelzeile" << none;
    QTest::newRow("Ansicht 3 separator") << "mnuAnsicht" << 2 << "mnuAnsTemp1"
                                         << "" << none;
    QTest::newRow("Ansicht 4 Schrift Eingabe") << "mnuAnsicht" << 3 << "mnuAnsEingabeFont"
                                               << "Schrift Eingabe" << none;
    QTest::newRow("? 1 Info") << "mnuQuestion" << 0 << "mnuInfo"
                              << "Info..." << none;
}

void tst_Menus::menuItems()
{
    QFETCH(QString, menu);
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    MainWindowSession session;
    auto *owner = session.window().findChild<QMenu *>(menu);
    QVERIFY(owner);
    const QList<QAction *> items = owner->actions();
    QVERIFY(position < items.size());
    QAction *item = items.at(position);
    QCOMPARE(item->objectName(), name);
    QCOMPARE(item->isSeparator(), caption.isEmpty());
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), shortcut);
}

void tst_Menus::menuLengths_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("items");
    QTest::newRow("Datei: 7 items, 3 separators, and Exportieren") << "mnuDatei" << 11;
    QTest::newRow("Bearbeiten: 4 items, 2 separators") << "mnuEdit" << 6;
    QTest::newRow("Ansicht: 3 items, 1 separator") << "mnuAnsicht" << 4;
    QTest::newRow("?: Info only") << "mnuQuestion" << 1;
}

void tst_Menus::menuLengths()
{
    QFETCH(QString, menu);
    QFETCH(int, items);
    MainWindowSession session;
    auto *owner = session.window().findChild<QMenu *>(menu);
    QVERIFY(owner);
    QCOMPARE(owner->actions().size(), items);
}

void tst_Menus::nothingDisabledOrHidden_data()
{
    QTest::addColumn<bool>("competitionOpen");
    QTest::addColumn<QString>("before"); // a command run first, empty for none
    QTest::newRow("no competition open") << false << "";
    QTest::newRow("competition open") << true << "";
    QTest::newRow("after places were assigned") << true << "mnuEditUpdatePlaetze";
    QTest::newRow("after the master list was opened") << true << "mnuEditGesamtliste";
}

void tst_Menus::nothingDisabledOrHidden()
{
    QFETCH(bool, competitionOpen);
    QFETCH(QString, before);
    CommandProbe probe;
    // The probe's window has a competition open; a second window starts without one.
    std::unique_ptr<MainWindowSession> empty;
    frmMain *window = &probe.window();
    if (!competitionOpen) {
        empty = std::make_unique<MainWindowSession>();
        window = &empty->window();
    }
    window->show();
    if (!before.isEmpty())
        window->findChild<QAction *>(before)->trigger();
    int checked = 0;
    for (QMenu *menu : menus(*window)) {
        QVERIFY(menu->menuAction()->isEnabled() && menu->menuAction()->isVisible());
        for (QAction *item : menu->actions()) {
            QVERIFY2(item->isEnabled(), qPrintable(item->objectName()));
            QVERIFY2(item->isVisible(), qPrintable(item->objectName()));
            ++checked;
        }
    }
    QCOMPARE(checked, 22);
}

void tst_Menus::itemReachesItsCommand_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("effect");
    QTest::newRow("Neu asks for the new file") << "mnuDateiNeu"
                                               << "new";
    QTest::newRow("Öffnen asks for a file") << "mnuDateiOpen"
                                            << "open";
    QTest::newRow("Seitenvorschau previews") << "mnuPreviou"
                                             << "preview";
    QTest::newRow("Drucken asks for the printer") << "mnuDateiPrint"
                                                  << "print";
    QTest::newRow("Drucker-Einstellungen modal") << "mnuDateiPrinterSetup"
                                                 << "printer setup";
    QTest::newRow("Bezeichnung asks for the title") << "mnuDateiBezeichnung"
                                                    << "title";
    QTest::newRow("Schließen closes") << "mnuDateiClose"
                                      << "close";
    QTest::newRow("Aktualisieren assigns places") << "mnuEditUpdatePlaetze"
                                                  << "places";
    QTest::newRow("Aktuellen Schützen Löschen asks") << "mnuEditDelSchuetze"
                                                     << "delete one";
    QTest::newRow("Alle Schützen löschen asks") << "mnuEditDeleteAll"
                                                << "delete all";
    QTest::newRow("Gesamtliste opens the list") << "mnuEditGesamtliste"
                                                << "master list";
    QTest::newRow("Schrift Siegerliste") << "mnuAnsSiegerliste"
                                         << "font winners";
    QTest::newRow("Schrift Titelzeile") << "mnuAnsTitelzeileFont"
                                        << "font title";
    QTest::newRow("Schrift Eingabe") << "mnuAnsEingabeFont"
                                     << "font entry";
    QTest::newRow("Info shows the about dialog modally") << "mnuInfo"
                                                         << "about";
}

// The item is chosen with the mouse from its opened menu, as a user does.
void tst_Menus::itemReachesItsCommand()
{
    QFETCH(QString, item);
    QFETCH(QString, effect);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    auto *action = probe.window().findChild<QAction *>(item);
    QVERIFY(action);
    auto *menu = qobject_cast<QMenu *>(action->parent());
    QVERIFY(menu);
    probe.prepare(effect);
    menu->popup(probe.window().mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
    QCOMPARE(probe.check(effect), QString());
}

void tst_Menus::shortcutReachesItsCommand_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("effect");
    QTest::newRow("Ctrl+N: Neu") << int(Qt::Key_N) << int(Qt::ControlModifier) << "new";
    QTest::newRow("Ctrl+O: Öffnen") << int(Qt::Key_O) << int(Qt::ControlModifier) << "open";
    QTest::newRow("Ctrl+P: Seitenvorschau") << int(Qt::Key_P) << int(Qt::ControlModifier) << "preview";
    QTest::newRow("F5: Aktualisieren") << int(Qt::Key_F5) << 0 << "places";
    QTest::newRow("F4: Gesamtliste") << int(Qt::Key_F4) << 0 << "master list";
}

void tst_Menus::shortcutReachesItsCommand()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, effect);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    probe.prepare(effect);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(probe.check(effect), QString());
}

QTEST_MAIN(tst_Menus)
#include "tst_menus.moc"
