// The printer settings dialog: shown from the settings, stored by OK alone, its layout and keys. The
// program's real print dialog and progress: without a printer the user is told so before the dialog.
#include "printing/frmPrinterSetup.h"
#include "support/TestCompetition.h"
#include "widgets/QtDialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using Settings = QList<QPair<QString, QString>>;

namespace {
const QString Section = QStringLiteral("Printer");
const QStringList Keys{"Format", "Links", "Rechts", "Oben", "Unten", "Spaltenanpassung", "Klassenumbruch"};
} // namespace

class tst_PrintDialogs : public QObject
{
    Q_OBJECT

private slots:
    // Nothing typed is checked: a comma, an emptied box and words are stored as they stand. "Format"
    // other than 2 is portrait; the check box is on for any number but 0 (a word reads as 0, the
    // number reading's test).
    void shownAndStored_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QString>("shown");      // option (L/P), the margins, the check boxes (+/-)
        QTest::addColumn<QStringList>("clicks"); // "L", "P", "fit", "page", or "box=text" typed into a margin box
        QTest::addColumn<QString>("close");      // "cmdOK", "cmdCancel", "frame" (Escape rejects as the frame does)
        QTest::addColumn<QString>("stored");     // Format, the margins, the two check boxes; empty: nothing
        const QString defaults = QStringLiteral("L|1000|1000|1000|1000|-|-");
        QTest::newRow("nothing stored: defaults confirmed") << Settings{} << defaults << QStringList{} << "cmdOK"
                                                            << "2|1000|1000|1000|1000|0|0";
        QTest::newRow("1 and 0: landscape chosen, boxes typed, fitting and a page per class on")
            << Settings{{"Format", "1"}, {"Spaltenanpassung", "0"}} << "P|1000|1000|1000|1000|-|-"
            << QStringList{"L", "txtLinks=12,5", "txtRechts=", "txtOben=-5", "txtUnten=viel", "fit", "page"} << "cmdOK"
            << "2|12,5||-5|viel|-1|-1";
        QTest::newRow("margins as stored, -1 shown on, portrait chosen, fitting off")
            << Settings{{"Links", "12,5"}, {"Rechts", ""}, {"Oben", "1.500"}, {"Unten", "abc"}, {"Spaltenanpassung", "-1"},
                        {"Klassenumbruch", "-1"}}
            << "L|12,5||1.500|abc|+|+" << QStringList{"P", "fit"} << "cmdOK" << "1|12,5||1.500|abc|0|-1";
        const QStringList changes{"P", "txtLinks=2000", "fit"};
        QTest::newRow("Abbrechen") << Settings{} << defaults << changes << "cmdCancel" << "";
        QTest::newRow("window frame") << Settings{} << defaults << changes << "frame" << "";
    }

    void shownAndStored()
    {
        QFETCH(Settings, settings);
        QFETCH(QString, shown);
        QFETCH(QStringList, clicks);
        QFETCH(QString, close);
        QFETCH(QString, stored);
        TempSettings store;
        for (const auto &[key, value] : settings)
            store.write(Section, key, value);
        frmPrinterSetup dialog;
        dialog.show();
        auto *fit = dialog.findChild<QCheckBox *>(QStringLiteral("chkSpaltenbreiten"));
        auto *page = dialog.findChild<QCheckBox *>(QStringLiteral("chkKlassenumbruch"));
        QStringList seen{QString(dialog.option(0)->isChecked() ? "L" : "") + (dialog.option(1)->isChecked() ? "P" : "")};
        for (int i = 1; i <= 4; ++i)
            seen << dialog.findChild<QLineEdit *>("txt" + Keys.at(i))->text();
        QCOMPARE((seen << (fit->isChecked() ? "+" : "-") << (page->isChecked() ? "+" : "-")).join('|'), shown);
        for (const QString &click : clicks) {
            if (auto *box = dialog.findChild<QLineEdit *>(click.section('=', 0, 0)); box && click.contains('=')) {
                box->selectAll();
                QTest::keyClick(box, Qt::Key_Delete);
                QTest::keyClicks(box, click.section('=', 1));
            } else {
                QAbstractButton *button = click == "fit"    ? fit
                                          : click == "page" ? page
                                                            : static_cast<QAbstractButton *>(dialog.option(click == "P"));
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, 8));
            }
        }
        if (close == QLatin1String("frame"))
            dialog.close();
        else
            QTest::mouseClick(dialog.findChild<QPushButton *>(close), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(stored.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QStringList after;
        for (const QString &key : Keys)
            after << (store.contains(Section, key) ? store.read(Section, key) : QStringLiteral("(none)"));
        QCOMPARE(after.join('|'), stored.isEmpty() ? QStringList(7, "(none)").join('|') : stored);
    }

    // "Twips" stands right beside each margin box, on its line, whole and clear of the others; the
    // check box's text is whole. Enter confirms; Tab walks options, boxes, check box, Abbrechen, OK.
    void layoutAndKeyboard()
    {
        frmPrinterSetup dialog;
        dialog.show();
        auto *fit = dialog.findChild<QCheckBox *>(QStringLiteral("chkSpaltenbreiten"));
        QCOMPARE(fit->text(), QStringLiteral("Spaltenbreiten an den Inhalt anpassen"));
        QVERIFY(fit->width() >= fit->sizeHint().width() && dialog.rect().contains(fit->geometry()));
        for (int i = 0; i < 4; ++i) {
            const QLineEdit *edit = dialog.findChild<QLineEdit *>("txt" + Keys.at(i + 1));
            const QLabel *unit = dialog.unitLabel(i);
            const QRect box = edit->geometry(), at = unit->geometry();
            QVERIFY(unit->isVisible() && unit->text() == QStringLiteral("Twips") && unit->width() >= unit->sizeHint().width());
            QVERIFY(unit->parentWidget() == edit->parentWidget() && edit->parentWidget()->rect().contains(at));
            QVERIFY(at.x() > box.right() && at.x() - box.right() < 10 && qAbs(at.center().y() - box.center().y()) <= 1);
            for (const QWidget *other : edit->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                QVERIFY2(other == unit || !other->geometry().intersects(at), qPrintable(other->objectName()));
        }
        QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->isDefault());
        QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->isDefault());
        QStringList order;
        for (QWidget *w = dialog.option(0); order.size() < 10; w = w->nextInFocusChain()) {
            if (w->focusPolicy() != Qt::NoFocus)
                order << w->objectName();
        }
        QCOMPARE(order, QStringList({"Option1_0", "Option1_1", "txtLinks", "txtRechts", "txtOben", "txtUnten",
                                     "chkSpaltenbreiten", "chkKlassenumbruch", "cmdCancel", "cmdOK"}));
    }

    void withoutPrinterTheUserIsTold()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has a printer installed");
        QStringList seen;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                seen << box->text(), box->accept();
            else if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()))
                seen << QStringLiteral("print dialog"), dialog->reject();
        });
        answer.start(20);
        QtDialogs dialogs;
        QPrinter printer;
        QVERIFY(!dialogs.printDialog(printer));
        QCOMPARE(seen, QStringList({"Auf diesem Rechner ist kein Drucker eingerichtet.\nDer Ausdruck kann im folgenden "
                                    "Dialog als PDF-Datei gespeichert werden.",
                                    "print dialog"}));
    }

    // Steps done at once show no window; once the task has run for a second it comes up, and its
    // cancel button ends the task.
    void progressOnlyForLongTasks()
    {
        QtDialogs dialogs;
        const std::unique_ptr<UiDialogs::Progress> progress = dialogs.progress(QStringLiteral("Drucken"), 1000);
        auto shownWindow = []() -> QProgressDialog * {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (auto *found = qobject_cast<QProgressDialog *>(widget); found && found->isVisible())
                    return found;
            return nullptr;
        };
        for (int step = 0; step <= 100; ++step)
            QVERIFY(progress->advance(step) && !shownWindow());
        QElapsedTimer clock;
        clock.start();
        bool going = true;
        for (int step = 101; step < 1000 && going && clock.elapsed() < 20000; ++step) {
            QTest::qWait(5);
            going = progress->advance(step);
            if (QProgressDialog *window = shownWindow(); window && going) {
                QCOMPARE(window->findChild<QPushButton *>()->text(), QStringLiteral("Abbrechen"));
                QTest::mouseClick(window->findChild<QPushButton *>(), Qt::LeftButton);
            }
        }
        QVERIFY(!going);
    }
};

QTEST_MAIN(tst_PrintDialogs)
#include "tst_printdialogs.moc"
