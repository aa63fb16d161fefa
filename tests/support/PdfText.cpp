#include "support/PdfText.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace {

QString unescape(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    return text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

} // namespace

PdfText::PdfText(const QString &pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return;
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QRegularExpressionMatchIterator pages = page.globalMatch(html);
    QVector<qsizetype> starts;
    while (pages.hasNext()) {
        const QRegularExpressionMatch m = pages.next();
        m_pages.push_back({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        starts.push_back(m.capturedEnd());
    }
    starts.push_back(html.size());
    for (int p = 0; p < m_pages.size(); ++p) {
        const QString part = html.mid(starts.at(p), starts.at(p + 1) - starts.at(p));
        QRegularExpressionMatchIterator words = word.globalMatch(part);
        while (words.hasNext()) {
            const QRegularExpressionMatch m = words.next();
            const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
            m_pages[p].words.push_back({unescape(m.captured(5)), box});
        }
    }
}

QString PdfText::text(int page) const
{
    QStringList texts;
    for (const Word &word : words(page))
        texts << word.text;
    return texts.join(QLatin1Char(' '));
}

QVector<QRectF> PdfText::findAll(int page, const QString &phrase) const
{
    const QStringList wanted = phrase.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QVector<Word> &all = words(page);
    QVector<QRectF> found;
    for (int start = 0; start + wanted.size() <= all.size(); ++start) {
        QRectF box;
        bool match = true;
        for (int i = 0; i < wanted.size() && match; ++i) {
            match = all.at(start + i).text == wanted.at(i);
            box = box.isNull() ? all.at(start + i).box : box.united(all.at(start + i).box);
        }
        if (match && !wanted.isEmpty())
            found.push_back(box);
    }
    return found;
}

std::optional<QRectF> PdfText::find(int page, const QString &phrase) const
{
    const QVector<QRectF> found = findAll(page, phrase);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

int PdfText::count(int page, const QString &phrase) const
{
    return int(findAll(page, phrase).size());
}

QStringList PdfText::fonts(const QString &pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdffonts"), {pdfPath});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QStringList names;
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    // Two heading lines, then one font a line, its name first.
    for (int i = 2; i < lines.size(); ++i) {
        const QString name = lines.at(i).section(QLatin1Char(' '), 0, 0);
        if (!name.isEmpty())
            names << name.mid(name.indexOf(QLatin1Char('+')) + 1);
    }
    return names;
}
