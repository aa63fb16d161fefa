#include "certificates/frmUrkunden.h"

#include "certificates/CertificatePages.h"
#include "certificates/CertificatePrinter.h"
#include "certificates/CertificateView.h"
#include "store/Dialogs.h"
#include "store/ErrorProtocol.h"
#include "store/FileKind.h"
#include "store/RingtalError.h"
#include "widgets/FormTools.h"
#include "widgets/UiDialogs.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString LayoutFilter = QStringLiteral("Urkundenvorlagen (*.urk)|*.urk|Alle Dateien (*.*)|*.*");
// Far above a layout with a large logo; a bigger file is something else.
constexpr qint64 LargestLayoutFile = 20 * 1024 * 1024;

QByteArray readLayoutFile(const QString &path)
{
    if (!FileKind::isRegular(path))
        throw FileKind::notRegular(path);
    QFile file(path);
    if (file.size() > LargestLayoutFile)
        throw RingtalError(ErrorNumber::InvalidFileFormat,
                           QStringLiteral("Die Datei ist mit %1 MB zu groß für eine Urkundenvorlage.")
                                   .arg(file.size() / (1024 * 1024)));
    if (!file.open(QIODevice::ReadOnly))
        throw RingtalError(ErrorNumber::PathFileAccess, file.errorString());
    return file.readAll();
}

// Layouts and logos are the user's own files, not the program's.
QString layoutFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return (QDir(documents).exists() ? documents : QDir::homePath()) + QLatin1Char('/');
}

void writeLayoutFile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw RingtalError(ErrorNumber::PathFileAccess,
                           QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2").arg(path, file.errorString()));
}

} // namespace

frmUrkunden::frmUrkunden(Source source, QWidget *parent)
    : QDialog(parent)
    , m_source(std::move(source))
{
    setObjectName(QStringLiteral("frmUrkunden"));
    setWindowTitle(QStringLiteral("Urkunden"));
    auto *left = new QWidget(this);
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(createSelection());
    column->addWidget(createLineTable(), 1);
    column->addWidget(createPicture());
    picVorschau = new CertificateView(this);
    auto *splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(picVorschau);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({680, 420});
    lblMeldung = new QLabel(this);
    lblMeldung->setObjectName(QStringLiteral("lblMeldung"));
    lblMeldung->setWordWrap(true);
    QPalette red = lblMeldung->palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    lblMeldung->setPalette(red);
    auto *main = new QVBoxLayout(this);
    main->addWidget(splitter, 1);
    main->addWidget(lblMeldung);
    main->addWidget(createButtons());
    resize(1100, 700);
    m_certificates = m_source ? m_source(true, false, spnPlaetze->value()) : std::vector<Certificate>();
    showLayout(CertificateLayout::stored());
    CenterForm(this);
}

frmUrkunden::~frmUrkunden() = default;

QWidget *frmUrkunden::createSelection()
{
    auto *box = new QGroupBox(QStringLiteral("Auswahl"), this);
    auto *row = new QHBoxLayout(box);
    chkSchuetzen = new QCheckBox(QStringLiteral("Schützen"), box);
    chkSchuetzen->setObjectName(QStringLiteral("chkSchuetzen"));
    chkSchuetzen->setChecked(true);
    chkMannschaften = new QCheckBox(QStringLiteral("Mannschaften"), box);
    chkMannschaften->setObjectName(QStringLiteral("chkMannschaften"));
    spnPlaetze = new QSpinBox(box);
    spnPlaetze->setObjectName(QStringLiteral("spnPlaetze"));
    spnPlaetze->setRange(1, 999);
    spnPlaetze->setValue(3);
    lblAnzahl = new QLabel(box);
    lblAnzahl->setObjectName(QStringLiteral("lblAnzahl"));
    row->addWidget(chkSchuetzen);
    row->addWidget(chkMannschaften);
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("Plätze 1 bis"), box));
    row->addWidget(spnPlaetze);
    row->addWidget(new QLabel(QStringLiteral("je Klasse"), box));
    row->addSpacing(16);
    row->addWidget(lblAnzahl, 1);
    connect(chkSchuetzen, &QCheckBox::toggled, this, &frmUrkunden::selectionChanged);
    connect(chkMannschaften, &QCheckBox::toggled, this, &frmUrkunden::selectionChanged);
    connect(spnPlaetze, QOverload<int>::of(&QSpinBox::valueChanged), this, &frmUrkunden::selectionChanged);
    return box;
}

QWidget *frmUrkunden::createButtons()
{
    auto *strip = new QWidget(this);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    const auto addButton = [&](const char *name, const QString &text, auto slot) {
        auto *button = new QPushButton(text, strip);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        row->addWidget(button);
        return button;
    };
    addButton("cmdVorlageLaden", QStringLiteral("Vorlage laden..."), &frmUrkunden::cmdVorlageLaden_Click);
    addButton("cmdVorlageSpeichern", QStringLiteral("Vorlage speichern..."), &frmUrkunden::cmdVorlageSpeichern_Click);
    addButton("cmdStandardvorlage", QStringLiteral("Standardvorlage"), &frmUrkunden::cmdStandardvorlage_Click);
    row->addStretch();
    cmdVorschau = addButton("cmdVorschau", QStringLiteral("Vorschau"), &frmUrkunden::cmdVorschau_Click);
    cmdDrucken = addButton("cmdDrucken", QStringLiteral("Drucken"), &frmUrkunden::cmdDrucken_Click);
    addButton("cmdSchliessen", QStringLiteral("Schließen"), &QDialog::accept);
    return strip;
}

