#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What one certificate says: the values its fields are filled with, as
// they are printed (numbers already in the German format).
struct Certificate
{
    QString wettkampf;
    QString klasse;
    QString platz;
    QString name;
    QString verein;
    QString mannschaft;
    QString ringe;
    QString datum;
};

// The fields a line of a certificate may hold, written in braces
// ("{Platz}. Platz"). A line holding a brace that is no field is refused
// before anything is printed, since a field typed wrong would otherwise
// land on every certificate as it was typed.
namespace CertificateFields {

// In the order the message lists them: Wettkampf, Klasse, Platz, Name, …
const QStringList &names();

// The value of a field by its name (without braces); empty for none.
QString value(const Certificate &certificate, const QString &field);

// What is wrong with the fields of a text, as a sentence; none when every
// brace encloses a known field.
std::optional<QString> problem(const QString &text);

// The text with every field replaced by its value. Expects a text without
// a problem; anything else is left as it stands.
QString fill(const QString &text, const Certificate &certificate);

// Example values that show what a layout will look like before there is a
// certificate to print.
Certificate sample(const QString &date);

} // namespace CertificateFields
