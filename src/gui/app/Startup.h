#pragma once

#include <QPointer>
#include <QStringList>
#include <string>
#include <vector>

#include "core/app/StartFile.h"
#include "gui/common/AppContext.h"

class QApplication;
class QTranslator;

namespace losfix {

class TFStart;
class TFMain;
class TFAbbild;
class TFKick;

// Title, German texts of Qt's own dialogs, locale, fonts and style.
void PrepareApplication(QApplication& app);

struct ProgramWindows {
    QPointer<TFStart> start;
    QPointer<TFMain> main;
    QPointer<TFAbbild> imageWindow;  // created at start like the others, never shown
    QPointer<TFKick> football;       // created hidden, shown by "Losfix Fußball"
};

// The program's arguments without its name, as the toolkit left them (it takes its own options
// such as -platform or -style); a path relative to the current folder becomes absolute.
std::vector<std::string> StartArguments(const QStringList& arguments);

// Shows the start window, creates the main windows and enables "Weiter". Once the main window
// has faded in, it opens the start file (or shows why the arguments were not used). The program
// ends when the main window closes.
ProgramWindows StartProgram(AppContext& context, const StartFile& startFile = {});

}  // namespace losfix
