#pragma once

#include "scoring/Classes.h"

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTableWidget;

// "Klassen": the class list of a competition, in the order the winners list
// shows it, each class optionally with the birth years and the sex it is for.
// It edits a copy; OK checks it and leaves it in classes() for the caller to
// store, Abbrechen and the window frame drop it.
class frmKlassen : public QDialog
{
    Q_OBJECT

public:
    // shootersIn tells how many shooters a stored class has, so that removing
    // one of them is asked about first.
    frmKlassen(std::vector<ClassDef> classes, std::function<int(const QString &)> shootersIn,
               QWidget *parent = nullptr);

    // The list as edited; what OK accepted once the dialog is done.
    std::vector<ClassDef> classes() const;
    QTableWidget *table() const { return grdKlassen; }

    void cmdNeu_Click();
    void cmdLoeschen_Click();
    void cmdHoch_Click();
    void cmdRunter_Click();
    void cmdOK_Click();

private:
    enum Column { NameColumn, FromColumn, ToColumn, SexColumn };

    void createControls();
    void addRow(const ClassDef &def);
    void moveCurrent(int by);
    // The first fault of the list as a German sentence; empty when there is none.
    QString fault(int &row, int &column) const;

    // Per row, what the file holds of it: ID and name (Null and empty for a
    // class typed here).
    struct Origin
    {
        QVariant id;
        QString name;
    };
    std::vector<Origin> m_origins;
    std::function<int(const QString &)> m_shootersIn;
    QTableWidget *grdKlassen = nullptr;
    QPushButton *cmdNeu = nullptr;
    QPushButton *cmdLoeschen = nullptr;
    QPushButton *cmdHoch = nullptr;
    QPushButton *cmdRunter = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};
