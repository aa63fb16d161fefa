#include "ColourValue.h"
#include "SettingsStore.h"
#include "TestCompetition.h"

#include <QtTest>

using ColourValue::Rgb;

Q_DECLARE_METATYPE(Rgb)

namespace {

// A value the store cannot give back as a colour; the window keeps its own.
constexpr qint64 noValue = qint64(1) << 40;

qint64 asColumn(const std::optional<qint32> &value)
{
    return value ? qint64(*value) : noValue;
}

} // namespace

class TestColourValue : public QObject
{
    Q_OBJECT

private slots:
    void fromRgb_data();
    void fromRgb();
    void toRgb_data();
    void toRgb();
    void toText_data();
    void toText();
    void fromText_data();
    void fromText();
    void throughTheStore_data();
    void throughTheStore();
};

void TestColourValue::fromRgb_data()
{
    QTest::addColumn<Rgb>("rgb");
    QTest::addColumn<int>("expected");
    QTest::newRow("black is 0") << Rgb{0, 0, 0} << 0;
    QTest::newRow("red in the lowest byte") << Rgb{255, 0, 0} << 255;
    QTest::newRow("green in the second byte") << Rgb{0, 255, 0} << 65280;
    QTest::newRow("blue in the third byte") << Rgb{0, 0, 255} << 16711680;
    QTest::newRow("white") << Rgb{255, 255, 255} << 16777215;
    QTest::newRow("mixed 0x563412") << Rgb{0x12, 0x34, 0x56} << 5649426;
    QTest::newRow("components clamped to 0..255") << Rgb{300, -5, 128} << 8388863;
}

void TestColourValue::fromRgb()
{
    QFETCH(Rgb, rgb);
    QFETCH(int, expected);
    QCOMPARE(ColourValue::fromRgb(rgb.red, rgb.green, rgb.blue), expected);
}

void TestColourValue::toRgb_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("isColour");
    QTest::addColumn<Rgb>("expected");
    QTest::newRow("black") << 0 << true << Rgb{0, 0, 0};
    QTest::newRow("red") << 255 << true << Rgb{255, 0, 0};
    QTest::newRow("blue") << 16711680 << true << Rgb{0, 0, 255};
    QTest::newRow("mixed 0x563412") << 5649426 << true << Rgb{0x12, 0x34, 0x56};
    QTest::newRow("white") << 16777215 << true << Rgb{255, 255, 255};
    QTest::newRow("system colour 0x80000008") << int(-2147483640) << false << Rgb{};
    QTest::newRow("lowest negative value") << int(-2147483647 - 1) << false << Rgb{};
    QTest::newRow("fourth byte set") << 16777216 << false << Rgb{};
}

void TestColourValue::toRgb()
{
    QFETCH(int, value);
    QFETCH(bool, isColour);
    QFETCH(Rgb, expected);
    const std::optional<Rgb> rgb = ColourValue::toRgb(value);
    QCOMPARE(rgb.has_value(), isColour);
    if (isColour)
        QCOMPARE(*rgb, expected);
}

void TestColourValue::toText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("black") << 0 << "0";
    QTest::newRow("red") << 255 << "255";
    QTest::newRow("white without grouping") << 16777215 << "16777215";
    QTest::newRow("system colour negative") << int(-2147483633) << "-2147483633";
}

void TestColourValue::toText()
{
    QFETCH(int, value);
    QFETCH(QString, expected);
    QCOMPARE(ColourValue::toText(value), expected);
}

void TestColourValue::fromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("black") << "0" << qint64(0);
    QTest::newRow("red") << "255" << qint64(255);
    QTest::newRow("white") << "16777215" << qint64(16777215);
    QTest::newRow("system colour") << "-2147483640" << qint64(-2147483640);
    QTest::newRow("lowest 32-bit value") << "-2147483648" << qint64(-2147483648LL);
    QTest::newRow("highest 32-bit value") << "2147483647" << qint64(2147483647);
    QTest::newRow("blanks around") << " 255 " << qint64(255);
    QTest::newRow("half rounds to even, down") << "12,5" << qint64(12);
    QTest::newRow("half rounds to even, up") << "13,5" << qint64(14);
    QTest::newRow("above 32 bits") << "2147483648" << noValue;
    QTest::newRow("below 32 bits") << "-2147483649" << noValue;
    QTest::newRow("a word") << "rot" << noValue;
    QTest::newRow("empty") << "" << noValue;
    QTest::newRow("hex notation") << "&HFF" << noValue;
    QTest::newRow("NaN") << "NaN" << noValue;
    QTest::newRow("huge") << "1E+300" << noValue;
}

void TestColourValue::fromText()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    QCOMPARE(asColumn(ColourValue::fromText(text)), expected);
}

void TestColourValue::throughTheStore_data()
{
    QTest::addColumn<bool>("storeIt");
    QTest::addColumn<int>("colour");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("nothing stored gives the default 0") << false << 0 << qint64(0);
    QTest::newRow("mixed colour") << true << 5649426 << qint64(5649426);
    QTest::newRow("system colour") << true << int(-2147483640) << qint64(-2147483640);
}

void TestColourValue::throughTheStore()
{
    QFETCH(bool, storeIt);
    QFETCH(int, colour);
    QFETCH(qint64, expected);
    TempSettings settings;
    const QString section = QStringLiteral("Allgemein");
    const QString key = QStringLiteral("Dateneingabe-Forecolor");
    if (storeIt)
        SettingsStore::write(section, key, ColourValue::toText(colour));
    QCOMPARE(asColumn(ColourValue::fromText(SettingsStore::read(section, key, QStringLiteral("0")))), expected);
}

QTEST_GUILESS_MAIN(TestColourValue)
#include "tst_colourvalue.moc"
