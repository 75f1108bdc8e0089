#include "support/core/MemoryFileSystem.h"

namespace losfix::testing {

bool MemoryFileSystem::exists(const std::string& path) const {
    return files.count(path) != 0 || directories.count(path) != 0;
}

bool MemoryFileSystem::isDirectory(const std::string& path) const {
    return directories.count(path) != 0;
}

FileResult MemoryFileSystem::readAll(const std::string& path, std::string& bytes) const {
    const auto it = files.find(path);
    if (it == files.end()) {
        return FileResult::failure("Das System kann die angegebene Datei nicht finden");
    }
    if (unreadable.count(path) != 0) {
        return FileResult::failure("Zugriff verweigert");
    }
    bytes = it->second;
    return FileResult::success();
}

FileResult MemoryFileSystem::writeAtomic(const std::string& path, std::string_view bytes) {
    if (unwritable.count(path) != 0) {
        return FileResult::failure("Zugriff verweigert");
    }
    files[path] = std::string(bytes);
    ++writeCount;
    return FileResult::success();
}

FileResult MemoryFileSystem::createDirectory(const std::string& path) {
    if (unwritable.count(path) != 0) {
        return FileResult::failure("Zugriff verweigert");
    }
    directories.insert(path);
    return FileResult::success();
}

}  // namespace losfix::testing
