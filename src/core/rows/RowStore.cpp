#include "core/rows/RowStore.h"

#include "core/common/Error.h"
#include "core/common/FileAccess.h"
#include "core/common/TextFile.h"
#include "core/rows/RowFile.h"

namespace losfix {

void SaveRowFile(FileSystem& files, const std::string& path, const StringGrid& table) {
    SaveFile(files, path, EncodeRowFile(table));
}

void LoadRowFile(const FileSystem& files, const std::string& path, StringGrid& table) {
    DecodeRowFile(LoadFile(files, path), table);
}

void SaveSelectionFile(FileSystem& files, const std::string& path, const Board& board) {
    SaveFile(files, path, EncodeSelection(board));
}

std::optional<std::string> OpenSelectionFile(const FileSystem& files, const std::string& path,
                                             SelectionTarget& target,
                                             const std::function<void()>& resetStatuses) {
    std::string bytes;
    const FileResult result = files.readAll(path, bytes);
    if (!result.ok) {
        resetStatuses();
        throw Error(messages::CannotOpen(path, result.systemText));
    }
    const std::vector<std::string> lines = ReadTextLines(bytes);
    if (auto problem = SelectionRangeProblem(lines)) {
        return problem;
    }
    resetStatuses();
    ApplySelection(lines, target);
    return std::nullopt;
}

}  // namespace losfix
