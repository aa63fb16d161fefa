#pragma once

#include "settings/CertificateFields.h"
#include "settings/CertificateLayout.h"

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CertificatePages;
class CertificateView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// "Urkunden": which certificates (shooters, teams, places 1 to N), their
// layout with a live picture of the first of them, preview and print. What
// would not print as laid out is said in the red message line, and preview
// and print refuse while it stands. The layout is the user's: read from the
// settings at opening, stored there when the dialog closes or prints.
class frmUrkunden : public QDialog
{
    Q_OBJECT

public:
    // The certificates of a selection: shooters, teams, places 1 to places,
    // in the order they are printed. The main window's, since only it knows
    // the competition.
    using Source = std::function<std::vector<Certificate>(bool shooters, bool teams, int places)>;

    explicit frmUrkunden(Source source, QWidget *parent = nullptr);
    ~frmUrkunden() override;

    // The layout as the controls show it (the last readable one while a
    // control holds a number that is none).
    const CertificateLayout &layout() const { return m_layout; }
    void showLayout(const CertificateLayout &layout);
    const std::vector<Certificate> &certificates() const { return m_certificates; }
    // The message line's text; empty when everything prints as laid out.
    QString message() const;

    void cmdVorschau_Click();
    void cmdDrucken_Click();
    void cmdVorlageSpeichern_Click();
    void cmdVorlageLaden_Click();
    void cmdStandardvorlage_Click();
    void cmdBild_Click();

    void done(int result) override;

private:
    // The cells of a row of the line table as typed.
    struct RowTexts
    {
        QString text, family, size;
        bool bold = false, italic = false;
        int align = 1;
        QString top, left, right;
    };

    QWidget *createSelection();
    QWidget *createLineTable();
    QWidget *createPicture();
    QWidget *createButtons();
    void addRow(const RowTexts &texts);
    RowTexts rowTexts(int row) const;
    void setRowTexts(int row, const RowTexts &texts);
    static RowTexts textsOf(const CertificateLine &line);
    void insertLine();
    void removeLine();
    void moveLine(int by);
    void choosePaper();
    std::optional<QString> readControls(CertificateLayout &layout) const;
    void controlsChanged();
    void selectionChanged();
    void recheck();
    bool readyToPrint();

    Source m_source;
    CertificateLayout m_layout;
    std::vector<Certificate> m_certificates;
    std::shared_ptr<CertificatePages> m_pages;
    QPrinter m_printer{QPrinter::HighResolution};
    bool m_showing = false;
    std::optional<QString> m_inputProblem;

    QCheckBox *chkSchuetzen = nullptr;
    QCheckBox *chkMannschaften = nullptr;
    QSpinBox *spnPlaetze = nullptr;
    QLabel *lblAnzahl = nullptr;
    QTableWidget *grdZeilen = nullptr;
    QComboBox *cboPapier = nullptr;
    QComboBox *cboFormat = nullptr;
    QLabel *lblBild = nullptr;
    QLineEdit *txtBildLinks = nullptr;
    QLineEdit *txtBildOben = nullptr;
    QLineEdit *txtBildBreite = nullptr;
    QLineEdit *txtBildHoehe = nullptr;
    QLabel *lblMeldung = nullptr;
    CertificateView *picVorschau = nullptr;
    QPushButton *cmdVorschau = nullptr;
    QPushButton *cmdDrucken = nullptr;
};
