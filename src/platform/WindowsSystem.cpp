#include "platform/WindowsSystem.h"

#ifdef _WIN32

#include <windows.h>
// After windows.h.
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "core/common/Error.h"
#include "core/online/UpdateScript.h"
#include "platform/Files.h"

namespace losfix {

namespace fs = std::filesystem;

namespace {

// The path in Windows' own form: backslashes throughout.
fs::path NativePath(const std::string& utf8) {
    return PathFromUtf8(utf8).make_preferred();
}

}  // namespace

std::string RoamingAppDataFolder() {
    wchar_t* folder = nullptr;
    std::string utf8;
    if (SUCCEEDED(
            SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
        utf8 = Utf8FromPath(fs::path(folder));
    }
    CoTaskMemFree(folder);
    return utf8;
}

std::string OemBatchBytes(const std::string& windows1252) {
    if (windows1252.empty()) {
        return {};
    }
    const int size = static_cast<int>(windows1252.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int wideLength =
        MultiByteToWideChar(1252, 0, windows1252.data(), size, wide.data(), size);
    if (wideLength <= 0) {
        return {};
    }
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &lossy);
    std::string oem(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length <= 0 || lossy ||
        WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, oem.data(),
                            length, nullptr, &lossy) != length ||
        lossy) {
        return {};
    }
    return oem;
}

bool StartUpdateBatch(FileSystem& files, const std::string& programFile,
                      const std::string& temporaryFolder) {
    const fs::path folder = NativePath(temporaryFolder);
    // The system's unique name reserves "uis*.tmp"; the batch takes that name with ".bat".
    wchar_t reserved[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), L"uis", 0, reserved) == 0) {
        return false;
    }
    fs::path batchPath(reserved);
    batchPath.replace_extension(L".bat");
    const std::string batch = Utf8FromPath(batchPath);
    const std::string program = Utf8FromPath(NativePath(programFile));
    std::string bytes;
    if (FitsBatchCodePage(program) && FitsBatchCodePage(batch)) {
        bytes = OemBatchBytes(WindowsUpdateBatch(program, batch));
    }
    if (bytes.empty()) {
        DeleteFileW(reserved);
        return false;
    }

    // A read-only, hidden or system program file could not be deleted by the batch.
    SetFileAttributesW(NativePath(program).c_str(), FILE_ATTRIBUTE_NORMAL);
    const FileResult written = files.writeAtomic(batch, bytes);
    DeleteFileW(reserved);
    if (!written.ok) {
        throw Error(messages::CannotCreate(batch, written.systemText));
    }

    // The interpreter from the system folder, never one beside the program; it drops the outer
    // quotes and runs the quoted path.
    wchar_t system[MAX_PATH] = {};
    const UINT systemLength = GetSystemDirectoryW(system, MAX_PATH);
    if (systemLength == 0 || systemLength >= MAX_PATH) {
        DeleteFileW(batchPath.c_str());
        return false;
    }
    const std::wstring interpreter = std::wstring(system) + L"\\cmd.exe";
    std::wstring command = L"cmd.exe /d /c \"\"" + batchPath.wstring() + L"\"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(interpreter.c_str(), command.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &process)) {
        DeleteFileW(batchPath.c_str());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace losfix

#endif
