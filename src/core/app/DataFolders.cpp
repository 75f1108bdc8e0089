#include "core/app/DataFolders.h"

#include "core/app/Program.h"

namespace losfix {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

DataFolders MakeDataFolders(const std::string& appDataFolder, const std::string& homeFolder) {
    std::string folder = !appDataFolder.empty() ? appDataFolder : homeFolder;
    if (folder.empty()) {
        folder = "./";
    }
    // Keep the style of the folder given: a Windows path goes on with backslashes.
    const std::size_t last = folder.find_last_of("/\\");
    const char separator = last == std::string::npos ? '/' : folder[last];
    // One separator between the folder and the program's name, however many the folder ends in.
    while (folder.size() > 1 && IsSeparator(folder.back()) &&
           IsSeparator(folder[folder.size() - 2])) {
        folder.pop_back();
    }
    if (!IsSeparator(folder.back())) {
        folder += separator;
    }

    DataFolders folders;
    folders.base = folder + kProgramName + separator;
    folders.settings = folders.base + "Einstellungen" + separator;
    folders.rows = folders.base + "Reihen" + separator;
    folders.shots = folders.base + "shots" + separator;
    return folders;
}

void CreateDataFolders(const DataFolders& folders, FileSystem& files) {
    for (const std::string* folder :
         {&folders.base, &folders.settings, &folders.rows, &folders.shots}) {
        if (!files.isDirectory(*folder)) {
            // Not reported: a later file operation in the folder reports its own failure.
            (void)files.createDirectory(*folder);
        }
    }
}

}  // namespace losfix
