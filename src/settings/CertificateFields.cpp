#include "settings/CertificateFields.h"

namespace {

const QChar Open = QLatin1Char('{');
const QChar Close = QLatin1Char('}');

QString listed()
{
    QStringList braced;
    for (const QString &name : CertificateFields::names())
        braced << Open + name + Close;
    return braced.join(QStringLiteral(", "));
}

} // namespace

const QStringList &CertificateFields::names()
{
    static const QStringList all{QStringLiteral("Wettkampf"), QStringLiteral("Klasse"),     QStringLiteral("Platz"),
                                 QStringLiteral("Name"),      QStringLiteral("Verein"),     QStringLiteral("Mannschaft"),
                                 QStringLiteral("Ringe"),     QStringLiteral("Datum")};
    return all;
}

QString CertificateFields::value(const Certificate &certificate, const QString &field)
{
    const QString *values[] = {&certificate.wettkampf, &certificate.klasse,     &certificate.platz,
                               &certificate.name,      &certificate.verein,     &certificate.mannschaft,
                               &certificate.ringe,     &certificate.datum};
    const qsizetype at = names().indexOf(field);
    return at < 0 ? QString() : *values[at];
}

std::optional<QString> CertificateFields::problem(const QString &text)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at) == Close)
            return QStringLiteral("Die Klammer } schließt kein Feld. Felder stehen in Klammern: %1.").arg(listed());
        if (text.at(at) != Open)
            continue;
        const qsizetype end = text.indexOf(Close, at + 1);
        const qsizetype nextOpen = text.indexOf(Open, at + 1);
        if (end < 0 || (nextOpen >= 0 && nextOpen < end))
            return QStringLiteral("Die Klammer { wird nicht geschlossen.");
        const QString field = text.mid(at + 1, end - at - 1);
        if (!names().contains(field))
            return QStringLiteral("Das Feld {%1} gibt es nicht. Möglich sind: %2.").arg(field, listed());
        at = end;
    }
    return std::nullopt;
}

QString CertificateFields::fill(const QString &text, const Certificate &certificate)
{
    QString filled;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(Open, at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(Close, open + 1);
        if (close < 0 || !names().contains(text.mid(open + 1, close - open - 1))) {
            filled += text.mid(at, open < 0 ? -1 : open + 1 - at);
            at = open < 0 ? text.size() : open + 1;
            continue;
        }
        filled += text.mid(at, open - at) + value(certificate, text.mid(open + 1, close - open - 1));
        at = close + 1;
    }
    return filled;
}

Certificate CertificateFields::sample(const QString &date)
{
    return {QStringLiteral("Vereinsmeisterschaft"),
            QStringLiteral("Schützenklasse"),
            QStringLiteral("1"),
            QStringLiteral("Maximilian Mustermann"),
            QStringLiteral("SV Musterdorf"),
            QStringLiteral("Musterdorf I"),
            QStringLiteral("98,7"),
            date};
}
