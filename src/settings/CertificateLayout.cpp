#include "settings/CertificateLayout.h"

#include "settings/SettingsStore.h"
#include "store/RingtalError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

const QString FormatName = QStringLiteral("Ringtal-Urkundenvorlage");
constexpr int FormatVersion = 1;
const QString Section = QStringLiteral("Urkundenvorlage");
const QString Key = QStringLiteral("Vorlage");
// Far beyond any paper, but small enough that a damaged number is seen as one.
constexpr double LongestMm = 1000;
constexpr double LargestPoints = 500;

const char *const AlignNames[] = {"links", "zentriert", "rechts"};

RingtalError notALayout(const QString &why)
{
    return RingtalError(ErrorNumber::InvalidFileFormat, QStringLiteral("Das ist keine Urkundenvorlage: %1").arg(why));
}

// A value left out keeps what the layout had; one of the wrong kind is refused,
// since guessing would print something the user never chose.
double number(const QJsonObject &object, const QString &key, double current, double highest, const QString &where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return current;
    const double read = value.toDouble(std::nan(""));
    if (!value.isDouble() || !std::isfinite(read) || read < 0 || read > highest)
        throw notALayout(QStringLiteral("%1: „%2“ ist keine Zahl von 0 bis %3.").arg(where, key).arg(highest));
    return read;
}

bool flag(const QJsonObject &object, const QString &key, bool current, const QString &where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return current;
    if (!value.isBool())
        throw notALayout(QStringLiteral("%1: „%2“ ist weder true noch false.").arg(where, key));
    return value.toBool();
}

QString text(const QJsonObject &object, const QString &key, const QString &current, const QString &where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return current;
    if (!value.isString())
        throw notALayout(QStringLiteral("%1: „%2“ ist kein Text.").arg(where, key));
    return value.toString();
}

QJsonObject lineObject(const CertificateLine &line)
{
    return {{QStringLiteral("Text"), line.text},
            {QStringLiteral("Schrift"), line.family},
            {QStringLiteral("Groesse"), line.pointSize},
            {QStringLiteral("Fett"), line.bold},
            {QStringLiteral("Kursiv"), line.italic},
            {QStringLiteral("Ausrichtung"), QLatin1String(AlignNames[int(line.align)])},
            {QStringLiteral("Oben"), line.topMm},
            {QStringLiteral("Links"), line.leftMm},
            {QStringLiteral("Rechts"), line.rightMm}};
}

CertificateLine readLine(const QJsonValue &value, int number1)
{
    const QString where = QStringLiteral("Zeile %1").arg(number1);
    if (!value.isObject())
        throw notALayout(where + QStringLiteral(" ist kein Eintrag einer Zeile."));
    const QJsonObject object = value.toObject();
    CertificateLine line;
    line.text = text(object, QStringLiteral("Text"), line.text, where);
    line.family = text(object, QStringLiteral("Schrift"), line.family, where);
    line.pointSize = number(object, QStringLiteral("Groesse"), line.pointSize, LargestPoints, where);
    if (line.pointSize <= 0)
        throw notALayout(where + QStringLiteral(": Die Schriftgröße ist 0."));
    line.bold = flag(object, QStringLiteral("Fett"), line.bold, where);
    line.italic = flag(object, QStringLiteral("Kursiv"), line.italic, where);
    const QString align = text(object, QStringLiteral("Ausrichtung"), QLatin1String(AlignNames[int(line.align)]), where);
    const auto found = std::find(std::begin(AlignNames), std::end(AlignNames), align);
    if (found == std::end(AlignNames))
        throw notALayout(where + QStringLiteral(": Die Ausrichtung „%1“ gibt es nicht (links, zentriert, rechts).").arg(align));
    line.align = CertificateLine::Align(found - std::begin(AlignNames));
    line.topMm = number(object, QStringLiteral("Oben"), line.topMm, LongestMm, where);
    line.leftMm = number(object, QStringLiteral("Links"), line.leftMm, LongestMm, where);
    line.rightMm = number(object, QStringLiteral("Rechts"), line.rightMm, LongestMm, where);
    return line;
}

CertificatePicture readPicture(const QJsonValue &value)
{
    const QString where = QStringLiteral("Bild");
    CertificatePicture picture;
    if (value.isUndefined() || value.isNull())
        return picture;
    if (!value.isObject())
        throw notALayout(QStringLiteral("„Bild“ ist kein Eintrag eines Bildes."));
    const QJsonObject object = value.toObject();
    picture.name = text(object, QStringLiteral("Name"), QString(), where);
    const auto decoded = QByteArray::fromBase64Encoding(text(object, QStringLiteral("Daten"), QString(), where).toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        throw notALayout(QStringLiteral("Die Daten des Bildes sind beschädigt."));
    picture.bytes = *decoded;
    picture.leftMm = number(object, QStringLiteral("Links"), picture.leftMm, LongestMm, where);
    picture.topMm = number(object, QStringLiteral("Oben"), picture.topMm, LongestMm, where);
    picture.widthMm = number(object, QStringLiteral("Breite"), picture.widthMm, LongestMm, where);
    picture.heightMm = number(object, QStringLiteral("Hoehe"), picture.heightMm, LongestMm, where);
    return picture;
}

CertificateLine standardLine(const char *text, double points, bool bold, double top)
{
    CertificateLine line;
    line.text = QString::fromUtf8(text);
    line.pointSize = points;
    line.bold = bold;
    line.topMm = top;
    return line;
}

} // namespace

