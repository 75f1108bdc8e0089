#include "core/online/UpdateScript.h"

#include "core/common/FileSystem.h"
#include "core/common/TextFile.h"

namespace losfix {

std::string WindowsUpdateBatch(const std::string& programFile, const std::string& batchFile) {
    const std::string quoted = "\"" + programFile + "\"";
    return WriteTextLines({
        ":Label1",
        "del " + quoted,
        "if Exist " + quoted + " goto Label1",
        "rmdir \"" + FolderOf(programFile) + "\"",
        // Quoted like the others: a temporary folder below "C:\Users\Max Muster" has a blank.
        "del \"" + batchFile + "\"",
    });
}

bool FitsBatchCodePage(std::string_view path) {
    return Cp1252ToUtf8(Utf8ToCp1252(path)) == path;
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

std::string LinuxUpdateScript(const std::string& programFile, const std::string& scriptFile) {
    std::string folder = FolderOf(programFile);
    if (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return "#!/bin/sh\n"
           "program=" +
           ShellQuote(programFile) +
           "\n"
           "folder=" +
           ShellQuote(folder) +
           "\n"
           "tries=0\n"
           "while [ -e \"$program\" ] && [ \"$tries\" -lt 60 ]; do\n"
           "    rm -f -- \"$program\"\n"
           "    [ -e \"$program\" ] || break\n"
           "    tries=$((tries + 1))\n"
           "    sleep 1\n"
           "done\n"
           "rmdir -- \"$folder\" 2>/dev/null\n"
           "rm -f -- " +
           ShellQuote(scriptFile) + "\n";
}

}  // namespace losfix
