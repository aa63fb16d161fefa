// The layout's half of the certificates dialog: the table of lines, the
// picture and the paper, read into a layout and shown from one.
#include "certificates/frmUrkunden.h"

#include "store/FileKind.h"
#include "store/Dialogs.h"
#include "store/Numbers.h"
#include "widgets/UiDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Text, Family, Size, Bold, Italic, Align, Top, Left, Right, ColumnCount };

const char *const Headings[] = {"Text", "Schrift", "Größe (pt)", "Fett", "Kursiv", "Ausrichtung",
                                "Oben (mm)", "Links (mm)", "Rechts (mm)"};
const QStringList AlignTexts{QStringLiteral("links"), QStringLiteral("zentriert"), QStringLiteral("rechts")};
const QString PictureFilter =
        QStringLiteral("Bilder (*.png;*.jpg;*.jpeg;*.svg)|*.png;*.jpg;*.jpeg;*.svg|Alle Dateien (*.*)|*.*");
// A logo travels inside every layout file and settings entry.
constexpr qint64 LargestPicture = 10 * 1024 * 1024;

QString number(double value)
{
    return Numbers::numberText(value);
}

// A length typed with a decimal comma; the message names where it was typed.
std::optional<double> readLength(const QString &typed, const QString &where, std::optional<QString> &problem)
{
    const std::optional<double> value = Numbers::parseLocale(typed);
    if (value && *value >= 0 && *value <= 1000)
        return value;
    if (!problem)
        problem = QStringLiteral("%1: „%2“ ist keine Länge in mm von 0 bis 1000.").arg(where, typed);
    return std::nullopt;
}

QTableWidgetItem *checkItem(bool checked)
{
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

QWidget *frmUrkunden::createLineTable()
{
    auto *box = new QGroupBox(QStringLiteral("Zeilen der Urkunde"), this);
    auto *layout = new QVBoxLayout(box);
    grdZeilen = new QTableWidget(0, ColumnCount, box);
    grdZeilen->setObjectName(QStringLiteral("grdZeilen"));
    QStringList headings;
    for (const char *heading : Headings)
        headings << QString::fromUtf8(heading);
    grdZeilen->setHorizontalHeaderLabels(headings);
    grdZeilen->horizontalHeader()->setSectionResizeMode(Text, QHeaderView::Stretch);
    grdZeilen->setSelectionMode(QAbstractItemView::SingleSelection);
    const int widths[] = {0, 150, 75, 40, 50, 95, 75, 75, 80};
    for (int column = Family; column < ColumnCount; ++column)
        grdZeilen->setColumnWidth(column, widths[column]);
    connect(grdZeilen, &QTableWidget::itemChanged, this, [this] { controlsChanged(); });
    layout->addWidget(grdZeilen);
    auto *buttons = new QHBoxLayout;
    const auto addButton = [&](const char *name, const QString &text, auto slot) {
        auto *button = new QPushButton(text, box);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    };
    addButton("cmdZeileNeu", QStringLiteral("Zeile hinzufügen"), [this] { insertLine(); });
    addButton("cmdZeileLoeschen", QStringLiteral("Zeile entfernen"), [this] { removeLine(); });
    addButton("cmdZeileHoch", QStringLiteral("Nach oben"), [this] { moveLine(-1); });
    addButton("cmdZeileRunter", QStringLiteral("Nach unten"), [this] { moveLine(1); });
    buttons->addStretch();
    layout->addLayout(buttons);
    return box;
}

QWidget *frmUrkunden::createPicture()
{
    auto *box = new QGroupBox(QStringLiteral("Bild und Papier"), this);
    auto *grid = new QGridLayout(box);
    lblBild = new QLabel(box);
    lblBild->setObjectName(QStringLiteral("lblBild"));
    auto *choose = new QPushButton(QStringLiteral("Bild wählen..."), box);
    choose->setObjectName(QStringLiteral("cmdBild"));
    auto *remove = new QPushButton(QStringLiteral("Bild entfernen"), box);
    remove->setObjectName(QStringLiteral("cmdBildEntfernen"));
    for (QPushButton *button : {choose, remove})
        button->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &frmUrkunden::cmdBild_Click);
    connect(remove, &QPushButton::clicked, this, [this] {
        m_layout.picture.bytes.clear();
        m_layout.picture.name.clear();
        controlsChanged();
    });
    grid->addWidget(new QLabel(QStringLiteral("Bild:"), box), 0, 0);
    grid->addWidget(lblBild, 0, 1, 1, 5);
    grid->addWidget(choose, 0, 6);
    grid->addWidget(remove, 0, 7);
    const auto addLength = [&](const char *name, const QString &caption, int column) {
        auto *edit = new QLineEdit(box);
        edit->setObjectName(QLatin1String(name));
        edit->setMaximumWidth(70);
        connect(edit, &QLineEdit::textEdited, this, [this] { controlsChanged(); });
        grid->addWidget(new QLabel(caption, box), 1, column);
        grid->addWidget(edit, 1, column + 1);
        return edit;
    };
    txtBildLinks = addLength("txtBildLinks", QStringLiteral("Links (mm):"), 0);
    txtBildOben = addLength("txtBildOben", QStringLiteral("Oben (mm):"), 2);
    txtBildBreite = addLength("txtBildBreite", QStringLiteral("Breite (mm):"), 4);
    txtBildHoehe = addLength("txtBildHoehe", QStringLiteral("Höhe (mm):"), 6);
    cboPapier = new QComboBox(box);
    cboPapier->setObjectName(QStringLiteral("cboPapier"));
    cboPapier->addItems({QStringLiteral("A4"), QStringLiteral("A5")});
    cboFormat = new QComboBox(box);
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    cboFormat->addItems({QStringLiteral("Hochformat"), QStringLiteral("Querformat")});
    for (QComboBox *combo : {cboPapier, cboFormat})
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { controlsChanged(); });
    grid->addWidget(new QLabel(QStringLiteral("Papier:"), box), 2, 0);
    grid->addWidget(cboPapier, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Format:"), box), 2, 2);
    grid->addWidget(cboFormat, 2, 3, 1, 2);
    grid->setColumnStretch(8, 1);
    return box;
}

