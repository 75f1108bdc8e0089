#include "core/football/TipFiles.h"

#include <algorithm>

#include "core/common/Error.h"
#include "core/common/TextFile.h"
#include "core/football/TipTable.h"

namespace losfix {

namespace {

constexpr std::size_t kImageTitleCut = 4;  // the extension and its dot

std::string QuickProblem(const std::string& what) {
    return "Die Schnellauswahl-Datei " + std::string(kQuickTipFileName) + " " + what +
           " Es wurde nichts geändert.";
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

}  // namespace

TipFileDialogTexts TipRowFileDialog(TipFileForm form) {
    if (form == TipFileForm::Semicolon) {
        return {"WestLotto-Datei speichern", "WestLotto-Datei", "*.csv", "csv"};
    }
    return {"Tippreihen-Datei speichern", "Tippeihen-Datei", "*.txt", "txt"};
}

std::string EncodeTipRowFile(const StringGrid& table, TipFileForm form) {
    std::string bytes = WriteTextLines(TipRowLines(table));
    if (form == TipFileForm::Semicolon) {
        std::replace(bytes.begin(), bytes.end(), ',', ';');
    }
    return bytes;
}

std::string SaveTipRowFile(FileSystem& files, const std::string& path, const StringGrid& table,
                           TipFileForm form) {
    const FileResult result = files.writeAtomic(path, EncodeTipRowFile(table, form));
    if (!result.ok) {
        throw Error(messages::CannotCreate(path, result.systemText));
    }
    return FileNameOf(path);
}

std::string TipImageTitle(std::string_view fileLabel) {
    // Characters, not bytes: a name may hold umlauts.
    std::size_t end = fileLabel.size();
    for (std::size_t cut = 0; cut < kImageTitleCut && end > 0; ++cut) {
        --end;
        while (end > 0 && IsUtf8Continuation(fileLabel[end])) {
            --end;
        }
    }
    return std::string(fileLabel.substr(0, end));
}

std::string QuickTipFilePath(const std::string& settingsFolder) {
    return settingsFolder + kQuickTipFileName;
}

std::string EncodeQuickTips(const TipStatuses& statuses) {
    std::vector<std::string> lines;
    lines.reserve(statuses.size());
    for (const TipStatus status : statuses) {
        lines.push_back(std::to_string(static_cast<int>(status)));
    }
    return WriteTextLines(lines);
}

std::optional<std::string> QuickTipProblem(const std::vector<std::string>& lines) {
    if (lines.size() > static_cast<std::size_t>(kOutcomeSlotCount)) {
        return QuickProblem("hat " + std::to_string(lines.size()) +
                            " Zeilen, erlaubt sind höchstens " + std::to_string(kOutcomeSlotCount) +
                            " (drei je Spiel).");
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int code = 0;
        if (!TryStrToInt(lines[i], code)) {
            return std::nullopt;
        }
        if (!IsTipStatusCode(code)) {
            return QuickProblem("enthält ungültige Werte (Zeile " + std::to_string(i + 1) +
                                ": Status " + std::to_string(code) + ", erlaubt sind 0 bis 3).");
        }
    }
    return std::nullopt;
}

void ApplyQuickTips(const std::vector<std::string>& lines, MatchBoard& board) {
    if (const auto problem = QuickTipProblem(lines)) {
        throw Error(*problem);
    }
    try {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int code = StrToInt(lines[i]);
            board.setTipStatus(static_cast<int>(i) + 1, static_cast<TipStatus>(code));
        }
    } catch (...) {
        // The labels must describe the statuses that were stored, not the earlier ones.
        board.kombisAnzeigen();
        throw;
    }
    board.kombisAnzeigen();
}

void SaveQuickTips(FileSystem& files, const std::string& path, const MatchBoard& board) {
    const FileResult result = files.writeAtomic(path, EncodeQuickTips(board.statuses()));
    if (!result.ok) {
        throw Error(messages::CannotCreate(path, result.systemText));
    }
}

std::optional<std::string> LoadQuickTips(FileSystem& files, const std::string& path,
                                         MatchBoard& board) {
    std::string bytes;
    const FileResult result = files.readAll(path, bytes);
    if (!result.ok) {
        throw Error(messages::CannotOpen(path, result.systemText));
    }
    const std::vector<std::string> lines = ReadTextLines(bytes);
    if (auto problem = QuickTipProblem(lines)) {
        return problem;
    }
    ApplyQuickTips(lines, board);
    return std::nullopt;
}

}  // namespace losfix
