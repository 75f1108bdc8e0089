#pragma once

#include <string>
#include <string_view>

namespace losfix {

// The outcome of a file operation: on failure, the system's own text for the reason.
struct FileResult {
    bool ok = true;
    std::string systemText;

    static FileResult success() { return {}; }
    static FileResult failure(std::string text) { return {false, std::move(text)}; }
};

// Files as the core sees them; paths are UTF-8 with "/" or the system's separator.
// The program's implementation lives in platform/Files; tests may use an in-memory one.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) const = 0;
    virtual bool isDirectory(const std::string& path) const = 0;
    virtual FileResult readAll(const std::string& path, std::string& bytes) const = 0;
    // Replaces the file as a whole: written to a temporary file beside it, then renamed over it,
    // so a failure leaves the old file as it was.
    virtual FileResult writeAtomic(const std::string& path, std::string_view bytes) = 0;
    // Creates one folder level; succeeds when it already exists.
    virtual FileResult createDirectory(const std::string& path) = 0;
};

// The file name without its folder.
std::string FileNameOf(std::string_view path);
// The folder of a path with its trailing separator ("" when there is none).
std::string FolderOf(std::string_view path);

}  // namespace losfix
