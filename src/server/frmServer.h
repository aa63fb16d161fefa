#pragma once

#include "store/ServerCompetitions.h"
#include "store/ServerLocation.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// "Wettkampf auf Server": the club's server (name, port, database, user,
// kept in the settings, section "Server"), the list of its competitions, and
// what to do: open one, make a new one, or copy the competition open in the
// window onto the server. The dialog only chooses; the main window does it.
class frmServer : public QDialog
{
    Q_OBJECT

public:
    enum class Action { None, Open, New, CopyOpen };
    struct Choice
    {
        Action action = Action::None;
        ServerLogin login;
        QString competition; // Open: the schema chosen
        QString name;        // New, CopyOpen: the name given
    };

    // canCopy: a file competition is open that could be copied.
    explicit frmServer(bool canCopy, QWidget *parent = nullptr);

    const Choice &choice() const { return m_choice; }
    // The server as the fields give it.
    ServerLogin login() const;
    // The competitions listed, in the list's order.
    const std::vector<ServerCompetitions::Entry> &listed() const { return m_listed; }
    QString message() const;

    // Lists the server's competitions; a password is asked for when needed.
    void cmdVerbinden_Click();
    void cmdOeffnen_Click();
    void cmdNeu_Click();
    void cmdKopieren_Click();

private:
    void createControls(bool canCopy);
    void storeFields() const;
    void fieldsChanged();
    bool askName(const QString &prompt, QString &name);
    void say(const QString &text, bool problem);

    Choice m_choice;
    std::vector<ServerCompetitions::Entry> m_listed;
    QLineEdit *txtServer = nullptr;
    QSpinBox *spnPort = nullptr;
    QLineEdit *txtDatenbank = nullptr;
    QLineEdit *txtBenutzer = nullptr;
    QListWidget *lstWettkaempfe = nullptr;
    QLabel *lblMeldung = nullptr;
    QPushButton *cmdVerbinden = nullptr;
    QPushButton *cmdOeffnen = nullptr;
    QPushButton *cmdNeu = nullptr;
    QPushButton *cmdKopieren = nullptr;
};
