#pragma once

#include <string>
#include <vector>

namespace losfix {

// What the desktop does for the program: open a document or a web or mail address with the
// user's program for it, start another program that outlives this one.
class Shell {
public:
    virtual ~Shell() = default;

    // False when the desktop found no program to open it.
    virtual bool openFile(const std::string& path) = 0;
    virtual bool openUrl(const std::string& url) = 0;
    // Starts the program without waiting for it; false when it could not be started.
    virtual bool startDetached(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;
    // True when the desktop has a program for spreadsheet workbooks (.xlsx).
    virtual bool spreadsheetInstalled() = 0;
    // A spreadsheet program to start with a workbook directly, because the desktop associates
    // none with .xlsx: its full path; "" when the desktop has one, or no such program was found.
    virtual std::string spreadsheetProgram() = 0;
};

// QDesktopServices and QProcess.
class DesktopShell : public Shell {
public:
    bool openFile(const std::string& path) override;
    bool openUrl(const std::string& url) override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    bool spreadsheetInstalled() override;
    std::string spreadsheetProgram() override;
};

}  // namespace losfix
