#pragma once

#include <string>

#include "core/app/DataFolders.h"
#include "core/common/FileSystem.h"
#include "core/common/Random.h"
#include "platform/Dialogs.h"

namespace losfix {

// What the windows need from outside: dialogs, files, folders and the seed source. The program
// fills it with the real services; tests with scripted dialogs, a temporary folder and fixed seeds.
struct AppContext {
    Dialogs* dialogs = nullptr;
    FileSystem* files = nullptr;
    DataFolders folders;
    std::string tempProbeFile;
    Random::SeedSource seedSource;  // empty: the clock
};

// Shared by all image windows for the life of the program.
struct ImageSession {
    int windowCount = 0;           // ImageWindowCount
    std::string rememberedFolder;  // RememberedImageFolder, empty until the first save
};

}  // namespace losfix
