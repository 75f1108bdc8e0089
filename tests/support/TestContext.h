#pragma once

#include <QTemporaryDir>
#include <string>

#include "gui/common/AppContext.h"
#include "platform/Files.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedServices.h"

namespace losfix::testing {

// An application context for window tests: scripted dialogs, clipboard, shell and network, the real
// file system below a fresh temporary folder (created data folders included) and a fixed seed
// sequence.
class TestContext {
public:
    TestContext();

    AppContext& context() { return context_; }
    // A path below the temporary folder.
    std::string path(const std::string& relative) const;
    const DataFolders& folders() const { return context_.folders; }

    ScriptedDialogs dialogs;
    LocalFileSystem files;
    ScriptedClipboard clipboard;
    ScriptedShell shell;
    ScriptedNetwork network;

private:
    QTemporaryDir dir_;
    AppContext context_;
};

// One record of a version file that names the version.
std::string VersionRecord(const std::string& version);

// Whole files as bytes; an unreadable file reads as "".
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// German locale, the program's fonts and style: call once before creating windows.
void InitGuiTestEnvironment();

}  // namespace losfix::testing
