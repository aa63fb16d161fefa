// Where the master list is kept: in the program's folder while the program may write there, else
// in a copy per user; without a usable file the window says so and opens empty. Both files are
// checked through connections of their own, the program run as an ordinary user.
#include "mainwindow/MainWindowSession.h"
#include "masterlist/frmGesamt.h"
#include "store/DataSource.h"
#include "support/AccessFixtures.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/TestMasterList.h"

#include <QDir>

class tst_MasterFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { frmGesamt::setMasterFolders(QString(), QString()); }

    // The shipped file holds "Vorgabe, Vera"; a copy the user has already holds "Kopie, Karl".
    void location_data()
    {
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<QString>("shipped");   // "database", "readonly", "missing", "garbage", "unreadable"
        QTest::addColumn<bool>("existingCopy"); // the user's copy is there already
        QTest::addColumn<QString>("shown");     // at opening
        QTest::addColumn<int>("error");         // number in the message, 0 for none
        QTest::addColumn<QString>("shippedAfter");
        QTest::addColumn<QString>("copyAfter"); // empty: no copy may exist
        const QString vera = QStringLiteral("Vorgabe, Vera|SV"), nina = QStringLiteral(";Neu, Nina|(null)");
        QTest::newRow("writable folder: the shipped file in place") << true << "database" << false << "Vorgabe, Vera" << 0
                                                                    << vera + nina << "";
        QTest::newRow("read-only folder: a copy for the user") << false << "database" << false << "Vorgabe, Vera" << 0
                                                                          << vera << vera + nina;
        QTest::newRow("read-only file in a writable folder: a copy") << true << "readonly" << false << "Vorgabe, Vera" << 0 << vera
                                                                     << vera + nina;
        QTest::newRow("read-only folder with the user's copy: the copy as it is")
            << false << "database" << true << "Kopie, Karl" << 0 << vera << "Kopie, Karl|SV Kopie" + nina;
        QTest::newRow("shipped file gone, the user's copy still serves") << false << "missing" << true << "Kopie, Karl" << 0 << ""
                                                                         << "Kopie, Karl|SV Kopie" + nina;
        QTest::newRow("shipped file missing: message, empty window") << true << "missing" << false << "" << 53 << "" << "";
        QTest::newRow("not a database: message, empty window") << true << "garbage" << false << "" << 3343 << "" << "";
        QTest::newRow("unreadable file in a read-only folder: message, empty window") << false << "unreadable" << false << ""
                                                                                      << 75 << "" << "";
    }

    // As a user: opens the window and types a shooter into the new-row line, stored by closing;
    // when the list could not be opened, searches and sorts (which tries the file again) in the
    // empty window. A copy found at the next opening is the row of a copy already there.
    void location()
    {
        QFETCH(bool, folderWritable);
        QFETCH(QString, shipped);
        QFETCH(bool, existingCopy);
        QFETCH(QString, shown);
        QFETCH(int, error);
        QFETCH(QString, shippedAfter);
        QFETCH(QString, copyAfter);
        const auto everyone = QFile::Permissions(0x7777), readOnlyFolder = QFile::Permissions(0x5555);
        const auto readWrite = QFile::Permissions(0x6666), readOnly = QFile::Permissions(0x4444);
        TestMasterList list;
        ScriptedDialogs dialogs;
        list.addShooter(QStringLiteral("Vorgabe, Vera"), QStringLiteral("SV"));
        // The temporary folder is root's; "nobody" must reach it and make the user's folder in it.
        QVERIFY(QFile::setPermissions(list.root(), everyone));
        if (existingCopy) {
            QVERIFY(QDir().mkpath(list.userFolder()) && QFile::copy(TestCompetition::masterPath(), list.userCopyPath()));
            TestMasterList::addShooter(list.userCopyPath(), QStringLiteral("Kopie, Karl"), QStringLiteral("SV Kopie"));
            for (const QString &folder : {QFileInfo(list.userFolder()).path(), list.userFolder()})
                QVERIFY(QFile::setPermissions(folder, everyone));
            QVERIFY(QFile::setPermissions(list.userCopyPath(), readWrite));
        }
        if (shipped == QLatin1String("missing"))
            QVERIFY(QFile::remove(list.path()));
        else if (shipped == QLatin1String("garbage"))
            AccessFixtures::write(list.path(), QByteArray("Das ist keine Datenbank.\n").repeated(200));
        if (shipped != QLatin1String("missing"))
            QVERIFY(QFile::setPermissions(list.path(), shipped == "readonly" ? readOnly : shipped == "unreadable" ? QFile::Permissions() : readWrite));
        QVERIFY(QFile::setPermissions(list.programFolder(), folderWritable ? everyone : readOnlyFolder));
        frmGesamt::setMasterFolders(list.programFolder(), list.userFolder());
        {
            OrdinaryUserFileAccess access;
            if (access.rootNotDropped())
                QSKIP("running as root without the right to use files as another user");
            auto *window = new frmGesamt();
            QPointer<frmGesamt> guard(window);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            auto *grid = window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
            QCOMPARE(GridInput::columnTexts(grid, QStringLiteral("Schuetze")).join('|'), shown);
            if (error == 0) {
                grid->setFocus();
                grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, grid->columnIndex(QStringLiteral("Schuetze"))));
                GuiTyping::typeText(QStringLiteral("Neu, Nina"));
            } else {
                QVERIFY(!window->findChild<DataSource *>(QStringLiteral("Data1"))->isOpen() && grid->model()->rowCount() == 0);
                window->findChild<QLineEdit *>(QStringLiteral("txtSuche"))->setText(QStringLiteral("Ve"));
                window->findChild<QAction *>(QStringLiteral("mnuAnsichtSort"))->trigger();
            }
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(guard.isNull());
        }
        QFile::setPermissions(list.programFolder(), everyone);
        QFile::setPermissions(list.path(), readWrite);
        QCOMPARE(dialogs.shown().size(), size_t(error == 0 ? 0 : 2)); // opening, sorting
        for (const ScriptedDialogs::Shown &message : dialogs.shown())
            QVERIFY2(message.text.startsWith(QStringLiteral("Fehler: %1 - ").arg(error)), qPrintable(message.text));
        if (shipped == QLatin1String("database") || shipped == QLatin1String("readonly"))
            QCOMPARE(TestMasterList::shooters(list.path()).join(';'), shippedAfter);
        QCOMPARE(QFileInfo::exists(list.userCopyPath()), !copyAfter.isEmpty());
        if (!copyAfter.isEmpty())
            QCOMPARE(TestMasterList::shooters(list.userCopyPath()).join(';'), copyAfter);
    }
};

QTEST_MAIN(tst_MasterFile)
#include "tst_masterfile.moc"
