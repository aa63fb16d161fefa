#include "masterlist/frmGesamt.h"

#include "grid/DataGrid.h"
#include "grid/GridSettings.h"
#include "masterlist/MasterFile.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/FileUpgrade.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "store/Recordset.h"
#include "widgets/FormTools.h"
#include "widgets/WindowSettings.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <optional>

namespace {

const QString MasterQuery = QStringLiteral("Select * from Schuetzen order by Schuetze");

// Design sizes in twips; the client area is the part below the menu bar.
constexpr double ClientWidth = 7950;
constexpr double ClientHeight = 10020;
constexpr double FrameHeight = 735;
constexpr double GridMargin = 45;
constexpr double CloseMargin = 90;

constexpr Placement Frame1Design{90, 9180, 7800, FrameHeight};
constexpr Placement CmdUebernahmeDesign{135, 225, 1680, 375};
constexpr Placement Label1Design{1935, 270, 645, 240};
constexpr Placement TxtSucheDesign{2565, 225, 1725, 330};
constexpr Placement CmdCloseDesign{6210, 225, 1365, 375};

std::optional<MasterFile> g_masterFile;

} // namespace

frmGesamt::frmGesamt(HandOver handOver)
    : m_handOver(std::move(handOver))
{
    setObjectName(QStringLiteral("frmGesamt"));
    setWindowTitle(QStringLiteral("Gesamtliste"));
    // Closing unloads: opening it again loads it anew.
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    createGrid();
    createMenus();
    resize(px(this, ClientWidth), px(this, ClientHeight) + menuBar()->sizeHint().height());
    placeDesignControls();
    Form_Load();
}

frmGesamt::~frmGesamt()
{
    // Tearing the window down moves the focus and may clear the search box;
    // that must not reach this half-destroyed window any more.
    txtSuche->disconnect(this);
}

void frmGesamt::setMasterFolders(const QString &programFolder, const QString &userDataFolder)
{
    if (programFolder.isEmpty() && userDataFolder.isEmpty())
        g_masterFile.reset();
    else
        g_masterFile.emplace(programFolder, userDataFolder);
}

MasterFile frmGesamt::masterFile()
{
    return g_masterFile ? *g_masterFile : MasterFile::standard();
}



void frmGesamt::createControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmGesamtClient"));
    central->setFont(designFont(8.25, false));
    setCentralWidget(central);

    Frame1 = new QGroupBox(central);
    Frame1->setObjectName(QStringLiteral("Frame1"));

    cmdUebernahme = new QPushButton(QStringLiteral("Übernehme&n"), Frame1);
    cmdUebernahme->setObjectName(QStringLiteral("cmdUebernahme"));
    connect(cmdUebernahme, &QPushButton::clicked, this, &frmGesamt::cmdUebernahme_Click);

    Label1 = new QLabel(QStringLiteral("Suche:"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));

    txtSuche = new QLineEdit(Frame1);
    txtSuche->setObjectName(QStringLiteral("txtSuche"));
    txtSuche->setFont(designFont(9.75, true));
    connect(txtSuche, &QLineEdit::textChanged, this, &frmGesamt::txtSuche_Change);

    cmdClose = new QPushButton(QStringLiteral("&Schließen"), Frame1);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &frmGesamt::cmdClose_Click);
}

void frmGesamt::createGrid()
{
    Data1 = new DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    // People look names up alphabetically, not by character codes.
    Data1->setTextOrder(TextOrder::Alphabetical);
    TDBGrid1 = new DataGrid(centralWidget());
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->horizontalHeader()->setFont(designFont(8.25, true));
    // Birth year and sex are optional: from them a shooter taken over gets the class proposed.
    TDBGrid1->setDesignedColumns({QStringLiteral("ID"), QStringLiteral("Schuetze"), QStringLiteral("Verein"),
                                  QStringLiteral("Jahrgang"), QStringLiteral("Geschlecht")},
                                 {600, 2800, 2400, 900, 1000});
    TDBGrid1->columns(QStringLiteral("ID")).setVisible(false);
    TDBGrid1->columns(QStringLiteral("ID")).setInColumnMenu(false);
    // The designed columns stay when the list is opened, with ID hidden.
    TDBGrid1->holdFields();
    TDBGrid1->setDataSource(Data1);
}

