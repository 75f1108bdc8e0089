#pragma once

#include "core/common/PadLabel.h"

namespace losfix {

// Text widths in the table font, as PadLabel needs them for the grid headers and row labels. A run
// labels up to 99,999 rows; when the font's digits are all equally wide (as table figures are),
// a text of digits and blanks is as wide as any other of the same shape, so each shape is
// measured once.
TextMeasure TableTextMeasure();

}  // namespace losfix
