// Where a window restored from its stored entry goes: kept where it fits,
// cut to the size of its screen when larger, centred on the primary screen
// when mostly beyond every screen. Screens as the desktop reports their
// available areas, without a real screen; expected places worked out from
// those rules by hand.
#include "settings/WindowPlacement.h"

#include <QtTest>

namespace {

// A desktop of 1920 × 1080 with a panel of 40 at the bottom, and the screen
// a second monitor adds to its right.
const QRectF Primary(0, 0, 1920, 1040);
const QRectF RightOfIt(1920, 0, 1280, 1024);
// Borders and a title bar; none before the window is first shown.
const QMarginsF Frame(4, 30, 4, 4);
const QMarginsF NoFrame;
// 99999999 twips at 96 dots per inch.
constexpr double Huge = 99999999.0 * 96 / 1440;

} // namespace

class tst_WindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void fitted_data()
    {
        QTest::addColumn<QRectF>("stored");
        QTest::addColumn<QMarginsF>("frame");
        QTest::addColumn<QList<QRectF>>("screens");
        QTest::addColumn<QRectF>("expected");
        const QList<QRectF> one{Primary};
        const QList<QRectF> two{Primary, RightOfIt};
        // On no screen at all, the primary one is its screen, not the last one asked.
        QTest::newRow("99999999 four times: the primary screen's size")
            << QRectF(Huge, Huge, Huge, Huge) << NoFrame << two << Primary;
        QTest::newRow("too wide only: top and height kept")
            << QRectF(200, 100, 2500, 600) << NoFrame << one << QRectF(0, 100, 1920, 600);
        // Centred: (1920 - 800) / 2 and (1040 - 600) / 2.
        QTest::newRow("60 % beyond the right edge: centred")
            << QRectF(1600, 100, 800, 600) << NoFrame << one << QRectF(560, 220, 800, 600);
        QTest::newRow("a third beyond the left edge stays")
            << QRectF(-250, 100, 800, 600) << NoFrame << one << QRectF(-250, 100, 800, 600);
        QTest::newRow("centred with its frame: the frame in the middle")
            << QRectF(5000, 100, 800, 600) << Frame << one << QRectF(556, 203, 800, 600);
        QTest::newRow("too large on the second screen: that screen's size")
            << QRectF(2000, 100, 3000, 3000) << NoFrame << two << RightOfIt;
        // A maximised window stores its inner area at about 10, 10 twips; shown
        // again in its normal state it gets its frame back, inside the screen.
        QTest::newRow("maximised state: the frame comes back inside the screen")
            << QRectF(1, 1, 1919, 1009) << Frame << one << QRectF(0, 0, 1912, 1006);
        QTest::newRow("no screen known: untouched")
            << QRectF(5000, 100, 800, 600) << NoFrame << QList<QRectF>{} << QRectF(5000, 100, 800, 600);
    }

    void fitted()
    {
        QFETCH(QRectF, stored);
        QFETCH(QMarginsF, frame);
        QFETCH(QList<QRectF>, screens);
        QFETCH(QRectF, expected);
        QCOMPARE(WindowPlacement::fitted(stored, frame, screens), expected);
    }
};

QTEST_GUILESS_MAIN(tst_WindowPlacement)
#include "tst_windowplacement.moc"
