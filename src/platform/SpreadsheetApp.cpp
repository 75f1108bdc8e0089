#include "platform/SpreadsheetApp.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#ifdef _WIN32
#include <QSettings>
#endif

namespace losfix {

namespace {

constexpr const char* kXlsxType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
constexpr int kProbeTimeoutMs = 2000;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

ProgramAnswer RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutMs) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QString::fromStdString(program), list);
    ProgramAnswer answer;
    if (!process.waitForStarted(timeoutMs)) {
        return answer;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(timeoutMs);
        return answer;
    }
    answer.finished = process.exitStatus() == QProcess::NormalExit;
    answer.exitCode = process.exitCode();
    answer.output = process.readAllStandardOutput().toStdString();
    return answer;
}

SpreadsheetProbe SystemSpreadsheetProbe() {
    SpreadsheetProbe probe;
    probe.run = [](const std::string& program, const std::vector<std::string>& arguments) {
        return RunProgram(program, arguments, kProbeTimeoutMs);
    };
    probe.findProgram = [](const std::string& name) {
        return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
    };
    return probe;
}

bool SpreadsheetAssociated(const SpreadsheetProbe& probe) {
    const std::string xdgMime = probe.findProgram("xdg-mime");
    if (xdgMime.empty()) {
        return false;
    }
    const ProgramAnswer answer = probe.run(xdgMime, {"query", "default", kXlsxType});
    return answer.finished && answer.exitCode == 0 && EndsWith(Trimmed(answer.output), ".desktop");
}

std::string SpreadsheetProgramOnPath(const SpreadsheetProbe& probe) {
    for (const char* name : {"soffice", "localc", "libreoffice"}) {
        std::string path = probe.findProgram(name);
        if (!path.empty()) {
            return path;
        }
    }
    return {};
}

bool SpreadsheetInstalled(const SpreadsheetProbe& probe) {
    return SpreadsheetAssociated(probe) || !SpreadsheetProgramOnPath(probe).empty();
}

std::string UnassociatedSpreadsheetProgram(const SpreadsheetProbe& probe) {
    // Without a default application the desktop's opener may do nothing at all and still report
    // success, so the program found is started directly.
    return SpreadsheetAssociated(probe) ? std::string() : SpreadsheetProgramOnPath(probe);
}

bool SpreadsheetInstalled() {
#ifdef _WIN32
    // The class of ".xlsx" and a command that opens it, as the Explorer finds them.
    const QSettings extension(QStringLiteral("HKEY_CLASSES_ROOT\\.xlsx"), QSettings::NativeFormat);
    const QString documentClass = extension.value(QStringLiteral("Default")).toString();
    if (documentClass.isEmpty()) {
        return false;
    }
    const QSettings open(QStringLiteral("HKEY_CLASSES_ROOT\\") + documentClass +
                             QStringLiteral("\\shell\\open\\command"),
                         QSettings::NativeFormat);
    return !open.value(QStringLiteral("Default")).toString().isEmpty();
#else
    return SpreadsheetInstalled(SystemSpreadsheetProbe());
#endif
}

std::string UnassociatedSpreadsheetProgram() {
#ifdef _WIN32
    return {};
#else
    return UnassociatedSpreadsheetProgram(SystemSpreadsheetProbe());
#endif
}

}  // namespace losfix
