// Where the master list is kept: in the program's folder while the program
// may write there, else in a copy per user; without a usable file the window
// says so and opens empty. Both files are checked through connections of
// their own.
#include "grid/DataGrid.h"
#include "masterlist/frmGesamt.h"
#include "store/DataSource.h"
#include "support/AccessFixtures.h"
#include "support/GuiTyping.h"
#include "support/OrdinaryUserFileAccess.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"
#include "support/TestMasterList.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QtTest>

namespace {

constexpr QFile::Permissions Everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                      | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
                                      | QFile::ExeOther;
constexpr QFile::Permissions ReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                            | QFile::ReadOther | QFile::ExeOther;
constexpr QFile::Permissions ReadWriteFile = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                           | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
constexpr QFile::Permissions ReadOnlyFile = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;

bool prepareUserCopy(const TestMasterList &list)
{
    const QString parent = QFileInfo(list.userFolder()).path();
    if (!QDir().mkpath(list.userFolder()) || !QFile::copy(TestCompetition::masterPath(), list.userCopyPath()))
        return false;
    TestMasterList::addShooter(list.userCopyPath(), QStringLiteral("Kopie, Karl"), QStringLiteral("SV Kopie"));
    return QFile::setPermissions(parent, Everyone) && QFile::setPermissions(list.userFolder(), Everyone)
        && QFile::setPermissions(list.userCopyPath(), ReadWriteFile);
}

bool prepareShippedFile(const TestMasterList &list, const QString &state)
{
    if (state == QLatin1String("missing"))
        return QFile::remove(list.path());
    if (state == QLatin1String("garbage"))
        return !AccessFixtures::write(list.path(), QByteArray("Das ist keine Datenbank.\n").repeated(200)).isEmpty()
            && QFile::setPermissions(list.path(), ReadWriteFile);
    const QFile::Permissions mode = state == QLatin1String("readonly")     ? ReadOnlyFile
                                  : state == QLatin1String("unreadable") ? QFile::Permissions()
                                                                          : ReadWriteFile;
    return QFile::setPermissions(list.path(), mode);
}

// The temporary folder is root's; "nobody" must reach it and make the
// user's folder in it.
bool prepareFolders(const TestMasterList &list, bool folderWritable, const QString &shipped, bool existingCopy)
{
    return QFile::setPermissions(list.root(), Everyone) && (!existingCopy || prepareUserCopy(list))
        && prepareShippedFile(list, shipped)
        && QFile::setPermissions(list.programFolder(), folderWritable ? Everyone : ReadOnlyFolder);
}

QStringList shownNames(const frmGesamt &window)
{
    QStringList names;
    const auto *grid = window.findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    const int column = grid->columnIndex(QStringLiteral("Schuetze"));
    for (int row = 0; row < grid->model()->rowCount() - 1; ++row)
        names << grid->model()->index(row, column).data().toString();
    return names;
}

} // namespace

class tst_MasterFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void location_data();
    void location();

private:
    void workWithWindow(const QStringList &shown, bool opens, QStringList *reopened) const;
};

void tst_MasterFile::cleanup()
{
    frmGesamt::setMasterFolders(QString(), QString());
}

void tst_MasterFile::location_data()
{
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<QString>("shipped"); // "database", "readonly", "missing", "garbage", "unreadable"
    QTest::addColumn<bool>("existingCopy"); // the user's copy is there already, holding "Kopie, Karl"
    QTest::addColumn<QStringList>("shown"); // at opening
    QTest::addColumn<int>("error");         // number in the message, 0 for none
    QTest::addColumn<QStringList>("shippedAfter");
    QTest::addColumn<QStringList>("copyAfter"); // empty: no copy may exist
    QTest::addColumn<QStringList>("shownAgain"); // when opened once more

    const QStringList vera{"Vorgabe, Vera|SV"};
    const QStringList veraAndNina{"Vorgabe, Vera|SV", "Neu, Nina|(null)"};
    const QStringList karlAndNina{"Kopie, Karl|SV Kopie", "Neu, Nina|(null)"};
    QTest::newRow("writable folder: the shipped file in place")
        << true << "database" << false << QStringList{"Vorgabe, Vera"} << 0 << veraAndNina << QStringList{}
        << QStringList{"Neu, Nina", "Vorgabe, Vera"};
    QTest::newRow("read-only folder: a copy for the user, made once")
        << false << "database" << false << QStringList{"Vorgabe, Vera"} << 0 << vera << veraAndNina
        << QStringList{"Neu, Nina", "Vorgabe, Vera"};
    QTest::newRow("read-only file in a writable folder: a copy")
        << true << "readonly" << false << QStringList{"Vorgabe, Vera"} << 0 << vera << veraAndNina
        << QStringList{"Neu, Nina", "Vorgabe, Vera"};
    QTest::newRow("read-only folder with the user's copy: the copy as it is")
        << false << "database" << true << QStringList{"Kopie, Karl"} << 0 << vera << karlAndNina
        << QStringList{"Kopie, Karl", "Neu, Nina"};
    QTest::newRow("shipped file gone, the user's copy still serves")
        << false << "missing" << true << QStringList{"Kopie, Karl"} << 0 << QStringList{} << karlAndNina
        << QStringList{"Kopie, Karl", "Neu, Nina"};
    QTest::newRow("shipped file missing: message, empty window")
        << true << "missing" << false << QStringList{} << 53 << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("not a database: message, empty window")
        << true << "garbage" << false << QStringList{} << 3343 << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("unreadable file in a read-only folder: message, empty window")
        << false << "unreadable" << false << QStringList{} << 75 << QStringList{} << QStringList{} << QStringList{};
}

