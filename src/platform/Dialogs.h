#pragma once

#include <optional>
#include <string>

class QWidget;

namespace losfix {

// An open or save dialog as the program asks for it: title, one filter, default extension
// (appended to a name typed without one), starting folder, proposed name, overwrite question.
struct FileDialogRequest {
    std::string title;
    std::string filterName;        // "Reihen-Datei"
    std::string filterPattern;     // "*.lrei"
    std::string defaultExtension;  // "lrei", without the dot
    std::string folder;
    std::string proposedName;
    bool confirmOverwrite = false;
};

// Every message box and file dialog goes through this service, so that tests can script the
// answers and no test ever blocks on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void information(const std::string& text) = 0;
    virtual void warning(const std::string& text) = 0;
    // The standard error box: caption "Quotrix", error icon, OK.
    virtual void error(const std::string& text) = 0;
    // Yes/No with a question icon; true for Yes.
    virtual bool question(const std::string& text) = 0;

    // The chosen path (with the default extension appended where none was typed), or nothing
    // when the user cancelled. The open dialog also returns the name of a file that does not
    // exist: the caller's attempt to read it reports that.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
};

// QMessageBox and QFileDialog, parented to the active window.
class QtDialogs : public Dialogs {
public:
    void information(const std::string& text) override;
    void warning(const std::string& text) override;
    void error(const std::string& text) override;
    bool question(const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
};

// A dialog for one kind of file: filter "*.<extension>", which is also the default extension.
FileDialogRequest FileDialogFor(const std::string& title, const std::string& filterName,
                                const std::string& extension, const std::string& folder);

// Appends ".ext" when the file name part of path has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace losfix