frmUrkunden::RowTexts frmUrkunden::textsOf(const CertificateLine &line)
{
    return {line.text,         line.family,        number(line.pointSize), line.bold,          line.italic,
            int(line.align),   number(line.topMm), number(line.leftMm),    number(line.rightMm)};
}

void frmUrkunden::addRow(const RowTexts &texts)
{
    const int row = grdZeilen->rowCount();
    grdZeilen->insertRow(row);
    auto *family = new QFontComboBox(grdZeilen);
    family->setObjectName(QStringLiteral("cboSchrift"));
    family->setEditable(false);
    grdZeilen->setCellWidget(row, Family, family);
    auto *align = new QComboBox(grdZeilen);
    align->setObjectName(QStringLiteral("cboAusrichtung"));
    align->addItems(AlignTexts);
    grdZeilen->setCellWidget(row, Align, align);
    setRowTexts(row, texts);
    connect(family, &QFontComboBox::currentFontChanged, this, [this] { controlsChanged(); });
    connect(align, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { controlsChanged(); });
}

void frmUrkunden::setRowTexts(int row, const RowTexts &texts)
{
    const bool showing = std::exchange(m_showing, true);
    grdZeilen->setItem(row, Text, new QTableWidgetItem(texts.text));
    grdZeilen->setItem(row, Size, new QTableWidgetItem(texts.size));
    grdZeilen->setItem(row, Bold, checkItem(texts.bold));
    grdZeilen->setItem(row, Italic, checkItem(texts.italic));
    grdZeilen->setItem(row, Top, new QTableWidgetItem(texts.top));
    grdZeilen->setItem(row, Left, new QTableWidgetItem(texts.left));
    grdZeilen->setItem(row, Right, new QTableWidgetItem(texts.right));
    auto *family = qobject_cast<QFontComboBox *>(grdZeilen->cellWidget(row, Family));
    family->setCurrentFont(QFont(texts.family));
    // A font this machine lacks stays the layout's: another club's PC may have it.
    if (family->currentText() != texts.family) {
        family->addItem(texts.family);
        family->setCurrentIndex(family->count() - 1);
    }
    qobject_cast<QComboBox *>(grdZeilen->cellWidget(row, Align))->setCurrentIndex(texts.align);
    m_showing = showing;
}

frmUrkunden::RowTexts frmUrkunden::rowTexts(int row) const
{
    const auto text = [&](int column) { return grdZeilen->item(row, column) ? grdZeilen->item(row, column)->text() : QString(); };
    const auto checked = [&](int column) {
        return grdZeilen->item(row, column) && grdZeilen->item(row, column)->checkState() == Qt::Checked;
    };
    return {text(Text),
            qobject_cast<QComboBox *>(grdZeilen->cellWidget(row, Family))->currentText(),
            text(Size),
            checked(Bold),
            checked(Italic),
            qobject_cast<QComboBox *>(grdZeilen->cellWidget(row, Align))->currentIndex(),
            text(Top),
            text(Left),
            text(Right)};
}

void frmUrkunden::insertLine()
{
    CertificateLine line;
    line.text = QStringLiteral("{Name}");
    const int after = grdZeilen->currentRow() >= 0 ? grdZeilen->currentRow() : grdZeilen->rowCount() - 1;
    if (after >= 0 && after < int(m_layout.lines.size()))
        line.topMm = m_layout.lines[size_t(after)].topMm + 15;
    addRow(textsOf(line));
    // Texts move down one row from the chosen line on, so that the new line stands below it.
    for (int row = grdZeilen->rowCount() - 1; row > after + 1; --row) {
        const RowTexts above = rowTexts(row - 1);
        setRowTexts(row - 1, rowTexts(row));
        setRowTexts(row, above);
    }
    grdZeilen->setCurrentCell(after + 1, Text);
    controlsChanged();
}

