#include "mainwindow/frmMain.h"

#include "grid/DataGrid.h"
#include "mainwindow/MainLayout.h"
#include "settings/SettingsStore.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "store/Numbers.h"
#include "store/Recordset.h"
#include "store/RingtalError.h"
#include "store/ServerLocation.h"
#include "store/tempModule.h"
#include "widgets/AppIcons.h"
#include "widgets/FormTools.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

namespace {

const QString ResultsQuery = QStringLiteral("Select * from Ergebnisse order by Sortierung desc");
const QString TitleQuery = QStringLiteral("Select * from Wettkampf");
const QString LoadFailed = QStringLiteral("Fehler beim Laden eines Wettkampfs");
// How often the window asks whether other programs stored rows, in ms.
constexpr int OtherProgramsInterval = 100;
// How long a note that the server is back stays in the status bar, in ms.
constexpr int ServerNoticeMs = 10000;
// How long a row the server did not take is tried again by itself, in ms.
constexpr qint64 RetryStoreMs = 30 * 60 * 1000;

// Design sizes in twips. The inner area of the design includes the toolbar
// strip at its top; the central widget starts below it.
constexpr double ClientWidth = 14340;
constexpr double ClientHeight = 10905;
constexpr double GridLeft = 135;
constexpr double GridTopInTab = 450;

constexpr Placement Label1Design{135, 450, 11445, 330};
constexpr Placement LblSucheDesign{12105, 540, 780, 240};
constexpr Placement TxtSucheDesign{12870, 450, 1185, 330};
constexpr Placement SSTab1Design{135, 900, 14100, 8610};
constexpr Placement GridDesign{GridLeft, GridTopInTab, 13740, 7845};

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Ringtal"));
    createControls();
    createGrids();
    createMenus();
    createToolbar();
    setWindowIcon(AppIcons::windowIcon());
    // The inner area holds the toolbar; the menu bar lies above it.
    resize(px(this, ClientWidth), px(this, ClientHeight) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    placeDesignControls();
    Form_Load();
}

frmMain::~frmMain()
{
    closeMasterList();
    // Tearing the window down moves the focus, which commits an open cell
    // editor and clears the search box; neither may reach this half-destroyed
    // window any more.
    TDBGrid1->disconnect(this);
    txtSuche->disconnect(this);
    txtSuche->removeEventFilter(this);
}

QStringList frmMain::resultFields()
{
    QStringList fields{QStringLiteral("ID"),       QStringLiteral("Platz"), QStringLiteral("StartNr"),
                       QStringLiteral("Schuetze"), QStringLiteral("Verein"), QStringLiteral("Klasse"),
                       QStringLiteral("Mannschaft"), QStringLiteral("Serie"),    QStringLiteral("Innenzehner")};
    for (int i = 1; i <= 10; ++i)
        fields << QStringLiteral("Ring%1").arg(i);
    fields << QStringLiteral("Sortierung");
    return fields;
}




double frmMain::toolbarTwips() const
{
    return Toolbar1 ? tw(this, Toolbar1->height()) : 0.0;
}

void frmMain::createControls()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(central);

    Label1 = new QLabel(central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(designFont(9.75, true));

    lblSuche = new QLabel(QStringLiteral("Suche:"), central);
    lblSuche->setObjectName(QStringLiteral("lblSuche"));
    lblSuche->setFont(designFont(8.25, true));

    txtSuche = new QLineEdit(central);
    txtSuche->setObjectName(QStringLiteral("txtSuche"));
    txtSuche->setFont(designFont(9.75, true));
    connect(txtSuche, &QLineEdit::textChanged, this, &frmMain::txtSuche_Change);
    txtSuche->installEventFilter(this);

    SSTab1 = new QTabWidget(central);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(new QWidget, QStringLiteral("Dateneingabe"));
    SSTab1->addTab(new QWidget, QStringLiteral("Siegerliste"));
    SSTab1->addTab(new QWidget, QStringLiteral("Mannschaften"));
    SSTab1->setCurrentIndex(0);

    // A winners list with places from before a change must not pass for the ranking.
    lblPlaetzeNichtAktuell = new QLabel(QStringLiteral("Plätze nicht aktuell – Aktualisieren mit F5"),
                                        SSTab1->widget(1));
    lblPlaetzeNichtAktuell->setObjectName(QStringLiteral("lblPlaetzeNichtAktuell"));
    lblPlaetzeNichtAktuell->setFont(designFont(9.75, true));
    lblPlaetzeNichtAktuell->setAlignment(Qt::AlignCenter);
    lblPlaetzeNichtAktuell->setAutoFillBackground(true);
    QPalette warning = lblPlaetzeNichtAktuell->palette();
    warning.setColor(QPalette::Window, QColor(255, 214, 153));
    warning.setColor(QPalette::WindowText, Qt::black);
    lblPlaetzeNichtAktuell->setPalette(warning);
    lblPlaetzeNichtAktuell->hide();
    // Which tie rule ranked the list, once the competition has chosen one.
    lblWertung = new QLabel(SSTab1->widget(1));
    lblWertung->setObjectName(QStringLiteral("lblWertung"));
    lblWertung->setFont(designFont(8.25, false));
    lblWertung->hide();
    createTeamList();
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1)
            showWinnersList();
        else if (index == TeamTab)
            showTeamList();
    });
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
}

