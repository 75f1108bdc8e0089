#pragma once

#include "core/lottery/NumberStatus.h"
#include "gui/app/TFMain.h"
#include "support/Controls.h"

namespace losfix::testing {

// What a user does with the main window, as tests need it again and again.

// Sets the count and presses "Reihen bilden"; returns when the run is over.
void GenerateRows(TFMain& window, int rows);
// Presses "Reihen bilden" with the count as it stands.
void GenerateRows(TFMain& window);
// Clicks the number's button with the left mouse button until it shows the status.
void SetStatus(TFMain& window, int number, NumberStatus status);

}  // namespace losfix::testing
