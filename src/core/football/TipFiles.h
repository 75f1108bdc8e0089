#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/FileSystem.h"
#include "core/common/StringGrid.h"
#include "core/football/MatchBoard.h"

namespace losfix {

// ---- Tip row files ----------------------------------------------------------------------------

// The text form separates the matches by commas, the semicolon form by semicolons.
enum class TipFileForm { Text, Semicolon };

// The save dialog of a form; it starts in the rows folder and asks nothing before replacing.
struct TipFileDialogTexts {
    const char* title;
    const char* filterName;
    const char* filterPattern;
    const char* defaultExtension;  // without the dot
};
TipFileDialogTexts TipRowFileDialog(TipFileForm form);

// The tip row lines in Windows-1252 with CR LF after every line; in the semicolon form every
// comma of the text becomes a semicolon.
std::string EncodeTipRowFile(const StringGrid& table, TipFileForm form);

// Writes the file through the atomic write, so a failure leaves an existing file as it was, and
// returns the name LDatei2 shows. Throws Error("Datei \"<path>\" kann nicht erstellt werden. ...").
std::string SaveTipRowFile(FileSystem& files, const std::string& path, const StringGrid& table,
                           TipFileForm form);

// ---- Image of the tip -------------------------------------------------------------------------

// The image title: the text of LDatei2 without its last 4 characters ("tipps1.txt" gives
// "tipps1"); empty for 4 characters or fewer.
std::string TipImageTitle(std::string_view fileLabel);
constexpr int kTipImageWatermarkRight = 210;
constexpr int kTipImageWatermarkBottom = 406;

// ---- Quick selection file ---------------------------------------------------------------------

inline constexpr const char* kQuickTipFileName = "Quick.wh13";

// The quick selection file in the settings folder (which ends with a separator).
std::string QuickTipFilePath(const std::string& settingsFolder);

// 39 lines, line k the status code of slot k, CR LF after every line.
std::string EncodeQuickTips(const TipStatuses& statuses);

// Why the lines must not be applied, or nothing: more than 39 lines, or a status code outside
// 0..3 on a line before the first one that is no integer (ApplyQuickTips stops there anyway).
std::optional<std::string> QuickTipProblem(const std::vector<std::string>& lines);

// Stores line k as the status of slot k, in file order, then recounts the labels; slots without
// a line keep their statuses. A QuickTipProblem throws Error before anything changes; a line that
// is no integer throws Error("''<line>'' ist kein gültiger Integer-Wert") with the earlier lines
// stored and the labels recounted for them.
void ApplyQuickTips(const std::vector<std::string>& lines, MatchBoard& board);

// Writes the 39 statuses through the atomic write; throws Error(CannotCreate) on failure.
void SaveQuickTips(FileSystem& files, const std::string& path, const MatchBoard& board);

// Reads and applies the file. Returns the warning to show when the file is refused
// (QuickTipProblem; nothing changed). Throws Error("Datei <path> kann nicht geöffnet werden. ...")
// when it cannot be read (nothing changed) and the errors of ApplyQuickTips.
std::optional<std::string> LoadQuickTips(FileSystem& files, const std::string& path,
                                         MatchBoard& board);

}  // namespace losfix