void frmMain::createGrids()
{
    // Wide enough for the bold headings in the face that stands in for the
    // designed one ("Innenzehner" and "Ring10" are the widest); all visible
    // columns fit the designed grid width, a vertical scroll bar included.
    const QVector<double> widths{600, 600, 780, 1700, 1400, 900, 1200, 650, 1300, 600, 600,
                                 600, 600, 600, 600, 600, 600, 600, 720, 2000};
    Data1 = new DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    Data2 = new DataSource(this);
    Data2->setObjectName(QStringLiteral("Data2"));
    TDBGrid1 = new DataGrid(SSTab1->widget(0));
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid2 = new DataGrid(SSTab1->widget(1));
    TDBGrid2->setObjectName(QStringLiteral("TDBGrid2"));
    for (DataGrid *grid : {TDBGrid1, TDBGrid2}) {
        grid->setFont(designFont(9.75, false));
        grid->horizontalHeader()->setFont(designFont(8.25, true));
        grid->setDesignedColumns(resultFields(), widths);
        // Hidden for good: loading a layout never shows a column, so the menu does not offer them.
        for (const QString &field : {QStringLiteral("ID"), QStringLiteral("Sortierung")}) {
            grid->columns(field).setVisible(false);
            grid->columns(field).setInColumnMenu(false);
        }
        // A competition without classes or teams prints and exports as it always did.
        for (const QString &field : {QStringLiteral("Klasse"), QStringLiteral("Mannschaft")})
            grid->columns(field).setPrintedWhenEmpty(false);
    }
    TDBGrid1->columns(QStringLiteral("Klasse")).setChooser([this](const QString &typed) { return chooseClass(typed); });
    // The program fills place and total; Tab goes from one typed value to the next.
    TDBGrid1->setTabStop(TDBGrid1->columnIndex(QStringLiteral("Platz")), false);
    TDBGrid1->setTabStop(TDBGrid1->columnIndex(QStringLiteral("Serie")), false);
    // The winners list shows the ranking; an edit there would not be computed.
    TDBGrid2->setReadOnly(true);
    TDBGrid1->setDataSource(Data1);
    TDBGrid2->setDataSource(Data2);
    // Only the entry grid computes scores; the winners list shows them.
    connect(TDBGrid1, &DataGrid::afterColEdit, this, &frmMain::ComputeRowScore);
    // A row that cannot be stored because the file went away must not stay
    // on screen as if the competition were still there.
    connect(TDBGrid1, &DataGrid::storeFailed, this, [this] {
        QTimer::singleShot(0, this, &frmMain::checkCompetitionFile);
        // A row the server did not take because it is away is stored by itself once it is back.
        const std::shared_ptr<Database> database = Data1->database();
        if (!database || !database->isServer())
            return;
        try {
            database->dataVersion();
        } catch (const RingtalError &failure) {
            if (failure.number() == ErrorNumber::ServerUnreachable && !m_retryStore) {
                m_retryStore = true;
                m_retrySince.start();
            }
        }
    });
    // A PC that only shows the ranking is never brought to the front: what
    // the entry PCs store must reach it while it stands there. Asking whether
    // anything changed is one cheap question, so it is asked often.
    tmrAndereProgramme = new QTimer(this);
    tmrAndereProgramme->setObjectName(QStringLiteral("tmrAndereProgramme"));
    tmrAndereProgramme->setInterval(OtherProgramsInterval);
    connect(tmrAndereProgramme, &QTimer::timeout, this, [this] { showRowsOfOtherPrograms(false); });
    tmrAndereProgramme->start();
}

