#include "core/online/VersionInfo.h"

#include <algorithm>

#include "core/app/Program.h"
#include "core/common/Error.h"
#include "core/common/TextFile.h"

namespace losfix {

std::optional<std::string> LastVersionRecord(std::string_view bytes) {
    const std::size_t records = bytes.size() / kVersionRecordSize;
    if (records == 0) {
        return std::nullopt;
    }
    const std::string_view last =
        bytes.substr((records - 1) * kVersionRecordSize, kVersionRecordSize);
    const std::size_t length = std::min<std::size_t>(
        static_cast<unsigned char>(last[kVersionLengthOffset]), kVersionTextMax);
    return Cp1252ToUtf8(last.substr(kVersionTextOffset, length));
}

std::optional<std::string> ReadVersionFile(const FileSystem& files, const std::string& path) {
    std::string bytes;
    const FileResult read = files.readAll(path, bytes);
    if (!read.ok) {
        throw Error(messages::CannotOpen(path, read.systemText));
    }
    return LastVersionRecord(bytes);
}

bool DiffersFromInstalled(const std::string& available) {
    return available != kProgramVersion;
}

UpdateWindowState AfterVersionCheck(UpdateWindowState state,
                                    const std::optional<std::string>& available) {
    if (available) {
        state.availableVersion = *available;
        state.downloadEnabled = DiffersFromInstalled(*available);
    }
    return state;
}

UpdateWindowState AfterInstallerDownload(UpdateWindowState state, bool delivered) {
    state.downloadEnabled = true;
    if (delivered) {
        state.setupEnabled = true;
    }
    return state;
}

std::string InstallConfirmationText(const std::string& baseFolder) {
    return "Um die Installation durchführen zu können, muss das Programm jetzt geschlossen "
           "werden. Die Programm-Datei wird gelöscht und das Update gestartet. Wenn etwas schief "
           "läuft, bitte das Update manuell durch Doppelklick auf die Datei \"Update.exe\" im "
           "Verzeichnis " +
           baseFolder + " starten.\r\rSoll fortgefahren werden?";
}

std::string InstallDeclinedText(const std::string& baseFolder) {
    return "Installation wurde auf Ihren Wunsch abgebrochen. Sie  könnnen das Update manuell durch "
           "Doppelklick auf die Datei \"Update.exe\" im Verzeichnis " +
           baseFolder +
           " starten.\r\rZuvor muss das Programm geschlossen und die Datei \"Losfix2.0.exe\" im "
           "Programmpfad gelöscht werden.";
}

std::string InstallerNotStartedText(const std::string& baseFolder) {
    return "Update konnte nicht gestartet werden. Bitte schließen Sie das Programm und starten Sie "
           "das Update manuell durch Doppelklick auf die Datei \"Update.exe\" im Verzeichnis " +
           baseFolder + ".";
}

}  // namespace losfix
