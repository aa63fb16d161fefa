#pragma once

#include <QWidget>
#include <memory>

class CertificatePages;

// The dialog's live picture of a certificate: the first page of the pages
// it is given, painted as the printer would and scaled to fit the widget.
class CertificateView : public QWidget
{
    Q_OBJECT

public:
    explicit CertificateView(QWidget *parent = nullptr);

    void setPages(std::shared_ptr<CertificatePages> pages);
    // Where the paper stands in the widget.
    QRectF paperRect() const;

    QSize sizeHint() const override { return {260, 360}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::shared_ptr<CertificatePages> m_pages;
};