void frmMain::placeDesignControls()
{
    // Design tops count from the top of the inner area, where the toolbar is.
    const double shift = toolbarTwips();
    place(Label1, Label1Design, shift);
    place(lblSuche, LblSucheDesign, shift);
    place(txtSuche, TxtSucheDesign, shift);
    place(SSTab1, SSTab1Design, shift);
    for (DataGrid *grid : {TDBGrid1, TDBGrid2})
        grid->setGeometry(px(this, GridDesign.left), 0, px(this, GridDesign.width), px(this, GridDesign.height));
    placeTeamList();
}

void frmMain::Form_Load()
{
    TDBGrid1->setEnabled(false);
    restorePositionsAndLayouts();
    for (int i = 0; i < TDBGrid1->columnCount(); ++i) {
        // Centred headings over every column of both grids.
        TDBGrid1->columns(i).setAlignment(2);
        TDBGrid2->columns(i).setAlignment(2);
    }
    for (int ring = 1; ring <= 10; ++ring)
        TDBGrid2->columns(QStringLiteral("Ring%1").arg(ring)).setCaption(QString::number(ring));
    restoreFontsAndColours();
    const QString last = SettingsStore::read(QStringLiteral("Wettkampf"), QStringLiteral("Last"), QString());
    if (FileExists(last) || ServerLocation::fromText(last))
        LoadCompetition(last);
}

void frmMain::LoadCompetition(const QString &path)
{
    const QString target = path; // the argument may be CompetitionPath itself
    if (!serverLoginReady(target))
        return;
    const ErrorProtocol protocol(LoadFailed);
    std::vector<ErrorProtocol::Step> steps{
        // Typed results of the competition being left are stored, never dropped.
        [this] { TDBGrid1->storePendingEdit(); },
        [this, &target] { upgradeCompetitionFile(target); },
    };
    for (const auto &[grid, source] : {std::pair{TDBGrid1, Data1}, std::pair{TDBGrid2, Data2}}) {
        steps.push_back([grid = grid] { grid->holdFields(); });
        steps.push_back([source = source, &target] { source->setDatabaseName(target); });
        steps.push_back([source = source] { source->setRecordSource(ResultsQuery); });
        steps.push_back([source = source] { source->refresh(); });
        steps.push_back([grid = grid] { grid->refreshRows(); });
        steps.push_back([grid = grid] { grid->setEnabled(true); });
    }
    steps.push_back([this] { readCompetitionRules(); });
    steps.push_back([this, &target] { m_competitionPath = target; });
    steps.push_back([this] { ShowTitle(); });
    steps.push_back([this] {
        const std::shared_ptr<Database> database = Data1->database();
        setWindowTitle(QStringLiteral("Ringtal") + (database ? database->displayName() : m_competitionPath));
    });
    steps.push_back([this] { updatePlacesNotice(); });
    protocol.run(steps);
    focusEntryGrid();
    if (m_competitionPath != target)
        return;
    if (Data1->database() && Data1->database()->isReadOnly()) {
        const QString text = QStringLiteral("Der Wettkampf '%1' ist schreibgeschützt: Er kann angesehen und gedruckt, "
                                            "aber nicht geändert werden.")
                                 .arg(target);
        statusBar()->showMessage(m_upgradeNote.isEmpty() ? text : text + QLatin1Char(' ') + m_upgradeNote);
        Dialogs::current().message(QStringLiteral("Hinweis"), text, Dialogs::Icon::Exclamation);
    } else if (!m_upgradeNote.isEmpty()) {
        statusBar()->showMessage(m_upgradeNote);
    }
}

// Deleted or replaced while open: never go on showing the old rows as if
// they were stored. False when the competition had to be closed or reloaded.
bool frmMain::checkCompetitionFile()
{
    const std::shared_ptr<Database> database = Data1->database();
    const Database::FileState state = database ? database->fileState() : Database::FileState::Unchanged;
    if (state == Database::FileState::Unchanged)
        return true;
    const QString lost = pendingEntryText();
    if (Recordset *rs = Data1->recordset())
        rs->cancelUpdate();
    const QString path = m_competitionPath;
    const QString unsaved = lost.isEmpty() ? QString() : QStringLiteral("\nNicht gespeichert wurde: ") + lost;
    const bool replaced = state == Database::FileState::Replaced;
    const QString what = replaced ? QStringLiteral("Die Wettkampfdatei '%1' wurde durch eine andere Datei ersetzt, "
                                                   "während sie geöffnet war. Es werden die Schützen der neuen Datei "
                                                   "gezeigt.")
                                  : QStringLiteral("Die Wettkampfdatei '%1' gibt es nicht mehr: Sie wurde gelöscht oder "
                                                   "umbenannt, während sie geöffnet war. Der Wettkampf wurde "
                                                   "geschlossen.");
    Dialogs::current().message(QStringLiteral("Hinweis"), what.arg(path) + unsaved, Dialogs::Icon::Exclamation);
    closeCompetition();
    if (replaced)
        LoadCompetition(path);
    return false;
}

