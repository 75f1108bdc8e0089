#include "platform/Files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace losfix {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPathNotFound = "Das System kann den angegebenen Pfad nicht finden";
constexpr const char* kFileExists = "Die Datei ist bereits vorhanden";

// The folder a file would be created in; "." for a bare name.
fs::path ParentOf(const fs::path& path) {
    const fs::path parent = path.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// Beside the target, so that the rename stays within one file system.
fs::path TemporaryNameFor(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    // Short and independent of the target's name, which may already be as long as allowed.
    const std::string name = ".~losfix" + std::to_string(ticks % 1000000007ULL) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".tmp";
    return ParentOf(target) / PathFromUtf8(name);
}

// A trailing separator would make "a/b/" look like a folder "b" with an empty name.
fs::path WithoutTrailingSeparator(const fs::path& folder) {
    return folder.has_filename() ? folder : folder.parent_path();
}

#ifdef _WIN32

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool ok = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

FileResult LastError() {
    return FileResult::failure(WindowsErrorText(GetLastError()));
}

// Virus scanners and indexers open a new file for a moment; a replace then fails briefly.
bool Transient(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

// Moves the finished file over the target; the replace is on disk when the call returns.
DWORD ReplaceWith(const fs::path& temporary, const fs::path& target) {
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return ERROR_SUCCESS;
        }
        error = GetLastError();
        // A folder or a read-only file stays so: no point in waiting.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        const bool lasting = attributes != INVALID_FILE_ATTRIBUTES &&
                             (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
        if (!Transient(error) || lasting) {
            break;
        }
        Sleep(50);
    }
    return error;
}

#else

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

#endif

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool LocalFileSystem::exists(const std::string& path) const {
    std::error_code ec;
    return fs::exists(PathFromUtf8(path), ec);
}

bool LocalFileSystem::isDirectory(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(PathFromUtf8(path), ec);
}

#ifdef _WIN32

FileResult LocalFileSystem::readAll(const std::string& path, std::string& bytes) const {
    const fs::path file = PathFromUtf8(path);
    // Others may keep the file open, for reading or writing, while it is read.
    Handle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle.valid()) {
        return LastError();
    }
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    do {
        if (!ReadFile(handle.get(), buffer, sizeof buffer, &got, nullptr)) {
            return LastError();
        }
        content.append(buffer, got);
    } while (got > 0);
    bytes = std::move(content);
    return FileResult::success();
}

FileResult LocalFileSystem::writeAtomic(const std::string& path, std::string_view bytes) {
    const fs::path target = PathFromUtf8(path);
    // Windows refuses to replace a read-only file; said before anything is written.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return FileResult::failure(WindowsErrorText(ERROR_ACCESS_DENIED));
    }
    fs::path temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryNameFor(target);
        created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        if (created == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS &&
            error != ERROR_ALREADY_EXISTS) {
            return FileResult::failure(WindowsErrorText(error));
        }
    }
    Handle handle(created);
    if (!handle.valid()) {
        return FileResult::failure(kFileExists);
    }

    DWORD error = ERROR_SUCCESS;
    for (std::size_t done = 0; done < bytes.size() && error == ERROR_SUCCESS;) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(handle.get(), bytes.data() + done, chunk, &written, nullptr)) {
            error = GetLastError();
        }
        done += written;
    }
    // On disk before the replace, so that a crash leaves the old file or the new one.
    if (error == ERROR_SUCCESS && !FlushFileBuffers(handle.get())) {
        error = GetLastError();
    }
    if (!handle.close() && error == ERROR_SUCCESS) {
        error = GetLastError();
    }
    if (error == ERROR_SUCCESS) {
        error = ReplaceWith(temporary, target);
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return FileResult::failure(WindowsErrorText(error));
    }
    return FileResult::success();
}

FileResult LocalFileSystem::createDirectory(const std::string& path) {
    const fs::path folder = PathFromUtf8(path);
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        return FileResult::success();
    }
    const fs::path clean = WithoutTrailingSeparator(folder);
    if (CreateDirectoryW(clean.c_str(), nullptr)) {
        return FileResult::success();
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && fs::is_directory(clean, ec)) {
        return FileResult::success();  // made by someone else meanwhile
    }
    return FileResult::failure(WindowsErrorText(error));
}

