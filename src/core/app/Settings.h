#pragma once

#include <optional>
#include <string>
#include <utility>

#include "core/common/IniFile.h"

namespace losfix {

// What the main window keeps in the settings file.
struct MainSettings {
    int clientWidth = 1078;
    int clientHeight = 674;
    int rowSizeItem = 3;
    int poolItem = 5;
    int congruence = 2;
    std::string rowCount = "120";
    std::string donation = "0";
    int left = 0;
    int top = 0;
};

// The form defaults, used when no settings file exists.
MainSettings DefaultMainSettings();

// Reads the keys with their read defaults (width 1078, height 674, "Zahlen" 3, "Menge" 5,
// "Kongruenz" 15, "Reihen" "12", "Stand" "0", left 0, top 70). A negative item index counts as
// missing; indexes above the last item are clamped, the congruence limit to 1..15.
MainSettings ReadMainSettings(const IniFile& ini);

// What the main window starts with: the file's values when it exists, else the form defaults.
MainSettings LoadMainSettings(const IniFile& ini);

// Writes the seven keys in their order (Breite, Hoehe, Zahlen, Menge, Kongruenz, Reihen, Stand);
// throws Error("In ... kann nicht geschrieben werden") and stops at the first refused write.
void WriteMainSettings(IniFile& ini, const MainSettings& settings);

// Writes "<window>-left" and "<window>-top" in section "Position".
void SavePosition(IniFile& ini, const std::string& windowName, int left, int top);

// "<window>-left" (default 0) and "<window>-top" (default 70) of section "Position".
std::pair<int, int> ReadPosition(const IniFile& ini, const std::string& windowName);

// The football window's requested row count: section "Losfix", key "FReihen", default "72".
std::string ReadFootballRowCount(const IniFile& ini);
void WriteFootballRowCount(IniFile& ini, const std::string& rowCount);

}  // namespace losfix
