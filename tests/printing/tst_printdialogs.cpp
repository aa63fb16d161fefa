// The printer settings dialog: what it shows from the settings, what OK
// stores, that Abbrechen stores nothing, and its keyboard order. The real print
// dialog and progress of the program, driven offscreen: on a machine without
// a printer the user is told so before the dialog.
#include "mainwindow/frmMain.h"
#include "printing/frmPrinterSetup.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"
#include "widgets/QtDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <memory>

using Settings = QList<QPair<QString, QString>>;

namespace {
const QString Section = QStringLiteral("Printer");
const QStringList MarginBoxes{"txtLinks", "txtRechts", "txtOben", "txtUnten"};
const QStringList MarginKeys{"Links", "Rechts", "Oben", "Unten"};
} // namespace

class tst_PrintDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void okStoresAsTyped_data();
    void okStoresAsTyped();
    void fitColumnsChoice_data();
    void fitColumnsChoice();
    void marginUnits_data();
    void marginUnits();
    void dialogFrame();
    void menuShowsItModally();
    void withoutPrinterTheUserIsTold();
    void progressStaysHiddenForShortTasks();
    void progressCancelButtonEndsTheTask();

private:
    void store(const Settings &settings);
    QLineEdit *box(frmPrinterSetup &dialog, const QString &name) { return dialog.findChild<QLineEdit *>(name); }

    std::unique_ptr<TempSettings> m_settings;
};

void tst_PrintDialogs::init()
{
    m_settings = std::make_unique<TempSettings>();
}

void tst_PrintDialogs::cleanup()
{
    m_settings.reset();
}

void tst_PrintDialogs::store(const Settings &settings)
{
    for (const auto &[key, value] : settings)
        m_settings->write(Section, key, value);
}

// What the dialog shows from the settings, and what OK stores after the
// user's clicks and typing. Nothing typed is checked: a comma, an emptied box
// and words are stored as they stand. Closing it any other way stores nothing.
void tst_PrintDialogs::okStoresAsTyped_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<bool>("landscape");     // shown
    QTest::addColumn<QStringList>("margins"); // shown
    QTest::addColumn<int>("choose");         // option to click, -1 none
    QTest::addColumn<QStringList>("typed");  // a null entry leaves the box alone
    QTest::addColumn<QString>("close");
    QTest::addColumn<QStringList>("stored"); // Format, Links, Rechts, Oben, Unten; empty: nothing
    const QStringList defaults{"1000", "1000", "1000", "1000"};
    const QStringList untouched{QString(), QString(), QString(), QString()};
    QTest::newRow("nothing stored: landscape, defaults confirmed")
            << Settings{} << true << defaults << -1 << untouched << "ok" << QStringList{"2", "1000", "1000", "1000", "1000"};
    QTest::newRow("no number is portrait") << Settings{{"Format", "quer"}} << false << defaults << -1 << untouched
                                           << "ok" << QStringList{"1", "1000", "1000", "1000", "1000"};
    QTest::newRow("1 is portrait; landscape chosen back, boxes as typed")
            << Settings{{"Format", "1"}} << false << defaults << 0 << QStringList{"12,5", "", "-5", "viel"}
            << "ok" << QStringList{"2", "12,5", "", "-5", "viel"};
    QTest::newRow("margins shown as stored, portrait chosen")
            << Settings{{"Links", "12,5"}, {"Rechts", ""}, {"Oben", "1.500"}, {"Unten", "abc"}} << true
            << QStringList{"12,5", "", "1.500", "abc"} << 1 << untouched << "ok" << QStringList{"1", "12,5", "", "1.500", "abc"};
    const QStringList typed{"2000", QString(), QString(), QString()};
    QTest::newRow("Abbrechen clicked") << Settings{} << true << defaults << 1 << typed << "cmdCancel" << QStringList{};
    QTest::newRow("Escape pressed") << Settings{} << true << defaults << 1 << typed << "escape" << QStringList{};
    QTest::newRow("window frame closed") << Settings{} << true << defaults << 1 << typed << "close" << QStringList{};
}

