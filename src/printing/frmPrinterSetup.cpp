#include "printing/frmPrinterSetup.h"

#include "settings/SettingsStore.h"
#include "store/tempModule.h"
#include "widgets/FormTools.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString Section = QStringLiteral("Printer");
const QString DefaultMargin = QStringLiteral("1000");
const QString FitKey = QStringLiteral("Spaltenanpassung");
const QString ClassPageKey = QStringLiteral("Klassenumbruch");
// The designed client area, widened for the units beside the margins and
// deepened for the check boxes below them.
constexpr double ClientWidth = 4785;
constexpr double ClientHeight = 3990;

void place(QWidget *widget, const char *name, const Placement &p)
{
    widget->setObjectName(QLatin1String(name));
    place(widget, p);
}

} // namespace

frmPrinterSetup::frmPrinterSetup(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPrinterSetup"));
    setWindowTitle(QStringLiteral("Drucker-Einstellungen"));
    setFont(designFont(8.25));
    createControls();
    setTabOrder();
    setFixedSize(px(this, ClientWidth), px(this, ClientHeight));
    Form_Load();
}

void frmPrinterSetup::createControls()
{
    Frame1 = new QGroupBox(QStringLiteral("Ausrichtung"), this);
    place(Frame1, "Frame1", {135, 135, 4515, 915});
    Option1[0] = new QRadioButton(QStringLiteral("Querformat"), Frame1);
    place(Option1[0], "Option1_0", {180, 315, 1365, 375});
    Option1[1] = new QRadioButton(QStringLiteral("Hochformat"), Frame1);
    place(Option1[1], "Option1_1", {1575, 315, 1365, 375});
    Frame2 = new QGroupBox(QStringLiteral("Ränder:"), this);
    place(Frame2, "Frame2", {135, 1170, 4515, 1275});
    createMarginControls();
    chkSpaltenbreiten = new QCheckBox(QStringLiteral("Spaltenbreiten an den Inhalt anpassen"), this);
    place(chkSpaltenbreiten, "chkSpaltenbreiten", {225, 2535, 4425, 330});
    chkKlassenumbruch = new QCheckBox(QStringLiteral("Jede Klasse auf neuer Seite"), this);
    place(chkKlassenumbruch, "chkKlassenumbruch", {225, 2910, 4425, 330});
    cmdCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    place(cmdCancel, "cmdCancel", {3510, 3435, 1140, 330});
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    place(cmdOK, "cmdOK", {2205, 3435, 1140, 330});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmPrinterSetup::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrinterSetup::cmdCancel_Click);
}

// Labels, boxes and units in two columns: Links and Rechts at the left, Oben and Unten at the right.
void frmPrinterSetup::createMarginControls()
{
    const std::array<const char *, 4> names{"Label1_0", "Label1_1", "Label1_2", "Label1_3"};
    const std::array<QString, 4> captions{QStringLiteral("Links:"), QStringLiteral("Rechts:"), QStringLiteral("Oben:"),
                                          QStringLiteral("Unten:")};
    const std::array<Placement, 4> labelPlaces{
            Placement{225, 360, 600, 330}, {225, 765, 600, 330}, {2475, 315, 600, 330}, {2430, 720, 600, 330}};
    const std::array<const char *, 4> boxNames{"txtLinks", "txtRechts", "txtOben", "txtUnten"};
    const std::array<Placement, 4> boxPlaces{
            Placement{945, 270, 825, 330}, {945, 675, 825, 330}, {3015, 270, 825, 330}, {3015, 675, 825, 330}};
    const std::array<const char *, 4> unitNames{"lblEinheit_0", "lblEinheit_1", "lblEinheit_2", "lblEinheit_3"};
    const std::array<QLineEdit **, 4> boxes{&txtLinks, &txtRechts, &txtOben, &txtUnten};
    for (size_t i = 0; i < Label1.size(); ++i) {
        Label1[i] = new QLabel(captions[i], Frame2);
        place(Label1[i], names[i], labelPlaces[i]);
        // The designed label boxes start lower than their text boxes and
        // carry the text at their top; so the caption lines up with the box.
        Label1[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        *boxes[i] = new QLineEdit(Frame2);
        place(*boxes[i], boxNames[i], boxPlaces[i]);
        // The print reads the margins as twips, the unit of every stored length.
        lblEinheit[i] = new QLabel(QStringLiteral("Twips"), Frame2);
        const Placement &box = boxPlaces[i];
        place(lblEinheit[i], unitNames[i], {box.left + box.width + 60, box.top, 540, box.height});
        lblEinheit[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        lblEinheit[i]->setToolTip(QStringLiteral("567 Twips sind etwa 1 cm, 1440 Twips sind 1 Zoll."));
    }
}

void frmPrinterSetup::setTabOrder()
{
    const QList<QWidget *> order{Option1[0], Option1[1],        txtLinks,  txtRechts, txtOben,
                                 txtUnten,   chkSpaltenbreiten, chkKlassenumbruch, cmdCancel, cmdOK};
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order.at(i), order.at(i + 1));
}

void frmPrinterSetup::Form_Load()
{
    CenterForm(this);
    // A text that is no number reads as 0 and so opens in portrait, as any number but 2 does.
    const double format = ParseDecimal(SettingsStore::read(Section, QStringLiteral("Format"), QStringLiteral("2")));
    Option1[format == 2 ? 0 : 1]->setChecked(true);
    txtLinks->setText(SettingsStore::read(Section, QStringLiteral("Links"), DefaultMargin));
    txtRechts->setText(SettingsStore::read(Section, QStringLiteral("Rechts"), DefaultMargin));
    txtOben->setText(SettingsStore::read(Section, QStringLiteral("Oben"), DefaultMargin));
    txtUnten->setText(SettingsStore::read(Section, QStringLiteral("Unten"), DefaultMargin));
    // Off unless stored: printing stays with the grid's widths, as before the setting existed.
    chkSpaltenbreiten->setChecked(ParseDecimal(SettingsStore::read(Section, FitKey, QStringLiteral("0"))) != 0);
    chkKlassenumbruch->setChecked(ParseDecimal(SettingsStore::read(Section, ClassPageKey, QStringLiteral("0"))) != 0);
}

void frmPrinterSetup::cmdOK_Click()
{
    SettingsStore::write(Section, QStringLiteral("Format"),
                         Option1[0]->isChecked() ? QStringLiteral("2") : QStringLiteral("1"));
    SettingsStore::write(Section, QStringLiteral("Links"), txtLinks->text());
    SettingsStore::write(Section, QStringLiteral("Rechts"), txtRechts->text());
    SettingsStore::write(Section, QStringLiteral("Oben"), txtOben->text());
    SettingsStore::write(Section, QStringLiteral("Unten"), txtUnten->text());
    SettingsStore::write(Section, FitKey, chkSpaltenbreiten->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
    SettingsStore::write(Section, ClassPageKey, chkKlassenumbruch->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
    accept();
}

// Users expect Abbrechen to close without storing, as the window frame does.
void frmPrinterSetup::cmdCancel_Click()
{
    reject();
}
