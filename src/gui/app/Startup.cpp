#include "gui/app/Startup.h"

#include <QApplication>
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
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    RegisterFonts();
    ApplyProgramStyle();
    QApplication::setWindowIcon(ProgramIcon(QStringLiteral("app")));
}

ProgramWindows StartProgram(AppContext& context) {
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
    }
    windows.start->setMainWindow(windows.main);
    windows.start->setInitializationDone();
    return windows;
}

}  // namespace losfix