QAction *frmGesamt::addMenuAction(QMenu *menu, const QString &name, const QString &caption,
                                  void (frmGesamt::*handler)(), const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption, this, handler);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void frmGesamt::createMenus()
{
    mnuDatei = menuBar()->addMenu(QStringLiteral("&Datei"));
    mnuDatei->setObjectName(QStringLiteral("mnuDatei"));
    addMenuAction(mnuDatei, QStringLiteral("mnuDateiImport"), QStringLiteral("Importieren..."),
                  &frmGesamt::mnuDateiImport_Click);
    mnuDatei->addSeparator()->setObjectName(QStringLiteral("mnuDateiTemp1"));
    addMenuAction(mnuDatei, QStringLiteral("mnuDateiClose"), QStringLiteral("&Schließen"),
                  &frmGesamt::mnuDateiClose_Click);

    mnuEdit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    addMenuAction(mnuEdit, QStringLiteral("mnuEditDeleteSchuetze"), QStringLiteral("Aktuellen Schützen löschen"),
                  &frmGesamt::mnuEditDeleteSchuetze_Click);
    addMenuAction(mnuEdit, QStringLiteral("mnuEditDeleteAll"), QStringLiteral("Alle Schützen löschen"),
                  &frmGesamt::mnuEditDeleteAll_Click);

    mnuAnsicht = menuBar()->addMenu(QStringLiteral("Ansicht"));
    mnuAnsicht->setObjectName(QStringLiteral("mnuAnsicht"));
    addMenuAction(mnuAnsicht, QStringLiteral("mnuAnsichtSort"), QStringLiteral("Aktualisieren nach Name"),
                  &frmGesamt::mnuAnsichtSort_Click, QKeySequence(Qt::Key_F5));
}

void frmGesamt::placeDesignControls()
{
    place(Frame1, Frame1Design);
    place(cmdUebernahme, CmdUebernahmeDesign);
    place(Label1, Label1Design);
    place(txtSuche, TxtSucheDesign);
    place(cmdClose, CmdCloseDesign);
}

void frmGesamt::Form_Load()
{
    LoadFormPosition(this);
    LoadGridLayout(QStringLiteral("Gesamt"), *TDBGrid1);
    openMasterList();
}

// Without its file the window still opens, empty, so that the competition
// and the rest of the program go on as before.
void frmGesamt::openMasterList()
{
    try {
        const QString path = masterFile().resolve();
        upgradeMasterFile(path);
        Data1->setDatabaseName(path);
        Data1->setRecordSource(MasterQuery);
        Data1->refresh();
        TDBGrid1->refreshRows();
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Gesamtliste kann nicht geöffnet werden. Das Fenster bleibt "
                                              "leer; der Wettkampf ist davon nicht betroffen."));
    }
}

// A master list of an earlier version gets birth year and sex; one that may
// not be written is shown as it is.
void frmGesamt::upgradeMasterFile(const QString &path)
{
    std::shared_ptr<Database> database;
    try {
        database = Database::open(path);
    } catch (const std::exception &) {
        return; // opening it says what is wrong
    }
    try {
        FileUpgrade::upgradeMasterList(*database);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Gesamtliste konnte nicht um Jahrgang und Geschlecht erweitert "
                                              "werden und ist unverändert."));
    }
}

bool frmGesamt::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void frmGesamt::Form_Activate()
{
    txtSuche->setFocus(Qt::ActiveWindowFocusReason);
}

void frmGesamt::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// The button strip stays at the bottom with "Schließen" at its right end;
// the grid takes the rest. While the window is minimised the client area is
// smaller than the margins and nothing is placed.
void frmGesamt::Form_Resize()
{
    if (!centralWidget() || !Frame1)
        return;
    const double w = tw(this, centralWidget()->width());
    const double h = tw(this, centralWidget()->height());
    const double frameTop = h - FrameHeight;
    const double gridWidth = w - 2 * GridMargin;
    const double gridHeight = frameTop - GridMargin;
    if (frameTop < 0 || gridWidth < 0 || gridHeight < 0)
        return;
    Frame1->setGeometry(0, px(this, frameTop), px(this, w), px(this, FrameHeight));
    TDBGrid1->setGeometry(px(this, GridMargin), px(this, GridMargin), px(this, gridWidth), px(this, gridHeight));
    cmdClose->move(px(this, w - CloseMargin - CmdCloseDesign.width), cmdClose->y());
}

void frmGesamt::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

// The unload is never cancelled: a typed row that cannot be stored is
// reported and given up.
void frmGesamt::Form_Unload()
{
    Recordset *rs = TDBGrid1->recordset();
    if (!storePendingEdit() && rs)
        rs->cancelUpdate();
    // Not tied to the window state: a minimised list keeps its last position
    // (nothing is written then) but still stores its layout.
    SaveGridLayout(QStringLiteral("Gesamt"), *TDBGrid1);
    SaveFormPosition(this);
}

bool frmGesamt::storePendingEdit()
{
    try {
        TDBGrid1->storePendingEdit();
        return true;
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Eingabe in der aktuellen Zeile konnte nicht gespeichert werden."));
        return false;
    }
}

void frmGesamt::cmdClose_Click()
{
    close();
}

void frmGesamt::mnuDateiClose_Click()
{
    cmdClose_Click();
}
