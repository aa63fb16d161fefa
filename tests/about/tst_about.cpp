// The about dialog: its thirteen entries as designed, the links handed to
// the desktop's opener, the hand pointer and the dialog frame.
#include "about/frmInfo.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QtTest>

class tst_About : public QObject
{
    Q_OBJECT

private slots:
    void entries();
    void links_data();
    void links();
    void frameAndPointer();
};

// In the designed face and style, and not cut by the face standing in for it.
void tst_About::entries()
{
    const QStringList texts{"Velmor-Software GmbH", "Musterstraße 1", "99999 Musterstadt", "Tel: 0123 456789",
                            "info@velmor.example", "www.velmor.example", "Internet:", "Email:", "Fax: 0123 456780",
                            "Entwicklung:", "Max Mustermann", "Idee:", "www.ringtal.example"};
    const QList<int> bold{0, 9, 10, 11};
    const QList<int> links{4, 5, 12};
    frmInfo dialog;
    for (int index = 0; index < texts.size(); ++index) {
        QLabel *label = dialog.label(index);
        QCOMPARE(label->text(), texts.at(index));
        QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(label->font().bold(), bold.contains(index));
        QCOMPARE(label->font().underline(), links.contains(index));
        QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(0, 0, 255), links.contains(index));
        QCOMPARE(label->cursor().shape(), links.contains(index) ? Qt::BitmapCursor : Qt::ArrowCursor);
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        QVERIFY(label->fontMetrics().height() <= label->height());
    }
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
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
