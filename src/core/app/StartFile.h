#pragma once

#include <string>
#include <vector>

#include "core/common/FileSystem.h"

namespace losfix {

// The file a file manager hands over when the user opens it with Losfix: the program's only
// argument. It is opened in the main window after "Weiter", as its own button would open it.
enum class StartFileKind {
    None,
    RowFile,        // *.lrei, as "Reihen öffnen..."
    SelectionFile,  // *.whl, as "Auswahl öffnen..."
    QuickTipFile,   // *.wh13, loaded into the football window as its quick selection button does
};

struct StartFile {
    StartFileKind kind = StartFileKind::None;
    std::string path;
    // Why the arguments were not used; the program starts without a file then.
    std::string notice;
};

// The kind a file name's extension stands for (case does not matter, files come from Windows
// too); None for any other name.
StartFileKind StartFileKindOf(const std::string& path);

// Reads the arguments after the program name, once the toolkit has taken its own options.
StartFile ReadStartArguments(const std::vector<std::string>& arguments, const FileSystem& files);

}  // namespace losfix
