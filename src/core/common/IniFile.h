#pragma once

#include <string>
#include <string_view>

#include "core/common/FileSystem.h"

namespace losfix {

// An INI file with private-profile semantics: sections and keys match without regard to letter
// case, every value is read from the file as it is now and every write replaces the file at once
// (atomically), keeping all other sections, keys and lines. The first write creates the file.
class IniFile {
public:
    IniFile(FileSystem& files, std::string path);

    const std::string& path() const { return path_; }
    bool exists() const;

    // A missing key or a value that is not a decimal integer gives the default;
    // "0x"/"0X" introduces a hexadecimal value.
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // A missing key gives the default; values are returned as stored.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Throw Error("In <path> kann nicht geschrieben werden") when the file cannot be written.
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeString(std::string_view section, std::string_view key, std::string_view value);

private:
    FileSystem& files_;
    std::string path_;
};

}  // namespace losfix
