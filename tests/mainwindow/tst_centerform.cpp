// Centring a window on the primary screen.
#include "FormTools.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtTest>

class tst_CenterForm : public QObject
{
    Q_OBJECT

private slots:
    void centresOnPrimaryScreen_data();
    void centresOnPrimaryScreen();
};

void tst_CenterForm::centresOnPrimaryScreen_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("small dialog") << QSize(262, 211);
    QTest::newRow("odd sizes round down") << QSize(401, 303);
    QTest::newRow("larger than the screen") << QSize(4000, 3000);
}

void tst_CenterForm::centresOnPrimaryScreen()
{
    QFETCH(QSize, size);
    QWidget window;
    window.resize(size);
    window.move(7, 9);
    CenterForm(&window);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = window.frameGeometry().size();
    QCOMPARE(window.frameGeometry().left(), screen.left() + (screen.width() - outer.width()) / 2);
    QCOMPARE(window.frameGeometry().top(), screen.top() + (screen.height() - outer.height()) / 2);
}

QTEST_MAIN(tst_CenterForm)
#include "tst_centerform.moc"
