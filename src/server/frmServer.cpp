#include "server/frmServer.h"

#include "settings/SettingsStore.h"
#include "store/RingtalError.h"
#include "widgets/PasswordPrompt.h"
#include "widgets/UiDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Server");
constexpr int StandardPort = 5432;

QString systemUser()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

} // namespace

frmServer::frmServer(bool canCopy, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmServer"));
    setWindowTitle(QStringLiteral("Wettkampf auf Server"));
    createControls(canCopy);
    txtServer->setText(SettingsStore::read(Section, QStringLiteral("Rechner"), QStringLiteral("localhost")));
    bool number = false;
    const int port = SettingsStore::read(Section, QStringLiteral("Port"), QString()).toInt(&number);
    spnPort->setValue(number && port > 0 && port <= 65535 ? port : StandardPort);
    txtDatenbank->setText(SettingsStore::read(Section, QStringLiteral("Datenbank"), QStringLiteral("ringtal")));
    txtBenutzer->setText(SettingsStore::read(Section, QStringLiteral("Benutzer"), systemUser()));
    fieldsChanged();
}

void frmServer::createControls(bool canCopy)
{
    txtServer = new QLineEdit(this);
    txtServer->setObjectName(QStringLiteral("txtServer"));
    spnPort = new QSpinBox(this);
    spnPort->setObjectName(QStringLiteral("spnPort"));
    spnPort->setRange(1, 65535);
    txtDatenbank = new QLineEdit(this);
    txtDatenbank->setObjectName(QStringLiteral("txtDatenbank"));
    txtBenutzer = new QLineEdit(this);
    txtBenutzer->setObjectName(QStringLiteral("txtBenutzer"));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Server:"), txtServer);
    fields->addRow(QStringLiteral("Port:"), spnPort);
    fields->addRow(QStringLiteral("Datenbank:"), txtDatenbank);
    fields->addRow(QStringLiteral("Benutzer:"), txtBenutzer);

    cmdVerbinden = new QPushButton(QStringLiteral("Verbinden"), this);
    cmdVerbinden->setObjectName(QStringLiteral("cmdVerbinden"));
    lstWettkaempfe = new QListWidget(this);
    lstWettkaempfe->setObjectName(QStringLiteral("lstWettkaempfe"));
    lblMeldung = new QLabel(this);
    lblMeldung->setObjectName(QStringLiteral("lblMeldung"));
    lblMeldung->setWordWrap(true);

    cmdOeffnen = new QPushButton(QStringLiteral("Öffnen"), this);
    cmdOeffnen->setObjectName(QStringLiteral("cmdOeffnen"));
    cmdNeu = new QPushButton(QStringLiteral("Neuer Wettkampf..."), this);
    cmdNeu->setObjectName(QStringLiteral("cmdNeu"));
    cmdKopieren = new QPushButton(QStringLiteral("Geöffneten Wettkampf auf den Server kopieren..."), this);
    cmdKopieren->setObjectName(QStringLiteral("cmdKopieren"));
    cmdKopieren->setVisible(canCopy);
    auto *close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("cmdSchliessen"));

    auto *connectRow = new QHBoxLayout;
    connectRow->addStretch();
    connectRow->addWidget(cmdVerbinden);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdOeffnen);
    buttons->addWidget(cmdNeu);
    buttons->addWidget(cmdKopieren);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(connectRow);
    layout->addWidget(new QLabel(QStringLiteral("Wettkämpfe auf dem Server:"), this));
    layout->addWidget(lstWettkaempfe, 1);
    layout->addWidget(lblMeldung);
    layout->addLayout(buttons);
    resize(560, 420);

    connect(cmdVerbinden, &QPushButton::clicked, this, &frmServer::cmdVerbinden_Click);
    connect(cmdOeffnen, &QPushButton::clicked, this, &frmServer::cmdOeffnen_Click);
    connect(cmdNeu, &QPushButton::clicked, this, &frmServer::cmdNeu_Click);
    connect(cmdKopieren, &QPushButton::clicked, this, &frmServer::cmdKopieren_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstWettkaempfe, &QListWidget::itemDoubleClicked, this, &frmServer::cmdOeffnen_Click);
    connect(lstWettkaempfe, &QListWidget::currentRowChanged, this, &frmServer::fieldsChanged);
    for (QLineEdit *edit : {txtServer, txtDatenbank, txtBenutzer})
        connect(edit, &QLineEdit::textEdited, this, [this] {
            // A list of another server must not be opened under this one's name.
            m_listed.clear();
            lstWettkaempfe->clear();
            fieldsChanged();
        });
}

