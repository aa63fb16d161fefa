// How texts compare: the search criterion (like patterns, letter case,
// umlauts, quoting), and the alphabetical order of texts.
#include "store/Criterion.h"
#include "store/TextOrder.h"
#include "support/RecordsetChecks.h"

#include <QtTest>

class TestTextCompare : public QObject
{
    Q_OBJECT

private slots:
    // "*" any rest, "?" one character, "#" one digit, "[a-z]" and "[!ab]" one
    // character of or not of a list, letter case ignored; "matches": 1 or 0,
    // -1 for a criterion that is none (error 3077).
    void matches_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("matches");
        const auto row = [](const char *name, const char *criterion, const QVariant &value, int matches) {
            QTest::newRow(name) << QString::fromUtf8(criterion) << value << matches;
        };
        row("prefix, first letter in the other case", "Schuetze like 'mÜL*'", "Müller", 1);
        row("keywords in any case", "schuetze LIKE 'BECKER*'", "Becker", 1);
        row("long s folds to s", "Schuetze like 'St*'", "ſtraße", 1);
        row("null value", "Schuetze like '*'", QVariant(), 0);
        row("empty text matches a lone star", "Schuetze like '*'", "", 1);
        row("doubled apostrophe is one", "Schuetze = 'O''Brien'", "O'Brien", 1);
        row("question mark is one character", "Schuetze like 'M?ller'", "Müller", 1);
        row("question mark needs a character", "Schuetze like 'Becker?'", "Becker", 0);
        row("no star: the whole text must match", "Schuetze like 'Müll'", "Müller", 0);
        row("dot is no pattern character", "Verein like 'S.V?Tal'", "SSV Tal", 0);
        row("hash on a number", "StartNr like '1#'", qint64(12), 1);
        row("range end included", "Schuetze like '[a-c]*'", "Cramer", 1);
        row("range skips Ä", "Schuetze like '[a-c]*'", "Ährenfeld", 0);
        row("negated list with umlaut ignores case", "Schuetze like '[!mä]*'", "Ährenfeld", 0);
        row("number with decimal point", "Serie = 98.5", 98.5, 1);
        row("decimal comma in a number", "StartNr = 1,5", qint64(1), -1);
        row("apostrophe inserted as typed", "Schuetze like 'O'Brien*'", "O'Brien", -1);
        row("unterminated character list", "Schuetze like '[a-c*'", "a", -1);
        // likePrefix quotes the text so that an apostrophe is a character; pattern characters keep their meaning.
        QTest::newRow("likePrefix: apostrophe") << Criterion::likePrefix("Schuetze", "O'B") << QVariant("O'Brien") << 1;
        QTest::newRow("likePrefix: pattern characters") << Criterion::likePrefix("Schuetze", "M?[a-c]#") << QVariant("Mxb1z") << 1;
    }

    void matches()
    {
        QFETCH(QString, criterion);
        QFETCH(QVariant, value);
        QFETCH(int, matches);
        bool matched = false;
        QCOMPARE(raisedNumber([&] { matched = Criterion::parse(criterion).matches(value); }), matches < 0 ? 3077 : 0);
        QCOMPARE(matched, matches == 1);
    }

    // UTF-8 texts; a byte that starts no valid character stands for itself
    // (a lone first byte of "ä" is Ã and folds like "ä").
    void compare_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<int>("expected"); // -1: a first, 0: equal, 1: b first
        const auto row = [](const char *name, const char *a, const char *b, int expected) {
            QTest::newRow(name) << QByteArray(a) << QByteArray(b) << expected;
        };
        row("letter case ignored", "anna", "Zeller", -1);
        row("umlaut as its plain vowel", "Äpfel", "Apfelbaum", -1);
        row("ß as ss", "Strassburg", "Straße", -1);
        row("capital sharp s as ss", "STRAẞE", "Strasser", -1);
        row("same first byte, different letters", "Ãb", "äa", 1);
        row("blank before hyphen", "Müller Anna", "Müller-Lüdenscheidt", -1);
        row("tie: plain letter before umlaut", "Muller", "Müller", -1);
        row("tie: upper case before lower case", "anna", "Anna", 1);
        row("tie: the shorter text first", "\xC3", "\xC3\xA4", -1);
        row("empty before everything", "", " ", -1);
    }

    void compare()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, expected);
        const auto sign = [](int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; };
        QCOMPARE(sign(compareAlphabetically(a, b)), expected);
        QCOMPARE(sign(compareAlphabetically(b, a)), -expected);
    }
};

QTEST_GUILESS_MAIN(TestTextCompare)
#include "tst_textcompare.moc"
