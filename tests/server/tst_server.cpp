// The server dialog on a throwaway PostgreSQL cluster: the list of the server's competitions, what
// the user chooses in it, the server's fields kept for the next time, and what it says when the
// server cannot be reached or holds no competition yet.
#include "server/frmServer.h"
#include "store/Database.h"
#include "support/ScriptedDialogs.h"
#include "support/TestCompetition.h"
#include "support/TestServer.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

class tst_Server : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> m_server;

    static void fill(frmServer &dialog, const ServerLogin &login)
    {
        dialog.findChild<QLineEdit *>(QStringLiteral("txtServer"))->setText(login.host);
        dialog.findChild<QSpinBox *>(QStringLiteral("spnPort"))->setValue(login.port);
        dialog.findChild<QLineEdit *>(QStringLiteral("txtDatenbank"))->setText(login.database);
        dialog.findChild<QLineEdit *>(QStringLiteral("txtBenutzer"))->setText(login.user);
    }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<TestServer>();
        QVERIFY2(m_server->isRunning(), qPrintable(m_server->failure()));
    }

    void cleanupTestCase() { m_server.reset(); }

    // An empty server says so; one that is not there says it cannot be reached; nothing is chosen.
    void nothingToList_data()
    {
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QString>("message");
        QTest::newRow("no competition yet") << true << "gibt es noch keinen Wettkampf";
        QTest::newRow("no server there") << false << "ist nicht erreichbar";
    }
    void nothingToList()
    {
        QFETCH(bool, reachable);
        QFETCH(QString, message);
        const TempSettings settings;
        ScriptedDialogs dialogs;
        frmServer dialog(true);
        ServerLogin login = m_server->login();
        login.database = QStringLiteral("postgres"); // never holds a competition
        if (!reachable)
            login.host = QDir::tempPath() + QStringLiteral("/ringtal-kein-server");
        fill(dialog, login);
        dialog.cmdVerbinden_Click();
        QVERIFY2(dialog.message().contains(message), qPrintable(dialog.message()));
        QVERIFY(dialog.listed().empty());
        dialog.cmdOeffnen_Click();
        QVERIFY(dialog.choice().action == frmServer::Action::None);
    }

    // Listed and opened; a new one and a copy are asked a name; the server's fields come back the
    // next time, the password never.
    void choosing()
    {
        const TempSettings settings;
        ScriptedDialogs dialogs;
        const std::shared_ptr<Database> layout = Database::open(TestCompetition::templatePath());
        const ServerLocation made = ServerCompetitions::create(m_server->login(), QStringLiteral("Liga 3"), *layout, *layout);
        {
            frmServer dialog(true);
            fill(dialog, m_server->login());
            dialog.cmdVerbinden_Click();
            QVERIFY2(dialog.message().isEmpty(), qPrintable(dialog.message()));
            QCOMPARE(dialog.listed().front().name, QStringLiteral("Liga 3"));
            dialog.cmdOeffnen_Click();
            QVERIFY(dialog.choice().action == frmServer::Action::Open);
            QCOMPARE(dialog.choice().competition, made.competition);
            QCOMPARE(dialog.choice().login, m_server->login());
        }
        frmServer again(false);
        QCOMPARE(again.login(), m_server->login());
        QVERIFY(settings.read(QStringLiteral("Server"), QStringLiteral("Rechner")) == m_server->login().host);
        dialogs.answerText(QStringLiteral("  Kreisliga  "));
        again.cmdNeu_Click();
        QVERIFY(again.choice().action == frmServer::Action::New);
        QCOMPARE(again.choice().name, QStringLiteral("Kreisliga"));
        frmServer empty(true);
        dialogs.answerText(QStringLiteral(" "));
        empty.cmdKopieren_Click();
        QVERIFY(empty.choice().action == frmServer::Action::None);
        QCOMPARE(empty.message(), QStringLiteral("Der Wettkampf braucht einen Namen."));
    }
};

QTEST_MAIN(tst_Server)
#include "tst_server.moc"
