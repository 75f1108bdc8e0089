#include "core/common/FileAccess.h"

#include "core/common/Error.h"

namespace losfix {

void SaveFile(FileSystem& files, const std::string& path, std::string_view bytes) {
    const FileResult result = files.writeAtomic(path, bytes);
    if (!result.ok) {
        throw Error(messages::CannotCreate(path, result.systemText));
    }
}

std::string LoadFile(const FileSystem& files, const std::string& path) {
    std::string bytes;
    const FileResult result = files.readAll(path, bytes);
    if (!result.ok) {
        throw Error(messages::CannotOpen(path, result.systemText));
    }
    return bytes;
}

}  // namespace losfix
