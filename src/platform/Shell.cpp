#include "platform/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/SpreadsheetApp.h"

namespace losfix {

bool DesktopShell::openFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool DesktopShell::openUrl(const std::string& url) {
    // Tolerant, so that a mailto subject may carry its blank as typed.
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
}

bool DesktopShell::startDetached(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    return QProcess::startDetached(QString::fromStdString(program), list);
}

bool DesktopShell::spreadsheetInstalled() {
    return SpreadsheetInstalled();
}

std::string DesktopShell::spreadsheetProgram() {
    return UnassociatedSpreadsheetProgram();
}

}  // namespace losfix
