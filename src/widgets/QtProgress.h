#pragma once

#include "widgets/UiDialogs.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// Progress as Qt's progress dialog with a cancel button. It appears only
// when the task would take longer than about a second, and while it is up
// it keeps the windows painted and blocks every other input.
class QtProgress : public UiDialogs::Progress
{
public:
    QtProgress(const QString &text, int maximum, QWidget *owner);
    ~QtProgress() override;

    bool advance(int done) override;

private:
    QPointer<QProgressDialog> m_dialog;
};
