#include "classes/frmKlassen.h"

#include "store/Dialogs.h"
#include "widgets/FormTools.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QStringList Sexes{QStringLiteral("beide"), QStringLiteral("m"), QStringLiteral("w")};

// A birth year as typed: empty is none; anything else must be a year.
bool readYear(const QString &text, std::optional<int> &year)
{
    const QString trimmed = text.trimmed();
    year.reset();
    if (trimmed.isEmpty())
        return true;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok || value < 1900 || value > 2100)
        return false;
    year = value;
    return true;
}

QString yearText(const std::optional<int> &year)
{
    return year ? QString::number(*year) : QString();
}

} // namespace

frmKlassen::frmKlassen(std::vector<ClassDef> classes, std::function<int(const QString &)> shootersIn, QWidget *parent)
    : QDialog(parent)
    , m_shootersIn(std::move(shootersIn))
{
    setObjectName(QStringLiteral("frmKlassen"));
    setWindowTitle(QStringLiteral("Klassen"));
    createControls();
    for (const ClassDef &def : classes)
        addRow(def);
    if (grdKlassen->rowCount() > 0)
        grdKlassen->setCurrentCell(0, NameColumn);
}

void frmKlassen::createControls()
{
    grdKlassen = new QTableWidget(0, 4, this);
    grdKlassen->setObjectName(QStringLiteral("grdKlassen"));
    grdKlassen->setHorizontalHeaderLabels(
        {QStringLiteral("Klasse"), QStringLiteral("Jahrgang von"), QStringLiteral("Jahrgang bis"), QStringLiteral("Geschlecht")});
    grdKlassen->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    grdKlassen->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdKlassen->setSelectionMode(QAbstractItemView::SingleSelection);
    grdKlassen->verticalHeader()->hide();

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdNeu = button("cmdNeu", QStringLiteral("&Neu"));
    cmdLoeschen = button("cmdLoeschen", QStringLiteral("&Löschen"));
    cmdHoch = button("cmdHoch", QStringLiteral("Nach &oben"));
    cmdRunter = button("cmdRunter", QStringLiteral("Nach &unten"));
    cmdOK = button("cmdOK", QStringLiteral("OK"));
    cmdCancel = button("cmdCancel", QStringLiteral("Abbrechen"));
    connect(cmdNeu, &QPushButton::clicked, this, &frmKlassen::cmdNeu_Click);
    connect(cmdLoeschen, &QPushButton::clicked, this, &frmKlassen::cmdLoeschen_Click);
    connect(cmdHoch, &QPushButton::clicked, this, &frmKlassen::cmdHoch_Click);
    connect(cmdRunter, &QPushButton::clicked, this, &frmKlassen::cmdRunter_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmKlassen::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *side = new QVBoxLayout;
    for (QPushButton *b : {cmdNeu, cmdLoeschen, cmdHoch, cmdRunter})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(cmdOK);
    side->addWidget(cmdCancel);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(grdKlassen, 1);
    layout->addLayout(side);
    setFont(designFont(8.25, false));
    resize(560, 320);
}

void frmKlassen::addRow(const ClassDef &def)
{
    const int row = grdKlassen->rowCount();
    grdKlassen->insertRow(row);
    grdKlassen->setItem(row, NameColumn, new QTableWidgetItem(def.name));
    grdKlassen->setItem(row, FromColumn, new QTableWidgetItem(yearText(def.yearFrom)));
    grdKlassen->setItem(row, ToColumn, new QTableWidgetItem(yearText(def.yearTo)));
    auto *sex = new QComboBox(grdKlassen);
    sex->addItems(Sexes);
    sex->setCurrentIndex(std::max<qsizetype>(0, Sexes.indexOf(def.sex)));
    grdKlassen->setCellWidget(row, SexColumn, sex);
    m_origins.push_back({def.id, def.id.isNull() ? QString() : def.name});
}

std::vector<ClassDef> frmKlassen::classes() const
{
    std::vector<ClassDef> classes;
    for (int row = 0; row < grdKlassen->rowCount(); ++row) {
        ClassDef def;
        def.id = m_origins[size_t(row)].id;
        def.name = grdKlassen->item(row, NameColumn)->text().trimmed();
        readYear(grdKlassen->item(row, FromColumn)->text(), def.yearFrom);
        readYear(grdKlassen->item(row, ToColumn)->text(), def.yearTo);
        def.sex = static_cast<QComboBox *>(grdKlassen->cellWidget(row, SexColumn))->currentText();
        classes.push_back(def);
    }
    return classes;
}

void frmKlassen::cmdNeu_Click()
{
    addRow(ClassDef{});
    grdKlassen->setCurrentCell(grdKlassen->rowCount() - 1, NameColumn);
    grdKlassen->editItem(grdKlassen->item(grdKlassen->rowCount() - 1, NameColumn));
}

// Shooters of a removed class are in no class afterwards; that is asked.
void frmKlassen::cmdLoeschen_Click()
{
    const int row = grdKlassen->currentRow();
    if (row < 0)
        return;
    const Origin &origin = m_origins[size_t(row)];
    const int shooters = origin.id.isNull() || !m_shootersIn ? 0 : m_shootersIn(origin.name);
    if (shooters > 0
        && Dialogs::current().question(
               QStringLiteral("Klassen"),
               QStringLiteral("In der Klasse „%1“ sind %2 Schützen. Klasse trotzdem löschen?\n"
                              "Die Schützen sind danach in keiner Klasse.")
                   .arg(origin.name)
                   .arg(shooters),
               Dialogs::Icon::Question)
               != Dialogs::Answer::Yes)
        return;
    grdKlassen->removeRow(row);
    m_origins.erase(m_origins.begin() + row);
}

void frmKlassen::cmdHoch_Click()
{
    moveCurrent(-1);
}

void frmKlassen::cmdRunter_Click()
{
    moveCurrent(1);
}

void frmKlassen::moveCurrent(int by)
{
    const int row = grdKlassen->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= grdKlassen->rowCount())
        return;
    std::vector<ClassDef> list = classes();
    std::swap(list[size_t(row)], list[size_t(to)]);
    std::vector<Origin> origins = m_origins;
    std::swap(origins[size_t(row)], origins[size_t(to)]);
    grdKlassen->setRowCount(0);
    m_origins.clear();
    for (const ClassDef &def : list)
        addRow(def);
    m_origins = origins;
    grdKlassen->setCurrentCell(to, NameColumn);
}