QString frmUrkunden::message() const
{
    return lblMeldung->text();
}

void frmUrkunden::selectionChanged()
{
    m_certificates = m_source ? m_source(chkSchuetzen->isChecked(), chkMannschaften->isChecked(), spnPlaetze->value())
                              : std::vector<Certificate>();
    recheck();
}

void frmUrkunden::controlsChanged()
{
    if (m_showing)
        return;
    CertificateLayout read = m_layout;
    m_inputProblem = readControls(read);
    m_layout = read;
    lblBild->setText(m_layout.picture.isEmpty() ? QStringLiteral("(kein Bild)") : m_layout.picture.name);
    recheck();
}

// Every certificate of the selection is checked, not only the one shown:
// the longest name decides whether a line fits.
void frmUrkunden::recheck()
{
    CertificatePages::setUpPrinter(m_printer, m_layout);
    const bool none = m_certificates.empty();
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    m_pages = std::make_shared<CertificatePages>(
            m_layout, none ? std::vector<Certificate>{CertificateFields::sample(today)} : m_certificates, &m_printer);
    std::optional<QString> problem = m_inputProblem ? m_inputProblem : m_pages->problem();
    if (!problem && none)
        problem = QStringLiteral("Für diese Auswahl gibt es keine Urkunde; die Vorschau zeigt Beispielwerte.");
    lblMeldung->setText(problem.value_or(QString()));
    lblAnzahl->setText(none ? QStringLiteral("keine Urkunde")
                            : m_certificates.size() == 1 ? QStringLiteral("1 Urkunde")
                                                         : QStringLiteral("%1 Urkunden").arg(m_certificates.size()));
    picVorschau->setPages(m_pages);
}

bool frmUrkunden::readyToPrint()
{
    recheck();
    if (message().isEmpty())
        return true;
    Dialogs::current().message(QStringLiteral("Urkunden"), message(), Dialogs::Icon::Exclamation);
    return false;
}

void frmUrkunden::cmdVorschau_Click()
{
    if (!readyToPrint())
        return;
    CertificatePrinter::preview(m_layout, m_certificates, this);
}

void frmUrkunden::cmdDrucken_Click()
{
    if (!readyToPrint())
        return;
    m_layout.store();
    try {
        CertificatePrinter::print(m_layout, m_certificates);
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Urkunden wurden nicht gedruckt."));
    }
}

void frmUrkunden::cmdVorlageSpeichern_Click()
{
    if (m_inputProblem) {
        Dialogs::current().message(QStringLiteral("Vorlage speichern"), *m_inputProblem, Dialogs::Icon::Exclamation);
        return;
    }
    UiDialogs::FileRequest request;
    request.title = QStringLiteral("Vorlage speichern");
    request.folder = layoutFolder();
    request.fileName = QStringLiteral("Urkunde.urk");
    request.filter = LayoutFilter;
    request.defaultSuffix = QStringLiteral("urk");
    request.confirmOverwrite = true;
    const QString path = UiDialogs::current().saveFileName(request);
    if (path.isEmpty())
        return;
    try {
        writeLayoutFile(path, m_layout.toText());
    } catch (const std::exception &failure) {
        reportFailure(failure, QStringLiteral("Die Vorlage wurde nicht gespeichert."));
    }
}

void frmUrkunden::cmdVorlageLaden_Click()
{
    UiDialogs::FileRequest request;
    request.title = QStringLiteral("Vorlage laden");
    request.folder = layoutFolder();
    request.filter = LayoutFilter;
    request.defaultSuffix = QStringLiteral("urk");
    request.mustExist = true;
    const QString path = UiDialogs::current().openFileName(request);
    if (path.isEmpty())
        return;
    try {
        showLayout(CertificateLayout::fromText(readLayoutFile(path)));
    } catch (const RingtalError &failure) {
        Dialogs::current().message(QStringLiteral("Vorlage laden"),
                                   QStringLiteral("Die Vorlage „%1“ kann nicht geladen werden; die bisherige bleibt.\n%2")
                                           .arg(path, failure.description()),
                                   Dialogs::Icon::Exclamation);
    }
}

void frmUrkunden::cmdStandardvorlage_Click()
{
    if (Dialogs::current().question(QStringLiteral("Standardvorlage"),
                                    QStringLiteral("Soll die Vorlage durch die Standardvorlage ersetzt werden? "
                                                   "Die jetzige Vorlage geht dabei verloren."),
                                    Dialogs::Icon::Question)
        == Dialogs::Answer::Yes)
        showLayout(CertificateLayout::standard());
}

// However the dialog closes, the layout stays the user's for the next time.
void frmUrkunden::done(int result)
{
    m_layout.store();
    QDialog::done(result);
}
