#pragma once

#include "mainwindow/MainWindowSession.h"
#include "masterlist/frmGesamt.h"
#include "support/TestCompetition.h"
#include "support/TestMasterList.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>
#include <memory>

// Tells which command of the main window ran, by what each one visibly does:
// the dialogs it asks through the dialog seam, the modal window or the
// window it opens, what it writes. One probe serves one run of the window
// over a competition of three shooters and a master list of its own.
class CommandProbe
{
public:
    // The competition's shooters, best first: the first is the current row after loading.
    static inline const QStringList Names{QStringLiteral("Berg, Anna"), QStringLiteral("Öztürk, Ayşe"),
                                          QStringLiteral("Zander, Zoe")};

    CommandProbe()
    {
        m_competition.setTitle(QStringLiteral("Kreismeisterschaft"));
        m_competition.addResult(7, Names.at(0), QStringLiteral("SV Alm"), 95,
                                QStringLiteral("0000950300000000000000000000"));
        m_competition.addResult(3, Names.at(1), QStringLiteral("SG Öhringen"), 93,
                                QStringLiteral("0000930100000000000000000000"));
        m_competition.addResult(5, Names.at(2), QStringLiteral("SV Nord"), 88,
                                QStringLiteral("0000880000000000000000000000"));
        frmGesamt::setMasterFolders(m_master.programFolder(), m_master.userFolder());
        m_session = std::make_unique<MainWindowSession>(m_competition.path());
        QObject::connect(&m_modalWatch, &QTimer::timeout, [this] { closeModal(); });
        m_modalWatch.setInterval(10);
        m_modalWatch.start();
    }

    ~CommandProbe()
    {
        m_modalWatch.stop();
        closeOwnWindows(QStringLiteral("PrintPreviewWindow"));
        m_session.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmGesamt::setMasterFolders(QString(), QString());
    }

    MainWindowSession &session() { return *m_session; }
    frmMain &window() { return m_session->window(); }
    ScriptedDialogs &dialogs() { return m_session->dialogs(); }

    // Queues what the command of `effect` will be asked, so that it runs to its end quietly.
    void prepare(const QString &effect)
    {
        // The shooters have no places yet: printing first asks whether to update them.
        if (effect == QLatin1String("print") || effect == QLatin1String("preview"))
            dialogs().answer(Dialogs::Answer::No);
        if (effect == QLatin1String("new") || effect == QLatin1String("open"))
            dialogs().answerFile(QString());
        else if (effect == QLatin1String("print"))
            dialogs().answerPrint(QString());
        else if (effect == QLatin1String("title"))
            dialogs().answerText(std::nullopt);
        else if (effect == QLatin1String("delete one") || effect == QLatin1String("delete all"))
            dialogs().answer(Dialogs::Answer::No);
        else if (effect.startsWith(QLatin1String("font ")))
            dialogs().answerFont(QFont(QStringLiteral("DejaVu Serif"), 14), QColor(Qt::darkGreen));
    }

    // Empty when exactly the command of `effect` ran; otherwise what was seen instead.
    QString check(const QString &effect)
    {
        QCoreApplication::processEvents();
        QStringList problems;
        auto expect = [&problems](const char *what, const QString &seen, const QString &expected) {
            if (seen != expected)
                problems << QStringLiteral("%1: \"%2\" instead of \"%3\"").arg(QLatin1String(what), seen, expected);
        };
        auto yesNo = [](bool value) { return QString::number(value ? 1 : 0); };
        const QString comma = QStringLiteral(",");
        expect("dialogs", shownKinds().join(comma), expectedKinds(effect).join(comma));
        expect("modal windows", m_modals.join(comma), expectedModals(effect));
        expect("previews open", QString::number(open(QStringLiteral("PrintPreviewWindow"))), yesNo(effect == "preview"));
        expect("master lists open", QString::number(open(QStringLiteral("frmGesamt"))), yesNo(effect == "master list"));
        expect("main window open", yesNo(window().isVisible()), yesNo(effect != "close"));
        expect("places", places().join(comma), effect == QLatin1String("places") ? "1,2,3" : ",,");
        expect("fonts stored", storedFonts().join(comma), expectedFont(effect));
        if (dialogs().shown().empty())
            return problems.join(QStringLiteral("; "));
        const ScriptedDialogs::Shown &first = dialogs().shown().front();
        if (effect == QLatin1String("delete one"))
            expect("question", first.text, QStringLiteral("Soll der Schütze %1 wirklich gelöscht werden?").arg(Names.at(0)));
        if (effect == QLatin1String("delete all"))
            expect("question", first.text, QStringLiteral("Sollen wirklich alle Schützen gelöscht werden?"));
        if (effect == QLatin1String("new"))
            expect("save dialog", first.title, QStringLiteral("Bitte neuen Wettkampfnamen wählen:"));
        return problems.join(QStringLiteral("; "));
    }

    // Windows of one kind that are open now.
    static int open(const QString &objectName)
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            count += widget->objectName() == objectName && widget->isVisible() ? 1 : 0;
        return count;
    }

private:
    static QStringList expectedKinds(const QString &effect)
    {
        static const QHash<QString, QStringList> kinds{{"new", {"save"}},
                                                       {"open", {"open"}},
                                                       {"preview", {"question", "progress"}},
                                                       {"print", {"question", "print"}},
                                                       {"title", {"input"}},
                                                       {"delete one", {"question"}},
                                                       {"delete all", {"question"}},
                                                       {"font winners", {"font"}},
                                                       {"font title", {"font"}},
                                                       {"font entry", {"font"}}};
        return kinds.value(effect);
    }

    static QString expectedModals(const QString &effect)
    {
        if (effect == QLatin1String("printer setup"))
            return QStringLiteral("frmPrinterSetup");
        return effect == QLatin1String("about") ? QStringLiteral("frmInfo") : QString();
    }

    static QString expectedFont(const QString &effect)
    {
        static const QHash<QString, QString> keys{{"font winners", "Font-Siegerliste"},
                                                  {"font title", "Font-Titelzeile"},
                                                  {"font entry", "Font-Dateneingabe"}};
        return keys.value(effect);
    }

    QStringList shownKinds() const
    {
        QStringList kinds;
        for (const ScriptedDialogs::Shown &shown : m_session->dialogs().shown())
            kinds << shown.kind;
        return kinds;
    }

    QStringList places() const
    {
        QStringList result;
        for (const QVariantMap &row :
             m_competition.rows(QStringLiteral("SELECT Platz FROM Ergebnisse ORDER BY Sortierung DESC")))
            result << row.value(QStringLiteral("Platz")).toString();
        return result;
    }

    QStringList storedFonts() const
    {
        QStringList stored;
        for (const char *name : {"Font-Siegerliste", "Font-Titelzeile", "Font-Dateneingabe"}) {
            if (m_session->settings().contains(QStringLiteral("Allgemein"), QLatin1String(name)))
                stored << QLatin1String(name);
        }
        return stored;
    }

    // A modal window is recorded and closed, as a user would close it, so
    // that the command that showed it returns.
    void closeModal()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        m_modals << modal->objectName();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }

    static void closeOwnWindows(const QString &objectName)
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == objectName)
                widget->close();
        }
    }

    TestCompetition m_competition;
    TestMasterList m_master;
    std::unique_ptr<MainWindowSession> m_session;
    QTimer m_modalWatch;
    QStringList m_modals;
};