#else

FileResult LocalFileSystem::readAll(const std::string& path, std::string& bytes) const {
    const fs::path file = PathFromUtf8(path);
    std::FILE* stream = std::fopen(file.c_str(), "rb");
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
    const fs::path target = PathFromUtf8(path);
    fs::path temporary;
    std::FILE* stream = nullptr;
    for (int attempt = 0; attempt < 100 && stream == nullptr; ++attempt) {
        temporary = TemporaryNameFor(target);
        errno = 0;
        stream = std::fopen(temporary.c_str(), "wbx");
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
    // On disk before the rename, so that a crash leaves the old file or the new one.
    if (error == 0 && ::fsync(fileno(stream)) != 0) {
        error = errno;
    }
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
        return FileResult::failure(ReasonFor(ec.value(), target));
    }
    return FileResult::success();
}

FileResult LocalFileSystem::createDirectory(const std::string& path) {
    const fs::path folder = PathFromUtf8(path);
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        return FileResult::success();
    }
    const fs::path clean = WithoutTrailingSeparator(folder);
    fs::create_directory(clean, ec);
    if (ec) {
        std::error_code ignored;
        if (fs::is_directory(clean, ignored)) {
            return FileResult::success();
        }
        return FileResult::failure(ReasonFor(ec.value(), clean));
    }
    return FileResult::success();
}

#endif

bool PreparePrivateFolder(const std::string& folder) {
    const fs::path clean = WithoutTrailingSeparator(PathFromUtf8(folder));
#ifdef _WIN32
    std::error_code ec;
    fs::create_directory(clean, ec);
    return fs::is_directory(clean, ec);
#else
    // Created in one step with its final mode, so that it is never open to others.
    if (::mkdir(clean.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    if (::lstat(clean.c_str(), &info) != 0) {
        return false;
    }
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
#endif
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
            return kFileExists;
        case EMFILE:
            return "Das System kann die Datei nicht öffnen";
        default:
            return std::generic_category().message(errorNumber);
    }
}

#ifdef _WIN32

std::string WindowsErrorText(unsigned long errorCode) {
    switch (errorCode) {
        case ERROR_FILE_NOT_FOUND:
            return SystemErrorText(ENOENT);
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return kPathNotFound;
        case ERROR_TOO_MANY_OPEN_FILES:
            return SystemErrorText(EMFILE);
        case ERROR_ACCESS_DENIED:
            return SystemErrorText(EACCES);
        case ERROR_WRITE_PROTECT:
            return SystemErrorText(EROFS);
        case ERROR_SHARING_VIOLATION:
            return "Der Prozess kann nicht auf die Datei zugreifen, da sie von einem anderen "
                   "Prozess verwendet wird";
        case ERROR_LOCK_VIOLATION:
            return "Der Prozess kann nicht auf die Datei zugreifen, da ein anderer Prozess einen "
                   "Teil der Datei gesperrt hat";
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL:
            return SystemErrorText(ENOSPC);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return kFileExists;
        case ERROR_INVALID_NAME:
            return "Die Syntax für den Dateinamen, Verzeichnisnamen oder die "
                   "Datenträgerbezeichnung ist falsch";
        case ERROR_FILENAME_EXCED_RANGE:
            return SystemErrorText(ENAMETOOLONG);
        default:
            break;
    }
    // The rest as the system says it: in German where it can, else in the user's language.
    wchar_t* message = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = 0;
    for (const DWORD language :
         {static_cast<DWORD>(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), static_cast<DWORD>(0)}) {
        length = FormatMessageW(flags, nullptr, errorCode, language,
                                reinterpret_cast<wchar_t*>(&message), 0, nullptr);
        if (length > 0) {
            break;
        }
    }
    std::wstring text(message != nullptr ? message : L"", length);
    LocalFree(message);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "Systemfehler " + std::to_string(errorCode);
    }
    return Utf8FromPath(fs::path(text));
}

#endif

}  // namespace losfix
