#pragma once

// What the program asks of Windows itself, without Qt, so that it is built and tested by the
// Windows cross build. Only on Windows.
#ifdef _WIN32

#include <string>

#include "core/common/FileSystem.h"

namespace losfix {

// The user's roaming application-data folder (FOLDERID_RoamingAppData) in UTF-8, without a
// trailing separator; "" when the system does not know it.
std::string RoamingAppDataFolder();

// The batch file of the update hand-over in the system's OEM code page: cmd.exe reads batch
// files in that one, so the Windows-1252 text would lose its umlauts there. Empty when a
// character has no place in it.
std::string OemBatchBytes(const std::string& windows1252);

// The hand-over once the installer runs: writes the update batch (WindowsUpdateBatch) to a new
// file "uis*.bat" in the temporary folder, clears the program file's attributes so that the
// batch can delete it, and starts the batch hidden. False when no batch could be arranged (a
// path the batch cannot hold); throws Error when the batch file cannot be written.
bool StartUpdateBatch(FileSystem& files, const std::string& programFile,
                      const std::string& temporaryFolder);

}  // namespace losfix

#endif
