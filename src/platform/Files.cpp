#include "platform/Files.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace losfix {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPathNotFound = "Das System kann den angegebenen Pfad nicht finden";

// Paths are UTF-8 inside the program; the u8string constructor keeps them so on Windows too.
fs::path ToPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    const std::string narrow(mode);
    const std::wstring wideMode(narrow.begin(), narrow.end());
    std::FILE* file = nullptr;
    const errno_t error = _wfopen_s(&file, path.c_str(), wideMode.c_str());
    if (error != 0) {
        errno = error;
        return nullptr;
    }
    return file;
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// The folder a file would be created in; "." for a bare name.
fs::path ParentOf(const fs::path& path) {
    const fs::path parent = path.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// Linux says "no such file" also when a folder on the way is missing; the system's own text
// then names the path.
std::string ReasonFor(int errorNumber, const fs::path& path) {
    if (errorNumber == ENOENT) {
        std::error_code ec;
        if (!fs::is_directory(ParentOf(path), ec)) {
            return kPathNotFound;
        }
    }
    return SystemErrorText(errorNumber);
}

std::string ReasonFor(const std::error_code& ec, const fs::path& path) {
#ifdef _WIN32
    if (ec.category() == std::system_category()) {
        return ec.message();
    }
#endif
    return ReasonFor(ec.value(), path);
}

// Beside the target, so that the rename stays within one file system.
fs::path TemporaryNameFor(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    // Short and independent of the target's name, which may already be as long as allowed.
    const std::string name = ".~losfix" + std::to_string(ticks % 1000000007ULL) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".tmp";
    return ParentOf(target) / ToPath(name);
}

}  // namespace

bool LocalFileSystem::exists(const std::string& path) const {
    std::error_code ec;
    return fs::exists(ToPath(path), ec);
}

bool LocalFileSystem::isDirectory(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(ToPath(path), ec);
}

FileResult LocalFileSystem::readAll(const std::string& path, std::string& bytes) const {
    const fs::path file = ToPath(path);
    std::FILE* stream = OpenFile(file, "rb");
    if (stream == nullptr) {
        return FileResult::failure(ReasonFor(errno, file));
    }
    std::string content;
    char buffer[65536];
    std::size_t got = 0;
    errno = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
        content.append(buffer, got);
    }
    // A folder opens fine on Linux and only fails here.
    const int readError = std::ferror(stream) == 0 ? 0 : (errno != 0 ? errno : EIO);
    std::fclose(stream);
    if (readError != 0) {
        return FileResult::failure(ReasonFor(readError, file));
    }
    bytes = std::move(content);
    return FileResult::success();
}

FileResult LocalFileSystem::writeAtomic(const std::string& path, std::string_view bytes) {
    const fs::path target = ToPath(path);
    fs::path temporary;
    std::FILE* stream = nullptr;
    for (int attempt = 0; attempt < 100 && stream == nullptr; ++attempt) {
        temporary = TemporaryNameFor(target);
        errno = 0;
        stream = OpenFile(temporary, "wbx");
        if (stream == nullptr && errno != EEXIST) {
            return FileResult::failure(ReasonFor(errno, target));
        }
    }
    if (stream == nullptr) {
        return FileResult::failure(SystemErrorText(EEXIST));
    }

    int error = 0;
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) {
        error = errno != 0 ? errno : EIO;
    }
    if (error == 0 && std::fflush(stream) != 0) {
        error = errno != 0 ? errno : EIO;
    }
#ifndef _WIN32
    // On disk before the rename, so that a crash leaves the old file or the new one.
    if (error == 0 && ::fsync(fileno(stream)) != 0) {
        error = errno;
    }
#endif
    if (std::fclose(stream) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    std::error_code ec;
    if (error != 0) {
        fs::remove(temporary, ec);
        return FileResult::failure(ReasonFor(error, target));
    }

    // The new file keeps the old one's permissions.
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old)) {
        fs::permissions(temporary, old.permissions(), ec);
    }
    ec.clear();
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return FileResult::failure(ReasonFor(ec, target));
    }
    return FileResult::success();
}

FileResult LocalFileSystem::createDirectory(const std::string& path) {
    const fs::path folder = ToPath(path);
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        return FileResult::success();
    }
    // A trailing separator would make "a/b/" look like a folder "b" with an empty name.
    const fs::path clean = folder.has_filename() ? folder : folder.parent_path();
    fs::create_directory(clean, ec);
    if (ec) {
        std::error_code ignored;
        if (fs::is_directory(clean, ignored)) {
            return FileResult::success();
        }
        return FileResult::failure(ReasonFor(ec, clean));
    }
    return FileResult::success();
}

std::string SystemErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "Das System kann die angegebene Datei nicht finden";
        case ENOTDIR:
            return kPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
            return "Zugriff verweigert";
        case EROFS:
            return "Das Medium ist schreibgeschützt";
        case ENOSPC:
            return "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden";
        case ENAMETOOLONG:
            return "Der Dateiname oder die Erweiterung ist zu lang";
        case EEXIST:
            return "Die Datei ist bereits vorhanden";
        case EMFILE:
            return "Das System kann die Datei nicht öffnen";
        default:
            return std::generic_category().message(errorNumber);
    }
}

}  // namespace losfix