// As a user: opens the window; types a shooter into the new-row line, or,
// when the list could not be opened, searches and sorts in the empty window;
// closes the window and opens it again.
void tst_MasterFile::workWithWindow(const QStringList &shown, bool opens, QStringList *reopened) const
{
    auto *window = new frmGesamt();
    QPointer<frmGesamt> guard(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(shownNames(*window), shown);
    if (opens) { // the typed shooter is stored by closing the window
        auto *grid = window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, grid->columnIndex(QStringLiteral("Schuetze"))));
        GuiTyping::typeText(QStringLiteral("Neu, Nina"));
        window->close();
    } else {
        QVERIFY(!window->findChild<DataSource *>(QStringLiteral("Data1"))->isOpen());
        QCOMPARE(window->findChild<DataGrid *>(QStringLiteral("TDBGrid1"))->model()->rowCount(), 0);
        // Searching and sorting in an empty window do no harm; sorting tries the file again.
        window->findChild<QLineEdit *>(QStringLiteral("txtSuche"))->setText(QStringLiteral("Ve"));
        window->findChild<QAction *>(QStringLiteral("mnuAnsichtSort"))->trigger();
        window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    const frmGesamt again;
    *reopened = shownNames(again);
}

void tst_MasterFile::location()
{
    QFETCH(bool, folderWritable);
    QFETCH(QString, shipped);
    QFETCH(bool, existingCopy);
    QFETCH(QStringList, shown);
    QFETCH(int, error);
    QFETCH(QStringList, shippedAfter);
    QFETCH(QStringList, copyAfter);
    QFETCH(QStringList, shownAgain);

    TestMasterList list;
    ScriptedDialogs dialogs;
    list.addShooter(QStringLiteral("Vorgabe, Vera"), QStringLiteral("SV"));
    QVERIFY(prepareFolders(list, folderWritable, shipped, existingCopy));
    frmGesamt::setMasterFolders(list.programFolder(), list.userFolder());
    QStringList reopened;
    {
        OrdinaryUserFileAccess access;
        if (access.rootNotDropped())
            QSKIP("running as root without the right to use files as another user");
        workWithWindow(shown, error == 0, &reopened);
    }
    if (QTest::currentTestFailed())
        return;
    QFile::setPermissions(list.programFolder(), Everyone);
    QFile::setPermissions(list.path(), ReadWriteFile);
    const int messages = error == 0 ? 0 : 3; // opening, sorting, opening again
    QCOMPARE(dialogs.shown().size(), size_t(messages));
    for (const ScriptedDialogs::Shown &message : dialogs.shown())
        QVERIFY2(message.text.startsWith(QStringLiteral("Fehler: %1 - ").arg(error)), qPrintable(message.text));
    if (shipped == QLatin1String("database") || shipped == QLatin1String("readonly"))
        QCOMPARE(TestMasterList::shooters(list.path()), shippedAfter);
    QCOMPARE(QFileInfo::exists(list.userCopyPath()), !copyAfter.isEmpty());
    if (!copyAfter.isEmpty())
        QCOMPARE(TestMasterList::shooters(list.userCopyPath()), copyAfter);
    QCOMPARE(reopened, shownAgain);
}

QTEST_MAIN(tst_MasterFile)
#include "tst_masterfile.moc"
