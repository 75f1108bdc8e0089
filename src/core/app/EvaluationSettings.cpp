#include "core/app/EvaluationSettings.h"

namespace losfix {

namespace {

constexpr const char* kSection = "Auswertung";
constexpr int kLargestDraw = 20;
constexpr int kLargestClass = 16;  // the longest rows

int ReadInRange(const IniFile& ini, const char* key, int low, int high, int fallback) {
    const int value = ini.readInteger(kSection, key, fallback);
    return value >= low && value <= high ? value : fallback;
}

}  // namespace

EvaluationSettings ReadEvaluationSettings(const IniFile& ini) {
    EvaluationSettings settings;
    settings.drawSize = ReadInRange(ini, "Gezogen", 1, kLargestDraw, settings.drawSize);
    settings.lowestClass = ReadInRange(ini, "Klasse", 1, kLargestClass, settings.lowestClass);
    return settings;
}

void WriteEvaluationSettings(IniFile& ini, const EvaluationSettings& settings) {
    ini.writeInteger(kSection, "Gezogen", settings.drawSize);
    ini.writeInteger(kSection, "Klasse", settings.lowestClass);
}

}  // namespace losfix
