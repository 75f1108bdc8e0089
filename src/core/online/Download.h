#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/common/FileSystem.h"
#include "core/common/Network.h"

namespace losfix {

// The three resources on the maker's web server.
inline constexpr const char* kVersionInfoPath = "/downloads/verinfos.lfx";
inline constexpr const char* kInstallerPath = "/downloads/lfxupdate.exe";
inline constexpr const char* kDonationPath = "/downloads/wachLfx.txt";

// Local names of what is fetched.
inline constexpr const char* kVersionInfoFile = "verinfos.lfx";  // in the base folder
inline constexpr const char* kInstallerFile = "Update.exe";      // in the base folder
inline constexpr const char* kDonationFile = "wachLfx.txt";      // in the temporary folder

// A resource shorter than this counts as not delivered.
inline constexpr std::size_t kMinimumResourceSize = 4;
inline constexpr std::size_t kSmallFileLimit = 64 * 1024;
inline constexpr std::size_t kInstallerLimit = 256 * 1024 * 1024;

// The server address the program was built with.
std::string BuiltInServerUrl();
// The override when one is given, otherwise the built-in address.
std::string ServerUrl(const std::string& override);
// The server address joined with a path, with exactly one "/" between them.
std::string ResourceUrl(std::string_view serverUrl, std::string_view path);

// A request for the version file or the donation file: the server must send a fresh copy, so no
// cache on the way can serve an old one.
DownloadRequest FreshRequest(const std::string& url);
// The installer: large, and no reason to bypass a cache.
DownloadRequest InstallerRequest(const std::string& url);

// Raised by a download when the temporary folder is not private to the user.
inline constexpr const char* kNoPrivateTemporaryFolder =
    "Es gibt keinen Ordner für temporäre Dateien, auf den nur Sie Zugriff haben. Ohne ihn lädt "
    "das Programm nichts herunter.";

// What the downloads need; the probe file is "tmp.tmp" in the temporary folder, a folder private
// to the user. Without one the probe file is "".
struct OnlineAccess {
    Network& network;
    FileSystem& files;
    std::string probeFile;
    std::string serverUrl;  // resolved, never empty

    std::string url(std::string_view path) const { return ResourceUrl(serverUrl, path); }
    // The temporary folder, with its separator.
    std::string temporaryFolder() const { return FolderOf(probeFile); }
};

// A body counts as delivered when the transfer completed with a success status and holds at least
// four bytes.
bool Delivered(const DownloadResult& result);

// Fetches the resource into the probe file; only when that is delivered fetches it a second time
// and replaces the target with it as a whole. A failed fetch leaves the target as it was. A probe
// or target that cannot be written, or no probe file, raises Error.
bool DownloadFile(const OnlineAccess& access, const DownloadRequest& request,
                  const std::string& target);

}  // namespace losfix
