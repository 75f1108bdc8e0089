#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/FileSystem.h"

namespace losfix {

// The version file is a sequence of 24-byte records: 8 bytes the program does not read, a length
// byte, then up to 15 bytes of version text in Windows-1252.
inline constexpr std::size_t kVersionRecordSize = 24;
inline constexpr std::size_t kVersionLengthOffset = 8;
inline constexpr std::size_t kVersionTextOffset = 9;
inline constexpr std::size_t kVersionTextMax = 15;

// The version text (UTF-8) of the last complete record; nothing when the bytes hold no complete
// record. A trailing remainder shorter than a record is ignored.
std::optional<std::string> LastVersionRecord(std::string_view bytes);

// Reads the stored version file; an unreadable file raises Error.
std::optional<std::string> ReadVersionFile(const FileSystem& files, const std::string& path);

// True when the offered version is not exactly the installed one: compared character by
// character, so an older or differently written version counts as different.
bool DiffersFromInstalled(const std::string& available);

// What the update window shows and allows.
struct UpdateWindowState {
    std::string availableVersion;
    bool downloadEnabled = false;
    bool setupEnabled = false;

    bool operator==(const UpdateWindowState&) const = default;
};

// A check that delivered a version shows it and allows the download exactly when it differs; a
// failed check (nothing) changes nothing.
UpdateWindowState AfterVersionCheck(UpdateWindowState state,
                                    const std::optional<std::string>& available);
// The download stays allowed whatever happened; a delivered installer allows the installation.
UpdateWindowState AfterInstallerDownload(UpdateWindowState state, bool delivered);

// The questions and notes of the installation; the folder is shown as given.
std::string InstallConfirmationText(const std::string& baseFolder);
std::string InstallDeclinedText(const std::string& baseFolder);
std::string InstallerNotStartedText(const std::string& baseFolder);

}  // namespace losfix
