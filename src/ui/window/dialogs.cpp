#include "ui/window/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ferolan {
namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// "Tutti i file (*.*)|*.*|..." becomes Qt's list of "description (patterns)".
QStringList toQtFilters(const QString &filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        // "*.csv;*.txt" in the program's filters, "*.csv *.txt" in Qt's.
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))
                        ? description
                        : description + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}

// Drive letters exist only on Windows; elsewhere the dialogs start in the home folder.
QString existingStartFolder(const QString &folder) {
    QDir dir(QDir::fromNativeSeparators(folder));
    return !folder.isEmpty() && dir.exists() ? dir.absolutePath() : QDir::homePath();
}

} // namespace

Answer QtDialogs::showMessage(QWidget *owner, const Message &message) {
    QMessageBox box(owner);
    box.setWindowTitle(message.title.value_or(kApplicationTitle));
    box.setText(message.text);
    box.setIcon(toQtIcon(message.icon));
    if (message.buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(message.defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sì"));
    box.button(QMessageBox::No)->setText(QStringLiteral("No"));
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::No) ? Answer::No : Answer::Yes;
}

FileChoice QtDialogs::chooseFile(QWidget *owner, const FileRequest &request) {
    QFileDialog dialog(owner, request.title, existingStartFolder(request.startFolder));
    bool save = request.mode == FileRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters = toQtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {false, request.fileName};
    return {true, QDir::toNativeSeparators(dialog.selectedFiles().constFirst()),
            static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

std::optional<QString> QtDialogs::askText(QWidget *owner, const QString &title,
                                          const QString &label) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(owner, title, label, QLineEdit::Normal, {}, &accepted);
    return accepted ? std::optional<QString>(text) : std::nullopt;
}

void QtDesktop::beep() {
    QApplication::beep();
}

bool QtDesktop::openUrl(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

void QtDesktop::copyToClipboard(const QString &text) {
    QApplication::clipboard()->setText(text);
}

void QtDesktop::endProgram() {
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

} // namespace ferolan