QString frmKlassen::fault(int &row, int &column) const
{
    QStringList seen;
    for (row = 0; row < grdKlassen->rowCount(); ++row) {
        const QString name = grdKlassen->item(row, NameColumn)->text().trimmed();
        column = NameColumn;
        if (name.isEmpty())
            return QStringLiteral("Jede Klasse braucht einen Namen.");
        if (seen.contains(name, Qt::CaseInsensitive))
            return QStringLiteral("Die Klasse „%1“ steht zweimal in der Liste.").arg(name);
        seen << name;
        std::optional<int> years[2];
        for (const int c : {FromColumn, ToColumn}) {
            column = c;
            const QString typed = grdKlassen->item(row, c)->text().trimmed();
            if (!readYear(typed, years[c - FromColumn]))
                return QStringLiteral("„%1“ ist kein Jahrgang: bitte ein Jahr von 1900 bis 2100 eingeben oder das "
                                      "Feld leer lassen.")
                    .arg(typed);
        }
        if (years[0] && years[1] && *years[0] > *years[1])
            return QStringLiteral("Bei der Klasse „%1“ liegt der erste Jahrgang nach dem letzten.").arg(name);
    }
    return QString();
}

// A fault keeps the dialog open on the cell that holds it; nothing typed is lost.
void frmKlassen::cmdOK_Click()
{
    int row = 0;
    int column = 0;
    const QString text = fault(row, column);
    if (!text.isEmpty()) {
        Dialogs::current().message(QStringLiteral("Klassen"), text, Dialogs::Icon::Exclamation);
        grdKlassen->setCurrentCell(row, column);
        return;
    }
    accept();
}
