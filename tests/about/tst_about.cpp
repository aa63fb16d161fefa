// The about dialog: its thirteen entries as designed, the links handed to
// the desktop's opener, the hand pointer and the dialog frame.
#include "AppIcons.h"
#include "ScriptedDialogs.h"
#include "frmInfo.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QtTest>

namespace {

enum Style { Regular, Bold, Link };

} // namespace

class tst_About : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entries_data();
    void entries();
    void textsAreNotCut_data();
    void textsAreNotCut();
    void frame();
    void links_data();
    void links();
    void otherEntriesOpenNothing_data();
    void otherEntriesOpenNothing();
    void failedOpenIsNotReported();
    void handPointerOverTheMail();
    void closeButton();
    void menuShowsItModally();

private:
    static int px(const QWidget *widget, double twips) { return qRound(twips * widget->logicalDpiX() / 1440.0); }

    QStringList m_opened;
    bool m_openerAnswer = true;
};

void tst_About::init()
{
    m_opened.clear();
    m_openerAnswer = true;
    frmInfo::setUrlOpener([this](const QUrl &url) {
        m_opened << url.toString();
        return m_openerAnswer;
    });
}

void tst_About::cleanup()
{
    frmInfo::setUrlOpener({});
}

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

void tst_About::entries()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(int, style);
    frmInfo dialog;
    QLabel *label = dialog.label(index);
    QVERIFY(label);
    QCOMPARE(label->objectName(), QStringLiteral("Label2_%1").arg(index));
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), QRect(px(&dialog, twips.x()), px(&dialog, twips.y()), px(&dialog, twips.width()),
                                      px(&dialog, twips.height())));
    const QFont font = label->font();
    QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font.pointSizeF(), 8.25);
    QCOMPARE(font.weight(), style == Bold ? QFont::Bold : QFont::Normal);
    QCOMPARE(int(font.weight()), style == Bold ? 700 : 400);
    QCOMPARE(font.underline(), style == Link);
    if (style == Link)
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    else
        QVERIFY(label->palette().color(QPalette::WindowText) != QColor(0, 0, 255));
    QCOMPARE(label->focusPolicy(), Qt::NoFocus);
}

void tst_About::textsAreNotCut_data()
{
    QTest::addColumn<int>("index");
    for (int index = 0; index < 13; ++index)
        QTest::addRow("entry %d", index) << index;
}

// The designed widths were made for a narrower face than the one standing in
// for it here; no entry may lose the end of its text.
void tst_About::textsAreNotCut()
{
    QFETCH(int, index);
    frmInfo dialog;
    QLabel *label = dialog.label(index);
    QVERIFY(label);
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
    QVERIFY(label->fontMetrics().height() <= label->height());
}

void tst_About::frame()
{
    frmInfo dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("frmInfo"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ringtal Info"));
    QCOMPARE(dialog.size(), QSize(px(&dialog, 6840), px(&dialog, 3750)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    auto *close = dialog.findChild<QPushButton *>(QStringLiteral("cmdClose"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("Schließen"));
    QCOMPARE(close->geometry(), QRect(px(&dialog, 5445), px(&dialog, 3105), px(&dialog, 1230), px(&dialog, 420)));
    int focusable = 0;
    for (QWidget *child : dialog.findChildren<QWidget *>())
        focusable += child->focusPolicy() != Qt::NoFocus ? 1 : 0;
    QCOMPARE(focusable, 1);
    // Centred on the screen when loaded.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(dialog.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(dialog.frameGeometry().center().y() - screen.center().y()) <= 1);
}

void tst_About::links_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text"); // null: the entry as designed
    QTest::addColumn<QString>("opened");
    QTest::newRow("e-mail opens a new mail") << 4 << QString() << "mailto:info@velmor.example";
    QTest::newRow("e-mail with blanks around") << 4 << "  info@velmor.example   "
                                               << "mailto:info@velmor.example";
    QTest::newRow("web address without scheme as a web address") << 5 << QString() << "http://www.velmor.example";
    QTest::newRow("web address with blanks around") << 5 << " www.velmor.example "
                                                    << "http://www.velmor.example";
    QTest::newRow("web address with its own scheme kept") << 5 << "https://www.velmor.example/ringtal"
                                                          << "https://www.velmor.example/ringtal";
    QTest::newRow("second web address") << 12 << QString() << "http://www.ringtal.example";
    QTest::newRow("second web address with a blank before") << 12 << " www.ringtal.example"
                                                            << "http://www.ringtal.example";
}

void tst_About::links()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, opened);
    frmInfo dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (!text.isNull())
        dialog.label(index)->setText(text);
    QTest::mouseClick(dialog.label(index), Qt::LeftButton);
    QCOMPARE(m_opened, QStringList{opened});
}

void tst_About::otherEntriesOpenNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("button");
    for (int index : {0, 1, 2, 3, 6, 7, 8, 9, 10, 11})
        QTest::addRow("entry %d", index) << index << int(Qt::LeftButton);
    QTest::newRow("e-mail with the right button") << 4 << int(Qt::RightButton);
    QTest::newRow("web address with the middle button") << 5 << int(Qt::MiddleButton);
}

void tst_About::otherEntriesOpenNothing()
{
    QFETCH(int, index);
    QFETCH(int, button);
    frmInfo dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.label(index), Qt::MouseButton(button));
    QCOMPARE(m_opened, QStringList());
}

void tst_About::failedOpenIsNotReported()
{
    ScriptedDialogs dialogs;
    m_openerAnswer = false;
    frmInfo dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.label(4), Qt::LeftButton);
    QCOMPARE(m_opened, QStringList{QStringLiteral("mailto:info@velmor.example")});
    QVERIFY(dialogs.shown().empty());
    QVERIFY(dialog.isVisible());
}

// The pointer's finger tip is its hot spot: nothing is drawn above it, and it is drawn there.
void tst_About::handPointerOverTheMail()
{
    frmInfo dialog;
    const QCursor cursor = dialog.label(4)->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(12, 1));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(qAlpha(image.pixel(12, 1)) > 128);
    QVERIFY(qGray(image.pixel(12, 1)) < 64);
    for (int x = 0; x < 32; ++x)
        QCOMPARE(qAlpha(image.pixel(x, 0)), 0);
    // The other entries that are no links keep the ordinary pointer.
    QCOMPARE(dialog.label(7)->cursor().shape(), Qt::ArrowCursor);
}

void tst_About::closeButton()
{
    frmInfo dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_opened, QStringList());
}

void tst_About::menuShowsItModally()
{
    ScriptedDialogs dialogs;
    frmMain window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString shown;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<frmInfo *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        shown = dialog->windowTitle();
        modal = dialog->isModal();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
    });
    // The command returns only once the dialog is closed.
    window.findChild<QAction *>(QStringLiteral("mnuInfo"))->trigger();
    QCOMPARE(shown, QStringLiteral("Ringtal Info"));
    QVERIFY(modal);
    // Each showing loads the dialog afresh; none is left over.
    QVERIFY(!window.findChild<frmInfo *>());
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
