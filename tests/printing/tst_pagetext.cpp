// Header and footer texts: the parts divided by \t and the page numbers.
#include "PageText.h"

#include <QtTest>

class tst_PageText : public QObject
{
    Q_OBJECT

private slots:
    void parts_data();
    void parts();
    void substitute_data();
    void substitute();
};

void tst_PageText::parts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("winners list footer") << QStringLiteral("\\tSeite \\p von \\P\\tRingtal (Velmor-Software GmbH)")
                                         << QStringList{"", "Seite \\p von \\P", "Ringtal (Velmor-Software GmbH)"};
    QTest::newRow("title alone stands left")
            << QStringLiteral("Kreismeisterschaft 2024") << QStringList{"Kreismeisterschaft 2024", "", ""};
    QTest::newRow("empty title") << QString() << QStringList{"", "", ""};
    QTest::newRow("a tab character divides nothing")
            << QStringLiteral("Links\tRechts") << QStringList{"Links\tRechts", "", ""};
    QTest::newRow("centre only") << QStringLiteral("\\tMitte") << QStringList{"", "Mitte", ""};
    QTest::newRow("right only") << QStringLiteral("\\t\\tRechts") << QStringList{"", "", "Rechts"};
    QTest::newRow("fourth part joins the right") << QStringLiteral("a\\tb\\tc\\td") << QStringList{"a", "b", "c d"};
    QTest::newRow("backslash of another letter stays")
            << QStringLiteral("C:\\temp\\x") << QStringList{"C:", "emp\\x", ""};
}

void tst_PageText::parts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    const std::array<QString, 3> parts = PageText::parts(text);
    QCOMPARE(QStringList({parts[0], parts[1], parts[2]}), expected);
}

void tst_PageText::substitute_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("page of pages") << QStringLiteral("Seite \\p von \\P") << 2 << 3 << QStringLiteral("Seite 2 von 3");
    QTest::newRow("many digits") << QStringLiteral("Seite \\p von \\P") << 12 << 105
                                 << QStringLiteral("Seite 12 von 105");
    QTest::newRow("preview indicator") << QStringLiteral("Page \\p of \\P") << 1 << 1 << QStringLiteral("Page 1 of 1");
    QTest::newRow("count before page") << QStringLiteral("\\P\\p") << 3 << 7 << QStringLiteral("73");
    QTest::newRow("no sequences") << QStringLiteral("Ringtal (Velmor-Software GmbH)") << 1 << 2
                                  << QStringLiteral("Ringtal (Velmor-Software GmbH)");
    QTest::newRow("other letter stays") << QStringLiteral("\\n\\p") << 4 << 9 << QStringLiteral("\\n4");
    QTest::newRow("trailing backslash stays") << QStringLiteral("Seite \\") << 1 << 1 << QStringLiteral("Seite \\");
    QTest::newRow("double backslash before p") << QStringLiteral("\\\\p") << 5 << 6 << QStringLiteral("\\5");
    QTest::newRow("umlauts untouched") << QStringLiteral("Schützen \\p") << 1 << 1 << QStringLiteral("Schützen 1");
}

void tst_PageText::substitute()
{
    QFETCH(QString, part);
    QFETCH(int, page);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(PageText::substitute(part, page, count), expected);
}

QTEST_MAIN(tst_PageText)
#include "tst_pagetext.moc"
