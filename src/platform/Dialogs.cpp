#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "core/app/Program.h"

namespace losfix {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QWidget* DialogParent() {
    return QApplication::activeWindow();
}

// The messages break their lines with a carriage return, as Windows' message box does; Qt's
// labels break only at a line feed.
QString MessageText(const std::string& text) {
    QString shown = Q(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// Messages quote file names, file contents and the system's texts: shown as they stand, never
// as markup.
void ShowMessage(QMessageBox::Icon icon, const QString& caption, const std::string& text) {
    QMessageBox box(icon, caption, MessageText(text), QMessageBox::Ok, DialogParent());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(DialogParent(), Q(request.title), Q(request.folder));
    dialog.setAcceptMode(mode);
    // Neither dialog insists on an existing file: a name typed in the open dialog comes back as
    // it is, and opening it says in the program's own words why it cannot be read.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(Q(request.filterName) + " (" + Q(request.filterPattern) + ")");
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(Q(request.defaultExtension));
    }
    if (!request.confirmOverwrite) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    // Qt's own dialog speaks German through the loaded translations on every platform.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.proposedName.empty()) {
        dialog.selectFile(Q(request.proposedName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const std::string path = dialog.selectedFiles().first().toStdString();
    return WithDefaultExtension(path, request.defaultExtension);
}

}  // namespace

void QtDialogs::information(const std::string& text) {
    ShowMessage(QMessageBox::Information, QStringLiteral("Information"), text);
}

void QtDialogs::warning(const std::string& text) {
    ShowMessage(QMessageBox::Warning, QStringLiteral("Warnung"), text);
}

void QtDialogs::error(const std::string& text) {
    ShowMessage(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), text);
}

bool QtDialogs::question(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigen"), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No, DialogParent());
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

FileDialogRequest FileDialogFor(const std::string& title, const std::string& filterName,
                                const std::string& extension, const std::string& folder) {
    FileDialogRequest request;
    request.title = title;
    request.filterName = filterName;
    request.filterPattern = "*." + extension;
    request.defaultExtension = extension;
    request.folder = folder;
    return request;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty()) {
        return path;
    }
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos) {
        return path;
    }
    return path + "." + extension;
}

}  // namespace losfix
