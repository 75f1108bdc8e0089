#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/FileSystem.h"

namespace losfix {

// The real file system. Failures carry the system's reason in German where it is a common one.
class LocalFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    FileResult readAll(const std::string& path, std::string& bytes) const override;
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override;
    FileResult createDirectory(const std::string& path) override;
};

// Makes sure the folder exists and is the user's alone, so that no other user of the machine can
// plant, replace or read what the program keeps there. A missing folder is created with access for
// the user only; one that exists counts only when it is a folder (not a link to one) that the user
// owns and nobody else may enter. On Windows the user's own temporary folder is private already:
// the folder is created when missing.
bool PreparePrivateFolder(const std::string& folder);

// The one way from the program's UTF-8 paths to the system's and back. On Windows a path made
// from a narrow std::string would be read in the ANSI code page and lose every other character.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// German text for an errno value ("Das System kann die angegebene Datei nicht finden", ...).
std::string SystemErrorText(int errorNumber);

#ifdef _WIN32
// German text for a Windows error code (GetLastError): the common ones as a German Windows says
// them, the rest in the system's own words, without the closing full stop.
std::string WindowsErrorText(unsigned long errorCode);
#endif

}  // namespace losfix
