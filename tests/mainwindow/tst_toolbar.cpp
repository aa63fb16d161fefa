// The toolbar: its eleven positions and pictures, every button reaching its
// command, unknown keys and separators doing nothing, failures dropped.
#include "AppIcons.h"
#include "CommandProbe.h"
#include "RingtalError.h"

#include <QAction>
#include <QImage>
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

int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    }
    return count;
}

} // namespace

class tst_Toolbar : public QObject
{
    Q_OBJECT

private slots:
    void positions_data();
    void positions();
    void strip();
    void imageList_data();
    void imageList();
    void buttonReachesItsCommand_data();
    void buttonReachesItsCommand();
    void otherKeysDoNothing_data();
    void otherKeysDoNothing();
    void separatorsDoNothing_data();
    void separatorsDoNothing();
    void failuresAreDropped();
    void gesamtlisteTwiceGivesOneWindow_data();
    void gesamtlisteTwiceGivesOneWindow();

private:
    static QToolBar *toolbar(frmMain &window) { return window.findChild<QToolBar *>(QStringLiteral("Toolbar1")); }
    static QAction *button(frmMain &window, const QString &key);
};

QAction *tst_Toolbar::button(frmMain &window, const QString &key)
{
    for (QAction *action : toolbar(window)->actions()) {
        if (!action->isSeparator() && action->data().toString() == key)
            return action;
    }
    return nullptr;
}

void tst_Toolbar::positions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");      // empty for a separator
    QTest::addColumn<QString>("toolTip");  // empty for none
    QTest::addColumn<QString>("imageKey"); // empty for a separator
    QTest::newRow("1 exit, no tooltip") << 1 << "exit"
                                        << ""
                                        << "exit";
    QTest::newRow("2 separator") << 2 << ""
                                 << ""
                                 << "";
    QTest::newRow("3 Öffnen") << 3 << "Öffnen"
                              << "Öffnen"
                              << "Open";
    QTest::newRow("4 Neu") << 4 << "Neu"
                           << "Neu"
                           << "New";
    QTest::newRow("5 Löschen") << 5 << "Löschen"
                               << "Löschen"
                               << "Delete";
    QTest::newRow("6 separator") << 6 << ""
                                 << ""
                                 << "";
    QTest::newRow("7 Gesamtliste with the Macro picture") << 7 << "Gesamtliste"
                                                          << "Gesamtliste"
                                                          << "Macro";
    QTest::newRow("8 separator") << 8 << ""
                                 << ""
                                 << "";
    QTest::newRow("9 Drucken") << 9 << "Drucken"
                               << "Drucken"
                               << "Print";
    QTest::newRow("10 vorschau, no tooltip") << 10 << "vorschau"
                                             << ""
                                             << "vorschau";
    QTest::newRow("11 Aufsteigend sortieren") << 11 << "Aufsteigend sortieren"
                                              << "Aufsteigend sortieren"
                                              << "Sort Ascending";
}

void tst_Toolbar::positions()
{
    QFETCH(int, position);
    QFETCH(QString, key);
    QFETCH(QString, toolTip);
    QFETCH(QString, imageKey);
    MainWindowSession session;
    const QList<QAction *> actions = toolbar(session.window())->actions();
    QCOMPARE(actions.size(), 11);
    QAction *action = actions.at(position - 1);
    QCOMPARE(action->objectName(), QStringLiteral("Toolbar1_Button%1").arg(position));
    QCOMPARE(action->isSeparator(), imageKey.isEmpty());
    QCOMPARE(action->data().toString(), key);
    // What the button would show on hovering: nothing where there is no tooltip.
    QCOMPARE(action->isSeparator() ? QString() : action->toolTip(), toolTip);
    if (action->isSeparator())
        return;
    QCOMPARE(picture(action->icon()), picture(AppIcons::toolbarImages().image(imageKey)));
    auto *widget = qobject_cast<QToolButton *>(toolbar(session.window())->widgetForAction(action));
    QVERIFY(widget);
    QCOMPARE(widget->size(), QSize(23, 22));
    QCOMPARE(widget->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(action->isEnabled() && action->isVisible());
}

void tst_Toolbar::strip()
{
    MainWindowSession session;
    session.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&session.window()));
    QToolBar *bar = toolbar(session.window());
    QVERIFY(!bar->isMovable());
    QVERIFY(!bar->isFloatable());
    QCOMPARE(session.window().toolBarArea(bar), Qt::TopToolBarArea);
    QCOMPARE(bar->height(), qRound(360 * bar->logicalDpiY() / 1440.0));
    // The strip is the top of the inner area; the central part starts right below it.
    QCOMPARE(bar->geometry().bottom() + 1, session.window().centralWidget()->y());
    for (QAction *action : bar->actions()) {
        if (action->isSeparator())
            continue;
        const QRect button = bar->widgetForAction(action)->geometry();
        QVERIFY2(bar->rect().contains(button), qPrintable(action->objectName()));
    }
}

void tst_Toolbar::imageList_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    const QStringList keys{"exit", "New", "Delete", "Print", "Sort Ascending", "vorschau", "NOTE04", "Macro", "Open"};
    for (int i = 0; i < keys.size(); ++i)
        QTest::addRow("%d %s", i + 1, qPrintable(keys.at(i))) << i << keys.at(i);
}

