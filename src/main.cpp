#include <QApplication>

#include "gui/app/Startup.h"
#include "gui/app/TFMain.h"
#include "gui/common/AppContext.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/QtNetwork.h"
#include "platform/Shell.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    losfix::PrepareApplication(app);

    losfix::LocalFileSystem files;
    losfix::QtDialogs dialogs;
    losfix::QtClipboard clipboard;
    losfix::DesktopShell shell;
    losfix::QtNetwork network;
    losfix::AppContext context;
    context.files = &files;
    context.dialogs = &dialogs;
    context.clipboard = &clipboard;
    context.shell = &shell;
    context.network = &network;

    const losfix::StartFile startFile =
        losfix::ReadStartArguments(losfix::StartArguments(QApplication::arguments()), files);
    const losfix::ProgramWindows windows = losfix::StartProgram(context, startFile);
    const int result = QApplication::exec();
    delete windows.main;
    return result;
}
