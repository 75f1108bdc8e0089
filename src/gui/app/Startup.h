#pragma once

#include <QPointer>

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

// Shows the start window, creates the main windows and enables "Weiter". The program ends when
// the main window closes.
ProgramWindows StartProgram(AppContext& context);

}  // namespace losfix
