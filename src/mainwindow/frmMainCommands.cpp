// How the main window's menus and toolbar reach their commands, and the about dialog.
#include "mainwindow/frmMain.h"

#include "about/frmInfo.h"
#include "widgets/AppIcons.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// Buttons are 23 × 22 pixels and show a 16-pixel picture; the strip is 360 twips high.
constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 22;
constexpr int ImageSize = 16;
constexpr double ToolbarHeight = 360;

using Handler = void (frmMain::*)();

// The toolbar, button by button: position, key (what a click is told by),
// tooltip, picture of the image list, command. A position without a picture
// is a separator; a button without a tooltip gets no text either, since a
// text would show as its tooltip. Keys are compared exactly, case distinguished.
struct ToolbarButton
{
    int position;
    const char *key;
    const char *toolTip;
    const char *image;
    Handler handler;
};

// clang-format off
const ToolbarButton ToolbarButtons[] = {
        {1,  "exit",                  "",                      "exit",           &frmMain::mnuDateiClose_Click},
        {2,  "",                      "",                      nullptr,          nullptr},
        {3,  "Öffnen",                "Öffnen",                "Open",           &frmMain::mnuDateiOpen_Click},
        {4,  "Neu",                   "Neu",                   "New",            &frmMain::mnuDateiNeu_Click},
        {5,  "Löschen",               "Löschen",               "Delete",         &frmMain::mnuEditDelSchuetze_Click},
        {6,  "",                      "",                      nullptr,          nullptr},
        {7,  "Gesamtliste",           "Gesamtliste",           "Macro",          &frmMain::mnuEditGesamtliste_Click},
        {8,  "",                      "",                      nullptr,          nullptr},
        {9,  "Drucken",               "Drucken",               "Print",          &frmMain::mnuDateiPrint_Click},
        {10, "vorschau",              "",                      "vorschau",       &frmMain::mnuPreviou_Click},
        {11, "Aufsteigend sortieren", "Aufsteigend sortieren", "Sort Ascending", &frmMain::mnuEditUpdatePlaetze_Click},
};
// clang-format on

// A menu item without a handler is a separator line.
const std::vector<frmMain::MenuItem> DateiItems{
        {"mnuDateiNeu", "&Neu...", &frmMain::mnuDateiNeu_Click, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuDateiOpen", "&Öffnen...", &frmMain::mnuDateiOpen_Click, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuDateiServer", "Wettkampf auf Server...", &frmMain::mnuDateiServer_Click, {}},
        {"mnuDateiAlsDatei", "Als Datei speichern...", &frmMain::mnuDateiAlsDatei_Click, {}},
        {"mnuTemp1", "-", nullptr, {}},
        {"mnuPreviou", "Seitenvorschau", &frmMain::mnuPreviou_Click, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"mnuDateiPrint", "Drucken", &frmMain::mnuDateiPrint_Click, {}},
        {"mnuDateiPrinterSetup", "Drucker-Einstellungen...", &frmMain::mnuDateiPrinterSetup_Click, {}},
        {"mnuDateiExport", "Exportieren...", &frmMain::mnuDateiExport_Click, {}},
        {"mnuDateiUrkunden", "Urkunden...", &frmMain::mnuDateiUrkunden_Click, {}},
        {"mnuTemp2", "-", nullptr, {}},
        {"mnuDateiBezeichnung", "Bezeichnung...", &frmMain::mnuDateiBezeichnung_Click, {}},
        {"mnuTemp3", "-", nullptr, {}},
        {"mnuDateiClose", "&Schließen", &frmMain::mnuDateiClose_Click, {}},
};

const std::vector<frmMain::MenuItem> EditItems{
        {"mnuEditUpdatePlaetze", "&Aktualisieren", &frmMain::mnuEditUpdatePlaetze_Click, QKeySequence(Qt::Key_F5)},
        {"mnuEditTemp1", "-", nullptr, {}},
        {"mnuEditDelSchuetze", "&Aktuellen Schützen Löschen", &frmMain::mnuEditDelSchuetze_Click, {}},
        {"mnuEditDeleteAll", "Alle Schützen &löschen", &frmMain::mnuEditDeleteAll_Click, {}},
        {"mnuEditTemp2", "-", nullptr, {}},
        {"mnuEditGesamtliste", "&Gesamtliste", &frmMain::mnuEditGesamtliste_Click, QKeySequence(Qt::Key_F4)},
        {"mnuEditTemp3", "-", nullptr, {}},
        {"mnuEditKlassen", "Klassen...", &frmMain::mnuEditKlassen_Click, {}},
        {"mnuEditWertung", "Wertung...", &frmMain::mnuEditWertung_Click, {}},
};

