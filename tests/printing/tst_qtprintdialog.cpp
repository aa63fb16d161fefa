// The real print dialog and progress of the program, driven offscreen: on a
// machine without a printer the user is told so before the dialog, and
// nothing fails; cancelling the dialog prints nothing.
#include "QtDialogs.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class tst_QtPrintDialog : public QObject
{
    Q_OBJECT

private slots:
    void withoutPrinterTheUserIsTold();
    void progressStaysHiddenForShortTasks_data();
    void progressStaysHiddenForShortTasks();
    void progressCancelButtonEndsTheTask();
};

void tst_QtPrintDialog::withoutPrinterTheUserIsTold()
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

void tst_QtPrintDialog::progressStaysHiddenForShortTasks_data()
{
    QTest::addColumn<int>("steps");
    QTest::newRow("one step") << 1;
    QTest::newRow("a hundred steps") << 100;
}

// Steps done at once take no second, so no progress window comes up.
void tst_QtPrintDialog::progressStaysHiddenForShortTasks()
{
    QFETCH(int, steps);
    QtDialogs dialogs;
    const std::unique_ptr<Dialogs::Progress> progress = dialogs.progress(QStringLiteral("Drucken"), steps);
    for (int i = 1; i <= steps; ++i)
        QVERIFY(progress->advance(i));
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!(qobject_cast<QProgressDialog *>(widget) && widget->isVisible()));
}

// A task that runs on after a second shows the progress; its cancel button ends the task.
void tst_QtPrintDialog::progressCancelButtonEndsTheTask()
{
    QtDialogs dialogs;
    const std::unique_ptr<Dialogs::Progress> progress = dialogs.progress(QStringLiteral("Drucken"), 1000);
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

QTEST_MAIN(tst_QtPrintDialog)
#include "tst_qtprintdialog.moc"
