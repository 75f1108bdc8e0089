#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

class QWidget;

#include "core/lottery/NumberStatus.h"

namespace losfix {

inline QColor ToQColor(Rgb rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Makes Tahoma available where the system lacks it (Wine's metric-compatible copy on Debian);
// Calibri resolves to the metric-compatible Carlito through fontconfig.
void RegisterFonts();

// Point sizes as pixel sizes at 96 dpi, so that the layout does not depend on the screen.
int PointsToPixels(int points);

QFont TahomaFont(int points, bool bold = false);
// The font of the window texts: Carlito (Calibri's metrics) has a real bold face, so bold
// captions stand out from regular ones.
QFont InterfaceFont(int pixels, bool bold = false);
QFont CalibriPixelFont(int pixels, bool bold = false);
// The row table's font; PadLabel measures with it.
QFont TableFont();

// An icon drawn for the program, from resources (":/icon-<name>.svg").
QIcon ProgramIcon(const QString& name);

// The light background of the board and distribution panels.
void SetPanelBackground(QWidget* panel);

// The program's look: Fusion with a light palette.
void ApplyProgramStyle();

}  // namespace losfix
