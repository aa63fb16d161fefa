#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The text of a PDF file as poppler's pdftotext reads it back: words with
// their boxes in points (origin at the page's top left), and the page sizes.
// What a printout shows is checked on the file itself, not on the program's
// idea of it.
class PdfText
{
public:
    struct Word
    {
        QString text;
        QRectF box;
    };

    explicit PdfText(const QString &pdfPath);

    int pageCount() const { return int(m_pages.size()); }
    // 1-based pages, as pdftotext counts them.
    QSizeF pageSize(int page) const { return m_pages.at(page - 1).size; }
    const QVector<Word> &words(int page) const { return m_pages.at(page - 1).words; }
    // The page's text in reading order, words joined by blanks.
    QString text(int page) const;
    // The box of the first run of consecutive words that spell the phrase.
    std::optional<QRectF> find(int page, const QString &phrase) const;
    int count(int page, const QString &phrase) const;
    // Names of the fonts the file uses, as pdffonts lists them (subset prefix dropped).
    static QStringList fonts(const QString &pdfPath);

private:
    struct Page
    {
        QSizeF size;
        QVector<Word> words;
    };
    QVector<QRectF> findAll(int page, const QString &phrase) const;

    QVector<Page> m_pages;
};
