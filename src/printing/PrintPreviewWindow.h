#pragma once

#include <QWidget>
#include <memory>

class PageSource;
class PreviewPage;
class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;

// The print facility's own preview: the pages of the print, one at a time,
// with page navigation, zoom and the page indicator of the print settings.
// It offers no file operations. It closes itself when closed.
class PrintPreviewWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Zoom { WholePage, PageWidth, Percent };

    // pageOf is the indicator's text, \p and \P standing for the page's
    // number and the number of pages.
    PrintPreviewWindow(std::unique_ptr<QPrinter> printer, std::unique_ptr<PageSource> pages, const QString &caption,
                       const QString &pageOf, QWidget *owner);
    ~PrintPreviewWindow() override;

    // 1-based, as the indicator counts.
    int currentPage() const;
    int pageCount() const;
    void setCurrentPage(int page);
    QString pageIndicator() const;

    Zoom zoom() const { return m_zoom; }
    // Percent of the paper's real size on the screen.
    double zoomPercent() const;
    void setZoom(Zoom zoom, double percent = 100);
    void zoomIn();
    void zoomOut();

    const PageSource &pages() const { return *m_pages; }
    // The pages' pixels per inch.
    int printerResolution() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createToolbar();
    void applyZoom();
    void showZoomState();
    void showPageState();
    void zoomChosen(int index);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PageSource> m_pages;
    QString m_pageOf;
    QScrollArea *m_scroll = nullptr;
    PreviewPage *m_page = nullptr;
    QLabel *m_indicator = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QList<QAction *> m_navigation;
    Zoom m_zoom = Zoom::WholePage;
    double m_percent = 100;
};
