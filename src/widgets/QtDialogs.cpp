#include "widgets/QtDialogs.h"

#include "widgets/FontColorDialog.h"
#include "widgets/QtProgress.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QSpinBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QMessageBox::Icon toQtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void QtDialogs::installSeam(QtDialogs *dialogs)
{
    Dialogs::install(dialogs);
    UiDialogs::install(dialogs);
}

QWidget *QtDialogs::owner()
{
    return QApplication::activeWindow();
}

Dialogs::Answer QtDialogs::errorBox(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text,
                    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, owner());
    box.setDefaultButton(QMessageBox::Abort);
    switch (box.exec()) {
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return Answer::Abort;
    }
}

Dialogs::Answer QtDialogs::question(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQtIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No, owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtDialogs::message(const QString &title, const QString &text, Icon icon)
{
    QMessageBox box(toQtIcon(icon), title, text, QMessageBox::Ok, owner());
    box.exec();
}

std::optional<QString> QtDialogs::inputText(const QString &prompt, const QString &title, bool hidden)
{
    bool ok = false;
    const QString boxTitle = title.isEmpty() ? QApplication::applicationName() : title;
    const QString text = QInputDialog::getText(owner(), boxTitle, prompt, hidden ? QLineEdit::Password : QLineEdit::Normal,
                                               QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<int> QtDialogs::chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                         int current, NumberField *number)
{
    const QString boxTitle = title.isEmpty() ? QApplication::applicationName() : title;
    if (number)
        return chooseItemAndNumber(prompt, boxTitle, items, current, *number);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(owner(), boxTitle, prompt, items, current, false, &ok);
    if (!ok || !items.contains(chosen))
        return std::nullopt;
    return int(items.indexOf(chosen));
}

std::optional<int> QtDialogs::chooseItemAndNumber(const QString &prompt, const QString &title, const QStringList &items,
                                                  int current, NumberField &number)
{
    QDialog dialog(owner());
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout(&dialog);
    auto *list = new QComboBox(&dialog);
    list->addItems(items);
    list->setCurrentIndex(current);
    form->addRow(prompt, list);
    auto *spin = new QSpinBox(&dialog);
    spin->setRange(number.minimum, number.maximum);
    spin->setPrefix(number.prefix);
    spin->setSuffix(number.suffix);
    spin->setSpecialValueText(number.zeroText);
    spin->setValue(number.value);
    form->addRow(number.prompt, spin);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || list->currentIndex() < 0)
        return std::nullopt;
    number.value = spin->value();
    return list->currentIndex();
}

QString QtDialogs::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of an entry.
        entries << (description.endsWith(QLatin1Char(')')) ? description
                                                          : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return entries.join(QStringLiteral(";;"));
}

QString QtDialogs::runFileDialog(const FileRequest &request, bool save)
{
    QFileDialog dialog(owner(), request.title, request.folder, qtFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFileName(const FileRequest &request)
{
    return runFileDialog(request, true);
}

QString QtDialogs::openFileName(const FileRequest &request)
{
    return runFileDialog(request, false);
}

bool QtDialogs::chooseFont(QFont &font, QColor &colour)
{
    FontColorDialog dialog(font, colour, owner());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    font = dialog.selectedFont();
    colour = dialog.selectedColour();
    return true;
}

bool QtDialogs::printDialog(QPrinter &printer)
{
    if (QPrinterInfo::availablePrinters().isEmpty())
        message(QStringLiteral("Drucken"),
                QStringLiteral("Auf diesem Rechner ist kein Drucker eingerichtet.\n"
                               "Der Ausdruck kann im folgenden Dialog als PDF-Datei gespeichert werden."),
                Icon::Information);
    QPrintDialog dialog(&printer, owner());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<UiDialogs::Progress> QtDialogs::progress(const QString &text, int maximum)
{
    return std::make_unique<QtProgress>(text, maximum, owner());
}
