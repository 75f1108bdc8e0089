#include "core/app/PrintSettings.h"

#include <algorithm>

namespace losfix {

namespace {

constexpr const char* kSection = "Druck";
constexpr const char* kPaperKey = "Papier";
constexpr const char* kOrientationKey = "Ausrichtung";
constexpr const char* kDistributionKey = "Verteilung";
constexpr const char* kPortrait = "Hochformat";
constexpr const char* kLandscape = "Querformat";

// Paper keys are short names of letters, digits and a few marks ("A4", "JisB5", "Letter"); a
// hand-edited value of anything else is not passed on.
bool PlausiblePaper(const std::string& paper) {
    return !paper.empty() && paper.size() <= 32 &&
           std::all_of(paper.begin(), paper.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
           });
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() &&
           std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

}  // namespace

PrintSetup ReadPrintSetup(const IniFile& ini) {
    PrintSetup setup;
    if (!ini.exists()) {
        return setup;
    }
    if (std::string paper = ini.readString(kSection, kPaperKey, ""); PlausiblePaper(paper)) {
        setup.paper = std::move(paper);
    }
    setup.landscape =
        EqualsIgnoringCase(ini.readString(kSection, kOrientationKey, kPortrait), kLandscape);
    setup.distribution = ini.readInteger(kSection, kDistributionKey, 0) == 1;
    return setup;
}

bool WritePrintSetup(IniFile& ini, const PrintSetup& setup) {
    if (!ini.exists()) {
        return false;
    }
    const PrintSetup stored = ReadPrintSetup(ini);
    if (stored.paper != setup.paper) {
        ini.writeString(kSection, kPaperKey, setup.paper);
    }
    if (stored.landscape != setup.landscape) {
        ini.writeString(kSection, kOrientationKey, setup.landscape ? kLandscape : kPortrait);
    }
    if (stored.distribution != setup.distribution) {
        ini.writeInteger(kSection, kDistributionKey, setup.distribution ? 1 : 0);
    }
    return true;
}

}  // namespace losfix
