#include "core/common/FileSystem.h"

namespace losfix {

namespace {

// Both separators count, so that Windows paths and "/" paths split alike.
std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("/\\");
}

}  // namespace

std::string FileNameOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string FolderOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator + 1));
}

}  // namespace losfix
