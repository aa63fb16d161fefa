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

// Tells which command of the main window ran by what it visibly did: the dialogs it asked (none is
// answered, so each is cancelled or answered No), the modal window it showed (closed at once, as a
// user would), the windows it opened, the places it wrote, the window closed. One probe serves one
// run of the window over three shooters without places and a master list of its own.
class CommandProbe
{
public:
    CommandProbe()
    {
        m_competition.setTitle(QStringLiteral("Kreismeisterschaft"));
        m_competition.addResult(7, QStringLiteral("Berg, Anna"), QStringLiteral("SV Alm"), 95,
                                QStringLiteral("0000950300000000000000000000"));
        m_competition.addResult(3, QStringLiteral("Öztürk, Ayşe"), QStringLiteral("SG Öhringen"), 93,
                                QStringLiteral("0000930100000000000000000000"));
        m_competition.addResult(5, QStringLiteral("Zander, Zoe"), QStringLiteral("SV Nord"), 88,
                                QStringLiteral("0000880000000000000000000000"));
        frmGesamt::setMasterFolders(m_master.programFolder(), m_master.userFolder());
        m_session = std::make_unique<MainWindowSession>(m_competition.path());
        QObject::connect(&m_modalWatch, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                m_modals << modal->objectName();
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        m_modalWatch.start(10);
    }

    ~CommandProbe()
    {
        m_modalWatch.stop();
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("PrintPreviewWindow"))
                widget->close();
        }
        m_session.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmGesamt::setMasterFolders(QString(), QString());
    }

    MainWindowSession &session() { return *m_session; }
    frmMain &window() { return m_session->window(); }

    // What the command did, in a fixed order: the kinds of dialogs asked, the modal windows shown,
    // "preview" and "master list" for the windows open, "closed", and the places stored best first.
    // Empty when nothing happened.
    QString seen()
    {
        QCoreApplication::processEvents();
        QStringList seen, kinds;
        for (const ScriptedDialogs::Shown &shown : m_session->dialogs().shown())
            kinds << shown.kind;
        if (!kinds.isEmpty())
            seen << kinds.join(QLatin1Char(','));
        seen << m_modals;
        if (open(QStringLiteral("PrintPreviewWindow")))
            seen << QStringLiteral("preview");
        if (open(QStringLiteral("frmGesamt")))
            seen << QStringLiteral("master list");
        if (!window().isVisible())
            seen << QStringLiteral("closed");
        QStringList places;
        for (const QVariantMap &row : m_competition.rows("SELECT Platz FROM Ergebnisse ORDER BY Sortierung DESC"))
            places << row.value(QStringLiteral("Platz")).toString();
        if (places.join(QString()) != QString())
            seen << QStringLiteral("places ") + places.join(QLatin1Char(','));
        return seen.join(QStringLiteral("; "));
    }

    // The text of the first dialog asked, empty when none was.
    QString firstText() const
    {
        return m_session->dialogs().shown().empty() ? QString() : m_session->dialogs().shown().front().text;
    }

private:
    static int open(const QString &objectName)
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            count += widget->objectName() == objectName && widget->isVisible() ? 1 : 0;
        return count;
    }

    TestCompetition m_competition;
    TestMasterList m_master;
    std::unique_ptr<MainWindowSession> m_session;
    QTimer m_modalWatch;
    QStringList m_modals;
};