bool CertificateLine::operator==(const CertificateLine &other) const
{
    return text == other.text && family == other.family && pointSize == other.pointSize && bold == other.bold
        && italic == other.italic && align == other.align && topMm == other.topMm && leftMm == other.leftMm
        && rightMm == other.rightMm;
}

bool CertificatePicture::operator==(const CertificatePicture &other) const
{
    return name == other.name && bytes == other.bytes && leftMm == other.leftMm && topMm == other.topMm
        && widthMm == other.widthMm && heightMm == other.heightMm;
}

bool CertificateLayout::operator==(const CertificateLayout &other) const
{
    return paper == other.paper && landscape == other.landscape && lines == other.lines && picture == other.picture;
}

QSizeF CertificateLayout::paperMm() const
{
    const QSizeF portrait = paper == Paper::A4 ? QSizeF(210, 297) : QSizeF(148, 210);
    return landscape ? portrait.transposed() : portrait;
}

CertificateLayout CertificateLayout::standard()
{
    CertificateLayout layout;
    layout.lines = {standardLine("Urkunde", 48, true, 35),       standardLine("{Wettkampf}", 20, false, 70),
                    standardLine("{Platz}. Platz", 40, true, 105), standardLine("{Name}", 24, true, 140),
                    standardLine("{Verein}", 18, false, 160),    standardLine("{Klasse}", 18, false, 175),
                    standardLine("{Ringe} Ringe", 20, false, 195), standardLine("{Datum}", 12, false, 260)};
    layout.lines.back().align = CertificateLine::Align::Left;
    layout.lines.back().leftMm = 25;
    return layout;
}

QByteArray CertificateLayout::toText() const
{
    QJsonArray lineArray;
    for (const CertificateLine &line : lines)
        lineArray.append(lineObject(line));
    QJsonObject object{{QStringLiteral("Format"), FormatName},
                       {QStringLiteral("Version"), FormatVersion},
                       {QStringLiteral("Papier"), paper == Paper::A4 ? QStringLiteral("A4") : QStringLiteral("A5")},
                       {QStringLiteral("Ausrichtung"), landscape ? QStringLiteral("Querformat") : QStringLiteral("Hochformat")},
                       {QStringLiteral("Zeilen"), lineArray}};
    if (!picture.isEmpty())
        object.insert(QStringLiteral("Bild"),
                      QJsonObject{{QStringLiteral("Name"), picture.name},
                                  {QStringLiteral("Daten"), QString::fromLatin1(picture.bytes.toBase64())},
                                  {QStringLiteral("Links"), picture.leftMm},
                                  {QStringLiteral("Oben"), picture.topMm},
                                  {QStringLiteral("Breite"), picture.widthMm},
                                  {QStringLiteral("Hoehe"), picture.heightMm}});
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

CertificateLayout CertificateLayout::fromText(const QByteArray &text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw notALayout(QStringLiteral("Der Text ist kein JSON (Zeichen %1).").arg(error.offset));
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("Format")).toString() != FormatName)
        throw notALayout(QStringLiteral("Der Eintrag „Format“ fehlt."));
    if (object.value(QStringLiteral("Version")).toInt(0) > FormatVersion)
        throw notALayout(QStringLiteral("Die Vorlage stammt von einer neueren Version des Programms."));
    CertificateLayout layout;
    const QString paperName = object.value(QStringLiteral("Papier")).toString();
    if (paperName != QLatin1String("A4") && paperName != QLatin1String("A5"))
        throw notALayout(QStringLiteral("Das Papier „%1“ gibt es nicht (A4, A5).").arg(paperName));
    layout.paper = paperName == QLatin1String("A4") ? Paper::A4 : Paper::A5;
    const QString orientation = object.value(QStringLiteral("Ausrichtung")).toString();
    if (orientation != QLatin1String("Hochformat") && orientation != QLatin1String("Querformat"))
        throw notALayout(QStringLiteral("Die Ausrichtung „%1“ gibt es nicht (Hochformat, Querformat).").arg(orientation));
    layout.landscape = orientation == QLatin1String("Querformat");
    const QJsonValue lineValues = object.value(QStringLiteral("Zeilen"));
    if (!lineValues.isArray())
        throw notALayout(QStringLiteral("Der Eintrag „Zeilen“ fehlt."));
    const QJsonArray lineArray = lineValues.toArray();
    for (qsizetype at = 0; at < lineArray.size(); ++at)
        layout.lines.push_back(readLine(lineArray.at(at), int(at) + 1));
    layout.picture = readPicture(object.value(QStringLiteral("Bild")));
    return layout;
}

CertificateLayout CertificateLayout::stored()
{
    const QString text = SettingsStore::read(Section, Key, QString());
    if (text.isEmpty())
        return standard();
    try {
        return fromText(text.toUtf8());
    } catch (const RingtalError &) {
        // A damaged entry must not keep the dialog from opening; the next close stores a good one.
        return standard();
    }
}

void CertificateLayout::store() const
{
    SettingsStore::write(Section, Key, QString::fromUtf8(QJsonDocument::fromJson(toText()).toJson(QJsonDocument::Compact)));
}