// Every picture is drawn (the SVG engine is there) and differs from the others.
void tst_Toolbar::imageList()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    const ImageList images = AppIcons::toolbarImages();
    QCOMPARE(images.count(), 9);
    QCOMPARE(images.keys().at(index), key);
    const QImage drawn = picture(images.image(key));
    QVERIFY2(opaquePixels(drawn) > 20, qPrintable(key));
    for (const QString &other : images.keys()) {
        if (other != key)
            QVERIFY2(drawn != picture(images.image(other)), qPrintable(other));
    }
}

void tst_Toolbar::buttonReachesItsCommand_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("effect");
    QTest::newRow("exit closes the window") << "exit"
                                            << "close";
    QTest::newRow("Öffnen asks for a file") << "Öffnen"
                                            << "open";
    QTest::newRow("Neu asks for the new file") << "Neu"
                                               << "new";
    QTest::newRow("Löschen asks about the current shooter") << "Löschen"
                                                            << "delete one";
    QTest::newRow("Gesamtliste opens the list") << "Gesamtliste"
                                                << "master list";
    QTest::newRow("Drucken asks for the printer") << "Drucken"
                                                  << "print";
    QTest::newRow("vorschau previews") << "vorschau"
                                       << "preview";
    QTest::newRow("Aufsteigend sortieren assigns places") << "Aufsteigend sortieren"
                                                          << "places";
}

void tst_Toolbar::buttonReachesItsCommand()
{
    QFETCH(QString, key);
    QFETCH(QString, effect);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    QAction *action = button(probe.window(), key);
    QVERIFY(action);
    probe.prepare(effect);
    QTest::mouseClick(toolbar(probe.window())->widgetForAction(action), Qt::LeftButton);
    QCOMPARE(probe.check(effect), QString());
}

void tst_Toolbar::otherKeysDoNothing_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("lower-case umlaut") << "öffnen";
    QTest::newRow("picture key, not button key") << "Open";
    QTest::newRow("capital Exit") << "Exit";
    QTest::newRow("capital Vorschau") << "Vorschau";
    QTest::newRow("capital Sortieren") << "Aufsteigend Sortieren";
    QTest::newRow("trailing blank") << "Löschen ";
    QTest::newRow("unused picture key") << "NOTE04";
    QTest::newRow("menu item name") << "mnuDateiClose";
    QTest::newRow("empty key") << "";
}

void tst_Toolbar::otherKeysDoNothing()
{
    QFETCH(QString, key);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    QAction foreign;
    foreign.setData(key);
    probe.window().Toolbar1_ButtonClick(&foreign);
    QCOMPARE(probe.check(QStringLiteral("nothing")), QString());
}

void tst_Toolbar::separatorsDoNothing_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("after exit") << 2;
    QTest::newRow("before Gesamtliste") << 6;
    QTest::newRow("before Drucken") << 8;
}

void tst_Toolbar::separatorsDoNothing()
{
    QFETCH(int, position);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    QAction *separator = toolbar(probe.window())->actions().at(position - 1);
    QVERIFY(separator->isSeparator());
    probe.window().Toolbar1_ButtonClick(separator);
    emit toolbar(probe.window())->actionTriggered(separator);
    QCOMPARE(probe.check(QStringLiteral("nothing")), QString());
}

// The menu's command lets the failure go to its caller; the toolbar's click
// drops it, after the command ran up to the failure.
void tst_Toolbar::failuresAreDropped()
{
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    {
        FailingQuestion failing;
        QVERIFY_THROWS_EXCEPTION(RingtalError, probe.window().mnuEditDelSchuetze_Click());
        QCOMPARE(failing.shown().size(), size_t(1));
    }
    FailingQuestion failing;
    QTest::mouseClick(toolbar(probe.window())->widgetForAction(button(probe.window(), QStringLiteral("Löschen"))),
                      Qt::LeftButton);
    QCOMPARE(failing.shown().size(), size_t(1));
    QCOMPARE(failing.shown().front().kind, QStringLiteral("question"));
    QVERIFY(probe.window().isVisible());
    QCOMPARE(probe.session().entryGrid()->model()->rowCount(), 4); // three shooters and the new-row line
}

void tst_Toolbar::gesamtlisteTwiceGivesOneWindow_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::newRow("button twice") << QStringList{"button", "button"};
    QTest::newRow("menu, then button") << QStringList{"menu", "button"};
    QTest::newRow("button, then F4") << QStringList{"button", "F4"};
}

// Between the clicks the main window is active again; each click brings the
// one list to the front.
void tst_Toolbar::gesamtlisteTwiceGivesOneWindow()
{
    QFETCH(QStringList, clicks);
    CommandProbe probe;
    QVERIFY(probe.session().showForTyping());
    QAction *listButton = button(probe.window(), QStringLiteral("Gesamtliste"));
    for (const QString &click : clicks) {
        probe.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&probe.window()));
        if (click == QLatin1String("button"))
            QTest::mouseClick(toolbar(probe.window())->widgetForAction(listButton), Qt::LeftButton);
        else if (click == QLatin1String("menu"))
            probe.window().findChild<QAction *>(QStringLiteral("mnuEditGesamtliste"))->trigger();
        else
            QTest::keyClick(&probe.window(), Qt::Key_F4);
        QCoreApplication::processEvents();
        QCOMPARE(CommandProbe::open(QStringLiteral("frmGesamt")), 1);
        QVERIFY(QTest::qWaitForWindowActive(QApplication::activeWindow()));
        QCOMPARE(QApplication::activeWindow()->objectName(), QStringLiteral("frmGesamt"));
    }
    int lists = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        lists += window->objectName() == QLatin1String("frmGesamt") ? 1 : 0;
    QCOMPARE(lists, 1);
}

QTEST_MAIN(tst_Toolbar)
#include "tst_toolbar.moc"