const std::vector<frmMain::MenuItem> AnsichtItems{
        {"mnuAnsSiegerliste", "Schrift Siegerliste", &frmMain::mnuAnsSiegerliste_Click, {}},
        {"mnuAnsTitelzeileFont", "Schrift Titelzeile", &frmMain::mnuAnsTitelzeileFont_Click, {}},
        {"mnuAnsTemp1", "-", nullptr, {}},
        {"mnuAnsEingabeFont", "Schrift Eingabe", &frmMain::mnuAnsEingabeFont_Click, {}},
};

const std::vector<frmMain::MenuItem> QuestionItems{
        {"mnuInfo", "Info...", &frmMain::mnuInfo_Click, {}},
};

} // namespace

QAction *frmMain::addMenuAction(QMenu *menu, const QString &name, const QString &caption, void (frmMain::*handler)(),
                                const QKeySequence &shortcut)
{
    QAction *action = menu->addAction(caption, this, handler);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

QAction *frmMain::addSeparator(QMenu *menu, const QString &name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(name);
    return separator;
}

void frmMain::createMenus()
{
    mnuDatei = addMenu(QStringLiteral("mnuDatei"), QStringLiteral("Datei"), DateiItems);
    mnuEdit = addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Bearbeiten"), EditItems);
    mnuAnsicht = addMenu(QStringLiteral("mnuAnsicht"), QStringLiteral("Ansicht"), AnsichtItems);
    mnuQuestion = addMenu(QStringLiteral("mnuQuestion"), QStringLiteral("?"), QuestionItems);
}

QMenu *frmMain::addMenu(const QString &name, const QString &caption, const std::vector<MenuItem> &items)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    for (const MenuItem &item : items) {
        if (item.handler)
            addMenuAction(menu, QString::fromUtf8(item.name), QString::fromUtf8(item.caption), item.handler,
                          item.shortcut);
        else
            addSeparator(menu, QString::fromUtf8(item.name));
    }
    return menu;
}

void frmMain::createToolbar()
{
    imlToolbarIcons = AppIcons::toolbarImages();
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setIconSize(QSize(ImageSize, ImageSize));
    // The style's margins would make the strip taller than designed; the
    // buttons sit in it with a pixel to spare above and below.
    const int spare = std::max(0, (px(this, ToolbarHeight) - ButtonHeight) / 2);
    Toolbar1->layout()->setContentsMargins(spare, spare, spare, spare);
    Toolbar1->setFixedHeight(px(this, ToolbarHeight));

    for (const ToolbarButton &button : ToolbarButtons)
        addToolbarButton(button.position, QString::fromUtf8(button.key), QString::fromUtf8(button.toolTip),
                         button.image ? QString::fromUtf8(button.image) : QString());
    connect(Toolbar1, &QToolBar::actionTriggered, this, &frmMain::Toolbar1_ButtonClick);
}

void frmMain::addToolbarButton(int position, const QString &key, const QString &toolTip, const QString &imageKey)
{
    QAction *button = imageKey.isEmpty() ? Toolbar1->addSeparator() : Toolbar1->addAction(QString());
    button->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(position));
    button->setData(key);
    if (imageKey.isEmpty())
        return;
    button->setIcon(imlToolbarIcons.image(imageKey));
    button->setText(toolTip);
    button->setToolTip(toolTip);
    QWidget *widget = Toolbar1->widgetForAction(button);
    widget->setObjectName(button->objectName() + QStringLiteral("_widget"));
    widget->setFixedSize(ButtonWidth, ButtonHeight);
    widget->setAccessibleName(key);
}

void frmMain::Toolbar1_ButtonClick(QAction *Button)
{
    if (!Button)
        return;
    const QString key = Button->data().toString();
    // Commands started here never end the program: what fails is dropped,
    // and what the command had done by then stays done.
    try {
        for (const ToolbarButton &button : ToolbarButtons) {
            if (button.handler && key == QString::fromUtf8(button.key)) {
                (this->*button.handler)();
                return;
            }
        }
    } catch (const std::exception &) {
    }
}

// The toolbar is always there: the window offers no menu to hide it.
QMenu *frmMain::createPopupMenu()
{
    return nullptr;
}

void frmMain::mnuInfo_Click()
{
    frmInfo dialog(this);
    dialog.exec();
}