QString frmMain::pendingEntryText() const
{
    const Recordset *rs = Data1->recordset();
    if (!rs || !rs->isDirty())
        return QString();
    QStringList typed;
    for (int field = 0; field < rs->fieldCount(); ++field) {
        if (rs->changedFields().testBit(field))
            typed << QStringLiteral("%1 „%2“").arg(rs->fieldNames().at(field), Numbers::cellText(rs->bufferValue(field)));
    }
    return typed.join(QStringLiteral(", "));
}

void frmMain::closeCompetition()
{
    for (DataSource *source : {Data1, Data2})
        source->close();
    TDBGrid1->setEnabled(false);
    m_competitionPath.clear();
    Label1->clear();
    setWindowTitle(QStringLiteral("Ringtal"));
    readCompetitionRules();
    updatePlacesNotice();
}

// Digits typed right after opening a competition belong into the grid, not
// into the search box.
void frmMain::focusEntryGrid()
{
    if (!TDBGrid1->isEnabled())
        return;
    SSTab1->setCurrentIndex(0);
    TDBGrid1->setFocus(Qt::OtherFocusReason);
}

void frmMain::ShowTitle()
{
    const std::shared_ptr<Database> database = Database::open(m_competitionPath);
    const std::unique_ptr<Recordset> title = database->openRecordset(TitleQuery);
    // A competition without a title shows none: the label is also the
    // printed winners list's heading, which must never name another competition.
    Label1->setText(title->rowCount() > 0 ? GetFieldValue(*title, QStringLiteral("Bezeichnung")).toString()
                                          : QString());
}

void frmMain::mnuDateiClose_Click()
{
    close();
}

bool frmMain::storePendingEntry()
{
    try {
        TDBGrid1->storePendingEdit();
        return true;
    } catch (const RingtalError &error) {
        reportFailure(error, QStringLiteral("Die Eingabe in der aktuellen Zeile konnte nicht gespeichert werden. "
                                            "Bitte korrigieren oder mit Esc verwerfen."));
        return false;
    }
}

bool frmMain::Form_Unload()
{
    if (!storePendingEntry())
        return false;
    savePositionsAndLayouts();
    if (FileExists(m_competitionPath))
        SettingsStore::write(QStringLiteral("Wettkampf"), QStringLiteral("Last"), m_competitionPath);
    return true;
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSuche && event->type() == QEvent::FocusOut)
        txtSuche_LostFocus();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::reportFailure(const std::exception &failure, const QString &what)
{
    ::reportFailure(failure, what);
    checkCompetitionFile();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    // The program ends with its main window; the master list goes with it.
    closeMasterList();
    event->accept();
}

// A second program on the same file (another PC on a share) may have stored
// rows while this window was in the background.
void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [this] { showRowsOfOtherPrograms(true); });
}

void frmMain::showRowsOfOtherPrograms(bool closingCell)
{
    if (QApplication::activeModalWidget() || TDBGrid1->isStoring() || !Data1->recordset())
        return;
    if (!checkCompetitionFile())
        return;
    try {
        // Coming back to the window the user is not typing: the open cell is
        // taken into the row; while the window stands, the cell stays open.
        const bool entries = TDBGrid1->refreshChangedRows(closingCell);
        const bool winners = TDBGrid2->refreshChangedRows(closingCell);
        if (entries || winners)
            updatePlacesNotice();
        if (m_serverAway) {
            m_serverAway = false;
            statusBar()->showMessage(QStringLiteral("Der Server ist wieder erreichbar."), ServerNoticeMs);
        }
        if (m_retryStore)
            retryStoringForServer();
        m_lookFailure.clear();
    } catch (const RingtalError &failure) {
        // Said once in the status bar, not in a box at every look.
        if (failure.number() != ErrorNumber::ServerUnreachable) {
            reportLookFailure(failure, closingCell);
        } else if (!m_serverAway) {
            m_serverAway = true;
            statusBar()->showMessage(QStringLiteral("Der Server ist nicht erreichbar. Eingaben bleiben im Fenster und "
                                                    "werden gespeichert, sobald er wieder erreichbar ist."));
        }
    } catch (const std::exception &failure) {
        reportLookFailure(failure, closingCell);
    }
}

