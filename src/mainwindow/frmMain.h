#pragma once

#include "scoring/Classes.h"
#include "scoring/Teams.h"
#include "scoring/TieRule.h"
#include "server/frmServer.h"
#include "settings/CertificateFields.h"
#include "widgets/ImageList.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <exception>
#include <optional>
#include <vector>

class DataGrid;
class DataSource;
struct PrintInfo;
struct PrintTable;
class QLabel;
class QTimer;
class QTableView;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolBar;
class frmGesamt;

// The main window: one open competition, its entry grid and its winners list.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Full path of the open competition; empty while none is open.
    const QString &CompetitionPath() const { return m_competitionPath; }

    // The field order of table Ergebnisse, which is the column order of both grids.
    static QStringList resultFields();

    // One entry of a menu, as the menus are written down in frmMainCommands.cpp.
    struct MenuItem
    {
        const char *name;
        const char *caption;
        void (frmMain::*handler)();
        QKeySequence shortcut;
    };

    // Takes a shooter over: name, a tab character, the club. Throws RingtalError.
    // Birth year and sex, where known, propose the shooter's class.
    void setNeuerSchuetze(const QString &value, const QVariant &birthYear = {}, const QString &sex = {});

    // Opens a competition as the Open command does once a file is chosen (a
    // file named when the program is started, e.g. by a double-click).
    void openCompetitionFile(const QString &path);

    // Does what the server dialog chose: opens a competition on the server,
    // makes a new one there, or copies the open one onto it and opens that.
    void carryOutServerChoice(const frmServer::Choice &choice);

public slots:
    void mnuDateiNeu_Click();
    void mnuDateiOpen_Click();
    void mnuDateiServer_Click();
    void mnuDateiAlsDatei_Click();
    void mnuPreviou_Click();
    void mnuDateiPrint_Click();
    void mnuDateiPrinterSetup_Click();
    void mnuDateiExport_Click();
    void mnuDateiUrkunden_Click();
    void mnuDateiBezeichnung_Click();
    void mnuDateiClose_Click();
    void mnuEditUpdatePlaetze_Click();
    void mnuEditDelSchuetze_Click();
    void mnuEditDeleteAll_Click();
    void mnuAnsSiegerliste_Click();
    void mnuAnsTitelzeileFont_Click();
    void mnuAnsEingabeFont_Click();
    void mnuEditGesamtliste_Click();
    void mnuEditKlassen_Click();
    void mnuEditWertung_Click();
    void mnuInfo_Click();
    // A click on a toolbar button, told apart by the button's key (its data).
    void Toolbar1_ButtonClick(QAction *Button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QMenu *createPopupMenu() override;

private:
    bool competitionIsOpen();
    void createControls();
    void createGrids();
    void createMenus();
    void createToolbar();
    void placeDesignControls();

    void Form_Load();
    bool Form_Unload();
    void Form_Resize();
    void resizeIfApplicable(QWidget *control, double width, double height);
    void LoadCompetition(const QString &path);
    // A server competition is opened with a password where the server wants
    // one; false when the user cancelled asking for it.
    bool serverLoginReady(const QString &location);
    void retryStoringForServer();
    void reportLookFailure(const std::exception &failure, bool asked);
    void upgradeCompetitionFile(const QString &path);
    void readCompetitionRules();
    std::optional<QString> chooseClass(const QString &typed);
    QString tieRuleLine() const;
    void takeOverAccessCompetition(const QString &accessPath);
    void fillPrintInfo(PrintInfo &info);
    void PrintWinnersList(int mode);
    void PrintTeamList(int mode);
    bool teamListReady();
    std::vector<Certificate> certificatesFor(bool shooters, bool teams, int places) const;
    void ShowTitle();
    bool storePendingEntry();
    void restorePositionsAndLayouts();
    void restoreFontsAndColours();
    void savePositionsAndLayouts();
    void chooseGridFont(DataGrid *grid, const QString &fontName, const QString &colourKey);
    void reportFailure(const std::exception &failure, const QString &what);
    void refreshBothGrids();
    void reportAndReread(const std::exception &failure, const QString &what);
    int HighestStartNr();
    void ComputeRowScore(int column);
    void noteSharedStartNr(int column);
    bool placesAreCurrent() const;
    void updatePlacesNotice();
    void placeWinnersNotice();
    void createTeamList();
    void showTeamList();
    PrintTable teamListTable();
    void placeTeamList();
    void applyWinnersLooksToTeams();
    bool onTeamTab() const;
    bool winnersListReady();
    bool showWinnersList();
    bool alreadyEntered(const QString &name, const QString &club) const;
    void focusEntryGrid();
    void showRowsOfOtherPrograms(bool closingCell);
    bool checkCompetitionFile();
    void closeCompetition();
    QString pendingEntryText() const;
    bool onEntryTab();
    void txtSuche_Change(const QString &text);
    void txtSuche_LostFocus();
    void closeMasterList();
    QMenu *addMenu(const QString &name, const QString &caption, const std::vector<MenuItem> &items);
    QAction *addMenuAction(QMenu *menu, const QString &name, const QString &caption,
                           void (frmMain::*handler)(), const QKeySequence &shortcut = {});
    QAction *addSeparator(QMenu *menu, const QString &name);
    void addToolbarButton(int position, const QString &key, const QString &toolTip, const QString &imageKey);

    double toolbarTwips() const;

    // The tabs: entry, winners list, team list.
    static constexpr int TeamTab = 2;

    QString m_competitionPath;
    // How the open competition breaks ties; its keys are built so.
    TieRule m_tieRule = TieRule::InnerTensFirst;
    bool m_ruleChosen = false;
    // The open competition's classes in their order.
    std::vector<ClassDef> m_classes;
    // How many of a team's shooters count; 0 all.
    int m_teamCounted = Teams::DefaultCounted;
    bool m_askingClass = false;
    // Said in the status bar once the competition is open: opened without classes, and why.
    QString m_upgradeNote;
    // The server could not be reached at the last look; a typed row it did
    // not take is stored again by itself when the server is back, for so long.
    bool m_serverAway = false;
    // The failure the last look for other programs' rows told, told once.
    QString m_lookFailure;
    bool m_retryStore = false;
    QElapsedTimer m_retrySince;

    QTimer *tmrAndereProgramme = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblPlaetzeNichtAktuell = nullptr;
    QLabel *lblWertung = nullptr;
    QLabel *lblSuche = nullptr;
    QLineEdit *txtSuche = nullptr;
    QTabWidget *SSTab1 = nullptr;
    DataGrid *TDBGrid1 = nullptr;
    DataGrid *TDBGrid2 = nullptr;
    QLabel *lblMannschaften = nullptr;
    QTableView *grdMannschaften = nullptr;
    DataSource *Data1 = nullptr;
    DataSource *Data2 = nullptr;
    QMenu *mnuDatei = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuAnsicht = nullptr;
    QMenu *mnuQuestion = nullptr;
    QToolBar *Toolbar1 = nullptr;
    ImageList imlToolbarIcons;
    QPointer<frmGesamt> m_frmGesamt;
};
