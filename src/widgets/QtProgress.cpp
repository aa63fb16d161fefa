#include "widgets/QtProgress.h"

#include <QProgressDialog>

namespace {
constexpr int ShowAfterMilliseconds = 1000;
}

QtProgress::QtProgress(const QString &text, int maximum, QWidget *owner)
    : m_dialog(new QProgressDialog(text, QStringLiteral("Abbrechen"), 0, maximum, owner))
{
    m_dialog->setWindowTitle(QStringLiteral("Ringtal"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(ShowAfterMilliseconds);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setValue(0);
}

QtProgress::~QtProgress()
{
    delete m_dialog;
}

bool QtProgress::advance(int done)
{
    if (!m_dialog)
        return false;
    m_dialog->setValue(done);
    return !m_dialog->wasCanceled();
}
