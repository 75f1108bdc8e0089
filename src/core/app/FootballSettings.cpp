#include "core/app/FootballSettings.h"

#include "core/app/Settings.h"

namespace losfix {

FootballSettings DefaultFootballSettings() {
    return FootballSettings{};
}

FootballSettings ReadFootballSettings(const IniFile& ini) {
    FootballSettings settings;
    settings.rowCount = ReadFootballRowCount(ini);
    const auto [left, top] = ReadPosition(ini, kFootballWindowName);
    settings.left = left;
    settings.top = top;
    return settings;
}

FootballSettings LoadFootballSettings(const IniFile& ini) {
    return ini.exists() ? ReadFootballSettings(ini) : DefaultFootballSettings();
}

void WriteFootballSettingsOnClose(IniFile& ini, const std::string& rowCount) {
    WriteFootballRowCount(ini, rowCount);
}

void SaveFootballPosition(IniFile& ini, int left, int top) {
    SavePosition(ini, kFootballWindowName, left, top);
}

}  // namespace losfix
