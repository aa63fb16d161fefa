// The printer settings dialog: what it shows from the settings, what OK
// stores, that Abbrechen stores nothing, and its controls.
#include "ScriptedDialogs.h"
#include "TestCompetition.h"
#include "frmMain.h"
#include "frmPrinterSetup.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

class tst_PrinterSetup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensFromTheSettings_data();
    void opensFromTheSettings();
    void okStoresAsTyped_data();
    void okStoresAsTyped();
    void closingWithoutOkStoresNothing_data();
    void closingWithoutOkStoresNothing();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void dialogFrame();
    void menuShowsItModally();

private:
    void store(const Settings &settings);
    QLineEdit *box(frmPrinterSetup &dialog, const QString &name) { return dialog.findChild<QLineEdit *>(name); }

    std::unique_ptr<TempSettings> m_settings;
};

void tst_PrinterSetup::init()
{
    m_settings = std::make_unique<TempSettings>();
}

void tst_PrinterSetup::cleanup()
{
    m_settings.reset();
}

void tst_PrinterSetup::store(const Settings &settings)
{
    for (const auto &[key, value] : settings)
        m_settings->write(Section, key, value);
}

void tst_PrinterSetup::opensFromTheSettings_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QStringList>("margins");
    QTest::newRow("nothing stored") << Settings{} << true << QStringList{"1000", "1000", "1000", "1000"};
    QTest::newRow("2 is landscape") << Settings{{"Format", "2"}} << true << QStringList{"1000", "1000", "1000", "1000"};
    QTest::newRow("1 is portrait") << Settings{{"Format", "1"}} << false << QStringList{"1000", "1000", "1000", "1000"};
    QTest::newRow("any other number is portrait")
            << Settings{{"Format", "3"}} << false << QStringList{"1000", "1000", "1000", "1000"};
    QTest::newRow("no number is portrait")
            << Settings{{"Format", "quer"}} << false << QStringList{"1000", "1000", "1000", "1000"};
    QTest::newRow("margins shown as stored")
            << Settings{{"Links", "12,5"}, {"Rechts", ""}, {"Oben", "1.500"}, {"Unten", "abc"}} << true
            << QStringList{"12,5", "", "1.500", "abc"};
}

void tst_PrinterSetup::opensFromTheSettings()
{
    QFETCH(Settings, settings);
    QFETCH(bool, landscape);
    QFETCH(QStringList, margins);
    store(settings);
    frmPrinterSetup dialog;
    QCOMPARE(dialog.option(0)->isChecked(), landscape);
    QCOMPARE(dialog.option(1)->isChecked(), !landscape);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(box(dialog, MarginBoxes.at(i))->text(), margins.at(i));
}

void tst_PrinterSetup::okStoresAsTyped_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<int>("choose");         // option to click, -1 none
    QTest::addColumn<QStringList>("typed");  // a null entry leaves the box alone
    QTest::addColumn<QStringList>("stored"); // Format, Links, Rechts, Oben, Unten
    QTest::newRow("defaults confirmed") << Settings{} << -1 << QStringList{QString(), QString(), QString(), QString()}
                                        << QStringList{"2", "1000", "1000", "1000", "1000"};
    QTest::newRow("portrait chosen") << Settings{} << 1 << QStringList{QString(), QString(), QString(), QString()}
                                     << QStringList{"1", "1000", "1000", "1000", "1000"};
    QTest::newRow("other number confirmed is portrait")
            << Settings{{"Format", "7"}} << -1 << QStringList{QString(), QString(), QString(), QString()}
            << QStringList{"1", "1000", "1000", "1000", "1000"};
    QTest::newRow("landscape chosen back")
            << Settings{{"Format", "1"}} << 0 << QStringList{QString(), QString(), QString(), QString()}
            << QStringList{"2", "1000", "1000", "1000", "1000"};
    QTest::newRow("comma kept") << Settings{} << -1 << QStringList{"12,5", QString(), QString(), QString()}
                                << QStringList{"2", "12,5", "1000", "1000", "1000"};
    QTest::newRow("emptied box stored empty") << Settings{} << -1 << QStringList{QString(), "", QString(), QString()}
                                              << QStringList{"2", "1000", "", "1000", "1000"};
    QTest::newRow("no check of what is typed") << Settings{} << -1 << QStringList{QString(), QString(), "-5", "viel"}
                                               << QStringList{"2", "1000", "1000", "-5", "viel"};
}

