#include "gui/app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "core/app/Program.h"
#include "gui/app/TFMain.h"
#include "gui/app/TFStart.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/Style.h"
#include "gui/common/TFAbbild.h"
#include "gui/football/TFKick.h"

namespace losfix {

void PrepareApplication(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    // Desktops that go by it (Wayland) match the windows with the menu entry through this.
    QGuiApplication::setDesktopFileName(QStringLiteral("losfix"));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    RegisterFonts();
    ApplyProgramStyle();
    QApplication::setWindowIcon(ProgramIcon(QStringLiteral("app")));
}

std::vector<std::string> StartArguments(const QStringList& arguments) {
    std::vector<std::string> result;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-'))) {
            result.push_back(argument.toStdString());
        } else {
            // The file dialogs give full paths; messages and the file label show it the same way.
            result.push_back(QDir::cleanPath(QFileInfo(argument).absoluteFilePath()).toStdString());
        }
    }
    return result;
}

ProgramWindows StartProgram(AppContext& context, const StartFile& startFile) {
    ProgramWindows windows;
    windows.start = new TFStart(context);
    windows.start->setAttribute(Qt::WA_DeleteOnClose);
    windows.start->show();
    QApplication::processEvents();

    // The program ends with the main window, even while image windows are open.
    QApplication::setQuitOnLastWindowClosed(false);
    Guarded(*context.dialogs, [&] {
        windows.main = new TFMain(context);
        QObject::connect(windows.main, &TFMain::closed, [] { QApplication::quit(); });
        windows.imageWindow = new TFAbbild(context, windows.main->imageSession(), windows.main);
        windows.imageWindow->setObjectName(QStringLiteral("FAbbild"));
        windows.football = new TFKick(context, windows.main->imageSession(), windows.main);
        windows.main->setFootballWindow(windows.football);
    });
    if (windows.main.isNull()) {
        // Without a main window there is nothing to go on with after the start window.
        QObject::connect(windows.start, &TFStart::fadeFinished, [] { QApplication::quit(); });
    } else if (startFile.kind != StartFileKind::None || !startFile.notice.empty()) {
        // Queued: the start window is gone and the main window shown before a message appears.
        // Once: a second close during the fade announces its end again.
        QObject::connect(
            windows.start, &TFStart::fadeFinished, windows.main,
            [main = windows.main, startFile] { main->OpenStartFile(startFile); },
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
    windows.start->setMainWindow(windows.main);
    windows.start->setInitializationDone();
    return windows;
}

}  // namespace losfix
