// The about dialog: its thirteen entries as designed, the links handed to
// the desktop's opener, the hand pointer and the dialog frame.
#include "ScriptedDialogs.h"
#include "frmInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QtTest>

namespace {

enum Style { Regular, Bold, Link };

int px(const QWidget *widget, double twips)
{
    return qRound(twips * widget->logicalDpiX() / 1440.0);
}

} // namespace

class tst_About : public QObject
{
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void links_data();
    void links();
    void frameAndPointer();
};

void tst_About::entries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<int>("style");
    QTest::newRow("9 Entwicklung:") << 9 << "Entwicklung:" << QRect(180, 360, 2835, 315) << int(Bold);
    QTest::newRow("0 company") << 0 << "Velmor-Software GmbH" << QRect(2430, 360, 2835, 315) << int(Bold);
    QTest::newRow("1 street") << 1 << "Musterstraße 1" << QRect(2430, 585, 2835, 315) << int(Regular);
    QTest::newRow("2 postal code and town") << 2 << "99999 Musterstadt" << QRect(2430, 855, 2655, 315) << int(Regular);
    QTest::newRow("3 telephone") << 3 << "Tel: 0123 456789" << QRect(2430, 1215, 2835, 225) << int(Regular);
    QTest::newRow("8 fax") << 8 << "Fax: 0123 456780" << QRect(2430, 1440, 2565, 225) << int(Regular);
    QTest::newRow("7 Email:") << 7 << "Email:" << QRect(2430, 1710, 525, 225) << int(Regular);
    QTest::newRow("4 e-mail link") << 4 << "info@velmor.example" << QRect(3105, 1710, 2190, 225) << int(Link);
    QTest::newRow("6 Internet:") << 6 << "Internet:" << QRect(2430, 1935, 615, 225) << int(Regular);
    QTest::newRow("5 web link") << 5 << "www.velmor.example" << QRect(3105, 1935, 1830, 225) << int(Link);
    QTest::newRow("11 Idee:") << 11 << "Idee:" << QRect(180, 2430, 1800, 315) << int(Bold);
    QTest::newRow("10 name under Idee") << 10 << "Max Mustermann" << QRect(2430, 2475, 2835, 315) << int(Bold);
    QTest::newRow("12 second web link") << 12 << "www.ringtal.example" << QRect(2430, 2700, 1830, 225) << int(Link);
}

// At its designed place, in the designed face, and not cut by the face standing in for it.
void tst_About::entries()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(int, style);
    frmInfo dialog;
    QLabel *label = dialog.label(index);
    QCOMPARE(label->objectName(), QStringLiteral("Label2_%1").arg(index));
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), QRect(px(&dialog, twips.x()), px(&dialog, twips.y()), px(&dialog, twips.width()),
                                      px(&dialog, twips.height())));
    QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(label->font().pointSizeF(), 8.25);
    QCOMPARE(label->font().bold(), style == Bold);
    QCOMPARE(label->font().underline(), style == Link);
    QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(0, 0, 255), style == Link);
    QCOMPARE(label->cursor().shape(), style == Link ? Qt::BitmapCursor : Qt::ArrowCursor);
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    QVERIFY(label->fontMetrics().height() <= label->height());
}

void tst_About::links_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text"); // null: the entry as designed
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("opened");
    const int left = Qt::LeftButton;
    QTest::newRow("e-mail opens a new mail") << 4 << QString() << left << QStringList{"mailto:info@velmor.example"};
    QTest::newRow("e-mail with blanks around")
        << 4 << "  info@velmor.example   " << left << QStringList{"mailto:info@velmor.example"};
    QTest::newRow("web address with blanks, without scheme")
        << 5 << " www.velmor.example " << left << QStringList{"http://www.velmor.example"};
    QTest::newRow("web address with its own scheme kept")
        << 5 << "https://www.velmor.example/ringtal" << left << QStringList{"https://www.velmor.example/ringtal"};
    QTest::newRow("second web address") << 12 << QString() << left << QStringList{"http://www.ringtal.example"};
    QTest::newRow("e-mail with the right button") << 4 << QString() << int(Qt::RightButton) << QStringList{};
    for (int index : {0, 3, 6, 7, 10})
        QTest::addRow("entry %d is no link", index) << index << QString() << left << QStringList{};
}

// A link that cannot be opened is not reported; the dialog stays.
void tst_About::links()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, button);
    QFETCH(QStringList, opened);
    ScriptedDialogs dialogs;
    QStringList seen;
    frmInfo::setUrlOpener([&seen](const QUrl &url) {
        seen << url.toString();
        return false;
    });
    frmInfo dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (!text.isNull())
        dialog.label(index)->setText(text);
    QTest::mouseClick(dialog.label(index), Qt::MouseButton(button));
    frmInfo::setUrlOpener({});
    QCOMPARE(seen, opened);
    QVERIFY(dialogs.shown().empty());
    QVERIFY(dialog.isVisible());
}

void tst_About::frameAndPointer()
{
    frmInfo dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ringtal Info"));
    QCOMPARE(dialog.size(), QSize(px(&dialog, 6840), px(&dialog, 3750)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(dialog.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(dialog.frameGeometry().center().y() - screen.center().y()) <= 1);
    // The pointer's finger tip is its hot spot: drawn there, nothing above it.
    const QCursor cursor = dialog.label(4)->cursor();
    QCOMPARE(cursor.hotSpot(), QPoint(12, 1));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(qAlpha(image.pixel(12, 1)) > 128 && qGray(image.pixel(12, 1)) < 64);
    for (int x = 0; x < 32; ++x)
        QCOMPARE(qAlpha(image.pixel(x, 0)), 0);
    auto *close = dialog.findChild<QPushButton *>(QStringLiteral("cmdClose"));
    QCOMPARE(close->text(), QStringLiteral("Schließen"));
    QCOMPARE(close->geometry(), QRect(px(&dialog, 5445), px(&dialog, 3105), px(&dialog, 1230), px(&dialog, 420)));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
