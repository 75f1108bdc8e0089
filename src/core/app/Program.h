#pragma once

#include <string>

namespace losfix {

inline constexpr const char* kProgramName = "Losfix 2.0";
inline constexpr const char* kProgramVersion = "1.5.0.0";
inline constexpr const char* kApplicationTitle = "Quotrix";
// The line under the program's name in the pictures of the start and info windows.
inline constexpr const char* kProgramSlogan = "Zufallsreihen für Lotto und Toto";

// "Losfix 2.0     v1.5.0.0": the caption of the main, start, football and image windows.
inline std::string WindowCaption() {
    return std::string(kProgramName) + "     v" + kProgramVersion;
}

}  // namespace losfix
