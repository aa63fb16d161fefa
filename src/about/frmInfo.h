#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QPushButton;
class QUrl;

// "Ringtal Info": who developed the program and who had the idea. The
// e-mail address and the two web addresses are links that the desktop opens
// with the user's mail program or browser.
class frmInfo : public QDialog
{
    Q_OBJECT

public:
    // Hands a link to the desktop; false when nothing could open it.
    using UrlOpener = std::function<bool(const QUrl &)>;

    explicit frmInfo(QWidget *parent = nullptr);

    // Entry `index` of the label array Label2; nullptr outside 0 … 12.
    QLabel *label(int index) const;

    // Puts another opener in place of the desktop's own (tests do); an empty
    // one brings the desktop's back.
    static void setUrlOpener(UrlOpener opener);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createLabels();
    void createCloseButton();
    void Form_Load();
    void cmdClose_Click();
    void Label2_Click(int Index);
    void openLink(const QString &text);

    std::array<QLabel *, 13> Label2{};
    QPushButton *cmdClose = nullptr;
};
