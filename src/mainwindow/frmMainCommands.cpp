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

struct ToolbarCommand
{
    const char *key;
    Handler handler;
};

// Keys are compared in this order, exactly and with case distinguished.
// clang-format off
const ToolbarCommand ToolbarCommands[] = {
        {"Öffnen", &frmMain::mnuDateiOpen_Click},
        {"Gesamtliste", &frmMain::mnuEditGesamtliste_Click},
        {"vorschau", &frmMain::mnuPreviou_Click},
        {"exit", &frmMain::mnuDateiClose_Click},
        {"Neu", &frmMain::mnuDateiNeu_Click},
        {"Löschen", &frmMain::mnuEditDelSchuetze_Click},
        {"Drucken", &frmMain::mnuDateiPrint_Click},
        {"Aufsteigend sortieren", &frmMain::mnuEditUpdatePlaetze_Click},
};
// clang-format on

// A menu item without a handler is a separator line.
const std::vector<frmMain::MenuItem> DateiItems{
        {"mnuDateiNeu", "&Neu...", &frmMain::mnuDateiNeu_Click, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuDateiOpen", "&Öffnen...", &frmMain::mnuDateiOpen_Click, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuTemp1", "-", nullptr, {}},
        {"mnuPreviou", "Seitenvorschau", &frmMain::mnuPreviou_Click, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"mnuDateiPrint", "Drucken", &frmMain::mnuDateiPrint_Click, {}},
        {"mnuDateiPrinterSetup", "Drucker-Einstellungen...", &frmMain::mnuDateiPrinterSetup_Click, {}},
        {"mnuDateiExport", "Exportieren...", &frmMain::mnuDateiExport_Click, {}},
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

    addToolbarButton(1, QStringLiteral("exit"), QString(), QStringLiteral("exit"));
    addToolbarButton(2, QString(), QString(), QString());
    addToolbarButton(3, QStringLiteral("Öffnen"), QStringLiteral("Öffnen"), QStringLiteral("Open"));
    addToolbarButton(4, QStringLiteral("Neu"), QStringLiteral("Neu"), QStringLiteral("New"));
    addToolbarButton(5, QStringLiteral("Löschen"), QStringLiteral("Löschen"), QStringLiteral("Delete"));
    addToolbarButton(6, QString(), QString(), QString());
    addToolbarButton(7, QStringLiteral("Gesamtliste"), QStringLiteral("Gesamtliste"), QStringLiteral("Macro"));
    addToolbarButton(8, QString(), QString(), QString());
    addToolbarButton(9, QStringLiteral("Drucken"), QStringLiteral("Drucken"), QStringLiteral("Print"));
    addToolbarButton(10, QStringLiteral("vorschau"), QString(), QStringLiteral("vorschau"));
    addToolbarButton(11, QStringLiteral("Aufsteigend sortieren"), QStringLiteral("Aufsteigend sortieren"),
                     QStringLiteral("Sort Ascending"));
    connect(Toolbar1, &QToolBar::actionTriggered, this, &frmMain::Toolbar1_ButtonClick);
}

// A position without a picture is a separator. A button without a tooltip
// gets no text either, since a text would show as its tooltip.
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
        for (const ToolbarCommand &command : ToolbarCommands) {
            if (key == QString::fromUtf8(command.key)) {
                (this->*command.handler)();
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