void tst_PrintDialogs::okStoresAsTyped()
{
    QFETCH(Settings, settings);
    QFETCH(bool, landscape);
    QFETCH(QStringList, margins);
    QFETCH(int, choose);
    QFETCH(QStringList, typed);
    QFETCH(QString, close);
    QFETCH(QStringList, stored);
    store(settings);
    frmPrinterSetup dialog;
    dialog.show();
    QCOMPARE(dialog.option(0)->isChecked(), landscape);
    QCOMPARE(dialog.option(1)->isChecked(), !landscape);
    if (choose >= 0)
        QTest::mouseClick(dialog.option(choose), Qt::LeftButton);
    for (int i = 0; i < 4; ++i) {
        QLineEdit *edit = box(dialog, MarginBoxes.at(i));
        QCOMPARE(edit->text(), margins.at(i));
        if (typed.at(i).isNull())
            continue;
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, typed.at(i));
    }
    if (close == QLatin1String("escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else if (close == QLatin1String("close"))
        dialog.close();
    else
        QTest::mouseClick(dialog.findChild<QPushButton *>(close == QLatin1String("ok") ? QStringLiteral("cmdOK") : close),
                          Qt::LeftButton);
    QCOMPARE(dialog.result(), int(stored.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_settings->contains(Section, QStringLiteral("Format")), !stored.isEmpty());
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(m_settings->contains(Section, MarginKeys.at(i)), !stored.isEmpty());
        if (!stored.isEmpty())
            QCOMPARE(m_settings->read(Section, MarginKeys.at(i)), stored.at(i + 1));
    }
    if (!stored.isEmpty())
        QCOMPARE(m_settings->read(Section, QStringLiteral("Format")), stored.at(0));
}

// "Spaltenbreiten an den Inhalt anpassen" is off unless "-1" (or another
// number but 0) is stored; OK stores "-1" or "0", Abbrechen nothing.
void tst_PrintDialogs::fitColumnsChoice_data()
{
    QTest::addColumn<QString>("stored"); // null: nothing
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("click");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("storedAfter"); // null: nothing
    QTest::newRow("nothing stored: off, confirmed") << QString() << false << false << "cmdOK" << "0";
    QTest::newRow("-1 stored: on, clicked off") << "-1" << true << true << "cmdOK" << "0";
    QTest::newRow("0 stored: clicked on") << "0" << false << true << "cmdOK" << "-1";
    QTest::newRow("no number is off") << "ja" << false << false << "cmdOK" << "0";
    QTest::newRow("clicked on, Abbrechen stores nothing") << QString() << false << true << "cmdCancel" << QString();
}

void tst_PrintDialogs::fitColumnsChoice()
{
    QFETCH(QString, stored);
    QFETCH(bool, shown);
    QFETCH(bool, click);
    QFETCH(QString, close);
    QFETCH(QString, storedAfter);
    const QString key = QStringLiteral("Spaltenanpassung");
    if (!stored.isNull())
        m_settings->write(Section, key, stored);
    frmPrinterSetup dialog;
    dialog.show();
    auto *box = dialog.findChild<QCheckBox *>(QStringLiteral("chkSpaltenbreiten"));
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Spaltenbreiten an den Inhalt anpassen"));
    QVERIFY(box->width() >= box->sizeHint().width() && dialog.rect().contains(box->geometry()));
    QCOMPARE(box->isChecked(), shown);
    if (click)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QTest::mouseClick(dialog.findChild<QPushButton *>(close), Qt::LeftButton);
    QCOMPARE(m_settings->contains(Section, key), !storedAfter.isNull());
    if (!storedAfter.isNull())
        QCOMPARE(m_settings->read(Section, key), storedAfter);
}

// The margins are twips (1000 stand for 50 points on paper): the unit stands
// right beside each box, on its line, whole and clear of the other controls.
void tst_PrintDialogs::marginUnits_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < 4; ++i)
        QTest::newRow(qPrintable(MarginKeys.at(i))) << i;
}

