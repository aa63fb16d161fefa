#pragma once

#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QVariant>
#include <exception>
#include <functional>

class DataGrid;
class DataSource;
class MasterFile;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// The master list of known shooters ("Gesamtliste"), kept in schuetzen.mdb
// apart from any competition: typed in once, found again by the beginning of
// the name, taken over into the open competition one after the other. The
// window is modeless; the main window keeps the one instance.
class frmGesamt : public QMainWindow
{
    Q_OBJECT

public:
    // Receives a shooter taken over: name, a tab and the club, and the birth
    // year and sex where the list has them (Null and empty otherwise); the
    // competition's window enters it as a new row.
    using HandOver = std::function<void(const QString &shooter, const QVariant &birthYear, const QString &sex)>;

    // The shooters taken over go to handOver (none: nowhere).
    explicit frmGesamt(HandOver handOver = {});
    ~frmGesamt() override;

    // The folders the list is looked for in: the program's own and the
    // user's data folder, unless a test or benchmark sets others. Empty texts
    // go back to those.
    static void setMasterFolders(const QString &programFolder, const QString &userDataFolder);

public slots:
    void cmdUebernahme_Click();
    void cmdClose_Click();
    void mnuDateiImport_Click();
    void mnuDateiClose_Click();
    void mnuEditDeleteSchuetze_Click();
    void mnuEditDeleteAll_Click();
    void mnuAnsichtSort_Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void createGrid();
    void createMenus();
    void placeDesignControls();
    QAction *addMenuAction(QMenu *menu, const QString &name, const QString &caption, void (frmGesamt::*handler)(),
                           const QKeySequence &shortcut = {});

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void openMasterList();
    void upgradeMasterFile(const QString &path);
    void txtSuche_Change(const QString &text);
    void showSearchFound(bool found);
    QString handOverText() const;
    bool storePendingEdit();
    void rereadList();

    static MasterFile masterFile();

    HandOver m_handOver;

    DataGrid *TDBGrid1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QPushButton *cmdUebernahme = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtSuche = nullptr;
    bool m_searchFound = true;
    QPushButton *cmdClose = nullptr;
    DataSource *Data1 = nullptr;
    QMenu *mnuDatei = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuAnsicht = nullptr;
};
