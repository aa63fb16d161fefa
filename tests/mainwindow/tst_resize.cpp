// How the main window lays out its controls when its size changes: the rules
// on their own in twips, then the window following its size.
#include "MainLayout.h"
#include "MainWindowSession.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

namespace {

// The design: inner area 14340 × 10905 with the 360 toolbar strip, the
// search box 1185 and its label 780 wide, the title label at 450 and 330
// high, the tab control 135 from the left, a tab strip of 360.
MainLayout::Input design()
{
    MainLayout::Input in;
    in.width = 14340;
    in.height = 10905;
    in.toolbarHeight = 360;
    in.tabStripHeight = 360;
    in.txtSucheWidth = 1185;
    in.lblSucheWidth = 780;
    in.label1Top = 450;
    in.label1Height = 330;
    in.ssTab1Left = 135;
    return in;
}

using Twips = QList<double>;

} // namespace

class tst_Resize : public QObject
{
    Q_OBJECT

private slots:
    void arithmetic_data();
    void arithmetic();
    void negativeSizesAreNotApplicable_data();
    void negativeSizesAreNotApplicable();
    void designLayout();
    void windowFollowsItsSize_data();
    void windowFollowsItsSize();
    void tooSmallKeepsTheLastSizes();

private:
    static int px(const QWidget *widget, double twips) { return qRound(twips * widget->logicalDpiX() / 1440.0); }
    // Sets the inner area (toolbar and central part) to a size in pixels.
    static void setInnerSize(frmMain &window, int width, int height);
    static QRect inInnerArea(frmMain &window, const char *name);
};

void tst_Resize::arithmetic_data()
{
    QTest::addColumn<double>("wider");
    QTest::addColumn<double>("taller");
    // txtSuche left, lblSuche left, Label1 left and width, SSTab1 top, width
    // and height, grid width and height.
    QTest::addColumn<Twips>("expected");
    // 14340 − 270 − 1185 = 12885; 12885 − 780 = 12105; 12105 − 2 × 135 = 11835;
    // 450 + 330 = 780; 14340 − 270 = 14070; 10905 − 550 − 360 = 9995;
    // 14070 − 270 = 13800; 9995 − 360 − 270 = 9365.
    QTest::newRow("design size") << 0.0 << 0.0 << Twips{12885, 12105, 135, 11835, 780, 14070, 9995, 13800, 9365};
    QTest::newRow("1000 wider and taller")
            << 1000.0 << 1000.0 << Twips{13885, 13105, 135, 12835, 780, 15070, 10995, 14800, 10365};
    // W = 1500: 1500 − 270 − 1185 = 45; 45 − 780 = −735; −735 − 270 = −1005;
    // 1500 − 270 = 1230; 1230 − 270 = 960.
    QTest::newRow("narrower than the margins")
            << -12840.0 << 0.0 << Twips{45, -735, 135, -1005, 780, 1230, 9995, 960, 9365};
    // H = 1200: 1200 − 550 − 360 = 290; 290 − 360 − 270 = −340.
    QTest::newRow("lower than the margins")
            << 0.0 << -9705.0 << Twips{12885, 12105, 135, 11835, 780, 14070, 290, 13800, -340};
}

void tst_Resize::arithmetic()
{
    QFETCH(double, wider);
    QFETCH(double, taller);
    QFETCH(Twips, expected);
    MainLayout::Input in = design();
    in.width += wider;
    in.height += taller;
    const MainLayout out = MainLayout::compute(in);
    const Twips got{out.txtSucheLeft, out.lblSucheLeft, out.label1Left, out.label1Width, out.ssTab1Top,
                    out.ssTab1Width,  out.ssTab1Height, out.gridWidth,  out.gridHeight};
    QCOMPARE(got, expected);
}

void tst_Resize::negativeSizesAreNotApplicable_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("applicable");
    QTest::newRow("zero is a size") << 0.0 << true;
    QTest::newRow("a fraction below zero") << -0.5 << false;
    QTest::newRow("far below zero") << -1005.0 << false;
}

void tst_Resize::negativeSizesAreNotApplicable()
{
    QFETCH(double, size);
    QFETCH(bool, applicable);
    QCOMPARE(MainLayout::applicable(size), applicable);
}

void tst_Resize::setInnerSize(frmMain &window, int width, int height)
{
    window.resize(width, height + window.menuBar()->height());
    QCoreApplication::processEvents();
}

// Geometry of a control with its position counted from the top left of the
// inner area, where the toolbar strip is.
QRect tst_Resize::inInnerArea(frmMain &window, const char *name)
{
    auto *widget = window.findChild<QWidget *>(QLatin1String(name));
    const QPoint topLeft = widget->mapTo(&window, QPoint(0, 0)) - QPoint(0, window.menuBar()->height());
    return QRect(topLeft, widget->size());
}