void frmUrkunden::removeLine()
{
    const int row = grdZeilen->currentRow();
    if (row < 0)
        return;
    grdZeilen->removeRow(row);
    controlsChanged();
}

void frmUrkunden::moveLine(int by)
{
    const int row = grdZeilen->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= grdZeilen->rowCount())
        return;
    const RowTexts moved = rowTexts(row);
    setRowTexts(row, rowTexts(to));
    setRowTexts(to, moved);
    grdZeilen->setCurrentCell(to, grdZeilen->currentColumn());
    controlsChanged();
}

void frmUrkunden::showLayout(const CertificateLayout &layout)
{
    const bool showing = std::exchange(m_showing, true);
    m_layout = layout;
    grdZeilen->setRowCount(0);
    for (const CertificateLine &line : layout.lines)
        addRow(textsOf(line));
    txtBildLinks->setText(number(layout.picture.leftMm));
    txtBildOben->setText(number(layout.picture.topMm));
    txtBildBreite->setText(number(layout.picture.widthMm));
    txtBildHoehe->setText(number(layout.picture.heightMm));
    cboPapier->setCurrentIndex(layout.paper == CertificateLayout::Paper::A4 ? 0 : 1);
    cboFormat->setCurrentIndex(layout.landscape ? 1 : 0);
    m_showing = showing;
    controlsChanged();
}

// What cannot be read keeps the layout's last value and is said; the typed
// text stays in its control, so nothing typed is lost.
std::optional<QString> frmUrkunden::readControls(CertificateLayout &layout) const
{
    std::optional<QString> problem;
    layout.lines.clear();
    for (int row = 0; row < grdZeilen->rowCount(); ++row) {
        const RowTexts texts = rowTexts(row);
        const QString where = QStringLiteral("Zeile %1").arg(row + 1);
        CertificateLine line = row < int(m_layout.lines.size()) ? m_layout.lines[size_t(row)] : CertificateLine();
        line.text = texts.text;
        line.family = texts.family;
        line.bold = texts.bold;
        line.italic = texts.italic;
        line.align = CertificateLine::Align(std::clamp(texts.align, 0, 2));
        const std::optional<double> size = Numbers::parseLocale(texts.size);
        if (size && *size >= 1 && *size <= 500)
            line.pointSize = *size;
        else if (!problem)
            problem = QStringLiteral("%1: „%2“ ist keine Schriftgröße von 1 bis 500 pt.").arg(where, texts.size);
        line.topMm = readLength(texts.top, where + QStringLiteral(", oben"), problem).value_or(line.topMm);
        line.leftMm = readLength(texts.left, where + QStringLiteral(", links"), problem).value_or(line.leftMm);
        line.rightMm = readLength(texts.right, where + QStringLiteral(", rechts"), problem).value_or(line.rightMm);
        layout.lines.push_back(line);
    }
    CertificatePicture &picture = layout.picture;
    picture.leftMm = readLength(txtBildLinks->text(), QStringLiteral("Bild, links"), problem).value_or(picture.leftMm);
    picture.topMm = readLength(txtBildOben->text(), QStringLiteral("Bild, oben"), problem).value_or(picture.topMm);
    picture.widthMm = readLength(txtBildBreite->text(), QStringLiteral("Bild, Breite"), problem).value_or(picture.widthMm);
    picture.heightMm = readLength(txtBildHoehe->text(), QStringLiteral("Bild, Höhe"), problem).value_or(picture.heightMm);
    layout.paper = cboPapier->currentIndex() == 1 ? CertificateLayout::Paper::A5 : CertificateLayout::Paper::A4;
    layout.landscape = cboFormat->currentIndex() == 1;
    return problem;
}

void frmUrkunden::cmdBild_Click()
{
    UiDialogs::FileRequest request;
    request.title = QStringLiteral("Bild für die Urkunde");
    request.folder = QDir::homePath() + QLatin1Char('/');
    request.filter = PictureFilter;
    request.mustExist = true;
    const QString path = UiDialogs::current().openFileName(request);
    if (path.isEmpty())
        return;
    QFile file(path);
    QString why;
    if (!FileKind::isRegular(path))
        why = FileKind::notRegular(path).description();
    else if (file.size() > LargestPicture)
        why = QStringLiteral("Das Bild ist größer als 10 MB.");
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    if (!why.isEmpty()) {
        Dialogs::current().message(QStringLiteral("Bild"),
                                   QStringLiteral("Das Bild „%1“ kann nicht gelesen werden.\n%2").arg(path, why),
                                   Dialogs::Icon::Exclamation);
        return;
    }
    // Kept even when it is no picture: the message line says so until another is chosen.
    m_layout.picture.bytes = file.readAll();
    m_layout.picture.name = QFileInfo(path).fileName();
    controlsChanged();
}
