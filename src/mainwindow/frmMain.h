#pragma once

#include <QMainWindow>
#include <QString>

class DataGrid;
class DataSource;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;

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

public slots:
    void mnuDateiClose_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void createGrids();
    void createMenus();
    void placeDesignControls();

    void Form_Load();
    bool Form_Unload();
    void Form_Resize();
    void LoadCompetition(const QString &path);
    void ShowTitle();
    bool storePendingEntry();

    double twipsPerPixel() const;
    int px(double twips) const;
    double tw(int pixels) const;
    double toolbarTwips() const;

    QString m_competitionPath;

    QLabel *Label1 = nullptr;
    QLabel *lblSuche = nullptr;
    QLineEdit *txtSuche = nullptr;
    QTabWidget *SSTab1 = nullptr;
    DataGrid *TDBGrid1 = nullptr;
    DataGrid *TDBGrid2 = nullptr;
    DataSource *Data1 = nullptr;
    DataSource *Data2 = nullptr;
    QMenu *mnuDatei = nullptr;
    QAction *mnuDateiClose = nullptr;
};
