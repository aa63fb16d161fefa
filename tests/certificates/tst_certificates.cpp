#include "certificates/CertificatePages.h"
#include "certificates/CertificatePrinter.h"
#include "certificates/frmUrkunden.h"
#include "mainwindow/MainWindowSession.h"
#include "printing/PrintPreviewWindow.h"
#include "support/PdfText.h"

#include <QBuffer>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

Q_DECLARE_METATYPE(CertificateLayout)

namespace {

Certificate shooter(const QString &name)
{
    return {QStringLiteral("Kreismeisterschaft"), QStringLiteral("Jugend"), QStringLiteral("1"), name,
            QStringLiteral("SV Tell"), QString(), QStringLiteral("98,7"), QStringLiteral("07.06.2024")};
}

CertificateLayout oneLine(const QString &text, double points, double topMm)
{
    CertificateLayout layout;
    CertificateLine line;
    line.text = text;
    line.pointSize = points;
    line.bold = true;
    line.topMm = topMm;
    layout.lines = {line};
    return layout;
}

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QByteArray Svg = "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='50'><rect width='100' height='50'/></svg>";
const QString LongName = QStringLiteral("Maximilian Alexander von Hohenzollern-Sigmaringen");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class tst_Certificates : public QObject
{
    Q_OBJECT

private slots:
    // Lengths by the rules: A4 is 210 × 297 mm, A5 148 × 210; a line's room is the paper less its margins.
    void problems_data()
    {
        QTest::addColumn<CertificateLayout>("layout");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // the start of the message; empty: prints
        CertificateLayout standard = CertificateLayout::standard();
        QTest::newRow("standard layout, short name") << standard << "Anna Weiß" << "";
        standard.lines[2].text = QStringLiteral("{Vorname}");
        QTest::newRow("unknown field")
                << standard << "Anna Weiß"
                << "Zeile 3: Das Feld {Vorname} gibt es nicht. Möglich sind: {Wettkampf}, {Klasse}, {Platz}, {Name}, "
                   "{Verein}, {Mannschaft}, {Ringe}, {Datum}.";
        QTest::newRow("unclosed brace") << oneLine("{Name", 12, 20) << "Anna" << "Zeile 1: Die Klammer { wird nicht geschlossen.";
        QTest::newRow("12 pt just above the bottom") << oneLine("{Name}", 12, 288) << "Anna" << "";
        QTest::newRow("20 pt below the bottom") << oneLine("{Name}", 20, 290) << "Anna" << "Zeile 1 reicht bis";
        CertificateLayout a5 = oneLine("{Name}", 12, 160);
        a5.paper = CertificateLayout::Paper::A5;
        QTest::newRow("A5 portrait has room at 160 mm") << a5 << "Anna" << "";
        a5.landscape = true;
        QTest::newRow("A5 landscape ends at 148 mm") << a5 << "Anna" << "Zeile 1 reicht bis";
        QTest::newRow("long name wider than the page")
                << oneLine("{Name}", 20, 100) << LongName << "Zeile 1 passt für „" + LongName + "“ nicht auf die Seite: Schrift kleiner "
                       "oder die Ränder links und rechts schmaler wählen.";
        CertificateLayout landscape = oneLine("{Name}", 20, 100);
        landscape.landscape = true;
        QTest::newRow("long name fits landscape") << landscape << LongName << "";
        CertificateLayout narrow = oneLine("{Name}", 12, 100);
        narrow.lines[0].leftMm = 105;
        narrow.lines[0].rightMm = 105;
        QTest::newRow("margins leave no room") << narrow << "Anna" << "Zeile 1: Die Ränder links und rechts";
        CertificateLayout picture = oneLine("{Name}", 12, 100);
        picture.picture.name = QStringLiteral("logo.png");
        picture.picture.bytes = "no picture at all";
        QTest::newRow("unreadable picture") << picture << "Anna" << "Das Bild „logo.png“ kann nicht gelesen werden";
        picture.picture.bytes = png(40, 20);
        picture.picture.leftMm = 170;
        picture.picture.widthMm = 40;
        QTest::newRow("PNG reaching the right edge exactly") << picture << "Anna" << "";
        picture.picture.leftMm = 171;
        QTest::newRow("PNG off the right edge") << picture << "Anna" << "Das Bild „logo.png“ liegt nicht ganz auf der Seite";
        picture.picture.bytes = Svg;
        picture.picture.leftMm = 20;
        picture.picture.topMm = 200;
        picture.picture.widthMm = 0;
        picture.picture.heightMm = 50;
        QTest::newRow("SVG twice as wide as high, 0 width from height") << picture << "Anna" << "";
        picture.picture.topMm = 248;
        QTest::newRow("SVG below the bottom") << picture << "Anna" << "Das Bild „logo.png“ liegt nicht ganz";
    }
    void problems()
    {
        QFETCH(CertificateLayout, layout);
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QPrinter printer(QPrinter::HighResolution);
        CertificatePages::setUpPrinter(printer, layout);
        CertificatePages pages(layout, {shooter(QStringLiteral("Anna")), shooter(name)}, &printer);
        const QString found = pages.problem().value_or(QString());
        QVERIFY2(problem.isEmpty() ? found.isEmpty() : found.startsWith(problem), qPrintable(found));
    }

    // A file that is no layout is said, and what the dialog showed stays; a saved one comes back whole.
    void layoutFiles()
    {
        TempSettings settings;
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        frmUrkunden dialog([](bool, bool, int) { return std::vector<Certificate>{shooter("Anna")}; });
        CertificateLayout mine = oneLine("{Name} aus {Verein}", 18, 80);
        mine.picture.name = QStringLiteral("logo.svg");
        mine.picture.bytes = Svg;
        dialog.showLayout(mine);
        dialogs.answerFile(dir.filePath("verein.urk"));
        dialog.cmdVorlageSpeichern_Click();
        writeFile(dir.filePath("kaputt.urk"), "{\"Format\": \"Ringtal-Urkundenvorlage\", \"Papier\": ");
        dialogs.answerFile(dir.filePath("kaputt.urk"));
        dialog.cmdVorlageLaden_Click();
        QVERIFY(dialog.layout() == mine);
        QCOMPARE(dialogs.shown().back().kind, QStringLiteral("message"));
        QVERIFY2(dialogs.shown().back().text.contains("kann nicht geladen werden; die bisherige bleibt."),
                 qPrintable(dialogs.shown().back().text));
        dialog.showLayout(CertificateLayout::standard());
        dialogs.answerFile(dir.filePath("verein.urk"));
        dialog.cmdVorlageLaden_Click();
        QVERIFY(dialog.layout() == mine);
        QCOMPARE(dialog.message(), QString());
        dialog.reject();
        QVERIFY(CertificateLayout::stored() == mine);
    }

    // A field typed wrong stands in the message line, and printing is refused with the same words.
    void typedMistakeRefusesPrint()
    {
        TempSettings settings;
        ScriptedDialogs dialogs;
        frmUrkunden dialog([](bool, bool, int) { return std::vector<Certificate>{shooter("Anna")}; });
        dialog.findChild<QTableWidget *>("grdZeilen")->item(3, 0)->setText("{Vorname}");
        QVERIFY(dialog.message().startsWith("Zeile 4: Das Feld {Vorname} gibt es nicht."));
        dialog.findChild<QTableWidget *>("grdZeilen")->item(3, 6)->setText("1x");
        QCOMPARE(dialog.message(), QStringLiteral("Zeile 4, oben: „1x“ ist keine Länge in mm von 0 bis 1000."));
        dialog.cmdDrucken_Click();
        QCOMPARE(dialogs.boxes(), QStringList("Urkunden|" + dialog.message()));
        QCOMPARE(dialog.findChild<QTableWidget *>("grdZeilen")->item(3, 6)->text(), QStringLiteral("1x"));
    }

    // Cancelling while the pages are written leaves no half file behind.
    void cancelledPrintLeavesNoFile()
    {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        CertificatePages::setUpPrinter(printer, CertificateLayout::standard());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("urkunden.pdf"));
        dialogs.cancelProgressAt(2);
        const std::vector<Certificate> five(5, shooter("Anna"));
        QVERIFY(!CertificatePrinter::printTo(printer, CertificateLayout::standard(), five));
        QVERIFY(!QFile::exists(dir.filePath("urkunden.pdf")));
        QCOMPARE(dialogs.progressSteps(), (std::vector<int>{1, 2}));
    }

