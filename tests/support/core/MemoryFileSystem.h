#pragma once

#include <map>
#include <set>
#include <string>

#include "core/common/FileSystem.h"

namespace losfix::testing {

// Files in memory for core tests; paths can be made unreadable or unwritable.
class MemoryFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    FileResult readAll(const std::string& path, std::string& bytes) const override;
    FileResult writeAtomic(const std::string& path, std::string_view bytes) override;
    FileResult createDirectory(const std::string& path) override;

    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> unwritable;  // writeAtomic fails for these paths
    std::set<std::string> unreadable;  // readAll fails for these paths
    int writeCount = 0;
};

}  // namespace losfix::testing
