#pragma once

#include <string>

#include "core/common/IniFile.h"

namespace losfix {

// The football window's name in the settings file's "Position" section.
inline constexpr const char* kFootballWindowName = "FKick";

// What the football window keeps in the settings file.
struct FootballSettings {
    std::string rowCount = "120";  // the count field eAnz
    int left = 0;
    int top = 0;

    bool operator==(const FootballSettings&) const = default;
};

// The form defaults, used when no settings file exists: "120" at the top-left corner.
FootballSettings DefaultFootballSettings();

// Reads "FReihen" of section "Losfix" (default "72") and "FKick-left"/"FKick-top" of section
// "Position" (defaults 0 and 70).
FootballSettings ReadFootballSettings(const IniFile& ini);

// What the window starts with: the file's values when it exists, else the form defaults.
FootballSettings LoadFootballSettings(const IniFile& ini);

// Closing the window writes the count field only; throws Error("In ... kann nicht geschrieben
// werden") when the file cannot be written.
void WriteFootballSettingsOnClose(IniFile& ini, const std::string& rowCount);

// The position button writes "FKick-left" and "FKick-top".
void SaveFootballPosition(IniFile& ini, int left, int top);

}  // namespace losfix
