#pragma once

#include <string>
#include <string_view>

#include "core/common/FileSystem.h"

namespace losfix {

// Whole-file access with the program's own error texts, for every file the user names.

// Replaces the file atomically; throws Error("Datei \"…\" kann nicht erstellt werden. …").
void SaveFile(FileSystem& files, const std::string& path, std::string_view bytes);

// The file's bytes; throws Error("Datei … kann nicht geöffnet werden. …").
std::string LoadFile(const FileSystem& files, const std::string& path);

}  // namespace losfix
