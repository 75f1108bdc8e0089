#pragma once

#include <QImage>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/common/Network.h"
#include "platform/Clipboard.h"
#include "platform/Shell.h"

namespace losfix::testing {

// Keeps what was copied, in memory.
class ScriptedClipboard : public Clipboard {
public:
    void setText(const std::string& text) override { text_ = text; }
    std::string text() const override { return text_; }
    void setImage(const QImage& image) override { image_ = image; }
    const QImage& image() const { return image_; }

private:
    std::string text_;
    QImage image_;
};

// Records what the program asked the desktop to open or start; answers with the flags. A file is
// opened when both answer and opensFiles are true.
class ScriptedShell : public Shell {
public:
    struct Started {
        std::string program;
        std::vector<std::string> arguments;
    };

    bool openFile(const std::string& path) override;
    bool openUrl(const std::string& url) override;
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;
    bool spreadsheetInstalled() override { return hasSpreadsheet; }
    std::string spreadsheetProgram() override { return unassociatedProgram; }

    bool answer = true;
    bool opensFiles = true;  // false: the desktop has no program for the file
    bool hasSpreadsheet = true;
    std::string unassociatedProgram;
    std::vector<std::string> openedFiles;
    std::vector<std::string> openedUrls;
    std::vector<Started> started;
};

// Answers downloads from a script per URL (used in order; the last answer repeats); an unscripted
// URL fails as a refused connection.
class ScriptedNetwork : public Network {
public:
    bool connected() override { return isConnected; }
    DownloadResult download(const DownloadRequest& request) override;

    // A delivered body with status 200.
    void serve(const std::string& url, const std::string& body);
    void fail(const std::string& url, int httpStatus = 0);

    bool isConnected = true;
    std::map<std::string, std::deque<DownloadResult>> answers;
    std::vector<DownloadRequest> requests;
};

}  // namespace losfix::testing
