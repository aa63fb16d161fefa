// The about dialog: its entries as designed, links to the desktop's opener, the hand pointer, the frame.
#include "about/frmInfo.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QScreen>
#include <QtTest>

class tst_About : public QObject
{
    Q_OBJECT

private slots:
    // An entry of each style and one the standing-in face would cut; the rest is the dialog's design.
    void entry_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("opened"); // by a left click on the text with blanks around; empty: no link
        QTest::newRow("bold") << 0 << "Velmor-Software GmbH" << true << "";
        QTest::newRow("narrowed to its designed box") << 6 << "Internet:" << false << "";
        QTest::newRow("e-mail") << 4 << "info@velmor.example" << false << "mailto:info@velmor.example";
        QTest::newRow("web") << 5 << "www.velmor.example" << false << "http://www.velmor.example";
        QTest::newRow("second web address") << 12 << "www.ringtal.example" << false << "http://www.ringtal.example";
    }

    // Face, bold and link style as designed, no text cut; a failed link is not reported; hot spot at the finger tip.
    void entry()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(bool, bold);
        QFETCH(QString, opened);
        ScriptedDialogs dialogs;
        QStringList seen;
        frmInfo::setUrlOpener([&seen](const QUrl &url) { return seen << url.toString(), false; });
        frmInfo dialog;
        QVERIFY((dialog.frameGeometry().center() - dialog.screen()->geometry().center()).manhattanLength() <= 2);
        dialog.show();
        QLabel *label = dialog.label(index);
        const QFontMetrics fm = label->fontMetrics();
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(label->font().bold(), bold);
        QCOMPARE(label->font().underline() && label->palette().color(QPalette::WindowText) == Qt::blue, !opened.isEmpty());
        QCOMPARE(label->cursor().shape(), opened.isEmpty() ? Qt::ArrowCursor : Qt::BitmapCursor);
        QVERIFY(fm.horizontalAdvance(text) <= label->width() && fm.height() <= label->height());
        label->setText("  " + text + " ");
        QTest::mouseClick(label, Qt::RightButton);
        QTest::mouseClick(label, Qt::LeftButton);
        frmInfo::setUrlOpener({});
        QCOMPARE(seen, opened.isEmpty() ? QStringList() : QStringList{opened});
        QVERIFY(dialogs.shown().empty() && dialog.windowTitle() == QStringLiteral("Ringtal Info"));
        QVERIFY(dialog.minimumSize() == dialog.maximumSize() && !(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint));
        const QImage hand = dialog.label(4)->cursor().pixmap().toImage().convertToFormat(QImage::Format_Alpha8);
        QVERIFY(dialog.label(4)->cursor().hotSpot() == QPoint(12, 1) && qAlpha(hand.pixel(12, 1)) > 128);
        QVERIFY(std::all_of(hand.constScanLine(0), hand.constScanLine(0) + 32, [](uchar a) { return a == 0; }));
        auto *close = dialog.findChild<QWidget *>(QStringLiteral("cmdClose"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(close->property("text") == QStringLiteral("Schließen") && !dialog.isVisible());
    }
};

QTEST_MAIN(tst_About)
#include "tst_about.moc"
