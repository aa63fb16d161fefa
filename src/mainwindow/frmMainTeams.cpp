// The team list: the third tab, ranked from the stored rows, and its
// printout and export.
#include "mainwindow/frmMain.h"

#include "grid/DataGrid.h"
#include "printing/TeamList.h"
#include "store/DataSource.h"
#include "store/Recordset.h"
#include "widgets/FormTools.h"
#include "widgets/Twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>

namespace {

// Shows a team list's table as it will be printed.
class TeamListModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    const PrintTable &table() const { return m_table; }
    void setTable(PrintTable table)
    {
        beginResetModel();
        m_table = std::move(table);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_table.rowCount; }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_table.columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return m_table.text(index.row(), index.column());
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(m_table.alignment(index.row(), index.column()) | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_table.columns.size())
            return m_table.columns.at(section).caption;
        return {};
    }

private:
    PrintTable m_table;
};

TeamListModel *modelOf(QTableView *view)
{
    return static_cast<TeamListModel *>(view->model());
}

} // namespace

void frmMain::createTeamList()
{
    QWidget *page = SSTab1->widget(TeamTab);
    lblMannschaften = new QLabel(page);
    lblMannschaften->setObjectName(QStringLiteral("lblMannschaften"));
    lblMannschaften->setFont(designFont(8.25, false));
    grdMannschaften = new QTableView(page);
    grdMannschaften->setObjectName(QStringLiteral("grdMannschaften"));
    grdMannschaften->setModel(new TeamListModel(grdMannschaften));
    grdMannschaften->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMannschaften->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdMannschaften->verticalHeader()->hide();
    grdMannschaften->horizontalHeader()->setFont(designFont(8.25, true));
    grdMannschaften->setFont(designFont(9.75, false));
}

// The team list follows the stored rows while it is shown; one that has not
// changed is left alone, so that the list does not jump while being read.
void frmMain::showTeamList()
{
    if (SSTab1->currentIndex() != TeamTab)
        return;
    PrintTable table = teamListTable();
    TeamListModel *model = modelOf(grdMannschaften);
    lblMannschaften->setText(table.caption);
    const PrintTable &shown = model->table();
    if (table.cells == shown.cells && table.columns.size() == shown.columns.size())
        return;
    const int scrolled = grdMannschaften->verticalScrollBar()->value();
    const bool sameColumns = table.columns.size() == shown.columns.size();
    model->setTable(std::move(table));
    if (!sameColumns) {
        for (int column = 0; column < model->table().columns.size(); ++column)
            grdMannschaften->setColumnWidth(column, px(this, model->table().columns.at(column).widthTwips));
    }
    grdMannschaften->verticalScrollBar()->setValue(scrolled);
}

// Ranked from the stored rows, with the list's looks taken from the tab, as
// the winners list's printout takes them from its grid.
PrintTable frmMain::teamListTable()
{
    const Recordset *rs = Data1->recordset();
    if (!rs)
        return {};
    PrintTable table = TeamList::table(Teams::rank(Teams::shootersOf(*rs, m_classes), m_teamCounted, m_tieRule), *rs);
    table.caption = TeamList::caption(m_teamCounted);
    // Widths the user dragged are kept while the columns stay the same.
    if (modelOf(grdMannschaften)->table().columns.size() == table.columns.size()) {
        for (int column = 0; column < table.columns.size(); ++column)
            table.columns[column].widthTwips = tw(this, grdMannschaften->columnWidth(column));
    }
    table.cellFont = grdMannschaften->font();
    table.headingFont = grdMannschaften->horizontalHeader()->font();
    table.textColor = grdMannschaften->palette().color(QPalette::Text);
    table.background = grdMannschaften->palette().color(QPalette::Base);
    table.rowHeightTwips = tw(this, grdMannschaften->verticalHeader()->defaultSectionSize());
    table.headingHeightTwips = tw(this, grdMannschaften->horizontalHeader()->sizeHint().height());
    return table;
}

void frmMain::placeTeamList()
{
    const int caption = lblMannschaften->sizeHint().height() + 4;
    lblMannschaften->setGeometry(TDBGrid1->x(), 0, TDBGrid1->width(), caption);
    grdMannschaften->setGeometry(TDBGrid1->x(), caption, TDBGrid1->width(),
                                 std::max(0, TDBGrid1->y() + TDBGrid1->height() - caption));
}

bool frmMain::onTeamTab() const
{
    return SSTab1->currentIndex() == TeamTab;
}

// A typed row is stored first; the team places need no F5, they are ranked
// from the stored keys each time.
bool frmMain::teamListReady()
{
    if (Data1->recordset() && !storePendingEntry())
        return false;
    showTeamList();
    return true;
}
