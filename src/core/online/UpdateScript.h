#pragma once

#include <string>
#include <string_view>

namespace losfix {

// The hand-over to the installer: once the program has ended, a small script removes the program
// file (trying until it is gone), then the program folder if it is empty, then itself.

// Windows: the batch file's bytes, five lines in Windows-1252 with CR LF, every path quoted. The
// folder is the program file's folder with its trailing backslash. cmd.exe reads batch files in
// the OEM code page: the hand-over converts the bytes to it.
std::string WindowsUpdateBatch(const std::string& programFile, const std::string& batchFile);

// True when the path can be written into the batch file unchanged; a character outside
// Windows-1252 would turn into "?", which cmd reads as a wildcard.
bool FitsBatchCodePage(std::string_view path);

// Linux: a POSIX shell script (UTF-8, LF) doing the same. It gives up on a program file it cannot
// remove after a minute instead of spinning for ever.
std::string LinuxUpdateScript(const std::string& programFile, const std::string& scriptFile);

// Quotes a text for the shell: in single quotes, each single quote written as '\''.
std::string ShellQuote(std::string_view text);

}  // namespace losfix
