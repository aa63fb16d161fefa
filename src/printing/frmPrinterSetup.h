#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Drucker-Einstellungen": orientation, the four margins (twips, as the print
// takes them), whether the printed columns fit their texts and whether each
// class starts a page, with which the winners list is printed. It only edits
// the section "Printer" of the settings; OK stores the choice as typed,
// Abbrechen and the window frame close it without storing.
class frmPrinterSetup : public QDialog
{
    Q_OBJECT

public:
    explicit frmPrinterSetup(QWidget *parent = nullptr);

    QRadioButton *option(int index) const { return Option1.at(size_t(index)); }
    QLabel *label(int index) const { return Label1.at(size_t(index)); }
    // The unit beside margin box index (Links, Rechts, Oben, Unten).
    QLabel *unitLabel(int index) const { return lblEinheit.at(size_t(index)); }

private:
    void createControls();
    void createMarginControls();
    void setTabOrder();
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    std::array<QRadioButton *, 2> Option1{};
    std::array<QLabel *, 4> Label1{};
    QLineEdit *txtLinks = nullptr;
    QLineEdit *txtRechts = nullptr;
    QLineEdit *txtOben = nullptr;
    QLineEdit *txtUnten = nullptr;
    std::array<QLabel *, 4> lblEinheit{};
    QCheckBox *chkSpaltenbreiten = nullptr;
    QCheckBox *chkKlassenumbruch = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdOK = nullptr;
};
