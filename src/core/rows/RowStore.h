#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/common/FileSystem.h"
#include "core/common/StringGrid.h"
#include "core/lottery/Board.h"
#include "core/rows/SelectionFile.h"

namespace losfix {

// Row files and selection files on disk. Each function throws the program's error text when the
// file cannot be read or written; a failed save leaves any existing file as it was.

void SaveRowFile(FileSystem& files, const std::string& path, const StringGrid& table);
// Replaces the data rows of the table; the table is untouched when the file cannot be read.
void LoadRowFile(const FileSystem& files, const std::string& path, StringGrid& table);

void SaveSelectionFile(FileSystem& files, const std::string& path, const Board& board);

// Reads a selection file and applies it to the target. An unreadable file resets the statuses
// and throws; values the board cannot hold are refused before anything changes (the warning text
// is returned); otherwise the statuses are reset and the file is applied line by line.
std::optional<std::string> OpenSelectionFile(const FileSystem& files, const std::string& path,
                                             SelectionTarget& target,
                                             const std::function<void()>& resetStatuses);

}  // namespace losfix