ServerLogin frmServer::login() const
{
    ServerLogin login;
    login.host = txtServer->text().trimmed();
    login.port = spnPort->value();
    login.database = txtDatenbank->text().trimmed();
    login.user = txtBenutzer->text().trimmed();
    return login;
}

QString frmServer::message() const
{
    return lblMeldung->text();
}

// What went wrong in red; a plain note (an empty server) in the dialog's own colour.
void frmServer::say(const QString &text, bool problem)
{
    lblMeldung->setStyleSheet(problem ? QStringLiteral("color: #b00000") : QString());
    lblMeldung->setText(text);
}

void frmServer::storeFields() const
{
    const ServerLogin server = login();
    SettingsStore::write(Section, QStringLiteral("Rechner"), server.host);
    SettingsStore::write(Section, QStringLiteral("Port"), QString::number(server.port));
    SettingsStore::write(Section, QStringLiteral("Datenbank"), server.database);
    SettingsStore::write(Section, QStringLiteral("Benutzer"), server.user);
}

void frmServer::fieldsChanged()
{
    const ServerLogin server = login();
    const bool complete = !server.database.isEmpty() && !server.user.isEmpty();
    cmdVerbinden->setEnabled(complete);
    cmdNeu->setEnabled(complete);
    cmdKopieren->setEnabled(complete);
    cmdOeffnen->setEnabled(lstWettkaempfe->currentRow() >= 0);
}

void frmServer::cmdVerbinden_Click()
{
    const ServerLogin server = login();
    lblMeldung->clear();
    lstWettkaempfe->clear();
    m_listed.clear();
    try {
        if (!withPassword(server, [&] { m_listed = ServerCompetitions::list(server); }))
            return;
    } catch (const RingtalError &error) {
        say(error.description(), true);
        fieldsChanged();
        return;
    }
    storeFields();
    for (const ServerCompetitions::Entry &entry : m_listed)
        lstWettkaempfe->addItem(QStringLiteral("%1 (angelegt %2)")
                                        .arg(entry.name, entry.created.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
    if (m_listed.empty())
        say(QStringLiteral("Auf dem Server %1 gibt es noch keinen Wettkampf.").arg(server.described()), false);
    else
        lstWettkaempfe->setCurrentRow(0);
    fieldsChanged();
}

void frmServer::cmdOeffnen_Click()
{
    const int row = lstWettkaempfe->currentRow();
    if (row < 0 || row >= int(m_listed.size()))
        return;
    m_choice = {Action::Open, login(), m_listed[size_t(row)].schema, m_listed[size_t(row)].name};
    storeFields();
    accept();
}

bool frmServer::askName(const QString &prompt, QString &name)
{
    const std::optional<QString> typed = UiDialogs::current().inputText(prompt, QStringLiteral("Wettkampf auf Server"));
    if (!typed)
        return false;
    name = typed->trimmed();
    if (name.isEmpty()) {
        say(QStringLiteral("Der Wettkampf braucht einen Namen."), true);
        return false;
    }
    return true;
}

void frmServer::cmdNeu_Click()
{
    QString name;
    if (!askName(QStringLiteral("Name des neuen Wettkampfs auf dem Server:"), name))
        return;
    m_choice = {Action::New, login(), QString(), name};
    storeFields();
    accept();
}

void frmServer::cmdKopieren_Click()
{
    QString name;
    if (!askName(QStringLiteral("Unter welchem Namen soll der geöffnete Wettkampf auf dem Server stehen?"), name))
        return;
    m_choice = {Action::CopyOpen, login(), QString(), name};
    storeFields();
    accept();
}
