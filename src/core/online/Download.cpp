#include "core/online/Download.h"

#include "core/common/Error.h"

#ifndef LOSFIX_SERVER_URL
#error "LOSFIX_SERVER_URL must be defined by the build"
#endif

namespace losfix {

namespace {

void WriteOrThrow(FileSystem& files, const std::string& path, std::string_view bytes) {
    const FileResult written = files.writeAtomic(path, bytes);
    if (!written.ok) {
        throw Error(messages::CannotCreate(path, written.systemText));
    }
}

}  // namespace

std::string BuiltInServerUrl() {
    return LOSFIX_SERVER_URL;
}

std::string ServerUrl(const std::string& override) {
    return override.empty() ? BuiltInServerUrl() : override;
}

std::string ResourceUrl(std::string_view serverUrl, std::string_view path) {
    while (!serverUrl.empty() && serverUrl.back() == '/') {
        serverUrl.remove_suffix(1);
    }
    while (!path.empty() && path.front() == '/') {
        path.remove_prefix(1);
    }
    return std::string(serverUrl) + "/" + std::string(path);
}

DownloadRequest FreshRequest(const std::string& url) {
    DownloadRequest request;
    request.url = url;
    request.sizeLimit = kSmallFileLimit;
    request.noCache = true;
    return request;
}

DownloadRequest InstallerRequest(const std::string& url) {
    DownloadRequest request;
    request.url = url;
    request.sizeLimit = kInstallerLimit;
    request.noCache = false;
    return request;
}

bool Delivered(const DownloadResult& result) {
    return result.ok && result.bytes.size() >= kMinimumResourceSize;
}

bool DownloadFile(const OnlineAccess& access, const DownloadRequest& request,
                  const std::string& target) {
    if (access.probeFile.empty()) {
        throw Error(kNoPrivateTemporaryFolder);
    }
    // The probe always holds what this download's first fetch brought, so nothing of an earlier
    // download is mistaken for it.
    const DownloadResult probe = access.network.download(request);
    WriteOrThrow(access.files, access.probeFile, probe.bytes);
    if (!Delivered(probe)) {
        return false;
    }
    const DownloadResult second = access.network.download(request);
    if (!Delivered(second)) {
        return false;
    }
    WriteOrThrow(access.files, target, second.bytes);
    return true;
}

}  // namespace losfix
