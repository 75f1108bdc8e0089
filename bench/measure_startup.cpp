// Measures what the user waits for at start: from the moment the process began until the start
// window's "Weiter" is enabled, and the resident memory at that point. Linux only (/proc).
// Run offscreen or under Xvfb; the program's own start sequence is used, nothing is shown later.
#include <unistd.h>
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app/DataFolders.h"
#include "gui/app/Startup.h"
#include "gui/app/TFMain.h"
#include "gui/app/TFStart.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace {

// Seconds since the process started, from the kernel's own records.
double SecondsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // Field 22 (starttime) counts after the command name, which ends with ')'.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) {
        fields >> field;
    }
    const double startTicks = std::stod(field);
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto mainEntered = std::chrono::steady_clock::now();
    const double beforeMain = SecondsSinceProcessStart();
    QApplication app(argc, argv);
    losfix::PrepareApplication(app);

    QTemporaryDir dir;
    losfix::LocalFileSystem files;
    losfix::QtDialogs dialogs;
    losfix::AppContext context;
    context.files = &files;
    context.dialogs = &dialogs;
    context.folders = losfix::MakeDataFolders(dir.path().toStdString(), "");

    const losfix::ProgramWindows windows = losfix::StartProgram(context);
    const bool enabled =
        windows.start != nullptr &&
        windows.start->findChild<QPushButton*>(QStringLiteral("Weiter"))->isEnabled();
    const double inMain =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - mainEntered).count();
    std::printf("Weiter enabled: %s\n", enabled ? "yes" : "no");
    std::printf(
        "process start to enabled \"Weiter\": %.0f ms (%.0f ms before main, clock ticks "
        "of 10 ms)\n",
        (beforeMain + inMain) * 1000.0, beforeMain * 1000.0);
    std::printf("resident memory after start: %.1f MiB\n", ResidentKilobytes() / 1024.0);
    delete windows.main;
    return enabled ? 0 : 1;
}