// A failure that stays would otherwise come back in a box at every look:
// the timer tells it once, until a look succeeds or it changes.
void frmMain::reportLookFailure(const std::exception &failure, bool asked)
{
    const QString what = QString::fromLocal8Bit(failure.what());
    if (!asked && what == m_lookFailure)
        return;
    m_lookFailure = what;
    reportFailure(failure, QStringLiteral("Die Zeilen konnten nicht neu gelesen werden."));
}

void frmMain::retryStoringForServer()
{
    if (TDBGrid1->isCellOpen())
        return; // the user is at it; the next look tries again
    if (!TDBGrid1->hasPendingEdit()) {
        m_retryStore = false;
        return;
    }
    if (m_retrySince.elapsed() > RetryStoreMs) {
        m_retryStore = false;
        statusBar()->showMessage(QStringLiteral("Die Zeile konnte eine halbe Stunde lang nicht gespeichert werden; sie "
                                                "bleibt in Bearbeitung und wird beim Verlassen gespeichert."));
        return;
    }
    try {
        TDBGrid1->storePendingEdit();
        m_retryStore = false;
        statusBar()->showMessage(QStringLiteral("Die Zeile wurde gespeichert."), ServerNoticeMs);
    } catch (const RingtalError &failure) {
        // Anything but the server being away is told when the row is left.
        if (failure.number() != ErrorNumber::ServerUnreachable)
            m_retryStore = false;
    }
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// Sizes follow the window; the tops and the left edge of the tab control stay
// as they are. A size that would come out negative is not applied.
void frmMain::Form_Resize()
{
    if (!centralWidget() || !SSTab1 || !Toolbar1)
        return;
    const double toolbar = toolbarTwips();
    MainLayout::Input in;
    in.width = tw(this, centralWidget()->width());
    in.height = tw(this, centralWidget()->height()) + toolbar;
    in.toolbarHeight = toolbar;
    in.tabStripHeight = tw(this, SSTab1->tabBar()->sizeHint().height());
    in.txtSucheWidth = tw(this, txtSuche->width());
    in.lblSucheWidth = tw(this, lblSuche->width());
    in.label1Top = tw(this, Label1->y()) + toolbar;
    in.label1Height = tw(this, Label1->height());
    in.ssTab1Left = tw(this, SSTab1->x());
    const MainLayout layout = MainLayout::compute(in);
    txtSuche->move(px(this, layout.txtSucheLeft), txtSuche->y());
    lblSuche->move(px(this, layout.lblSucheLeft), lblSuche->y());
    Label1->move(px(this, layout.label1Left), Label1->y());
    resizeIfApplicable(Label1, layout.label1Width, in.label1Height);
    SSTab1->move(SSTab1->x(), px(this, layout.ssTab1Top - toolbar));
    resizeIfApplicable(SSTab1, layout.ssTab1Width, layout.ssTab1Height);
    for (DataGrid *grid : {TDBGrid1, TDBGrid2})
        resizeIfApplicable(grid, layout.gridWidth, layout.gridHeight);
    placeWinnersNotice();
    placeTeamList();
}

// The notice takes the top of the winners list's page; the list moves down
// by as much, so no row is hidden under it.
void frmMain::placeWinnersNotice()
{
    const QRect area(TDBGrid2->x(), 0, TDBGrid1->width(), TDBGrid1->y() + TDBGrid1->height());
    const int notice = lblPlaetzeNichtAktuell->isHidden() ? 0 : lblPlaetzeNichtAktuell->sizeHint().height() + 6;
    lblPlaetzeNichtAktuell->setGeometry(area.x(), 0, area.width(), notice);
    const int rule = lblWertung->isHidden() ? 0 : lblWertung->sizeHint().height() + 4;
    lblWertung->setGeometry(area.x(), notice, area.width(), rule);
    TDBGrid2->setGeometry(area.x(), notice + rule, area.width(), std::max(0, area.height() - notice - rule));
}

void frmMain::resizeIfApplicable(QWidget *control, double width, double height)
{
    control->resize(MainLayout::applicable(width) ? px(this, width) : control->width(),
                    MainLayout::applicable(height) ? px(this, height) : control->height());
}
