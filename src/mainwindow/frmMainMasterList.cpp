// The main window's master list: one modeless window, shown on demand.
#include "mainwindow/frmMain.h"

#include "masterlist/frmGesamt.h"

void frmMain::mnuEditGesamtliste_Click()
{
    // A list closed a moment ago is still waiting to go; it is not shown again.
    if (m_frmGesamt && !m_frmGesamt->isVisible())
        delete m_frmGesamt.data();
    if (!m_frmGesamt)
        m_frmGesamt = new frmGesamt([main = QPointer<frmMain>(this)](const QString &shooter, const QVariant &birthYear,
                                                                     const QString &sex) {
            if (main)
                main->setNeuerSchuetze(shooter, birthYear, sex);
        });
    m_frmGesamt->setWindowState(m_frmGesamt->windowState() & ~Qt::WindowMinimized);
    m_frmGesamt->show();
    m_frmGesamt->raise();
    m_frmGesamt->activateWindow();
}

// Closing runs the list's own unload, as when the user closes it; the window
// then goes at once instead of waiting for the event loop, which may have
// ended already.
void frmMain::closeMasterList()
{
    if (!m_frmGesamt)
        return;
    if (m_frmGesamt->isVisible())
        m_frmGesamt->close();
    delete m_frmGesamt.data();
}
