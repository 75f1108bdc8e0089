#pragma once

#include <string>

#include "core/app/DataFolders.h"
#include "core/common/FileSystem.h"
#include "core/common/Network.h"
#include "core/common/Random.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

namespace losfix {

// What the windows need from outside: dialogs, files, clipboard, shell, network, folders and the
// seed source. The program fills it with the real services; tests with scripted ones, a temporary
// folder and fixed seeds.
struct AppContext {
    Dialogs* dialogs = nullptr;
    FileSystem* files = nullptr;
    Clipboard* clipboard = nullptr;
    Shell* shell = nullptr;
    Network* network = nullptr;
    std::string serverUrl;  // empty: the address the program was built with
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
