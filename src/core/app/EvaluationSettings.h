#pragma once

#include "core/common/IniFile.h"

namespace losfix {

// What the evaluation window keeps in the settings file, in a section of its own ("Auswertung")
// so that files written before it existed read as they always did.
struct EvaluationSettings {
    int drawSize = 0;     // "Gezogen": numbers per draw; 0 = not chosen yet, follow the rows
    int lowestClass = 3;  // "Klasse": the lowest prize class the odds count as a win

    bool operator==(const EvaluationSettings&) const = default;
};

// Missing keys and values outside 1..20 (draw size) or 1..16 (class) give the defaults.
EvaluationSettings ReadEvaluationSettings(const IniFile& ini);

// Writes both keys; throws Error("In ... kann nicht geschrieben werden") when the file cannot be
// written.
void WriteEvaluationSettings(IniFile& ini, const EvaluationSettings& settings);

}  // namespace losfix