void tst_Resize::designLayout()
{
    MainWindowSession session;
    frmMain &window = session.window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    setInnerSize(window, px(&window, 14340), px(&window, 10905));
    auto *bar = window.findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QCOMPARE(bar->height() + window.centralWidget()->height(), px(&window, 10905));
    QCOMPARE(window.centralWidget()->width(), px(&window, 14340));
    QCOMPARE(inInnerArea(window, "Toolbar1").top(), 0);
    QCOMPARE(inInnerArea(window, "Label1"),
             QRect(px(&window, 135), px(&window, 450), px(&window, 11835), px(&window, 330)));
    QCOMPARE(inInnerArea(window, "lblSuche"),
             QRect(px(&window, 12105), px(&window, 540), px(&window, 780), px(&window, 240)));
    QCOMPARE(inInnerArea(window, "txtSuche"),
             QRect(px(&window, 12885), px(&window, 450), px(&window, 1185), px(&window, 330)));
    QCOMPARE(inInnerArea(window, "SSTab1"),
             QRect(px(&window, 135), px(&window, 780), px(&window, 14070), px(&window, 9995)));
    // The tab strip's height is the style's; the grids leave 270 below it.
    const int strip = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->tabBar()->sizeHint().height();
    for (const char *grid : {"TDBGrid1", "TDBGrid2"}) {
        auto *widget = window.findChild<QWidget *>(QLatin1String(grid));
        QCOMPARE(widget->width(), px(&window, 13800));
        QVERIFY(qAbs(widget->height() - (px(&window, 9995 - 270) - strip)) <= 1);
        QCOMPARE(widget->x(), px(&window, 135));
    }
}

void tst_Resize::windowFollowsItsSize_data()
{
    QTest::addColumn<int>("wider");  // pixels
    QTest::addColumn<int>("taller"); // pixels
    QTest::newRow("wider and taller") << 100 << 100;
    QTest::newRow("33 pixels narrower and lower") << -33 << -33;
}

// Every rule adds the change of W or H once, so in pixels each control moves
// or grows by exactly the change of the window.
void tst_Resize::windowFollowsItsSize()
{
    QFETCH(int, wider);
    QFETCH(int, taller);
    MainWindowSession session;
    frmMain &window = session.window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    setInnerSize(window, px(&window, 14340), px(&window, 10905));
    const QStringList names{"Label1", "lblSuche", "txtSuche", "SSTab1", "TDBGrid1", "TDBGrid2"};
    QList<QRect> before;
    for (const QString &name : names)
        before << inInnerArea(window, qPrintable(name));
    setInnerSize(window, px(&window, 14340) + wider, px(&window, 10905) + taller);
    const QList<QPoint> moves{{0, 0}, {wider, 0}, {wider, 0}, {0, 0}, {0, 0}, {0, 0}};
    const QList<QSize> growths{{wider, 0}, {0, 0}, {0, 0}, {wider, taller}, {wider, taller}, {wider, taller}};
    for (int i = 0; i < names.size(); ++i) {
        const QRect after = inInnerArea(window, qPrintable(names.at(i)));
        QCOMPARE(after.topLeft() - before.at(i).topLeft(), moves.at(i));
        QCOMPARE(after.size() - before.at(i).size(), growths.at(i));
    }
}

// A window smaller than the margins: what comes out as a size below zero
// stays as it was, everything else follows.
void tst_Resize::tooSmallKeepsTheLastSizes()
{
    MainWindowSession session;
    frmMain &window = session.window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    setInnerSize(window, px(&window, 14340), px(&window, 10905));
    const int labelWidth = window.findChild<QWidget *>(QStringLiteral("Label1"))->width();
    const int gridHeight = window.findChild<QWidget *>(QStringLiteral("TDBGrid1"))->height();
    // Inner area 1500 × 1200 (see the rows of arithmetic()).
    setInnerSize(window, px(&window, 1500), px(&window, 1200));
    QCOMPARE(window.centralWidget()->width(), px(&window, 1500));
    QCOMPARE(inInnerArea(window, "txtSuche").left(), px(&window, 45));
    QCOMPARE(inInnerArea(window, "lblSuche").left(), px(&window, -735));
    QCOMPARE(inInnerArea(window, "Label1").width(), labelWidth);
    QCOMPARE(inInnerArea(window, "SSTab1").size(), QSize(px(&window, 1230), px(&window, 290)));
    for (const char *grid : {"TDBGrid1", "TDBGrid2"})
        QCOMPARE(inInnerArea(window, grid).size(), QSize(px(&window, 960), gridHeight));
}

QTEST_MAIN(tst_Resize)
#include "tst_resize.moc"
