#pragma once

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

// German text for an errno value ("Das System kann die angegebene Datei nicht finden", ...).
std::string SystemErrorText(int errorNumber);

}  // namespace losfix