void tst_PrintDialogs::marginUnits()
{
    QFETCH(int, index);
    frmPrinterSetup dialog;
    dialog.show();
    const QLineEdit *edit = box(dialog, MarginBoxes.at(index));
    const QLabel *unit = dialog.unitLabel(index);
    QVERIFY(unit && unit->isVisible());
    QCOMPARE(unit->text(), QStringLiteral("Twips"));
    QCOMPARE(unit->parentWidget(), edit->parentWidget());
    QVERIFY(unit->x() > edit->geometry().right() && unit->x() - edit->geometry().right() < 10);
    QVERIFY(qAbs(unit->geometry().center().y() - edit->geometry().center().y()) <= 1);
    QVERIFY(unit->width() >= unit->sizeHint().width());
    QVERIFY(edit->parentWidget()->rect().contains(unit->geometry()));
    for (const QWidget *other : edit->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(other == unit || !other->geometry().intersects(unit->geometry()), qPrintable(other->objectName()));
}

// Enter confirms, and Tab walks the options, the four boxes, the check box, Abbrechen, OK.
void tst_PrintDialogs::dialogFrame()
{
    frmPrinterSetup dialog;
    QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->isDefault());
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->isDefault());
    QStringList order;
    QWidget *w = dialog.option(0);
    for (int i = 0; i < 9; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    QCOMPARE(order, QStringList({"Option1_0", "Option1_1", "txtLinks", "txtRechts", "txtOben", "txtUnten",
                                 "chkSpaltenbreiten", "cmdCancel", "cmdOK"}));
}

// The menu item shows the dialog modally; what OK stores is read at the next print.
void tst_PrintDialogs::menuShowsItModally()
{
    ScriptedDialogs dialogs;
    frmMain window;
    window.show();
    bool wasModal = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmPrinterSetup *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        wasModal = dialog->isModal();
        QTest::mouseClick(dialog->option(1), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    window.findChild<QAction *>(QStringLiteral("mnuDateiPrinterSetup"))->trigger();
    QVERIFY(wasModal);
    QCOMPARE(m_settings->read(Section, QStringLiteral("Format")), QStringLiteral("1"));
    QVERIFY(!window.findChild<frmPrinterSetup *>());
}

void tst_PrintDialogs::withoutPrinterTheUserIsTold()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer installed");
    QStringList seen;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen << QStringLiteral("message: ") + box->text();
            box->accept();
        } else if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            seen << QStringLiteral("print dialog");
            dialog->reject();
        }
    });
    answer.start(20);
    QtDialogs dialogs;
    QPrinter printer;
    QVERIFY(!dialogs.printDialog(printer));
    QCOMPARE(seen, QStringList({QStringLiteral("message: Auf diesem Rechner ist kein Drucker eingerichtet.\n"
                                               "Die Liste kann im folgenden Dialog als PDF-Datei gespeichert werden."),
                                QStringLiteral("print dialog")}));
}

// Steps done at once take no second, so no progress window comes up.
void tst_PrintDialogs::progressStaysHiddenForShortTasks()
{
    const int steps = 100;
    QtDialogs dialogs;
    const std::unique_ptr<UiDialogs::Progress> progress = dialogs.progress(QStringLiteral("Drucken"), steps);
    for (int i = 1; i <= steps; ++i)
        QVERIFY(progress->advance(i));
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!(qobject_cast<QProgressDialog *>(widget) && widget->isVisible()));
}

// A task that runs on after a second shows the progress; its cancel button ends the task.
void tst_PrintDialogs::progressCancelButtonEndsTheTask()
{
    QtDialogs dialogs;
    const std::unique_ptr<UiDialogs::Progress> progress = dialogs.progress(QStringLiteral("Drucken"), 1000);
    QVERIFY(progress->advance(0));
    QProgressDialog *window = nullptr;
    bool going = true;
    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step < 1000 && going && clock.elapsed() < 20000; ++step) {
        QTest::qWait(5);
        going = progress->advance(step);
        if (!window) {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (auto *found = qobject_cast<QProgressDialog *>(widget); found && found->isVisible())
                    window = found;
            if (window) {
                QCOMPARE(window->findChild<QPushButton *>()->text(), QStringLiteral("Abbrechen"));
                QTest::mouseClick(window->findChild<QPushButton *>(), Qt::LeftButton);
            }
        }
    }
    QVERIFY(window);
    QVERIFY(!going);
}

QTEST_MAIN(tst_PrintDialogs)
#include "tst_printdialogs.moc"