    // Lines added, removed and moved keep every other line's text; the standard layout only when asked.
    void linesEdited_data()
    {
        QTest::addColumn<QString>("steps"); // "add", "remove", "up", "down", "standard yes/no", after "row n" selects
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("add after the second") << "row 1,add" << QStringList{"A", "B", "{Name}", "C"};
        QTest::newRow("remove the first") << "row 0,remove" << QStringList{"B", "C"};
        QTest::newRow("third up") << "row 2,up" << QStringList{"A", "C", "B"};
        QTest::newRow("first down twice") << "row 0,down,down" << QStringList{"B", "C", "A"};
        QTest::newRow("last down stays") << "row 2,down" << QStringList{"A", "B", "C"};
        QTest::newRow("standard refused") << "standard no" << QStringList{"A", "B", "C"};
        QTest::newRow("standard taken") << "standard yes" << QStringList{"Urkunde", "{Wettkampf}", "{Platz}. Platz",
                                                                         "{Name}", "{Verein}", "{Klasse}", "{Ringe} Ringe", "{Datum}"};
    }
    void linesEdited()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, texts);
        TempSettings settings;
        ScriptedDialogs dialogs;
        frmUrkunden dialog([](bool, bool, int) { return std::vector<Certificate>{shooter("Anna")}; });
        CertificateLayout abc = oneLine("A", 12, 20);
        abc.lines.push_back(oneLine("B", 12, 40).lines.front());
        abc.lines.push_back(oneLine("C", 12, 60).lines.front());
        dialog.showLayout(abc);
        auto *table = dialog.findChild<QTableWidget *>("grdZeilen");
        const QHash<QString, QString> buttons{{"add", "cmdZeileNeu"}, {"remove", "cmdZeileLoeschen"},
                                              {"up", "cmdZeileHoch"}, {"down", "cmdZeileRunter"}};
        for (const QString &step : steps.split(',')) {
            if (step.startsWith("row "))
                table->setCurrentCell(step.mid(4).toInt(), 0);
            else if (step.startsWith("standard ")) {
                dialogs.answer(step.endsWith("yes") ? Dialogs::Answer::Yes : Dialogs::Answer::No);
                dialog.cmdStandardvorlage_Click();
            } else
                dialog.findChild<QPushButton *>(buttons.value(step))->click();
        }
        QStringList shown;
        for (const CertificateLine &line : dialog.layout().lines)
            shown << line.text;
        QCOMPARE(shown, texts);
        QCOMPARE(dialog.message(), QString());
    }

    // A picture that opens but is none is named in the message line; a folder is refused at once.
    void pictureChosen_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: a folder stands at the path
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("box");
        QTest::newRow("PNG") << png(30, 30) << "" << "";
        QTest::newRow("SVG") << Svg << "" << "";
        QTest::newRow("text named .png") << QByteArray("Vereinsfest") << "Das Bild „logo.png“ kann nicht gelesen werden"
                                         << "";
        QTest::newRow("folder") << QByteArray() << "" << "Das Bild „";
    }
    void pictureChosen()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QString, box);
        TempSettings settings;
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        frmUrkunden dialog([](bool, bool, int) { return std::vector<Certificate>{shooter("Anna")}; });
        const QString path = dir.filePath("logo.png");
        bytes.isEmpty() ? void(QDir(dir.path()).mkdir("logo.png")) : writeFile(path, bytes);
        dialogs.answerFile(path);
        dialog.cmdBild_Click();
        QVERIFY2(message.isEmpty() ? dialog.message().isEmpty() : dialog.message().startsWith(message),
                 qPrintable(dialog.message()));
        QCOMPARE(dialog.layout().picture.bytes, bytes);
        QStringList messages;
        for (const ScriptedDialogs::Shown &shown : dialogs.shown())
            messages << (shown.kind == "message" ? shown.title + "|" + shown.text : QString());
        messages.removeAll(QString());
        QCOMPARE(messages.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY(messages.front().startsWith("Bild|" + box));
    }

    // Without certificates the live picture shows the example and neither preview nor print runs;
    // with them the preview has a page each.
    void previewPages()
    {
        TempSettings settings;
        ScriptedDialogs dialogs;
        std::vector<Certificate> chosen;
        frmUrkunden dialog([&](bool, bool, int) { return chosen; });
        QVERIFY(dialog.message().startsWith("Für diese Auswahl gibt es keine Urkunde"));
        dialog.cmdVorschau_Click();
        QCOMPARE(dialogs.boxes().size(), 1);
        QVERIFY(!openedWindow<PrintPreviewWindow>());
        chosen = {shooter("Anna"), shooter("Bernd")};
        dialog.findChild<QSpinBox *>("spnPlaetze")->setValue(2);
        QCOMPARE(dialog.message(), QString());
        dialog.cmdVorschau_Click();
        auto *preview = openedWindow<PrintPreviewWindow>();
        QVERIFY(preview);
        QCOMPARE(preview->pageCount(), 2);
        QCOMPARE(preview->pageIndicator(), QStringLiteral("Urkunde 1 von 2"));
        preview->close();
    }

    // Two classes, the list's second class shooting best; a tie for second place; a fourth place left
    // out. Team Tell I is of one club, the youth team of two; Christ alone is short of shooters.
    void printFromMainWindow_data()
    {
        QTest::addColumn<bool>("shooters");
        QTest::addColumn<bool>("teams");
        QTest::addColumn<int>("places");
        QTest::addColumn<QStringList>("pages"); // how each page begins after "Urkunde Kreismeisterschaft"
        QTest::addColumn<QStringList>("once");  // names on exactly one page each
        QTest::newRow("shooters, places 1 to 3")
                << true << false << 3
                << QStringList{"1. Platz Anna Weiß SV Tell Schützenklasse 97 Ringe", "2. Platz", "2. Platz",
                               "1. Platz Emil Ernst SV Tell Jugend 99,5 Ringe", "2. Platz Fritz Frei",
                               "3. Platz Gustav Gast SG Hubertus Jugend 70 Ringe"}
                << QStringList{"Bernd Bauer", "Carla Christ"};
        QTest::newRow("teams, places 1 to 3")
                << false << true << 3
                << QStringList{"1. Platz Tell I SV Tell Schützenklasse 282 Ringe", "1. Platz Jugend gemischt Jugend 249,5 Ringe"}
                << QStringList{"Tell I"};
        QTest::newRow("both, place 1 only")
                << true << true << 1
                << QStringList{"1. Platz Anna Weiß", "1. Platz Tell I", "1. Platz Emil Ernst", "1. Platz Jugend gemischt"}
                << QStringList{"Anna Weiß"};
    }
    void printFromMainWindow()
    {
        QFETCH(bool, shooters);
        QFETCH(bool, teams);
        QFETCH(int, places);
        QFETCH(QStringList, pages);
        QFETCH(QStringList, once);
        TestCompetition competition;
        competition.setTitle(QStringLiteral("Kreismeisterschaft"));
        for (const char *name : {"Schützenklasse", "Jugend"})
            competition.exec("INSERT INTO Klassen (Reihenfolge, Name, Geschlecht) VALUES "
                             "((SELECT count(*) + 1 FROM Klassen), ?, 'beide')", {QString::fromUtf8(name)});
        const struct { const char *name, *club, *klasse, *team; double serie; const char *key; } rows[] = {
                {"Anna Weiß", "SV Tell", "Schützenklasse", "Tell I", 97, "000970"},
                {"Bernd Bauer", "SV Tell", "Schützenklasse", "Tell I", 95, "000950"},
                {"Carla Christ", "SV Tell", "Schützenklasse", "Christ", 95, "000950"},
                {"Dieter Dorn", "sv tell", "Schützenklasse", "Tell I", 90, "000900"},
                {"Emil Ernst", "SV Tell", "Jugend", "Jugend gemischt", 99.5, "000995"},
                {"Fritz Frei", "SV Tell", "Jugend", "Jugend gemischt", 80, "000800"},
                {"Gustav Gast", "SG Hubertus", "Jugend", "Jugend gemischt", 70, "000700"}};
        int startNr = 0;
        for (const auto &row : rows) {
            competition.addResult(++startNr, QString::fromUtf8(row.name), row.club, row.serie,
                                  QString(row.key) + QString(22, QLatin1Char('0')));
            competition.exec("UPDATE Ergebnisse SET Klasse = ?, Mannschaft = ? WHERE StartNr = ?",
                             {QString::fromUtf8(row.klasse), row.team, startNr});
        }
        MainWindowSession session(competition.path());
        QTemporaryDir dir;
        const QString pdf = dir.filePath("urkunden.pdf");
        session.dialogs().answer(Dialogs::Answer::Yes); // the places first
        session.dialogs().answerPrint(pdf);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmUrkunden *>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->findChild<QCheckBox *>("chkSchuetzen")->isChecked());
            QCOMPARE(dialog->findChild<QSpinBox *>("spnPlaetze")->value(), 3);
            dialog->findChild<QCheckBox *>("chkSchuetzen")->setChecked(shooters);
            dialog->findChild<QCheckBox *>("chkMannschaften")->setChecked(teams);
            dialog->findChild<QSpinBox *>("spnPlaetze")->setValue(places);
            dialog->findChild<QPushButton *>("cmdDrucken")->click();
            dialog->reject();
        });
        session.trigger(QStringLiteral("mnuDateiUrkunden"));
        QVERIFY(session.dialogs().allAnswersUsed());
        const PdfText text(pdf);
        QStringList all;
        for (int page = 1; page <= text.pageCount(); ++page) {
            all << text.text(page);
            QVERIFY2(page <= pages.size() && text.text(page).startsWith("Urkunde Kreismeisterschaft " + pages.at(page - 1)),
                     qPrintable(text.text(page)));
            QVERIFY(text.text(page).endsWith(QDate::currentDate().toString("dd.MM.yyyy")));
        }
        QCOMPARE(text.pageCount(), pages.size());
        for (const QString &name : once)
            QCOMPARE(all.join(' ').count(name), 1);
        QCOMPARE(text.pageSize(1).toSize(), QSize(595, 842));
    }
};

QTEST_MAIN(tst_Certificates)
#include "tst_certificates.moc"
