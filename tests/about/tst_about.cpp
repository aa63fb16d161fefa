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
    void entry_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opened"); // by a left click on the text with blanks around; empty: no link
        const QStringList texts{"Velmor-Software GmbH", "Musterstraße 1", "99999 Musterstadt", "Tel: 0123 456789",
                                "info@velmor.example", "www.velmor.example", "Internet:", "Email:", "Fax: 0123 456780",
                                "Entwicklung:", "Max Mustermann", "Idee:", "www.ringtal.example"};
        const QHash<int, QString> links{
            {4, "mailto:info@velmor.example"}, {5, "http://www.velmor.example"}, {12, "http://www.ringtal.example"}};
        for (int i = 0; i < texts.size(); ++i)
            QTest::addRow("%d %s", i, qPrintable(texts.at(i))) << i << texts.at(i) << links.value(i);
    }

    // Face, bold and link style as designed, no text cut; a failed link is not reported; hot spot at the finger tip.
    void entry()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
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
        QCOMPARE(label->font().bold(), index == 0 || (index >= 9 && index <= 11));
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
