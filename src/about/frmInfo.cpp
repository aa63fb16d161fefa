#include "about/frmInfo.h"

#include "widgets/AppIcons.h"
#include "widgets/FormTools.h"
#include "widgets/Twips.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {

constexpr double ClientWidth = 6840;
constexpr double ClientHeight = 3750;
constexpr int MailEntry = 4;
constexpr int WebEntry = 5;
constexpr int SecondWebEntry = 12;

enum class Style { Regular, Bold, Link };

struct Entry
{
    int index;
    const char *text;
    double left, top, width, height;
    Style style;
};

// The contact data is illustrative: reserved example domains and placeholder names.
const Entry Entries[] = {
        {9, "Entwicklung:", 180, 360, 2835, 315, Style::Bold},
        {0, "Velmor-Software GmbH", 2430, 360, 2835, 315, Style::Bold},
        {1, "Musterstraße 1", 2430, 585, 2835, 315, Style::Regular},
        {2, "99999 Musterstadt", 2430, 855, 2655, 315, Style::Regular},
        {3, "Tel: 0123 456789", 2430, 1215, 2835, 225, Style::Regular},
        {8, "Fax: 0123 456780", 2430, 1440, 2565, 225, Style::Regular},
        {7, "Email:", 2430, 1710, 525, 225, Style::Regular},
        {4, "info@velmor.example", 3105, 1710, 2190, 225, Style::Link},
        {6, "Internet:", 2430, 1935, 615, 225, Style::Regular},
        {5, "www.velmor.example", 3105, 1935, 1830, 225, Style::Link},
        {11, "Idee:", 180, 2430, 1800, 315, Style::Bold},
        {10, "Max Mustermann", 2430, 2475, 2835, 315, Style::Bold},
        {12, "www.ringtal.example", 2430, 2700, 1830, 225, Style::Link},
};

frmInfo::UrlOpener &installedOpener()
{
    static frmInfo::UrlOpener opener;
    return opener;
}

QFont entryFont(Style style)
{
    QFont font = designFont(8.25, style == Style::Bold);
    font.setUnderline(style == Style::Link);
    return font;
}

// The designed widths were made for the narrower Windows face; where the
// face standing in for it would cut a text, the text is set a little
// narrower instead, so that every entry keeps its designed place.
void fitToWidth(QLabel *label)
{
    QFont font = label->font();
    for (int stretch = 99; stretch >= 75; --stretch) {
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= label->width())
            break;
        font.setStretch(stretch);
    }
    label->setFont(font);
}

} // namespace

frmInfo::frmInfo(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Ringtal Info"));
    setFont(entryFont(Style::Regular));
    createLabels();
    createCloseButton();
    setFixedSize(px(this, ClientWidth), px(this, ClientHeight));
    Form_Load();
}


QLabel *frmInfo::label(int index) const
{
    return index >= 0 && index < int(Label2.size()) ? Label2.at(size_t(index)) : nullptr;
}

void frmInfo::setUrlOpener(UrlOpener opener)
{
    installedOpener() = std::move(opener);
}

void frmInfo::createLabels()
{
    for (const Entry &entry : Entries) {
        auto *label = new QLabel(QString::fromUtf8(entry.text), this);
        label->setObjectName(QStringLiteral("Label2_%1").arg(entry.index));
        label->setGeometry(px(this, entry.left), px(this, entry.top), px(this, entry.width), px(this, entry.height));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(entryFont(entry.style));
        fitToWidth(label);
        if (entry.style == Style::Link) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
            label->setPalette(palette);
            // Users know links by the hand; the e-mail entry is designed with it.
            label->setCursor(AppIcons::handCursor());
        }
        label->installEventFilter(this);
        Label2[size_t(entry.index)] = label;
    }
}

void frmInfo::createCloseButton()
{
    cmdClose = new QPushButton(QStringLiteral("Schließen"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(px(this, 5445), px(this, 3105), px(this, 1230), px(this, 420));
    cmdClose->setDefault(true);
    cmdClose->setFocus();
    connect(cmdClose, &QPushButton::clicked, this, &frmInfo::cmdClose_Click);
}

void frmInfo::Form_Load()
{
    CenterForm(this);
}

void frmInfo::cmdClose_Click()
{
    accept();
}

// A click is a press and a release of the left button on the same entry.
bool frmInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *release = static_cast<QMouseEvent *>(event);
        auto *clicked = qobject_cast<QLabel *>(watched);
        if (clicked && release->button() == Qt::LeftButton && clicked->rect().contains(release->position().toPoint())) {
            for (size_t i = 0; i < Label2.size(); ++i) {
                if (Label2[i] == clicked)
                    Label2_Click(int(i));
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmInfo::Label2_Click(int Index)
{
    if (Index == WebEntry)
        openLink(Label2[WebEntry]->text().trimmed());
    if (Index == MailEntry)
        openLink(QStringLiteral("mailto:") + Label2[MailEntry]->text().trimmed());
    if (Index == SecondWebEntry)
        openLink(Label2[SecondWebEntry]->text().trimmed());
}

// A web address without a scheme is opened as a web address. Whether the
// desktop could open the link is not reported: the dialog simply stays.
void frmInfo::openLink(const QString &text)
{
    const QUrl url = QUrl::fromUserInput(text);
    if (installedOpener())
        installedOpener()(url);
    else
        QDesktopServices::openUrl(url);
}