void tst_PrinterSetup::okStoresAsTyped()
{
    QFETCH(Settings, settings);
    QFETCH(int, choose);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    store(settings);
    frmPrinterSetup dialog;
    dialog.show();
    if (choose >= 0)
        QTest::mouseClick(dialog.option(choose), Qt::LeftButton);
    for (int i = 0; i < 4; ++i) {
        if (typed.at(i).isNull())
            continue;
        QLineEdit *edit = box(dialog, MarginBoxes.at(i));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, typed.at(i));
    }
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_settings->read(Section, QStringLiteral("Format")), stored.at(0));
    for (int i = 0; i < 4; ++i) {
        QVERIFY(m_settings->contains(Section, MarginKeys.at(i)));
        QCOMPARE(m_settings->read(Section, MarginKeys.at(i)), stored.at(i + 1));
    }
}

void tst_PrinterSetup::closingWithoutOkStoresNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Abbrechen clicked") << QStringLiteral("cancel");
    QTest::newRow("Escape pressed") << QStringLiteral("escape");
    QTest::newRow("window frame closed") << QStringLiteral("close");
}

void tst_PrinterSetup::closingWithoutOkStoresNothing()
{
    QFETCH(QString, how);
    frmPrinterSetup dialog;
    dialog.show();
    QTest::mouseClick(dialog.option(1), Qt::LeftButton);
    box(dialog, QStringLiteral("txtLinks"))->setText(QStringLiteral("2000"));
    if (how == QLatin1String("cancel"))
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!m_settings->contains(Section, QStringLiteral("Format")));
    for (const QString &key : MarginKeys)
        QVERIFY(!m_settings->contains(Section, key));
}

void tst_PrinterSetup::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Frame1") << "Frame1"
                            << "Ausrichtung" << QRect(135, 135, 3615, 915);
    QTest::newRow("Option1(0)") << "Option1_0"
                                << "Querformat" << QRect(180, 315, 1365, 375);
    QTest::newRow("Option1(1)") << "Option1_1"
                                << "Hochformat" << QRect(1575, 315, 1365, 375);
    QTest::newRow("Frame2") << "Frame2"
                            << "Ränder:" << QRect(135, 1170, 3615, 1275);
    QTest::newRow("Label1(0)") << "Label1_0"
                               << "Links:" << QRect(225, 360, 600, 330);
    QTest::newRow("Label1(1)") << "Label1_1"
                               << "Rechts:" << QRect(225, 765, 600, 330);
    QTest::newRow("Label1(2)") << "Label1_2"
                               << "Oben:" << QRect(1935, 315, 600, 330);
    QTest::newRow("Label1(3)") << "Label1_3"
                               << "Unten:" << QRect(1890, 720, 600, 330);
    QTest::newRow("txtLinks") << "txtLinks"
                              << "1000" << QRect(945, 270, 825, 330);
    QTest::newRow("txtRechts") << "txtRechts"
                               << "1000" << QRect(945, 675, 825, 330);
    QTest::newRow("txtOben") << "txtOben"
                             << "1000" << QRect(2475, 270, 825, 330);
    QTest::newRow("txtUnten") << "txtUnten"
                              << "1000" << QRect(2475, 675, 825, 330);
    QTest::newRow("cmdCancel") << "cmdCancel"
                               << "&Abbrechen" << QRect(2610, 2610, 1140, 330);
    QTest::newRow("cmdOK") << "cmdOK"
                           << "&OK" << QRect(1305, 2610, 1140, 330);
}

void tst_PrinterSetup::controlsAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    frmPrinterSetup dialog;
    QWidget *control = dialog.findChild<QWidget *>(name);
    QVERIFY(control);
    QString text;
    if (auto *frame = qobject_cast<QGroupBox *>(control))
        text = frame->title();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        text = button->text();
    else if (auto *label = qobject_cast<QLabel *>(control))
        text = label->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        text = edit->text();
    QCOMPARE(text, caption);
    // 15 twips are one pixel at 96 dpi; positions are within the frame that holds the control.
    QCOMPARE(dialog.logicalDpiX(), 96);
    const QRect pixels(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                       qRound(twips.height() / 15.0));
    QCOMPARE(control->geometry(), pixels);
}

void tst_PrinterSetup::dialogFrame()
{
    frmPrinterSetup dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Drucker-Einstellungen"));
    // Client area 3930 x 3165 twips, fixed.
    QCOMPARE(dialog.size(), QSize(262, 211));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->isDefault());
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->isDefault());
    // Tab order: the options, the four boxes, Abbrechen, OK.
    QStringList order;
    QWidget *w = dialog.option(0);
    for (int i = 0; i < 8; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus)
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    QCOMPARE(order, QStringList({"Option1_0", "Option1_1", "txtLinks", "txtRechts", "txtOben", "txtUnten", "cmdCancel",
                                 "cmdOK"}));
}

// The menu item shows the dialog modally; what OK stores is read at the next print.
void tst_PrinterSetup::menuShowsItModally()
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

QTEST_MAIN(tst_PrinterSetup)
#include "tst_printersetup.moc"
