// How the main window lays out its controls when its size changes (Form_Resize),
// in twips of the inner area from the rules, checked on the window itself.
#include "MainWindowSession.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

class tst_Resize : public QObject
{
    Q_OBJECT

private slots:
    void designLayout();
    void tooSmallKeepsTheLastSizes();

private:
    static int px(const QWidget *widget, double twips) { return qRound(twips * widget->logicalDpiX() / 1440.0); }
    // Sets the inner area (toolbar and central part) to a size in pixels.
    static void setInnerSize(frmMain &window, int width, int height);
    static QRect inInnerArea(frmMain &window, const char *name);
    static bool showAtDesignSize(frmMain &window)
    {
        window.show();
        setInnerSize(window, px(&window, 14340), px(&window, 10905));
        return QTest::qWaitForWindowExposed(&window);
    }
};

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
    QVERIFY(showAtDesignSize(window));
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

// A window smaller than the margins: what comes out as a size below zero
// stays as it was, everything else follows.
void tst_Resize::tooSmallKeepsTheLastSizes()
{
    MainWindowSession session;
    frmMain &window = session.window();
    QVERIFY(showAtDesignSize(window));
    const int labelWidth = window.findChild<QWidget *>(QStringLiteral("Label1"))->width();
    const int gridHeight = window.findChild<QWidget *>(QStringLiteral("TDBGrid1"))->height();
    // Inner area 1500 × 1200: search box at 1500 − 270 − 1185 = 45, its label at
    // 45 − 780 = −735 (a place may be negative), the title's width −735 − 2 × 135
    // below zero is kept; tab control 1500 − 270 = 1230 by 1200 − 550 − 360 = 290;
    // grids 1230 − 270 = 960 wide, their height 290 − 360 − 270 below zero kept.
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
