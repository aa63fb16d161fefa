#pragma once

#include <QRegularExpression>
#include <QString>
#include <QVariant>

// A search condition such as "ID = 17", "StartNr = 12" or
// "Schuetze like 'Mül*'", parsed into a matcher. Criteria are never pasted into
// SQL: the text a user typed can only ever match or not match.
// Pattern characters of "like": "*" any rest, "?" one character, "#" one
// digit, "[abc]" / "[!abc]" / "[a-z]" one character of (or not of) a list;
// letter case is ignored. Inside quotes an apostrophe is written twice.
class Criterion
{
public:
    // Throws RingtalError (syntax error in expression) for a text that is no criterion.
    static Criterion parse(const QString &text);

    const QString &field() const { return m_field; }
    bool matches(const QVariant &value) const;

    // The first character of a plain prefix pattern ("Mü*"), an ASCII letter
    // in lower case; 0 for other patterns and prefixes that start beyond
    // ASCII. A value whose own initial (below) is another one but 0 does not
    // match, so a search can pass over it without looking at the value.
    char16_t asciiInitial() const;
    static char16_t asciiInitial(const QVariant &value);

    // "Schuetze like '" + text + "*'" with the text quoted so that an apostrophe
    // is a character, not the end of the text; pattern characters keep their meaning.
    static QString likePrefix(const QString &field, const QString &text);

private:
    enum class Kind { EqualNumber, EqualText, Like };

    Kind m_kind = Kind::EqualNumber;
    QString m_field;
    double m_number = 0.0;
    QString m_text;
    // A pattern that is a plain prefix followed by "*" is compared directly;
    // every other pattern goes through a regular expression.
    bool m_plainPrefix = false;
    QRegularExpression m_pattern;
};
