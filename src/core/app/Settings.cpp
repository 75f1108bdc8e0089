#include "core/app/Settings.h"

#include <algorithm>

namespace losfix {

namespace {

constexpr const char* kWindowSection = "Fenster";
constexpr const char* kLosfixSection = "Losfix";
constexpr const char* kDonationSection = "Wach";
constexpr const char* kPositionSection = "Position";

constexpr int kLastRowSizeItem = 13;  // row sizes 3 to 16
constexpr int kLastPoolItem = 11;     // pools 35 to 90
constexpr int kMinCongruence = 1;
constexpr int kMaxCongruence = 15;  // shown as "egal"

// A radio group cannot select a negative item, so such a value counts as missing; values above
// the last item select the last one.
int ReadItemIndex(const IniFile& ini, const char* key, int defaultValue, int lastItem) {
    const int value = ini.readInteger(kLosfixSection, key, defaultValue);
    if (value < 0) {
        return defaultValue;
    }
    return std::min(value, lastItem);
}

}  // namespace

MainSettings DefaultMainSettings() {
    return MainSettings{};
}

MainSettings ReadMainSettings(const IniFile& ini) {
    MainSettings settings;
    settings.clientWidth = ini.readInteger(kWindowSection, "Breite", 1078);
    settings.clientHeight = ini.readInteger(kWindowSection, "Hoehe", 674);
    settings.rowSizeItem = ReadItemIndex(ini, "Zahlen", 3, kLastRowSizeItem);
    settings.poolItem = ReadItemIndex(ini, "Menge", 5, kLastPoolItem);
    settings.donation = ini.readString(kDonationSection, "Stand", "0");
    settings.rowCount = ini.readString(kLosfixSection, "Reihen", "12");
    // The slider keeps its value within its range.
    settings.congruence = std::clamp(ini.readInteger(kLosfixSection, "Kongruenz", kMaxCongruence),
                                     kMinCongruence, kMaxCongruence);
    const auto [left, top] = ReadPosition(ini, "FMain");
    settings.left = left;
    settings.top = top;
    return settings;
}

MainSettings LoadMainSettings(const IniFile& ini) {
    return ini.exists() ? ReadMainSettings(ini) : DefaultMainSettings();
}

void WriteMainSettings(IniFile& ini, const MainSettings& settings) {
    ini.writeInteger(kWindowSection, "Breite", settings.clientWidth);
    ini.writeInteger(kWindowSection, "Hoehe", settings.clientHeight);
    ini.writeInteger(kLosfixSection, "Zahlen", settings.rowSizeItem);
    ini.writeInteger(kLosfixSection, "Menge", settings.poolItem);
    ini.writeInteger(kLosfixSection, "Kongruenz", settings.congruence);
    ini.writeString(kLosfixSection, "Reihen", settings.rowCount);
    ini.writeString(kDonationSection, "Stand", settings.donation);
}

void SavePosition(IniFile& ini, const std::string& windowName, int left, int top) {
    ini.writeInteger(kPositionSection, windowName + "-left", left);
    ini.writeInteger(kPositionSection, windowName + "-top", top);
}

std::pair<int, int> ReadPosition(const IniFile& ini, const std::string& windowName) {
    return {ini.readInteger(kPositionSection, windowName + "-left", 0),
            ini.readInteger(kPositionSection, windowName + "-top", 70)};
}

std::string ReadFootballRowCount(const IniFile& ini) {
    return ini.readString(kLosfixSection, "FReihen", "72");
}

void WriteFootballRowCount(IniFile& ini, const std::string& rowCount) {
    ini.writeString(kLosfixSection, "FReihen", rowCount);
}

}  // namespace losfix
