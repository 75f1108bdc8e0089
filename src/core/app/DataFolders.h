#pragma once

#include <string>

#include "core/common/FileSystem.h"

namespace losfix {

// The per-user folders; every path ends with a separator.
struct DataFolders {
    std::string base;      // <application data>/Losfix 2.0/
    std::string settings;  // base + "Einstellungen/"
    std::string rows;      // base + "Reihen/"
    std::string shots;     // base + "shots/"

    std::string settingsFile() const { return settings + "einstellungen.ini"; }
};

// Forms the four paths below the user's application-data folder; when that folder is unknown
// (empty), the home folder stands in, and the current folder when that is unknown too.
DataFolders MakeDataFolders(const std::string& appDataFolder, const std::string& homeFolder);

// Creates the folders that do not exist yet, base first; failures are not reported.
void CreateDataFolders(const DataFolders& folders, FileSystem& files);

}  // namespace losfix
